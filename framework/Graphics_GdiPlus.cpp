// Pictures that the platform's GDI+ decodes. The module binds the handful
// of flat-API entry points it needs by name, so that a program runs (and
// only lacks these formats) where gdiplus.dll is missing.
#include "Graphics_GdiPlus.h"

#include <climits>
#include <cstring>
#include <memory>

#include "ComObj.h"
// The flat API's types and records; the functions are bound below.
#include <gdiplus.h>
#include <shlwapi.h>

namespace GraphicsGdiPlus {
namespace {

using namespace Gdiplus;

struct TBinding {
  TModuleHandle Library;
  ULONG_PTR Token = 0;
  decltype(&GdiplusShutdown) Shutdown = nullptr;
  decltype(&DllExports::GdipCreateBitmapFromStream) CreateBitmapFromStream = nullptr;
  decltype(&DllExports::GdipDisposeImage) DisposeImage = nullptr;
  decltype(&DllExports::GdipGetImageWidth) GetImageWidth = nullptr;
  decltype(&DllExports::GdipGetImageHeight) GetImageHeight = nullptr;
  decltype(&DllExports::GdipBitmapLockBits) BitmapLockBits = nullptr;
  decltype(&DllExports::GdipBitmapUnlockBits) BitmapUnlockBits = nullptr;
  decltype(&DllExports::GdipGetImageDecodersSize) GetImageDecodersSize = nullptr;
  decltype(&DllExports::GdipGetImageDecoders) GetImageDecoders = nullptr;
};

SRWLOCK BindingLock = SRWLOCK_INIT;
// Made on the first successful start, freed at the module's shut-down.
TBinding* Binding = nullptr;

template <class T>
bool Bind(HMODULE ALibrary, const char* AName, T& AEntry) {
  AEntry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(ALibrary, AName)));
  return AEntry != nullptr;
}

TBinding* Load() {
  auto Result = std::make_unique<TBinding>();
  Result->Library.Reset(SafeLoadLibrary(L"gdiplus.dll"));
  HMODULE L = Result->Library.Get();
  decltype(&GdiplusStartup) Startup = nullptr;
  if (!L || !Bind(L, "GdiplusStartup", Startup) || !Bind(L, "GdiplusShutdown", Result->Shutdown) ||
      !Bind(L, "GdipCreateBitmapFromStream", Result->CreateBitmapFromStream) ||
      !Bind(L, "GdipDisposeImage", Result->DisposeImage) ||
      !Bind(L, "GdipGetImageWidth", Result->GetImageWidth) ||
      !Bind(L, "GdipGetImageHeight", Result->GetImageHeight) ||
      !Bind(L, "GdipBitmapLockBits", Result->BitmapLockBits) ||
      !Bind(L, "GdipBitmapUnlockBits", Result->BitmapUnlockBits) ||
      !Bind(L, "GdipGetImageDecodersSize", Result->GetImageDecodersSize) ||
      !Bind(L, "GdipGetImageDecoders", Result->GetImageDecoders))
    return nullptr;
  GdiplusStartupInput Input;
  if (Startup(&Result->Token, &Input, nullptr) != Ok) return nullptr;
  return Result.release();
}

// A GDI+ image, disposed when the scope ends.
struct TImageOwner {
  GpBitmap* Image = nullptr;
  ~TImageOwner() {
    if (Image) Binding->DisposeImage(Image);
  }
};

String ExtensionOf(const wchar_t* APattern) {
  // "*.PNG" gives "png".
  String Ext = APattern;
  size_t Dot = Ext.rfind(L'.');
  return LowerCase(Dot == String::npos ? Ext : Ext.substr(Dot + 1));
}

}  // namespace

bool Start() {
  TSRWLockHold<true> Hold(BindingLock);
  // A failed load is tried again next time: the library may be installed
  // or enabled meanwhile, and a failure leaves nothing behind.
  if (!Binding) Binding = Load();
  return Binding != nullptr;
}

void Shutdown() {
  TSRWLockHold<true> Hold(BindingLock);
  if (!Binding) return;
  Binding->Shutdown(Binding->Token);
  delete Binding;
  Binding = nullptr;
}

std::vector<TDecoderFormat> DecoderFormats() {
  std::vector<TDecoderFormat> Result;
  if (!Start()) return Result;
  UINT Count = 0, Size = 0;
  if (Binding->GetImageDecodersSize(&Count, &Size) != Ok || Count == 0) return Result;
  std::vector<Byte> Buffer(Size);
  auto* Codecs = reinterpret_cast<ImageCodecInfo*>(Buffer.data());
  if (Binding->GetImageDecoders(Count, Size, Codecs) != Ok) return Result;
  for (UINT I = 0; I < Count; ++I) {
    String Patterns = Codecs[I].FilenameExtension ? Codecs[I].FilenameExtension : L"";
    String Description = Codecs[I].FormatDescription ? Codecs[I].FormatDescription : L"";
    size_t Start = 0;
    while (Start <= Patterns.size()) {
      size_t End = Patterns.find(L';', Start);
      if (End == String::npos) End = Patterns.size();
      String Ext = ExtensionOf(Patterns.substr(Start, End - Start).c_str());
      if (!Ext.empty()) Result.push_back(TDecoderFormat{Ext, Description});
      Start = End + 1;
    }
  }
  return Result;
}

bool Decode(const TBytes& AData, TBitmap* ABitmap) {
  if (AData.empty() || AData.size() > UINT_MAX || !Start()) return false;
  TComPtr<IStream> Stream =
      TComPtr<IStream>::Attach(SHCreateMemStream(AData.data(), static_cast<UINT>(AData.size())));
  if (!Stream) throw EOutOfMemory(L"Out of memory");
  TImageOwner Image;
  if (Binding->CreateBitmapFromStream(Stream.Get(), &Image.Image) != Ok || !Image.Image)
    return false;
  UINT W = 0, H = 0;
  if (Binding->GetImageWidth(Image.Image, &W) != Ok ||
      Binding->GetImageHeight(Image.Image, &H) != Ok || W == 0 || H == 0 || W > INT_MAX / 4 ||
      H > INT_MAX / 4)
    return false;
  Gdiplus::Rect Whole(0, 0, static_cast<INT>(W), static_cast<INT>(H));
  BitmapData Data{};
  if (Binding->BitmapLockBits(Image.Image, &Whole, ImageLockModeRead, PixelFormat32bppARGB,
                              &Data) != Ok)
    return false;
  auto Unlock = Finally([&] { Binding->BitmapUnlockBits(Image.Image, &Data); });
  ABitmap->SetAlphaFormat(TAlphaFormat::afIgnored);
  ABitmap->SetPixelFormat(TPixelFormat::pf32bit);
  ABitmap->SetSize(static_cast<Integer>(W), static_cast<Integer>(H));
  // GDI+'s 32bppARGB is B, G, R, A in memory, as a DIB's 32-bit pixels.
  for (UINT Y = 0; Y < H; ++Y)
    std::memcpy(ABitmap->ScanLine(static_cast<Integer>(Y)),
                static_cast<const Byte*>(Data.Scan0) + static_cast<ptrdiff_t>(Y) * Data.Stride,
                static_cast<size_t>(W) * 4);
  return true;
}

}  // namespace GraphicsGdiPlus

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TGdiPlusImage)

TGdiPlusImage::TGdiPlusImage() : FBitmap(Create<TBitmap>()) {}

TGdiPlusImage::~TGdiPlusImage() = default;

bool TGdiPlusImage::Available() { return GraphicsGdiPlus::Start(); }

void TGdiPlusImage::SetWidth(Integer) {
  throw EInvalidGraphicOperation(L"The size of a decoded image cannot be changed");
}

void TGdiPlusImage::SetHeight(Integer) {
  throw EInvalidGraphicOperation(L"The size of a decoded image cannot be changed");
}

void TGdiPlusImage::Assign(TPersistent* Source) {
  if (auto* I = AsOrNull<TGdiPlusImage>(Source)) {
    if (I == this) return;
    FData = I->FData;
    FBitmap->Assign(I->FBitmap.get());
    Changed(this);
    return;
  }
  if (!Source) {
    FData.clear();
    FBitmap->Assign(nullptr);
    Changed(this);
    return;
  }
  inherited::Assign(Source);
}

void TGdiPlusImage::LoadFromStream(TStream* Stream) {
  Int64 Avail = Stream->Size() - Stream->Position();
  if (Avail <= 0 || Avail > (256 << 20)) throw EInvalidGraphic(L"Image is not valid");
  TBytes Data(static_cast<size_t>(Avail), 0);
  Stream->ReadBuffer(Data.data(), static_cast<Integer>(Avail));
  if (!GraphicsGdiPlus::Start()) throw EInvalidGraphic(L"No image decoder is available (GDI+)");
  // Decoded aside, so that a failure leaves the image as it was.
  TOwned<TBitmap> Decoded(Create<TBitmap>());
  if (!GraphicsGdiPlus::Decode(Data, Decoded.get())) throw EInvalidGraphic(L"Image is not valid");
  Decoded->SetAlphaFormat(TAlphaFormat::afDefined);
  FBitmap = std::move(Decoded);
  FData = std::move(Data);
  Changed(this);
}

void TGdiPlusImage::SaveToStream(TStream* Stream) {
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<Integer>(FData.size()));
}

void TGdiPlusImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  static_cast<TGraphic*>(FBitmap.get())->Draw(ACanvas, Rect);
}

void TGdiPlusImage::AssignTo(TPersistent* Dest) {
  auto* B = AsOrNull<TBitmap>(Dest);
  if (!B) {
    inherited::AssignTo(Dest);
    return;
  }
  B->Assign(FBitmap.get());
  // Straight alpha, as bitmaps that were not drawn through alpha blending
  // keep it.
  B->SetAlphaFormat(TAlphaFormat::afIgnored);
}
