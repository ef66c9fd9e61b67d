// The strip's ordered, keyed collection of tabs (its TabItems). Positions seen
// by callers are zero-based, kNoTab (-1) stands for no tab, and keys are unique
// without regard to letter case (tabstrip/TabKey.h).
//
// Arguments that name a tab are a TabIndex: a key, a position, a page or an
// item. What each operation does with each kind, and how it fails:
//
//   Add(..., Key, Index)   Key: std::nullopt files the tab under no key. Index:
//                          std::nullopt appends; a position from 0 to Count()
//                          inserts there (Count() appends); a key, page or item
//                          throws TabError InvalidArgument, a position outside
//                          0…Count() OutOfRange, a key already present (in any
//                          letter case) DuplicateKey, a null page InvalidArgument.
//                          All of these are found before anything is done: the
//                          page is not initialised, not given to the strip and
//                          not moved into the strip's container.
//   FindItem(Index)        never throws; kNoTab for anything that names no tab.
//   Item(Index)            a key that no tab has throws TabError KeyNotFound; a
//                          position outside 0…Count() - 1 gives nullptr; a page
//                          or an item throws InvalidArgument.
//   Remove, ReleaseForm    accept what FindItem accepts; naming no tab is a
//                          refusal (false, nullptr), not an error.
//
// Errors raised by the page or the strip while they are called go to the
// caller unchanged, except while a page is being unloaded or let go: its tab
// is gone by then, so such an error is logged and the model goes on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tabstrip/CTabItem.h"
#include "tabstrip/ITabForm.h"
#include "tabstrip/IuTab.h"
#include "tabstrip/TabIndex.h"
#include "tabstrip/TabList.h"

namespace tabstrip {

class CTabItems {
 public:
  CTabItems() = default;
  CTabItems(const CTabItems&) = delete;
  CTabItems& operator=(const CTabItems&) = delete;
  // The items go with the collection, and each unloads its page.
  ~CTabItems() = default;

  // Adds a tab showing `Form`. The page is handed its strip and new item, the
  // item gets its caption and page, the item goes into the collection, the strip
  // is told (IuTab::Add) and its window is made the active window. The new tab
  // is not selected. True on success; see above for the failures.
  bool Add(const std::wstring& Caption, std::shared_ptr<ITabForm> Form, const std::optional<std::wstring>& Key,
           const std::optional<TabIndex>& Index = std::nullopt);

  // Removes the tab that Index names, after the strip agreed (IuTab::BeforeRemove),
  // and tells the strip (IuTab::Remove). With bUnload the page is unloaded;
  // without it the page is only let go: whoever else holds it keeps it, and one
  // that nobody else holds is unloaded all the same. False when Index names no
  // tab or the strip refused; nothing is changed then.
  bool Remove(const TabIndex& Index, bool bUnload);

  // Unloads every page and empties the collection, without telling the strip. True.
  bool Clear();

  // The position of the tab that Index names: a key's tab, a position from 0 to
  // Count() - 1, the first tab showing a page, an item. kNoTab for anything else.
  std::int32_t FindItem(const TabIndex& Index) const noexcept;

  // Takes a page out of the strip as a free top-level window again: the tab is
  // removed without unloading its page, the window leaves the container, gets
  // back the style it had before it was added and is shown centred on the
  // screen, and the strip's parent window is repainted. The page is handed to
  // the caller, who now owns it (a page dropped there is destroyed); nullptr
  // when Index names no tab, the strip refused the removal or the tab had no page.
  [[nodiscard]] std::shared_ptr<ITabForm> ReleaseForm(const TabIndex& Index);

  std::int32_t Count() const noexcept { return items_.Count(); }

  // The tab at a position or under a key, nullptr for a position with no tab;
  // see above for the failures. The item lives as long as it is in the collection.
  CTabItem* Item(const TabIndex& Index) const;

  // The strip's selected tab (kNoTab when there is no strip or no selection).
  std::int32_t Selected() const;
  void SetSelected(std::int32_t value);

 private:
  friend struct TabStripAccess;
  void SetOwner(IuTab* owner) noexcept { owner_ = owner; }

  TabList<std::shared_ptr<CTabItem>> items_;
  IuTab* owner_ = nullptr;
};

// What the strip may do to its model beyond the public members: make itself
// the owner of the collection it has just created, and place each tab where
// its layout put it.
struct TabStripAccess {
  static void SetOwner(CTabItems& items, IuTab* strip) noexcept { items.SetOwner(strip); }
  static void SetBounds(CTabItem& item, std::int32_t left, std::int32_t width) noexcept {
    item.SetBounds(left, width);
  }
};

}  // namespace tabstrip
