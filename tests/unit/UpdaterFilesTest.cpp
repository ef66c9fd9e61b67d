// What the updater reads of the files around it: the version resource of the
// file it is to replace (whatever it holds), and how long a download may take.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "updater/Fetch.h"
#include "updater/VersionResource.h"

namespace updater {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutWord(Bytes& b, std::uint32_t w) {
  b.push_back(static_cast<std::uint8_t>(w));
  b.push_back(static_cast<std::uint8_t>(w >> 8));
}

// One block as resource compilers lay it out: length, value length (in
// characters for text), type, key, value and children on four-byte boundaries.
Bytes Block(const std::wstring& key, const Bytes& value, std::uint32_t valueLength, bool text,
            const std::vector<Bytes>& children = {}) {
  Bytes b(6, 0);
  for (wchar_t c : key + L'\0') PutWord(b, c);
  while (b.size() % 4) b.push_back(0);
  b.insert(b.end(), value.begin(), value.end());
  for (const Bytes& child : children) {
    while (b.size() % 4) b.push_back(0);
    b.insert(b.end(), child.begin(), child.end());
  }
  b[0] = static_cast<std::uint8_t>(b.size()), b[1] = static_cast<std::uint8_t>(b.size() >> 8);
  b[2] = static_cast<std::uint8_t>(valueLength), b[4] = text;
  return b;
}

Bytes String(const std::wstring& key, const std::wstring& value) {
  Bytes v;
  for (wchar_t c : value + L'\0') PutWord(v, c);
  return Block(key, v, static_cast<std::uint32_t>(value.size() + 1), true);
}

Bytes Resource(const std::wstring& product, const std::wstring& original) {
  Bytes fixed(52, 0);
  const std::uint32_t words[] = {0xFEEF04BD, 0x10000, 0x00010002, 0x00030000};  // 1.2.3
  for (int i = 0; i < 4; ++i)
    for (int k = 0; k < 4; ++k) fixed[i * 4 + k] = static_cast<std::uint8_t>(words[i] >> (8 * k));
  const Bytes table = Block(L"080404b0", {}, 0, true,
                            {String(L"CompanyName", L"Velmora"), String(L"OriginalFilename", original),
                             String(L"ProductName", product)});
  return Block(L"VS_VERSION_INFO", fixed, 52, false,
               {Block(L"StringFileInfo", {}, 0, true, {table}), Block(L"VarFileInfo", {}, 0, true)});
}

TEST(VersionResource, TheClientIsKnownByItsProductAndOriginalName) {
  const auto facts = ReadVersionResource(Resource(L"Velmora", L"Velmora.exe"));
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->fileVersion, "1.2.3");
  EXPECT_TRUE(IsTheClient(*facts));
  EXPECT_FALSE(IsTheClient(*ReadVersionResource(Resource(L"Velmora", L"Update.exe")))) << "the updater itself";
  EXPECT_FALSE(IsTheClient(*ReadVersionResource(Resource(L"Other", L"Velmora.exe"))));
  Bytes renamed = Resource(L"Velmora", L"Velmora.exe");
  renamed[6] = 'W';  // the root's key
  EXPECT_FALSE(ReadVersionResource(renamed));
}

TEST(VersionResource, AnyBytesAreReadWithinThemselves) {
  // Under the sanitizers: truncations and changed bytes never read outside
  // the buffer, and the names are found only where they are whole.
  const Bytes good = Resource(L"Velmora", L"Velmora.exe");
  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    const auto facts = ReadVersionResource(cut);
    EXPECT_FALSE(facts && IsTheClient(*facts)) << n;
  }
  std::mt19937 rng(29);
  for (int round = 0; round < 20000; ++round) {
    Bytes b = good;
    for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
    ReadVersionResource(b);
  }
}

TEST(DownloadDeadline, TheSizeAtSixteenKibibytesASecondAndNeverUnderTwoMinutes) {
  EXPECT_EQ(DownloadDeadlineMs(0), 120000u);
  EXPECT_EQ(DownloadDeadlineMs(64 * 1024), 120000u);
  EXPECT_EQ(DownloadDeadlineMs(120 * 16384), 120000u);
  EXPECT_EQ(DownloadDeadlineMs(120 * 16384 + 1), 120001u) << "rounded up";
  EXPECT_EQ(DownloadDeadlineMs(256ull * 1024 * 1024), 16384000u);
  EXPECT_EQ(DownloadDeadlineMs(~0ull), 0xFFFFFFFFu) << "no wrap";
}

}  // namespace
}  // namespace updater
