// Cost of the automation stand-in as the program meets it: starting one
// instance (activation by programmatic identifier until the first answer),
// ending it, and one statement or expression round trip.
//   run under the project's Wine prefix after tools/standins-register.sh
#include <algorithm>
#include <cstdio>
#include <vector>

#include "SysUtils.h"
// After the platform headers that SysUtils.h brings in.
#include <psapi.h>

namespace {

double Seconds() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<double>(C.QuadPart) / static_cast<double>(F.QuadPart);
}

IDispatch* CreateApp() {
  CLSID Clsid;
  IDispatch* Disp = nullptr;
  if (FAILED(CLSIDFromProgID(L"MapInfo.Application", &Clsid)) ||
      FAILED(CoCreateInstance(Clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&Disp))))
    return nullptr;
  return Disp;
}

// Calls a one-argument member; false on any failure.
bool Call(IDispatch* App, const wchar_t* AName, const wchar_t* AArg, String* AResult = nullptr) {
  DISPID Id;
  LPOLESTR Name = const_cast<LPOLESTR>(AName);
  if (FAILED(App->GetIDsOfNames(IID_NULL, &Name, 1, LOCALE_USER_DEFAULT, &Id))) return false;
  VARIANT Arg, Result;
  VariantInit(&Arg);
  VariantInit(&Result);
  V_VT(&Arg) = VT_BSTR;
  V_BSTR(&Arg) = SysAllocString(AArg);
  DISPPARAMS Params = {&Arg, nullptr, 1, 0};
  HRESULT Hr =
      App->Invoke(Id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                  &Params, &Result, nullptr, nullptr);
  if (AResult && SUCCEEDED(Hr) && V_VT(&Result) == VT_BSTR) *AResult = V_BSTR(&Result);
  VariantClear(&Arg);
  VariantClear(&Result);
  return SUCCEEDED(Hr);
}

HANDLE ServerProcess(IDispatch* App) {
  String Wnd;
  if (!Call(App, L"Eval", L"SystemInfo(9)", &Wnd)) return nullptr;
  DWORD Pid = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<NativeInt>(std::stoll(Wnd))), &Pid);
  return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, Pid);
}

void Report(const char* AWhat, std::vector<double> ASeconds, double AScale, const char* AUnit) {
  std::sort(ASeconds.begin(), ASeconds.end());
  double Sum = 0;
  for (double S : ASeconds) Sum += S;
  std::printf("%-40s n=%-5zu mean %9.3f %s  median %9.3f  min %9.3f  max %9.3f\n", AWhat,
              ASeconds.size(), Sum / ASeconds.size() * AScale, AUnit,
              ASeconds[ASeconds.size() / 2] * AScale, ASeconds.front() * AScale,
              ASeconds.back() * AScale);
}

}  // namespace

int wmain() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int Starts = 10, Calls = 2000;
  std::vector<double> Start, End, Eval, Do;
  SIZE_T PeakWorkingSet = 0;
  for (int I = 0; I < Starts; ++I) {
    double T0 = Seconds();
    IDispatch* App = CreateApp();
    String Answer;
    if (!App || !Call(App, L"Eval", L"1", &Answer)) {
      std::printf("the server does not start: register it with tools/standins-register.sh\n");
      return 2;
    }
    Start.push_back(Seconds() - T0);
    HANDLE Process = ServerProcess(App);
    if (I == 0) {
      for (int K = 0; K < Calls; ++K) {
        double C0 = Seconds();
        Call(App, L"Eval", L"ObjectGeography(CreatePoint(7413000.5, 6179000.25), 1)");
        Eval.push_back(Seconds() - C0);
        C0 = Seconds();
        Call(App, L"Do", L"Set Distance Units \"m\"");
        Do.push_back(Seconds() - C0);
      }
      PROCESS_MEMORY_COUNTERS Mem = {};
      if (Process && GetProcessMemoryInfo(Process, &Mem, sizeof Mem))
        PeakWorkingSet = Mem.PeakWorkingSetSize;
    }
    double T1 = Seconds();
    Call(App, L"Do", L"End MapInfo");
    App->Release();
    if (Process) {
      WaitForSingleObject(Process, 30000);
      CloseHandle(Process);
    }
    End.push_back(Seconds() - T1);
  }
  Report("instance start (create + first Eval)", Start, 1e3, "ms");
  Report("instance end (End MapInfo + exit)", End, 1e3, "ms");
  Report("Eval round trip", Eval, 1e6, "us");
  Report("Do round trip", Do, 1e6, "us");
  std::printf("server peak working set: %.1f MiB\n", PeakWorkingSet / 1048576.0);
  CoUninitialize();
  return 0;
}
