#include "tabstrip/TabKey.h"

#include <gtest/gtest.h>

namespace {

using tabstrip::FoldCase;
using tabstrip::SameTabKey;

TEST(TabKey, AddressKeysMatchInAnyLetterCase) {
  EXPECT_TRUE(SameTabKey(L"Gamehttp://A/x", L"gamehttp://a/X"));
  EXPECT_TRUE(SameTabKey(L"GameHTTP://ÄÖ/x", L"gamehttp://äö/X"));
  EXPECT_TRUE(SameTabKey(L"GAME", L"game"));
  EXPECT_TRUE(SameTabKey(L"", L""));
}

TEST(TabKey, DifferentKeysStayDifferent) {
  EXPECT_FALSE(SameTabKey(L"Gamehttp://a/x", L"Gamehttp://a/y"));
  EXPECT_FALSE(SameTabKey(L"Gamehttp://a/x", L"Gamehttp://a/x/"));
  EXPECT_FALSE(SameTabKey(L"Game", L""));
  EXPECT_FALSE(SameTabKey(L"Ä", L"A"));
  // Simple folding is one code point for one: no "ss" for "ß".
  EXPECT_FALSE(SameTabKey(L"straße", L"strasse"));
  // Letters that only look alike are not the same letter.
  EXPECT_FALSE(SameTabKey(L"A", L"\u0391"));  // Latin A, Greek Alpha
}

TEST(TabKey, LatinOneAndExtendedA) {
  EXPECT_EQ(FoldCase(U'À'), U'à');
  EXPECT_EQ(FoldCase(U'Þ'), U'þ');
  EXPECT_EQ(FoldCase(U'×'), U'×');  // between the two runs of capitals
  EXPECT_EQ(FoldCase(U'µ'), U'μ');  // micro sign folds to Greek mu
  EXPECT_EQ(FoldCase(U'ß'), U'ß');
  EXPECT_EQ(FoldCase(U'ÿ'), U'ÿ');
  EXPECT_EQ(FoldCase(U'Ÿ'), U'ÿ');
  EXPECT_EQ(FoldCase(U'Ā'), U'ā');
  EXPECT_EQ(FoldCase(U'ā'), U'ā');
  EXPECT_EQ(FoldCase(U'Ĺ'), U'ĺ');  // from here the capitals sit on odd code points
  EXPECT_EQ(FoldCase(U'Ň'), U'ň');
  EXPECT_EQ(FoldCase(U'Ŋ'), U'ŋ');  // and from here on even ones again
  EXPECT_EQ(FoldCase(U'Ž'), U'ž');
  EXPECT_EQ(FoldCase(U'ſ'), U's');
  EXPECT_EQ(FoldCase(U'ı'), U'ı');
  EXPECT_EQ(FoldCase(U'İ'), U'İ');  // dotted capital I has no simple folding
}

TEST(TabKey, GreekCyrillicAndOthers) {
  EXPECT_EQ(FoldCase(U'Σ'), U'σ');
  EXPECT_EQ(FoldCase(U'ς'), U'σ');
  EXPECT_TRUE(SameTabKey(L"ΟΔΟΣ", L"οδος"));
  EXPECT_TRUE(SameTabKey(L"ΟΔΟΣ", L"οδοσ"));
  EXPECT_EQ(FoldCase(U'Ά'), U'ά');
  EXPECT_EQ(FoldCase(U'Ώ'), U'ώ');
  EXPECT_EQ(FoldCase(U'Ё'), U'ё');
  EXPECT_EQ(FoldCase(U'Я'), U'я');
  EXPECT_EQ(FoldCase(U'Ѡ'), U'ѡ');
  EXPECT_EQ(FoldCase(U'Ӂ'), U'ӂ');
  EXPECT_EQ(FoldCase(U'Ӏ'), U'ӏ');
  EXPECT_EQ(FoldCase(U'Ա'), U'ա');  // Armenian
  EXPECT_EQ(FoldCase(U'Ａ'), U'ａ');  // full-width Latin
  EXPECT_EQ(FoldCase(U'Ｚ'), U'ｚ');
  EXPECT_EQ(FoldCase(U'ａ'), U'ａ');
  EXPECT_EQ(FoldCase(U'\u212A'), U'k');       // Kelvin sign
  EXPECT_EQ(FoldCase(U'\u2126'), U'ω');       // Ohm sign
  EXPECT_EQ(FoldCase(U'\u1E9E'), U'ß');       // capital sharp s
  EXPECT_EQ(FoldCase(U'\u1F88'), U'\u1F80');  // Greek with prosgegrammeni
  EXPECT_EQ(FoldCase(U'\U00010400'), U'\U00010428');  // Deseret
  EXPECT_EQ(FoldCase(U'客'), U'客');
}

TEST(TabKey, FoldingIsSettledAfterOneStep) {
  // A folded code point folds to itself: a run with a wrong delta or step would
  // land on a capital (or on nothing), and this finds it anywhere in the table.
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    char32_t folded = FoldCase(cp);
    ASSERT_EQ(FoldCase(folded), folded) << std::hex << static_cast<unsigned>(cp);
    ASSERT_LE(folded, 0x10FFFFu) << std::hex << static_cast<unsigned>(cp);
  }
}

TEST(TabKey, EveryAsciiCapitalFoldsToItsSmallLetterAndNothingElseMoves) {
  for (char32_t cp = 0; cp < 0x80; ++cp) {
    char32_t expected = (cp >= U'A' && cp <= U'Z') ? cp + 32 : cp;
    EXPECT_EQ(FoldCase(cp), expected) << static_cast<unsigned>(cp);
  }
}

}  // namespace
