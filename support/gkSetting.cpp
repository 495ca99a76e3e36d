#include "gkSetting.h"

#include "gkCommon.h"

TgkSettings* gkSettings = nullptr;

namespace {

const wchar_t* const DefaultSectionName = L"Common";

TVarType BaseType(const Variant& V) { return VarType(V) & varTypeMask; }

bool IsOrdinalType(TVarType T) {
  switch (T) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varUInt64:
      return true;
    default:
      return false;
  }
}

bool IsFloatType(TVarType T) { return T == varSingle || T == varDouble || T == varCurrency; }

bool IsArrayValue(const Variant& V) { return (VarType(V) & varArray) != 0; }

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkSetting)

TgkSetting::TgkSetting(const String& ASection, const String& AName, const Variant& AValue)
    : FSection(ASection), FName(AName), FValue(AValue) {}

void TgkSetting::SetValue(const Variant& AValue) {
  if (CompareVar(FValue, AValue) == 0) return;
  FValue = AValue;
  FModified = true;
}

Boolean TgkSetting::GetAsBoolean() const {
  String Text;
  try {
    Text = FValue.AsString();
  } catch (const Exception&) {
    return false;
  }
  return !Text.empty() && String(L"1TtYy").find(Text[0]) != String::npos;
}

void TgkSetting::SetAsBoolean(Boolean Value) { FValue = Variant(Value); }

Integer TgkSetting::GetAsInteger() const {
  try {
    return FValue.AsInteger();
  } catch (const Exception&) {
    return 0;
  }
}

void TgkSetting::SetAsInteger(Integer Value) { FValue = Variant(Value); }

void TgkSetting::Load(TCustomIniFile* AIniFile) {
  if (!AIniFile->ValueExists(FSection, FName)) return;
  FLoaded = true;
  String Text = AIniFile->ReadString(FSection, FName, String());
  if (IsArrayValue(FValue)) return;
  TVarType T = BaseType(FValue);
  if (T == varEmpty) {
    if (!Text.empty()) SetValue(Text);
  } else if (T == varOleStr) {
    SetValue(Text);
  } else if (T == varBoolean) {
    bool B;
    if (TryStrToBool(Text, B)) SetValue(B);
  } else if (IsOrdinalType(T)) {
    Integer I;
    if (TryStrToInt(Text, I)) SetValue(I);
  } else if (IsFloatType(T)) {
    Double D;
    if (TryStrToFloat(Text, D, TFormatSettings::Create())) SetValue(D);
  } else if (T == varDate) {
    TDateTime D;
    if (TryStrToDateTime(Text, D, TFormatSettings::Create())) SetValue(Variant::FromDateTime(D));
  }
}

void TgkSetting::Save(TCustomIniFile* AIniFile, Boolean AOnlyModified) {
  if (FSettingType == stConfiguration || (AOnlyModified && !FModified)) return;
  if (IsArrayValue(FValue)) return;
  TVarType T = BaseType(FValue);
  if (T == varEmpty)
    AIniFile->DeleteKey(FSection, FName);
  else if (T == varOleStr)
    AIniFile->WriteString(FSection, FName, FValue.AsString());
  else if (T == varBoolean)
    AIniFile->WriteBool(FSection, FName, FValue.AsBoolean());
  else if (IsOrdinalType(T))
    // As text, so that 64-bit values are written whole.
    AIniFile->WriteString(FSection, FName, IntToStr(FValue.AsInt64()));
  else if (IsFloatType(T))
    AIniFile->WriteFloat(FSection, FName, FValue.AsDouble());
  else if (T == varDate)
    AIniFile->WriteDate(FSection, FName, FValue.AsDateTime());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkSettings)

TgkSettings::TgkSettings(TComponent* AOwner)
    : TComponent(AOwner), FList(Create<TObjectList>(true)), FDefaultSection(DefaultSectionName) {}

TgkSettings::TgkSettings(const String& ADefaultSection)
    : TComponent(nullptr),
      FList(Create<TObjectList>(true)),
      FDefaultSection(ADefaultSection.empty() ? String(DefaultSectionName) : ADefaultSection) {}

TgkSettings::~TgkSettings() = default;

Integer TgkSettings::IndexOf(const String& ASection, const String& AName) const {
  for (Integer I = 0; I < Count(); ++I) {
    TgkSetting* S = Items(I);
    if (CText(S->Name(), AName) && (ASection.empty() || CText(S->Section(), ASection))) return I;
  }
  return -1;
}

TgkSetting* TgkSettings::Find(const String& ASection, const String& AName) const {
  Integer I = IndexOf(ASection, AName);
  return I < 0 ? nullptr : Items(I);
}

Boolean TgkSettings::Exists(const String& ASection, const String& AName) const {
  return IndexOf(ASection, AName) != -1;
}

Boolean TgkSettings::Modified(const String& ASection, const String& AName) const {
  TgkSetting* S = Find(ASection, AName);
  return S && S->Modified();
}

Boolean TgkSettings::Loaded(const String& ASection, const String& AName) const {
  TgkSetting* S = Find(ASection, AName);
  return S && S->Loaded();
}

TgkSetting* TgkSettings::Add(const String& ASection, const String& AName, const Variant& AValue) {
  TgkSetting* S = Find(ASection, AName);
  if (!S) {
    S = Create<TgkSetting>(ASection, AName, AValue);
    FList->Add(S);
  } else if (BaseType(S->Value()) == varBoolean && BaseType(AValue) != varBoolean) {
    bool False = (VarIsNumeric(AValue) && CompareVar(AValue, Variant(0)) == 0) ||
                 (VarIsStr(AValue) && AValue.AsString() == L"0");
    S->SetValue(!False);
  } else {
    S->SetValue(AValue);
  }
  return S;
}

Variant TgkSettings::GetValues(const String& ASection, const String& AName) const {
  TgkSetting* S = Find(ASection, AName);
  return S ? S->Value() : Variant();
}

void TgkSettings::SetValues(const String& ASection, const String& AName, const Variant& Value) {
  TgkSetting* S = Find(ASection, AName);
  if (!S) S = Add(ASection, AName, Variant());
  S->SetValue(Value);
}

Integer TgkSettings::ReadInteger(const String& ASection, const String& AName,
                                 Integer ADefault) const {
  TgkSetting* S = Find(ASection, AName);
  Integer Result;
  if (!S || !TryStrToInt(V2S(S->Value()), Result)) return ADefault;
  return Result;
}

Boolean TgkSettings::ReadBoolean(const String& ASection, const String& AName,
                                 Boolean ADefault) const {
  TgkSetting* S = Find(ASection, AName);
  return S ? V2B(S->Value()) : ADefault;
}

String TgkSettings::ReadString(const String& ASection, const String& AName,
                               const String& ADefault) const {
  TgkSetting* S = Find(ASection, AName);
  return S ? V2S(S->Value()) : ADefault;
}

void TgkSettings::CheckInteger(const String& AName, Integer AMin, Integer AMax, Integer ADefault) {
  TgkSetting* S = Find(AName);
  if (!S) return;
  Integer Value;
  if (!TryStrToInt(V2S(S->Value()), Value) || Value < AMin || Value > AMax) S->SetValue(ADefault);
}

void TgkSettings::CheckInteger(const String& AName, Integer ADefault) {
  TgkSetting* S = Find(AName);
  if (!S) return;
  Integer Value;
  if (!TryStrToInt(V2S(S->Value()), Value)) S->SetValue(ADefault);
}

void TgkSettings::Delete(const String& ASection, const String& AName) {
  FList->Delete(IndexOf(ASection, AName));
}

void TgkSettings::Clear() { FList->Clear(); }

void TgkSettings::Load(TCustomIniFile* AIniFile, Boolean AOnlyExisting) {
  if (AOnlyExisting) {
    for (Integer I = 0; I < Count(); ++I) Items(I)->Load(AIniFile);
    return;
  }
  TOwned<TStringList> Sections(Create<TStringList>());
  TOwned<TStringList> Values(Create<TStringList>());
  AIniFile->ReadSections(Sections.get());
  for (Integer I = 0; I < Sections->Count(); ++I) {
    String Section = Sections->Get(I);
    AIniFile->ReadSectionValues(Section, Values.get());
    for (Integer J = 0; J < Values->Count(); ++J)
      Add(Section, Values->Names(J), Variant(Values->ValueFromIndex(J)))->SetLoaded(true);
  }
}

void TgkSettings::Load(const String& AFileName, Boolean AOnlyExisting) {
  TOwned<TMemIniFile> Ini(Create<TMemIniFile>(AFileName));
  Load(Ini.get(), AOnlyExisting);
}

void TgkSettings::Save(TCustomIniFile* AIniFile, Boolean AOnlyModified) {
  for (Integer I = 0; I < Count(); ++I) Items(I)->Save(AIniFile, AOnlyModified);
  if (AIniFile->InheritsFrom(TMemIniFile::StaticClass())) AIniFile->UpdateFile();
}

void TgkSettings::Save(const String& AFileName, Boolean AOnlyModified) {
  TOwned<TMemIniFile> Ini(Create<TMemIniFile>(AFileName));
  // Emptying the file before a save of only the modified settings would drop
  // every setting that did not change.
  if (!AOnlyModified) Ini->Clear();
  Save(Ini.get(), AOnlyModified);
}

void TgkSettings::SaveWindowPosition(const String& ASection, const String& AName, HWND AHandle) {
  SetValues(ASection, AName, Variant(::SaveWindowPosition(AHandle)));
}

void TgkSettings::LoadWindowPosition(const String& ASection, const String& AName, HWND AHandle) {
  TgkSetting* S = Find(ASection, AName);
  if (S) ::LoadWindowPosition(AHandle, V2S(S->Value()), true);
}

// ---------------------------------------------------------------------------
void gkSetting_Initialize() { gkSettings = Create<TgkSettings>(static_cast<TComponent*>(nullptr)); }

void gkSetting_Finalize() { FreeAndNil(gkSettings); }
