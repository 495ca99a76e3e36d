#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "RecordingSpellChecker.h"
#include "dxSpellCheckerCore.h"

namespace {

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
