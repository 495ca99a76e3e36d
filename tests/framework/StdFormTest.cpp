#include <gtest/gtest.h>

#include "Clipbrd.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "StdCtrls.h"

namespace {

// The control modules' classes, registered as the program's start-up does.
class ControlModulesEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    StdCtrls_Initialize();
    ComCtrls_Initialize();
    ExtCtrls_Initialize();
    Menus_Initialize();
    Dialogs_Initialize();
    ImgList_Initialize();
  }
  void TearDown() override {
    Clipbrd_Finalize();
    ComCtrls_Finalize();
  }
};
const testing::Environment* const Env =
    testing::AddGlobalTestEnvironment(new ControlModulesEnvironment);

class TStdTestForm : public TForm {
  DECLARE_CLASS(TStdTestForm, TForm)
 public:
  using TForm::TForm;
  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* Edit1 = nullptr;
  TMemo* Memo1 = nullptr;
  TRichEdit* RichEdit1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TButton* Button1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TShape* Shape1 = nullptr;
  TBevel* Bevel1 = nullptr;
  TImage* Image1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* CopyItem = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  int Clicks = 0;
  void Button1Click(TObject*) { ++Clicks; }
};

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TStdTestForm) {
  P.Method<&TStdTestForm::Button1Click>(L"Button1Click");
  P.Field<&TStdTestForm::Panel1>(L"Panel1");
  P.Field<&TStdTestForm::Label1>(L"Label1");
  P.Field<&TStdTestForm::Edit1>(L"Edit1");
  P.Field<&TStdTestForm::Memo1>(L"Memo1");
  P.Field<&TStdTestForm::RichEdit1>(L"RichEdit1");
  P.Field<&TStdTestForm::CheckBox1>(L"CheckBox1");
  P.Field<&TStdTestForm::ComboBox1>(L"ComboBox1");
  P.Field<&TStdTestForm::ListBox1>(L"ListBox1");
  P.Field<&TStdTestForm::Button1>(L"Button1");
  P.Field<&TStdTestForm::ProgressBar1>(L"ProgressBar1");
  P.Field<&TStdTestForm::Shape1>(L"Shape1");
  P.Field<&TStdTestForm::Bevel1>(L"Bevel1");
  P.Field<&TStdTestForm::Image1>(L"Image1");
  P.Field<&TStdTestForm::PopupMenu1>(L"PopupMenu1");
  P.Field<&TStdTestForm::CopyItem>(L"CopyItem");
  P.Field<&TStdTestForm::OpenDialog1>(L"OpenDialog1");
}

TEST(StdForm, ReadFromItsTextResourceAndShown) {
  TOwned<TStdTestForm> F(Create<TStdTestForm>(nullptr));
  ASSERT_NE(F->Edit1, nullptr);
  EXPECT_EQ(F->Caption(), L"Стандартные элементы");
  EXPECT_EQ(F->Edit1->Parent(), F->Panel1);
  EXPECT_EQ(F->Label1->Parent(), F->Panel1);
  // The label sized itself to its caption while the form was read, before any window.
  EXPECT_FALSE(F->Panel1->HandleAllocated());
  EXPECT_GT(F->Label1->Width(), 10);
  EXPECT_LT(F->Label1->Width(), 65);
  F->Show();
  EXPECT_EQ(GetParent(F->Edit1->Handle()), F->Panel1->Handle());
  EXPECT_EQ(F->Edit1->Text(), L"initial");
  EXPECT_EQ(SendMessageW(F->Edit1->Handle(), EM_GETLIMITTEXT, 0, 0), 10);
  EXPECT_EQ(F->Edit1->Alignment(), taRightJustify);
  EXPECT_EQ(GetWindowLongW(F->Edit1->Handle(), GWL_STYLE) & (ES_RIGHT | ES_OEMCONVERT),
            ES_RIGHT | ES_OEMCONVERT);
  EXPECT_EQ(F->Edit1->TextHint(), L"Имя");
  EXPECT_EQ(F->Edit1->ImeMode(), imDisable);
  EXPECT_FALSE(GetWindowLongW(F->ListBox1->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(SendMessageW(F->ListBox1->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 300);
  EXPECT_EQ(F->Memo1->Lines()->Count(), 2);
  EXPECT_EQ(F->Memo1->Lines()->Strings(1), L"строка два");
  EXPECT_TRUE(GetWindowLongW(F->Memo1->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(F->Memo1->PopupMenu(), F->PopupMenu1);
  EXPECT_EQ(F->RichEdit1->Lines()->Strings(0), L"rich text");
  EXPECT_TRUE(SendMessageW(F->RichEdit1->Handle(), EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT);
  EXPECT_EQ(F->RichEdit1->Zoom(), 120);
  EXPECT_EQ(SendMessageW(F->CheckBox1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(F->ComboBox1->Style(), csDropDownList);
  EXPECT_EQ(SendMessageW(F->ComboBox1->Handle(), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(F->ComboBox1->Text(), L"two");
  EXPECT_EQ(F->ListBox1->Items()->Strings(0), L"a");
  EXPECT_EQ(SendMessageW(F->ProgressBar1->Handle(), PBM_GETPOS, 0, 0), 30);
  EXPECT_EQ(F->Shape1->Brush()->Color(), clRed);
  EXPECT_EQ(F->Shape1->Shape(), stCircle);
  EXPECT_EQ(F->Bevel1->Shape(), bsTopLine);
  EXPECT_TRUE(F->Image1->Stretch());
  EXPECT_EQ(F->Panel1->BevelOuter(), bvLowered);
  EXPECT_EQ(F->Panel1->Width(), F->ClientWidth());
  ASSERT_EQ(F->PopupMenu1->Items()->Count(), 2);
  EXPECT_EQ(F->PopupMenu1->Items()->Items(0), F->CopyItem);
  EXPECT_EQ(ShortCutToText(F->CopyItem->ShortCut()), L"Ctrl+C");
  EXPECT_EQ(F->OpenDialog1->Filter(), L"Text|*.txt");
  EXPECT_TRUE(F->OpenDialog1->Options().Contains(ofFileMustExist));
  EXPECT_EQ(F->OpenDialog1->Title(), L"Open a text");

  // Events bound by name reach the form.
  SendMessageW(F->Button1->Handle(), BM_CLICK, 0, 0);
  F->CopyItem->Click();
  EXPECT_EQ(F->Clicks, 2);
  EXPECT_EQ(F->ModalResult(), mrOk);
}

TEST(StdForm, PanelShapeAndImagePaint) {
  TOwned<TCustomForm> F(Create<TForm>(nullptr, true));
  F->SetBounds(30, 30, 300, 200);
  F->SetColor(clWhite);
  auto* P = Create<TPanel>(F.get());
  P->SetParent(F.get());
  P->SetBounds(0, 0, 100, 50);
  P->SetColor(clYellow);
  P->SetBevelOuter(bvRaised);
  P->SetBevelWidth(2);
  auto* S = Create<TShape>(F.get());
  S->SetParent(F.get());
  S->SetBounds(120, 0, 40, 40);
  S->Brush()->SetColor(clLime);
  S->SetShape(stCircle);
  auto* I = Create<TImage>(F.get());
  I->SetParent(F.get());
  I->SetBounds(180, 0, 40, 20);
  I->SetStretch(true);
  I->SetProportional(true);
  I->SetCenter(true);
  TOwned<TBitmap> B(Create<TBitmap>());
  B->SetPixelFormat(TPixelFormat::pf24bit);
  B->SetSize(10, 10);
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(Rect(0, 0, 10, 10));
  I->Picture()->SetGraphic(B.get());
  // Proportional: a square picture in a 40x20 box is 20x20, centred.
  EXPECT_EQ(I->DestRect(), Bounds(10, 0, 20, 20));
  F->Show();
  F->Update();
  P->Update();
  // Aligned children stay inside the bevels.
  auto* Inner = Create<TPanel>(F.get());
  Inner->SetParent(P);
  Inner->SetAlign(alClient);
  EXPECT_EQ(Inner->BoundsRect(), Rect(2, 2, 98, 48));
  Inner->Free();
  P->Update();
  HDC PDC = GetDC(P->Handle());
  EXPECT_EQ(GetPixel(PDC, 50, 25), static_cast<COLORREF>(RGB(255, 255, 0)));
  EXPECT_EQ(GetPixel(PDC, 0, 0), static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(GetPixel(PDC, 99, 49), static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
  ReleaseDC(P->Handle(), PDC);
  HDC DC = GetDC(F->Handle());
  EXPECT_EQ(GetPixel(DC, 140, 20), static_cast<COLORREF>(RGB(0, 255, 0)));     // circle centre
  EXPECT_EQ(GetPixel(DC, 121, 1), static_cast<COLORREF>(RGB(255, 255, 255)));  // outside the circle
  EXPECT_EQ(GetPixel(DC, 200, 10), static_cast<COLORREF>(RGB(0, 0, 255)));     // the picture
  EXPECT_EQ(GetPixel(DC, 182, 10), static_cast<COLORREF>(RGB(255, 255, 255)));  // beside it
  ReleaseDC(F->Handle(), DC);
}

}  // namespace
