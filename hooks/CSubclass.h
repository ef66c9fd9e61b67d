// The general window message hook service. One object hooks any number of
// windows of this process; for each it keeps a table of messages delivered to it
// before the window's own procedure runs and a table of messages delivered after
// it, and raises every routed message as its WindowProc event. The handler may
// answer a message itself (bHandled) and so keep it from the window's own
// procedure, or change the answer that procedure gave (lReturn).
//
// A hook ends when the owner unhooks the window, when the object ends, or by
// itself when the window is destroyed; unhooking from inside a handler is safe,
// because a hook is taken out of its window only when no message is inside it.
// Failures are written to the application event log as
// "CSubclass.<routine>: <message>"; nothing is thrown to the caller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "forms/Event.h"
#include "hooks/MessageTable.h"

namespace hooks {

class CSubclass {
 public:
  CSubclass();
  // Unhooks every window (ssc_Terminate).
  ~CSubclass();
  CSubclass(const CSubclass&) = delete;
  CSubclass& operator=(const CSubclass&) = delete;

  // Hooks a window of this process, with empty tables: nothing is routed until
  // ssc_AddMsg. `nOrdinal` chooses the callback: 1, the WindowProc event, is the
  // only one there is. When `*bUnicode` comes in true it is replaced by whether
  // the window is a Unicode window. The hook itself always passes messages on
  // with the wide calls, which reach ANSI and Unicode procedures alike without
  // narrowing text. `bIdeSafety` and `bIsAPIwindow` are accepted for callers
  // and change nothing: an ending object always unhooks its windows first.
  bool ssc_Subclass(HWND lng_hWnd, LONG_PTR lParamUser = 0, int nOrdinal = 1, bool bIdeSafety = true,
                    bool* bUnicode = nullptr, bool bIsAPIwindow = false);
  // Stops routing the window's messages and gives the window back its previous
  // procedure once no message is inside the hook. A window that is not hooked is
  // passed over silently.
  void ssc_UnSubclass(HWND lng_hWnd);
  // Unhooks every window, the last hooked first.
  void ssc_Terminate();
  // The answer of the window's previous procedure; 0 when the window is not hooked.
  LRESULT ssc_CallOrigWndProc(HWND lng_hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Adds a message (or ALL_MESSAGES) to the tables named by `When` (MsgWhen bits).
  void ssc_AddMsg(HWND lng_hWnd, UINT uMsg, int When);
  // Deletes messages from the tables named by `When`: ALL_MESSAGES empties a
  // table, any other number frees its slot. Arguments that are not 8-, 16- or
  // 32-bit integers are skipped.
  template <typename... Messages>
  void ssc_DelMsg(HWND lng_hWnd, int When, Messages... messages) {
    std::vector<std::uint32_t> numbers;
    (AppendMessageNumber(numbers, messages), ...);
    DeleteMessages(lng_hWnd, When, numbers);
  }
  void zSet_lParamUser(HWND hWnd_Hook_ID, LONG_PTR NewValue);
  // The window's user value; 0 when the window is not hooked.
  LONG_PTR zGet_lParamUser(HWND hWnd_Hook_ID);

  // Asks the system to post WM_MOUSELEAVE to the window when the pointer leaves
  // it. One request covers one leave.
  void TrackMouseTracking(HWND hWnd);

  // (bBefore, bHandled, lReturn, lng_hWnd, uMsg, wParam, lParam, lParamUser).
  // bHandled, lReturn and lParamUser are the hook's own: what the handler leaves
  // in them is the answer and the user value of later messages.
  forms::Event<bool, bool&, LRESULT&, HWND, UINT, WPARAM, LPARAM, LONG_PTR&> WindowProc;

 private:
  struct Record;
  using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

  template <typename T>
  static void AppendMessageNumber(std::vector<std::uint32_t>& numbers, const T& value) {
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool> && sizeof(T) <= sizeof(std::int32_t)) {
      numbers.push_back(static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
    }
  }
  void DeleteMessages(HWND lng_hWnd, int When, const std::vector<std::uint32_t>& numbers);

  Record* Find(HWND hwnd, const wchar_t* routine, bool reportMissing);
  void Unhook(Record* record);
  void Forget(Record* record);

  std::unordered_map<HWND, Record*> records_;
  bool registryExists_ = false;
  std::uint64_t nextSerial_ = 0;
  // Set when user32 exports TrackMouseEvent; otherwise the common controls' copy is used.
  TrackMouseEventFn trackMouseEvent_ = nullptr;
};

}  // namespace hooks
