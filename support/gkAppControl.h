// Registries of the automation servers (GIS program, word processor,
// spreadsheet) that programs of the family start: one INI file per kind in
// the per-user product folder, one section per server keyed by the client's
// and the server's process and thread ids. Closing consults the file and
// ends the servers that belong to the caller or whose client has ended, so
// that servers left behind by a crashed client are ended too.
#pragma once

#include "gkCommon.h"

class TgkAppControl : public TObject {
  DECLARE_CLASS(TgkAppControl, TObject)
 public:
  explicit TgkAppControl(const String& AIniFileName) : FIniFileName(AIniFileName) {}
  // Closes the servers of this process and of ended clients.
  void BeforeDestruction() override;

  // A bare name gets the per-user product folder in front and ".ini" when it
  // has no extension; a name with a folder is used as it is.
  String GetIniFileName() const;
  // Records (or erases) the server that owns AppWnd under the calling
  // process and thread. Errors are swallowed.
  void SaveProcessByWnd(HWND AppWnd);
  void ClearProcessByWnd(HWND AppWnd);
  // Closes and erases every entry whose server is (AProcessId, AThreadId),
  // whose client process has ended, or, with AForceClose, whose client is
  // this process. An entry that fails is kept and the walk goes on; the
  // erasures made are written back. Errors are swallowed.
  void CloseProcessById(DWORD AProcessId, DWORD AThreadId, Boolean AForceClose);
  // The entries of the server that owns AWnd (and of ended clients); nothing
  // for 0.
  void CloseProcessByWnd(HWND AWnd);

 protected:
  // Ends one registered server.
  virtual void CloseServer(DWORD AProcessId, DWORD AThreadId);

 private:
  void WriteProcessByWnd(HWND AppWnd, Boolean AClear);
  String FIniFileName;
};

class TgkMiAppControl : public TgkAppControl {
  DECLARE_CLASS(TgkMiAppControl, TgkAppControl)
 public:
  using TgkAppControl::TgkAppControl;
};

class TgkWordAppControl : public TgkAppControl {
  DECLARE_CLASS(TgkWordAppControl, TgkAppControl)
 public:
  using TgkAppControl::TgkAppControl;
};

class TgkExcelAppControl : public TgkAppControl {
  DECLARE_CLASS(TgkExcelAppControl, TgkAppControl)
 public:
  using TgkAppControl::TgkAppControl;
};

// The three process-wide registries; nullptr outside the module's lifetime.
TgkMiAppControl* MiAppControl();
TgkWordAppControl* WordAppControl();
TgkExcelAppControl* ExcelAppControl();

void gkAppControl_Initialize();
void gkAppControl_Finalize();
