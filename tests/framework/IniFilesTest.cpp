#include <gtest/gtest.h>

#include "IniFiles.h"

namespace {

class IniFiles : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t Base[MAX_PATH];
    GetTempPathW(MAX_PATH, Base);
    FDir = String(Base) + L"ini-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64());
    ASSERT_TRUE(CreateDirectoryW(FDir.c_str(), nullptr));
    FSaved = FormatSettings();
  }
  void TearDown() override {
    FormatSettings() = FSaved;
    TSearchRec F;
    if (FindFirst(FDir + L"\\*", faAnyFile, F) == 0) {
      do {
        DeleteFile(FDir + L"\\" + F.Name);
      } while (FindNext(F) == 0);
      FindClose(F);
    }
    RemoveDir(FDir);
  }
  String Path(const String& Name) const { return FDir + L"\\" + Name; }
  TBytes ReadAll(const String& Name) const {
    TOwned<TBytesStream> B(Create<TBytesStream>());
    B->LoadFromFile(Path(Name));
    return B->Bytes();
  }
  void WriteAll(const String& Name, const TBytes& Bytes) {
    TOwned<TBytesStream> B(Create<TBytesStream>(Bytes));
    B->SaveToFile(Path(Name));
  }
  std::vector<String> Lines(TStrings* S) {
    std::vector<String> R;
    for (Integer I = 0; I < S->Count(); ++I) R.push_back(S->Get(I));
    return R;
  }
  String FDir;
  TFormatSettings FSaved;
};

const String Sect = L"\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438";  // "Настройки"
const String Key = L"\u0418\u043c\u044f";                                       // "Имя"
const String Val = L"\u0417\u043d\u0430\u0447\u0435\u043d\u0438\u0435 = 1";  // "Значение = 1"

TEST_F(IniFiles, MemIniFileRoundTripWithCyrillicInBothEncodings) {
  for (const TEncoding& Enc : {TEncoding::GetEncoding(1251), TEncoding::UTF8()}) {
    DeleteFile(Path(L"ru.ini"));
    {
      TOwned<TMemIniFile> Ini(Create<TMemIniFile>(Path(L"ru.ini"), Enc));
      Ini->WriteString(Sect, Key, Val);
      Ini->WriteString(L"Other", L"A", L"1");
      Ini->WriteString(Sect, L"Second", L"");
      Ini->UpdateFile();
    }
    TBytes Bytes = ReadAll(L"ru.ini");
    TBytes Expected =
        Enc.GetPreamble() + Enc.GetBytes(L"[" + Sect + L"]\r\n" + Key + L"=" + Val +
                                         L"\r\nSecond=\r\n\r\n[Other]\r\nA=1\r\n\r\n");
    EXPECT_EQ(Bytes, Expected) << Enc.CodePage();
    TOwned<TMemIniFile> Back(Create<TMemIniFile>(Path(L"ru.ini"), Enc));
    // Names ignore case, Cyrillic ones included.
    EXPECT_EQ(Back->ReadString(L"\u043d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438",
                               L"\u0438\u043c\u044f", L""),
              Val);
    EXPECT_TRUE(Back->ValueExists(Sect, L"second"));
    EXPECT_EQ(Back->ReadString(Sect, L"Second", L"default"), L"");
    EXPECT_EQ(Back->ReadString(Sect, L"Missing", L"default"), L"default");
  }
  // Without an encoding, the byte-order mark of the last (UTF-8) file is
  // found and kept.
  TOwned<TMemIniFile> Detect(Create<TMemIniFile>(Path(L"ru.ini")));
  EXPECT_EQ(Detect->ReadString(Sect, Key, L""), Val);
  Detect->WriteString(L"X", L"Y", L"\u4e2d");
  Detect->UpdateFile();
  TOwned<TMemIniFile> Again(Create<TMemIniFile>(Path(L"ru.ini")));
  EXPECT_EQ(Again->ReadString(L"X", L"Y", L""), L"\u4e2d");
}

TEST_F(IniFiles, MemIniFileParsesLikeTheFramework) {
  WriteAll(L"p.ini", TEncoding::Default().GetBytes(L"orphan=1\r\n"
                                                   L"  [ Main ]  \n"
                                                   L"; comment\r\n"
                                                   L" key  =  spaced value  \r"
                                                   L"novalue\r\n"
                                                   L"\r\n"
                                                   L"[Empty]\r\n"
                                                   L"[Last]\r\n"
                                                   L"k=v"));
  TOwned<TMemIniFile> Ini(Create<TMemIniFile>(Path(L"p.ini")));
  TOwned<TStringList> S(Create<TStringList>());
  Ini->ReadSections(S.get());
  EXPECT_EQ(Lines(S.get()), (std::vector<String>{L"Main", L"Empty", L"Last"}));
  EXPECT_EQ(Ini->ReadString(L"main", L"KEY", L""), L"spaced value");
  Ini->ReadSection(L"Main", S.get());
  EXPECT_EQ(Lines(S.get()), (std::vector<String>{L"key"}));
  Ini->ReadSectionValues(L"Main", S.get());
  EXPECT_EQ(Lines(S.get()), (std::vector<String>{L"key=spaced value", L"novalue"}));
  EXPECT_TRUE(Ini->SectionExists(L"Empty"));
  EXPECT_FALSE(Ini->SectionExists(L"orphan"));
  EXPECT_FALSE(Ini->ValueExists(L"Main", L"novalue"));
  // GetStrings appends.
  S->SetText(L"first");
  Ini->GetStrings(S.get());
  EXPECT_EQ(S->Text(),
            L"first\r\n[Main]\r\nkey=spaced "
            L"value\r\nnovalue\r\n\r\n[Empty]\r\n\r\n[Last]\r\nk=v\r\n\r\n");
}

TEST_F(IniFiles, MemIniFileEraseDeleteClearAndRename) {
  TOwned<TMemIniFile> Ini(Create<TMemIniFile>(Path(L"e.ini")));
  Ini->WriteString(L"A", L"x", L"1");
  Ini->WriteString(L"A", L"y", L"2");
  Ini->WriteString(L"B", L"z", L"3");
  Ini->DeleteKey(L"A", L"X");
  Ini->DeleteKey(L"A", L"absent");
  Ini->DeleteKey(L"Absent", L"x");
  Ini->EraseSection(L"b");
  Ini->EraseSection(L"Absent");
  TOwned<TStringList> S(Create<TStringList>());
  Ini->ReadSectionValues(L"A", S.get());
  EXPECT_EQ(Lines(S.get()), (std::vector<String>{L"y=2"}));
  EXPECT_FALSE(Ini->SectionExists(L"B"));
  Ini->UpdateFile();
  EXPECT_EQ(ReadAll(L"e.ini"), TEncoding::Default().GetBytes(L"[A]\r\ny=2\r\n\r\n"));
  Ini->Rename(Path(L"other.ini"), false);
  EXPECT_EQ(Ini->ReadString(L"A", L"y", L""), L"2");
  Ini->Rename(Path(L"e.ini"), true);
  EXPECT_EQ(Ini->ReadString(L"A", L"y", L""), L"2");
  Ini->Rename(Path(L"missing.ini"), true);
  EXPECT_FALSE(Ini->SectionExists(L"A"));
  Ini->WriteString(L"C", L"k", L"v");
  Ini->Clear();
  Ini->ReadSections(S.get());
  EXPECT_EQ(S->Count(), 0);
  Ini->SetCaseSensitive(true);
  Ini->WriteString(L"C", L"k", L"v");
  EXPECT_EQ(Ini->ReadString(L"c", L"k", L"none"), L"none");
  EXPECT_EQ(Ini->ReadString(L"C", L"K", L"none"), L"none");
}

TEST_F(IniFiles, IntegersAndBooleans) {
  TOwned<TMemIniFile> Ini(Create<TMemIniFile>(String()));
  struct Case {
    const wchar_t* Text;
    Integer Expected;
  };
  const Case Cases[] = {{L"42", 42},   {L"-7", -7}, {L"$1F", 31},   {L"0x1f", 31},
                        {L"0X10", 16}, {L"", -1},   {L"12abc", -1}, {L"3.5", -1}};
  for (const Case& C : Cases) {
    Ini->WriteString(L"N", L"v", C.Text);
    EXPECT_EQ(Ini->ReadInteger(L"N", L"v", -1), C.Expected)
        << testing::PrintToString(String(C.Text));
  }
  Ini->WriteInteger(L"N", L"i", -123);
  EXPECT_EQ(Ini->ReadString(L"N", L"i", L""), L"-123");
  Ini->WriteBool(L"N", L"t", true);
  Ini->WriteBool(L"N", L"f", false);
  EXPECT_EQ(Ini->ReadString(L"N", L"t", L""), L"1");
  EXPECT_EQ(Ini->ReadString(L"N", L"f", L""), L"0");
  EXPECT_TRUE(Ini->ReadBool(L"N", L"t", false));
  EXPECT_FALSE(Ini->ReadBool(L"N", L"f", true));
  EXPECT_TRUE(Ini->ReadBool(L"N", L"missing", true));
  Ini->WriteString(L"N", L"b", L"5");
  EXPECT_TRUE(Ini->ReadBool(L"N", L"b", false));
}

TEST_F(IniFiles, FloatsFollowTheRegionalDecimalSeparator) {
  struct Case {
    Char Separator;
    const wchar_t* Written;
    const wchar_t* Foreign;
  };
  for (const Case& C : {Case{L'.', L"1.25", L"1,25"}, Case{L',', L"1,25", L"1.25"}}) {
    FormatSettings().DecimalSeparator = C.Separator;
    FormatSettings().ThousandSeparator = C.Separator == L'.' ? L',' : L' ';
    TOwned<TMemIniFile> Ini(Create<TMemIniFile>(String()));
    Ini->WriteFloat(L"F", L"x", 1.25);
    EXPECT_EQ(Ini->ReadString(L"F", L"x", L""), C.Written);
    EXPECT_EQ(Ini->ReadFloat(L"F", L"x", 0), 1.25);
    Ini->WriteString(L"F", L"y", C.Foreign);
    EXPECT_EQ(Ini->ReadFloat(L"F", L"y", -1), -1);
    Ini->WriteString(L"F", L"z", L"garbage");
    EXPECT_EQ(Ini->ReadFloat(L"F", L"z", -2), -2);
  }
}

TEST_F(IniFiles, DatesRoundTripInTheRegionalFormat) {
  TOwned<TMemIniFile> Ini(Create<TMemIniFile>(String()));
  TDateTime When = EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 10, 0);
  Ini->WriteDateTime(L"D", L"when", When);
  EXPECT_EQ(Ini->ReadString(L"D", L"when", L""), DateTimeToStr(When));
  EXPECT_NEAR(Ini->ReadDateTime(L"D", L"when", 0), When, 1e-8);
  EXPECT_EQ(Ini->ReadDate(L"D", L"when", 0), EncodeDate(2024, 2, 29));
  Ini->WriteDate(L"D", L"day", EncodeDate(1999, 12, 31));
  EXPECT_EQ(Ini->ReadDate(L"D", L"day", 0), EncodeDate(1999, 12, 31));
  Ini->WriteString(L"D", L"bad", L"not a date");
  EXPECT_EQ(Ini->ReadDateTime(L"D", L"bad", 7.5), 7.5);
  EXPECT_EQ(Ini->ReadDate(L"D", L"missing", 3), 3);
}

TEST_F(IniFiles, IniFileGoesThroughTheProfileFunctions) {
  // A UTF-16 byte-order mark makes the platform keep the file in Unicode.
  WriteAll(L"p.ini", TEncoding::Unicode().GetPreamble());
  {
    TOwned<TIniFile> Ini(Create<TIniFile>(Path(L"p.ini")));
    Ini->WriteString(Sect, Key, L"\u0434\u0430");
    Ini->WriteInteger(Sect, L"Count", 0x7F);
    Ini->WriteString(L"Other", L"Long", String(5000, L'w'));
    Ini->WriteString(L"Gone", L"k", L"v");
    Ini->EraseSection(L"Gone");
    Ini->WriteString(L"Other", L"Drop", L"1");
    Ini->DeleteKey(L"Other", L"Drop");
  }
  TOwned<TIniFile> Ini(Create<TIniFile>(Path(L"p.ini")));
  EXPECT_EQ(Ini->ReadString(Sect, Key, L""), L"\u0434\u0430");
  EXPECT_EQ(Ini->ReadInteger(Sect, L"count", 0), 0x7F);
  // Longer than any fixed buffer.
  EXPECT_EQ(Ini->ReadString(L"Other", L"Long", L""), String(5000, L'w'));
  TOwned<TStringList> S(Create<TStringList>());
  Ini->ReadSections(S.get());
  EXPECT_EQ(Lines(S.get()), (std::vector<String>{Sect, L"Other"}));
  Ini->ReadSection(Sect, S.get());
  EXPECT_EQ(Lines(S.get()), (std::vector<String>{Key, L"Count"}));
  Ini->ReadSectionValues(Sect, S.get());
  EXPECT_EQ(Lines(S.get()), (std::vector<String>{Key + L"=\u0434\u0430", L"Count=127"}));
  EXPECT_TRUE(Ini->SectionExists(L"other"));
  EXPECT_FALSE(Ini->SectionExists(L"Gone"));
  EXPECT_TRUE(Ini->ValueExists(L"Other", L"Long"));
  EXPECT_FALSE(Ini->ValueExists(L"Other", L"Drop"));
  EXPECT_EQ(Ini->ReadString(L"Other", L"Drop", L"dflt"), L"dflt");
}

TEST_F(IniFiles, IniFileWriteFailureRaises) {
  String Bad = Path(L"no-such-dir\\x.ini");
  TOwned<TIniFile> Ini(Create<TIniFile>(Bad));
  try {
    Ini->WriteString(L"S", L"k", L"v");
    Ini->UpdateFile();
    ADD_FAILURE() << "no exception";
  } catch (const EIniFileException& E) {
    EXPECT_EQ(E.Message(), L"Unable to write to " + Bad);
  }
}

}  // namespace
