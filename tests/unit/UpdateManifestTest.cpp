// The client's rule for the manifest's version line.
#include <gtest/gtest.h>

#include "common/UpdateManifest.h"

namespace common {
namespace {

TEST(UpdateManifest, TheFirstVersionLineFromItsNinthCharacterTrimmed) {
  EXPECT_EQ(ManifestVersion("version=1.1.0\r\n"), "1.1.0");
  EXPECT_EQ(ManifestVersion("notes\r\nVersion: 1.1.0  \r\nversion=9.9.9\r\n"), "1.1.0");
  EXPECT_EQ(ManifestVersion("  version=1.1.0"), "n=1.1.0") << "an indented line shifts the value";
  EXPECT_EQ(ManifestVersion("version=1.1.00"), "1.1.00");
  EXPECT_EQ(ManifestVersion("versions"), "");
  EXPECT_FALSE(ManifestVersion("size=3\r\npackage=x\r\n"));
  EXPECT_FALSE(ManifestVersion(""));
}

TEST(UpdateManifest, CrLfCrAndALoneLfEachEndALine) {
  EXPECT_EQ(ManifestVersion("version=1.1.0\rsize=2"), "1.1.0");
  EXPECT_EQ(ManifestVersion("version=1.1.0\nsize=2\n"), "1.1.0") << "a Unix-edited manifest";
  EXPECT_EQ(ManifestLines("a\r\n\r\nb\n\rc").size(), 5u);
}

TEST(UpdateManifest, TheUpdaterArgumentNamesFolderAndClientWithoutADoubledBackslash) {
  EXPECT_EQ(UpdaterArgument(L"C:\\Games\\Velmora", L"Velmora"), L"C:\\Games\\Velmora|C:\\Games\\Velmora\\Velmora.exe");
  EXPECT_EQ(UpdaterArgument(L"D:\\", L"Velmora"), L"D:\\|D:\\Velmora.exe");
}

}  // namespace
}  // namespace common
