// The inner list box's part in drag and drop: a press that may start
// dragging the container, and what is dragged over the list, which the
// container answers.
#include "cxContainer.h"

bool TcxCustomInnerListBox::DragPress(TMessage& Message) {
  if (Message.Msg != WM_LBUTTONDOWN || DragMode() != dmAutomatic || !FContainer ||
      FContainer->IsDesigning())
    return false;
  // The list must see the press itself: the framework would start a drag
  // of the list instead.
  SetDragMode(dmManual);
  TcxObjectLinkGuard ALink(this);
  auto Restore = Finally([&] {
    if (ALink.Alive()) SetDragMode(dmAutomatic);
  });
  const TShiftState Shift = KeysToShiftState(Message.WParam);
  const bool AShiftOnly = Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
  if (MultiSelect()) {
    const TPoint P = SmallPointToPoint(Message.LParam);
    const Integer AIndex = ItemAtPos(P, true);
    // A press on the selection drags it as it is.
    if (AIndex >= 0 && Selected(AIndex) && !AShiftOnly) {
      FContainer->BeginDrag(false);
      return true;
    }
  }
  WndProc(Message);
  // Shift and Ctrl extend a multiple selection rather than drag it.
  if (ALink.Alive() && FContainer &&
      !(MultiSelect() && (Shift.Contains(ssShift) || Shift.Contains(ssCtrl))))
    FContainer->BeginDrag(false);
  return true;
}

void TcxCustomInnerListBox::DragOver(TObject* Source, Integer X, Integer Y, TDragState State,
                                     bool& Accept) {
  if (FContainer) FContainer->ContainerDragOver(Source, X + Left(), Y + Top(), State, Accept);
  if (!FContainer || !Accept) inherited::DragOver(Source, X, Y, State, Accept);
}

void TcxCustomInnerListBox::DragDrop(TObject* Source, Integer X, Integer Y) {
  if (FContainer)
    FContainer->DragDrop(Source, X + Left(), Y + Top());
  else
    inherited::DragDrop(Source, X, Y);
}
