// Both built clients carry every resource the program reads, with the sizes
// the windows are laid out for, plus the version resource and the manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "resources/ResourceIds.h"
#include "win/GdiPlus.h"
#include "win/UniqueHandle.h"

namespace {

struct Module {
  explicit Module(const std::wstring& path)
      : handle(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~Module() {
    if (handle) ::FreeLibrary(handle);
  }
  std::string Bytes(const wchar_t* name, const wchar_t* type) const {
    HRSRC info = ::FindResourceW(handle, name, type);
    if (!info) return {};
    HGLOBAL data = ::LoadResource(handle, info);
    return std::string(static_cast<const char*>(::LockResource(data)), ::SizeofResource(handle, info));
  }
  HMODULE handle;
};

class ClientResources : public testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override {
    path_ = std::wstring(VELMORA_BUILD_ROOT) + L"/" + GetParam() + L"/Velmora.exe";
    std::replace(path_.begin(), path_.end(), L'/', L'\\');
    module_ = std::make_unique<Module>(path_);
    ASSERT_TRUE(module_->handle) << "cannot open the client built in " << testing::PrintToString(std::wstring(GetParam()))
                                 << ", error " << ::GetLastError();
    gdiplus_.Start();
  }
  SIZE PictureSize(WORD id, const wchar_t* type) {
    std::string bytes = module_->Bytes(MAKEINTRESOURCEW(id), type);
    auto image = win::StreamImage::FromBytes({reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()});
    return {static_cast<LONG>(image.width()), static_cast<LONG>(image.height())};
  }
  SIZE BitmapSize(WORD id) {
    win::UniqueHbitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(module_->handle, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (bitmap) ::GetObjectW(bitmap.get(), sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
  }

  std::wstring path_;
  std::unique_ptr<Module> module_;
  win::GdiplusSession gdiplus_;
};

// The machine field of a PE file's header.
WORD MachineOf(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  IMAGE_DOS_HEADER dos{};
  IMAGE_FILE_HEADER header{};
  DWORD signature = 0, read = 0;
  if (!file || !::ReadFile(file.get(), &dos, sizeof dos, &read, nullptr)) return 0;
  if (::SetFilePointer(file.get(), dos.e_lfanew, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
  if (!::ReadFile(file.get(), &signature, sizeof signature, &read, nullptr) || signature != IMAGE_NT_SIGNATURE) return 0;
  if (!::ReadFile(file.get(), &header, sizeof header, &read, nullptr)) return 0;
  return header.Machine;
}

// "major.minor.revision" of a file's version resource; empty without one.
std::wstring FileVersionText(const std::wstring& path) {
  DWORD ignored = 0, size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::string data(size, '\0');
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (size == 0 || !::GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
      !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len))
    return {};
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(info->dwFileVersionLS));
}

std::size_t Count(const std::string& text, const std::string& needle) {
  std::size_t count = 0;
  for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

void ExpectSize(SIZE actual, LONG w, LONG h, const char* what) {
  EXPECT_EQ(actual.cx, w) << what;
  EXPECT_EQ(actual.cy, h) << what;
}

TEST_P(ClientResources, CarryThePicturesAtTheirLayoutSizes) {
  ExpectSize(PictureSize(res::kPngSplash, res::kTypePng), 356, 122, "PNG 102 splash");
  ExpectSize(PictureSize(res::kPngBackdrop, res::kTypePng), 1237, 696, "PNG 101 backdrop");
  ExpectSize(PictureSize(res::kGifLoginMin, res::kTypeGif), 32, 32, "GIF 101");
  ExpectSize(PictureSize(res::kGifLoginClose, res::kTypeGif), 40, 40, "GIF 102");
  ExpectSize(BitmapSize(res::kBmpMin), 72, 18, "bitmap 101");
  ExpectSize(BitmapSize(res::kBmpMinMax), 150, 18, "bitmap 102");
  ExpectSize(BitmapSize(res::kBmpClose), 129, 18, "bitmap 103");
  ExpectSize(BitmapSize(res::kBmpTool), 72, 18, "bitmap 104");
  ExpectSize(BitmapSize(res::kBmpTabSlanted), 415, 25, "bitmap 106");
  ExpectSize(BitmapSize(res::kBmpTabRounded), 421, 28, "bitmap 107");
  ExpectSize(BitmapSize(res::kBmpWindowSkin), 94, 85, "bitmap 108");
  ExpectSize(BitmapSize(res::kBmpAnswerButtons), 225, 22, "bitmap 109");
  EXPECT_GT(BitmapSize(res::kBmpLogo).cx, 0) << "bitmap 105";
}

TEST_P(ClientResources, CarryTheIconFileWithItsFiveSizes) {
  std::string ico = module_->Bytes(MAKEINTRESOURCEW(res::kIconFile), res::kTypeIcon);
  ASSERT_GE(ico.size(), 6u + 5 * 16);
  WORD reserved, type, count;
  std::memcpy(&reserved, ico.data(), 2);
  std::memcpy(&type, ico.data() + 2, 2);
  std::memcpy(&count, ico.data() + 4, 2);
  EXPECT_EQ(reserved, 0);
  EXPECT_EQ(type, 1);
  ASSERT_EQ(count, 5);
  std::string sizes;
  for (int i = 0; i < count; ++i) {
    int w = static_cast<unsigned char>(ico[6 + i * 16]);
    sizes += std::to_string(w == 0 ? 256 : w) + " ";
  }
  EXPECT_EQ(sizes, "16 32 48 64 128 ");
  // The application's own icon group for the shell.
  EXPECT_TRUE(::FindResourceW(module_->handle, MAKEINTRESOURCEW(1), RT_GROUP_ICON));
}

TEST_P(ClientResources, CarryTheVersionAndTheManifest) {
  EXPECT_EQ(FileVersionText(path_), VELMORA_VERSION_TEXT);

  std::string manifest = module_->Bytes(MAKEINTRESOURCEW(1), RT_MANIFEST);
  for (const char* needle : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0", "level=\"asInvoker\"",
                             "<dpiAware>false</dpiAware>", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
    EXPECT_NE(manifest.find(needle), std::string::npos) << needle;

  // A manifest naming another architecture than the executable's stops it on Windows.
  const std::string arch = MachineOf(path_) == IMAGE_FILE_MACHINE_AMD64 ? "amd64" : "x86";
  EXPECT_EQ(Count(manifest, "processorArchitecture=\"" + arch + "\""), 2u) << manifest;
  EXPECT_EQ(Count(manifest, "processorArchitecture="), 2u) << manifest;
}

// The updater is started from the temporary folder under a name that says
// "update": without a manifest asking to run as its invoker, the system would
// take it for an installer and elevate it.
TEST_P(ClientResources, TheUpdaterRunsAsItsInvokerAndSaysWhatItIs) {
  std::wstring path = std::wstring(VELMORA_BUILD_ROOT) + L"/" + GetParam() + L"/VelmoraUpdate.exe";
  std::replace(path.begin(), path.end(), L'/', L'\\');
  Module updater(path);
  ASSERT_TRUE(updater.handle) << ::GetLastError();
  const std::string manifest = updater.Bytes(MAKEINTRESOURCEW(1), RT_MANIFEST);
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos)
      << manifest;
  const std::string arch = MachineOf(path) == IMAGE_FILE_MACHINE_AMD64 ? "amd64" : "x86";
  EXPECT_EQ(Count(manifest, "processorArchitecture=\"" + arch + "\""), 1u) << manifest;
  EXPECT_EQ(FileVersionText(path), VELMORA_VERSION_TEXT) << "the same version as the client that carries it";
}

std::string BytesAt(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size)) return {};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

std::string FileBytes(const std::wstring& build) {
  return BytesAt(std::wstring(VELMORA_BUILD_ROOT) + L"/" + build + L"/Velmora.exe");
}

bool CarriesWideText(const std::string& bytes, std::wstring_view text) {
  const std::string needle(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  return bytes.find(needle) != std::string::npos;
}

// Every client hosts the system control; the plain page engine is carried
// only by the tests' stand-in for that control (tests/testbrowser): its
// window class name is in the DLL and in neither client.
TEST(ClientEngines, OnlyTheTestBrowserCarriesThePlainPageEngine) {
  const std::string release = FileBytes(L"win32-release"), test = FileBytes(VELMORA_TEST_BUILD);
  const std::string standIn = BytesAt(VELMORA_TEST_BROWSER_DLL);
  ASSERT_FALSE(release.empty());
  ASSERT_FALSE(test.empty());
  ASSERT_FALSE(standIn.empty());
  EXPECT_FALSE(CarriesWideText(test, L"VelmoraPlainPage"));
  EXPECT_FALSE(CarriesWideText(release, L"VelmoraPlainPage"));
  EXPECT_TRUE(CarriesWideText(standIn, L"VelmoraPlainPage"));
  for (const std::string* client : {&release, &test}) {
    EXPECT_TRUE(CarriesWideText(*client, L"VelmoraBrowserHost")) << "the system control's host window";
  }
}

// The client that ships, and the test client of this suite's architecture.
INSTANTIATE_TEST_SUITE_P(Builds, ClientResources, testing::Values(L"win32-release", VELMORA_TEST_BUILD),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                           return std::wstring(info.param) == L"win32-release" ? std::string("Release")
                                                                               : std::string("Test");
                         });

}  // namespace
