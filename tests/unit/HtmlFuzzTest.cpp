// Random and malformed input through every pure part of the plain page engine.
// Run under the address and undefined-behaviour sanitizers: any overrun,
// overflow or hang is a failure; the checks below are the invariants that
// must hold whatever the input.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/HtmlScan.h"
#include "tests/support/PageCharset.h"
#include "tests/support/PageDocument.h"
#include "tests/support/PageLayout.h"
#include "tests/support/PageScript.h"
#include "tests/support/PageUrl.h"

namespace {

// Pieces that make the scanner's and parser's special cases likely.
const wchar_t* const kPieces[] = {
    L"<", L">", L"</", L"/>", L"<!--", L"-->", L"<!", L"<?", L"=", L"\"", L"'", L"&", L"&#", L"&#x", L";", L" ",
    L"\n", L"\t", L"a", L"href", L"src", L"<a", L"<A HREF=", L"</a>", L"<script>", L"</script>", L"<title>",
    L"</title>", L"<iframe src=", L"<meta http-equiv=refresh content=", L"0;url=", L"<html>", L"</html>",
    L"<body onload=", L"<pre>", L"</pre>", L"<br>", L"<p>", L"<li>", L"<b>", L"</b>", L"<h1>", L"<td>",
    L"window.open(", L"location.href=", L"this.href", L")", L"(", L"\\", L"`", L"${", L"中文", L"&amp;",
    L"&nbsp;", L"&#x1F600;", L"javascript:", L"onclick=", L"<img alt=", L"<input type=button value=", L"//",
    L"/*", L"*/", L"..", L"#", L"?", L"%", L"%4", L"%41", L"http://h/", L"\uFFFF", L"\u00A0",
};

std::wstring RandomText(std::mt19937& rng, std::size_t pieces) {
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> raw(0, 9);
  std::uniform_int_distribution<int> anyChar(1, 0x2FFF);
  std::wstring out;
  for (std::size_t i = 0; i < pieces; ++i) {
    if (raw(rng) == 0) {
      out.push_back(static_cast<wchar_t>(anyChar(rng)));
    } else {
      out += kPieces[pick(rng)];
    }
  }
  return out;
}

std::string RandomBytes(std::mt19937& rng, std::size_t n) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out.push_back(static_cast<char>(byte(rng)));
  return out;
}

browser::layout::Metrics Metrics() {
  browser::layout::Metrics m;
  m.width = [](std::wstring_view t, const browser::layout::Style&) { return static_cast<int>(t.size()) * 7; };
  m.lineHeight = [](const browser::layout::Style&) { return 16; };
  return m;
}

TEST(HtmlFuzz, ScannerTokensStayInsideTheSourceAndInOrder) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 3000; ++round) {
    std::wstring src = RandomText(rng, 1 + round % 60);
    browser::html::Scanner scanner(src);
    browser::html::Token tok;
    std::size_t last = 0;
    std::size_t count = 0;
    while (scanner.Next(tok)) {
      ASSERT_GE(tok.begin, last) << "round " << round;
      ASSERT_GT(tok.end, tok.begin) << "round " << round;
      ASSERT_LE(tok.end, src.size()) << "round " << round;
      if (tok.kind == browser::html::TokenKind::Text) {
        ASSERT_EQ(tok.text, src.substr(tok.begin, tok.end - tok.begin));
      }
      last = tok.end;
      ASSERT_LE(++count, src.size()) << "more tokens than characters";
    }
  }
}

TEST(HtmlFuzz, PageModelHoldsItsInvariants) {
  std::mt19937 rng(77);
  for (int round = 0; round < 2000; ++round) {
    std::wstring src = RandomText(rng, 1 + round % 80);
    browser::PageDocument d = browser::ParseHtml(src, L"http://127.0.0.1:1/a/b.html");
    ASSERT_EQ(d.frames.size(), d.frameNames.size());
    ASSERT_LE(d.rootInnerHtml.size(), src.size());
    for (const auto& block : d.blocks) {
      for (const auto& run : block.runs) {
        ASSERT_FALSE(run.text.empty());
        ASSERT_LT(run.link, static_cast<int>(d.links.size()));
      }
    }
    auto page = browser::layout::Arrange(d, 1 + round % 300, Metrics());
    for (const auto& f : page.fragments) {
      ASSERT_FALSE(f.text.empty());
      ASSERT_GE(f.y, 0);
      ASSERT_LE(f.y + f.height, page.height);
    }
  }
}

TEST(HtmlFuzz, EntitiesUrlsRefreshAndScriptsTakeAnything) {
  std::mt19937 rng(5);
  for (int round = 0; round < 3000; ++round) {
    std::wstring text = RandomText(rng, 1 + round % 30);
    std::wstring decoded = browser::html::DecodeEntities(text, round % 2 == 0);
    // A reference is never longer than what it stands for, except a
    // 1-character reference such as "&#1" turning into a surrogate pair.
    ASSERT_LE(decoded.size(), text.size() * 2);
    std::wstring resolved = browser::url::Resolve(L"http://h/a/b?c#d", text);
    ASSERT_EQ(resolved.find(L'\n'), std::wstring::npos);
    (void)browser::ParseRefresh(text);
    (void)browser::script::FindActions(text, round % 3 == 0 ? L"http://h/x" : L"");
    (void)browser::StyleProperty(text, L"overflow");
  }
}

TEST(HtmlFuzz, CharsetsTakeAnyBytes) {
  std::mt19937 rng(99);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = RandomBytes(rng, static_cast<std::size_t>(round % 64));
    if (round % 5 == 0) bytes = "<meta charset=" + bytes;
    auto choice = browser::charset::Choose(round % 2 ? "text/html; charset=" + bytes : "", bytes);
    ASSERT_LE(choice.skip, bytes.size());
    std::wstring a = browser::charset::DecodeUtf8(bytes);
    ASSERT_LE(a.size(), bytes.size());
    if (browser::charset::IsValidUtf8(bytes)) {
      ASSERT_EQ(a.find(L'\uFFFD'), std::wstring::npos);
    }
    ASSERT_LE(browser::charset::DecodeUtf16(bytes, round % 2 == 0).size(), bytes.size() / 2 + 1);
    ASSERT_EQ(browser::charset::DecodeWindows1252(bytes).size(), bytes.size());
  }
}

}  // namespace
