// The round trip of TThread::Synchronize from a worker to a main thread that
// sleeps in the application's message loop, beside the round trip of a
// message posted to a window of the main thread that answers by an event.
// The worker pauses between calls so that the main thread is asleep each
// time.
//
//   tools/run-bench.sh synchronize
#include <algorithm>
#include <cstdio>
#include <vector>

#include "Forms.h"

namespace {

constexpr int Calls = 400;
constexpr UINT WM_PING = WM_APP + 10;

Double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

struct TFigures {
  std::vector<Double> Times;  // seconds
  Double Median() {
    std::sort(Times.begin(), Times.end());
    return Times[Times.size() / 2];
  }
  Double Mean() const {
    Double S = 0;
    for (Double T : Times) S += T;
    return S / static_cast<Double>(Times.size());
  }
  Double Worst() const { return *std::max_element(Times.begin(), Times.end()); }
};

// The main thread's side of the posted message: it answers by an event.
struct TPingWindow {
  HWND Handle = nullptr;
  HANDLE Answer = nullptr;
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_PING) {
      SetEvent(Answer);
      return;
    }
    Message.Result = DefWindowProcW(Handle, Message.Msg, Message.WParam, Message.LParam);
  }
};

class TWorker : public TThread {
  DECLARE_CLASS_INLINE(TWorker, TThread)
 public:
  TWorker(TPingWindow* APing) : TThread(false), FPing(APing) {}
  TFigures Synchronized, Posted;
  bool Done = false;

 protected:
  void Execute() override {
    for (int I = 0; I < Calls; ++I) {
      Sleep(2);
      Double T0 = Now();
      Synchronize(MakeEvent<&TWorker::Nothing>(this));
      Synchronized.Times.push_back(Now() - T0);
      Sleep(2);
      T0 = Now();
      PostMessageW(FPing->Handle, WM_PING, 0, 0);
      WaitForSingleObject(FPing->Answer, INFINITE);
      Posted.Times.push_back(Now() - T0);
    }
    Synchronize(MakeEvent<&TWorker::Finish>(this));
  }

 private:
  void Nothing() {}
  void Finish() { Done = true; }
  TPingWindow* FPing;
};

}  // namespace

int wmain() {
  Forms_Initialize();
  Application()->Initialize();
  TPingWindow Ping;
  Ping.Answer = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  Ping.Handle = AllocateHWnd(MakeEvent<&TPingWindow::WndProc>(&Ping));
  TOwned<TWorker> W(Create<TWorker>(&Ping));
  while (!W->Done) Application()->HandleMessage();
  W->WaitFor();
  std::printf("%d round trips each, worker pausing 2 ms before each\n", Calls);
  std::printf("%-14s %12s %12s %12s\n", "", "median us", "mean us", "worst us");
  Double SyncMedian = W->Synchronized.Median(), PostMedian = W->Posted.Median();
  std::printf("%-14s %12.1f %12.1f %12.1f\n", "Synchronize", SyncMedian * 1e6,
              W->Synchronized.Mean() * 1e6, W->Synchronized.Worst() * 1e6);
  std::printf("%-14s %12.1f %12.1f %12.1f\n", "PostMessage", PostMedian * 1e6,
              W->Posted.Mean() * 1e6, W->Posted.Worst() * 1e6);
  std::printf("ratio synchronize/postmessage (median): %.2f\n", SyncMedian / PostMedian);
  std::printf("ratio synchronize/postmessage (mean): %.2f\n",
              W->Synchronized.Mean() / W->Posted.Mean());
  DeallocateHWnd(Ping.Handle);
  CloseHandle(Ping.Answer);
  W.reset();
  Forms_Finalize();
  return 0;
}
