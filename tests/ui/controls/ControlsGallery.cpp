// Puts each page of controls on a form with the Native and the UltraFlat
// painter, at 96 DPI and rescaled to 144 DPI, and writes what the screen
// shows of the form as one PNG per page, painter and resolution for people
// to look at:
//   controls_gallery <output folder>
#include <cstdio>

#include "ControlsModules.h"
#include "ControlsTestSupport.h"
#include "dxSmartImage.h"

using namespace ControlsTest;

namespace {

// A labelled panel of the form's colour: shows the harness itself works
// until the layer's controls bring pages of their own.
void PopulateFrame(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  AForm->SetCaption(L"Gallery");
}

const TGalleryPage Pages[] = {
    {L"Frame", {160, 80}, &PopulateFrame},
};

const TGalleryStyle Styles[] = {
    {L"Native-96dpi", lfStandard, true, 96},
    {L"Native-144dpi", lfStandard, true, 144},
    {L"UltraFlat-96dpi", lfUltraFlat, false, 96},
    {L"UltraFlat-144dpi", lfUltraFlat, false, 144},
};

void Shoot(const TGalleryPage& APage, const TGalleryStyle& AStyle, const String& AFileName) {
  RootLookAndFeel()->SetKind(AStyle.Kind);
  RootLookAndFeel()->SetNativeStyle(AStyle.NativeStyle);
  TOwned<TCustomForm> Form(CreateForm(APage.ClientSize.cx, APage.ClientSize.cy));
  APage.Populate(Form.get());
  Form->ScaleForPPI(AStyle.PixelsPerInch);
  TOwned<TcxBitmap32> Shot = CaptureWindow(Form.get());
  TOwned<TdxSmartImage> Image(TdxCustomSmartImage::CreateFromBitmap<TdxSmartImage>(Shot.get()));
  Image->SaveToFile(AFileName);
}

int Run(const String& AFolder) {
  if (!ForceDirectories(AFolder)) {
    std::fprintf(stderr, "cannot make the output folder\n");
    return 1;
  }
  for (const TGalleryPage& Page : Pages)
    for (const TGalleryStyle& Style : Styles) {
      String Name = AFolder + L"\\" + Page.Name + L"-" + Style.Name + L".png";
      Shoot(Page, Style, Name);
      std::fprintf(stdout, "%ls\n", Name.c_str());
    }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int Result = 1;
  try {
    StartControlsModules();
    Result = Run(argc > 1 ? String(argv[1]) : String(L"gallery\\controls"));
    StopControlsModules();
  } catch (const Exception& E) {
    std::fprintf(stderr, "gallery: %ls\n", E.Message().c_str());
  }
  CoUninitialize();
  return Result;
}
