#include "tabstrip/TabList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using tabstrip::kNoTab;
using tabstrip::TabErrc;
using tabstrip::TabError;
using tabstrip::TabIndex;

// Pages and items are found by identity only; these stand-ins give distinct
// addresses and are never read through.
struct Token {
  char byte = 0;
};
Token tokens[4];
const tabstrip::ITabForm* PageToken(int i) { return reinterpret_cast<const tabstrip::ITabForm*>(&tokens[i]); }
const tabstrip::CTabItem* ItemToken(int i) { return reinterpret_cast<const tabstrip::CTabItem*>(&tokens[i]); }

// An entry: a name for the test to read, and the page and item it stands for.
struct Entry {
  std::string name;
  const tabstrip::ITabForm* page;
  const tabstrip::CTabItem* item;
};

class TabListTest : public testing::Test {
 protected:
  using List = tabstrip::TabList<Entry>;

  static std::int32_t Find(const List& list, const TabIndex& index) {
    return list.Find(
        index, [](const Entry& e) { return e.page; }, [](const Entry& e) { return e.item; });
  }

  static TabErrc ErrorOf(auto&& call) {
    try {
      call();
    } catch (const TabError& e) {
      return e.code();
    }
    ADD_FAILURE() << "no TabError";
    return TabErrc::InvalidArgument;
  }

  static std::string Names(const List& list) {
    std::string names;
    for (std::int32_t i = 0; i < list.Count(); ++i) names += list.At(i).name;
    return names;
  }

  // Three entries a, b, c under keys "GameA", "GameB", "GameC".
  void FillThree() {
    list.Insert(0, Entry{"a", PageToken(0), ItemToken(0)}, L"GameA");
    list.Insert(1, Entry{"b", PageToken(1), ItemToken(1)}, L"GameB");
    list.Insert(2, Entry{"c", PageToken(2), ItemToken(2)}, L"GameC");
  }

  List list;
};

TEST_F(TabListTest, AnEmptyListFindsNothingWhateverTheIndex) {
  EXPECT_EQ(Find(list, 0), kNoTab);
  EXPECT_EQ(Find(list, -1), kNoTab);
  EXPECT_EQ(Find(list, L"GameA"), kNoTab);
  EXPECT_EQ(Find(list, PageToken(0)), kNoTab);
  EXPECT_EQ(Find(list, ItemToken(0)), kNoTab);
}

TEST_F(TabListTest, PositionsOfAListOfThree) {
  FillThree();
  EXPECT_EQ(Find(list, 2), 2);
  EXPECT_EQ(Find(list, 0), 0);
  EXPECT_EQ(Find(list, 3), kNoTab);
  EXPECT_EQ(Find(list, -1), kNoTab);
  EXPECT_EQ(Find(list, std::int64_t{1} << 32), kNoTab);  // would be 0 if cut to 32 bits
  EXPECT_EQ(Find(list, std::numeric_limits<std::uint64_t>::max()), kNoTab);
}

TEST_F(TabListTest, KeysAreFoundInAnyLetterCaseAndMissingOnesFindNothing) {
  FillThree();
  EXPECT_EQ(Find(list, L"gameb"), 1);
  EXPECT_EQ(Find(list, std::wstring(L"GAMEC")), 2);
  EXPECT_EQ(Find(list, L"GameD"), kNoTab);
  EXPECT_EQ(Find(list, L""), kNoTab);
  // A key that reads as a number is still a key.
  EXPECT_EQ(Find(list, L"1"), kNoTab);
}

TEST_F(TabListTest, PagesAndItemsAreFoundByIdentityFirstMatchFirst) {
  FillThree();
  list.Insert(3, Entry{"d", PageToken(1), ItemToken(3)}, std::nullopt);  // shows b's page too
  EXPECT_EQ(Find(list, PageToken(1)), 1);
  EXPECT_EQ(Find(list, PageToken(3)), kNoTab);
  EXPECT_EQ(Find(list, ItemToken(3)), 3);
  EXPECT_EQ(Find(list, static_cast<const tabstrip::ITabForm*>(nullptr)), kNoTab);
  EXPECT_EQ(Find(list, static_cast<const tabstrip::CTabItem*>(nullptr)), kNoTab);
}

TEST_F(TabListTest, PlaceForRefusesWithTheErrorOfTheFault) {
  FillThree();
  EXPECT_EQ(ErrorOf([&] { list.PlaceFor(L"GameD", TabIndex(4)); }), TabErrc::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { list.PlaceFor(L"GameD", TabIndex(-1)); }), TabErrc::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { list.PlaceFor(L"GameD", TabIndex(std::int64_t{1} << 32)); }), TabErrc::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { list.PlaceFor(L"GameD", TabIndex(L"2")); }), TabErrc::InvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.PlaceFor(L"GameD", TabIndex(PageToken(0))); }), TabErrc::InvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.PlaceFor(L"GameD", TabIndex(ItemToken(0))); }), TabErrc::InvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.PlaceFor(L"gamea", std::nullopt); }), TabErrc::DuplicateKey);
  // Insert checks for itself too.
  EXPECT_EQ(ErrorOf([&] { list.Insert(4, Entry{"x", nullptr, nullptr}, std::nullopt); }), TabErrc::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { list.Insert(0, Entry{"x", nullptr, nullptr}, L"GAMEB"); }), TabErrc::DuplicateKey);
  EXPECT_EQ(Names(list), "abc");
}

TEST_F(TabListTest, InsertingAtZeroMovesEveryOtherEntryUpByOne) {
  FillThree();
  list.Insert(list.PlaceFor(L"GameZ", TabIndex(0)), Entry{"z", PageToken(3), ItemToken(3)}, L"GameZ");
  EXPECT_EQ(Names(list), "zabc");
  EXPECT_EQ(Find(list, L"GameZ"), 0);
  EXPECT_EQ(Find(list, L"GameA"), 1);
  EXPECT_EQ(Find(list, L"GameC"), 3);
  list.Insert(2, Entry{"m", nullptr, nullptr}, std::nullopt);
  EXPECT_EQ(Names(list), "zambc");
}

TEST_F(TabListTest, ErasingFreesTheKeyAndShiftsTheRest) {
  FillThree();
  Entry taken = list.Erase(1);
  EXPECT_EQ(taken.name, "b");
  EXPECT_EQ(Names(list), "ac");
  EXPECT_EQ(Find(list, L"GameB"), kNoTab);
  EXPECT_EQ(Find(list, L"GameC"), 1);
  EXPECT_EQ(list.PlaceFor(L"gameB", std::nullopt), 2);
  EXPECT_EQ(ErrorOf([&] { list.Erase(2); }), TabErrc::OutOfRange);
}

TEST_F(TabListTest, ItemPositionFollowsTheRulesOfItem) {
  FillThree();
  EXPECT_EQ(list.ItemPosition(L"GAMEA"), 0);
  EXPECT_EQ(list.ItemPosition(2), 2);
  EXPECT_EQ(list.ItemPosition(-1), kNoTab);
  EXPECT_EQ(list.ItemPosition(3), kNoTab);
  EXPECT_EQ(ErrorOf([&] { list.ItemPosition(L"GameD"); }), TabErrc::KeyNotFound);
  EXPECT_EQ(ErrorOf([&] { list.ItemPosition(PageToken(0)); }), TabErrc::InvalidArgument);
  EXPECT_EQ(ErrorOf([&] { list.ItemPosition(ItemToken(0)); }), TabErrc::InvalidArgument);
}

}  // namespace
