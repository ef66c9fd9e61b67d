// The tab strip as the tab model sees it: the only way by which items and the
// collection reach the strip. The strip control implements it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "tabstrip/TabIndex.h"

namespace forms {
class Control;
}

namespace tabstrip {

class ITabForm;
class CTabItem;
class CTabItems;

class IuTab {
 public:
  virtual ~IuTab() = default;

  // From CTabItems::Add once the item is in the collection, with the arguments
  // that Add was given: take the page's window into the container (hidden), fix
  // an out-of-range selection, lay out and repaint.
  virtual void Add(const std::wstring& Caption, ITabForm& Form, const std::optional<std::wstring>& Key,
                   const std::optional<TabIndex>& Index) = 0;
  // From CTabItems::Remove before anything is removed: may the tab at Index go?
  virtual bool BeforeRemove(std::int32_t Index) = 0;
  // From CTabItems::Remove after the item at Index left the collection: lay out
  // again, move the selection, show the selected page, repaint.
  virtual void Remove(std::int32_t Index) = 0;
  // Lay out, select tab 0, repaint.
  virtual void Clear() = 0;
  // From an item whose Caption, HideButton or LockSize changed: repaint the strip.
  virtual void Redraw(bool bUpdate) = 0;
  // From an item whose page was set (Form may be null): take the page's window
  // into the container (hidden) and show the selected page.
  virtual void ChangeForm(CTabItem& Item, ITabForm* Form) = 0;
  // The selected tab, kNoTab for none.
  virtual std::int32_t Selected() = 0;
  virtual void SetSelected(std::int32_t value) = 0;
  virtual CTabItems& TabItems() = 0;
  // The strip control's own window.
  virtual HWND hWnd() = 0;
  // The window of the form that holds the strip; null when it is not known.
  virtual HWND hParent() = 0;
  // The strip control itself.
  virtual forms::Control* Control() = 0;
};

}  // namespace tabstrip
