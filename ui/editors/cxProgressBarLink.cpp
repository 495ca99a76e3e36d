#include "cxProgressBarLink.h"

IMPLEMENT_CLASS(TcxProgressBarListener)

void TcxProgressBarListener::DoChanged() {
  if (OnChanged) OnChanged(FProgressBar);
}

IcxProgressBarLink* cxGetProgressBarLink(TComponent* AComponent) {
  IcxProgressBarLink* Link = nullptr;
  return Supports(AComponent, __uuidof(IcxProgressBarLink), reinterpret_cast<void**>(&Link))
             ? Link
             : nullptr;
}
