// Image lists, with the platform's comctl32 as the oracle of the cells; the
// paint cache of image lists; image lists in form resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ComObj.h"
#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"
#include "cxImageList.h"
#include "dxGDIPlusClasses.h"

// ---------------------------------------------------------------------------
// A vector image for the tests: a stream "TVEC", width and height (16-bit
// each) and a colour (red, green, blue), drawn as a rectangle of that colour
// at any size, or of the palette's fill colour.
class TTestVectorHandle : public TdxSmartImageCustomHandle,
                          public IdxVectorImage,
                          public IdxImageDataFormatEx {
  DECLARE_CLASS(TTestVectorHandle, TdxSmartImageCustomHandle)
 public:
  TTestVectorHandle(TSize ASize, COLORREF AColor) : FSize(ASize), FColor(AColor) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IdxVectorImage)))
      *AObj = static_cast<IdxVectorImage*>(this);
    else if (IsEqualIID(AIID, __uuidof(IdxImageDataFormatEx)))
      *AObj = static_cast<IdxImageDataFormatEx*>(this);
    else
      return TdxSmartImageCustomHandle::GetInterface(AIID, AObj);
    return true;
  }
  TdxSmartImageCodecClass STDMETHODCALLTYPE GetImageCodec() override;
  TSize GetSize() override { return FSize; }
  TdxAlphaState GetAlphaState() override { return asOpaque; }
  using TdxSmartImageCustomHandle::Draw;
  void Draw(HDC DC, const TRect& ADest, const TRect&, Byte, IdxColorPalette* APalette) override {
    TdxAlphaColor Fill = APalette ? APalette->GetFillColor(L"") : dxacNone;
    FillRectByColor(DC, ADest,
                    Fill == dxacNone ? static_cast<TColor>(FColor) : dxAlphaColorToColor(Fill));
  }
  COLORREF Color() const { return FColor; }

 private:
  TSize FSize;
  COLORREF FColor;
};
IMPLEMENT_CLASS(TTestVectorHandle)

namespace {

const Byte VectorSignature[4] = {'T', 'V', 'E', 'C'};
constexpr Integer VectorStreamSize = 11;

class TTestVectorCodec : public TdxSmartImageCodec {
 public:
  const wchar_t* ClassName() const override { return L"TTestVectorCodec"; }
  String Ext() const override { return L".tvec"; }
  bool GetSize(TStream* AStream, TSize& ASize) const override {
    Byte B[VectorStreamSize];
    if (AStream->Read(B, VectorStreamSize) != VectorStreamSize ||
        std::memcmp(B, VectorSignature, 4) != 0)
      return false;
    ASize = TSize{B[4] | (B[5] << 8), B[6] | (B[7] << 8)};
    return true;
  }
  bool CanLoadStream(TStream* AStream) const override {
    Int64 At = AStream->Position();
    TSize S;
    bool Result = GetSize(AStream, S);
    AStream->SetPosition(At);
    return Result;
  }
  bool CanSaveImage(TdxSmartImageCustomHandle* AHandle) const override {
    return AHandle && AHandle->Is<TTestVectorHandle>();
  }
  using TdxSmartImageCodec::Load;
  bool Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) const override {
    Int64 At = AStream->Position();
    TSize S;
    if (!GetSize(AStream, S)) return false;
    AStream->SetPosition(At + 8);
    Byte C[3];
    AStream->ReadBuffer(C, 3);
    AHandle = Create<TTestVectorHandle>(S, RGB(C[0], C[1], C[2]));
    return true;
  }
  bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const override {
    auto* H = AsOrNull<TTestVectorHandle>(AHandle);
    if (!H) return false;
    AStream->WriteBuffer(VectorStream(H->GetSize(), H->Color()).data(), VectorStreamSize);
    return true;
  }
  static TBytes VectorStream(TSize ASize, COLORREF AColor) {
    TBytes B(VectorSignature, VectorSignature + 4);
    for (LONG V : {ASize.cx, ASize.cy}) {
      B.push_back(static_cast<Byte>(V & 0xFF));
      B.push_back(static_cast<Byte>(V >> 8));
    }
    for (Byte C : {GetRValue(AColor), GetGValue(AColor), GetBValue(AColor)}) B.push_back(C);
    return B;
  }
};

TdxSmartImageCodecClass VectorCodec() {
  static const TTestVectorCodec Codec;
  return &Codec;
}

}  // namespace

TdxSmartImageCodecClass STDMETHODCALLTYPE TTestVectorHandle::GetImageCodec() {
  return VectorCodec();
}

namespace {

// ---------------------------------------------------------------------------
// Pictures and readers

RGBQUAD Opaque(COLORREF C) { return RGBQUAD{GetBValue(C), GetGValue(C), GetRValue(C), 255}; }

bool SameQuad(const RGBQUAD& A, const RGBQUAD& B) {
  return A.rgbBlue == B.rgbBlue && A.rgbGreen == B.rgbGreen && A.rgbRed == B.rgbRed &&
         A.rgbReserved == B.rgbReserved;
}

const COLORREF CellColors[] = {RGB(200, 30, 40),  RGB(20, 160, 60),  RGB(30, 60, 220),
                               RGB(240, 200, 20), RGB(120, 40, 160), RGB(10, 180, 190)};

// A 32-bit bitmap of ACount cells of ACell x ACell side by side, each opaque
// in its colour of CellColors except its top-left pixel, which is
// transparent.
TOwned<TcxBitmap32> CellStrip(Integer ACount, Integer ACell = 16, Integer AFirstColor = 0) {
  TRGBColors P(static_cast<size_t>(ACount) * ACell * ACell);
  for (Integer Y = 0; Y < ACell; ++Y)
    for (Integer X = 0; X < ACount * ACell; ++X) {
      Integer Cell = X / ACell;
      bool Corner = X % ACell == 0 && Y == 0;
      P[static_cast<size_t>(Y) * ACount * ACell + X] =
          Corner ? RGBQUAD{0, 0, 0, 0} : Opaque(CellColors[(AFirstColor + Cell) % 6]);
    }
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(ACount * ACell, ACell));
  SetBitmapBits(B.get(), P, true);
  return B;
}

// The colour of a cell's inside, read from a bitmap.
COLORREF InsideOf(TGraphic* AImage) {
  auto* B = AsOrNull<TBitmap>(AImage);
  return B ? PixelOf(B, B->Width() / 2, B->Height() / 2) : CLR_INVALID;
}

// The pixels of a cell of a platform list, as the platform reports them.
TRGBColors NativeCell(HIMAGELIST AList, Integer AIndex) {
  IMAGEINFO Info{};
  if (!ImageList_GetImageInfo(AList, AIndex, &Info)) return TRGBColors();
  BITMAP Data{};
  GetObjectW(Info.hbmImage, sizeof(Data), &Data);
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI.bmiHeader.biWidth = Data.bmWidth;
  BI.bmiHeader.biHeight = -Data.bmHeight;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 32;
  TRGBColors All(static_cast<size_t>(Data.bmWidth) * Data.bmHeight);
  HDC DC = GetDC(nullptr);
  GetDIBits(DC, Info.hbmImage, 0, static_cast<UINT>(Data.bmHeight), All.data(), &BI,
            DIB_RGB_COLORS);
  ReleaseDC(nullptr, DC);
  TRGBColors Cell;
  for (LONG Y = Info.rcImage.top; Y < Info.rcImage.bottom; ++Y)
    for (LONG X = Info.rcImage.left; X < Info.rcImage.right; ++X)
      Cell.push_back(All[static_cast<size_t>(Y) * Data.bmWidth + X]);
  return Cell;
}

// The colour the platform draws at the centre of a cell on white.
COLORREF PlatformDrawn(HIMAGELIST AList, Integer AIndex, Integer X, Integer Y) {
  TSurface S(16, 16, RGB(255, 255, 255));
  ImageList_Draw(AList, AIndex, S.DC(), 0, 0, ILD_NORMAL);
  return S.Pixel(X, Y);
}

// The colours in the middle of every cell, as the platform draws them.
std::vector<COLORREF> NativeColors(TCustomImageList* AList) {
  std::vector<COLORREF> R;
  for (Integer I = 0; I < AList->Count(); ++I)
    R.push_back(PlatformDrawn(AList->Handle(), I, AList->Width() / 2, AList->Height() / 2));
  return R;
}

std::vector<COLORREF> EntryColors(TcxCustomImageList* AList) {
  std::vector<COLORREF> R;
  for (Integer I = 0; I < AList->Images()->Count(); ++I)
    R.push_back(InsideOf(AList->GetImageInfo(I)->Image()));
  return R;
}

std::vector<COLORREF> Colors(std::initializer_list<Integer> AIndexes) {
  std::vector<COLORREF> R;
  for (Integer I : AIndexes) R.push_back(CellColors[I]);
  return R;
}

// A list of ACount cells of the colours from AFirstColor on.
TOwned<TcxImageList> ListOf(Integer ACount, Integer AFirstColor = 0) {
  TOwned<TcxImageList> L(Create<TcxImageList>(nullptr));
  for (Integer I = 0; I < ACount; ++I) {
    auto Cell = CellStrip(1, 16, AFirstColor + I);
    L->Add(Cell.get(), nullptr);
  }
  return L;
}

// A smart image of the test vector format, stored undecoded.
TOwned<TdxSmartImage> VectorImage(TSize ASize, COLORREF AColor) {
  TOwned<TMemoryStream> S(BytesStream(TTestVectorCodec::VectorStream(ASize, AColor)));
  TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
  Image->LoadFromStream(S.get());
  return Image;
}

class ImageLists : public GraphicsModule {
 protected:
  void SetUp() override {
    GraphicsModule::SetUp();
    cxImageList_Initialize();
    TdxSmartImageCodecsRepository::Register(VectorCodec());
  }
  void TearDown() override {
    TdxSmartImageCodecsRepository::Unregister(VectorCodec());
    cxImageList_Finalize();
    GraphicsModule::TearDown();
  }
};

// ---------------------------------------------------------------------------
// Entries and cells

TEST_F(ImageLists, CellsAreTheEntriesAsThePlatformReadsAndDrawsThem) {
  auto List = ListOf(0);
  auto Strip = CellStrip(3);
  EXPECT_EQ(List->Add(Strip.get(), nullptr), 0);
  ASSERT_EQ(List->Count(), 3);
  ASSERT_EQ(List->Images()->Count(), 3);
  TRGBColors Source;
  GetBitmapBits(Strip.get(), Source, true);
  for (Integer I = 0; I < 3; ++I) {
    TRGBColors Entry;
    auto* Image = AsOrNull<TBitmap>(List->GetImageInfo(I)->Image());
    ASSERT_NE(Image, nullptr);
    ASSERT_TRUE(GetBitmapBits(Image, Entry, true));
    TRGBColors Native = NativeCell(List->Handle(), I);
    ASSERT_EQ(Entry.size(), 256u);
    ASSERT_EQ(Native.size(), 256u);
    for (Integer P = 0; P < 256; ++P) {
      const RGBQUAD& Expected = Source[static_cast<size_t>(P / 16) * 48 + I * 16 + P % 16];
      EXPECT_TRUE(SameQuad(Entry[P], Expected)) << "entry " << I << " pixel " << P;
      EXPECT_TRUE(SameQuad(Native[P], Expected)) << "cell " << I << " pixel " << P;
    }
    // The platform draws the cell with its alpha: the transparent corner
    // shows the white beneath.
    EXPECT_EQ(PlatformDrawn(List->Handle(), I, 8, 8), CellColors[I]) << I;
    EXPECT_EQ(PlatformDrawn(List->Handle(), I, 0, 0), RGB(255, 255, 255)) << I;
  }
}

TEST_F(ImageLists, SizesSplitsAndRebuilds) {
  // A new size: at least 1 x 1, and no images.
  auto List = ListOf(2);
  List->SetSize(0, 0);
  EXPECT_EQ(List->Width(), 1);
  EXPECT_EQ(List->Height(), 1);
  EXPECT_EQ(List->Count(), 0);
  EXPECT_EQ(List->Images()->Count(), 0);

  struct TCase {
    const char* Name;
    Integer Width;  // of the strip added to a 16 x 16 list
    std::vector<COLORREF> Cells;
  } Cases[] = {{"48 x 16: three cells from the left", 48, Colors({0, 1, 2})},
               {"40 x 16: the platform's two cells", 40, Colors({0, 1})},
               {"16 x 16: one cell", 16, Colors({0})}};
  for (const TCase& C : Cases) {
    auto L = ListOf(0);
    TOwned<TcxBitmap32> Strip(TcxBitmap32::CreateSize(C.Width, 16));
    for (Integer X = 0; X < C.Width; X += 16)
      Strip->cxCanvas()->FillRect(cxRect(X, 0, std::min<Integer>(X + 16, C.Width), 16),
                                  static_cast<TColor>(CellColors[X / 16]));
    Strip->SetAlphaChannel(255);
    EXPECT_EQ(L->Add(Strip.get(), nullptr), 0) << C.Name;
    EXPECT_EQ(NativeColors(L.get()), C.Cells) << C.Name;
    EXPECT_EQ(EntryColors(L.get()), C.Cells) << C.Name;
  }

  // A vector image is drawn into one cell, never split.
  auto L = ListOf(0);
  auto Vector = VectorImage(TSize{32, 32}, RGB(0, 128, 255));
  auto Wide = CellStrip(2);
  EXPECT_FALSE(L->CanSplitImage(Vector.get()));
  EXPECT_EQ(L->GetImageCount(Vector.get(), 16, 16), 1);
  EXPECT_TRUE(L->CanSplitImage(Wide.get()));
  EXPECT_EQ(L->GetImageCount(Wide.get(), 16, 16), 2);
  EXPECT_EQ(L->Add(Vector.get()), 0);
  EXPECT_EQ(L->Count(), 1);
  ASSERT_EQ(L->Images()->Count(), 1);
  EXPECT_TRUE(L->GetImageInfo(0)->Image()->Is<TdxSmartImage>());
  EXPECT_EQ(L->Images()->VectorImageCount(), 1);
  EXPECT_EQ(PlatformDrawn(L->Handle(), 0, 15, 15), RGB(0, 128, 255));

  // Masked with clNone: as added without mask.
  auto Cell = CellStrip(1, 16, 3);
  EXPECT_EQ(L->AddMasked(Cell.get(), clNone), 1);
  EXPECT_EQ(L->Count(), 2);
  TcxImageInfo* Info = L->GetImageInfo(1);
  EXPECT_EQ(Info->MaskColor(), clNone);
  EXPECT_TRUE(Info->Mask()->Empty());
  EXPECT_FALSE(Info->HasMask());
  EXPECT_EQ(PlatformDrawn(L->Handle(), 1, 8, 8), CellColors[3]);
}

TEST_F(ImageLists, AMaskColourHidesItsPixelsOnBothSides) {
  TOwned<TcxBitmap> Picture(TcxBitmap::CreateSize(16, 16, TPixelFormat::pf24bit));
  Picture->cxCanvas()->FillRect(Picture->ClientRect(), clFuchsia);
  Picture->cxCanvas()->FillRect(cxRect(4, 4, 12, 12), static_cast<TColor>(CellColors[1]));
  auto L = ListOf(0);
  EXPECT_EQ(L->AddMasked(Picture.get(), clFuchsia), 0);
  ASSERT_EQ(L->Images()->Count(), 1);
  EXPECT_EQ(L->GetImageInfo(0)->MaskColor(), clFuchsia);
  EXPECT_EQ(PlatformDrawn(L->Handle(), 0, 8, 8), CellColors[1]);
  EXPECT_EQ(PlatformDrawn(L->Handle(), 0, 1, 1), RGB(255, 255, 255));
  // The default transparent colour of a bitmap without mask or alpha is its
  // bottom-left pixel.
  EXPECT_EQ(TcxImageInfoHelper::GetDefaultTransparentColor(Picture.get(), nullptr), clFuchsia);
  EXPECT_EQ(TcxImageInfoHelper::GetDefaultTransparentColor(Picture.get(), Picture.get()), clNone);
}

TEST_F(ImageLists, InsertingMovingAndCopyingRanges) {
  auto L = ListOf(5);
  auto Extra = CellStrip(1, 16, 5);
  L->Insert(L->Count(), Extra.get(), nullptr);  // the same as adding
  EXPECT_EQ(NativeColors(L.get()), Colors({0, 1, 2, 3, 4, 5}));
  L->Insert(L->Count() + 1, Extra.get(), nullptr);  // nothing
  EXPECT_EQ(L->Count(), 6);
  L->Delete(5);
  L->Move(2, 0);
  EXPECT_EQ(NativeColors(L.get()), Colors({2, 0, 1, 3, 4}));
  EXPECT_EQ(EntryColors(L.get()), Colors({2, 0, 1, 3, 4}));
  // A cell without alpha (masked) moves among cells with alpha unharmed.
  auto Mixed = ListOf(2);
  TOwned<TcxBitmap> Framed(TcxBitmap::CreateSize(16, 16, TPixelFormat::pf24bit));
  Framed->cxCanvas()->FillRect(Framed->ClientRect(), clFuchsia);
  Framed->cxCanvas()->FillRect(cxRect(4, 4, 12, 12), static_cast<TColor>(CellColors[5]));
  Mixed->AddMasked(Framed.get(), clFuchsia);
  Mixed->Move(2, 0);
  Mixed->Move(1, 2);
  EXPECT_EQ(NativeColors(Mixed.get()), Colors({5, 1, 0}));
  EXPECT_EQ(EntryColors(Mixed.get()), Colors({5, 1, 0}));
  EXPECT_EQ(PlatformDrawn(Mixed->Handle(), 0, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(PlatformDrawn(Mixed->Handle(), 2, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(PlatformDrawn(Mixed->Handle(), 2, 1, 0), CellColors[0]);

  auto Two = CellStrip(2, 16, 4);  // two images inserted at 1 keep their order
  L->Insert(1, Two.get(), nullptr);
  EXPECT_EQ(NativeColors(L.get()), Colors({2, 4, 5, 0, 1, 3, 4}));
  EXPECT_EQ(EntryColors(L.get()), Colors({2, 4, 5, 0, 1, 3, 4}));

  // Ranges of another list: a negative end means the last image, a
  // negative start the first; an index at the count adds nothing.
  auto Source = ListOf(3, 3);
  struct TCase {
    const char* Name;
    Integer Index;
    Integer Result;
    std::vector<COLORREF> Added;
  } Cases[] = {{"-1: every image", -1, 1, Colors({3, 4, 5})},
               {"1: one image", 1, 1, Colors({4})},
               {"the count: nothing", 3, -1, {}}};
  for (const TCase& C : Cases) {
    auto Target = ListOf(1);
    EXPECT_EQ(Target->AddImage(Source.get(), C.Index), C.Result) << C.Name;
    std::vector<COLORREF> Expected = Colors({0});
    Expected.insert(Expected.end(), C.Added.begin(), C.Added.end());
    EXPECT_EQ(NativeColors(Target.get()), Expected) << C.Name;
    EXPECT_EQ(EntryColors(Target.get()), Expected) << C.Name;
  }
  auto Target = ListOf(0);
  Target->CopyImages(Source.get(), -5, 10);
  EXPECT_EQ(EntryColors(Target.get()), Colors({3, 4, 5}));
  // From a list of the framework: its cells become entries.
  TOwned<TImageList> Plain(Create<TImageList>(nullptr));
  Plain->SetColorDepth(cd32Bit);
  auto Strip = CellStrip(2, 16, 1);
  Plain->Add(Strip.get(), nullptr);
  Target->AddImages(Plain.get());
  EXPECT_EQ(NativeColors(Target.get()), Colors({3, 4, 5, 1, 2}));
  EXPECT_EQ(EntryColors(Target.get()), Colors({3, 4, 5, 1, 2}));
}

TEST_F(ImageLists, AssignComparesAndTakesOverHandles) {
  auto L = ListOf(2);
  TOwned<TBitmap> NotAList(Create<TBitmap>());
  L->Assign(NotAList.get());
  EXPECT_EQ(L->Count(), 2);
  EXPECT_EQ(EntryColors(L.get()), Colors({0, 1}));

  auto EmptyA = ListOf(0), EmptyB = ListOf(0);
  EXPECT_TRUE(TcxCustomImageList::IsEquals(EmptyA.get(), EmptyB.get()));
  auto Same = ListOf(2), Other = ListOf(2, 1), Shorter = ListOf(1);
  EXPECT_TRUE(TcxCustomImageList::IsEquals(L.get(), Same.get()));
  EXPECT_FALSE(TcxCustomImageList::IsEquals(L.get(), Other.get()));
  EXPECT_FALSE(TcxCustomImageList::IsEquals(L.get(), Shorter.get()));
  auto Copy = ListOf(0);
  Copy->Assign(Other.get());
  EXPECT_EQ(NativeColors(Copy.get()), Colors({1, 2}));
  EXPECT_EQ(EntryColors(Copy.get()), Colors({1, 2}));

  // A platform list handed over is copied and destroyed, once: the extra
  // reference taken here is the only one left afterwards.
  HIMAGELIST Given = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
  auto Strip = CellStrip(2, 16, 4);
  Strip->Dormant();
  ImageList_Add(Given, Strip->Handle(), nullptr);
  const GUID ImageListIID = {
      0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};
  // MinGW's import library lacks the platform's interface query of lists.
  using TQueryInterface = HRESULT(WINAPI*)(HIMAGELIST, REFIID, void**);
  auto QueryInterface = reinterpret_cast<TQueryInterface>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "HIMAGELIST_QueryInterface")));
  ASSERT_NE(QueryInterface, nullptr);
  IUnknown* Extra = nullptr;
  ASSERT_EQ(QueryInterface(Given, ImageListIID, reinterpret_cast<void**>(&Extra)), S_OK);
  auto Taker = ListOf(1);
  Taker->SetHandle(Given);
  EXPECT_NE(Taker->Handle(), Given);
  EXPECT_EQ(NativeColors(Taker.get()), Colors({4, 5}));
  EXPECT_EQ(EntryColors(Taker.get()), Colors({4, 5}));
  EXPECT_EQ(Extra->Release(), 0u);
}

TEST_F(ImageLists, ReadingACellLeavesThePlatformItsBitmaps) {
  auto L = ListOf(3);
  IMAGEINFO Before{};
  ASSERT_TRUE(ImageList_GetImageInfo(L->Handle(), 0, &Before));
  for (int Round = 0; Round < 2; ++Round)
    for (Integer I = -1; I < 3; ++I) {
      TOwned<TcxBitmap> Image(Create<TcxBitmap>()), Mask(Create<TcxBitmap>());
      TcxCustomImageList::GetImageInfo(L->Handle(), I, Image.get(), Mask.get());
      EXPECT_FALSE(Image->Empty()) << I;
      if (I >= 0) {
        EXPECT_EQ(InsideOf(Image.get()), CellColors[I]) << I;
      }
    }
  EXPECT_EQ(GetObjectType(Before.hbmImage), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(NativeColors(L.get()), Colors({0, 1, 2}));
  // The whole image bitmap, all cells, comes back for -1.
  TOwned<TcxBitmap> All(Create<TcxBitmap>());
  TcxCustomImageList::GetImageInfo(L->Handle(), -1, All.get(), nullptr);
  BITMAP Data{};
  GetObjectW(Before.hbmImage, sizeof(Data), &Data);
  EXPECT_EQ(All->Width(), Data.bmWidth);
  EXPECT_EQ(All->Height(), Data.bmHeight);
}

TEST_F(ImageLists, EntryHelpersAndTheirErrors) {
  auto Vector = VectorImage(TSize{8, 8}, RGB(1, 2, 3));
  auto Png = TOwned<TdxPNGImage>(Create<TdxPNGImage>());
  REQUIRE_GDIPLUS();
  TOwned<TMemoryStream> S(BytesStream(FixtureBytes(L"RGBA16_PNG")));
  Png->LoadFromStream(S.get());
  TOwned<TMetafile> Metafile(Create<TMetafile>());
  TOwned<TcxImageInfo> Info(Create<TcxImageInfo>());
  struct TCase {
    TGraphic* Image;
    const wchar_t* Type;
  } Types[] = {{Info->Image(), L"BMP"}, {Png.get(), L"PNG"}, {Metafile.get(), L"IMG"}};
  for (const TCase& C : Types) {
    TOwned<TcxImageInfo> I(Create<TcxImageInfo>());
    I->SetImage(C.Image);
    EXPECT_EQ(I->ImageType(), C.Type);
  }
  // Without mask and mask colour the conversion keeps the image's class.
  TOwned<TcxImageInfo> Plain(Create<TcxImageInfo>());
  Plain->SetImage(Png.get());
  Plain->ConvertTo32Bit();
  EXPECT_TRUE(Plain->Image()->Is<TdxPNGImage>());
  // A graphic that cannot be resized is named in the message.
  try {
    TcxImageInfoHelper::Resize(Metafile.get(), TSize{4, 4});
    ADD_FAILURE() << "a metafile was resized";
  } catch (const Exception& E) {
    EXPECT_NE(E.Message().find(L"TMetafile"), String::npos)
        << AnsiString(E.Message().begin(), E.Message().end());
  }
  // What can be resized is.
  TcxImageInfoHelper::Resize(Png.get(), TSize{4, 4});
  EXPECT_EQ(Png->GetSize(), (TSize{4, 4}));
  TOwned<TBitmap> Bitmap(TcxBitmap::CreateSize(8, 8));
  TcxImageInfoHelper::Resize(Bitmap.get(), TSize{4, 6});
  EXPECT_EQ(Bitmap->Width(), 4);
  EXPECT_EQ(Bitmap->Height(), 6);
  EXPECT_EQ(Vector->Width(), 8);
}

// ---------------------------------------------------------------------------
// Drawing

TEST_F(ImageLists, DrawPlacesStretchesAndGreysTheCell) {
  // A square of colour in a frame of the mask colour: the frame is not
  // drawn.
  TOwned<TcxBitmap> Framed(TcxBitmap::CreateSize(16, 16, TPixelFormat::pf24bit));
  Framed->cxCanvas()->FillRect(Framed->ClientRect(), clFuchsia);
  Framed->cxCanvas()->FillRect(cxRect(4, 4, 12, 12), static_cast<TColor>(CellColors[0]));
  auto L = ListOf(0);
  L->AddMasked(Framed.get(), clFuchsia);
  const COLORREF White = RGB(255, 255, 255), Cell = CellColors[0];
  struct TCase {
    const char* Name;
    bool AlphaBlending;
    TRect Rect;
    bool Stretch;
    // Pixels that must show the square, and ones that must stay white.
    std::vector<TPoint> Ink, Blank;
  } Cases[] = {{"cell size: stretching ignored",
                true,
                cxRect(0, 0, 16, 16),
                true,
                {{4, 4}, {11, 11}},
                {{3, 3}, {12, 12}, {0, 0}}},
               {"20 x 20: the cell at (2, 2)",
                true,
                cxRect(0, 0, 20, 20),
                false,
                {{6, 6}, {13, 13}},
                {{5, 5}, {14, 14}}},
               {"20 x 20 stretched",
                true,
                cxRect(0, 0, 20, 20),
                true,
                {{6, 6}, {13, 13}},
                {{3, 3}, {16, 16}}},
               {"framework drawing, 20 x 20: the cell at (2, 2)",
                false,
                cxRect(0, 0, 20, 20),
                false,
                {{6, 6}, {13, 13}},
                {{5, 5}, {14, 14}}},
               {"framework drawing stretched to 32 x 32",
                false,
                cxRect(0, 0, 32, 32),
                true,
                {{8, 8}, {23, 23}},
                {{7, 7}, {24, 24}}}};
  for (const TCase& C : Cases) {
    L->SetAlphaBlending(C.AlphaBlending);
    auto Page = FilledBitmap(34, 34, clWhite);
    L->Draw(Page->Canvas(), C.Rect, 0, C.Stretch, false, true);
    for (const TPoint& P : C.Ink) EXPECT_EQ(PixelOf(Page.get(), P.x, P.y), Cell) << C.Name;
    for (const TPoint& P : C.Blank) EXPECT_EQ(PixelOf(Page.get(), P.x, P.y), White) << C.Name;
    EXPECT_EQ(PixelOf(Page.get(), 33, 33), White) << C.Name;
  }
  // Disabled with alpha blending: the disabled draw mode, grey.
  L->SetAlphaBlending(true);
  auto Enabled = FilledBitmap(16, 16, clWhite), Disabled = FilledBitmap(16, 16, clWhite),
       Direct = FilledBitmap(16, 16, clWhite);
  L->Draw(Enabled->Canvas(), cxRect(0, 0, 16, 16), 0, false, false, true);
  L->Draw(Disabled->Canvas(), cxRect(0, 0, 16, 16), 0, false, false, false);
  cxDrawImage(Direct->Canvas()->Handle(), cxRect(0, 0, 16, 16), cxRect(0, 0, 16, 16), nullptr,
              L.get(), 0, idmDisabled);
  COLORREF Grey = PixelOf(Disabled.get(), 8, 8);
  EXPECT_NE(Grey, Cell);
  EXPECT_EQ(GetRValue(Grey), GetGValue(Grey));
  EXPECT_EQ(GetGValue(Grey), GetBValue(Grey));
  EXPECT_EQ(PixelOf(Disabled.get(), 1, 1), White);
  EXPECT_EQ(Difference(Disabled.get(), Direct.get()), "");
  // The framework's own drawing entry goes through the library's drawing.
  auto Framework = FilledBitmap(16, 16, clWhite);
  L->TCustomImageList::Draw(Framework->Canvas(), 0, 0, 0, true);
  EXPECT_EQ(Difference(Framework.get(), Enabled.get()), "");
}

// ---------------------------------------------------------------------------
// The paint cache

std::vector<LONG> CachedWidths(TCustomImageList* AList) {
  std::vector<LONG> R;
  if (TImageListCacheHelper* H = TdxImageListPaintCache::FindHelper(AList))
    for (const TSize& S : H->CachedSizes()) R.push_back(S.cx);
  return R;
}

TEST_F(ImageLists, PaintCacheKeepsTwoSizesFirstInFirstOut) {
  if (GetSystemMetrics(SM_CMONITORS) != 1) GTEST_SKIP() << "the limit is 2 with one monitor";
  REQUIRE_GDIPLUS();
  auto L = ListOf(2);
  auto Page = FilledBitmap(40, 40, clWhite);
  auto Draw = [&](Integer ASize, Integer AIndex = 0, TcxImageDrawMode AMode = idmNormal,
                  IdxColorPalette* APalette = nullptr) {
    TdxImageListPaintCache::Draw(Page->cxCanvas(), cxRect(0, 0, ASize, ASize), L.get(), AIndex,
                                 AMode, true, APalette, false);
  };
  EXPECT_EQ(TdxImageListPaintCache::FindHelper(L.get()), nullptr);
  TdxImageListPaintCache::InvalidateImageList(L.get());  // never drawn: nothing
  EXPECT_EQ(TdxImageListPaintCache::FindHelper(L.get()), nullptr);
  Draw(16);
  TImageListCacheHelper* Helper = TdxImageListPaintCache::FindHelper(L.get());
  ASSERT_NE(Helper, nullptr);
  EXPECT_EQ(Helper->MaxSizeCount(), 2);
  Draw(24);
  Draw(16);  // drawing a kept size again does not move it
  Draw(32);
  EXPECT_EQ(CachedWidths(L.get()), (std::vector<LONG>{24, 32}));
  Draw(16);
  EXPECT_EQ(CachedWidths(L.get()), (std::vector<LONG>{32, 16}));
  EXPECT_EQ(Helper->CachedImageCount(TSize{16, 16}), 1);

  // Entry, draw mode and palette make the key.
  auto Red = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(dxMakeAlphaColor(255, 255, 0, 0), dxacNone));
  auto Blue = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(dxMakeAlphaColor(255, 0, 0, 255), dxacNone));
  Draw(16, 0, idmNormal);  // kept
  Draw(16, 0, idmDisabled);
  Draw(16, 1);
  Draw(16, 0, idmNormal, Red.Get());
  Draw(16, 0, idmNormal, Blue.Get());
  Draw(16, 0, idmNormal, Red.Get());  // kept
  EXPECT_EQ(Helper->CachedImageCount(TSize{16, 16}), 5);

  // A change of the list empties its cache.
  auto Extra = CellStrip(1);
  L->Add(Extra.get(), nullptr);
  EXPECT_EQ(CachedWidths(L.get()), std::vector<LONG>());
}

TEST_F(ImageLists, PaintCacheDrawsWhatComposingDraws) {
  REQUIRE_GDIPLUS();
  auto L = ListOf(2);
  for (Integer Size : {16, 24}) {
    auto Cached = FilledBitmap(Size, Size, clWhite), Composed = FilledBitmap(Size, Size, clWhite);
    TRect R = cxRect(0, 0, Size, Size);
    for (int Round = 0; Round < 2; ++Round)  // made, then taken from the cache
      TdxImageListPaintCache::Draw(Cached->cxCanvas(), R, L.get(), 1, idmNormal, true, nullptr,
                                   false);
    cxDrawImage(Composed->Canvas()->Handle(), R, R, nullptr, L.get(), 1, idmNormal);
    if (Size == 16) {
      EXPECT_EQ(Difference(Cached.get(), Composed.get()), "");
    } else {
      // Stretched, the cache blends after scaling and composing before:
      // the same picture within a few steps away from the clear corner.
      int Worst = 0;
      for (Integer Y = 4; Y < Size; ++Y)
        for (Integer X = 4; X < Size; ++X) {
          COLORREF A = PixelOf(Cached.get(), X, Y), B = PixelOf(Composed.get(), X, Y);
          Worst = std::max({Worst, std::abs(GetRValue(A) - GetRValue(B)),
                            std::abs(GetGValue(A) - GetGValue(B)),
                            std::abs(GetBValue(A) - GetBValue(B))});
        }
      EXPECT_LE(Worst, 4) << Size;
      EXPECT_EQ(PixelOf(Cached.get(), 12, 12), CellColors[1]);
    }
  }
  // The canvas form of the glyph drawing sends a library list to the cache.
  auto Page = FilledBitmap(16, 16, clWhite);
  cxDrawImage(Page->cxCanvas(), cxRect(0, 0, 16, 16), nullptr, L.get(), 0, ifmNormal);
  EXPECT_EQ(PixelOf(Page.get(), 8, 8), CellColors[0]);
  ASSERT_NE(TdxImageListPaintCache::FindHelper(L.get()), nullptr);
  EXPECT_EQ(TdxImageListPaintCache::FindHelper(L.get())->CachedImageCount(TSize{16, 16}), 2);
}

TEST_F(ImageLists, PaintCacheHelperGoesWithItsList) {
  REQUIRE_GDIPLUS();
  auto Page = FilledBitmap(16, 16, clWhite);
  TRect R = cxRect(0, 0, 16, 16);
  TCustomImageList* Address = nullptr;
  {
    auto L = ListOf(1);
    TdxImageListPaintCache::Draw(Page->cxCanvas(), R, L.get(), 0, idmNormal, true, nullptr, false);
    ASSERT_NE(TdxImageListPaintCache::FindHelper(L.get()), nullptr);
    Address = L.get();
  }
  EXPECT_EQ(TdxImageListPaintCache::FindHelper(Address), nullptr);
  // A new list, at the same address when the heap gives it: a fresh helper
  // and its own pixels.
  auto Next = ListOf(1, 2);
  TdxImageListPaintCache::Draw(Page->cxCanvas(), R, Next.get(), 0, idmNormal, true, nullptr, false);
  TImageListCacheHelper* Helper = TdxImageListPaintCache::FindHelper(Next.get());
  ASSERT_NE(Helper, nullptr);
  EXPECT_EQ(Helper->ImageList(), Next.get());
  EXPECT_EQ(Helper->CachedImageCount(TSize{16, 16}), 1);
  EXPECT_EQ(PixelOf(Page.get(), 8, 8), CellColors[2]);

  // A list of the framework is watched through a change link.
  TOwned<TImageList> Plain(Create<TImageList>(nullptr));
  Plain->SetColorDepth(cd32Bit);
  auto Strip = CellStrip(1);
  Plain->Add(Strip.get(), nullptr);
  TdxImageListPaintCache::Draw(Page->cxCanvas(), R, Plain.get(), 0, idmNormal, true, nullptr,
                               false);
  EXPECT_EQ(CachedWidths(Plain.get()), (std::vector<LONG>{16}));
  Plain->Add(Strip.get(), nullptr);
  EXPECT_EQ(CachedWidths(Plain.get()), std::vector<LONG>());
}

// ---------------------------------------------------------------------------
// Form resources

TBytes Written(TComponent* AComponent) {
  TOwned<TMemoryStream> Binary(Create<TMemoryStream>());
  WriteComponentToStream(Binary.get(), AComponent);
  return StreamBytes(Binary.get());
}

String AsText(const TBytes& ABinary) {
  TOwned<TMemoryStream> Binary(BytesStream(ABinary));
  TOwned<TStringStream> Text(Create<TStringStream>(String(), TEncoding::UTF8()));
  ObjectBinaryToText(Binary.get(), Text.get());
  return Text->DataString();
}

TBytes FromText(const String& AText) {
  TOwned<TStringStream> Text(Create<TStringStream>(AText, TEncoding::UTF8()));
  TOwned<TMemoryStream> Binary(Create<TMemoryStream>());
  ObjectTextToBinary(Text.get(), Binary.get());
  return StreamBytes(Binary.get());
}

TOwned<TcxImageList> ReadList(const TBytes& ABinary) {
  TOwned<TMemoryStream> S(BytesStream(ABinary));
  TOwned<TcxImageList> L(Create<TcxImageList>(nullptr));
  ReadComponentFromStream(S.get(), L.get());
  return L;
}

TRGBColors PixelsOf(TGraphic* AGraphic) {
  TRGBColors P;
  if (auto* B = AsOrNull<TBitmap>(AGraphic)) GetBitmapBits(B, P, true);
  if (auto* S = AsOrNull<TdxCustomSmartImage>(AGraphic)) P = S->GetBitmapBits();
  return P;
}

bool SamePixels(const TRGBColors& A, const TRGBColors& B) {
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(),
                    [](const RGBQUAD& P, const RGBQUAD& Q) { return SameQuad(P, Q); });
}

TEST_F(ImageLists, AFormResourceKeepsEntriesMasksColoursAndCells) {
  REQUIRE_GDIPLUS();
  TOwned<TcxImageList> L(Create<TcxImageList>(nullptr));
  L->SetName(L"Images");
  L->SetCompressData(true);
  // A 24-bit picture with a mask bitmap, one with a mask colour, and a PNG.
  TOwned<TcxBitmap> Picture(TcxBitmap::CreateSize(16, 16, TPixelFormat::pf24bit));
  Picture->cxCanvas()->FillRect(Picture->ClientRect(), clFuchsia);
  Picture->cxCanvas()->FillRect(cxRect(3, 3, 13, 13), static_cast<TColor>(CellColors[2]));
  TOwned<TcxBitmap> Mask(TcxBitmap::CreateSize(16, 16, TPixelFormat::pf1bit));
  Mask->cxCanvas()->FillRect(Mask->ClientRect(), clWhite);
  Mask->cxCanvas()->FillRect(cxRect(3, 3, 13, 13), clBlack);
  L->Add(Picture.get(), Mask.get());
  L->AddMasked(Picture.get(), clFuchsia);
  TOwned<TdxPNGImage> Png(Create<TdxPNGImage>());
  TOwned<TMemoryStream> S(BytesStream(FixtureBytes(L"RGBA16_PNG")));
  Png->LoadFromStream(S.get());
  L->Add(Png.get());
  ASSERT_EQ(L->Images()->Count(), 3);

  String Text = AsText(Written(L.get()));
  EXPECT_NE(Text.find(L"FormatVersion = 1"), String::npos) << AnsiString(Text.begin(), Text.end());
  EXPECT_NE(Text.find(L"ImageClass = 'TdxPNGImage'"), String::npos);
  EXPECT_EQ(Text.find(L"ImageClass = 'TcxBitmap'"), String::npos);
  EXPECT_NE(Text.find(L"MaskColor = clFuchsia"), String::npos);
  // Library bitmaps with CompressData write the compressed form.
  EXPECT_NE(Text.find(L"5844424D0200"), String::npos);
  // Three images of which none is a vector image: no platform data.
  EXPECT_EQ(Text.find(L"Bitmap = {"), String::npos);

  auto Back = ReadList(FromText(Text));
  EXPECT_EQ(Back->FormatVersion(), 1);
  EXPECT_TRUE(Back->CompressData());
  ASSERT_EQ(Back->Count(), 3);
  ASSERT_EQ(Back->Images()->Count(), 3);
  EXPECT_TRUE(TcxCustomImageList::IsEquals(L.get(), Back.get()));
  for (Integer I = 0; I < 3; ++I) {
    TcxImageInfo *A = L->GetImageInfo(I), *B = Back->GetImageInfo(I);
    EXPECT_EQ(A->ImageClass(), B->ImageClass()) << I;
    EXPECT_EQ(A->MaskColor(), B->MaskColor()) << I;
    EXPECT_TRUE(SamePixels(PixelsOf(A->Image()), PixelsOf(B->Image()))) << I;
    EXPECT_TRUE(SamePixels(PixelsOf(A->Mask()), PixelsOf(B->Mask()))) << I;
    EXPECT_EQ(A->Mask()->Empty(), B->Mask()->Empty()) << I;
    EXPECT_EQ(NativeCell(L->Handle(), I).size(), 256u);
    EXPECT_TRUE(SamePixels(NativeCell(L->Handle(), I), NativeCell(Back->Handle(), I))) << I;
  }
  // The PNG entry keeps its file.
  TOwned<TMemoryStream> Saved(Create<TMemoryStream>());
  Back->GetImageInfo(2)->Image()->SaveToStream(Saved.get());
  EXPECT_EQ(StreamBytes(Saved.get()), FixtureBytes(L"RGBA16_PNG"));
}

TEST_F(ImageLists, PlatformDataIsWrittenForListsOfMostlyVectorImages) {
  REQUIRE_GDIPLUS();
  struct TCase {
    Integer Vectors;
    bool Written;
  } Cases[] = {{4, true}, {3, false}};
  for (const TCase& C : Cases) {
    TOwned<TcxImageList> L(Create<TcxImageList>(nullptr));
    L->SetName(L"Images");
    for (Integer I = 0; I < 10; ++I) {
      if (I < C.Vectors) {
        L->Add(VectorImage(TSize{16, 16}, CellColors[I % 6]).get());
      } else {
        auto Cell = CellStrip(1, 16, I);
        L->Add(Cell.get(), nullptr);
      }
    }
    EXPECT_EQ(L->Images()->VectorImageCount(), C.Vectors);
    TBytes Binary = Written(L.get());
    String Text = AsText(Binary);
    EXPECT_EQ(Text.find(L"Bitmap = {") != String::npos, C.Written) << C.Vectors;
    // Either way the list comes back with its cells and entries.
    auto Back = ReadList(Binary);
    EXPECT_EQ(Back->Count(), 10) << C.Vectors;
    EXPECT_EQ(Back->Images()->Count(), 10) << C.Vectors;
    EXPECT_EQ(Back->Images()->VectorImageCount(), C.Vectors);
    EXPECT_EQ(NativeColors(Back.get()), NativeColors(L.get())) << C.Vectors;
  }
}

TEST_F(ImageLists, AResourceOfPlatformDataOnlyGivesEntriesFromTheCells) {
  // What a list without entries writes: the platform's image-list data and
  // no format version.
  TOwned<TImageList> Old(Create<TImageList>(nullptr));
  Old->SetName(L"Images");
  Old->SetColorDepth(cd32Bit);
  auto Strip = CellStrip(3, 16, 2);
  Old->Add(Strip.get(), nullptr);
  String Text = AsText(Written(Old.get()));
  ASSERT_NE(Text.find(L"Bitmap = {"), String::npos);
  ASSERT_EQ(Text.find(L"FormatVersion"), String::npos);
  auto Back = ReadList(FromText(Text));
  EXPECT_EQ(Back->FormatVersion(), 0);
  EXPECT_EQ(Back->Count(), 3);
  EXPECT_EQ(NativeColors(Back.get()), Colors({2, 3, 4}));
  EXPECT_EQ(EntryColors(Back.get()), Colors({2, 3, 4}));
}

TEST_F(ImageLists, AnUnregisteredImageClassIsNamed) {
  REQUIRE_GDIPLUS();
  TOwned<TcxImageList> L(Create<TcxImageList>(nullptr));
  L->SetName(L"Images");
  TOwned<TdxPNGImage> Png(Create<TdxPNGImage>());
  TOwned<TMemoryStream> S(BytesStream(FixtureBytes(L"RGBA16_PNG")));
  Png->LoadFromStream(S.get());
  L->Add(Png.get());
  String Text = AsText(Written(L.get()));
  size_t At = Text.find(L"'TdxPNGImage'");
  ASSERT_NE(At, String::npos);
  Text.replace(At, 13, L"'TNoSuchGraphic'");
  try {
    ReadList(FromText(Text));
    ADD_FAILURE() << "an unknown image class was read";
  } catch (const Exception& E) {
    EXPECT_NE(E.Message().find(L"The \"TNoSuchGraphic\" is invalid graphic class"), String::npos)
        << AnsiString(E.Message().begin(), E.Message().end());
  }
}

}  // namespace
