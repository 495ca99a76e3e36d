// Entry of the automation server. COM starts it with "-Embedding"; each
// process serves exactly one application object (a single-use class object),
// so every client creation starts a new process, and the process ends when
// that object is released or "End MapInfo" is run.
#include "miAutomation.h"

namespace {

const wchar_t MainWindowClass[] = L"MapInfoStandinFrame";
// A server started for a client that then goes away must not linger.
const UINT StartupTimeoutMs = 60000;
const UINT_PTR StartupTimer = 1;
// "End MapInfo" ends the process once the client has let its object go; a
// client that keeps it does not keep the process beyond this.
const UINT EndTimeoutMs = 3000;
const UINT_PTR EndTimer = 2;

bool GObjectCreated = false;
// The registration of the class object while it may hand out the one object.
DWORD GClassCookie = 0;

void ServerLock(bool ALock) {
  if (ALock) {
    CoAddRefServerProcess();
  } else if (CoReleaseServerProcess() == 0) {
    PostQuitMessage(0);
  }
}

class TEndHandler : public TObject {
  DECLARE_CLASS_INLINE(TEndHandler, TObject)
 public:
  explicit TEndHandler(HWND AMainWindow) : FMainWindow(AMainWindow) {}
  // The reply to the running Do is sent by another thread after the call
  // returns: a process that ended at once could cut it off, and the client's
  // Do would fail. The client's release ends the process (the last server
  // reference), or the timer does.
  void EndApplication(TObject*) { SetTimer(FMainWindow, EndTimer, EndTimeoutMs, nullptr); }

 private:
  HWND FMainWindow;
};

class TClassFactory : public IClassFactory {
 public:
  explicit TClassFactory(HWND AMainWindow, TEndHandler* AEnd)
      : FMainWindow(AMainWindow), FEnd(AEnd) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    if (!AObj) return E_POINTER;
    if (IsEqualIID(AIID, IID_IUnknown) || IsEqualIID(AIID, IID_IClassFactory)) {
      *AObj = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *AObj = nullptr;
    return E_NOINTERFACE;
  }
  // The factory lives on the stack of wWinMain for the whole process.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* AOuter, REFIID AIID, void** AObj) override {
    if (!AObj) return E_POINTER;
    *AObj = nullptr;
    if (AOuter) return CLASS_E_NOAGGREGATION;
    if (GObjectCreated) return CO_E_SERVER_STOPPING;
    try {
      TMapInfoApplication* App =
          Create<TMapInfoApplication>(FMainWindow, MakeEvent<&TEndHandler::EndApplication>(FEnd));
      HRESULT Hr = App->QueryInterface(AIID, AObj);
      App->Release();
      if (SUCCEEDED(Hr)) {
        GObjectCreated = true;
        KillTimer(FMainWindow, StartupTimer);
        // Single use, whatever the platform makes of the flag: once the one
        // object exists, no later client may reach this process's class
        // object (it would be refused while the process ends) and every new
        // creation starts a new process.
        if (GClassCookie) {
          CoRevokeClassObject(GClassCookie);
          GClassCookie = 0;
        }
      }
      return Hr;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL ALock) override {
    ServerLock(ALock != FALSE);
    return S_OK;
  }

 private:
  HWND FMainWindow;
  TEndHandler* FEnd;
};

LRESULT CALLBACK MainWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_TIMER:
      if ((WParam == StartupTimer && !GObjectCreated) || WParam == EndTimer) PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(Wnd, Msg, WParam, LParam);
  }
}

HWND CreateMainWindow(HINSTANCE Instance) {
  WNDCLASSEXW Wc = {};
  Wc.cbSize = sizeof Wc;
  Wc.lpfnWndProc = MainWindowProc;
  Wc.hInstance = Instance;
  Wc.lpszClassName = MainWindowClass;
  Wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  Wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  RegisterClassExW(&Wc);
  return CreateWindowExW(0, MainWindowClass, L"MapInfo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, 800, 600, nullptr, nullptr, Instance, nullptr);
}

bool StartedByCom(const wchar_t* ACmdLine) {
  for (const wchar_t* Flag : {L"-Embedding", L"/Embedding", L"-Automation", L"/Automation"})
    if (wcsstr(ACmdLine, Flag)) return true;
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR CmdLine, int) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  // Only COM starts this program: it has nothing to offer a user directly.
  if (!StartedByCom(CmdLine)) return 1;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  HWND MainWindow = CreateMainWindow(Instance);
  if (!MainWindow) {
    CoUninitialize();
    return 3;
  }
  SetServerLockProc(&ServerLock);
  TEndHandler EndHandler(MainWindow);
  TClassFactory Factory(MainWindow, &EndHandler);
  DWORD Cookie = 0;
  HRESULT Hr = CoRegisterClassObject(CLSID_MapInfoApplication, &Factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_SINGLEUSE, &Cookie);
  if (SUCCEEDED(Hr)) GClassCookie = Cookie;
  if (SUCCEEDED(Hr)) {
    SetTimer(MainWindow, StartupTimer, StartupTimeoutMs, nullptr);
    MSG Msg;
    while (GetMessageW(&Msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&Msg);
      DispatchMessageW(&Msg);
    }
    if (GClassCookie) CoRevokeClassObject(GClassCookie);
  }
  DestroyWindow(MainWindow);
  // No CoUninitialize: a client call that arrives while the apartment shuts
  // down (the release that follows "End MapInfo", typically) is never
  // dispatched once the loop has ended, and CoUninitialize would wait for it
  // for good. Ending the process fails that call in the client instead.
  ExitProcess(SUCCEEDED(Hr) ? 0 : 4);
}
