// What a caller names a tab by: its key, its zero-based position, its page or
// the item itself. Each operation of the model says which of these it accepts;
// the lookup of CTabItems::FindItem accepts all four and answers kNoTab for
// anything that names no tab.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace tabstrip {

class ITabForm;
class CTabItem;

// The position that stands for no tab.
inline constexpr std::int32_t kNoTab = -1;

class TabIndex {
 public:
  enum class Kind { Key, Position, Page, Item };

  TabIndex(std::wstring key) : value_(std::move(key)) {}
  TabIndex(std::wstring_view key) : value_(std::wstring(key)) {}
  TabIndex(const wchar_t* key) : value_(std::wstring(key ? key : L"")) {}

  // Any integer is a position; one outside the 32-bit range names no tab.
  // Truth values and characters are not positions.
  template <std::integral Int>
    requires(!std::same_as<Int, bool> && !std::same_as<Int, char> && !std::same_as<Int, wchar_t> &&
             !std::same_as<Int, char8_t> && !std::same_as<Int, char16_t> && !std::same_as<Int, char32_t>)
  TabIndex(Int position) : value_(Widen(position)) {}

  // A page or an item is compared by identity; a null one names no tab.
  TabIndex(const ITabForm* page) : value_(page) {}
  TabIndex(const CTabItem* item) : value_(item) {}
  template <typename Page>
    requires std::derived_from<Page, ITabForm>
  TabIndex(const std::shared_ptr<Page>& page) : value_(static_cast<const ITabForm*>(page.get())) {}

  Kind kind() const noexcept { return static_cast<Kind>(value_.index()); }
  // Each of these is valid only for its own kind.
  const std::wstring& key() const { return std::get<std::wstring>(value_); }
  std::int64_t position() const { return std::get<std::int64_t>(value_); }
  const ITabForm* page() const { return std::get<const ITabForm*>(value_); }
  const CTabItem* item() const { return std::get<const CTabItem*>(value_); }

 private:
  template <typename Int>
  static std::int64_t Widen(Int value) {
    if constexpr (std::is_unsigned_v<Int> && sizeof(Int) >= sizeof(std::int64_t)) {
      constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
      return value > kMax ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(value);
    } else {
      return static_cast<std::int64_t>(value);
    }
  }

  // In the order of Kind.
  std::variant<std::wstring, std::int64_t, const ITabForm*, const CTabItem*> value_;
};

}  // namespace tabstrip
