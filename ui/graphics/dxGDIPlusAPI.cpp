#include "dxGDIPlusAPI.h"

#include <cstdlib>

#include "cxLibraryStrs.h"

#define DX_GDIPLUS_DEFINE_ENTRY(Name_) decltype(&Gdiplus::DllExports::Name_) Name_ = nullptr;
DX_GDIPLUS_ENTRY_POINTS(DX_GDIPLUS_DEFINE_ENTRY)
#undef DX_GDIPLUS_DEFINE_ENTRY
decltype(&Gdiplus::DllExports::GdipCreateFontFromLogfontW) GdipCreateFontFromLogfont = nullptr;

namespace {
#define DX_GDIPLUS_TABLE_ENTRY(Name_) {#Name_, reinterpret_cast<void**>(&Name_)},
const TdxGdiPlusEntryPoint EntryPoints[] = {DX_GDIPLUS_ENTRY_POINTS(DX_GDIPLUS_TABLE_ENTRY)};
#undef DX_GDIPLUS_TABLE_ENTRY
static_assert(std::size(EntryPoints) == dxGdiPlusEntryPointCount);

HMODULE FGDIPlusLibrary = nullptr;
ULONG_PTR FGDIPlusToken = 0;
ULONG_PTR FGdiPlusHookToken = 0;
Gdiplus::GdiplusStartupOutput FGdiPlusHook;
bool FGDIPresent = false;
const wchar_t* FLibraryName = GDIPlusLibraryName;
String* FTestLibraryName = nullptr;

Gdiplus::GdiplusStartupInput DefaultStartup() {
  Gdiplus::GdiplusStartupInput Input;
  Input.GdiplusVersion = 1;
  Input.DebugEventCallback = nullptr;
  Input.SuppressBackgroundThread = TRUE;
  Input.SuppressExternalCodecs = FALSE;
  return Input;
}

void ClearEntryPoints() {
  for (const TdxGdiPlusEntryPoint& E : EntryPoints) *E.Address = nullptr;
  GdipCreateFontFromLogfont = nullptr;
}

// A load that failed part-way: nothing of it stays, so the next attempt
// starts from nothing and no pointer outlives the library.
void AbandonLoad() {
  FGDIPresent = false;
  FGdiPlusHook = Gdiplus::GdiplusStartupOutput();
  ClearEntryPoints();
  if (FGDIPlusLibrary) FreeLibrary(FGDIPlusLibrary);
  FGDIPlusLibrary = nullptr;
}

void* LoadGdiPlusMethod(const char* AProcName) {
  if (!FGDIPresent) return nullptr;
  void* P = reinterpret_cast<void*>(GetProcAddress(FGDIPlusLibrary, AProcName));
  FGDIPresent = P != nullptr;
  return P;
}

bool SameAsciiText(const wchar_t* A, const String& B) {
  if (!A) return false;
  size_t I = 0;
  for (; A[I] && I < B.size(); ++I) {
    wchar_t X = A[I], Y = B[I];
    if (X >= L'A' && X <= L'Z') X = static_cast<wchar_t>(X + 32);
    if (Y >= L'A' && Y <= L'Z') Y = static_cast<wchar_t>(Y + 32);
    if (X != Y) return false;
  }
  return A[I] == 0 && I == B.size();
}

using TGetCodecsSize = decltype(GdipGetImageEncodersSize);
using TGetCodecs = decltype(GdipGetImageEncoders);

Status FindCodec(const String& AMimeType, GUID& ACodecID, bool AEncoders) {
  Status Result = GenericError;
  if (!CheckGdiPlus(false)) return Result;
  UINT Count = 0, Size = 0;
  TGetCodecsSize GetSize = AEncoders ? GdipGetImageEncodersSize : GdipGetImageDecodersSize;
  TGetCodecs GetCodecs = AEncoders ? GdipGetImageEncoders : GdipGetImageDecoders;
  if (GetSize(&Count, &Size) != Ok || Size == 0) return Result;
  std::vector<Byte> Buffer(Size);
  auto* Codecs = reinterpret_cast<ImageCodecInfo*>(Buffer.data());
  if (GetCodecs(Count, Size, Codecs) != Ok) return Result;
  for (UINT I = 0; I < Count; ++I)
    if (SameAsciiText(Codecs[I].MimeType, AMimeType)) {
      ACodecID = Codecs[I].Clsid;
      return Ok;
    }
  return Result;
}

void AddGdiPlusResourceStringNames(TdxProductResourceStrings* AProduct) {
  AProduct->Add(L"cxGdiPlusInvalidOperation", &cxGdiPlusInvalidOperation);
  AProduct->Add(L"cxGdiPlusInvalidWin32Operation", &cxGdiPlusInvalidWin32Operation);
  AProduct->Add(L"cxGdiPlusApplicationError", &cxGdiPlusApplicationError);
  AProduct->Add(L"cxGdiPlusRequired", &cxGdiPlusRequired);
}

constexpr size_t GpBaseHeader = 16;
}  // namespace

const TdxGdiPlusEntryPoint* dxGdiPlusEntryPoints() { return EntryPoints; }

const TdxGpColorMatrix dxGpDefaultColorMatrix = {
    {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}}};

const TResStringRec cxGdiPlusInvalidOperation{nullptr, IDS_cxGdiPlusInvalidOperation};
const TResStringRec cxGdiPlusInvalidWin32Operation{nullptr, IDS_cxGdiPlusInvalidWin32Operation};
const TResStringRec cxGdiPlusApplicationError{nullptr, IDS_cxGdiPlusApplicationError};
const TResStringRec cxGdiPlusRequired{nullptr, IDS_cxGdiPlusRequired};

// ---------------------------------------------------------------------------
// Records

TdxGpRectF::TdxGpRectF(const TRect& R)
    : X(static_cast<Single>(R.left)),
      Y(static_cast<Single>(R.top)),
      Width(static_cast<Single>(R.right - R.left)),
      Height(static_cast<Single>(R.bottom - R.top)) {}

TdxGpRectF::TdxGpRectF(const TdxRectF& R)
    : X(R.Left), Y(R.Top), Width(R.Right - R.Left), Height(R.Bottom - R.Top) {}

TdxGpRectF::operator TRect() const {
  LONG L = static_cast<LONG>(X), T = static_cast<LONG>(Y);
  return TRect{L, T, static_cast<LONG>(Width) + L, static_cast<LONG>(Height) + T};
}

TdxGpRect MakeRect(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  return TdxGpRect(X, Y, AWidth, AHeight);
}
TdxGpRect MakeRect(const TRect& ARect) { return TdxGpRect(ARect); }
TdxGpRectF MakeRect(Single X, Single Y, Single AWidth, Single AHeight) {
  return TdxGpRectF(X, Y, AWidth, AHeight);
}
TdxGpPointF MakePoint(Single X, Single Y) { return TdxGpPointF{X, Y}; }
TdxGpRectF dxGpMakeRectF(const TRect& ARect) { return TdxGpRectF(ARect); }
TdxGpRectF dxGpMakeRectF(const TdxGpRect& ARect) {
  return TdxGpRectF(static_cast<Single>(ARect.X), static_cast<Single>(ARect.Y),
                    static_cast<Single>(ARect.Width), static_cast<Single>(ARect.Height));
}
bool dxGpRectIsEqual(const TdxGpRectF& R1, const TdxGpRectF& R2) {
  return R1.X == R2.X && R1.Y == R2.Y && R1.Width == R2.Width && R1.Height == R2.Height;
}

// ---------------------------------------------------------------------------

EdxGdipException::EdxGdipException(Status AStatus) : FStatus(AStatus) {
  DWORD LastError = GetLastError();
  if (AStatus == Win32Error && LastError != 0)
    SetMessage(Format(cxGetResourceString(&cxGdiPlusInvalidWin32Operation),
                      {static_cast<Integer>(LastError)}));
  else
    SetMessage(
        Format(cxGetResourceString(&cxGdiPlusInvalidOperation), {static_cast<Integer>(AStatus)}));
}

// ---------------------------------------------------------------------------
// Loading

void GdiPlusLoad() {
  if (FGDIPresent) return;
  FGDIPlusLibrary = SafeLoadLibrary(FLibraryName);
  FGDIPresent = FGDIPlusLibrary != nullptr;
  if (!FGDIPresent) return;
  for (const TdxGdiPlusEntryPoint& E : EntryPoints) *E.Address = LoadGdiPlusMethod(E.Name);
  GdipCreateFontFromLogfont = GdipCreateFontFromLogfontW;
  if (!FGDIPresent) {
    AbandonLoad();
    return;
  }
  Gdiplus::GdiplusStartupInput Input = DefaultStartup();
  if (GdiplusStartup(&FGDIPlusToken, &Input, &FGdiPlusHook) != Ok) {
    AbandonLoad();
    return;
  }
  if (!FGdiPlusHook.NotificationHook || FGdiPlusHook.NotificationHook(&FGdiPlusHookToken) != Ok) {
    GdiplusShutdown(FGDIPlusToken);
    AbandonLoad();
  }
}

void GdiPlusUnload() {
  if (FGDIPresent) {
    FGdiPlusHook.NotificationUnhook(FGdiPlusHookToken);
    GdiplusShutdown(FGDIPlusToken);
  }
  // The library goes and, with it, every pointer into it.
  AbandonLoad();
}

bool CheckGdiPlus(bool AHaltOnError) {
  if (!FGDIPresent) GdiPlusLoad();
  if (!FGDIPresent && AHaltOnError) {
    String Caption = cxGetResourceString(&cxGdiPlusApplicationError).substr(0, 255);
    MessageBoxW(nullptr, cxGetResourceString(&cxGdiPlusRequired).c_str(), Caption.c_str(),
                MB_TASKMODAL | MB_ICONERROR);
    // The library's registered shut-down procedures run before the end.
    if (TdxUnitsLoader* L = dxUnitsLoader()) L->Finalize();
    ExitProcess(1);
  }
  return FGDIPresent;
}

void RegisterAssistants() { FGDIPresent = false; }

void UnregisterAssistants() { GdiPlusUnload(); }

void dxGDIPlusAPITesting::SetLibraryName(const String& AName) {
  if (!FTestLibraryName) FTestLibraryName = new String;
  *FTestLibraryName = AName;
  FLibraryName = AName.empty() ? GDIPlusLibraryName : FTestLibraryName->c_str();
}

HMODULE dxGDIPlusAPITesting::LibraryHandle() { return FGDIPlusLibrary; }

// ---------------------------------------------------------------------------
// Codecs

GUID BMPEncoder, BMPDecoder, GIFEncoder, GIFDecoder, JPEGEncoder, JPEGDecoder, PNGEncoder,
    PNGDecoder, TIFFEncoder, TIFFDecoder, EMFDecoder, ICONDecoder, WMFDecoder;

Status GetEncoderID(const String& CodecName, GUID& CodecID) {
  return FindCodec(CodecName, CodecID, true);
}

Status GetDecoderID(const String& CodecName, GUID& DecoderID) {
  return FindCodec(CodecName, DecoderID, false);
}

bool IsCodecIDValid(const GUID& CodecID) {
  return CodecID.Data1 != 0 || CodecID.Data2 != 0 || CodecID.Data3 != 0;
}

Status CheckEncoder(const String& AImageMimeType, GUID& ACodecID) {
  return IsCodecIDValid(ACodecID) ? Ok : GetEncoderID(AImageMimeType, ACodecID);
}

Status CheckDecoder(const String& AImageMimeType, GUID& ACodecID) {
  return IsCodecIDValid(ACodecID) ? Ok : GetDecoderID(AImageMimeType, ACodecID);
}

void CheckOptionalEncoder(const String& AImageMimeType, GUID& ACodecID) {
  if (CheckEncoder(AImageMimeType, ACodecID) != Ok) ACodecID = GUID{};
}

void CheckOptionalDecoder(const String& AImageMimeType, GUID& ACodecID) {
  if (CheckDecoder(AImageMimeType, ACodecID) != Ok) ACodecID = GUID{};
}

void CheckImageCodecs() {
  GdipCheck(CheckEncoder(L"image/png", PNGEncoder));
  GdipCheck(CheckDecoder(L"image/png", PNGDecoder));
  CheckOptionalEncoder(L"image/bmp", BMPEncoder);
  CheckOptionalDecoder(L"image/bmp", BMPDecoder);
  CheckOptionalEncoder(L"image/gif", GIFEncoder);
  CheckOptionalDecoder(L"image/gif", GIFDecoder);
  CheckOptionalEncoder(L"image/jpeg", JPEGEncoder);
  CheckOptionalDecoder(L"image/jpeg", JPEGDecoder);
  CheckOptionalEncoder(L"image/tiff", TIFFEncoder);
  CheckOptionalDecoder(L"image/tiff", TIFFDecoder);
  CheckOptionalDecoder(L"image/x-emf", EMFDecoder);
  CheckOptionalDecoder(L"image/x-wmf", WMFDecoder);
  CheckOptionalDecoder(L"image/x-icon", ICONDecoder);
}

void CheckPngCodec() { CheckImageCodecs(); }

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxGpBase)

void* TdxGpBase::operator new(size_t ASize) {
  bool Gp = FGDIPresent && GdipAlloc;
  void* P = Gp ? GdipAlloc(ASize + GpBaseHeader) : std::malloc(ASize + GpBaseHeader);
  if (!P) throw std::bad_alloc();
  *static_cast<bool*>(P) = Gp;
  return static_cast<Byte*>(P) + GpBaseHeader;
}

void TdxGpBase::operator delete(void* AObject) noexcept {
  if (!AObject) return;
  void* Block = static_cast<Byte*>(AObject) - GpBaseHeader;
  if (!*static_cast<bool*>(Block))
    std::free(Block);
  else if (GdipFree)
    GdipFree(Block);
  // GDI+ memory outliving GDI+ itself cannot be given back any more.
}

bool TdxGpBase::IsGpUsed() const {
  const void* Object = dynamic_cast<const void*>(this);
  return *(static_cast<const bool*>(Object) - GpBaseHeader);
}

GpBitmap* dxGpCreateBitmap(Integer AWidth, Integer AHeight) {
  GpBitmap* Result = nullptr;
  GdipCheck(GdipCreateBitmapFromScan0(AWidth, AHeight, 0, PixelFormat32bppPARGB, nullptr, &Result));
  return Result;
}

GpBitmap* dxGpCreateBitmap(const TSize& ASize) { return dxGpCreateBitmap(ASize.cx, ASize.cy); }

GpBitmap* dxGpCreateBitmap(const TRect& R) {
  return dxGpCreateBitmap(R.right - R.left, R.bottom - R.top);
}

// ---------------------------------------------------------------------------

void dxGDIPlusAPI_Initialize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RegisterProduct(cxLibraryProductName, &AddGdiPlusResourceStringNames);
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->AddUnit(&RegisterAssistants, &UnregisterAssistants);
  else
    RegisterAssistants();
}

void dxGDIPlusAPI_Finalize() {
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->RemoveUnit(&UnregisterAssistants);
  else
    UnregisterAssistants();
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->UnRegisterProduct(cxLibraryProductName, &AddGdiPlusResourceStringNames);
}
