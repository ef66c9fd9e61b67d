// The updater's download against a server in this process that holds its
// answer's body back: the whole download's deadline, and a cancel set by a
// message handled while it waits, end it, though the body would come later.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "tests/win/PlainPageTestServer.h"
#include "updater/Fetch.h"

namespace {

bool cancelled = false;
void CALLBACK CancelSoon(HWND, UINT, UINT_PTR, DWORD) { cancelled = true; }

// Fetches a body held back for three seconds; false unless it came.
bool FetchHeldBody(const updater::FetchBounds& bounds, std::wstring& error) {
  pagetest::TestHttpServer server;
  pagetest::Answer held;
  held.body = std::string(100, 'x');
  held.holdBody = true;
  server.Set("/package", held);
  std::thread release([&] {
    ::Sleep(3000);
    server.Release();
  });
  std::string body;
  const bool whole = updater::Fetch(server.Url("/package"), bounds,
                                    [&](std::span<const std::uint8_t> bytes) {
                                      body.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
                                      return true;
                                    },
                                    error);
  release.join();
  return whole && body.size() == 100;
}

TEST(UpdaterFetch, TheHeldBodyArrivesWithinTheBounds) {
  std::wstring error;
  EXPECT_TRUE(FetchHeldBody({100, 10000, nullptr}, error)) << "the server's part works";
}

TEST(UpdaterFetch, TheWholeDownloadEndsAtItsDeadline) {
  std::wstring error;
  EXPECT_FALSE(FetchHeldBody({100, 500, nullptr}, error));
  EXPECT_EQ(error, L"下载超时");
}

TEST(UpdaterFetch, ACancelWhileItWaitsEndsIt) {
  cancelled = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, &CancelSoon);
  std::wstring error;
  EXPECT_FALSE(FetchHeldBody({100, 10000, &cancelled}, error));
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(cancelled);
}

}  // namespace
