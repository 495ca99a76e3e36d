#include "SvgTestSupport.h"

#include "Forms.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "cxLibraryStrs.h"
#include "dxCore.h"
#include "dxCoreClasses.h"
#include "dxCoreGraphics.h"
#include "dxDPIAwareUtils.h"
#include "dxGDIPlusAPI.h"
#include "dxGDIPlusClasses.h"
#include "dxSmartImage.h"

namespace {
bool Started = false;
}

void StartSvgModules() {
  if (Started) return;
  Started = true;
  dxCore_Initialize();
  dxCoreClasses_Initialize();
  cxGeometry_Initialize();
  dxDPIAwareUtils_Initialize();
  Forms_Initialize();
  dxCoreGraphics_Initialize();
  dxGDIPlusAPI_Initialize();
  dxSmartImage_Initialize();
  dxGDIPlusClasses_Initialize();
  cxGraphics_Initialize();
  cxLibraryStrs_Initialize();
  dxSVGCore_Initialize();
  dxSVGImage_Initialize();
}

void StopSvgModules() {
  if (!Started) return;
  Started = false;
  dxSVGImage_Finalize();
  dxSVGCore_Finalize();
  cxLibraryStrs_Finalize();
  cxGraphics_Finalize();
  dxGDIPlusClasses_Finalize();
  dxSmartImage_Finalize();
  dxGDIPlusAPI_Finalize();
  dxCoreGraphics_Finalize();
  Forms_Finalize();
  dxDPIAwareUtils_Finalize();
  cxGeometry_Finalize();
  dxCoreClasses_Finalize();
  dxCore_Finalize();
}

TOwned<TdxSVGImageHandle> LoadSvg(std::string_view ABytes, String* AError) {
  TOwned<TMemoryStream> S(Create<TMemoryStream>());
  if (!ABytes.empty()) S->WriteBuffer(ABytes.data(), static_cast<Integer>(ABytes.size()));
  S->SetPosition(0);
  TdxSVGImageHandle* H = nullptr;
  if (!TdxSVGImageCodec::LoadFromStream(S.get(), H, AError)) return nullptr;
  return TOwned<TdxSVGImageHandle>(H);
}

TOwned<TdxSVGImageHandle> LoadSvgFile(const String& AFileName, String* AError) {
  TdxSVGImageHandle* H = nullptr;
  if (!TdxSVGImageCodec::Load(AFileName, H, AError)) return nullptr;
  return TOwned<TdxSVGImageHandle>(H);
}

TSvgPixels RenderByDraw(TdxSVGImageHandle* AHandle, Integer AWidth, Integer AHeight,
                        IdxColorPalette* APalette) {
  TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(AWidth, AHeight, true));
  const TSize S = AHandle->GetSize();
  AHandle->Draw(Bitmap->Canvas()->Handle(), TRect{0, 0, AWidth, AHeight}, TRect{0, 0, S.cx, S.cy},
                255, APalette);
  TSvgPixels P{AWidth, AHeight, {}};
  GetBitmapBits(Bitmap.get(), P.Bits, true);
  return P;
}

TSvgPixels RenderDirect(TdxSVGImageHandle* AHandle, Integer AWidth, Integer AHeight,
                        IdxColorPalette* APalette) {
  TOwned<TdxGPImageHandle> Image(Create<TdxGPImageHandle>(dxGpCreateBitmap(AWidth, AHeight)));
  {
    TOwned<TdxGPCanvas> Canvas(Image->CreateCanvas());
    AHandle->FSmoothingMode = smAntiAlias;
    AHandle->DrawCore(Canvas.get(),
                      TdxRectF{0, 0, static_cast<Single>(AWidth), static_cast<Single>(AHeight)},
                      APalette);
    AHandle->FSmoothingMode = smDefault;
  }
  TOwned<TBitmap> Bitmap(Image->GetAsBitmap());
  TSvgPixels P{AWidth, AHeight, {}};
  GetBitmapBits(Bitmap.get(), P.Bits, true);
  return P;
}

void SavePixelsAsPng(const TSvgPixels& APixels, const String& AFileName) {
  TRGBColors Bits = APixels.Bits;
  TOwned<TdxGPImageHandle> Image(TdxGPImageHandle::CreateFromBits(
      APixels.Width, APixels.Height, Bits, TAlphaFormat::afPremultiplied));
  TOwned<TFileStream> S(Create<TFileStream>(AFileName, static_cast<Word>(fmCreate)));
  if (!TdxGPImageCodecPNG::Class()->Save(S.get(), Image.get()))
    throw EdxException(L"cannot encode PNG: " + AFileName);
}

std::vector<String> ExpandListArguments(int argc, wchar_t** argv, int AFirst) {
  std::vector<String> Result;
  for (int I = AFirst; I < argc; ++I) {
    const String Argument = argv[I];
    if (Argument.size() < 2 || Argument[0] != L'@') {
      Result.push_back(Argument);
      continue;
    }
    TOwned<TStringList> Lines(Create<TStringList>());
    Lines->LoadFromFile(Argument.substr(1), TEncoding::UTF8());
    for (Integer L = 0; L < Lines->Count(); ++L)
      if (!Lines->Strings(L).empty()) Result.push_back(Lines->Strings(L));
  }
  return Result;
}
