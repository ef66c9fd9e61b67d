#include "app/EmptyPage.h"

#include <gtest/gtest.h>

namespace {

using app::IsEmptyPage;

TEST(EmptyPage, NothingOrAnEmptyHeadAndBodyIsEmpty) {
  EXPECT_TRUE(IsEmptyPage(L""));
  EXPECT_TRUE(IsEmptyPage(L" \r\n\t"));
  EXPECT_TRUE(IsEmptyPage(L"<HEAD></HEAD>\r\n<BODY></BODY>"));
  EXPECT_TRUE(IsEmptyPage(L"<head></head><body></body>"));
  EXPECT_TRUE(IsEmptyPage(L"  <Head>  </hEAD> <body class=\"x\">\n</BODY>  "));
  EXPECT_TRUE(IsEmptyPage(L"<body></body>"));
}

TEST(EmptyPage, AnythingInsideIsContent) {
  EXPECT_FALSE(IsEmptyPage(L"<HEAD><TITLE></TITLE></HEAD><BODY></BODY>"));
  EXPECT_FALSE(IsEmptyPage(L"<HEAD></HEAD><BODY>x</BODY>"));
  EXPECT_FALSE(IsEmptyPage(L"<HEAD></HEAD><BODY></BODY><P>"));
  EXPECT_FALSE(IsEmptyPage(L"text"));
  EXPECT_FALSE(IsEmptyPage(L"<bodyx></bodyx>"));
  EXPECT_FALSE(IsEmptyPage(L"<BODY></BODY><HEAD></HEAD>"));
  EXPECT_FALSE(IsEmptyPage(L"<HEAD></HEAD><BODY>"));
  EXPECT_FALSE(IsEmptyPage(L"<HEAD></HEAD><BODY></BODY x>"));
}

}  // namespace
