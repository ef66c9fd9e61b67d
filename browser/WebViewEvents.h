// Raising a view's events for its holder, each in its own handler scope: what a
// handler throws ends that handler and is reported here, so that the WebView2
// host, built without exception support to stay small, never sees it.
#pragma once

#include <string>

#include "browser/WebView.h"

namespace browser::events {

void DownloadBegin(WebView& view);
void BeforeNavigate2(WebView& view, const std::wstring& url, bool& cancel);
void DocumentComplete(WebView& view, const std::wstring& url, bool topLevel);
void NavigateError(WebView& view, const std::wstring& url, long status, bool topLevel, bool& cancel);
void TitleChange(WebView& view, const std::wstring& title);
void NewWindow(WebView& view, const std::wstring& url, bool& processed);
void ContextMenu(WebView& view, bool& show);

}  // namespace browser::events
