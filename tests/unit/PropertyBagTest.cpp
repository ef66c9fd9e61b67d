#include "forms/PropertyBag.h"

#include <gtest/gtest.h>

#include "forms/Event.h"

namespace {

TEST(PropertyBag, MissingNamesGiveTheDefault) {
  forms::PropertyBag bag;
  EXPECT_EQ(bag.ReadString(L"Caption", L"NewForm"), L"NewForm");
  EXPECT_EQ(bag.ReadInt(L"frmHwnd", 0), 0);
  EXPECT_TRUE(bag.ReadBool(L"HasLogo", true));
}

TEST(PropertyBag, StoredValuesRoundTrip) {
  forms::PropertyBag bag;
  bag.Write(L"Caption", std::wstring_view(L"Velmora客户端"));
  bag.Write(L"BackColor", std::int32_t{14346732});
  bag.Write(L"HasLogo", true);
  EXPECT_EQ(bag.ReadString(L"Caption", L""), L"Velmora客户端");
  EXPECT_EQ(bag.ReadInt(L"BackColor", 0), 14346732);
  EXPECT_TRUE(bag.ReadBool(L"HasLogo", false));
  bag.Write(L"HasLogo", false);
  EXPECT_FALSE(bag.ReadBool(L"HasLogo", true));
  EXPECT_EQ(bag.size(), 3u);
  // A text literal is stored as text, not as a truth value.
  bag.Write(L"Caption", L"客户端");
  EXPECT_EQ(bag.ReadString(L"Caption", L""), L"客户端");
}

TEST(PropertyBag, UnreadableNumbersGiveTheDefault) {
  forms::PropertyBag bag;
  bag.Write(L"A", std::wstring_view(L"12x"));
  bag.Write(L"B", std::wstring_view(L"99999999999"));
  bag.Write(L"C", std::wstring_view(L"maybe"));
  EXPECT_EQ(bag.ReadInt(L"A", 7), 7);
  EXPECT_EQ(bag.ReadInt(L"B", 7), 7);
  EXPECT_FALSE(bag.ReadBool(L"C", false));
}

struct Holder {
  int clicks = 0;
  void button_Click() { ++clicks; }
  void strip_BeforeRemove(int index, bool& cancel) { cancel = index == 2; }
};

TEST(Event, RaisesToTheBoundHolderWithReferenceArguments) {
  Holder h;
  forms::Event<> click;
  click();  // nobody bound: nothing happens
  click.Bind(&h, &Holder::button_Click);
  click();
  click();
  EXPECT_EQ(h.clicks, 2);

  forms::Event<int, bool&> beforeRemove;
  beforeRemove.Bind(&h, &Holder::strip_BeforeRemove);
  bool cancel = false;
  beforeRemove(2, cancel);
  EXPECT_TRUE(cancel);
  beforeRemove(1, cancel);
  EXPECT_FALSE(cancel);
}

}  // namespace
