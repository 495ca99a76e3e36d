// The connection to the GIS program: one process-wide instance driven
// through late-bound automation ("MapInfo.Application"). Statements and
// expressions are MapBasic text; numbers formatted into them use "." as
// the decimal separator whatever the regional settings, because MapBasic
// literals do not follow them.
#pragma once

#include "Classes.h"
#include "ComObj.h"
#include "gkCommon.h"
#include "gkTypes.h"

DECLARE_EXCEPTION(EMapinfo, EgkException)

// Demand the program's database-support library when connecting, and which
// one (the Oracle one instead of the ODBC one).
extern Boolean CheckDBMS;
extern Boolean OracleDBMSType;
// Trace every statement, expression and result.
extern Boolean FPrintOnCommand;

// Closes the warning dialogs with which the program may block its own start
// ("too many pens", missing pen or font files). Frees itself when it ends.
class TgkMapInfoCreateThread : public TThread {
  DECLARE_CLASS(TgkMapInfoCreateThread, TThread)
 public:
  explicit TgkMapInfoCreateThread(Boolean CreateSuspended);
  // A dialog about missing pen or font files was seen.
  Boolean NoPenFntFound() const;
  // The first start-up dialog among the top-level windows, 0 when none.
  HWND FindMapInfoDialog();
  // Sends WM_CLOSE and waits for it to be handled; false for 0.
  Boolean CloseMapInfoDialog(HWND Wnd);

 protected:
  void Execute() override;

 private:
  static BOOL CALLBACK EnumTopLevel(HWND AWnd, LPARAM AData);
  static BOOL CALLBACK EnumChild(HWND AWnd, LPARAM AData);
  volatile LONG FNoPenFntFound = 0;
  HWND FFound = nullptr;
};

// How the automation object is created; tests put a fake behind it.
using TmiCreateObjectProc = TComPtr<IDispatch> (*)(const String& AProgID);
void miSetCreateObjectProc(TmiCreateObjectProc AProc);

// Starts a new instance and makes it the connection. EMapinfo when the
// database-support library is missing (the connection stays assigned).
void miCreateMapInfo();
// Ends the instance ("End MapInfo"), closes its registered servers and
// forgets it. Never raises from the automation calls.
void miCloseMapInfoServer();
// Whether a connection exists and answers.
Boolean miOpened();
// The program's main window as last evaluated; 0 without a connection.
HWND miMapInfoWnd();

// Runs a statement; one beginning with "#" goes to "miServices.mbx".
void miDo(const String& ACommand, Boolean APrintOnCommand = false);
void miDo(const String& ACommand, std::initializer_list<TVarRec> Args,
          Boolean APrintOnCommand = false);
// Runs a statement in a MapBasic application; nothing when it is absent.
void mbDo(const String& ACommand, const String& AMbxName);
// The named MapBasic application, unassigned when absent.
Variant miGetMbx(const String& AMbxName);
// Evaluates an expression to text; numbers come back in the regional format.
String miEval(const String& ACommand);
String miEval(const String& ACommand, std::initializer_list<TVarRec> Args);
Integer miEvalInt(const String& ACommand);
Integer miEvalInt(const String& ACommand, std::initializer_list<TVarRec> Args);
// The result read with the regional decimal separator.
Double miEvalDbl(const String& ACommand);
Double miEvalDbl(const String& ACommand, std::initializer_list<TVarRec> Args);
// "Close Table <name>", ignoring every error; nothing for an empty name.
void miCloseTable(const String& ATableName);

void gkMapInfo_Initialize();
void gkMapInfo_Finalize();
