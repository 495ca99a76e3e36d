// A spell checker for tests: it writes down every notification it receives.
#pragma once

#include <string>
#include <vector>

#include "dxSpellCheckerCore.h"

// Writes down every notification it receives, in order; reference counted
// like the COM object a spell checker is.
class TRecordingSpellChecker : public IdxSpellChecker, public IdxSpellChecker2 {
 public:
  explicit TRecordingSpellChecker(bool AWithKeys) : FWithKeys(AWithKeys) {}
  virtual ~TRecordingSpellChecker() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObject) override {
    if (AIID == __uuidof(IUnknown) || AIID == __uuidof(IdxSpellChecker))
      *AObject = static_cast<IdxSpellChecker*>(this);
    else if (FWithKeys && AIID == __uuidof(IdxSpellChecker2))
      *AObject = static_cast<IdxSpellChecker2*>(this);
    else {
      *AObject = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefCount; }

  void STDMETHODCALLTYPE NotifyFocusLost() override { Log.push_back("FocusLost"); }
  void STDMETHODCALLTYPE NotifyFocusGained(TWinControl* AControl) override {
    Log.push_back("FocusGained");
    Controls.push_back(AControl);
  }
  void STDMETHODCALLTYPE DrawMisspellings(TWinControl*) override { Log.push_back("Draw"); }
  bool STDMETHODCALLTYPE IsSpellCheckerWindow(HWND AWnd) override {
    Log.push_back("IsWindow");
    return AWnd == OwnWindow;
  }
  void STDMETHODCALLTYPE NotifyKeyPress(Char AKey) override {
    Log.push_back("KeyPress " + std::string(1, static_cast<char>(AKey)));
  }
  void STDMETHODCALLTYPE NotifyLayoutChanged(TWinControl*) override { Log.push_back("Layout"); }
  bool STDMETHODCALLTYPE ShowContextPopup(TComponent* APopupMenu, const TPoint& P) override {
    Log.push_back("Popup " + std::to_string(P.x) + "," + std::to_string(P.y));
    Popups.push_back(APopupMenu);
    return ShowsOwnMenu;
  }
  void STDMETHODCALLTYPE NotifySelectionChanged(TWinControl*) override {
    Log.push_back("Selection");
  }
  void STDMETHODCALLTYPE NotifyTextChanged(TWinControl*) override { Log.push_back("Text"); }
  void STDMETHODCALLTYPE NotifyUndo() override { Log.push_back("Undo"); }
  void STDMETHODCALLTYPE NotifyKeyDown(Word AKey, TShiftState AShift) override {
    Log.push_back("KeyDown " + std::to_string(AKey) + (AShift.Contains(ssCtrl) ? " ctrl" : ""));
  }
  void STDMETHODCALLTYPE NotifyKeyUp(Word AKey, TShiftState AShift) override {
    Log.push_back("KeyUp " + std::to_string(AKey) + (AShift.Contains(ssShift) ? " shift" : ""));
  }

  ULONG References() const { return FRefCount; }

  std::vector<std::string> Log;
  std::vector<TWinControl*> Controls;
  std::vector<TComponent*> Popups;
  HWND OwnWindow = reinterpret_cast<HWND>(0x1234);
  bool ShowsOwnMenu = true;

 private:
  bool FWithKeys;
  ULONG FRefCount = 1;
};

// Installs a spell checker for the test and uninstalls it afterwards.
class TInstalledScope {
 public:
  explicit TInstalledScope(IUnknown* ASpellChecker) {
    TdxSpellCheckerInstance::Install(ASpellChecker);
  }
  ~TInstalledScope() { TdxSpellCheckerInstance::Install(nullptr); }
  TInstalledScope(const TInstalledScope&) = delete;
  TInstalledScope& operator=(const TInstalledScope&) = delete;
};
