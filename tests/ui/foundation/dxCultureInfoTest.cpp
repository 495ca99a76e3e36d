#include <gtest/gtest.h>

#include "dxCultureInfo.h"

namespace {

TEST(CultureTable, NamesOfLocaleIdentifiers) {
  dxCultureInfo_Initialize();
  struct {
    LCID Id;
    const wchar_t* Name;
  } Cases[] = {{9, L"en"},       {25, L"ru"},      {1, L"ar"},         {2, L"bg"},
               {1033, L"en-US"}, {1049, L"ru-RU"}, {0x0407, L"de-DE"}, {127, L""}};
  for (const auto& C : Cases) {
    String Name = L"?";
    EXPECT_TRUE(TdxCultureInfoHelper::TryGetCultureName(C.Id, Name)) << C.Id;
    EXPECT_EQ(Name, C.Name) << C.Id;
  }
  String Name;
  EXPECT_FALSE(TdxCultureInfoHelper::TryGetCultureName(0x7FFF, Name));
  EXPECT_GT(TdxCultureInfoHelper::Count(), 200);
  dxCultureInfo_Finalize();
  EXPECT_FALSE(TdxCultureInfoHelper::TryGetCultureName(1033, Name));
}

}  // namespace
