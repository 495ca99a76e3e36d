// Named settings of any variant type, grouped in sections, moved to and
// from INI files. A stored text is parsed by the type the setting already
// has, so values keep their type when read back.
#pragma once

#include "Classes.h"
#include "IniFiles.h"
#include "Variants.h"

// Settings of scope stConfiguration are never written to a file.
enum TgkSettingType { stConfiguration, stGlobal, stUser, stClient };

class TgkSetting : public TObject {
  DECLARE_CLASS(TgkSetting, TObject)
 public:
  TgkSetting(const String& ASection, const String& AName, const Variant& AValue);

  const String& Section() const { return FSection; }
  const String& Name() const { return FName; }
  const Variant& Value() const { return FValue; }
  // Marks the setting modified when the value differs from the current one.
  void SetValue(const Variant& AValue);
  // True when the value's text starts with 1, T, t, Y or y; never raises.
  Boolean GetAsBoolean() const;
  Boolean AsBoolean() const { return GetAsBoolean(); }
  // Stores a Boolean without touching the modified flag.
  void SetAsBoolean(Boolean Value);
  // 0 when the value is no integer; never raises.
  Integer GetAsInteger() const;
  Integer AsInteger() const { return GetAsInteger(); }
  // Stores a 32-bit integer without touching the modified flag.
  void SetAsInteger(Integer Value);
  TgkSettingType SettingType() const { return FSettingType; }
  void SetSettingType(TgkSettingType Value) { FSettingType = Value; }
  Boolean Modified() const { return FModified; }
  void SetModified(Boolean Value) { FModified = Value; }
  Boolean Loaded() const { return FLoaded; }
  void SetLoaded(Boolean Value) { FLoaded = Value; }

  // A text that does not parse as the value's type keeps the old value.
  void Load(TCustomIniFile* AIniFile);
  void Save(TCustomIniFile* AIniFile, Boolean AOnlyModified);

 private:
  String FSection;
  String FName;
  Variant FValue;
  TgkSettingType FSettingType = stUser;
  Boolean FModified = false;
  Boolean FLoaded = false;
};

// Names and sections are matched without regard to letter case; an empty
// section in a lookup matches any section.
class TgkSettings : public TComponent {
  DECLARE_CLASS(TgkSettings, TComponent)
 public:
  // Default section "Common".
  explicit TgkSettings(TComponent* AOwner);
  // Without owner; an empty name gives "Common".
  explicit TgkSettings(const String& ADefaultSection);
  ~TgkSettings() override;

  Integer Count() const { return FList->Count(); }
  TgkSetting* Items(Integer Index) const { return static_cast<TgkSetting*>(FList->Get(Index)); }
  const String& DefaultSection() const { return FDefaultSection; }

  Integer IndexOf(const String& ASection, const String& AName) const;
  Integer IndexOf(const String& AName) const { return IndexOf(FDefaultSection, AName); }
  TgkSetting* Find(const String& ASection, const String& AName) const;
  TgkSetting* Find(const String& AName) const { return Find(FDefaultSection, AName); }
  Boolean Exists(const String& ASection, const String& AName) const;
  Boolean Exists(const String& AName) const { return Exists(FDefaultSection, AName); }
  Boolean Modified(const String& ASection, const String& AName) const;
  Boolean Modified(const String& AName) const { return Modified(FDefaultSection, AName); }
  Boolean Loaded(const String& ASection, const String& AName) const;
  Boolean Loaded(const String& AName) const { return Loaded(FDefaultSection, AName); }

  TgkSetting* Add(const String& ASection, const String& AName, const Variant& AValue);
  TgkSetting* Add(const String& AName, const Variant& AValue) {
    return Add(FDefaultSection, AName, AValue);
  }
  // Empty when there is no such setting.
  Variant GetValues(const String& ASection, const String& AName) const;
  // Adds an Empty setting first when there is none.
  void SetValues(const String& ASection, const String& AName, const Variant& Value);
  // The first setting of that name in any section.
  Variant GetValueByName(const String& AName) const { return GetValues(String(), AName); }
  // Writes into the default section.
  void SetValueByName(const String& AName, const Variant& Value) {
    SetValues(FDefaultSection, AName, Value);
  }

  Integer ReadInteger(const String& ASection, const String& AName, Integer ADefault) const;
  Integer ReadInteger(const String& AName, Integer ADefault) const {
    return ReadInteger(FDefaultSection, AName, ADefault);
  }
  Boolean ReadBoolean(const String& ASection, const String& AName, Boolean ADefault) const;
  Boolean ReadBoolean(const String& AName, Boolean ADefault) const {
    return ReadBoolean(FDefaultSection, AName, ADefault);
  }
  String ReadString(const String& ASection, const String& AName, const String& ADefault) const;
  String ReadString(const String& AName, const String& ADefault) const {
    return ReadString(FDefaultSection, AName, ADefault);
  }
  // A setting of the default section whose text is no integer in
  // AMin..AMax becomes ADefault.
  void CheckInteger(const String& AName, Integer AMin, Integer AMax, Integer ADefault);
  void CheckInteger(const String& AName, Integer ADefault);

  // Raises the list's index error when there is no such setting.
  void Delete(const String& ASection, const String& AName);
  void Delete(const String& AName) { Delete(FDefaultSection, AName); }
  void Clear();

  void Load(TCustomIniFile* AIniFile, Boolean AOnlyExisting);
  void Load(const String& AFileName, Boolean AOnlyExisting);
  void Save(TCustomIniFile* AIniFile, Boolean AOnlyModified);
  // A full save rewrites the file with exactly these settings; a save of the
  // modified ones keeps the file's other keys.
  void Save(const String& AFileName, Boolean AOnlyModified);

  void SaveWindowPosition(const String& ASection, const String& AName, HWND AHandle);
  void LoadWindowPosition(const String& ASection, const String& AName, HWND AHandle);

 private:
  TOwned<TObjectList> FList;
  String FDefaultSection;
};

// The shared settings; exist between gkSetting_Initialize and
// gkSetting_Finalize.
extern TgkSettings* gkSettings;

void gkSetting_Initialize();
void gkSetting_Finalize();
