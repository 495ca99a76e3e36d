#include <gtest/gtest.h>

#include "Forms.h"
#include "Themes.h"

namespace {

struct TAnswers {
  static inline bool Library = false, AppThemed = false, ThemeActive = false;
  static bool LibraryPresent() { return Library; }
  static bool IsAppThemed() { return AppThemed; }
  static bool IsThemeActive() { return ThemeActive; }
};

TEST(StyleServices, EnabledOnlyWithLibraryThemedProgramAndActiveTheme) {
  ASSERT_NE(StyleServices(), nullptr);
  EXPECT_TRUE(StyleServices()->IsSystemStyle());
  TThemeQueries Saved = SetThemeQueries(
      {&TAnswers::LibraryPresent, &TAnswers::IsAppThemed, &TAnswers::IsThemeActive});
  struct TCase {
    bool Library, AppThemed, ThemeActive, Enabled;
  };
  const TCase Cases[] = {
      {true, true, true, true},     //
      {false, true, true, false},   // no visual-styles library
      {true, false, true, false},   // the program has no themed controls
      {true, true, false, false},   // the desktop's theme is off
      {false, false, false, false}  //
  };
  for (const TCase& C : Cases) {
    TAnswers::Library = C.Library;
    TAnswers::AppThemed = C.AppThemed;
    TAnswers::ThemeActive = C.ThemeActive;
    EXPECT_EQ(StyleServices()->Available(), C.Library);
    EXPECT_EQ(StyleServices()->Enabled(), C.Enabled) << C.Library << C.AppThemed << C.ThemeActive;
  }
  SetThemeQueries(Saved);
  // The platform's own answer is one of the two, and consistent.
  if (StyleServices()->Enabled()) EXPECT_TRUE(StyleServices()->Available());
}

}  // namespace
