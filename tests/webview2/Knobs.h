// The failures a test asks of the fake runtime, read from the process's
// environment each time the export is called:
//   VELMORA_TEST_WEBVIEW2_EXPORT=<hresult>           the export answers it at once
//   VELMORA_TEST_WEBVIEW2_ENVIRONMENT=<hresult>[:n]  the first n environments
//                                                    of the process fail with it (no n: all;
//                                                    counted from the value's last change)
//   VELMORA_TEST_WEBVIEW2_CONTROLLER=<hresult>[:n]   the same for controllers
//   VELMORA_TEST_WEBVIEW2_PROCESS_FAILED=<k>[:<times>]  ProcessFailed after the
//                                                    k-th top-level NavigationCompleted
//                                                    of the process and the next times-1
//   VELMORA_TEST_WEBVIEW2_TITLE=after                titles after NavigationCompleted
// <hresult> is hexadecimal ("0x80004004"). A value that does not read as
// that asks for nothing.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

namespace fakewebview2 {

struct Failure {
  HRESULT error = S_OK;
  unsigned count = 0;  // 0: every time
  // True for the `made`-th creation (from 1).
  bool Applies(unsigned made) const { return FAILED(error) && (count == 0 || made <= count); }
  bool operator==(const Failure&) const = default;
};

// Counts the creations of the process since the failure asked for last
// changed (a test that sets another starts from one again); returns the count
// with this one.
class CreationCounter {
 public:
  unsigned Next(const Failure& asked) {
    if (!(asked == last_)) {
      last_ = asked;
      made_ = 0;
    }
    return ++made_;
  }

 private:
  Failure last_;
  unsigned made_ = 0;
};

struct Knobs {
  std::optional<HRESULT> exportError;
  Failure environment;
  Failure controller;
  unsigned processFailedAfter = 0;  // k; 0: never
  unsigned processFailedTimes = 1;
  bool titleAfterCompletion = false;

  static Knobs FromEnvironment();
};

// "<hresult>[:n]"; nullopt when it does not read so. Pure.
std::optional<Failure> ParseFailure(std::wstring_view text);

}  // namespace fakewebview2
