#include <gtest/gtest.h>

#include "cxDWMApi.h"
#include "dxThemeManager.h"

namespace {

// A theme library that records what it is asked.
struct TFakeThemes {
  bool Active = true;
  std::vector<String> Opened;
  int Closed = 0;
  NativeInt NextHandle = 100;
} Fake;

BOOL WINAPI FakeIsThemeActive() { return Fake.Active; }
HTHEME WINAPI FakeOpenThemeData(HWND, LPCWSTR AClassList) {
  Fake.Opened.push_back(AClassList);
  if (String(AClassList) == L"Spin") return nullptr;  // a class this theme lacks
  return reinterpret_cast<HTHEME>(Fake.NextHandle++);
}
HRESULT WINAPI FakeCloseThemeData(HTHEME) {
  ++Fake.Closed;
  return S_OK;
}

class ThemeCache : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake = TFakeThemes{};
    dxThemeManager_Finalize();
    dxUxTheme::TBinding B;
    B.Loaded = true;
    B.Entries[dxUxTheme::eIsThemeActive] = reinterpret_cast<void*>(&FakeIsThemeActive);
    B.Entries[dxUxTheme::eOpenThemeData] = reinterpret_cast<void*>(&FakeOpenThemeData);
    B.Entries[dxUxTheme::eCloseThemeData] = reinterpret_cast<void*>(&FakeCloseThemeData);
    Saved = dxUxTheme::SetBinding(B);
    dxThemeManager_Initialize();
  }
  void TearDown() override {
    dxThemeManager_Finalize();
    dxUxTheme::SetBinding(Saved);
    dxThemeManager_Initialize();
  }
  void ThemeChanged() { SendMessageW(dxThemeChangedReceiverHandle(), WM_THEMECHANGED, 0, 0); }
  dxUxTheme::TBinding Saved;
};

TEST_F(ThemeCache, OpensOncePerTypeAndClassList) {
  HTHEME Button = OpenTheme(totButton);
  ASSERT_NE(Button, nullptr);
  EXPECT_EQ(OpenTheme(totButton), Button);
  EXPECT_EQ(OpenTheme(totButton, L"button"), Button);  // same list in other case
  EXPECT_EQ(Fake.Opened, std::vector<String>{L"Button"});
  HTHEME Other = OpenTheme(totButton, L"Explorer::Button");
  EXPECT_NE(Other, Button);
  EXPECT_EQ(Fake.Closed, 1);
  EXPECT_EQ(OpenTheme(totExplorerListView), OpenTheme(totExplorerListView));
  EXPECT_EQ(Fake.Opened.back(), L"Explorer::ListView");
}

TEST_F(ThemeCache, ThemeChangeReopensWithTheRememberedList) {
  OpenTheme(totEdit, L"Explorer::Edit");
  ASSERT_NE(dxThemeChangedReceiverHandle(), nullptr);
  ThemeChanged();
  EXPECT_EQ(Fake.Closed, 1);
  OpenTheme(totEdit);
  EXPECT_EQ(Fake.Opened.back(), L"Explorer::Edit");
  EXPECT_NE(CloseTheme(totEdit), 1);
  EXPECT_EQ(CloseTheme(totEdit), 0);  // nothing open any more
  OpenTheme(totEdit);
  EXPECT_EQ(Fake.Opened.back(), L"Edit");
}

TEST_F(ThemeCache, AvailabilityFollowsTheThemeAndEachClass) {
  EXPECT_TRUE(AreVisualStylesAvailable(TdxThemedObjectTypes()));
  EXPECT_TRUE(AreVisualStylesAvailable(TdxThemedObjectTypes{totButton, totHeader}));
  EXPECT_FALSE(AreVisualStylesAvailable(totSpin));
  EXPECT_FALSE(AreVisualStylesAvailable(TdxThemedObjectTypes{totButton, totSpin}));
  EXPECT_TRUE(AreVisualStylesAvailable(totHeader));

  Fake.Active = false;  // the user turns styles off
  ThemeChanged();
  EXPECT_FALSE(dxIsGlobalThemeActive());
  EXPECT_FALSE(AreVisualStylesAvailable(TdxThemedObjectTypes()));
  EXPECT_EQ(OpenTheme(totButton), nullptr);
  EXPECT_EQ(CloseTheme(totButton), 1);
}

class TListener : public TObject {
 public:
  int Calls = 0;
  TdxThemeChangedNotificator* FreeOnCall = nullptr;
  void Changed() {
    ++Calls;
    if (FreeOnCall) FreeAndNil(FreeOnCall);
  }
};

TEST_F(ThemeCache, NotificatorsHearChangesAndMayLeaveDuringOne) {
  TListener A, B;
  TdxThemeChangedNotificator* NA = Create<TdxThemeChangedNotificator>();
  TdxThemeChangedNotificator* NB = Create<TdxThemeChangedNotificator>();
  NA->SetOnThemeChanged(MakeEvent<&TListener::Changed>(&A));
  NB->SetOnThemeChanged(MakeEvent<&TListener::Changed>(&B));
  A.FreeOnCall = NB;  // the first frees the second before it is called
  ThemeChanged();
  EXPECT_EQ(A.Calls, 1);
  EXPECT_EQ(B.Calls, 0);
  SendMessageW(dxThemeChangedReceiverHandle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(A.Calls, 2);
  NA->Free();
}

TEST(ThemeForwarders, MissingEntryPointsReportFailure) {
  dxUxTheme::TBinding Saved = dxUxTheme::SetBinding(dxUxTheme::TBinding{});
  RECT R{0, 0, 10, 10};
  EXPECT_FALSE(dxUxTheme::IsThemeLibraryLoaded());
  EXPECT_EQ(dxUxTheme::OpenThemeData(nullptr, L"Button"), nullptr);
  EXPECT_EQ(dxUxTheme::DrawThemeBackground(nullptr, nullptr, 1, 1, R, R), E_NOTIMPL);
  EXPECT_EQ(dxUxTheme::DrawThemeText(nullptr, nullptr, 1, 1, String(L"x"), 1, 0, 0, &R), E_NOTIMPL);
  COLORREF Color = 0;
  EXPECT_EQ(dxUxTheme::GetThemeColor(nullptr, 1, 1, 1, &Color), E_NOTIMPL);
  EXPECT_FALSE(dxUxTheme::IsThemeActive());
  EXPECT_FALSE(dxUxTheme::IsThemeBackgroundPartiallyTransparent(nullptr, 1, 1));
  HDC PaintDC = reinterpret_cast<HDC>(1);
  EXPECT_EQ(dxUxTheme::BeginBufferedPaint(nullptr, &R, BPBF_TOPDOWNDIB, nullptr, &PaintDC),
            nullptr);
  EXPECT_EQ(PaintDC, nullptr);
  EXPECT_FALSE(dxBeginPanningFeedback(nullptr));
  EXPECT_FALSE(dxUpdatePanningFeedback(nullptr, POINT{1, 1}, false));
  dxUxTheme::SetBinding(Saved);
}

TEST(ThemeForwarders, RealLibraryUnderWine) {
  ASSERT_TRUE(dxUxTheme::IsThemeLibraryLoaded());
  for (int I = 0; I < dxUxTheme::EntryCount; ++I) {
    // Wine's theme library has every entry point but the panning feedback.
    if (I >= dxUxTheme::eBeginPanningFeedback) continue;
    EXPECT_NE(dxUxTheme::Binding().Entries[I], nullptr) << dxUxTheme::EntryNames[I];
  }
  bool Active = dxUxTheme::IsThemeActive() != FALSE;
  EXPECT_EQ(dxIsGlobalThemeActive(), Active);
  if (Active) {
    HTHEME H = OpenTheme(totButton);
    EXPECT_NE(H, nullptr);
    EXPECT_EQ(OpenTheme(totButton), H);
    EXPECT_TRUE(AreVisualStylesAvailable(totButton));
  } else {
    EXPECT_EQ(OpenTheme(totButton), nullptr);
    EXPECT_EQ(CloseTheme(totButton), 1);
    EXPECT_FALSE(AreVisualStylesAvailable(TdxThemedObjectTypes()));
  }
}

TEST(DesktopComposition, ReportsOffWithoutTheLibrary) {
  if (!IsDwmPresent()) {
    EXPECT_FALSE(IsCompositionEnabled());
    return;
  }
  BOOL Enabled = FALSE;
  bool Expected = dxDWMBinding().DwmIsCompositionEnabled &&
                  SUCCEEDED(dxDWMBinding().DwmIsCompositionEnabled(&Enabled)) && Enabled;
  EXPECT_EQ(IsCompositionEnabled(), Expected);
}

}  // namespace
