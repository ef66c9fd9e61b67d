#include "browser/WebViewEvents.h"

#include "forms/Program.h"

namespace browser::events {

void DownloadBegin(WebView& view) {
  forms::RunHandler(L"page view DownloadBegin", [&] { view.DownloadBegin(); });
}
void BeforeNavigate2(WebView& view, const std::wstring& url, bool& cancel) {
  forms::RunHandler(L"page view BeforeNavigate2", [&] { view.BeforeNavigate2(url, cancel); });
}
void DocumentComplete(WebView& view, const std::wstring& url, bool topLevel) {
  forms::RunHandler(L"page view DocumentComplete", [&] { view.DocumentComplete(url, topLevel); });
}
void NavigateError(WebView& view, const std::wstring& url, long status, bool topLevel, bool& cancel) {
  forms::RunHandler(L"page view NavigateError", [&] { view.NavigateError(url, status, topLevel, cancel); });
}
void TitleChange(WebView& view, const std::wstring& title) {
  forms::RunHandler(L"page view TitleChange", [&] { view.TitleChange(title); });
}
void NewWindow(WebView& view, const std::wstring& url, bool& processed) {
  forms::RunHandler(L"page view NewWindow", [&] { view.NewWindow(url, processed); });
}
void ContextMenu(WebView& view, bool& show) {
  forms::RunHandler(L"page view ContextMenu", [&] { view.ContextMenu(show); });
}

}  // namespace browser::events
