#include "tests/win/PlainPageTestServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>

namespace pagetest {

namespace {

struct WinsockInit {
  WinsockInit() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
  }
};

void EnsureWinsock() { static WinsockInit init; }

bool SendAll(SOCKET s, const std::string& data) {
  std::size_t sent = 0;
  while (sent < data.size()) {
    int n = ::send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

std::string HeaderValue(const std::string& request, const std::string& name) {
  std::string lower = request;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  std::size_t at = lower.find("\r\n" + name + ":");
  if (at == std::string::npos) return {};
  std::size_t begin = at + 2 + name.size() + 1;
  std::size_t end = request.find("\r\n", begin);
  std::string value = request.substr(begin, end - begin);
  while (!value.empty() && value.front() == ' ') value.erase(0, 1);
  return value;
}

}  // namespace

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

TestHttpServer::TestHttpServer() {
  EnsureWinsock();
  listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  int len = sizeof(addr);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::closesocket(listener_);
    listener_ = INVALID_SOCKET;
    return;
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

TestHttpServer::~TestHttpServer() {
  stop_ = true;
  Release();
  if (thread_.joinable()) thread_.join();
  if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
}

std::wstring TestHttpServer::Url(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + Widen(path);
}

void TestHttpServer::Set(const std::string& path, Answer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = std::move(answer);
}

void TestHttpServer::Release() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
  }
  released_cv_.notify_all();
}

int TestHttpServer::Count(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(std::count_if(requests_.begin(), requests_.end(), [&](const Request& r) {
    return r.path == path;
  }));
}

std::vector<Request> TestHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

unsigned short TestHttpServer::UnusedPort() {
  EnsureWinsock();
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof(addr);
  ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
  ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  ::closesocket(s);
  return ntohs(addr.sin_port);
}

void TestHttpServer::Serve() {
  while (!stop_) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(listener_, &set);
    timeval wait{0, 50 * 1000};
    if (::select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = ::accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    connections_.emplace_back([this, client] {
      Handle(client);
      ::shutdown(client, SD_SEND);
      ::closesocket(client);
    });
  }
  for (std::thread& t : connections_) t.join();
}

void TestHttpServer::Handle(SOCKET client) {
  std::string request;
  char buffer[4096];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (request.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(client, &set);
    timeval wait{0, 100 * 1000};
    if (::select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
    int n = ::recv(client, buffer, sizeof(buffer), 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  std::size_t sp1 = request.find(' ');
  std::size_t sp2 = request.find(' ', sp1 + 1);
  if (sp1 == std::string::npos || sp2 == std::string::npos) return;
  std::string path = request.substr(sp1 + 1, sp2 - sp1 - 1);

  Answer answer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back({path, HeaderValue(request, "user-agent")});
    auto it = answers_.find(path);
    if (it != answers_.end()) {
      answer = it->second;
    } else {
      answer.status = "404 Not Found";
      answer.contentType = "text/plain";
      answer.body = "not found";
    }
  }
  std::string head = "HTTP/1.1 " + answer.status + "\r\nContent-Type: " + answer.contentType +
                     "\r\nConnection: close\r\nCache-Control: no-store\r\n";
  for (const std::string& h : answer.headers) head += h + "\r\n";
  head += answer.chunked ? "Transfer-Encoding: chunked\r\n" : "Content-Length: " + std::to_string(answer.announce ? answer.announce : answer.body.size()) + "\r\n";
  head += "\r\n";
  if (!SendAll(client, head)) return;
  if (answer.holdBody) {
    std::unique_lock<std::mutex> lock(mutex_);
    released_cv_.wait_for(lock, std::chrono::seconds(20), [&] { return released_ || stop_; });
  }
  if (!answer.chunked) {
    SendAll(client, answer.body);
    return;
  }
  for (std::size_t i = 0; i < answer.body.size(); i += answer.chunkSize) {
    std::string part = answer.body.substr(i, answer.chunkSize);
    char size[16];
    snprintf(size, sizeof(size), "%zx\r\n", part.size());
    if (!SendAll(client, size + part + "\r\n")) return;
  }
  SendAll(client, "0\r\n\r\n");
}

// ---------------------------------------------------------------------------

ParentWindow::ParentWindow(int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PageViewTestParent";
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  ::RegisterClassW(&wc);
  hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"page view test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                            20, 20, width, height, nullptr, nullptr, wc.hInstance, nullptr);
}

ParentWindow::~ParentWindow() {
  if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      if (done()) return true;
    }
    if (done()) return true;
    if (static_cast<int>(::GetTickCount() - start) >= timeoutMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PumpPending(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// ---------------------------------------------------------------------------

Recorder::Recorder(browser::WebView& view) {
  view.BeforeNavigate2.Bind([this](const std::wstring& url, bool& cancel) {
    lines.push_back(L"BN " + url);
    if (onBefore) onBefore(url, cancel);
  });
  view.DownloadBegin.Bind([this] {
    lines.push_back(L"DB");
    if (onDownload) onDownload();
  });
  view.DocumentComplete.Bind([this](const std::wstring& url, bool top) {
    lines.push_back(L"DC " + url + (top ? L" top" : L" frame"));
    if (onComplete) onComplete(url, top);
  });
  view.TitleChange.Bind([this](const std::wstring& title) {
    lines.push_back(L"TC " + title);
    if (onTitle) onTitle(title);
  });
  view.NewWindow.Bind([this](const std::wstring& url, bool& processed) {
    lines.push_back(L"NW " + url);
    if (onNewWindow) onNewWindow(url, processed);
  });
  view.NavigateError.Bind([this](const std::wstring& url, long status, bool top, bool& cancel) {
    wchar_t code[16];
    std::swprintf(code, 16, L"%08lX", static_cast<unsigned long>(status));
    lines.push_back(L"NE " + url + L" " + code + (top ? L" top" : L" frame"));
    if (onError) onError(url, status, top, cancel);
  });
  view.ContextMenu.Bind([this](bool& show) {
    lines.push_back(L"CM");
    if (onContextMenu) onContextMenu(show);
  });
}

int Recorder::Count(const std::wstring& prefix) const {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::wstring& l) {
    return l.rfind(prefix, 0) == 0;
  }));
}

bool Recorder::Has(const std::wstring& line) const {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int Recorder::CountTop() const {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::wstring& l) {
    return l.rfind(L"DC ", 0) == 0 && l.size() >= 4 && l.compare(l.size() - 4, 4, L" top") == 0;
  }));
}

std::vector<std::wstring> Recorder::With(const std::wstring& prefix) const {
  std::vector<std::wstring> out;
  for (const std::wstring& l : lines) {
    if (l.rfind(prefix, 0) == 0) out.push_back(l);
  }
  return out;
}

}  // namespace pagetest
