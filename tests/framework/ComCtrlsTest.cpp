#include <gtest/gtest.h>

#include "Clipbrd.h"
#include "ComCtrls.h"
#include "Forms.h"

namespace {

struct ComCtrlsFixture : testing::Test {
  TOwned<TCustomForm> Form;
  void SetUp() override {
    ComCtrls_Initialize();
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(40, 40, 400, 300);
  }
  void TearDown() override { Form.reset(); }
  template <class T>
  T* Add(TRect R = Bounds(10, 10, 300, 150)) {
    T* C = Create<T>(Form.get());
    C->SetParent(Form.get());
    C->SetBoundsRect(R);
    return C;
  }
};

String ClassOf(HWND Wnd) {
  wchar_t Buf[64] = {};
  // The control subclasses the platform class under its own name; the
  // platform's class shows in the window procedure it falls back to.
  GetClassNameW(Wnd, Buf, 64);
  return Buf;
}

TEST_F(ComCtrlsFixture, RichEditIsThePlatformRichEditWithLiveLines) {
  TRichEdit* R = Add<TRichEdit>();
  R->Lines()->Add(L"first");
  Form->Show();
  HWND H = R->Handle();
  // The rich edit answers its own messages: a plain edit would not.
  EXPECT_EQ(SendMessageW(H, EM_GETTEXTMODE, 0, 0) & TM_RICHTEXT, TM_RICHTEXT);
  TStrings* L = R->Lines();
  EXPECT_EQ(L->Count(), 1);
  EXPECT_EQ(L->Strings(0), L"first");
  L->Add(L"second");
  L->Insert(0, L"zero");
  L->Add(L"Привет");
  ASSERT_EQ(L->Count(), 4);
  EXPECT_EQ(L->Strings(0), L"zero");
  EXPECT_EQ(L->Strings(2), L"second");
  EXPECT_EQ(L->Strings(3), L"Привет");
  L->Delete(1);
  EXPECT_EQ(L->Count(), 3);
  EXPECT_EQ(L->Strings(1), L"second");
  L->SetText(L"a\r\nb");
  EXPECT_EQ(L->Count(), 2);
  L->Add(L"c");
  EXPECT_EQ(L->Count(), 3);
  EXPECT_EQ(L->Strings(1), L"b");
  EXPECT_EQ(L->Strings(2), L"c");
  L->Clear();
  EXPECT_EQ(L->Count(), 0);
}

struct TChanges {
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

TEST_F(ComCtrlsFixture, RichEditSelectionUndoAndClipboard) {
  TRichEdit* R = Add<TRichEdit>();
  TChanges Changes;
  R->OnChange = MakeEvent<&TChanges::Changed>(&Changes);
  Form->Show();
  R->SetText(L"Hello world");
  // The window reports changes only when asked to; the control asks.
  EXPECT_EQ(Changes.Count, 1);
  R->SetSelStart(6);
  R->SetSelLength(5);
  EXPECT_EQ(R->SelStart(), 6);
  EXPECT_EQ(R->SelLength(), 5);
  EXPECT_EQ(R->SelText(), L"world");
  CHARRANGE CR{};
  SendMessageW(R->Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&CR));
  EXPECT_EQ(CR.cpMin, 6);
  EXPECT_EQ(CR.cpMax, 11);

  R->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), L"world");
  R->CutToClipboard();
  EXPECT_EQ(R->Text(), L"Hello ");
  EXPECT_TRUE(R->CanUndo());
  R->Undo();
  EXPECT_EQ(R->Text(), L"Hello world");
  R->SetSelStart(0);
  R->PasteFromClipboard();
  EXPECT_EQ(R->Text(), L"worldHello world");
  Clipboard()->SetAsText(L"Мир ");
  R->SetSelStart(0);
  R->SetSelLength(5);
  R->PasteFromClipboard();
  EXPECT_EQ(R->Text(), L"Мир Hello world");
  R->SetSelStart(0);
  R->SetSelLength(4);
  R->ClearSelection();
  EXPECT_EQ(R->Text(), L"Hello world");
  EXPECT_TRUE(Clipboard()->AsText() == L"Мир ");
  R->SetSelStart(5);
  R->SetSelText(L",");
  EXPECT_EQ(R->Text(), L"Hello, world");
  R->SelectAll();
  R->ClearSelection();
  EXPECT_EQ(R->Text(), L"");
}

TEST_F(ComCtrlsFixture, RichEditZoomFontAndModes) {
  TRichEdit* R = Add<TRichEdit>(Bounds(10, 10, 80, 150));
  R->Font()->SetName(L"Tahoma");
  R->Font()->SetCharset(RUSSIAN_CHARSET);
  R->SetZoom(150);
  R->SetReadOnly(true);
  R->SetHideSelection(false);
  R->SetText(L"a long line of text that cannot fit into eighty pixels");
  Form->Show();
  HWND H = R->Handle();
  EXPECT_EQ(R->Zoom(), 150);
  int Num = 0, Den = 0;
  SendMessageW(H, EM_GETZOOM, reinterpret_cast<WPARAM>(&Num), reinterpret_cast<LPARAM>(&Den));
  EXPECT_EQ(MulDiv(Num, 100, Den), 150);
  R->SetZoom(100);
  EXPECT_EQ(R->Zoom(), 100);
  CHARFORMAT2W F{};
  F.cbSize = sizeof(F);
  SendMessageW(H, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&F));
  EXPECT_EQ(F.bCharSet, RUSSIAN_CHARSET);
  EXPECT_STREQ(F.szFaceName, L"Tahoma");
  R->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
  SendMessageW(H, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&F));
  EXPECT_TRUE(F.dwEffects & CFE_BOLD);
  EXPECT_TRUE(GetWindowLongW(H, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongW(H, GWL_STYLE) & ES_NOHIDESEL);
  // Word wrap breaks the long line into several; without it it stays one.
  EXPECT_GT(SendMessageW(H, EM_GETLINECOUNT, 0, 0), 1);
  R->SetWordWrap(false);
  EXPECT_EQ(SendMessageW(R->Handle(), EM_GETLINECOUNT, 0, 0), 1);
  // The window shows a scroll bar only when the text needs one.
  String Many;
  for (int I = 0; I < 40; ++I) Many += L"line\r\n";
  R->SetText(Many);
  R->SetScrollBars(ssVertical);
  EXPECT_TRUE(GetWindowLongW(R->Handle(), GWL_STYLE) & WS_VSCROLL);
  R->SetScrollBars(ssNone);
  EXPECT_FALSE(GetWindowLongW(R->Handle(), GWL_STYLE) & WS_VSCROLL);
  R->SetText(L"a long line of text that cannot fit into eighty pixels");
  // Plain text mode survives the recreation with the text.
  R->SetPlainText(true);
  EXPECT_TRUE(SendMessageW(R->Handle(), EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT);
  EXPECT_EQ(R->Text(), L"a long line of text that cannot fit into eighty pixels");
}

// The library that draws the rich edit stays loaded while a window of it
// lives: a shut-down while one is left (a form freed after the modules) must
// not take its window procedure away. The last window's end unloads it.
TEST_F(ComCtrlsFixture, TheRichEditLibraryOutlivesItsLastWindow) {
  auto Loaded = [] { return GetModuleHandleW(L"msftedit.dll") != nullptr; };
  // Nothing else of the test keeps it loaded.
  ComCtrls_Finalize();
  ASSERT_FALSE(Loaded());
  ComCtrls_Initialize();
  TRichEdit* A = Add<TRichEdit>();
  TRichEdit* B = Add<TRichEdit>(Bounds(10, 170, 300, 100));
  A->Lines()->Add(L"одна");
  B->Lines()->Add(L"другая");
  Form->Show();
  ASSERT_TRUE(Loaded());
  ComCtrls_Finalize();
  ASSERT_TRUE(Loaded());
  // The windows still answer: their procedure is there.
  EXPECT_EQ(A->Lines()->Strings(0), L"одна");
  SendMessageW(A->Handle(), WM_PAINT, 0, 0);
  A->Free();
  EXPECT_TRUE(Loaded());
  EXPECT_EQ(B->Lines()->Strings(0), L"другая");
  Form.reset();
  EXPECT_FALSE(Loaded());
  // A later start-up loads it again for new windows.
  ComCtrls_Initialize();
  Form.reset(Create<TForm>(nullptr, true));
  TRichEdit* C = Add<TRichEdit>();
  C->Lines()->Add(L"снова");
  Form->Show();
  EXPECT_TRUE(Loaded());
  EXPECT_EQ(C->Lines()->Strings(0), L"снова");
}

// Text copied from a rich edit sits on the clipboard as the library's data
// object; unloading the library leaves the text there, and the clipboard's
// shut-down never calls into code that is gone.
TEST_F(ComCtrlsFixture, CopiedTextOutlivesTheRichEditLibrary) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  TRichEdit* R = Add<TRichEdit>();
  R->Lines()->Add(L"строка журнала");
  Form->Show();
  R->SelectAll();
  R->CopyToClipboard();
  Form.reset();
  ComCtrls_Finalize();
  ASSERT_EQ(GetModuleHandleW(L"msftedit.dll"), nullptr);
  // Shut down as the program's end does; the clipboard is flushed by then.
  OleUninitialize();
  String Text;
  ASSERT_TRUE(OpenClipboard(nullptr));
  if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* P = static_cast<const wchar_t*>(GlobalLock(H))) Text = P;
    GlobalUnlock(H);
  }
  CloseClipboard();
  EXPECT_EQ(Trim(Text), L"строка журнала");
  ComCtrls_Initialize();
}

TEST_F(ComCtrlsFixture, ProgressBarRoundTrips) {
  TProgressBar* P = Add<TProgressBar>(Bounds(10, 10, 200, 20));
  P->SetMax(50);
  P->SetMin(10);
  P->SetPosition(20);
  P->SetStep(15);
  Form->Show();
  HWND H = P->Handle();
  EXPECT_EQ(SendMessageW(H, PBM_GETRANGE, TRUE, 0), 10);
  EXPECT_EQ(SendMessageW(H, PBM_GETRANGE, FALSE, 0), 50);
  EXPECT_EQ(SendMessageW(H, PBM_GETPOS, 0, 0), 20);
  P->StepIt();
  EXPECT_EQ(P->Position(), 35);
  P->StepBy(5);
  EXPECT_EQ(P->Position(), 40);
  P->SetPosition(99);
  EXPECT_EQ(P->Position(), 50);
  EXPECT_THROW(P->SetMax(5), EInvalidOperation);
  P->SetSmooth(true);
  EXPECT_TRUE(GetWindowLongW(P->Handle(), GWL_STYLE) & PBS_SMOOTH);
  EXPECT_EQ(P->Position(), 50);
  P->SetOrientation(pbVertical);
  EXPECT_TRUE(GetWindowLongW(P->Handle(), GWL_STYLE) & PBS_VERTICAL);
  P->SetStyle(pbstMarquee);
  EXPECT_TRUE(GetWindowLongW(P->Handle(), GWL_STYLE) & PBS_MARQUEE);
}

TEST(Clipboard, TextInBothEncodingsAndNestedOpen) {
  TClipboard* C = Clipboard();
  C->SetAsText(L"Текст");
  EXPECT_TRUE(C->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(C->AsText(), L"Текст");
  // The platform offers the same text as 8-bit text.
  EXPECT_TRUE(C->HasFormat(CF_TEXT));
  // 8-bit text alone is read too.
  const char Ansi[] = "plain";
  HGLOBAL G = GlobalAlloc(GMEM_MOVEABLE, sizeof(Ansi));
  memcpy(GlobalLock(G), Ansi, sizeof(Ansi));
  GlobalUnlock(G);
  C->SetAsHandle(CF_TEXT, G);
  EXPECT_EQ(C->AsText(), L"plain");
  EXPECT_NE(C->GetAsHandle(CF_TEXT), nullptr);

  // Within one Open, two formats land together: the second does not empty
  // the clipboard again.
  UINT Custom = RegisterClipboardFormatW(L"FrameworkTestFormat");
  C->Open();
  C->SetAsText(L"together");
  HGLOBAL D = GlobalAlloc(GMEM_MOVEABLE, 4);
  C->SetAsHandle(Custom, D);
  C->Close();
  EXPECT_TRUE(C->HasFormat(Custom));
  EXPECT_EQ(C->AsText(), L"together");
  C->Clear();
  EXPECT_FALSE(C->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(C->AsText(), L"");
}

TEST(Clipboard, HeldByAnotherWindowCannotBeOpened) {
  HWND Other =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(OpenClipboard(Other));
  // The platform refuses another thread's open while this one holds it.
  struct Result {
    String Message;
    bool Raised = false;
  } R;
  HANDLE T = CreateThread(
      nullptr, 0,
      [](void* P) -> DWORD {
        auto* Res = static_cast<Result*>(P);
        TOwned<TClipboard> Own(Create<TClipboard>());
        try {
          Own->Open();
          Own->Close();
        } catch (EClipboardException& E) {
          Res->Raised = true;
          Res->Message = E.Message();
        }
        return 0;
      },
      &R, 0, nullptr);
  WaitForSingleObject(T, INFINITE);
  CloseHandle(T);
  CloseClipboard();
  DestroyWindow(Other);
  EXPECT_TRUE(R.Raised);
  EXPECT_EQ(R.Message.rfind(L"Cannot open clipboard", 0), 0u) << R.Message;
}

}  // namespace
