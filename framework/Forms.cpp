#include "Forms.h"

#include <algorithm>

#include "Themes.h"
#include "WinHandles.h"

namespace {

TApplication* GApplication = nullptr;
TScreen* GScreen = nullptr;
bool GFormsFinalized = false;

const wchar_t* const BorderStyleNames[] = {L"bsNone",   L"bsSingle",     L"bsSizeable",
                                           L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"};
const TEnumInfo BorderStyleInfo = MakeEnumInfo(L"TFormBorderStyle", BorderStyleNames);
const wchar_t* const BorderIconNames[] = {L"biSystemMenu", L"biMinimize", L"biMaximize", L"biHelp"};
const TEnumInfo BorderIconInfo = MakeEnumInfo(L"TBorderIcon", BorderIconNames);
const wchar_t* const PositionNames[] = {
    L"poDesigned",     L"poDefault",       L"poDefaultPosOnly", L"poDefaultSizeOnly",
    L"poScreenCenter", L"poDesktopCenter", L"poMainFormCenter", L"poOwnerFormCenter"};
const TEnumInfo PositionInfo = MakeEnumInfo(L"TPosition", PositionNames);
const wchar_t* const WindowStateNames[] = {L"wsNormal", L"wsMinimized", L"wsMaximized"};
const TEnumInfo WindowStateInfo = MakeEnumInfo(L"TWindowState", WindowStateNames);
const wchar_t* const PopupModeNames[] = {L"pmNone", L"pmAuto", L"pmExplicit"};
const TEnumInfo PopupModeInfo = MakeEnumInfo(L"TPopupMode", PopupModeNames);
const wchar_t* const FormStyleNames[] = {L"fsNormal", L"fsMDIChild", L"fsMDIForm", L"fsStayOnTop"};
const TEnumInfo FormStyleInfo = MakeEnumInfo(L"TFormStyle", FormStyleNames);

// Windows disabled while a modal form runs, re-enabled afterwards.
struct TDisabledWindows {
  std::vector<HWND> Windows;
  HWND Active = nullptr;
};

BOOL CALLBACK DisableTaskWindow(HWND Wnd, LPARAM Data) noexcept {
  auto* D = reinterpret_cast<TDisabledWindows*>(Data);
  if (!IsWindowVisible(Wnd) || !IsWindowEnabled(Wnd)) return TRUE;
  bool Listed = false;
  CallbackBoundary(nullptr, [&] {
    D->Windows.push_back(Wnd);
    Listed = true;
  });
  // A window that could not be listed would never be enabled again.
  if (Listed) EnableWindow(Wnd, FALSE);
  return Listed;
}

TDisabledWindows DisableTaskWindows(HWND Except) {
  TDisabledWindows D;
  D.Active = GetActiveWindow();
  EnumThreadWindows(GetCurrentThreadId(), &DisableTaskWindow, reinterpret_cast<LPARAM>(&D));
  D.Windows.erase(std::remove(D.Windows.begin(), D.Windows.end(), Except), D.Windows.end());
  if (Except) EnableWindow(Except, TRUE);
  return D;
}

void EnableTaskWindows(const TDisabledWindows& D) {
  for (HWND W : D.Windows)
    if (IsWindow(W)) EnableWindow(W, TRUE);
}

}  // namespace

TApplication* Application() { return GApplication; }
TScreen* Screen() { return GScreen; }

TCustomForm* GetParentForm(TControl* Control, bool TopForm) {
  if (!Control) return nullptr;
  if (TopForm) return Control->GetParentForm();
  for (TControl* C = Control; C; C = C->Parent())
    if (auto* F = AsOrNull<TCustomForm>(C)) return F;
  return nullptr;
}

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TCustomForm) {
  P.Property<&TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle>(L"BorderStyle",
                                                                      BorderStyleInfo)
      .Default(bsSizeable);
  P.Property<&TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons>(L"BorderIcons",
                                                                      BorderIconInfo)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  P.Property<&TCustomForm::Position, &TCustomForm::SetPosition>(L"Position", PositionInfo)
      .Default(poDefaultPosOnly);
  P.Property<&TCustomForm::WindowState, &TCustomForm::SetWindowState>(L"WindowState",
                                                                      WindowStateInfo)
      .Default(wsNormal);
  P.Property<&TCustomForm::FormStyle, &TCustomForm::SetFormStyle>(L"FormStyle", FormStyleInfo)
      .Default(fsNormal);
  P.Property<&TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview>(L"KeyPreview").Default(0);
  P.Property<&TCustomForm::Scaled, &TCustomForm::SetScaled>(L"Scaled").Default(1);
  P.Property<&TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch>(L"PixelsPerInch")
      .NoDefault();
  P.Property<&TCustomForm::TextHeight, &TCustomForm::SetTextHeight>(L"TextHeight").NoDefault();
  P.Property<&TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder>(L"OldCreateOrder")
      .Default(0);
  P.Property<&TCustomForm::PopupMode, &TCustomForm::SetPopupMode>(L"PopupMode", PopupModeInfo)
      .Default(pmNone);
  P.Property<&TCustomForm::ActiveControl, &TCustomForm::SetActiveControl>(L"ActiveControl");
  P.Property<&TCustomForm::Icon, &TCustomForm::SetIcon>(L"Icon");
  P.Property<&TCustomForm::GetClientWidthProp, &TCustomForm::SetClientWidthProp>(L"ClientWidth")
      .Stored(false);
  P.Property<&TCustomForm::GetClientHeightProp, &TCustomForm::SetClientHeightProp>(L"ClientHeight")
      .Stored(false);
  P.Property<&TCustomForm::GetOnCreate, &TCustomForm::SetOnCreate>(L"OnCreate");
  P.Property<&TCustomForm::GetOnDestroy, &TCustomForm::SetOnDestroy>(L"OnDestroy");
  P.Property<&TCustomForm::GetOnShow, &TCustomForm::SetOnShow>(L"OnShow");
  P.Property<&TCustomForm::GetOnActivate, &TCustomForm::SetOnActivate>(L"OnActivate");
  P.Property<&TCustomForm::GetOnClose, &TCustomForm::SetOnClose>(L"OnClose");
  P.Property<&TCustomForm::GetOnCloseQuery, &TCustomForm::SetOnCloseQuery>(L"OnCloseQuery");
}

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), FPixelsPerInch(cxDefaultDPI), FIcon(Create<TIcon>()) {
  FControlStyle =
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  FColor = clBtnFace;
  FParentFont = false;
  FParentColor = false;
  FCanvas.reset(Create<TControlCanvas>());
  FCanvas->SetControl(this);
  SetBounds(0, 0, 320, 240);
  if (GScreen) GScreen->AddForm(this);
}

TCustomForm::TCustomForm(TComponent* AOwner, bool) : TCustomForm(AOwner) { FBuiltInCode = true; }

TCustomForm::~TCustomForm() {
  // Focus and activation messages while the form was being freed may have
  // made it the active (or main) form again; nothing may point at it now.
  if (GScreen) GScreen->RemoveForm(this);
  if (GApplication && GApplication->FMainForm == this) GApplication->FMainForm = nullptr;
}

void TCustomForm::AfterConstruction() {
  inherited::AfterConstruction();
  if (!FBuiltInCode) {
    // A form class with a resource of its name is read from it.
    if (!InitFromResource() && ClassType() != TForm::StaticClass() &&
        ClassType() != TCustomForm::StaticClass())
      throw EResNotFound(L"Resource " + ClassName() + L" not found");
  }
  DoCreate();
}

bool TCustomForm::InitFromResource() {
  HRSRC Res = FindResourceW(GetModuleHandleW(nullptr), ClassName().c_str(), RT_RCDATA);
  if (!Res) return false;
  ReadComponentRes(ClassName(), this);
  return true;
}

void TCustomForm::DoCreate() {
  // An error in the creation handler is shown; the form still comes up.
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    if (!GApplication) throw;
    GApplication->HandleException(this);
  }
}

void TCustomForm::BeforeDestruction() {
  if (GScreen) GScreen->RemoveForm(this);
  if (OnDestroy && !ComponentState().Contains(csDestroying)) OnDestroy(this);
  if (GApplication && GApplication->FMainForm == this) GApplication->FMainForm = nullptr;
  inherited::BeforeDestruction();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == FActiveControl) FActiveControl = nullptr;
    if (AComponent == FFocusedControl) FFocusedControl = nullptr;
    if (AComponent == FPopupParent) FPopupParent = nullptr;
  }
}

void TCustomForm::Loaded() {
  inherited::Loaded();
  // A form designed at another resolution scales to the screen's.
  Integer ScreenPPI = GScreen ? GScreen->PixelsPerInch() : cxDefaultDPI;
  if (FScaled && FPixelsPerInch > 0 && FPixelsPerInch != ScreenPPI) {
    FCurrentPPI = FPixelsPerInch;
    ScaleForPPI(ScreenPPI);
  }
  if (FActiveControl && FActiveControl->Parent() == nullptr) FActiveControl = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.ExStyle = 0;
  Params.WndParent = nullptr;
  switch (FBorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow:
      Params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
    Params.ExStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
    Params.Style |= WS_SYSMENU;
    if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
      if (FBorderIcons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  // Ownership: the main form stands on the taskbar when asked to; other
  // forms are owned by the active form (popup parent) or the main form.
  if (GApplication) {
    TCustomForm* Main = GApplication->MainForm();
    if (this == Main || !Main) {
      if (!GApplication->MainFormOnTaskBar())
        Params.WndParent = GApplication->Handle();
      else
        Params.ExStyle |= WS_EX_APPWINDOW;
    } else if (FPopupParent && FPopupParent->HandleAllocated()) {
      Params.WndParent = FPopupParent->Handle();
    } else if (GScreen && GScreen->ActiveForm() && GScreen->ActiveForm() != this &&
               GScreen->ActiveForm()->HandleAllocated()) {
      Params.WndParent = GScreen->ActiveForm()->Handle();
    } else if (Main->HandleAllocated()) {
      Params.WndParent = Main->Handle();
    }
  }
  Params.WindowClass.style = CS_DBLCLKS;
  if (FBorderStyle == bsDialog) Params.WindowClass.style |= CS_SAVEBITS;
}

void TCustomForm::CreateWnd() {
  inherited::CreateWnd();
  if (FIcon->Handle()) {
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Handle()));
  } else if (HICON Main = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")) {
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Main));
  }
  if (FClientWidth > 0 || FClientHeight > 0) {
    RECT R{0, 0, FClientWidth > 0 ? FClientWidth : ClientWidth(),
           FClientHeight > 0 ? FClientHeight : ClientHeight()};
    AdjustWindowRectEx(&R, GetWindowLongW(FHandle, GWL_STYLE), FALSE,
                       GetWindowLongW(FHandle, GWL_EXSTYLE));
    FClientWidth = FClientHeight = 0;
    SetBounds(FLeft, FTop, RectWidth(R), RectHeight(R));
  }
}

TRect TCustomForm::ClientRect() {
  if (FHandle) return inherited::ClientRect();
  TCreateParams Params;
  CreateParams(Params);
  RECT Frame{0, 0, 0, 0};
  AdjustWindowRectEx(&Frame, Params.Style, FALSE, Params.ExStyle);
  Integer W = FClientWidth > 0 ? FClientWidth : FWidth - RectWidth(Frame);
  Integer H = FClientHeight > 0 ? FClientHeight : FHeight - RectHeight(Frame);
  return Rect(0, 0, std::max(W, 0), std::max(H, 0));
}

void TCustomForm::SetClientWidth(Integer V) {
  if (FHandle) {
    TControl::SetClientWidth(V);
    return;
  }
  TCreateParams Params;
  CreateParams(Params);
  RECT Frame{0, 0, 0, 0};
  AdjustWindowRectEx(&Frame, Params.Style, FALSE, Params.ExStyle);
  FClientWidth = 0;
  SetWidth(V + RectWidth(Frame));
}

void TCustomForm::SetClientHeight(Integer V) {
  if (FHandle) {
    TControl::SetClientHeight(V);
    return;
  }
  TCreateParams Params;
  CreateParams(Params);
  RECT Frame{0, 0, 0, 0};
  AdjustWindowRectEx(&Frame, Params.Style, FALSE, Params.ExStyle);
  FClientHeight = 0;
  SetHeight(V + RectHeight(Frame));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle V) {
  if (V == FBorderStyle) return;
  TRect C = ClientRect();
  FBorderStyle = V;
  if (!ComponentState().Contains(csLoading) && !FHandle) {
    SetClientWidth(RectWidth(C));
    SetClientHeight(RectHeight(C));
  }
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons V) {
  if (V == FBorderIcons) return;
  FBorderIcons = V;
  RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState V) {
  if (V == FWindowState) return;
  FWindowState = V;
  if (FHandle && IsWindowVisible(FHandle)) {
    static const int Cmds[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, Cmds[V]);
  }
}

void TCustomForm::SetPopupParent(TCustomForm* V) {
  if (V == FPopupParent) return;
  if (FPopupParent) FPopupParent->RemoveFreeNotification(this);
  FPopupParent = V;
  if (V) V->FreeNotification(this);
  if (V) FPopupMode = pmExplicit;
  RecreateWnd();
}

void TCustomForm::SetWindowToMonitor() {
  if (!FHandle) return;
  TRect Work = GScreen ? GScreen->WorkAreaRect() : Rect(0, 0, 800, 600);
  Integer X = FLeft, Y = FTop;
  TCustomForm* Center = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
      X = Work.left + (RectWidth(Work) - FWidth) / 2;
      Y = Work.top + (RectHeight(Work) - FHeight) / 2;
      break;
    case poMainFormCenter:
      Center = GApplication ? GApplication->MainForm() : nullptr;
      break;
    case poOwnerFormCenter:
      Center = AsOrNull<TCustomForm>(Owner());
      if (!Center && GApplication) Center = GApplication->MainForm();
      break;
    default:
      return;
  }
  if (Center && Center != this) {
    X = Center->Left() + (Center->Width() - FWidth) / 2;
    Y = Center->Top() + (Center->Height() - FHeight) / 2;
  } else if (Center == this ||
             (!Center && (FPosition == poMainFormCenter || FPosition == poOwnerFormCenter))) {
    X = Work.left + (RectWidth(Work) - FWidth) / 2;
    Y = Work.top + (RectHeight(Work) - FHeight) / 2;
  }
  X = std::max<Integer>(Work.left, std::min<Integer>(X, Work.right - FWidth));
  Y = std::max<Integer>(Work.top, std::min<Integer>(Y, Work.bottom - FHeight));
  SetBounds(X, Y, FWidth, FHeight);
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::ShowingChanged() {
  if (!FHandle) return;
  if (FShowing) {
    if (!FShown) {
      FShown = true;
      SetWindowToMonitor();
    }
    DoShow();
    static const int Cmds[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, Cmds[FWindowState]);
    if (!FActiveControl || !FActiveControl->CanFocus()) {
      if (TWinControl* First = FindNextControl(nullptr, true, true, false)) FActiveControl = First;
    }
    if (FActiveControl && FActiveControl->CanFocus()) {
      FActiveControl->SetFocus();
    } else if (GetActiveWindow() == FHandle) {
      ::SetFocus(FHandle);
    }
  } else {
    if (OnHide) OnHide(this);
    if (GetActiveWindow() == FHandle && GApplication && GApplication->MainForm() &&
        GApplication->MainForm() != this && GApplication->MainForm()->HandleAllocated())
      SetActiveWindow(GApplication->MainForm()->Handle());
    ShowWindow(FHandle, SW_HIDE);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FModalLevel > 0) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = (GApplication && GApplication->MainForm() == this) ? caFree : caHide;
  DoClose(Action);
  if (Action == caNone) return;
  if (GApplication && GApplication->MainForm() == this) {
    GApplication->Terminate();
    Hide();
    return;
  }
  switch (Action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
    default:
      break;
  }
}

void TCustomForm::Release() {
  if (FHandle) PostMessageW(FHandle, CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FModalLevel > 0)
    throw EInvalidOperation(L"Cannot make a visible window modal");
  if (GetCapture()) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  if (GApplication) GApplication->ModalStarted();
  ++FModalLevel;
  TDisabledWindows Disabled;
  // Also when the window cannot be made: the form stays usable.
  auto Finish = Finally([&] {
    EnableTaskWindows(Disabled);
    if (Disabled.Active && IsWindow(Disabled.Active)) SetActiveWindow(Disabled.Active);
    --FModalLevel;
    if (GApplication) GApplication->ModalFinished();
  });
  HandleNeeded();
  Disabled = DisableTaskWindows(FHandle);
  FModalResult = mrNone;
  Show();
  SendMessageW(FHandle, CM_ACTIVATE, 0, 0);
  while (FModalResult == mrNone) {
    GApplication->HandleMessage();
    if (GApplication->Terminated()) {
      FModalResult = mrCancel;
      break;
    }
    if (FModalResult != mrNone) {
      // Closing may be refused.
      TModalResult R = FModalResult;
      FModalLevel = 0;
      if (!CloseQuery()) {
        FModalResult = mrNone;
      } else {
        TCloseAction Action = caHide;
        DoClose(Action);
        if (Action == caNone)
          FModalResult = mrNone;
        else
          FModalResult = R;
      }
      FModalLevel = 1;
    }
  }
  SendMessageW(FHandle, CM_DEACTIVATE, 0, 0);
  Hide();
  return FModalResult;
}

void TCustomForm::SendCancelMode(TControl*) {
  if (GetCapture()) ReleaseCapture();
}

void TCustomForm::SetActiveControl(TWinControl* V) {
  if (V == FActiveControl) return;
  if (V && !ComponentState().Contains(csLoading) &&
      (V == this || V->GetParentForm() != this || !V->CanFocus()))
    throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  FActiveControl = V;
  if (V) V->FreeNotification(this);
  if (!ComponentState().Contains(csLoading) && FActive && V) SetFocusedControl(V);
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (FFocusedControl != Control) {
    // The focus leaves every control from the old one up to the one that
    // also holds the new, then enters every control from there down to the
    // new one. A control that takes the focus back while it is left (an
    // editor refusing its value) cancels the change: the new control is
    // neither entered nor made active.
    HWND FocusHandle = Control && Control->HandleAllocated() ? Control->Handle() : nullptr;
    auto FocusMoved = [&] { return FocusHandle && GetFocus() != FocusHandle; };
    if (Control) Control->FreeNotification(this);
    if (!FFocusedControl) FFocusedControl = this;
    while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
      TWinControl* Left = FFocusedControl;
      if (Left != this) Left->Perform(CM_EXIT);
      if (FocusMoved()) return false;
      FFocusedControl = Left->Parent();
    }
    if (Control != this) FActiveControl = Control;
    while (FFocusedControl != Control) {
      TWinControl* Entered = Control;
      while (Entered->Parent() != FFocusedControl) Entered = Entered->Parent();
      FFocusedControl = Entered;
      if (Entered != this) Entered->Perform(CM_ENTER);
      if (FocusMoved()) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  }
  if (GScreen) GScreen->SetActiveForm(this, Control);
  return true;
}

void TCustomForm::FocusControl(TWinControl* Control) {
  if (!Control) return;
  FActiveControl = Control;
  Control->FreeNotification(this);
  if (FHandle && Control->CanFocus()) {
    if (GetForegroundWindow() != FHandle && IsWindowVisible(FHandle)) SetForegroundWindow(FHandle);
    ::SetFocus(Control->Handle());
  }
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->Parent();
  if (Control->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    if (FHandle && !ComponentState().Contains(csDestroying) && Control->Focused())
      ::SetFocus(FHandle);
  }
}

bool TCustomForm::DoKeyDown(TMessage& Message) {
  Word Key = static_cast<Word>(Message.WParam);
  KeyDown(Key, KeyDataToShiftState(Message.LParam));
  Message.WParam = Key;
  return Key == 0;
}

bool TCustomForm::DoKeyUp(TMessage& Message) {
  Word Key = static_cast<Word>(Message.WParam);
  KeyUp(Key, KeyDataToShiftState(Message.LParam));
  Message.WParam = Key;
  return Key == 0;
}

bool TCustomForm::DoKeyPress(TMessage& Message) {
  Char C = static_cast<Char>(Message.WParam);
  KeyPress(C);
  Message.WParam = C;
  return C == 0;
}

void TCustomForm::Activate() {
  FActive = true;
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  FActive = false;
  if (OnDeactivate) OnDeactivate(this);
}

IMPLEMENT_MESSAGE_TABLE(TCustomForm,
                        {CM_ACTIONEXECUTE, MessageHandler<&TCustomForm::CMActionExecute>},
                        {CM_ACTIONUPDATE, MessageHandler<&TCustomForm::CMActionUpdate>},
                        {WM_CLOSE, MessageHandler<&TCustomForm::WMClose>},
                        {CM_RELEASE, MessageHandler<&TCustomForm::CMRelease>},
                        {WM_ACTIVATE, MessageHandler<&TCustomForm::WMActivate>},
                        {WM_SETFOCUS, MessageHandler<&TCustomForm::WMSetFocus>},
                        {WM_DPICHANGED, MessageHandler<&TCustomForm::WMDpiChanged>})

void TCustomForm::CMShowingChanged(TMessage&) { ShowingChanged(); }
void TCustomForm::CMVisibleChanged(TMessage&) { UpdateShowing(); }

void TCustomForm::WMClose(TMessage& Message) {
  Close();
  Message.Result = 0;
}

void TCustomForm::CMRelease(TMessage&) { Free(); }

void TCustomForm::WMActivate(TMessage& Message) {
  if (LOWORD(Message.WParam) == WA_INACTIVE) {
    Deactivate();
    DefaultHandler(Message);
    return;
  }
  Activate();
  if (FActiveControl && FActiveControl->HandleAllocated() && FActiveControl->CanFocus())
    ::SetFocus(FActiveControl->Handle());
  else if (GScreen)
    GScreen->SetActiveForm(this, FActiveControl);
  Message.Result = 0;
}

void TCustomForm::WMSetFocus(TMessage& Message) {
  if (FActiveControl && FActiveControl != this && FActiveControl->HandleAllocated() &&
      FActiveControl->CanFocus()) {
    ::SetFocus(FActiveControl->Handle());
    return;
  }
  SetFocusedControl(this);
  DefaultHandler(Message);
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) < 0) {
    inherited::CMDialogKey(Message);
    return;
  }
  switch (Message.WParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
        Message.Result = 1;
        return;
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (FActiveControl && FActiveControl->Parent()) {
        FActiveControl->Parent()->SelectNext(
            FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
        Message.Result = 1;
      }
      return;
    default:
      break;
  }
  inherited::CMDialogKey(Message);
}

void TCustomForm::WMDpiChanged(TMessage& Message) {
  Integer NewPPI = HIWORD(Message.WParam);
  auto* R = reinterpret_cast<RECT*>(Message.LParam);
  if (FScaled) ScaleForPPI(NewPPI);
  SetWindowPos(FHandle, nullptr, R->left, R->top, RectWidth(*R), RectHeight(*R),
               SWP_NOZORDER | SWP_NOACTIVATE);
  Message.Result = 0;
}

// --- actions ---------------------------------------------------------------
namespace {
// Offers Action through Offer to the visible controls under Container, depth
// first; true as soon as one takes it.
template <class F>
bool OfferToClients(TWinControl* Container, F Offer) {
  if (!Container->Showing()) return false;
  for (Integer I = 0; I < Container->ControlCount(); ++I) {
    TControl* C = Container->Controls(I);
    if (C->Visible() && Offer(C)) return true;
    if (auto* W = AsOrNull<TWinControl>(C); W && OfferToClients(W, Offer)) return true;
  }
  return false;
}

template <class F>
void OfferAction(TCustomForm* Form, TWinControl* Active, TMessage& Message, F Offer) {
  if (Form->ComponentState().Contains(csDesigning) || !Form->Showing()) return;
  auto* Action = reinterpret_cast<TBasicAction*>(Message.LParam);
  auto Take = [&](TControl* C) { return C && Offer(C, Action); };
  if (Take(Active) || Take(Form) || OfferToClients(Form, Take)) Message.Result = 1;
}

void InitiateClientActions(TWinControl* Container) {
  for (Integer I = 0; I < Container->ControlCount(); ++I) {
    TControl* C = Container->Controls(I);
    if (C->Visible() && C->ControlStyle().Contains(csActionClient)) C->InitiateAction();
    if (auto* W = AsOrNull<TWinControl>(C); W && W->ControlCount() > 0) InitiateClientActions(W);
  }
}
}  // namespace

void TCustomForm::CMActionExecute(TMessage& Message) {
  OfferAction(this, FActiveControl, Message,
              [](TControl* C, TBasicAction* A) { return C->ExecuteAction(A); });
}

void TCustomForm::CMActionUpdate(TMessage& Message) {
  OfferAction(this, FActiveControl, Message,
              [](TControl* C, TBasicAction* A) { return C->UpdateAction(A); });
}

void TCustomForm::UpdateActions() {
  if (ComponentState().Contains(csDesigning) || !Showing()) return;
  InitiateAction();
  InitiateClientActions(this);
}

bool TCustomForm::IsShortCut(TShortCut ShortCut) {
  for (Integer I = 0; I < ComponentCount(); ++I)
    if (auto* List = AsOrNull<TCustomActionList>(Components(I)); List && List->IsShortCut(ShortCut))
      return true;
  return false;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TForm) {}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TScreen)

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner),
      FIconFont(Create<TFont>()),
      FMenuFont(Create<TFont>()),
      FHintFont(Create<TFont>()),
      FMessageFont(Create<TFont>()) {
  FPixelsPerInch = GetScreenDPI();
  NONCLIENTMETRICSW NCM{};
  NCM.cbSize = sizeof(NCM);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(NCM), &NCM, 0)) {
    FMenuFont->SetLogFont(NCM.lfMenuFont);
    FHintFont->SetLogFont(NCM.lfStatusFont);
    FMessageFont->SetLogFont(NCM.lfMessageFont);
  }
  LOGFONTW LF{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(LF), &LF, 0)) FIconFont->SetLogFont(LF);
}

TScreen::~TScreen() = default;

void TScreen::RemoveForm(TCustomForm* F) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), F), FForms.end());
  if (FActiveForm == F) {
    FActiveForm = nullptr;
    FActiveControl = nullptr;
  }
}

void TScreen::SetActiveForm(TCustomForm* F, TWinControl* Control) {
  // A form on its way out (being freed, or no longer listed while focus
  // moves as its children go) must not become active again: the screen
  // would keep a dangling form.
  auto It = std::find(FForms.begin(), FForms.end(), F);
  if (F && (F->ComponentState().Contains(csDestroying) || It == FForms.end())) return;
  FActiveForm = F;
  FActiveControl = Control;
  // The active form goes to the front of the list, as the framework keeps it.
  if (It != FForms.end() && It != FForms.begin()) {
    FForms.erase(It);
    FForms.insert(FForms.begin(), F);
  }
}

void TScreen::SetCursor(TCursor V) {
  if (V == FCursor) return;
  FCursor = V;
  POINT P;
  GetCursorPos(&P);
  ::SetCursor(V == crDefault ? LoadCursorW(nullptr, IDC_ARROW) : Cursors(V));
  SetCursorPos(P.x, P.y);
}

HCURSOR TScreen::Cursors(TCursor Index) {
  for (auto& C : FCursorList)
    if (C.first == Index) return C.second.Get();
  static const struct {
    TCursor Cursor;
    const wchar_t* Id;
  } Standard[] = {{crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
                  {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
                  {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
                  {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
                  {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
                  {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
                  {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
                  {crDrag, IDC_ARROW},           {crNoDrop, IDC_NO},
                  {crHSplit, IDC_SIZEWE},        {crVSplit, IDC_SIZENS},
                  {crMultiDrag, IDC_ARROW},      {crSQLWait, IDC_WAIT}};
  for (const auto& S : Standard)
    if (S.Cursor == Index) return LoadCursorW(nullptr, S.Id);
  if (Index == crNone) return nullptr;
  return LoadCursorW(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  for (auto& C : FCursorList)
    if (C.first == Index) {
      // Given again, the cursor in use stays alive.
      if (C.second.Get() != Handle) C.second.Reset(Handle);
      return;
    }
  FCursorList.emplace_back(Index, TCursorHandle(Handle));
}

TRect TScreen::WorkAreaRect() const {
  RECT R{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &R, 0);
  return R;
}

TRect TScreen::DesktopRect() const {
  return Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::MonitorWorkArea(HMONITOR Monitor) const {
  MONITORINFO MI{};
  MI.cbSize = sizeof(MI);
  if (!GetMonitorInfoW(Monitor, &MI)) return WorkAreaRect();
  return MI.rcWork;
}

namespace {
int CALLBACK CollectFont(const LOGFONTW* LF, const TEXTMETRICW*, DWORD, LPARAM Data) noexcept {
  auto* List = reinterpret_cast<std::vector<String>*>(Data);
  bool Listed = true;
  if (LF->lfFaceName[0] != L'@')
    CallbackBoundary(nullptr, [&] {
      Listed = false;
      List->push_back(LF->lfFaceName);
      Listed = true;
    });
  return Listed;
}
}  // namespace

const std::vector<String>& TScreen::Fonts() {
  if (FFonts.empty()) {
    TScreenDC DC;
    LOGFONTW LF{};
    LF.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(DC.Get(), &LF, &CollectFont, reinterpret_cast<LPARAM>(&FFonts), 0);
    std::sort(FFonts.begin(), FFonts.end(),
              [](const String& A, const String& B) { return AnsiCompareText(A, B) < 0; });
    FFonts.erase(std::unique(FFonts.begin(), FFonts.end()), FFonts.end());
  }
  return FFonts;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TApplication)

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), FHintWindowClass(THintWindow::StaticClass()) {
  FHandle = AllocateHWnd(MakeEvent<&TApplication::WndProc>(this));
  String T = Title();
  SetWindowTextW(FHandle, T.c_str());
  WakeMainThread = MakeEvent<&TApplication::WakeMainThreadHandler>(this);
}

TApplication::~TApplication() {
  if (WakeMainThread == MakeEvent<&TApplication::WakeMainThreadHandler>(this))
    WakeMainThread = nullptr;
  if (FHintWindow) FreeAndNil(FHintWindow);
  if (FHandle) {
    KillTimer(FHandle, 1);
    DeallocateHWnd(FHandle);
  }
  if (FInitializedCOM) OleUninitialize();
}

void TApplication::Initialize() {
  if (!FInitializedCOM) FInitializedCOM = SUCCEEDED(OleInitialize(nullptr));
}

String TApplication::ExeName() const {
  wchar_t Buf[MAX_PATH * 2];
  DWORD N = GetModuleFileNameW(nullptr, Buf, MAX_PATH * 2);
  return String(Buf, N);
}

String TApplication::Title() const {
  if (!FTitle.empty()) return FTitle;
  return ChangeFileExt(ExtractFileName(ExeName()), L"");
}

void TApplication::SetTitle(const String& V) {
  FTitle = V;
  if (FHandle) SetWindowTextW(FHandle, V.c_str());
}

TCustomForm* TApplication::CreateFormByClass(TClass AClass) {
  TObject* Obj = AClass->Create(this);
  auto* Form = AsOrNull<TCustomForm>(Obj);
  if (!Form) {
    if (Obj) Obj->Free();
    throw EInvalidOperation(L"Class " + String(AClass->Name) + L" is not a form");
  }
  if (!FMainForm) {
    FMainForm = Form;
    Form->HandleNeeded();
  }
  return Form;
}

void TApplication::Run() {
  FRunning = true;
  if (FMainForm && FShowMainForm) {
    if (FMainForm->WindowState() == wsMinimized) Minimize();
    FMainForm->SetVisible(true);
  }
  while (!FTerminated && FMainForm) HandleMessage();
  FRunning = false;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND Wnd = GetCapture();
  if (!Wnd) Wnd = Msg.hwnd;
  // Keys of a window that is not ours (an inner edit of a combo box) go to
  // the nearest framework control above it.
  while (Wnd && !TWinControl::FindControl(Wnd)) Wnd = GetParent(Wnd);
  TWinControl* Control = TWinControl::FindControl(Wnd);
  if (!Control) return false;
  return Control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsDlgMsg(MSG&) { return false; }

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  if (!DoMessage(Msg) && !IsKeyMsg(Msg) && !IsDlgMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
  }
  return true;
}

bool TApplication::DoMessage(MSG& Msg) {
  if (!OnMessage && FMessageListeners.empty()) return false;
  bool Handled = false;
  CallbackBoundary(this, [&] {
    if (OnMessage) OnMessage(Msg, Handled);
    // A copy: a listener may add or remove listeners; one removed meanwhile
    // is not called any more.
    std::vector<TMessageEvent> Listeners = FMessageListeners;
    for (auto It = Listeners.rbegin(); !Handled && It != Listeners.rend(); ++It)
      if (std::find(FMessageListeners.begin(), FMessageListeners.end(), *It) !=
          FMessageListeners.end())
        (*It)(Msg, Handled);
  });
  return Handled;
}

void TApplication::AddMessageListener(TMessageEvent AListener) {
  if (AListener && std::find(FMessageListeners.begin(), FMessageListeners.end(), AListener) ==
                       FMessageListeners.end())
    FMessageListeners.push_back(AListener);
}

void TApplication::RemoveMessageListener(TMessageEvent AListener) {
  auto It = std::find(FMessageListeners.begin(), FMessageListeners.end(), AListener);
  if (It != FMessageListeners.end()) FMessageListeners.erase(It);
}

void TApplication::ProcessMessages() {
  MSG Msg;
  while (ProcessMessage(Msg)) {
  }
}

void TApplication::HandleMessage(HANDLE AAlsoWaitFor) {
  MSG Msg;
  if (ProcessMessage(Msg)) return;
  // The queue is empty: idle work once, then synchronized calls, then sleep
  // until there is more to do.
  CallbackBoundary(this, [&] {
    Idle(Msg);
    CheckSynchronize(0);
  });
  if (!FTerminated) WaitForWork(AAlsoWaitFor);
}

void TApplication::WaitForWork(HANDLE AAlso) {
  HANDLE Handles[2] = {SyncEvent(), AAlso};
  FSleeping = true;
  MsgWaitForMultipleObjectsEx(AAlso ? 2 : 1, Handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  FSleeping = false;
  // Work handed over while this thread slept was announced by the event
  // alone: it runs now, before a message could start a modal loop.
  if (WaitForSingleObject(Handles[0], 0) == WAIT_OBJECT_0)
    CallbackBoundary(this, [] { CheckSynchronize(0); });
}

void TApplication::WakeMainThreadHandler(TObject*) {
  // Asleep in the message loop, the main thread wakes by the synchronize
  // event (set before this is called). Anywhere else, a modal loop of the
  // platform included, it needs a message, which this window's procedure
  // answers by running the synchronized calls.
  if (FHandle && !FSleeping) PostMessageW(FHandle, WM_NULL, 0, 0);
}

void TApplication::Idle(const MSG&) {
  DoMouseIdle();
  bool Done = true;
  if (OnIdle) OnIdle(this, Done);
  if (Done) DoActionIdle();
}

void TApplication::DoActionIdle() {
  if (!GScreen) return;
  // A copy: an update may open or close forms.
  std::vector<TCustomForm*> Forms;
  for (Integer I = 0; I < GScreen->FormCount(); ++I) Forms.push_back(GScreen->Forms(I));
  for (TCustomForm* F : Forms) {
    // The form may have gone while an earlier one updated.
    bool Alive = false;
    for (Integer I = 0; I < GScreen->FormCount(); ++I) Alive = Alive || GScreen->Forms(I) == F;
    if (Alive && F->HandleAllocated() && IsWindowVisible(F->Handle()) &&
        IsWindowEnabled(F->Handle()))
      F->UpdateActions();
  }
}

bool TApplication::ExecuteAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnActionExecute) OnActionExecute(Action, Handled);
  return Handled;
}

bool TApplication::UpdateAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnActionUpdate) OnActionUpdate(Action, Handled);
  return Handled;
}

bool TApplication::DispatchAction(UINT Msg, TBasicAction* Action) {
  TCustomForm* Form = GScreen ? GScreen->ActiveForm() : nullptr;
  auto Offer = [&](TCustomForm* F) {
    return F && F->Perform(Msg, 0, reinterpret_cast<LPARAM>(Action)) == 1;
  };
  return Offer(Form) || (FMainForm != Form && Offer(FMainForm));
}

void TApplication::DoMouseIdle() {
  POINT P;
  if (!GetCursorPos(&P)) return;
  // Windowed controls learn of the pointer from their own windows; here
  // only the graphic control under it changes.
  TControl* Target = FindDragTarget(P, true);
  if (AsOrNull<TWinControl>(Target)) Target = nullptr;
  if (Target != FMouseControl) {
    TControl* Old = FMouseControl;
    FMouseControl = Target;
    if (Old) Old->Perform(CM_MOUSELEAVE);
    if (Target) Target->Perform(CM_MOUSEENTER);
  }
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (FCaptureControl == Control) FCaptureControl = nullptr;
  if (FHintControl == Control) {
    FHintControl = nullptr;
    CancelHint();
  }
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

void TApplication::HandleException(TObject* Sender) {
  if (GetCapture()) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
  try {
    throw;
  } catch (EAbort&) {
    // Silent by design.
  } catch (Exception& E) {
    if (OnException)
      OnException(Sender, &E);
    else
      ShowException(&E);
  } catch (std::exception& E) {
    Exception Wrapped(AnsiToString(E.what()));
    if (OnException)
      OnException(Sender, &Wrapped);
    else
      ShowException(&Wrapped);
  } catch (...) {
    Exception Unknown(L"Unknown exception");
    if (OnException)
      OnException(Sender, &Unknown);
    else
      ShowException(&Unknown);
  }
}

void HandleCallbackException(TObject* Sender) noexcept {
  try {
    try {
      if (GApplication) {
        GApplication->HandleException(Sender);
        return;
      }
      throw;
    } catch (const EAbort&) {
    } catch (const Exception& E) {
      OutputDebugStringW((L"Exception at a callback: " + E.Message()).c_str());
    } catch (const std::exception& E) {
      OutputDebugStringA(E.what());
    }
  } catch (...) {
    OutputDebugStringW(L"Unknown exception at a callback");
  }
}

void TApplication::ShowException(Exception* E) {
  String Msg = E->Message();
  if (!Msg.empty() && Msg.back() > L'.') Msg += L'.';
  HWND Owner = GetActiveWindow();
  MessageBoxW(Owner ? Owner : FHandle, Msg.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP);
}

Integer TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  HWND Owner = GetActiveWindow();
  if (!Owner && FMainForm && FMainForm->HandleAllocated()) Owner = FMainForm->Handle();
  TDisabledWindows D = DisableTaskWindows(nullptr);
  Integer R = MessageBoxW(Owner, Text.c_str(), Caption.c_str(), Flags);
  EnableTaskWindows(D);
  return R;
}

bool TApplication::HelpCommand(Word Command, NativeInt Data) {
  bool CallHelp = true;
  bool Shown = false;
  if (OnHelp) Shown = OnHelp(Command, Data, CallHelp);
  if (!CallHelp || FHelpFile.empty()) return Shown;
  HWND Owner = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : FHandle;
  return WinHelpW(Owner, FHelpFile.c_str(), Command, static_cast<ULONG_PTR>(Data)) != FALSE;
}

bool TApplication::HelpContext(Integer Context) { return HelpCommand(HELP_CONTEXT, Context); }

void TApplication::Minimize() {
  if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_RESTORE);
}

void TApplication::BringToFront() {
  if (FMainForm && FMainForm->HandleAllocated()) SetForegroundWindow(FMainForm->Handle());
}

void TApplication::CancelHint() {
  if (FHandle) KillTimer(FHandle, 1);
  if (FHintWindow && FHintWindow->HandleAllocated()) FHintWindow->ReleaseHandle();
  FHintActive = false;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage&) {
  if (!FShowHint) return;
  if (Control == FHintControl) return;
  // From one hint to the next the short pause applies.
  bool WasShowing = FHintActive;
  CancelHint();
  FHintControl = Control;
  if (Control && Control->ShowHint() && !Control->Hint().empty() && FHandle)
    SetTimer(FHandle, 1, static_cast<UINT>(WasShowing ? FHintShortPause : FHintPause), nullptr);
}

void TApplication::SetHintWindowClass(TClass Value) {
  if (!Value || !Value->InheritsFrom(THintWindow::StaticClass()) || !Value->Factory)
    throw EInvalidOperation(L"A hint window class is a creatable THintWindow descendant");
  if (Value == FHintWindowClass) return;
  FHintWindowClass = Value;
  // The window of the old class goes; the next hint makes one of the new.
  CancelHint();
  if (FHintWindow) FreeAndNil(FHintWindow);
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
  TControl* Control = FindDragTarget(CursorPos, false);
  if (Control != FHintControl) {
    CancelHint();
    FHintControl = Control;
  }
  if (!FHintControl) return;
  THintInfo Info;
  Info.HintControl = FHintControl;
  Info.HintWindowClass = FHintWindowClass;
  Info.HintPos = Point(CursorPos.x, CursorPos.y + 20);
  Info.HintMaxWidth = GScreen ? GScreen->Width() : 800;
  Info.CursorPos = FHintControl->ScreenToClient(CursorPos);
  Info.HideTimeout = FHintHidePause;
  // The part before "|" is the short hint.
  Info.HintStr = FHintControl->Hint();
  if (Integer Bar = Pos(L"|", Info.HintStr); Bar > 0) Info.HintStr = Copy(Info.HintStr, 1, Bar - 1);
  bool CanShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)) == 0;
  if (CanShow && OnShowHint) OnShowHint(Info.HintStr, CanShow, Info);
  if (!CanShow || Info.HintStr.empty()) return;
  // A handler may ask for another window class for this hint.
  TClass WindowClass = Info.HintWindowClass;
  if (!WindowClass || !WindowClass->InheritsFrom(THintWindow::StaticClass()) ||
      !WindowClass->Factory)
    WindowClass = FHintWindowClass;
  if (FHintWindow && FHintWindow->ClassType() != WindowClass) FreeAndNil(FHintWindow);
  if (!FHintWindow) FHintWindow = As<THintWindow>(WindowClass->Create(this));
  FHintWindow->SetColor(Info.HintColor);
  TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
  OffsetRect(&R, Info.HintPos.x, Info.HintPos.y);
  FHintWindow->ActivateHintData(R, Info.HintStr, Info.HintData);
  FHintActive = true;
  if (Info.HideTimeout > 0) SetTimer(FHandle, 1, static_cast<UINT>(Info.HideTimeout), nullptr);
}

void TApplication::HintTimerExpired() {
  KillTimer(FHandle, 1);
  if (FHintActive) {
    CancelHint();
    return;
  }
  POINT P;
  GetCursorPos(&P);
  if (FindDragTarget(P, false) == FHintControl) ActivateHint(P);
}

void TApplication::HookMainWindow(TWindowHook Hook) {
  if (std::find(FWindowHooks.begin(), FWindowHooks.end(), Hook) == FWindowHooks.end())
    FWindowHooks.push_back(Hook);
}

void TApplication::UnhookMainWindow(TWindowHook Hook) {
  auto It = std::find(FWindowHooks.begin(), FWindowHooks.end(), Hook);
  if (It != FWindowHooks.end()) FWindowHooks.erase(It);
}

void TApplication::WndProc(TMessage& Message) {
  // A copy: a hook may unhook itself.
  std::vector<TWindowHook> Hooks = FWindowHooks;
  for (const TWindowHook& Hook : Hooks)
    if (Hook(Message)) return;
  switch (Message.Msg) {
    case WM_SETTINGCHANGE:
      if (FUpdateFormatSettings && Message.WParam == 0 && Message.LParam &&
          String(reinterpret_cast<const wchar_t*>(Message.LParam)) == L"intl") {
        SetThreadLocale(LOCALE_USER_DEFAULT);
        GetFormatSettings();
      }
      break;
    case WM_TIMER:
      if (Message.WParam == 1) HintTimerExpired();
      return;
    case WM_NULL:
      CheckSynchronize(0);
      return;
    case WM_ACTIVATEAPP:
      if (Message.WParam) {
        if (OnActivate) OnActivate(this);
      } else {
        CancelHint();
        if (OnDeactivate) OnDeactivate(this);
      }
      break;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return;
    default:
      break;
  }
  Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(THintWindow)

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FColor = clInfoBk;
  FParentColor = false;
  FParentFont = false;
  if (GScreen) FFont->Assign(GScreen->HintFont());
  FFont->SetColor(clInfoText);
  FVisible = false;
}

void THintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& AHint, void*) {
  TRect R = Rect(0, 0, MaxWidth, 0);
  String Text = AHint;
  FCanvas->Font()->Assign(FFont.get());
  TScreenDC DC;
  TSelectObjectGuard Font(DC.Get(), FFont->Handle());
  DrawTextW(DC.Get(), Text.c_str(), static_cast<int>(Text.size()), &R,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  R.right += 6;
  R.bottom += 2;
  return R;
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  SetCaption(AHint);
  HandleNeeded();
  SetBounds(Rect.left, Rect.top, RectWidth(Rect), RectHeight(Rect));
  SetWindowPos(FHandle, HWND_TOPMOST, Rect.left, Rect.top, RectWidth(Rect), RectHeight(Rect),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(const TRect& Rect, const String& AHint, void*) {
  ActivateHint(Rect, AHint);
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

void THintWindow::Paint() {
  TRect R = ClientRect();
  FCanvas->Brush()->SetColor(FColor);
  FCanvas->FillRect(R);
  R.left += 2;
  R.top += 1;
  FCanvas->Font()->Assign(FFont.get());
  FCanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  String Text = Caption();
  FCanvas->TextRect(
      R, Text,
      TTextFormat{TTextFormats::tfLeft, TTextFormats::tfWordBreak, TTextFormats::tfNoPrefix});
}

// ---------------------------------------------------------------------------
namespace {
const wchar_t* const NoNames[] = {L""};
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTimer) {
  P.Property<&TTimer::Enabled, &TTimer::SetEnabled>(L"Enabled").Default(1);
  P.Property<&TTimer::Interval, &TTimer::SetInterval>(L"Interval").Default(1000);
  P.Property<&TTimer::GetOnTimer, &TTimer::SetOnTimer>(L"OnTimer");
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd(MakeEvent<&TTimer::WndProc>(this));
}

TTimer::~TTimer() {
  FEnabled = false;
  if (FWindowHandle) {
    KillTimer(FWindowHandle, 1);
    DeallocateHWnd(FWindowHandle);
  }
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && OnTimer)
    if (!SetTimer(FWindowHandle, 1, FInterval, nullptr))
      throw EOutOfResources(L"Not enough timers available");
}

void TTimer::SetEnabled(bool V) {
  if (V == FEnabled) return;
  FEnabled = V;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal V) {
  if (V == FInterval) return;
  FInterval = V;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent V) {
  OnTimer = V;
  UpdateTimer();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    // The timer keeps running after a failing tick.
    CallbackBoundary(this, [&] { Timer(); });
    return;
  }
  Message.Result = DefWindowProcW(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------
void Forms_Initialize() {
  if (GFormsFinalized) return;
  Graphics_Initialize();
  Controls_Initialize();
  Themes_Initialize();
  RegisterClasses({TForm::StaticClass(), TTimer::StaticClass(), TScrollBox::StaticClass(),
                   TFrame::StaticClass()});
  if (!GScreen) GScreen = Create<TScreen>(nullptr);
  if (!GApplication) GApplication = Create<TApplication>(nullptr);
  TActionDispatchRoutines& Actions = ActionDispatchRoutines();
  Actions.ExecuteAction = [](TBasicAction* A) {
    return GApplication && GApplication->ExecuteAction(A);
  };
  Actions.UpdateAction = [](TBasicAction* A) {
    return GApplication && GApplication->UpdateAction(A);
  };
  Actions.DispatchAction = [](UINT Msg, TBasicAction* A) {
    return GApplication && GApplication->DispatchAction(Msg, A);
  };
}

void Forms_Finalize() {
  GFormsFinalized = true;
  ActionDispatchRoutines() = TActionDispatchRoutines{};
  FreeAndNil(GApplication);
  FreeAndNil(GScreen);
  Themes_Finalize();
  Controls_Finalize();
  Graphics_Finalize();
}
