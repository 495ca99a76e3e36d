#include "SysUtils.h"

namespace {
String Widen(const char* S) {
  String R;
  while (S && *S) R += static_cast<wchar_t>(static_cast<unsigned char>(*S++));
  return R;
}
}  // namespace

void Abort() { throw EAbort(L"Operation aborted"); }

void AssertErrorProc(const String& AMessage, const char* AFile, int ALine) {
  String Msg = AMessage.empty() ? String(L"Assertion failed") : AMessage;
  throw EAssertionFailed(Msg + L" (" + Widen(AFile) + L", line " + std::to_wstring(ALine) + L")");
}

void RaiseInvalidCast(TObject*, TClass) { throw EInvalidCast(L"Invalid class typecast"); }
