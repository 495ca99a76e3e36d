// Editor buttons: their settings, the action link, the collection, and the
// properties' side of buttons and images, in memory and through form
// resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ActnList.h"
#include "Classes.h"
#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "cxEdit.h"
#include "ui/controls/ControlsTestSupport.h"

namespace {

// Properties that publish the buttons and images as the program's button
// editors do.
class TButtonTestProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TButtonTestProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
};

// A component that owns its properties and streams them as editors do.
class TButtonTestHost : public TComponent {
  DECLARE_CLASS(TButtonTestHost, TComponent)
 public:
  using TOwnerType = TComponent;
  explicit TButtonTestHost(TComponent* AOwner) : TComponent(AOwner) {}
  void AfterConstruction() override {
    inherited::AfterConstruction();
    FProperties = MakeOwned<TButtonTestProperties>(this);
  }
  TButtonTestProperties* GetProperties() const { return FProperties.get(); }

 private:
  TOwned<TButtonTestProperties> FProperties;
};

// The root of a form resource: it streams the components it owns.
class TButtonTestRoot : public TComponent {
  DECLARE_CLASS(TButtonTestRoot, TComponent)
 public:
  using TOwnerType = TComponent;
  explicit TButtonTestRoot(TComponent* AOwner) : TComponent(AOwner) {}
};

}  // namespace

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TButtonTestProperties) {
  using T = TButtonTestProperties;
  P.Property<&T::GetButtons, &T::SetButtons>(L"Buttons");
  P.Property<&T::GetImages, &T::SetImages>(L"Images");
}
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TButtonTestHost) {
  P.Property<&TButtonTestHost::GetProperties>(L"Properties");
}
IMPLEMENT_CREATABLE_CLASS(TButtonTestRoot)

namespace {

struct TChangeCounter {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
  void Attach(TcxCustomEditProperties* P) {
    P->SetOnPropertiesChanged(MakeEvent<&TChangeCounter::Changed>(this));
  }
};

TOwned<TButtonTestProperties> NewProperties() {
  return TOwned<TButtonTestProperties>(Create<TButtonTestProperties>(nullptr));
}

void RegisterStreamedClasses() {
  RegisterClasses({TButtonTestHost::StaticClass(), TButtonTestRoot::StaticClass(),
                   TActionList::StaticClass(), TAction::StaticClass(), TImageList::StaticClass()});
}

// The lines between the host's object line and its end.
std::string PropertyLines(TButtonTestHost* AHost) {
  const std::string S = FormResourceText(AHost);
  const size_t From = S.find('\n') + 1;
  const size_t To = S.rfind("end");
  return S.substr(From, To - From);
}

}  // namespace

// ---------------------------------------------------------------------------
// A button's settings

TEST(EditButton, AFreshButtonHasTheDocumentedDefaults) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TcxEditButton* B = P->GetButtons()->Add();
  EXPECT_EQ(B->GetAction(), nullptr);
  EXPECT_EQ(B->GetCaption(), L"");
  EXPECT_EQ(B->GetContentAlignment(), taCenter);
  EXPECT_FALSE(B->GetDefault());
  EXPECT_TRUE(B->GetEnabled());
  EXPECT_EQ(B->GetImageIndex(), -1);
  EXPECT_TRUE(B->GetGlyph()->Empty());
  EXPECT_EQ(B->GetHint(), L"");
  EXPECT_EQ(B->GetKind(), bkDown);
  EXPECT_FALSE(B->GetLeftAlignment());
  EXPECT_TRUE(B->GetStretchable());
  EXPECT_EQ(B->GetTag(), 0);
  EXPECT_EQ(B->GetTextColor(), clBtnText);
  EXPECT_TRUE(B->GetVisible());
  EXPECT_EQ(B->GetWidth(), 0);
}

struct TButtonSetterCase {
  const char* Name;
  void (*Apply)(TcxCustomEditButton*);
  Integer Changes;  // properties changes reported
};

TEST(EditButton, SettersReportOnlyRealChangesToTheProperties) {
  const TButtonSetterCase Cases[] = {
      {"Caption", [](TcxCustomEditButton* B) { B->SetCaption(L"Go"); }, 1},
      {"Caption unchanged", [](TcxCustomEditButton* B) { B->SetCaption(L""); }, 0},
      {"ContentAlignment", [](TcxCustomEditButton* B) { B->SetContentAlignment(taLeftJustify); },
       1},
      {"ContentAlignment unchanged",
       [](TcxCustomEditButton* B) { B->SetContentAlignment(taCenter); }, 0},
      {"Default", [](TcxCustomEditButton* B) { B->SetDefault(true); }, 1},
      {"Enabled", [](TcxCustomEditButton* B) { B->SetEnabled(false); }, 1},
      {"Enabled unchanged", [](TcxCustomEditButton* B) { B->SetEnabled(true); }, 0},
      {"Hint", [](TcxCustomEditButton* B) { B->SetHint(L"Pick"); }, 1},
      {"ImageIndex", [](TcxCustomEditButton* B) { B->SetImageIndex(3); }, 1},
      {"Kind", [](TcxCustomEditButton* B) { B->SetKind(bkEllipsis); }, 1},
      {"Kind unchanged", [](TcxCustomEditButton* B) { B->SetKind(bkDown); }, 0},
      {"LeftAlignment", [](TcxCustomEditButton* B) { B->SetLeftAlignment(true); }, 1},
      {"Stretchable", [](TcxCustomEditButton* B) { B->SetStretchable(false); }, 1},
      {"Tag", [](TcxCustomEditButton* B) { B->SetTag(7); }, 1},
      {"TextColor", [](TcxCustomEditButton* B) { B->SetTextColor(clRed); }, 1},
      {"Visible", [](TcxCustomEditButton* B) { B->SetVisible(false); }, 1},
      {"Width", [](TcxCustomEditButton* B) { B->SetWidth(20); }, 1},
      {"Width unchanged", [](TcxCustomEditButton* B) { B->SetWidth(0); }, 0},
      {"negative Width is refused", [](TcxCustomEditButton* B) { B->SetWidth(-5); }, 0},
  };
  for (const auto& C : Cases) {
    TOwned<TButtonTestProperties> P = NewProperties();
    TcxCustomEditButton* B = P->GetButtons()->Add();
    TChangeCounter Counter;
    Counter.Attach(P.get());
    C.Apply(B);
    EXPECT_EQ(Counter.Count, C.Changes) << C.Name;
  }
}

TEST(EditButton, ANegativeWidthIsRefusedAndRescalingKeepsWidthsSound) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TcxCustomEditButton* B = P->GetButtons()->Add();
  B->SetWidth(20);
  B->SetWidth(-1);
  EXPECT_EQ(B->GetWidth(), 20);
  B->ChangeScale(3, 2);
  EXPECT_EQ(B->GetWidth(), 30);
  B->ChangeScale(1, 0);  // a zero divisor gives -1: refused
  EXPECT_EQ(B->GetWidth(), 30);
  B->ChangeScale(-1, 1);
  EXPECT_EQ(B->GetWidth(), 30);
  B->ChangeScale(2, 3);
  EXPECT_EQ(B->GetWidth(), 20);
}

namespace {
// A small picture for glyphs: red with a blue column.
TOwned<TBitmap> SmallPicture() {
  TOwned<TBitmap> B = MakeOwned<TBitmap>();
  B->SetSize(6, 4);
  B->Canvas()->Brush()->SetColor(clRed);
  B->Canvas()->FillRect(TRect{0, 0, 6, 4});
  B->Canvas()->SetPixel(2, 1, clBlue);
  return B;
}
}  // namespace

TEST(EditButton, SetGlyphCopiesThePictureAndReportsTheChange) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TcxEditButton* B = P->GetButtons()->Add();
  TOwned<TdxSmartGlyph> Glyph(Create<TdxSmartGlyph>());
  TOwned<TBitmap> Picture = SmallPicture();
  Glyph->Assign(Picture.get());
  TChangeCounter Counter;
  Counter.Attach(P.get());
  B->SetGlyph(Glyph.get());
  EXPECT_GE(Counter.Count, 1);
  EXPECT_NE(B->GetGlyph(), Glyph.get());
  EXPECT_FALSE(B->GetGlyph()->Empty());
  EXPECT_EQ(B->GetGlyph()->Width(), 6);
  Glyph->Assign(nullptr);  // the button keeps its copy
  EXPECT_FALSE(B->GetGlyph()->Empty());
  const Integer Before = Counter.Count;
  B->SetGlyph(nullptr);
  EXPECT_TRUE(B->GetGlyph()->Empty());
  EXPECT_GT(Counter.Count, Before);
}

TEST(EditButton, ASecondDefaultButtonClearsTheFirst) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TcxEditButtons* Bs = P->GetButtons();
  TcxEditButton* First = Bs->Add();
  TcxEditButton* Second = Bs->Add();
  First->SetDefault(true);
  TChangeCounter Counter;
  Counter.Attach(P.get());
  Second->SetDefault(true);
  EXPECT_FALSE(First->GetDefault());
  EXPECT_TRUE(Second->GetDefault());
  EXPECT_EQ(Counter.Count, 1);
}

TEST(EditButton, TheVisibleCaptionLosesTheAcceleratorMarks) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TcxEditButton* B = P->GetButtons()->Add();
  B->SetCaption(L"&Open");
  EXPECT_EQ(B->GetCaption(), L"&Open");
  EXPECT_EQ(B->GetVisibleCaption(), L"Open");
  B->SetCaption(L"Save && Close");
  EXPECT_EQ(B->GetVisibleCaption(), L"Save & Close");
}

TEST(EditButton, AssignCopiesEverySettingInOneChange) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TAction> Action(Create<TAction>(nullptr));
  TcxEditButton* Source = P->GetButtons()->Add();
  TcxEditButton* Target = P->GetButtons()->Add();
  Source->SetAction(Action.get());
  Source->SetCaption(L"&Go");
  Source->SetContentAlignment(taRightJustify);
  Source->SetDefault(true);
  Source->SetEnabled(false);
  Source->SetHint(L"Run it");
  Source->SetImageIndex(2);
  Source->SetKind(bkText);
  Source->SetLeftAlignment(true);
  Source->SetStretchable(false);
  Source->SetTag(42);
  Source->SetTextColor(clBlue);
  Source->SetVisible(false);
  Source->SetWidth(17);
  TChangeCounter Counter;
  Counter.Attach(P.get());
  Target->Assign(Source);
  EXPECT_EQ(Counter.Count, 1);
  EXPECT_EQ(Target->GetAction(), Action.get());
  EXPECT_EQ(Target->GetCaption(), L"&Go");
  EXPECT_EQ(Target->GetVisibleCaption(), L"Go");
  EXPECT_EQ(Target->GetContentAlignment(), taRightJustify);
  // The target took Default over, so the source lost it.
  EXPECT_TRUE(Target->GetDefault());
  EXPECT_FALSE(Source->GetDefault());
  EXPECT_FALSE(Target->GetEnabled());
  EXPECT_EQ(Target->GetHint(), L"Run it");
  EXPECT_EQ(Target->GetImageIndex(), 2);
  EXPECT_EQ(Target->GetKind(), bkText);
  EXPECT_TRUE(Target->GetLeftAlignment());
  EXPECT_FALSE(Target->GetStretchable());
  EXPECT_EQ(Target->GetTag(), 42);
  EXPECT_EQ(Target->GetTextColor(), clBlue);
  EXPECT_FALSE(Target->GetVisible());
  EXPECT_EQ(Target->GetWidth(), 17);
  EXPECT_THROW(Target->Assign(P.get()), EConvertError);
}

// ---------------------------------------------------------------------------
// Actions

namespace {
TOwned<TAction> NewAction(const String& ACaption) {
  TOwned<TAction> A(Create<TAction>(nullptr));
  A->SetCaption(ACaption);
  A->SetHint(L"Action hint");
  A->SetImageIndex(4);
  return A;
}
}  // namespace

TEST(EditButtonAction, OutsideLoadingTheActionsStateIsTaken) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TAction> A = NewAction(L"Go");
  A->SetEnabled(false);
  TcxEditButton* B = P->GetButtons()->Add();
  B->SetCaption(L"Stop");
  B->SetAction(A.get());
  EXPECT_EQ(B->GetCaption(), L"Go");
  EXPECT_EQ(B->GetHint(), L"Action hint");
  EXPECT_EQ(B->GetImageIndex(), 4);
  EXPECT_FALSE(B->GetEnabled());
}

TEST(EditButtonAction, AnActionWithoutStateLeavesTheButtonAlone) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TBasicAction> A(Create<TBasicAction>(nullptr));
  TcxEditButton* B = P->GetButtons()->Add();
  B->SetCaption(L"Stop");
  B->SetAction(A.get());
  EXPECT_EQ(B->GetAction(), A.get());
  EXPECT_EQ(B->GetCaption(), L"Stop");
  EXPECT_TRUE(B->IsCaptionStored());
  EXPECT_TRUE(B->IsHintStored());
  String Hint = L"Mine";
  EXPECT_TRUE(B->ActionLink()->PrepareHint(Hint));
  EXPECT_EQ(Hint, L"Mine");
}

TEST(EditButtonAction, AValueFollowsTheActionOnlyWhileItStillEqualsIt) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TAction> A = NewAction(L"Go");
  TcxEditButton* Linked = P->GetButtons()->Add();
  TcxEditButton* Edited = P->GetButtons()->Add();
  Linked->SetAction(A.get());
  Edited->SetAction(A.get());
  Edited->SetCaption(L"Mine");
  Edited->SetHint(L"My hint");
  A->SetCaption(L"Run");
  A->SetHint(L"New hint");
  A->SetVisible(false);
  EXPECT_EQ(Linked->GetCaption(), L"Run");
  EXPECT_EQ(Linked->GetHint(), L"New hint");
  EXPECT_FALSE(Linked->GetVisible());
  EXPECT_EQ(Edited->GetCaption(), L"Mine");
  EXPECT_EQ(Edited->GetHint(), L"My hint");
  EXPECT_FALSE(Edited->GetVisible());
}

TEST(EditButtonAction, AFollowedHintChangesNothingToRepaint) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TAction> A = NewAction(L"Go");
  TcxEditButton* B = P->GetButtons()->Add();
  B->SetAction(A.get());
  TChangeCounter Counter;
  Counter.Attach(P.get());
  A->SetHint(L"Other hint");
  EXPECT_EQ(B->GetHint(), L"Other hint");
  EXPECT_EQ(Counter.Count, 0);
  A->SetCaption(L"Run");
  EXPECT_EQ(Counter.Count, 1);
}

TEST(EditButtonAction, AFreedActionIsDropped) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TAction> A = NewAction(L"Go");
  TcxEditButton* B = P->GetButtons()->Add();
  TcxEditButton* Other = P->GetButtons()->Add();
  B->SetAction(A.get());
  A.reset();
  EXPECT_EQ(B->GetAction(), nullptr);
  EXPECT_EQ(B->ActionLink(), nullptr);
  EXPECT_EQ(Other->GetAction(), nullptr);
  // The caption taken from the action stays.
  EXPECT_EQ(B->GetCaption(), L"Go");
}

TEST(EditButtonAction, ClearingTheActionKeepsTheButtonsValues) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TAction> A = NewAction(L"Go");
  TcxEditButton* B = P->GetButtons()->Add();
  B->SetAction(A.get());
  B->SetAction(nullptr);
  EXPECT_EQ(B->ActionLink(), nullptr);
  EXPECT_EQ(A->ClientCount(), 0);
  EXPECT_EQ(B->GetCaption(), L"Go");
  A->SetCaption(L"Run");
  EXPECT_EQ(B->GetCaption(), L"Go");
}

TEST(EditButtonAction, InitiateActionsUpdatesTheLinkedActions) {
  struct TUpdateCounter {
    Integer Count = 0;
    void Update(TObject*) { ++Count; }
  } Counter;
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TAction> A = NewAction(L"Go");
  A->SetOnUpdate(MakeEvent<&TUpdateCounter::Update>(&Counter));
  P->GetButtons()->Add()->SetAction(A.get());
  P->GetButtons()->Add();
  P->InitiateActions();
  EXPECT_EQ(Counter.Count, 1);
}

struct THintCase {
  const char* Name;
  bool ShowShortCuts;
  TShortCut ShortCut;
  const wchar_t* Hint;
  bool Refuse;  // the action's OnHint refuses
  const wchar_t* Expected;
  bool CanShow;
};

TEST(EditButtonAction, TheHintShowsTheActionsShortcutWhenTheApplicationAsks) {
  struct THintRefuser {
    bool Refuse = false;
    void Hint(String&, bool& CanShow) { CanShow = !Refuse; }
  };
  const TShortCut CtrlO = scCtrl | 'O';
  const String CtrlOText = ShortCutToText(CtrlO);
  ASSERT_FALSE(CtrlOText.empty());
  const String WithKeys = L"Open a file (" + CtrlOText + L")";
  const THintCase Cases[] = {
      {"shortcut shown", true, CtrlO, L"Open a file", false, WithKeys.c_str(), true},
      {"application hides shortcuts", false, CtrlO, L"Open a file", false, L"Open a file", true},
      {"no shortcut", true, 0, L"Open a file", false, L"Open a file", true},
      {"an empty hint stays empty", true, CtrlO, L"", false, L"", true},
      {"a refused hint", true, CtrlO, L"Open a file", true, L"Open a file", false},
  };
  ASSERT_NE(Application(), nullptr);
  const bool Saved = Application()->HintShortCuts();
  for (const auto& C : Cases) {
    TOwned<TButtonTestProperties> P = NewProperties();
    TOwned<TAction> A = NewAction(L"Open");
    THintRefuser Refuser{C.Refuse};
    A->SetOnHint(MakeEvent<&THintRefuser::Hint>(&Refuser));
    A->SetShortCut(C.ShortCut);
    TcxEditButton* B = P->GetButtons()->Add();
    B->SetAction(A.get());
    Application()->SetHintShortCuts(C.ShowShortCuts);
    String Hint = C.Hint;
    EXPECT_EQ(B->ActionLink()->PrepareHint(Hint), C.CanShow) << C.Name;
    EXPECT_EQ(Hint, C.Expected) << C.Name;
  }
  Application()->SetHintShortCuts(Saved);
}

// ---------------------------------------------------------------------------
// The collection and the properties' side

TEST(EditButtons, SupportedOperationsIncludeHotTrackWithAButton) {
  TOwned<TButtonTestProperties> P = NewProperties();
  EXPECT_EQ(P->GetSupportedOperations(), TcxEditSupportedOperations{});
  P->GetButtons()->Add();
  EXPECT_EQ(P->GetSupportedOperations(), TcxEditSupportedOperations{esoHotTrack});
}

TEST(EditButtons, TheVisibleCountLeavesHiddenButtonsOut) {
  TOwned<TButtonTestProperties> P = NewProperties();
  P->GetButtons()->Add();
  P->GetButtons()->Add()->SetVisible(false);
  P->GetButtons()->Add();
  EXPECT_EQ(P->GetButtons()->Count(), 3);
  EXPECT_EQ(P->GetButtons()->GetVisibleCount(), 2);
}

TEST(EditButtons, AddingAndDeletingButtonsReportsAChange) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TChangeCounter Counter;
  Counter.Attach(P.get());
  P->GetButtons()->Add();
  EXPECT_EQ(Counter.Count, 1);
  P->GetButtons()->Delete(0);
  EXPECT_EQ(Counter.Count, 2);
}

TEST(EditButtons, ScalingTheButtonsIsOneChange) {
  TOwned<TButtonTestProperties> P = NewProperties();
  P->GetButtons()->Add()->SetWidth(20);
  P->GetButtons()->Add()->SetWidth(0);
  P->GetButtons()->Add()->SetWidth(15);
  TChangeCounter Counter;
  Counter.Attach(P.get());
  P->GetButtons()->ChangeScale(144, 96);
  EXPECT_EQ(Counter.Count, 1);
  EXPECT_EQ(P->GetButtons()->Items(0)->GetWidth(), 30);
  EXPECT_EQ(P->GetButtons()->Items(1)->GetWidth(), 0);
  EXPECT_EQ(P->GetButtons()->Items(2)->GetWidth(), 23);  // 22.5 rounds half away
}

TEST(EditButtons, ALiveDpiChangeRescalesTheButtonsButNotOneWhileLoading) {
  TOwned<TButtonTestProperties> P = NewProperties();
  TcxEditButton* B = P->GetButtons()->Add();
  B->SetWidth(20);
  P->GetScaleFactor()->Assign(3, 2, true);
  EXPECT_EQ(B->GetWidth(), 20);
  P->GetScaleFactor()->Assign(3, 1, false);  // 3/2 -> 3/1: twice as large
  EXPECT_EQ(B->GetWidth(), 40);
}

TEST(EditButtons, AssignCopiesTheButtonsRescaledToTheTargetsDpi) {
  struct TDpiCase {
    Integer SourceDpi, TargetDpi, Width, Expected;
  };
  const TDpiCase Cases[] = {
      {96, 96, 20, 20}, {96, 144, 20, 30}, {144, 96, 30, 20}, {192, 144, 40, 30}};
  for (const auto& C : Cases) {
    TOwned<TButtonTestProperties> Source = NewProperties();
    TOwned<TButtonTestProperties> Target = NewProperties();
    Source->GetScaleFactor()->Assign(C.SourceDpi, 96, false);
    Target->GetScaleFactor()->Assign(C.TargetDpi, 96, false);
    Target->GetButtons()->Add();
    Target->GetButtons()->Add();
    TcxEditButton* B = Source->GetButtons()->Add();
    B->SetWidth(C.Width);
    B->SetKind(bkEllipsis);
    TChangeCounter Counter;
    Counter.Attach(Target.get());
    Target->Assign(Source.get());
    EXPECT_EQ(Counter.Count, 1) << C.SourceDpi << "->" << C.TargetDpi;
    ASSERT_EQ(Target->GetButtons()->Count(), 1);
    EXPECT_EQ(Target->GetButtons()->Items(0)->GetKind(), bkEllipsis);
    EXPECT_EQ(Target->GetButtons()->Items(0)->GetWidth(), C.Expected)
        << C.SourceDpi << "->" << C.TargetDpi;
    // The source keeps its own.
    EXPECT_EQ(B->GetWidth(), C.Width);
  }
}

TEST(EditButtons, ImagesAreCopiedWatchedAndDroppedWhenFreed) {
  TOwned<TButtonTestProperties> Source = NewProperties();
  TOwned<TButtonTestProperties> P = NewProperties();
  TOwned<TImageList> Images(Create<TImageList>(nullptr));
  TOwned<TImageList> Other(Create<TImageList>(nullptr));
  TChangeCounter Counter;
  Counter.Attach(P.get());
  P->SetImages(Images.get());
  EXPECT_EQ(P->GetImages(), Images.get());
  EXPECT_EQ(Counter.Count, 1);
  Images->SetSize(20, 20);  // a change of the list reaches the properties
  EXPECT_EQ(Counter.Count, 2);
  Other->SetSize(24, 24);  // another list's change does not
  EXPECT_EQ(Counter.Count, 2);
  Source->SetImages(Other.get());
  P->Assign(Source.get());
  EXPECT_EQ(P->GetImages(), Other.get());
  Other.reset();
  EXPECT_EQ(P->GetImages(), nullptr);
  EXPECT_EQ(Source->GetImages(), nullptr);
  Images->SetSize(32, 32);  // no longer watched
  EXPECT_EQ(P->GetImages(), nullptr);
}

// ---------------------------------------------------------------------------
// Form resources

struct TButtonStoredCase {
  const char* Name;
  void (*Apply)(TcxEditButton*);
  const char* Lines;  // the button's lines inside the collection item
};

TEST(EditButtonsResources, ButtonsWriteOnlyWhatDiffersFromTheDefaults) {
  RegisterStreamedClasses();
  const TButtonStoredCase Cases[] = {
      {"fresh", [](TcxEditButton*) {}, ""},
      {"Caption", [](TcxEditButton* B) { B->SetCaption(L"Go"); }, "      Caption = 'Go'\n"},
      {"ContentAlignment", [](TcxEditButton* B) { B->SetContentAlignment(taLeftJustify); },
       "      ContentAlignment = taLeftJustify\n"},
      {"Default", [](TcxEditButton* B) { B->SetDefault(true); }, "      Default = True\n"},
      {"Enabled", [](TcxEditButton* B) { B->SetEnabled(false); }, "      Enabled = False\n"},
      {"ImageIndex", [](TcxEditButton* B) { B->SetImageIndex(0); }, "      ImageIndex = 0\n"},
      {"Kind", [](TcxEditButton* B) { B->SetKind(bkGlyph); }, "      Kind = bkGlyph\n"},
      {"LeftAlignment", [](TcxEditButton* B) { B->SetLeftAlignment(true); },
       "      LeftAlignment = True\n"},
      {"Stretchable", [](TcxEditButton* B) { B->SetStretchable(false); },
       "      Stretchable = False\n"},
      {"Tag", [](TcxEditButton* B) { B->SetTag(5); }, "      Tag = 5\n"},
      {"TextColor is not published", [](TcxEditButton* B) { B->SetTextColor(clRed); }, ""},
      {"Visible", [](TcxEditButton* B) { B->SetVisible(false); }, "      Visible = False\n"},
      {"Width", [](TcxEditButton* B) { B->SetWidth(12); }, "      Width = 12\n"},
  };
  for (const auto& C : Cases) {
    TOwned<TButtonTestHost> Host(Create<TButtonTestHost>(nullptr));
    Host->SetName(L"Host");
    C.Apply(Host->GetProperties()->GetButtons()->Add());
    const std::string Expected =
        std::string("  Properties.Buttons = <\n    item\n") + C.Lines + "    end>\n";
    EXPECT_EQ(PropertyLines(Host.get()), Expected) << C.Name;
  }
}

TEST(EditButtonsResources, WrittenButtonsReadBackEqual) {
  RegisterStreamedClasses();
  TOwned<TButtonTestHost> Host(Create<TButtonTestHost>(nullptr));
  Host->SetName(L"Host");
  TcxEditButtons* Bs = Host->GetProperties()->GetButtons();
  TcxEditButton* B = Bs->Add();
  B->SetCaption(L"&Go");
  B->SetKind(bkText);
  B->SetWidth(33);
  B->SetTag(-3);
  B->SetHint(L"Run");
  TOwned<TBitmap> Picture = SmallPicture();
  B->GetGlyph()->Assign(Picture.get());
  B = Bs->Add();
  B->SetKind(bkEllipsis);
  B->SetDefault(true);
  B->SetLeftAlignment(true);
  B->SetVisible(false);
  TOwned<TButtonTestHost> Read =
      ReadFormResourceText<TButtonTestHost>(FormResourceText(Host.get()));
  TcxEditButtons* R = Read->GetProperties()->GetButtons();
  ASSERT_EQ(R->Count(), 2);
  EXPECT_EQ(R->Items(0)->GetCaption(), L"&Go");
  EXPECT_EQ(R->Items(0)->GetVisibleCaption(), L"Go");
  EXPECT_EQ(R->Items(0)->GetKind(), bkText);
  EXPECT_EQ(R->Items(0)->GetWidth(), 33);
  EXPECT_EQ(R->Items(0)->GetTag(), -3);
  EXPECT_EQ(R->Items(0)->GetHint(), L"Run");
  ASSERT_FALSE(R->Items(0)->GetGlyph()->Empty());
  EXPECT_EQ(R->Items(0)->GetGlyph()->Width(), 6);
  EXPECT_EQ(R->Items(0)->GetGlyph()->Height(), 4);
  EXPECT_TRUE(R->Items(1)->GetGlyph()->Empty());
  EXPECT_EQ(R->Items(1)->GetKind(), bkEllipsis);
  EXPECT_TRUE(R->Items(1)->GetDefault());
  EXPECT_TRUE(R->Items(1)->GetLeftAlignment());
  EXPECT_FALSE(R->Items(1)->GetVisible());
  EXPECT_EQ(FormResourceText(Read.get()), FormResourceText(Host.get()));
}

namespace {
// A root with an action list, an action and a host whose button uses it.
const char* const ActionRootText =
    "object Root: TButtonTestRoot\n"
    "  object Actions: TActionList\n"
    "    object Act: TAction\n"
    "      Caption = 'Go'\n"
    "      Hint = 'Action hint'\n"
    "    end\n"
    "  end\n"
    "  object Host: TButtonTestHost\n"
    "    Properties.Buttons = <\n"
    "      item\n"
    "        Action = Act\n"
    "        Caption = 'Stop'\n"
    "      end\n"
    "      item\n"
    "        Action = Act\n"
    "      end>\n"
    "  end\n"
    "end\n";
}  // namespace

TEST(EditButtonsResources, AnActionReadWithTheFormFillsOnlyDefaultValues) {
  RegisterStreamedClasses();
  TOwned<TButtonTestRoot> Root = ReadFormResourceText<TButtonTestRoot>(ActionRootText);
  auto* Host = As<TButtonTestHost>(Root->FindComponent(L"Host"));
  auto* Act = As<TAction>(Root->FindComponent(L"Act"));
  TcxEditButtons* Bs = Host->GetProperties()->GetButtons();
  ASSERT_EQ(Bs->Count(), 2);
  EXPECT_EQ(Bs->Items(0)->GetAction(), Act);
  EXPECT_EQ(Bs->Items(0)->GetCaption(), L"Stop");
  EXPECT_EQ(Bs->Items(1)->GetCaption(), L"Go");
  EXPECT_EQ(Bs->Items(1)->GetHint(), L"Action hint");
}

TEST(EditButtonsResources, ValuesTakenFromTheActionAreNotStored) {
  RegisterStreamedClasses();
  TOwned<TButtonTestRoot> Root = ReadFormResourceText<TButtonTestRoot>(ActionRootText);
  auto* Host = As<TButtonTestHost>(Root->FindComponent(L"Host"));
  TcxEditButton* Linked = Host->GetProperties()->GetButtons()->Items(1);
  EXPECT_EQ(FormResourceText(Root.get()), ActionRootText);
  // Editing the hint breaks the link for storing.
  Linked->SetHint(L"Own hint");
  const std::string Text = FormResourceText(Root.get());
  EXPECT_NE(Text.find("        Hint = 'Own hint'\n"), std::string::npos) << Text;
}

// ---------------------------------------------------------------------------
// Button view info

namespace {
struct TLookCase {
  const char* Name;
  void (*Change)(TcxEditButtonViewInfo*);
  bool Differs;
};

const TLookCase LookCases[] = {
    {"same look", [](TcxEditButtonViewInfo*) {}, false},
    {"state", [](TcxEditButtonViewInfo* V) { V->Data.State = ebsSelected; }, true},
    {"style", [](TcxEditButtonViewInfo* V) { V->Data.Style = btsFlat; }, true},
    {"background", [](TcxEditButtonViewInfo* V) { V->Data.BackgroundColor = clRed; }, true},
    {"native state", [](TcxEditButtonViewInfo* V) { V->Data.NativeState = 3; }, true},
    {"caption is not compared", [](TcxEditButtonViewInfo* V) { V->Data.Caption = L"x"; }, false},
    {"bounds are not compared",
     [](TcxEditButtonViewInfo* V) {
       V->Bounds = TRect{0, 0, 5, 5};
     },
     false},
};

TOwned<TcxEditButtonViewInfo> NewButtonViewInfo() {
  TOwned<TcxEditButtonViewInfo> V(Create<TcxEditButtonViewInfo>());
  V->Bounds = TRect{40, 2, 57, 20};
  V->Data.State = ebsNormal;
  V->Data.Style = bts3D;
  V->Data.BackgroundColor = clBtnFace;
  V->Data.NativeState = 1;
  return V;
}
}  // namespace

TEST(EditButtonViewInfo, AssignCopiesOnlyWhatTheUpdateComparisonsRead) {
  TOwned<TcxEditButtonViewInfo> Source = NewButtonViewInfo();
  Source->Data.State = ebsPressed;
  Source->Data.Caption = L"Go";
  Source->Width = 30;
  Source->ButtonIndex = 2;
  TOwned<TcxEditButtonViewInfo> Target(Create<TcxEditButtonViewInfo>());
  Target->Assign(Source.get());
  EXPECT_EQ(Target->Bounds, Source->Bounds);
  EXPECT_EQ(Target->Data.State, ebsPressed);
  EXPECT_EQ(Target->Data.Style, bts3D);
  EXPECT_EQ(Target->Data.BackgroundColor, clBtnFace);
  EXPECT_EQ(Target->Data.NativeState, 1);
  EXPECT_EQ(Target->Data.Caption, L"");
  EXPECT_EQ(Target->Width, 0);
  EXPECT_EQ(Target->ButtonIndex, 0);
}

TEST(EditButtonViewInfo, TheUpdateRegionIsTheButtonWhenItLooksDifferent) {
  for (const auto& C : LookCases) {
    TOwned<TcxEditButtonViewInfo> Old = NewButtonViewInfo();
    TOwned<TcxEditButtonViewInfo> New = NewButtonViewInfo();
    C.Change(New.get());
    TRegionHandle R = Old->GetUpdateRegion(New.get());
    ASSERT_TRUE(R.Get()) << C.Name;
    RECT Box{};
    const int Kind = GetRgnBox(R.Get(), &Box);
    if (C.Differs) {
      EXPECT_EQ(Kind, SIMPLEREGION) << C.Name;
      EXPECT_EQ(TRect(Box), Old->Bounds) << C.Name;
    } else {
      EXPECT_EQ(Kind, NULLREGION) << C.Name;
    }
  }
}

TEST(EditButtonViewInfo, RepaintInvalidatesTheMovedButtonOnlyWhenItLooksDifferent) {
  TOwned<TCustomForm> Form(ControlsTest::CreateForm(200, 60));
  const HWND Wnd = Form->Handle();
  for (const auto& C : LookCases) {
    TOwned<TcxEditButtonViewInfo> Old = NewButtonViewInfo();
    TOwned<TcxEditButtonViewInfo> New = NewButtonViewInfo();
    C.Change(New.get());
    ValidateRect(Wnd, nullptr);
    EXPECT_EQ(Old->Repaint(Form.get(), New.get(), TPoint{10, 5}), C.Differs) << C.Name;
    RECT Update{};
    const bool Pending = GetUpdateRect(Wnd, &Update, FALSE);
    EXPECT_EQ(Pending, C.Differs) << C.Name;
    if (C.Differs) EXPECT_EQ(TRect(Update), (TRect{50, 7, 67, 25})) << C.Name;
  }
  ValidateRect(Wnd, nullptr);
  // Without a window there is nothing to repaint.
  TOwned<TcxEditButtonViewInfo> Old = NewButtonViewInfo();
  TOwned<TcxEditButtonViewInfo> New = NewButtonViewInfo();
  New->Data.State = ebsDisabled;
  EXPECT_FALSE(Old->Repaint(nullptr, New.get(), TPoint{}));
}
