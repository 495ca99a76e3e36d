#include <gtest/gtest.h>

#include "XmlTreeText.h"

TEST(XmlSmoke, Loads) {
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  D->LoadFromString("<a x=\"1\">t<b/></a>");
  EXPECT_EQ("0 a x=1 \"t\n1 b\n", XmlTreeText(D.get()));
}
