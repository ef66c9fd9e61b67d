// The handlers added to one event: each under a token of its own (unique in
// the process), removed by that token (E_INVALIDARG for one it does not
// know). Raising goes over a copy, so a handler may add or remove handlers.
#pragma once

#include <windows.h>
#include <eventtoken.h>

#include <utility>
#include <vector>

#include "win/ComPtr.h"

namespace fakewebview2 {

INT64 NextEventToken();

template <typename Handler>
class HandlerList {
 public:
  using Kept = Handler;
  HRESULT Add(Handler* handler, EventRegistrationToken* token) {
    if (!handler || !token) return E_INVALIDARG;
    token->value = NextEventToken();
    handler->AddRef();
    entries_.emplace_back(token->value, win::ComPtr<Handler>::Attach(handler));
    return S_OK;
  }
  HRESULT Remove(EventRegistrationToken token) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->first == token.value) {
        entries_.erase(it);
        return S_OK;
      }
    }
    return E_INVALIDARG;
  }
  std::vector<win::ComPtr<Handler>> Snapshot() const {
    std::vector<win::ComPtr<Handler>> copy;
    for (const auto& entry : entries_) copy.push_back(entry.second);
    return copy;
  }
  bool Empty() const { return entries_.empty(); }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::pair<INT64, win::ComPtr<Handler>>> entries_;
};

}  // namespace fakewebview2
