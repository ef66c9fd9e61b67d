// The message tables of the hook service: which messages of a hooked window are
// delivered to the owner before the window's own procedure runs, and which after
// it, and the order of one routed message. No platform types here: message
// numbers are 32-bit unsigned values, results are whatever integer the caller uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace hooks {

// A table holding this routes every message.
inline constexpr std::uint32_t ALL_MESSAGES = 0xFFFFFFFFu;  // -1
// Slots of a CSubclass table.
inline constexpr std::size_t MSG_ENTRIES = 32;

// Which table an operation concerns.
enum MsgWhen : int {
  MSG_BEFORE = 1,
  MSG_AFTER = 2,
  MSG_BEFORE_AND_AFTER = MSG_BEFORE | MSG_AFTER,
};

enum class AddResult {
  Added,           // the message took a slot
  AlreadyPresent,  // the table already held it: nothing changed
  AllMessages,     // the table now routes every message
  Ignored,         // message 0 is never a table entry
  Overflow,        // every slot is in use: nothing changed
};

// A count and slots of message numbers. The count is -1 while the table routes
// every message. Deleting a message frees its slot (0) without lowering the
// count; the next added message takes the first free slot.
class MessageTable {
 public:
  static constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

  // `limit`: how many slots the table may use (kUnlimited: it grows as needed).
  explicit MessageTable(std::size_t limit = MSG_ENTRIES) : limit_(limit) {}

  AddResult Add(std::uint32_t msg);
  // ALL_MESSAGES empties the table; any other number frees the slot holding it.
  void Delete(std::uint32_t msg);
  // Count 0: routes nothing.
  void Clear();

  bool Routes(std::uint32_t msg) const;

  std::int32_t count() const { return all_ ? -1 : static_cast<std::int32_t>(slots_.size()); }
  // The slots within the count (free ones hold 0); empty while routing everything.
  std::span<const std::uint32_t> slots() const {
    return all_ ? std::span<const std::uint32_t>() : std::span<const std::uint32_t>(slots_);
  }
  std::size_t limit() const { return limit_; }

 private:
  std::size_t limit_;
  bool all_ = false;
  std::vector<std::uint32_t> slots_;
};

// One routed message: the before delivery (whose handler may answer it and stop
// it there), the window's previous procedure, the after delivery (whose handler
// may change the answer). `raise(bBefore, bHandled, lReturn)` delivers the
// message to the owner; `callPrevious()` runs the window's previous procedure.
// The tables and `msg` are read at the moment each decision is taken, so a
// handler that changes them (unhooking empties both tables) is honoured at once.
template <typename Result, typename Raise, typename CallPrevious>
Result RouteMessage(const MessageTable& before, const MessageTable& after, const std::uint32_t& msg, Raise&& raise,
                    CallPrevious&& callPrevious) {
  Result lReturn = 0;
  if (before.Routes(msg)) {
    bool bHandled = false;
    raise(true, bHandled, lReturn);
    if (bHandled) return lReturn;
  }
  lReturn = callPrevious();
  if (after.Routes(msg)) {
    bool bHandled = false;
    raise(false, bHandled, lReturn);
  }
  return lReturn;
}

}  // namespace hooks
