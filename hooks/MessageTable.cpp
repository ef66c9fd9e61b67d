#include "hooks/MessageTable.h"

#include <algorithm>

namespace hooks {

AddResult MessageTable::Add(std::uint32_t msg) {
  if (msg == ALL_MESSAGES) {
    all_ = true;
    return AddResult::AllMessages;
  }
  // 0 marks a free slot, so it cannot be an entry of its own.
  if (msg == 0) return AddResult::Ignored;
  // A specific message replaces the all-messages state: the table starts again
  // from an empty count.
  if (all_) {
    all_ = false;
    slots_.clear();
  }
  // The whole count is searched before a free slot is taken: a message that sits
  // behind a freed slot must not be entered a second time, or deleting it once
  // would leave it routed.
  if (std::find(slots_.begin(), slots_.end(), msg) != slots_.end()) return AddResult::AlreadyPresent;
  auto freeSlot = std::find(slots_.begin(), slots_.end(), 0u);
  if (freeSlot != slots_.end()) {
    *freeSlot = msg;
    return AddResult::Added;
  }
  if (slots_.size() >= limit_) return AddResult::Overflow;
  slots_.push_back(msg);
  return AddResult::Added;
}

void MessageTable::Delete(std::uint32_t msg) {
  if (msg == ALL_MESSAGES) {
    Clear();
    return;
  }
  if (msg == 0 || all_) return;
  auto slot = std::find(slots_.begin(), slots_.end(), msg);
  if (slot != slots_.end()) *slot = 0;
}

void MessageTable::Clear() {
  all_ = false;
  slots_.clear();
}

bool MessageTable::Routes(std::uint32_t msg) const {
  if (all_) return true;
  if (msg == 0) return false;
  return std::find(slots_.begin(), slots_.end(), msg) != slots_.end();
}

}  // namespace hooks
