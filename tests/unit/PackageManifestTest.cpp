// The manifest's package lines and the text its signature covers.
#include <gtest/gtest.h>

#include "common/PackageManifest.h"

namespace common {
namespace {

const std::string kSha(64, 'a');
const std::string kSignature(128, '0');

std::string Manifest(const std::string& extra = "") {
  return "version=1.2.0\r\npackage=http://h/Velmora-1.2.0.exe\r\nsize=1234\r\nsha256=" + kSha +
         "\r\nexpires=2027-01-07T12:00:00Z\r\nsignature=" + kSignature + "\r\n" + extra;
}

TEST(PackageManifest, TheFieldsAreReadAndTheSignedTextNamesEachOfThem) {
  ManifestProblem problem;
  const auto manifest = ReadPackageManifest(Manifest(), problem);
  ASSERT_TRUE(manifest) << problem.what;
  EXPECT_EQ(manifest->version, "1.2.0");
  EXPECT_EQ(manifest->package, "http://h/Velmora-1.2.0.exe");
  EXPECT_EQ(manifest->size, 1234u);
  EXPECT_EQ(manifest->sha256[0], 0xAA);
  EXPECT_EQ(SignedText(*manifest), "Velmora update\nversion=1.2.0\npackage=http://h/Velmora-1.2.0.exe\nsize=1234\nsha256=" +
                                       kSha + "\nexpires=2027-01-07T12:00:00Z\n");
  // LF-only lines and upper-case keys read the same.
  std::string unix = Manifest();
  for (std::size_t at; (at = unix.find("\r\n")) != std::string::npos;) unix.replace(at, 2, "\n");
  ASSERT_TRUE(ReadPackageManifest(unix, problem));
  EXPECT_EQ(SignedText(*ReadPackageManifest(unix, problem)), SignedText(*manifest));
}

TEST(PackageManifest, AMissingOrMalformedFieldIsAProblemNotAGuess) {
  const std::pair<std::string, std::string> broken[] = {
      {"sha256=" + kSha, "sha256=" + kSha.substr(2)},                 // too short
      {"sha256=" + kSha, "sha256=" + std::string(64, 'g')},           // not hex
      {"signature=" + kSignature, "signature="},                       // unsigned
      {"expires=2027-01-07T12:00:00Z", "expires="},                   // signed forever
      {"size=1234", "size=-1"},                                        // no number
      {"size=1234", "size=0"},                                         // nothing to fetch
      {"package=http://h/Velmora-1.2.0.exe", "package=file:///C:/x.exe"},  // not a web address
      {"signature=", "signature=k 1:"},                                // not a key id
      {"signature=", "signature=:"},
  };
  for (const auto& [good, bad] : broken) {
    std::string text = Manifest();
    text.replace(text.find(good), good.size(), bad);
    ManifestProblem problem;
    EXPECT_FALSE(ReadPackageManifest(text, problem)) << bad;
    EXPECT_FALSE(problem.what.empty());
  }
  ManifestProblem problem;
  EXPECT_FALSE(ReadPackageManifest("package=http://h/x\r\n", problem)) << "no version line";
  std::string named = Manifest();
  named.replace(named.find("signature=") + 10, 0, "k-2.b:");
  ASSERT_TRUE(ReadPackageManifest(named, problem)) << "the signature names the key that made it";
  EXPECT_EQ(ReadPackageManifest(named, problem)->signer, "k-2.b");
  EXPECT_EQ(ReadPackageManifest(Manifest(), problem)->signer, "");
  EXPECT_FALSE(FromHex("abc"));
  EXPECT_EQ(FromHex("0aFf")->at(1), 0xFF);
}

}  // namespace
}  // namespace common
