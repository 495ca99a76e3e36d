// The shared drawing routines, the image-format mappings, the GDI+ codecs
// and the module's start-up and shut-down.
#include "dxGDIPlusClasses.h"

#include <algorithm>
#include <cstring>

#include "ComObj.h"

namespace {
using TWindowFromDC = HWND(WINAPI*)(HDC);
TWindowFromDC FWindowFromDC = nullptr;
TdxGPAlphaBlendAttributes* GPAlphaBlendAttributes = nullptr;

const Gdiplus::DashStyle PenStyleToDashStyle[] = {DashStyleSolid, DashStyleDash, DashStyleDot,
                                                  DashStyleDashDot, DashStyleDashDotDot};

bool IsDrawingPenStyle(TPenStyle AStyle) {
  return static_cast<int>(AStyle) <= static_cast<int>(TPenStyle::psDashDotDot);
}
}  // namespace

const InterpolationMode dxGpSmoothStretchModeMap[2] = {InterpolationModeNearestNeighbor,
                                                       InterpolationModeHighQualityBicubic};

// Releases the paint canvas module variable; defined with the canvas.
void dxGpFreePaintCanvas();

// ---------------------------------------------------------------------------
// Routines

HWND dxWindowFromDC(HDC DC) { return FWindowFromDC ? FWindowFromDC(DC) : nullptr; }

bool dxGpCreateBrush(GpBrush*& ABrushHandle, TColor ABrushColor, Byte ABrushColorAlpha) {
  if (ABrushColor == clNone) return false;
  GpSolidFill* B = nullptr;
  GdipCheck(GdipCreateSolidFill(
      dxAlphaColorValue(dxColorToAlphaColor(ABrushColor, ABrushColorAlpha)), &B));
  ABrushHandle = B;
  return true;
}

bool dxGpCreatePen(GpPen*& APenHandle, TColor APenColor, Single APenWidth, TPenStyle APenStyle,
                   Byte APenColorAlpha) {
  if (APenColor == clNone || APenWidth <= 0 || !IsDrawingPenStyle(APenStyle)) return false;
  GpPen* P = nullptr;
  GdipCheck(GdipCreatePen1(dxAlphaColorValue(dxColorToAlphaColor(APenColor, APenColorAlpha)),
                           APenWidth, UnitPixel, &P));
  Status S = GdipSetPenDashStyle(P, PenStyleToDashStyle[static_cast<int>(APenStyle)]);
  if (S != Ok) {
    GdipDeletePen(P);
    GdipCheck(S);
  }
  APenHandle = P;
  return true;
}

TdxGPAlphaBlendAttributes* dxGpGetAlphaBlendAttributes(Byte AAlpha) {
  if (AAlpha == 255) return nullptr;
  if (!GPAlphaBlendAttributes) GPAlphaBlendAttributes = Create<TdxGPAlphaBlendAttributes>();
  GPAlphaBlendAttributes->SetAlpha(AAlpha);
  return GPAlphaBlendAttributes;
}

GpImageAttributes* dxGpGetImageAttributesHandle(TdxGPImageAttributes* AAttrs) {
  return AAttrs ? AAttrs->Handle() : nullptr;
}

GpGraphics* dxGpGetCanvasHandle(TdxGPCanvas* ACanvas) {
  return ACanvas ? ACanvas->Handle() : nullptr;
}

bool dxGpIsRectVisible(GpGraphics* AGraphics, const TdxRectF& R) {
  BOOL V = FALSE;
  GdipCheck(GdipIsVisibleRect(AGraphics, R.Left, R.Top, R.Width(), R.Height(), &V));
  return V != FALSE;
}

bool dxGpIsRectVisible(GpGraphics* AGraphics, const TRect& R) {
  BOOL V = FALSE;
  GdipCheck(GdipIsVisibleRectI(AGraphics, R.left, R.top, R.right - R.left, R.bottom - R.top, &V));
  return V != FALSE;
}

namespace {
// The graphics' clip while a small metafile draws; put back on every path.
class TSavedClip {
 public:
  explicit TSavedClip(GpGraphics* AGraphics) : FGraphics(AGraphics) {}
  ~TSavedClip() {
    if (!FRegion) return;
    GdipSetClipRegion(FGraphics, FRegion, CombineModeReplace);
    GdipDeleteRegion(FRegion);
  }
  TSavedClip(const TSavedClip&) = delete;
  TSavedClip& operator=(const TSavedClip&) = delete;
  void Save() {
    GdipCheck(GdipCreateRegion(&FRegion));
    Status S = GdipGetClip(FGraphics, FRegion);
    if (S != Ok) {
      GdipDeleteRegion(FRegion);
      FRegion = nullptr;
      GdipCheck(S);
    }
  }

 private:
  GpGraphics* FGraphics;
  GpRegion* FRegion = nullptr;
};
}  // namespace

void dxGpDrawImage(GpGraphics* AGraphics, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                   GpImage* AImage, Byte AAlpha, GpImageAttributes* AAttributes) {
  if (!dxGpIsRectVisible(AGraphics, ADestRect)) return;
  Single DW = ADestRect.Width(), DH = ADestRect.Height();
  Single SW = ASourceRect.Width(), SH = ASourceRect.Height();
  if (SW < 1 || SH < 1 || DW < 1 || DH < 1) return;
  Gdiplus::ImageType Type = ImageTypeUnknown;
  GdipCheck(GdipGetImageType(AImage, &Type));
  TSavedClip Clip(AGraphics);
  if (Type == ImageTypeMetafile) {
    if (DW < 2 || DH < 2) {
      Clip.Save();
      GdipCheck(
          GdipSetClipRect(AGraphics, ADestRect.Left, ADestRect.Top, DW, DH, CombineModeIntersect));
      DW = std::max(DW, 2.0f);
      DH = std::max(DH, 2.0f);
    }
  } else {
    Gdiplus::PixelOffsetMode Mode = PixelOffsetModeDefault;
    GdipCheck(GdipGetPixelOffsetMode(AGraphics, &Mode));
    if (Mode != PixelOffsetModeHalf) {
      if (1 < SW && SW < DW) SW -= 1;
      if (1 < SH && SH < DH) SH -= 1;
    }
  }
  if (!AAttributes && AAlpha < 255)
    AAttributes = dxGpGetImageAttributesHandle(dxGpGetAlphaBlendAttributes(AAlpha));
  GdipCheck(GdipDrawImageRectRect(AGraphics, AImage, ADestRect.Left, ADestRect.Top, DW, DH,
                                  ASourceRect.Left, ASourceRect.Top, SW, SH, UnitPixel, AAttributes,
                                  nullptr, nullptr));
}

void dxGpDrawImage(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect,
                   GpImage* AImage, Byte AAlpha, GpImageAttributes* AAttributes) {
  dxGpDrawImage(AGraphics, TdxRectF::Create(ADestRect), TdxRectF::Create(ASourceRect), AImage,
                AAlpha, AAttributes);
}

namespace {
// The texture road of tiling; false when no texture brush can be made.
bool TileThroughTexture(GpGraphics* AGraphics, const TRect& ADest, const TRect& ASource,
                        GpImage* AImage) {
  GpTexture* Brush = nullptr;
  if (GdipCreateTexture2I(AImage, WrapModeTile, ASource.left, ASource.top,
                          ASource.right - ASource.left, ASource.bottom - ASource.top, &Brush) != Ok)
    return false;
  GpBitmap* Bitmap = nullptr;
  GpGraphics* BitmapGraphics = nullptr;
  Integer W = ADest.right - ADest.left, H = ADest.bottom - ADest.top;
  Status S = GdipCreateBitmapFromScan0(W, H, 0, PixelFormat32bppPARGB, nullptr, &Bitmap);
  if (S == Ok) S = GdipGetImageGraphicsContext(Bitmap, &BitmapGraphics);
  if (S == Ok) S = GdipFillRectangleI(BitmapGraphics, Brush, 0, 0, W, H);
  if (BitmapGraphics) GdipDeleteGraphics(BitmapGraphics);
  if (S == Ok) S = GdipDrawImageRectI(AGraphics, Bitmap, ADest.left, ADest.top, W, H);
  if (Bitmap) GdipDisposeImage(Bitmap);
  GdipDeleteBrush(Brush);
  GdipCheck(S);
  return true;
}
}  // namespace

void dxGpTilePartEx(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect,
                    GpImage* AImage, Byte AAlpha) {
  Integer SW = ASourceRect.right - ASourceRect.left, SH = ASourceRect.bottom - ASourceRect.top;
  Integer DW = ADestRect.right - ADestRect.left, DH = ADestRect.bottom - ADestRect.top;
  if (SW <= 0 || SH <= 0 || !dxGpIsRectVisible(AGraphics, ADestRect)) return;
  if (AAlpha == 255 && (DW > SW || DH > SH) &&
      TileThroughTexture(AGraphics, ADestRect, ASourceRect, AImage))
    return;
  Integer LastColumn = DW / SW - (DW % SW == 0 ? 1 : 0);
  Integer LastRow = DH / SH - (DH % SH == 0 ? 1 : 0);
  for (Integer Row = 0; Row <= LastRow; ++Row)
    for (Integer Column = 0; Column <= LastColumn; ++Column) {
      TRect Dest{ADestRect.left + SW * Column, ADestRect.top + SH * Row, 0, 0};
      Dest.right = std::min<LONG>(Dest.left + SW, ADestRect.right);
      Dest.bottom = std::min<LONG>(Dest.top + SH, ADestRect.bottom);
      TRect Source{ASourceRect.left, ASourceRect.top, ASourceRect.left + (Dest.right - Dest.left),
                   ASourceRect.top + (Dest.bottom - Dest.top)};
      dxGpDrawImage(AGraphics, Dest, Source, AImage, AAlpha, nullptr);
    }
}

void dxGpFillRect(GpGraphics* AGraphics, const TRect& R, TdxAlphaColor AColor) {
  GpSolidFill* Brush = nullptr;
  GdipCheck(GdipCreateSolidFill(dxAlphaColorValue(AColor), &Brush));
  Status S =
      GdipFillRectangleI(AGraphics, Brush, R.left, R.top, R.right - R.left, R.bottom - R.top);
  GdipDeleteBrush(Brush);
  GdipCheck(S);
}

void dxGpFillRect(HDC DC, const TRect& R, TColor AColor, Byte AColorAlpha) {
  TdxGPPaintCanvas* Canvas = dxGPPaintCanvas();
  Canvas->BeginPaint(DC, R);
  auto EndPaint = Finally([&] { Canvas->EndPaint(); });
  dxGpFillRect(Canvas->Handle(), R, dxColorToAlphaColor(AColor, AColorAlpha));
}

Integer dxFontStylesToGpFontStyles(TFontStyles AStyles) {
  Integer R = 0;
  if (AStyles.Contains(TFontStyle::fsBold)) R |= 1;
  if (AStyles.Contains(TFontStyle::fsItalic)) R |= 2;
  if (AStyles.Contains(TFontStyle::fsUnderline)) R |= 4;
  if (AStyles.Contains(TFontStyle::fsStrikeOut)) R |= 8;
  return R;
}

TdxImageDataFormat dxGetImageDataFormat(GpImage* AImage) {
  GUID Format{};
  if (!AImage || GdipGetImageRawFormat(AImage, &Format) != Ok) return dxImageUnknown;
  return dxGetImageDataFormat(Format);
}

TdxImageDataFormat dxGetImageDataFormat(const GUID& AFormatId) {
  struct {
    const GUID& Id;
    TdxImageDataFormat Format;
  } const Map[] = {{ImageFormatBMP, dxImageBitmap}, {ImageFormatMemoryBMP, dxImageMemoryBmp},
                   {ImageFormatJPEG, dxImageJpeg},  {ImageFormatPNG, dxImagePng},
                   {ImageFormatTIFF, dxImageTiff},  {ImageFormatGIF, dxImageGif},
                   {ImageFormatIcon, dxImageIcon},  {ImageFormatEMF, dxImageEmf},
                   {ImageFormatWMF, dxImageWmf}};
  for (const auto& M : Map)
    if (IsEqualGUID(M.Id, AFormatId)) return M.Format;
  return dxImageUnknown;
}

GUID dxGetImageEncoder(TdxImageDataFormat AImageDataFormat) {
  switch (AImageDataFormat) {
    case dxImageBitmap:
    case dxImageMemoryBmp:
      return BMPEncoder;
    case dxImageJpeg:
      return JPEGEncoder;
    case dxImagePng:
      return PNGEncoder;
    case dxImageTiff:
      return TIFFEncoder;
    case dxImageGif:
      return GIFEncoder;
    case dxImageEmf:
    case dxImageIcon:
    case dxImageWmf:
      return GUID{};
    default:
      throw EdxException(L"dxGetImageEncoder fails");
  }
}

// ---------------------------------------------------------------------------
// Codecs

Integer dxGPImageCodecJPEGQuality = -1;

namespace {
// Reads exactly ACount bytes at the stream's position.
bool ReadExact(TStream* AStream, void* ABuffer, Integer ACount) {
  return AStream->Read(ABuffer, ACount) == ACount;
}

bool Skip(TStream* AStream, Int64 ACount) {
  Int64 Target = AStream->Position() + ACount;
  if (ACount < 0 || Target > AStream->Size()) return false;
  AStream->SetPosition(Target);
  return true;
}

Word BigEndian16(const Byte* P) { return static_cast<Word>((P[0] << 8) | P[1]); }
Cardinal BigEndian32(const Byte* P) {
  return (Cardinal(P[0]) << 24) | (Cardinal(P[1]) << 16) | (Cardinal(P[2]) << 8) | P[3];
}
Word LittleEndian16(const Byte* P) { return static_cast<Word>(P[0] | (P[1] << 8)); }
Cardinal LittleEndian32(const Byte* P) {
  return Cardinal(P[0]) | (Cardinal(P[1]) << 8) | (Cardinal(P[2]) << 16) | (Cardinal(P[3]) << 24);
}

// Saves a handle that is not a GDI+ one through a temporary GDI+ bitmap of
// its premultiplied pixels.
template <class F>
bool SaveThroughBitmap(TdxSmartImageCustomHandle* AHandle, F&& ASave) {
  TRGBColors Bits = AHandle->GetAsBitmapBits();
  TSize S = AHandle->GetSize();
  TOwned<TdxGPImageHandle> Temporary(
      TdxGPImageHandle::CreateFromBits(S.cx, S.cy, Bits, TAlphaFormat::afPremultiplied));
  return ASave(Temporary.get());
}
}  // namespace

TdxSmartImageCodecClass TdxGPImageCodec::Class() {
  static constexpr TdxGPImageCodec Codec;
  return &Codec;
}

bool TdxGPImageCodec::CheckHeader(TStream* AStream, const std::string& AHeader) {
  Int64 Start = AStream->Position();
  std::string Read(AHeader.size(), '\0');
  bool Complete = ReadExact(AStream, Read.data(), static_cast<Integer>(Read.size()));
  AStream->SetPosition(Start);
  return Complete && Read == AHeader;
}

bool TdxGPImageCodec::Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) const {
  auto Adapter = TComPtr<IStream>::Borrow(Create<TdxGPStreamAdapter>(AStream, soReference));
  GpImage* Image = nullptr;
  Status S = GdipLoadImageFromStream(Adapter.Get(), &Image);
  if (S != Ok || !Image) return false;
  AHandle = Create<TdxGPImageHandle>(Image);
  return true;
}

bool TdxGPImageCodec::Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const {
  GUID Encoder = GetCodecID();
  if (!IsCodecIDValid(Encoder) || !AHandle) return false;
  if (auto* Handle = AsOrNull<TdxGPImageHandle>(AHandle)) return SaveCore(AStream, Handle, nullptr);
  return SaveThroughBitmap(AHandle,
                           [&](TdxGPImageHandle* H) { return SaveCore(AStream, H, nullptr); });
}

bool TdxGPImageCodec::SaveCore(TStream* AStream, TdxGPImageHandle* AHandle,
                               EncoderParameters* AParameters) const {
  GUID Encoder = GetCodecID();
  auto Adapter = TComPtr<IStream>::Borrow(Create<TdxGPStreamAdapter>(AStream, soReference));
  return GdipSaveImageToStream(AHandle->Handle(), Adapter.Get(), &Encoder, AParameters) == Ok;
}

#define DX_GP_CODEC_CLASS_REFERENCE(Name_) \
  TdxSmartImageCodecClass Name_::Class() { \
    static constexpr Name_ Codec;          \
    return &Codec;                         \
  }
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecBMP)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecMemoryBitmap)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecGIF)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecJPEG)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecJPG)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecPNG)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecTIFF)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecTIF)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecEMF)
DX_GP_CODEC_CLASS_REFERENCE(TdxGPImageCodecWMF)
#undef DX_GP_CODEC_CLASS_REFERENCE

bool TdxGPImageCodecBMP::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream) || !Skip(AStream, 14)) return false;
  Byte Header[12];
  if (!ReadExact(AStream, Header, 4)) return false;
  if (LittleEndian32(Header) == 12) {
    if (!ReadExact(AStream, Header, 4)) return false;
    ASize = TSize{LittleEndian16(Header), LittleEndian16(Header + 2)};
  } else {
    if (!ReadExact(AStream, Header, 8)) return false;
    ASize = TSize{static_cast<LONG>(LittleEndian32(Header)),
                  static_cast<LONG>(LittleEndian32(Header + 4))};
  }
  return true;
}

bool TdxGPImageCodecBMP::Load(TRGBColors& ABits, TAlphaFormat AAlphaFormat, Integer AWidth,
                              Integer AHeight, TdxSmartImageCustomHandle*& AHandle) const {
  AHandle = TdxGPImageHandle::CreateFromBits(AWidth, AHeight, ABits, AAlphaFormat);
  return true;
}

bool TdxGPImageCodecGIF::CanLoadStream(TStream* AStream) const {
  return CheckHeader(AStream, "GIF89a") || CheckHeader(AStream, "GIF87a");
}

bool TdxGPImageCodecGIF::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream) || !Skip(AStream, 6)) return false;
  Byte Header[4];
  if (!ReadExact(AStream, Header, 4)) return false;
  ASize = TSize{LittleEndian16(Header), LittleEndian16(Header + 2)};
  return true;
}

bool TdxGPImageCodecJPEG::CanLoadStream(TStream* AStream) const {
  return CheckHeader(AStream, std::string("\xFF\xD8\xFF", 3));
}

bool TdxGPImageCodecJPEG::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream) || !Skip(AStream, 2)) return false;
  Byte B[4];
  for (;;) {
    if (!ReadExact(AStream, B, 2) || B[0] != 0xFF || B[1] == 0xD9) return false;
    Byte Marker = B[1];
    if (Marker == 0xC0 || Marker == 0xC3) {
      if (!Skip(AStream, 3) || !ReadExact(AStream, B, 4)) return false;
      ASize = TSize{BigEndian16(B + 2), BigEndian16(B)};
      return true;
    }
    if (Marker >= 0xD0 && Marker <= 0xD8) continue;
    if (Marker == 0xDD) {
      if (!Skip(AStream, 4)) return false;
      continue;
    }
    if (!ReadExact(AStream, B, 2)) return false;
    // A length below 2 would step back or stand still: not a JPEG.
    Word Length = BigEndian16(B);
    if (Length < 2 || !Skip(AStream, Length - 2)) return false;
  }
}

bool TdxGPImageCodecJPEG::SaveCore(TStream* AStream, TdxGPImageHandle* AHandle,
                                   EncoderParameters* AParameters) const {
  EncoderParameters Quality;
  ULONG Value = static_cast<ULONG>(dxGPImageCodecJPEGQuality);
  if (dxGPImageCodecJPEGQuality != -1 && !AParameters) {
    Quality.Count = 1;
    Quality.Parameter[0].Guid = EncoderQuality;
    Quality.Parameter[0].NumberOfValues = 1;
    Quality.Parameter[0].Type = EncoderParameterValueTypeLong;
    Quality.Parameter[0].Value = &Value;
    AParameters = &Quality;
  }
  return TdxGPImageCodec::SaveCore(AStream, AHandle, AParameters);
}

bool TdxGPImageCodecPNG::CanLoadStream(TStream* AStream) const {
  return CheckHeader(AStream, std::string("\x89PNG\r\n\x1A\n", 8));
}

bool TdxGPImageCodecPNG::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream)) return false;
  Byte Header[24];
  // The first chunk must be the header chunk; anything else gives no size.
  if (!ReadExact(AStream, Header, sizeof Header) || std::memcmp(Header + 12, "IHDR", 4) != 0)
    return false;
  ASize = TSize{static_cast<LONG>(BigEndian32(Header + 16)),
                static_cast<LONG>(BigEndian32(Header + 20))};
  return true;
}

bool TdxGPImageCodecTIFF::CanLoadStream(TStream* AStream) const {
  return CheckHeader(AStream, std::string("II*\0", 4)) ||
         CheckHeader(AStream, std::string("MM\0*", 4));
}

bool TdxGPImageCodecTIFF::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream)) return false;
  Int64 Start = AStream->Position();
  Byte Header[8];
  if (!ReadExact(AStream, Header, 8)) return false;
  bool Big = Header[0] == 'M';
  auto U16 = [&](const Byte* P) { return Big ? BigEndian16(P) : LittleEndian16(P); };
  auto U32 = [&](const Byte* P) { return Big ? BigEndian32(P) : LittleEndian32(P); };
  Int64 Directory = Start + U32(Header + 4);
  if (Directory + 2 > AStream->Size()) return false;
  AStream->SetPosition(Directory);
  Byte Count[2];
  if (!ReadExact(AStream, Count, 2)) return false;
  Integer Entries = U16(Count);
  static const Integer TypeSizes[] = {1, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  LONG Width = 0, Height = 0;
  for (Integer I = 0; I < Entries; ++I) {
    Byte E[12];
    // An entry beyond the end gives no size.
    if (!ReadExact(AStream, E, 12)) return false;
    Word Tag = U16(E), Type = U16(E + 2);
    Cardinal ValueCount = U32(E + 4);
    UInt64 Size = static_cast<UInt64>(Type < 13 ? TypeSizes[Type] : 1) * ValueCount;
    Cardinal Value = 0;
    if (Size == 2)
      Value = U16(E + 8);
    else if (Size == 4)
      Value = U32(E + 8);
    if (Tag == 256) Width = static_cast<LONG>(Value);
    if (Tag == 257) Height = static_cast<LONG>(Value);
    if (Width > 0 && Height > 0) {
      ASize = TSize{Width, Height};
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// Start-up

namespace {
const TdxSmartImageCodecClass* GPCodecs() {
  static const TdxSmartImageCodecClass Codecs[] = {
      TdxGPImageCodecBMP::Class(),  TdxGPImageCodecMemoryBitmap::Class(),
      TdxGPImageCodecGIF::Class(),  TdxGPImageCodecJPG::Class(),
      TdxGPImageCodecJPEG::Class(), TdxGPImageCodecPNG::Class(),
      TdxGPImageCodecTIF::Class(),  TdxGPImageCodecTIFF::Class(),
      TdxGPImageCodecEMF::Class(),  TdxGPImageCodecWMF::Class()};
  return Codecs;
}
constexpr Integer GPCodecCount = 10;
bool FRegistered = false;

struct TPictureFormat {
  const wchar_t* Extension;
  TdxSmartImageCodecClass (*Description)();
  TGraphicClass (*GraphicClass)();
  const wchar_t* ClipboardName;
  TdxImageDataFormat Format;
  const GUID* Decoder;
};

void RegisterPictureFormats() {
  const TPictureFormat Formats[] = {
      {L"PNG", &TdxGPImageCodecPNG::Class, &TdxPNGImage::StaticClass, L"PNG", dxImagePng,
       &PNGDecoder},
      {L"TIFF", &TdxGPImageCodecTIFF::Class, &TdxSmartImage::StaticClass, L"TIFF", dxImageTiff,
       &TIFFDecoder},
      {L"TIF", &TdxGPImageCodecTIFF::Class, &TdxSmartImage::StaticClass, L"TIFF", dxImageTiff,
       &TIFFDecoder},
      {L"GIF", &TdxGPImageCodecGIF::Class, &TdxSmartImage::StaticClass, L"GIF", dxImageGif,
       &GIFDecoder},
      {L"JPEG", &TdxGPImageCodecJPEG::Class, &TdxSmartImage::StaticClass, L"JPEG", dxImageJpeg,
       &JPEGDecoder},
      {L"JPG", &TdxGPImageCodecJPEG::Class, &TdxSmartImage::StaticClass, L"JPEG", dxImageJpeg,
       &JPEGDecoder},
  };
  for (const TPictureFormat& F : Formats) {
    if (!IsCodecIDValid(*F.Decoder)) continue;
    TPicture::RegisterFileFormat(F.Extension, F.Description()->Description(), F.GraphicClass());
    Word Clipboard = static_cast<Word>(RegisterClipboardFormatW(F.ClipboardName));
    TPicture::RegisterClipboardFormat(Clipboard, F.GraphicClass());
    ImageClipboardFormats[F.Format] = Clipboard;
  }
}

void GDIPlusClassesInitialize() {
  FWindowFromDC = reinterpret_cast<TWindowFromDC>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "WindowFromDC")));
  if (!CheckGdiPlus(false)) return;
  CheckImageCodecs();
  RegisterClasses({TdxPNGImage::StaticClass(), TdxSmartImage::StaticClass()});
  ImageClipboardFormats[dxImageBitmap] = CF_BITMAP;
  RegisterPictureFormats();
  for (Integer I = 0; I < GPCodecCount; ++I) TdxSmartImageCodecsRepository::Register(GPCodecs()[I]);
  FRegistered = true;
}

void GDIPlusClassesFinalize() {
  if (FRegistered) {
    for (Integer I = 0; I < GPCodecCount; ++I)
      TdxSmartImageCodecsRepository::Unregister(GPCodecs()[I]);
  }
  TdxGPStringFormat::Finalize();
  TdxGPFontFamily::Finalize();
  FreeAndNil(GPAlphaBlendAttributes);
  dxGpFreePaintCanvas();
  if (FRegistered) {
    TPicture::UnregisterGraphicClass(TdxGPImage::StaticClass());
    TPicture::UnregisterGraphicClass(TdxSmartImage::StaticClass());
    TPicture::UnregisterGraphicClass(TdxPNGImage::StaticClass());
    UnRegisterClass(TdxPNGImage::StaticClass());
    UnRegisterClass(TdxSmartImage::StaticClass());
    std::fill(std::begin(ImageClipboardFormats), std::end(ImageClipboardFormats), Word(0));
  }
  FRegistered = false;
}
}  // namespace

void dxGDIPlusClasses_Initialize() {
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->AddUnit(&GDIPlusClassesInitialize, &GDIPlusClassesFinalize);
  else
    GDIPlusClassesInitialize();
}

void dxGDIPlusClasses_Finalize() {
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->RemoveUnit(&GDIPlusClassesFinalize);
  else
    GDIPlusClassesFinalize();
}
