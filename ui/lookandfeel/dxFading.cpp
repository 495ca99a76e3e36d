#include "dxFading.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dxGDIPlusAPI.h"

namespace {
TdxFader* FFader = nullptr;
TdxFadingSystemInfoLink SystemInfoLink;

constexpr Integer FaderTimerInterval = 10;

bool PlatformMenuAnimation() {
  BOOL AValue = FALSE;
  return SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &AValue, 0) && AValue;
}

// Frees the two pictures a fading object handed over, on every path.
struct TFadingImages {
  TcxBitmap* FadeOut = nullptr;
  TcxBitmap* FadeIn = nullptr;
  ~TFadingImages() {
    if (FadeOut) FadeOut->Free();
    if (FadeIn) FadeIn->Free();
  }
};
}  // namespace

TdxFadingSystemInfoLink& dxFadingSystemInfoLink() { return SystemInfoLink; }

TdxFader* dxFader() { return FFader; }

// ---------------------------------------------------------------------------
// TdxFadingOptions

IMPLEMENT_CREATABLE_CLASS(TdxFadingOptions)

void TdxFadingOptions::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxFadingOptions>(Source)) {
    SetFadeInFrameCount(S->FadeInFrameCount());
    SetFadeInFrameDelay(S->FadeInFrameDelay());
    SetFadeOutFrameCount(S->FadeOutFrameCount());
    SetFadeOutFrameDelay(S->FadeOutFrameDelay());
  } else {
    inherited::Assign(Source);
  }
}

void TdxFadingOptions::SetFadeInFrameCount(Integer AValue) {
  FFadeInFrameCount = std::clamp(AValue, 0, 32);
}
void TdxFadingOptions::SetFadeInFrameDelay(Integer AValue) {
  FFadeInFrameDelay = std::clamp(AValue, 10, 300);
}
void TdxFadingOptions::SetFadeOutFrameCount(Integer AValue) {
  FFadeOutFrameCount = std::clamp(AValue, 0, 32);
}
void TdxFadingOptions::SetFadeOutFrameDelay(Integer AValue) {
  FFadeOutFrameDelay = std::clamp(AValue, 10, 300);
}

// ---------------------------------------------------------------------------
// TdxFadingElement

IMPLEMENT_CLASS(TdxFadingElement)

TdxFadingElement::TdxFadingElement(TdxFader* AOwner, TObject* AElement)
    : FElement(AElement), FOwner(AOwner) {}

void TdxFadingElement::AfterConstruction() {
  inherited::AfterConstruction();
  IdxFadingObject* AObject = nullptr;
  if (Supports(FElement, __uuidof(IdxFadingObject), reinterpret_cast<void**>(&AObject)))
    FFadingObject = TComPtr<IdxFadingObject>::Attach(AObject);
}

TdxFadingElement::~TdxFadingElement() {
  if (FOwner) FOwner->RemoveElement(this);
  if (FWorkImage) FWorkImage->Free();
}

void TdxFadingElement::SetAnimationParams(Integer AAnimationFrameCount,
                                          Integer AAnimationFrameDelay) {
  FAnimationFrameCount = std::clamp(AAnimationFrameCount, 1, 32);
  FAnimationFrameDelay = std::clamp(AAnimationFrameDelay, 1, 300);
  FDelayCount = std::max(1, FAnimationFrameDelay / 10);
  FDelayIndex = 0;
}

void TdxFadingElement::SetImages(TBitmap* AImage1, TBitmap* AImage2) {
  GetBitmapBits(AImage1, FImage1Colors, true);
  TdxFadingHelper::CorrectAlphaChannel(FImage1Colors);
  GetBitmapBits(AImage2, FImage2Colors, true);
  TdxFadingHelper::CorrectAlphaChannel(FImage2Colors);
  FImageSize = TSize{AImage1->Width(), AImage1->Height()};
  BuildWorkImage();
}

namespace {
// The weights are single-precision values of at least 2^-9 (or 0), so each
// is an exact multiple of 2^-32, and w1 * a + w2 * b is exactly V / 2^32 for
// the integer V below: clamping and rounding V gives what the extended
// arithmetic gives, halves to even included, without floating point per
// pixel.
struct TBlendTable {
  uint64_t Start[256];
  uint64_t End[256];
  TBlendTable(Single W1, Single W2) {
    const uint64_t F1 = static_cast<uint64_t>(std::ldexp(static_cast<double>(W1), 32));
    const uint64_t F2 = static_cast<uint64_t>(std::ldexp(static_cast<double>(W2), 32));
    for (uint64_t V = 0; V < 256; ++V) {
      Start[V] = F1 * V;
      End[V] = F2 * V;
    }
  }
  Byte Blend(Byte A, Byte B) const {
    const uint64_t V = Start[A] + End[B];
    constexpr uint64_t Half = 1ull << 31, Max = 255ull << 32;
    if (V >= Max) return 255;
    const uint64_t Q = V >> 32, R = V & 0xFFFFFFFFull;
    return static_cast<Byte>(Q + ((R > Half || (R == Half && (Q & 1))) ? 1 : 0));
  }
};
}  // namespace

void TdxFadingElement::BuildWorkImage() {
  const Single W2 = static_cast<Single>(MulDiv(FStage, 255, FAnimationFrameCount)) / 255.0f;
  const Single W1 = 1.0f - W2;
  const TBlendTable T(W1, W2);
  const size_t ACount = std::min(FImage1Colors.size(), FImage2Colors.size());
  TRGBColors AColors(ACount);
  for (size_t I = 0; I < ACount; ++I) {
    const RGBQUAD& C1 = FImage1Colors[I];
    const RGBQUAD& C2 = FImage2Colors[I];
    RGBQUAD& R = AColors[I];
    R.rgbBlue = T.Blend(C1.rgbBlue, C2.rgbBlue);
    R.rgbGreen = T.Blend(C1.rgbGreen, C2.rgbGreen);
    R.rgbRed = T.Blend(C1.rgbRed, C2.rgbRed);
    R.rgbReserved = T.Blend(C1.rgbReserved, C2.rgbReserved);
  }
  SetWorkImage(TdxGPImage::CreateFromBits<TdxGPImage>(FImageSize.cx, FImageSize.cy, AColors, true));
}

void TdxFadingElement::SetWorkImage(TdxGPImage* AImage) {
  if (AImage == FWorkImage) return;
  TOwned<TdxGPImage> APrevious(FWorkImage);
  FWorkImage = AImage;
  if (FFadingObject) FFadingObject->DrawFadeImage();
}

void TdxFadingElement::ProcessFadeStep() {
  FDelayIndex = (FDelayIndex + 1) % FDelayCount;
  if (FDelayIndex != 0) return;
  if (FStage < FAnimationFrameCount) {
    ++FStage;
    BuildWorkImage();
  } else {
    Finalize();
  }
}

void TdxFadingElement::Finalize() {
  // The element goes whatever the repaint does.
  TOwned<TdxFadingElement> ASelf(this);
  SetWorkImage(nullptr);
}

TcxBitmap* TdxFadingElement::GetWorkImageAsBitmap() {
  TOwned<TcxBitmap> R(TcxBitmap32::CreateSize(FImageSize.cx, FImageSize.cy));
  if (FWorkImage) {
    TRGBColors AColors = FWorkImage->GetBitmapBits();
    SetBitmapBits(R.get(), AColors, true);
  }
  return R.release();
}

// ---------------------------------------------------------------------------
// TdxFadingList

IMPLEMENT_CLASS(TdxFadingList)

TdxFadingList::~TdxFadingList() { Clear(); }

void TdxFadingList::Clear() {
  // Each element takes itself out of the list as it goes.
  while (Count() > 0) {
    TdxFadingElement* AElement = Items(0);
    AElement->Free();
    if (Count() > 0 && Items(0) == AElement) Delete(0);
  }
  TList::Clear();
}

// ---------------------------------------------------------------------------
// TdxFader

IMPLEMENT_CLASS(TdxFader)

TdxFader::TdxFader() : FList(Create<TdxFadingList>()) {
  FTimer.reset(cxCreateTimer(MakeEvent<&TdxFader::DoTimer>(this), FaderTimerInterval, false));
}

TdxFader::~TdxFader() {
  FList->Clear();
  FTimer.reset();
  FList.reset();
}

bool TdxFader::Active() {
  switch (FState) {
    case fasEnabled:
      return true;
    case fasDisabled:
      return false;
    default:
      return SystemInfoLink.IsMenuAnimation ? SystemInfoLink.IsMenuAnimation()
                                            : PlatformMenuAnimation();
  }
}

bool TdxFader::IsReady() {
  return Active() && FMaxAnimationCount > 0 && CheckGdiPlus(false) &&
         GetDeviceCaps(cxScreenCanvas()->Handle(), BITSPIXEL) > 16;
}

void TdxFader::SetMaxAnimationCount(Integer AValue) {
  AValue = std::clamp(AValue, 0, 20);
  if (AValue == FMaxAnimationCount) return;
  FMaxAnimationCount = AValue;
  ValidateQueue();
}

bool TdxFader::CanFade(TObject* AObject) {
  TComPtr<IdxFadingObject> AFadingObject;
  return CanFade(AObject, AFadingObject);
}

bool TdxFader::CanFade(TObject* AObject, TComPtr<IdxFadingObject>& AFadingObject) {
  AFadingObject.Reset();
  if (!IsReady()) return false;
  IdxFadingObject* P = nullptr;
  if (!Supports(AObject, __uuidof(IdxFadingObject), reinterpret_cast<void**>(&P))) return false;
  AFadingObject = TComPtr<IdxFadingObject>::Attach(P);
  return AFadingObject->CanFade();
}

TdxFadingElement* TdxFader::Find(TObject* AObject) {
  for (Integer I = 0; I < FList->Count(); ++I)
    if (FList->Items(I)->Element() == AObject) return FList->Items(I);
  return nullptr;
}

bool TdxFader::Contains(TObject* AObject) { return Find(AObject) != nullptr; }

bool TdxFader::DrawFadeImage(TObject* AObject, HDC DC, const TRect& R) {
  TdxFadingElement* AElement = Find(AObject);
  if (!AElement || !AElement->WorkImage()) return false;
  AElement->WorkImage()->StretchDraw(DC, R, 255, nullptr);
  return true;
}

void TdxFader::Remove(TObject* AObject, bool ADestroying) {
  TdxFadingElement* AElement = Find(AObject);
  if (!AElement) return;
  if (ADestroying)
    AElement->Free();
  else
    AElement->Finalize();
}

void TdxFader::Clear() { FList->Clear(); }

bool TdxFader::CanStartFading(TObject* AObject, TBitmap* AImage1, TBitmap* AImage2,
                              Integer AFrameCount) {
  return CanFade(AObject) && AImage1 && AImage2 && AImage1->Width() == AImage2->Width() &&
         AImage1->Height() == AImage2->Height() && !AImage1->Empty() && !AImage2->Empty() &&
         AFrameCount > 0;
}

void TdxFader::Fade(TObject* AObject, TdxFadingState AState) {
  TComPtr<IdxFadingObject> AFadingObject;
  if (!CanFade(AObject, AFadingObject)) return;
  TFadingImages AImages;
  AFadingObject->GetFadingImages(AImages.FadeOut, AImages.FadeIn);

  TOwned<TdxFadingOptions> AOptions(Create<TdxFadingOptions>());
  IdxFadingObjectFadingOptions* AOptionsSource = nullptr;
  if (Supports(AObject, __uuidof(IdxFadingObjectFadingOptions),
               reinterpret_cast<void**>(&AOptionsSource))) {
    auto ASource = TComPtr<IdxFadingObjectFadingOptions>::Attach(AOptionsSource);
    if (TdxFadingOptions* AObjectOptions = ASource->GetFadingOptions())
      AOptions->Assign(AObjectOptions);
  }

  TBitmap* AStart = AState == fsFadeIn ? AImages.FadeOut : AImages.FadeIn;
  TBitmap* AEnd = AState == fsFadeIn ? AImages.FadeIn : AImages.FadeOut;
  const Integer AFrameCount =
      AState == fsFadeIn ? AOptions->FadeInFrameCount() : AOptions->FadeOutFrameCount();
  const Integer AFrameDelay =
      AState == fsFadeIn ? AOptions->FadeInFrameDelay() : AOptions->FadeOutFrameDelay();
  if (!CanStartFading(AObject, AStart, AEnd, AFrameCount)) return;

  TdxFadingElement* AElement = Find(AObject);
  TOwned<TcxBitmap> AOnScreen;
  if (AElement) {
    if (AStart->Width() == AElement->ImageSize().cx &&
        AStart->Height() == AElement->ImageSize().cy) {
      // Carry on from the frame on screen.
      AOnScreen.reset(AElement->GetWorkImageAsBitmap());
      AStart = AOnScreen.get();
      AElement->SetAnimationParams(AFrameCount, AFrameDelay);
      AElement->SetStage(0);
    }
  } else {
    AElement = Create<TdxFadingElement>(this, AObject);
    AElement->SetAnimationParams(AFrameCount, AFrameDelay);
    AddElement(AElement);
  }
  AElement->SetImages(AStart, AEnd);
}

void TdxFader::AddElement(TdxFadingElement* AElement) {
  FList->Add(AElement);
  ValidateQueue();
}

void TdxFader::RemoveElement(TdxFadingElement* AElement) {
  if (FList->Remove(AElement) >= 0) ValidateQueue();
}

void TdxFader::ValidateQueue() {
  while (FList->Count() > FMaxAnimationCount) FList->Items(0)->Finalize();
  FTimer->SetEnabled(FList->Count() > 0);
}

void TdxFader::DoTimer(TObject*) {
  for (Integer I = FList->Count() - 1; I >= 0; --I)
    if (I < FList->Count()) FList->Items(I)->ProcessFadeStep();
}

// ---------------------------------------------------------------------------
// TdxFadingObjectHelper

IMPLEMENT_CREATABLE_CLASS(TdxFadingObjectHelper)

TdxFadingObjectHelper::~TdxFadingObjectHelper() {
  if (FFader) FFader->Remove(this, true);
}

bool TdxFadingObjectHelper::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxFadingObject))) {
    *AObj = static_cast<IdxFadingObject*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TdxFadingObjectHelper::CheckStartFading(TcxButtonState APrevState, TcxButtonState AState) {
  if (APrevState == AState) return;
  const bool APrevPlain = APrevState == cxbsDefault || APrevState == cxbsNormal;
  const bool APlain = AState == cxbsDefault || AState == cxbsNormal;
  if (AState == cxbsHot && APrevPlain)
    FadeIn();
  else if (APlain && APrevState == cxbsHot)
    FadeOut();
  else
    StopFading();
}

bool TdxFadingObjectHelper::DrawImage(HDC DC, const TRect& R) {
  return FFader && FFader->DrawFadeImage(this, DC, R);
}

void TdxFadingObjectHelper::FadeIn() {
  if (FFader) FFader->FadeIn(this);
}

void TdxFadingObjectHelper::FadeOut() {
  if (FFader) FFader->FadeOut(this);
}

void TdxFadingObjectHelper::StopFading() {
  if (FFader) FFader->Remove(this, false);
}

bool TdxFadingObjectHelper::GetActive() { return FFader && FFader->Contains(this); }

// ---------------------------------------------------------------------------
// TdxFadingHelper

TColor TdxFadingHelper::CheckColor(TColor AColor) {
  const TColor R = static_cast<TColor>(ColorToRGB(AColor));
  return R == 0 ? 0x010101 : R;
}

void TdxFadingHelper::CorrectAlphaChannel(TRGBColors& AColors) { dxCorrectAlphaChannel(AColors); }

void TdxFadingHelper::CorrectAlphaChannel(TBitmap* ABitmap) { dxCorrectAlphaChannel(ABitmap); }

// ---------------------------------------------------------------------------

void dxFading_Initialize() {
  if (!FFader) FFader = Create<TdxFader>();
}

void dxFading_Finalize() { FreeAndNil(FFader); }
