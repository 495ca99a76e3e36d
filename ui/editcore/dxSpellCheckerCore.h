// The meeting point of the editors and a spell checker: the one installed
// spell checker as process-wide interface references, the notifications the
// editors send it, and the context-menu hook through which it may show its
// own menu. Without an installed spell checker every notification is skipped
// and every question is answered "no".
#pragma once

#include "ComObj.h"
#include "Controls.h"
#include "cxControls.h"
#include "dxCoreClasses.h"

// The notifications the editors send, in this order of operations.
struct IdxSpellChecker : public IUnknown {
  virtual void STDMETHODCALLTYPE NotifyFocusLost() = 0;
  virtual void STDMETHODCALLTYPE NotifyFocusGained(TWinControl* AControl) = 0;
  virtual void STDMETHODCALLTYPE DrawMisspellings(TWinControl* AControl) = 0;
  // The window belongs to the spell checker (its menu, its dialog).
  virtual bool STDMETHODCALLTYPE IsSpellCheckerWindow(HWND AWnd) = 0;
  virtual void STDMETHODCALLTYPE NotifyKeyPress(Char AKey) = 0;
  virtual void STDMETHODCALLTYPE NotifyLayoutChanged(TWinControl* AControl) = 0;
  // True when the spell checker showed its own menu instead.
  virtual bool STDMETHODCALLTYPE ShowContextPopup(TComponent* APopupMenu, const TPoint& P) = 0;
  virtual void STDMETHODCALLTYPE NotifySelectionChanged(TWinControl* AControl) = 0;
  virtual void STDMETHODCALLTYPE NotifyTextChanged(TWinControl* AControl) = 0;
  virtual void STDMETHODCALLTYPE NotifyUndo() = 0;
};
__CRT_UUID_DECL(IdxSpellChecker, 0x6C1B2F6E, 0x52A4, 0x4E0D, 0x9B, 0x3E, 0x0A, 0x61, 0x8C, 0x25,
                0x7D, 0x41)

// The keys the editor base leaves unhandled.
struct IdxSpellChecker2 : public IUnknown {
  virtual void STDMETHODCALLTYPE NotifyKeyDown(Word AKey, TShiftState AShift) = 0;
  virtual void STDMETHODCALLTYPE NotifyKeyUp(Word AKey, TShiftState AShift) = 0;
};
__CRT_UUID_DECL(IdxSpellChecker2, 0x2E87C4A1, 0x0F63, 0x4B7A, 0x8D, 0x15, 0x4C, 0x9E, 0x70, 0x3B,
                0xA2, 0x58)

// Held for a spell checker that offers it; the editors never call it.
struct IdxSpellChecker3 : public IUnknown {
  virtual bool STDMETHODCALLTYPE IsChecking() = 0;
};
__CRT_UUID_DECL(IdxSpellChecker3, 0x9F4D0B72, 0x6E19, 0x4C3F, 0xA8, 0x27, 0x51, 0xD6, 0x0E, 0x94,
                0x3C, 0x7B)

// How a control offers itself to a spell checker.
struct IdxSpellCheckerControl : public IUnknown {
  virtual bool STDMETHODCALLTYPE SupportsSpelling() = 0;
  virtual void STDMETHODCALLTYPE SpellCheckerSetIsBarControl(bool AValue) = 0;
  virtual void STDMETHODCALLTYPE SpellCheckerSetSelText(const String& AValue, bool APost) = 0;
  virtual void STDMETHODCALLTYPE SpellCheckerSetValue(const Variant& AValue) = 0;
};
__CRT_UUID_DECL(IdxSpellCheckerControl, 0x2DEA4CCA, 0x3C6D, 0x4283, 0x94, 0x41, 0xAA, 0xBB, 0xD6,
                0x1F, 0x74, 0xF3)

// What DXM_SPELL_AUTOCORRECT's LParam points at: the text that replaces the
// range, the range, and where the caret goes afterwards.
struct TdxSpellCheckerAutoCorrectWordInfo {
  String Replacement;
  Integer SelStart = 0;
  Integer SelLength = 0;
  Integer Position = 0;
};

using TdxSpellCheckerChangedEvent = TdxMulticastMethod<void(TObject*)>;

// The installed spell checker; nothing is installed unless a spell-checker
// component installs itself.
class TdxSpellCheckerInstance {
 public:
  TdxSpellCheckerInstance() = delete;

  static IdxSpellChecker* ISpellChecker();
  static IdxSpellChecker2* ISpellChecker2();
  static IdxSpellChecker3* ISpellChecker3();
  // Takes the interfaces the object offers (replacing any installed ones)
  // and tells the listeners; nullptr uninstalls. Refused once the module
  // has shut down.
  static void Install(IUnknown* ASpellChecker);
  // Listeners of a change of the installed spell checker (the sender is
  // nullptr); nullptr outside the module's lifetime.
  static TdxSpellCheckerChangedEvent* SpellCheckerChanged();
};

// The editor base's calls; each goes out only when the interface it goes
// through is installed.
void dxSpellCheckerNotifyFocusGained(TWinControl* AInnerControl);
void dxSpellCheckerNotifyFocusLost();
void dxSpellCheckerNotifyKeyPress(Char AKey);
void dxSpellCheckerNotifyKeyDown(Word AKey, TShiftState AShift);
void dxSpellCheckerNotifyKeyUp(Word AKey, TShiftState AShift);
// The window belongs to the installed spell checker; false without one.
bool dxSpellCheckerIsSpellCheckerWindow(HWND AWnd);

// The base control's context-menu hook while the module runs: true when an
// installed spell checker showed its own menu at P instead.
bool dxSpellCheckerContextPopupHook(TcxControl* AControl, TComponent* APopupMenu, const TPoint& P);

void dxSpellCheckerCore_Initialize();
void dxSpellCheckerCore_Finalize();
