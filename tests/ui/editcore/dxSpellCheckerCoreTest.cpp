#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "dxSpellCheckerCore.h"

namespace {

// Writes down every notification it receives, in order; reference counted
// like the COM object a spell checker is.
class TRecordingSpellChecker : public IdxSpellChecker, public IdxSpellChecker2 {
 public:
  explicit TRecordingSpellChecker(bool AWithKeys) : FWithKeys(AWithKeys) {}
  virtual ~TRecordingSpellChecker() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObject) override {
    if (AIID == __uuidof(IUnknown) || AIID == __uuidof(IdxSpellChecker))
      *AObject = static_cast<IdxSpellChecker*>(this);
    else if (FWithKeys && AIID == __uuidof(IdxSpellChecker2))
      *AObject = static_cast<IdxSpellChecker2*>(this);
    else {
      *AObject = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefCount; }

  void STDMETHODCALLTYPE NotifyFocusLost() override { Log.push_back("FocusLost"); }
  void STDMETHODCALLTYPE NotifyFocusGained(TWinControl* AControl) override {
    Log.push_back("FocusGained");
    Controls.push_back(AControl);
  }
  void STDMETHODCALLTYPE DrawMisspellings(TWinControl*) override { Log.push_back("Draw"); }
  bool STDMETHODCALLTYPE IsSpellCheckerWindow(HWND AWnd) override {
    Log.push_back("IsWindow");
    return AWnd == OwnWindow;
  }
  void STDMETHODCALLTYPE NotifyKeyPress(Char AKey) override {
    Log.push_back("KeyPress " + std::string(1, static_cast<char>(AKey)));
  }
  void STDMETHODCALLTYPE NotifyLayoutChanged(TWinControl*) override { Log.push_back("Layout"); }
  bool STDMETHODCALLTYPE ShowContextPopup(TComponent* APopupMenu, const TPoint& P) override {
    Log.push_back("Popup " + std::to_string(P.x) + "," + std::to_string(P.y));
    Popups.push_back(APopupMenu);
    return ShowsOwnMenu;
  }
  void STDMETHODCALLTYPE NotifySelectionChanged(TWinControl*) override {
    Log.push_back("Selection");
  }
  void STDMETHODCALLTYPE NotifyTextChanged(TWinControl*) override { Log.push_back("Text"); }
  void STDMETHODCALLTYPE NotifyUndo() override { Log.push_back("Undo"); }
  void STDMETHODCALLTYPE NotifyKeyDown(Word AKey, TShiftState AShift) override {
    Log.push_back("KeyDown " + std::to_string(AKey) + (AShift.Contains(ssCtrl) ? " ctrl" : ""));
  }
  void STDMETHODCALLTYPE NotifyKeyUp(Word AKey, TShiftState AShift) override {
    Log.push_back("KeyUp " + std::to_string(AKey) + (AShift.Contains(ssShift) ? " shift" : ""));
  }

  ULONG References() const { return FRefCount; }

  std::vector<std::string> Log;
  std::vector<TWinControl*> Controls;
  std::vector<TComponent*> Popups;
  HWND OwnWindow = reinterpret_cast<HWND>(0x1234);
  bool ShowsOwnMenu = true;

 private:
  bool FWithKeys;
  ULONG FRefCount = 1;
};

// Installs a spell checker for the test and uninstalls it afterwards.
class TInstalledScope {
 public:
  explicit TInstalledScope(IUnknown* ASpellChecker) {
    TdxSpellCheckerInstance::Install(ASpellChecker);
  }
  ~TInstalledScope() { TdxSpellCheckerInstance::Install(nullptr); }
  TInstalledScope(const TInstalledScope&) = delete;
  TInstalledScope& operator=(const TInstalledScope&) = delete;
};

// What the editor base sends while the user enters an editor, types and
// leaves it.
void EditorSession(TWinControl* AInner) {
  dxSpellCheckerNotifyFocusGained(AInner);
  dxSpellCheckerNotifyKeyDown('A', TShiftState{ssCtrl});
  dxSpellCheckerNotifyKeyPress(L'a');
  dxSpellCheckerNotifyKeyUp(VK_SHIFT, TShiftState{ssShift});
  dxSpellCheckerNotifyFocusLost();
}

TEST(SpellChecker, NothingInstalledNothingSentAndNoAnswerIsYes) {
  ASSERT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
  EditorSession(nullptr);  // must simply do nothing
  EXPECT_FALSE(dxSpellCheckerIsSpellCheckerWindow(reinterpret_cast<HWND>(0x1234)));
  EXPECT_FALSE(dxSpellCheckerContextPopupHook(nullptr, nullptr, TPoint{1, 2}));
  EXPECT_EQ(cxContextPopupHookFunc(), &dxSpellCheckerContextPopupHook);
}

TEST(SpellChecker, TheEditorsNotificationsInOrder) {
  TRecordingSpellChecker Checker(true);
  TInstalledScope Installed(static_cast<IdxSpellChecker*>(&Checker));
  TWinControl* Inner = reinterpret_cast<TWinControl*>(0x40);
  EditorSession(Inner);
  EXPECT_EQ(Checker.Log, (std::vector<std::string>{"FocusGained", "KeyDown 65 ctrl", "KeyPress a",
                                                   "KeyUp 16 shift", "FocusLost"}));
  EXPECT_EQ(Checker.Controls, std::vector<TWinControl*>{Inner});
}

TEST(SpellChecker, KeysGoOnlyToTheSecondInterface) {
  TRecordingSpellChecker Checker(false);
  TInstalledScope Installed(static_cast<IdxSpellChecker*>(&Checker));
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker2(), nullptr);
  EditorSession(nullptr);
  EXPECT_EQ(Checker.Log, (std::vector<std::string>{"FocusGained", "KeyPress a", "FocusLost"}));
}

TEST(SpellChecker, WindowsAndTheContextMenuAreTheSpellCheckersAnswers) {
  TRecordingSpellChecker Checker(true);
  TInstalledScope Installed(static_cast<IdxSpellChecker*>(&Checker));
  TComponent* Menu = reinterpret_cast<TComponent*>(0x80);
  EXPECT_TRUE(dxSpellCheckerIsSpellCheckerWindow(Checker.OwnWindow));
  EXPECT_FALSE(dxSpellCheckerIsSpellCheckerWindow(reinterpret_cast<HWND>(0x99)));
  EXPECT_TRUE(dxSpellCheckerContextPopupHook(nullptr, Menu, TPoint{10, 20}));
  Checker.ShowsOwnMenu = false;
  EXPECT_FALSE(dxSpellCheckerContextPopupHook(nullptr, Menu, TPoint{3, 4}));
  EXPECT_EQ(Checker.Log,
            (std::vector<std::string>{"IsWindow", "IsWindow", "Popup 10,20", "Popup 3,4"}));
  EXPECT_EQ(Checker.Popups, (std::vector<TComponent*>{Menu, Menu}));
}

class TChangeCounter {
 public:
  void Changed(TObject*) { ++Count; }
  int Count = 0;
};

TEST(SpellChecker, InstallingTellsTheListenersAndHoldsReferences) {
  TRecordingSpellChecker Checker(true);
  TChangeCounter Counter;
  auto Listener = MakeEvent<&TChangeCounter::Changed>(&Counter);
  ASSERT_NE(TdxSpellCheckerInstance::SpellCheckerChanged(), nullptr);
  TdxSpellCheckerInstance::SpellCheckerChanged()->Add(Listener);
  TdxSpellCheckerInstance::Install(static_cast<IdxSpellChecker*>(&Checker));
  EXPECT_EQ(Counter.Count, 1);
  EXPECT_EQ(Checker.References(), 3u);  // ours, and the two interfaces installed
  TdxSpellCheckerInstance::Install(nullptr);
  EXPECT_EQ(Counter.Count, 2);
  EXPECT_EQ(Checker.References(), 1u);
  TdxSpellCheckerInstance::SpellCheckerChanged()->Remove(Listener);
}

// The last shut-down lets the spell checker go and takes the hook away; a
// start-up after it begins without one.
TEST(SpellChecker, ShutDownReleasesTheSpellChecker) {
  TRecordingSpellChecker Checker(true);
  dxSpellCheckerCore_Initialize();  // a second start: nothing new
  TdxSpellCheckerInstance::Install(static_cast<IdxSpellChecker*>(&Checker));
  dxSpellCheckerCore_Finalize();
  EXPECT_EQ(Checker.References(), 3u);
  dxSpellCheckerCore_Finalize();
  EXPECT_EQ(Checker.References(), 1u);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
  EXPECT_EQ(cxContextPopupHookFunc(), nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::SpellCheckerChanged(), nullptr);
  TdxSpellCheckerInstance::Install(static_cast<IdxSpellChecker*>(&Checker));  // refused
  EXPECT_EQ(Checker.References(), 1u);
  dxSpellCheckerCore_Initialize();
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
  EXPECT_EQ(cxContextPopupHookFunc(), &dxSpellCheckerContextPopupHook);
}

// The base control asks the spell checker before it shows its own menu.
TEST(SpellChecker, TheBaseControlsContextMenuGoesThroughTheHook) {
  TRecordingSpellChecker Checker(true);
  TInstalledScope Installed(static_cast<IdxSpellChecker*>(&Checker));
  TOwned<TCustomForm> Form(Create<TForm>(nullptr, true));
  Form->SetBounds(0, 0, 200, 100);
  TcxControl* Control = Create<TcxControl>(Form.get());
  Control->SetParent(Form.get());
  Control->SetBounds(10, 10, 60, 40);
  TPoint P = Control->ClientToScreen(TPoint{5, 6});
  SendMessageW(Control->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control->Handle()),
               MAKELPARAM(P.x, P.y));
  EXPECT_EQ(Checker.Log,
            std::vector<std::string>{"Popup " + std::to_string(P.x) + "," + std::to_string(P.y)});
}

}  // namespace
