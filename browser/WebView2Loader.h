// Finds the installed WebView2 runtime and loads its EmbeddedBrowserWebView.dll
// without the SDK's loader library: the runtime's folder from the registry,
// its version checked, the DLL by its full path only.
#pragma once

#include <windows.h>

#include <string>

#include "browser/WebView2Api.h"

namespace browser {

struct WebView2Runtime {
  std::wstring folder;   // "...\120.0.2210.91"
  std::wstring version;  // "120.0.2210.91"
  CreateWebViewEnvironmentWithOptionsInternalFn create = nullptr;
};

// The runtime's folder: the EBWebView value of its ClientState key (32-bit
// view), HKLM first, then HKCU; empty when neither names one.
std::wstring WebView2RuntimeFolder();

// Loads the runtime in `folder`. False with `reason` (the words the page
// engine's log line gives) when the folder is not a full path, its version is
// unreadable or too old, or the DLL or its export is missing.
bool LoadWebView2Runtime(const std::wstring& folder, WebView2Runtime& runtime, std::wstring& reason);

}  // namespace browser
