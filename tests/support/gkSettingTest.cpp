#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "gkCommon.h"
#include "gkSetting.h"

namespace {

// Switches the user's decimal separator (and the process settings read from
// it) for the life of the object.
class TDecimalSeparator {
 public:
  explicit TDecimalSeparator(const wchar_t* ASeparator) {
    wchar_t Buf[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Buf, 8);
    FSaved = Buf;
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ASeparator);
    GetFormatSettings();
  }
  TDecimalSeparator(const TDecimalSeparator&) = delete;
  TDecimalSeparator& operator=(const TDecimalSeparator&) = delete;
  ~TDecimalSeparator() {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FSaved.c_str());
    GetFormatSettings();
  }

 private:
  String FSaved;
};

// An in-memory INI file on a temporary file that is deleted with it.
class TTempIni {
 public:
  explicit TTempIni(const String& AText = String()) {
    static int Counter = 0;
    wchar_t Temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, Temp);
    FName = Format(L"%sgkSettingTest%d_%d.ini",
                   {String(Temp), static_cast<Integer>(GetCurrentProcessId()), ++Counter});
    FIni.reset(Create<TMemIniFile>(FName));
    TOwned<TStringList> Lines(Create<TStringList>());
    Lines->SetText(AText);
    FIni->SetStrings(Lines.get());
  }
  TTempIni(const TTempIni&) = delete;
  TTempIni& operator=(const TTempIni&) = delete;
  ~TTempIni() {
    FIni.reset();
    DeleteFile(FName);
  }
  TMemIniFile* get() const { return FIni.get(); }
  TMemIniFile* operator->() const { return FIni.get(); }

 private:
  String FName;
  TOwned<TMemIniFile> FIni;
};

String IniText(TMemIniFile* AIni) {
  TOwned<TStringList> Lines(Create<TStringList>());
  AIni->GetStrings(Lines.get());
  return Lines->Text();
}

TOwned<TgkSettings> NewSettings(const String& ASection = String()) {
  return TOwned<TgkSettings>(Create<TgkSettings>(ASection));
}

struct TLoadCase {
  const char* Name;
  Variant Initial;
  const wchar_t* Text;  // nullptr: the key is missing
  Variant Expected;
  bool Modified;
  bool Loaded;
};

class SettingLoadTest : public ::testing::TestWithParam<TLoadCase> {};

TEST_P(SettingLoadTest, TextIsParsedByTheValuesType) {
  const TLoadCase& Case = GetParam();
  TOwned<TgkSetting> S(Create<TgkSetting>(L"Sec", L"Key", Case.Initial));
  String Ini = L"[sec]\r\nOther=1\r\n";
  if (Case.Text) Ini += String(L"KEY=") + Case.Text + L"\r\n";
  S->Load(TTempIni(Ini).get());
  EXPECT_EQ(VarType(S->Value()), VarType(Case.Expected));
  EXPECT_EQ(CompareVar(S->Value(), Case.Expected), 0);
  EXPECT_EQ(S->Modified(), Case.Modified);
  EXPECT_EQ(S->Loaded(), Case.Loaded);
}

INSTANTIATE_TEST_SUITE_P(
    Types, SettingLoadTest,
    ::testing::Values(TLoadCase{"IntegerFromText", 5, L"7", 7, true, true},
                      TLoadCase{"IntegerFromGarbage", 5, L"abc", 5, false, true},
                      TLoadCase{"IntegerUnchanged", 5, L"5", 5, false, true},
                      TLoadCase{"ByteBecomesInteger", Byte(3), L"300", 300, true, true},
                      TLoadCase{"BooleanFromOne", false, L"1", true, true, true},
                      TLoadCase{"BooleanFromTrue", false, L"True", true, true, true},
                      TLoadCase{"BooleanFromGarbage", true, L"maybe", true, false, true},
                      TLoadCase{"StringFromEmptyText", L"x", L"", String(), true, true},
                      TLoadCase{"EmptyTakesText", Variant(), L"text", L"text", true, true},
                      TLoadCase{"EmptyStaysOnEmptyText", Variant(), L"", Variant(), false, true},
                      TLoadCase{"MissingKey", 5, nullptr, 5, false, false}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(SettingTest, FloatsAndDatesUseTheRegionalFormat) {
  for (const wchar_t* Sep : {L".", L","}) {
    TDecimalSeparator Guard(Sep);
    const String Other = String(Sep) == L"." ? L"2,25" : L"2.25";
    TOwned<TgkSettings> Settings = NewSettings();
    Settings->Add(L"F", 2.5);
    Settings->Add(L"D", Variant::FromDateTime(EncodeDate(2024, 3, 5) + EncodeTime(0, 0, 0, 0)));
    Settings->Add(L"Wrong", 1.0);
    TTempIni Ini;
    Settings->Save(Ini.get(), false);
    EXPECT_EQ(Ini->ReadString(L"Common", L"F", L""), String(L"2") + Sep + L"5");
    Ini->WriteString(L"Common", L"Wrong", Other);

    TOwned<TgkSettings> Back = NewSettings();
    Back->Add(L"F", 0.0);
    Back->Add(L"D", Variant::FromDateTime(0));
    Back->Add(L"Wrong", 1.0);
    Back->Load(Ini.get(), true);
    EXPECT_EQ(Back->Find(L"F")->Value().AsDouble(), 2.5) << Sep;
    EXPECT_EQ(VarType(Back->Find(L"D")->Value()), varDate);
    EXPECT_EQ(Back->Find(L"D")->Value().AsDateTime(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(Back->Find(L"Wrong")->Value().AsDouble(), 1.0) << Sep;
    EXPECT_FALSE(Back->Modified(L"Wrong"));
  }
}

TEST(SettingTest, SaveWritesByTypeAndSkipsWhatItShould) {
  TOwned<TgkSettings> Settings = NewSettings(L"Main");
  Settings->Add(L"Int", 42);
  Settings->Add(L"Big", Int64(5000000000));
  Settings->Add(L"Bool", true);
  Settings->Add(L"Str", L"text");
  Settings->Add(L"Gone", Variant());
  Settings->Add(L"Config", L"never")->SetSettingType(stConfiguration);
  Settings->Add(L"ConfigEmpty", Variant())->SetSettingType(stConfiguration);
  TTempIni Ini(L"[Main]\r\nGone=old\r\nConfigEmpty=kept\r\n");

  // Nothing was changed since creation.
  Settings->Save(Ini.get(), true);
  EXPECT_EQ(IniText(Ini.get()), L"[Main]\r\nGone=old\r\nConfigEmpty=kept\r\n\r\n");

  Settings->Save(Ini.get(), false);
  EXPECT_EQ(
      IniText(Ini.get()),
      L"[Main]\r\nConfigEmpty=kept\r\nInt=42\r\nBig=5000000000\r\nBool=1\r\nStr=text\r\n\r\n");

  Settings->SetValues(L"Main", L"Int", 43);
  Settings->Find(L"Str")->SetValue(L"text");  // equal: not modified
  TTempIni Fresh;
  Settings->Save(Fresh.get(), true);
  EXPECT_EQ(IniText(Fresh.get()), L"[Main]\r\nInt=43\r\n\r\n");
}

TEST(SettingTest, AddToABooleanSettingConvertsTheValue) {
  struct TCase {
    Variant Value;
    bool Expected;
  };
  TOwned<TgkSettings> Settings = NewSettings();
  for (const TCase& Case : {TCase{L"0", false}, TCase{L"no", true}, TCase{0, false},
                            TCase{0.0, false}, TCase{2, true}, TCase{L"", true}}) {
    Settings->Add(L"Flag", !Case.Expected);
    TgkSetting* S = Settings->Add(L"Flag", Case.Value);
    EXPECT_EQ(VarType(S->Value()), varBoolean);
    EXPECT_EQ(S->Value().AsBoolean(), Case.Expected) << VarToStr(Case.Value);
  }
  EXPECT_EQ(Settings->Count(), 1);
  // A setting that is no Boolean takes the value as it is.
  EXPECT_EQ(VarType(Settings->Add(L"Num", 1)->Value()), varInteger);
  EXPECT_EQ(VarType(Settings->Add(L"Num", L"0")->Value()), varOleStr);
}

TEST(SettingTest, AsBooleanAndAsIntegerNeverRaise) {
  struct TCase {
    Variant Value;
    bool AsBoolean;
    Integer AsInteger;
  };
  for (const TCase& Case :
       {TCase{true, true, -1}, TCase{L"yes", true, 0}, TCase{L"Tak", true, 0},
        TCase{L"no", false, 0}, TCase{1, true, 1}, TCase{L"12", true, 12}, TCase{0, false, 0},
        TCase{Variant(), false, 0}, TCase{Null(), false, 0}}) {
    TOwned<TgkSetting> S(Create<TgkSetting>(L"S", L"N", Case.Value));
    EXPECT_EQ(S->AsBoolean(), Case.AsBoolean) << VarToStr(Case.Value);
    EXPECT_EQ(S->AsInteger(), Case.AsInteger) << VarToStr(Case.Value);
  }
  TOwned<TgkSetting> S(Create<TgkSetting>(L"S", L"N", L"x"));
  S->SetAsInteger(7);
  S->SetAsBoolean(true);
  EXPECT_EQ(VarType(S->Value()), varBoolean);
  EXPECT_FALSE(S->Modified());
}

TEST(SettingTest, ReadersFallBackToTheirDefaults) {
  TOwned<TgkSettings> Settings = NewSettings();
  Settings->Add(L"Good", L"250");
  Settings->Add(L"Bad", L"25x");
  Settings->Add(L"Flag", L"true");
  EXPECT_EQ(Settings->ReadInteger(L"Good", 100), 250);
  EXPECT_EQ(Settings->ReadInteger(L"Bad", 100), 100);
  EXPECT_EQ(Settings->ReadInteger(L"Missing", 100), 100);
  EXPECT_EQ(Settings->ReadInteger(L"common", L"good", 1), 250);
  EXPECT_TRUE(Settings->ReadBoolean(L"Flag", false));
  EXPECT_TRUE(Settings->ReadBoolean(L"Missing", true));
  EXPECT_FALSE(Settings->ReadBoolean(L"Bad", true));
  EXPECT_EQ(Settings->ReadString(L"Good", L"d"), L"250");
  EXPECT_EQ(Settings->ReadString(L"Missing", L"d"), L"d");

  // The short forms read the default section, also when an earlier setting of
  // that name lives in another section.
  TOwned<TgkSettings> Two = NewSettings();
  Two->Add(L"Other", L"Width", 10);
  Two->Add(L"Width", 20);
  EXPECT_EQ(Two->ReadInteger(L"Width", 0), 20);
  EXPECT_EQ(Two->GetValueByName(L"Width").AsInteger(), 10);
}

TEST(SettingTest, CheckIntegerReplacesBadValues) {
  TOwned<TgkSettings> Settings = NewSettings();
  Settings->Add(L"In", 5);
  Settings->Add(L"Out", 50);
  Settings->Add(L"Text", L"abc");
  Settings->Add(L"Other", L"Far", 500);
  Settings->CheckInteger(L"In", 1, 10, 3);
  Settings->CheckInteger(L"Out", 1, 10, 3);
  Settings->CheckInteger(L"Text", 9);
  Settings->CheckInteger(L"Far", 1, 10, 3);
  Settings->CheckInteger(L"Missing", 1, 10, 3);
  EXPECT_EQ(Settings->ReadInteger(L"In", 0), 5);
  EXPECT_EQ(Settings->ReadInteger(L"Out", 0), 3);
  EXPECT_EQ(Settings->ReadInteger(L"Text", 0), 9);
  EXPECT_EQ(Settings->ReadInteger(L"Other", L"Far", 0), 500);
  EXPECT_FALSE(Settings->Exists(L"Missing"));
}

TEST(SettingTest, LookupsIgnoreCaseAndSections) {
  TOwned<TgkSettings> Settings = NewSettings(L"Main");
  EXPECT_EQ(Settings->DefaultSection(), L"Main");
  EXPECT_EQ(NewSettings()->DefaultSection(), L"Common");
  Settings->Add(L"Other", L"A", 1);
  EXPECT_EQ(Settings->GetValueByName(L"a").AsInteger(), 1);
  EXPECT_FALSE(Settings->Exists(L"A"));
  Settings->SetValueByName(L"A", 2);
  EXPECT_EQ(Settings->Count(), 2);
  EXPECT_EQ(Settings->GetValues(L"main", L"a").AsInteger(), 2);
  EXPECT_EQ(Settings->GetValues(L"OTHER", L"A").AsInteger(), 1);
  EXPECT_TRUE(VarIsEmpty(Settings->GetValues(L"Main", L"B")));
  EXPECT_TRUE(Settings->Modified(L"A"));
  EXPECT_FALSE(Settings->Modified(L"Other", L"A"));

  Settings->Delete(L"Other", L"a");
  EXPECT_EQ(Settings->Count(), 1);
  EXPECT_THROW(Settings->Delete(L"Other", L"A"), EListError);
  Settings->Clear();
  EXPECT_EQ(Settings->Count(), 0);
}

class SettingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t Temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, Temp);
    FFile = String(Temp) + L"gkSettingTest" +
            IntToStr(static_cast<Integer>(GetCurrentProcessId())) + L".ini";
    std::ofstream(StringToAnsi(FFile), std::ios::binary)
        << "[B]\r\nY=2\r\nX=1\r\n[A]\r\nFlag=1\r\n";
  }
  void TearDown() override { DeleteFile(FFile); }
  String ReadAll() const {
    std::ifstream In(StringToAnsi(FFile), std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return AnsiToString(S.str());
  }
  String FFile;
};

TEST_F(SettingFileTest, LoadAddsEveryKeyInFileOrder) {
  TOwned<TgkSettings> Settings = NewSettings();
  Settings->Add(L"A", L"Flag", false);
  Settings->Load(FFile, false);
  ASSERT_EQ(Settings->Count(), 3);
  EXPECT_EQ(Settings->Items(1)->Section() + L"." + Settings->Items(1)->Name(), L"B.Y");
  EXPECT_EQ(Settings->Items(2)->Name(), L"X");
  EXPECT_EQ(Settings->Items(2)->Value().AsString(), L"1");
  EXPECT_TRUE(Settings->Loaded(L"B", L"X"));
  // The Boolean setting keeps its type.
  EXPECT_EQ(VarType(Settings->Items(0)->Value()), varBoolean);
  EXPECT_TRUE(Settings->ReadBoolean(L"A", L"Flag", false));

  TOwned<TgkSettings> Only = NewSettings();
  Only->Add(L"B", L"X", 0);
  Only->Load(FFile, true);
  EXPECT_EQ(Only->Count(), 1);
  EXPECT_EQ(Only->ReadInteger(L"B", L"X", 0), 1);
}

TEST_F(SettingFileTest, FullSaveRewritesTheFileAndPartialSaveKeepsOtherKeys) {
  TOwned<TgkSettings> Settings = NewSettings();
  Settings->Add(L"B", L"X", 1);
  Settings->SetValues(L"B", L"X", 5);
  Settings->Save(FFile, true);
  EXPECT_EQ(ReadAll(), L"[B]\r\nY=2\r\nX=5\r\n\r\n[A]\r\nFlag=1\r\n\r\n");
  Settings->Save(FFile, false);
  EXPECT_EQ(ReadAll(), L"[B]\r\nX=5\r\n\r\n");
}

TEST(SettingWindowTest, WindowPositionRoundTrip) {
  HWND Wnd = CreateWindowExW(0, L"STATIC", L"settings test", WS_OVERLAPPEDWINDOW, 40, 50, 300, 200,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(Wnd, nullptr);
  TOwned<TgkSettings> Settings = NewSettings();
  Settings->SaveWindowPosition(L"Win", L"Main", Wnd);
  String Saved = Settings->ReadString(L"Win", L"Main", L"");
  EXPECT_EQ(VarType(Settings->GetValues(L"Win", L"Main")), varOleStr);
  EXPECT_EQ(Pos(L",1", Saved), Length(Saved) - 1) << Saved;

  MoveWindow(Wnd, 70, 80, 250, 150, FALSE);
  Settings->LoadWindowPosition(L"Win", L"Main", Wnd);
  WINDOWPLACEMENT P{sizeof P};
  GetWindowPlacement(Wnd, &P);
  RECT R = P.rcNormalPosition;
  EXPECT_EQ(Format(L"%d,%d,%d,%d,1", {R.left, R.top, R.right, R.bottom}), Saved);
  Settings->LoadWindowPosition(L"Win", L"Missing", Wnd);  // nothing to apply
  DestroyWindow(Wnd);
}

}  // namespace
