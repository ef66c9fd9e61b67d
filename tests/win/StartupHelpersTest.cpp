// The shared helpers on the real platform: files, resources, the backdrop hook.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "app/LoginBgFrm.h"
#include "common/PublicData.h"
#include "resources/ResourceIds.h"
#include "win/Error.h"
#include "win/Module.h"
#include "win/Resource.h"

namespace {

std::vector<char> ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The temporary files that writing `path` may leave beside it.
int PartialsBeside(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((path + L".*part").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return count;
}

TEST(SaveResourceToFile, ReplacesALongerFileWithExactlyTheResourceBytes) {
  const std::wstring path = common::GetTempFolder() + L"velmora-save-test.ico";
  {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << std::string(200000, 'x');
  }
  common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, path);
  auto expected = win::ResourceBytes(res::kIconFile, res::kTypeIcon);
  std::vector<char> written = ReadAll(path);
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_EQ(0, memcmp(written.data(), expected.data(), expected.size()));
  EXPECT_EQ(PartialsBeside(path), 0);
  ::DeleteFileW(path.c_str());
}

// Two clients started together write the same icon file; one may still hold
// it open (reading its icons) when the other replaces it.
TEST(SaveResourceToFile, AFileHeldOpenElsewhereIsLeftAsItIsWhenItHoldsTheSameBytes) {
  const std::wstring path = common::GetTempFolder() + L"velmora-held.ico";
  common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, path);
  HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_NO_THROW(common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, path));
  EXPECT_EQ(PartialsBeside(path), 0);
  ::CloseHandle(held);

  // Held open with other bytes, it cannot be replaced: an error that names the
  // file, the other bytes stay, and no temporary file is left.
  {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << "older icon";
  }
  held = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  try {
    common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, path);
    ADD_FAILURE() << "replaced a file held open without delete sharing";
  } catch (const win::Win32Error& e) {
    EXPECT_NE(e.message().find(path), std::wstring::npos);
  }
  ::CloseHandle(held);
  EXPECT_EQ(ReadAll(path).size(), 10u);
  EXPECT_EQ(PartialsBeside(path), 0);
  // Another writer's temporary file beside it, held open with no sharing at
  // all, is no obstacle.
  HANDLE other = ::CreateFileW((path + L".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_NO_THROW(common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, path));
  EXPECT_EQ(ReadAll(path).size(), win::ResourceBytes(res::kIconFile, res::kTypeIcon).size());
  ::CloseHandle(other);
  ::DeleteFileW((path + L".part").c_str());
  ::DeleteFileW(path.c_str());
}

TEST(SaveResourceToFile, WorksInAFolderWithChineseLetters) {
  const std::wstring folder = common::GetTempFolder() + L"玩家目录";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\vorn.ico";
  common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, path);
  EXPECT_EQ(ReadAll(path).size(), win::ResourceBytes(res::kIconFile, res::kTypeIcon).size());
  ::DeleteFileW(path.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

TEST(SaveResourceToFile, UnwritablePlaceNamesTheFileAndKeepsNothingHalfWritten) {
  const std::wstring path = common::GetTempFolder() + L"no-such-folder\\vorn.ico";
  try {
    common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, path);
    FAIL() << "expected an error";
  } catch (const win::Win32Error& e) {
    EXPECT_NE(e.message().find(path), std::wstring::npos);
  }
}

TEST(SaveResourceToFile, MissingResourceIsNamedAndTheOldFileStays) {
  const std::wstring path = common::GetTempFolder() + L"velmora-keep.txt";
  {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << "good";
  }
  try {
    common::SaveResourceToFile(999, L"UPDATE", path);
    FAIL() << "expected an error";
  } catch (const win::Win32Error& e) {
    EXPECT_NE(e.message().find(L"UPDATE 999"), std::wstring::npos);
  }
  EXPECT_EQ(ReadAll(path).size(), 4u);
  ::DeleteFileW(path.c_str());
}

TEST(GetTempFolder, EndsInExactlyOneBackslash) {
  std::wstring folder = common::GetTempFolder();
  ASSERT_GE(folder.size(), 2u);
  EXPECT_EQ(folder.back(), L'\\');
  EXPECT_NE(folder[folder.size() - 2], L'\\');
  EXPECT_NE(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP + 7) return 4242;
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(BackdropHook, PassesEverythingOnAndUnhookRestoresTheProcedure) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &OriginalProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BackdropHookTest";
  ::RegisterClassW(&wc);
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_TRUE(hwnd);
  auto before = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);

  app::HookBackdrop(hwnd);
  EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&app::BackdropWndProc));
  EXPECT_EQ(::SendMessageW(hwnd, WM_APP + 7, 0, 0), 4242);

  app::UnhookBackdrop(hwnd);
  EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), before);
  EXPECT_EQ(::SendMessageW(hwnd, WM_APP + 7, 0, 0), 4242);
  ::DestroyWindow(hwnd);
}

TEST(Version, ReadFromTheExecutablesOwnResource) {
  // The test program carries the client's resources, version included.
  EXPECT_EQ(win::ModuleVersionText(), VELMORA_VERSION_TEXT);
}

}  // namespace
