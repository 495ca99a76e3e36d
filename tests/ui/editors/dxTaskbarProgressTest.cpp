// The taskbar progress: its protocol with the shell's taskbar (a scripted
// taskbar object records the calls), the wait for the taskbar's button, the
// single active component, the link with a progress bar (a scripted bar),
// streaming, and the start-up on systems without the taskbar.
#include <gtest/gtest.h>

#include <shobjidl.h>

#include <algorithm>
#include <iostream>
#include <limits>
#include <vector>

#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "WinHandles.h"
#include "cxProgressBar.h"
#include "dxTaskbarProgress.h"

namespace {

// ---------------------------------------------------------------------------
// A taskbar object that records the progress calls.

struct TTaskbarCall {
  bool IsValue;  // SetProgressValue, else SetProgressState
  HWND Wnd;
  ULONGLONG A;  // flags, or completed
  ULONGLONG B;  // total
  bool operator==(const TTaskbarCall&) const = default;
};

TTaskbarCall StateCall(HWND AWnd, ULONGLONG AFlags) { return {false, AWnd, AFlags, 0}; }
TTaskbarCall ValueCall(HWND AWnd, ULONGLONG ACompleted, ULONGLONG ATotal) {
  return {true, AWnd, ACompleted, ATotal};
}

std::ostream& operator<<(std::ostream& S, const TTaskbarCall& C) {
  if (C.IsValue) return S << "Value(" << C.Wnd << ", " << C.A << " of " << C.B << ")";
  return S << "State(" << C.Wnd << ", " << C.A << ")";
}

class TFakeTaskbar final : public ITaskbarList3 {
 public:
  // What the object offers: ITaskbarList at all, ITaskbarList3, HrInit's result.
  bool OffersTaskbarList = true;
  bool OffersProgress = true;
  HRESULT HrInitResult = S_OK;
  std::vector<TTaskbarCall> Calls;
  LONG RefCount = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    *AObj = nullptr;
    bool Offered = IsEqualIID(AIID, IID_IUnknown) ||
                   (OffersTaskbarList && IsEqualIID(AIID, IID_ITaskbarList)) ||
                   (OffersProgress &&
                    (IsEqualIID(AIID, IID_ITaskbarList2) || IsEqualIID(AIID, IID_ITaskbarList3)));
    if (!Offered) return E_NOINTERFACE;
    *AObj = static_cast<ITaskbarList3*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++RefCount); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--RefCount); }
  HRESULT STDMETHODCALLTYPE HrInit() override { return HrInitResult; }
  HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetProgressValue(HWND W, ULONGLONG C, ULONGLONG T) override {
    Calls.push_back(ValueCall(W, C, T));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetProgressState(HWND W, TBPFLAG F) override {
    Calls.push_back(StateCall(W, static_cast<ULONGLONG>(F)));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return S_OK; }
};

// The object the scripted factory hands out, and the factory's result.
TFakeTaskbar* GFakeTaskbar = nullptr;
HRESULT GFactoryResult = S_OK;

HRESULT FakeTaskbarFactory(IUnknown** AObject) {
  *AObject = nullptr;
  if (FAILED(GFactoryResult)) return GFactoryResult;
  GFakeTaskbar->AddRef();
  *AObject = static_cast<ITaskbarList3*>(GFakeTaskbar);
  return S_OK;
}

// The module restarted with the scripted taskbar object for the life of the
// object; then restarted as the program has it.
class TScriptedTaskbarScope {
 public:
  explicit TScriptedTaskbarScope(TFakeTaskbar& ATaskbar, HRESULT AFactoryResult = S_OK) {
    GFakeTaskbar = &ATaskbar;
    GFactoryResult = AFactoryResult;
    dxTaskbarProgress_Finalize();
    FPrevious = dxSetTaskbarListFactory(&FakeTaskbarFactory);
    dxTaskbarProgress_Initialize();
  }
  TScriptedTaskbarScope(const TScriptedTaskbarScope&) = delete;
  TScriptedTaskbarScope& operator=(const TScriptedTaskbarScope&) = delete;
  ~TScriptedTaskbarScope() {
    dxTaskbarProgress_Finalize();
    dxSetTaskbarListFactory(FPrevious);
    dxTaskbarProgress_Initialize();
    GFakeTaskbar = nullptr;
  }

 private:
  TdxTaskbarListFactory FPrevious = nullptr;
};

// ---------------------------------------------------------------------------
// A progress bar as the taskbar progress sees it: settings changes and
// positions set by the user are told to every listener; the edit value
// written by a linked component is stored as it is.

class TFakeProgressBar : public TComponent, public IcxProgressBarLink {
  DECLARE_CLASS(TFakeProgressBar, TComponent)
 public:
  using TOwnerType = TComponent;
  using TComponent::TComponent;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IcxProgressBarLink)) || IsEqualIID(AIID, IID_IUnknown)) {
      *AObj = static_cast<IcxProgressBarLink*>(this);
      return true;
    }
    return TComponent::GetInterface(AIID, AObj);
  }

  Double STDMETHODCALLTYPE GetLinkPosition() override { return FPosition; }
  Double STDMETHODCALLTYPE GetLinkMin() override { return FMin; }
  Double STDMETHODCALLTYPE GetLinkMax() override { return FMax; }
  bool STDMETHODCALLTYPE GetLinkMarquee() override { return FMarquee; }
  void STDMETHODCALLTYPE SetLinkMarquee(bool AValue) override {
    Writes.push_back(L"Marquee");
    SetMarquee(AValue);
  }
  void STDMETHODCALLTYPE SetLinkMax(Double AValue) override {
    Writes.push_back(L"Max");
    SetMax(AValue);
  }
  void STDMETHODCALLTYPE SetLinkEditValue(Double AValue) override {
    Writes.push_back(L"EditValue");
    FPosition = AValue;
  }
  void STDMETHODCALLTYPE AddLinkListener(TcxProgressBarListener* AListener) override {
    Listeners.push_back(AListener);
  }
  void STDMETHODCALLTYPE RemoveLinkListener(TcxProgressBarListener* AListener) override {
    auto It = std::find(Listeners.begin(), Listeners.end(), AListener);
    if (It != Listeners.end()) Listeners.erase(It);
  }

  Double Min() const { return FMin; }
  Double Max() const { return FMax; }
  Double Position() const { return FPosition; }
  bool Marquee() const { return FMarquee; }
  void SetMin(Double V) {
    FMin = V;
    FMax = std::max(FMax, V);
    Changed();
  }
  void SetMax(Double V) {
    FMax = V;
    FMin = std::min(FMin, V);
    Changed();
  }
  void SetMarquee(bool V) {
    if (V == FMarquee) return;
    FMarquee = V;
    Changed();
  }
  // As the user sets it: clamped into the range (when there is one).
  void SetPosition(Double V) {
    if (!ComponentState().Contains(csLoading) && FMax > FMin) V = std::clamp(V, FMin, FMax);
    FPosition = V;
    if (!ComponentState().Contains(csLoading)) Changed();
  }

  std::vector<TcxProgressBarListener*> Listeners;
  std::vector<String> Writes;

 private:
  void Changed() {
    std::vector<TcxProgressBarListener*> L = Listeners;
    for (TcxProgressBarListener* Listener : L) Listener->DoChanged();
  }
  Double FMin = 0;
  Double FMax = 100;
  Double FPosition = 0;
  bool FMarquee = false;
};

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TFakeProgressBar) {
  P.Property<&TFakeProgressBar::Min, &TFakeProgressBar::SetMin>(L"Min");
  P.Property<&TFakeProgressBar::Max, &TFakeProgressBar::SetMax>(L"Max");
  P.Property<&TFakeProgressBar::Position, &TFakeProgressBar::SetPosition>(L"Position");
}

// A form-like root for streaming, and a component that is no progress bar.
class TTaskbarTestRoot : public TComponent {
  DECLARE_CLASS(TTaskbarTestRoot, TComponent)
 public:
  using TOwnerType = TComponent;
  using TComponent::TComponent;
};
IMPLEMENT_CREATABLE_CLASS(TTaskbarTestRoot)

class TTaskbarTestOther : public TComponent {
  DECLARE_CLASS(TTaskbarTestOther, TComponent)
 public:
  using TOwnerType = TComponent;
  using TComponent::TComponent;
};
IMPLEMENT_CREATABLE_CLASS(TTaskbarTestOther)

void RegisterTestClasses() {
  RegisterClasses({TFakeProgressBar::StaticClass(), TTaskbarTestRoot::StaticClass(),
                   TTaskbarTestOther::StaticClass()});
}

TOwned<TdxTaskbarProgress> NewTaskbarProgress() {
  return TOwned<TdxTaskbarProgress>(Create<TdxTaskbarProgress>(nullptr));
}

// ---------------------------------------------------------------------------
// The application's main window for the life of the object, shown, and the
// taskbar's announcement of its button.

class TMainFormScope {
 public:
  explicit TMainFormScope(bool AOnTaskBar) : FWasOnTaskBar(Application()->MainFormOnTaskBar()) {
    Application()->SetMainFormOnTaskBar(AOnTaskBar);
    TForm* Form = nullptr;
    Application()->CreateForm(Form);
    FForm.reset(Form);
    FForm->SetBounds(0, 0, 200, 100);
    FForm->Show();
    Application()->ProcessMessages();
  }
  TMainFormScope(const TMainFormScope&) = delete;
  TMainFormScope& operator=(const TMainFormScope&) = delete;
  ~TMainFormScope() {
    FForm.reset();
    Application()->SetMainFormOnTaskBar(FWasOnTaskBar);
  }
  TForm* Form() const { return FForm.get(); }

 private:
  bool FWasOnTaskBar;
  TOwned<TForm> FForm;
};

void AnnounceButton(HWND AWnd) {
  PostMessageW(AWnd, RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
  Application()->ProcessMessages();
}

constexpr ULONGLONG NoProgress = TBPF_NOPROGRESS, Indeterminate = TBPF_INDETERMINATE,
                    Normal = TBPF_NORMAL, Error = TBPF_ERROR, Paused = TBPF_PAUSED;

// ---------------------------------------------------------------------------
// The protocol with the taskbar

class TaskbarProtocol : public testing::TestWithParam<bool> {};

TEST_P(TaskbarProtocol, NothingReachesTheTaskbarBeforeItsButtonThenEveryActiveComponentDoes) {
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  ASSERT_TRUE(dxTaskbarProgressSink()->Connected());
  TMainFormScope Main(GetParam());
  const HWND Button = GetParam() ? Main.Form()->Handle() : Application()->Handle();
  ASSERT_EQ(dxTaskbarProgressMainWindow(), Button);
  ASSERT_EQ(TaskbarProgressManager()->MainWindow(), Button);

  TOwned<TdxTaskbarProgress> First = NewTaskbarProgress();
  TOwned<TdxTaskbarProgress> Idle = NewTaskbarProgress();
  First->SetActive(true);
  First->SetState(tbpsError);
  First->SetPosition(30);
  Idle->SetPosition(70);
  EXPECT_TRUE(Taskbar.Calls.empty());
  // Only the announcement for the main window counts.
  AnnounceButton(GetParam() ? Application()->Handle() : Main.Form()->Handle());
  EXPECT_TRUE(Taskbar.Calls.empty());

  AnnounceButton(Button);
  EXPECT_EQ(Taskbar.Calls, (std::vector{StateCall(Button, Error), ValueCall(Button, 30, 100)}));

  Taskbar.Calls.clear();
  First->SetState(tbpsIndeterminate);
  First->SetTotal(60);
  EXPECT_EQ(Taskbar.Calls,
            (std::vector{StateCall(Button, Indeterminate), StateCall(Button, Indeterminate)}));
  Taskbar.Calls.clear();
  First->SetActive(false);
  EXPECT_EQ(Taskbar.Calls, std::vector{StateCall(Button, NoProgress)});
  Taskbar.Calls.clear();
  Idle->SetPosition(71);
  EXPECT_TRUE(Taskbar.Calls.empty());
}

INSTANTIATE_TEST_SUITE_P(MainFormOnTaskBar, TaskbarProtocol, testing::Bool());

TEST(TaskbarProgress, ActivatingASecondComponentResetsTheButtonFirst) {
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  TMainFormScope Main(true);
  const HWND Button = Main.Form()->Handle();
  AnnounceButton(Button);
  TOwned<TdxTaskbarProgress> First = NewTaskbarProgress();
  TOwned<TdxTaskbarProgress> Second = NewTaskbarProgress();
  First->SetActive(true);
  Second->SetState(tbpsPaused);
  Second->SetPosition(5);
  Second->SetTotal(8);
  Taskbar.Calls.clear();

  Second->SetActive(true);
  EXPECT_FALSE(First->Active());
  EXPECT_TRUE(Second->Active());
  EXPECT_EQ(Taskbar.Calls, (std::vector{StateCall(Button, NoProgress), StateCall(Button, Paused),
                                        ValueCall(Button, 5, 8)}));
}

TEST(TaskbarProgress, EachStateSendsItsFlagAndOnlyTheDeterminateOnesAValue) {
  struct TCase {
    TdxTaskbarProgressState State;
    std::vector<TTaskbarCall> (*Expected)(HWND);
  };
  const TCase Cases[] = {
      {tbpsNoProgress, [](HWND W) { return std::vector{StateCall(W, NoProgress)}; }},
      {tbpsIndeterminate, [](HWND W) { return std::vector{StateCall(W, Indeterminate)}; }},
      {tbpsNormal,
       [](HWND W) {
         return std::vector{StateCall(W, Normal), ValueCall(W, 3, 9)};
       }},
      {tbpsError,
       [](HWND W) {
         return std::vector{StateCall(W, Error), ValueCall(W, 3, 9)};
       }},
      {tbpsPaused,
       [](HWND W) {
         return std::vector{StateCall(W, Paused), ValueCall(W, 3, 9)};
       }},
  };
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  TMainFormScope Main(true);
  const HWND Button = Main.Form()->Handle();
  AnnounceButton(Button);
  for (const TCase& C : Cases) {
    TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
    P->SetPosition(3);
    P->SetTotal(9);
    P->SetState(C.State);
    Taskbar.Calls.clear();
    P->SetActive(true);
    EXPECT_EQ(Taskbar.Calls, C.Expected(Button)) << "state " << C.State;
    P->SetActive(false);
  }
}

TEST(TaskbarProgress, ANewMainWindowIsWaitedForAgain) {
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  TMainFormScope Main(true);
  AnnounceButton(Main.Form()->Handle());
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetActive(true);
  Main.Form()->RecreateWnd();
  Main.Form()->HandleNeeded();
  Application()->ProcessMessages();
  const HWND Button = Main.Form()->Handle();
  ASSERT_EQ(TaskbarProgressManager()->MainWindow(), Button);
  Taskbar.Calls.clear();
  P->SetPosition(40);
  EXPECT_TRUE(Taskbar.Calls.empty());
  AnnounceButton(Button);
  EXPECT_EQ(Taskbar.Calls, (std::vector{StateCall(Button, Normal), ValueCall(Button, 40, 100)}));
}

TEST(TaskbarProgress, WithoutAMainWindowNothingIsSent) {
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  {
    TMainFormScope Main(true);
    AnnounceButton(Main.Form()->Handle());
  }
  // The main form stands on the taskbar, but there is none any more.
  const bool Was = Application()->MainFormOnTaskBar();
  Application()->SetMainFormOnTaskBar(true);
  auto Restore = Finally([&] { Application()->SetMainFormOnTaskBar(Was); });
  ASSERT_EQ(dxTaskbarProgressMainWindow(), nullptr);
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetActive(true);
  P->SetPosition(9);
  P->SetActive(false);
  EXPECT_TRUE(Taskbar.Calls.empty()) << Taskbar.Calls.front();
}

TEST(TaskbarProgress, NegativeAmountsAreStoredAsZero) {
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetPosition(-5);
  P->SetTotal(-1);
  EXPECT_EQ(P->Position(), 0);
  EXPECT_EQ(P->Total(), 0);
  P->SetPosition(std::numeric_limits<Int64>::min());
  EXPECT_EQ(P->Position(), 0);
}

// ---------------------------------------------------------------------------
// Start-up

TEST(TaskbarProgressStartUp, WithoutTheTaskbarsProgressTheProgramStartsAndKeepsTheValues) {
  struct TCase {
    const char* Name;
    HRESULT FactoryResult;
    bool OffersTaskbarList, OffersProgress;
    HRESULT HrInitResult;
    bool Connected;
  };
  const TCase Cases[] = {
      {"no taskbar object", REGDB_E_CLASSNOTREG, true, true, S_OK, false},
      {"no ITaskbarList", S_OK, false, false, S_OK, false},
      {"no ITaskbarList3", S_OK, true, false, S_OK, false},
      {"HrInit fails", S_OK, true, true, E_FAIL, false},
      {"the whole taskbar", S_OK, true, true, S_OK, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TFakeTaskbar Taskbar;
    Taskbar.OffersTaskbarList = C.OffersTaskbarList;
    Taskbar.OffersProgress = C.OffersProgress;
    Taskbar.HrInitResult = C.HrInitResult;
    {
      TScriptedTaskbarScope Scope(Taskbar, C.FactoryResult);
      ASSERT_NE(dxTaskbarProgressSink(), nullptr);
      EXPECT_EQ(dxTaskbarProgressSink()->Connected(), C.Connected);
      EXPECT_EQ(dxTaskButtonCreatedMessageID() != 0, C.Connected);
      TMainFormScope Main(true);
      AnnounceButton(Main.Form()->Handle());
      TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
      P->SetActive(true);
      P->SetState(tbpsPaused);
      P->SetPosition(12);
      P->SetTotal(34);
      EXPECT_TRUE(P->Active());
      EXPECT_EQ(P->State(), tbpsPaused);
      EXPECT_EQ(P->Position(), 12);
      EXPECT_EQ(P->Total(), 34);
      EXPECT_EQ(!Taskbar.Calls.empty(), C.Connected);
      P->SetActive(false);
    }
    // Every reference the module took is given back.
    EXPECT_EQ(Taskbar.RefCount, 1);
  }
}

TEST(TaskbarProgressStartUp, StartsWithThePlatformsTaskbarAsItIs) {
  // The environment started the module as the program does; whatever the
  // platform offers, components work and calls do not fail.
  ASSERT_NE(dxTaskbarProgressSink(), nullptr);
  std::cout << "platform taskbar progress: "
            << (dxTaskbarProgressSink()->Connected() ? "connected" : "none") << "\n";
  TMainFormScope Main(true);
  AnnounceButton(Main.Form()->Handle());
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetActive(true);
  P->SetState(tbpsNormal);
  P->SetPosition(50);
  EXPECT_EQ(P->Position(), 50);
  P->SetActive(false);
  EXPECT_FALSE(P->Active());
}

// ---------------------------------------------------------------------------
// The link with a progress bar

TEST(TaskbarProgressLink, TheComponentTakesTheBarsAmountsWhenLinkedAndOnEveryChange) {
  TOwned<TFakeProgressBar> Bar(Create<TFakeProgressBar>(nullptr));
  Bar->SetMin(10);
  Bar->SetMax(60);
  Bar->SetPosition(35);
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetLinkedComponent(Bar.get());
  ASSERT_EQ(P->LinkedComponent(), Bar.get());
  EXPECT_EQ(P->Position(), 25);
  EXPECT_EQ(P->Total(), 50);
  EXPECT_EQ(P->State(), tbpsNormal);
  EXPECT_TRUE(Bar->Writes.empty());

  struct TCase {
    Double Min, Max, Position;
    Int64 ExpectedPosition, ExpectedTotal;
  };
  const TCase Cases[] = {
      {0, 100, 42.5, 42, 100},  // halves to even
      {0, 100, 43.5, 44, 100},  // halves to even
      {-20, 20, -20, 0, 40},    // a negative range
      {5, 5, 2, 0, 0},          // below the minimum: no negative amounts
      {0, 1e30, 1e25, std::numeric_limits<Int64>::max(), std::numeric_limits<Int64>::max()},
  };
  for (const TCase& C : Cases) {
    Bar->SetMax(C.Max);
    Bar->SetMin(C.Min);
    Bar->SetPosition(C.Position);
    EXPECT_EQ(P->Position(), C.ExpectedPosition) << C.Min << ".." << C.Max << " at " << C.Position;
    EXPECT_EQ(P->Total(), C.ExpectedTotal) << C.Min << ".." << C.Max;
  }
}

TEST(TaskbarProgressLink, TheBarsMarqueeDecidesBetweenIndeterminateAndTheOtherStates) {
  struct TCase {
    TdxTaskbarProgressState Before;
    bool Marquee;
    TdxTaskbarProgressState After;
  };
  const TCase Cases[] = {
      {tbpsNormal, true, tbpsIndeterminate},
      {tbpsError, true, tbpsIndeterminate},
      {tbpsPaused, true, tbpsIndeterminate},
      {tbpsIndeterminate, false, tbpsNormal},
      {tbpsError, false, tbpsError},
      {tbpsPaused, false, tbpsPaused},
      {tbpsNoProgress, true, tbpsNoProgress},
      {tbpsNoProgress, false, tbpsNoProgress},
      {tbpsIndeterminate, true, tbpsIndeterminate},
  };
  for (const TCase& C : Cases) {
    TOwned<TFakeProgressBar> Bar(Create<TFakeProgressBar>(nullptr));
    TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
    P->SetLinkedComponent(Bar.get());
    P->SetState(C.Before);
    Bar->SetMarquee(C.Marquee);
    Bar->SetPosition(12);  // a change notice whatever the marquee did
    EXPECT_EQ(P->State(), C.After) << "from " << C.Before << " with marquee " << C.Marquee;
  }
}

TEST(TaskbarProgressLink, TheComponentWritesMarqueeMaxAndTheUnclampedEditValueIntoTheBar) {
  TOwned<TFakeProgressBar> Bar(Create<TFakeProgressBar>(nullptr));
  Bar->SetMin(10);
  Bar->SetMax(60);
  Bar->SetPosition(35);
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetLinkedComponent(Bar.get());

  P->SetState(tbpsIndeterminate);
  EXPECT_TRUE(Bar->Marquee());
  EXPECT_EQ(P->State(), tbpsIndeterminate);
  EXPECT_EQ(Bar->Writes, (std::vector<String>{L"Marquee", L"Max", L"EditValue"}));

  // The bar's notices of these writes are the component's own: its amounts
  // stay as set.
  P->SetPosition(30);
  EXPECT_EQ(P->Position(), 30);
  EXPECT_EQ(Bar->Position(), 40);
  P->SetTotal(20);
  EXPECT_EQ(Bar->Max(), 30);
  EXPECT_EQ(Bar->Position(), 40) << "the edit value is not clamped";
  EXPECT_EQ(P->Position(), 30);

  // No progress leaves the marquee alone but still writes Max and the value.
  Bar->Writes.clear();
  P->SetState(tbpsNoProgress);
  EXPECT_TRUE(Bar->Marquee());
  EXPECT_EQ(Bar->Writes, (std::vector<String>{L"Max", L"EditValue"}));
  P->SetState(tbpsNormal);
  EXPECT_FALSE(Bar->Marquee());
}

TEST(TaskbarProgressLink, TheLinkedBarShowsOnTheTaskbar) {
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  TMainFormScope Main(true);
  const HWND Button = Main.Form()->Handle();
  AnnounceButton(Button);
  TOwned<TFakeProgressBar> Bar(Create<TFakeProgressBar>(nullptr));
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetLinkedComponent(Bar.get());
  P->SetState(tbpsIndeterminate);
  P->SetActive(true);
  // As the progress window refreshes: marquee off, range, position.
  Taskbar.Calls.clear();
  Bar->SetMarquee(false);
  Bar->SetMax(200);
  Bar->SetPosition(50);
  EXPECT_EQ(P->State(), tbpsNormal);
  EXPECT_EQ(Taskbar.Calls.back(), ValueCall(Button, 50, 200));
  EXPECT_EQ(Taskbar.Calls.front(), StateCall(Button, Normal));
}

TEST(TaskbarProgressLink, OnlyProgressBarsAreLinkedAndAFreedBarIsUnlinked) {
  TOwned<TTaskbarTestOther> Other(Create<TTaskbarTestOther>(nullptr));
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetLinkedComponent(Other.get());
  EXPECT_EQ(P->LinkedComponent(), nullptr);

  TOwned<TFakeProgressBar> Bar(Create<TFakeProgressBar>(nullptr));
  P->SetLinkedComponent(Bar.get());
  ASSERT_EQ(Bar->Listeners.size(), 1u);
  // Linking something else unlinks the bar.
  P->SetLinkedComponent(Other.get());
  EXPECT_EQ(P->LinkedComponent(), nullptr);
  EXPECT_TRUE(Bar->Listeners.empty());

  P->SetLinkedComponent(Bar.get());
  Bar.reset();
  EXPECT_EQ(P->LinkedComponent(), nullptr);
  P->SetPosition(7);  // nothing left to write into
  EXPECT_EQ(P->Position(), 7);
}

TEST(TaskbarProgressLink, AFreedComponentLeavesNoListenerWithItsBar) {
  TOwned<TFakeProgressBar> Bar(Create<TFakeProgressBar>(nullptr));
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetLinkedComponent(Bar.get());
  P.reset();
  EXPECT_TRUE(Bar->Listeners.empty());
  Bar->SetPosition(20);  // would reach the freed component
}

// ---------------------------------------------------------------------------
// Streaming

TEST(TaskbarProgressStreaming, DefaultsAreNotStoredAndPositionAlwaysIs) {
  RegisterTestClasses();
  struct TCase {
    const char* Name;
    void (*Setup)(TdxTaskbarProgress*);
    std::vector<const char*> Present, Absent;
  };
  const TCase Cases[] = {
      {"defaults", [](TdxTaskbarProgress*) {}, {"Position = 0"}, {"Total", "State", "Active"}},
      {"changed",
       [](TdxTaskbarProgress* P) {
         P->SetTotal(7);
         P->SetState(tbpsPaused);
         P->SetPosition(3);
       },
       {"Position = 3", "Total = 7", "State = tbpsPaused"},
       {"Active"}},
  };
  for (const TCase& C : Cases) {
    TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
    P->SetName(L"TaskbarProgress1");
    C.Setup(P.get());
    const std::string Text = FormResourceText(P.get());
    for (const char* S : C.Present) EXPECT_NE(Text.find(S), std::string::npos) << C.Name << Text;
    for (const char* S : C.Absent) EXPECT_EQ(Text.find(S), std::string::npos) << C.Name << Text;
  }
}

TEST(TaskbarProgressStreaming, AFormLinksItsBarAndActivatesAfterLoading) {
  RegisterTestClasses();
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  TMainFormScope Main(true);
  const HWND Button = Main.Form()->Handle();
  AnnounceButton(Button);
  Taskbar.Calls.clear();
  TOwned<TTaskbarTestRoot> Root = ReadFormResourceText<TTaskbarTestRoot>(
      "object Root: TTaskbarTestRoot\n"
      "  object TaskbarProgress1: TdxTaskbarProgress\n"
      "    Active = True\n"
      "    LinkedComponent = Bar1\n"
      "    Position = 0\n"
      "  end\n"
      "  object Bar1: TFakeProgressBar\n"
      "    Min = 10.0\n"
      "    Max = 60.0\n"
      "    Position = 35.0\n"
      "  end\n"
      "end\n");
  auto* P = As<TdxTaskbarProgress>(Root->FindComponent(L"TaskbarProgress1"));
  EXPECT_EQ(P->LinkedComponent(), Root->FindComponent(L"Bar1"));
  EXPECT_TRUE(P->Active());
  EXPECT_EQ(P->Position(), 25);
  EXPECT_EQ(P->Total(), 50);
  EXPECT_EQ(Taskbar.Calls, (std::vector{StateCall(Button, Normal), ValueCall(Button, 25, 50)}));
  P->SetActive(false);
}

TEST(TaskbarProgressStreaming, AFormThatLinksSomethingElseLoadsWithoutALink) {
  RegisterTestClasses();
  TOwned<TTaskbarTestRoot> Root = ReadFormResourceText<TTaskbarTestRoot>(
      "object Root: TTaskbarTestRoot\n"
      "  object Other1: TTaskbarTestOther\n"
      "  end\n"
      "  object TaskbarProgress1: TdxTaskbarProgress\n"
      "    LinkedComponent = Other1\n"
      "    Position = 4\n"
      "  end\n"
      "end\n");
  auto* P = As<TdxTaskbarProgress>(Root->FindComponent(L"TaskbarProgress1"));
  EXPECT_EQ(P->LinkedComponent(), nullptr);
  EXPECT_EQ(P->Position(), 4);
}

// ---------------------------------------------------------------------------
// The library's own progress bar on the other end of the link

TEST(TaskbarProgressWithABar, TheBarsRangeAndMarqueeReachTheTaskbar) {
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  TMainFormScope Main(true);
  const HWND Button = Main.Form()->Handle();
  AnnounceButton(Button);
  TcxProgressBar* Bar = Create<TcxProgressBar>(Main.Form());
  Bar->SetParent(Main.Form());
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetLinkedComponent(Bar);
  P->SetActive(true);
  Taskbar.Calls.clear();
  Bar->GetProperties()->SetMax(60);
  Bar->GetProperties()->SetMin(10);
  Bar->SetPosition(35);
  EXPECT_EQ(P->Position(), 25);
  EXPECT_EQ(P->Total(), 50);
  EXPECT_EQ(Taskbar.Calls.back(), ValueCall(Button, 25, 50));
  Bar->GetProperties()->SetMarquee(true);
  EXPECT_EQ(P->State(), tbpsIndeterminate);
  EXPECT_EQ(Taskbar.Calls.back(), StateCall(Button, Indeterminate));
  P->SetActive(false);
  P.reset();
  // The freed component left no listener behind.
  Bar->SetPosition(40);
}

TEST(TaskbarProgressWithABar, AFreedBarUnlinksItself) {
  TOwned<TcxProgressBar> Bar(Create<TcxProgressBar>(nullptr));
  TOwned<TdxTaskbarProgress> P = NewTaskbarProgress();
  P->SetLinkedComponent(Bar.get());
  EXPECT_EQ(P->LinkedComponent(), Bar.get());
  Bar.reset();
  EXPECT_EQ(P->LinkedComponent(), nullptr);
}

// The progress window as its form resource gives it: the bar, then the
// window's refreshes in their order (marquee, range, position, text) while
// the job runs, and marquee again at its end.
TEST(TaskbarProgressWithABar, TheProgressWindowsBarFromItsFormResource) {
  RegisterClasses({TForm::StaticClass()});
  TFakeTaskbar Taskbar;
  TScriptedTaskbarScope Scope(Taskbar);
  TMainFormScope Main(true);
  const HWND Button = Main.Form()->Handle();
  AnnounceButton(Button);
  const std::string Text =
      "object Form1: TForm\n"
      "  ClientWidth = 504\n  ClientHeight = 173\n  Color = clBtnFace\n"
      "  Font.Name = 'Tahoma'\n  Font.Height = -11\n"
      "  object ProgressBar: TcxProgressBar\n"
      "    Left = 21\n    Top = 98\n"
      "    Properties.AnimationSpeed = 3\n"
      "    Properties.BarStyle = cxbsAnimation\n"
      "    Properties.BeginColor = 54056\n"
      "    Properties.PeakSize = 3\n"
      "    Properties.PeakValue = 33.000000000000000000\n"
      "    Properties.ShowTextStyle = cxtsText\n"
      "    TabOrder = 1\n    Width = 460\n"
      "  end\n"
      "  object dxTaskbarProgress: TdxTaskbarProgress\n"
      "    Position = 0\n"
      "  end\n"
      "end\n";
  TOwned<TMemoryStream> In = MakeOwned<TMemoryStream>();
  In->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
  In->SetPosition(0);
  TOwned<TMemoryStream> Bin = MakeOwned<TMemoryStream>();
  ObjectTextToBinary(In.get(), Bin.get());
  Bin->SetPosition(0);
  TOwned<TComponent> Root(ReadComponentFromStream(Bin.get(), nullptr));
  auto* Form = As<TForm>(Root.get());
  auto* Bar = As<TcxProgressBar>(Form->FindComponent(L"ProgressBar"));
  auto* P = As<TdxTaskbarProgress>(Form->FindComponent(L"dxTaskbarProgress"));
  TcxProgressBarProperties* Props = Bar->GetProperties();
  // The stored colour wins over the animation style's own.
  EXPECT_EQ(Props->GetBeginColor(), 0x0000D328);
  EXPECT_EQ(Props->GetBarStyle(), cxbsAnimation);
  EXPECT_EQ(Props->GetAnimationSpeed(), 3);
  EXPECT_EQ(Props->GetPeakSize(), 3);
  EXPECT_EQ(Props->GetShowTextStyle(), cxtsText);
  EXPECT_EQ(Bar->Width(), 460);
  Form->Show();
  Application()->ProcessMessages();
  // Auto-sized: the frame and one line of the form's font.
  TcxScreenCanvas* C = cxScreenCanvas();
  C->SetFont(Bar->GetEditStyle()->GetVisibleFont());
  const Integer Line = C->TextHeight(L"Wg");
  C->Dormant();
  EXPECT_GT(Bar->Height(), Line);
  EXPECT_LE(Bar->Height(), Line + 10);

  P->SetLinkedComponent(Bar);
  P->SetState(tbpsIndeterminate);
  P->SetActive(true);
  auto Refresh = [&](bool AMarquee, Double AMax, Double APos, const wchar_t* AText) {
    Props->SetMarquee(AMarquee);
    Props->SetMin(0);
    Props->SetMax(AMax);
    Bar->SetPosition(APos);
    Props->SetShowTextStyle(cxtsText);
    Props->SetShowText(true);
    Props->SetText(AText);
  };
  Refresh(true, 100, 0, L"counting");
  EXPECT_EQ(P->State(), tbpsIndeterminate);
  EXPECT_EQ(Bar->ViewInfo()->GetDrawText(), L"counting");
  ASSERT_NE(Bar->ViewInfo()->AnimationTimer(), nullptr);
  Taskbar.Calls.clear();
  for (Integer I = 1; I <= 3; ++I) Refresh(false, 8, I, L"item");
  EXPECT_EQ(Bar->GetPosition(), 3);
  EXPECT_EQ(Props->GetMax(), 8);
  EXPECT_EQ(P->State(), tbpsNormal);
  EXPECT_EQ(Taskbar.Calls.back(), ValueCall(Button, 3, 8));
  EXPECT_EQ(Bar->ViewInfo()->GetDrawText(), L"item");
  // The time estimate reads the maximum and the position.
  EXPECT_EQ(Props->GetMax(), 8);
  // SetMax(0) at the end: marquee, range and position kept.
  Props->SetMarquee(true);
  EXPECT_EQ(P->State(), tbpsIndeterminate);
  EXPECT_EQ(Bar->GetPosition(), 3);
  P->SetActive(false);
}

}  // namespace
