// Common dialogs: the platform's open and save file dialogs.
#pragma once

#include "Classes.h"
#include "Controls.h"

class TCommonDialog : public TComponent {
  DECLARE_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* AOwner);
  // True when the user confirmed, false when cancelled.
  virtual bool Execute();
  virtual bool Execute(HWND ParentWnd) = 0;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  // The window the dialog is modal to: the active form, else the
  // application window.
  HWND DefaultParent();
};

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing,
  ofDontAddToRecent,
  ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
  DECLARE_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  using TCommonDialog::Execute;
  bool Execute(HWND ParentWnd) override;

  const String& Title() const { return FTitle; }
  void SetTitle(const String& V) { FTitle = V; }
  // "Description|*.ext;*.ext2|Description|*.*"
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& V) { FFilter = V; }
  // 1-based, as the platform counts.
  Integer FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer V) { FFilterIndex = V; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& V) { FFileName = V; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& V) { FInitialDir = V; }
  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& V) { FDefaultExt = V; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions V) { FOptions = V; }
  // The chosen files with their full paths (one unless multi-select).
  TStrings* Files() const { return FFiles; }

 protected:
  virtual bool DoExecute(OPENFILENAMEW& Info);

 private:
  void ReadFiles(const wchar_t* Buffer, bool Multi);
  String FTitle, FFilter, FFileName, FInitialDir, FDefaultExt;
  Integer FFilterIndex = 1;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  TStringList* FFiles;
};

class TSaveDialog : public TOpenDialog {
  DECLARE_CLASS(TSaveDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;

 protected:
  bool DoExecute(OPENFILENAMEW& Info) override;
};

void Dialogs_Initialize();
