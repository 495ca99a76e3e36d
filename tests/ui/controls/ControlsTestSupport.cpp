#include "ControlsTestSupport.h"

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

}  // namespace ControlsTest
