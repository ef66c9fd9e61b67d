#include "hooks/CSubclass.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <utility>
#include <string>

#include "forms/Program.h"
#include "hooks/ErrorLog.h"
#include "hooks/HookLink.h"
#include "hooks/TableLink.h"
#include "win/SystemLibrary.h"

namespace hooks {

static_assert(std::is_same_v<UINT, std::uint32_t>, "message numbers are 32-bit");

namespace {

constexpr wchar_t kClassName[] = L"CSubclass";
constexpr wchar_t kOverflow[] =
    L"Message table overflow. Either increase the value of Const MSG_ENTRIES or use ALL_MESSAGES instead of "
    L"specific message values";

void Fail(std::wstring_view routine, std::wstring_view message) { LogError(kClassName, routine, message); }

void AddTo(MessageTable& table, UINT msg) {
  if (table.Add(msg) == AddResult::Overflow) Fail(L"zAddMsg", kOverflow);
}

}  // namespace

// The hook on one window. It outlives its registration: once unhooked, or once
// its owner has ended, it only passes messages on until it can leave the window.
struct CSubclass::Record final : detail::TableLink<CSubclass> {
  Record(CSubclass* owner, LONG_PTR lParamUser, std::uint64_t serial)
      : TableLink(owner, MSG_ENTRIES), lParamUser(lParamUser), serial(serial) {}

  LRESULT Route(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam) noexcept override {
    // The handler gets the message by value: the previous procedure gets it unchanged.
    const HWND window = hwnd;
    const UINT message = msg;
    const WPARAM w = wParam;
    const LPARAM l = lParam;
    return RouteMessage<LRESULT>(
        before, after, message,
        [&](bool bBefore, bool& bHandled, LRESULT& lReturn) {
          // Read afresh for each delivery: the handler of the first may end the owner.
          CSubclass* subclass = owner;
          if (!subclass) return;
          forms::RunHandler(L"CSubclass.WindowProc", [&] {
            subclass->WindowProc(bBefore, bHandled, lReturn, window, message, w, l, lParamUser);
          });
        },
        [&] { return CallPrevious(window, message, w, l); });
  }

  void OnWindowDestroyed() noexcept override {
    if (owner) owner->Forget(this);
    Detach();
  }

  LONG_PTR lParamUser;
  const std::uint64_t serial;
};

CSubclass::CSubclass() {
  if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
    if (FARPROC proc = ::GetProcAddress(user32, "TrackMouseEvent")) {
      trackMouseEvent_ = reinterpret_cast<TrackMouseEventFn>(reinterpret_cast<void*>(proc));
    }
  }
}

CSubclass::~CSubclass() { ssc_Terminate(); }

bool CSubclass::ssc_Subclass(HWND lng_hWnd, LONG_PTR lParamUser, int nOrdinal, bool /*bIdeSafety*/, bool* bUnicode,
                             bool /*bIsAPIwindow*/) {
  constexpr wchar_t kRoutine[] = L"ssc_Subclass";
  if (!::IsWindow(lng_hWnd)) {
    Fail(kRoutine, L"Invalid window handle");
    return false;
  }
  DWORD process = 0;
  ::GetWindowThreadProcessId(lng_hWnd, &process);
  if (process != ::GetCurrentProcessId()) {
    Fail(kRoutine, L"Window handle belongs to another process");
    return false;
  }
  if (nOrdinal != 1) {
    Fail(kRoutine, L"Callback method not found");
    return false;
  }
  registryExists_ = true;
  if (records_.count(lng_hWnd)) {
    Fail(kRoutine, L"Window handle is already subclassed");
    return false;
  }
  // The registry's place is made first, so that nothing can fail once the hook is in.
  Record* record = new (std::nothrow) Record(this, lParamUser, nextSerial_++);
  try {
    if (record) records_.emplace(lng_hWnd, nullptr);
  } catch (const std::bad_alloc&) {
    delete std::exchange(record, nullptr);
  }
  if (!record) {
    Fail(kRoutine, L"VirtualAlloc failed, error: " + std::to_wstring(ERROR_NOT_ENOUGH_MEMORY));
    return false;
  }
  if (bUnicode && *bUnicode) *bUnicode = ::IsWindowUnicode(lng_hWnd) != FALSE;

  DWORD error = 0;
  const auto result = record->Install(lng_hWnd, error);
  if (result != detail::HookLink::InstallError::None) {
    records_.erase(lng_hWnd);
    delete record;
    if (result == detail::HookLink::InstallError::NoMemory) {
      Fail(kRoutine, L"VirtualAlloc failed, error: " + std::to_wstring(error));
    } else {
      Fail(kRoutine, L"SetWindowLong failed, error #" + std::to_wstring(error));
    }
    return false;
  }
  records_[lng_hWnd] = record;
  return true;
}

CSubclass::Record* CSubclass::Find(HWND hwnd, const wchar_t* routine, bool reportMissing) {
  if (!registryExists_) {
    Fail(routine, L"Thunk hasn't been initialized");
    return nullptr;
  }
  if (records_.empty()) return nullptr;
  auto it = records_.find(hwnd);
  if (it == records_.end()) {
    if (reportMissing) Fail(routine, L"Thunk type for  does not exist");
    return nullptr;
  }
  return it->second;
}

void CSubclass::Forget(Record* record) {
  auto it = records_.find(record->window());
  if (it != records_.end() && it->second == record) records_.erase(it);
}

void CSubclass::Unhook(Record* record) {
  Forget(record);
  record->Unhook();
}

void CSubclass::ssc_UnSubclass(HWND lng_hWnd) {
  if (Record* record = Find(lng_hWnd, L"ssc_UnSubclass", false)) Unhook(record);
}

void CSubclass::ssc_Terminate() {
  if (!registryExists_) return;
  std::vector<Record*> records;
  records.reserve(records_.size());
  for (const auto& entry : records_) records.push_back(entry.second);
  std::sort(records.begin(), records.end(), [](const Record* a, const Record* b) { return a->serial > b->serial; });
  for (Record* record : records) Unhook(record);
  records_.clear();
  registryExists_ = false;
}

LRESULT CSubclass::ssc_CallOrigWndProc(HWND lng_hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  Record* record = Find(lng_hWnd, L"ssc_CallOrigWndProc", true);
  return record ? record->CallPrevious(lng_hWnd, uMsg, wParam, lParam) : 0;
}

void CSubclass::ssc_AddMsg(HWND lng_hWnd, UINT uMsg, int When) {
  Record* record = Find(lng_hWnd, L"ssc_AddMsg", true);
  if (!record) return;
  if (When & MSG_BEFORE) AddTo(record->before, uMsg);
  if (When & MSG_AFTER) AddTo(record->after, uMsg);
}

void CSubclass::DeleteMessages(HWND lng_hWnd, int When, const std::vector<std::uint32_t>& numbers) {
  Record* record = Find(lng_hWnd, L"ssc_DelMsg", true);
  if (!record) return;
  for (std::uint32_t msg : numbers) {
    if (When & MSG_BEFORE) record->before.Delete(msg);
    if (When & MSG_AFTER) record->after.Delete(msg);
  }
}

void CSubclass::zSet_lParamUser(HWND hWnd_Hook_ID, LONG_PTR NewValue) {
  if (Record* record = Find(hWnd_Hook_ID, L"zSet_lParamUser", true)) record->lParamUser = NewValue;
}

LONG_PTR CSubclass::zGet_lParamUser(HWND hWnd_Hook_ID) {
  Record* record = Find(hWnd_Hook_ID, L"zGet_lParamUser", true);
  return record ? record->lParamUser : 0;
}

void CSubclass::TrackMouseTracking(HWND hWnd) {
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof request;
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = hWnd;
  request.dwHoverTime = 0;
  if (trackMouseEvent_) {
    trackMouseEvent_(&request);
  } else {
    // Older systems have it only in the common controls.
    if (const auto track = VELMORA_SYSTEM_FUNCTION(L"comctl32.dll", _TrackMouseEvent)) track(&request);
  }
}

}  // namespace hooks
