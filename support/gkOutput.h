// The library's line sink: text lines with an optional date, time and
// elapsed-time prefix and an indentation, into a string list or an appended
// text file, with an optional listener told about every line.
#pragma once

#include <functional>

#include "Classes.h"
#include "SyncObjs.h"

DECLARE_EXCEPTION(EgkOutput, Exception)

enum TgkOutputMode { mmNone, mmMemory, mmFile };

class TgkOutput;
using TgkOutputPrintEvent = std::function<void(TgkOutput* ASender, const String& AMessage)>;

class TgkOutput : public TObject {
  DECLARE_CLASS(TgkOutput, TObject)
 public:
  TgkOutput();
  ~TgkOutput() override;
  // The first prefixed line measures its tick from the sink's creation.
  void AfterConstruction() override;

  // Safe to call from several threads; the listener is called inside the
  // sink's lock.
  void Print(const String& AMessage);
  Boolean GetReady() const;
  Boolean Ready() const { return GetReady(); }
  void CheckReady() const;
  // Opens the log file of mmFile storage unless it is open already.
  void OpenLogFile(Boolean Append);
  void CloseLogFile();
  Boolean Opened() const { return FOpened; }
  // The prefix of the next line; remembers now as the previous line's time.
  String GetDateTimeString();

  TgkOutputMode Storage() const { return FStorage; }
  void SetStorageNone();
  // The list is not owned.
  void SetStorageMemory(TStrings* AList);
  void SetStorageFile(const String& AFileName);
  TStrings* List() const { return FList; }
  const String& LogFileName() const { return FLogFileName; }

  Boolean InprintDate() const { return FInprintDate; }
  void SetInprintDate(Boolean Value) { FInprintDate = Value; }
  Boolean InprintTime() const { return FInprintTime; }
  void SetInprintTime(Boolean Value) { FInprintTime = Value; }
  Boolean InprintTick() const { return FInprintTick; }
  void SetInprintTick(Boolean Value) { FInprintTick = Value; }
  Integer IndentCount() const { return FIndentCount; }
  void SetIndentCount(Integer Value) { FIndentCount = Value; }
  void Indent() { ++FIndentCount; }
  void Unindent() { --FIndentCount; }
  const String& DelimLine() const { return FDelimLine; }
  void SetDelimLine(const String& Value) { FDelimLine = Value; }
  const TgkOutputPrintEvent& OnPrint() const { return FOnPrint; }
  void SetOnPrint(const TgkOutputPrintEvent& Value) { FOnPrint = Value; }

 protected:
  // The clock of the prefixes.
  virtual TDateTime CurrentTime() const;

 private:
  void WriteLine(const String& ALine);

  Boolean FOpened = false;
  TOwned<TCriticalSection> FCriticalSection;
  TgkOutputMode FStorage = mmNone;
  TStrings* FList = nullptr;
  String FLogFileName;
  HANDLE FFile = INVALID_HANDLE_VALUE;
  Integer FIndentCount = 0;
  Boolean FInprintDate = false;
  Boolean FInprintTime = false;
  Boolean FInprintTick = false;
  TDateTime FPrevTime = 0;
  String FDelimLine;
  TgkOutputPrintEvent FOnPrint;
};
