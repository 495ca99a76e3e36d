#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "CommaLocale.h"
#include "Pelmora.h"
#include "TempFolder.h"

namespace {

// Two items differ only in letter case; the second uses "," and leaves out
// angleSec; a comment and a foreign element sit between them.
const wchar_t ParameterXml[] =
    LR"(<?xml version="1.0" encoding="UTF-8"?>
<Anything>
  <Item Caption="Салехард" xold="12000.5" yold="18000" xnew="1571011.42" ynew="2524384.17"
        angleDeg="0" angleMin="9" angleSec="27.31" scale="1.0000183"
        msk89="8, 1001, &quot;m&quot;, 66.05, 0, 1, 2500000, -5811057.63"
        sk63="8, 1001, &quot;m&quot;, 66.95, 0, 1, 4300000, -9214.69"/>
  <!-- illustrative -->
  <Other Caption="Надым"/>
  <item Caption="САЛЕХАРД" xold="1" yold="2" xnew="3" ynew="4" angleDeg="0" angleMin="0"
        angleSec="0" scale="1" msk89="second"/>
  <ITEM Caption="Новый Уренгой" xold="25000,25" yold="30000" xnew="1520830,51" ynew="4435907,66"
        angleDeg="1" angleMin="30" scale="0,9999874" msk89="8, 1001, &quot;m&quot;, 78.05"/>
  <Item xold="5"/>
</Anything>)";

class ParameterFile : public testing::Test {
 protected:
  void SetUp() override { Doc.LoadFromXML(ParameterXml); }
  IXMLNode xDe() const { return Doc.DocumentElement(); }
  TXMLDocument Doc;
};

TEST_F(ParameterFile, CaptionsOfItemsInFileOrder) {
  std::vector<String> Want = {L"Салехард", L"САЛЕХАРД", L"Новый Уренгой", L""};
  EXPECT_EQ(FormationCaptions(xDe()), Want);
}

TEST_F(ParameterFile, SelectionReadsBothSeparatorsUnderEitherRegionalFormat) {
  auto Check = [&](const char* ALocale) {
    SCOPED_TRACE(ALocale);
    TFormationParams P;
    ASSERT_TRUE(cxComboBox2Click(xDe(), L"салехард", P));
    // The first item whose caption matches without regard to case wins.
    EXPECT_EQ(P.xold, 12000.5);
    EXPECT_EQ(P.yold, 18000);
    EXPECT_EQ(P.xnew, 1571011.42);
    EXPECT_EQ(P.ynew, 2524384.17);
    EXPECT_EQ(P.scale, 1.0000183);
    EXPECT_DOUBLE_EQ(P.angle, 9.0 / 60 + 27.31 / 3600);
    EXPECT_EQ(P.msk89, L"8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63");
    EXPECT_EQ(P.sk63, L"8, 1001, \"m\", 66.95, 0, 1, 4300000, -9214.69");

    ASSERT_TRUE(cxComboBox2Click(xDe(), L"Новый Уренгой", P));
    EXPECT_EQ(P.xold, 25000.25);
    EXPECT_EQ(P.xnew, 1520830.51);
    EXPECT_EQ(P.ynew, 4435907.66);
    EXPECT_EQ(P.scale, 0.9999874);
    // No angleSec: degrees and minutes only.
    EXPECT_DOUBLE_EQ(P.angle, 1.5);
    // No sk63 attribute: an empty text, not the previous formation's.
    EXPECT_EQ(P.sk63, L"");
  };
  Check("regional '.'");
  {
    TCommaLocale Comma;
    GetFormatSettings();
    ASSERT_EQ(FormatSettings().DecimalSeparator, L',');
    Check("regional ','");
  }
  GetFormatSettings();
}

TEST_F(ParameterFile, UnknownCaptionClearsOnlyTheZoneClause) {
  TFormationParams P;
  ASSERT_TRUE(cxComboBox2Click(xDe(), L"Салехард", P));
  EXPECT_FALSE(cxComboBox2Click(xDe(), L"Надым", P));
  EXPECT_EQ(P.msk89, L"");
  EXPECT_EQ(P.xold, 12000.5);
  try {
    RunFormation(xDe(), L"Надым");
    FAIL() << "a formation the file does not hold must not start a run";
  } catch (EFormationError& E) {
    EXPECT_NE(E.Message().find(L"\"Надым\" не найдено"), String::npos) << E.Message();
  }
}

// A number that does not parse names the formation and the attribute and
// leaves the previous formation's values alone.
TEST(ParameterFileRefusal, BadNumbersNameFormationAndAttribute) {
  struct TCase {
    const wchar_t* Attr;
    const wchar_t* Text;  // nullptr: the attribute is left out
  } Cases[] = {{L"xold", L"12a"},          {L"yold", L""},          {L"xnew", L"1 571 011,42"},
               {L"ynew", L"2,524,384.17"}, {L"scale", nullptr},     {L"xold", nullptr},
               {L"angleMin", L"9'"},       {L"angleSec", L"1.2.3"}, {L"angleDeg", L"нуль"}};
  for (const TCase& C : Cases) {
    String Attrs;
    for (const wchar_t* A :
         {L"xold", L"yold", L"xnew", L"ynew", L"scale", L"angleDeg", L"angleMin", L"angleSec"}) {
      String V = L"7";
      if (String(A) == C.Attr) {
        if (!C.Text) continue;
        V = C.Text;
      }
      Attrs += String(L" ") + A + L"=\"" + V + L"\"";
    }
    TXMLDocument Doc;
    Doc.LoadFromXML(L"<R><Item Caption=\"Ямальский район\"" + Attrs + L" msk89=\"m\"/></R>");
    SCOPED_TRACE(Attrs);
    TFormationParams P;
    P.xold = 111;
    P.scale = 2;
    P.sk63 = L"previous";
    try {
      cxComboBox2Click(Doc.DocumentElement(), L"Ямальский район", P);
      ADD_FAILURE() << "accepted";
    } catch (EFormationError& E) {
      EXPECT_NE(E.Message().find(L"\"Ямальский район\""), String::npos) << E.Message();
      EXPECT_NE(E.Message().find(String(L"атрибут ") + C.Attr + L":"), String::npos) << E.Message();
    }
    EXPECT_EQ(P.xold, 111);
    EXPECT_EQ(P.scale, 2);
    EXPECT_EQ(P.sk63, L"previous");
    EXPECT_THROW(RunFormation(Doc.DocumentElement(), L"Ямальский район"), EFormationError);
  }
}

TEST(ParameterFileRefusal, RunRefusesZeroScaleAndMissingZoneClause) {
  TXMLDocument Doc;
  Doc.LoadFromXML(
      L"<R><Item Caption=\"A\" xold=\"1\" yold=\"1\" xnew=\"1\" ynew=\"1\" scale=\"0,0\" "
      L"msk89=\"8, 1001\"/><Item Caption=\"B\" xold=\"1\" yold=\"1\" xnew=\"1\" ynew=\"1\" "
      L"scale=\"1\"/><Item Caption=\"C\" xold=\"1\" yold=\"1\" xnew=\"1\" ynew=\"1\" scale=\"1\" "
      L"msk89=\"8, 1001\"/></R>");
  EXPECT_THROW(RunFormation(Doc.DocumentElement(), L"A"), EFormationError);
  EXPECT_THROW(RunFormation(Doc.DocumentElement(), L"B"), EFormationError);
  EXPECT_EQ(RunFormation(Doc.DocumentElement(), L"c").msk89, L"8, 1001");
}

TEST(ParameterFileSample, EveryFormationOfTheShippedFileStartsARun) {
  String Path = L"Z:" + String(PELMORA_SOURCE_DIR L"/resources/CSYanao.xml");
  for (Char& C : Path)
    if (C == L'/') C = L'\\';
  TXMLDocument Doc;
  Doc.LoadFromFile(Path);
  std::vector<String> Captions = FormationCaptions(Doc.DocumentElement());
  for (const wchar_t* Want : {L"Салехард", L"Новый Уренгой", L"Ноябрьск", L"Надым",
                              L"Тазовский район", L"Ямальский район"})
    EXPECT_NE(std::find(Captions.begin(), Captions.end(), Want), Captions.end()) << Want;
  for (const String& C : Captions) {
    SCOPED_TRACE(C);
    TFormationParams P = RunFormation(Doc.DocumentElement(), C);
    EXPECT_NEAR(P.scale, 1, 1e-4);
    EXPECT_LT(std::fabs(P.angle), 1);
    EXPECT_EQ(DetectInputClass(L"CoordSys Earth Projection " + P.msk89, 0, 0), icEarth5811057);
    EXPECT_EQ(P.sk63.rfind(L"8, ", 0), 0u);
    // The origin of the old system lands on the MSK-89 origin.
    Double E, N;
    TCoordTransform(P).recalcCoord(tsForward, P.yold, P.xold, E, N);
    EXPECT_NEAR(E, P.ynew, 1e-6);
    EXPECT_NEAR(N, P.xnew, 1e-6);
  }
}

TEST(SettingsFile, WrittenInOrderTrimmedAndRestored) {
  TTempFolder Dir(L"настройки");
  String File = Dir.Path() + SettingsFileName;
  TRunSettings S;
  S.InPath = L"  C:\\Данные\\Вход таблиц\\ \r\n";
  S.OutPath = L"D:\\Выход\\";
  S.CS = L" МСК-89 план-схема ";
  S.MO = L"Новый Уренгой";
  S.ShowError = true;
  WriteSettings(File, S);

  TXMLDocument Doc;
  Doc.LoadFromFile(File);
  IXMLNode Root = Doc.DocumentElement();
  EXPECT_EQ(Root.NodeName(), L"CSSettings");
  IXMLNodeList Nodes = Root.ChildNodes();
  ASSERT_EQ(Nodes.Count(), 5);
  const wchar_t* Names[] = {L"InPath", L"OutPath", L"CS", L"MO", L"ShowError"};
  const wchar_t* Texts[] = {L"C:\\Данные\\Вход таблиц\\", L"D:\\Выход\\", L"МСК-89 план-схема",
                            L"Новый Уренгой", L"T"};
  for (Integer I = 0; I < 5; ++I) {
    EXPECT_EQ(Nodes[I].NodeName(), Names[I]);
    EXPECT_EQ(Nodes[I].Text(), Texts[I]);
  }

  TRunSettings R;
  RestoreSettings(File, R);
  EXPECT_EQ(R.InPath, Texts[0]);
  EXPECT_EQ(R.OutPath, Texts[1]);
  EXPECT_EQ(R.CS, Texts[2]);
  EXPECT_EQ(R.MO, Texts[3]);
  EXPECT_TRUE(R.ShowError);

  S.ShowError = false;
  WriteSettings(File, S);
  RestoreSettings(File, R);
  EXPECT_FALSE(R.ShowError);
}

TEST(SettingsFile, RestoreSetsOnlyWhatTheFileHolds) {
  TTempFolder Dir(L"настройки2");
  // Any document element; names without regard to case; the later of two
  // elements wins; "t" ticks; an empty element gives an empty text.
  Dir.Put(L"s.xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?><X><inpath>a</inpath><MO></MO>"
          "<INPATH>\xD0\x92\xD1\x85\xD0\xBE\xD0\xB4</INPATH><Unknown>z</Unknown>"
          "<showerror>t</showerror></X>");
  TRunSettings R;
  R.OutPath = L"kept";
  R.CS = L"kept too";
  R.MO = L"replaced";
  RestoreSettings(Dir.Path() + L"s.xml", R);
  EXPECT_EQ(R.InPath, L"Вход");
  EXPECT_EQ(R.OutPath, L"kept");
  EXPECT_EQ(R.CS, L"kept too");
  EXPECT_EQ(R.MO, L"");
  EXPECT_TRUE(R.ShowError);
}

// A settings file that cannot be read is named, with what is wrong with it,
// and restores nothing.
TEST(SettingsFile, AnEmptyOrBrokenFileIsNamedAndRestoresNothing) {
  TTempFolder Dir(L"настройки3");
  struct TCase {
    const char* Name;
    std::string Text;
    const wchar_t* Says;
  } Cases[] = {{"empty", "", L"пуст"},
               {"not closed", "<X><InPath>a</X>", L"поврежден"},
               {"not XML", "InPath=C:\\", L"поврежден"}};
  for (const TCase& C : Cases) {
    Dir.Put(L"s.xml", C.Text);
    TRunSettings R;
    R.InPath = L"kept";
    try {
      RestoreSettings(Dir.Path() + L"s.xml", R);
      ADD_FAILURE() << C.Name;
    } catch (EConfigFileError& E) {
      EXPECT_EQ(E.Message().find(L"Файл настроек \"" + Dir.Path() + L"s.xml\""), 0u) << E.Message();
      EXPECT_NE(E.Message().find(C.Says), String::npos) << E.Message();
    }
    EXPECT_EQ(R.InPath, L"kept");
  }
}

TEST(SettingsFile, AFileThatCannotBeWrittenIsNamed) {
  TTempFolder Dir(L"настройки4");
  String File = Dir.Path() + L"нет папки\\" + SettingsFileName;
  try {
    WriteSettings(File, TRunSettings{});
    FAIL() << "accepted";
  } catch (EConfigFileError& E) {
    EXPECT_EQ(E.Message().find(L"Не удалось записать файл настроек \"" + File + L"\": "), 0u)
        << E.Message();
  }
  EXPECT_FALSE(Dir.Exists(L"нет папки"));
}

TEST(SettingsFile, MissingParameterFileMessage) {
  EXPECT_EQ(MissingParameterFileMessage(L"C:\\Программа\\CSYanao.xml"),
            L"Не найден файл параметров \"C:\\Программа\\CSYanao.xml\".");
}

// A parameter file that cannot be used is named, with what is wrong, instead
// of the parser's bare words at start-up and a failure when the run starts.
TEST(ParameterFileRefusal, MissingEmptyBrokenOrEmptyOfFormations) {
  TTempFolder Dir(L"параметры");
  struct TCase {
    const char* Name;
    const char* Text;  // null: no file
    const wchar_t* Says;
  } Cases[] = {{"missing", nullptr, L"не найден"},
               {"empty", "", L"пуст"},
               {"not closed", "<Root><Item Caption=\"a\"></Root>", L"поврежден"},
               {"plain text", "Салехард 12000 18000", L"поврежден"},
               {"no formations", "<Root><Other Caption=\"a\"/></Root>", L"нет ни одного"}};
  for (const TCase& C : Cases) {
    String File = Dir.Path() + L"CSYanao.xml";
    DeleteFileW(File.c_str());
    if (C.Text) Dir.Put(L"CSYanao.xml", C.Text);
    TXMLDocument Doc;
    try {
      LoadParameterFile(Doc, File);
      ADD_FAILURE() << C.Name;
    } catch (EConfigFileError& E) {
      EXPECT_NE(E.Message().find(L"\"" + File + L"\""), String::npos) << E.Message();
      EXPECT_NE(E.Message().find(C.Says), String::npos) << E.Message();
    }
  }
  Dir.Put(L"CSYanao.xml", "<Root><Item Caption=\"a\"/></Root>");
  TXMLDocument Doc;
  LoadParameterFile(Doc, Dir.Path() + L"CSYanao.xml");
  EXPECT_EQ(FormationCaptions(Doc.DocumentElement()), std::vector<String>{L"a"});
}

// Of two items with one caption, the one the user chose in the list counts;
// the file is reported when it is read.
TEST(ParameterFileDuplicates, TheChosenItemCountsAndTheFileIsReported) {
  TXMLDocument Doc;
  Doc.LoadFromXML(
      LR"(<Root>
  <Item Caption="Надым" xold="1000" yold="2000" xnew="3" ynew="4" scale="1" msk89="a"/>
  <Item Caption="Тазовский" xold="5" yold="6" xnew="7" ynew="8" scale="1" msk89="b"/>
  <Item Caption="Надым" xold="101000" yold="2000" xnew="3" ynew="4" scale="1" msk89="c"/>
  <Item Caption="надым" xold="7" yold="2000" xnew="3" ynew="4" scale="1" msk89="d"/>
</Root>)");
  IXMLNode xDe = Doc.DocumentElement();
  struct TCase {
    const wchar_t* Caption;
    Integer Index;
    Double xold;
    const wchar_t* msk89;
  } Cases[] = {
      {L"Надым", 0, 1000, L"a"},
      {L"Надым", 2, 101000, L"c"},
      {L"надым", 3, 7, L"d"},
      // A caption that is not the item's at that index (typed, restored)
      // takes the first item of that caption.
      {L"Надым", 1, 1000, L"a"},
      {L"Надым", -1, 1000, L"a"},
      {L"Тазовский", 1, 5, L"b"},
  };
  for (const TCase& C : Cases) {
    TFormationParams P;
    ASSERT_TRUE(cxComboBox2Click(xDe, C.Caption, P, C.Index)) << C.Index;
    EXPECT_EQ(P.xold, C.xold) << C.Index;
    EXPECT_EQ(P.msk89, C.msk89) << C.Index;
    EXPECT_EQ(RunFormation(xDe, C.Caption, C.Index).xold, C.xold) << C.Index;
  }
  String Message = DuplicateCaptionsMessage(FormationCaptions(xDe), L"C:\\p\\CSYanao.xml");
  EXPECT_NE(Message.find(L"\"C:\\p\\CSYanao.xml\""), String::npos) << Message;
  EXPECT_NE(Message.find(L"\"Надым\" (элементы Item № 1, 3, 4)"), String::npos) << Message;
  EXPECT_EQ(Message.find(L"Тазовский"), String::npos) << Message;
  EXPECT_EQ(DuplicateCaptionsMessage({L"a", L"b", L"c"}, L"f"), L"");
}

}  // namespace
