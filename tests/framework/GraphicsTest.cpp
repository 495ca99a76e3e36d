#include <gtest/gtest.h>

#include "Graphics.h"

namespace {

struct GraphicsModule : testing::Test {
  void SetUp() override { Graphics_Initialize(); }
};

TEST(Colors, SystemColoursResolveAndNamesRoundTrip) {
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  struct {
    TColor Color;
    const wchar_t* Text;
  } Cases[] = {{clRed, L"clRed"},
               {clBtnFace, L"clBtnFace"},
               {clNone, L"clNone"},
               {0x00123456, L"$00123456"}};
  for (const auto& C : Cases) {
    EXPECT_EQ(ColorToString(C.Color), C.Text);
    EXPECT_EQ(StringToColor(C.Text), C.Color);
  }
  EXPECT_EQ(StringToColor(L"clbtnface"), clBtnFace);
}

TEST(Fonts, HeightSizeAndHandleFollowProperties) {
  TOwned<TFont> F(Create<TFont>());
  F->SetPixelsPerInch(96);
  F->SetSize(8);
  EXPECT_EQ(F->Height(), -11);
  F->SetPixelsPerInch(144);
  F->SetHeight(-16);
  EXPECT_EQ(F->Size(), 8);
  int Changes = 0;
  struct Counter {
    int* N;
    void Hit(TObject*) { ++*N; }
  } C{&Changes};
  F->OnChange = MakeEvent<&Counter::Hit>(&C);
  F->SetName(L"Tahoma");  // unchanged: no notification
  F->SetStyle({TFontStyle::fsBold, TFontStyle::fsItalic});
  EXPECT_EQ(Changes, 1);
  LOGFONTW LF{};
  ASSERT_TRUE(GetObjectW(F->Handle(), sizeof(LF), &LF));
  EXPECT_EQ(LF.lfHeight, -16);
  EXPECT_EQ(LF.lfWeight, FW_BOLD);
  EXPECT_TRUE(LF.lfItalic);
  EXPECT_STREQ(LF.lfFaceName, L"Tahoma");
  TOwned<TFont> G(Create<TFont>());
  G->SetPixelsPerInch(144);
  G->Assign(F.get());
  EXPECT_TRUE(G->IsEqual(*F));
}

// Reads one pixel as 0x00RRGGBB from a 24-bit bitmap's own memory.
uint32_t PixelAt(TBitmap& B, int X, int Y) {
  auto* Row = static_cast<Byte*>(B.ScanLine(Y));
  return (Row[X * 3 + 2] << 16) | (Row[X * 3 + 1] << 8) | Row[X * 3];
}

TEST(Canvas, PrimitivesPaintExactPixels) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(6, 5);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clBlue);
  C->FillRect(Rect(0, 0, 6, 5));
  C->Brush()->SetColor(clRed);
  C->FillRect(Rect(1, 1, 3, 3));  // right and bottom lie outside
  C->Pen()->SetColor(clLime);
  C->MoveTo(0, 4);
  C->LineTo(6, 4);  // the last point is not drawn, but 6 is outside anyway
  C->SetPixel(5, 0, clYellow);
  EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(B, 1, 1), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 2, 2), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 3, 3), 0x0000FFu);
  EXPECT_EQ(PixelAt(B, 3, 4), 0x00FF00u);
  EXPECT_EQ(PixelAt(B, 5, 0), 0xFFFF00u);
  EXPECT_EQ(C->Pixels(5, 0), clYellow);
  EXPECT_EQ(C->Pixels(1, 1), clRed);
  C->Brush()->SetColor(clBlack);
  C->FrameRect(Rect(0, 0, 6, 5));
  EXPECT_EQ(PixelAt(B, 0, 2), 0x000000u);
  EXPECT_EQ(PixelAt(B, 1, 1), 0xFF0000u);
  EXPECT_EQ(C->PenPos().x, 6);
}

TEST(Canvas, TextMeasuresAndDraws) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(80, 20);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(0, 0, 80, 20));
  TSize S1 = C->TextExtent(L"Пересчет");
  EXPECT_GT(S1.cx, 0);
  EXPECT_GT(S1.cy, 0);
  EXPECT_LT(C->TextWidth(L"Пе"), S1.cx);
  C->Font()->SetColor(clBlack);
  C->TextOut(2, 2, L"Пересчет");
  int Dark = 0;
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 80; ++X)
      if (PixelAt(B, X, Y) == 0) ++Dark;
  EXPECT_GT(Dark, 10);
  // A bigger font measures bigger.
  C->Font()->SetHeight(-22);
  EXPECT_GT(C->TextHeight(L"Пересчет"), S1.cy);
}

TEST(Canvas, CanvasWithoutHandleRefusesToDraw) {
  TOwned<TCanvas> C(Create<TCanvas>());
  EXPECT_THROW(C->FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST_F(GraphicsModule, BitmapStreamsRoundTripForEachFormat) {
  for (TPixelFormat Format :
       {TPixelFormat::pf1bit, TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    TBitmap B;
    B.SetPixelFormat(Format);
    B.SetSize(7, 3);
    B.Canvas()->Brush()->SetColor(clBlack);
    B.Canvas()->FillRect(Rect(0, 0, 7, 3));
    B.Canvas()->SetPixel(6, 2, clWhite);
    B.Canvas()->SetPixel(0, 0, clWhite);
    TOwned<TMemoryStream> M(Create<TMemoryStream>());
    B.SaveToStream(M.get());
    M->SetPosition(0);
    TBitmap Back;
    Back.LoadFromStream(M.get());
    EXPECT_EQ(Back.Width(), 7);
    EXPECT_EQ(Back.Height(), 3);
    EXPECT_EQ(Back.PixelFormat(), Format);
    EXPECT_EQ(Back.Canvas()->Pixels(6, 2) & 0xFFFFFF, 0xFFFFFF) << static_cast<int>(Format);
    EXPECT_EQ(Back.Canvas()->Pixels(0, 0) & 0xFFFFFF, 0xFFFFFF);
    EXPECT_EQ(Back.Canvas()->Pixels(3, 1) & 0xFFFFFF, 0);
  }
}

TEST_F(GraphicsModule, MalformedBitmapStreamsAreRefused) {
  TBitmap Good;
  Good.SetPixelFormat(TPixelFormat::pf24bit);
  Good.SetSize(4, 4);
  TOwned<TMemoryStream> M(Create<TMemoryStream>());
  Good.SaveToStream(M.get());
  std::string Bytes(static_cast<const char*>(M->Memory()), static_cast<size_t>(M->Size()));
  struct Case {
    const char* Name;
    std::string Data;
  } Cases[] = {
      {"empty", ""},
      {"not a bitmap", "PK" + Bytes.substr(2)},
      {"truncated pixels", Bytes.substr(0, Bytes.size() - 5)},
      {"header only", Bytes.substr(0, 20)},
  };
  for (const auto& C : Cases) {
    TOwned<TMemoryStream> S(Create<TMemoryStream>());
    if (!C.Data.empty()) S->WriteBuffer(C.Data.data(), static_cast<Integer>(C.Data.size()));
    S->SetPosition(0);
    TBitmap B;
    EXPECT_THROW(B.LoadFromStream(S.get()), EInvalidGraphic) << C.Name;
  }
}

TEST(Bitmaps, AlphaFormatPremultipliesAndDrawsBlended) {
  TBitmap Src;
  Src.SetPixelFormat(TPixelFormat::pf32bit);
  Src.SetSize(1, 1);
  auto* P = static_cast<Byte*>(Src.ScanLine(0));
  P[0] = 0;
  P[1] = 0;
  P[2] = 255;
  P[3] = 128;  // half-transparent red
  Src.SetAlphaFormat(TAlphaFormat::afDefined);
  EXPECT_EQ(P[2], 128);  // premultiplied
  TBitmap Dst;
  Dst.SetPixelFormat(TPixelFormat::pf24bit);
  Dst.SetSize(1, 1);
  Dst.Canvas()->Brush()->SetColor(clBlue);
  Dst.Canvas()->FillRect(Rect(0, 0, 1, 1));
  Dst.Canvas()->Draw(0, 0, &Src);
  uint32_t C = PixelAt(Dst, 0, 0);
  EXPECT_NEAR(static_cast<int>((C >> 16) & 0xFF), 128, 2);  // red
  EXPECT_NEAR(static_cast<int>(C & 0xFF), 127, 2);          // blue left over
  Src.SetAlphaFormat(TAlphaFormat::afIgnored);
  EXPECT_EQ(P[2], 255);
}

TEST(Bitmaps, ResizeKeepsContentAndScanLineChecksRows) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(2, 2);
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(Rect(0, 0, 2, 2));
  B.SetSize(4, 3);
  EXPECT_EQ(PixelAt(B, 1, 1), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 3, 2), 0xFFFFFFu);
  EXPECT_THROW(B.ScanLine(3), EInvalidGraphicOperation);
  EXPECT_THROW(B.ScanLine(-1), EInvalidGraphicOperation);
  TBitmap Copy;
  Copy.Assign(&B);
  EXPECT_EQ(PixelAt(Copy, 0, 0), 0xFF0000u);
  EXPECT_EQ(Copy.Width(), 4);
}

TEST_F(GraphicsModule, PictureChoosesTheGraphicClassByExtension) {
  EXPECT_EQ(TPicture::FindGraphicClass(L".BMP"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L"ico"), TIcon::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L".xyz"), nullptr);
  wchar_t Dir[MAX_PATH];
  GetTempPathW(MAX_PATH, Dir);
  String Path = String(Dir) + L"picture-test.bmp";
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(3, 2);
  B.SaveToFile(Path);
  TPicture Pic;
  Pic.LoadFromFile(Path);
  ASSERT_NE(Pic.Graphic(), nullptr);
  EXPECT_EQ(Pic.Graphic()->ClassName(), L"TBitmap");
  EXPECT_EQ(Pic.Width(), 3);
  EXPECT_THROW(Pic.LoadFromFile(String(Dir) + L"x.unknownext"), EInvalidGraphic);
  DeleteFileW(Path.c_str());
}

}  // namespace
