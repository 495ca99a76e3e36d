// Program entry: module start-up in dependency order, the main window, the
// message loop, and shut-down in reverse order.
#include "AppEvnts.h"
#include "Clipbrd.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "Pelmora.h"
#include "StdCtrls.h"
#include "cxButtons.h"
#include "cxCheckBox.h"
#include "cxClasses.h"
#include "cxControls.h"
#include "cxDWMApi.h"
#include "cxDataConsts.h"
#include "cxDataStorage.h"
#include "cxDateUtils.h"
#include "cxDrawTextUtils.h"
#include "cxEdit.h"
#include "cxEditConsts.h"
#include "cxEditPaintUtils.h"
#include "cxExtEditConsts.h"
#include "cxFilterConsts.h"
#include "cxFilterControlStrs.h"
#include "cxFilterControlUtils.h"
#include "cxFormats.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "cxImageList.h"
#include "cxLabel.h"
#include "cxLibraryStrs.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "cxMaskEdit.h"
#include "cxPopupHooks.h"
#include "cxProgressBar.h"
#include "cxTextEdit.h"
#include "dxAnimation.h"
#include "dxCore.h"
#include "dxCoreClasses.h"
#include "dxCoreGraphics.h"
#include "dxCultureInfo.h"
#include "dxCustomHint.h"
#include "dxDPIAwareUtils.h"
#include "dxFading.h"
#include "dxForms.h"
#include "dxGDIPlusAPI.h"
#include "dxGDIPlusClasses.h"
#include "dxHooks.h"
#include "dxIncrementalFiltering.h"
#include "dxOffice11.h"
#include "dxSVGCore.h"
#include "dxSVGImage.h"
#include "dxSkinsCore.h"
#include "dxSmartImage.h"
#include "dxSpellCheckerCore.h"
#include "dxStringHelper.h"
#include "dxTaskbarProgress.h"
#include "dxThemeManager.h"
#include "dxThreading.h"
#include "dxTouch.h"
#include "dxUxTheme.h"
#include "gkAppControl.h"
#include "gkCommon.h"
#include "gkMapInfo.h"
#include "gkMessage.h"
#include "gkMitabDyn.h"
#include "gkProgress.h"
#include "gkSetting.h"
#include "gkTrace.h"

namespace {

struct TModule {
  void (*Initialize)();
  void (*Finalize)();
};

// The component library's foundation and the framework first, then the
// support library, then the rest of the library and the feature-library
// binding; the progress window's module comes last.
const TModule Modules[] = {
    {&dxCore_Initialize, &dxCore_Finalize},
    {&dxCoreClasses_Initialize, &dxCoreClasses_Finalize},
    {&cxGeometry_Initialize, &cxGeometry_Finalize},
    {&dxDPIAwareUtils_Initialize, &dxDPIAwareUtils_Finalize},
    {&dxUxTheme_Initialize, &dxUxTheme_Finalize},
    {&dxThemeManager_Initialize, &dxThemeManager_Finalize},
    {&cxDWMApi_Initialize, &cxDWMApi_Finalize},
    {&dxHooks_Initialize, &dxHooks_Finalize},
    {&dxTouch_Initialize, &dxTouch_Finalize},
    {&Forms_Initialize, &Forms_Finalize},
    {&StdCtrls_Initialize, nullptr},
    {&ComCtrls_Initialize, &ComCtrls_Finalize},
    {&ExtCtrls_Initialize, nullptr},
    {&Menus_Initialize, nullptr},
    {&Dialogs_Initialize, nullptr},
    {&ImgList_Initialize, nullptr},
    {&AppEvnts_Initialize, nullptr},
    {nullptr, &Clipbrd_Finalize},
    {&dxCoreGraphics_Initialize, &dxCoreGraphics_Finalize},
    {&dxGDIPlusAPI_Initialize, &dxGDIPlusAPI_Finalize},
    {&dxSmartImage_Initialize, &dxSmartImage_Finalize},
    {&dxGDIPlusClasses_Initialize, &dxGDIPlusClasses_Finalize},
    {&cxGraphics_Initialize, &cxGraphics_Finalize},
    {&cxDrawTextUtils_Initialize, &cxDrawTextUtils_Finalize},
    {&cxImageList_Initialize, &cxImageList_Finalize},
    {&dxSVGCore_Initialize, &dxSVGCore_Finalize},
    {&dxSVGImage_Initialize, &dxSVGImage_Finalize},
    {&cxLibraryStrs_Initialize, &cxLibraryStrs_Finalize},
    {&cxClasses_Initialize, &cxClasses_Finalize},
    {&dxThreading_Initialize, &dxThreading_Finalize},
    {&dxOffice11_Initialize, &dxOffice11_Finalize},
    {&dxSkinsCore_Initialize, &dxSkinsCore_Finalize},
    {&dxFading_Initialize, &dxFading_Finalize},
    {&cxLookAndFeelPainters_Initialize, &cxLookAndFeelPainters_Finalize},
    {&cxLookAndFeels_Initialize, &cxLookAndFeels_Finalize},
    {&dxAnimation_Initialize, &dxAnimation_Finalize},
    {&cxControls_Initialize, &cxControls_Finalize},
    // Forms, the popup closing hooks and hints.
    {&dxForms_Initialize, &dxForms_Finalize},
    {&cxPopupHooks_Initialize, &cxPopupHooks_Finalize},
    {&dxCustomHint_Initialize, &dxCustomHint_Finalize},
    {&cxButtons_Initialize, &cxButtons_Finalize},
    {&cxDateUtils_Initialize, &cxDateUtils_Finalize},
    {&cxFormats_Initialize, &cxFormats_Finalize},
    {&gkTrace_Initialize, &gkTrace_Finalize},
    {&gkMessage_Initialize, &gkMessage_Finalize},
    {&gkSetting_Initialize, &gkSetting_Finalize},
    {&gkCommon_Initialize, &gkCommon_Finalize},
    {&gkAppControl_Initialize, &gkAppControl_Finalize},
    {&cxDataConsts_Initialize, &cxDataConsts_Finalize},
    {&cxFilterConsts_Initialize, &cxFilterConsts_Finalize},
    {&cxFilterControlStrs_Initialize, &cxFilterControlStrs_Finalize},
    {&cxDataStorage_Initialize, &cxDataStorage_Finalize},
    {&cxFilterControlUtils_Initialize, &cxFilterControlUtils_Finalize},
    {&dxCultureInfo_Initialize, &dxCultureInfo_Finalize},
    {nullptr, &dxStringHelper_Finalize},
    {&cxEditConsts_Initialize, &cxEditConsts_Finalize},
    {&cxEditPaintUtils_Initialize, &cxEditPaintUtils_Finalize},
    {&dxSpellCheckerCore_Initialize, &dxSpellCheckerCore_Finalize},
    {&cxEdit_Initialize, &cxEdit_Finalize},
    {nullptr, &dxIncrementalFiltering_Finalize},
    // The text editor, first of the editors; it fills the search-edit link.
    {&cxTextEdit_Initialize, &cxTextEdit_Finalize},
    // The mask editor, on the text editor.
    {&cxMaskEdit_Initialize, &cxMaskEdit_Finalize},
    {&cxExtEditConsts_Initialize, &cxExtEditConsts_Finalize},
    // The extended editors, after the strings their descriptions come from.
    {&cxProgressBar_Initialize, &cxProgressBar_Finalize},
    {&cxLabel_Initialize, &cxLabel_Finalize},
    {&cxCheckBox_Initialize, &cxCheckBox_Finalize},
    {&dxTaskbarProgress_Initialize, &dxTaskbarProgress_Finalize},
    {&gkMitabDyn_Initialize, &gkMitabDyn_Finalize},
    {&gkMapInfo_Initialize, &gkMapInfo_Finalize},
    {&gkProgress_Initialize, &gkProgress_Finalize},
};

void StartUp() {
  for (const TModule& M : Modules)
    if (M.Initialize) M.Initialize();
}

void ShutDown() {
  for (auto It = std::rbegin(Modules); It != std::rend(Modules); ++It)
    if (It->Finalize) It->Finalize();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  RegisterClasses({TForm1::StaticClass()});
  int ExitCode = 0;
  StartUp();
  try {
    Application()->Initialize();
    Application()->SetMainFormOnTaskBar(true);
    Application()->CreateForm(Form1);
    Application()->Run();
  } catch (...) {
    if (Application()) Application()->HandleException(nullptr);
    ExitCode = 1;
  }
  // The forms and what they own (GDI+ images, fonts, canvases) go before the
  // modules they use shut down, as the framework's own exit frees them;
  // freed later, an image reaches a GDI+ already unloaded and the program
  // crashes on its way out.
  if (Application()) Application()->DestroyComponents();
  ShutDown();
  return ExitCode;
}
