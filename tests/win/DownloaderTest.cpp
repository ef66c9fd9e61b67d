// The file downloader against a server in this process: blocks and events,
// a stop from an event, the hidden attribute, and every failure leaving the
// earlier file exactly as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/CYFDownLoadFile.h"
#include "tests/win/PlainPageTestServer.h"

namespace {

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"velmora-download-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
}

std::string Contents(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  std::stringstream all;
  all << file.rdbuf();
  return all.str();
}

void Write(const std::wstring& path, const std::string& text) {
  std::ofstream(path.c_str(), std::ios::binary) << text;
}

class Downloader : public ::testing::Test {
 protected:
  void TearDown() override {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
  }
  pagetest::TestHttpServer server;
  common::CYFDownLoadFile downloader;
  std::wstring path = TempPath(L"file.bin");
};

TEST_F(Downloader, ABodyOfOneBlockIsOneLoadingEventAndStopKeepsWhatCameInTheNamedFileOnly) {
  pagetest::Answer block;
  block.body = std::string(8192, 'x');
  server.Set("/block", block);
  std::vector<std::uint32_t> loading;
  std::uint32_t announced = 0;
  int completes = 0;
  downloader.QueryFileInfo.Bind([&](std::uint32_t n) { announced = n; });
  downloader.Loading.Bind([&](std::uint32_t n) { loading.push_back(n); });
  downloader.Complete.Bind([&] { ++completes; });
  ASSERT_TRUE(downloader.DownLoadFile(server.Url("/block"), path, false, true));
  EXPECT_EQ(announced, 8192u);
  EXPECT_EQ(loading, std::vector<std::uint32_t>{8192}) << "one full read, then the empty one ends it";
  EXPECT_EQ(completes, 1);
  EXPECT_EQ(Contents(path).size(), 8192u);

  pagetest::Answer big;
  big.body = std::string(5 * 8192, 'y');
  server.Set("/big", big);
  loading.clear();
  downloader.Loading.Bind([&](std::uint32_t n) {
    loading.push_back(n);
    downloader.StopDownLoad();
  });
  EXPECT_TRUE(downloader.DownLoadFile(server.Url("/big"), path, false, true));
  EXPECT_EQ(loading.size(), 1u);
  EXPECT_EQ(Contents(path).size(), loading[0]);
  EXPECT_EQ(completes, 2);
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW((path + L".*.part").c_str(), &found);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "no temporary file stays beside it";
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
}

TEST_F(Downloader, TheHiddenAttributeWhenAsked) {
  server.Page("/m.txt", "version=1.1.0\r\n");
  ASSERT_TRUE(downloader.DownLoadFile(server.Url("/m.txt"), path, true, false));
  EXPECT_TRUE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(downloader.DownLoadFile(server.Url("/m.txt"), path, true, false)) << "a hidden file is replaced too";
}

TEST_F(Downloader, EveryFailureLeavesTheEarlierFileAsItWas) {
  const std::string earlier = "version=1.0.0\r\n";
  pagetest::Answer missing;
  missing.status = "404 Not Found";
  missing.body = "gone";
  server.Set("/404", missing);
  pagetest::Answer error = missing;
  error.status = "500 Internal Server Error";
  server.Set("/500", error);
  pagetest::Answer chunked;
  chunked.body = "version=9.9.9\r\n";
  chunked.chunked = true;
  server.Set("/chunked", chunked);
  pagetest::Answer empty;
  server.Set("/empty", empty);
  pagetest::Answer shortBody;
  shortBody.body = std::string(10000, 'z');
  shortBody.announce = 20000;
  server.Set("/short", shortBody);
  int completes = 0;
  downloader.Complete.Bind([&] { ++completes; });
  const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(pagetest::TestHttpServer::UnusedPort()) + L"/x";
  for (const std::wstring& url : {server.Url("/404"), server.Url("/500"), server.Url("/chunked"),
                                  server.Url("/empty"), server.Url("/short"), refused}) {
    Write(path, earlier);
    EXPECT_FALSE(downloader.DownLoadFile(url, path, false, true)) << url;
    EXPECT_EQ(Contents(path), earlier) << url;
  }
  EXPECT_EQ(completes, 6) << "Complete comes whatever happened";
}

}  // namespace

namespace {
// The server sends its headers and then holds the body for 20 s, longer than
// the downloader waits for one block: the transfer is given up, not finished.
TEST_F(Downloader, AServerThatStallsIsGivenUpOnAndTheEarlierFileStays) {
  pagetest::Answer held;
  held.body = "version=9.9.9\r\n";
  held.holdBody = true;
  server.Set("/held", held);
  Write(path, "version=1.0.0\r\n");
  EXPECT_FALSE(downloader.DownLoadFile(server.Url("/held"), path, false, false));
  EXPECT_EQ(Contents(path), "version=1.0.0\r\n");
  server.Release();
}
}  // namespace
