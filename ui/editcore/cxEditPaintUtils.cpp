#include "cxEditPaintUtils.h"

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
  if (FSafePointWindow) DeallocateHWnd(FSafePointWindow);
}

bool TcxSolidBrushCache::Contains(TColor AColor) const {
  bool Found;
  Find(AColor, Found);
  return Found;
}

void TcxSolidBrushCache::Clear() {
  for (TItem& Item : FItems) Retire(std::move(Item.Brush));
  FItems.clear();
}

HBRUSH TcxSolidBrushCache::GetBrush(TColor ABrushColor) {
  if (FSystemBrushesCreated && IsSystemBrushColor(ABrushColor))
    return FSystemBrushes[static_cast<Cardinal>(ABrushColor) &
                          ~static_cast<Cardinal>(cxSysColorPrefix)];
  bool Found;
  Integer Index = Find(ABrushColor, Found);
  if (Found) {
    ++FItems[Index].Count;
    return FItems[Index].Brush.Get();
  }
  Index = PrepareNewItem(Index);
  TBrushHandle Brush(CreateSolidBrush(dxColorToRGB(ABrushColor)));
  HBRUSH Result = Brush.Get();
  FItems.insert(FItems.begin() + Index, TItem{ABrushColor, std::move(Brush), 0});
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

// Makes room for one more entry at AIndex and answers where it goes now.
Integer TcxSolidBrushCache::PrepareNewItem(Integer AIndex) {
  if (Depth() < FMaxDepth) return AIndex;
  Integer Rarest = 0;
  for (Integer I = 0; I < Depth(); ++I) {
    if (FItems[I].Count < FItems[Rarest].Count) Rarest = I;
    if (FItems[Rarest].Count == 0) break;
  }
  Retire(std::move(FItems[Rarest].Brush));
  FItems.erase(FItems.begin() + Rarest);
  return Rarest < AIndex ? AIndex - 1 : AIndex;
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
