// The process's one WebView2 environment: started once, on the user-interface
// thread, with the player's profile in %LOCALAPPDATA%\<GameName>\WebView2.
#pragma once

#include <windows.h>

#include <string>

#include "browser/WebView2Api.h"

namespace browser {

// Loads the runtime and starts the environment, letting the thread's messages
// run until it answers (a bounded wait; another process holding the profile
// with other options, or an abort, is tried again a few times). True with the
// runtime's version in `text`; false with the reason there. Asked again, it
// gives the first answer.
bool StartWebView2Environment(std::wstring& text);
// The started environment; null before or without one.
ICoreWebView2Environment* WebView2EnvironmentObject();

// Lets messages run until `done` or `timeoutMs` has passed; false on timeout
// (or a WM_QUIT, left for the loop that owns it).
bool PumpMessagesUntil(const bool& done, DWORD timeoutMs);

// Creation's failures that are worth another try: the profile in use with
// other options, or the parent gone meanwhile.
inline bool IsWebView2RetryError(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(ERROR_INVALID_STATE) || hr == E_ABORT;
}
inline constexpr int kWebView2Attempts = 5;
inline constexpr DWORD kWebView2RetryDelayMs = 200;

}  // namespace browser
