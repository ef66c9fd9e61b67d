#include "tabstrip/TabPageForm.h"

namespace tabstrip {

void TabPageForm::Initialize(IuTab* Implement, CTabItem* Item) {
  strip_ = Implement;
  item_ = Item;
}

bool TabPageForm::UnloadPage() {
  if (!IsLoaded() || !window()) return true;
  ::SendMessageW(window(), WM_CLOSE, 0, 0);
  return !IsLoaded();
}

}  // namespace tabstrip
