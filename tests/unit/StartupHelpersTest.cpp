#include <gtest/gtest.h>

#include <optional>

#include "common/TaskbarMath.h"
#include "common/TempPath.h"
#include "forms/CommandLine.h"

namespace {

TEST(TempPath, KeepsOneTrailingBackslash) {
  EXPECT_EQ(common::NormaliseTempPath(L"C:\\Users\\p\\Temp\\"), L"C:\\Users\\p\\Temp\\");
  EXPECT_EQ(common::NormaliseTempPath(L"C:\\Users\\p\\Temp"), L"C:\\Users\\p\\Temp\\");
  EXPECT_EQ(common::NormaliseTempPath(L"C:\\用户\\玩家\\Temp"), L"C:\\用户\\玩家\\Temp\\");
}

TEST(TempPath, CutsAtTheFirstNul) {
  std::wstring raw(L"C:\\Temp\\\0garbage", 16);
  EXPECT_EQ(common::NormaliseTempPath(raw), L"C:\\Temp\\");
  std::wstring noSlash(L"C:\\Temp\0\\", 9);
  EXPECT_EQ(common::NormaliseTempPath(noSlash), L"C:\\Temp\\");
}

TEST(TempPath, EmptyAnswerBecomesOneBackslash) { EXPECT_EQ(common::NormaliseTempPath(L""), L"\\"); }

TEST(TaskbarHeight, BottomTaskbarGivesItsHeightInTwips) {
  // 900-pixel screen, work area ends at 860: a 40-pixel taskbar.
  EXPECT_EQ(common::TaskbarHeightTwips(900 * 15, 15, 860), 600);
  EXPECT_EQ(common::TaskbarHeightTwips(1080 * 15, 15, 1040), 600);
}

TEST(TaskbarHeight, TaskbarElsewhereOrHiddenGivesZero) {
  EXPECT_EQ(common::TaskbarHeightTwips(900 * 15, 15, 900), 0);
  EXPECT_EQ(common::TaskbarHeightTwips(768 * 12, 12, 768), 0);
}

TEST(TaskbarHeight, FractionsRoundHalfToEven) {
  // With one twip to a "pixel" the arithmetic leaves the fraction in place.
  EXPECT_EQ(common::TaskbarHeightTwips(10.5, 1, 0), 10);
  EXPECT_EQ(common::TaskbarHeightTwips(11.5, 1, 0), 12);
  EXPECT_EQ(common::TaskbarHeightTwips(11.4, 1, 0), 11);
}

TEST(TaskbarHeight, TooTallForSixteenBitsRaisesOverflow) {
  EXPECT_THROW(common::TaskbarHeightTwips(5000 * 15, 15, 0), forms::OverflowError);
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
  EXPECT_EQ(forms::ArgumentsText(L"Velmora.exe /web"), L"/web");
  EXPECT_EQ(forms::ArgumentsText(L"\"C:\\Program Files\\Velmora\\Velmora.exe\" /web"), L"/web");
  EXPECT_EQ(forms::ArgumentsText(L"\"C:\\a b\\Velmora.exe\"   /WEB x"), L"/WEB x");
  EXPECT_EQ(forms::ArgumentsText(L"Velmora.exe"), L"");
  EXPECT_EQ(forms::ArgumentsText(L"  Velmora.exe\t/web "), L"/web ");
  EXPECT_EQ(forms::ArgumentsText(L"\"unterminated"), L"");
}

}  // namespace

namespace {
std::optional<std::wstring> FromSystem(std::wstring_view answer, std::size_t capacity = 261) {
  std::wstring buffer(answer);
  buffer.resize(capacity, L'\0');
  return common::UsableTempFolder(buffer, answer.size());
}
}  // namespace

TEST(TempPath, OnlyAnAbsoluteFolderThatFitsIsUsed) {
  EXPECT_EQ(FromSystem(L"C:\\Users\\p\\Temp\\"), L"C:\\Users\\p\\Temp\\");
  EXPECT_EQ(FromSystem(L"\\\\server\\home\\temp"), L"\\\\server\\home\\temp\\");
  EXPECT_FALSE(FromSystem(L"")) << "a failed call: not the drive's root";
  EXPECT_FALSE(FromSystem(L"\\"));
  EXPECT_FALSE(FromSystem(L"Temp\\")) << "relative to whatever the current folder is";
  EXPECT_FALSE(FromSystem(L"C:Temp\\"));
  // Too long for the buffer: the system answers with the length it needs.
  const std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L"\\";
  std::wstring buffer(261, L'\0');
  EXPECT_FALSE(common::UsableTempFolder(buffer, longPath.size() + 1));
  EXPECT_FALSE(FromSystem(L"C:\\Temp\\", 8)) << "an answer that fills the buffer has no room for its end";
}
