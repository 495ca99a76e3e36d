#include "cxLookAndFeelPainters.h"

#include "cxLookAndFeelPaintersInternal.h"
#include "cxLookAndFeels.h"
#include "dxSkinsCore.h"

using namespace cxPaintersInternal;

void CreateStdScrollBarBitmaps();
void DestroyStdScrollBarBitmaps();

namespace {
TcxLookAndFeelPaintersManager* FManager = nullptr;
TSize FCheckButtonSize{0, 0};
Integer FInitCount = 0;

Integer CompareNames(const String& A, const String& B) { return AnsiCompareStr(A, B); }

Integer SortProc(Pointer Item1, Pointer Item2) {
  return CompareNames(static_cast<TcxCustomLookAndFeelPainter*>(Item1)->LookAndFeelName(),
                      static_cast<TcxCustomLookAndFeelPainter*>(Item2)->LookAndFeelName());
}

void RegisterPainterAssistants() {
  CreateStdScrollBarBitmaps();
  CalculateCheckButtonSize();
  RegisterStandardLookAndFeelPainters();
}

void UnregisterPainterAssistants() { DestroyStdScrollBarBitmaps(); }
}  // namespace

TcxCustomLookAndFeelPainter* cxPaintersInternal::RegisteredPainter(TcxLookAndFeelStyle AStyle) {
  return FManager ? FManager->GetPainter(AStyle) : nullptr;
}

// ---------------------------------------------------------------------------
// Identity and cached images
IMPLEMENT_CLASS(TcxCustomLookAndFeelPainter)

TcxCustomLookAndFeelPainter::~TcxCustomLookAndFeelPainter() {
  FreeAndNil(FLookAndFeelPainterDetailsCache);
  FBackButton.reset();
  FSearchButtonGlyph.reset();
}

String TcxCustomLookAndFeelPainter::LookAndFeelName() { return String(); }

TcxLookAndFeelStyle TcxCustomLookAndFeelPainter::LookAndFeelStyle() { return lfsStandard; }

bool TcxCustomLookAndFeelPainter::IsInternalPainter() { return false; }

bool TcxCustomLookAndFeelPainter::NeedRedrawOnResize() { return false; }

bool TcxCustomLookAndFeelPainter::GetPainterData(Pointer&) { return false; }

TdxSmartImage* TcxCustomLookAndFeelPainter::GetCachedImage(TOwned<TdxSmartImage>& AImage,
                                                           const wchar_t* AResourceName) {
  if (!AImage) {
    TOwned<TdxSmartImage> Image = MakeOwned<TdxSmartImage>();
    TOwned<TResourceStream> Stream =
        MakeOwned<TResourceStream>(GetModuleHandleW(nullptr), String(AResourceName), L"PNG");
    Image->LoadFromStream(Stream.get());
    AImage = std::move(Image);
  }
  return AImage.get();
}

TdxSmartImage* TcxCustomLookAndFeelPainter::GetBackButton() {
  return GetCachedImage(FBackButton, L"CX_BACKBUTTON");
}

TdxSmartImage* TcxCustomLookAndFeelPainter::GetSearchButtonGlyph() {
  return GetCachedImage(FSearchButtonGlyph, L"DX_SEARCHBUTTONGLYPH");
}

// ---------------------------------------------------------------------------
// Registry
IMPLEMENT_CLASS(TcxLookAndFeelPaintersManager)

TcxLookAndFeelPaintersManager::TcxLookAndFeelPaintersManager()
    : FPainters(MakeOwned<TcxObjectList>(true)) {}

TcxLookAndFeelPaintersManager::~TcxLookAndFeelPaintersManager() {
  FListeners.clear();
  FPainters.reset();
}

bool cxSamePainterName(const String& AName1, const String& AName2) {
  if (AName1.size() != AName2.size()) return false;
  auto Fold = [](wchar_t C) { return (C >= L'a' && C <= L'z') ? wchar_t(C - L'a' + L'A') : C; };
  for (size_t I = 0; I < AName1.size(); ++I)
    if (Fold(AName1[I]) != Fold(AName2[I])) return false;
  return true;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeelPaintersManager::Items(Integer AIndex) const {
  return static_cast<TcxCustomLookAndFeelPainter*>(FPainters->Items(AIndex));
}

bool TcxLookAndFeelPaintersManager::Register(TcxCustomLookAndFeelPainter* APainter) {
  TOwned<TcxCustomLookAndFeelPainter> Owned(APainter);
  if (!APainter) return false;
  TcxCustomLookAndFeelPainter* Existing = nullptr;
  if (GetPainter(APainter->LookAndFeelName(), Existing)) return false;
  FPainters->Add(Owned.release());
  SortPainters();
  DoPainterAdded(APainter);
  return true;
}

bool TcxLookAndFeelPaintersManager::Unregister(const String& AName) {
  TcxCustomLookAndFeelPainter* Painter = nullptr;
  if (!GetPainter(AName, Painter)) return false;
  FPainters->Remove(Painter);
  // The painter goes whatever its listeners do.
  TOwned<TcxCustomLookAndFeelPainter> Owned(Painter);
  DoPainterRemoved(Painter);
  return true;
}

bool TcxLookAndFeelPaintersManager::GetPainter(TcxLookAndFeelStyle AStyle,
                                               TcxCustomLookAndFeelPainter*& APainter) {
  for (Integer I = 0; I < Count(); ++I) {
    if (Items(I)->LookAndFeelStyle() == AStyle) {
      APainter = Items(I);
      return true;
    }
  }
  return false;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeelPaintersManager::GetPainter(TcxLookAndFeelStyle AStyle) {
  TcxCustomLookAndFeelPainter* R = nullptr;
  GetPainter(AStyle, R);
  return R;
}

bool TcxLookAndFeelPaintersManager::GetPainter(const String& AName,
                                               TcxCustomLookAndFeelPainter*& APainter) {
  for (Integer I = 0; I < Count(); ++I) {
    if (cxSamePainterName(Items(I)->LookAndFeelName(), AName)) {
      APainter = Items(I);
      return true;
    }
  }
  return false;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeelPaintersManager::GetPainter(const String& AName) {
  TcxCustomLookAndFeelPainter* R = nullptr;
  GetPainter(AName, R);
  return R;
}

void TcxLookAndFeelPaintersManager::AddListener(IcxLookAndFeelPainterListener* AListener) {
  if (!AListener) return;
  for (const auto& L : FListeners)
    if (L.Get() == AListener) return;
  FListeners.push_back(TComPtr<IcxLookAndFeelPainterListener>::Borrow(AListener));
}

void TcxLookAndFeelPaintersManager::RemoveListener(IcxLookAndFeelPainterListener* AListener) {
  for (auto It = FListeners.begin(); It != FListeners.end(); ++It)
    if (It->Get() == AListener) {
      FListeners.erase(It);
      return;
    }
}

void TcxLookAndFeelPaintersManager::SortPainters() {
  // Insertion by the platform's comparison keeps equal names in their order.
  for (Integer I = 1; I < Count(); ++I)
    for (Integer J = I; J > 0 && SortProc(FPainters->Get(J - 1), FPainters->Get(J)) > 0; --J)
      FPainters->Exchange(J - 1, J);
}

void TcxLookAndFeelPaintersManager::DoPainterAdded(TcxCustomLookAndFeelPainter* APainter) {
  if (TcxLookAndFeel* Root = RootLookAndFeel()) Root->Refresh();
  // A snapshot: a listener may leave during the call.
  std::vector<TComPtr<IcxLookAndFeelPainterListener>> Listeners = FListeners;
  for (auto It = Listeners.rbegin(); It != Listeners.rend(); ++It) (*It)->PainterAdded(APainter);
}

void TcxLookAndFeelPaintersManager::DoPainterRemoved(TcxCustomLookAndFeelPainter* APainter) {
  if (TcxLookAndFeel* Root = RootLookAndFeel()) Root->Refresh();
  // The root's refresh reaches only objects that inherit something; none may
  // keep the painter that is about to go.
  cxLookAndFeelPainterRemoved(APainter);
  std::vector<TComPtr<IcxLookAndFeelPainterListener>> Listeners = FListeners;
  for (auto It = Listeners.rbegin(); It != Listeners.rend(); ++It) (*It)->PainterRemoved(APainter);
}

TcxLookAndFeelPaintersManager* cxLookAndFeelPaintersManager() { return FManager; }

// ---------------------------------------------------------------------------
// Registration and module start-up
TSize cxCheckButtonSize() { return FCheckButtonSize; }

void CalculateCheckButtonSize() {
  FCheckButtonSize = TSize{0, 0};
  TBitmapHandle Bitmap(LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECKBOXES)));
  if (!Bitmap) return;
  BITMAP Data{};
  if (GetObjectW(Bitmap.Get(), sizeof(Data), &Data))
    FCheckButtonSize = TSize{Data.bmWidth / 4, Data.bmHeight / 3};
}

void RegisterStandardLookAndFeelPainters() {
  if (!FManager) return;
  FManager->Register(Create<TcxStandardLookAndFeelPainter>());
  FManager->Register(Create<TcxUltraFlatLookAndFeelPainter>());
  FManager->Register(Create<TcxWinXPLookAndFeelPainter>());
}

void cxLookAndFeelPainters_Initialize() {
  if (FInitCount++ > 0) return;
  FManager = Create<TcxLookAndFeelPaintersManager>();
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->AddUnit(&RegisterPainterAssistants, &UnregisterPainterAssistants);
}

void cxLookAndFeelPainters_Finalize() {
  if (FInitCount == 0 || --FInitCount > 0) return;
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->RemoveUnit(&UnregisterPainterAssistants);
  FreeAndNil(FManager);
}
