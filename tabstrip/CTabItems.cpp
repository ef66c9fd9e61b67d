#include "tabstrip/CTabItems.h"

#include <utility>

#include "forms/Rounding.h"

namespace tabstrip {

bool CTabItems::Add(const std::wstring& Caption, std::shared_ptr<ITabForm> Form,
                    const std::optional<std::wstring>& Key, const std::optional<TabIndex>& Index) {
  if (!Form) throw TabError(TabErrc::InvalidArgument);
  // Everything that can refuse the tab is checked before the page is touched.
  items_.PlaceFor(Key, Index);

  HWND window = Form->hWnd();
  auto item = std::make_shared<CTabItem>();
  item->SetWindowStyle(static_cast<std::int32_t>(::GetWindowLongW(window, GWL_STYLE)));
  item->SetOwner(owner_);
  Form->Initialize(owner_, item.get());
  item->SetCaption(Caption);
  item->SetForm(Form);
  // The page and the strip have run in between; the place is found again for
  // the collection as it is now.
  items_.Insert(items_.PlaceFor(Key, Index), item, Key);

  if (owner_) {
    owner_->Add(Caption, *Form, Key, Index);
    ::SetActiveWindow(owner_->hWnd());
  }
  return true;
}

bool CTabItems::Remove(const TabIndex& Index, bool bUnload) {
  std::int32_t position = FindItem(Index);
  if (position == kNoTab) return false;
  std::shared_ptr<CTabItem> item = items_.At(position);
  if (owner_) {
    if (!owner_->BeforeRemove(position)) return false;
    // The host answered from its own event handler and may have changed the collection.
    position = FindItem(item.get());
    if (position == kNoTab) return false;
  }
  items_.Erase(position);
  if (owner_) owner_->Remove(position);
  if (std::shared_ptr<ITabForm> page = item->TakeForm()) {
    if (bUnload)
      CTabItem::ClosePage(*page);
    else
      CTabItem::LetGo(std::move(page));
  }
  return true;
}

bool CTabItems::Clear() {
  for (std::int32_t i = 0; i < items_.Count(); ++i)
    if (std::shared_ptr<ITabForm> page = items_.At(i)->TakeForm()) CTabItem::ClosePage(*page);
  items_.TakeAll();
  return true;
}

std::int32_t CTabItems::FindItem(const TabIndex& Index) const noexcept {
  return items_.Find(
      Index, [](const std::shared_ptr<CTabItem>& item) -> const ITabForm* { return item->Form().get(); },
      [](const std::shared_ptr<CTabItem>& item) -> const CTabItem* { return item.get(); });
}

std::shared_ptr<ITabForm> CTabItems::ReleaseForm(const TabIndex& Index) {
  std::int32_t position = FindItem(Index);
  if (position == kNoTab) return nullptr;
  std::shared_ptr<CTabItem> item = items_.At(position);
  std::shared_ptr<ITabForm> page = item->Form();
  const std::int32_t style = item->WindowStyle();
  if (!Remove(item.get(), false) || !page) return nullptr;

  HWND window = page->hWnd();
  ::SetParent(window, nullptr);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  RECT rc{};
  ::GetWindowRect(window, &rc);
  ::SetWindowLongW(window, GWL_STYLE, style);
  const int x = forms::CLng((screenWidth - (rc.right - rc.left)) / 2.0);
  const int y = forms::CLng((screenHeight - (rc.bottom - rc.top)) / 2.0);
  ::SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOSIZE);

  // With no parent known there is nothing to repaint (a null window would mean the whole desktop).
  if (HWND parent = owner_ ? owner_->hParent() : nullptr)
    ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
  return page;
}

CTabItem* CTabItems::Item(const TabIndex& Index) const {
  std::int32_t position = items_.ItemPosition(Index);
  return position == kNoTab ? nullptr : items_.At(position).get();
}

std::int32_t CTabItems::Selected() const { return owner_ ? owner_->Selected() : kNoTab; }

void CTabItems::SetSelected(std::int32_t value) {
  if (owner_) owner_->SetSelected(value);
}

}  // namespace tabstrip
