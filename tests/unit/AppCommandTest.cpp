#include "app/AppCommand.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using app::AppCommandKind;
using app::InterpretAppCommand;

TEST(AppCommand, TheThreeCommands) {
  EXPECT_EQ(InterpretAppCommand(L"app://exitgame").kind, AppCommandKind::ExitGame);
  EXPECT_EQ(InterpretAppCommand(L"app://minimize").kind, AppCommandKind::Minimize);
  auto load = InterpretAppCommand(L"app://loadgame|http://s1.game/play?id=7");
  EXPECT_EQ(load.kind, AppCommandKind::LoadGame);
  EXPECT_EQ(load.gameAddress, L"http://s1.game/play?id=7");
}

TEST(AppCommand, FoundAnywhereInTheAddress) {
  EXPECT_EQ(InterpretAppCommand(L"http://login/x.php?next=app://exitgame").kind, AppCommandKind::ExitGame);
  EXPECT_EQ(InterpretAppCommand(L"http://login/app://minimize/").kind, AppCommandKind::Minimize);
}

TEST(AppCommand, ExitIsTestedFirstThenMinimise) {
  EXPECT_EQ(InterpretAppCommand(L"app://minimize?app://exitgame").kind, AppCommandKind::ExitGame);
  EXPECT_EQ(InterpretAppCommand(L"app://loadgame|x|app://minimize").kind, AppCommandKind::Minimize);
}

TEST(AppCommand, CaseMatters) {
  EXPECT_EQ(InterpretAppCommand(L"APP://EXITGAME").kind, AppCommandKind::None);
  EXPECT_EQ(InterpretAppCommand(L"app://LoadGame|http://a/").kind, AppCommandKind::None);
  EXPECT_EQ(InterpretAppCommand(L"http://login/vorn/index.php").kind, AppCommandKind::None);
  EXPECT_EQ(InterpretAppCommand(L"").kind, AppCommandKind::None);
}

TEST(AppCommand, OnlyTheSecondFieldIsTheGameAddress) {
  EXPECT_EQ(InterpretAppCommand(L"app://loadgame|http://g/1|x|y").gameAddress, L"http://g/1");
  EXPECT_EQ(InterpretAppCommand(L"app://loadgame/|http://g/%7C|").gameAddress, L"http://g/%7C");
  // Nothing is decoded: the field is what the browser reported.
  EXPECT_EQ(InterpretAppCommand(L"app://loadgame|http%3A%2F%2Fg").gameAddress, L"http%3A%2F%2Fg");
  EXPECT_EQ(InterpretAppCommand(L"x|app://loadgame|http://g/").gameAddress, L"app://loadgame");
}

TEST(AppCommand, LoadWithoutAGameAddressNamesNone) {
  auto bare = InterpretAppCommand(L"app://loadgame");
  EXPECT_EQ(bare.kind, AppCommandKind::LoadGame);
  EXPECT_TRUE(bare.gameAddress.empty());
  EXPECT_TRUE(InterpretAppCommand(L"app://loadgame|").gameAddress.empty());
  EXPECT_TRUE(InterpretAppCommand(L"app://loadgame||http://g/").gameAddress.empty());
}

TEST(AppCommand, SplitKeepsEmptyFields) {
  EXPECT_EQ(app::SplitFields(L"", L'|'), std::vector<std::wstring>{L""});
  EXPECT_EQ(app::SplitFields(L"a||b|", L'|'), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
}

// Random addresses built from the pieces that matter: the interpreter never
// fails and its answer always agrees with the plain containment rule.
TEST(AppCommand, RandomAddressesAgreeWithTheRule) {
  const std::wstring pieces[] = {L"app://", L"exitgame", L"minimize", L"loadgame", L"|", L"http://", L"APP://",
                                 L"%", L"\u6e38\u620f", L"?", L"/", L"a", L"\0", L"\U0001F3AE"};
  std::mt19937 rng(20261208);
  for (int i = 0; i < 20000; ++i) {
    std::wstring url;
    int n = static_cast<int>(rng() % 12);
    for (int k = 0; k < n; ++k) url += pieces[rng() % std::size(pieces)];
    auto cmd = InterpretAppCommand(url);
    bool exit = url.find(L"app://exitgame") != std::wstring::npos;
    bool mini = url.find(L"app://minimize") != std::wstring::npos;
    bool load = url.find(L"app://loadgame") != std::wstring::npos;
    AppCommandKind expected = exit   ? AppCommandKind::ExitGame
                              : mini ? AppCommandKind::Minimize
                              : load ? AppCommandKind::LoadGame
                                     : AppCommandKind::None;
    ASSERT_EQ(cmd.kind, expected) << i;
    if (cmd.kind == AppCommandKind::LoadGame) {
      ASSERT_EQ(cmd.gameAddress.find(L'|'), std::wstring::npos);
      auto first = url.find(L'|');
      if (first == std::wstring::npos) ASSERT_TRUE(cmd.gameAddress.empty());
      else ASSERT_EQ(url.compare(first + 1, cmd.gameAddress.size(), cmd.gameAddress), 0);
    } else {
      ASSERT_TRUE(cmd.gameAddress.empty());
    }
  }
}

}  // namespace
