#include <gtest/gtest.h>

#include "cxRegExpr.h"

TEST(cxRegExprSmoke, Compiles) {
  TcxRegExpr R;
  R.Compile(L"ab|ac");
  Char C = L'a';
  EXPECT_TRUE(R.Next(C));
}
