// Fading: 20 simultaneous fades of 200 x 40 pictures stepped by the fader's
// tick; prints the work per tick (the goal is at most 2 ms of the 10 ms tick)
// and the cost of one blended frame against the platform's AlphaBlend
// cross-fading the same two pictures ("ratio <what>: X", ours over its).
//
//   tools/run-bench.sh lookandfeel (after the painters bench)
#include <cstdio>
#include <vector>

#include "LookAndFeelModules.h"

namespace {
Double WallSeconds() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

constexpr Integer Width = 200, Height = 40, Fades = 20;

// A button face: a vertical gradient with a frame, in the given tint.
TcxBitmap* Face(TColor ATop, TColor ABottom) {
  TcxBitmap* B = TcxBitmap32::CreateSize(Width, Height);
  FillGradientRect(B->Canvas()->Handle(), TRect{0, 0, Width, Height}, ATop, ABottom, false);
  B->Canvas()->Brush()->SetColor(0x404040);
  B->Canvas()->FrameRect(TRect{0, 0, Width, Height});
  return B;
}

class TBenchPart : public TdxFadingObjectHelper {
 public:
  bool STDMETHODCALLTYPE CanFade() override { return true; }
  void STDMETHODCALLTYPE DrawFadeImage() override {}
  void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*& ANormal, TcxBitmap*& AHot) override {
    ANormal = Face(0xF0F0F0, 0xD0D0D0);
    AHot = Face(0xFFE8C0, 0xF0C080);
  }
};

// Work per tick while 20 fade-ins run: every tick builds 20 frames.
Double TickMilliseconds() {
  std::vector<TOwned<TBenchPart>> Parts;
  for (Integer I = 0; I < Fades; ++I) Parts.emplace_back(Create<TBenchPart>());
  Double Total = 0;
  Integer Ticks = 0;
  for (Integer Round = 0; Round < 40; ++Round) {
    for (auto& P : Parts) P->FadeIn();
    // Four ticks of blending; the fifth only ends the fades.
    const Double T0 = WallSeconds();
    for (Integer K = 0; K < 4; ++K) dxFader()->DoTimer(nullptr);
    Total += WallSeconds() - T0;
    Ticks += 4;
    dxFader()->DoTimer(nullptr);
  }
  return Total / Ticks * 1000;
}

// One blended frame by the fader, and the same cross-fade by AlphaBlend:
// the start picture copied, the end picture blended over it.
void FrameRatio() {
  TBenchPart Part;
  dxFader()->FadeIn(&Part);
  TdxFadingElement* E = dxFader()->Find(&Part);
  TOwned<TcxBitmap> Start(Face(0xF0F0F0, 0xD0D0D0)), End(Face(0xFFE8C0, 0xF0C080));
  TOwned<TcxBitmap> Target(TcxBitmap32::CreateSize(Width, Height));
  const Integer Repeats = 400;
  Double Ours = 1e9, Platform = 1e9;
  for (Integer Round = 0; Round < 5; ++Round) {
    Double T0 = WallSeconds();
    for (Integer I = 0; I < Repeats; ++I) {
      E->SetStage(1 + I % 3);
      E->BuildWorkImage();
    }
    Ours = std::min(Ours, (WallSeconds() - T0) / Repeats);
    T0 = WallSeconds();
    for (Integer I = 0; I < Repeats; ++I) {
      HDC DC = Target->Canvas()->Handle();
      BitBlt(DC, 0, 0, Width, Height, Start->Canvas()->Handle(), 0, 0, SRCCOPY);
      BLENDFUNCTION F{AC_SRC_OVER, 0, static_cast<BYTE>(64 * (1 + I % 3)), 0};
      GdiAlphaBlend(DC, 0, 0, Width, Height, End->Canvas()->Handle(), 0, 0, Width, Height, F);
    }
    Platform = std::min(Platform, (WallSeconds() - T0) / Repeats);
  }
  dxFader()->Remove(&Part, true);
  std::printf("fading frame (200 x 40): %.1f us, AlphaBlend cross-fade: %.1f us\n", Ours * 1e6,
              Platform * 1e6);
  std::printf("ratio fading frame / AlphaBlend: %.2f (goal <= 4)\n", Ours / Platform);
}
}  // namespace

int wmain() {
  StartLookAndFeelModules();
  dxFader()->SetState(fasEnabled);
  dxFader()->SetMaxAnimationCount(Fades);
  const Double Tick = TickMilliseconds();
  std::printf("fading work per tick, %d fades of %d x %d: %.3f ms (goal <= 2 ms of 10 ms)\n", Fades,
              Width, Height, Tick);
  FrameRatio();
  StopLookAndFeelModules();
  return 0;
}
