#include <gtest/gtest.h>

#include "Forms.h"
#include "StdCtrls.h"

namespace {

class TTestFrame : public TFrame {
  DECLARE_CLASS(TTestFrame, TFrame)
 public:
  using TFrame::TFrame;
  TLabel* Label1 = nullptr;
  TButton* Button1 = nullptr;
  int Clicks = 0;
  void Button1Click(TObject*) { ++Clicks; }
};
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestFrame) {
  P.Method<&TTestFrame::Button1Click>(L"Button1Click");
  P.Field<&TTestFrame::Label1>(L"Label1");
  P.Field<&TTestFrame::Button1>(L"Button1");
}

class TFrameHostForm : public TForm {
  DECLARE_CLASS(TFrameHostForm, TForm)
 public:
  using TForm::TForm;
  TEdit* Edit1 = nullptr;
  TTestFrame* Frame1 = nullptr;
  TLabel* Label2 = nullptr;
};
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TFrameHostForm) {
  P.Field<&TFrameHostForm::Edit1>(L"Edit1");
  P.Field<&TFrameHostForm::Frame1>(L"Frame1");
  P.Field<&TFrameHostForm::Label2>(L"Label2");
}

// A frame class nobody made a resource for.
class TBareFrame : public TFrame {
  DECLARE_CLASS(TBareFrame, TFrame)
 public:
  using TFrame::TFrame;
};
IMPLEMENT_CREATABLE_CLASS(TBareFrame)

struct FrameFixture : testing::Test {
  void SetUp() override {
    StdCtrls_Initialize();
    RegisterClasses({TTestFrame::StaticClass(), TFrameHostForm::StaticClass()});
  }
};

TEST_F(FrameFixture, AFrameReadsItsControlsFromItsResource) {
  TOwned<TCustomForm> Form(Create<TForm>(nullptr, true));
  auto* A = Create<TTestFrame>(Form.get());
  auto* B = Create<TTestFrame>(Form.get());
  A->SetParent(Form.get());
  B->SetParent(Form.get());
  B->SetTop(90);
  // Each frame has its own controls, owned and parented by it.
  for (TTestFrame* F : {A, B}) {
    ASSERT_NE(F->Button1, nullptr);
    EXPECT_EQ(F->Button1->Owner(), F);
    EXPECT_EQ(F->Button1->Parent(), F);
    EXPECT_EQ(F->Label1->Caption(), L"Frame label");
    EXPECT_EQ(F->Button1->Caption(), L"Press");
    EXPECT_EQ(F->Width(), 200);
    EXPECT_FALSE(F->ComponentState().Contains(csLoading));
  }
  EXPECT_NE(A->Button1, B->Button1);
  // Two frames of one class under one owner get names of their own.
  EXPECT_EQ(A->Name(), L"TestFrame");
  EXPECT_EQ(B->Name(), L"TestFrame_1");
  Form->Show();
  EXPECT_EQ(GetParent(A->Button1->Handle()), A->Handle());
  SendMessageW(B->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(B->Clicks, 1);
  EXPECT_EQ(A->Clicks, 0);
}

TEST_F(FrameFixture, AFrameInAFormResourceTakesTheFormsChanges) {
  TOwned<TFrameHostForm> Form(Create<TFrameHostForm>(nullptr));
  ASSERT_NE(Form->Frame1, nullptr);
  TTestFrame* F = Form->Frame1;
  EXPECT_TRUE(F->ComponentState().Contains(csInline));
  EXPECT_EQ(F->Owner(), Form.get());
  EXPECT_EQ(F->Parent(), Form.get());
  EXPECT_EQ(F->Name(), L"Frame1");
  EXPECT_EQ(F->BoundsRect(), Bounds(10, 100, 200, 80));
  // The form changed the frame's button; the rest is the frame's own.
  EXPECT_EQ(F->Button1->Caption(), L"Changed");
  EXPECT_EQ(F->Label1->Caption(), L"Frame label");
  EXPECT_EQ(F->Button1->Owner(), F);
  // A reference into the frame from the form.
  EXPECT_EQ(Form->Label2->FocusControl(), F->Button1);
  EXPECT_EQ(F->TabOrder(), 1);
  Form->Show();
  SendMessageW(F->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(F->Clicks, 1);
}

TEST_F(FrameFixture, AFrameClassWithoutAResourceIsRefusedCleanly) {
  TOwned<TCustomForm> Form(Create<TForm>(nullptr, true));
  Integer Before = Form->ComponentCount();
  EXPECT_THROW(Create<TBareFrame>(Form.get()), EResNotFound);
  EXPECT_EQ(Form->ComponentCount(), Before);
  // The plain frame class is a frame without a resource of its own.
  TFrame* Plain = Create<TFrame>(Form.get());
  EXPECT_EQ(Plain->ControlCount(), 0);
}

TEST_F(FrameFixture, AFrameWritesItsControlsAsItsChildren) {
  TOwned<TTestFrame> F(Create<TTestFrame>(nullptr));
  TOwned<TMemoryStream> Binary(Create<TMemoryStream>());
  WriteComponentToStream(Binary.get(), F.get());
  Binary->SetPosition(0);
  TOwned<TStringStream> Text(Create<TStringStream>(String()));
  ObjectBinaryToText(Binary.get(), Text.get());
  String S = Text->DataString();
  EXPECT_NE(S.find(L"object Button1: TButton"), String::npos) << S;
  EXPECT_NE(S.find(L"object Label1: TLabel"), String::npos) << S;
}

}  // namespace
