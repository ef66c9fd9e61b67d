// One hook procedure installed on one window, shared by CSubclass and
// cFormSubclass. Each link gets a window procedure of its own: a few bytes of
// generated code (one form for i386, one for x86-64) that call the link's
// procedure with the link and the window's four arguments, so the link knows
// itself without any lookup and its
// previous procedure is exactly the one it replaced, even when other hooks are
// installed above or below it.
//
// The link counts the messages inside its procedure. Once it is shut down (by its
// owner, or by the window's WM_NCDESTROY) it passes messages straight through,
// and as soon as no message is inside it, it puts the previous procedure back and
// deletes itself. If another procedure has been installed over it in the meantime,
// putting the previous one back would cut that procedure out of the window, so
// the link stays in the chain, passing messages through, and tries again after
// each later message: it leaves once it is on top again, or when the window ends.
//
// Everything here runs on the thread that owns the windows.
#pragma once

#include <windows.h>

#include <cstddef>

#include "hooks/HookState.h"

namespace hooks {

namespace detail {

class HookLink {
 public:
  HookLink(const HookLink&) = delete;
  HookLink& operator=(const HookLink&) = delete;
  virtual ~HookLink();

  enum class InstallError { None, NoMemory, SetWindowLong };

  HWND window() const { return hwnd_; }
  bool shutDown() const { return state_.shutDown(); }
  // The procedure that this link placed on the window.
  WNDPROC proc() const;

  // Runs the window's previous procedure.
  LRESULT CallPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
    return ::CallWindowProcW(previous_, hwnd, msg, wParam, lParam);
  }

 protected:
  HookLink();

  // Makes this link's procedure the window's procedure (always the wide call, so
  // the window's text messages are never narrowed to the ANSI code page). On
  // failure nothing has changed and `error` holds the system error number.
  InstallError Install(HWND hwnd, DWORD& error);

  // Stops routing. The link releases itself once no message is inside its
  // procedure, which may be at once: the caller must not touch it afterwards.
  void ShutDown();

  // Routes one message that reached the window. The handle, message and
  // parameters are the caller's copies: what the route leaves in them is what it
  // hands to the previous procedure.
  virtual LRESULT Route(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam) noexcept = 0;
  // The window has had its last message; the handle no longer names it.
  virtual void OnWindowDestroyed() noexcept {}

 private:
  friend struct ThunkAccess;
  friend struct HookLinkProbe;  // the tests' view of the count below
  // Links installed or waiting to be released in this process.
  static std::size_t live_;
  static LRESULT CALLBACK Proc(HookLink* link, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#if defined(__x86_64__)
  // Where the x86-64 thunks land: `slot` names the link and its window.
  static LRESULT CALLBACK SlotProc(const void* slot, UINT msg, WPARAM wParam, LPARAM lParam);
#endif
  void Release();

  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  void* thunkChunk_ = nullptr;
  unsigned thunkIndex_ = 0;
  HookState state_;
};

}  // namespace detail
}  // namespace hooks
