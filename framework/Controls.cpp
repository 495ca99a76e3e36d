#include "Controls.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "ControlsInternal.h"
#include "Forms.h"
#include "WinHandles.h"

namespace {

const wchar_t ControlProp[] = L"FrameworkControl";
thread_local TWinControl* CreationControl = nullptr;

TShiftState MouseShift(WPARAM Keys) { return KeysToShiftState(Keys); }

}  // namespace

TOwnerDrawState OwnerDrawStateFromItemState(UINT ItemState) {
  static const struct {
    UINT Flag;
    TOwnerDrawStateItem Item;
  } Map[] = {{ODS_SELECTED, odSelected},
             {ODS_GRAYED, odGrayed},
             {ODS_DISABLED, odDisabled},
             {ODS_CHECKED, odChecked},
             {ODS_FOCUS, odFocused},
             {ODS_DEFAULT, odDefault},
             {ODS_HOTLIGHT, odHotLight},
             {ODS_INACTIVE, odInactive},
             {ODS_NOACCEL, odNoAccel},
             {ODS_NOFOCUSRECT, odNoFocusRect},
             {ODS_COMBOBOXEDIT, odComboBoxEdit}};
  TOwnerDrawState State;
  for (const auto& M : Map)
    if (ItemState & M.Flag) State.Include(M.Item);
  return State;
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState S;
  if (Keys & MK_SHIFT) S.Include(ssShift);
  if (Keys & MK_CONTROL) S.Include(ssCtrl);
  if (Keys & MK_LBUTTON) S.Include(ssLeft);
  if (Keys & MK_RBUTTON) S.Include(ssRight);
  if (Keys & MK_MBUTTON) S.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState S;
  if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (KeyData & 0x20000000) S.Include(ssAlt);
  return S;
}

TShiftState GetShiftState() {
  TShiftState S;
  if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) S.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) S.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) S.Include(ssMiddle);
  return S;
}

void RaiseWindowCreateError(const String& ClassName) {
  DWORD Code = GetLastError();
  throw EOSError(L"Error creating window of class " + ClassName + L". " + SysErrorMessage(Code),
                 Code);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TSizeConstraints)

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TSizeConstraints>(Source)) {
    FMinHeight = S->FMinHeight;
    FMaxHeight = S->FMaxHeight;
    FMinWidth = S->FMinWidth;
    FMaxWidth = S->FMaxWidth;
    Change();
    return;
  }
  inherited::Assign(Source);
}

void TSizeConstraints::Change() {
  if (OnChange) OnChange(this);
}

void TSizeConstraints::SetMaxHeight(Integer V) {
  if (V == FMaxHeight) return;
  FMaxHeight = V;
  if (V > 0 && V < FMinHeight) FMinHeight = V;
  Change();
}

void TSizeConstraints::SetMaxWidth(Integer V) {
  if (V == FMaxWidth) return;
  FMaxWidth = V;
  if (V > 0 && V < FMinWidth) FMinWidth = V;
  Change();
}

void TSizeConstraints::SetMinHeight(Integer V) {
  if (V == FMinHeight) return;
  FMinHeight = V;
  if (FMaxHeight > 0 && V > FMaxHeight) FMaxHeight = V;
  Change();
}

void TSizeConstraints::SetMinWidth(Integer V) {
  if (V == FMinWidth) return;
  FMinWidth = V;
  if (FMaxWidth > 0 && V > FMaxWidth) FMaxWidth = V;
  Change();
}

// ---------------------------------------------------------------------------
namespace {
const wchar_t* const GestureNames[] = {L"igZoom", L"igPan", L"igRotate", L"igTwoFingerTap",
                                       L"igPressAndTap"};
const TEnumInfo GestureInfo = MakeEnumInfo(L"TInteractiveGesture", GestureNames);
const wchar_t* const GestureOptionNames[] = {L"igoPanSingleFingerHorizontal",
                                             L"igoPanSingleFingerVertical", L"igoPanInertia",
                                             L"igoPanGutter", L"igoParentPassthrough"};
const TEnumInfo GestureOptionInfo = MakeEnumInfo(L"TInteractiveGestureOption", GestureOptionNames);
}  // namespace

// Neither property has a fixed default: the control decides it (an empty set
// differing from the defaults must still be written).
IMPLEMENT_PUBLISHED_CLASS(TTouchSettings) {
  P.Property<&TTouchSettings::InteractiveGestures, &TTouchSettings::SetInteractiveGestures>(
       L"InteractiveGestures", &GestureInfo)
      .NoDefault()
      .Stored<&TTouchSettings::IsInteractiveGesturesStored>();
  P.Property<&TTouchSettings::InteractiveGestureOptions,
             &TTouchSettings::SetInteractiveGestureOptions>(L"InteractiveGestureOptions",
                                                            &GestureOptionInfo)
      .NoDefault()
      .Stored<&TTouchSettings::IsInteractiveGestureOptionsStored>();
}

TInteractiveGestureOptions TTouchSettings::FrameworkDefaultOptions() {
  return TInteractiveGestureOptions{igoPanSingleFingerHorizontal, igoPanSingleFingerVertical,
                                    igoPanInertia, igoPanGutter, igoParentPassthrough};
}

void TTouchSettings::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TTouchSettings>(Source)) {
    FGestures = S->FGestures;
    FOptions = S->FOptions;
    return;
  }
  inherited::Assign(Source);
}

void TTouchSettings::SetDefaults(TInteractiveGestures AGestures,
                                 TInteractiveGestureOptions AOptions) {
  FGestures = FDefaultGestures = AGestures;
  FOptions = FDefaultOptions = AOptions;
}

// ---------------------------------------------------------------------------
namespace {
const wchar_t* const AlignNames[] = {L"alNone",  L"alTop",    L"alBottom", L"alLeft",
                                     L"alRight", L"alClient", L"alCustom"};
const TEnumInfo AlignInfo = MakeEnumInfo(L"TAlign", AlignNames);
const wchar_t* const AnchorNames[] = {L"akLeft", L"akTop", L"akRight", L"akBottom"};
const TEnumInfo AnchorInfo = MakeEnumInfo(L"TAnchorKind", AnchorNames);
const wchar_t* const BiDiNames[] = {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign",
                                    L"bdRightToLeftReadingOnly"};
const TEnumInfo BiDiInfo = MakeEnumInfo(L"TBiDiMode", BiDiNames);

struct TCursorName {
  Integer Cursor;
  const wchar_t* Name;
};
const TCursorName CursorNames[] = {
    {crDefault, L"crDefault"},     {crNone, L"crNone"},           {crArrow, L"crArrow"},
    {crCross, L"crCross"},         {crIBeam, L"crIBeam"},         {crSizeNESW, L"crSizeNESW"},
    {crSizeNS, L"crSizeNS"},       {crSizeNWSE, L"crSizeNWSE"},   {crSizeWE, L"crSizeWE"},
    {crUpArrow, L"crUpArrow"},     {crHourGlass, L"crHourGlass"}, {crDrag, L"crDrag"},
    {crNoDrop, L"crNoDrop"},       {crHSplit, L"crHSplit"},       {crVSplit, L"crVSplit"},
    {crMultiDrag, L"crMultiDrag"}, {crSQLWait, L"crSQLWait"},     {crNo, L"crNo"},
    {crAppStart, L"crAppStart"},   {crHelp, L"crHelp"},           {crHandPoint, L"crHandPoint"},
    {crSizeAll, L"crSizeAll"},
};
bool CursorToIdent(Integer Cursor, String& Ident) {
  for (const auto& N : CursorNames)
    if (N.Cursor == Cursor) {
      Ident = N.Name;
      return true;
    }
  return false;
}
bool IdentToCursor(const String& Ident, Integer& Cursor) {
  for (const auto& N : CursorNames)
    if (SameText(N.Name, Ident)) {
      Cursor = N.Cursor;
      return true;
    }
  return false;
}
}  // namespace

IMPLEMENT_PUBLISHED_CLASS(TControl) {
  P.Property<&TControl::Left, &TControl::SetLeft>(L"Left").NoDefault();
  P.Property<&TControl::Top, &TControl::SetTop>(L"Top").NoDefault();
  P.Property<&TControl::Width, &TControl::SetWidth>(L"Width").NoDefault();
  P.Property<&TControl::Height, &TControl::SetHeight>(L"Height").NoDefault();
  P.Property<&TControl::Align, &TControl::SetAlign>(L"Align", AlignInfo).Default(alNone);
  P.Property<&TControl::Anchors, &TControl::SetAnchors>(L"Anchors", AnchorInfo)
      .Default(TAnchors{akLeft, akTop});
  P.Property<&TControl::Constraints>(L"Constraints");
  P.Property<&TControl::Touch, &TControl::SetTouch>(L"Touch");
  P.Property<&TControl::Visible, &TControl::SetVisible>(L"Visible")
      .Default(1)
      .Stored<&TControl::IsVisibleStored>();
  P.Property<&TControl::Enabled, &TControl::SetEnabled>(L"Enabled")
      .Default(1)
      .Stored<&TControl::IsEnabledStored>();
  P.Property<&TControl::Font, &TControl::SetFont>(L"Font");
  P.Property<&TControl::ParentFont, &TControl::SetParentFont>(L"ParentFont").Default(1);
  P.Property<&TControl::Color, &TControl::SetColor>(L"Color").NoDefault().Idents(&IdentToColor,
                                                                                 &ColorToIdent);
  P.Property<&TControl::ParentColor, &TControl::SetParentColor>(L"ParentColor").Default(1);
  P.Property<&TControl::Action, &TControl::SetAction>(L"Action");
  P.Property<&TControl::Caption, &TControl::SetCaption>(L"Caption")
      .Stored<&TControl::IsCaptionStored>();
  P.Property<&TControl::Text, &TControl::SetTextProp>(L"Text");
  P.Property<&TControl::Hint, &TControl::SetHint>(L"Hint").Stored<&TControl::IsHintStored>();
  P.Property<&TControl::HelpContext, &TControl::SetHelpContext>(L"HelpContext").Default(0);
  P.Property<&TControl::ShowHint, &TControl::SetShowHint>(L"ShowHint").Default(0);
  P.Property<&TControl::ParentShowHint, &TControl::SetParentShowHint>(L"ParentShowHint").Default(1);
  P.Property<&TControl::Cursor, &TControl::SetCursor>(L"Cursor").Default(crDefault).Idents(
      &IdentToCursor, &CursorToIdent);
  P.Property<&TControl::PopupMenu, &TControl::SetPopupMenu>(L"PopupMenu");
  P.Property<&TControl::BiDiMode, &TControl::SetBiDiMode>(L"BiDiMode", BiDiInfo).Default(0);
  P.Property<&TControl::ParentBiDiMode, &TControl::SetParentBiDiMode>(L"ParentBiDiMode").Default(1);
  P.Property<&TControl::GetOnClick, &TControl::SetOnClick>(L"OnClick")
      .Stored<&TControl::IsOnClickStored>();
  P.Property<&TControl::GetOnDblClick, &TControl::SetOnDblClick>(L"OnDblClick");
  P.Property<&TControl::GetOnContextPopup, &TControl::SetOnContextPopup>(L"OnContextPopup");
  P.Property<&TControl::GetOnMouseDown, &TControl::SetOnMouseDown>(L"OnMouseDown");
  P.Property<&TControl::GetOnMouseUp, &TControl::SetOnMouseUp>(L"OnMouseUp");
  P.Property<&TControl::GetOnMouseMove, &TControl::SetOnMouseMove>(L"OnMouseMove");
  P.Property<&TControl::GetOnResize, &TControl::SetOnResize>(L"OnResize");
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner),
      FFont(Create<TFont>()),
      FConstraints(Create<TSizeConstraints>(static_cast<TPersistent*>(this))),
      FTouch(Create<TTouchSettings>(static_cast<TPersistent*>(this))) {
  WindowProc = MakeEvent<&TControl::WndProc>(this);
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = MakeEvent<&TControl::FontChanged>(this);
  FConstraints->OnChange = MakeEvent<&TControl::ConstraintsChanged>(this);
  FCurrentPPI = Screen() ? Screen()->PixelsPerInch() : cxDefaultDPI;
  FFont->SetPixelsPerInch(FCurrentPPI);
}

TControl::~TControl() = default;

void TControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  // The application keeps the control under the mouse, the one that has a
  // hint coming and the capturing one: none of them may outlive it.
  if (Application()) Application()->ControlDestroyed(this);
  // A drag of this control, or over it, must not outlive it either.
  DragControlDestroyed(this);
  if (FParent) FParent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M{Msg, WParam, LParam, 0};
  WindowProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
    if (!FEnabled && Message.Msg != WM_MOUSEMOVE) return;
  }
  // A press on a control dragged automatically drags it (once the pointer
  // has moved the system's distance) instead of pressing it.
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) &&
      FDragMode == dmAutomatic && !ComponentState().Contains(csDesigning)) {
    BeginDrag(false);
    return;
  }
  Dispatch(Message);
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      String T = FText;
      size_t N = std::min<size_t>(T.size(), Message.WParam ? Message.WParam - 1 : 0);
      if (Message.LParam && Message.WParam) {
        auto* Buf = reinterpret_cast<wchar_t*>(Message.LParam);
        std::copy_n(T.c_str(), N, Buf);
        Buf[N] = 0;
      }
      Message.Result = static_cast<LRESULT>(N);
      break;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(FText.size());
      break;
    case WM_SETTEXT:
      FText = Message.LParam ? reinterpret_cast<const wchar_t*>(Message.LParam) : L"";
      Perform(CM_TEXTCHANGED);
      Message.Result = 1;
      break;
    default:
      break;
  }
}

constinit const TMessageTableEntry TControl::FMessageEntries[] = {
    {WM_LBUTTONDOWN, MessageHandler<&TControl::WMLButtonDown>},
    {WM_RBUTTONDOWN, MessageHandler<&TControl::WMRButtonDown>},
    {WM_MBUTTONDOWN, MessageHandler<&TControl::WMMButtonDown>},
    {WM_LBUTTONDBLCLK, MessageHandler<&TControl::WMLButtonDblClk>},
    {WM_RBUTTONDBLCLK, MessageHandler<&TControl::WMRButtonDblClk>},
    {WM_LBUTTONUP, MessageHandler<&TControl::WMLButtonUp>},
    {WM_RBUTTONUP, MessageHandler<&TControl::WMRButtonUp>},
    {WM_MBUTTONUP, MessageHandler<&TControl::WMMButtonUp>},
    {WM_MOUSEMOVE, MessageHandler<&TControl::WMMouseMove>},
    {WM_CONTEXTMENU, MessageHandler<&TControl::WMContextMenu>},
    {WM_MOUSEWHEEL, MessageHandler<&TControl::WMMouseWheel>},
    {WM_CANCELMODE, MessageHandler<&TControl::WMCancelMode>},
    {CM_HITTEST, MessageHandler<&TControl::CMHitTest>},
    {CM_MOUSEENTER, MessageHandler<&TControl::CMMouseEnter>},
    {CM_MOUSELEAVE, MessageHandler<&TControl::CMMouseLeave>},
    {CM_ENABLEDCHANGED, MessageHandler<&TControl::CMEnabledChanged>},
    {CM_TEXTCHANGED, MessageHandler<&TControl::CMTextChanged>},
    {CM_COLORCHANGED, MessageHandler<&TControl::CMColorChanged>},
    {CM_FONTCHANGED, MessageHandler<&TControl::CMFontChanged>},
    {CM_VISIBLECHANGED, MessageHandler<&TControl::CMVisibleChanged>},
    {CM_PARENTFONTCHANGED, MessageHandler<&TControl::CMParentFontChanged>},
    {CM_PARENTCOLORCHANGED, MessageHandler<&TControl::CMParentColorChanged>},
    {CM_PARENTSHOWHINTCHANGED, MessageHandler<&TControl::CMParentShowHintChanged>},
    {CM_PARENTBIDIMODECHANGED, MessageHandler<&TControl::CMParentBiDiModeChanged>},
    {CM_GESTURE, MessageHandler<&TControl::CMGesture>},
    {CM_DRAG, MessageHandler<&TControl::CMDrag>},
};
constinit const TMessageTable TControl::FMessageTable{nullptr, TControl::FMessageEntries,
                                                      std::size(TControl::FMessageEntries)};

void TControl::Dispatch(TMessage& Message) {
  if (TMessageThunk Handler = FindMessageHandler(MessageTable(), Message.Msg))
    Handler(this, Message);
  else
    DefaultHandler(Message);
}

void TControl::CMGesture(TMessage& Message) {
  bool Handled = false;
  if (Message.LParam) DoGesture(*reinterpret_cast<TGestureEventInfo*>(Message.LParam), Handled);
  Message.Result = Handled ? 1 : 0;
}

void TControl::DoGesture(const TGestureEventInfo&, bool&) {}

void TControl::DoGetGestureOptions(TInteractiveGestures& Gestures,
                                   TInteractiveGestureOptions& Options) {
  Gestures = FTouch->InteractiveGestures();
  Options = FTouch->InteractiveGestureOptions();
}

TGestureConfigRoutines& GestureConfigRoutines() {
  static TGestureConfigRoutines Routines;
  return Routines;
}

void TControl::WMLButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  CaptureMouseOnPress();
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMRButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {});
}

void TControl::WMMButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  CaptureMouseOnPress();
  if (FControlStyle.Contains(csDoubleClicks)) {
    DoMouseDown(Message, mbLeft, {ssDouble});
    DblClick();
  } else {
    DoMouseDown(Message, mbLeft, {});
  }
}

void TControl::WMRButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  ReleaseMouseOnRelease();
  DoMouseUp(Message, mbLeft);
}

// A windowed control that asks for it keeps the mouse from the press of the
// left button to its release, so that it sees the moves and the release
// outside its window. Graphic children are captured by their parent.
void TControl::CaptureMouseOnPress() {
  if (!FControlStyle.Contains(csCaptureMouse)) return;
  if (auto* W = AsOrNull<TWinControl>(this);
      W && W->HandleAllocated() && GetCapture() != W->FHandle)
    SetCapture(W->FHandle);
}

void TControl::ReleaseMouseOnRelease() {
  if (!FControlStyle.Contains(csCaptureMouse)) return;
  if (auto* W = AsOrNull<TWinControl>(this);
      W && W->HandleAllocated() && GetCapture() == W->FHandle)
    ReleaseCapture();
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  if (Application()) Application()->HintMouseMessage(this, Message);
  const TPoint P = MouseMessagePos(Message);
  MouseMove(MouseShift(Message.WParam), P.x, P.y);
}

void TControl::WMContextMenu(TMessage& Message) {
  TPoint Pt = SmallPointToPoint(Message.LParam);
  const bool FromKeyboard = Pt.x == -1 && Pt.y == -1;
  bool Handled = false;
  DoContextPopup(FromKeyboard ? Point(-1, -1) : ScreenToClient(Pt), Handled);
  if (Handled) {
    Message.Result = 1;
    return;
  }
  if (TPopupMenuBase* Menu = GetPopupMenu(); Menu && Menu->AutoPopup()) {
    if (FromKeyboard) Pt = ClientToScreen(Point(0, 0));
    Menu->PopupComponent = this;
    Menu->Popup(Pt.x, Pt.y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::WMMouseWheel(TMessage& Message) {
  TPoint Pt = SmallPointToPoint(Message.LParam);
  if (DoMouseWheel(KeysToShiftState(LOWORD(Message.WParam)),
                   static_cast<SHORT>(HIWORD(Message.WParam)), Pt)) {
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::WMCancelMode(TMessage&) {
  if (FControlState.Contains(csLButtonDown)) {
    FControlState.Exclude(csLButtonDown).Exclude(csClicked);
    if (GetCapture() == GetDeviceContextWindow()) ReleaseCapture();
  }
}

void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

// The pointer entering or leaving a control is told to its parents too,
// with the control in LParam (0 from the sender means this control), so
// that a composite control hears of its parts; the events fire only for the
// control itself.
void TControl::CMMouseEnter(TMessage& Message) {
  const LPARAM Origin = Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this);
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, Origin);
  if (Origin == reinterpret_cast<LPARAM>(this) && OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& Message) {
  const LPARAM Origin = Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this);
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, Origin);
  if (Origin == reinterpret_cast<LPARAM>(this) && OnMouseLeave) OnMouseLeave(this);
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) {}

void TControl::CMParentFontChanged(TMessage&) {
  if (FParentFont && FParent) {
    FFont->Assign(FParent->Font());
    FParentFont = true;
  }
}

void TControl::CMParentColorChanged(TMessage&) {
  if (FParentColor && FParent) {
    SetColor(FParent->Color());
    FParentColor = true;
  }
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent) FShowHint = FParent->ShowHint();
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
  if (FParentBiDiMode && FParent) {
    FBiDiMode = FParent->BiDiMode();
    Perform(CM_BIDIMODECHANGED);
  }
}

Word TControl::UIState() const { return FParent ? FParent->UIState() : 0; }

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  const TPoint P = MouseMessagePos(Message);
  Integer X = P.x, Y = P.y;
  if (Button == mbLeft && !Shift.Contains(ssDouble)) {
    // Click is raised on the button's release inside the control.
    if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
    FControlState.Include(csLButtonDown);
  }
  MouseDown(Button, MouseShift(Message.WParam) + Shift, X, Y);
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  const TPoint P = MouseMessagePos(Message);
  Integer X = P.x, Y = P.y;
  if (Button == mbLeft) {
    bool Clicked = FControlState.Contains(csClicked);
    FControlState.Exclude(csLButtonDown).Exclude(csClicked);
    if (Clicked && PtInRect(ClientRect(), Point(X, Y))) Click();
  }
  MouseUp(Button, MouseShift(Message.WParam), X, Y);
}

TPoint TControl::MouseMessagePos(const TMessage& Message) {
  return SmallPointToPoint(Message.LParam);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Click() {
  // A handler of the control's own runs instead of the action; the action's
  // OnExecute as click handler is the action itself.
  TBasicAction* A = Action();
  if (OnClick && A && OnClick != A->OnExecute())
    OnClick(this);
  else if (FActionLink && !ComponentState().Contains(csDesigning))
    FActionLink->Execute(this);
  else if (OnClick)
    OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) {
  bool Handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
  return Handled;
}

TPopupMenuBase* TControl::GetPopupMenu() { return AsOrNull<TPopupMenuBase>(FPopupMenu); }

void TControl::SetPopupMenu(TComponent* V) {
  if (V == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = V;
  if (V) V->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
  // A link whose action went away (the action unlinks before it notifies)
  // goes with it.
  if (Operation == opRemove && FActionLink && AsOrNull<TBasicAction>(AComponent) &&
      (AComponent == Action() || !Action())) {
    // The click handler the action lent goes with it: a click must not run
    // the handler of an action that no longer exists.
    if (OnClick && OnClick == static_cast<TBasicAction*>(AComponent)->OnExecute())
      OnClick = nullptr;
    SetAction(nullptr);
  }
}

// --- actions ---------------------------------------------------------------
TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

TClass TControl::GetActionLinkClass() { return TControlActionLink::StaticClass(); }

void TControl::SetAction(TBasicAction* Value) {
  if (!Value) {
    if (TBasicAction* Old = Action()) Old->RemoveFreeNotification(this);
    FActionLink.reset();
    FControlStyle.Exclude(csActionClient);
    return;
  }
  FControlStyle.Include(csActionClient);
  if (!FActionLink) FActionLink.reset(As<TControlActionLink>(GetActionLinkClass()->Create(this)));
  if (TBasicAction* Old = Action(); Old && Old != Value) Old->RemoveFreeNotification(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = MakeEvent<&TControl::DoActionChange>(this);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TControl::DoActionChange(TObject* Sender) {
  if (Sender && Sender == Action()) ActionChange(Sender, false);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* A = AsOrNull<TCustomAction>(Sender);
  if (!A) return;
  if (!CheckDefaults || Caption().empty() || Caption() == Name()) SetCaption(A->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(A->Enabled());
  if (!CheckDefaults || Hint().empty()) SetHint(A->Hint());
  if (!CheckDefaults || Visible()) SetVisible(A->Visible());
  if (!CheckDefaults || !OnClick) OnClick = A->OnExecute();
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

bool TControl::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TControl::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TControl::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TControl::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TControl::IsOnClickStored() const { return !FActionLink || !FActionLink->IsOnExecuteLinked(); }

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TControlActionLink)

void TControlActionLink::AssignClient(TObject* AClient) { FClient = As<TControl>(AClient); }

bool TControlActionLink::IsCaptionLinked() {
  return inherited::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
  return inherited::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
  return inherited::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
  return inherited::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() {
  return inherited::IsOnExecuteLinked() && FAction && FClient->OnClick == FAction->OnExecute();
}

void TControlActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const String& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

void TControlActionLink::SetOnExecute(TNotifyEvent Value) {
  if (IsOnExecuteLinked()) FClient->OnClick = Value;
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }
bool TControl::HasParent() const { return true; }
void TControl::SetParentComponent(TComponent* Value) {
  if (auto* W = AsOrNull<TWinControl>(Value)) SetParent(W);
}

TCustomForm* TControl::GetParentForm() const {
  const TControl* C = this;
  while (C->FParent) C = C->FParent;
  return AsOrNull<TCustomForm>(const_cast<TControl*>(C));
}

void TControl::Loaded() {
  inherited::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED);
    if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED);
    if (FParentBiDiMode) Perform(CM_PARENTBIDIMODECHANGED);
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::ConstrainSize(Integer& AWidth, Integer& AHeight) {
  if (FConstraints->MinWidth() > 0 && AWidth < FConstraints->MinWidth())
    AWidth = FConstraints->MinWidth();
  if (FConstraints->MaxWidth() > 0 && AWidth > FConstraints->MaxWidth())
    AWidth = FConstraints->MaxWidth();
  if (FConstraints->MinHeight() > 0 && AHeight < FConstraints->MinHeight())
    AHeight = FConstraints->MinHeight();
  if (FConstraints->MaxHeight() > 0 && AHeight > FConstraints->MaxHeight())
    AHeight = FConstraints->MaxHeight();
}

void TControl::ConstraintsChanged(TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); }

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  ConstrainSize(AWidth, AHeight);
  if (!CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool SizeChanged = AWidth != FWidth || AHeight != FHeight;
  if (FParent && FVisible)
    InvalidateRect(FParent->HandleAllocated() ? FParent->Handle() : nullptr, nullptr, FALSE);
  DoSetBounds(ALeft, ATop, AWidth, AHeight);
  if (!FAnchoring) UpdateAnchorRules();
  RequestAlign();
  Invalidate();
  if (SizeChanged && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::DoSetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
}

void TControl::UpdateBoundsRect(const TRect& R) {
  FLeft = R.left;
  FTop = R.top;
  FWidth = RectWidth(R);
  FHeight = RectHeight(R);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

TRect TControl::ClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(Integer V) { SetWidth(V + FWidth - ClientWidth()); }
void TControl::SetClientHeight(Integer V) { SetHeight(V + FHeight - ClientHeight()); }

TPoint TWinControl::ClientOrigin() {
  POINT P{0, 0};
  ::ClientToScreen(Handle(), &P);
  return P;
}

TPoint TControl::ClientOrigin() {
  // A window knows its own place on the screen (a form has no parent).
  if (auto* W = AsOrNull<TWinControl>(this); W && (W->HandleAllocated() || !FParent)) {
    POINT P{0, 0};
    ::ClientToScreen(W->Handle(), &P);
    return Point(P.x, P.y);
  }
  if (!FParent) throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
  TPoint P = FParent->ClientOrigin();
  return Point(P.x + FLeft, P.y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& P) {
  TPoint O = ClientOrigin();
  return Point(P.x + O.x, P.y + O.y);
}

TPoint TControl::ScreenToClient(const TPoint& P) {
  TPoint O = ClientOrigin();
  return Point(P.x - O.x, P.y - O.y);
}

TPoint TControl::ClientToParent(const TPoint& P, TWinControl* AParent) {
  if (!AParent) AParent = FParent;
  TPoint R = P;
  for (TControl* C = this; C && C != AParent; C = C->FParent) {
    if (!C->FParent) throw EInvalidOperation(L"Control is not a child of the given parent");
    R.x += C->FLeft;
    R.y += C->FTop;
  }
  return R;
}

void TControl::SetAlign(TAlign V) {
  if (V == FAlign) return;
  TAlign Old = FAlign;
  FAlign = V;
  FAnchors = AnchorAlign[V];
  if (Old == alNone || V == alNone) UpdateAnchorRules();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors V) {
  if (V == FAnchors) return;
  FAnchors = V;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!FParent || FAnchoring) return;
  TRect R = FParent->ClientRect();
  FAnchorParentSize = Size(RectWidth(R), RectHeight(R));
  FAnchorMargins = Rect(FLeft, FTop, FAnchorParentSize.cx - FLeft - FWidth,
                        FAnchorParentSize.cy - FTop - FHeight);
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::SetVisible(bool V) {
  if (V == FVisible) return;
  VisibleChanging();
  FVisible = V;
  Perform(CM_VISIBLECHANGED, V);
  RequestAlign();
}

bool TControl::Showing() { return FVisible && (!FParent || FParent->Showing()); }

void TControl::SetEnabled(bool V) {
  if (V == FEnabled) return;
  FEnabled = V;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetParentFont(bool V) {
  if (V == FParentFont) return;
  FParentFont = V;
  if (V && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor V) {
  if (V == FColor) {
    FParentColor = false;
    return;
  }
  FColor = V;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool V) {
  if (V == FParentColor) return;
  FParentColor = V;
  if (V && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

String TControl::GetText() {
  Integer Len = static_cast<Integer>(Perform(WM_GETTEXTLENGTH));
  if (Len <= 0) return String();
  std::vector<wchar_t> Buf(static_cast<size_t>(Len) + 1, 0);
  Perform(WM_GETTEXT, static_cast<WPARAM>(Len) + 1, reinterpret_cast<LPARAM>(Buf.data()));
  return String(Buf.data());
}

void TControl::SetText(const String& V) {
  if (V == GetText()) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(V.c_str()));
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool V) {
  if (V == FShowHint && !FParentShowHint) return;
  FShowHint = V;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool V) {
  if (V == FParentShowHint) return;
  FParentShowHint = V;
  if (V && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor V) {
  if (V == FCursor) return;
  FCursor = V;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode V) {
  if (V == FBiDiMode) return;
  FBiDiMode = V;
  FParentBiDiMode = false;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool V) {
  if (V == FParentBiDiMode) return;
  FParentBiDiMode = V;
  if (V && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED);
}

bool TControl::IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
bool TControl::UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
bool TControl::UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
bool TControl::UseRightToLeftScrollBar() const {
  return FBiDiMode == bdRightToLeft || FBiDiMode == bdRightToLeftNoAlign;
}

Integer TControl::DrawTextBiDiModeFlags(Integer Flags) const {
  if (UseRightToLeftAlignment()) {
    if ((Flags & (DT_LEFT | DT_RIGHT | DT_CENTER)) == DT_LEFT || (Flags & 3) == 0)
      Flags = (Flags & ~(DT_LEFT | DT_CENTER)) | DT_RIGHT;
    else if (Flags & DT_RIGHT)
      Flags = Flags & ~DT_RIGHT;
  }
  if (UseRightToLeftReading()) Flags |= DT_RTLREADING;
  return Flags;
}

HWND TControl::GetDeviceContextWindow() const {
  return FParent ? FParent->GetDeviceContextWindow() : nullptr;
}

void TControl::Invalidate() {
  if (FVisible && FParent && FParent->HandleAllocated()) {
    TRect R = BoundsRect();
    InvalidateRect(FParent->Handle(), &R, !FControlStyle.Contains(csOpaque));
  }
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (FVisible && FParent && FParent->HandleAllocated()) {
    Invalidate();
    FParent->Update();
  }
}

void TControl::BringToFront() {
  if (!FParent) return;
  if (auto* W = AsOrNull<TWinControl>(this)) {
    W->SetZOrder(true);
    return;
  }
  auto& L = FParent->FControls;
  auto It = std::find(L.begin(), L.end(), this);
  if (It != L.end()) {
    L.erase(It);
    L.push_back(this);
  }
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  if (auto* W = AsOrNull<TWinControl>(this)) {
    W->SetZOrder(false);
    return;
  }
  auto& L = FParent->FControls;
  auto It = std::find(L.begin(), L.end(), this);
  if (It != L.end()) {
    L.erase(It);
    L.insert(L.begin(), this);
  }
  Invalidate();
}

void TControl::ChangeScale(Integer M, Integer D) {
  if (M == D) return;
  Integer X = MulDiv(FLeft, M, D), Y = MulDiv(FTop, M, D);
  Integer W = MulDiv(FLeft + FWidth, M, D) - X, H = MulDiv(FTop + FHeight, M, D) - Y;
  auto ScaleLimit = [&](Integer V) { return V > 0 ? MulDiv(V, M, D) : V; };
  FConstraints->SetMinWidth(ScaleLimit(FConstraints->MinWidth()));
  FConstraints->SetMaxWidth(ScaleLimit(FConstraints->MaxWidth()));
  FConstraints->SetMinHeight(ScaleLimit(FConstraints->MinHeight()));
  FConstraints->SetMaxHeight(ScaleLimit(FConstraints->MaxHeight()));
  // A parent's font takes only the new resolution: the parent's, copied in
  // later, brings its own scaled height.
  if (FParentFont) {
    FFont->SetPixelsPerInch(MulDiv(FFont->PixelsPerInch(), M, D));
  } else {
    FFont->ChangeScale(M, D);
    FParentFont = false;
  }
  FCurrentPPI = MulDiv(FCurrentPPI, M, D);
  SetBounds(X, Y, W, H);
}

void TControl::ScaleForPPI(Integer NewPPI) {
  if (NewPPI == FCurrentPPI || NewPPI <= 0) return;
  Integer Old = FCurrentPPI;
  ChangeScale(NewPPI, Old);
  FCurrentPPI = NewPPI;
}

void TControl::SendCancelMode(TControl* Sender) {
  TControl* C = this;
  while (C) {
    if (auto* F = AsOrNull<TCustomForm>(C)) F->SendCancelMode(Sender);
    C = C->FParent;
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TPopupMenuBase)

// ---------------------------------------------------------------------------
// Window procedures. The class procedure sees the first message of a new
// window and binds it to the control being created; from then on every
// message goes through the standard procedure to the control's WindowProc.
// No exception leaves either: the boundary hands it to the application.
LRESULT CALLBACK FrameworkStdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) noexcept {
  auto* Control = static_cast<TWinControl*>(GetPropW(Wnd, ControlProp));
  if (!Control) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  TMessage M{Msg, WParam, LParam, 0};
  CallbackBoundary(Control, [&] { Control->WindowProc(M); });
  if (Msg == WM_NCDESTROY) {
    RemovePropW(Wnd, ControlProp);
    if (Control->FHandle == Wnd) Control->FHandle = nullptr;
  }
  return M.Result;
}

LRESULT CALLBACK FrameworkInitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) noexcept {
  TWinControl* Control = CreationControl;
  if (!Control) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  CreationControl = nullptr;
  Control->FHandle = Wnd;
  SetPropW(Wnd, ControlProp, Control);
  SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkStdWndProc));
  return FrameworkStdWndProc(Wnd, Msg, WParam, LParam);
}

TWinControl* TWinControl::FindControl(HWND AWnd) {
  if (!AWnd) return nullptr;
  DWORD Pid = 0;
  GetWindowThreadProcessId(AWnd, &Pid);
  if (Pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(AWnd, ControlProp));
}

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TWinControl) {
  P.Property<&TWinControl::TabStop, &TWinControl::SetTabStop>(L"TabStop").Default(0);
  P.Property<&TWinControl::TabOrder, &TWinControl::SetTabOrder>(L"TabOrder").Default(-1);
  P.Property<&TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered>(L"DoubleBuffered")
      .Default(0);
  P.Property<&TWinControl::ParentBackground, &TWinControl::SetParentBackground>(L"ParentBackground")
      .Stored(false);
  P.Property<&TWinControl::Ctl3D, &TWinControl::SetCtl3D>(L"Ctl3D").Default(1);
  P.Property<&TWinControl::GetOnKeyDown, &TWinControl::SetOnKeyDown>(L"OnKeyDown");
  P.Property<&TWinControl::GetOnKeyPress, &TWinControl::SetOnKeyPress>(L"OnKeyPress");
  P.Property<&TWinControl::GetOnEnter, &TWinControl::SetOnEnter>(L"OnEnter");
  P.Property<&TWinControl::GetOnExit, &TWinControl::SetOnExit>(L"OnExit");
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(Create<TBrush>()) {
  FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() { CloseThemes(); }

void TWinControl::BeforeDestruction() {
  // Children go first, while this control and its window still exist.
  inherited::BeforeDestruction();
  while (!FWinControls.empty()) {
    TWinControl* C = FWinControls.back();
    RemoveControl(C);
  }
  while (!FControls.empty()) RemoveControl(FControls.back());
  if (FHandle) DestroyHandle();
}

TControl* TWinControl::Controls(Integer Index) const {
  size_t I = static_cast<size_t>(Index);
  if (Index < 0 || I >= FControls.size() + FWinControls.size())
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
  if (I < FControls.size()) return FControls[I];
  return FWinControls[I - FControls.size()];
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->ValidateContainer(this);
  if (auto* W = AsOrNull<TWinControl>(AControl)) {
    FWinControls.push_back(W);
    FTabList.push_back(W);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
  if (!AControl->ComponentState().Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->Perform(CM_PARENTBIDIMODECHANGED);
    if (auto* W = AsOrNull<TWinControl>(AControl)) {
      W->UpdateAnchorRules();
      if (W->FHandle) {
        ::SetParent(W->FHandle, HandleAllocated() ? FHandle : nullptr);
      }
      W->UpdateControlState();
    } else {
      AControl->UpdateAnchorRules();
      AControl->Invalidate();
    }
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* W = AsOrNull<TWinControl>(AControl)) {
    if (TCustomForm* F = GetParentForm()) F->DefocusControl(W, true);
    W->FShowing = false;
    // A child window cannot outlive its parent window.
    if (W->FHandle) W->DestroyHandle();
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), W),
                       FWinControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), W), FTabList.end());
  } else {
    AControl->Invalidate();
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  }
  AControl->FParent = nullptr;
  Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* C = Control; C; C = C->FParent)
    if (C == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
  auto Hit = [&](TControl* C) {
    if (!C->Visible() || !(C->Enabled() || AllowDisabled)) return false;
    TPoint P = Point(Pos.x - C->Left(), Pos.y - C->Top());
    return PtInRect(Rect(0, 0, C->Width(), C->Height()), P) &&
           C->Perform(CM_HITTEST, 0, MAKELPARAM(P.x, P.y)) != 0;
  };
  if (AllowWinControls)
    for (auto It = FWinControls.rbegin(); It != FWinControls.rend(); ++It)
      if (Hit(*It)) return *It;
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It)
    if (Hit(*It)) return *It;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  // A copy: a handler may change the lists.
  std::vector<TControl*> All(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* C : All) {
    C->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage M{Msg, 0, 0, 0};
  Broadcast(M);
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TControl* C : FControls)
    if (C->Owner() == Root) Proc(C);
  for (TWinControl* C : FWinControls)
    if (C->Owner() == Root) Proc(C);
}

// --- alignment -------------------------------------------------------------
void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0) {
    if (FControlState.Contains(csAlignmentNeeded)) Realign();
  }
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  if (AlignDisabled()) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  // Not EnableAlign: that would align once more.
  auto Enable = Finally([&] { --FAlignLevel; });
  DoAlignControls();
  FControlState.Exclude(csAlignmentNeeded);
}

void TWinControl::DoAlignControls() {
  if (FControlState.Contains(csAligning)) return;
  FControlState.Include(csAligning);
  auto Done = Finally([&] { FControlState.Exclude(csAligning); });
  TRect R = ClientRect();
  AdjustClientRect(R);
  AlignControls(nullptr, R);
}

void TWinControl::AdjustClientRect(TRect&) {}

// Places one control: aligned ones take their side of the remaining area,
// anchored ones keep their distances to the anchored edges.
void AnchorAndAlignControl(TControl* C, const TRect& ParentClient, bool Anchoring) {
  Integer PW = RectWidth(ParentClient), PH = RectHeight(ParentClient);
  if (!Anchoring || C->FAnchorParentSize.cx <= 0 || C->FAnchorParentSize.cy <= 0) return;
  TAnchors A = C->Anchors();
  Integer L = C->Left(), T = C->Top(), W = C->Width(), H = C->Height();
  const TRect& M = C->FAnchorMargins;
  if (A.Contains(akRight)) {
    if (A.Contains(akLeft))
      W = PW - M.left - M.right;
    else
      L = PW - M.right - W;
  } else if (!A.Contains(akLeft)) {
    L = MulDiv(M.left + W / 2, PW, C->FAnchorParentSize.cx) - W / 2;
  }
  if (A.Contains(akBottom)) {
    if (A.Contains(akTop))
      H = PH - M.top - M.bottom;
    else
      T = PH - M.bottom - H;
  } else if (!A.Contains(akTop)) {
    T = MulDiv(M.top + H / 2, PH, C->FAnchorParentSize.cy) - H / 2;
  }
  C->FAnchoring = true;
  auto Done = Finally([&] { C->FAnchoring = false; });
  C->SetBounds(L, T, std::max(W, 0), std::max(H, 0));
}

void TWinControl::AlignControls(TControl*, TRect& Rect) {
  std::vector<TControl*> All(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  TRect Client = ClientRect();
  // Anchored (not aligned) controls first: they do not take space.
  for (TControl* C : All)
    if (C->Visible() && C->Align() == alNone && C->Anchors() != TAnchors{akLeft, akTop})
      AnchorAndAlignControl(C, Client, true);
  auto Place = [&](TControl* C, TAlign A) {
    Integer W = C->Width(), H = C->Height();
    Integer L = Rect.left, T = Rect.top;
    switch (A) {
      case alTop:
        W = RectWidth(Rect);
        Rect.top += H;
        break;
      case alBottom:
        W = RectWidth(Rect);
        T = Rect.bottom - H;
        Rect.bottom -= H;
        break;
      case alLeft:
        H = RectHeight(Rect);
        Rect.left += W;
        break;
      case alRight:
        H = RectHeight(Rect);
        L = Rect.right - W;
        Rect.right -= W;
        break;
      case alClient:
        W = RectWidth(Rect);
        H = RectHeight(Rect);
        break;
      default:
        return;
    }
    C->FAnchoring = true;
    C->SetBounds(L, T, std::max(W, 0), std::max(H, 0));
    C->FAnchoring = false;
    // Constraints may have kept the control smaller than its side.
    if (A == alTop && C->Height() != H) Rect.top += C->Height() - H;
    if (A == alLeft && C->Width() != W) Rect.left += C->Width() - W;
  };
  for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient}) {
    // Controls of one side in their order along that side.
    std::vector<TControl*> Side;
    for (TControl* C : All)
      if (C->Visible() && C->Align() == A) Side.push_back(C);
    std::stable_sort(Side.begin(), Side.end(), [A](TControl* X, TControl* Y) {
      switch (A) {
        case alTop:
          return X->Top() < Y->Top();
        case alBottom:
          return X->Top() + X->Height() > Y->Top() + Y->Height();
        case alLeft:
          return X->Left() < Y->Left();
        case alRight:
          return X->Left() + X->Width() > Y->Left() + Y->Width();
        default:
          return false;
      }
    });
    for (TControl* C : Side) Place(C, A);
  }
}

// --- window ------------------------------------------------------------
void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (UseRightToLeftReading()) Params.ExStyle |= WS_EX_RTLREADING;
  if (UseRightToLeftScrollBar()) Params.ExStyle |= WS_EX_LEFTSCROLLBAR;
  if (UseRightToLeftAlignment()) Params.ExStyle |= WS_EX_RIGHT;
  if (FControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  // No CS_HREDRAW | CS_VREDRAW: a resize repaints what it uncovers only; a
  // class whose painting depends on its size asks for them itself.
  Params.WindowClass.style = CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &DefWindowProcW;
  Params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  Params.WindowClass.hInstance = GetModuleHandleW(nullptr);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName) {
  HINSTANCE Save = Params.WindowClass.hInstance;
  if (!GetClassInfoW(nullptr, ControlClassName, &Params.WindowClass))
    GetClassInfoW(Save, ControlClassName, &Params.WindowClass);
  Params.WindowClass.hInstance = Save;
  // The system class's own redraw styles stay what they are.
  Params.WindowClass.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if (!Params.WndParent && (Params.Style & WS_CHILD))
    throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
  FDefWndProc = Params.WindowClass.lpfnWndProc;
  WNDCLASSW Existing{};
  bool Registered =
      GetClassInfoW(Params.WindowClass.hInstance, Params.WinClassName.c_str(), &Existing);
  if (!Registered || Existing.lpfnWndProc != &FrameworkInitWndProc) {
    if (Registered) UnregisterClassW(Params.WinClassName.c_str(), Params.WindowClass.hInstance);
    WNDCLASSW Cls = Params.WindowClass;
    Cls.lpfnWndProc = &FrameworkInitWndProc;
    Cls.lpszClassName = Params.WinClassName.c_str();
    if (!RegisterClassW(&Cls)) RaiseWindowCreateError(Params.WinClassName);
  }
  {
    CreationControl = this;
    auto Done = Finally([] { CreationControl = nullptr; });
    CreateWindowHandle(Params);
  }
  if (!FHandle) RaiseWindowCreateError(Params.WinClassName);
  if ((GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrW(FHandle, GWLP_ID) == 0)
    SetWindowLongPtrW(FHandle, GWLP_ID, reinterpret_cast<LONG_PTR>(FHandle));
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
  FUIState = InitialUIState();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HWND Wnd = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                             Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                             Params.WndParent, nullptr, Params.WindowClass.hInstance, Params.Param);
  if (Wnd && !FHandle) FHandle = Wnd;
}

void TWinControl::CreateHandle() {
  if (!FHandle) CreateWnd();
  if (FParent && FHandle) {
    // Keep the window's z-order that of the child list.
    auto It = std::find(FParent->FWinControls.begin(), FParent->FWinControls.end(), this);
    HWND After = HWND_TOP;
    for (auto J = It; J != FParent->FWinControls.end(); ++J)
      if (*J != this && (*J)->FHandle) {
        After = (*J)->FHandle;
        break;
      }
    SetWindowPos(FHandle, After, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::DestroyWnd() {
  // Keep the text: the window is the text's store while it exists.
  if (FHandle && FControlStyle.Contains(csSetCaption)) FText = TControl::GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  CloseThemes();
  FTrackedAreas = 0;
  // The window that heard the pointer enter goes: it leaves with it, so that
  // the next window (a recreated one) enters afresh and every enter has its
  // leave. Not while the control itself is being destroyed.
  if (std::exchange(FMouseInControl, false) && !ComponentState().Contains(csDestroying))
    Perform(CM_MOUSELEAVE);
  FControlState.Include(csDestroyingHandle);
  HWND Wnd = FHandle;
  if (Wnd) DestroyWindow(Wnd);
  FHandle = nullptr;
  FControlState.Exclude(csDestroyingHandle);
  FShowing = false;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* C : FWinControls)
    if (C->FHandle) C->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  FControlState.Include(csRecreating);
  DestroyHandle();
  FControlState.Exclude(csRecreating);
  UpdateControlState();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND V) {
  if (V == FParentWindow) return;
  FParentWindow = V;
  if (FHandle && !FParent) ::SetParent(FHandle, V);
  UpdateControlState();
}

TWinControl* TWinControl::CreateParented(TClass AClass, HWND ParentWindow) {
  auto* C = AsOrNull<TWinControl>(AClass->Create(nullptr));
  if (!C)
    throw EInvalidOperation(L"Cannot create a windowed control of class " + String(AClass->Name));
  C->SetParentWindow(ParentWindow);
  return C;
}

void TWinControl::UpdateShowing() {
  bool Show = FVisible && !ComponentState().Contains(csDestroying) &&
              !FControlState.Contains(csReadingState);
  if (Show) {
    if (!FHandle) CreateHandle();
    for (TWinControl* C : std::vector<TWinControl*>(FWinControls)) C->UpdateShowing();
  }
  if (FHandle && FShowing != Show) {
    FShowing = Show;
    auto Undo = Finally([&] { FShowing = !Show; });
    Perform(CM_SHOWINGCHANGED);
    Undo.Dismiss();
  }
  if (!Show)
    for (TWinControl* C : std::vector<TWinControl*>(FWinControls)) C->UpdateShowing();
}

void TWinControl::UpdateControlState() {
  TWinControl* Top = this;
  while (Top->FParent) {
    Top = Top->FParent;
    if (!Top->FShowing) return;
  }
  if (Top->IsTopLevelWindow() || Top->FParentWindow) UpdateShowing();
}

void TWinControl::ShowControl(TControl*) {}

TRect TWinControl::ClientRect() {
  if (FHandle) {
    RECT R;
    ::GetClientRect(FHandle, &R);
    return R;
  }
  return TControl::ClientRect();
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  ConstrainSize(AWidth, AHeight);
  if (!CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool SizeChanged = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FHandle && !IsIconic(FHandle))
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!FAnchoring) UpdateAnchorRules();
  RequestAlign();
  if (SizeChanged) {
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
  }
}

void TWinControl::UpdateBoundsRect(const TRect& R) { TControl::UpdateBoundsRect(R); }

void TWinControl::SetZOrder(bool TopMost) {
  if (!FParent) {
    // A top-level window brought to the front also becomes the active one,
    // so that a window shown over a disabled owner is the one in view.
    if (FHandle)
      SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | (TopMost ? 0 : SWP_NOACTIVATE));
    return;
  }
  auto& L = FParent->FWinControls;
  L.erase(std::remove(L.begin(), L.end(), this), L.end());
  if (TopMost)
    L.push_back(this);
  else
    L.insert(L.begin(), this);
  if (FHandle)
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::ChangeScale(Integer M, Integer D) {
  if (M == D) return;
  DisableAlign();
  auto Enable = Finally([&] { EnableAlign(); });
  std::vector<TControl*> All(FControls.begin(), FControls.end());
  All.insert(All.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* C : All) C->ChangeScale(M, D);
  TControl::ChangeScale(M, D);
  // Theme parts come at the DPI they were opened for.
  CloseThemes();
}

void TWinControl::ScaleForPPI(Integer NewPPI) {
  if (NewPPI == FCurrentPPI || NewPPI <= 0) return;
  Integer Old = FCurrentPPI;
  ChangeScale(NewPPI, Old);
  FCurrentPPI = NewPPI;
}

void TWinControl::ScrollBy(Integer DeltaX, Integer DeltaY) {
  if (DeltaX == 0 && DeltaY == 0) return;
  bool IsVisible = FHandle && IsWindowVisible(FHandle);
  // The platform moves the pixels and the child windows (they report their
  // new places through WM_WINDOWPOSCHANGED); the rest moves here.
  if (IsVisible)
    ScrollWindowEx(FHandle, DeltaX, DeltaY, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  for (TControl* C : FControls) {
    C->FLeft += DeltaX;
    C->FTop += DeltaY;
  }
  for (TWinControl* C : FWinControls) {
    if (!C->FHandle) {
      C->FLeft += DeltaX;
      C->FTop += DeltaY;
    } else if (!IsVisible) {
      SetWindowPos(C->FHandle, nullptr, C->FLeft + DeltaX, C->FTop + DeltaY, C->FWidth, C->FHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  for (TControl* C : FControls) C->UpdateAnchorRules();
  for (TWinControl* C : FWinControls) C->UpdateAnchorRules();
  Realign();
}

void TWinControl::PaintTo(HDC DC, Integer X, Integer Y) {
  if (!FHandle) return;
  TSaveDCGuard Save(DC);
  SetWindowOrgEx(DC, -X, -Y, nullptr);
  SendMessageW(FHandle, WM_PRINT, reinterpret_cast<WPARAM>(DC),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
}

void TWinControl::Loaded() {
  inherited::Loaded();
  if (FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::ReadState(TReader* Reader) {
  DisableAlign();
  auto Enable = Finally([&] { EnableAlign(); });
  inherited::ReadState(Reader);
}

void TWinControl::FontChanged(TObject* Sender) { TControl::FontChanged(Sender); }

void TWinControl::SetDoubleBuffered(bool V) {
  if (V == FDoubleBuffered) return;
  FDoubleBuffered = V;
  Invalidate();
}

void TWinControl::SetParentBackground(bool V) {
  if (V == ParentBackground()) return;
  if (V)
    FControlStyle.Include(csParentBackground);
  else
    FControlStyle.Exclude(csParentBackground);
  Invalidate();
}

// --- focus ------------------------------------------------------------
bool TWinControl::CanFocus() {
  TCustomForm* Form = GetParentForm();
  if (!Form) return false;
  // The form itself need not be showing yet: a dialog picks its active
  // control before it is shown.
  for (TWinControl* C = this; C != Form; C = C->FParent)
    if (!C || !C->FVisible || !C->FEnabled) return false;
  return true;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  TCustomForm* Form = GetParentForm();
  if (Form) {
    Form->FocusControl(this);
  } else if (FParentWindow) {
    ::SetFocus(Handle());
  } else {
    ::SetFocus(Handle());
  }
}

void TWinControl::SetTabStop(bool V) {
  if (V == FTabStop) return;
  FTabStop = V;
  if (FHandle) {
    LONG S = GetWindowLongW(FHandle, GWL_STYLE);
    SetWindowLongW(FHandle, GWL_STYLE, V ? (S | WS_TABSTOP) : (S & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

Integer TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& L = FParent->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : static_cast<Integer>(It - L.begin());
}

void TWinControl::SetTabOrder(Integer V) {
  if (!FParent) return;
  auto& L = FParent->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  if (It == L.end()) return;
  L.erase(It);
  if (V < 0 || static_cast<size_t>(V) > L.size()) V = static_cast<Integer>(L.size());
  L.insert(L.begin() + V, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* C : FTabList) {
    List.push_back(C);
    C->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  Integer N = static_cast<Integer>(List.size());
  auto It = std::find(List.begin(), List.end(), CurControl);
  Integer Start =
      It == List.end() ? (GoForward ? N - 1 : 0) : static_cast<Integer>(It - List.begin());
  Integer I = Start;
  do {
    I = GoForward ? (I + 1) % N : (I - 1 + N) % N;
    TWinControl* C = List[static_cast<size_t>(I)];
    if (C != CurControl && C->CanFocus() && (!CheckTabStop || C->TabStop()) &&
        (!CheckParent || C->FParent == this))
      return C;
  } while (I != Start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (Next) Next->SetFocus();
}

TWinControl* TWinControl::FindChildControl(const String& ControlName) {
  for (TWinControl* C : FWinControls)
    if (SameText(C->Name(), ControlName)) return C;
  return nullptr;
}

// --- keyboard ------------------------------------------------------------
bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* Form = GetParentForm();
  Word Key = static_cast<Word>(Message.WParam);
  if (Form && Form != this && Form->KeyPreview() && Form->DoKeyDown(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    TShiftState Shift = KeyDataToShiftState(Message.LParam);
    KeyDown(Key, Shift);
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* Form = GetParentForm();
  Word Key = static_cast<Word>(Message.WParam);
  if (Form && Form != this && Form->KeyPreview() && Form->DoKeyUp(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyUp(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* Form = GetParentForm();
  if (Form && Form != this && Form->KeyPreview() && Form->DoKeyPress(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    Char C = static_cast<Char>(Message.WParam);
    KeyPress(C);
    Message.WParam = C;
    if (C == 0) return true;
  }
  return false;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCustomControl)

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  auto* C = Create<TControlCanvas>();
  C->SetControl(this);
  FCanvas = C;
}

TCustomControl::~TCustomControl() { FreeAndNil(FCanvas); }

IMPLEMENT_CLASS(TGraphicControl)

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  auto* C = Create<TControlCanvas>();
  C->SetControl(this);
  FCanvas = C;
}

TGraphicControl::~TGraphicControl() { FreeAndNil(FCanvas); }

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TControlCanvas)

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* AControl) {
  if (AControl == FControl) return;
  FreeHandle();
  FControl = AControl;
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  FDeviceContext.reset();
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (!FDeviceContext) {
    HWND Wnd = nullptr;
    if (auto* W = AsOrNull<TWinControl>(FControl))
      Wnd = W->Handle();
    else if (FControl->Parent())
      Wnd = FControl->Parent()->Handle();
    TWindowDC DC(Wnd, GetDCEx(Wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS));
    if (!DC) return;
    if (!AsOrNull<TWinControl>(FControl)) {
      // A graphic control draws at its place in the parent, clipped to it.
      SetWindowOrgEx(DC.Get(), -FControl->Left(), -FControl->Top(), nullptr);
      IntersectClipRect(DC.Get(), 0, 0, FControl->Width(), FControl->Height());
    }
    FDeviceContext.emplace(std::move(DC));
  }
  SetHandle(FDeviceContext->Get());
  UpdateTextFlags();
}

void TControlCanvas::UpdateTextFlags() {
  if (!FControl) return;
  Integer F = TextFlags() & ~ETO_RTLREADING;
  if (FControl->UseRightToLeftReading()) F |= ETO_RTLREADING;
  SetTextFlags(F);
}

// ---------------------------------------------------------------------------
namespace {
const wchar_t UtilWindowClass[] = L"TPUtilWindow";
const wchar_t UtilMethodProp[] = L"FrameworkUtilMethod";

LRESULT CALLBACK UtilWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) noexcept {
  auto* Method = static_cast<TWndMethod*>(GetPropW(Wnd, UtilMethodProp));
  if (!Method) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  TMessage M{Msg, WParam, LParam, 0};
  CallbackBoundary(nullptr, [&] { (*Method)(M); });
  return M.Result;
}

HWND AllocateUtilWindow(TWndMethod Method, HWND AParent) {
  HINSTANCE Inst = GetModuleHandleW(nullptr);
  WNDCLASSW Cls{};
  if (!GetClassInfoW(Inst, UtilWindowClass, &Cls)) {
    Cls.lpfnWndProc = &DefWindowProcW;
    Cls.hInstance = Inst;
    Cls.lpszClassName = UtilWindowClass;
    RegisterClassW(&Cls);
  }
  HWND Wnd = CreateWindowExW(WS_EX_TOOLWINDOW, UtilWindowClass, L"", WS_POPUP, 0, 0, 0, 0, AParent,
                             nullptr, Inst, nullptr);
  if (!Wnd) RaiseWindowCreateError(UtilWindowClass);
  if (!Method) return Wnd;
  auto OnFailure = Finally([Wnd] { DestroyWindow(Wnd); });
  auto Kept = std::make_unique<TWndMethod>(Method);
  if (!SetPropW(Wnd, UtilMethodProp, Kept.get())) RaiseLastOSError();
  Kept.release();
  SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UtilWndProc));
  OnFailure.Dismiss();
  return Wnd;
}
}  // namespace

HWND AllocateHWnd(TWndMethod Method) { return AllocateUtilWindow(Method, nullptr); }

HWND AllocateMessageHWnd(TWndMethod Method) { return AllocateUtilWindow(Method, HWND_MESSAGE); }

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  std::unique_ptr<TWndMethod> Method(static_cast<TWndMethod*>(RemovePropW(Wnd, UtilMethodProp)));
  SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  DestroyWindow(Wnd);
}

TControl* GetCaptureControl() {
  TControl* Result = TWinControl::FindControl(GetCapture());
  if (Result && Application()) {
    TControl* Graphic = Application()->CaptureControl();
    if (Graphic && Graphic->Parent() == Result) Result = Graphic;
  }
  return Result;
}

// An object instance is a few bytes of machine code followed by the method:
// the code puts the instance's address where the window handle was passed
// and jumps to ObjectInstanceProc, which calls the method. The code lives in
// a heap of executable memory of its own.
namespace {
struct TObjectInstance {
  unsigned char Code[32];
  TWndMethod Method;
};

LRESULT CALLBACK ObjectInstanceProc(TObjectInstance* Instance, UINT Msg, WPARAM WParam,
                                    LPARAM LParam) noexcept {
  TMessage Message{Msg, WParam, LParam, 0};
  CallbackBoundary(nullptr, [&] { Instance->Method(Message); });
  return Message.Result;
}

HANDLE ObjectInstanceHeap() {
  static HANDLE Heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
  return Heap;
}

template <class T>
unsigned char* PutBytes(unsigned char* P, T AValue) {
  std::memcpy(P, &AValue, sizeof(AValue));
  return P + sizeof(AValue);
}
}  // namespace

WNDPROC MakeObjectInstance(TWndMethod Method) {
  void* Memory = HeapAlloc(ObjectInstanceHeap(), 0, sizeof(TObjectInstance));
  if (!Memory) RaiseLastOSError();
  auto* Instance = new (Memory) TObjectInstance{{}, Method};
  unsigned char* P = Instance->Code;
#if defined(__x86_64__)
  // mov rcx, Instance; mov rax, ObjectInstanceProc; jmp rax
  P = PutBytes<uint16_t>(P, 0xB948);
  P = PutBytes(P, reinterpret_cast<uint64_t>(Instance));
  P = PutBytes<uint16_t>(P, 0xB848);
  P = PutBytes(P, reinterpret_cast<uint64_t>(&ObjectInstanceProc));
  P = PutBytes<uint16_t>(P, 0xE0FF);
#elif defined(__i386__)
  // mov dword [esp+4], Instance; jmp ObjectInstanceProc
  P = PutBytes<uint32_t>(P, 0x042444C7);
  P = PutBytes(P, reinterpret_cast<uint32_t>(Instance));
  P = PutBytes<uint8_t>(P, 0xE9);
  P = PutBytes(P, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&ObjectInstanceProc) -
                                        reinterpret_cast<uintptr_t>(P + 4)));
#else
#error "no object instance code for this processor"
#endif
  FlushInstructionCache(GetCurrentProcess(), Instance->Code, sizeof(Instance->Code));
  return reinterpret_cast<WNDPROC>(static_cast<void*>(Instance->Code));
}

void FreeObjectInstance(WNDPROC AProc) {
  if (!AProc) return;
  auto* Instance = reinterpret_cast<TObjectInstance*>(reinterpret_cast<void*>(AProc));
  Instance->~TObjectInstance();
  HeapFree(ObjectInstanceHeap(), 0, Instance);
}

TControl* FindVCLWindow(const TPoint& Pos) {
  HWND Wnd = WindowFromPoint(Pos);
  while (Wnd && !TWinControl::FindControl(Wnd)) Wnd = GetParent(Wnd);
  return TWinControl::FindControl(Wnd);
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  TWinControl* W = AsOrNull<TWinControl>(FindVCLWindow(Pos));
  if (!W) return nullptr;
  TControl* C = W->ControlAtPos(W->ScreenToClient(Pos), AllowDisabled);
  return C ? C : W;
}

void Controls_Initialize() { ActnList_Initialize(); }
void Controls_Finalize() { ControlsPaint_Finalize(); }
