#include "dxSpellCheckerCore.h"

namespace {

struct TInstalled {
  TComPtr<IdxSpellChecker> SpellChecker;
  TComPtr<IdxSpellChecker2> SpellChecker2;
  TComPtr<IdxSpellChecker3> SpellChecker3;
  TdxSpellCheckerChangedEvent Changed;
};

// Lives from the first start-up to the last shut-down.
TInstalled* FInstalled = nullptr;
Integer FStartCount = 0;

}  // namespace

IdxSpellChecker* TdxSpellCheckerInstance::ISpellChecker() {
  return FInstalled ? FInstalled->SpellChecker.Get() : nullptr;
}

IdxSpellChecker2* TdxSpellCheckerInstance::ISpellChecker2() {
  return FInstalled ? FInstalled->SpellChecker2.Get() : nullptr;
}

IdxSpellChecker3* TdxSpellCheckerInstance::ISpellChecker3() {
  return FInstalled ? FInstalled->SpellChecker3.Get() : nullptr;
}

void TdxSpellCheckerInstance::Install(IUnknown* ASpellChecker) {
  if (!FInstalled) return;
  TComPtr<IUnknown> Source = TComPtr<IUnknown>::Borrow(ASpellChecker);
  FInstalled->SpellChecker = Source.Query<IdxSpellChecker>(__uuidof(IdxSpellChecker));
  FInstalled->SpellChecker2 = Source.Query<IdxSpellChecker2>(__uuidof(IdxSpellChecker2));
  FInstalled->SpellChecker3 = Source.Query<IdxSpellChecker3>(__uuidof(IdxSpellChecker3));
  if (!FInstalled->Changed.GetEmpty()) FInstalled->Changed.Invoke()(nullptr);
}

TdxSpellCheckerChangedEvent* TdxSpellCheckerInstance::SpellCheckerChanged() {
  return FInstalled ? &FInstalled->Changed : nullptr;
}

void dxSpellCheckerNotifyFocusGained(TWinControl* AInnerControl) {
  if (IdxSpellChecker* S = TdxSpellCheckerInstance::ISpellChecker())
    S->NotifyFocusGained(AInnerControl);
}

void dxSpellCheckerNotifyFocusLost() {
  if (IdxSpellChecker* S = TdxSpellCheckerInstance::ISpellChecker()) S->NotifyFocusLost();
}

void dxSpellCheckerNotifyKeyPress(Char AKey) {
  if (IdxSpellChecker* S = TdxSpellCheckerInstance::ISpellChecker()) S->NotifyKeyPress(AKey);
}

void dxSpellCheckerNotifyKeyDown(Word AKey, TShiftState AShift) {
  if (IdxSpellChecker2* S = TdxSpellCheckerInstance::ISpellChecker2())
    S->NotifyKeyDown(AKey, AShift);
}

void dxSpellCheckerNotifyKeyUp(Word AKey, TShiftState AShift) {
  if (IdxSpellChecker2* S = TdxSpellCheckerInstance::ISpellChecker2()) S->NotifyKeyUp(AKey, AShift);
}

bool dxSpellCheckerIsSpellCheckerWindow(HWND AWnd) {
  IdxSpellChecker* S = TdxSpellCheckerInstance::ISpellChecker();
  return S && S->IsSpellCheckerWindow(AWnd);
}

bool dxSpellCheckerContextPopupHook(TcxControl*, TComponent* APopupMenu, const TPoint& P) {
  IdxSpellChecker* S = TdxSpellCheckerInstance::ISpellChecker();
  return S && S->ShowContextPopup(APopupMenu, P);
}

void dxSpellCheckerCore_Initialize() {
  if (FStartCount++ > 0) return;
  FInstalled = new TInstalled;
  cxContextPopupHookFunc() = &dxSpellCheckerContextPopupHook;
}

void dxSpellCheckerCore_Finalize() {
  if (FStartCount == 0 || --FStartCount > 0) return;
  if (cxContextPopupHookFunc() == &dxSpellCheckerContextPopupHook)
    cxContextPopupHookFunc() = nullptr;
  // The references go before the record, so that a spell checker released
  // here finds the module already without it.
  TInstalled* Installed = FInstalled;
  FInstalled = nullptr;
  Installed->Changed.Clear();
  Installed->SpellChecker3.Reset();
  Installed->SpellChecker2.Reset();
  Installed->SpellChecker.Reset();
  delete Installed;
}
