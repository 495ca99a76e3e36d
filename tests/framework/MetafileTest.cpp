#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "Graphics.h"

namespace {

// An enhanced metafile of 40 x 20 pixels: red on the left half, blue on the
// right.
TOwned<TMetafile> TwoColours() {
  HDC Screen = GetDC(nullptr);
  Integer PerPixelX = GetDeviceCaps(Screen, HORZSIZE) * 100 / GetDeviceCaps(Screen, HORZRES);
  Integer PerPixelY = GetDeviceCaps(Screen, VERTSIZE) * 100 / GetDeviceCaps(Screen, VERTRES);
  RECT Frame{0, 0, 40 * PerPixelX, 20 * PerPixelY};
  HDC DC = CreateEnhMetaFileW(Screen, nullptr, &Frame, nullptr);
  ReleaseDC(nullptr, Screen);
  for (auto [Left, Colour] : {std::pair<int, COLORREF>{0, RGB(255, 0, 0)}, {20, RGB(0, 0, 255)}}) {
    RECT R{Left, 0, Left + 20, 20};
    HBRUSH B = CreateSolidBrush(Colour);
    FillRect(DC, &R, B);
    DeleteObject(B);
  }
  TOwned<TMetafile> M(Create<TMetafile>());
  M->SetHandle(CloseEnhMetaFile(DC));
  return M;
}

TOwned<TBitmap> DrawnOnWhite(TGraphic* AGraphic, Integer W, Integer H) {
  TOwned<TBitmap> B(Create<TBitmap>());
  B->SetPixelFormat(TPixelFormat::pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  B->Canvas()->StretchDraw(Rect(0, 0, W, H), AGraphic);
  return B;
}

TEST(Metafile, EnhancedAndPlaceableStreamsComeBackAndDraw) {
  auto M = TwoColours();
  ASSERT_FALSE(M->Empty());
  EXPECT_TRUE(M->Enhanced());
  EXPECT_NEAR(M->Width(), 40, 1);
  EXPECT_NEAR(M->Height(), 20, 1);
  for (bool Enhanced : {true, false}) {
    M->SetEnhanced(Enhanced);
    TOwned<TMemoryStream> S(Create<TMemoryStream>());
    M->SaveToStream(S.get());
    ASSERT_GT(S->Size(), 4) << Enhanced;
    DWORD Key = 0;
    std::memcpy(&Key, S->Memory(), 4);
    EXPECT_EQ(Key, Enhanced ? static_cast<DWORD>(EMR_HEADER) : 0x9AC6CDD7u) << Enhanced;
    S->SetPosition(0);
    TOwned<TMetafile> Back(Create<TMetafile>());
    Back->LoadFromStream(S.get());
    EXPECT_EQ(Back->Enhanced(), Enhanced);
    EXPECT_NEAR(Back->Width(), 40, 1) << Enhanced;
    EXPECT_NEAR(Back->Height(), 20, 1) << Enhanced;
    auto B = DrawnOnWhite(Back.get(), 40, 20);
    EXPECT_EQ(B->Canvas()->Pixels(5, 10) & 0xFFFFFF, clRed) << Enhanced;
    EXPECT_EQ(B->Canvas()->Pixels(35, 10) & 0xFFFFFF, clBlue) << Enhanced;
  }
  // Copies are independent; anything but a metafile is refused.
  TOwned<TMetafile> Copy(Create<TMetafile>());
  Copy->Assign(M.get());
  M->Clear();
  EXPECT_TRUE(M->Empty());
  EXPECT_FALSE(Copy->Empty());
  const char Junk[] = "not a metafile at all";
  TOwned<TMemoryStream> Bad(Create<TMemoryStream>());
  Bad->WriteBuffer(Junk, sizeof Junk);
  Bad->SetPosition(0);
  EXPECT_THROW(Copy->LoadFromStream(Bad.get()), EInvalidGraphic);
  EXPECT_FALSE(Copy->Empty());
}

}  // namespace
