// The gesture road's view of framework controls: one IdxTouchControl per
// control it has asked about, kept while the control lives.
#include <map>
#include <memory>
#include <vector>

#include "cxControlsInternal.h"

namespace cxControlsInternal {
namespace {

class TTouchControlLink final : public IdxTouchControl {
 public:
  explicit TTouchControlLink(TControl* AControl) : FControl(AControl) {}

  TControl* Control() const { return FControl; }
  // The control is gone; a gesture in progress may still hold the link, so
  // the link stays and answers as a control that handles nothing.
  void Retire() { FControl = nullptr; }

  IdxTouchControl* TouchParent() override;
  bool PassesGesturesToParent() override {
    return FControl &&
           FControl->Touch()->InteractiveGestureOptions().Contains(igoParentPassthrough);
  }
  bool HandlesGesture(TInteractiveGesture AGesture) override {
    return FControl && FControl->Touch()->InteractiveGestures().Contains(AGesture);
  }
  HWND TouchWindow() override {
    auto* WinControl = AsOrNull<TWinControl>(FControl);
    return WinControl && WinControl->HandleAllocated() ? WinControl->Handle() : nullptr;
  }
  TPoint TouchScreenToClient(const TPoint& APoint) override {
    return FControl ? FControl->ScreenToClient(APoint) : APoint;
  }
  LRESULT PerformGesture(TGestureEventInfo& AEventInfo) override {
    return FControl ? FControl->Perform(CM_GESTURE, 0, reinterpret_cast<LPARAM>(&AEventInfo)) : 0;
  }

 private:
  TControl* FControl;
};

// Hands out the links and hears of the controls' end.
class TTouchControlLinks : public TComponent {
  DECLARE_CLASS_INLINE(TTouchControlLinks, TComponent)
 public:
  using TComponent::TComponent;
  ~TTouchControlLinks() override {
    for (auto& [Control, Link] : FLinks) Control->RemoveFreeNotification(this);
  }

  IdxTouchControl* LinkOf(TControl* AControl) {
    if (!AControl) return nullptr;
    std::unique_ptr<TTouchControlLink>& Link = FLinks[AControl];
    if (!Link) {
      Link = std::make_unique<TTouchControlLink>(AControl);
      AControl->FreeNotification(this);
    }
    return Link.get();
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    auto It = FLinks.find(static_cast<TControl*>(AComponent));
    if (It == FLinks.end()) return;
    It->second->Retire();
    FRetired.push_back(std::move(It->second));
    FLinks.erase(It);
  }

 private:
  std::map<TControl*, std::unique_ptr<TTouchControlLink>> FLinks;
  std::vector<std::unique_ptr<TTouchControlLink>> FRetired;
};

TTouchControlLinks* TouchControlLinks = nullptr;

IdxTouchControl* LinkOf(TControl* AControl) {
  return TouchControlLinks ? TouchControlLinks->LinkOf(AControl) : nullptr;
}

IdxTouchControl* TTouchControlLink::TouchParent() {
  return FControl ? LinkOf(FControl->Parent()) : nullptr;
}

IdxTouchControl* FindTouchControl(HWND AWnd) { return LinkOf(TWinControl::FindControl(AWnd)); }

IdxTouchControl* TouchChildControlAt(IdxTouchControl* AParent, const TPoint& APoint) {
  auto* Parent = AParent
                     ? AsOrNull<TWinControl>(static_cast<TTouchControlLink*>(AParent)->Control())
                     : nullptr;
  return Parent ? LinkOf(Parent->ControlAtPos(APoint, true, false)) : nullptr;
}

}  // namespace

void InitTouchControlServices() {
  TouchControlLinks = Create<TTouchControlLinks>(nullptr);
  dxTouchControlServices().FindControl = &FindTouchControl;
  dxTouchControlServices().ChildControlAt = &TouchChildControlAt;
}

void FinalizeTouchControlServices() {
  dxTouchControlServices() = TdxTouchControlServices{};
  FreeAndNil(TouchControlLinks);
}

}  // namespace cxControlsInternal
