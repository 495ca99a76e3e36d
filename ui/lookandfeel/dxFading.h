// Cross-fading of hot states: one process-wide fader blends, on one timer,
// the normal and the hot picture of every control part that enters or leaves
// the hot state.
#pragma once

#include "ComObj.h"
#include "cxClasses.h"
#include "cxGraphics.h"
#include "cxLookAndFeelPainters.h"
#include "dxCoreClasses.h"
#include "dxGDIPlusClasses.h"

enum TdxFaderAnimationState { fasDefault, fasEnabled, fasDisabled };
enum TdxFadingState { fsFadeIn, fsFadeOut };

inline constexpr Integer dxFadeInDefaultAnimationFrameCount = 4;
inline constexpr Integer dxFadeInDefaultAnimationFrameDelay = 15;
inline constexpr Integer dxFadeOutDefaultAnimationFrameCount = 12;
inline constexpr Integer dxFadeOutDefaultAnimationFrameDelay = 20;

// The menu-animation setting of the control framework's system information,
// which that layer installs at its start-up; until then the fader asks the
// platform itself.
struct TdxFadingSystemInfoLink {
  bool (*IsMenuAnimation)() = nullptr;
};
TdxFadingSystemInfoLink& dxFadingSystemInfoLink();

// A control part that fades. GetFadingImages renders the normal picture into
// the first and the hot picture into the second bitmap, two new bitmaps of
// one size that the fader takes over.
struct IdxFadingObject : public IUnknown {
  virtual bool STDMETHODCALLTYPE CanFade() = 0;
  virtual void STDMETHODCALLTYPE DrawFadeImage() = 0;
  virtual void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*& AFadeOutImage,
                                                 TcxBitmap*& AFadeInImage) = 0;
};
__CRT_UUID_DECL(IdxFadingObject, 0x73AB2A92, 0xCDD9, 0x4F13, 0x96, 0x5A, 0xDC, 0x79, 0x9D, 0xE8,
                0x37, 0xF9)

class TdxFadingOptions;
// An object's own timing; nil means the defaults.
struct IdxFadingObjectFadingOptions : public IUnknown {
  virtual TdxFadingOptions* STDMETHODCALLTYPE GetFadingOptions() = 0;
};
__CRT_UUID_DECL(IdxFadingObjectFadingOptions, 0xFAAAF4F8, 0x7F10, 0x42CD, 0x93, 0x68, 0x2B, 0xB5,
                0xA1, 0xF1, 0x48, 0x2B)

class TdxFadingOptions : public TPersistent {
  DECLARE_CLASS(TdxFadingOptions, TPersistent)
 public:
  TdxFadingOptions() = default;
  void Assign(TPersistent* Source) override;

  Integer FadeInFrameCount() const { return FFadeInFrameCount; }
  void SetFadeInFrameCount(Integer AValue);
  Integer FadeInFrameDelay() const { return FFadeInFrameDelay; }
  void SetFadeInFrameDelay(Integer AValue);
  Integer FadeOutFrameCount() const { return FFadeOutFrameCount; }
  void SetFadeOutFrameCount(Integer AValue);
  Integer FadeOutFrameDelay() const { return FFadeOutFrameDelay; }
  void SetFadeOutFrameDelay(Integer AValue);

 private:
  Integer FFadeInFrameCount = dxFadeInDefaultAnimationFrameCount;
  Integer FFadeInFrameDelay = dxFadeInDefaultAnimationFrameDelay;
  Integer FFadeOutFrameCount = dxFadeOutDefaultAnimationFrameCount;
  Integer FFadeOutFrameDelay = dxFadeOutDefaultAnimationFrameDelay;
};

class TdxFader;

// One running cross-fade.
class TdxFadingElement : public TcxIUnknownObject {
  DECLARE_CLASS(TdxFadingElement, TcxIUnknownObject)
 public:
  TdxFadingElement(TdxFader* AOwner, TObject* AElement);
  void AfterConstruction() override;
  ~TdxFadingElement() override;

  void SetAnimationParams(Integer AAnimationFrameCount, Integer AAnimationFrameDelay);
  // Takes both pictures as pixels (alpha corrected) and builds the frame of
  // the current stage.
  void SetImages(TBitmap* AImage1, TBitmap* AImage2);
  void BuildWorkImage();
  // One tick: the next stage, or the end (the element frees itself).
  void ProcessFadeStep();
  // Drops the frame (the object repaints) and frees the element.
  void Finalize();
  // The blended frame of the stage as a new bitmap.
  TcxBitmap* GetWorkImageAsBitmap();

  Integer AnimationFrameCount() const { return FAnimationFrameCount; }
  Integer AnimationFrameDelay() const { return FAnimationFrameDelay; }
  Integer DelayCount() const { return FDelayCount; }
  Integer DelayIndex() const { return FDelayIndex; }
  TObject* Element() const { return FElement; }
  const TSize& ImageSize() const { return FImageSize; }
  Integer Stage() const { return FStage; }
  void SetStage(Integer AValue) { FStage = AValue; }
  TdxGPImage* WorkImage() const { return FWorkImage; }
  const TRGBColors& Image1Colors() const { return FImage1Colors; }
  const TRGBColors& Image2Colors() const { return FImage2Colors; }

 private:
  void SetWorkImage(TdxGPImage* AImage);

  Integer FAnimationFrameCount = 1;
  Integer FAnimationFrameDelay = 1;
  Integer FDelayCount = 1;
  Integer FDelayIndex = 0;
  TObject* FElement;
  TComPtr<IdxFadingObject> FFadingObject;
  TSize FImageSize{};
  TdxFader* FOwner;
  Integer FStage = 0;
  TdxGPImage* FWorkImage = nullptr;
  TRGBColors FImage1Colors;
  TRGBColors FImage2Colors;
};

// Running fades, oldest first; Clear frees them.
class TdxFadingList : public TList {
  DECLARE_CLASS(TdxFadingList, TList)
 public:
  ~TdxFadingList() override;
  void Clear();
  TdxFadingElement* Items(Integer AIndex) const {
    return static_cast<TdxFadingElement*>(Get(AIndex));
  }
};

class TdxFader : public TObject {
  DECLARE_CLASS(TdxFader, TObject)
 public:
  TdxFader();
  ~TdxFader() override;

  bool CanFade(TObject* AObject);
  bool CanFade(TObject* AObject, TComPtr<IdxFadingObject>& AFadingObject);
  bool Contains(TObject* AObject);
  bool DrawFadeImage(TObject* AObject, HDC DC, const TRect& R);
  void FadeIn(TObject* AObject) { Fade(AObject, fsFadeIn); }
  void FadeOut(TObject* AObject) { Fade(AObject, fsFadeOut); }
  void Remove(TObject* AObject, bool ADestroying = true);
  void Clear();

  bool Active();
  bool IsReady();
  Integer MaxAnimationCount() const { return FMaxAnimationCount; }
  void SetMaxAnimationCount(Integer AValue);
  TdxFaderAnimationState State() const { return FState; }
  void SetState(TdxFaderAnimationState AValue) { FState = AValue; }

  // The timer's handler: one step of every running fade, newest first.
  void DoTimer(TObject* Sender);
  bool TimerEnabled() const { return FTimer->Enabled(); }
  Integer Count() const { return FList->Count(); }
  TdxFadingElement* Items(Integer AIndex) const { return FList->Items(AIndex); }
  TdxFadingElement* Find(TObject* AObject);

 private:
  friend class TdxFadingElement;
  void Fade(TObject* AObject, TdxFadingState AState);
  bool CanStartFading(TObject* AObject, TBitmap* AImage1, TBitmap* AImage2, Integer AFrameCount);
  void AddElement(TdxFadingElement* AElement);
  void RemoveElement(TdxFadingElement* AElement);
  void ValidateQueue();

  TOwned<TdxFadingList> FList;
  Integer FMaxAnimationCount = 10;
  TdxFaderAnimationState FState = fasDefault;
  TOwned<TcxTimer> FTimer;
};

// Fading for the small helper objects the controls keep per part; a
// descendant overrides the three IdxFadingObject operations.
class TdxFadingObjectHelper : public TcxIUnknownObject, public IdxFadingObject {
  DECLARE_CLASS(TdxFadingObjectHelper, TcxIUnknownObject)
 public:
  ~TdxFadingObjectHelper() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TcxIUnknownObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TcxIUnknownObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TcxIUnknownObject::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  bool STDMETHODCALLTYPE CanFade() override { return false; }
  void STDMETHODCALLTYPE DrawFadeImage() override {}
  void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*&, TcxBitmap*&) override {}

  void CheckStartFading(TcxButtonState APrevState, TcxButtonState AState);
  bool DrawImage(HDC DC, const TRect& R);
  void FadeIn();
  void FadeOut();
  void StopFading();
  bool GetActive();
};

class TdxFadingHelper {
 public:
  TdxFadingHelper() = delete;
  // The RGB colour, with black made $010101 so that it survives the alpha
  // correction as an opaque colour.
  static TColor CheckColor(TColor AColor);
  // Pixels drawn by GDI keep alpha 0: every such pixel that is not black
  // becomes opaque.
  static void CorrectAlphaChannel(TRGBColors& AColors);
  static void CorrectAlphaChannel(TBitmap* ABitmap);
};

// The global fader; nullptr outside the module's start-up and shut-down.
TdxFader* dxFader();

void dxFading_Initialize();
void dxFading_Finalize();
