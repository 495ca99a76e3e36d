#include "gkOutput.h"

#include <cmath>

#include "gkCommon.h"

IMPLEMENT_CLASS(TgkOutput)

namespace {

const wchar_t* const SgkOutputNotReady = L"Не задано хранилище для списка сообщений.";
const wchar_t* const SgkOutputOpenError =
    L"Ошибка при открытии выходного файла. IOResult [%d].\n\n%s";

constexpr Integer MaxIndentCount = 1000;

}  // namespace

TgkOutput::TgkOutput() : FCriticalSection(Create<TCriticalSection>()) {}

TgkOutput::~TgkOutput() { CloseLogFile(); }

void TgkOutput::AfterConstruction() {
  inherited::AfterConstruction();
  FPrevTime = CurrentTime();
}

TDateTime TgkOutput::CurrentTime() const { return Now(); }

Boolean TgkOutput::GetReady() const { return FStorage != mmNone || FOnPrint != nullptr; }

void TgkOutput::CheckReady() const {
  if (!GetReady()) throw EgkOutput(SgkOutputNotReady);
}

void TgkOutput::SetStorageNone() {
  CloseLogFile();
  FStorage = mmNone;
  FList = nullptr;
}

void TgkOutput::SetStorageMemory(TStrings* AList) {
  CloseLogFile();
  FStorage = mmMemory;
  FList = AList;
}

void TgkOutput::SetStorageFile(const String& AFileName) {
  CloseLogFile();
  FStorage = mmFile;
  FList = nullptr;
  FLogFileName = AFileName;
}

String TgkOutput::GetDateTimeString() {
  TDateTime Current = CurrentTime();
  String Result;
  if (FInprintDate) Result = FormatDateTime(L"dd/mm/yyyy", Current);
  if (FInprintTime) Result = CombineStr(Result, L" ", FormatDateTime(L"hh:mm:ss:zzz", Current));
  if (FInprintTick) {
    TDateTime Span = Current - FPrevTime;
    // The clock counts whole milliseconds; rounding keeps 12 ms from
    // becoming 11.
    Int64 MSec = std::llround(std::fabs(Span) * MSecsPerDay);
    if (MSec > 999)
      Result = CombineStr(Result, L" ", FormatDateTime(L"hh:mm:ss:zzz", Span));
    else
      Result = CombineStr(Result, L" ", Format(L"%.3d", {MSec}));
  }
  if (!Result.empty()) Result = Format(L"%s: ", {Result});
  FPrevTime = Current;
  return Result;
}

void TgkOutput::Print(const String& AMessage) {
  CheckReady();
  FCriticalSection->Enter();
  auto Leave = Finally([&] { FCriticalSection->Leave(); });
  String Line = AMessage;
  if (!AMessage.empty() && AMessage != FDelimLine) {
    String IndentText;
    if (FIndentCount > 0 && FIndentCount < MaxIndentCount)
      IndentText = StringOfChar(L' ', 2 * FIndentCount);
    String Prefix = GetDateTimeString();
    Line = Format(L"%s%s%s", {Prefix, IndentText, AMessage});
  }
  if (FStorage == mmMemory && FList) {
    FList->Add(Line);
  } else if (FStorage == mmFile) {
    OpenLogFile(true);
    WriteLine(Line);
  }
  if (FOnPrint) FOnPrint(this, AMessage);
}

void TgkOutput::OpenLogFile(Boolean Append) {
  if (FStorage != mmFile || FOpened) return;
  DWORD Disposition = Append ? OPEN_ALWAYS : CREATE_ALWAYS;
  HANDLE File = CreateFileW(FLogFileName.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, Disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (File == INVALID_HANDLE_VALUE) {
    Integer Code = static_cast<Integer>(GetLastError());
    throw EgkOutput(Format(SgkOutputOpenError, {Code, FLogFileName}));
  }
  if (Append && SetFilePointer(File, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    Integer Code = static_cast<Integer>(GetLastError());
    CloseHandle(File);
    throw EgkOutput(Format(SgkOutputOpenError, {Code, FLogFileName}));
  }
  FFile = File;
  FOpened = true;
}

void TgkOutput::CloseLogFile() {
  if (FFile != INVALID_HANDLE_VALUE) CloseHandle(FFile);
  FFile = INVALID_HANDLE_VALUE;
  FOpened = false;
}

void TgkOutput::WriteLine(const String& ALine) {
  AnsiString Bytes = StringToAnsi(ALine) + "\r\n";
  DWORD Written = 0;
  if (!WriteFile(FFile, Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr) ||
      Written != Bytes.size() || !FlushFileBuffers(FFile))
    throw EInOutError(SysErrorMessage(GetLastError()));
}
