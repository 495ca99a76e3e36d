#include "ControlsTestSupport.h"

#include "dxAnimation.h"

#include "WinHandles.h"

namespace ControlsTest {

TCustomForm* CreateForm(Integer AClientWidth, Integer AClientHeight) {
  TCustomForm* Form = Create<TForm>(nullptr, true);
  Form->SetBounds(0, 0, AClientWidth, AClientHeight);
  Form->SetClientWidth(AClientWidth);
  Form->SetClientHeight(AClientHeight);
  Form->Show();
  ProcessMessages();
  return Form;
}

void ProcessMessages() {
  MSG Msg;
  while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
  }
}

void PumpWithoutTimers() {
  MSG M;
  while (PeekMessageW(&M, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
         PeekMessageW(&M, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE)) {
    TranslateMessage(&M);
    DispatchMessageW(&M);
  }
}

namespace {
bool PumpWith(void (*APump)(), const std::function<bool()>& ADone) {
  for (int Round = 0; Round < 1000 && !ADone(); ++Round) {
    APump();
    if (!ADone()) Sleep(5);
  }
  APump();
  return ADone();
}

void PumpApplication() { Application()->ProcessMessages(); }
}  // namespace

bool PumpUntil(const std::function<bool()>& ADone) { return PumpWith(&ProcessMessages, ADone); }
bool PumpUntilWithoutTimers(const std::function<bool()>& ADone) {
  return PumpWith(&PumpWithoutTimers, ADone);
}
bool PumpApplicationUntil(const std::function<bool()>& ADone) {
  return PumpWith(&PumpApplication, ADone);
}

void SendMouse(DWORD AFlags, POINT P) {
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dwFlags = AFlags;
  if (P.x >= 0) {
    In.mi.dx = MulDiv(P.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    In.mi.dy = MulDiv(P.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    In.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  SendInput(1, &In, sizeof(In));
}

bool CursorAt(POINT P) {
  POINT C{};
  return GetCursorPos(&C) && C.x == P.x && C.y == P.y;
}

TOwned<TcxBitmap32> CaptureWindow(TWinControl* AControl, bool ARepaint) {
  HWND Wnd = AControl->Handle();
  UINT Flags = RDW_UPDATENOW | RDW_ALLCHILDREN;
  if (ARepaint) Flags |= RDW_INVALIDATE | RDW_FRAME;
  RedrawWindow(Wnd, nullptr, nullptr, Flags);
  ProcessMessages();
  RECT R;
  GetWindowRect(Wnd, &R);
  TOwned<TcxBitmap32> Shot(TcxBitmap32::CreateSize(R.right - R.left, R.bottom - R.top));
  TScreenDC Screen;
  BitBlt(Shot->Canvas()->Handle(), 0, 0, R.right - R.left, R.bottom - R.top, Screen.Get(), R.left,
         R.top, SRCCOPY);
  Shot->MakeOpaque();
  return Shot;
}

void StepAnimationTransition(TdxAnimationTransition* ATransition, Integer APosition) {
  if (!ATransition || !ATransition->OnAnimate()) return;
  // Held, so that the controller's own ticks take no steps of their own.
  if (!ATransition->Suspended()) ATransition->Suspend();
  bool Finished = false;
  ATransition->OnAnimate()(ATransition, APosition, Finished);
}

void FinishAnimationTransition(TdxAnimationTransition* ATransition) {
  if (ATransition) ATransition->Terminate();
}

TOwned<TMemoryStream> TextToBinary(const std::string& AText) {
  TOwned<TMemoryStream> In = MakeOwned<TMemoryStream>();
  In->WriteBuffer(AText.data(), static_cast<Integer>(AText.size()));
  In->SetPosition(0);
  TOwned<TMemoryStream> Out = MakeOwned<TMemoryStream>();
  ObjectTextToBinary(In.get(), Out.get());
  Out->SetPosition(0);
  return Out;
}

std::string ComponentToText(TComponent* AComponent) {
  TOwned<TMemoryStream> Bin = MakeOwned<TMemoryStream>();
  WriteComponentToStream(Bin.get(), AComponent);
  Bin->SetPosition(0);
  TOwned<TMemoryStream> Text = MakeOwned<TMemoryStream>();
  ObjectBinaryToText(Bin.get(), Text.get());
  return std::string(static_cast<const char*>(Text->Memory()), static_cast<size_t>(Text->Size()));
}

}  // namespace ControlsTest
