// One cached theme handle per themed object type, whether visual styles are
// available, and notification of theme and system-colour changes.
#pragma once

#include "dxUxTheme.h"

enum TdxThemedObjectType {
  totButton,
  totClock,
  totComboBox,
  totEdit,
  totExplorerBar,
  totHeader,
  totListBox,
  totListView,
  totMenu,
  totPage,
  totProgress,
  totRebar,
  totScrollBar,
  totSpin,
  totStartPanel,
  totStatus,
  totTab,
  totTaskBand,
  totTaskBar,
  totToolBar,
  totToolTip,
  totTrackBar,
  totTrayNotify,
  totTreeview,
  totWindow,
  totNavigation,
  totExplorerListView,
  totTextStyle
};
constexpr int dxThemedObjectTypeCount = totTextStyle + 1;
using TdxThemedObjectTypes = TSet<TdxThemedObjectType>;

// The theme class opened for a type by default.
const wchar_t* dxThemedObjectName(TdxThemedObjectType AType);

bool AreVisualStylesAvailable(TdxThemedObjectType AType);
bool AreVisualStylesAvailable(const TdxThemedObjectTypes& ATypes = TdxThemedObjectTypes());
// The cached handle (callers never close it); 0 when styles are off or the
// class does not open.
HTHEME OpenTheme(TdxThemedObjectType AType, const String& AClassList = String());
HRESULT CloseTheme(TdxThemedObjectType AType);
void CloseAllThemes();
// Whether the platform reported a theme active at start-up or the last change.
bool dxIsGlobalThemeActive();

using TdxThemeChangedEvent = TMethodPtr<void()>;

class TdxThemeChangedNotificator : public TObject {
  DECLARE_CLASS(TdxThemeChangedNotificator, TObject)
 public:
  void AfterConstruction() override;
  void BeforeDestruction() override;
  const TdxThemeChangedEvent& OnThemeChanged() const { return FOnThemeChanged; }
  void SetOnThemeChanged(const TdxThemeChangedEvent& AValue) { FOnThemeChanged = AValue; }
  virtual void DoThemeChanged();

 private:
  TdxThemeChangedEvent FOnThemeChanged;
};

// The hidden window that receives theme and system-colour changes; nullptr
// when the theme library is not loaded.
HWND dxThemeChangedReceiverHandle();

// Registers the module's start-up and shut-down with the units loader.
void dxThemeManager_Initialize();
void dxThemeManager_Finalize();
