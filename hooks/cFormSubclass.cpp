#include "hooks/cFormSubclass.h"

#include <algorithm>
#include <new>

#include "forms/Program.h"
#include "hooks/HookLink.h"
#include "hooks/MessageTable.h"
#include "hooks/TableLink.h"

namespace hooks {

struct cFormSubclass::Entry final : detail::TableLink<cFormSubclass> {
  Entry(cFormSubclass* owner, std::size_t slot) : TableLink(owner, MessageTable::kUnlimited), slot(slot) {}

  // The handler gets the hook's own copies of the handle, message and
  // parameters; the previous procedure receives what it leaves in them.
  LRESULT Route(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam) noexcept override {
    return RouteMessage<LRESULT>(
        before, after, msg,
        [&](bool bBefore, bool& bHandled, LRESULT& lReturn) {
          cFormSubclass* subclass = owner;
          if (!subclass) return;
          forms::RunHandler(L"cFormSubclass.MsgCome",
                            [&] { subclass->MsgCome(bBefore, bHandled, lReturn, hwnd, msg, wParam, lParam); });
        },
        [&] { return CallPrevious(hwnd, msg, wParam, lParam); });
  }

  void OnWindowDestroyed() noexcept override {
    if (owner) owner->entries_[slot] = nullptr;
    Detach();
  }

  const std::size_t slot;
};

cFormSubclass::~cFormSubclass() {
  for (std::size_t i = entries_.size(); i-- > 0;) {
    if (Entry* entry = entries_[i]) {
      entries_[i] = nullptr;
      entry->Unhook();
    }
  }
}

bool cFormSubclass::AddWindowMsgs(HWND hWnd) {
  auto freeEntry = std::find(entries_.begin(), entries_.end(), nullptr);
  std::size_t slot = static_cast<std::size_t>(freeEntry - entries_.begin());
  if (freeEntry == entries_.end()) {
    try {
      entries_.push_back(nullptr);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  Entry* entry = new (std::nothrow) Entry(this, slot);
  if (!entry) return false;
  entry->before.Add(ALL_MESSAGES);
  DWORD error = 0;
  if (entry->Install(hWnd, error) != detail::HookLink::InstallError::None) {
    delete entry;
    return false;
  }
  entries_[slot] = entry;
  return true;
}

bool cFormSubclass::DeleteWindowMsg(HWND /*hWnd*/) { return false; }

}  // namespace hooks
