#include "tabstrip/CTabItem.h"

#include <utility>

#include "forms/Program.h"

namespace tabstrip {

namespace {

// A page that fails while it is let go cannot stop its tab from going: the
// failure is logged and the model goes on.
void Unload(ITabForm& page) noexcept {
  forms::RunStep(L"unloading a tab page", [&] {
    if (!page.UnloadPage()) {
      HWND window = page.hWnd();
      if (window && ::IsWindow(window)) ::DestroyWindow(window);
    }
  });
}

void Detach(ITabForm& page) noexcept {
  forms::RunStep(L"detaching a tab page", [&] { page.Initialize(nullptr, nullptr); });
}

}  // namespace

CTabItem::~CTabItem() {
  if (!form_) return;
  // The strip may be the one destroying this item; the page's unload must not reach it.
  owner_ = nullptr;
  std::shared_ptr<ITabForm> page = TakeForm();
  ClosePage(*page);
}

void CTabItem::SetCaption(std::wstring value) {
  caption_ = std::move(value);
  if (owner_) owner_->Redraw(true);
}

void CTabItem::SetForm(std::shared_ptr<ITabForm> value) {
  std::shared_ptr<ITabForm> old = std::exchange(form_, value);
  if (old == value) old.reset();
  try {
    if (value) value->Initialize(owner_, this);
    if (owner_) owner_->ChangeForm(*this, value.get());
  } catch (...) {
    if (old) LetGo(std::move(old));
    throw;
  }
  if (old) LetGo(std::move(old));
}

void CTabItem::SetHideButton(bool value) {
  hideButton_ = value;
  if (owner_) owner_->Redraw(true);
}

void CTabItem::SetLockSize(bool value) {
  lockSize_ = value;
  if (owner_) owner_->Redraw(true);
}

void CTabItem::ClosePage(ITabForm& page) noexcept {
  Unload(page);
  Detach(page);
}

void CTabItem::LetGo(std::shared_ptr<ITabForm> page) noexcept {
  if (page.use_count() == 1) Unload(*page);
  Detach(*page);
}

}  // namespace tabstrip
