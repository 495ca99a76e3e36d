// Incremental filtering of drop-down lists, the parts no particular editor
// owns: a helper that owns the search edit typed into and routes its events,
// the popup view info that draws the "No matches found" panel, and the popup
// window that keeps that view info at its own scale.
#pragma once

#include "cxContainer.h"
#include "cxEdit.h"

// ---------------------------------------------------------------------------
// The search edit is a text editor, which lives in the layer above. That
// layer's text-editor module fills this table at its start-up and empties it
// at its shut-down; tests fill it with a fake editor.
struct TdxSearchEditRoutines {
  // A new text editor without owner; the caller owns it.
  TcxCustomEdit* (*CreateSearchEdit)() = nullptr;
  String (*GetText)(TcxCustomEdit* AEdit) = nullptr;
  void (*SetBeepOnEnter)(TcxCustomEdit* AEdit, bool AValue) = nullptr;
};
TdxSearchEditRoutines& dxSearchEditRoutines();
// The table, raising EdxException while the text-editor module has not
// filled it.
const TdxSearchEditRoutines& dxCheckedSearchEditRoutines();

// ---------------------------------------------------------------------------
// The base of the drop-down editors' filtering helpers: the search edit's
// life and its wiring; the handlers are the derived helper's.
class TdxCustomIncrementalFilteringHelper : public TObject {
  DECLARE_CLASS(TdxCustomIncrementalFilteringHelper, TObject)
 public:
  TdxCustomIncrementalFilteringHelper() = default;
  ~TdxCustomIncrementalFilteringHelper() override;

  // A new search edit; one made before is freed first.
  virtual void CreateSearchEdit();
  virtual void DestroySearchEdit();
  // The draw-button handler of the search edit's view info: the search glyph
  // in the normal state, whatever the mouse does, instead of the button.
  virtual void DrawSearchEditButton(TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas,
                                    bool& AHandled);
  virtual TcxCustomLookAndFeelPainter* GetLookAndFeelPainter() = 0;
  // The margins between the search edit and the popup's edges.
  virtual TRect GetSearchEditOffsets();
  virtual void InitSearchEdit();
  virtual void SearchEditKeyDown(TObject* Sender, Word& Key, TShiftState Shift) = 0;
  virtual void SearchEditKeyPress(TObject* Sender, Char& Key) = 0;
  virtual void SearchEditMouseWheel(TObject* Sender, TShiftState Shift, Integer WheelDelta,
                                    TPoint MousePos, bool& Handled) = 0;
  virtual void SearchEditValueChanged(TObject* Sender) = 0;
  // Empty while there is no search edit.
  virtual String GetSearchText();

  TcxCustomEdit* SearchEdit() const { return FSearchEdit.get(); }

 private:
  TOwned<TcxCustomEdit> FSearchEdit;
};

// ---------------------------------------------------------------------------
// The view info of popups that can show the search-information panel.
class TdxCustomIncrementalFilteringContainerViewInfo : public TcxContainerViewInfo {
  DECLARE_CLASS(TdxCustomIncrementalFilteringContainerViewInfo, TcxContainerViewInfo)
 public:
  TdxCustomIncrementalFilteringContainerViewInfo();
  ~TdxCustomIncrementalFilteringContainerViewInfo() override;
  void Paint(TcxCanvas* ACanvas) override;

  virtual void DrawSearchInfoPanel(TcxCanvas* ACanvas);
  // One line of the view info's font with 4 pixels above and below.
  virtual Integer GetSearchInfoPanelDefaultHeight();
  virtual Integer GetSearchInfoPanelHeight();
  virtual String GetSearchInfoPanelText();
  virtual Cardinal GetSearchInfoPanelTextDrawFlags();
  // The same at every scale.
  virtual Integer GetSearchInfoPanelTextOffset();
  virtual Integer GetSearchInfoPanelWidth();
  // The popups that lay the panel out decide; this one never shows it.
  virtual bool IsSearchInfoPanelVisible();
  // Whether the panel takes its room from the client rectangle; popups that
  // lay it out below their client area answer false.
  virtual bool IsSearchInfoPanelInClientRect() { return true; }

  // Kept equal to the popup window's scale factor.
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

  TRect SearchInfoPanelBounds{};
  // 0: the default height.
  Integer SearchInfoPanelHeight = 0;
  bool ShowSearchInfoPanel = false;
  bool UseRightToLeftAlignment = false;

 private:
  TOwned<TdxScaleFactor> FScaleFactor;
};

// ---------------------------------------------------------------------------
// The popup window base of the drop-down editors' popups.
class TdxCustomIncrementalFilteringPopupWindow : public TcxCustomPopupWindow {
  DECLARE_CLASS(TdxCustomIncrementalFilteringPopupWindow, TcxCustomPopupWindow)
 public:
  using TcxCustomPopupWindow::TcxCustomPopupWindow;
  void AfterConstruction() override;

  // A view info class of another family raises EInvalidCast.
  TdxCustomIncrementalFilteringContainerViewInfo* ViewInfo() const {
    return As<TdxCustomIncrementalFilteringContainerViewInfo>(TcxCustomPopupWindow::ViewInfo());
  }
  bool ShowSearchInfoPanel() const { return FShowSearchInfoPanel; }
  void SetShowSearchInfoPanel(bool Value);

 protected:
  TcxContainerViewInfoClass GetViewInfoClass() override;
  void ScaleFactorChanged(Integer M, Integer D) override;

 private:
  void SyncViewInfoScaleFactor();
  bool FShowSearchInfoPanel = false;
};

// Empties the search-edit table, so that nothing of a text-editor module
// that is gone can be reached after shut-down.
void dxIncrementalFiltering_Finalize();
