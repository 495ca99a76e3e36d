#include "cxEditPaintUtils.h"

#include <algorithm>
#include <array>

#include "Controls.h"
#include "dxCore.h"
#include "dxGraphicsLink.h"

namespace {

constexpr Integer SystemBrushCount = 31;
constexpr UINT WM_RELEASERETIREDBRUSHES = WM_USER + 1;

// Owned by the system; never deleted.
std::array<HBRUSH, SystemBrushCount> FSystemBrushes{};
bool FSystemBrushesCreated = false;
TcxSolidBrushCache* FSolidBrushCache = nullptr;
Integer FInitCount = 0;

bool IsSystemBrushColor(TColor AColor) {
  Cardinal C = static_cast<Cardinal>(AColor);
  return C >= static_cast<Cardinal>(cxSysColorPrefix) &&
         C < static_cast<Cardinal>(cxSysColorPrefix) + SystemBrushCount;
}

}  // namespace

IMPLEMENT_CLASS(TcxSolidBrushCache)

TcxSolidBrushCache::TcxSolidBrushCache(Integer AMaxDepth) : FMaxDepth(std::max(AMaxDepth, 1)) {
  FItems.reserve(static_cast<size_t>(FMaxDepth));
}

void TcxSolidBrushCache::AfterConstruction() {
  inherited::AfterConstruction();
  FSystemPaletteChangedNotifier = Create<TcxSystemPaletteChangedNotifier>();
  FSystemPaletteChangedNotifier->SetOnSystemPaletteChanged(
      MakeEvent<&TcxSolidBrushCache::SystemPaletteChanged>(this));
}

void TcxSolidBrushCache::BeforeDestruction() {
  FreeAndNil(FSystemPaletteChangedNotifier);
  inherited::BeforeDestruction();
}

TcxSolidBrushCache::~TcxSolidBrushCache() {
  for (TItem& Item : FItems) DeleteObject(Item.Brush);
  if (FSafePointWindow) DeallocateHWnd(FSafePointWindow);
}

bool TcxSolidBrushCache::Contains(TColor AColor) const {
  bool Found;
  Find(AColor, Found);
  return Found;
}

void TcxSolidBrushCache::Clear() {
  std::vector<TBrushHandle> Brushes;
  Brushes.reserve(FItems.size());
  for (TItem& Item : FItems) Brushes.emplace_back(Item.Brush);
  FItems.clear();
  for (TBrushHandle& Brush : Brushes) Retire(std::move(Brush));
}

HBRUSH TcxSolidBrushCache::GetBrush(TColor ABrushColor) {
  if (FSystemBrushesCreated && IsSystemBrushColor(ABrushColor))
    return FSystemBrushes[static_cast<Cardinal>(ABrushColor) &
                          ~static_cast<Cardinal>(cxSysColorPrefix)];
  bool Found;
  Integer Index = Find(ABrushColor, Found);
  if (Found) {
    ++FItems[Index].Count;
    return FItems[Index].Brush;
  }
  HBRUSH Result = CreateSolidBrush(dxColorToRGB(ABrushColor));
  Retire(PlaceNewItem(Index, TItem{ABrushColor, Result, 0}));
  return Result;
}

void TcxSolidBrushCache::SystemPaletteChanged() { Clear(); }

Integer TcxSolidBrushCache::Find(TColor AColor, bool& AFound) const {
  Integer L = 0, H = Depth() - 1;
  while (L <= H) {
    Integer M = (L + H) / 2;
    if (FItems[M].Color == AColor) {
      AFound = true;
      return M;
    }
    if (FItems[M].Color < AColor)
      L = M + 1;
    else
      H = M - 1;
  }
  AFound = false;
  return L;
}

// Puts the new entry at its place in colour order; a full cache first gives
// up its rarest entry, whose brush the caller retires. Only the entries
// between the two places move. The entries' room was reserved at
// construction, so nothing here allocates.
TBrushHandle TcxSolidBrushCache::PlaceNewItem(Integer AIndex, const TItem& AItem) noexcept {
  if (Depth() < FMaxDepth) {
    FItems.insert(FItems.begin() + AIndex, AItem);
    return TBrushHandle();
  }
  Integer Rarest = 0;
  for (Integer I = 0; I < Depth(); ++I) {
    if (FItems[I].Count < FItems[Rarest].Count) Rarest = I;
    if (FItems[Rarest].Count == 0) break;
  }
  TBrushHandle Evicted(FItems[Rarest].Brush);
  const auto B = FItems.begin();
  if (Rarest < AIndex) {
    std::copy(B + Rarest + 1, B + AIndex, B + Rarest);
    FItems[AIndex - 1] = AItem;
  } else {
    std::copy_backward(B + AIndex, B + Rarest, B + Rarest + 1);
    FItems[AIndex] = AItem;
  }
  return Evicted;
}

// A brush leaving the cache may be one that the paint in progress still
// holds (the entry just created has the smallest count, so the very next
// miss evicts it); it dies once the current message has been handled. A
// paint that runs on without reaching the message loop retires a brush per
// miss; past MaxRetired the oldest goes, which left the cache so many misses
// ago that no paint still holds it.
void TcxSolidBrushCache::Retire(TBrushHandle&& ABrush) {
  if (!ABrush) return;
  if (RetiredCount() >= MaxRetired()) FRetired.pop_front();
  FRetired.push_back(std::move(ABrush));
  if (FSafePointPosted) return;
  if (!FSafePointWindow)
    FSafePointWindow = AllocateHWnd(MakeEvent<&TcxSolidBrushCache::WndProc>(this));
  FSafePointPosted =
      FSafePointWindow && PostMessageW(FSafePointWindow, WM_RELEASERETIREDBRUSHES, 0, 0);
}

void TcxSolidBrushCache::ReleaseRetiredBrushes() {
  FSafePointPosted = false;
  FRetired.clear();
}

void TcxSolidBrushCache::WndProc(TMessage& Message) {
  if (Message.Msg == WM_RELEASERETIREDBRUSHES) {
    ReleaseRetiredBrushes();
    Message.Result = 0;
    return;
  }
  Message.Result = DefWindowProcW(FSafePointWindow, Message.Msg, Message.WParam, Message.LParam);
}

HBRUSH GetSolidBrush(TColor ABrushColor) {
  return FSolidBrushCache ? FSolidBrushCache->GetBrush(ABrushColor) : nullptr;
}

TcxSolidBrushCache* cxSolidBrushCache() { return FSolidBrushCache; }

void cxEditPaintUtils_Initialize() {
  if (FInitCount++ > 0) return;
  for (Integer I = 0; I < SystemBrushCount; ++I) FSystemBrushes[I] = GetSysColorBrush(I);
  FSystemBrushesCreated = true;
  FSolidBrushCache = Create<TcxSolidBrushCache>();
}

void cxEditPaintUtils_Finalize() {
  if (FInitCount == 0 || --FInitCount > 0) return;
  FreeAndNil(FSolidBrushCache);
  FSystemBrushes.fill(nullptr);
  FSystemBrushesCreated = false;
}
