#include "SysUtils.h"

#include <float.h>

#include <algorithm>
#include <limits>

namespace {
String Widen(const char* S) {
  String R;
  while (S && *S) R += static_cast<wchar_t>(static_cast<unsigned char>(*S++));
  return R;
}

bool IsBlank(Char C) { return C <= L' '; }

Char AsciiUpper(Char C) { return (C >= L'a' && C <= L'z') ? static_cast<Char>(C - 32) : C; }
Char AsciiLower(Char C) { return (C >= L'A' && C <= L'Z') ? static_cast<Char>(C + 32) : C; }

Integer CompareResult(int PlatformResult) {
  if (PlatformResult == 0) RaiseLastOSError();
  return PlatformResult - CSTR_EQUAL;
}

Integer LocaleCompare(const String& S1, const String& S2, DWORD Flags) {
  return CompareResult(CompareStringW(LOCALE_USER_DEFAULT, Flags, S1.data(),
                                      static_cast<int>(S1.size()), S2.data(),
                                      static_cast<int>(S2.size())));
}
}  // namespace

Exception* AcquireExceptionObject() {
  try {
    throw;
  } catch (const Exception& E) {
    return E.Clone();
  } catch (const std::exception& E) {
    String Msg;
    for (const char* P = E.what(); *P; ++P) Msg += static_cast<wchar_t>(static_cast<Byte>(*P));
    return new Exception(Msg);
  } catch (...) {
    return new Exception(L"Unknown exception");
  }
}

void Abort() { throw EAbort(L"Operation aborted"); }

void AssertErrorProc(const String& AMessage, const char* AFile, int ALine) {
  String Msg = AMessage.empty() ? String(L"Assertion failed") : AMessage;
  throw EAssertionFailed(Msg + L" (" + Widen(AFile) + L", line " + IntToStr(ALine) + L")");
}

void RaiseInvalidCast(TObject*, TClass) { throw EInvalidCast(L"Invalid class typecast"); }

void SysUtilsDetail::ConvertError(const wchar_t* Fmt, const String& Arg) {
  String Msg = Fmt;
  auto P = Msg.find(L"%s");
  if (P != String::npos) Msg.replace(P, 2, Arg);
  throw EConvertError(Msg);
}

using SysUtilsDetail::ConvertError;

String Trim(const String& S) {
  size_t B = 0, E = S.size();
  while (B < E && IsBlank(S[B])) ++B;
  while (E > B && IsBlank(S[E - 1])) --E;
  return S.substr(B, E - B);
}

String TrimLeft(const String& S) {
  size_t B = 0;
  while (B < S.size() && IsBlank(S[B])) ++B;
  return S.substr(B);
}

String TrimRight(const String& S) {
  size_t E = S.size();
  while (E > 0 && IsBlank(S[E - 1])) --E;
  return S.substr(0, E);
}

String UpperCase(const String& S) {
  String R = S;
  for (Char& C : R) C = AsciiUpper(C);
  return R;
}

String LowerCase(const String& S) {
  String R = S;
  for (Char& C : R) C = AsciiLower(C);
  return R;
}

String AnsiUpperCase(const String& S) {
  String R = S;
  if (!R.empty()) CharUpperBuffW(R.data(), static_cast<DWORD>(R.size()));
  return R;
}

String AnsiLowerCase(const String& S) {
  String R = S;
  if (!R.empty()) CharLowerBuffW(R.data(), static_cast<DWORD>(R.size()));
  return R;
}

Integer CompareStr(const String& S1, const String& S2) {
  size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I)
    if (S1[I] != S2[I]) return static_cast<Integer>(S1[I]) - static_cast<Integer>(S2[I]);
  return static_cast<Integer>(S1.size()) - static_cast<Integer>(S2.size());
}

Integer CompareText(const String& S1, const String& S2) {
  size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I) {
    Char C1 = AsciiUpper(S1[I]), C2 = AsciiUpper(S2[I]);
    if (C1 != C2) return static_cast<Integer>(C1) - static_cast<Integer>(C2);
  }
  return static_cast<Integer>(S1.size()) - static_cast<Integer>(S2.size());
}

bool SameStr(const String& S1, const String& S2) { return S1 == S2; }
bool SameText(const String& S1, const String& S2) { return CompareText(S1, S2) == 0; }

Integer AnsiCompareStr(const String& S1, const String& S2) { return LocaleCompare(S1, S2, 0); }
Integer AnsiCompareText(const String& S1, const String& S2) {
  return LocaleCompare(S1, S2, NORM_IGNORECASE);
}
bool AnsiSameStr(const String& S1, const String& S2) { return AnsiCompareStr(S1, S2) == 0; }
bool AnsiSameText(const String& S1, const String& S2) { return AnsiCompareText(S1, S2) == 0; }

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool IgnoreCase = Flags.Contains(rfIgnoreCase);
  // The platform's case mapping keeps lengths, so positions found in the
  // folded copies are positions in S.
  const String Text = IgnoreCase ? AnsiUpperCase(S) : S;
  const String Pattern = IgnoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
  String R;
  size_t From = 0;
  while (true) {
    size_t P = Text.find(Pattern, From);
    if (P == String::npos) break;
    R.append(S, From, P - From);
    R += NewPattern;
    From = P + Pattern.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  R.append(S, From, String::npos);
  return R;
}

String QuotedStr(const String& S) { return AnsiQuotedStr(S, L'\''); }

String AnsiQuotedStr(const String& S, Char Quote) {
  String R(1, Quote);
  for (Char C : S) {
    R += C;
    if (C == Quote) R += C;
  }
  R += Quote;
  return R;
}

String AnsiDequotedStr(const String& S, Char Quote) {
  if (S.empty() || S[0] != Quote) return S;
  String R;
  size_t I = 1;
  while (I < S.size()) {
    if (S[I] == Quote) {
      if (I + 1 < S.size() && S[I + 1] == Quote) {
        R += Quote;
        I += 2;
        continue;
      }
      ++I;
      break;
    }
    R += S[I++];
  }
  const bool AtEnd = I >= S.size();
  // Text after the closing quote is dropped, as the framework does; an
  // unclosed or empty result gives the original unless S is fully quoted.
  if ((R.empty() || AtEnd) && S.back() != Quote) return S;
  return R;
}

Integer LastDelimiter(const String& Delimiters, const String& S) {
  auto P = S.find_last_of(Delimiters);
  return P == String::npos ? 0 : static_cast<Integer>(P) + 1;
}

bool IsDelimiter(const String& Delimiters, const String& S, Integer Index) {
  if (Index < 1 || Index > Length(S)) return false;
  return Delimiters.find(S[static_cast<size_t>(Index - 1)]) != String::npos;
}

String IntToStr(Integer Value) { return IntToStr(static_cast<Int64>(Value)); }

String IntToStr(Int64 Value) {
  UInt64 Mag = Value < 0 ? 0 - static_cast<UInt64>(Value) : static_cast<UInt64>(Value);
  wchar_t Buf[24];
  wchar_t* P = Buf + 24;
  do {
    *--P = static_cast<wchar_t>(L'0' + Mag % 10);
    Mag /= 10;
  } while (Mag);
  if (Value < 0) *--P = L'-';
  return String(P, Buf + 24);
}

namespace {
String HexDigits(UInt64 Value, Integer Digits) {
  static const wchar_t Hex[] = L"0123456789ABCDEF";
  String R;
  do {
    R.insert(R.begin(), Hex[Value & 15]);
    Value >>= 4;
  } while (Value);
  if (Length(R) < Digits) R.insert(0, static_cast<size_t>(Digits - Length(R)), L'0');
  return R;
}

// The framework's integer scanner: leading spaces, a sign, then decimal
// digits or hexadecimal ones after "$", "x" or "0x"; nothing may follow.
// Hexadecimal values fill the whole unsigned range of the type.
bool ScanInteger(const String& S, UInt64 SignedMax, UInt64 UnsignedMax, Int64& Value) {
  size_t I = 0, N = S.size();
  while (I < N && S[I] == L' ') ++I;
  bool Negative = false;
  if (I < N && (S[I] == L'-' || S[I] == L'+')) Negative = S[I++] == L'-';
  bool Hex = false;
  if (I < N && (S[I] == L'$' || S[I] == L'x' || S[I] == L'X')) {
    Hex = true;
    ++I;
  } else if (I + 1 < N && S[I] == L'0' && (S[I + 1] == L'x' || S[I + 1] == L'X')) {
    Hex = true;
    I += 2;
  }
  if (I >= N) return false;
  UInt64 Acc = 0;
  for (; I < N; ++I) {
    Char C = S[I];
    unsigned D;
    if (C >= L'0' && C <= L'9')
      D = C - L'0';
    else if (Hex && AsciiUpper(C) >= L'A' && AsciiUpper(C) <= L'F')
      D = AsciiUpper(C) - L'A' + 10;
    else
      return false;
    const UInt64 Base = Hex ? 16 : 10;
    if (Acc > (UnsignedMax - D) / Base) return false;
    Acc = Acc * Base + D;
  }
  if (!Hex && Acc > SignedMax + (Negative ? 1 : 0)) return false;
  if (Hex && Acc > SignedMax) {
    // Hexadecimal text names the bit pattern: $FFFFFFFF is -1.
    Value = UnsignedMax == std::numeric_limits<UInt64>::max()
                ? static_cast<Int64>(Acc)
                : static_cast<Int64>(static_cast<Integer>(static_cast<Cardinal>(Acc)));
  } else {
    Value = static_cast<Int64>(Acc);
  }
  if (Negative) Value = static_cast<Int64>(0 - static_cast<UInt64>(Value));
  return true;
}

const wchar_t* const SInvalidInteger = L"'%s' is not a valid integer value";
}  // namespace

String IntToHex(Integer Value, Integer Digits) {
  return HexDigits(static_cast<Cardinal>(Value), Digits);
}

String IntToHex(Int64 Value, Integer Digits) {
  return HexDigits(static_cast<UInt64>(Value), Digits);
}

bool TryStrToInt(const String& S, Integer& Value) {
  Int64 V;
  if (!ScanInteger(S, INT32_MAX, UINT32_MAX, V)) return false;
  Value = static_cast<Integer>(V);
  return true;
}

bool TryStrToInt64(const String& S, Int64& Value) {
  return ScanInteger(S, INT64_MAX, UINT64_MAX, Value);
}

Integer StrToInt(const String& S) {
  Integer V;
  if (!TryStrToInt(S, V)) ConvertError(SInvalidInteger, S);
  return V;
}

Int64 StrToInt64(const String& S) {
  Int64 V;
  if (!TryStrToInt64(S, V)) ConvertError(SInvalidInteger, S);
  return V;
}

Integer StrToIntDef(const String& S, Integer Default) {
  Integer V;
  return TryStrToInt(S, V) ? V : Default;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
  Int64 V;
  return TryStrToInt64(S, V) ? V : Default;
}

String BoolToStr(bool B, bool UseBoolStrs) {
  if (UseBoolStrs) return B ? L"True" : L"False";
  return B ? L"-1" : L"0";
}

bool TryStrToBool(const String& S, bool& Value) {
  if (SameText(S, L"True")) {
    Value = true;
    return true;
  }
  if (SameText(S, L"False")) {
    Value = false;
    return true;
  }
  Extended F;
  if (!TryStrToFloat(S, F)) return false;
  Value = F != 0;
  return true;
}

bool StrToBool(const String& S) {
  bool B;
  if (!TryStrToBool(S, B)) ConvertError(L"'%s' is not a valid boolean value", S);
  return B;
}

String AnsiToString(const AnsiString& S, UINT CodePage) {
  if (S.empty()) return String();
  int N = MultiByteToWideChar(CodePage, 0, S.data(), static_cast<int>(S.size()), nullptr, 0);
  if (N <= 0) RaiseLastOSError();
  String R(static_cast<size_t>(N), L'\0');
  MultiByteToWideChar(CodePage, 0, S.data(), static_cast<int>(S.size()), R.data(), N);
  return R;
}

AnsiString StringToAnsi(const String& S, UINT CodePage) {
  if (S.empty()) return AnsiString();
  int N = WideCharToMultiByte(CodePage, 0, S.data(), static_cast<int>(S.size()), nullptr, 0,
                              nullptr, nullptr);
  if (N <= 0) RaiseLastOSError();
  AnsiString R(static_cast<size_t>(N), '\0');
  WideCharToMultiByte(CodePage, 0, S.data(), static_cast<int>(S.size()), R.data(), N, nullptr,
                      nullptr);
  return R;
}

UTF8String UTF8Encode(const String& S) { return StringToAnsi(S, CP_UTF8); }
String UTF8Decode(const UTF8String& S) { return AnsiToString(S, CP_UTF8); }
String UTF8ToString(const UTF8String& S) { return AnsiToString(S, CP_UTF8); }

String SysErrorMessage(DWORD ErrorCode) {
  wchar_t* Buffer = nullptr;
  DWORD Len = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, ErrorCode, 0, reinterpret_cast<wchar_t*>(&Buffer), 0, nullptr);
  String R;
  if (Buffer) {
    while (Len > 0 && (Buffer[Len - 1] <= L' ' || Buffer[Len - 1] == L'.')) --Len;
    R.assign(Buffer, Len);
    LocalFree(Buffer);
  }
  return R;
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

HMODULE SafeLoadLibrary(const wchar_t* AName) {
  UINT OldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  unsigned int ControlWord = _control87(0, 0);
  HMODULE Result = LoadLibraryW(AName);
  _control87(ControlWord, 0xFFFFFFFF);
  SetErrorMode(OldMode);
  return Result;
}

void RaiseLastOSError(DWORD LastError) {
  if (LastError == 0) throw EOSError(L"A call to an OS function failed", 0);
  throw EOSError(L"System Error.  Code: " + IntToStr(static_cast<Int64>(LastError)) + L".\r\n" +
                     SysErrorMessage(LastError),
                 LastError);
}

BOOL Win32Check(BOOL RetVal) {
  if (!RetVal) RaiseLastOSError();
  return RetVal;
}
