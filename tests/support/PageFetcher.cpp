#include "tests/support/PageFetcher.h"

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <utility>
#include <vector>

#include "forms/WindowBase.h"
#include "win/Module.h"

namespace browser {

namespace {

// Messages from WinINet's threads to the fetcher's window; wParam is the transfer id.
constexpr UINT kHandleCreated = WM_APP + 1;  // lParam: the request handle
constexpr UINT kCompleted = WM_APP + 2;      // lParam: the result (a handle when opening)
constexpr UINT kFailed = WM_APP + 3;         // lParam: the error
constexpr UINT kHandleClosed = WM_APP + 4;   // the last word about the handle
constexpr UINT kReadMore = WM_APP + 5;       // posted by the fetcher itself between reading rounds

constexpr DWORD kBufferSize = 64 * 1024;
constexpr int kReadsPerRound = 16;

// Written once on the user-interface thread before the first request; read by
// the status callback on WinINet's threads.
std::atomic<HWND> g_target{nullptr};

void CALLBACK StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
  HWND target = g_target.load(std::memory_order_acquire);
  if (!target || context == 0) return;
  auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
  switch (status) {
    case INTERNET_STATUS_HANDLE_CREATED:
      if (result) ::PostMessageW(target, kHandleCreated, context, static_cast<LPARAM>(result->dwResult));
      break;
    case INTERNET_STATUS_REQUEST_COMPLETE:
      if (!result) break;
      if (result->dwResult) {
        ::PostMessageW(target, kCompleted, context, static_cast<LPARAM>(result->dwResult));
      } else {
        ::PostMessageW(target, kFailed, context, result->dwError ? result->dwError : ERROR_INTERNET_INTERNAL_ERROR);
      }
      break;
    case INTERNET_STATUS_HANDLE_CLOSING:
      ::PostMessageW(target, kHandleClosed, context, 0);
      break;
    default:
      break;
  }
}

// Reads a text answer of WinINet into a buffer that grows until it fits; the
// text ends at its first null, whatever size WinINet reports.
template <typename Query>
std::wstring QueryString(Query&& query) {
  std::wstring text(1024, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (query(text.data(), &bytes)) {
      text.resize(::wcsnlen(text.c_str(), text.size()));
      return text;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    text.assign(std::max<std::size_t>(text.size() * 4, bytes / sizeof(wchar_t) + bytes + 1), L'\0');
  }
  return {};
}

std::wstring QueryText(HINTERNET request, DWORD info) {
  return QueryString([&](wchar_t* buffer, DWORD* bytes) { return ::HttpQueryInfoW(request, info, buffer, bytes, nullptr); });
}

std::wstring QueryAddress(HINTERNET request) {
  return QueryString(
      [&](wchar_t* buffer, DWORD* bytes) { return ::InternetQueryOptionW(request, INTERNET_OPTION_URL, buffer, bytes); });
}

}  // namespace

struct PageFetcher::Transfer {
  enum class Phase { Opening, Querying, Reading, Between, Done };

  unsigned id = 0;
  FetchClient* client = nullptr;
  HINTERNET handle = nullptr;
  Phase phase = Phase::Opening;
  bool closing = false;  // InternetCloseHandle called (or no handle ever came)
  // WinINet may write these after the call that was given them has returned.
  DWORD available = 0;
  DWORD read = 0;
  std::vector<char> buffer;
  FetchResult result;
};

class PageFetcher::Window : public forms::WindowBase {
 public:
  explicit Window(PageFetcher& owner) : owner_(owner) {
    CreateWindowFor(L"VelmoraPageFetcher", 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
  }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg >= kHandleCreated && msg <= kReadMore) return owner_.OnMessage(msg, wParam, lParam);
    return DefaultProc(msg, wParam, lParam);
  }

 private:
  PageFetcher& owner_;
};

PageFetcher& PageFetcher::Instance() {
  // Never destroyed: WinINet's threads may report on transfers until the process ends.
  static PageFetcher* instance = new PageFetcher();
  return *instance;
}

PageFetcher::PageFetcher() : window_(std::make_unique<Window>(*this)) {
  g_target.store(window_->window(), std::memory_order_release);
  session_ = ::InternetOpenW(UserAgent(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
  if (session_) ::InternetSetStatusCallbackW(session_, &StatusCallback);
}

const wchar_t* PageFetcher::UserAgent() {
  static const std::wstring agent = [] {
    std::wstring version = win::ModuleVersionText();
    return L"Mozilla/4.0 (compatible; Velmora" + (version.empty() ? std::wstring() : L"/" + version) +
           L"; plain page)";
  }();
  return agent.c_str();
}

PageFetcher::Transfer* PageFetcher::Find(unsigned id) {
  auto it = transfers_.find(id);
  return it == transfers_.end() ? nullptr : it->second.get();
}

unsigned PageFetcher::Start(const std::wstring& address, FetchClient* client) {
  do {
    ++nextId_;
  } while (nextId_ == 0 || transfers_.count(nextId_));
  const unsigned id = nextId_;
  auto owned = std::make_unique<Transfer>();
  Transfer& t = *owned;
  t.id = id;
  t.client = client;
  t.buffer.resize(kBufferSize);
  transfers_[id] = std::move(owned);

  HWND self = window_->window();
  if (!session_) {
    ::PostMessageW(self, kFailed, id, ERROR_INTERNET_INTERNAL_ERROR);
    return id;
  }
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_UI;
  HINTERNET handle = ::InternetOpenUrlW(session_, address.c_str(), nullptr, 0, flags, id);
  if (handle) {
    // Done at once (no callback will say so): carry on from the message loop.
    t.handle = handle;
    ::PostMessageW(self, kCompleted, id, reinterpret_cast<LPARAM>(handle));
  } else if (DWORD error = ::GetLastError(); error != ERROR_IO_PENDING) {
    ::PostMessageW(self, kFailed, id, error ? error : ERROR_INTERNET_INTERNAL_ERROR);
  }
  return id;
}

void PageFetcher::Cancel(unsigned id) {
  Transfer* t = Find(id);
  if (!t) return;
  t->client = nullptr;
  // Without a handle yet, it is closed as soon as WinINet hands it over.
  if (t->handle) Close(*t);
}

LRESULT PageFetcher::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto id = static_cast<unsigned>(wParam);
  Transfer* t = Find(id);
  switch (msg) {
    case kHandleCreated: {
      auto handle = reinterpret_cast<HINTERNET>(lParam);
      if (!t) {
        // A handle for a transfer already forgotten: nobody else will close it.
        if (handle) ::InternetCloseHandle(handle);
        break;
      }
      if (!t->handle) t->handle = handle;
      if (!t->client && !t->closing) Close(*t);
      break;
    }
    case kCompleted:
      if (!t || t->closing) break;
      switch (t->phase) {
        case Transfer::Phase::Opening: Opened(*t, reinterpret_cast<HINTERNET>(lParam)); break;
        case Transfer::Phase::Querying: ReadSome(*t); break;
        case Transfer::Phase::Reading:
          t->result.body.append(t->buffer.data(), std::min<DWORD>(t->read, kBufferSize));
          if (t->read == 0) {
            Finish(*t, 0);
          } else {
            ReadSome(*t);
          }
          break;
        default: break;
      }
      break;
    case kFailed:
      if (t && !t->closing) Finish(*t, static_cast<DWORD>(lParam));
      break;
    case kReadMore:
      if (t && !t->closing && t->phase == Transfer::Phase::Between) ReadSome(*t);
      break;
    case kHandleClosed:
      if (t && t->closing) transfers_.erase(id);
      break;
    default: break;
  }
  return 0;
}

void PageFetcher::Opened(Transfer& t, HINTERNET handle) {
  if (!t.handle) t.handle = handle;
  if (!t.handle) {
    Finish(t, ERROR_INTERNET_INTERNAL_ERROR);
    return;
  }
  if (!t.client) {
    Close(t);
    return;
  }
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (::HttpQueryInfoW(t.handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    t.result.status = status;
  }
  t.result.answered = true;
  t.result.contentType = QueryText(t.handle, HTTP_QUERY_CONTENT_TYPE);
  t.result.address = QueryAddress(t.handle);
  ReadSome(t);
}

void PageFetcher::ReadSome(Transfer& t) {
  for (int round = 0; round < kReadsPerRound; ++round) {
    t.phase = Transfer::Phase::Querying;
    if (!::InternetQueryDataAvailable(t.handle, &t.available, 0, 0)) {
      DWORD error = ::GetLastError();
      if (error != ERROR_IO_PENDING) Finish(t, error);
      return;
    }
    if (t.available == 0) {
      Finish(t, 0);
      return;
    }
    const std::size_t room = kMaxBody - t.result.body.size();
    if (room == 0) {
      t.result.truncated = true;
      Finish(t, 0);
      return;
    }
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>({t.available, kBufferSize, room}));
    t.phase = Transfer::Phase::Reading;
    t.read = 0;
    if (!::InternetReadFile(t.handle, t.buffer.data(), want, &t.read)) {
      DWORD error = ::GetLastError();
      if (error != ERROR_IO_PENDING) Finish(t, error);
      return;
    }
    if (t.read == 0) {
      Finish(t, 0);
      return;
    }
    t.result.body.append(t.buffer.data(), std::min<DWORD>(t.read, want));
  }
  // Let the rest of the program have its turn before the next round.
  t.phase = Transfer::Phase::Between;
  ::PostMessageW(window_->window(), kReadMore, t.id, 0);
}

void PageFetcher::Finish(Transfer& t, DWORD error) {
  t.phase = Transfer::Phase::Done;
  t.result.error = error;
  FetchClient* client = std::exchange(t.client, nullptr);
  FetchResult result = std::move(t.result);
  const unsigned id = t.id;
  Close(t);  // may forget `t`
  if (client) client->FetchDone(id, result);
}

void PageFetcher::Close(Transfer& t) {
  if (t.closing) return;
  t.closing = true;
  if (t.handle) {
    // The record goes when WinINet says the handle is closed (kHandleClosed).
    ::InternetCloseHandle(t.handle);
  } else {
    transfers_.erase(t.id);
  }
}

}  // namespace browser
