// Exceptions, string and number conversion, Format, file-name routines.
#pragma once

#include <initializer_list>
#include <vector>

#include "System.h"

// ---------------------------------------------------------------------------
// Exceptions. Thrown by value, caught by reference. Every class can raise a
// fresh exception of its own run-time class ("raise a new exception of the
// caught exception's class") through RaiseNew.
class Exception : public TObject {
  DECLARE_CLASS_INLINE(Exception, TObject)
 public:
  explicit Exception(const String& AMessage = String()) : FMessage(AMessage) {}
  Exception(const Exception& E) : TObject(), FMessage(E.FMessage), FHelpContext(E.FHelpContext) {}
  Exception& operator=(const Exception& E) {
    FMessage = E.FMessage;
    FHelpContext = E.FHelpContext;
    return *this;
  }

  const String& Message() const { return FMessage; }
  void SetMessage(const String& AMessage) { FMessage = AMessage; }
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer AValue) { FHelpContext = AValue; }

  [[noreturn]] virtual void RaiseNew(const String& AMessage) const { throw Exception(AMessage); }
  // A heap copy of the same run-time class, for code that keeps an exception
  // past its handler (thread results, deferred re-raise).
  virtual Exception* Clone() const { return new Exception(*this); }
  [[noreturn]] virtual void Raise() const { throw *this; }

 private:
  String FMessage;
  Integer FHelpContext = 0;
};

#define DECLARE_EXCEPTION_BODY(Name_, Parent_)                        \
  DECLARE_CLASS_INLINE(Name_, Parent_)                                \
 public:                                                              \
  using Parent_::Parent_;                                             \
  Name_(const Name_&) = default;                                      \
  Name_& operator=(const Name_&) = default;                           \
  [[noreturn]] void RaiseNew(const String& AMessage) const override { \
    Name_ E(*this);                                                   \
    E.SetMessage(AMessage);                                           \
    throw E;                                                          \
  }                                                                   \
  Exception* Clone() const override { return new Name_(*this); }      \
  [[noreturn]] void Raise() const override { throw *this; }

// Declares an exception class that adds nothing but its identity.
#define DECLARE_EXCEPTION(Name_, Parent_)  \
  class Name_ : public Parent_ {           \
    DECLARE_EXCEPTION_BODY(Name_, Parent_) \
  };

DECLARE_EXCEPTION(EAbort, Exception)
DECLARE_EXCEPTION(EConvertError, Exception)
DECLARE_EXCEPTION(EListError, Exception)
DECLARE_EXCEPTION(EStreamError, Exception)
DECLARE_EXCEPTION(EFCreateError, EStreamError)
DECLARE_EXCEPTION(EFOpenError, EStreamError)
DECLARE_EXCEPTION(EFilerError, EStreamError)
DECLARE_EXCEPTION(EReadError, EFilerError)
DECLARE_EXCEPTION(EWriteError, EFilerError)
DECLARE_EXCEPTION(EClassNotFound, EFilerError)
DECLARE_EXCEPTION(EInvalidOperation, Exception)
DECLARE_EXCEPTION(EInvalidCast, Exception)
DECLARE_EXCEPTION(EInvalidPointer, Exception)
DECLARE_EXCEPTION(EAssertionFailed, Exception)
DECLARE_EXCEPTION(EArgumentException, Exception)
DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException)
DECLARE_EXCEPTION(ENotSupportedException, Exception)
DECLARE_EXCEPTION(EOutOfMemory, Exception)
DECLARE_EXCEPTION(EIntError, Exception)
DECLARE_EXCEPTION(EDivByZero, EIntError)
DECLARE_EXCEPTION(ERangeError, EIntError)
DECLARE_EXCEPTION(EIntOverflow, EIntError)
DECLARE_EXCEPTION(EMathError, Exception)
DECLARE_EXCEPTION(EZeroDivide, EMathError)
DECLARE_EXCEPTION(EOverflow, EMathError)
DECLARE_EXCEPTION(EInvalidOp, EMathError)
DECLARE_EXCEPTION(EInvalidArgument, EMathError)
DECLARE_EXCEPTION(EVariantError, Exception)
DECLARE_EXCEPTION(EComponentError, Exception)
DECLARE_EXCEPTION(EStringListError, EListError)
DECLARE_EXCEPTION(EInOutError, Exception)
DECLARE_EXCEPTION(EThread, Exception)
DECLARE_EXCEPTION(EOleError, Exception)
DECLARE_EXCEPTION(EOleSysError, EOleError)

class EOSError : public Exception {
  DECLARE_EXCEPTION_BODY(EOSError, Exception)
 public:
  EOSError(const String& AMessage, DWORD ACode) : Exception(AMessage), FErrorCode(ACode) {}
  DWORD ErrorCode() const { return FErrorCode; }
  void SetErrorCode(DWORD ACode) { FErrorCode = ACode; }

 private:
  DWORD FErrorCode = 0;
};

// An automation error: the server's message, its HRESULT and source.
class EOleException : public EOleSysError {
  DECLARE_EXCEPTION_BODY(EOleException, EOleSysError)
 public:
  EOleException(const String& AMessage, HRESULT ACode, const String& ASource = String(),
                const String& AHelpFile = String(), Integer AHelpContext = 0)
      : EOleSysError(AMessage), FErrorCode(ACode), FSource(ASource), FHelpFile(AHelpFile) {
    SetHelpContext(AHelpContext);
  }
  HRESULT ErrorCode() const { return FErrorCode; }
  const String& Source() const { return FSource; }
  const String& HelpFile() const { return FHelpFile; }

 private:
  HRESULT FErrorCode = 0;
  String FSource;
  String FHelpFile;
};

// Raises the silent exception that ends an action without a message.
[[noreturn]] void Abort();

// Inside a catch block: a heap copy of the exception being handled, of its
// own run-time class (a foreign exception becomes a plain Exception), for
// code that keeps it past the handler. The caller owns the result.
Exception* AcquireExceptionObject();

// Assertions the design reports as an "Assertion failure" exception.
[[noreturn]] void AssertErrorProc(const String& AMessage, const char* AFile, int ALine);
#define Assert(Cond_, ...)                                                      \
  do {                                                                          \
    if (!(Cond_)) AssertErrorProc(String(L"" __VA_ARGS__), __FILE__, __LINE__); \
  } while (0)

// ---- the rest of SysUtils follows: strings, Format, floats, files ----

// ---------------------------------------------------------------------------
// Strings
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);
// ASCII letters only; other characters pass unchanged.
String UpperCase(const String& S);
String LowerCase(const String& S);
// Every letter, through the platform's case mapping.
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);
// Ordinal comparisons; CompareText folds ASCII letters only. The results are
// the difference of the first differing characters (or of the lengths).
Integer CompareStr(const String& S1, const String& S2);
Integer CompareText(const String& S1, const String& S2);
bool SameStr(const String& S1, const String& S2);
bool SameText(const String& S1, const String& S2);
// Linguistic comparisons in the user's locale: -1, 0 or 1.
Integer AnsiCompareStr(const String& S1, const String& S2);
Integer AnsiCompareText(const String& S1, const String& S2);
bool AnsiSameStr(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);

enum class TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
constexpr TReplaceFlag rfReplaceAll = TReplaceFlag::rfReplaceAll;
constexpr TReplaceFlag rfIgnoreCase = TReplaceFlag::rfIgnoreCase;
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags);

String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, Char Quote);
// S without its quotes and with doubled quotes made single; S itself when it
// is not a well-formed quoted string.
String AnsiDequotedStr(const String& S, Char Quote);

// 1-based position of the last character of S that is one of Delimiters, 0 if none.
Integer LastDelimiter(const String& Delimiters, const String& S);
bool IsDelimiter(const String& Delimiters, const String& S, Integer Index);

// ---------------------------------------------------------------------------
// Integers and booleans
String IntToStr(Integer Value);
String IntToStr(Int64 Value);
String IntToHex(Integer Value, Integer Digits);
String IntToHex(Int64 Value, Integer Digits);
// Decimal, or hexadecimal after "$" or "0x"; leading spaces and a sign allowed.
Integer StrToInt(const String& S);
Int64 StrToInt64(const String& S);
bool TryStrToInt(const String& S, Integer& Value);
bool TryStrToInt64(const String& S, Int64& Value);
Integer StrToIntDef(const String& S, Integer Default);
Int64 StrToInt64Def(const String& S, Int64 Default);

String BoolToStr(bool B, bool UseBoolStrs = false);
bool StrToBool(const String& S);
bool TryStrToBool(const String& S, bool& Value);

// ---------------------------------------------------------------------------
// 8-bit text
String AnsiToString(const AnsiString& S, UINT CodePage = CP_ACP);
AnsiString StringToAnsi(const String& S, UINT CodePage = CP_ACP);
UTF8String UTF8Encode(const String& S);
String UTF8Decode(const UTF8String& S);
String UTF8ToString(const UTF8String& S);

// ---------------------------------------------------------------------------
// Regional settings
struct TFormatSettings {
  String CurrencyString;
  Byte CurrencyFormat = 0;
  Byte CurrencyDecimals = 2;
  Byte NegCurrFormat = 0;
  Char DateSeparator = L'/';
  Char TimeSeparator = L':';
  Char ListSeparator = L',';
  String ShortDateFormat;
  String LongDateFormat;
  String TimeAMString;
  String TimePMString;
  String ShortTimeFormat;
  String LongTimeFormat;
  Char ThousandSeparator = L',';
  Char DecimalSeparator = L'.';
  Word TwoDigitYearCenturyWindow = 50;
  String ShortMonthNames[12];
  String LongMonthNames[12];
  // Index 0 is Sunday.
  String ShortDayNames[7];
  String LongDayNames[7];

  // The user's settings, with the overrides made in the regional options.
  static TFormatSettings Create();
  static TFormatSettings Create(LCID Locale);
  // Locale-independent settings for file formats: "." decimal, "," thousands.
  static TFormatSettings Invariant();
};

// The process-wide settings, read from the user's locale on first use.
TFormatSettings& FormatSettings();
// Reads the process-wide settings again from the user's locale.
void GetFormatSettings();

// ---------------------------------------------------------------------------
// Format
// One argument of Format: a small tagged value that refers to, rather than
// copies, string arguments (they outlive the call as temporaries do).
struct TVarRec {
  enum TType {
    vtInteger,
    vtInt64,
    vtUInt64,
    vtBoolean,
    vtChar,
    vtWideChar,
    vtExtended,
    vtPointer,
    vtPChar,
    vtPWideChar,
    vtUnicodeString,
    vtAnsiString
  };
  TType VType;
  union {
    Integer VInteger;
    Int64 VInt64;
    UInt64 VUInt64;
    bool VBoolean;
    char VChar;
    wchar_t VWideChar;
    Extended VExtended;
    const void* VPointer;
    const char* VPChar;
    const wchar_t* VPWideChar;
    const String* VUnicodeString;
    const AnsiString* VAnsiString;
  };

  TVarRec(int V) : VType(vtInteger), VInteger(V) {}
  TVarRec(unsigned V) : VType(vtInt64), VInt64(V) {}
  // long is 32 bits on Windows: HRESULT and LONG values format as Integer
  // (%x of a negative HRESULT gives eight digits).
  TVarRec(long V) : VType(vtInteger), VInteger(static_cast<Integer>(V)) {}
  TVarRec(unsigned long V) : VType(vtInt64), VInt64(static_cast<Int64>(V)) {}
  TVarRec(long long V) : VType(vtInt64), VInt64(V) {}
  TVarRec(unsigned long long V) : VType(vtUInt64), VUInt64(V) {}
  TVarRec(short V) : VType(vtInteger), VInteger(V) {}
  TVarRec(unsigned short V) : VType(vtInteger), VInteger(V) {}
  TVarRec(unsigned char V) : VType(vtInteger), VInteger(V) {}
  TVarRec(signed char V) : VType(vtInteger), VInteger(V) {}
  TVarRec(float V) : VType(vtExtended), VExtended(V) {}
  TVarRec(double V) : VType(vtExtended), VExtended(V) {}
  TVarRec(long double V) : VType(vtExtended), VExtended(V) {}
  TVarRec(bool V) : VType(vtBoolean), VBoolean(V) {}
  TVarRec(char V) : VType(vtChar), VChar(V) {}
  TVarRec(wchar_t V) : VType(vtWideChar), VWideChar(V) {}
  TVarRec(const char* V) : VType(vtPChar), VPChar(V) {}
  TVarRec(const wchar_t* V) : VType(vtPWideChar), VPWideChar(V) {}
  TVarRec(const String& V) : VType(vtUnicodeString), VUnicodeString(&V) {}
  TVarRec(const AnsiString& V) : VType(vtAnsiString), VAnsiString(&V) {}
  TVarRec(const void* V) : VType(vtPointer), VPointer(V) {}
  TVarRec(std::nullptr_t) : VType(vtPointer), VPointer(nullptr) {}
};

// Specifiers %d %u %x %s %f %g %e %n %m %p and %%, each as
// "%" [index ":"] ["-"] [width] ["." precision] type; "*" takes a width or
// precision from the arguments. A mismatch raises EConvertError.
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);
String Format(const TFormatSettings& Settings, const String& Fmt,
              std::initializer_list<TVarRec> Args);

// ---------------------------------------------------------------------------
// Floating point
enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
constexpr TFloatFormat ffGeneral = TFloatFormat::ffGeneral;
constexpr TFloatFormat ffExponent = TFloatFormat::ffExponent;
constexpr TFloatFormat ffFixed = TFloatFormat::ffFixed;
constexpr TFloatFormat ffNumber = TFloatFormat::ffNumber;
constexpr TFloatFormat ffCurrency = TFloatFormat::ffCurrency;

// Shortest general text of up to 15 significant digits.
String FloatToStr(Extended Value);
String FloatToStr(Extended Value, const TFormatSettings& Settings);
String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits);
String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits,
                   const TFormatSettings& Settings);
// Picture formats: "0", "#", ".", ",", "E+00", quoted text, ";" sections
// (positive;negative;zero).
String FormatFloat(const String& Format, Extended Value);
String FormatFloat(const String& Format, Extended Value, const TFormatSettings& Settings);

// Blanks around the number are allowed; the settings' decimal separator is
// the only one accepted.
Extended StrToFloat(const String& S);
Extended StrToFloat(const String& S, const TFormatSettings& Settings);
bool TryStrToFloat(const String& S, Extended& Value);
bool TryStrToFloat(const String& S, Extended& Value, const TFormatSettings& Settings);
bool TryStrToFloat(const String& S, Double& Value);
bool TryStrToFloat(const String& S, Double& Value, const TFormatSettings& Settings);
Extended StrToFloatDef(const String& S, Extended Default);
Extended StrToFloatDef(const String& S, Extended Default, const TFormatSettings& Settings);

// Half to even.
Int64 Round(Extended Value);
// Toward zero.
Int64 Trunc(Extended Value);
Extended Int(Extended Value);
Extended Frac(Extended Value);

// ---------------------------------------------------------------------------
// Date and time. A TDateTime counts days since 30 December 1899; its
// fraction is the time of day.
constexpr Integer HoursPerDay = 24;
constexpr Integer MinsPerDay = HoursPerDay * 60;
constexpr Integer SecsPerDay = MinsPerDay * 60;
constexpr Integer MSecsPerDay = SecsPerDay * 1000;

TDateTime EncodeDate(Word Year, Word Month, Word Day);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
// A day and a time of day as one value: before the epoch the whole days
// count down while the time of day still counts up, so the time is taken
// away from a negative date.
TDateTime ComposeDateTime(TDateTime Date, TDateTime Time);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
bool IsLeapYear(Word Year);
TDateTime Now();
TDateTime Date();
TDateTime Time();

String DateToStr(TDateTime Date);
String DateToStr(TDateTime Date, const TFormatSettings& Settings);
String TimeToStr(TDateTime Time);
String TimeToStr(TDateTime Time, const TFormatSettings& Settings);
String DateTimeToStr(TDateTime DateTime);
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings);
String FormatDateTime(const String& Format, TDateTime DateTime);
String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& Settings);
// A date in the order of the short date format, optionally followed by a time.
TDateTime StrToDateTime(const String& S);
TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings);
bool TryStrToDateTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings);

// ---------------------------------------------------------------------------
// File names and files. "\" separates folders, ":" ends a drive.
constexpr Char PathDelim = L'\\';
constexpr Char DriveDelim = L':';

String ExtractFilePath(const String& FileName);
String ExtractFileDir(const String& FileName);
String ExtractFileName(const String& FileName);
String ExtractFileExt(const String& FileName);
String ExtractFileDrive(const String& FileName);
String ChangeFileExt(const String& FileName, const String& Extension);
String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);
String ExpandFileName(const String& FileName);

bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
// Creates Dir and every missing parent; EInOutError for an empty name.
bool ForceDirectories(const String& Dir);
bool DeleteFile(const String& FileName);
bool RenameFile(const String& OldName, const String& NewName);
bool CopyFile(const String& Source, const String& Dest, bool FailIfExists);
bool CreateDir(const String& Dir);
bool RemoveDir(const String& Dir);
String GetCurrentDir();

constexpr Integer faReadOnly = 0x00000001;
constexpr Integer faHidden = 0x00000002;
constexpr Integer faSysFile = 0x00000004;
constexpr Integer faDirectory = 0x00000010;
constexpr Integer faArchive = 0x00000020;
constexpr Integer faNormal = 0x00000080;
constexpr Integer faTemporary = 0x00000100;
constexpr Integer faAnyFile = 0x000001FF;

struct TSearchRec {
  // Last write time as a local DOS date and time.
  Integer Time = 0;
  Int64 Size = 0;
  Integer Attr = 0;
  String Name;
  Integer ExcludeAttr = 0;
  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW FindData{};
};

// 0 on success, else the platform's error code. Hidden, system and folder
// entries are returned only when Attr asks for them. Every successful
// FindFirst needs a FindClose.
Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F);
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// ---------------------------------------------------------------------------
// Operating-system errors
// The platform's text for an error code, without trailing line breaks and period.
String SysErrorMessage(DWORD ErrorCode);
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD LastError);
BOOL Win32Check(BOOL RetVal);
// LoadLibrary without the system's error box for a missing file and without
// the library's start-up changing the floating-point control word.
HMODULE SafeLoadLibrary(const wchar_t* AName);

namespace SysUtilsDetail {
// Raises EConvertError with Fmt's "%s" replaced by Arg.
[[noreturn]] void ConvertError(const wchar_t* Fmt, const String& Arg);
// The floating-point text behind FloatToStrF and Format's float specifiers.
String FloatToText(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits,
                   const TFormatSettings& Settings);
}  // namespace SysUtilsDetail
