// Filled by the drag-and-drop work: until then no drag and drop starts.
#include "cxControls.h"

bool TcxControl::AllowAutoDragAndDropAtDesignTime(Integer, Integer, TShiftState) { return true; }
bool TcxControl::CanCancelDragStartOnCaptureObjectClear() { return true; }
TcxDragAndDropObject* TcxControl::CreateDragAndDropObject() { return nullptr; }
void TcxControl::DoFinishDragAndDrop(bool) { FDragAndDropState = ddsNone; }
TClass TcxControl::GetDragAndDropObjectClass() { return FDragAndDropObjectClass; }
void TcxControl::DrawDragImage(TcxCanvas*, const TRect&) {}
TClass TcxControl::GetDragImagesClass() { return nullptr; }
TPoint TcxControl::GetDragImagesSize() { return TPoint{0, 0}; }
bool TcxControl::GetIsCopyDragDrop() { return IsCtrlPressed(); }
bool TcxControl::HasDragImages() { return false; }
void TcxControl::InitDragImages(TcxDragImageList*) {}
bool TcxControl::AcceptMousePosForClick(Integer, Integer) { return true; }
bool TcxControl::IsMouseInPressedArea(Integer X, Integer Y) {
  return IsPointInDragDetectArea(FMouseDownPos, X, Y);
}
TClass TcxControl::GetDragObjectClass() { return nullptr; }
bool TcxControl::AllowDragAndDropWithoutFocus() { return false; }
void TcxControl::DragAndDrop(const TPoint&, bool&) {}
void TcxControl::EndDragAndDrop(bool) { FDragAndDropState = ddsNone; }
bool TcxControl::StartDragAndDrop(const TPoint&) { return false; }
bool TcxControl::CanDrag(Integer, Integer) { return FDragAndDropState == ddsNone; }
bool TcxControl::StartDrag(TObject*) { return true; }
void TcxControl::BeginDragAndDrop() {}
TcxDragImageList* TcxControl::GetDragImages() { return nullptr; }
void TcxControl::DoStartDrag(TObject*&) {}
void TcxControl::DoEndDrag(TObject*, Integer, Integer) {}
void TcxControl::DragOver(TObject*, Integer, Integer, Integer, bool& Accept) { Accept = false; }
TcxDragAndDropObject* TcxControl::DragAndDropObject() { return nullptr; }
void TcxControl::SetDragAndDropState(TcxDragAndDropState AValue) { FDragAndDropState = AValue; }
void TcxControl::SetDragAndDropObjectClass(TClass AValue) { FDragAndDropObjectClass = AValue; }
void TcxControl::FinishDragAndDrop(bool) { FDragAndDropState = ddsNone; }
void TcxControl::HideDragImage() {}
void TcxControl::ShowDragImage() {}
void TcxControl::ScrollWindow(Integer DX, Integer DY, const TRect& AScrollRect) {
  if (HandleAllocated())
    ::ScrollWindowEx(FHandle, DX, DY, &AScrollRect, nullptr, nullptr, nullptr,
                     SW_INVALIDATE | SW_ERASE);
}

// What the rest of the control calls.
void TcxControl::DestroyDragAndDrop() {}
bool TcxControl::IsDragModeAutomatic() { return false; }
bool TcxControl::IsFrameworkDragging() { return false; }
void TcxControl::DetectAndBeginFrameworkDrag(const TPoint&) {}
void TcxControl::CheckStartDragAndDrop(TMouseButton, TShiftState, Integer, Integer) {}
void TcxControl::ProcessDragAndDropMouseMove(TShiftState, Integer, Integer) {}
bool TcxControl::DragAndDropKeyDown(TMessage&) { return false; }
bool TcxControl::DragAndDropKeyUp(TMessage&) { return false; }
