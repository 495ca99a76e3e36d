// Puts each page of controls on a form with the Native and the UltraFlat
// painter, at 96 DPI and rescaled to 144 DPI, and writes what the screen
// shows of the form as one PNG per page, painter and resolution for people
// to look at:
//   controls_gallery <output folder>
#include <cstdio>

#include "ControlsModules.h"
#include "ControlsTestSupport.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "cxButtons.h"
#include "cxScrollBar.h"
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

// Buttons: one row per kind, one column per state, and below them the four
// buttons of the program's two windows as they carry them.
struct TButtonStateColumn {
  const wchar_t* Label;
  bool Enabled;
  TcxButtonInternalStates States;
  bool LooksDefault;
};

const TButtonStateColumn ButtonStateColumns[] = {
    {L"normal", true, {}, false},
    {L"hot", true, {bisHot}, false},
    {L"pressed", true, {bisHot, bisPressed}, false},
    {L"default", true, {}, true},
    {L"disabled", false, {}, false},
};

struct TButtonKindRow {
  const wchar_t* Label;
  TcxButtonKind Kind;
  Integer Height;
};

const TButtonKindRow ButtonKindRows[] = {
    {L"standard", cxbkStandard, 25},          {L"drop-down", cxbkDropDown, 25},
    {L"split", cxbkDropDownButton, 25},       {L"command link", cxbkCommandLink, 44},
    {L"office menu", cxbkOfficeDropDown, 40},
};

TcxButton* AddGalleryButton(TCustomForm* AForm, const TRect& ABounds, const String& ACaption) {
  auto* B = Create<TcxButton>(AForm);
  B->SetParent(AForm);
  B->SetBoundsRect(ABounds);
  B->SetCaption(ACaption);
  return B;
}

void AddLabel(TCustomForm* AForm, const TRect& ABounds, const String& ACaption) {
  auto* Label = Create<TLabel>(AForm);
  Label->SetAutoSize(false);
  Label->SetParent(AForm);
  Label->SetBoundsRect(ABounds);
  Label->SetCaption(ACaption);
}

// A glyph of the program's resources, or none when the file is not there.
void LoadGlyph(TcxButton* AButton, const wchar_t* AFileName) {
  const String Name = String(L"..\\resources\\") + AFileName;
  if (!FileExists(Name)) return;
  TOwned<TdxSmartGlyph> Glyph = MakeOwned<TdxSmartGlyph>();
  Glyph->LoadFromFile(Name);
  AButton->OptionsImage()->SetGlyph(Glyph.get());
}

void PopulateButtons(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  // No pointer over the buttons: it would make one of them hot.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  TComponent* Menu = Create<TPopupMenu>(AForm);
  for (size_t C = 0; C < std::size(ButtonStateColumns); ++C)
    AddLabel(AForm, Bounds(100 + static_cast<Integer>(C) * 116, 6, 110, 16),
             ButtonStateColumns[C].Label);
  Integer Top = 26;
  for (const TButtonKindRow& Row : ButtonKindRows) {
    AddLabel(AForm, Bounds(6, Top + 4, 92, 16), Row.Label);
    for (size_t C = 0; C < std::size(ButtonStateColumns); ++C) {
      const TButtonStateColumn& Column = ButtonStateColumns[C];
      TcxButton* B = AddGalleryButton(
          AForm, Bounds(100 + static_cast<Integer>(C) * 116, Top, 110, Row.Height), L"Кнопка");
      B->SetKind(Row.Kind);
      B->SetDropDownMenu(Menu);
      if (Row.Kind == cxbkCommandLink || Row.Kind == cxbkOfficeDropDown)
        B->SetDescription(L"Описание");
      // A default button shows the default frame while no button has the
      // focus.
      B->SetDefault(Column.LooksDefault);
      B->SetEnabled(Column.Enabled);
      B->SetInternalStates(Column.States);
    }
    Top += Row.Height + 8;
  }
  AddLabel(AForm, Bounds(6, Top + 8, 92, 16), L"the windows");
  LoadGlyph(AddGalleryButton(AForm, Bounds(100, Top + 4, 97, 25), L"Пересчет"), L"GlyphRecalc.png");
  LoadGlyph(AddGalleryButton(AForm, Bounds(204, Top + 4, 130, 25), L"Входная папка"),
            L"GlyphInputFolder.png");
  LoadGlyph(AddGalleryButton(AForm, Bounds(340, Top + 4, 130, 25), L"Выходная папка"),
            L"GlyphOutputFolder.png");
  TcxButton* Cancel = AddGalleryButton(AForm, Bounds(476, Top + 4, 88, 24), L"Отмена");
  Cancel->SetDefault(true);
  Cancel->SetCancel(true);
  Cancel->OptionsImage()->SetSpacing(5);
}

const TGalleryPage Pages[] = {
    {L"Frame", {160, 80}, &PopulateFrame},
    {L"ScrollBars", {410, 500}, &PopulateScrollBars},
    {L"Buttons", {690, 310}, &PopulateButtons},
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
