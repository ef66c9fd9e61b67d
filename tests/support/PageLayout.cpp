#include "tests/support/PageLayout.h"

#include <algorithm>

namespace browser::layout {

namespace {

struct Piece {
  std::wstring_view text;
  Style style;
  int link;
};

// Cuts a run into the pieces a line may break between: a word with the
// spaces that follow it, or one ideographic character with its spaces.
void CutRun(std::wstring_view text, const Style& style, int link, std::vector<Piece>& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i;
    if (BreaksAnywhere(text[j])) {
      ++j;
    } else {
      while (j < text.size() && text[j] != L' ' && !BreaksAnywhere(text[j])) ++j;
    }
    while (j < text.size() && text[j] == L' ') ++j;
    if (j == i) ++j;
    out.push_back({text.substr(i, j - i), style, link});
    i = j;
  }
}

class Placer {
 public:
  Placer(int width, const Metrics& m) : m_(m), left_(m.margin), right_(std::max(width - m.margin, m.margin + 1)) {
    y_ = m.margin;
  }

  void Block(const std::vector<Piece>& pieces) {
    StartLine();
    for (const Piece& p : pieces) Place(p);
    EndLine();
    y_ += m_.blockSpacing;
  }

  void EmptyBlock(const Style& style) {
    y_ += m_.lineHeight(style) + m_.blockSpacing;
  }

  Page Finish() {
    page_.height = y_ - m_.blockSpacing + m_.margin;
    if (page_.height < 2 * m_.margin) page_.height = 2 * m_.margin;
    return std::move(page_);
  }

 private:
  void StartLine() {
    x_ = left_;
    lineStart_ = page_.fragments.size();
    lineHeight_ = 0;
  }

  void EndLine() {
    if (page_.fragments.size() == lineStart_) return;
    for (std::size_t i = lineStart_; i < page_.fragments.size(); ++i) {
      page_.fragments[i].y = y_;
      page_.fragments[i].height = lineHeight_;
    }
    y_ += lineHeight_;
    StartLine();
  }

  void Place(const Piece& p) {
    std::wstring_view text = p.text;
    int w = m_.width(text, p.style);
    if (x_ + w > right_ && x_ > left_) {
      // The spaces at the end of a piece may hang past the edge.
      std::wstring_view trimmed = text;
      while (!trimmed.empty() && trimmed.back() == L' ') trimmed.remove_suffix(1);
      if (trimmed.size() == text.size() || x_ + m_.width(trimmed, p.style) > right_) EndLine();
    }
    if (x_ == left_ && w > right_ - left_) {
      // Wider than a whole line: as many characters a line as fit (at least one).
      const int avail = right_ - left_;
      while (!text.empty()) {
        std::size_t fit = 1;
        while (fit < text.size() && m_.width(text.substr(0, fit + 1), p.style) <= avail) ++fit;
        if (fit < text.size() && text[fit - 1] >= 0xD800 && text[fit - 1] <= 0xDBFF) ++fit;  // a surrogate pair stays whole
        if (fit >= text.size()) break;
        Add(text.substr(0, fit), p);
        EndLine();
        text.remove_prefix(fit);
      }
    }
    if (!text.empty()) Add(text, p);
  }

  void Add(std::wstring_view text, const Piece& p) {
    int w = m_.width(text, p.style);
    lineHeight_ = std::max(lineHeight_, m_.lineHeight(p.style));
    if (page_.fragments.size() > lineStart_) {
      Fragment& last = page_.fragments.back();
      if (last.style == p.style && last.link == p.link && last.x + last.width == x_) {
        last.text.append(text);
        last.width += w;
        x_ += w;
        return;
      }
    }
    Fragment f;
    f.x = x_;
    f.width = w;
    f.text.assign(text);
    f.style = p.style;
    f.link = p.link;
    page_.fragments.push_back(std::move(f));
    x_ += w;
  }

  const Metrics& m_;
  Page page_;
  int left_;
  int right_;
  int x_ = 0;
  int y_ = 0;
  int lineHeight_ = 0;
  std::size_t lineStart_ = 0;
};

}  // namespace

bool BreaksAnywhere(wchar_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) ||  // CJK radicals, punctuation, kana, ideographs
         (c >= 0xAC00 && c <= 0xD7AF) ||  // Hangul
         (c >= 0xF900 && c <= 0xFAFF) ||  // compatibility ideographs
         (c >= 0xFF00 && c <= 0xFFEF);    // full-width forms
}

Page Arrange(const PageDocument& document, int width, const Metrics& metrics) {
  Placer placer(width, metrics);
  std::vector<Piece> pieces;
  if (document.hasTitle && !document.title.empty()) {
    CutRun(document.title, Style{Size::Title, true, false}, -1, pieces);
    placer.Block(pieces);
  }
  for (const TextBlock& block : document.blocks) {
    pieces.clear();
    Size size = block.heading ? Size::Heading : Size::Body;
    for (const TextRun& run : block.runs) {
      CutRun(run.text, Style{size, run.bold || block.heading, run.link >= 0}, run.link, pieces);
    }
    if (pieces.empty()) placer.EmptyBlock(Style{size, false, false});
    else placer.Block(pieces);
  }
  return placer.Finish();
}

int LinkAt(const Page& page, int x, int y) {
  for (const Fragment& f : page.fragments) {
    if (f.link >= 0 && x >= f.x && x < f.x + f.width && y >= f.y && y < f.y + f.height) return f.link;
  }
  return -1;
}

}  // namespace browser::layout
