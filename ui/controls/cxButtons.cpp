// The library's push button and its companions (colours, glyph, image and
// speed-button options, action link). Layout and painting are in
// cxButtons_Paint.cpp.
#include "cxButtons.h"

#include <commctrl.h>

#include "Forms.h"
#include "dxThemeManager.h"

namespace {

constexpr const wchar_t* ButtonKindNames[] = {L"cxbkStandard", L"cxbkDropDown",
                                              L"cxbkDropDownButton", L"cxbkCommandLink",
                                              L"cxbkOfficeDropDown"};
constexpr TEnumInfo ButtonKindInfoValue = MakeEnumInfo(L"TcxButtonKind", ButtonKindNames);
constexpr const wchar_t* PaintStyleNames[] = {L"bpsDefault", L"bpsCaption", L"bpsGlyph"};
constexpr TEnumInfo PaintStyleInfoValue = MakeEnumInfo(L"TcxButtonPaintStyle", PaintStyleNames);
constexpr const wchar_t* AssignedColorNames[] = {
    L"cxbcDefault", L"cxbcDefaultText", L"cxbcDisabled",   L"cxbcDisabledText", L"cxbcHot",
    L"cxbcHotText", L"cxbcNormal",      L"cxbcNormalText", L"cxbcPressed",      L"cxbcPressedText"};
constexpr TEnumInfo AssignedColorInfoValue =
    MakeEnumInfo(L"TcxButtonAssignedColor", AssignedColorNames);
constexpr const wchar_t* LayoutNames[] = {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop",
                                          L"blGlyphBottom"};
constexpr TEnumInfo LayoutInfoValue = MakeEnumInfo(L"TButtonLayout", LayoutNames);
constexpr const wchar_t* PopupAlignmentNames[] = {L"paLeft", L"paRight", L"paCenter"};
constexpr TEnumInfo PopupAlignmentInfoValue = MakeEnumInfo(L"TPopupAlignment", PopupAlignmentNames);

// The character after a single '&' of the caption, compared as the user
// types it (either case).
bool IsAcceleratorOf(wchar_t AKey, const String& ACaption) {
  for (size_t I = 0; I + 1 < ACaption.size(); ++I) {
    if (ACaption[I] != L'&') continue;
    if (ACaption[I + 1] == L'&') {
      ++I;
      continue;
    }
    wchar_t A[2] = {AKey, 0}, B[2] = {ACaption[I + 1], 0};
    CharUpperW(A);
    CharUpperW(B);
    return A[0] == B[0];
  }
  return false;
}

}  // namespace

const TEnumInfo& cxButtonKindInfo() { return ButtonKindInfoValue; }
const TEnumInfo& cxButtonPaintStyleInfo() { return PaintStyleInfoValue; }
const TEnumInfo& cxButtonAssignedColorInfo() { return AssignedColorInfoValue; }
const TEnumInfo& ButtonLayoutInfo() { return LayoutInfoValue; }
const TEnumInfo& PopupAlignmentInfo() { return PopupAlignmentInfoValue; }

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxButtonCustomPersistent)

TPersistent* TcxButtonCustomPersistent::GetOwner() { return FButton; }

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TcxButtonColors) {
  P.Property<&TcxButtonColors::AssignedColors, &TcxButtonColors::SetAssignedColors>(
      L"AssignedColors", AssignedColorInfoValue);
  auto Add = [&P]<TcxButtonAssignedColor I>(const wchar_t* Name) {
    P.template Property<&TcxButtonColors::Get<I>, &TcxButtonColors::Set<I>>(Name)
        .NoDefault()
        .template Stored<&TcxButtonColors::Stored<I>>()
        .Idents(&IdentToColor, &ColorToIdent);
  };
  Add.operator()<cxbcDefault>(L"Default");
  Add.operator()<cxbcDefaultText>(L"DefaultText");
  Add.operator()<cxbcNormal>(L"Normal");
  Add.operator()<cxbcNormalText>(L"NormalText");
  Add.operator()<cxbcHot>(L"Hot");
  Add.operator()<cxbcHotText>(L"HotText");
  Add.operator()<cxbcPressed>(L"Pressed");
  Add.operator()<cxbcPressedText>(L"PressedText");
  Add.operator()<cxbcDisabled>(L"Disabled");
  Add.operator()<cxbcDisabledText>(L"DisabledText");
}

TcxButtonColors::TcxButtonColors(TcxCustomButton* AOwner) : TcxButtonCustomPersistent(AOwner) {
  for (TColor& C : FColors) C = clDefault;
}

void TcxButtonColors::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TcxButtonColors>(Source)) {
    std::copy(std::begin(S->FColors), std::end(S->FColors), std::begin(FColors));
    FAssignedColors = S->FAssignedColors;
    if (FButton) FButton->Invalidate();
    return;
  }
  inherited::Assign(Source);
}

void TcxButtonColors::SetColor(TcxButtonAssignedColor AIndex, TColor AValue) {
  if (AValue == clNone || AValue == clDefault) {
    FColors[AIndex] = clDefault;
    FAssignedColors.Exclude(AIndex);
  } else if (AValue != FColors[AIndex]) {
    FColors[AIndex] = AValue;
    FAssignedColors.Include(AIndex);
  }
  if (FButton) FButton->Invalidate();
}

void TcxButtonColors::SetAssignedColors(TcxButtonAssignedColors AValue) {
  if (!FButton || !FButton->IsDesigning() || AValue == FAssignedColors) return;
  for (Integer I = cxbcDefault; I <= cxbcPressedText; ++I) {
    const auto C = static_cast<TcxButtonAssignedColor>(I);
    if (!AValue.Contains(C))
      FColors[C] = clDefault;
    else if (FColors[C] == clDefault)
      AValue.Exclude(C);
  }
  FAssignedColors = AValue;
  FButton->Invalidate();
}

TcxButtonAssignedColor TcxButtonColors::ButtonStateToButtonAssignedColor(TcxButtonState AState,
                                                                         bool AIsText) {
  TcxButtonAssignedColor Face = cxbcNormal;
  switch (AState) {
    case cxbsDefault:
      Face = cxbcDefault;
      break;
    case cxbsHot:
      Face = cxbcHot;
      break;
    case cxbsPressed:
      Face = cxbcPressed;
      break;
    case cxbsDisabled:
      Face = cxbcDisabled;
      break;
    default:
      break;
  }
  // Each text colour follows its face colour in the enumeration.
  return AIsText ? static_cast<TcxButtonAssignedColor>(Face + 1) : Face;
}

TColor TcxButtonColors::ColorByState(TcxButtonState AState, bool AIsText) const {
  const TcxButtonAssignedColor C = ButtonStateToButtonAssignedColor(AState, AIsText);
  if (FAssignedColors.Contains(C)) return FColors[C];
  const TcxButtonAssignedColor Normal = AIsText ? cxbcNormalText : cxbcNormal;
  const TcxButtonAssignedColor Default = AIsText ? cxbcDefaultText : cxbcDefault;
  return C == Normal ? FColors[Default] : FColors[Normal];
}

TColor TcxButtonColors::GetColorByState(TcxButtonState AState) const {
  return ColorByState(AState, false);
}

TColor TcxButtonColors::GetTextColorByState(TcxButtonState AState) const {
  return ColorByState(AState, true);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TcxButtonGlyph)

TcxButtonGlyph::TcxButtonGlyph(TcxCustomButton* AOwner) : TcxButtonCustomPersistent(AOwner) {
  FGlyph = Create<TdxSmartGlyph>();
  FGlyph->OnChange = MakeEvent<&TcxButtonGlyph::GlyphChanged>(this);
  FImageChangeLink = Create<TChangeLink>();
  FImageChangeLink->OnChange = MakeEvent<&TcxButtonGlyph::ImageListChange>(this);
}

TcxButtonGlyph::~TcxButtonGlyph() {
  FreeAndNil(FImageChangeLink);
  FreeAndNil(FGlyph);
}

void TcxButtonGlyph::SetGlyph(TdxSmartGlyph* AValue) {
  FGlyph->Assign(AValue);
  GlyphChanged(FGlyph);
}

void TcxButtonGlyph::GlyphChanged(TObject*) {
  // A horizontal strip of square-ish frames: one frame per source height,
  // up to four.
  Integer Count = 1;
  const Integer W = FGlyph->SourceWidth(), H = FGlyph->SourceHeight();
  if (!FGlyph->Empty() && H > 0 && W % H == 0 && W / H < 5) Count = W / H;
  FNumGlyphs = Count;
  Changed();
}

void TcxButtonGlyph::SetImageIndex(Integer AValue) {
  if (AValue == FImageIndex) return;
  FImageIndex = AValue;
  if (FGlyph->Empty() && FImages) GlyphChanged(FGlyph);
}

void TcxButtonGlyph::SetImages(TCustomImageList* AValue) {
  cxSetImageList(AValue, FImages, FImageChangeLink, FButton);
  Changed();
}

void TcxButtonGlyph::SetNumGlyphs(Integer AValue) {
  AValue = std::clamp<Integer>(AValue, 1, 4);
  if (AValue == FNumGlyphs) return;
  FNumGlyphs = AValue;
  Changed();
}

bool TcxButtonGlyph::IsImageAssigned() const {
  return !FGlyph->Empty() || ::IsImageAssigned(FImages, FImageIndex);
}

TSize TcxButtonGlyph::GetImageSize() const {
  const TdxScaleFactor* Factor = FButton->GetScaleFactor();
  if (!FGlyph->Empty()) {
    const TSize Source{FGlyph->SourceWidth() / FNumGlyphs, FGlyph->SourceHeight()};
    return Factor->Apply(Source, FGlyph->SourceDPI(), dxDefaultDPI);
  }
  if (::IsImageAssigned(FImages, FImageIndex)) return dxGetImageSize(FImages, Factor);
  if (FButton->Kind() == cxbkCommandLink)
    return FButton->GetPainter()->GetScaledCommandLinkGlyphSize(Factor);
  return TSize{0, 0};
}

void TcxButtonGlyph::FreeNotification(TComponent* AComponent) {
  if (AComponent && AComponent == FImages) SetImages(nullptr);
}

void TcxButtonGlyph::ImageListChange(TObject* Sender) {
  if (Sender == FImages) GlyphChanged(FGlyph);
}

void TcxButtonGlyph::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TcxButtonImageOptions) {
  P.Property<&TcxButtonImageOptions::Glyph, &TcxButtonImageOptions::SetGlyph>(L"Glyph")
      .Stored<&TcxButtonImageOptions::IsGlyphStored>();
  P.Property<&TcxButtonImageOptions::ImageIndex, &TcxButtonImageOptions::SetImageIndex>(
       L"ImageIndex")
      .Default(-1)
      .Stored<&TcxButtonImageOptions::IsImageIndexStored>();
  P.Property<&TcxButtonImageOptions::Images, &TcxButtonImageOptions::SetImages>(L"Images");
  P.Property<&TcxButtonImageOptions::Layout, &TcxButtonImageOptions::SetLayout>(L"Layout",
                                                                                LayoutInfoValue)
      .Default(blGlyphLeft);
  P.Property<&TcxButtonImageOptions::Margin, &TcxButtonImageOptions::SetMargin>(L"Margin").Default(
      -1);
  P.Property<&TcxButtonImageOptions::NumGlyphs, &TcxButtonImageOptions::SetNumGlyphs>(L"NumGlyphs")
      .Default(1);
  P.Property<&TcxButtonImageOptions::Spacing, &TcxButtonImageOptions::SetSpacing>(L"Spacing")
      .Default(4);
}

void TcxButtonImageOptions::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TcxButtonImageOptions>(Source)) {
    SetGlyph(S->Glyph());
    SetImageIndex(S->ImageIndex());
    SetImages(S->Images());
    SetLayout(S->Layout());
    SetMargin(S->Margin());
    SetNumGlyphs(S->NumGlyphs());
    SetSpacing(S->Spacing());
    return;
  }
  inherited::Assign(Source);
}

TdxSmartGlyph* TcxButtonImageOptions::Glyph() const { return FButton->GlyphHolder()->Glyph(); }
void TcxButtonImageOptions::SetGlyph(TdxSmartGlyph* AValue) {
  FButton->GlyphHolder()->SetGlyph(AValue);
}
Integer TcxButtonImageOptions::NumGlyphs() const { return FButton->GlyphHolder()->NumGlyphs(); }
void TcxButtonImageOptions::SetNumGlyphs(Integer AValue) {
  FButton->GlyphHolder()->SetNumGlyphs(AValue);
}
bool TcxButtonImageOptions::IsGlyphStored() const { return !Glyph()->Empty(); }

bool TcxButtonImageOptions::IsImageIndexStored() const {
  TControlActionLink* Link = FButton->ActionLink();
  return !(Link && Link->IsImageIndexLinked());
}

void TcxButtonImageOptions::SetImageIndex(Integer AValue) {
  if (AValue == FImageIndex) return;
  FImageIndex = AValue;
  Changed();
}

void TcxButtonImageOptions::SetImages(TCustomImageList* AValue) {
  if (AValue == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(FButton);
  FImages = AValue;
  if (FImages) FImages->FreeNotification(FButton);
  Changed();
}

void TcxButtonImageOptions::SetLayout(TButtonLayout AValue) {
  if (AValue == FLayout) return;
  FLayout = AValue;
  Changed();
}

void TcxButtonImageOptions::SetMargin(Integer AValue) {
  if (AValue < -1 || AValue == FMargin) return;
  FMargin = AValue;
  Changed();
}

void TcxButtonImageOptions::SetSpacing(Integer AValue) {
  if (AValue == FSpacing) return;
  FSpacing = AValue;
  Changed();
}

void TcxButtonImageOptions::FreeNotification(TComponent* AComponent) {
  if (AComponent && AComponent == FImages) SetImages(nullptr);
}

void TcxButtonImageOptions::Changed() {
  FButton->UpdateImageInfo();
  FButton->Invalidate();
}

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TcxSpeedButtonOptions) {
  P.Property<&TcxSpeedButtonOptions::GroupIndex, &TcxSpeedButtonOptions::SetGroupIndex>(
       L"GroupIndex")
      .Default(0)
      .Stored<&TcxSpeedButtonOptions::IsGroupIndexStored>();
  P.Property<&TcxSpeedButtonOptions::CanBeFocused, &TcxSpeedButtonOptions::SetCanBeFocused>(
       L"CanBeFocused")
      .Default(1);
  P.Property<&TcxSpeedButtonOptions::AllowAllUp, &TcxSpeedButtonOptions::SetAllowAllUp>(
       L"AllowAllUp")
      .Default(0);
  P.Property<&TcxSpeedButtonOptions::Down, &TcxSpeedButtonOptions::SetDown>(L"Down")
      .Default(0)
      .Stored<&TcxSpeedButtonOptions::IsDownStored>();
  P.Property<&TcxSpeedButtonOptions::Flat, &TcxSpeedButtonOptions::SetFlat>(L"Flat").Default(0);
  P.Property<&TcxSpeedButtonOptions::Transparent, &TcxSpeedButtonOptions::SetTransparent>(
       L"Transparent")
      .Default(0);
}

void TcxSpeedButtonOptions::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TcxSpeedButtonOptions>(Source)) {
    SetGroupIndex(S->GroupIndex());
    SetAllowAllUp(S->AllowAllUp());
    SetCanBeFocused(S->CanBeFocused());
    SetDown(S->Down());
    SetFlat(S->Flat());
    SetTransparent(S->Transparent());
    return;
  }
  inherited::Assign(Source);
}

void TcxSpeedButtonOptions::EndUpdate() {
  --FLockCount;
  UpdateGroup();
}

bool TcxSpeedButtonOptions::Down() const { return FButton && FButton->Down(); }

bool TcxSpeedButtonOptions::IsDownStored() const {
  TControlActionLink* Link = FButton->ActionLink();
  return !(Link && Link->IsCheckedLinked());
}

bool TcxSpeedButtonOptions::IsGroupIndexStored() const {
  auto* A = AsOrNull<TCustomAction>(FButton->Action());
  return !(A && A->GroupIndex() == FGroupIndex);
}

bool TcxSpeedButtonOptions::GetActive() const {
  return FButton && (FGroupIndex != 0 || !FCanBeFocused);
}

void TcxSpeedButtonOptions::SetDown(bool AValue) {
  if (!FButton->Action()) InternalSetDown(AValue);
}

void TcxSpeedButtonOptions::InternalSetDown(bool AValue) {
  const bool HasAction = FButton->Action() != nullptr;
  if (FGroupIndex == 0 && !HasAction) AValue = false;
  if (AValue == FButton->Down()) return;
  // The down button of a group that cannot be all up stays down, except
  // when an action or the designer says otherwise.
  if (!AValue && FButton->Down() && !FAllowAllUp && FLockCount == 0 && FGroupIndex != 0 &&
      !HasAction && !(FButton->SpeedButtonMode() && FButton->IsDesigning()))
    return;
  TcxButtonInternalStates States = FButton->InternalStates();
  if (AValue) {
    States.Include(bisDown);
    FButton->FInternalStates = States;
    UpdateGroup();
  } else {
    States.Exclude(bisDown);
    FButton->FInternalStates = States;
  }
  FButton->Invalidate();
}

void TcxSpeedButtonOptions::UpdateGroup() {
  if (FLockCount != 0 || !GetActive() || FGroupIndex == 0 || !FButton->Parent()) return;
  TMessage Message{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex),
                   reinterpret_cast<LPARAM>(FButton), 0};
  FButton->Parent()->Broadcast(Message);
}

void TcxSpeedButtonOptions::UpdateGroupValues(TcxSpeedButtonOptions* ASender) {
  BeginUpdate();
  auto Cancel = Finally([this] { CancelUpdate(); });
  FCanBeFocused = ASender->FCanBeFocused;
  FAllowAllUp = ASender->FAllowAllUp;
  FFlat = ASender->FFlat;
  FTransparent = ASender->FTransparent;
}

void TcxSpeedButtonOptions::SetGroupIndex(Integer AValue) {
  if (AValue == FGroupIndex) return;
  FGroupIndex = AValue;
  if (AValue == 0)
    InternalSetDown(false);
  else
    UpdateGroup();
}

void TcxSpeedButtonOptions::SetAllowAllUp(bool AValue) {
  if (AValue == FAllowAllUp) return;
  FAllowAllUp = AValue;
  UpdateGroup();
}

void TcxSpeedButtonOptions::SetCanBeFocused(bool AValue) {
  if (AValue == FCanBeFocused) return;
  FCanBeFocused = AValue;
  if (FButton) FButton->Invalidate();
  UpdateGroup();
}

void TcxSpeedButtonOptions::SetFlat(bool AValue) {
  if (AValue == FFlat) return;
  FFlat = AValue;
  if (GetActive()) FButton->Invalidate();
  UpdateGroup();
}

void TcxSpeedButtonOptions::SetTransparent(bool AValue) {
  if (AValue == FTransparent) return;
  FTransparent = AValue;
  if (GetActive()) FButton->Invalidate();
  UpdateGroup();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TcxButtonActionLink)

TcxCustomButton* TcxButtonActionLink::CxButton() const {
  return AsOrNull<TcxCustomButton>(FButton);
}

TcxButtonActionLink::~TcxButtonActionLink() {
  TcxCustomButton* B = CxButton();
  if (B && !B->IsDestroying()) {
    B->GlyphHolder()->SetImages(nullptr);
    B->GlyphHolder()->SetImageIndex(-1);
  }
}

bool TcxButtonActionLink::IsImageIndexLinked() {
  auto* A = AsOrNull<TCustomAction>(Action());
  TcxCustomButton* B = CxButton();
  return inherited::IsImageIndexLinked() && A && B &&
         B->OptionsImage()->ImageIndex() == A->ImageIndex();
}

void TcxButtonActionLink::SetChecked(bool Value) {
  if (TcxCustomButton* B = CxButton(); B && IsCheckedLinked())
    B->SpeedButtonOptions()->InternalSetDown(Value);
}

void TcxButtonActionLink::SetGroupIndex(Integer Value) {
  if (TcxCustomButton* B = CxButton(); B && IsGroupIndexLinked())
    B->SpeedButtonOptions()->SetGroupIndex(Value);
}

void TcxButtonActionLink::SetImageIndex(Integer Value) {
  if (TcxCustomButton* B = CxButton(); B && IsImageIndexLinked())
    B->OptionsImage()->SetImageIndex(Value);
}

// ---------------------------------------------------------------------------
// The button

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxCustomButton) {
  P.Property<&TcxCustomButton::Colors, &TcxCustomButton::SetColors>(L"Colors");
  P.Property<&TcxCustomButton::Description, &TcxCustomButton::SetDescription>(L"Description");
  P.Property<&TcxCustomButton::DropDownMenu, &TcxCustomButton::SetDropDownMenu>(L"DropDownMenu");
  P.Property<&TcxCustomButton::Kind, &TcxCustomButton::SetKind>(L"Kind", ButtonKindInfoValue)
      .Default(cxbkStandard);
  P.Property<&TcxCustomButton::LookAndFeel, &TcxCustomButton::SetLookAndFeel>(L"LookAndFeel");
  P.Property<&TcxCustomButton::OptionsImage, &TcxCustomButton::SetOptionsImage>(L"OptionsImage");
  P.Property<&TcxCustomButton::PaintStyle, &TcxCustomButton::SetPaintStyle>(L"PaintStyle",
                                                                            PaintStyleInfoValue)
      .Default(bpsDefault);
  P.Property<&TcxCustomButton::PopupAlignment, &TcxCustomButton::SetPopupAlignment>(
       L"PopupAlignment", PopupAlignmentInfoValue)
      .Default(paLeft);
  P.Property<&TcxCustomButton::RepeatClick, &TcxCustomButton::SetRepeatClick>(L"RepeatClick")
      .Default(0);
  P.Property<&TcxCustomButton::SpeedButtonOptions, &TcxCustomButton::SetSpeedButtonOptions>(
      L"SpeedButtonOptions");
  P.Property<&TcxCustomButton::UseSystemPaint, &TcxCustomButton::SetUseSystemPaint>(
       L"UseSystemPaint")
      .Default(0);
  P.Property<&TcxCustomButton::GetOnDropDownMenuPopup, &TcxCustomButton::SetOnDropDownMenuPopup>(
      L"OnDropDownMenuPopup");
  P.Property<&TcxCustomButton::GetOnDropDownMenuPopupEx,
             &TcxCustomButton::SetOnDropDownMenuPopupEx>(L"OnDropDownMenuPopupEx");
  P.Property<&TcxCustomButton::GetOnGetDrawParams, &TcxCustomButton::SetOnGetDrawParams>(
      L"OnGetDrawParams");
  P.Property<&TcxCustomButton::GetOnCustomDraw, &TcxCustomButton::SetOnCustomDraw>(L"OnCustomDraw");
  // The older name of the glyph: read into the image options, never written.
  P.Property<&TcxCustomButton::OlderGlyph, &TcxCustomButton::SetOlderGlyph>(L"Glyph").Stored(false);
}

IMPLEMENT_MESSAGE_TABLE(
    TcxCustomButton, {CM_BUTTONPRESSED, MessageHandler<&TcxCustomButton::CMButtonPressed>},
    {WM_CAPTURECHANGED, MessageHandler<&TcxCustomButton::WMCaptureChanged>},
    {BCM_SETNOTE, MessageHandler<&TcxCustomButton::BCMSetNote>},
    {DXM_DROPDOWNPOPUPMENU, MessageHandler<&TcxCustomButton::DXMDropDownPopupMenu>},
    {DXM_CLOSEUPPOPUPMENU, MessageHandler<&TcxCustomButton::DXMCloseUpPopupMenu>})

TcxCustomButton::TcxCustomButton(TComponent* AOwner) : TCustomButton(AOwner) {}

void TcxCustomButton::AfterConstruction() {
  inherited::AfterConstruction();
  // The creation order: what the later parts ask of the earlier ones.
  FViewInfo = CreateViewInfo();
  FGlyph = As<TcxButtonGlyph>(GetGlyphClass()->Create(this));
  FGlyph->OnChange = MakeEvent<&TcxCustomButton::GlyphChanged>(this);
  FColors = Create<TcxButtonColors>(this);
  FControlCanvas = Create<TControlCanvas>();
  FControlCanvas->SetControl(this);
  FCanvas = Create<TcxCanvas>(FControlCanvas);
  FLookAndFeel = Create<TcxLookAndFeel>(this);
  FLookAndFeel->SetOnChanged(MakeEvent<&TcxCustomButton::LookAndFeelChanged>(this));
  FScaleFactor = Create<TdxOwnedScaleFactor>();
  FScaleFactor->SetUseOwnerValue(false);
  FScaleFactor->ListenerAdd(MakeEvent<&TcxCustomButton::ScaleFactorChangeHandler>(this));
  FSpeedButtonOptions = Create<TcxSpeedButtonOptions>(this);
  FOptionsImage = CreateOptionsImage();
  FButtonPressTimer =
      cxCreateTimer(MakeEvent<&TcxCustomButton::DoButtonPressTimer>(this), 1000, false);
  TControlStyle Style = ControlStyle();
  Style.Include(csOpaque);
  Style.Include(csReflector);
  Style.Include(csOverrideStylePaint);
  SetControlStyle(Style);
  SetDoubleBuffered(true);
}

void TcxCustomButton::BeforeDestruction() {
  if (dxFader()) dxFader()->Remove(this, true);
  EndMouseTracking(this);
  inherited::BeforeDestruction();
}

TcxCustomButton::~TcxCustomButton() {
  FreeAndNil(FButtonPressTimer);
  FreeAndNil(FOptionsImage);
  FreeAndNil(FSpeedButtonOptions);
  FreeAndNil(FLookAndFeel);
  if (FScaleFactor) {
    FScaleFactor->ListenerRemove(MakeEvent<&TcxCustomButton::ScaleFactorChangeHandler>(this));
    FreeAndNil(FScaleFactor);
  }
  FreeAndNil(FColors);
  FreeAndNil(FCanvas);
  FreeAndNil(FControlCanvas);
  FreeAndNil(FGlyph);
  FreeAndNil(FViewInfo);
}

HRESULT STDMETHODCALLTYPE TcxCustomButton::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxCustomButton::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxScaleFactor)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IdxScaleFactor*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxFadingObject))) {
    *AObj = static_cast<IdxFadingObject*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IcxLookAndFeelContainer))) {
    *AObj = static_cast<IcxLookAndFeelContainer*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxSkinSupport))) {
    *AObj = static_cast<IdxSkinSupport*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

TcxButtonImageOptions* TcxCustomButton::CreateOptionsImage() {
  return Create<TcxButtonImageOptions>(this);
}
TcxButtonViewInfo* TcxCustomButton::CreateViewInfo() { return Create<TcxButtonViewInfo>(this); }
TClass TcxCustomButton::GetGlyphClass() { return TcxButtonGlyph::StaticClass(); }

// --- derived queries ----------------------------------------------------------
bool TcxCustomButton::GetAllowSpeedButtonOptions() const { return FKind != cxbkCommandLink; }

bool TcxCustomButton::CanBeFocused() const {
  return !GetAllowSpeedButtonOptions() ||
         (FSpeedButtonOptions && FSpeedButtonOptions->CanBeFocused());
}

Integer TcxCustomButton::GroupIndex() const {
  return GetAllowSpeedButtonOptions() && FSpeedButtonOptions ? FSpeedButtonOptions->GroupIndex()
                                                             : 0;
}

bool TcxCustomButton::CanFocus() {
  return inherited::CanFocus() && (CanBeFocused() || IsDesigning());
}

bool TcxCustomButton::CanHotTrack() {
  return (!StandardButton() && GetPainter()->IsButtonHotTrack()) ||
         (FKind == cxbkCommandLink && Enabled());
}

bool TcxCustomButton::UseRightToLeftAlignment() const {
  // The framework decides by the bidirectional mode alone, whatever the
  // locale; the button follows it so that its mirrored layout is the same
  // as its neighbours'.
  return inherited::UseRightToLeftAlignment();
}

TcxCustomLookAndFeelPainter* TcxCustomButton::GetButtonPainter(TcxLookAndFeel* ALookAndFeel) {
  // The look and feel resolved its painter by this style: asking the style
  // instead of the painter keeps the painter's own calls to the paint.
  TcxCustomLookAndFeelPainter* Painter = ALookAndFeel->Painter();
  if (!ALookAndFeel->SkinPainter() && ALookAndFeel->GetActiveStyle() == lfsOffice11)
    return cxLookAndFeelPaintersManager()->GetPainter(
        AreVisualStylesAvailable(totButton) ? lfsNative : lfsStandard);
  return Painter;
}

TcxCustomLookAndFeelPainter* TcxCustomButton::GetPainter() {
  return GetButtonPainter(FLookAndFeel);
}

TcxButtonState TcxCustomButton::GetButtonState() {
  if (!Enabled()) return cxbsDisabled;
  if (FIsPaintPressed) return cxbsPressed;
  if (FInternalStates.Contains(bisHot) && CanHotTrack()) return cxbsHot;
  if (FIsPaintDefault) return cxbsDefault;
  return cxbsNormal;
}

TRect TcxCustomButton::GetMenuButtonBounds() {
  switch (FKind) {
    case cxbkStandard:
      return cxNullRect;
    case cxbkDropDownButton: {
      // Where the drop-down part is painted: the left strip when the button
      // is mirrored, so that a press there opens the menu and a press on
      // the main part clicks.
      const TRect R = ClientRect();
      const Integer Size = FViewInfo->Painter()->GetDropDownButtonSize();
      if (UseRightToLeftAlignment()) return TRect{R.left, R.top, R.left + Size, R.bottom};
      return TRect{R.right - Size, R.top, R.right, R.bottom};
    }
    default:
      return ClientRect();
  }
}

TSize TcxCustomButton::GetOptimalSize() {
  TOwned<TcxScreenCanvas> Canvas(Create<TcxScreenCanvas>());
  Canvas->Font()->Assign(Font());
  String Text = StripHotkey(Caption());
  if (Text.empty()) Text = L" ";
  return TSize{Canvas->TextWidth(Text) + 3 * Canvas->TextWidth(L"R"),
               MulDiv(cxTextHeight(Font()), 14, 8)};
}

// --- state --------------------------------------------------------------------
void TcxCustomButton::SetInternalStates(TcxButtonInternalStates AValue) {
  if (AValue == FInternalStates) return;
  const TcxButtonState Before = GetButtonState();
  FInternalStates = AValue;
  CheckStartFading(Before, GetButtonState());
  Invalidate();
}

void TcxCustomButton::CheckStartFading(TcxButtonState AOld, TcxButtonState ANew) {
  if (AOld == ANew || !dxFader()) return;
  const bool OldRest = AOld == cxbsDefault || AOld == cxbsNormal;
  const bool NewRest = ANew == cxbsDefault || ANew == cxbsNormal;
  if (OldRest && ANew == cxbsHot)
    dxFader()->FadeIn(this);
  else if (AOld == cxbsHot && NewRest)
    dxFader()->FadeOut(this);
  else
    dxFader()->Remove(this, false);
}

void TcxCustomButton::SetButtonStyle(bool ADefault) {
  if (ADefault == FIsFocused) return;
  FIsFocused = ADefault;
  Refresh();
}

// --- properties ---------------------------------------------------------------
void TcxCustomButton::SetAutoSize(bool AValue) {
  if (AValue == FAutoSize) return;
  FAutoSize = AValue;
  UpdateSize();
}

void TcxCustomButton::SetDescription(const String& AValue) {
  if (AValue == FDescription) return;
  FDescription = AValue;
  Invalidate();
}

void TcxCustomButton::SetDropDownMenu(TComponent* AValue) {
  if (!IsPopupMenu(AValue)) AValue = nullptr;
  if (AValue == FDropDownMenu) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = AValue;
  if (FDropDownMenu) FDropDownMenu->FreeNotification(this);
}

void TcxCustomButton::SetKind(TcxButtonKind AValue) {
  if (AValue == FKind) return;
  FKind = AValue;
  RecreateWnd();
  Invalidate();
}

void TcxCustomButton::SetPaintStyle(TcxButtonPaintStyle AValue) {
  if (AValue == FPaintStyle) return;
  FPaintStyle = AValue;
  Invalidate();
}

void TcxCustomButton::SetShowFocusRect(bool AValue) {
  if (AValue == FShowFocusRect) return;
  FShowFocusRect = AValue;
  Invalidate();
}

void TcxCustomButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FOptionsImage) FOptionsImage->FreeNotification(AComponent);
  if (FGlyph) FGlyph->FreeNotification(AComponent);
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TcxCustomButton::GlyphChanged(TObject*) { Invalidate(); }

void TcxCustomButton::UpdateImageInfo() {
  if (!FGlyph || !FOptionsImage) return;
  TCustomImageList* Images = FOptionsImage->Images();
  if (!Images)
    if (auto* A = AsOrNull<TCustomAction>(Action()); A && A->ActionList())
      Images = A->ActionList()->Images();
  FGlyph->SetImages(Images);
  FGlyph->SetImageIndex(FOptionsImage->ImageIndex());
  Invalidate();
}

void TcxCustomButton::InitiateAction() {
  inherited::InitiateAction();
  UpdateImageInfo();
}

void TcxCustomButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (auto* A = AsOrNull<TCustomAction>(Sender)) {
    if (!CheckDefaults || FOptionsImage->ImageIndex() == -1) {
      FOptionsImage->SetImageIndex(A->ImageIndex());
      FSpeedButtonOptions->SetGroupIndex(A->GroupIndex());
      FSpeedButtonOptions->InternalSetDown(A->Checked());
    }
  }
  UpdateImageInfo();
}

TClass TcxCustomButton::GetActionLinkClass() { return TcxButtonActionLink::StaticClass(); }

void TcxCustomButton::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (FUseSystemPaint)
    RecreateWnd();
  else
    Invalidate();
}

void TcxCustomButton::ScaleFactorChangeHandler(TObject*, Integer M, Integer D, bool IsLoading) {
  if (!IsLoading) ScaleFactorChanged(M, D);
}

void TcxCustomButton::ScaleFactorChanged(Integer M, Integer D) {
  // Assigned straight: the setters would re-run the layout for each.
  if (FOptionsImage->Margin() != -1)
    FOptionsImage->SetMargin(MulDiv(FOptionsImage->Margin(), M, D));
  if (FOptionsImage->Spacing() != -1)
    FOptionsImage->SetSpacing(MulDiv(FOptionsImage->Spacing(), M, D));
}

void TcxCustomButton::ChangeScale(Integer M, Integer D) {
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D);
  FLookAndFeel->Refresh();
}

void TcxCustomButton::SetParent(TWinControl* AParent) {
  inherited::SetParent(AParent);
  cxUpdateScaleFactorOnParentChange(this, FScaleFactor);
}

void TcxCustomButton::Loaded() {
  inherited::Loaded();
  UpdateImageInfo();
  if (FAutoSize) UpdateSize();
}

bool TcxCustomButton::CanResize(Integer& NewWidth, Integer& NewHeight) {
  if (FAutoSize) {
    const TSize Size = GetOptimalSize();
    NewWidth = Size.cx;
    NewHeight = Size.cy;
  }
  return inherited::CanResize(NewWidth, NewHeight);
}

void TcxCustomButton::UpdateSize() {
  if (!FAutoSize) return;
  if (ComponentState().Contains(csLoading)) {
    const TSize Size = GetOptimalSize();
    SetBounds(Left(), Top(), Size.cx, Size.cy);
  } else {
    // CanResize puts the optimal size in place of the empty one.
    SetBounds(Left(), Top(), 0, 0);
  }
}

// --- window -------------------------------------------------------------------
void TcxCustomButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style &= ~BS_TYPEMASK;
  if (FKind == cxbkCommandLink) Params.Style |= Default() ? BS_DEFCOMMANDLINK : BS_COMMANDLINK;
  // The platform draws a command link or split button its own way; the
  // library paints every kind itself, so only the owner-draw type remains.
  if (!StandardButton()) Params.Style = (Params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TcxCustomButton::DestroyWindowHandle() {
  if (FInternalStates.Contains(bisMenuVisible)) Perform(DXM_CLOSEUPPOPUPMENU);
  inherited::DestroyWindowHandle();
}

void TcxCustomButton::DefaultHandler(TMessage& Message) {
  if (TcxControlDefaultHandlerHelper::Process(Message)) return;
  inherited::DefaultHandler(Message);
}

void TcxCustomButton::WndProc(TMessage& Message) {
  if (SpeedButtonMode() && !IsDesigning() && !CanBeFocused()) {
    // A button that takes no focus is pressed by the library alone: the
    // platform button would take the focus and click by itself.
    if (Message.Msg == WM_LBUTTONDOWN) {
      const TPoint P = SmallPointToPoint(Message.LParam);
      MouseDown(mbLeft, KeysToShiftState(Message.WParam), P.x, P.y);
      return;
    }
    if (Message.Msg == WM_LBUTTONDBLCLK) {
      DblClick();
      return;
    }
  }
  if (Message.Msg == BM_SETSTYLE && !StandardButton()) {
    SetButtonStyle((Message.WParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    return;
  }
  if (Message.Msg == WM_LBUTTONDBLCLK) {
    // A second press in a row is a press like the first.
    Message.Result = Perform(WM_LBUTTONDOWN, Message.WParam, Message.LParam);
    return;
  }
  inherited::WndProc(Message);
}

void TcxCustomButton::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

// The platform's paint asks for the owner drawing, which has its own
// bitmap: no second buffer around it.
void TcxCustomButton::WMPaint(TMessage& Message) { DefaultHandler(Message); }

void TcxCustomButton::CNCtlColor(TMessage& Message) {
  if (Message.Msg == CN_CTLCOLORBTN) {
    Message.Result = 0;
    return;
  }
  inherited::CNCtlColor(Message);
}

void TcxCustomButton::CNMeasureItem(TMessage& Message) {
  auto* MI = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  MI->itemWidth = static_cast<UINT>(Width());
  MI->itemHeight = static_cast<UINT>(Height());
  Message.Result = 1;
}

void TcxCustomButton::CNDrawItem(TMessage& Message) {
  DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam));
  Message.Result = 1;
}

void TcxCustomButton::BCMSetNote(TMessage&) { Invalidate(); }

void TcxCustomButton::DrawItem(const DRAWITEMSTRUCT& ADrawItem) {
  if (IsDestroying()) return;
  const TcxButtonState Before = GetButtonState();
  const bool KindOpensOnPress = FKind == cxbkDropDown || FKind == cxbkOfficeDropDown;
  FIsPaintPressed = ((ADrawItem.itemState & ODS_SELECTED) != 0 &&
                     !FInternalStates.Contains(bisMenuButtonPressed)) ||
                    (FInternalStates.Contains(bisMenuVisible) && KindOpensOnPress) || Down() ||
                    (FInternalStates.Contains(bisHot) && FInternalStates.Contains(bisPressed));
  FIsPaintDefault =
      ((ADrawItem.itemState & ODS_FOCUS) != 0 || (Default() && IsDesigning()) || FIsFocused) &&
      CanBeFocused();
  CheckStartFading(Before, GetButtonState());
  const TRect R = ClientRect();
  FViewInfo->Calculate(R);
  TOwned<TcxBitmap> Bitmap(Create<TcxBitmap>(cxRectWidth(R), cxRectHeight(R)));
  Draw(Bitmap->Canvas()->Handle());
  BitBlt(ADrawItem.hDC, 0, 0, cxRectWidth(R), cxRectHeight(R), Bitmap->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void TcxCustomButton::Draw(HDC DC) {
  FCanvas->Lock();
  auto Unlock = Finally([&] {
    FControlCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  });
  FControlCanvas->SetHandle(DC);
  bool Handled = false;
  if (OnCustomDraw) OnCustomDraw(this, FCanvas, FViewInfo, Handled);
  if (!Handled) FViewInfo->Draw(FCanvas);
}

void TcxCustomButton::DoGetDrawParams(TcxButtonState AState, TColor& AColor, TFont* AFont) {
  if (OnGetDrawParams) OnGetDrawParams(this, AState, AColor, AFont);
}

// --- fading -------------------------------------------------------------------
bool STDMETHODCALLTYPE TcxCustomButton::CanFade() {
  const TcxLookAndFeelStyle Style = GetPainter()->LookAndFeelStyle();
  return (Style == lfsNative || Style == lfsSkin) && CanHotTrack() && !OnCustomDraw;
}

void STDMETHODCALLTYPE TcxCustomButton::GetFadingImages(TcxBitmap*& AFadeOutImage,
                                                        TcxBitmap*& AFadeInImage) {
  const TRect B = FViewInfo->Bounds();
  const TcxButtonState Saved = FViewInfo->State();
  auto Restore = Finally([&] { FViewInfo->SetState(Saved); });
  auto Make = [&](TcxButtonState AState) {
    auto* Bitmap = TcxBitmap32::CreateSize(B, true);
    FViewInfo->SetState(AState);
    TOwned<TcxCanvas> Canvas(Create<TcxCanvas>(Bitmap->Canvas()));
    SetWindowOrgEx(Bitmap->Canvas()->Handle(), B.left, B.top, nullptr);
    FViewInfo->DrawBackground(Canvas.get());
    SetWindowOrgEx(Bitmap->Canvas()->Handle(), 0, 0, nullptr);
    return Bitmap;
  };
  AFadeOutImage = Make(CanBeFocused() && FIsFocused ? cxbsDefault : cxbsNormal);
  AFadeInImage = Make(cxbsHot);
}

// --- mouse --------------------------------------------------------------------
void TcxCustomButton::DoMouseEnter() {
  BeginMouseTracking(this, TRect{0, 0, Width(), Height()}, this);
  TcxButtonInternalStates S = FInternalStates;
  S.Include(bisHot);
  SetInternalStates(S);
}

void TcxCustomButton::DoMouseLeave() {
  EndMouseTracking(this);
  TcxButtonInternalStates S = FInternalStates;
  S.Exclude(bisHot);
  SetInternalStates(S);
}

void TcxCustomButton::CMMouseEnter(TMessage& Message) {
  inherited::CMMouseEnter(Message);
  if (!IsDesigning()) DoMouseEnter();
}

void TcxCustomButton::CMMouseLeave(TMessage& Message) {
  inherited::CMMouseLeave(Message);
  if (!IsDesigning()) DoMouseLeave();
}

void TcxCustomButton::CMEnabledChanged(TMessage& Message) {
  inherited::CMEnabledChanged(Message);
  TcxButtonInternalStates S = FInternalStates;
  S.Exclude(bisHot);
  SetInternalStates(S);
  Invalidate();
}

void TcxCustomButton::WMCaptureChanged(TMessage& Message) {
  DefaultHandler(Message);
  if (IsDesigning()) return;
  POINT P;
  GetCursorPos(&P);
  if (HandleAllocated() && WindowFromPoint(P) == Handle()) return;
  TcxButtonInternalStates S = FInternalStates;
  S.Exclude(bisHot);
  S.Exclude(bisPressed);
  S.Exclude(bisMenuButtonPressed);
  SetInternalStates(S);
}

void TcxCustomButton::CheckPressedState(const TPoint& P) {
  TcxButtonInternalStates S = FInternalStates;
  const TRect Menu = GetMenuButtonBounds();
  if ((FKind == cxbkDropDown || FKind == cxbkDropDownButton || FKind == cxbkOfficeDropDown) &&
      PtInRect(&Menu, P))
    S.Include(bisMenuButtonPressed);
  else
    S.Include(bisPressed);
  SetInternalStates(S);
}

void TcxCustomButton::CheckShowMenu(const TPoint& P) {
  const TRect Menu = GetMenuButtonBounds();
  if (PtInRect(&Menu, P)) DoDropDownMenu();
}

void TcxCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (!CanBeFocused() && HandleAllocated()) SetCapture(Handle());
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) {
    CheckPressedState(TPoint{X, Y});
    if (FRepeatClick && FInternalStates.Contains(bisPressed)) {
      FButtonPressTimer->SetInterval(400);
      FButtonPressTimer->SetEnabled(true);
    }
    if (FKind == cxbkDropDownButton) CheckShowMenu(TPoint{X, Y});
  }
  Invalidate();
}

void TcxCustomButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  const TRect R = ClientRect();
  const POINT P{X, Y};
  if (PtInRect(&R, P))
    DoMouseEnter();
  else if (FInternalStates.Contains(bisHot))
    DoMouseLeave();
}

void TcxCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FButtonPressTimer->SetEnabled(false);
  const bool KindOpensOnPress = FKind == cxbkDropDown || FKind == cxbkOfficeDropDown;
  const bool ExecuteClick = !CanBeFocused() && Button == mbLeft &&
                            FInternalStates.Contains(bisHot) &&
                            (FInternalStates.Contains(bisPressed) ||
                             (FInternalStates.Contains(bisMenuButtonPressed) && KindOpensOnPress));
  if (SpeedButtonMode() && !Action() && ExecuteClick) SetDown(!Down());
  inherited::MouseUp(Button, Shift, X, Y);
  TcxButtonInternalStates S = FInternalStates;
  S.Exclude(bisPressed);
  S.Exclude(bisMenuButtonPressed);
  SetInternalStates(S);
  if (!CanBeFocused() && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  if (ExecuteClick) Click();
  Invalidate();
  if (!FInternalStates.Contains(bisMenuVisible)) FIsDropDownMenuClosing = false;
}

void TcxCustomButton::DoButtonPressTimer(TObject*) {
  if (!GetShiftState().Contains(ssLeft)) {
    FButtonPressTimer->SetEnabled(false);
    return;
  }
  FButtonPressTimer->SetInterval(100);
  if (FInternalStates.Contains(bisHot) && FInternalStates.Contains(bisPressed)) Click();
}

void TcxCustomButton::DblClick() {
  if (!CanBeFocused() && HandleAllocated()) SetCapture(Handle());
  if (GroupIndex() != 0) inherited::DblClick();
  POINT P;
  GetCursorPos(&P);
  CheckPressedState(ScreenToClient(TPoint{P.x, P.y}));
  Invalidate();
}

void TcxCustomButton::Click() {
  if (SpeedButtonMode() && !Action() && CanBeFocused() &&
      !FInternalStates.Contains(bisAccelExecute) &&
      (FInternalStates.Contains(bisPressed) ||
       !(FInternalStates.Contains(bisPressed) || FInternalStates.Contains(bisMenuButtonPressed))))
    SetDown(!Down());
  if (FKind == cxbkDropDown || FKind == cxbkOfficeDropDown)
    DoDropDownMenu();
  else
    inherited::Click();
}

void TcxCustomButton::CNCommand(TMessage& Message) {
  // The press on a split button's arrow opened its menu; the platform's
  // click that follows it is not a click of the button.
  if (FKind == cxbkDropDownButton && HIWORD(Message.WParam) == BN_CLICKED &&
      FInternalStates.Contains(bisMenuButtonPressed) && !FInternalStates.Contains(bisPressed))
    return;
  inherited::CNCommand(Message);
}

// --- keyboard -----------------------------------------------------------------
void TcxCustomButton::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (FKind == cxbkDropDownButton && (Key == VK_UP || Key == VK_DOWN) &&
      (Shift.Contains(ssAlt) || Shift.Contains(ssShift))) {
    if (!FInternalStates.Contains(bisMenuVisible)) DoDropDownMenu();
    Key = 0;
  }
}

void TcxCustomButton::CMDialogChar(TMessage& Message) {
  if (IsAcceleratorOf(static_cast<wchar_t>(Message.WParam), Caption()) && inherited::CanFocus()) {
    TcxButtonInternalStates S = FInternalStates;
    S.Include(bisAccelExecute);
    FInternalStates = S;
    auto Clear = Finally([this] { FInternalStates.Exclude(bisAccelExecute); });
    Click();
    Message.Result = 1;
    return;
  }
  inherited::CMDialogChar(Message);
}

void TcxCustomButton::CNKeyDown(TMessage& Message) {
  if (IsPopupMenuShortCut(GetPopupMenu(), Message)) {
    Message.Result = 1;
    return;
  }
  inherited::CNKeyDown(Message);
}

void TcxCustomButton::CNSysKeyDown(TMessage& Message) {
  if (IsPopupMenuShortCut(GetPopupMenu(), Message)) {
    Message.Result = 1;
    return;
  }
  inherited::CNSysKeyDown(Message);
}

void TcxCustomButton::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  UpdateSize();
  Invalidate();
}

void TcxCustomButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  UpdateSize();
}

void TcxCustomButton::CMBiDiModeChanged(TMessage& Message) {
  inherited::CMBiDiModeChanged(Message);
  Invalidate();
}

void TcxCustomButton::WMWindowPosChanged(TMessage& Message) {
  inherited::WMWindowPosChanged(Message);
  if (FSpeedButtonOptions->Transparent() && !CanBeFocused() && HandleAllocated() && !IsDestroying())
    Invalidate();
}

// --- groups -------------------------------------------------------------------
void TcxCustomButton::CMButtonPressed(TMessage& Message) {
  auto* Sender = reinterpret_cast<TObject*>(Message.LParam);
  if (!SpeedButtonMode() || Message.WParam == 0 ||
      static_cast<Integer>(Message.WParam) != GroupIndex() || Sender == this)
    return;
  auto* Other = AsOrNull<TcxCustomButton>(Sender);
  if (!Other) return;
  FSpeedButtonOptions->UpdateGroupValues(Other->SpeedButtonOptions());
  if (Other->Down() && Down() && (Action() == nullptr || Other->Action() != Action())) {
    FSpeedButtonOptions->BeginUpdate();
    auto Cancel = Finally([this] { FSpeedButtonOptions->CancelUpdate(); });
    SetDown(false);
    if (auto* A = AsOrNull<TCustomAction>(Action())) A->SetChecked(false);
  }
  Invalidate();
}

// --- menus --------------------------------------------------------------------
void TcxCustomButton::DoDropDownMenu() {
  if (FInternalStates.Contains(bisMenuVisible) || FIsDropDownMenuClosing || !HandleAllocated())
    return;
  PostMessageW(Handle(), DXM_DROPDOWNPOPUPMENU, 0, 0);
}

bool TcxCustomButton::DoOnDropDownMenuPopupEx(TComponent*& APopupMenu) {
  bool Handled = false;
  if (OnDropDownMenuPopupEx) OnDropDownMenuPopupEx(this, APopupMenu, Handled);
  return Handled;
}

bool TcxCustomButton::DoOnDropDownMenuPopup(TPopupMenu*& APopupMenu) {
  bool Handled = false;
  if (OnDropDownMenuPopup) OnDropDownMenuPopup(this, APopupMenu, Handled);
  return Handled;
}

bool TcxCustomButton::DoDropDownMenuPopup(TComponent*& APopupMenu) {
  bool Handled = DoOnDropDownMenuPopupEx(APopupMenu);
  if (!Handled && (!APopupMenu || AsOrNull<TPopupMenu>(APopupMenu))) {
    TPopupMenu* Menu = AsOrNull<TPopupMenu>(APopupMenu);
    Handled = DoOnDropDownMenuPopup(Menu);
    APopupMenu = Menu;
  }
  return Handled;
}

void TcxCustomButton::DXMDropDownPopupMenu(TMessage&) {
  if (FKind == cxbkStandard) return;
  TComponent* Menu = FDropDownMenu;
  if (DoDropDownMenuPopup(Menu) || !Menu) return;
  TcxButtonInternalStates S = FInternalStates;
  S.Exclude(bisMenuButtonPressed);
  S.Include(bisMenuVisible);
  SetInternalStates(S);
  FIsDropDownMenuClosing = false;
  Repaint();
  // The menu loop runs inside: the button may go away with the window.
  TcxObjectLinkGuard Self(this);
  const TRect R = ClientRect();
  TPoint TL = ClientToScreen(TPoint{R.left, R.top});
  TPoint BR = ClientToScreen(TPoint{R.right, R.bottom});
  ShowPopupMenu(this, Menu, TRect{TL.x, TL.y, BR.x, BR.y}, FPopupAlignment);
  if (Self.Alive() && HandleAllocated()) PostMessageW(Handle(), DXM_CLOSEUPPOPUPMENU, 0, 0);
}

void TcxCustomButton::DXMCloseUpPopupMenu(TMessage&) {
  bool Closing = FInternalStates.Contains(bisMenuButtonPressed);
  if (!Closing && HandleAllocated()) {
    // The click that closed the menu over the menu part must not open it
    // again: it is still waiting in the queue.
    MSG Msg;
    const TRect Bounds = GetMenuButtonBounds();
    for (UINT Kind : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK})
      if (PeekMessageW(&Msg, Handle(), Kind, Kind, PM_NOREMOVE | PM_NOYIELD)) {
        const POINT P = SmallPointToPoint(Msg.lParam);
        if (PtInRect(&Bounds, P)) Closing = true;
      }
  }
  FIsDropDownMenuClosing = Closing;
  TcxButtonInternalStates S = FInternalStates;
  S.Exclude(bisMenuVisible);
  SetInternalStates(S);
}

bool TcxCustomButton::DoShowPopupMenu(TComponent* APopupMenu, Integer X, Integer Y) {
  return ShowPopupMenu(this, APopupMenu, X, Y);
}

void TcxCustomButton::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  inherited::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  TPoint P = MousePos;
  if (P.x == -1 && P.y == -1) P = TPoint{0, 0};
  P = ClientToScreen(P);
  Handled = DoShowPopupMenu(GetPopupMenu(), P.x, P.y);
}

void TcxCustomButton::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  const TPoint Screen = SmallPointToPoint(Message.LParam);
  const bool FromKeyboard = Screen.x == -1 && Screen.y == -1;
  const TRect R = ClientRect();
  const TPoint P = FromKeyboard ? Screen : ScreenToClient(Screen);
  if (IsDesigning() || (!FromKeyboard && PtInRect(&R, POINT{P.x, P.y}))) {
    inherited::WMContextMenu(Message);
    return;
  }
  bool Handled = false;
  DoContextPopup(P, Handled);
  if (Handled)
    Message.Result = 1;
  else
    inherited::WMContextMenu(Message);
}

// --- the older names ----------------------------------------------------------
void TcxCustomButton::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  // Read from resources written before the options had their own objects;
  // never written back.
  Filer->DefineProperty(L"CommandLinkHint", MakeEvent<&TcxCustomButton::ReadCommandLinkHint>(this),
                        {}, false);
  Filer->DefineProperty(L"Layout", MakeEvent<&TcxCustomButton::ReadLayout>(this), {}, false);
  Filer->DefineProperty(L"Margin", MakeEvent<&TcxCustomButton::ReadMargin>(this), {}, false);
  Filer->DefineProperty(L"NumGlyphs", MakeEvent<&TcxCustomButton::ReadNumGlyphs>(this), {}, false);
  Filer->DefineProperty(L"Spacing", MakeEvent<&TcxCustomButton::ReadSpacing>(this), {}, false);
  Filer->DefineProperty(L"CanBeFocused", MakeEvent<&TcxCustomButton::ReadCanBeFocused>(this), {},
                        false);
  Filer->DefineProperty(L"GroupIndex", MakeEvent<&TcxCustomButton::ReadGroupIndex>(this), {},
                        false);
  Filer->DefineProperty(L"Down", MakeEvent<&TcxCustomButton::ReadDown>(this), {}, false);
  Filer->DefineProperty(L"AllowAllUp", MakeEvent<&TcxCustomButton::ReadAllowAllUp>(this), {},
                        false);
}

void TcxCustomButton::ReadCommandLinkHint(TReader* Reader) { SetDescription(Reader->ReadString()); }
void TcxCustomButton::ReadLayout(TReader* Reader) {
  FOptionsImage->SetLayout(
      static_cast<TButtonLayout>(GetEnumValue(LayoutInfoValue, Reader->ReadIdent())));
}
void TcxCustomButton::ReadMargin(TReader* Reader) {
  FOptionsImage->SetMargin(Reader->ReadInteger());
}
void TcxCustomButton::ReadNumGlyphs(TReader* Reader) {
  FOptionsImage->SetNumGlyphs(Reader->ReadInteger());
}
void TcxCustomButton::ReadSpacing(TReader* Reader) {
  FOptionsImage->SetSpacing(Reader->ReadInteger());
}
void TcxCustomButton::ReadCanBeFocused(TReader* Reader) {
  FSpeedButtonOptions->SetCanBeFocused(Reader->ReadBoolean());
}
void TcxCustomButton::ReadGroupIndex(TReader* Reader) {
  FSpeedButtonOptions->SetGroupIndex(Reader->ReadInteger());
}
void TcxCustomButton::ReadDown(TReader* Reader) {
  FSpeedButtonOptions->SetDown(Reader->ReadBoolean());
}
void TcxCustomButton::ReadAllowAllUp(TReader* Reader) {
  FSpeedButtonOptions->SetAllowAllUp(Reader->ReadBoolean());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxButton) {}

void cxButtons_Initialize() { RegisterClasses({TcxButton::StaticClass()}); }
void cxButtons_Finalize() { UnRegisterClass(TcxButton::StaticClass()); }
