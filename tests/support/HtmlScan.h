// A tolerant HTML tokenizer for the plain page engine: text, start and end
// tags with their attributes, comments and declarations, in source order. It
// never fails: whatever the input, it yields tokens that cover it, the way a
// browser reads broken markup (unclosed quotes, stray '<', missing end tags).
// Pure: no platform types, so it is tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace browser::html {

struct Attribute {
  std::wstring name;   // lower-case
  std::wstring value;  // character references decoded
};

enum class TokenKind { Text, StartTag, EndTag, Comment, Declaration };

struct Token {
  TokenKind kind = TokenKind::Text;
  // Tags: the lower-case element name.
  std::wstring name;
  std::vector<Attribute> attributes;
  bool selfClosing = false;
  // Text: the source text as written (character references not decoded);
  // comments and declarations: what lies between their delimiters.
  std::wstring text;
  // Where the token lies in the source: [begin, end).
  std::size_t begin = 0;
  std::size_t end = 0;
  // True for the text inside an element whose content is not markup
  // (script, style, title, textarea and the like); `name` is then that element.
  bool rawText = false;

  // The value of the named attribute (lower-case name), or null.
  const std::wstring* Attr(std::wstring_view lowerName) const;
};

class Scanner {
 public:
  explicit Scanner(std::wstring_view source) : source_(source) {}
  // The next token; false once the whole source has been read.
  bool Next(Token& token);

 private:
  bool ReadTag(Token& token, std::size_t at);
  void ReadRawText(Token& token);

  std::wstring_view source_;
  std::size_t pos_ = 0;
  // Set after a start tag whose content is raw text: the element's name.
  std::wstring rawElement_;
};

// Replaces character references (&amp; &#233; &#x4E2D; &nbsp; ...) by their
// characters. Unknown or malformed references stay as written. In attribute
// values a reference without its ';' followed by a letter, digit or '=' stays
// as written, as browsers do.
std::wstring DecodeEntities(std::wstring_view text, bool inAttribute = false);

// Appends one Unicode code point to a wide string (a surrogate pair where
// wchar_t is 16 bits). Invalid code points become U+FFFD.
void AppendCodePoint(std::wstring& out, char32_t codePoint);

// The character a byte 0x80-0x9F stands for in windows-1252 (other bytes: themselves).
char32_t Windows1252ToUnicode(unsigned char byte);

std::wstring ToLowerAscii(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool IsHtmlSpace(wchar_t c);
std::wstring_view TrimSpaces(std::wstring_view text);

}  // namespace browser::html
