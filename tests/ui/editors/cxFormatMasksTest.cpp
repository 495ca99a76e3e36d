// The format controller's date and time masks under several locales, read by
// the library's own engine: each compiles, takes every text the platform
// writes with the locale's pictures whole, and refuses day 32 and month 13.
#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"
#include "RegExprTestSupport.h"
#include "cxFormats.h"

namespace {

struct TMaskUnderTest {
  const char* What;
  String Mask;
  const std::vector<String>* Accepted;
  const std::vector<String>* Refused;
};

String TimeMask() {
  TOwned<TcxDateTimeFormatInfo> Info = MakeOwned<TcxDateTimeFormatInfo>();
  GetDateTimeFormatInfo(GetLongTimeFormat(), Info.get());
  return InternalGetDateTimeEditRegExprMask(Info.get(), dtmkTime);
}

TEST(FormatControllerMasks, TakeWhatThePlatformWritesUnderEachLocale) {
  const std::vector<String> None;
  for (const wchar_t* Name : MaskLocales) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(String(Name)));
    const TMaskSamples Samples = PlatformMaskSamples(Name);
    // The time is optional, the blank before it is not.
    std::vector<String> DatesAndBlank;
    for (const String& D : Samples.Dates) DatesAndBlank.push_back(D + L" ");
    TLocaleScope Locale(Name);
    TcxFormatController* C = cxFormatController();
    C->FormatChanged();
    const TMaskUnderTest Masks[] = {
        {"date", C->RegExprDateEditMask(), &Samples.Dates, &Samples.BadDates},
        {"date-time", C->RegExprDateTimeEditMask(), &Samples.DateTimes, &Samples.BadDateTimes},
        {"date-time without the time", C->RegExprDateTimeEditMask(), &DatesAndBlank,
         &Samples.Dates},
        {"time", TimeMask(), &Samples.Times, &None},
        {"long date", C->RegExprCustomDateEditMask(LongDatePicture), &Samples.LongDates, &None},
    };
    for (const TMaskUnderTest& M : Masks) {
      SCOPED_TRACE(testing::Message() << M.What << " " << testing::PrintToString(M.Mask));
      TcxRegExpr R;
      ASSERT_TRUE(CompileErrors(R, M.Mask.c_str()).empty());
      for (const String& Text : *M.Accepted)
        EXPECT_TRUE(Matches(R, Text)) << testing::PrintToString(Text);
      for (const String& Text : *M.Refused)
        EXPECT_FALSE(Matches(R, Text)) << testing::PrintToString(Text);
    }
    // The refusals are not empty words: the locale's date picture has a
    // numeric day or month.
    EXPECT_FALSE(Samples.BadDates.empty());
  }
  cxFormatController()->FormatChanged();
}

}  // namespace
