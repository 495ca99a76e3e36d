#include <functional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "dxOffice11.h"
#include "dxSkinsCore.h"

namespace {

using TValues = TcxLookAndFeelValues;

// The root is shared by the whole run: every test leaves it as it found it.
class LookAndFeel : public ::testing::Test {
 protected:
  void TearDown() override {
    RootLookAndFeel()->Reset();
    cxSetUseSkins(true);
  }
  static TOwned<TcxLookAndFeel> NewLookAndFeel() {
    return TOwned<TcxLookAndFeel>(Create<TcxLookAndFeel>(nullptr));
  }
};

String NameOf(TcxCustomLookAndFeelPainter* APainter) {
  return APainter ? APainter->LookAndFeelName() : String(L"(none)");
}

// ---------------------------------------------------------------------------
// Resolution
struct TResolutionCase {
  const char* Name;
  // Sets up the object under test, its explicit master and the root.
  std::function<void(TcxLookAndFeel* AObject, TcxLookAndFeel* AMaster, TcxLookAndFeel* ARoot)>
      Arrange;
  TcxLookAndFeelKind Kind;
  bool NativeStyle;
  const wchar_t* PainterWithStyles;
  const wchar_t* PainterWithoutStyles;
};

const TResolutionCase ResolutionCases[] = {
    {"defaults", [](auto, auto, auto) {}, lfUltraFlat, true, L"Native", L"UltraFlat"},
    {"own kind, native off",
     [](TcxLookAndFeel* O, auto, auto) {
       O->SetNativeStyle(false);
       O->SetKind(lfStandard);
     },
     lfStandard, false, L"Standard", L"Standard"},
    {"own kind, native inherited", [](TcxLookAndFeel* O, auto, auto) { O->SetKind(lfStandard); },
     lfStandard, true, L"Native", L"Standard"},
    {"from the explicit master",
     [](TcxLookAndFeel* O, TcxLookAndFeel* M, auto) {
       M->SetNativeStyle(false);
       M->SetKind(lfStandard);
       O->SetMasterLookAndFeel(M);
     },
     lfStandard, false, L"Standard", L"Standard"},
    {"own value before the master's",
     [](TcxLookAndFeel* O, TcxLookAndFeel* M, auto) {
       M->SetNativeStyle(false);
       M->SetKind(lfStandard);
       O->SetMasterLookAndFeel(M);
       O->SetKind(lfUltraFlat);
     },
     lfUltraFlat, false, L"UltraFlat", L"UltraFlat"},
    {"from the root",
     [](auto, auto, TcxLookAndFeel* R) {
       R->SetNativeStyle(false);
       R->SetKind(lfStandard);
     },
     lfStandard, false, L"Standard", L"Standard"},
    {"the Office 11 kind",
     [](TcxLookAndFeel* O, auto, auto) {
       O->SetNativeStyle(false);
       O->SetKind(lfOffice11);
     },
     lfOffice11, false, L"Office11", L"Office11"},
    {"the Flat kind",
     [](TcxLookAndFeel* O, auto, auto) {
       O->SetNativeStyle(false);
       O->SetKind(lfFlat);
     },
     lfFlat, false, L"Flat", L"Flat"},
    {"a skin named like a painter, in any ASCII case",
     [](TcxLookAndFeel* O, auto, auto) {
       O->SetNativeStyle(false);
       O->SetSkinName(L"sTANDARD");
     },
     lfUltraFlat, false, L"Standard", L"Standard"},
    {"skins switched off",
     [](TcxLookAndFeel* O, auto, auto) {
       cxSetUseSkins(false);
       O->SetNativeStyle(false);
       O->SetSkinName(L"Standard");
     },
     lfUltraFlat, false, L"UltraFlat", L"UltraFlat"},
};

TEST_F(LookAndFeel, ResolvesOwnValueMasterRootAndDefaults) {
  for (bool Styles : {true, false}) {
    TFakeThemeScope Themes(Styles);
    for (const TResolutionCase& C : ResolutionCases) {
      SCOPED_TRACE(std::string(C.Name) + (Styles ? " (visual styles)" : " (no visual styles)"));
      TOwned<TcxLookAndFeel> Master = NewLookAndFeel();
      TOwned<TcxLookAndFeel> Object = NewLookAndFeel();
      C.Arrange(Object.get(), Master.get(), RootLookAndFeel());
      EXPECT_EQ(Object->GetKind(), C.Kind);
      EXPECT_EQ(Object->GetNativeStyle(), C.NativeStyle);
      EXPECT_EQ(NameOf(Object->Painter()),
                String(Styles ? C.PainterWithStyles : C.PainterWithoutStyles));
      Object.reset();
      Master.reset();
      RootLookAndFeel()->Reset();
      cxSetUseSkins(true);
    }
  }
}

TEST_F(LookAndFeel, AKindWithoutARegisteredPainterResolvesToNone) {
  TOwned<TcxLookAndFeel> Object = NewLookAndFeel();
  {
    TPainterAbsence<TcxOffice11LookAndFeelPainter> NoOffice11;
    Object->SetNativeStyle(false);
    Object->SetKind(lfOffice11);
    EXPECT_EQ(NameOf(Object->Painter()), String(L"(none)"));
  }
  // Registering the painter again resolves the object anew.
  EXPECT_EQ(NameOf(Object->Painter()), String(L"Office11"));
}

TEST_F(LookAndFeel, RootAnswersTheFixedDefaults) {
  TcxLookAndFeel* Root = RootLookAndFeel();
  ASSERT_NE(Root, nullptr);
  EXPECT_TRUE(Root->IsRootLookAndFeel());
  EXPECT_EQ(Root->GetMasterLookAndFeel(), nullptr);
  EXPECT_EQ(Root->GetKind(), lfUltraFlat);
  EXPECT_TRUE(Root->GetNativeStyle());
  EXPECT_EQ(Root->GetSkinName(), L"");
  EXPECT_EQ(Root->GetScrollbarMode(), sbmDefault);
  EXPECT_EQ(Root->SkinPainter(), nullptr);
  // Wine's theme is active in the test prefix.
  EXPECT_EQ(NameOf(Root->Painter()), AreVisualStylesAvailable() ? L"Native" : L"UltraFlat");
  TOwned<TcxLookAndFeel> Object = NewLookAndFeel();
  EXPECT_EQ(Object->GetMasterLookAndFeel(), Root);
  Root->SetMasterLookAndFeel(Object.get());  // ignored on the root
  EXPECT_EQ(Root->GetMasterLookAndFeel(), nullptr);
}

TEST_F(LookAndFeel, SkinPainterAndActiveStyle) {
  TFakeThemeScope Themes(true);
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  O->SetSkinName(L"Standard");
  // The native style wins over a skin.
  EXPECT_EQ(O->SkinPainter(), nullptr);
  EXPECT_EQ(O->GetActiveStyle(), lfsNative);
  O->SetNativeStyle(false);
  EXPECT_EQ(O->SkinPainter(), StandardPainter());
  EXPECT_EQ(O->GetActiveStyle(), lfsSkin);
  EXPECT_EQ(O->GetAvailablePainter(totButton), StandardPainter());
  // A name that no painter has gives no skin painter.
  O->SetSkinName(L"Stand\u00E4rd");
  EXPECT_EQ(O->SkinPainter(), nullptr);
  EXPECT_EQ(O->GetActiveStyle(), lfsUltraFlat);
}

TEST_F(LookAndFeel, AvailablePainterForClassesThatDoNotOpen) {
  TFakeThemeScope Themes(true, {L"TreeView"});
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  EXPECT_EQ(O->GetAvailablePainter(totButton), NativePainter());
  // The active style is still native (the theme is on); the Native painter
  // draws the tree-view elements the Standard way.
  EXPECT_EQ(O->GetAvailablePainter(totTreeview), NativePainter());
  O->SetNativeStyle(false);
  O->SetSkinName(L"Standard");
  EXPECT_EQ(O->GetAvailablePainter(totTreeview), StandardPainter());
  EXPECT_EQ(O->GetAvailablePainter(totButton), StandardPainter());
}

// ---------------------------------------------------------------------------
// Changes and their notification
struct TChangeLog {
  std::vector<TValues> Changes;
  std::vector<String> Events;
  void Changed(TcxLookAndFeel*, TValues AValues) {
    Changes.push_back(AValues);
    Events.push_back(L"changed");
  }
  void Begin(TObject*) { Events.push_back(L"begin"); }
  void End(TObject*) { Events.push_back(L"end"); }
  void Listen(TcxLookAndFeel* A) {
    A->SetOnChanged(MakeEvent<&TChangeLog::Changed>(this));
    A->SetOnMasterBeginChange(MakeEvent<&TChangeLog::Begin>(this));
    A->SetOnMasterEndChange(MakeEvent<&TChangeLog::End>(this));
  }
};

TEST_F(LookAndFeel, SettingTheResolvedValueAssignsWithoutNotice) {
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  TChangeLog Log;
  Log.Listen(O.get());
  O->SetKind(lfUltraFlat);
  EXPECT_TRUE(O->AssignedValues().Contains(lfvKind));
  EXPECT_TRUE(Log.Changes.empty());
  O->SetScrollbarMode(sbmClassic);
  ASSERT_EQ(Log.Changes.size(), 1u);
  EXPECT_EQ(Log.Changes[0], (TValues{lfvScrollbarMode}));
  // Dropping the assignments brings back what the root resolves.
  O->SetAssignedValues(TValues());
  ASSERT_EQ(Log.Changes.size(), 2u);
  EXPECT_EQ(Log.Changes[1], (TValues{lfvScrollbarMode}));
  EXPECT_EQ(O->GetScrollbarMode(), sbmDefault);
}

TEST_F(LookAndFeel, AnUpdateRaisesOneChangeWithTheUnion) {
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  TChangeLog Log;
  Log.Listen(O.get());
  O->BeginUpdate();
  O->SetNativeStyle(false);
  O->SetKind(lfStandard);
  O->BeginUpdate();
  O->SetScrollbarMode(sbmTouch);
  O->EndUpdate();
  EXPECT_TRUE(Log.Changes.empty());
  // The state follows at once; only the notice waits.
  EXPECT_EQ(O->Painter(), StandardPainter());
  EXPECT_EQ(O->GetScrollbarMode(), sbmTouch);
  O->EndUpdate();
  ASSERT_EQ(Log.Changes.size(), 1u);
  EXPECT_EQ(Log.Changes[0], (TValues{lfvKind, lfvNativeStyle, lfvScrollbarMode}));
  O->EndUpdate();  // unbalanced: nothing happens
  EXPECT_EQ(Log.Changes.size(), 1u);
}

TEST_F(LookAndFeel, ListenersHearOnlyTheirUnassignedValues) {
  TOwned<TcxLookAndFeel> Master = NewLookAndFeel();
  TOwned<TcxLookAndFeel> Child = NewLookAndFeel();
  Child->SetMasterLookAndFeel(Master.get());
  Child->SetKind(lfStandard);
  TChangeLog Log;
  Log.Listen(Child.get());
  Master->SetKind(lfOffice11);
  EXPECT_TRUE(Log.Changes.empty());
  Master->SetScrollbarMode(sbmHybrid);
  ASSERT_EQ(Log.Changes.size(), 1u);
  EXPECT_EQ(Log.Changes[0], (TValues{lfvScrollbarMode}));
  // The kind's notice brought the wrapping events without a change.
  EXPECT_EQ(Log.Events, (std::vector<String>{L"begin", L"end", L"begin", L"changed", L"end"}));
}

// A look-and-feel that leaves its master from inside the master's notice.
struct TLeaver {
  TcxLookAndFeel* Self = nullptr;
  int Calls = 0;
  void Changed(TcxLookAndFeel*, TValues) {
    if (Calls++ == 0) Self->SetMasterLookAndFeel(nullptr);
  }
};

TEST_F(LookAndFeel, AListenerLeavingDuringTheNoticeDoesNotHideItsSuccessor) {
  TOwned<TcxLookAndFeel> Master = NewLookAndFeel();
  TOwned<TcxLookAndFeel> First = NewLookAndFeel();
  TOwned<TcxLookAndFeel> Second = NewLookAndFeel();
  First->SetMasterLookAndFeel(Master.get());
  Second->SetMasterLookAndFeel(Master.get());
  TLeaver Leaver{First.get()};
  First->SetOnChanged(MakeEvent<&TLeaver::Changed>(&Leaver));
  TChangeLog Log;
  Log.Listen(Second.get());
  Master->SetScrollbarMode(sbmClassic);
  // The master's notice, then its own move back to the root's values.
  EXPECT_EQ(Leaver.Calls, 2);
  ASSERT_EQ(Log.Changes.size(), 1u);
  EXPECT_EQ(First->GetMasterLookAndFeel(), RootLookAndFeel());
  EXPECT_EQ(First->GetScrollbarMode(), sbmDefault);
  EXPECT_EQ(Second->GetScrollbarMode(), sbmClassic);
}

TEST_F(LookAndFeel, AFreedMasterHandsItsListenersToTheRoot) {
  TOwned<TcxLookAndFeel> Master = NewLookAndFeel();
  TOwned<TcxLookAndFeel> Child = NewLookAndFeel();
  Master->SetScrollbarMode(sbmHybrid);
  Child->SetMasterLookAndFeel(Master.get());
  ASSERT_EQ(Child->GetScrollbarMode(), sbmHybrid);
  TChangeLog Log;
  Log.Listen(Child.get());
  Master.reset();
  EXPECT_EQ(Child->GetMasterLookAndFeel(), RootLookAndFeel());
  EXPECT_EQ(Child->GetScrollbarMode(), sbmDefault);
  ASSERT_EQ(Log.Changes.size(), 1u);
  RootLookAndFeel()->SetScrollbarMode(sbmClassic);
  EXPECT_EQ(Child->GetScrollbarMode(), sbmClassic);
}

TEST_F(LookAndFeel, AssignCopiesValuesAndMaster) {
  TOwned<TcxLookAndFeel> Master = NewLookAndFeel();
  TOwned<TcxLookAndFeel> Source = NewLookAndFeel();
  TOwned<TcxLookAndFeel> Dest = NewLookAndFeel();
  Master->SetScrollbarMode(sbmHybrid);
  Source->SetMasterLookAndFeel(Master.get());
  Source->SetNativeStyle(false);
  Source->SetKind(lfStandard);
  TChangeLog Log;
  Log.Listen(Dest.get());
  Dest->Assign(Source.get());
  EXPECT_EQ(Dest->AssignedValues(), (TValues{lfvKind, lfvNativeStyle}));
  EXPECT_EQ(Dest->GetMasterLookAndFeel(), Master.get());
  EXPECT_EQ(Dest->GetScrollbarMode(), sbmHybrid);
  EXPECT_EQ(Dest->Painter(), StandardPainter());
  ASSERT_EQ(Log.Changes.size(), 1u);
  EXPECT_EQ(Log.Changes[0], (TValues{lfvKind, lfvNativeStyle, lfvScrollbarMode}));
  TOwned<TFont> NotALookAndFeel = MakeOwned<TFont>();
  EXPECT_THROW(Dest->Assign(NotALookAndFeel.get()), Exception);
}

TEST_F(LookAndFeel, SetStyle) {
  struct TCase {
    TcxLookAndFeelStyle Style;
    bool NativeStyle;
    TcxLookAndFeelKind Kind;
  };
  const TCase Cases[] = {{lfsSkin, false, lfUltraFlat},
                         {lfsFlat, false, lfFlat},
                         {lfsStandard, false, lfStandard},
                         {lfsOffice11, false, lfOffice11},
                         {lfsUltraFlat, false, lfUltraFlat}};
  for (const TCase& C : Cases) {
    TOwned<TcxLookAndFeel> O = NewLookAndFeel();
    O->SetKind(lfStandard);
    O->SetStyle(C.Style);
    EXPECT_EQ(O->GetNativeStyle(), C.NativeStyle) << C.Style;
    EXPECT_EQ(O->GetKind(), C.Kind) << C.Style;
  }
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  O->SetKind(lfOffice11);
  O->SetStyle(lfsNative);
  EXPECT_TRUE(O->GetNativeStyle());
  EXPECT_EQ(O->GetKind(), lfOffice11);
}

TEST_F(LookAndFeel, TouchScrollUIModeMapsToTheScrollBarMode) {
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  const std::pair<TdxTouchScrollUIMode, TdxScrollbarMode> Cases[] = {
      {tsmEnabled, sbmTouch},
      {tsmDefault, sbmDefault},
      {tsmDisabled, sbmClassic},
      {static_cast<TdxTouchScrollUIMode>(-1), sbmClassic}};
  for (auto [Mode, Expected] : Cases) {
    O->SetTouchScrollUIMode(Mode);
    EXPECT_EQ(O->GetScrollbarMode(), Expected);
  }
  O->SetScrollbarMode(sbmHybrid);
  EXPECT_EQ(O->GetTouchScrollUIMode(), tsmDisabled);
  EXPECT_FALSE(cxIsTouchScrollUIModeEnabled());
  RootLookAndFeel()->SetScrollbarMode(sbmTouch);
  EXPECT_TRUE(cxIsTouchScrollUIModeEnabled());
}

// ---------------------------------------------------------------------------
// Controllers
TEST_F(LookAndFeel, ControllerEditsTheRootAndTheLastOneResetsIt) {
  TOwned<TcxLookAndFeelController> C1(Create<TcxLookAndFeelController>(nullptr));
  TOwned<TcxLookAndFeelController> C2(Create<TcxLookAndFeelController>(nullptr));
  C1->SetNativeStyle(false);
  C1->SetKind(lfStandard);
  C1->SetScrollbarMode(sbmClassic);
  EXPECT_EQ(C2->GetKind(), lfStandard);
  EXPECT_EQ(NameOf(RootLookAndFeel()->Painter()), L"Standard");
  TOwned<TcxLookAndFeel> Other = NewLookAndFeel();
  Other->AddChangeListener(C1.get());  // only the root takes controllers
  Other.reset();
  cxSetUseSkins(false);
  dxSetSkinsUseImageSet(imsAlternate);
  C2->SetTouchMode(true);
  EXPECT_TRUE(cxIsTouchModeEnabled());
  EXPECT_FALSE(cxIsTouchSettingsChanging());
  C1.reset();
  EXPECT_EQ(RootLookAndFeel()->GetKind(), lfStandard);
  C2.reset();
  EXPECT_TRUE(RootLookAndFeel()->AssignedValues().Empty());
  EXPECT_TRUE(cxUseSkins());
  EXPECT_FALSE(cxIsTouchModeEnabled());
  EXPECT_EQ(dxSkinsUseImageSet(), imsDefault);
}

struct TTouchWatch {
  std::vector<bool> ChangingDuringNotice;
  void Changed(TcxLookAndFeel*, TValues) {
    ChangingDuringNotice.push_back(cxIsTouchSettingsChanging());
  }
};

TEST_F(LookAndFeel, TouchModeRefreshesEveryLookAndFeelEvenWithoutAChange) {
  TOwned<TcxLookAndFeelController> C(Create<TcxLookAndFeelController>(nullptr));
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  TTouchWatch Watch;
  O->SetOnChanged(MakeEvent<&TTouchWatch::Changed>(&Watch));
  C->SetTouchMode(true);
  C->SetTouchMode(true);  // unchanged: no refresh
  C->SetTouchMode(false);
  EXPECT_EQ(Watch.ChangingDuringNotice, (std::vector<bool>{true, true}));
}

// ---------------------------------------------------------------------------
// Streaming through the form reader
class TLookAndFeelHolder : public TComponent {
  DECLARE_CLASS(TLookAndFeelHolder, TComponent)
 public:
  explicit TLookAndFeelHolder(TComponent* AOwner)
      : TComponent(AOwner), FLookAndFeel(Create<TcxLookAndFeel>(this)) {}
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }

 private:
  TOwned<TcxLookAndFeel> FLookAndFeel;
};

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TLookAndFeelHolder) {
  P.Property<&TLookAndFeelHolder::LookAndFeel>(L"LookAndFeel");
}

TOwned<TLookAndFeelHolder> ReadHolder(const std::string& AProperties) {
  RegisterClass(TLookAndFeelHolder::StaticClass());
  std::string Text = "object Holder: TLookAndFeelHolder\n" + AProperties + "end\n";
  TOwned<TMemoryStream> In = MakeOwned<TMemoryStream>();
  In->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
  In->SetPosition(0);
  TOwned<TMemoryStream> Binary = MakeOwned<TMemoryStream>();
  ObjectTextToBinary(In.get(), Binary.get());
  Binary->SetPosition(0);
  TOwned<TLookAndFeelHolder> Holder(Create<TLookAndFeelHolder>(nullptr));
  ReadComponentFromStream(Binary.get(), Holder.get());
  return Holder;
}

std::string WrittenText(TComponent* AComponent) {
  TOwned<TMemoryStream> Binary = MakeOwned<TMemoryStream>();
  WriteComponentToStream(Binary.get(), AComponent);
  Binary->SetPosition(0);
  TOwned<TMemoryStream> Text = MakeOwned<TMemoryStream>();
  ObjectBinaryToText(Binary.get(), Text.get());
  return std::string(static_cast<const char*>(Text->Memory()), static_cast<size_t>(Text->Size()));
}

TEST_F(LookAndFeel, StreamsAssignedValuesAndAnAssignedEmptySkinName) {
  TOwned<TLookAndFeelHolder> H = ReadHolder(
      "  LookAndFeel.Kind = lfStandard\n"
      "  LookAndFeel.NativeStyle = False\n"
      "  LookAndFeel.SkinName = ''\n");
  TcxLookAndFeel* L = H->LookAndFeel();
  EXPECT_EQ(L->AssignedValues(), (TValues{lfvKind, lfvNativeStyle, lfvSkinName}));
  EXPECT_EQ(L->GetKind(), lfStandard);
  EXPECT_FALSE(L->GetNativeStyle());
  EXPECT_EQ(L->Painter(), StandardPainter());
  std::string Text = WrittenText(H.get());
  EXPECT_NE(Text.find("LookAndFeel.Kind = lfStandard"), std::string::npos) << Text;
  EXPECT_NE(Text.find("LookAndFeel.NativeStyle = False"), std::string::npos) << Text;
  EXPECT_NE(Text.find("LookAndFeel.SkinName = ''"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("ScrollbarMode"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("AssignedValues"), std::string::npos) << Text;

  // Read back: the same assignments.
  TOwned<TLookAndFeelHolder> Again =
      ReadHolder(Text.substr(Text.find('\n') + 1, Text.rfind("end") - Text.find('\n') - 1));
  EXPECT_EQ(Again->LookAndFeel()->AssignedValues(), L->AssignedValues());
}

TEST_F(LookAndFeel, ANamedSkinIsWrittenOnce) {
  TOwned<TLookAndFeelHolder> H(Create<TLookAndFeelHolder>(nullptr));
  H->LookAndFeel()->SetSkinName(L"Office");
  std::string Text = WrittenText(H.get());
  const std::string Line = "LookAndFeel.SkinName = 'Office'";
  size_t First = Text.find(Line);
  ASSERT_NE(First, std::string::npos) << Text;
  EXPECT_EQ(Text.find("SkinName", First + Line.size()), std::string::npos) << Text;
}

TEST_F(LookAndFeel, ReadsTheLegacyTouchScrollUIMode) {
  const std::pair<const char*, TdxScrollbarMode> Cases[] = {{"tsmEnabled", sbmTouch},
                                                            {"tsmDefault", sbmDefault},
                                                            {"tsmDisabled", sbmClassic},
                                                            {"tsmSomethingElse", sbmClassic}};
  for (auto [Ident, Mode] : Cases) {
    TOwned<TLookAndFeelHolder> H =
        ReadHolder(std::string("  LookAndFeel.TouchScrollUIMode = ") + Ident + "\n");
    EXPECT_EQ(H->LookAndFeel()->GetScrollbarMode(), Mode) << Ident;
    EXPECT_EQ(WrittenText(H.get()).find("TouchScrollUIMode"), std::string::npos);
  }
}

TEST_F(LookAndFeel, ReadsAController) {
  {
    TOwned<TLookAndFeelHolder> H = ReadHolder(
        "  object Controller: TcxLookAndFeelController\n"
        "    Kind = lfStandard\n"
        "    NativeStyle = False\n"
        "    TouchScrollUIMode = True\n"
        "  end\n");
    EXPECT_EQ(RootLookAndFeel()->GetKind(), lfStandard);
    EXPECT_FALSE(RootLookAndFeel()->GetNativeStyle());
    EXPECT_EQ(RootLookAndFeel()->GetScrollbarMode(), sbmTouch);
  }
  // The controller went with its owner, and with it the root's settings.
  EXPECT_TRUE(RootLookAndFeel()->AssignedValues().Empty());
}

// ---------------------------------------------------------------------------
// System colour changes
struct TPaletteLog {
  std::vector<String> Calls;
  TColor SeenDockColor = clNone;
};
TPaletteLog PaletteLog;

class TLoggingNotifier : public TcxSystemPaletteChangedNotifier {
 public:
  TLoggingNotifier(bool APrimary, const wchar_t* AName)
      : TcxSystemPaletteChangedNotifier(APrimary), FName(AName) {}
  void DoChanged() override {
    if (PaletteLog.Calls.empty()) PaletteLog.SeenDockColor = dxOffice11DockColor1;
    PaletteLog.Calls.push_back(FName);
  }

 private:
  const wchar_t* FName;
};

TEST_F(LookAndFeel, SystemColourChangeRefreshesTheSchemeThenPrimaryThenOthers) {
  PaletteLog = TPaletteLog{};
  TOwned<TLoggingNotifier> N1(Create<TLoggingNotifier>(false, L"N1"));
  TOwned<TLoggingNotifier> P1(Create<TLoggingNotifier>(true, L"P1"));
  TOwned<TLoggingNotifier> N2(Create<TLoggingNotifier>(false, L"N2"));
  TOwned<TLoggingNotifier> P2(Create<TLoggingNotifier>(true, L"P2"));
  TOwned<TcxLookAndFeel> O = NewLookAndFeel();
  TChangeLog Log;
  Log.Listen(O.get());
  TColor Before = dxOffice11DockColor1;
  {
    auto Colors = ClassicColors();
    Colors[COLOR_BTNFACE] = RGB(10, 200, 30);
    TInjectedSysColors Inject(Colors);
    SendMessageW(cxSystemPaletteChangedListenerHandle(), WM_SYSCOLORCHANGE, 0, 0);
  }
  EXPECT_EQ(PaletteLog.Calls, (std::vector<String>{L"P2", L"P1", L"N2", L"N1"}));
  EXPECT_NE(PaletteLog.SeenDockColor, Before);
  // Its own notice, then the root's passed on.
  EXPECT_EQ(Log.Changes, (std::vector<TValues>{{lfvNativeStyle}, {lfvNativeStyle}}));
  SendMessageW(cxSystemPaletteChangedListenerHandle(), WM_SYSCOLORCHANGE, 0, 0);
}

TEST_F(LookAndFeel, TheListenerLivesWhileNotifiersDo) {
  // The root holds a notifier for the whole run.
  HWND Window = cxSystemPaletteChangedListenerHandle();
  ASSERT_NE(Window, nullptr);
  {
    TOwned<TcxSystemPaletteChangedNotifier> N(Create<TcxSystemPaletteChangedNotifier>(true));
    EXPECT_EQ(cxSystemPaletteChangedListenerHandle(), Window);
  }
  EXPECT_TRUE(IsWindow(Window));
  EXPECT_TRUE(Office11ColorsHeld());
}

}  // namespace
