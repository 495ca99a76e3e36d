// SVG in the smart image: a codec that recognises, loads and saves SVG
// documents, the decoded handle that keeps the element tree and the
// compressed source and draws through one cached raster per size and
// palette, and the graphic class that always saves SVG.
#pragma once

#include "dxSVGCore.h"

// The longest side of the raster a tree is drawn into before it is resampled.
inline constexpr Integer dxSVGMaxRasterSize = 2048;

class TdxSVGImageCodec : public TdxSmartImageCodec {
 public:
  static TdxSmartImageCodecClass Class();
  const wchar_t* ClassName() const override { return L"TdxSVGImageCodec"; }
  String Ext() const override { return L".svg"; }
  // The root's size when the stream (from its position to its end) holds an
  // SVG document; any error gives false.
  bool GetSize(TStream* AStream, TSize& ASize) const override;
  bool CanLoadStream(TStream* AStream) const override;
  bool CanSaveImage(TdxSmartImageCustomHandle* AHandle) const override;
  using TdxSmartImageCodec::Load;
  bool Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) const override;
  // The source an SVG handle keeps; false for other handles and for a handle
  // without a stored source.
  bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const override;

  // False (no handle) when the document holds no "svg" element or loading
  // fails; AError, when given, receives the reason.
  static bool Load(TdxXMLDocument* ADocument, class TdxSVGImageHandle*& AHandle,
                   String* AError = nullptr);
  static bool Load(const String& AFileName, class TdxSVGImageHandle*& AHandle,
                   String* AError = nullptr);
  static bool LoadFromStream(TStream* AStream, class TdxSVGImageHandle*& AHandle,
                             String* AError = nullptr);
};

class TdxSVGImageHandle : public TdxSmartImageCustomHandle,
                          public IdxVectorImage,
                          public IdxImageDataFormatEx,
                          public IdxGpFlipContent {
  DECLARE_CLASS(TdxSVGImageHandle, TdxSmartImageCustomHandle)
 public:
  TdxSVGImageHandle();
  ~TdxSVGImageHandle() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  TdxSmartImageCodecClass STDMETHODCALLTYPE GetImageCodec() override {
    return TdxSVGImageCodec::Class();
  }
  void STDMETHODCALLTYPE Flip(bool AHorizontally, bool AVertically) override;

  // The root size rounded; (0, 0) without a root.
  TSize GetSize() override;
  TdxAlphaState GetAlphaState() override { return asSemitransparent; }
  TBitmap* GetAsBitmap() override;
  void Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, Byte AAlpha,
            IdxColorPalette* APalette) override;
  void Draw(HDC DC, const TRect& ADest, const TRect& ASource, Byte AAlpha,
            IdxColorPalette* APalette) override;

  // The raster for a target size and palette, owned by the handle: valid
  // until a call with another size or palette, a flip or the handle's end.
  // A failed draw leaves nothing cached and passes its error on.
  TdxGPImageHandle* GetRasterizedImage(const TSize& ASize, IdxColorPalette* APalette);
  // The size of the raster a view box is drawn into before it is resampled:
  // about dxSVGMaxRasterSize on the longer side (at most 32 pixels a unit),
  // at least 1 pixel a side; (0, 0) for a view box without area.
  static TSize GetRasterSize(const TdxRectF& AViewBox);
  // The size the raster is resampled to for an asked size: the view box
  // scaled to cover it, proportions kept (a side bounded by the larger of
  // the asked side and dxSVGMaxRasterSize); the asked size (at least 1 x 1)
  // for a view box without area.
  static TSize GetTargetSize(const TdxRectF& AViewBox, const TSize& ASize);
  void FlushCache();
  TdxGPSmoothingMode GetSmoothingMode() const;
  TdxGPInterpolationMode GetInterpolationMode() const;
  static TGUID GetPaletteID(IdxColorPalette* APalette);
  TdxRectF GetViewBox();
  // The tree drawn with the view box mapped onto ARect; the canvas's
  // transform and smoothing are as before afterwards, also after a failure.
  void DrawCore(TdxGPCanvas* ACanvas, const TdxRectF& ARect, IdxColorPalette* APalette);
  void DrawCore(TdxGPImageHandle* AImage, IdxColorPalette* APalette);

  TdxSVGElementRoot* Root() const { return FRoot; }
  TdxSVGElement* Elements() const { return FElements.get(); }
  TMemoryStream* SourceData() const { return FSourceData.get(); }
  bool HasCachedImage() const { return FCachedImage != nullptr; }
  TdxGPInterpolationMode FInterpolationMode = imDefault;
  TdxGPSmoothingMode FSmoothingMode = smDefault;

 private:
  friend class TdxSVGImageCodec;
  TOwned<TdxGPImageHandle> FCachedImage;
  TGUID FCachedImagePaletteID{};
  TOwned<TdxSVGElement> FElements;
  bool FFlipHorizontally = false;
  bool FFlipVertically = false;
  TOwned<TMemoryStream> FSourceData;
  TdxSVGElementRoot* FRoot = nullptr;
};

class TdxSVGImage : public TdxCustomSmartImage {
  DECLARE_CLASS(TdxSVGImage, TdxCustomSmartImage)
 public:
  void SaveToStream(TStream* AStream) override;
};

// The start-up work of the module: with GDI+, the codec after the GDI+
// codecs, the graphic class and the "svg" picture format.
namespace dxSVGImage {
void RegisterAssistants();
void UnregisterAssistants();
}  // namespace dxSVGImage

void dxSVGImage_Initialize();
void dxSVGImage_Finalize();
