// Configuration files of sections and "name=value" lines: in memory
// (TMemIniFile) or through the platform's profile functions (TIniFile).
#pragma once

#include "Classes.h"

DECLARE_EXCEPTION(EIniFileException, Exception)

// Numbers and dates are text in the process's regional settings
// (FormatSettings()); unreadable text gives the default.
class TCustomIniFile : public TObject {
  DECLARE_CLASS(TCustomIniFile, TObject)
 public:
  explicit TCustomIniFile(const String& AFileName) : FFileName(AFileName) {}
  const String& FileName() const { return FFileName; }

  virtual Boolean SectionExists(const String& Section);
  virtual Boolean ValueExists(const String& Section, const String& Ident);
  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Decimal, or hexadecimal after "$" or "0x".
  virtual Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
  virtual void WriteInteger(const String& Section, const String& Ident, Integer Value);
  // Any non-zero number is true; written as "1" / "0".
  virtual Boolean ReadBool(const String& Section, const String& Ident, Boolean Default);
  virtual void WriteBool(const String& Section, const String& Ident, Boolean Value);
  virtual Double ReadFloat(const String& Section, const String& Ident, Double Default);
  virtual void WriteFloat(const String& Section, const String& Ident, Double Value);
  // The date part of a date (and optional time).
  virtual TDateTime ReadDate(const String& Section, const String& Ident, TDateTime Default);
  virtual TDateTime ReadDateTime(const String& Section, const String& Ident, TDateTime Default);
  virtual void WriteDate(const String& Section, const String& Ident, TDateTime Value);
  virtual void WriteDateTime(const String& Section, const String& Ident, TDateTime Value);

  // The names of the section's keys.
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  // The section's "name=value" lines.
  virtual void ReadSectionValues(const String& Section, TStrings* Strings);
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  // Writes what is buffered to the file.
  virtual void UpdateFile() = 0;

 protected:
  void SetFileName(const String& AFileName) { FFileName = AFileName; }

 private:
  String FFileName;
};

// The whole file in memory until UpdateFile writes it back (CRLF line
// breaks). Section and key names ignore case unless CaseSensitive is set.
// Lines before the first section and ";" comments are not kept.
class TMemIniFile : public TCustomIniFile {
  DECLARE_CLASS(TMemIniFile, TCustomIniFile)
 public:
  // Reads the file if it exists. Without an encoding, a byte-order mark
  // selects UTF-8 or UTF-16 and the ANSI code page is taken otherwise; the
  // encoding found is the one UpdateFile writes.
  explicit TMemIniFile(const String& AFileName);
  TMemIniFile(const String& AFileName, const TEncoding& AEncoding);
  ~TMemIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  Boolean SectionExists(const String& Section) override;
  Boolean ValueExists(const String& Section, const String& Ident) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;

  void Clear();
  // The file's lines as UpdateFile would write them, and the reverse.
  void GetStrings(TStrings* List);
  void SetStrings(const TStrings* List);
  // Changes the file name; with Reload, the contents are read from it.
  void Rename(const String& AFileName, Boolean Reload);
  Boolean CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(Boolean Value);
  const TEncoding& Encoding() const { return FEncoding; }

 private:
  TStringList* AddSection(const String& Section);
  TStringList* FindSection(const String& Section);
  void LoadValues();
  TOwned<TStringList> FSections;
  TEncoding FEncoding = TEncoding::Default();
  Boolean FHasEncoding = false;
  Boolean FCaseSensitive = false;
};

// Every call goes to the platform's profile functions, which buffer writes;
// UpdateFile (and freeing) flushes them.
class TIniFile : public TCustomIniFile {
  DECLARE_CLASS(TIniFile, TCustomIniFile)
 public:
  explicit TIniFile(const String& AFileName) : TCustomIniFile(AFileName) {}
  ~TIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  // Raises EIniFileException when the file cannot be written.
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;
};
