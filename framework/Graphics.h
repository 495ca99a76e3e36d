// Colours, GDI drawing objects (font, pen, brush), the canvas, and the graphic
// classes (bitmap, icon, picture).
#pragma once

#include <atomic>
#include <vector>

#include "Classes.h"
#include "Types.h"
#include "WinHandles.h"

// ---------------------------------------------------------------------------
// Colours: red in the low byte; a top byte of $FF names a system colour.
using TColor = Integer;

constexpr TColor TColorOf(uint32_t V) { return static_cast<TColor>(V); }
constexpr TColor clSystemColor = TColorOf(0xFF000000u);
constexpr TColor SysColor(int AIndex) {
  return TColorOf(0xFF000000u | static_cast<uint32_t>(AIndex));
}

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF,
                 clMedGray = 0xA4A0A0, clLtGray = 0xC0C0C0, clDkGray = 0x808080;
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION),
                 clInactiveCaption = SysColor(COLOR_INACTIVECAPTION), clMenu = SysColor(COLOR_MENU),
                 clWindow = SysColor(COLOR_WINDOW), clWindowFrame = SysColor(COLOR_WINDOWFRAME),
                 clMenuText = SysColor(COLOR_MENUTEXT), clWindowText = SysColor(COLOR_WINDOWTEXT),
                 clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clActiveBorder = SysColor(COLOR_ACTIVEBORDER),
                 clInactiveBorder = SysColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SysColor(COLOR_APPWORKSPACE),
                 clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT),
                 clBtnFace = SysColor(COLOR_BTNFACE), clBtnShadow = SysColor(COLOR_BTNSHADOW),
                 clGrayText = SysColor(COLOR_GRAYTEXT), clBtnText = SysColor(COLOR_BTNTEXT),
                 clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT),
                 cl3DDkShadow = SysColor(COLOR_3DDKSHADOW), cl3DLight = SysColor(COLOR_3DLIGHT),
                 clInfoText = SysColor(COLOR_INFOTEXT), clInfoBk = SysColor(COLOR_INFOBK),
                 clHotLight = SysColor(COLOR_HOTLIGHT),
                 clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION),
                 clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION),
                 clMenuHighlight = SysColor(COLOR_MENUHILIGHT), clMenuBar = SysColor(COLOR_MENUBAR);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The colour as COLORREF: system colours resolved through GetSysColor.
COLORREF ColorToRGB(TColor AColor);
String ColorToString(TColor AColor);
bool IdentToColor(const String& AIdent, TColor& AColor);
bool ColorToIdent(Integer AColor, String& AIdent);
bool CharsetToIdent(Integer ACharset, String& AIdent);
bool IdentToCharset(const String& AIdent, Integer& ACharset);
TColor StringToColor(const String& AText);

// ---------------------------------------------------------------------------
// Drawing objects
enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
enum class TFontQuality {
  fqDefault,
  fqDraft,
  fqProof,
  fqNonAntialiased,
  fqAntialiased,
  fqClearType,
  fqClearTypeNatural
};
using TFontCharset = Byte;

enum class TPenStyle {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame,
  psUserStyle,
  psAlternate
};
enum class TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum class TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBitmap;

// Base of font, pen and brush: change notification and a handle owned by
// the object, created on demand and dropped when a property changes.
class TGraphicsObject : public TPersistent {
  DECLARE_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange;
  // Hands the current handle to a canvas; creates it when needed.
  virtual HGDIOBJ GetHandleObject() = 0;

 protected:
  virtual void Changed();
};

class TFont : public TGraphicsObject {
  DECLARE_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* Source) override;

  HFONT Handle();
  // A handle exists; it is dropped whenever anything but the colour changes.
  bool HandleAllocated() const { return FHandle.Valid(); }
  // Takes the description of an existing font; the object makes its own
  // handle from it (the caller keeps ownership of AValue).
  void SetHandle(HFONT AValue);
  // Takes a font description (face, height, styles, charset, pitch,
  // quality, orientation) without a font handle in between.
  void SetLogFont(const LOGFONTW& AValue);
  // The description the font's handle is made from.
  LOGFONTW LogFont() const;
  HGDIOBJ GetHandleObject() override { return Handle(); }

  const String& Name() const { return FName; }
  void SetName(const String& AValue);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer AValue);
  // Points, from the height and PixelsPerInch.
  Integer Size() const;
  void SetSize(Integer AValue);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles AValue);
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset AValue);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch AValue);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality AValue);
  Integer Orientation() const { return FOrientation; }
  void SetOrientation(Integer AValue);
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer AValue) { FPixelsPerInch = AValue; }
  // Scales the height by M / D together with the resolution it is given
  // at, the resolution first: a listener that reads the size in points, or
  // copies the font into one of another resolution, sees the same size as
  // before. Scaling the height alone would be scaled again by such a copy.
  void ChangeScale(Integer M, Integer D);
  bool IsEqual(const TFont& AFont) const;

 protected:
  void Changed() override;

 private:
  String FName;
  Integer FHeight;
  TFontStyles FStyle;
  TColor FColor;
  TFontCharset FCharset;
  TFontPitch FPitch = TFontPitch::fpDefault;
  TFontQuality FQuality = TFontQuality::fqDefault;
  Integer FOrientation = 0;
  Integer FPixelsPerInch;
  TFontHandle FHandle;
};

class TPen : public TGraphicsObject {
  DECLARE_CLASS(TPen, TGraphicsObject)
 public:
  TPen() = default;
  ~TPen() override;
  void Assign(TPersistent* Source) override;
  HPEN Handle();
  // Adopts AValue: the pen owns it until a property change makes a new one.
  void SetHandle(HPEN AValue);
  HGDIOBJ GetHandleObject() override { return Handle(); }
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer AValue);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle AValue);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode AValue);

 protected:
  void Changed() override;

 private:
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = TPenStyle::psSolid;
  TPenMode FMode = TPenMode::pmCopy;
  TPenHandle FHandle;
};

class TBrush : public TGraphicsObject {
  DECLARE_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush() = default;
  ~TBrush() override;
  void Assign(TPersistent* Source) override;
  HBRUSH Handle();
  // Adopts AValue: the brush owns it until a property change makes a new one.
  void SetHandle(HBRUSH AValue);
  HGDIOBJ GetHandleObject() override { return Handle(); }
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle AValue);
  // A pattern bitmap; not owned. While set, the brush is a pattern brush.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* AValue);

 protected:
  void Changed() override;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = TBrushStyle::bsSolid;
  TBitmap* FBitmap = nullptr;
  TBrushHandle FHandle;
};

// ---------------------------------------------------------------------------
// Canvas
class TGraphic;

enum class TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;
enum class TCanvasOrientation { coLeftToRight, coRightToLeft };
enum class TTextFormats {
  tfBottom,
  tfCalcRect,
  tfCenter,
  tfEditControl,
  tfEndEllipsis,
  tfPathEllipsis,
  tfExpandTabs,
  tfExternalLeading,
  tfLeft,
  tfModifyString,
  tfNoClip,
  tfNoPrefix,
  tfRight,
  tfRtlReading,
  tfSingleLine,
  tfTop,
  tfVerticalCenter,
  tfWordBreak,
  tfHidePrefix,
  tfNoFullWidthCharBreak,
  tfPrefixOnly,
  tfTabStop,
  tfWordEllipsis,
  tfComposited
};
using TTextFormat = TSet<TTextFormats>;
enum class TFillStyle { fsSurface, fsBorder };

class TCanvas : public TPersistent {
  DECLARE_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context; a canvas that has none asks CreateHandle for one.
  HDC Handle();
  void SetHandle(HDC AValue);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* AValue) { FFont->Assign(AValue); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* AValue) { FPen->Assign(AValue); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* AValue) { FBrush->Assign(AValue); }
  Integer CopyMode() const { return FCopyMode; }
  void SetCopyMode(Integer AValue) { FCopyMode = AValue; }
  TPoint PenPos();
  void SetPenPos(const TPoint& AValue) { MoveTo(AValue.x, AValue.y); }
  Integer TextFlags() const { return FTextFlags; }
  void SetTextFlags(Integer AValue) { FTextFlags = AValue; }
  TCanvasOrientation CanvasOrientation();
  TRect ClipRect();

  void Lock();
  bool TryLock();
  void Unlock();
  Integer LockCount() const { return FLockCount; }

  // Makes sure the device context exists with the canvas's font selected.
  void SelectFont() { RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csFontValid}); }

  void AngleArc(Integer X, Integer Y, Cardinal Radius, Single StartAngle, Single SweepAngle);
  void Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
           Integer Y4);
  void ArcTo(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
             Integer Y4);
  void Chord(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
             Integer Y4);
  void Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
           Integer Y4);
  void PolyBezier(const std::vector<TPoint>& Points);
  void PolyBezierTo(const std::vector<TPoint>& Points);
  void FloodFill(Integer X, Integer Y, TColor Color, TFillStyle FillStyle);
  // Copies Source of Bitmap to Dest; the pixels of Color show the brush
  // instead (what lies under them when the brush is clear).
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  // Draws Graphic over what lies under it with a constant opacity (255 opaque).
  void Draw(Integer X, Integer Y, TGraphic* Graphic, Byte Opacity);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Ellipse(const TRect& R) { Ellipse(R.left, R.top, R.right, R.bottom); }
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  void DrawFocusRect(const TRect& Rect);
  void LineTo(Integer X, Integer Y);
  void MoveTo(Integer X, Integer Y);
  void Polygon(const std::vector<TPoint>& Points);
  void Polyline(const std::vector<TPoint>& Points);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& R) { Rectangle(R.left, R.top, R.right, R.bottom); }
  void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
  void TextOut(Integer X, Integer Y, const String& Text);
  void TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text);
  // DrawText with the framework's text formats; tfCalcRect returns the
  // needed rectangle in Rect.
  void TextRect(TRect& Rect, String& Text, TTextFormat TextFormat);
  TSize TextExtent(const String& Text);
  Integer TextWidth(const String& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const String& Text) { return TextExtent(Text).cy; }
  TColor Pixels(Integer X, Integer Y);
  void SetPixel(Integer X, Integer Y, TColor AValue);
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  // Descendants that can produce a device context on demand override this.
  virtual void CreateHandle();
  // Called whenever drawing is about to use the device context (those that
  // give contexts back by age override it).
  virtual void HandleUsed();
  void RequiredState(TCanvasState ReqState);
  // Puts the stock objects back so the drawing objects can be freed.
  void DeselectHandles();
  TCanvasState State() const { return FState; }

 private:
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);
  void CreateFont();
  void CreatePen();
  void CreateBrush();

  HDC FHandle = nullptr;
  TCanvasState FState;
  TOwned<TFont> FFont;
  TOwned<TPen> FPen;
  TOwned<TBrush> FBrush;
  TPoint FPenPos{0, 0};
  Integer FCopyMode = SRCCOPY;
  Integer FTextFlags = 0;
  Integer FLockCount = 0;
  CRITICAL_SECTION FLock;
};

// ---------------------------------------------------------------------------
// Graphics
class TGraphic : public TPersistent {
  DECLARE_CLASS(TGraphic, TPersistent)
 public:
  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer AValue) = 0;
  virtual void SetHeight(Integer AValue) = 0;
  virtual void SetSize(Integer AWidth, Integer AHeight) {
    SetWidth(AWidth);
    SetHeight(AHeight);
  }
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool AValue);
  bool Modified() const { return FModified; }
  void SetModified(bool AValue);
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const String& FileName);
  virtual void SaveToFile(const String& FileName);
  // Of one class and saving the same bytes; two empty graphics of one class
  // are equal too.
  virtual bool Equals(TGraphic* Graphic);
  // The graphic as clipboard data: a format, data that the clipboard takes
  // over, and a palette (nullptr when none). A class that cannot take part
  // raises EInvalidGraphic.
  virtual void LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette);
  virtual void SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette);

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  // Draws through the bitmap it decoded into.
  friend class TGdiPlusImage;
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual void Changed(TObject* Sender);
  // The binary form-resource property "Data", written when the graphic is
  // not empty; its content is what WriteData writes (SaveToStream here) and
  // ReadData reads it back (LoadFromStream here).
  void DefineProperties(TFiler* Filer) override;
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);

 private:
  bool FTransparent = false;
  bool FModified = false;
};
using TGraphicClass = TClass;

enum class TPixelFormat {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
enum class TAlphaFormat { afIgnored, afDefined, afPremultiplied };
enum class TTransparentMode { tmAuto, tmFixed };
enum class TBitmapHandleType { bmDIB, bmDDB };

class TBitmap;

// The bitmap's own canvas: a memory device context with the bitmap selected
// while the canvas is in use. Contexts come from a small cache: a thread's
// bitmap canvases hold at most BitmapCanvasContextLimit contexts together,
// and a canvas that needs one when they are all taken makes the canvas used
// longest ago (and not locked) give its context back. A canvas that lost
// its context makes a new one on its next use, so an HDC taken from
// Handle() stays valid only while fewer than that many other bitmap
// canvases are drawn on; Lock() keeps it for longer.
class TBitmapCanvas : public TCanvas {
  DECLARE_CLASS(TBitmapCanvas, TCanvas)
 public:
  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
  ~TBitmapCanvas() override;
  // Deselects the bitmap and gives the memory context back to the cache.
  void FreeContext();

 protected:
  void CreateHandle() override;
  void HandleUsed() override;

 private:
  friend struct TBitmapContextCache;
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
  DWORD FContextThread = 0;
  // On the clock of the thread that uses the canvas.
  std::atomic<uint64_t> FLastUse{0};
};

// How many memory contexts one thread's bitmap canvases hold at most.
constexpr Integer BitmapCanvasContextLimit = 16;
// The memory contexts that bitmap canvases of all threads hold now.
Integer BitmapCanvasContextCount();

// A device-independent bitmap (DIB section), bottom-up like the files.
class TBitmap : public TGraphic {
  DECLARE_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  TBitmap(Integer AWidth, Integer AHeight);
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer AValue) override { SetSize(AValue, FHeight); }
  void SetHeight(Integer AValue) override { SetSize(FWidth, AValue); }
  void SetSize(Integer AWidth, Integer AHeight) override;
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat AValue);
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  // Switching to afDefined premultiplies the pixels (AlphaBlend wants them
  // so); switching back restores straight alpha.
  void SetAlphaFormat(TAlphaFormat AValue);
  TColor TransparentColor();
  void SetTransparentColor(TColor AValue);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode AValue);

  TCanvas* Canvas();
  HBITMAP Handle() const { return FHandle.Get(); }
  // Gives up ownership of the handle; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  // Row Row (0 = top) of the pixel data; raises EInvalidGraphicOperation
  // outside 0..Height-1.
  void* ScanLine(Integer Row);
  Integer BytesPerLine() const;
  void FreeImage();
  // Releases the memory device context of the bitmap's canvas; the next use
  // of the canvas makes a new one.
  void Dormant();
  // The bitmap's colour table as a logical palette for images of 8 bits
  // per pixel or fewer, owned by the bitmap; nullptr for deeper images.
  HPALETTE Palette();

  // Always device-independent: the bitmap is a DIB section. Asking for a
  // device-dependent bitmap raises EInvalidGraphicOperation.
  TBitmapHandleType HandleType() const { return TBitmapHandleType::bmDIB; }
  void SetHandleType(TBitmapHandleType AValue);

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  // CF_BITMAP: a copy of the given bitmap (read through APalette when it
  // has one), 32 bits per pixel when the bitmap has 32, else 24.
  void LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette) override;
  // CF_BITMAP: a device-dependent copy; no palette.
  void SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // A bitmap's "Data" is a 32-bit length followed by the BMP file.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

 private:
  friend class TBitmapCanvas;
  void NewImage(Integer AWidth, Integer AHeight, TPixelFormat AFormat, bool KeepContent);
  void SetFromBitmapInfo(const BITMAPINFO* Info, const void* Bits);
  WORD BitCount() const;
  // Frees the canvas's context: a bitmap is selected into one context at a
  // time, and GDI reads or replaces it only when it is in none.
  void FreeCanvasContext();
  TBitmapHandle FHandle;
  void* FBits = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
  TAlphaFormat FAlphaFormat = TAlphaFormat::afIgnored;
  TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
  TColor FTransparentColor = clDefault;
  TPaletteHandle FPalette;
  TOwned<TBitmapCanvas> FCanvas;
};

class TIcon : public TGraphic {
  DECLARE_CLASS(TIcon, TGraphic)
 public:
  TIcon() = default;
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return !FHandle; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer AValue) override { FWidth = AValue; }
  void SetHeight(Integer AValue) override { FHeight = AValue; }
  HICON Handle() const { return FHandle.Get(); }
  // Takes ownership of AValue.
  void SetHandle(HICON AValue);
  HICON ReleaseHandle();
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // A bitmap receives the icon as a 32-bit image with straight alpha: the
  // icon's own alpha, or its mask's transparency when it has none.
  void AssignTo(TPersistent* Dest) override;

 private:
  TIconHandle FHandle;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TBytes FData;  // the icon file as loaded, so it can be saved unchanged
};

// A picture recorded as drawing commands: an enhanced metafile. A Windows
// metafile (the placeable kind, with its size header) is kept as the
// enhanced metafile the platform converts it to and written back as a
// placeable one while Enhanced is off. Sizes are kept in 0.01 mm.
class TMetafile : public TGraphic {
  DECLARE_CLASS(TMetafile, TGraphic)
 public:
  TMetafile() = default;
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return !FHandle; }
  // Pixels at Inch dots per inch (the screen's for an enhanced metafile).
  Integer Width() const override;
  Integer Height() const override;
  void SetWidth(Integer AValue) override;
  void SetHeight(Integer AValue) override;
  Integer MMWidth() const { return FMMWidth; }
  void SetMMWidth(Integer AValue);
  Integer MMHeight() const { return FMMHeight; }
  void SetMMHeight(Integer AValue);
  // Dots per inch of a Windows metafile's header; 0 for an enhanced one.
  Word Inch() const { return FInch; }
  void SetInch(Word AValue);
  // Whether SaveToStream writes an enhanced or a placeable Windows metafile.
  bool Enhanced() const { return FEnhanced; }
  void SetEnhanced(bool AValue);
  HENHMETAFILE Handle() const { return FHandle.Get(); }
  // Takes ownership of AValue; the size comes from its header.
  void SetHandle(HENHMETAFILE AValue);
  HENHMETAFILE ReleaseHandle();
  void Clear();
  // An enhanced metafile or a placeable Windows metafile; anything else
  // raises EInvalidGraphic.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  void ReadEMFStream(TStream* Stream);
  void ReadWMFStream(TStream* Stream);
  void WriteEMFStream(TStream* Stream);
  void WriteWMFStream(TStream* Stream);
  Integer PixelsPerInch() const;
  TEnhMetaFileHandle FHandle;
  Integer FMMWidth = 0;
  Integer FMMHeight = 0;
  Word FInch = 0;
  bool FEnhanced = true;
};

DECLARE_EXCEPTION(EInvalidGraphic, Exception)
DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory)

// A picture in any format that the platform's GDI+ decodes (PNG, JPEG,
// GIF, TIFF, ...): the file's bytes as loaded, which it saves unchanged, and
// the first frame decoded into a 32-bit bitmap with its alpha, which it
// draws. The picture class knows it for every extension GDI+ has a decoder
// for, below every class registered for an extension by name, so that the
// library's own classes win wherever they register.
class TGdiPlusImage : public TGraphic {
  DECLARE_CLASS(TGdiPlusImage, TGraphic)
 public:
  TGdiPlusImage();
  ~TGdiPlusImage() override;
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FBitmap->Empty(); }
  Integer Width() const override { return FBitmap->Width(); }
  Integer Height() const override { return FBitmap->Height(); }
  // The size is the decoded image's; changing it raises
  // EInvalidGraphicOperation.
  void SetWidth(Integer AValue) override;
  void SetHeight(Integer AValue) override;
  // Raises EInvalidGraphic for data GDI+ cannot decode, and when GDI+ is
  // not available; the image is unchanged then.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // The decoded image: 32 bits per pixel, alpha premultiplied (afDefined).
  TBitmap* Bitmap() const { return FBitmap.get(); }
  // Whether the platform's GDI+ can be loaded and started.
  static bool Available();

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // A bitmap receives the decoded image with its alpha.
  void AssignTo(TPersistent* Dest) override;

 private:
  TBytes FData;
  TOwned<TBitmap> FBitmap;
};

// Holds one graphic of any registered class.
class TPicture : public TPersistent {
  DECLARE_CLASS(TPicture, TPersistent)
 public:
  TPicture() = default;
  ~TPicture() override = default;
  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Copies AValue (the picture owns its own graphic).
  void SetGraphic(TGraphic* AValue);
  TBitmap* Bitmap();
  TIcon* Icon();
  Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
  Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }
  // Chooses the graphic class by the file's extension.
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  // A later registration of an extension wins over earlier ones until it
  // is unregistered; then the earlier one holds again.
  static void RegisterFileFormat(const String& AExtension, const String& ADescription,
                                 TGraphicClass AGraphicClass);
  // Removes the class from the file formats and the clipboard formats.
  static void UnregisterGraphicClass(TGraphicClass AClass);
  // The class registered last for the extension (with or without its dot);
  // the platform's decoders (TGdiPlusImage) stand below every registration.
  static TGraphicClass FindGraphicClass(const String& AExtension);
  // The graphic class that reads clipboard data of AFormat (a later
  // registration of one format wins, as for file formats).
  static void RegisterClipboardFormat(Word AFormat, TGraphicClass AGraphicClass);
  static bool SupportsClipboardFormat(Word AFormat);
  static TGraphicClass FindClipboardGraphicClass(Word AFormat);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed(TObject* Sender);

 private:
  template <class T>
  T* ForceGraphic();
  TOwned<TGraphic> FGraphic;
};

// Module start-up: registers the built-in graphic file formats.
void Graphics_Initialize();
void Graphics_Finalize();
