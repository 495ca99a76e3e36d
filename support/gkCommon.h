// The support library's toolbox: per-user folders, text comparison and
// splitting, variant conversions and ordering, re-raising with context,
// durations in words, trace printing, and the desktop routines that need no
// forms (processes, window positions, screen resolution).
#pragma once

#include <initializer_list>

#include "Classes.h"
#include "Controls.h"
#include "Variants.h"

// The product folder and version under the user's application-data folder.
const String& AppName();
const String& AppVersion();

// ---------------------------------------------------------------------------
// Paths
// The shell's path of a special folder (CSIDL_*); the temp folder when the
// shell cannot give it.
String GetUserFolderPath(Integer AFolderId);
// "<application data>\<AppName>\<AppVersion>\"; not created here.
String GetIniPath();
// The platform's temp path, ending with a separator.
String GetTempPath2();
// AStr trimmed, with ASlash appended unless it already ends with it; a blank
// text gives "".
String AddSlash(const String& AStr, Char ASlash = L'\\');

// ---------------------------------------------------------------------------
// Text
// Equal ignoring letter case under the user's locale.
Boolean CText(const String& AStr1, const String& AStr2);
Boolean CText(const String& AStr, std::initializer_list<String> AArgs);
// USubstr occurs in S, ignoring letter case.
Boolean FText(const String& ASubStr, const String& AStr);
Boolean FText(std::initializer_list<String> ASubStrs, const String& AStr);
String UCase(const String& AStr);
// The non-empty texts joined by ADelimStr.
String CombineStr(const String& AStr1, const String& ADelimStr, const String& AStr2);
// Splits AStr at ADelim into AList. With ACheckQuote a delimiter between
// double quotes does not split (the quotes stay in the item). Consecutive
// delimiters give empty items; a trailing delimiter adds none. False when
// AList is nullptr or AStr is blank.
Boolean StrToList(const String& AStr, TStrings* AList, const String& ADelim = L",",
                  Boolean ATrim = true, Boolean ACheckQuote = true);
// The duration in Russian words: days, hours, minutes, seconds and, with
// AMSec, milliseconds; zero parts are left out.
String FormatTickCount(Int64 Value, Boolean AMSec);

// ---------------------------------------------------------------------------
// Variants
// Display text of any value ("Empty", "Null", "[0.a,1.b]" for an array);
// never raises.
String Str(const Variant& AVal);
// "" for Empty and Null, else the value's text.
String V2S(const Variant& AVal);
// False for Empty, Null and blank text; "True"/"1" strings and the number 1
// are true. Other types that do not convert raise EVariantError.
Boolean V2B(const Variant& AVal);
// Value converted to AVarType, or Value itself when that fails.
Variant TryVarAsType(const Variant& Value, TVarType AVarType, Boolean& ATurned);
Variant TryVarAsType(const Variant& Value, TVarType AVarType);
// A total order: Empty < Null < values; arrays after scalars and compared by
// their raw bytes; incomparable values give 1. Never raises.
Integer CompareVar(const Variant& Var1, const Variant& Var2);

// ---------------------------------------------------------------------------
// Objects and errors
template <class T>
void FreeNil(T*& Obj) {
  FreeAndNil(Obj);
}

// Raises a new exception of E's class. Its message is E's message, or
// AMessage when that already holds E's message, or "AMessage: <E's message>".
[[noreturn]] void ReRaise(const Exception& E, const String& AMessage = String());
// The platform's text for the calling thread's last error code.
String GetLastErrorEx();

// ---------------------------------------------------------------------------
// Windows
// Text and class name of a window, up to 300 characters; "" when it has none.
String GetWindowString(HWND AWnd);
String GetClassString(HWND AWnd);
// The screen's vertical resolution.
Integer GetPixelsPerInch();

// ---------------------------------------------------------------------------
// Trace
// The sink that receives every trace line (not owned); none is attached
// unless a program sets one.
class TgkOutput;
void SetOutput(TgkOutput* AOutput);
TgkOutput* Output();
// Writes one trace line. From a thread other than the main one, the line is
// prefixed with "{<class of the thread object>.<thread id>} " and printed by
// the main thread while the caller waits.
void gkPrint(const String& AStr);
void gkPrint(const String& AFormat, std::initializer_list<TVarRec> AArgs);
void gkPrintRaw(const String& AStr);

// ---------------------------------------------------------------------------
// Processes
// Posts WM_QUIT to the server's thread, waits up to 1000 ms for the process
// to end and terminates it when it has not. Reports nothing.
void CloseProcess(DWORD AProcessId, DWORD AThreadId);
Boolean ProcessExists(DWORD AProcessId);

// ---------------------------------------------------------------------------
// Window positions: "Left,Top,Right,Bottom,State" of the normal rectangle in
// workspace coordinates, State 2 for maximised and 1 otherwise.
String SaveWindowPosition(HWND AWnd);
// Fits the position into a monitor's work area; the maximised state is kept
// only with AMaximize. A text that does not parse is ignored.
void LoadWindowPosition(HWND AWnd, const String& AStr, Boolean AMaximize);
// False for fewer than four numbers; EConvertError for a part that is no
// integer.
Boolean ExtractWindowPosition(const String& AStr, RECT& ARect, Integer& AFlag);
void CheckWindowPosition(RECT& ARect, Boolean AInputWorkspaceCoords,
                         Boolean AOutputWorkspaceCoords);

// ---------------------------------------------------------------------------
// Shared fonts: the system font is the platform's menu font (Tahoma 8 pt when
// the platform cannot say); the document and dialog fonts are copies, the
// dialog font one pixel smaller at 120 pixels per inch and more.
void CreateSystemFont();
// The document and dialog fonts for the screen's resolution.
void ChangeFonts();
// As ChangeFonts for a screen of APixelsPerInch.
void ChangeFonts(Integer APixelsPerInch);
TFont* SystemFont();
TFont* DocumentFont();
TFont* DialogFont();
// Average width of the 52 Latin letters in the canvas font, and their height.
TSize GetAveCharSize(TCanvas* ACanvas);

// ---------------------------------------------------------------------------
// A stack of screen cursors, so nested operations restore what they found.
void SaveCursor(TCursor ACursor);
void RestoreCursor();
void RawSetCursor(TCursor ACursor);

// ---------------------------------------------------------------------------
// The library's own message dialog.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Shows AText (converted with Str) modally with the program's file name as
// caption and returns the modal result of the button that closed it.
Integer Note(const Variant& AText, TMsgDlgType ADlgType, TMsgDlgButtons AButtons,
             TMsgDlgBtn ADefaultButton);
// The program module's file name without folder, computed once.
String GetNoteCaption();
// GetNoteCaption's text once it has been computed, "" before.
String CachedNoteCaption();

void gkCommon_Initialize();
void gkCommon_Finalize();
