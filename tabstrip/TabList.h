// The ordered, keyed list behind CTabItems: zero-based positions, each entry
// optionally filed under a key that is unique without regard to letter case.
// It knows nothing of windows; the collection gives it the projections it needs
// to find an entry by page or by item.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tabstrip/TabError.h"
#include "tabstrip/TabIndex.h"
#include "tabstrip/TabKey.h"

namespace tabstrip {

// `value` when it is a position of a list of `count` entries, else kNoTab.
inline std::int32_t PositionWithin(std::int64_t value, std::int32_t count) noexcept {
  return value >= 0 && value < count ? static_cast<std::int32_t>(value) : kNoTab;
}

template <typename Entry>
class TabList {
 public:
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(slots_.size()); }

  // The entry at a position from 0 to Count() - 1.
  Entry& At(std::int32_t position) { return slots_.at(static_cast<std::size_t>(position)).entry; }
  const Entry& At(std::int32_t position) const { return slots_.at(static_cast<std::size_t>(position)).entry; }

  // Where an entry added under `key` at `index` would go, changing nothing. No
  // index appends; a position from 0 to Count() goes before the entry now there
  // (Count() appends). Throws TabError: InvalidArgument when the index is not a
  // position, OutOfRange when it lies outside 0…Count(), DuplicateKey when the
  // key is taken.
  std::int32_t PlaceFor(const std::optional<std::wstring>& key, const std::optional<TabIndex>& index) const {
    std::int32_t position = Count();
    if (index) {
      if (index->kind() != TabIndex::Kind::Position) throw TabError(TabErrc::InvalidArgument);
      if (index->position() < 0 || index->position() > Count()) throw TabError(TabErrc::OutOfRange);
      position = static_cast<std::int32_t>(index->position());
    }
    if (key && FindKey(*key) != kNoTab) throw TabError(TabErrc::DuplicateKey);
    return position;
  }

  // Inserts at a position from 0 to Count(); the same errors as PlaceFor, and
  // nothing is changed when one is raised.
  void Insert(std::int32_t position, Entry entry, std::optional<std::wstring> key) {
    if (position < 0 || position > Count()) throw TabError(TabErrc::OutOfRange);
    if (key && FindKey(*key) != kNoTab) throw TabError(TabErrc::DuplicateKey);
    slots_.insert(slots_.begin() + position, Slot{std::move(entry), std::move(key)});
  }

  // Takes the entry at a position from 0 to Count() - 1 out of the list; its key is free again.
  Entry Erase(std::int32_t position) {
    auto at = slots_.begin() + PositionOrThrow(position);
    Entry entry = std::move(at->entry);
    slots_.erase(at);
    return entry;
  }

  // Takes every entry out, in order.
  std::vector<Entry> TakeAll() {
    std::vector<Entry> entries;
    entries.reserve(slots_.size());
    for (Slot& slot : slots_) entries.push_back(std::move(slot.entry));
    slots_.clear();
    return entries;
  }

  std::int32_t FindKey(std::wstring_view key) const noexcept {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].key && SameTabKey(*slots_[i].key, key)) return static_cast<std::int32_t>(i);
    return kNoTab;
  }

  // The position that `index` names, or kNoTab: a key that is filed; a position
  // from 0 to Count() - 1; the first entry whose page (pageOf) or whose item
  // (itemOf) is the one given. A null page or item names nothing.
  template <typename PageOf, typename ItemOf>
  std::int32_t Find(const TabIndex& index, PageOf pageOf, ItemOf itemOf) const noexcept {
    switch (index.kind()) {
      case TabIndex::Kind::Key: return FindKey(index.key());
      case TabIndex::Kind::Position: return PositionWithin(index.position(), Count());
      case TabIndex::Kind::Page:
        if (!index.page()) return kNoTab;
        return FindIf([&](const Entry& e) { return pageOf(e) == index.page(); });
      case TabIndex::Kind::Item:
        if (!index.item()) return kNoTab;
        return FindIf([&](const Entry& e) { return itemOf(e) == index.item(); });
    }
    return kNoTab;
  }

  // The position that CTabItems::Item reads: a key must be filed (KeyNotFound
  // otherwise); a position outside 0…Count() - 1 gives kNoTab; a page or an
  // item is not an index of this kind (InvalidArgument).
  std::int32_t ItemPosition(const TabIndex& index) const {
    switch (index.kind()) {
      case TabIndex::Kind::Key: {
        std::int32_t found = FindKey(index.key());
        if (found == kNoTab) throw TabError(TabErrc::KeyNotFound);
        return found;
      }
      case TabIndex::Kind::Position: return PositionWithin(index.position(), Count());
      case TabIndex::Kind::Page:
      case TabIndex::Kind::Item: break;
    }
    throw TabError(TabErrc::InvalidArgument);
  }

 private:
  struct Slot {
    Entry entry;
    std::optional<std::wstring> key;
  };

  template <typename Pred>
  std::int32_t FindIf(Pred pred) const noexcept {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (pred(slots_[i].entry)) return static_cast<std::int32_t>(i);
    return kNoTab;
  }

  std::int32_t PositionOrThrow(std::int32_t position) const {
    if (PositionWithin(position, Count()) == kNoTab) throw TabError(TabErrc::OutOfRange);
    return position;
  }

  std::vector<Slot> slots_;
};

}  // namespace tabstrip
