#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"

namespace {

// A painter under a chosen name and style that tells when it goes.
class TTestPainter : public TcxStandardLookAndFeelPainter {
 public:
  TTestPainter(const wchar_t* AName, TcxLookAndFeelStyle AStyle, bool* AFreed = nullptr)
      : FName(AName), FStyle(AStyle), FFreed(AFreed) {}
  ~TTestPainter() override {
    if (FFreed) *FFreed = true;
  }
  String LookAndFeelName() override { return FName; }
  TcxLookAndFeelStyle LookAndFeelStyle() override { return FStyle; }

 private:
  String FName;
  TcxLookAndFeelStyle FStyle;
  bool* FFreed;
};

TcxLookAndFeelPaintersManager* Manager() { return cxLookAndFeelPaintersManager(); }

std::vector<String> Names() {
  std::vector<String> R;
  for (Integer I = 0; I < Manager()->Count(); ++I)
    R.push_back(Manager()->Items(I)->LookAndFeelName());
  return R;
}

std::vector<String> BuiltInNames() {
  return {L"Flat", L"Native", L"Office11", L"Standard", L"UltraFlat"};
}

// Puts back a built-in painter that a test took out.
void RestoreBuiltInPainters() {
  if (!Manager()->GetPainter(String(L"Flat")))
    Manager()->Register(Create<TcxFlatLookAndFeelPainter>());
  if (!Manager()->GetPainter(String(L"Office11")))
    Manager()->Register(Create<TcxOffice11LookAndFeelPainter>());
}

// The tests register painters of their own under the names and styles of
// the Flat and Office 11 looks, which are taken out for them; each test
// leaves the registry and the root as it found them.
class PaintersManager : public ::testing::Test {
 protected:
  void SetUp() override {
    Manager()->Unregister(L"Flat");
    Manager()->Unregister(L"Office11");
  }
  void TearDown() override {
    for (const wchar_t* N : {L"Flat", L"\u00C4rger", L"Zeta", L"Alpha", L"Office11"})
      Manager()->Unregister(N);
    RestoreBuiltInPainters();
    RootLookAndFeel()->Reset();
  }
};

TEST(PaintersRegistry, TheProgramStartsWithFivePaintersInNameOrder) {
  EXPECT_EQ(Names(), BuiltInNames());
  const std::pair<TcxLookAndFeelStyle, TClass> Classes[] = {
      {lfsFlat, TcxFlatLookAndFeelPainter::StaticClass()},
      {lfsOffice11, TcxOffice11LookAndFeelPainter::StaticClass()},
      {lfsStandard, TcxStandardLookAndFeelPainter::StaticClass()},
      {lfsUltraFlat, TcxUltraFlatLookAndFeelPainter::StaticClass()},
      {lfsNative, TcxWinXPLookAndFeelPainter::StaticClass()}};
  for (auto [Style, Class] : Classes) {
    ASSERT_NE(Manager()->GetPainter(Style), nullptr) << Style;
    EXPECT_EQ(Manager()->GetPainter(Style)->ClassType(), Class) << Style;
    EXPECT_EQ(Manager()->GetPainter(Style)->LookAndFeelStyle(), Style);
  }
  EXPECT_EQ(Manager()->GetPainter(lfsSkin), nullptr);
  // The Office 11 look stands on the UltraFlat one, the Native on the
  // Standard one.
  EXPECT_TRUE(Manager()
                  ->GetPainter(lfsOffice11)
                  ->InheritsFrom(TcxUltraFlatLookAndFeelPainter::StaticClass()));
  EXPECT_TRUE(
      Manager()->GetPainter(lfsNative)->InheritsFrom(TcxStandardLookAndFeelPainter::StaticClass()));
  EXPECT_FALSE(
      Manager()->GetPainter(lfsFlat)->InheritsFrom(TcxStandardLookAndFeelPainter::StaticClass()));
  // The root resolves to the themed painter while the prefix's theme is on.
  EXPECT_EQ(RootLookAndFeel()->Painter(),
            Manager()->GetPainter(AreVisualStylesAvailable() ? lfsNative : lfsUltraFlat));
}

TEST_F(PaintersManager, NamesMatchWithoutCaseOnlyForAsciiLetters) {
  struct TCase {
    const wchar_t* Name;
    const wchar_t* Found;
  };
  const TCase Cases[] = {{L"native", L"Native"},       {L"NATIVE", L"Native"},
                         {L"uLTRAfLAT", L"UltraFlat"}, {L"Nativ", nullptr},
                         {L"Native ", nullptr},        {L"", nullptr}};
  for (const TCase& C : Cases) {
    TcxCustomLookAndFeelPainter* P = reinterpret_cast<TcxCustomLookAndFeelPainter*>(1);
    bool Found = Manager()->GetPainter(String(C.Name), P);
    EXPECT_EQ(Found, C.Found != nullptr) << AnsiString(C.Name, C.Name + wcslen(C.Name));
    if (C.Found)
      EXPECT_EQ(P->LookAndFeelName(), C.Found);
    else
      EXPECT_EQ(P, reinterpret_cast<TcxCustomLookAndFeelPainter*>(1));  // left alone
  }
  ASSERT_TRUE(Manager()->Register(Create<TTestPainter>(L"\u00C4rger", lfsFlat)));
  EXPECT_NE(Manager()->GetPainter(String(L"\u00C4RGER")), nullptr);
  EXPECT_EQ(Manager()->GetPainter(String(L"\u00E4rger")), nullptr);
}

TEST_F(PaintersManager, ADuplicateNameIsRefusedAndFreed) {
  bool FirstFreed = false, SecondFreed = false;
  ASSERT_TRUE(Manager()->Register(Create<TTestPainter>(L"Flat", lfsFlat, &FirstFreed)));
  EXPECT_FALSE(Manager()->Register(Create<TTestPainter>(L"fLAT", lfsFlat, &SecondFreed)));
  EXPECT_TRUE(SecondFreed);
  EXPECT_FALSE(FirstFreed);
  EXPECT_EQ(Names(), (std::vector<String>{L"Flat", L"Native", L"Standard", L"UltraFlat"}));
  EXPECT_TRUE(Manager()->Unregister(L"FLAT"));
  EXPECT_TRUE(FirstFreed);
  EXPECT_FALSE(Manager()->Unregister(L"Flat"));
  EXPECT_FALSE(Manager()->Register(nullptr));
}

TEST_F(PaintersManager, TheStyleLookupTakesTheFirstNameInOrder) {
  Manager()->Register(Create<TTestPainter>(L"Zeta", lfsOffice11));
  EXPECT_EQ(Manager()->GetPainter(lfsOffice11)->LookAndFeelName(), L"Zeta");
  Manager()->Register(Create<TTestPainter>(L"Office11", lfsOffice11));
  Manager()->Register(Create<TTestPainter>(L"Alpha", lfsOffice11));
  EXPECT_EQ(Manager()->GetPainter(lfsOffice11)->LookAndFeelName(), L"Alpha");
  EXPECT_EQ(Names(), (std::vector<String>{L"Alpha", L"Native", L"Office11", L"Standard",
                                          L"UltraFlat", L"Zeta"}));
}

// Records what the registry announces and what the look-and-feel objects
// resolve at that moment.
class TPainterListener : public TcxIUnknownObject, public IcxLookAndFeelPainterListener {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TcxIUnknownObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  void STDMETHODCALLTYPE PainterAdded(TcxCustomLookAndFeelPainter* APainter) override {
    Log->push_back(Name + L" added " + APainter->LookAndFeelName() + L", watched: " +
                   Watched(APainter));
  }
  void STDMETHODCALLTYPE PainterRemoved(TcxCustomLookAndFeelPainter* APainter) override {
    Log->push_back(Name + L" removed " + APainter->LookAndFeelName() + L", watched: " +
                   Watched(APainter));
    if (Raise) throw EdxException(L"listener failed");
  }
  String Watched(TcxCustomLookAndFeelPainter* APainter) {
    String R;
    for (TcxLookAndFeel* L : WatchedObjects)
      R += (L->Painter() == APainter || L->SkinPainter() == APainter) ? L"holds " : L"free ";
    return R;
  }
  String Name;
  std::vector<String>* Log = nullptr;
  std::vector<TcxLookAndFeel*> WatchedObjects;
  bool Raise = false;
};

TEST_F(PaintersManager, LookAndFeelsFollowBeforeListenersHear) {
  std::vector<String> Log;
  TPainterListener A, B;
  A.Name = L"A";
  B.Name = L"B";
  A.Log = B.Log = &Log;
  // Inherits the kind from the root; assigns all four values; holds the
  // painter as its skin.
  TOwned<TcxLookAndFeel> Inheriting(Create<TcxLookAndFeel>(nullptr));
  Inheriting->SetNativeStyle(false);
  TOwned<TcxLookAndFeel> Assigned(Create<TcxLookAndFeel>(nullptr));
  Assigned->SetNativeStyle(false);
  Assigned->SetKind(lfFlat);
  Assigned->SetSkinName(L"");
  Assigned->SetScrollbarMode(sbmClassic);
  TOwned<TcxLookAndFeel> Skinned(Create<TcxLookAndFeel>(nullptr));
  Skinned->SetNativeStyle(false);
  Skinned->SetSkinName(L"Flat");
  A.WatchedObjects = B.WatchedObjects = {Inheriting.get(), Assigned.get(), Skinned.get()};
  RootLookAndFeel()->SetKind(lfFlat);
  ASSERT_EQ(Assigned->Painter(), nullptr);

  Manager()->AddListener(&A);
  Manager()->AddListener(&B);
  Manager()->AddListener(&A);  // once only
  bool Freed = false;
  ASSERT_TRUE(Manager()->Register(Create<TTestPainter>(L"Flat", lfsFlat, &Freed)));
  TcxCustomLookAndFeelPainter* Flat = Manager()->GetPainter(lfsFlat);
  EXPECT_EQ(Inheriting->Painter(), Flat);
  EXPECT_EQ(Skinned->SkinPainter(), Flat);
  // The root's refresh does not reach an object that assigns all four
  // values: it finds the new painter at its next change.
  EXPECT_EQ(Assigned->Painter(), nullptr);

  // Removal: no object keeps the painter that goes, and a listener that
  // fails does not keep it alive.
  B.Raise = true;
  EXPECT_THROW(Manager()->Unregister(L"Flat"), EdxException);
  EXPECT_TRUE(Freed);
  EXPECT_EQ(Inheriting->Painter(), nullptr);
  EXPECT_EQ(Skinned->SkinPainter(), nullptr);
  EXPECT_EQ(Skinned->Painter(), nullptr);
  Manager()->RemoveListener(&A);
  Manager()->RemoveListener(&B);
  EXPECT_EQ(Log, (std::vector<String>{L"B added Flat, watched: holds free holds ",
                                      L"A added Flat, watched: holds free holds ",
                                      L"B removed Flat, watched: free free free "}));
}

TEST(PaintersRegistry, TheBuiltInPaintersAreRegisteredFlatFirstAndNativeLast) {
  for (const String& N : BuiltInNames()) ASSERT_TRUE(Manager()->Unregister(N));
  std::vector<String> Log;
  TPainterListener Listener;
  Listener.Name = L"L";
  Listener.Log = &Log;
  Manager()->AddListener(&Listener);
  RegisterStandardLookAndFeelPainters();
  Manager()->RemoveListener(&Listener);
  EXPECT_EQ(Log,
            (std::vector<String>{L"L added Flat, watched: ", L"L added Office11, watched: ",
                                 L"L added Standard, watched: ", L"L added UltraFlat, watched: ",
                                 L"L added Native, watched: "}));
  EXPECT_EQ(Names(), BuiltInNames());
  RootLookAndFeel()->Reset();
}

TEST(PaintersRegistry, ASecondFlatPainterIsRefusedAndFreed) {
  TcxCustomLookAndFeelPainter* Flat = Manager()->GetPainter(String(L"Flat"));
  bool Freed = false;
  EXPECT_FALSE(Manager()->Register(Create<TTestPainter>(L"fLAT", lfsFlat, &Freed)));
  EXPECT_TRUE(Freed);
  EXPECT_EQ(Manager()->GetPainter(String(L"FLAT")), Flat);
  EXPECT_EQ(Manager()->GetPainter(lfsFlat), Flat);
}

TEST_F(PaintersManager, AnObjectWithAllValuesAssignedLetsGoOfARemovedPainter) {
  bool Freed = false;
  TOwned<TcxLookAndFeel> O(Create<TcxLookAndFeel>(nullptr));
  ASSERT_TRUE(Manager()->Register(Create<TTestPainter>(L"Flat", lfsFlat, &Freed)));
  O->SetNativeStyle(false);
  O->SetKind(lfFlat);
  O->SetSkinName(L"");
  O->SetScrollbarMode(sbmClassic);
  ASSERT_EQ(O->Painter(), Manager()->GetPainter(lfsFlat));
  int Changes = 0;
  struct TCounter {
    int* N;
    void Changed(TcxLookAndFeel*, TcxLookAndFeelValues) { ++*N; }
  } Counter{&Changes};
  O->SetOnChanged(MakeEvent<&TCounter::Changed>(&Counter));
  EXPECT_TRUE(Manager()->Unregister(L"Flat"));
  EXPECT_TRUE(Freed);
  EXPECT_EQ(O->Painter(), nullptr);
  EXPECT_EQ(Changes, 1);
}

TEST_F(PaintersManager, CheckButtonSizeIsAQuarterAndAThirdOfTheSystemBitmap) {
  HBITMAP Bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECKBOXES));
  ASSERT_NE(Bitmap, nullptr);
  BITMAP Data{};
  ASSERT_NE(GetObjectW(Bitmap, sizeof(Data), &Data), 0);
  DeleteObject(Bitmap);
  TSize Expected{Data.bmWidth / 4, Data.bmHeight / 3};
  EXPECT_EQ(cxCheckButtonSize(), Expected);
  EXPECT_EQ(StandardPainter()->CheckButtonSize(), Expected);
  // Converted from the system factor to the one asked for.
  TOwned<TdxScaleFactor> Half = MakeOwned<TdxScaleFactor>();
  Half->Assign(1, 2, false);
  EXPECT_EQ(StandardPainter()->ScaledCheckButtonSize(Half.get()),
            Half->Apply(Expected, dxSystemScaleFactor()));
}

}  // namespace
