// The main window's pure pieces: its layout on odd sizes, the tray tip's cut
// and what a DDE execute string becomes.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/DdeText.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/NotifyText.h"

namespace mainwindow {
namespace {

TEST(MainLayout, ANarrowWindowSkipsOnlyTheStripAndATinyOneTheRegionOrPageArea) {
  const MainLayout design = LayOutMainWindow(15540, 15540, 9585, 480);
  ASSERT_TRUE(design.strip && design.pageArea && design.regionRight);
  EXPECT_EQ(design.strip->width, 15540 - 6900);
  EXPECT_EQ(*design.regionRight, 1037);
  EXPECT_EQ(*design.regionBottom, 640);
  EXPECT_EQ(design.pageArea->top, 480) << "the page area starts the strip's height below the top";
  EXPECT_EQ(design.pageArea->height, 9585 - 480 - 60);
  EXPECT_EQ(design.closeLeft + 645, 15540 - 85);

  const MainLayout narrow = LayOutMainWindow(6000, 6000, 4500, 480);
  EXPECT_FALSE(narrow.strip);
  EXPECT_EQ(narrow.otherUserLeft, 6000 - 4850) << "the later steps still run";
  ASSERT_TRUE(narrow.pageArea);
  EXPECT_EQ(narrow.pageArea->width, 5880);
  EXPECT_TRUE(LayOutMainWindow(6900, 6900, 4500, 480).strip) << "a strip of width 0 is still placed";

  const MainLayout flat = LayOutMainWindow(3000, 3000, 500, 480);
  EXPECT_FALSE(flat.pageArea);
  // Half a pixel rounds to even; a size past 16 bits gives no region.
  EXPECT_EQ(*LayOutMainWindow(7.5 * 15, 7.5 * 15, 15, 0).regionRight, 8);
  EXPECT_EQ(*LayOutMainWindow(8.5 * 15, 8.5 * 15, 15, 0).regionRight, 10);
  EXPECT_FALSE(LayOutMainWindow(600000, 600000, 4500, 480).regionRight);
}

TEST(NotifyText, TheTipIsCutToItsFieldOnAWholeCharacterAndEndsAtANul) {
  const std::wstring tip = L"Velmora客户端";
  EXPECT_EQ(FitToField(tip, 128), tip);
  const std::wstring longTip(200, L'长');
  EXPECT_EQ(FitToField(longTip, 128).size(), 127u);
  std::wstring pairAtTheEnd(126, L'a');
  pairAtTheEnd += {wchar_t(0xD83D), wchar_t(0xDE00), L'b'};
  EXPECT_EQ(FitToField(pairAtTheEnd, 128), std::wstring(126, L'a')) << "never half a character";
  EXPECT_EQ(FitToField(std::wstring(L"ab\0cd", 5), 64), L"ab");
  EXPECT_EQ(FitToField(L"x", 0), L"");
}

TEST(DdeText, WideAndAnsiExecuteDataAreToldApart) {
  const unsigned char odd[] = "http://a/", even[] = "http://ab/";
  EXPECT_FALSE(LooksLikeUtf16(odd, sizeof odd)) << "a terminator at an odd offset";
  EXPECT_FALSE(LooksLikeUtf16(even, sizeof even));
  const unsigned char wide[] = {'h', 0, 't', 0, 0, 0};
  EXPECT_TRUE(LooksLikeUtf16(wide, sizeof wide));
  const unsigned char chinese[] = {0x2D, 0x4E, 0x87, 0x65, 0, 0};  // "中文"
  EXPECT_TRUE(LooksLikeUtf16(chinese, sizeof chinese));
  const unsigned char gbk[] = {0xD6, 0xD0, 0xCE, 0xC4, 0};
  EXPECT_FALSE(LooksLikeUtf16(gbk, sizeof gbk));
}

TEST(DdeText, TheWholeTrimmedStringIsTheAddressAndNothingElseIsTaken) {
  EXPECT_EQ(ExecuteAddress(L"  http://h/p?q=1 \r\n"), L"http://h/p?q=1");
  EXPECT_EQ(ExecuteAddress(std::wstring(L"http://h/\0junk", 14)), L"http://h/");
  EXPECT_FALSE(ExecuteAddress(L" \r\n"));
  EXPECT_FALSE(ExecuteAddress(L"http://h/\x01"));
  EXPECT_FALSE(ExecuteAddress(L"http://h/" + std::wstring(kMaxAddressLength, L'a')));
}

}  // namespace
}  // namespace mainwindow
