// The prefix draws the program's Chinese texts with real glyphs: the faces the
// program asks for, and the caption and message fonts, all have them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win/Gdi.h"
#include "win/UniqueHandle.h"

namespace {

int MissingGlyphs(const LOGFONTW& font, const std::wstring& text) {
  win::UniqueHdc dc(::CreateCompatibleDC(nullptr));
  win::UniqueHfont hfont(::CreateFontIndirectW(&font));
  win::ScopedSelectObject select(dc.get(), hfont.get());
  std::wstring glyphs(text.size(), L'\0');
  ::GetGlyphIndicesW(dc.get(), text.c_str(), static_cast<int>(text.size()), reinterpret_cast<WORD*>(glyphs.data()),
                     GGI_MARK_NONEXISTING_GLYPHS);
  int missing = 0;
  for (wchar_t g : glyphs) missing += g == 0xFFFF ? 1 : 0;
  return missing;
}

LOGFONTW Face(const wchar_t* name) {
  LOGFONTW font{};
  font.lfHeight = -12;
  font.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(font.lfFaceName, name, LF_FACESIZE - 1);
  return font;
}

const std::wstring kTexts = L"提示未能连接到服务器，请检查网络连接是否正常！Velmora客户端窗口即将关闭";

TEST(PrefixFonts, TheFacesTheProgramAsksForHaveChineseGlyphs) {
  for (const wchar_t* face : {L"宋体", L"SimSun", L"Microsoft YaHei", L"MS Shell Dlg", L"Tahoma"})
    EXPECT_EQ(MissingGlyphs(Face(face), kTexts), 0) << testing::PrintToString(std::wstring(face));
}

TEST(PrefixFonts, CaptionAndMessageFontsHaveChineseGlyphs) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  EXPECT_EQ(MissingGlyphs(metrics.lfCaptionFont, kTexts), 0);
  EXPECT_EQ(MissingGlyphs(metrics.lfMessageFont, kTexts), 0);
}

}  // namespace
