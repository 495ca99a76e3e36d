// The timer-driven animation of smart images and the paint cache of
// image lists.
#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_map>

#include "cxGraphics.h"
#include "cxGraphicsInternal.h"
#include "cxImageList.h"
#include "dxGDIPlusClasses.h"
#include "dxHash.h"

using namespace cxGraphicsInternal;

// ---------------------------------------------------------------------------
// TdxImageAnimationController
IMPLEMENT_CREATABLE_CLASS(TdxImageAnimationController)

TdxImageAnimationController::~TdxImageAnimationController() { DeactivateTimer(); }

void TdxImageAnimationController::ActivateTimer() {
  if (FTimer) return;
  FTimer.reset(Create<TcxTimer>(nullptr));
  FTimer->SetEnabled(false);
  FTimer->SetOnTimer(MakeEvent<&TdxSmartImageAnimationController::TimerHandler>(
      static_cast<TdxSmartImageAnimationController*>(this)));
  FTimer->SetInterval(static_cast<Cardinal>(FImage->AnimationFrameDelay()));
  FTimer->SetEnabled(true);
}

// The timer may be the one whose event is running (the step that ends an
// animation): the shared timer window touches a timer no more once its
// event has been called, so freeing it here is safe.
void TdxImageAnimationController::DeactivateTimer() { FTimer.reset(); }

bool TdxImageAnimationController::IsTimerActive() { return FTimer && FTimer->Enabled(); }

// ---------------------------------------------------------------------------
// The paint cache

namespace {

#pragma pack(push, 1)
// What an entry was drawn with; 23 bytes, hashed as they lie.
struct TImageID {
  Integer Index;
  Byte DrawMode;
  bool UseLeftBottomPixelAsTransparent;
  bool SmoothImage;
  GUID PaletteID;
};
#pragma pack(pop)
static_assert(sizeof(TImageID) == 23);

struct TImageComparer {
  size_t operator()(const TImageID& AKey) const { return dxCRC32(&AKey, sizeof(AKey)); }
  bool operator()(const TImageID& A, const TImageID& B) const {
    return A.Index == B.Index && A.DrawMode == B.DrawMode &&
           IsEqualGUID(A.PaletteID, B.PaletteID) && A.SmoothImage == B.SmoothImage &&
           A.UseLeftBottomPixelAsTransparent == B.UseLeftBottomPixelAsTransparent;
  }
};

using TImages = std::unordered_map<TImageID, TOwned<TdxGPImage>, TImageComparer, TImageComparer>;

struct TSizeLess {
  bool operator()(const TSize& A, const TSize& B) const {
    return A.cx != B.cx ? A.cx < B.cx : A.cy < B.cy;
  }
};

// The class state of the cache: its helpers by list, the last pair used and
// the bitmap new images are composed in.
struct TPaintCacheState {
  std::map<TCustomImageList*, TOwned<TImageListCacheHelper>> Helpers;
  TCustomImageList* LastImages = nullptr;
  TImageListCacheHelper* LastHelper = nullptr;
  TOwned<TcxAlphaBitmap> TransferBitmap;
};

TPaintCacheState* FPaintCache = nullptr;

TImageListCacheHelper* LookupHelper(TCustomImageList* AImages) {
  if (!FPaintCache) return nullptr;
  if (AImages == FPaintCache->LastImages) return FPaintCache->LastHelper;
  auto It = FPaintCache->Helpers.find(AImages);
  return It == FPaintCache->Helpers.end() ? nullptr : It->second.get();
}

}  // namespace

struct TImageListCacheHelper::TState {
  std::map<TSize, TImages, TSizeLess> SizedImages;
  std::deque<TSize> Sizes;
  TSize LastSize{-1, -1};
  TImages* LastImages = nullptr;
};

IMPLEMENT_CLASS(TImageListCacheHelper)

TImageListCacheHelper::TImageListCacheHelper(TCustomImageList* AImages, Integer AMaxSizeCount)
    : TComponent(nullptr),
      FImageList(AImages),
      FMaxSizeCount(AMaxSizeCount),
      FState(std::make_unique<TState>()) {
  if (FMaxSizeCount == 0) FMaxSizeCount = 2 * std::max(1, GetSystemMetrics(SM_CMONITORS));
}

TImageListCacheHelper::~TImageListCacheHelper() {
  if (FImagesChangeLink && FImageList) FImageList->UnRegisterChanges(FImagesChangeLink.get());
}

void TImageListCacheHelper::AfterConstruction() {
  inherited::AfterConstruction();
  FImageList->FreeNotification(this);
  // A library list tells the cache itself when it changes.
  if (!FImageList->Is<TcxCustomImageList>()) {
    FImagesChangeLink.reset(Create<TChangeLink>());
    FImagesChangeLink->OnChange = MakeEvent<&TImageListCacheHelper::ImagesChanged>(this);
    FImageList->RegisterChanges(FImagesChangeLink.get());
  }
}

void TImageListCacheHelper::ImagesChanged(TObject*) { Invalidate(); }

void TImageListCacheHelper::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FImageList) return;
  // The list goes: so does this helper. Nothing of it is touched after.
  if (FImagesChangeLink) FImageList->UnRegisterChanges(FImagesChangeLink.get());
  FImageList = nullptr;
  TdxImageListPaintCache::RemoveHelper(this);
}

void TImageListCacheHelper::Invalidate() {
  FState->LastSize = TSize{-1, -1};
  FState->LastImages = nullptr;
  FState->Sizes.clear();
  FState->SizedImages.clear();
}

std::vector<TSize> TImageListCacheHelper::CachedSizes() const {
  return std::vector<TSize>(FState->Sizes.begin(), FState->Sizes.end());
}

Integer TImageListCacheHelper::CachedImageCount(const TSize& ASize) const {
  auto It = FState->SizedImages.find(ASize);
  return It == FState->SizedImages.end() ? 0 : static_cast<Integer>(It->second.size());
}

TdxGPImage* TImageListCacheHelper::GetImage(const TRect& ABounds, Integer AIndex,
                                            TcxImageDrawMode ADrawMode,
                                            bool AUseLeftBottomPixelAsTransparent,
                                            IdxColorPalette* APalette, bool ASmoothImage) {
  TState& S = *FState;
  TSize Size{cxRectWidth(ABounds), cxRectHeight(ABounds)};
  if (Size != S.LastSize || !S.LastImages) {
    auto It = S.SizedImages.find(Size);
    if (It == S.SizedImages.end()) {
      // Sizes leave in the order they came; drawing one again keeps its
      // place.
      if (static_cast<Integer>(S.Sizes.size()) >= FMaxSizeCount) {
        S.SizedImages.erase(S.Sizes.front());
        S.Sizes.pop_front();
      }
      S.Sizes.push_back(Size);
      It = S.SizedImages.emplace(Size, TImages(static_cast<size_t>(FImageList->Count()))).first;
    }
    S.LastSize = Size;
    S.LastImages = &It->second;
  }
  TImageID Key{};
  Key.Index = AIndex;
  Key.DrawMode = static_cast<Byte>(ADrawMode);
  Key.UseLeftBottomPixelAsTransparent = AUseLeftBottomPixelAsTransparent;
  Key.SmoothImage = ASmoothImage;
  if (APalette) Key.PaletteID = APalette->GetID();
  auto Found = S.LastImages->find(Key);
  if (Found != S.LastImages->end()) return Found->second.get();

  TcxAlphaBitmap* Transfer = TdxImageListPaintCache::TransferBitmap();
  Transfer->RefreshImage(Size.cx, Size.cy);
  TRect Whole = Transfer->ClientRect();
  cxDrawImage(Transfer->Canvas()->Handle(), Whole, Whole, nullptr, FImageList, AIndex, ADrawMode,
              ASmoothImage, nullptr, clNone, AUseLeftBottomPixelAsTransparent, APalette);
  TRGBColors Bits;
  GetBitmapBits(Transfer, Bits, true);
  TOwned<TdxGPImage> Image(TdxGPImage::CreateFromBits<TdxGPImage>(Size.cx, Size.cy, Bits,
                                                                  TAlphaFormat::afPremultiplied));
  return S.LastImages->emplace(Key, std::move(Image)).first->second.get();
}

void TImageListCacheHelper::Draw(TcxCanvas* ACanvas, const TRect& ABounds, Integer AIndex,
                                 TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent,
                                 IdxColorPalette* APalette, bool ASmoothImage) {
  if (cxRectIsEmpty(ABounds)) return;
  // The palette was applied when the image was made.
  GetImage(ABounds, AIndex, ADrawMode, AUseLeftBottomPixelAsTransparent, APalette, ASmoothImage)
      ->StretchDraw(ACanvas->Handle(), ABounds, 255, nullptr);
}

void TImageListCacheHelper::Draw(TdxGPCanvas* AGraphic, const TRect& ABounds, Integer AIndex,
                                 TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent,
                                 IdxColorPalette* APalette) {
  if (cxRectIsEmpty(ABounds)) return;
  TdxGPImage* Image =
      GetImage(ABounds, AIndex, ADrawMode, AUseLeftBottomPixelAsTransparent, APalette, true);
  Image->StretchDraw(AGraphic, ABounds, Image->ClientRect());
}

void TdxImageListPaintCache::Draw(TcxCanvas* ACanvas, const TRect& ABounds,
                                  TCustomImageList* AImages, Integer AIndex,
                                  TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent,
                                  IdxColorPalette* APalette, bool ASmoothImage) {
  Assert(AImages != nullptr, "The paint cache draws the entries of an image list");
  if (!FPaintCache) {
    // After the module's shut-down nothing is kept: the entry is composed.
    cxDrawImage(ACanvas->Handle(), ABounds, ABounds, nullptr, AImages, AIndex, ADrawMode,
                ASmoothImage, nullptr, clNone, AUseLeftBottomPixelAsTransparent, APalette);
    return;
  }
  TImageListCacheHelper* Helper = LookupHelper(AImages);
  if (!Helper) {
    TOwned<TImageListCacheHelper> Created(Create<TImageListCacheHelper>(AImages, 0));
    Helper = Created.get();
    FPaintCache->Helpers[AImages] = std::move(Created);
  }
  FPaintCache->LastImages = AImages;
  FPaintCache->LastHelper = Helper;
  Helper->Draw(ACanvas, ABounds, AIndex, ADrawMode, AUseLeftBottomPixelAsTransparent, APalette,
               ASmoothImage);
}

void TdxImageListPaintCache::InvalidateImageList(TCustomImageList* AImages) {
  Assert(AImages != nullptr, "The paint cache invalidates the entries of an image list");
  if (TImageListCacheHelper* Helper = LookupHelper(AImages)) Helper->Invalidate();
}

TImageListCacheHelper* TdxImageListPaintCache::FindHelper(TCustomImageList* AImages) {
  return LookupHelper(AImages);
}

void TdxImageListPaintCache::RemoveHelper(TImageListCacheHelper* AHelper) {
  if (!FPaintCache) return;
  if (FPaintCache->LastHelper == AHelper) {
    FPaintCache->LastImages = nullptr;
    FPaintCache->LastHelper = nullptr;
  }
  for (auto It = FPaintCache->Helpers.begin(); It != FPaintCache->Helpers.end(); ++It)
    if (It->second.get() == AHelper) {
      FPaintCache->Helpers.erase(It);
      return;
    }
}

TcxAlphaBitmap* TdxImageListPaintCache::TransferBitmap() {
  return FPaintCache->TransferBitmap.get();
}

void cxGraphicsInternal::InitializeImageListServices() {
  if (!FPaintCache) {
    FPaintCache = new TPaintCacheState;
    FPaintCache->TransferBitmap.reset(TcxAlphaBitmap::CreateSize(0, 0));
  }
  SetImageAnimationControllerClass(TdxImageAnimationController::StaticClass());
}

void cxGraphicsInternal::FinalizeImageListServices() {
  SetImageAnimationControllerClass(nullptr);
  if (!FPaintCache) return;
  // Helpers leave their lists first: none of them is told anything while
  // the state goes.
  TPaintCacheState* State = FPaintCache;
  FPaintCache = nullptr;
  State->Helpers.clear();
  delete State;
}
