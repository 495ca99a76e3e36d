// Puts each page of controls on a form with the Native and the UltraFlat
// painter, at 96 DPI and rescaled to 144 DPI, and writes what the screen
// shows of the form as one PNG per page, painter and resolution for people
// to look at:
//   controls_gallery <output folder>
#include <cstdio>

#include "ControlsModules.h"
#include "ControlsTestSupport.h"
#include "StdCtrls.h"
#include "cxScrollBar.h"
#include "dxCustomHint.h"
#include "dxForms.h"
#include "dxSmartImage.h"

using namespace ControlsTest;

namespace {

// A labelled panel of the form's colour: shows the harness itself works
// until the layer's controls bring pages of their own.
void PopulateFrame(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  AForm->SetCaption(L"Gallery");
}

// Scroll bars with each part in each of its states, forced on the bars'
// layout: one row per state (horizontal bar), and the same states in the
// same order on the vertical bars below, numbered.
struct TScrollBarStateRow {
  const wchar_t* Label;
  TcxScrollBarPart Hot;
  TcxScrollBarPart Pressed;
  bool Enabled;
  bool RightToLeft;
};

const TScrollBarStateRow ScrollBarStateRows[] = {
    {L"1 normal", sbpNone, sbpNone, true, false},
    {L"2 line up hot", sbpLineUp, sbpNone, true, false},
    {L"3 line up pressed", sbpLineUp, sbpLineUp, true, false},
    {L"4 line down hot", sbpLineDown, sbpNone, true, false},
    {L"5 line down pressed", sbpLineDown, sbpLineDown, true, false},
    {L"6 thumb hot", sbpThumbnail, sbpNone, true, false},
    {L"7 thumb pressed", sbpThumbnail, sbpThumbnail, true, false},
    {L"8 page up pressed", sbpPageUp, sbpPageUp, true, false},
    {L"9 page down pressed", sbpPageDown, sbpPageDown, true, false},
    {L"10 disabled", sbpNone, sbpNone, false, false},
    {L"11 right to left", sbpNone, sbpNone, true, true},
};

void AddStateBar(TCustomForm* AForm, TScrollBarKind AKind, const TRect& ABounds,
                 const TScrollBarStateRow& ARow) {
  auto* Bar = Create<TcxScrollBar>(AForm);
  Bar->SetParent(AForm);
  Bar->SetKind(AKind);
  Bar->SetBoundsRect(ABounds);
  Bar->SetScrollParams(0, 99, 40, 20);
  Bar->SetEnabled(ARow.Enabled);
  Bar->SetBiDiMode(ARow.RightToLeft ? bdRightToLeft : bdLeftToRight);
  // The states stay through the rescaling: it lays the parts out anew but
  // keeps which part is hot and which pressed.
  Bar->Helper()->ViewInfo()->SetHotPart(ARow.Hot);
  Bar->Helper()->ViewInfo()->SetPressedPart(ARow.Pressed);
}

void PopulateScrollBars(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  // No pointer over the bars: it would make its own part hot.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  const Integer Thick = GetSystemMetrics(SM_CYHSCROLL), RowHeight = Thick + 8;
  Integer Index = 0;
  for (const TScrollBarStateRow& Row : ScrollBarStateRows) {
    const Integer Top = 8 + Index * RowHeight;
    auto* Label = Create<TLabel>(AForm);
    Label->SetAutoSize(false);
    Label->SetParent(AForm);
    Label->SetBounds(8, Top, 130, RowHeight);
    Label->SetCaption(Row.Label);
    AddStateBar(AForm, sbHorizontal, Bounds(140, Top, 220, Thick), Row);
    AddStateBar(AForm, sbVertical,
                Bounds(8 + Index * 36, 16 + 11 * RowHeight, GetSystemMetrics(SM_CXVSCROLL), 200),
                Row);
    ++Index;
  }
}

// The popup window in each frame style, opened below a labelled owner
// rectangle of the form, and a hint; they stand over the form, where the
// shot takes them.
const struct {
  const wchar_t* Label;
  TcxPopupBorderStyle Style;
} PopupFrameRows[] = {
    {L"None", pbsNone}, {L"UltraFlat", pbsUltraFlat}, {L"Flat", pbsFlat}, {L"3D", pbs3D}};

void PopulatePopupFrames(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  Integer Left = 8;
  for (const auto& Row : PopupFrameRows) {
    auto* Owner = Create<TLabel>(AForm);
    Owner->SetParent(AForm);
    Owner->SetAutoSize(false);
    Owner->SetBounds(Left, 8, 110, 18);
    Owner->SetCaption(Row.Label);
    auto* Popup = Create<TcxPopupWindow>(AForm);
    Popup->SetPopupBorderStyle(Row.Style);
    Popup->SetBorderSpace(Row.Style == pbsNone ? 0 : 2);
    Popup->SetColor(clWindow);
    auto* Content = Create<TLabel>(Popup);
    Content->SetParent(Popup);
    Content->SetAutoSize(false);
    Content->SetBounds(0, 0, 110, 60);
    Content->SetCaption(L"popup content");
    Left += 130;
  }
}

void OpenPopupFrames(TCustomForm* AForm) {
  const Integer PPI = AForm->CurrentPPI();
  Integer Index = 0;
  for (Integer I = 0; I < AForm->ComponentCount(); ++I) {
    auto* Popup = AsOrNull<TcxPopupWindow>(AForm->Components(I));
    if (!Popup) continue;
    TControl* Owner = nullptr;
    for (Integer J = 0, Labels = 0; J < AForm->ControlCount(); ++J)
      if (AsOrNull<TLabel>(AForm->Controls(J)) && Labels++ == Index) Owner = AForm->Controls(J);
    ++Index;
    Popup->ScaleForPPI(PPI);
    Popup->SetOwnerParent(AForm);
    Popup->SetOwnerBounds(Owner->BoundsRect());
    const TSize Size = Popup->CalculateSize();
    const TPoint P = Popup->CalculatePosition(Size);
    Popup->SetBounds(P.x, P.y, Size.cx, Size.cy);
    // Shown without activation: the next one would close it by deactivation.
    ShowWindow(Popup->Handle(), SW_SHOWNOACTIVATE);
  }
  // A hint of the library's base window below them, shown at once.
  auto* Hint = Create<TcxBaseHintWindow>(AForm);
  Hint->SetAnimationStyle(cxhaNone);
  Hint->ScaleForPPI(PPI);
  const String Text = L"A hint of the library's window";
  TRect R = Hint->CalcHintRect(MulDiv(300, PPI, 96), Text, nullptr);
  const TPoint At = AForm->ClientToScreen(TPoint{8, MulDiv(112, PPI, 96)});
  OffsetRect(&R, At.x, At.y);
  Hint->ActivateHint(R, Text);
  ProcessMessages();
}

const TGalleryPage Pages[] = {
    {L"Frame", {160, 80}, &PopulateFrame},
    {L"ScrollBars", {410, 500}, &PopulateScrollBars},
    {L"PopupFrames", {530, 140}, &PopulatePopupFrames, &OpenPopupFrames},
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
  if (APage.Scaled) APage.Scaled(Form.get());
  TOwned<TcxBitmap32> Shot = CaptureWindow(Form.get());
  TOwned<TdxSmartImage> Image(TdxCustomSmartImage::CreateFromBitmap<TdxSmartImage>(Shot.get()));
  Image->SaveToFile(AFileName);
}

int Run(const String& AFolder) {
  if (!ForceDirectories(AFolder)) {
    std::fprintf(stderr, "cannot make the output folder\n");
    return 1;
  }
  // Hot and pressed parts are shown as they are, not in the middle of a fade.
  dxFader()->SetState(fasDisabled);
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
