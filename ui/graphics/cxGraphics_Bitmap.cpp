// Off-screen bitmaps, their compressed form-resource data, and resampling.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "cxGraphics.h"
#include "cxGraphicsInternal.h"
#include "dxGDIPlusClasses.h"

using namespace cxGraphicsInternal;

// ---------------------------------------------------------------------------
// TcxBitmap
IMPLEMENT_CREATABLE_CLASS(TcxBitmap)

TcxBitmap::~TcxBitmap() { FcxCanvas.reset(); }

void TcxBitmap::AfterConstruction() {
  inherited::AfterConstruction();
  TPixelFormat Format = FInitFormat == TPixelFormat::pfDevice ? DefaultPixelFormat() : FInitFormat;
  Initialize(FInitWidth, FInitHeight, Format);
}

TcxBitmap* TcxBitmap::CreateSize(Integer AWidth, Integer AHeight, TPixelFormat APixelFormat) {
  return Create<TcxBitmap>(AWidth, AHeight, APixelFormat);
}

TcxBitmap* TcxBitmap::CreateSize(const TRect& ARect, TPixelFormat APixelFormat) {
  return CreateSize(cxRectWidth(ARect), cxRectHeight(ARect), APixelFormat);
}

void TcxBitmap::Initialize(Integer AWidth, Integer AHeight, TPixelFormat APixelFormat) {
  BeginUpdate();
  auto End = Finally([this] { EndUpdate(true); });
  SetPixelFormat(APixelFormat);
  SetSize(AWidth, AHeight);
}

TcxCanvas* TcxBitmap::cxCanvas() {
  if (!FcxCanvas) FcxCanvas.reset(Create<TcxCanvas>(Canvas()));
  return FcxCanvas.get();
}

void TcxBitmap::EndUpdate(bool AForceUpdate) {
  --FLockCount;
  if (FLockCount == 0 && (AForceUpdate || FModified)) Changed(this);
}

void TcxBitmap::Changed(TObject* Sender) {
  if (ChangeLocked()) {
    FModified = true;
    return;
  }
  inherited::Changed(Sender);
  Update();
  FModified = false;
}

void TcxBitmap::SetSize(Integer AWidth, Integer AHeight) {
  AWidth = std::max<Integer>(AWidth, 0);
  AHeight = std::max<Integer>(AHeight, 0);
  if (AWidth == Width() && AHeight == Height()) return;
  BeginUpdate();
  auto End = Finally([this] { EndUpdate(false); });
  inherited::SetSize(AWidth, AHeight);
}

void TcxBitmap::Dormant() {
  FcxCanvas.reset();
  inherited::Dormant();
}

void TcxBitmap::CopyBitmap(TBitmap* ASrcBitmap, DWORD ACopyMode) {
  CopyBitmap(ASrcBitmap, ClientRect(), TPoint{0, 0}, ACopyMode);
}

void TcxBitmap::CopyBitmap(TBitmap* ASrcBitmap, const TRect& ADestRect, const TPoint& ASrcTopLeft,
                           DWORD ACopyMode) {
  cxBitBlt(Canvas()->Handle(), ASrcBitmap->Canvas()->Handle(), ADestRect, ASrcTopLeft, ACopyMode);
}

void TcxBitmap::Flip(bool AFlipHorizontally, bool AFlipVertically) {
  if (!AFlipHorizontally && !AFlipVertically) return;
  Integer W = Width(), H = Height();
  if (W == 0 || H == 0) return;
  // Mirrored in memory, so a 32-bit bitmap keeps its alpha.
  TRGBColors P;
  GetBitmapBits(this, P, true);
  if (AFlipHorizontally)
    for (Integer Y = 0; Y < H; ++Y)
      std::reverse(P.begin() + static_cast<ptrdiff_t>(Y) * W,
                   P.begin() + static_cast<ptrdiff_t>(Y + 1) * W);
  if (AFlipVertically)
    for (Integer Y = 0; Y < H / 2; ++Y)
      std::swap_ranges(P.begin() + static_cast<ptrdiff_t>(Y) * W,
                       P.begin() + static_cast<ptrdiff_t>(Y + 1) * W,
                       P.begin() + static_cast<ptrdiff_t>(H - 1 - Y) * W);
  SetBitmapBits(this, P, true);
  Changed(this);
}

void TcxBitmap::Rotate(TcxRotationAngle ARotationAngle, bool AFlipVertically) {
  cxCanvas()->RotateBitmap(this, ARotationAngle, AFlipVertically);
}

void TcxBitmap::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(L"Data", MakeEvent<&TcxBitmap::ReadData>(this),
                              MakeEvent<&TcxBitmap::WriteData>(this), !Empty());
}

namespace {
const Byte Signature[4] = {'X', 'D', 'B', 'M'};

// The platform bitmap's data: a 32-bit length, then a BMP file.
void WritePlainData(TBitmap* ABitmap, TStream* Stream) {
  TOwned<TMemoryStream> File(Create<TMemoryStream>());
  ABitmap->SaveToStream(File.get());
  Integer Size = static_cast<Integer>(File->Size());
  Stream->WriteBuffer(&Size, 4);
  Stream->WriteBuffer(File->Memory(), Size);
}

void ReadPlainData(TBitmap* ABitmap, TStream* Stream) {
  Integer Size = 0;
  Stream->ReadBuffer(&Size, 4);
  if (Size < 0 || Size > Stream->Size() - Stream->Position())
    throw EReadError(L"Bitmap data is longer than the stream");
  TOwned<TMemoryStream> File(Create<TMemoryStream>());
  File->CopyFrom(Stream, Size);
  File->SetPosition(0);
  ABitmap->LoadFromStream(File.get());
}
}  // namespace

void TcxBitmap::WriteData(TStream* Stream) {
  if (!FCompressData) {
    WritePlainData(this, Stream);
    return;
  }
  TOwned<TMemoryStream> Plain(Create<TMemoryStream>());
  WritePlainData(this, Plain.get());
  Plain->SetPosition(0);
  Integer BlockSize = std::max<Integer>(1, cxGetBitmapPixelFormat(this) / 8);
  Int64 Start = Stream->Position();
  Stream->SetPosition(Start + 10);
  cxCompressBitmapData(Plain.get(), BlockSize, Stream);
  Int64 End = Stream->Position();
  DWORD N = static_cast<DWORD>(End - Start - 10);
  Word Method = 2;
  Stream->SetPosition(Start);
  Stream->WriteBuffer(&N, 4);
  Stream->WriteBuffer(Signature, 4);
  Stream->WriteBuffer(&Method, 2);
  Stream->SetPosition(End);
}

void TcxBitmap::ReadData(TStream* Stream) {
  Int64 Start = Stream->Position();
  Byte Header[10] = {};
  bool Compressed = false;
  if (Stream->Size() - Start >= 10) {
    Stream->ReadBuffer(Header, 10);
    Compressed = std::memcmp(Header + 4, Signature, 4) == 0;
  }
  if (!Compressed) {
    // An uncompressed blob has "BM" and two length bytes there.
    Stream->SetPosition(Start);
    ReadPlainData(this, Stream);
    return;
  }
  DWORD N = static_cast<DWORD>(Header[0] | (Header[1] << 8) | (Header[2] << 16) |
                               (static_cast<DWORD>(Header[3]) << 24));
  Word Method = static_cast<Word>(Header[8] | (Header[9] << 8));
  TOwned<TMemoryStream> Plain(Create<TMemoryStream>());
  cxDecompressBitmapData(Stream, N, Method, Plain.get());
  Plain->SetPosition(0);
  ReadPlainData(this, Plain.get());
}

// ---------------------------------------------------------------------------
// Run coding
void cxCompressBitmapData(TStream* ASource, Integer ABlockSize, TStream* ADest) {
  Int64 L = ASource->Size() - ASource->Position();
  std::vector<Byte> P(static_cast<size_t>(L));
  if (L) ASource->ReadBuffer(P.data(), static_cast<Integer>(L));
  const size_t B = static_cast<size_t>(ABlockSize);
  Byte Head[2] = {static_cast<Byte>(B), static_cast<Byte>(P.size() % B)};
  ADest->WriteBuffer(Head, 2);
  if (Head[1]) ADest->WriteBuffer(P.data(), Head[1]);
  const Byte* Data = P.data() + Head[1];
  size_t Blocks = (P.size() - Head[1]) / B;
  auto Equal = [&](size_t I, size_t J) { return std::memcmp(Data + I * B, Data + J * B, B) == 0; };
  size_t Pos = 0;
  while (Pos < Blocks) {
    Byte Count = 1;
    bool Repeat = Pos + 1 < Blocks && Equal(Pos, Pos + 1);
    if (Repeat) {
      while (Pos + Count < Blocks && Count < 125 && Equal(Pos, Pos + Count)) ++Count;
    } else {
      while (Pos + Count < Blocks && Count < 125) {
        if (Equal(Pos + Count, Pos + Count - 1)) {
          --Count;
          break;
        }
        ++Count;
      }
    }
    Byte C = Repeat ? Count : static_cast<Byte>(Count | 0x80);
    ADest->WriteBuffer(&C, 1);
    ADest->WriteBuffer(Data + Pos * B, static_cast<Integer>((Repeat ? 1 : Count) * B));
    Pos += Count;
  }
}

namespace {
[[noreturn]] void RaiseBadData(const String& AFault) {
  throw EReadError(L"Compressed bitmap data: " + AFault);
}

// Packets over ALeft bytes of ASource; a run never reaches past them.
void DecodeRuns(TStream* ASource, Int64 ALeft, size_t ABlockSize, TStream* ADest) {
  std::vector<Byte> Buf;
  while (ALeft > 0) {
    Byte C = 0;
    ASource->ReadBuffer(&C, 1);
    --ALeft;
    size_t N = C & 0x7F;
    size_t Need = (C & 0x80) ? N * ABlockSize : ABlockSize;
    if (static_cast<Int64>(Need) > ALeft) RaiseBadData(L"a run reaches past the data");
    Buf.resize(Need);
    if (Need) ASource->ReadBuffer(Buf.data(), static_cast<Integer>(Need));
    ALeft -= static_cast<Int64>(Need);
    if (C & 0x80) {
      if (Need) ADest->WriteBuffer(Buf.data(), static_cast<Integer>(Need));
    } else {
      for (size_t I = 0; I < N; ++I) ADest->WriteBuffer(Buf.data(), static_cast<Integer>(Need));
    }
  }
}
}  // namespace

void cxDecompressBitmapData(TStream* ASource, Int64 ASize, Word AMethod, TStream* ADest) {
  if (ASize > ASource->Size() - ASource->Position()) RaiseBadData(L"the data is cut short");
  if (AMethod == 1) {
    DecodeRuns(ASource, ASize, 1, ADest);
    return;
  }
  if (AMethod != 2) RaiseBadData(L"unknown method " + IntToStr(AMethod));
  if (ASize < 2) RaiseBadData(L"the block header is missing");
  Byte Head[2] = {};
  ASource->ReadBuffer(Head, 2);
  if (Head[0] == 0) RaiseBadData(L"block size 0");
  if (Head[1] > ASize - 2) RaiseBadData(L"the remainder reaches past the data");
  if (Head[1]) ADest->CopyFrom(ASource, Head[1]);
  DecodeRuns(ASource, ASize - 2 - Head[1], Head[0], ADest);
}

// ---------------------------------------------------------------------------
// TcxBitmap32
IMPLEMENT_CREATABLE_CLASS(TcxBitmap32)

void TcxBitmap32::AfterConstruction() {
  inherited::AfterConstruction();
  FIsAlphaUsed = bDefault;
}

TcxBitmap32* TcxBitmap32::CreateSize(Integer AWidth, Integer AHeight, bool AClear) {
  TcxBitmap32* B = Create<TcxBitmap32>(AWidth, AHeight, TPixelFormat::pf32bit);
  if (AClear) B->Clear();
  return B;
}

TcxBitmap32* TcxBitmap32::CreateSize(const TRect& ARect, bool AClear) {
  return CreateSize(cxRectWidth(ARect), cxRectHeight(ARect), AClear);
}

void TcxBitmap32::Clear() { cxClearBitmap(this); }

void TcxBitmap32::Update() {
  FIsAlphaUsed = bDefault;
  if (PixelFormat() != TPixelFormat::pf32bit) throw EdxException(L"Wrong PixelFormat");
}

void TcxBitmap32::GetBitmapColors(TRGBColors& AColors) { GetBitmapBits(this, AColors, false); }

void TcxBitmap32::SetBitmapColors(const TRGBColors& AColors) {
  SetBitmapBits(this, AColors, false);
  Changed(this);
}

template <class F>
void TcxBitmap32::ForEachPixel(F&& AProc) {
  TRGBColors P;
  GetBitmapColors(P);
  for (RGBQUAD& Q : P) AProc(Q);
  SetBitmapColors(P);
}

void TcxBitmap32::AlphaBlend(TBitmap* ADestBitmap, const TRect& ADestRect, bool ASmoothImage,
                             Byte AConstantAlpha) {
  cxAlphaBlend(ADestBitmap, this, ADestRect, ClientRect(), ASmoothImage, AConstantAlpha);
}

void TcxBitmap32::Darken(Byte APercent) {
  ForEachPixel([APercent](RGBQUAD& Q) {
    Q.rgbRed = static_cast<Byte>(APercent * Q.rgbRed / 100);
    Q.rgbGreen = static_cast<Byte>(APercent * Q.rgbGreen / 100);
    Q.rgbBlue = static_cast<Byte>(APercent * Q.rgbBlue / 100);
  });
}

void TcxBitmap32::Lighten(Byte APercent) {
  auto L = [APercent](Byte C) {
    return static_cast<Byte>(std::trunc(255 - APercent / 100.0 * (255 - C)));
  };
  ForEachPixel([&](RGBQUAD& Q) {
    Q.rgbRed = L(Q.rgbRed);
    Q.rgbGreen = L(Q.rgbGreen);
    Q.rgbBlue = L(Q.rgbBlue);
  });
}

void TcxBitmap32::Filter(TBitmap* AMaskBitmap) { CopyBitmap(AMaskBitmap, 0x00220326); }

void TcxBitmap32::Invert() { CopyBitmap(this, NOTSRCCOPY); }

void TcxBitmap32::SetAlphaChannel(Byte Alpha) {
  ForEachPixel([Alpha](RGBQUAD& Q) { Q.rgbReserved = Alpha; });
}

void TcxBitmap32::RecoverTransparency(TColor ATransparentColor) {
  RGBQUAD T = dxColorToRGBQuad(ATransparentColor);
  ForEachPixel([&](RGBQUAD& Q) {
    if (Q.rgbRed == T.rgbRed && Q.rgbGreen == T.rgbGreen && Q.rgbBlue == T.rgbBlue)
      Q = RGBQUAD{0, 0, 0, 0};
    else if (Q.rgbReserved == 0)
      Q.rgbReserved = 255;
  });
}

void TcxBitmap32::Resize(Integer ANewWidth, Integer ANewHeight, bool AStretch, bool ASmooth,
                         TColor AFillColor) {
  TOwned<TcxBitmap32> Old(TcxBitmap32::CreateSize(ClientRect()));
  Old->CopyBitmap(this);
  SetSize(ANewWidth, ANewHeight);
  if (AStretch || AFillColor == clNone)
    Clear();
  else
    cxCanvas()->FillRect(ClientRect(), AFillColor);
  if (AStretch) {
    Old->AlphaBlend(this, ClientRect(), ASmooth, 255);
  } else {
    auto FloorHalf = [](Integer V) { return static_cast<Integer>(std::floor(V / 2.0)); };
    TPoint At{FloorHalf(ANewWidth - Old->Width()), FloorHalf(ANewHeight - Old->Height())};
    cxBitBlt(Canvas()->Handle(), Old->Canvas()->Handle(),
             cxRect(At.x, At.y, At.x + Old->Width(), At.y + Old->Height()), TPoint{0, 0}, SRCCOPY);
  }
}

bool TcxBitmap32::IsAlphaUsed() {
  if (FIsAlphaUsed == bDefault) FIsAlphaUsed = dxBooleanToDefaultBoolean(dxIsAlphaUsed(this));
  return FIsAlphaUsed == bTrue;
}

void TcxBitmap32::LoadFromStream(TStream* Stream) {
  BeginUpdate();
  auto End = Finally([this] {
    SetPixelFormat(TPixelFormat::pf32bit);
    EndUpdate(true);
  });
  inherited::LoadFromStream(Stream);
}

// ---------------------------------------------------------------------------
// Colour lists
IMPLEMENT_CREATABLE_CLASS(TcxColorList)

Integer TcxColorList::Add(TColor AColor) {
  RGBQUAD Q = dxColorToRGBQuad(AColor);
  FItems.push_back(static_cast<DWORD>(Q.rgbBlue | (Q.rgbGreen << 8) | (Q.rgbRed << 16)));
  return Count() - 1;
}

bool TcxColorList::Contains(DWORD AValue) const {
  return std::find(FItems.begin(), FItems.end(), AValue & 0xFFFFFF) != FItems.end();
}

// ---------------------------------------------------------------------------
// Resampling
Single Lanczos3Filter(Single Value) {
  auto SinC = [](Single X) {
    if (X == 0) return 1.0f;
    Single PX = std::numbers::pi_v<Single> * X;
    return std::sin(PX) / PX;
  };
  Value = std::abs(Value);
  if (Value >= 3) return 0;
  return SinC(Value) * SinC(Value / 3);
}

void BuildFilter(TcxContributorList& AContributorList, Single AScale, Integer ASrcSize,
                 Integer ADestSize) {
  Single Factor = AScale < 1 ? 1 / AScale : 1;
  Single Radius = 3 * Factor;
  AContributorList.assign(static_cast<size_t>(ADestSize), {});
  for (Integer I = 0; I < ADestSize; ++I) {
    auto& List = AContributorList[static_cast<size_t>(I)];
    List.reserve(static_cast<size_t>(2 * Radius + 1));
    Single Centre = I / AScale;
    for (Integer J = static_cast<Integer>(std::floor(Centre - Radius));
         J <= static_cast<Integer>(std::ceil(Centre + Radius)); ++J) {
      Integer Weight = static_cast<Integer>(
          std::nearbyint(Lanczos3Filter((Centre - J) / Factor) / Factor * 256));
      if (Weight == 0) continue;
      Integer Index = J < 0 ? -J : (J >= ASrcSize ? 2 * ASrcSize - 1 - J : J);
      // One reflection is not enough for sources under three pixels.
      Index = std::clamp<Integer>(Index, 0, ASrcSize - 1);
      List.push_back(TcxContributor{Index, Weight});
    }
  }
}

namespace {
// The contributors of one axis in one array, each destination pixel's run
// starting where the previous one ends.
struct TFlatFilter {
  std::vector<Integer> Start;
  std::vector<TcxContributor> Items;
  explicit TFlatFilter(const TcxContributorList& AList) : Start(AList.size() + 1, 0) {
    for (size_t I = 0; I < AList.size(); ++I) {
      Items.insert(Items.end(), AList[I].begin(), AList[I].end());
      Start[I + 1] = static_cast<Integer>(Items.size());
    }
  }
};

Byte ToChannel(Integer ASum) {
  return static_cast<Byte>(ASum < 0 ? 0 : (ASum < 65536 ? ASum >> 8 : 255));
}

// Rows of the source (ALines of ASrcLength pixels, ASourceRow(I) the I-th
// from the bottom) filtered along the row into rows of ADestLength pixels.
template <class TSourceRow>
void ApplyFilterAlongRows(const TFlatFilter& AFilter, TSourceRow ASourceRow, Integer ALines,
                          RGBQUAD* ADest, Integer ADestLength) {
  for (Integer Line = 0; Line < ALines; ++Line) {
    const RGBQUAD* Src = ASourceRow(Line);
    RGBQUAD* Dest = ADest + static_cast<size_t>(Line) * ADestLength;
    for (Integer J = 0; J < ADestLength; ++J) {
      Integer B = 0, G = 0, R = 0, A = 0;
      for (Integer K = AFilter.Start[J]; K < AFilter.Start[J + 1]; ++K) {
        const TcxContributor& C = AFilter.Items[static_cast<size_t>(K)];
        const RGBQUAD& P = Src[C.Pixel];
        B += C.Weight * P.rgbBlue;
        G += C.Weight * P.rgbGreen;
        R += C.Weight * P.rgbRed;
        A += C.Weight * P.rgbReserved;
      }
      Dest[J] = RGBQUAD{ToChannel(B), ToChannel(G), ToChannel(R), ToChannel(A)};
    }
  }
}

// Columns filtered along the column: each destination row (ADestRow(J),
// the J-th from the bottom) is the weighted sum of whole source rows, so the
// source is read row after row.
template <class TDestRow>
void ApplyFilterAlongColumns(const TFlatFilter& AFilter, const RGBQUAD* ASource, Integer AWidth,
                             TDestRow ADestRow, Integer ADestRows) {
  std::vector<Integer> Sums(static_cast<size_t>(AWidth) * 4);
  for (Integer J = 0; J < ADestRows; ++J) {
    std::fill(Sums.begin(), Sums.end(), 0);
    for (Integer K = AFilter.Start[J]; K < AFilter.Start[J + 1]; ++K) {
      const TcxContributor& C = AFilter.Items[static_cast<size_t>(K)];
      const Byte* Row =
          reinterpret_cast<const Byte*>(ASource + static_cast<size_t>(C.Pixel) * AWidth);
      Integer* Sum = Sums.data();
      for (Integer I = 0; I < AWidth * 4; ++I) Sum[I] += C.Weight * Row[I];
    }
    Byte* Dest = reinterpret_cast<Byte*>(ADestRow(J));
    for (Integer I = 0; I < AWidth * 4; ++I) Dest[I] = ToChannel(Sums[static_cast<size_t>(I)]);
  }
}

Single AxisScale(Integer ASrc, Integer ADest) {
  if (ASrc == 1 || ADest == 1) return static_cast<Single>(ADest) / ASrc;
  return static_cast<Single>(ADest - 1) / (ASrc - 1);
}
}  // namespace

void cxSmoothResizeBitmap(TBitmap* ASource, TBitmap* ADestination, bool AForceUseLanczos3Filter) {
  Integer SW = ASource->Width(), SH = ASource->Height();
  Integer DW = ADestination->Width(), DH = ADestination->Height();
  if (SW == 0 || SH == 0 || DW == 0 || DH == 0) return;
  TCanvas* SrcCanvas = ASource->Canvas();
  TCanvas* DestCanvas = ADestination->Canvas();
  SrcCanvas->Lock();
  DestCanvas->Lock();
  auto Unlock = Finally([&] {
    DestCanvas->Unlock();
    SrcCanvas->Unlock();
  });
  if (cxGraphicsPlatform().IsWinNT && !AForceUseLanczos3Filter) {
    HDC DC = DestCanvas->Handle();
    int Previous = SetStretchBltMode(DC, HALFTONE);
    StretchBlt(DC, 0, 0, DW, DH, SrcCanvas->Handle(), 0, 0, SW, SH, SRCCOPY);
    SetStretchBltMode(DC, Previous);
    return;
  }
  // 32-bit bitmaps are read and written where they are; others through a
  // copy of their pixels. Rows count from the bottom.
  TRGBColors Source, Middle(static_cast<size_t>(DW) * SH), Dest;
  bool SourceInPlace = ASource->PixelFormat() == TPixelFormat::pf32bit;
  if (!SourceInPlace) GetBitmapBits(ASource, Source, false);
  auto SourceRow = [&](Integer I) -> const RGBQUAD* {
    return SourceInPlace ? static_cast<const RGBQUAD*>(ASource->ScanLine(SH - 1 - I))
                         : Source.data() + static_cast<size_t>(I) * SW;
  };
  TcxContributorList Contributors;
  BuildFilter(Contributors, AxisScale(SW, DW), SW, DW);
  ApplyFilterAlongRows(TFlatFilter(Contributors), SourceRow, SH, Middle.data(), DW);
  bool DestInPlace = ADestination->PixelFormat() == TPixelFormat::pf32bit;
  if (!DestInPlace) Dest.resize(static_cast<size_t>(DW) * DH);
  auto DestRow = [&](Integer J) -> RGBQUAD* {
    return DestInPlace ? static_cast<RGBQUAD*>(ADestination->ScanLine(DH - 1 - J))
                       : Dest.data() + static_cast<size_t>(J) * DW;
  };
  BuildFilter(Contributors, AxisScale(SH, DH), SH, DH);
  ApplyFilterAlongColumns(TFlatFilter(Contributors), Middle.data(), DW, DestRow, DH);
  if (!DestInPlace) SetBitmapBits(ADestination, Dest, false);
}

TRect cxGetImageClientRect(TGraphic* AImage) {
  return cxRect(0, 0, AImage->Width(), AImage->Height());
}

namespace {
void StretchBitmap(TBitmap* ADestination, TBitmap* ASource, const TRect& ADestRect,
                   const TRect& ASourceRect, bool ASmoothStretch) {
  HDC Dest = ADestination->Canvas()->Handle();
  if (cxRectWidth(ADestRect) == cxRectWidth(ASourceRect) &&
      cxRectHeight(ADestRect) == cxRectHeight(ASourceRect)) {
    cxBitBlt(Dest, ASource->Canvas()->Handle(), ADestRect,
             TPoint{ASourceRect.left, ASourceRect.top}, SRCCOPY);
  } else if (!ASmoothStretch) {
    cxStretchBlt(Dest, ASource->Canvas()->Handle(), ADestRect, ASourceRect, SRCCOPY);
  } else if (ADestRect == cxGetImageClientRect(ADestination) &&
             ASourceRect == cxGetImageClientRect(ASource)) {
    cxSmoothResizeBitmap(ASource, ADestination, true);
  } else {
    TOwned<TcxBitmap32> Part(TcxBitmap32::CreateSize(ASourceRect));
    cxBitBlt(Part->Canvas()->Handle(), ASource->Canvas()->Handle(), Part->ClientRect(),
             TPoint{ASourceRect.left, ASourceRect.top}, SRCCOPY);
    TOwned<TcxBitmap32> Resized(TcxBitmap32::CreateSize(ADestRect));
    cxSmoothResizeBitmap(Part.get(), Resized.get(), true);
    cxBitBlt(ADestination->Canvas()->Handle(), Resized->Canvas()->Handle(), ADestRect, TPoint{0, 0},
             SRCCOPY);
  }
}
}  // namespace

namespace {
// A GDI+ image drawn by GDI+ itself, with its interpolation.
void StretchGdiPlusImage(TBitmap* ADestination, TdxGPImage* ASource, const TRect& ADestRect,
                         const TRect& ASourceRect, bool ASmoothStretch, IdxColorPalette* APalette) {
  TdxGPCustomPaintCanvas* Canvas = dxGpBeginPaint(ADestination->Canvas()->Handle(), ADestRect);
  auto End = Finally([&Canvas] { dxGpEndPaint(Canvas); });
  Canvas->SetInterpolationMode(ASmoothStretch ? imHighQualityBicubic : imNearestNeighbor);
  Canvas->SetPixelOffsetMode(PixelOffsetModeHalf);
  ASource->StretchDraw(Canvas, ADestRect, ASourceRect, APalette);
}
}  // namespace

void cxStretchGraphic(TBitmap* ADestination, TGraphic* ASource, const TRect& ADestRect,
                      const TRect& ASourceRect, bool ASmoothStretch, IdxColorPalette* APalette) {
  cxClearBitmap(ADestination);
  if (auto* B = AsOrNull<TBitmap>(ASource)) {
    StretchBitmap(ADestination, B, ADestRect, ASourceRect, ASmoothStretch);
  } else if (auto* GP = AsOrNull<TdxGPImage>(ASource)) {
    StretchGdiPlusImage(ADestination, GP, ADestRect, ASourceRect, ASmoothStretch, APalette);
  } else if (auto* Smart = AsOrNull<TdxCustomSmartImage>(ASource)) {
    Smart->StretchDraw(ADestination->Canvas()->Handle(), ADestRect, ASourceRect, 255, APalette);
  } else {
    TOwned<TBitmap> Copy(cxGetAsBitmap(ASource));
    StretchBitmap(ADestination, Copy.get(), ADestRect, ASourceRect, ASmoothStretch);
  }
  ADestination->SetModified(true);
}

void cxStretchGraphic(TBitmap* ADestination, TGraphic* ASource, bool ASmoothStretch,
                      IdxColorPalette* APalette) {
  cxStretchGraphic(ADestination, ASource, cxGetImageClientRect(ADestination),
                   cxGetImageClientRect(ASource), ASmoothStretch, APalette);
}

TBitmap* cxGetAsBitmap(TGraphic* AGraphic) {
  if (!AGraphic) return nullptr;
  if (auto* B = AsOrNull<TBitmap>(AGraphic)) {
    TcxBitmap* R = Create<TcxBitmap>();
    R->Assign(B);
    return R;
  }
  if (auto* Smart = AsOrNull<TdxCustomSmartImage>(AGraphic)) return Smart->GetAsBitmap();
  TcxBitmap32* R = TcxBitmap32::CreateSize(AGraphic->Width(), AGraphic->Height(), true);
  R->Canvas()->Draw(0, 0, AGraphic);
  return R;
}
