#include <gtest/gtest.h>

#include "ImgList.h"

namespace {

TOwned<TBitmap> Solid(Integer W, Integer H, TColor Color) {
  TOwned<TBitmap> B(Create<TBitmap>());
  B->SetPixelFormat(TPixelFormat::pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Color);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

struct TChangeCounter {
  int Changes = 0;
  TObject* Sender = nullptr;
  void Changed(TObject* S) {
    ++Changes;
    Sender = S;
  }
};

TEST(ImageList, AddDrawDeleteAndChangeLinks) {
  TOwned<TImageList> L(Create<TImageList>(nullptr));
  L->SetColorDepth(cd24Bit);
  TChangeCounter Counter;
  TOwned<TChangeLink> Link(Create<TChangeLink>());
  Link->OnChange = MakeEvent<&TChangeCounter::Changed>(&Counter);
  L->RegisterChanges(Link.get());

  // A strip two images wide adds two images.
  auto Strip = Solid(32, 16, clRed);
  Strip->Canvas()->Brush()->SetColor(clBlue);
  Strip->Canvas()->FillRect(Rect(16, 0, 32, 16));
  EXPECT_EQ(L->Add(Strip.get(), nullptr), 0);
  EXPECT_EQ(L->Count(), 2);
  EXPECT_EQ(Counter.Changes, 1);
  EXPECT_EQ(Counter.Sender, L.get());
  int W = 0, H = 0;
  ImageList_GetIconSize(L->Handle(), &W, &H);
  EXPECT_EQ(W, 16);
  EXPECT_EQ(H, 16);

  // Masked: the mask colour is left out when drawn.
  auto Dot = Solid(16, 16, clLime);
  Dot->Canvas()->Brush()->SetColor(clYellow);
  Dot->Canvas()->FillRect(Rect(4, 4, 8, 8));
  EXPECT_EQ(L->AddMasked(Dot.get(), clLime), 2);
  EXPECT_EQ(Counter.Changes, 2);

  auto Target = Solid(48, 16, clWhite);
  L->Draw(Target->Canvas(), 0, 0, 0);
  L->Draw(Target->Canvas(), 16, 0, 1);
  L->Draw(Target->Canvas(), 32, 0, 2);
  EXPECT_EQ(Target->Canvas()->Pixels(5, 5) & 0xFFFFFF, clRed);
  EXPECT_EQ(Target->Canvas()->Pixels(20, 5) & 0xFFFFFF, clBlue);
  EXPECT_EQ(Target->Canvas()->Pixels(32 + 5, 5) & 0xFFFFFF, clYellow);
  EXPECT_EQ(Target->Canvas()->Pixels(32 + 12, 12) & 0xFFFFFF, clWhite);

  TOwned<TBitmap> Got(Create<TBitmap>());
  L->GetBitmap(1, Got.get());
  EXPECT_EQ(Got->Width(), 16);
  EXPECT_EQ(Got->Canvas()->Pixels(3, 3) & 0xFFFFFF, clBlue);

  L->Delete(0);
  EXPECT_EQ(L->Count(), 2);
  EXPECT_THROW(L->Delete(5), EInvalidOperation);
  L->BeginUpdate();
  L->Delete(0);
  L->Delete(0);
  L->EndUpdate();
  EXPECT_EQ(L->Count(), 0);
  EXPECT_EQ(Counter.Changes, 4);  // one for the batch

  // A new size empties the list.
  L->Add(Dot.get(), nullptr);
  L->SetSize(24, 24);
  EXPECT_EQ(L->Count(), 0);
  ImageList_GetIconSize(L->Handle(), &W, &H);
  EXPECT_EQ(W, 24);

  // A freed link is no longer told; a freed list lets go of its links.
  Link.reset();
  L->Clear();
  EXPECT_EQ(Counter.Changes, 6);
  TOwned<TChangeLink> Link2(Create<TChangeLink>());
  L->RegisterChanges(Link2.get());
  L.reset();
  EXPECT_EQ(Link2->Sender(), nullptr);
}

}  // namespace
