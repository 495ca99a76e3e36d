// Checks shared by the tests of the resource-string modules: a text is found
// by its name in its product, under its record, and reads as expected both
// through the record and through the name.
#pragma once

#include <gtest/gtest.h>

#include <span>

#include "dxCore.h"

struct TResStringCase {
  const wchar_t* Name;
  PResStringRec Rec;
  UINT Identifier;
  const wchar_t* Text;
};

// The registered product of that name, nullptr when there is none.
inline TdxProductResourceStrings* FindResStringProduct(const wchar_t* AName) {
  TdxResourceStringsRepository* R = dxResourceStringsRepository();
  Integer Index = R->GetProductIndexByName(AName);
  return Index < 0 ? nullptr : R->Products(Index);
}

inline void ExpectResStrings(const wchar_t* AProductName, std::span<const TResStringCase> ACases) {
  TdxProductResourceStrings* Product = FindResStringProduct(AProductName);
  ASSERT_NE(Product, nullptr) << AProductName;
  for (const TResStringCase& C : ACases) {
    SCOPED_TRACE(testing::Message() << C.Name);
    Integer Index = Product->GetIndexByName(C.Name);
    ASSERT_GE(Index, 0);
    EXPECT_EQ(Product->ResStrings(Index), C.Rec);
    EXPECT_EQ(C.Rec->Identifier, C.Identifier);
    EXPECT_EQ(cxGetResourceString(C.Rec), C.Text);
    EXPECT_EQ(dxResourceStringsRepository()->GetOriginalValue(C.Name), C.Text);
  }
}
