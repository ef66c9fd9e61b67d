#include "forms/CommandLine.h"

namespace forms {

std::wstring ArgumentsText(std::wstring_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  if (i < line.size() && line[i] == L'"') {
    ++i;
    while (i < line.size() && line[i] != L'"') ++i;
    if (i < line.size()) ++i;  // closing quote
  } else {
    while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  }
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  return std::wstring(line.substr(i));
}

}  // namespace forms
