// Shows the progress bar in every bar style, both orientations, with
// overload, peak, text, bevels and marquee, with the Native and the UltraFlat
// look at 96 and 144 DPI, one PNG sheet each, for people to look at:
//   progressbar_gallery <output folder>
#include <cstdio>
#include <string>

#include "ControlsTestSupport.h"
#include "EditcoreTestSupport.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "cxExtEditConsts.h"
#include "cxProgressBar.h"
#include "dxGDIPlusClasses.h"

namespace {

struct TBarCase {
  const wchar_t* Name;
  TcxProgressBarBarStyle Style;
  Double Position;
  void (*Setup)(TcxProgressBarProperties*);
};

void NoSetup(TcxProgressBarProperties*) {}

const TBarCase Cases[] = {
    {L"solid 40 %", cxbsSolid, 40, NoSetup},
    {L"LEDs 70 %", cxbsLEDs, 70, NoSetup},
    {L"gradient 60 %", cxbsGradient, 60, NoSetup},
    {L"gradient LEDs 90 %", cxbsGradientLEDs, 90, NoSetup},
    {L"bitmap 50 %", cxbsBitmap, 50, NoSetup},
    {L"bitmap LEDs 50 %", cxbsBitmapLEDs, 50, NoSetup},
    {L"animation 60 %", cxbsAnimation, 60, NoSetup},
    {L"animation LEDs 60 %", cxbsAnimationLEDs, 60, NoSetup},
    {L"overload 90 % (80)", cxbsGradient, 90,
     [](TcxProgressBarProperties* P) { P->SetShowOverload(true); }},
    {L"peak held at 75", cxbsSolid, 40,
     [](TcxProgressBarProperties* P) {
       P->SetShowPeak(true);
       P->SetPeakValue(75);
     }},
    {L"lowered bevel", cxbsSolid, 55,
     [](TcxProgressBarProperties* P) { P->SetBarBevelOuter(cxbvLowered); }},
    {L"raised LEDs", cxbsLEDs, 55,
     [](TcxProgressBarProperties* P) { P->SetBarBevelOuter(cxbvRaised); }},
    {L"border width 3", cxbsSolid, 100, [](TcxProgressBarProperties* P) { P->SetBorderWidth(3); }},
    {L"marquee", cxbsAnimation, 0,
     [](TcxProgressBarProperties* P) {
       P->SetMarquee(true);
       P->SetText(L"cancelling...");
     }},
    {L"text split at the chunk", cxbsSolid, 50,
     [](TcxProgressBarProperties* P) { P->SetShowText(true); }},
};

TOwned<TBitmap> Tile() {
  TOwned<TBitmap> B = MakeOwned<TBitmap>();
  B->SetSize(8, 8);
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X)
      B->Canvas()->SetPixel(X, Y,
                            ((X + Y) / 2) % 2 ? static_cast<TColor>(RGB(200, 120, 30))
                                              : static_cast<TColor>(RGB(250, 220, 120)));
  return B;
}

void Paint(bool ANative, Integer APPI, const String& AFileName) {
  const Integer Rows = static_cast<Integer>(std::size(Cases));
  TOwned<TCustomForm> Form(ControlsTest::CreateForm(560, 30 * Rows + 20));
  Form->SetColor(static_cast<TColor>(RGB(236, 233, 216)));
  TOwned<TBitmap> Picture = Tile();
  Integer Y = 8;
  for (const TBarCase& C : Cases) {
    TLabel* L = Create<TLabel>(Form.get());
    L->SetParent(Form.get());
    L->SetBounds(8, Y + 4, 150, 16);
    L->SetCaption(C.Name);
    TcxProgressBar* B = Create<TcxProgressBar>(Form.get());
    B->SetParent(Form.get());
    B->SetAutoSize(false);
    B->SetBounds(160, Y, 300, 22);
    B->GetEditStyle()->GetLookAndFeel()->SetNativeStyle(ANative);
    B->GetEditStyle()->GetLookAndFeel()->SetKind(lfUltraFlat);
    TcxProgressBarProperties* P = B->GetProperties();
    P->SetShowText(false);
    P->SetForegroundImage(Picture.get());
    P->SetBarStyle(C.Style);
    P->SetAnimationSpeed(3);
    C.Setup(P);
    B->SetPosition(C.Position);
    // The light segment half way along the fill.
    for (Integer I = 0; I < 15; ++I) B->ViewInfo()->DoAnimationTimer(nullptr);
    Y += 30;
  }
  // Two vertical bars at the right: one filling from the bottom, one with
  // turned text.
  for (Integer I = 0; I < 2; ++I) {
    TcxProgressBar* B = Create<TcxProgressBar>(Form.get());
    B->SetParent(Form.get());
    B->SetAutoSize(false);
    B->SetBounds(480 + I * 40, 8, 26, 300);
    B->GetEditStyle()->GetLookAndFeel()->SetNativeStyle(ANative);
    B->GetEditStyle()->GetLookAndFeel()->SetKind(lfUltraFlat);
    TcxProgressBarProperties* P = B->GetProperties();
    P->SetOrientation(cxorVertical);
    P->SetBarStyle(I == 0 ? cxbsGradientLEDs : cxbsSolid);
    P->SetShowText(I == 1);
    P->SetTextOrientation(cxorVertical);
    B->SetPosition(I == 0 ? 65 : 35);
  }
  if (APPI != 96) Form->ScaleForPPI(APPI);
  ControlsTest::ProcessMessages();
  TOwned<TcxBitmap32> Shot = ControlsTest::CaptureWindow(Form.get());
  Shot->MakeOpaque();
  TOwned<TdxSmartImage> Image(TdxCustomSmartImage::CreateFromBitmap<TdxSmartImage>(Shot.get()));
  Image->SaveToFile(AFileName);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int Result = 1;
  try {
    EditcoreStartUp();
    cxExtEditConsts_Initialize();
    cxProgressBar_Initialize();
    const String Folder = argc > 1 ? String(argv[1]) : String(L"gallery\\editors");
    if (ForceDirectories(Folder)) {
      const struct {
        const wchar_t* Name;
        bool Native;
      } Looks[] = {{L"Native", true}, {L"UltraFlat", false}};
      for (const auto& L : Looks)
        for (Integer PPI : {96, 144}) {
          const String Name =
              Folder + L"\\progressbar-" + L.Name + L"-" + std::to_wstring(PPI) + L"dpi.png";
          Paint(L.Native, PPI, Name);
          std::fprintf(stdout, "%ls\n", Name.c_str());
        }
      Result = 0;
    }
    cxProgressBar_Finalize();
    cxExtEditConsts_Finalize();
    EditcoreShutDown();
  } catch (const Exception& E) {
    std::fprintf(stderr, "gallery: %ls\n", E.Message().c_str());
  }
  CoUninitialize();
  return Result;
}
