// What other components need of a progress bar to follow it and to drive it:
// its position, range and marquee mode, and a list of listeners it tells about
// every change. The library's progress bar implements the interface; the
// taskbar progress links itself to a bar through it.
#pragma once

#include "Classes.h"

// Told by its bar after every position or settings change.
class TcxProgressBarListener : public TObject {
  DECLARE_CLASS(TcxProgressBarListener, TObject)
 public:
  explicit TcxProgressBarListener(TComponent* AProgressBar) : FProgressBar(AProgressBar) {}
  // OnChanged with the bar as the sender.
  void DoChanged();
  TComponent* ProgressBar() const { return FProgressBar; }
  TNotifyEvent OnChanged;

 private:
  TComponent* FProgressBar;
};

// A component implements it without counting references (_AddRef and _Release
// answer -1). Min, Max and Marquee are those of the bar's active properties.
struct IcxProgressBarLink : public IUnknown {
  virtual Double STDMETHODCALLTYPE GetLinkPosition() = 0;
  virtual Double STDMETHODCALLTYPE GetLinkMin() = 0;
  virtual Double STDMETHODCALLTYPE GetLinkMax() = 0;
  virtual bool STDMETHODCALLTYPE GetLinkMarquee() = 0;
  // Through the properties' setters, so the listeners hear of the change.
  virtual void STDMETHODCALLTYPE SetLinkMarquee(bool AValue) = 0;
  virtual void STDMETHODCALLTYPE SetLinkMax(Double AValue) = 0;
  // Stores AValue as the bar's edit value as it is: not clamped into the
  // range, and the listeners are not told.
  virtual void STDMETHODCALLTYPE SetLinkEditValue(Double AValue) = 0;
  // The bar does not own its listeners; both do nothing once the bar's
  // destruction has begun.
  virtual void STDMETHODCALLTYPE AddLinkListener(TcxProgressBarListener* AListener) = 0;
  virtual void STDMETHODCALLTYPE RemoveLinkListener(TcxProgressBarListener* AListener) = 0;
};
__CRT_UUID_DECL(IcxProgressBarLink, 0xB49CB7EF, 0xBC9D, 0x4D57, 0xA1, 0x0A, 0xF7, 0x33, 0x9F, 0x55,
                0xD3, 0xE3)

// The link of AComponent when it is a progress bar, else nullptr.
IcxProgressBarLink* cxGetProgressBarLink(TComponent* AComponent);
