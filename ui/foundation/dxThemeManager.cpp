#include "dxThemeManager.h"

#include "Controls.h"

namespace {
const wchar_t* const ThemedObjectNames[dxThemedObjectTypeCount] = {
    L"Button",    L"Clock",       L"ComboBox",
    L"Edit",      L"ExplorerBar", L"Header",
    L"ListBox",   L"ListView",    L"Menu",
    L"Page",      L"Progress",    L"Rebar",
    L"ScrollBar", L"Spin",        L"StartPanel",
    L"Status",    L"Tab",         L"TaskBand",
    L"TaskBar",   L"ToolBar",     L"ToolTip",
    L"TrackBar",  L"TrayNotify",  L"TreeView",
    L"Window",    L"Navigation",  L"Explorer::ListView",
    L"TEXTSTYLE"};

struct TdxThemeData {
  TdxThemeHandle Theme;
  String ClassNameList;
};

TdxThemeData* FThemeData = nullptr;  // dxThemedObjectTypeCount entries
bool FIsGlobalThemeActive = false;
TdxListenerList<TdxThemeChangedNotificator*>* FNotificators = nullptr;
HWND FReceiver = nullptr;

TdxThemeData& ThemeData(TdxThemedObjectType AType) {
  if (!FThemeData) FThemeData = new TdxThemeData[dxThemedObjectTypeCount];
  return FThemeData[AType];
}

bool StylesOn() { return FIsGlobalThemeActive && dxUxTheme::IsThemeLibraryLoaded(); }

// The receiver is a hidden top-level window of the framework: theme changes
// are broadcast to top-level windows only.
struct TReceiver {
  void WndProc(TMessage& Message) {
    if (Message.Msg != WM_THEMECHANGED && Message.Msg != WM_SYSCOLORCHANGE) {
      Message.Result = DefWindowProcW(FReceiver, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    try {
      CloseAllThemes();
      DefWindowProcW(FReceiver, Message.Msg, Message.WParam, Message.LParam);
      FIsGlobalThemeActive = dxUxTheme::IsThemeActive() != FALSE;
      if (FNotificators)
        FNotificators->ForEach([](TdxThemeChangedNotificator* N) { N->DoThemeChanged(); });
    } catch (...) {
      dxHandleException();
    }
    Message.Result = 0;
  }
} Receiver;

HWND CreateReceiver() { return AllocateHWnd(MakeEvent<&TReceiver::WndProc>(&Receiver)); }

void ThemeManagerInitialize() {
  if (!dxUxTheme::IsThemeLibraryLoaded()) return;
  FIsGlobalThemeActive = dxUxTheme::IsThemeActive() != FALSE;
  FReceiver = CreateReceiver();
  FNotificators = new TdxListenerList<TdxThemeChangedNotificator*>;
}

void ThemeManagerFinalize() {
  DeallocateHWnd(FReceiver);
  FReceiver = nullptr;
  FIsGlobalThemeActive = false;
  // Freeing the table closes its handles; that needs the theme flag no
  // longer.
  delete FNotificators;
  FNotificators = nullptr;
  delete[] FThemeData;
  FThemeData = nullptr;
}
}  // namespace

const wchar_t* dxThemedObjectName(TdxThemedObjectType AType) { return ThemedObjectNames[AType]; }

bool dxIsGlobalThemeActive() { return FIsGlobalThemeActive; }

HWND dxThemeChangedReceiverHandle() { return FReceiver; }

bool AreVisualStylesAvailable(TdxThemedObjectType AType) {
  return StylesOn() && OpenTheme(AType) != nullptr;
}

bool AreVisualStylesAvailable(const TdxThemedObjectTypes& ATypes) {
  if (!StylesOn()) return false;
  for (int I = 0; I < dxThemedObjectTypeCount; ++I) {
    auto T = static_cast<TdxThemedObjectType>(I);
    if (ATypes.Contains(T) && !OpenTheme(T)) return false;
  }
  return true;
}

HTHEME OpenTheme(TdxThemedObjectType AType, const String& AClassList) {
  if (!StylesOn()) return nullptr;
  TdxThemeData& D = ThemeData(AType);
  if (D.Theme) {
    if (AClassList.empty() || AnsiUpperCase(AClassList) == AnsiUpperCase(D.ClassNameList))
      return D.Theme.Get();
    CloseTheme(AType);
  }
  String List = !AClassList.empty()        ? AClassList
                : !D.ClassNameList.empty() ? D.ClassNameList
                                           : String(ThemedObjectNames[AType]);
  D.Theme.Reset(dxUxTheme::OpenThemeData(nullptr, List.c_str()));
  D.ClassNameList = D.Theme ? List : String();
  return D.Theme.Get();
}

HRESULT CloseTheme(TdxThemedObjectType AType) {
  if (!StylesOn()) return 1;
  TdxThemeData& D = ThemeData(AType);
  if (!D.Theme) return 0;
  HRESULT R = dxUxTheme::CloseThemeData(D.Theme.Release());
  D.ClassNameList.clear();
  return R;
}

void CloseAllThemes() {
  if (!FThemeData) return;
  for (int I = 0; I < dxThemedObjectTypeCount; ++I) FThemeData[I].Theme.Reset();
}

IMPLEMENT_CREATABLE_CLASS(TdxThemeChangedNotificator)

void TdxThemeChangedNotificator::AfterConstruction() {
  inherited::AfterConstruction();
  if (FNotificators) FNotificators->Add(this);
}

void TdxThemeChangedNotificator::BeforeDestruction() {
  if (FNotificators) FNotificators->Remove(this);
  inherited::BeforeDestruction();
}

void TdxThemeChangedNotificator::DoThemeChanged() {
  if (FOnThemeChanged) FOnThemeChanged();
}

void dxThemeManager_Initialize() {
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->AddUnit(&ThemeManagerInitialize, &ThemeManagerFinalize);
}

void dxThemeManager_Finalize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->RemoveUnit(&ThemeManagerFinalize);
}
