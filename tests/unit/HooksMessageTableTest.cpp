// The hook service's message tables, the order of one routed message, and the
// life of a hook across re-entered messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hooks/HookState.h"
#include "hooks/MessageTable.h"

using hooks::AddResult;
using hooks::ALL_MESSAGES;
using hooks::HookState;
using hooks::MessageTable;

namespace {

std::vector<std::uint32_t> Slots(const MessageTable& table) {
  auto s = table.slots();
  return {s.begin(), s.end()};
}

MessageTable FullTable() {
  MessageTable table;
  for (std::uint32_t msg = 0x400; msg < 0x400 + hooks::MSG_ENTRIES; ++msg) EXPECT_EQ(table.Add(msg), AddResult::Added);
  return table;
}

}  // namespace


TEST(MessageTable, RoutesExactlyTheMessagesAdded) {
  MessageTable table;
  table.Add(0x0201);
  table.Add(0x0005);
  EXPECT_EQ(table.count(), 2);
  EXPECT_TRUE(table.Routes(0x0201));
  EXPECT_TRUE(table.Routes(0x0005));
  EXPECT_FALSE(table.Routes(0x0202));
  EXPECT_FALSE(table.Routes(0));
}

TEST(MessageTable, AThirtyThirdMessageOverflowsAndLeavesTheThirtyTwo) {
  MessageTable table = FullTable();
  const auto before = Slots(table);
  EXPECT_EQ(table.Add(0x0999), AddResult::Overflow);
  EXPECT_EQ(table.count(), 32);
  EXPECT_EQ(Slots(table), before);
  EXPECT_FALSE(table.Routes(0x0999));
  EXPECT_TRUE(table.Routes(0x0400));
  EXPECT_TRUE(table.Routes(0x041F));
}

TEST(MessageTable, AllMessagesIsAcceptedEvenWhenFull) {
  MessageTable table = FullTable();
  EXPECT_EQ(table.Add(ALL_MESSAGES), AddResult::AllMessages);
  EXPECT_EQ(table.count(), -1);
  EXPECT_TRUE(table.Routes(0x0999));
  EXPECT_TRUE(table.Routes(0x0001));
}

TEST(MessageTable, AMessageAlreadyPresentChangesNothing) {
  MessageTable table;
  table.Add(0x10);
  table.Add(0x20);
  EXPECT_EQ(table.Add(0x10), AddResult::AlreadyPresent);
  EXPECT_EQ(Slots(table), (std::vector<std::uint32_t>{0x10, 0x20}));
}

TEST(MessageTable, ADuplicateIsRecognisedEvenWithAFreeSlotBeforeIt) {
  MessageTable table;
  table.Add(0x10);
  table.Add(0x20);
  table.Delete(0x10);
  EXPECT_EQ(table.Add(0x20), AddResult::AlreadyPresent);
  EXPECT_EQ(Slots(table), (std::vector<std::uint32_t>{0, 0x20}));
  // Deleted once, it is gone.
  table.Delete(0x20);
  EXPECT_FALSE(table.Routes(0x20));
}

TEST(MessageTable, DeletingFreesTheSlotWithoutLoweringTheCountAndTheNextAddReusesIt) {
  MessageTable table;
  table.Add(0x10);
  table.Add(0x20);
  table.Add(0x30);
  table.Delete(0x20);
  EXPECT_EQ(table.count(), 3);
  EXPECT_FALSE(table.Routes(0x20));
  EXPECT_EQ(Slots(table), (std::vector<std::uint32_t>{0x10, 0, 0x30}));
  table.Add(0x40);
  EXPECT_EQ(Slots(table), (std::vector<std::uint32_t>{0x10, 0x40, 0x30}));
}

TEST(MessageTable, AFreedSlotInAFullTableTakesANewMessage) {
  MessageTable table = FullTable();
  table.Delete(0x0410);
  EXPECT_EQ(table.Add(0x0999), AddResult::Added);
  EXPECT_EQ(table.count(), 32);
  EXPECT_EQ(table.slots()[0x10], 0x0999u);
  EXPECT_EQ(table.Add(0x0998), AddResult::Overflow);
}

TEST(MessageTable, ASpecificMessageReplacesTheAllMessagesState) {
  MessageTable table;
  table.Add(0x10);
  table.Add(ALL_MESSAGES);
  EXPECT_TRUE(table.Routes(0x77));
  table.Add(0x20);
  EXPECT_EQ(table.count(), 1);
  EXPECT_TRUE(table.Routes(0x20));
  EXPECT_FALSE(table.Routes(0x10));
  EXPECT_FALSE(table.Routes(0x77));
}

TEST(MessageTable, DeletingAllMessagesEmptiesTheTable) {
  MessageTable table;
  table.Add(0x10);
  table.Add(0x20);
  table.Delete(ALL_MESSAGES);
  EXPECT_EQ(table.count(), 0);
  EXPECT_FALSE(table.Routes(0x10));
  table.Add(ALL_MESSAGES);
  table.Delete(ALL_MESSAGES);
  EXPECT_EQ(table.count(), 0);
  EXPECT_FALSE(table.Routes(0x10));
}

TEST(MessageTable, DeletingASpecificMessageLeavesTheAllMessagesStateAlone) {
  MessageTable table;
  table.Add(ALL_MESSAGES);
  table.Delete(0x10);
  EXPECT_EQ(table.count(), -1);
  EXPECT_TRUE(table.Routes(0x10));
}

TEST(MessageTable, MessageZeroIsNeverAnEntry) {
  MessageTable table;
  table.Add(0x10);
  table.Delete(0x10);
  EXPECT_EQ(table.Add(0), AddResult::Ignored);
  EXPECT_FALSE(table.Routes(0));  // a free slot does not route WM_NULL
  table.Delete(0);
  EXPECT_EQ(Slots(table), (std::vector<std::uint32_t>{0}));
}

TEST(MessageTable, AnUnlimitedTableGrowsPastThirtyTwo) {
  MessageTable table(MessageTable::kUnlimited);
  for (std::uint32_t msg = 1; msg <= 100; ++msg) ASSERT_EQ(table.Add(msg), AddResult::Added);
  EXPECT_EQ(table.count(), 100);
  EXPECT_TRUE(table.Routes(100));
  table.Delete(50);
  table.Add(500);
  EXPECT_EQ(table.count(), 100);  // the freed slot was taken
  EXPECT_EQ(table.slots()[49], 500u);
}


// --- One routed message -----------------------------------------------------

namespace {

struct Trace {
  std::string steps;
  long previousAnswer = 5;
  bool handleBefore = false;
  long beforeAnswer = 0;
  long afterAnswer = -1;  // -1: leave lReturn alone
  std::vector<long> seenByAfter;
};

long Route(Trace& t, const MessageTable& before, const MessageTable& after, std::uint32_t msg) {
  return hooks::RouteMessage<long>(
      before, after, msg,
      [&](bool bBefore, bool& bHandled, long& lReturn) {
        EXPECT_FALSE(bHandled);
        if (bBefore) {
          t.steps += "B";
          EXPECT_EQ(lReturn, 0);
          lReturn = t.beforeAnswer;
          bHandled = t.handleBefore;
        } else {
          t.steps += "A";
          t.seenByAfter.push_back(lReturn);
          if (t.afterAnswer != -1) lReturn = t.afterAnswer;
        }
      },
      [&] {
        t.steps += "P";
        return t.previousAnswer;
      });
}

}  // namespace

TEST(RouteMessage, AMessageInNeitherTableOnlyRunsThePreviousProcedure) {
  Trace t;
  MessageTable before, after;
  before.Add(0x10);
  EXPECT_EQ(Route(t, before, after, 0x20), 5);
  EXPECT_EQ(t.steps, "P");
}

TEST(RouteMessage, BeforeThenPreviousThenAfter) {
  Trace t;
  MessageTable before, after;
  before.Add(0x10);
  after.Add(0x10);
  t.beforeAnswer = 99;  // not handled: the previous procedure's answer replaces it
  EXPECT_EQ(Route(t, before, after, 0x10), 5);
  EXPECT_EQ(t.steps, "BPA");
  EXPECT_EQ(t.seenByAfter, (std::vector<long>{5}));
}

TEST(RouteMessage, HandledBeforeStopsThePreviousProcedureAndTheAfterDelivery) {
  Trace t;
  MessageTable before, after;
  before.Add(ALL_MESSAGES);
  after.Add(ALL_MESSAGES);
  t.handleBefore = true;
  t.beforeAnswer = 42;
  EXPECT_EQ(Route(t, before, after, 0x10), 42);
  EXPECT_EQ(t.steps, "B");
}

TEST(RouteMessage, TheAfterHandlerChangesTheAnswer) {
  Trace t;
  MessageTable before, after;
  after.Add(0x10);
  t.afterAnswer = 9;
  EXPECT_EQ(Route(t, before, after, 0x10), 9);
  EXPECT_EQ(t.steps, "PA");
}

TEST(RouteMessage, TablesEmptiedByTheBeforeHandlerAreHonouredForTheSameMessage) {
  MessageTable before, after;
  before.Add(0x10);
  after.Add(0x10);
  std::string steps;
  long answer = hooks::RouteMessage<long>(
      before, after, 0x10u,
      [&](bool bBefore, bool&, long&) {
        steps += bBefore ? "B" : "A";
        before.Clear();
        after.Clear();
      },
      [&] {
        steps += "P";
        return 3L;
      });
  EXPECT_EQ(answer, 3);
  EXPECT_EQ(steps, "BP");
}

TEST(RouteMessage, AMessageChangedByTheBeforeHandlerDecidesTheAfterRouting) {
  MessageTable before, after;
  before.Add(ALL_MESSAGES);
  after.Add(0x20);
  std::uint32_t msg = 0x10;
  std::string steps;
  hooks::RouteMessage<long>(
      before, after, msg,
      [&](bool bBefore, bool&, long&) {
        steps += bBefore ? "B" : "A";
        msg = 0x20;
      },
      [&] {
        steps += "P";
        return 0L;
      });
  EXPECT_EQ(steps, "BPA");
}

// --- The life of a hook -----------------------------------------------------

TEST(HookState, ShutDownOutsideAnyMessageReleasesAtOnce) {
  HookState state;
  state.Enter();
  EXPECT_FALSE(state.Leave(false));
  EXPECT_TRUE(state.ShutDown());
}

TEST(HookState, ShutDownInsideAMessageWaitsForThatMessageToLeave) {
  HookState state;
  state.Enter();
  EXPECT_FALSE(state.ShutDown());
  EXPECT_TRUE(state.shutDown());
  EXPECT_TRUE(state.Leave(false));
}

TEST(HookState, NestedMessagesReleaseOnlyWhenTheOutermostLeaves) {
  HookState state;
  state.Enter();
  state.Enter();
  state.Enter();
  EXPECT_FALSE(state.ShutDown());
  EXPECT_FALSE(state.Leave(false));
  EXPECT_FALSE(state.Leave(false));
  EXPECT_EQ(state.inProgress(), 1);
  EXPECT_TRUE(state.Leave(false));
}

TEST(HookState, TheWindowsLastMessageShutsTheHookDown) {
  HookState state;
  state.Enter();
  EXPECT_TRUE(state.Leave(true));
  EXPECT_TRUE(state.shutDown());
  EXPECT_TRUE(state.windowDestroyed());
}

TEST(HookState, DestroyedInsideAnotherMessageReleasesWhenThatOneLeaves) {
  HookState state;
  state.Enter();              // a click
  state.Enter();              // WM_NCDESTROY, sent by the click's handler
  EXPECT_FALSE(state.Leave(true));
  EXPECT_TRUE(state.windowDestroyed());
  EXPECT_TRUE(state.Leave(false));
}

TEST(HookState, ASecondShutDownNeverReleasesTwice) {
  HookState state;
  EXPECT_TRUE(state.ShutDown());
  EXPECT_FALSE(state.ShutDown());
}

