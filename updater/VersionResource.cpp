#include "updater/VersionResource.h"

#include <algorithm>

namespace updater {

namespace {
using Bytes = std::span<const std::uint8_t>;

std::uint32_t Word(Bytes b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Dword(Bytes b, std::size_t at) { return Word(b, at) | Word(b, at + 2) << 16; }
std::size_t Align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// Where the zero-ended text at `at` ends (at its zero, or at `end`).
std::size_t TextEnd(Bytes b, std::size_t at, std::size_t end) {
  while (at + 2 <= end && Word(b, at) != 0) at += 2;
  return at;
}

// Whether the zero-ended text at `at`, within `end`, is `text`.
bool TextIs(Bytes b, std::size_t at, std::size_t end, const wchar_t* text) {
  for (;; at += 2, ++text) {
    if (at + 2 > end || Word(b, at) != static_cast<std::uint32_t>(*text)) return false;
    if (!*text) return true;
  }
}

// One block of the resource: a length, the length of its value, its type (1:
// text), its key, then (each on a four-byte boundary) its value and children.
struct Block {
  std::size_t key = 0, value = 0, children = 0, end = 0;
};

// The block at `at`, which must end by `limit`.
bool ReadBlock(Bytes b, std::size_t at, std::size_t limit, Block& block) {
  if (at + 6 > limit) return false;
  const std::size_t length = Word(b, at);
  if (length < 6 || length > limit - at) return false;
  block.end = at + length;
  block.key = at + 6;
  const std::size_t valueBytes = Word(b, at + 4) == 1 ? Word(b, at + 2) * 2 : Word(b, at + 2);
  block.value = std::min(Align4(TextEnd(b, block.key, block.end) + 2), block.end);
  block.children = std::min(Align4(block.value + valueBytes), block.end);
  return true;
}
}  // namespace

std::optional<VersionFacts> ReadVersionResource(Bytes b) {
  Block root, info, table, entry;
  if (!ReadBlock(b, 0, b.size(), root) || !TextIs(b, root.key, root.end, L"VS_VERSION_INFO")) return std::nullopt;
  VersionFacts facts;
  if (root.value + 16 <= root.children && Dword(b, root.value) == 0xFEEF04BD) {
    const std::uint32_t ms = Dword(b, root.value + 8), ls = Dword(b, root.value + 12);
    facts.fileVersion = std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16);
  }
  for (std::size_t i = root.children; ReadBlock(b, i, root.end, info); i = Align4(info.end)) {
    if (!TextIs(b, info.key, info.end, L"StringFileInfo")) continue;
    for (std::size_t t = info.children; ReadBlock(b, t, info.end, table); t = Align4(table.end)) {
      for (std::size_t e = table.children; ReadBlock(b, e, table.end, entry); e = Align4(entry.end)) {
        std::wstring* field = TextIs(b, entry.key, entry.end, L"ProductName")        ? &facts.productName
                              : TextIs(b, entry.key, entry.end, L"OriginalFilename") ? &facts.originalFilename
                                                                                     : nullptr;
        if (!field || !field->empty()) continue;
        for (std::size_t at = entry.value; at < TextEnd(b, entry.value, entry.end); at += 2)
          *field += static_cast<wchar_t>(Word(b, at));
      }
    }
  }
  return facts;
}

bool IsTheClient(const VersionFacts& facts) {
  return facts.productName == L"Velmora" && facts.originalFilename == L"Velmora.exe";
}

}  // namespace updater
