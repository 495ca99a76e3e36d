// The library's only door to GDI+: the flat API bound by name at run time,
// start-up and shut-down, the availability test, the status check, the
// identifiers of the platform's image codecs, and the records and helpers
// the graphics classes pass to GDI+.
#pragma once

#ifndef RC_INVOKED
#include "dxCoreGraphics.h"
// The flat API's types, enumerations and records under their published
// names; the functions themselves are never linked, only bound below.
#include <gdiplus.h>
#endif

// String-table identifiers (dxGDIPlusAPI.rc).
#define IDS_cxGdiPlusInvalidOperation 64800
#define IDS_cxGdiPlusInvalidWin32Operation 64801
#define IDS_cxGdiPlusApplicationError 64802
#define IDS_cxGdiPlusRequired 64803

#ifndef RC_INVOKED

// MinGW-w64's GDI+ headers lack this one entry point of the flat API and
// declare start-up and shut-down outside the flat API's namespace.
namespace Gdiplus::DllExports {
using Gdiplus::GdiplusShutdown;
using Gdiplus::GdiplusStartup;
extern "C" GpStatus WINGDIPAPI GdipGetMetafileHeaderFromWmf(HMETAFILE,
                                                            GDIPCONST WmfPlaceableFileHeader*,
                                                            MetafileHeader*);
}  // namespace Gdiplus::DllExports

// The published names, in the global namespace where the library uses them.
using Gdiplus::ARGB;
using Gdiplus::ColorAdjustType, Gdiplus::ColorAdjustTypeDefault, Gdiplus::ColorAdjustTypeBitmap,
    Gdiplus::ColorAdjustTypeBrush;
using Gdiplus::ColorChannelFlags;
using Gdiplus::ColorMatrix;
using Gdiplus::ColorMatrixFlags, Gdiplus::ColorMatrixFlagsDefault;
using Gdiplus::CombineMode, Gdiplus::CombineModeReplace, Gdiplus::CombineModeIntersect,
    Gdiplus::CombineModeUnion, Gdiplus::CombineModeXor, Gdiplus::CombineModeExclude,
    Gdiplus::CombineModeComplement;
using Gdiplus::CoordinateSpace, Gdiplus::CoordinateSpaceWorld, Gdiplus::CoordinateSpacePage,
    Gdiplus::CoordinateSpaceDevice;
using Gdiplus::DashCap, Gdiplus::DashCapFlat, Gdiplus::DashCapRound, Gdiplus::DashCapTriangle;
using Gdiplus::DashStyle, Gdiplus::DashStyleSolid, Gdiplus::DashStyleDash, Gdiplus::DashStyleDot,
    Gdiplus::DashStyleDashDot, Gdiplus::DashStyleDashDotDot, Gdiplus::DashStyleCustom;
using Gdiplus::EncoderParameters;
using Gdiplus::FillMode, Gdiplus::FillModeAlternate, Gdiplus::FillModeWinding;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontCollection;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;
using Gdiplus::GpLineGradient;
using Gdiplus::GpMatrix;
using Gdiplus::GpPath;
using Gdiplus::GpPen;
using Gdiplus::GpRegion;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStatus;
using Gdiplus::GpStringFormat;
using Gdiplus::GpTexture;
using Gdiplus::HotkeyPrefix, Gdiplus::HotkeyPrefixNone, Gdiplus::HotkeyPrefixShow,
    Gdiplus::HotkeyPrefixHide;
using Gdiplus::ImageCodecInfo;
using Gdiplus::ImageType, Gdiplus::ImageTypeUnknown, Gdiplus::ImageTypeBitmap,
    Gdiplus::ImageTypeMetafile;
using Gdiplus::InterpolationMode, Gdiplus::InterpolationModeDefault,
    Gdiplus::InterpolationModeNearestNeighbor, Gdiplus::InterpolationModeHighQualityBilinear,
    Gdiplus::InterpolationModeHighQualityBicubic;
using Gdiplus::LinearGradientMode, Gdiplus::LinearGradientModeHorizontal,
    Gdiplus::LinearGradientModeVertical, Gdiplus::LinearGradientModeForwardDiagonal,
    Gdiplus::LinearGradientModeBackwardDiagonal;
using Gdiplus::LineCap, Gdiplus::LineCapFlat, Gdiplus::LineCapSquare, Gdiplus::LineCapRound;
using Gdiplus::LineJoin, Gdiplus::LineJoinMiter, Gdiplus::LineJoinBevel, Gdiplus::LineJoinRound,
    Gdiplus::LineJoinMiterClipped;
using Gdiplus::MatrixOrder, Gdiplus::MatrixOrderPrepend, Gdiplus::MatrixOrderAppend;
using Gdiplus::Ok, Gdiplus::GenericError, Gdiplus::InvalidParameter, Gdiplus::OutOfMemory,
    Gdiplus::ObjectBusy, Gdiplus::InsufficientBuffer, Gdiplus::NotImplemented, Gdiplus::Win32Error,
    Gdiplus::WrongState, Gdiplus::Aborted, Gdiplus::FileNotFound, Gdiplus::ValueOverflow,
    Gdiplus::AccessDenied, Gdiplus::UnknownImageFormat, Gdiplus::FontFamilyNotFound,
    Gdiplus::FontStyleNotFound, Gdiplus::NotTrueTypeFont, Gdiplus::UnsupportedGdiplusVersion,
    Gdiplus::GdiplusNotInitialized, Gdiplus::PropertyNotFound, Gdiplus::PropertyNotSupported;
using Gdiplus::PixelOffsetMode, Gdiplus::PixelOffsetModeDefault, Gdiplus::PixelOffsetModeHalf,
    Gdiplus::PixelOffsetModeNone, Gdiplus::PixelOffsetModeHighQuality;
using Gdiplus::PropertyItem;
using Gdiplus::SmoothingMode, Gdiplus::SmoothingModeDefault, Gdiplus::SmoothingModeHighSpeed,
    Gdiplus::SmoothingModeHighQuality, Gdiplus::SmoothingModeNone, Gdiplus::SmoothingModeAntiAlias;
using Gdiplus::Status;
using Gdiplus::StringAlignment, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter,
    Gdiplus::StringAlignmentFar;
using Gdiplus::StringDigitSubstitute, Gdiplus::StringDigitSubstituteUser,
    Gdiplus::StringDigitSubstituteNone, Gdiplus::StringDigitSubstituteNational,
    Gdiplus::StringDigitSubstituteTraditional;
using Gdiplus::StringTrimming, Gdiplus::StringTrimmingNone, Gdiplus::StringTrimmingCharacter,
    Gdiplus::StringTrimmingWord, Gdiplus::StringTrimmingEllipsisCharacter,
    Gdiplus::StringTrimmingEllipsisWord, Gdiplus::StringTrimmingEllipsisPath;
using Gdiplus::TextRenderingHint;
using Gdiplus::Unit, Gdiplus::UnitWorld, Gdiplus::UnitDisplay, Gdiplus::UnitPixel,
    Gdiplus::UnitPoint, Gdiplus::UnitInch, Gdiplus::UnitDocument, Gdiplus::UnitMillimeter;
using Gdiplus::WrapMode, Gdiplus::WrapModeTile, Gdiplus::WrapModeTileFlipX,
    Gdiplus::WrapModeTileFlipY, Gdiplus::WrapModeTileFlipXY, Gdiplus::WrapModeClamp;

using TdxGpLineJoin = Gdiplus::LineJoin;
using TdxGpStringAlignment = Gdiplus::StringAlignment;
using TdxGpStringTrimming = Gdiplus::StringTrimming;
using TdxGpStringDigitSubstitute = Gdiplus::StringDigitSubstitute;
using TdxGPHotkeyPrefix = Gdiplus::HotkeyPrefix;
using TdxGpTextRenderingHint = Gdiplus::TextRenderingHint;
using TdxGpMatrixOrder = Gdiplus::MatrixOrder;
using TdxGpCoordinateSpace = Gdiplus::CoordinateSpace;
using TdxGpImageCodecInfo = Gdiplus::ImageCodecInfo;
using TdxGpColorMatrix = Gdiplus::ColorMatrix;

// ---------------------------------------------------------------------------
// The entry points, in binding order: each is bound by its own name, and the
// first missing one makes GDI+ absent. One pointer per function, named as the
// function, typed as the platform declares it.
// clang-format off
#define DX_GDIPLUS_ENTRY_POINTS(X) \
  X(GdipAlloc) X(GdipFree) X(GdiplusStartup) \
  X(GdiplusShutdown) X(GdipCloneBrush) X(GdipDeleteBrush) \
  X(GdipGetBrushType) X(GdipCreateSolidFill) X(GdipSetSolidFillColor) \
  X(GdipGetSolidFillColor) X(GdipCreatePathGradient) X(GdipCreatePathGradientI) \
  X(GdipCreatePathGradientFromPath) X(GdipGetPathGradientCenterColor) X(GdipSetPathGradientCenterColor) \
  X(GdipGetPathGradientSurroundColorsWithCount) X(GdipSetPathGradientSurroundColorsWithCount) X(GdipGetPathGradientPath) \
  X(GdipSetPathGradientPath) X(GdipGetPathGradientCenterPoint) X(GdipGetPathGradientCenterPointI) \
  X(GdipSetPathGradientCenterPoint) X(GdipSetPathGradientCenterPointI) X(GdipGetPathGradientRect) \
  X(GdipGetPathGradientRectI) X(GdipGetPathGradientPointCount) X(GdipGetPathGradientSurroundColorCount) \
  X(GdipSetPathGradientGammaCorrection) X(GdipGetPathGradientGammaCorrection) X(GdipGetPathGradientBlendCount) \
  X(GdipGetPathGradientBlend) X(GdipSetPathGradientBlend) X(GdipGetPathGradientPresetBlendCount) \
  X(GdipGetPathGradientPresetBlend) X(GdipSetPathGradientPresetBlend) X(GdipSetPathGradientSigmaBlend) \
  X(GdipSetPathGradientLinearBlend) X(GdipGetPathGradientWrapMode) X(GdipSetPathGradientWrapMode) \
  X(GdipGetPathGradientTransform) X(GdipSetPathGradientTransform) X(GdipResetPathGradientTransform) \
  X(GdipMultiplyPathGradientTransform) X(GdipTranslatePathGradientTransform) X(GdipScalePathGradientTransform) \
  X(GdipRotatePathGradientTransform) X(GdipGetPathGradientFocusScales) X(GdipSetPathGradientFocusScales) \
  X(GdipCreateLineBrush) X(GdipCreateLineBrushI) X(GdipCreateLineBrushFromRect) \
  X(GdipCreateLineBrushFromRectI) X(GdipCreateLineBrushFromRectWithAngle) X(GdipCreateLineBrushFromRectWithAngleI) \
  X(GdipGetLineRect) X(GdipGetLineRectI) X(GdipSetLineColors) \
  X(GdipGetLineColors) X(GdipSetLineGammaCorrection) X(GdipGetLineGammaCorrection) \
  X(GdipGetLineBlendCount) X(GdipGetLineBlend) X(GdipSetLineBlend) \
  X(GdipGetLinePresetBlendCount) X(GdipGetLinePresetBlend) X(GdipSetLinePresetBlend) \
  X(GdipSetLineSigmaBlend) X(GdipSetLineLinearBlend) X(GdipSetLineWrapMode) \
  X(GdipGetLineWrapMode) X(GdipGetLineTransform) X(GdipSetLineTransform) \
  X(GdipResetLineTransform) X(GdipMultiplyLineTransform) X(GdipTranslateLineTransform) \
  X(GdipScaleLineTransform) X(GdipRotateLineTransform) X(GdipCreateHatchBrush) \
  X(GdipGetHatchStyle) X(GdipGetHatchForegroundColor) X(GdipGetHatchBackgroundColor) \
  X(GdipCreatePen1) X(GdipCreatePen2) X(GdipClonePen) \
  X(GdipDeletePen) X(GdipGetPenFillType) X(GdipSetPenBrushFill) \
  X(GdipGetPenBrushFill) X(GdipSetPenColor) X(GdipGetPenColor) \
  X(GdipSetPenMode) X(GdipGetPenMode) X(GdipSetPenUnit) \
  X(GdipGetPenUnit) X(GdipSetPenWidth) X(GdipGetPenWidth) \
  X(GdipGetPenDashStyle) X(GdipSetPenDashStyle) X(GdipSetPenLineCap197819) \
  X(GdipSetPenStartCap) X(GdipSetPenEndCap) X(GdipSetPenDashCap197819) \
  X(GdipGetPenStartCap) X(GdipGetPenEndCap) X(GdipGetPenDashCap197819) \
  X(GdipSetPenLineJoin) X(GdipGetPenLineJoin) X(GdipSetPenCustomStartCap) \
  X(GdipGetPenCustomStartCap) X(GdipSetPenCustomEndCap) X(GdipGetPenCustomEndCap) \
  X(GdipSetPenMiterLimit) X(GdipGetPenMiterLimit) X(GdipSetPenTransform) \
  X(GdipGetPenTransform) X(GdipResetPenTransform) X(GdipMultiplyPenTransform) \
  X(GdipTranslatePenTransform) X(GdipScalePenTransform) X(GdipRotatePenTransform) \
  X(GdipGetPenDashOffset) X(GdipSetPenDashOffset) X(GdipGetPenDashCount) \
  X(GdipSetPenDashArray) X(GdipGetPenDashArray) X(GdipGetPenCompoundCount) \
  X(GdipSetPenCompoundArray) X(GdipGetPenCompoundArray) X(GdipCreateCustomLineCap) \
  X(GdipDeleteCustomLineCap) X(GdipCloneCustomLineCap) X(GdipGetCustomLineCapType) \
  X(GdipSetCustomLineCapStrokeCaps) X(GdipGetCustomLineCapStrokeCaps) X(GdipSetCustomLineCapStrokeJoin) \
  X(GdipGetCustomLineCapStrokeJoin) X(GdipSetCustomLineCapBaseCap) X(GdipGetCustomLineCapBaseCap) \
  X(GdipSetCustomLineCapBaseInset) X(GdipGetCustomLineCapBaseInset) X(GdipSetCustomLineCapWidthScale) \
  X(GdipGetCustomLineCapWidthScale) X(GdipCreateAdjustableArrowCap) X(GdipSetAdjustableArrowCapHeight) \
  X(GdipGetAdjustableArrowCapHeight) X(GdipSetAdjustableArrowCapWidth) X(GdipGetAdjustableArrowCapWidth) \
  X(GdipSetAdjustableArrowCapMiddleInset) X(GdipGetAdjustableArrowCapMiddleInset) X(GdipSetAdjustableArrowCapFillState) \
  X(GdipGetAdjustableArrowCapFillState) X(GdipFlush) X(GdipCreateFromHDC) \
  X(GdipCreateFromHDC2) X(GdipCreateFromHWND) X(GdipCreateFromHWNDICM) \
  X(GdipDeleteGraphics) X(GdipGetDC) X(GdipReleaseDC) \
  X(GdipGraphicsClear) X(GdipCreateHalftonePalette) X(GdipDrawLine) \
  X(GdipDrawLineI) X(GdipDrawLines) X(GdipDrawLinesI) \
  X(GdipFillRectangle) X(GdipFillRectangleI) X(GdipFillRectangles) \
  X(GdipFillRectanglesI) X(GdipFillRegion) X(GdipDrawImage) \
  X(GdipDrawImageI) X(GdipDrawArc) X(GdipDrawArcI) \
  X(GdipDrawBezier) X(GdipDrawBezierI) X(GdipDrawBeziers) \
  X(GdipDrawBeziersI) X(GdipDrawRectangle) X(GdipDrawRectangleI) \
  X(GdipDrawRectangles) X(GdipDrawRectanglesI) X(GdipDrawEllipse) \
  X(GdipDrawEllipseI) X(GdipDrawPie) X(GdipDrawPieI) \
  X(GdipDrawPolygon) X(GdipDrawPolygonI) X(GdipDrawCurve) \
  X(GdipDrawCurveI) X(GdipDrawCurve2) X(GdipDrawCurve2I) \
  X(GdipDrawCurve3) X(GdipDrawCurve3I) X(GdipDrawClosedCurve) \
  X(GdipDrawClosedCurveI) X(GdipDrawClosedCurve2) X(GdipDrawClosedCurve2I) \
  X(GdipFillPolygon) X(GdipFillPolygonI) X(GdipFillPolygon2) \
  X(GdipFillPolygon2I) X(GdipFillEllipse) X(GdipFillEllipseI) \
  X(GdipFillPie) X(GdipFillPieI) X(GdipFillClosedCurve) \
  X(GdipFillClosedCurveI) X(GdipFillClosedCurve2) X(GdipFillClosedCurve2I) \
  X(GdipSetWorldTransform) X(GdipResetWorldTransform) X(GdipMultiplyWorldTransform) \
  X(GdipTranslateWorldTransform) X(GdipScaleWorldTransform) X(GdipRotateWorldTransform) \
  X(GdipGetWorldTransform) X(GdipResetPageTransform) X(GdipGetPageUnit) \
  X(GdipGetPageScale) X(GdipSetPageUnit) X(GdipSetPageScale) \
  X(GdipGetDpiX) X(GdipGetDpiY) X(GdipTransformPoints) \
  X(GdipTransformPointsI) X(GdipGetNearestColor) X(GdipIsVisibleRect) \
  X(GdipIsVisibleRectI) X(GdipLoadImageFromStream) X(GdipLoadImageFromStreamICM) \
  X(GdipCreateBitmapFromFile) X(GdipCreateBitmapFromStream) X(GdipCreateBitmapFromStreamICM) \
  X(GdipCreateBitmapFromFileICM) X(GdipImageGetFrameCount) X(GdipImageSelectActiveFrame) \
  X(GdipImageRotateFlip) X(GdipGetImagePalette) X(GdipSetImagePalette) \
  X(GdipGetImagePaletteSize) X(GdipGetPropertyCount) X(GdipGetPropertyIdList) \
  X(GdipGetPropertyItemSize) X(GdipGetPropertyItem) X(GdipGetPropertySize) \
  X(GdipGetAllPropertyItems) X(GdipRemovePropertyItem) X(GdipSetPropertyItem) \
  X(GdipImageForceValidation) X(GdipCreateHBITMAPFromBitmap) X(GdipCreateBitmapFromHICON) \
  X(GdipCreateHICONFromBitmap) X(GdipCreateBitmapFromResource) X(GdipLoadImageFromFile) \
  X(GdipLoadImageFromFileICM) X(GdipGetImageDimension) X(GdipDrawImageRect) \
  X(GdipDrawImageRectI) X(GdipDrawImagePoints) X(GdipDrawImagePointsI) \
  X(GdipImageGetFrameDimensionsCount) X(GdipImageGetFrameDimensionsList) X(GdipDisposeImage) \
  X(GdipGetImageDecodersSize) X(GdipGetImageDecoders) X(GdipGetImageEncodersSize) \
  X(GdipGetImageEncoders) X(GdipGetImageType) X(GdipSaveImageToStream) \
  X(GdipSaveImageToFile) X(GdipCreateBitmapFromHBITMAP) X(GdipGetEncoderParameterListSize) \
  X(GdipGetEncoderParameterList) X(GdipCreateBitmapFromGdiDib) X(GdipCreateBitmapFromScan0) \
  X(GdipBitmapLockBits) X(GdipBitmapUnlockBits) X(GdipBitmapGetPixel) \
  X(GdipBitmapSetPixel) X(GdipBitmapSetResolution) X(GdipDrawImageRectRectI) \
  X(GdipDrawImageRectRect) X(GdipDrawImagePointRect) X(GdipDrawImagePointRectI) \
  X(GdipDrawImagePointsRect) X(GdipDrawImagePointsRectI) X(GdipCloneImage) \
  X(GdipCreateTexture) X(GdipCreateTexture2) X(GdipCreateTexture2I) \
  X(GdipCreateTextureIA) X(GdipCreateTextureIAI) X(GdipGetTextureTransform) \
  X(GdipResetTextureTransform) X(GdipMultiplyTextureTransform) X(GdipSetTextureTransform) \
  X(GdipTranslateTextureTransform) X(GdipScaleTextureTransform) X(GdipRotateTextureTransform) \
  X(GdipSaveAdd) X(GdipSaveAddImage) X(GdipSetTextureWrapMode) \
  X(GdipGetTextureWrapMode) X(GdipGetTextureImage) X(GdipCreateImageAttributes) \
  X(GdipCloneImageAttributes) X(GdipDisposeImageAttributes) X(GdipSetImageAttributesToIdentity) \
  X(GdipResetImageAttributes) X(GdipSetImageAttributesColorMatrix) X(GdipSetImageAttributesThreshold) \
  X(GdipSetImageAttributesGamma) X(GdipSetImageAttributesColorKeys) X(GdipSetImageAttributesOutputChannel) \
  X(GdipSetImageAttributesOutputChannelColorProfile) X(GdipSetImageAttributesRemapTable) X(GdipSetImageAttributesWrapMode) \
  X(GdipGetImageAttributesAdjustedPalette) X(GdipSetImageAttributesNoOp) X(GdipAddPathArc) \
  X(GdipAddPathLine) X(GdipAddPathLine2) X(GdipAddPathBezier) \
  X(GdipAddPathBeziers) X(GdipAddPathCurve) X(GdipAddPathCurve2) \
  X(GdipAddPathCurve3) X(GdipAddPathClosedCurve) X(GdipAddPathClosedCurve2) \
  X(GdipAddPathRectangle) X(GdipAddPathRectangles) X(GdipAddPathEllipse) \
  X(GdipAddPathPie) X(GdipAddPathPolygon) X(GdipAddPathPath) \
  X(GdipAddPathString) X(GdipAddPathStringI) X(GdipAddPathLineI) \
  X(GdipAddPathLine2I) X(GdipAddPathArcI) X(GdipAddPathBezierI) \
  X(GdipAddPathBeziersI) X(GdipAddPathCurveI) X(GdipAddPathCurve2I) \
  X(GdipAddPathCurve3I) X(GdipAddPathClosedCurveI) X(GdipAddPathClosedCurve2I) \
  X(GdipAddPathRectangleI) X(GdipAddPathRectanglesI) X(GdipAddPathEllipseI) \
  X(GdipAddPathPieI) X(GdipAddPathPolygonI) X(GdipFlattenPath) \
  X(GdipWindingModeOutline) X(GdipWidenPath) X(GdipWarpPath) \
  X(GdipTransformPath) X(GdipGetPathWorldBounds) X(GdipGetPathWorldBoundsI) \
  X(GdipIsVisiblePathPoint) X(GdipIsVisiblePathPointI) X(GdipIsOutlineVisiblePathPoint) \
  X(GdipIsOutlineVisiblePathPointI) X(GdipCreatePath) X(GdipCreatePath2) \
  X(GdipCreatePath2I) X(GdipClonePath) X(GdipDeletePath) \
  X(GdipResetPath) X(GdipGetPointCount) X(GdipGetPathTypes) \
  X(GdipGetPathPoints) X(GdipGetPathPointsI) X(GdipGetPathFillMode) \
  X(GdipSetPathFillMode) X(GdipGetPathData) X(GdipDrawPath) \
  X(GdipFillPath) X(GdipStartPathFigure) X(GdipClosePathFigure) \
  X(GdipClosePathFigures) X(GdipSetPathMarker) X(GdipClearPathMarkers) \
  X(GdipReversePath) X(GdipGetPathLastPoint) X(GdipCreatePathIter) \
  X(GdipDeletePathIter) X(GdipPathIterNextSubpath) X(GdipPathIterNextSubpathPath) \
  X(GdipPathIterNextPathType) X(GdipPathIterNextMarker) X(GdipPathIterNextMarkerPath) \
  X(GdipPathIterGetCount) X(GdipPathIterGetSubpathCount) X(GdipPathIterIsValid) \
  X(GdipPathIterHasCurve) X(GdipPathIterRewind) X(GdipPathIterEnumerate) \
  X(GdipPathIterCopyData) X(GdipCreateMatrix) X(GdipCreateMatrix2) \
  X(GdipCreateMatrix3) X(GdipCreateMatrix3I) X(GdipCloneMatrix) \
  X(GdipDeleteMatrix) X(GdipSetMatrixElements) X(GdipMultiplyMatrix) \
  X(GdipTranslateMatrix) X(GdipScaleMatrix) X(GdipRotateMatrix) \
  X(GdipShearMatrix) X(GdipInvertMatrix) X(GdipTransformMatrixPoints) \
  X(GdipTransformMatrixPointsI) X(GdipVectorTransformMatrixPoints) X(GdipVectorTransformMatrixPointsI) \
  X(GdipGetMatrixElements) X(GdipIsMatrixInvertible) X(GdipIsMatrixIdentity) \
  X(GdipIsMatrixEqual) X(GdipSetInterpolationMode) X(GdipGetInterpolationMode) \
  X(GdipCreateCachedBitmap) X(GdipDeleteCachedBitmap) X(GdipDrawCachedBitmap) \
  X(GdipCreateBitmapFromGraphics) X(GdipGetImageBounds) X(GdipGetImageGraphicsContext) \
  X(GdipGetImageWidth) X(GdipGetImageHeight) X(GdipGetImageHorizontalResolution) \
  X(GdipGetImageVerticalResolution) X(GdipGetImageFlags) X(GdipSetCompositingMode) \
  X(GdipGetCompositingMode) X(GdipSetCompositingQuality) X(GdipGetCompositingQuality) \
  X(GdipSetSmoothingMode) X(GdipGetSmoothingMode) X(GdipCloneBitmapArea) \
  X(GdipCloneBitmapAreaI) X(GdipSetRenderingOrigin) X(GdipGetRenderingOrigin) \
  X(GdipSetPixelOffsetMode) X(GdipGetPixelOffsetMode) X(GdipSetTextRenderingHint) \
  X(GdipGetTextRenderingHint) X(GdipSetTextContrast) X(GdipGetTextContrast) \
  X(GdipGetImageRawFormat) X(GdipGetImagePixelFormat) X(GdipGetImageThumbnail) \
  X(GdipCreateRegion) X(GdipCreateRegionPath) X(GdipCreateRegionRect) \
  X(GdipCreateRegionRectI) X(GdipCreateRegionRgnData) X(GdipCreateRegionHrgn) \
  X(GdipCloneRegion) X(GdipDeleteRegion) X(GdipSetInfinite) \
  X(GdipSetEmpty) X(GdipCombineRegionRect) X(GdipCombineRegionRectI) \
  X(GdipCombineRegionPath) X(GdipCombineRegionRegion) X(GdipTranslateRegion) \
  X(GdipTranslateRegionI) X(GdipTransformRegion) X(GdipGetRegionBounds) \
  X(GdipGetRegionBoundsI) X(GdipGetRegionHRgn) X(GdipIsEmptyRegion) \
  X(GdipIsInfiniteRegion) X(GdipIsEqualRegion) X(GdipGetRegionDataSize) \
  X(GdipGetRegionData) X(GdipIsVisibleRegionPoint) X(GdipIsVisibleRegionPointI) \
  X(GdipIsVisibleRegionRect) X(GdipIsVisibleRegionRectI) X(GdipGetRegionScansCount) \
  X(GdipGetRegionScans) X(GdipGetRegionScansI) X(GdipGetClip) \
  X(GdipResetClip) X(GdipSetClipGraphics) X(GdipSetClipRegion) \
  X(GdipSetClipRect) X(GdipSetClipRectI) X(GdipSetClipPath) \
  X(GdipSetClipHrgn) X(GdipTranslateClip) X(GdipTranslateClipI) \
  X(GdipGetClipBounds) X(GdipGetClipBoundsI) X(GdipIsClipEmpty) \
  X(GdipGetVisibleClipBounds) X(GdipGetVisibleClipBoundsI) X(GdipIsVisibleClipEmpty) \
  X(GdipIsVisiblePoint) X(GdipIsVisiblePointI) X(GdipSaveGraphics) \
  X(GdipRestoreGraphics) X(GdipBeginContainer) X(GdipBeginContainerI) \
  X(GdipBeginContainer2) X(GdipEndContainer) X(GdipEnumerateMetafileDestPoint) \
  X(GdipEnumerateMetafileDestPointI) X(GdipEnumerateMetafileDestRect) X(GdipEnumerateMetafileDestRectI) \
  X(GdipEnumerateMetafileDestPoints) X(GdipEnumerateMetafileDestPointsI) X(GdipEnumerateMetafileSrcRectDestPoint) \
  X(GdipEnumerateMetafileSrcRectDestPointI) X(GdipEnumerateMetafileSrcRectDestRect) X(GdipEnumerateMetafileSrcRectDestRectI) \
  X(GdipEnumerateMetafileSrcRectDestPoints) X(GdipEnumerateMetafileSrcRectDestPointsI) X(GdipPlayMetafileRecord) \
  X(GdipGetMetafileHeaderFromWmf) X(GdipGetMetafileHeaderFromEmf) X(GdipGetMetafileHeaderFromFile) \
  X(GdipGetMetafileHeaderFromStream) X(GdipGetMetafileHeaderFromMetafile) X(GdipGetHemfFromMetafile) \
  X(GdipCreateStreamOnFile) X(GdipCreateMetafileFromWmf) X(GdipCreateMetafileFromEmf) \
  X(GdipCreateMetafileFromFile) X(GdipCreateMetafileFromWmfFile) X(GdipCreateMetafileFromStream) \
  X(GdipRecordMetafile) X(GdipRecordMetafileI) X(GdipRecordMetafileFileName) \
  X(GdipRecordMetafileFileNameI) X(GdipRecordMetafileStream) X(GdipRecordMetafileStreamI) \
  X(GdipSetMetafileDownLevelRasterizationLimit) X(GdipGetMetafileDownLevelRasterizationLimit) X(GdipComment) \
  X(GdipEmfToWmfBits) X(GdipCreateFontFamilyFromName) X(GdipDeleteFontFamily) \
  X(GdipCloneFontFamily) X(GdipGetGenericFontFamilySansSerif) X(GdipGetGenericFontFamilySerif) \
  X(GdipGetGenericFontFamilyMonospace) X(GdipGetFamilyName) X(GdipIsStyleAvailable) \
  X(GdipGetEmHeight) X(GdipGetCellAscent) X(GdipGetCellDescent) \
  X(GdipGetLineSpacing) X(GdipCreateFontFromDC) X(GdipCreateFontFromLogfontA) \
  X(GdipCreateFontFromLogfontW) X(GdipCreateFont) X(GdipCloneFont) \
  X(GdipDeleteFont) X(GdipGetFamily) X(GdipGetFontStyle) \
  X(GdipGetFontSize) X(GdipGetFontUnit) X(GdipGetFontHeight) \
  X(GdipGetFontHeightGivenDPI) X(GdipGetLogFontA) X(GdipGetLogFontW) \
  X(GdipNewInstalledFontCollection) X(GdipNewPrivateFontCollection) X(GdipDeletePrivateFontCollection) \
  X(GdipGetFontCollectionFamilyCount) X(GdipGetFontCollectionFamilyList) X(GdipPrivateAddFontFile) \
  X(GdipPrivateAddMemoryFont) X(GdipDrawString) X(GdipMeasureString) \
  X(GdipMeasureCharacterRanges) X(GdipDrawDriverString) X(GdipMeasureDriverString) \
  X(GdipCreateStringFormat) X(GdipStringFormatGetGenericDefault) X(GdipStringFormatGetGenericTypographic) \
  X(GdipDeleteStringFormat) X(GdipCloneStringFormat) X(GdipSetStringFormatFlags) \
  X(GdipGetStringFormatFlags) X(GdipSetStringFormatAlign) X(GdipGetStringFormatAlign) \
  X(GdipSetStringFormatLineAlign) X(GdipGetStringFormatLineAlign) X(GdipSetStringFormatTrimming) \
  X(GdipGetStringFormatTrimming) X(GdipSetStringFormatHotkeyPrefix) X(GdipGetStringFormatHotkeyPrefix) \
  X(GdipSetStringFormatTabStops) X(GdipGetStringFormatTabStops) X(GdipGetStringFormatTabStopCount) \
  X(GdipSetStringFormatDigitSubstitution) X(GdipGetStringFormatDigitSubstitution) X(GdipGetStringFormatMeasurableCharacterRangeCount) \
  X(GdipSetStringFormatMeasurableCharacterRanges)

// clang-format on
#define DX_GDIPLUS_DECLARE_ENTRY(Name_) extern decltype(&Gdiplus::DllExports::Name_) Name_;
DX_GDIPLUS_ENTRY_POINTS(DX_GDIPLUS_DECLARE_ENTRY)
#undef DX_GDIPLUS_DECLARE_ENTRY
// A second name of GdipCreateFontFromLogfontW, given the same address.
extern decltype(&Gdiplus::DllExports::GdipCreateFontFromLogfontW) GdipCreateFontFromLogfont;

inline constexpr Integer dxGdiPlusEntryPointCount = 604;
// The names in binding order, and where each is bound (for the loader and
// for tests that look at the binding).
struct TdxGdiPlusEntryPoint {
  const char* Name;
  void** Address;
};
const TdxGdiPlusEntryPoint* dxGdiPlusEntryPoints();

// ---------------------------------------------------------------------------
// Constants

inline constexpr const wchar_t* GDIPlusLibraryName = L"gdiplus.dll";

inline constexpr GUID ImageFormatMemoryBMP = {
    0xB96B3CAA, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatBMP = {
    0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatEMF = {
    0xB96B3CAC, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatWMF = {
    0xB96B3CAD, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatJPEG = {
    0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatPNG = {
    0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatGIF = {
    0xB96B3CB0, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatTIFF = {
    0xB96B3CB1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatIcon = {
    0xB96B3CB5, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID EncoderQuality = {
    0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};
inline constexpr Integer EncoderParameterValueTypeLong = 4;

// PixelFormat32bppRGB ($22009), PixelFormat32bppARGB ($26200A) and
// PixelFormat32bppPARGB ($E200B) come from the platform header.

extern const TdxGpColorMatrix dxGpDefaultColorMatrix;

// ---------------------------------------------------------------------------
// Records

struct TdxGpRect {
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  TdxGpRect() = default;
  TdxGpRect(Integer AX, Integer AY, Integer AWidth, Integer AHeight)
      : X(AX), Y(AY), Width(AWidth), Height(AHeight) {}
  // From the edges.
  TdxGpRect(const TRect& R)
      : X(R.left), Y(R.top), Width(R.right - R.left), Height(R.bottom - R.top) {}
};

struct TdxGpRectF {
  Single X = 0, Y = 0, Width = 0, Height = 0;
  TdxGpRectF() = default;
  TdxGpRectF(Single AX, Single AY, Single AWidth, Single AHeight)
      : X(AX), Y(AY), Width(AWidth), Height(AHeight) {}
  TdxGpRectF(const TRect& R);
  TdxGpRectF(const TdxRectF& R);
  void Empty() { *this = TdxGpRectF(); }
  void Init(Single AX, Single AY, Single AWidth, Single AHeight) {
    *this = TdxGpRectF(AX, AY, AWidth, AHeight);
  }
  TdxSizeF SizeF() const { return TdxSizeF{Width, Height}; }
  // Each of X, Y, Width and Height truncated; then Right = X + Width.
  operator TRect() const;
  operator TdxRectF() const { return TdxRectF{X, Y, X + Width, Y + Height}; }
};

struct TdxGpPointF {
  Single X = 0, Y = 0;
};
using TdxGpPointFDynArray = std::vector<TdxGpPointF>;

struct TdxGpCharacterRange {
  Integer First = 0, Length = 0;
};

TdxGpRect MakeRect(Integer X, Integer Y, Integer AWidth, Integer AHeight);
TdxGpRect MakeRect(const TRect& ARect);
TdxGpRectF MakeRect(Single X, Single Y, Single AWidth, Single AHeight);
TdxGpPointF MakePoint(Single X, Single Y);
TdxGpRectF dxGpMakeRectF(const TRect& ARect);
TdxGpRectF dxGpMakeRectF(const TdxGpRect& ARect);
bool dxGpRectIsEqual(const TdxGpRectF& R1, const TdxGpRectF& R2);

// ---------------------------------------------------------------------------
// The status check

class EdxGdipException : public EdxException {
  DECLARE_EXCEPTION_BODY(EdxGdipException, EdxException)
 public:
  // The message names the status, or the platform's last error for a
  // Win32 error that left one.
  explicit EdxGdipException(Status AStatus);
  Status ErrorStatus() const { return FStatus; }

 private:
  Status FStatus = Ok;
};

inline void GdipCheck(Status AStatus) {
  if (AStatus != Ok) throw EdxGdipException(AStatus);
}

extern const TResStringRec cxGdiPlusInvalidOperation, cxGdiPlusInvalidWin32Operation,
    cxGdiPlusApplicationError, cxGdiPlusRequired;

// ---------------------------------------------------------------------------
// Loading

// Loads, binds and starts GDI+ unless it is present. A load that fails at
// any step frees the library and leaves nothing bound, so that every retry
// starts clean.
void GdiPlusLoad();
void GdiPlusUnload();
// True when GDI+ is available, loading it first when it is not; with
// AHaltOnError and no GDI+, the error box, then the program ends.
bool CheckGdiPlus(bool AHaltOnError = false);
void RegisterAssistants();
void UnregisterAssistants();

// Where the binding is looked for. The program never changes it; tests point
// it at libraries that lack a name or fail to start.
namespace dxGDIPlusAPITesting {
void SetLibraryName(const String& AName);
// The library handle while GDI+ is present or a failed load holds it.
HMODULE LibraryHandle();
}  // namespace dxGDIPlusAPITesting

// ---------------------------------------------------------------------------
// Codec identifiers: the class identifiers of the platform's codecs, null
// until CheckImageCodecs finds them.
extern GUID BMPEncoder, BMPDecoder, GIFEncoder, GIFDecoder, JPEGEncoder, JPEGDecoder, PNGEncoder,
    PNGDecoder, TIFFEncoder, TIFFDecoder, EMFDecoder, ICONDecoder, WMFDecoder;

// By MIME type, letter case ignored: Ok when found, GenericError otherwise.
Status GetEncoderID(const String& CodecName, GUID& CodecID);
Status GetDecoderID(const String& CodecName, GUID& DecoderID);
// Set when any of the first three fields is not zero.
bool IsCodecIDValid(const GUID& CodecID);
Status CheckEncoder(const String& AImageMimeType, GUID& ACodecID);
Status CheckDecoder(const String& AImageMimeType, GUID& ACodecID);
void CheckOptionalEncoder(const String& AImageMimeType, GUID& ACodecID);
void CheckOptionalDecoder(const String& AImageMimeType, GUID& ACodecID);
// Raises EdxGdipException (GenericError) when the platform has no PNG codec.
void CheckImageCodecs();
void CheckPngCodec();

// ---------------------------------------------------------------------------
// Library objects whose memory GDI+ may own. The allocator is chosen when the
// memory is obtained (GdipAlloc while GDI+ is present, the heap otherwise)
// and recorded with the memory, so the release goes back to the same one,
// also for an object whose constructor failed. Objects of these classes are
// made on the heap (Create<T>).
class TdxGpBase : public TObject {
  DECLARE_CLASS(TdxGpBase, TObject)
 public:
  static void* operator new(size_t ASize);
  static void operator delete(void* AObject) noexcept;
  static void* operator new[](size_t) = delete;
  static void operator delete[](void*) = delete;
  // Whether this object's memory came from GdipAlloc.
  bool IsGpUsed() const;
};

// A new 32-bit premultiplied GDI+ bitmap that the caller disposes of.
GpBitmap* dxGpCreateBitmap(Integer AWidth, Integer AHeight);
GpBitmap* dxGpCreateBitmap(const TSize& ASize);
GpBitmap* dxGpCreateBitmap(const TRect& R);

void dxGDIPlusAPI_Initialize();
void dxGDIPlusAPI_Finalize();

#endif
