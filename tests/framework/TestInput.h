// Key input for window tests, and input played into a loop of its own (a
// drag, a menu) one step per timer tick.
#pragma once

#include <functional>
#include <vector>

#include "Forms.h"

namespace FrameworkTest {

inline void SendKey(WORD AKey, bool AUp) {
  INPUT In{};
  In.type = INPUT_KEYBOARD;
  In.ki.wVk = AKey;
  In.ki.dwFlags = AUp ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &In, sizeof(In));
}

// Steps of input, one per timer tick: the loop handles what one step sent
// before the next tick comes (a timer comes only once the queue is empty).
// Once the steps are done, a loop still holding the capture after a while
// loses it, so that a failing case cannot hang the run.
struct TInputScript {
  std::vector<std::function<void()>> Steps;
  size_t Next = 0;
  int IdleTicks = 0;
  TOwned<TTimer> Timer;
  explicit TInputScript(std::vector<std::function<void()>> ASteps)
      : Steps(std::move(ASteps)), Timer(Create<TTimer>(nullptr)) {
    Timer->SetInterval(15);
    Timer->SetOnTimer(MakeEvent<&TInputScript::Tick>(this));
  }
  void Tick(TObject*) {
    if (Next < Steps.size())
      Steps[Next++]();
    else if (++IdleTicks == 150 && GetCapture())
      ReleaseCapture();
  }
  bool Done() const { return Next >= Steps.size(); }
};

}  // namespace FrameworkTest
