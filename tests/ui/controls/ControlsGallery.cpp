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
#include "cxContainer.h"
#include "cxControls.h"
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

// Containers in every border style (ultra-flat and Office 11 draw as their
// single line with their own colours), then a disabled one, one with a
// shadow, one without the transparent ring, one focused with an inner edit.
struct TContainerSample {
  const wchar_t* Label;
  TcxContainerBorderStyle BorderStyle;
  bool Enabled, Shadow, TransparentBorder, InnerEdit;
};
const TContainerSample ContainerSamples[] = {
    {L"none", cbsNone, true, false, true, false},
    {L"single", cbsSingle, true, false, true, false},
    {L"thick", cbsThick, true, false, true, false},
    {L"flat", cbsFlat, true, false, true, false},
    {L"3D", cbs3D, true, false, true, false},
    {L"ultra-flat", cbsUltraFlat, true, false, true, false},
    {L"Office 11", cbsOffice11, true, false, true, false},
    {L"disabled", cbsUltraFlat, false, false, true, false},
    {L"shadow", cbsUltraFlat, true, true, true, false},
    {L"no ring", cbsSingle, true, false, false, false},
    {L"inner edit, focused", cbsUltraFlat, true, false, true, true},
};

void PopulateContainers(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  Integer Top = 8;
  TcxContainer* AFocused = nullptr;
  for (const TContainerSample& S : ContainerSamples) {
    auto* Label = Create<TLabel>(AForm);
    Label->SetAutoSize(false);
    Label->SetParent(AForm);
    Label->SetBounds(8, Top + 4, 130, 20);
    Label->SetCaption(S.Label);
    auto* Box = Create<TcxContainer>(AForm);
    TcxContainerStyle* Style = Box->GetStyle();
    Style->SetBorderStyle(S.BorderStyle);
    Style->SetShadow(S.Shadow);
    Style->SetTransparentBorder(S.TransparentBorder);
    Box->SetBounds(140, Top, 160, 26);
    Box->SetEnabled(S.Enabled);
    Box->SetParent(AForm);
    if (S.InnerEdit) {
      auto* Edit = Create<TEdit>(AForm);
      Edit->SetParent(Box);
      Edit->SetBorderStyle(bsNone);
      Edit->SetText(L"Inner edit");
      Box->SetInnerControl(Edit);
      AFocused = Box;
    }
    Box->ShortRefreshContainer(false);
    Top += 32;
  }
  if (AFocused) AFocused->SetFocus();
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

// A bordered control whose content is larger than its client: both bars
// and the grip between them; beside it one whose bar cannot scroll but may
// not hide (shown disabled), and one with right-to-left bars.
class TGalleryScrollingControl : public TcxControl {
  DECLARE_CLASS(TGalleryScrollingControl, TcxControl)
 public:
  using TcxControl::TcxControl;
  using TcxControl::UpdateScrollBars;
  TSize Content{600, 500};
  bool AllowHide = true;

 protected:
  void InitScrollBarsParameters() override {
    TRect R = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 1, cxRectWidth(R), 40, true, AllowHide);
    SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 1, cxRectHeight(R), 60, true, AllowHide);
  }
  void DoPaint() override {
    inherited::DoPaint();
    TRect R = GetClientBounds();
    Canvas()->FillRect(R, clWindow);
    // Lines every 20 content pixels show where the content is.
    for (Integer X = R.left + 20 - 40 % 20; X < R.right; X += 20)
      Canvas()->FillRect(TRect{X, R.top, X + 1, R.bottom}, clSilver);
    for (Integer Y = R.top + 20 - 60 % 20; Y < R.bottom; Y += 20)
      Canvas()->FillRect(TRect{R.left, Y, R.right, Y + 1}, clSilver);
  }
};
IMPLEMENT_CREATABLE_CLASS(TGalleryScrollingControl)

TGalleryScrollingControl* AddScrollingControl(TCustomForm* AForm, const TRect& ABounds) {
  auto* Control = Create<TGalleryScrollingControl>(AForm);
  Control->SetBorderStyle(cxcbsDefault);
  Control->SetBoundsRect(ABounds);
  Control->SetParent(AForm);
  return Control;
}

void PopulateScrollingControl(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  AddScrollingControl(AForm, Bounds(8, 8, 200, 150));
  TGalleryScrollingControl* Disabled = AddScrollingControl(AForm, Bounds(216, 8, 120, 150));
  Disabled->Content = TSize{50, 50};
  Disabled->AllowHide = false;
  TGalleryScrollingControl* RightToLeft = AddScrollingControl(AForm, Bounds(8, 166, 200, 120));
  RightToLeft->SetBiDiMode(bdRightToLeft);
  for (Integer I = 0; I < AForm->ControlCount(); ++I)
    if (auto* Control = AsOrNull<TGalleryScrollingControl>(AForm->Controls(I))) {
      Control->HandleNeeded();
      Control->UpdateScrollBars();
    }
}

// A dragged item with its drag image beside it, as the pointer carries it
// away, and a size frame around a second item. The image and the frame are
// windows of their own over the form: they are placed again whenever the
// stand-in is laid out (the rescaling too), and freed with it.
class TGalleryDragImage : public TcxCustomDragImage {
  DECLARE_CLASS(TGalleryDragImage, TcxCustomDragImage)
 public:
  // The control the dragged item belongs to; the image writes in its font.
  TControl* Source = nullptr;

 protected:
  void Paint() override {
    Canvas()->Font()->Assign(Source->Font());
    PaintItem(Canvas()->Canvas(), ClientRect(), L"Item");
  }

 public:
  static void PaintItem(TCanvas* ACanvas, const TRect& R, const String& AText) {
    ACanvas->Brush()->SetColor(clWindow);
    ACanvas->Pen()->SetColor(clHighlight);
    ACanvas->Rectangle(R);
    ACanvas->Font()->SetColor(clWindowText);
    TRect Text = R;
    String Caption = AText;
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    ACanvas->TextRect(
        Text, Caption,
        {TTextFormats::tfCenter, TTextFormats::tfVerticalCenter, TTextFormats::tfSingleLine});
  }
};
IMPLEMENT_CLASS(TGalleryDragImage)

class TDragShowcase : public TCustomControl {
  DECLARE_CLASS(TDragShowcase, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  // Puts the image and the frame over the items as the control lies now.
  void Place() {
    if (!FImage) {
      FImage = MakeOwned<TGalleryDragImage>();
      FImage->Source = this;
    }
    if (!FFrame || FFrame->FrameWidth() != MulDiv(4, Width(), 400))
      FFrame = MakeOwned<TcxSizeFrame>(MulDiv(4, Width(), 400));
    FImage->Invalidate();
    TRect Item = ItemBounds(0);
    TPoint Held = ClientToScreen(TPoint{Item.left + 10, Item.top + 10});
    FImage->Init(Item, TPoint{Item.left + 10, Item.top + 10});
    FImage->MoveTo(TPoint{Held.x + MulDiv(90, Width(), 400), Held.y + MulDiv(40, Width(), 400)});
    FImage->Show();
    TRect Sized = ItemBounds(1);
    Integer Grow = MulDiv(24, Width(), 400);
    TPoint TopLeft = ClientToScreen(TPoint{Sized.left - 6, Sized.top - 6});
    FFrame->DrawSizeFrame(Bounds(TopLeft.x, TopLeft.y, cxRectWidth(Sized) + 12 + Grow,
                                 cxRectHeight(Sized) + 12 + Grow));
    FFrame->Show();
  }

 protected:
  void Resize() override {
    inherited::Resize();
    if (FImage) Place();
  }

  void Paint() override {
    TCanvas* C = inherited::Canvas();
    C->Font()->Assign(Font());
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    TGalleryDragImage::PaintItem(C, ItemBounds(0), L"Item");
    TGalleryDragImage::PaintItem(C, ItemBounds(1), L"Sized");
    // The image shows the item in the font the item has now.
    if (FImage) FImage->Invalidate();
  }

 private:
  // The two items, laid out in proportion to the control's width.
  TRect ItemBounds(Integer AIndex) {
    auto S = [this](Integer V) { return MulDiv(V, Width(), 400); };
    return AIndex == 0 ? Bounds(S(20), S(20), S(110), S(40)) : Bounds(S(240), S(40), S(110), S(40));
  }
  TOwned<TGalleryDragImage> FImage;
  TOwned<TcxSizeFrame> FFrame;
};
IMPLEMENT_CLASS(TDragShowcase)

void PopulateDragAndDrop(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  auto* Showcase = Create<TDragShowcase>(AForm);
  Showcase->SetParent(AForm);
  Showcase->SetBounds(0, 0, 400, 160);
  Showcase->Place();
}

// A base control that shows where it may paint: its client bounds in the
// painter's content colour with a line of text, inside whatever border the
// control draws.
class TGalleryControl : public TcxControl {
  DECLARE_CLASS_INLINE(TGalleryControl, TcxControl)
 public:
  using TcxControl::TcxControl;

 protected:
  void DoPaint() override {
    inherited::DoPaint();
    const TRect R = GetClientBounds();
    TcxCustomLookAndFeelPainter* Painter = LookAndFeelPainter();
    Canvas()->Font()->Assign(Font());
    Canvas()->FillRect(R, Painter->DefaultContentColor());
    Canvas()->Font()->SetColor(Enabled() ? Painter->DefaultContentTextColor() : clGrayText);
    Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas()->DrawTexT(Caption(), R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
};

void AddBaseControl(TCustomForm* AForm, const TRect& ABounds, const wchar_t* ACaption,
                    TcxControlBorderStyle ABorderStyle, bool AEnabled) {
  auto* Control = Create<TGalleryControl>(AForm);
  Control->SetBoundsRect(ABounds);
  Control->SetCaption(ACaption);
  Control->SetBorderStyle(ABorderStyle);
  Control->SetEnabled(AEnabled);
  Control->SetParent(AForm);
}

// Base controls with and without the painter's border, enabled and not.
void PopulateBaseControl(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  AddBaseControl(AForm, Bounds(8, 8, 150, 60), L"Bordered", cxcbsDefault, true);
  AddBaseControl(AForm, Bounds(166, 8, 150, 60), L"No border", cxcbsNone, true);
  AddBaseControl(AForm, Bounds(8, 76, 150, 60), L"Bordered, disabled", cxcbsDefault, false);
}

// A container with an inner edit and its drop-down: a custom popup window
// below it holding a container with an inner list box (library bars over
// the list's native ones).
void PopulateContainerDropDown(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  auto* Box = Create<TcxContainer>(AForm);
  Box->SetName(L"DropDownOwner");
  Box->SetBounds(8, 8, 180, 26);
  Box->SetParent(AForm);
  auto* Edit = Create<TEdit>(AForm);
  Edit->SetParent(Box);
  Edit->SetBorderStyle(bsNone);
  Edit->SetText(L"Item 3");
  Box->SetInnerControl(Edit);
  Box->ShortRefreshContainer(false);
}

void OpenContainerDropDown(TCustomForm* AForm) {
  auto* Box = AsOrNull<TcxContainer>(AForm->FindComponent(L"DropDownOwner"));
  if (!Box) return;
  auto* Popup = Create<TcxCustomPopupWindow>(Box);
  Popup->SetModalMode(false);
  Popup->SetPopupBorderStyle(pbsUltraFlat);
  Popup->SetOwnerParent(AForm);
  Popup->SetOwnerBounds(Box->BoundsRect());
  // Laid out at 96 DPI: the popup takes its owner's scale when it opens.
  const Integer W = MulDiv(Box->Width(), 96, AForm->CurrentPPI()), H = 120;
  Popup->SetBounds(0, 0, W, H);
  auto* ListBox = Create<TcxContainer>(Popup);
  ListBox->GetStyle()->SetBorderStyle(cbsNone);
  ListBox->GetStyle()->SetTransparentBorder(false);
  ListBox->SetBounds(1, 1, W - 2, H - 2);
  ListBox->SetParent(Popup);
  auto* List = Create<TcxCustomInnerListBox>(Popup);
  List->SetContainer(ListBox);
  List->SetParent(ListBox);
  ListBox->SetInnerControl(List);
  for (Integer I = 1; I <= 20; ++I) List->Items()->Add(L"Item " + IntToStr(I));
  List->SetItemIndex(2);
  ListBox->ShortRefreshContainer(false);
  Popup->Popup(nullptr);
  RedrawWindow(Popup->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ProcessMessages();
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
// The bars of the touch and hybrid modes over three controls: the touch
// bars (one owner at a time shows them), hybrid bars resting as thin lines,
// and hybrid bars with the vertical one expanded under the pointer. The bars
// are layered windows over the form, shown once the form was rescaled; the
// fades and the expansion are taken to their end at once. The X server of
// the tests draws layered windows without blending them, so the page takes
// the windows away again and each control blends its bars' layers into its
// own picture, as a blending screen shows them.
class TGalleryScrollUIControl : public TGalleryScrollingControl {
  DECLARE_CLASS(TGalleryScrollUIControl, TGalleryScrollingControl)
 public:
  using TcxControl::GetManager;
  using TcxControl::ShowTouchScrollUI;
  using TGalleryScrollingControl::TGalleryScrollingControl;
  bool ExpandVertical = false;
  bool BlendBars = false;

 protected:
  bool AllowTouchScrollUIMode() override { return true; }
  bool AllowHybridScrollbarMode() override { return true; }
  void DoPaint() override {
    inherited::DoPaint();
    if (!BlendBars) return;
    for (TObject* Element : {MainScrollBars()->HScrollBar(), MainScrollBars()->VScrollBar()}) {
      auto* Bar = AsOrNull<TcxControlPopupScrollBar>(Element);
      if (!Bar || !Bar->Visible() || !Bar->HandleAllocated()) continue;
      TOwned<TcxBitmap32> Layer(As<TcxCustomPopupScrollBarHelper>(Bar->Helper())->CreateLayer());
      cxAlphaBlend(Canvas()->Handle(), Layer.get(), ElementRect(Bar),
                   TRect{0, 0, Layer->Width(), Layer->Height()}, false, Bar->Alpha());
    }
    auto* Grip = AsOrNull<TcxPopupSizeGrip>(MainScrollBars()->SizeGrip());
    if (Grip && Grip->Visible() && Grip->HandleAllocated()) {
      const TRect R = ElementRect(Grip);
      TOwned<TcxBitmap32> Fill(TcxBitmap32::CreateSize(cxRectWidth(R), cxRectHeight(R)));
      Fill->Canvas()->Brush()->SetColor(Grip->DrawColor());
      Fill->Canvas()->FillRect(TRect{0, 0, Fill->Width(), Fill->Height()});
      Fill->MakeOpaque();
      cxAlphaBlend(Canvas()->Handle(), Fill.get(), R, TRect{0, 0, Fill->Width(), Fill->Height()},
                   false, Grip->LayerAlpha());
    }
  }

 private:
  // Where a popup element lies over the control, in its client coordinates.
  TRect ElementRect(TWinControl* AElement) {
    RECT W{};
    GetWindowRect(AElement->Handle(), &W);
    const TPoint P = ScreenToClient(TPoint{W.left, W.top});
    return TRect{P.x, P.y, P.x + W.right - W.left, P.y + W.bottom - W.top};
  }
};
IMPLEMENT_CREATABLE_CLASS(TGalleryScrollUIControl)

void AddScrollUIControl(TCustomForm* AForm, const TRect& ABounds, TdxScrollbarMode AMode,
                        bool AExpandVertical) {
  auto* Control = Create<TGalleryScrollUIControl>(AForm);
  Control->SetBorderStyle(cxcbsDefault);
  Control->SetBoundsRect(ABounds);
  Control->SetParent(AForm);
  Control->LookAndFeel()->SetScrollbarMode(AMode);
  Control->ExpandVertical = AExpandVertical;
}

void PopulateScrollUI(TCustomForm* AForm) {
  AForm->SetColor(clBtnFace);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  AddLabel(AForm, Bounds(8, 6, 120, 16), L"touch");
  AddScrollUIControl(AForm, Bounds(8, 26, 120, 150), sbmTouch, false);
  AddLabel(AForm, Bounds(140, 6, 120, 16), L"hybrid, resting");
  AddScrollUIControl(AForm, Bounds(140, 26, 120, 150), sbmHybrid, false);
  AddLabel(AForm, Bounds(272, 6, 120, 16), L"hybrid, expanded");
  AddScrollUIControl(AForm, Bounds(272, 26, 120, 150), sbmHybrid, true);
}

void ShowScrollUI(TCustomForm* AForm) {
  for (Integer I = 0; I < AForm->ControlCount(); ++I) {
    auto* Control = AsOrNull<TGalleryScrollUIControl>(AForm->Controls(I));
    if (!Control) continue;
    Control->HandleNeeded();
    Control->UpdateScrollBars();
    Control->ShowTouchScrollUI(Control, false);
    if (TdxHybridScrollbarsManager* Manager = Control->GetManager();
        Manager && Control->GetScrollbarMode() == sbmHybrid) {
      FinishAnimationTransition(Manager->FadingAnimation());
      if (Control->ExpandVertical) {
        Manager->Expand(Control->MainScrollBars()->VScrollBar());
        FinishAnimationTransition(Manager->SizeAnimation());
      }
    }
    // The grip takes its opacity when it paints.
    ProcessMessages();
    Control->BlendBars = true;
    for (TObject* Element :
         {Control->MainScrollBars()->HScrollBar(), Control->MainScrollBars()->VScrollBar(),
          Control->MainScrollBars()->SizeGrip()})
      if (auto* Window = AsOrNull<TWinControl>(Element); Window && Window->HandleAllocated())
        ShowWindow(Window->Handle(), SW_HIDE);
    Control->Invalidate();
  }
  ProcessMessages();
}
const TGalleryPage Pages[] = {
    {L"Frame", {160, 80}, &PopulateFrame},
    {L"ScrollBars", {410, 500}, &PopulateScrollBars},
    {L"Containers", {320, 364}, &PopulateContainers},
    {L"ContainerDropDown", {200, 170}, &PopulateContainerDropDown, &OpenContainerDropDown},
    {L"PopupFrames", {530, 140}, &PopulatePopupFrames, &OpenPopupFrames},
    {L"DragAndDrop", {400, 160}, &PopulateDragAndDrop},
    {L"BaseControl", {324, 144}, &PopulateBaseControl},
    {L"ScrollingControl", {344, 294}, &PopulateScrollingControl},
    {L"Buttons", {690, 310}, &PopulateButtons},
    {L"ScrollUI", {400, 184}, &PopulateScrollUI, &ShowScrollUI},
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
