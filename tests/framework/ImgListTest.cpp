#include <gtest/gtest.h>

#include <vector>

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

TEST(ImageList, InsertMoveOverlaysHandlesAndStreams) {
  TOwned<TImageList> L(Create<TImageList>(nullptr));
  L->SetColorDepth(cd24Bit);
  const TColor Colours[] = {clRed, clLime, clBlue, clYellow};
  for (TColor C : Colours) L->Add(Solid(16, 16, C).get(), nullptr);
  auto Centres = [](TCustomImageList* AList) {
    std::vector<TColor> R;
    for (Integer I = 0; I < AList->Count(); ++I) {
      auto Target = Solid(16, 16, clWhite);
      AList->Draw(Target->Canvas(), 0, 0, I);
      R.push_back(Target->Canvas()->Pixels(8, 8) & 0xFFFFFF);
    }
    return R;
  };
  L->Move(3, 0);
  EXPECT_EQ(Centres(L.get()), (std::vector<TColor>{clYellow, clRed, clLime, clBlue}));
  L->Move(0, 2);
  EXPECT_EQ(Centres(L.get()), (std::vector<TColor>{clRed, clLime, clYellow, clBlue}));
  L->Insert(1, Solid(32, 16, clAqua).get(), nullptr);  // two images, in order
  EXPECT_EQ(Centres(L.get()),
            (std::vector<TColor>{clRed, clAqua, clAqua, clLime, clYellow, clBlue}));
  L->Insert(L->Count(), Solid(16, 16, clFuchsia).get(), nullptr);
  EXPECT_EQ(L->Count(), 7);

  // An overlay: a masked image drawn over another one.
  auto Dot = Solid(16, 16, clWhite);
  Dot->Canvas()->Brush()->SetColor(clBlack);
  Dot->Canvas()->FillRect(Rect(0, 0, 4, 4));
  Integer DotIndex = L->AddMasked(Dot.get(), clWhite);
  ASSERT_TRUE(L->Overlay(DotIndex, 0));
  auto Target = Solid(16, 16, clWhite);
  L->DrawOverlay(Target->Canvas(), 0, 0, 0, 0);
  EXPECT_EQ(Target->Canvas()->Pixels(1, 1) & 0xFFFFFF, clBlack);
  EXPECT_EQ(Target->Canvas()->Pixels(8, 8) & 0xFFFFFF, clRed);

  // A background colour fills what the mask leaves out.
  L->SetBkColor(clGreen);
  EXPECT_EQ(ImageList_GetBkColor(L->Handle()), static_cast<COLORREF>(clGreen));
  L->SetBkColor(clNone);

  // A shared platform list is not destroyed with the list that shares it.
  HIMAGELIST Shared = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
  ImageList_SetImageCount(Shared, 1);
  {
    TOwned<TImageList> Sharer(Create<TImageList>(nullptr));
    Sharer->SetShareImages(true);
    Sharer->SetHandle(Shared);
    EXPECT_EQ(Sharer->Handle(), Shared);
  }
  EXPECT_EQ(ImageList_GetImageCount(Shared), 1);
  EXPECT_TRUE(ImageList_Destroy(Shared));

  // Assigned, and through the platform's image-list stream.
  TOwned<TImageList> Copy(Create<TImageList>(nullptr));
  Copy->Assign(L.get());
  EXPECT_EQ(Centres(Copy.get()), Centres(L.get()));
  TOwned<TMemoryStream> Form(Create<TMemoryStream>());
  L->SetName(L"Images");
  WriteComponentToStream(Form.get(), L.get());
  Form->SetPosition(0);
  TOwned<TImageList> Read(Create<TImageList>(nullptr));
  ReadComponentFromStream(Form.get(), Read.get());
  EXPECT_EQ(Centres(Read.get()), Centres(L.get()));
}

}  // namespace
