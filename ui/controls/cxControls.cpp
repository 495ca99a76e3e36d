#include "cxControls.h"

namespace {
bool FUnitIsFinalized = true;
TcxMessageWindow* FcxMessageWindow = nullptr;

template <class T>
void FreeService(T*& AGlobal) {
  T* Object = AGlobal;
  AGlobal = nullptr;
  if (Object) Object->Free();
}
}  // namespace

TcxMessageWindow* cxMessageWindow() {
  if (!FcxMessageWindow && !FUnitIsFinalized) FcxMessageWindow = Create<TcxMessageWindow>();
  return FcxMessageWindow;
}

void cxControls_Initialize() { FUnitIsFinalized = false; }

void cxControls_Finalize() {
  FUnitIsFinalized = true;
  FreeService(FcxMessageWindow);
}
