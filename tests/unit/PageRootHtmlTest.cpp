// The root element's HTML as the system control's parser gives it.
#include <gtest/gtest.h>

#include "tests/support/PageRootHtml.h"

using browser::html::SystemRootHtml;

TEST(PageRootHtml, AnEmptyPageHasAnEmptyHeadAndBody) {
  EXPECT_EQ(SystemRootHtml(L""), L"<HEAD></HEAD>\r\n<BODY></BODY>");
}

TEST(PageRootHtml, TheTitleGoesIntoTheHeadAndTheTextIntoTheBody) {
  EXPECT_EQ(SystemRootHtml(L"<title>x</title>text"), L"<HEAD><TITLE>x</TITLE></HEAD>\r\n<BODY>text</BODY>");
  EXPECT_EQ(SystemRootHtml(L"<head>\n <title>x</title>\n</head>\n<body class=\"a\">\n<p>one</p> two\n</body>"),
            L"<HEAD><TITLE>x</TITLE></HEAD>\r\n<BODY class=\"a\"><P>one</P> two</BODY>");
}

TEST(PageRootHtml, ContentBeforeAnyBodyTagOpensTheBody) {
  EXPECT_EQ(SystemRootHtml(L"<p>hi</p><title>late</title>"), L"<HEAD></HEAD>\r\n<BODY><P>hi</P><TITLE>late</TITLE></BODY>");
  EXPECT_EQ(SystemRootHtml(L"<script>if (a<b) x()</script>t"),
            L"<HEAD><SCRIPT>if (a<b) x()</SCRIPT></HEAD>\r\n<BODY>t</BODY>");
}
