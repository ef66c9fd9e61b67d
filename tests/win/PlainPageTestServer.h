// Test helpers for the page views: a small HTTP server on 127.0.0.1 (an
// ephemeral port, its own thread, one request a connection), a parent window,
// a bounded message pump and a recorder of a view's events.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "browser/WebView.h"

namespace pagetest {

struct Answer {
  std::string status = "200 OK";
  std::string contentType = "text/html; charset=utf-8";
  std::string body;
  bool chunked = false;            // Transfer-Encoding: chunked, no Content-Length
  std::size_t chunkSize = 1000;
  bool holdBody = false;           // headers at once, the body only after Release()
  std::size_t announce = 0;        // when set, the Content-Length sent instead of the body's size
  std::vector<std::string> headers;  // extra lines, without CRLF
};

struct Request {
  std::string path;
  std::string userAgent;
};

class TestHttpServer {
 public:
  TestHttpServer();
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  bool ok() const { return listener_ != INVALID_SOCKET; }
  unsigned short port() const { return port_; }
  std::wstring Url(const std::string& path) const;

  void Set(const std::string& path, Answer answer);
  void Page(const std::string& path, const std::string& html) {
    Answer a;
    a.body = html;
    Set(path, std::move(a));
  }
  // Lets held bodies go.
  void Release();

  int Count(const std::string& path) const;
  std::vector<Request> Requests() const;

  // A port on 127.0.0.1 where nothing listens.
  static unsigned short UnusedPort();

 private:
  void Serve();
  void Handle(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::condition_variable released_cv_;
  bool released_ = false;
  std::map<std::string, Answer> answers_;
  std::vector<Request> requests_;
  std::thread thread_;
  std::vector<std::thread> connections_;  // one a connection, joined at the end
};

// A visible top-level window to hold views.
class ParentWindow {
 public:
  ParentWindow(int width = 640, int height = 480);
  ~ParentWindow();
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// Runs the message loop until `done` is true or `timeoutMs` has passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Handles the messages already waiting (and those they post), a bounded number of rounds.
void PumpPending(int rounds = 20);

// Records every event of a view as a line: "BN url", "DB", "DC url top|frame",
// "TC title", "NW url", "CM".
class Recorder {
 public:
  explicit Recorder(browser::WebView& view);
  std::vector<std::wstring> lines;
  // Set by the test: what the next handlers answer.
  std::function<void(const std::wstring&, bool&)> onBefore;
  std::function<void(const std::wstring&, bool)> onComplete;
  std::function<void(bool&)> onContextMenu;
  std::function<void(const std::wstring&, bool&)> onNewWindow;
  std::function<void(const std::wstring&)> onTitle;
  std::function<void()> onDownload;
  std::function<void(const std::wstring&, long, bool, bool&)> onError;

  int Count(const std::wstring& prefix) const;
  bool Has(const std::wstring& line) const;
  // True once the top document has completed `n` times.
  bool TopCompleted(int n = 1) const { return CountTop() >= n; }
  int CountTop() const;
  // The lines that start with `prefix`, in order.
  std::vector<std::wstring> With(const std::wstring& prefix) const;
};

std::wstring Widen(const std::string& ascii);

}  // namespace pagetest
