#include "dxIncrementalFiltering.h"

#include "cxDrawTextUtils.h"
#include "cxEditConsts.h"
#include "dxDPIAwareUtils.h"

IMPLEMENT_CLASS(TdxCustomIncrementalFilteringHelper)
IMPLEMENT_CLASS(TdxCustomIncrementalFilteringContainerViewInfo)
IMPLEMENT_CLASS(TdxCustomIncrementalFilteringPopupWindow)

namespace {
TdxSearchEditRoutines SearchEditRoutines;

constexpr Cardinal SearchInfoPanelTextFormat = CXTO_SINGLELINE | CXTO_CENTER_VERTICALLY;
}  // namespace

TdxSearchEditRoutines& dxSearchEditRoutines() { return SearchEditRoutines; }

const TdxSearchEditRoutines& dxCheckedSearchEditRoutines() {
  if (!SearchEditRoutines.CreateSearchEdit || !SearchEditRoutines.GetText ||
      !SearchEditRoutines.SetBeepOnEnter)
    throw EdxException(L"The search edit routines are not bound");
  return SearchEditRoutines;
}

void dxIncrementalFiltering_Finalize() { SearchEditRoutines = TdxSearchEditRoutines(); }

// ---------------------------------------------------------------------------
// Helper

TdxCustomIncrementalFilteringHelper::~TdxCustomIncrementalFilteringHelper() = default;

void TdxCustomIncrementalFilteringHelper::CreateSearchEdit() {
  const TdxSearchEditRoutines& ARoutines = dxCheckedSearchEditRoutines();
  // A second call must not orphan the edit (and its window) made by the
  // first; the first is freed once its successor exists.
  FSearchEdit.reset(ARoutines.CreateSearchEdit());
}

void TdxCustomIncrementalFilteringHelper::DestroySearchEdit() { FSearchEdit.reset(); }

void TdxCustomIncrementalFilteringHelper::DrawSearchEditButton(TcxEditButtonViewInfo* Sender,
                                                               TcxCanvas* ACanvas, bool& AHandled) {
  AHandled = true;
  if (!ACanvas) return;
  // The button draws at its editor's scale.
  const TdxScaleFactor* AScaleFactor = dxDefaultScaleFactor();
  if (Sender->EditViewInfo && Sender->EditViewInfo->GetEdit())
    AScaleFactor = Sender->EditViewInfo->GetEdit()->ScaleFactor();
  GetLookAndFeelPainter()->DrawScaledSearchEditButtonGlyph(ACanvas, Sender->Bounds, cxbsNormal,
                                                           AScaleFactor);
}

TRect TdxCustomIncrementalFilteringHelper::GetSearchEditOffsets() { return TRect{1, 1, 1, 1}; }

void TdxCustomIncrementalFilteringHelper::InitSearchEdit() {
  const TdxSearchEditRoutines& ARoutines = dxCheckedSearchEditRoutines();
  if (!FSearchEdit) throw EdxException(L"There is no search edit to set up");
  TcxCustomEditProperties* AProperties = FSearchEdit->GetProperties();
  AProperties->SetOnChange(
      MakeEvent<&TdxCustomIncrementalFilteringHelper::SearchEditValueChanged>(this));
  FSearchEdit->OnKeyDown = MakeEvent<&TdxCustomIncrementalFilteringHelper::SearchEditKeyDown>(this);
  FSearchEdit->OnKeyPress =
      MakeEvent<&TdxCustomIncrementalFilteringHelper::SearchEditKeyPress>(this);
  FSearchEdit->OnMouseWheel =
      MakeEvent<&TdxCustomIncrementalFilteringHelper::SearchEditMouseWheel>(this);
  AProperties->GetButtons()->Add()->SetKind(bkGlyph);
  // The search glyph, drawn by the helper, stands in for the button.
  FSearchEdit->GetEditViewInfo()->SetOnDrawButton(
      MakeEvent<&TdxCustomIncrementalFilteringHelper::DrawSearchEditButton>(this));
  ARoutines.SetBeepOnEnter(FSearchEdit.get(), false);
}

String TdxCustomIncrementalFilteringHelper::GetSearchText() {
  if (!FSearchEdit) return String();
  return dxCheckedSearchEditRoutines().GetText(FSearchEdit.get());
}

// ---------------------------------------------------------------------------
// View info

TdxCustomIncrementalFilteringContainerViewInfo::TdxCustomIncrementalFilteringContainerViewInfo()
    : FScaleFactor(MakeOwned<TdxScaleFactor>()) {}

TdxCustomIncrementalFilteringContainerViewInfo::~TdxCustomIncrementalFilteringContainerViewInfo() =
    default;

void TdxCustomIncrementalFilteringContainerViewInfo::Paint(TcxCanvas* ACanvas) {
  inherited::Paint(ACanvas);
  if (IsSearchInfoPanelVisible()) DrawSearchInfoPanel(ACanvas);
}

void TdxCustomIncrementalFilteringContainerViewInfo::DrawSearchInfoPanel(TcxCanvas* ACanvas) {
  Painter->DrawWindowContent(ACanvas, SearchInfoPanelBounds);
  Cardinal AFormat = GetSearchInfoPanelTextDrawFlags();
  if (ACanvas->TextFlags() & ETO_RTLREADING) AFormat |= CXTO_RTLREADING;
  // The indent belongs to the side the text is aligned to, so that a
  // right-aligned text keeps its distance from the right edge.
  const Integer AOffset = GetSearchInfoPanelTextOffset();
  const Integer ALeftIndent = UseRightToLeftAlignment ? 0 : AOffset;
  const Integer ARightIndent = UseRightToLeftAlignment ? AOffset : 0;
  TRect R = SearchInfoPanelBounds;
  cxTextOut(ACanvas->Handle(), GetSearchInfoPanelText(), R, AFormat, 0, 0, Font, clBlue, clWhite, 0,
            ALeftIndent, ARightIndent, Painter->GetWindowContentTextColor(), 1.0);
}

Integer TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelDefaultHeight() {
  return cxTextHeight(Font) + 8;
}

Integer TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelHeight() {
  return SearchInfoPanelHeight != 0 ? SearchInfoPanelHeight : GetSearchInfoPanelDefaultHeight();
}

String TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelText() {
  return cxGetResourceString(&cxSNoMatchesFound);
}

Cardinal TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelTextDrawFlags() {
  return SearchInfoPanelTextFormat | (UseRightToLeftAlignment ? CXTO_RIGHT : CXTO_LEFT);
}

Integer TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelTextOffset() { return 4; }

Integer TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelWidth() {
  return cxTextWidth(Font, GetSearchInfoPanelText()) + 2 * GetSearchInfoPanelTextOffset();
}

bool TdxCustomIncrementalFilteringContainerViewInfo::IsSearchInfoPanelVisible() { return false; }

// ---------------------------------------------------------------------------
// Popup window

void TdxCustomIncrementalFilteringPopupWindow::AfterConstruction() {
  inherited::AfterConstruction();
  // A window made at a scale already has no change to hear of.
  SyncViewInfoScaleFactor();
}

TcxContainerViewInfoClass TdxCustomIncrementalFilteringPopupWindow::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TdxCustomIncrementalFilteringContainerViewInfo>;
}

void TdxCustomIncrementalFilteringPopupWindow::ScaleFactorChanged(Integer M, Integer D) {
  inherited::ScaleFactorChanged(M, D);
  SyncViewInfoScaleFactor();
}

void TdxCustomIncrementalFilteringPopupWindow::SetShowSearchInfoPanel(bool Value) {
  FShowSearchInfoPanel = Value;
  ViewInfo()->ShowSearchInfoPanel = Value;
}

// The form may rescale while it is made, before the view info exists.
void TdxCustomIncrementalFilteringPopupWindow::SyncViewInfoScaleFactor() {
  if (auto* V = dynamic_cast<TdxCustomIncrementalFilteringContainerViewInfo*>(
          TcxCustomPopupWindow::ViewInfo()))
    V->ScaleFactor()->Assign(ScaleFactor());
}
