#include "IniFiles.h"

#include "WinHandles.h"

namespace {
const wchar_t* SIniFileWriteError = L"Unable to write to %s";
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCustomIniFile)

Boolean TCustomIniFile::SectionExists(const String& Section) {
  TOwned<TStringList> S(Create<TStringList>());
  ReadSection(Section, S.get());
  return S->Count() > 0;
}

Boolean TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TOwned<TStringList> S(Create<TStringList>());
  ReadSection(Section, S.get());
  return S->IndexOf(Ident) >= 0;
}

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

Boolean TCustomIniFile::ReadBool(const String& Section, const String& Ident, Boolean Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, Boolean Value) {
  WriteString(Section, Ident, Value ? L"1" : L"0");
}

Double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, Double Default) {
  Double Value;
  return TryStrToFloat(ReadString(Section, Ident, String()), Value) ? Value : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, Double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

TDateTime TCustomIniFile::ReadDate(const String& Section, const String& Ident, TDateTime Default) {
  TDateTime Value;
  return TryStrToDateTime(ReadString(Section, Ident, String()), Value) ? Int(Value) : Default;
}

TDateTime TCustomIniFile::ReadDateTime(const String& Section, const String& Ident,
                                       TDateTime Default) {
  TDateTime Value;
  return TryStrToDateTime(ReadString(Section, Ident, String()), Value) ? Value : Default;
}

void TCustomIniFile::WriteDate(const String& Section, const String& Ident, TDateTime Value) {
  WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteDateTime(const String& Section, const String& Ident, TDateTime Value) {
  WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  TOwned<TStringList> Keys(Create<TStringList>());
  ReadSection(Section, Keys.get());
  auto Updating = UpdateScope(Strings);
  Strings->Clear();
  for (Integer I = 0; I < Keys->Count(); ++I)
    Strings->Add(Keys->Get(I) + L"=" + ReadString(Section, Keys->Get(I), String()));
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TMemIniFile)

TMemIniFile::TMemIniFile(const String& AFileName)
    : TCustomIniFile(AFileName), FSections(Create<TStringList>(true)) {
  LoadValues();
}

TMemIniFile::TMemIniFile(const String& AFileName, const TEncoding& AEncoding)
    : TCustomIniFile(AFileName),
      FSections(Create<TStringList>(true)),
      FEncoding(AEncoding),
      FHasEncoding(true) {
  LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues() {
  if (FileName().empty() || !FileExists(FileName())) {
    Clear();
    return;
  }
  TOwned<TStringList> List(Create<TStringList>());
  if (FHasEncoding) {
    List->LoadFromFile(FileName(), FEncoding);
  } else {
    List->LoadFromFile(FileName());
    FEncoding = List->Encoding();
  }
  SetStrings(List.get());
}

TStringList* TMemIniFile::AddSection(const String& Section) {
  TStringList* Values = Create<TStringList>();
  Values->SetCaseSensitive(FCaseSensitive);
  FSections->AddObject(Section, Values);
  return Values;
}

TStringList* TMemIniFile::FindSection(const String& Section) {
  Integer I = FSections->IndexOf(Section);
  return I >= 0 ? static_cast<TStringList*>(FSections->Objects(I)) : nullptr;
}

void TMemIniFile::Clear() { FSections->Clear(); }

void TMemIniFile::SetCaseSensitive(Boolean Value) {
  if (Value == FCaseSensitive) return;
  FCaseSensitive = Value;
  FSections->SetCaseSensitive(Value);
  for (Integer I = 0; I < FSections->Count(); ++I)
    static_cast<TStringList*>(FSections->Objects(I))->SetCaseSensitive(Value);
}

void TMemIniFile::SetStrings(const TStrings* List) {
  Clear();
  TStringList* Values = nullptr;
  for (Integer I = 0; I < List->Count(); ++I) {
    String S = Trim(List->Get(I));
    if (S.empty() || S[0] == L';') continue;
    if (S[0] == L'[' && S.back() == L']') {
      Values = AddSection(Trim(S.substr(1, S.size() - 2)));
    } else if (Values) {
      size_t P = S.find(L'=');
      if (P != String::npos)
        Values->Add(Trim(S.substr(0, P)) + L"=" + Trim(S.substr(P + 1)));
      else
        Values->Add(S);
    }
  }
}

void TMemIniFile::GetStrings(TStrings* List) {
  auto Updating = UpdateScope(List);
  for (Integer I = 0; I < FSections->Count(); ++I) {
    List->Add(L"[" + FSections->Get(I) + L"]");
    List->AddStrings(static_cast<TStringList*>(FSections->Objects(I)));
    List->Add(String());
  }
}

void TMemIniFile::Rename(const String& AFileName, Boolean Reload) {
  SetFileName(AFileName);
  if (Reload) LoadValues();
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  TStringList* Values = FindSection(Section);
  if (!Values) return Default;
  Integer I = Values->IndexOfName(Ident);
  return I >= 0 ? Values->ValueFromIndex(I) : Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TStringList* Values = FindSection(Section);
  if (!Values) Values = AddSection(Section);
  String Line = Ident + L"=" + Value;
  Integer I = Values->IndexOfName(Ident);
  if (I >= 0)
    Values->Put(I, Line);
  else
    Values->Add(Line);
}

Boolean TMemIniFile::SectionExists(const String& Section) {
  return FindSection(Section) != nullptr;
}

Boolean TMemIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList* Values = FindSection(Section);
  return Values && Values->IndexOfName(Ident) >= 0;
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
  auto Updating = UpdateScope(Strings);
  Strings->Clear();
  if (TStringList* Values = FindSection(Section)) {
    // Lines without "=" are kept in the file but are no keys.
    for (Integer I = 0; I < Values->Count(); ++I)
      if (Values->Get(I).find(L'=') != String::npos) Strings->Add(Values->Names(I));
  }
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  auto Updating = UpdateScope(Strings);
  Strings->Clear();
  for (Integer I = 0; I < FSections->Count(); ++I) Strings->Add(FSections->Get(I));
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  auto Updating = UpdateScope(Strings);
  Strings->Clear();
  if (TStringList* Values = FindSection(Section)) Strings->AddStrings(Values);
}

void TMemIniFile::EraseSection(const String& Section) {
  Integer I = FSections->IndexOf(Section);
  if (I >= 0) FSections->Delete(I);
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  if (TStringList* Values = FindSection(Section)) {
    Integer I = Values->IndexOfName(Ident);
    if (I >= 0) Values->Delete(I);
  }
}

void TMemIniFile::UpdateFile() {
  TOwned<TStringList> List(Create<TStringList>());
  GetStrings(List.get());
  List->SaveToFile(FileName(), FEncoding);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TIniFile)

namespace {
// The profile functions truncate to the buffer and say so only by the length
// they return; grow until the text fits. Lists end in two zeros, so their
// truncation shows as a length of size - 2.
String ProfileString(const wchar_t* Section, const wchar_t* Ident, const wchar_t* Default,
                     const String& FileName, bool IsList) {
  std::vector<wchar_t> Buf(2048);
  for (;;) {
    DWORD Size = static_cast<DWORD>(Buf.size());
    DWORD Len =
        GetPrivateProfileStringW(Section, Ident, Default, Buf.data(), Size, FileName.c_str());
    if (Len < Size - (IsList ? 2 : 1) || Buf.size() >= (1u << 24)) return String(Buf.data(), Len);
    Buf.resize(Buf.size() * 4);
  }
}

void SplitZeroList(const String& Text, TStrings* Strings) {
  auto Updating = UpdateScope(Strings);
  Strings->Clear();
  size_t P = 0;
  while (P < Text.size()) {
    size_t E = Text.find(L'\0', P);
    if (E == String::npos) E = Text.size();
    if (E > P) Strings->Add(Text.substr(P, E - P));
    P = E + 1;
  }
}
}  // namespace

TIniFile::~TIniFile() {
  // Flushing never raises from a destructor.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, FileName().c_str());
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  return ProfileString(Section.c_str(), Ident.c_str(), Default.c_str(), FileName(), false);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  if (!WritePrivateProfileStringW(Section.c_str(), Ident.c_str(), Value.c_str(),
                                  FileName().c_str()))
    throw EIniFileException(Format(SIniFileWriteError, {FileName()}));
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
  SplitZeroList(ProfileString(Section.c_str(), nullptr, L"", FileName(), true), Strings);
}

void TIniFile::ReadSections(TStrings* Strings) {
  SplitZeroList(ProfileString(nullptr, nullptr, L"", FileName(), true), Strings);
}

void TIniFile::EraseSection(const String& Section) {
  if (!WritePrivateProfileStringW(Section.c_str(), nullptr, nullptr, FileName().c_str()))
    throw EIniFileException(Format(SIniFileWriteError, {FileName()}));
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  WritePrivateProfileStringW(Section.c_str(), Ident.c_str(), nullptr, FileName().c_str());
}

void TIniFile::UpdateFile() {
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, FileName().c_str());
}
