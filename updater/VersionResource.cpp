#include "updater/VersionResource.h"

#include <algorithm>

namespace updater {

namespace {
using Bytes = std::span<const std::uint8_t>;

std::uint32_t Word(Bytes b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Dword(Bytes b, std::size_t at) { return Word(b, at) | Word(b, at + 2) << 16; }
std::size_t Align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// One block of the resource: a length, the length of its value, its type (1:
// text), its key, then (each on a four-byte boundary) its value and children.
struct Block {
  std::u16string key;
  std::size_t value = 0, valueEnd = 0, children = 0, end = 0;
};

// The text from `at` up to its terminating zero or `end`.
std::u16string Text(Bytes b, std::size_t at, std::size_t end) {
  std::u16string text;
  for (; at + 2 <= end && Word(b, at) != 0; at += 2) text += static_cast<char16_t>(Word(b, at));
  return text;
}

// The block at `at`, which must end by `limit`.
bool ReadBlock(Bytes b, std::size_t at, std::size_t limit, Block& block) {
  if (at + 6 > limit) return false;
  const std::size_t length = Word(b, at);
  if (length < 6 || length > limit - at) return false;
  block.end = at + length;
  block.key = Text(b, at + 6, block.end);
  const std::size_t valueBytes = Word(b, at + 4) == 1 ? Word(b, at + 2) * 2 : Word(b, at + 2);
  block.value = std::min(Align4(at + 6 + block.key.size() * 2 + 2), block.end);
  block.valueEnd = std::min(block.value + valueBytes, block.end);
  block.children = std::min(Align4(block.valueEnd), block.end);
  return true;
}

template <class Visit>
void ForEachChild(Bytes b, const Block& parent, const Visit& visit) {
  Block child;
  for (std::size_t at = parent.children; ReadBlock(b, at, parent.end, child); at = Align4(child.end)) visit(child);
}
}  // namespace

std::optional<VersionFacts> ReadVersionResource(Bytes b) {
  Block root;
  if (!ReadBlock(b, 0, b.size(), root) || root.key != u"VS_VERSION_INFO") return std::nullopt;
  VersionFacts facts;
  if (root.valueEnd - root.value >= 16 && Dword(b, root.value) == 0xFEEF04BD) {
    const std::uint32_t ms = Dword(b, root.value + 8), ls = Dword(b, root.value + 12);
    facts.fileVersion = std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16);
  }
  ForEachChild(b, root, [&](const Block& info) {
    if (info.key != u"StringFileInfo") return;
    ForEachChild(b, info, [&](const Block& table) {
      ForEachChild(b, table, [&](const Block& entry) {
        std::u16string* field = entry.key == u"ProductName"        ? &facts.productName
                                : entry.key == u"OriginalFilename" ? &facts.originalFilename
                                                                   : nullptr;
        if (field && field->empty()) *field = Text(b, entry.value, entry.end);
      });
    });
  });
  return facts;
}

bool IsTheClient(const VersionFacts& facts) {
  return facts.productName == u"Velmora" && facts.originalFilename == u"Velmora.exe";
}

}  // namespace updater
