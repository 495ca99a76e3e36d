// The progress bar's settings: defaults, what a form resource stores and
// reads back, the range rules, copying, and the text the bar shows.
#include <gtest/gtest.h>

#include <limits>

#include "ExtEditTestSupport.h"
#include "cxCheckBox.h"
#include "cxExtEditConsts.h"
#include "cxLabel.h"
#include "cxProgressBar.h"

namespace {
DECLARE_PROPERTIES_HOST(TProgressHost, TcxProgressBarProperties)
}  // namespace
IMPLEMENT_PROPERTIES_HOST(TProgressHost)

namespace {

using TProps = TcxProgressBarProperties;

TEST(ProgressBarProperties, DefaultsAreTheDocumentedOnesAndNothingIsWritten) {
  TOwned<TProgressHost> Host = NewHost<TProgressHost>();
  TProps* P = Host->GetProperties();
  EXPECT_EQ(P->GetMin(), 0);
  EXPECT_EQ(P->GetMax(), 100);
  EXPECT_EQ(P->GetAnimationPath(), cxapCycle);
  EXPECT_EQ(P->GetAnimationRestartDelay(), 0u);
  EXPECT_EQ(P->GetAnimationSpeed(), 10);
  EXPECT_EQ(P->GetBarBevelOuter(), cxbvNone);
  EXPECT_EQ(P->GetBarStyle(), cxbsSolid);
  EXPECT_EQ(P->GetBeginColor(), 0x00800000);
  EXPECT_EQ(P->GetBorderWidth(), 0);
  EXPECT_EQ(P->GetEndColor(), 0x00FFFFFF);
  EXPECT_TRUE(P->GetForegroundImage()->Empty());
  EXPECT_FALSE(P->GetMarquee());
  EXPECT_EQ(P->GetOrientation(), cxorHorizontal);
  EXPECT_EQ(P->GetOverloadBeginColor(), 0x008080FF);
  EXPECT_EQ(P->GetOverloadEndColor(), 0x00FF00FF);
  EXPECT_EQ(P->GetOverloadValue(), 80);
  EXPECT_EQ(P->GetPeakColor(), 0x000000FF);
  EXPECT_EQ(P->GetPeakSize(), 2);
  EXPECT_EQ(P->GetPeakValue(), 0);
  EXPECT_FALSE(P->GetShowOverload());
  EXPECT_FALSE(P->GetShowPeak());
  EXPECT_TRUE(P->GetShowText());
  EXPECT_EQ(P->GetShowTextStyle(), cxtsPercent);
  EXPECT_FALSE(P->GetSolidTextColor());
  EXPECT_EQ(P->GetText(), L"");
  EXPECT_EQ(P->GetTextOrientation(), cxorHorizontal);
  EXPECT_TRUE(P->GetTransparentImage());
  EXPECT_EQ(P->GetDisplayText(Variant(0)), L"0 %");
  EXPECT_EQ(PropertyLines(Host.get()), "");
}

struct TStoredCase {
  const char* Name;
  void (*Apply)(TProps*);
  const char* Lines;
};

const TStoredCase StoredCases[] = {
    {"animation path", [](TProps* P) { P->SetAnimationPath(cxapPingPong); },
     "  Properties.AnimationPath = cxapPingPong\n"},
    {"restart delay", [](TProps* P) { P->SetAnimationRestartDelay(250); },
     "  Properties.AnimationRestartDelay = 250\n"},
    {"speed", [](TProps* P) { P->SetAnimationSpeed(3); }, "  Properties.AnimationSpeed = 3\n"},
    {"bevel", [](TProps* P) { P->SetBarBevelOuter(cxbvRaised); },
     "  Properties.BarBevelOuter = cxbvRaised\n"},
    {"animation style with its colour", [](TProps* P) { P->SetBarStyle(cxbsAnimation); },
     "  Properties.BarStyle = cxbsAnimation\n  Properties.BeginColor = 54056\n"},
    {"begin colour", [](TProps* P) { P->SetBeginColor(clRed); },
     "  Properties.BeginColor = clRed\n"},
    {"border width", [](TProps* P) { P->SetBorderWidth(4); }, "  Properties.BorderWidth = 4\n"},
    {"marquee hides the text style it forces", [](TProps* P) { P->SetMarquee(true); },
     "  Properties.Marquee = True\n"},
    {"max carries the overload mark", [](TProps* P) { P->SetMax(50); },
     "  Properties.Max = 50.0\n  Properties.OverloadValue = 50.0\n"},
    {"max assigned as its default", [](TProps* P) { P->SetMax(100); },
     "  Properties.Max = 100.0\n"},
    {"max assigned as 0 goes by its flag", [](TProps* P) { P->SetMax(0); },
     "  Properties.AssignedValues.Max = True\n  Properties.OverloadValue = 0.0\n"},
    {"min assigned as 0 goes by its flag", [](TProps* P) { P->SetMin(0); },
     "  Properties.AssignedValues.Min = True\n"},
    {"min", [](TProps* P) { P->SetMin(-5); }, "  Properties.Min = -5.0\n"},
    {"overload value", [](TProps* P) { P->SetOverloadValue(60); },
     "  Properties.OverloadValue = 60.0\n"},
    {"overload value 0 is written", [](TProps* P) { P->SetOverloadValue(0); },
     "  Properties.OverloadValue = 0.0\n"},
    {"peak", [](TProps* P) { P->SetPeakValue(33); }, "  Properties.PeakValue = 33.0\n"},
    {"peak size", [](TProps* P) { P->SetPeakSize(3); }, "  Properties.PeakSize = 3\n"},
    {"show text", [](TProps* P) { P->SetShowText(false); }, "  Properties.ShowText = False\n"},
    {"text style", [](TProps* P) { P->SetShowTextStyle(cxtsPosition); },
     "  Properties.ShowTextStyle = cxtsPosition\n"},
    {"text switches the style", [](TProps* P) { P->SetText(L"Working"); },
     "  Properties.ShowTextStyle = cxtsText\n  Properties.Text = 'Working'\n"},
    {"transparent is never stored", [](TProps* P) { P->SetTransparent(true); }, ""},
    {"transparent image", [](TProps* P) { P->SetTransparentImage(false); },
     "  Properties.TransparentImage = False\n"},
};

class ProgressBarStored : public ::testing::TestWithParam<TStoredCase> {};

TEST_P(ProgressBarStored, WritesOnlyWhatDiffersAndReadsItBack) {
  const TStoredCase& C = GetParam();
  TOwned<TProgressHost> Host = NewHost<TProgressHost>();
  C.Apply(Host->GetProperties());
  EXPECT_EQ(PropertyLines(Host.get()), C.Lines);
  TOwned<TProgressHost> Read = RoundTrip(Host.get());
  EXPECT_EQ(FormResourceText(Read.get()), FormResourceText(Host.get()));
  EXPECT_EQ(Read->GetProperties()->GetMax(), Host->GetProperties()->GetMax());
  EXPECT_EQ(Read->GetProperties()->GetMin(), Host->GetProperties()->GetMin());
  EXPECT_EQ(Read->GetProperties()->GetOverloadValue(), Host->GetProperties()->GetOverloadValue());
  EXPECT_EQ(Read->GetProperties()->GetBeginColor(), Host->GetProperties()->GetBeginColor());
}

INSTANTIATE_TEST_SUITE_P(Table, ProgressBarStored, ::testing::ValuesIn(StoredCases),
                         [](const auto& I) {
                           std::string N = I.param.Name;
                           for (char& Ch : N)
                             if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
                           return N;
                         });

// The progress window's bar as its form gives it: an animation style with
// its own colour, read in the stream's order (the colour after the style).
TEST(ProgressBarProperties, AStoredColourOutlivesTheAnimationStyleOnReading) {
  TOwned<TProgressHost> Host = NewHost<TProgressHost>();
  TProps* P = Host->GetProperties();
  P->SetBarStyle(cxbsAnimation);
  P->SetAnimationSpeed(3);
  P->SetBeginColor(0x0000D329);
  P->SetPeakSize(3);
  P->SetPeakValue(33);
  P->SetShowTextStyle(cxtsText);
  TOwned<TProgressHost> Read = RoundTrip(Host.get());
  EXPECT_EQ(Read->GetProperties()->GetBarStyle(), cxbsAnimation);
  EXPECT_EQ(Read->GetProperties()->GetBeginColor(), 0x0000D329);
  EXPECT_EQ(Read->GetProperties()->GetShowTextStyle(), cxtsText);
  EXPECT_EQ(Read->GetProperties()->GetPeakValue(), 33);
}

// ---------------------------------------------------------------------------
// Setters

TEST(ProgressBarProperties, TheRangeCarriesTheOtherBoundAndTheMarksAlong) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  P->SetMin(80);
  EXPECT_EQ(P->GetMax(), 100);
  P->SetPeakValue(90);
  P->SetMax(50);
  EXPECT_EQ(P->GetMin(), 50);
  EXPECT_EQ(P->GetMax(), 50);
  EXPECT_EQ(P->GetOverloadValue(), 50);
  EXPECT_EQ(P->GetPeakValue(), 50);
  P->SetMin(70);
  EXPECT_EQ(P->GetMax(), 70);
  EXPECT_EQ(P->GetOverloadValue(), 70);
  EXPECT_EQ(P->GetPeakValue(), 70);
  P->SetOverloadValue(10);
  EXPECT_EQ(P->GetOverloadValue(), 70);
}

TEST(ProgressBarProperties, MarqueeAndTextRuleTheTextStyle) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  P->SetMarquee(true);
  EXPECT_EQ(P->GetShowTextStyle(), cxtsText);
  P->SetShowTextStyle(cxtsPercent);
  EXPECT_EQ(P->GetShowTextStyle(), cxtsText);
  P->SetMarquee(false);
  P->SetShowTextStyle(cxtsPercent);
  EXPECT_EQ(P->GetShowTextStyle(), cxtsPercent);
  P->SetText(L"Copying");
  EXPECT_EQ(P->GetShowTextStyle(), cxtsText);
  P->SetShowTextStyle(cxtsPosition);
  P->SetText(L"");
  EXPECT_EQ(P->GetShowTextStyle(), cxtsPosition);
}

TEST(ProgressBarProperties, AnimationStylesSetTheirColourAndSpeedStopsAtTwenty) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  P->SetBeginColor(clRed);
  P->SetBarStyle(cxbsGradient);
  EXPECT_EQ(P->GetBeginColor(), clRed);
  P->SetBarStyle(cxbsAnimationLEDs);
  EXPECT_EQ(P->GetBeginColor(), cxProgressBarVistaColor);
  P->SetAnimationSpeed(25);
  EXPECT_EQ(P->GetAnimationSpeed(), 20);
}

// One notification per change that changes something; none for an equal
// value.
TEST(ProgressBarProperties, EachRealChangeNotifiesOnce) {
  const std::pair<const char*, void (*)(TProps*)> Setters[] = {
      {"AnimationPath", [](TProps* P) { P->SetAnimationPath(cxapPingPong); }},
      {"AnimationRestartDelay", [](TProps* P) { P->SetAnimationRestartDelay(5); }},
      {"AnimationSpeed", [](TProps* P) { P->SetAnimationSpeed(4); }},
      {"BarBevelOuter", [](TProps* P) { P->SetBarBevelOuter(cxbvLowered); }},
      {"BarStyle", [](TProps* P) { P->SetBarStyle(cxbsAnimation); }},
      {"BeginColor", [](TProps* P) { P->SetBeginColor(clRed); }},
      {"BorderWidth", [](TProps* P) { P->SetBorderWidth(2); }},
      {"EndColor", [](TProps* P) { P->SetEndColor(clRed); }},
      {"Marquee", [](TProps* P) { P->SetMarquee(true); }},
      {"Max", [](TProps* P) { P->SetMax(10); }},
      {"Min", [](TProps* P) { P->SetMin(10); }},
      {"Orientation", [](TProps* P) { P->SetOrientation(cxorVertical); }},
      {"OverloadBeginColor", [](TProps* P) { P->SetOverloadBeginColor(clRed); }},
      {"OverloadEndColor", [](TProps* P) { P->SetOverloadEndColor(clRed); }},
      {"OverloadValue", [](TProps* P) { P->SetOverloadValue(20); }},
      {"PeakColor", [](TProps* P) { P->SetPeakColor(clLime); }},
      {"PeakSize", [](TProps* P) { P->SetPeakSize(5); }},
      {"PeakValue", [](TProps* P) { P->SetPeakValue(5); }},
      {"ShowOverload", [](TProps* P) { P->SetShowOverload(true); }},
      {"ShowPeak", [](TProps* P) { P->SetShowPeak(true); }},
      {"ShowText", [](TProps* P) { P->SetShowText(false); }},
      {"ShowTextStyle", [](TProps* P) { P->SetShowTextStyle(cxtsText); }},
      {"SolidTextColor", [](TProps* P) { P->SetSolidTextColor(true); }},
      {"Text", [](TProps* P) { P->SetText(L"Working"); }},
      {"TextOrientation", [](TProps* P) { P->SetTextOrientation(cxorVertical); }},
      {"TransparentImage", [](TProps* P) { P->SetTransparentImage(false); }},
  };
  for (const auto& [Name, Apply] : Setters) {
    TOwned<TProps> P(Create<TProps>(nullptr));
    TChangeCounter Counter;
    Counter.Attach(P.get());
    Apply(P.get());
    EXPECT_EQ(Counter.Count, 1) << Name;
    Apply(P.get());
    EXPECT_EQ(Counter.Count, 1) << Name << " again";
  }
}

TEST(ProgressBarProperties, ANewForegroundImageIsNotedAndReported) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  TChangeCounter Counter;
  Counter.Attach(P.get());
  TOwned<TBitmap> Image = MakeOwned<TBitmap>();
  Image->SetSize(4, 3);
  P->SetForegroundImage(Image.get());
  EXPECT_TRUE(P->IsForegroundImageChanged());
  EXPECT_GE(Counter.Count, 1);
  EXPECT_EQ(P->GetForegroundImage()->Width(), 4);
  P->ClearForegroundImageChanged();
  EXPECT_FALSE(P->IsForegroundImageChanged());
}

// ---------------------------------------------------------------------------
// Copying

// Every setting of the source, in a combination the copy order could spoil:
// an animation style with a colour of its own, a text with a text style
// other than text.
void FillSource(TProps* S) {
  S->SetAnimationPath(cxapPingPong);
  S->SetAnimationRestartDelay(300);
  S->SetAnimationSpeed(7);
  S->SetBarStyle(cxbsAnimationLEDs);
  S->SetBeginColor(clRed);
  S->SetBarBevelOuter(cxbvLowered);
  S->SetEndColor(clLime);
  S->SetMin(-20);
  S->SetMax(200);
  S->SetOrientation(cxorVertical);
  S->SetShowText(false);
  S->SetText(L"Half way");
  S->SetShowTextStyle(cxtsPosition);
  S->SetTextOrientation(cxorVertical);
  S->SetSolidTextColor(true);
  S->SetTransparentImage(false);
  S->SetBorderWidth(3);
  S->SetOverloadValue(150);
  S->SetShowOverload(true);
  S->SetOverloadBeginColor(clYellow);
  S->SetOverloadEndColor(clBlue);
  S->SetPeakValue(120);
  S->SetShowPeak(true);
  S->SetPeakColor(clFuchsia);
  S->SetPeakSize(4);
}

TEST(ProgressBarProperties, ACopyWritesExactlyAsItsSource) {
  TOwned<TProgressHost> Source = NewHost<TProgressHost>();
  FillSource(Source->GetProperties());
  TOwned<TProgressHost> Target = NewHost<TProgressHost>();
  TChangeCounter Counter;
  Counter.Attach(Target->GetProperties());
  Target->GetProperties()->Assign(Source->GetProperties());
  EXPECT_EQ(PropertyLines(Target.get()), PropertyLines(Source.get()));
  EXPECT_EQ(Counter.Count, 1);
}

// The copy takes the style before the colour: an animation style's own
// colour must not replace the source's.
TEST(ProgressBarProperties, ACopyInAnAnimationStyleKeepsTheSourceColour) {
  TOwned<TProps> Source(Create<TProps>(nullptr));
  Source->SetBarStyle(cxbsAnimation);
  Source->SetBeginColor(clNavy);
  TOwned<TProps> Target(Create<TProps>(nullptr));
  Target->Assign(Source.get());
  EXPECT_EQ(Target->GetBarStyle(), cxbsAnimation);
  EXPECT_EQ(Target->GetBeginColor(), clNavy);
}

// ---------------------------------------------------------------------------
// Display text

struct TTextCase {
  Double Min, Max;
  bool Marquee;
  TcxProgressBarTextStyle Style;
  Variant Value;
  const wchar_t* Text;
};

TEST(ProgressBarProperties, DisplayTextsFollowTheStyleAndTheRange) {
  const Double Huge = 1e300;
  const TTextCase Cases[] = {
      {0, 100, false, cxtsPercent, Variant(33.5), L"34 %"},
      {0, 100, false, cxtsPercent, Variant(32.5), L"32 %"},
      {0, 100, false, cxtsPercent, Variant(99.7), L"100 %"},
      {0, 100, false, cxtsPercent, Variant(150), L"100 %"},
      {0, 100, false, cxtsPercent, Variant(-10), L"0 %"},
      {10, 60, false, cxtsPercent, Variant(35), L"50 %"},
      {0, 100, false, cxtsPercent, Variant(L"42.5"), L"42 %"},
      {0, 100, false, cxtsPercent, Variant(L"42,5"), L"0 %"},
      {0, 100, false, cxtsPercent, Variant(L"many"), L"0 %"},
      {0, 100, false, cxtsPercent, Null(), L"0 %"},
      {0, 100, false, cxtsPosition, Variant(12.25), L"12.25"},
      {0, 100, false, cxtsPosition, Variant(150), L"100"},
      {0, 100, false, cxtsText, Variant(12), L"Copying"},
      {0, 100, true, cxtsText, Variant(12), L"Copying"},
      // Max <= Min leaves the position unclamped; a far position still gives
      // a bounded percentage.
      {0, 0, false, cxtsPercent, Variant(Huge), L"100 %"},
      {0, 0, false, cxtsPercent, Variant(-Huge), L"-2147483648 %"},
      {50, 50, false, cxtsPercent, Variant(49), L"-100 %"},
  };
  TDecimalSeparatorScope Point(L'.');
  for (const TTextCase& C : Cases) {
    TOwned<TProps> P(Create<TProps>(nullptr));
    P->SetMax(C.Max);
    P->SetMin(C.Min);
    P->SetShowTextStyle(C.Style);
    P->SetText(L"Copying");
    P->SetShowTextStyle(C.Style);
    P->SetMarquee(C.Marquee);
    EXPECT_EQ(P->GetDisplayText(C.Value), C.Text) << VarToStrDef(C.Value, L"Null");
  }
}

TEST(ProgressBarProperties, APositionTextUsesTheRegionalSeparator) {
  TDecimalSeparatorScope Comma(L',');
  TOwned<TProps> P(Create<TProps>(nullptr));
  P->SetShowTextStyle(cxtsPosition);
  EXPECT_EQ(P->GetDisplayText(Variant(12.25)), L"12,25");
  // The edit value's text is read with "." whatever the region says.
  EXPECT_EQ(P->GetDisplayText(Variant(L"7.5")), L"7,5");
}

TEST(ProgressBarProperties, ThePeakHoldsTheHighestPositionWithinTheRange) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  EXPECT_EQ(P->GetRealPeakValue(40), 40);
  EXPECT_EQ(P->GetPeakValue(), 40);
  EXPECT_EQ(P->GetRealPeakValue(20), 40);
  EXPECT_EQ(P->GetRealPeakValue(140), 100);
  EXPECT_EQ(P->GetPeakValue(), 100);
}

// ---------------------------------------------------------------------------
// Registration

TEST(ExtEditRegistration, TheSettingsClassesAreRegisteredWithTheirDescriptions) {
  TcxRegisteredClasses* R = GetRegisteredEditProperties();
  ASSERT_NE(R, nullptr);
  const std::pair<const wchar_t*, const wchar_t*> Expected[] = {
      {L"TcxProgressBarProperties", L"ProgressBar"},
      {L"TcxLabelProperties", L"Label"},
      {L"TcxCheckBoxProperties", L"CheckBox"}};
  for (const auto& [ClassName, Description] : Expected) {
    TClass C = R->FindByClassName(ClassName);
    ASSERT_NE(C, nullptr) << ClassName;
    EXPECT_EQ(R->GetDescriptionByClass(C), Description);
  }
}

// Shut-down takes each class out of the registry; a nested start-up (the
// count above zero) and its shut-down leave it in.
TEST(ExtEditRegistration, ShutDownUnregistersOnlyAtTheLastCall) {
  struct TModule {
    void (*Initialize)();
    void (*Finalize)();
    TClass Class;
  };
  const TModule Modules[] = {
      {&cxProgressBar_Initialize, &cxProgressBar_Finalize, TcxProgressBarProperties::StaticClass()},
      {&cxLabel_Initialize, &cxLabel_Finalize, TcxLabelProperties::StaticClass()},
      {&cxCheckBox_Initialize, &cxCheckBox_Finalize, TcxCheckBoxProperties::StaticClass()}};
  TcxRegisteredClasses* R = GetRegisteredEditProperties();
  for (const TModule& M : Modules) {
    M.Initialize();
    M.Finalize();
    EXPECT_GE(R->GetIndexByClass(M.Class), 0) << M.Class->Name;
    M.Finalize();
    EXPECT_LT(R->GetIndexByClass(M.Class), 0) << M.Class->Name;
    M.Initialize();
    EXPECT_GE(R->GetIndexByClass(M.Class), 0) << M.Class->Name;
  }
}

}  // namespace
