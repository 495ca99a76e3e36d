// The main window read from its form resource, under Xvfb: start-up with and
// without the parameter file, settings restored, the input messages, the
// folder picker and the log lines.
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "NoteAnswerer.h"
#include "Pelmora.h"
#include "TempFolder.h"

namespace {

class TMainFormEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    Forms_Initialize();
    Application()->Initialize();
    StdCtrls_Initialize();
    ComCtrls_Initialize();
    Dialogs_Initialize();
    gkCommon_Initialize();
    RegisterClasses({TForm1::StaticClass()});
  }
};
const testing::Environment* const Env = testing::AddGlobalTestEnvironment(new TMainFormEnvironment);

String ExeFolder() { return ExtractFilePath(Application()->ExeName()); }
String ParameterFile() { return ExeFolder() + ParameterFileName; }
String SettingsFile() { return GetIniPath() + L"qeDefaults\\" + SettingsFileName; }

struct MainForm : testing::Test {
  TOwned<TForm1> Form;
  // Other suites of the executable start and shut down the common module
  // (its shared fonts) around their tests.
  void SetUp() override { gkCommon_Initialize(); }
  void TearDown() override {
    Form.reset();
    DeleteFileW(ParameterFile().c_str());
    DeleteFileW(SettingsFile().c_str());
  }
  void InstallParameterFile() {
    ASSERT_TRUE(CopyFileW((String(PELMORA_SOURCE_DIR) + L"\\resources\\CSYanao.xml").c_str(),
                          ParameterFile().c_str(), FALSE));
  }
  void CreateForm() { Form.reset(Create<TForm1>(nullptr)); }
};

TEST_F(MainForm, WithoutTheParameterFileTheUserIsToldAndNothingIsRestored) {
  DeleteFileW(ParameterFile().c_str());
  ForceDirectories(ExtractFilePath(SettingsFile()));
  TRunSettings S;
  S.InPath = L"C:\\in\\";
  WriteSettings(SettingsFile(), S);
  TNoteAnswerer OK(L"OK");
  CreateForm();
  EXPECT_EQ(OK.MessageText, L"Не найден файл параметров \"" + ParameterFile() + L"\".");
  EXPECT_EQ(Form->cxComboBox2->Items()->Count(), 0);
  EXPECT_EQ(Form->cxComboBox1->Text(), L"МСК-89 географическая");
  EXPECT_EQ(Trim(Form->Memo1->Text()), L"");
  // The per-user folder is made on the first start.
  EXPECT_TRUE(DirectoryExists(GetIniPath() + L"qeDefaults"));
}

TEST_F(MainForm, StartUpFillsTheFormationsAndRestoresTheSettings) {
  InstallParameterFile();
  TRunSettings S{L"C:\\Данные\\вход\\", L"C:\\выход\\", L"МСК-89 план-схема", L"Надым", true};
  ForceDirectories(ExtractFilePath(SettingsFile()));
  WriteSettings(SettingsFile(), S);
  CreateForm();
  EXPECT_GT(Form->cxComboBox2->Items()->Count(), 3);
  EXPECT_EQ(Trim(Form->Memo1->Text()), S.InPath);
  EXPECT_EQ(Trim(Form->Memo2->Text()), S.OutPath);
  EXPECT_EQ(Form->cxComboBox1->ItemIndex(), tcMsk89Plan);
  EXPECT_EQ(Form->cxComboBox2->Text(), L"Надым");
  EXPECT_TRUE(Form->CheckBox1->Checked());
  // The parameters follow the restored formation.
  TFormationParams Expected;
  ::cxComboBox2Click(Form->xDe(), L"Надым", Expected);
  EXPECT_EQ(Form->Params().msk89, Expected.msk89);
  EXPECT_EQ(Form->Params().xnew, Expected.xnew);
}

TEST_F(MainForm, EachInputMessageStopsTheRunBeforeAnythingIsWritten) {
  InstallParameterFile();
  CreateForm();
  TTempFolder In(L"mainform-in");
  struct Case {
    String InPath, OutPath;
    Integer Target;
    String Message;
  } Cases[] = {
      {L"", L"C:\\out\\", 1, L"Не указана входная папка."},
      {In.Path(), L"  ", 1, L"Не указана выходная папка."},
      {In.Path(), L"C:\\out\\", -1, L"Недозволенная выходная система координат."},
  };
  for (const Case& C : Cases) {
    DeleteFileW(SettingsFile().c_str());
    Form->Memo1->SetText(C.InPath);
    Form->Memo2->SetText(C.OutPath);
    Form->cxComboBox1->SetItemIndex(C.Target);
    TNoteAnswerer OK(L"OK");
    Form->cxButton1Click(Form->cxButton1);
    EXPECT_EQ(OK.MessageText, C.Message);
    EXPECT_FALSE(FileExists(SettingsFile())) << C.Message;
  }
  // A run into its own input folder is refused as well.
  Form->Memo1->SetText(In.Path());
  Form->Memo2->SetText(In.Path());
  Form->cxComboBox1->SetItemIndex(1);
  TNoteAnswerer OK(L"OK");
  Form->cxButton1Click(Form->cxButton1);
  EXPECT_FALSE(OK.MessageText.empty());
  EXPECT_EQ(Form->RichEdit1->Lines()->Count(), 0);
}

TEST_F(MainForm, AnEmptyInputFolderLogsNoRasters) {
  InstallParameterFile();
  CreateForm();
  TTempFolder In(L"mainform-in"), Out(L"mainform-out");
  Form->Memo1->SetText(In.Path());
  Form->Memo2->SetText(Out.Path());
  Form->cxButton1Click(Form->cxButton1);
  ASSERT_EQ(Form->RichEdit1->Lines()->Count(), 2);
  EXPECT_EQ(Form->RichEdit1->Lines()->Strings(0), L"Нет растров");
  EXPECT_EQ(Form->RichEdit1->Lines()->Strings(1), RunFinishedLine);
  // The settings are written at every run, trimmed.
  TRunSettings Back;
  RestoreSettings(SettingsFile(), Back);
  EXPECT_EQ(Back.InPath, Trim(In.Path()));
  EXPECT_EQ(Back.CS, L"МСК-89 географическая");
}

TEST_F(MainForm, LogLinesAppendAndTheScrolledOneMovesTheCaretToTheEnd) {
  InstallParameterFile();
  CreateForm();
  Form->Show();
  Form->LogLine(L"первая");
  Form->LogScrolled(L"вторая");
  ASSERT_EQ(Form->RichEdit1->Lines()->Count(), 2);
  EXPECT_EQ(Form->RichEdit1->Lines()->Strings(1), L"вторая");
  EXPECT_EQ(Form->RichEdit1->SelStart(), Form->RichEdit1->GetTextLen());
  Form->Hide();
}

// Answers the platform's file dialog: types a name and presses OK, or
// cancels when the name is empty.
class TFileDialogAnswerer {
 public:
  explicit TFileDialogAnswerer(const String& AFileName) : FFileName(AFileName) {
    FTimer.reset(Create<TTimer>(nullptr));
    FTimer->SetInterval(50);
    FTimer->SetOnTimer(MakeEvent<&TFileDialogAnswerer::Tick>(this));
  }
  String Title;
  String FileType;  // the first entry of the file type list

 private:
  static BOOL CALLBACK Find(HWND Wnd, LPARAM Param) {
    if (IsWindowVisible(Wnd) && GetClassString(Wnd) == L"#32770") {
      *reinterpret_cast<HWND*>(Param) = Wnd;
      return FALSE;
    }
    return TRUE;
  }
  void Tick(TObject*) {
    HWND Dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&Dialog));
    if (!Dialog) return;
    FTimer->SetEnabled(false);
    Title = GetWindowString(Dialog);
    HWND Types = GetDlgItem(Dialog, 0x470);
    wchar_t Type[256] = {};
    if (Types && SendMessageW(Types, CB_GETLBTEXTLEN, 0, 0) < 256)
      SendMessageW(Types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(Type));
    FileType = Type;
    if (FFileName.empty()) {
      PostMessageW(Dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    // The file name box of the explorer-style dialog (edt1 or cmb13).
    HWND Name = GetDlgItem(Dialog, 0x480);
    if (!Name) Name = GetDlgItem(Dialog, 0x47C);
    SetWindowTextW(Name, FFileName.c_str());
    PostMessageW(Dialog, WM_COMMAND, IDOK, 0);
  }
  String FFileName;
  TOwned<TTimer> FTimer;
};

TEST_F(MainForm, TheInputFolderPickerGivesTheFolderWithItsSeparator) {
  InstallParameterFile();
  CreateForm();
  TTempFolder In(L"mainform-pick");
  String Table = IncludeTrailingPathDelimiter(In.Path()) + L"roads.tab";
  HANDLE H = CreateFileW(Table.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(H);
  TFileDialogAnswerer Answer(Table);
  Form->cxButton2Click(Form->cxButton2);
  EXPECT_EQ(Answer.Title, L"Выберите любую таблицу во входной папке");
  EXPECT_EQ(Form->Memo1->Text(), IncludeTrailingPathDelimiter(In.Path()));
}

TEST_F(MainForm, TheOutputFolderPickerGivesTheFolderAndWritesNothing) {
  InstallParameterFile();
  CreateForm();
  TTempFolder Out(L"mainform-pick-out");
  String Chosen = Out.Path() + L"любой.txt";
  TFileDialogAnswerer Answer(Chosen);
  Form->cxButton3Click(Form->cxButton3);
  EXPECT_EQ(Answer.Title, L"Выберите любой файл в выходной папке");
  EXPECT_EQ(Answer.FileType, L"Все файлы");
  EXPECT_EQ(Form->Memo2->Text(), Out.Path());
  EXPECT_FALSE(FileExists(Chosen));
}

TEST_F(MainForm, ACancelledPickerLeavesItsFieldUnchanged) {
  InstallParameterFile();
  CreateForm();
  Form->Memo1->SetText(L"C:\\вход\\");
  Form->Memo2->SetText(L"C:\\выход\\");
  struct Case {
    TButton* Button;
    TMemo* Field;
    String Text;
  } Cases[] = {{Form->cxButton2, Form->Memo1, L"C:\\вход\\"},
               {Form->cxButton3, Form->Memo2, L"C:\\выход\\"}};
  for (const Case& C : Cases) {
    TFileDialogAnswerer Cancel(L"");
    C.Button->Click();
    EXPECT_FALSE(Cancel.Title.empty());
    EXPECT_EQ(C.Field->Text(), C.Text);
  }
}

// A formation whose number does not read is named with its attribute, at
// start-up and when a run is asked for, and no run starts with it.
TEST_F(MainForm, AFormationWithABadNumberIsNamedAndRefusesTheRun) {
  struct Case {
    const char* Attributes;
    const wchar_t* Attribute;
  } Cases[] = {
      {"xold=\"12a\" yold=\"1\" xnew=\"2\" ynew=\"3\" scale=\"1\"", L"xold"},
      {"xold=\"1\" yold=\"1\" xnew=\"2\" ynew=\"3\" scale=\"1,0,0\"", L"scale"},
      {"xold=\"1\" yold=\"1\" xnew=\"2\" ynew=\"3\" scale=\"1\" angleMin=\"x\"", L"angleMin"},
  };
  TTempFolder In(L"mainform-bad-in"), Out(L"mainform-bad-out"), Exe(L"mainform-bad-xml");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Attributes);
    Exe.Put(L"CSYanao.xml", std::string("<Root><Item Caption=\"Тестовый\" ") + C.Attributes +
                                " msk89=\"8, 1001, 7\" sk63=\"8, 1001, 7\"/></Root>");
    ASSERT_TRUE(CopyFileW((Exe.Path() + L"CSYanao.xml").c_str(), ParameterFile().c_str(), FALSE));
    DeleteFileW(SettingsFile().c_str());
    {
      TNoteAnswerer AtStartUp(L"OK");
      CreateForm();
      EXPECT_NE(AtStartUp.MessageText.find(L"Тестовый"), String::npos) << AtStartUp.MessageText;
      EXPECT_NE(AtStartUp.MessageText.find(C.Attribute), String::npos) << AtStartUp.MessageText;
    }
    Form->Memo1->SetText(In.Path());
    Form->Memo2->SetText(Out.Path());
    TNoteAnswerer AtRun(L"OK");
    Form->cxButton1Click(Form->cxButton1);
    EXPECT_NE(AtRun.MessageText.find(L"Тестовый"), String::npos) << AtRun.MessageText;
    EXPECT_NE(AtRun.MessageText.find(C.Attribute), String::npos) << AtRun.MessageText;
    EXPECT_EQ(Form->RichEdit1->Lines()->Count(), 0);
    EXPECT_FALSE(FileExists(SettingsFile()));
    Form.reset();
  }
}

TEST_F(MainForm, EveryRunWritesTheSettingsTrimmed) {
  InstallParameterFile();
  CreateForm();
  TTempFolder In(L"mainform-set-in"), Out(L"mainform-set-out");
  struct Case {
    Integer Target, Formation;
    bool ShowError;
  } Cases[] = {{0, 1, true}, {2, 0, false}};
  for (const Case& C : Cases) {
    Form->Memo1->SetText(L"  " + In.Path() + L" \r\n");
    Form->Memo2->SetText(L"\t" + Out.Path() + L"  ");
    Form->cxComboBox1->SetItemIndex(C.Target);
    Form->cxComboBox2->SetItemIndex(C.Formation);
    Form->CheckBox1->SetChecked(C.ShowError);
    Form->cxButton1Click(Form->cxButton1);
    TRunSettings Back;
    RestoreSettings(SettingsFile(), Back);
    EXPECT_EQ(Back.InPath, In.Path());
    EXPECT_EQ(Back.OutPath, Out.Path());
    EXPECT_EQ(Back.CS, Form->cxComboBox1->Items()->Strings(C.Target));
    EXPECT_EQ(Back.MO, Form->cxComboBox2->Items()->Strings(C.Formation));
    EXPECT_EQ(Back.ShowError, C.ShowError);
  }
}

TEST_F(MainForm, TheDiagnosticsFlagIsRestoredWithoutRegardToCase) {
  InstallParameterFile();
  ForceDirectories(ExtractFilePath(SettingsFile()));
  struct Case {
    const char* Text;
    bool Checked;
  } Cases[] = {{"t", true}, {"T", true}, {"F", false}, {"", false}, {"True", false}};
  for (const Case& C : Cases) {
    TTempFolder Xml(L"mainform-flag");
    Xml.Put(SettingsFileName,
            std::string("<CSSettings><ShowError>") + C.Text + "</ShowError></CSSettings>");
    ASSERT_TRUE(CopyFileW((Xml.Path() + SettingsFileName).c_str(), SettingsFile().c_str(), FALSE));
    CreateForm();
    EXPECT_EQ(Form->CheckBox1->Checked(), C.Checked) << C.Text;
  }
}

// A parameter file that cannot be read is named at start-up, and a run is
// refused with words a user can act on instead of failing inside.
TEST_F(MainForm, ABrokenParameterFileIsNamedAndRefusesTheRun) {
  TTempFolder In(L"mainform-broken-in"), Out(L"mainform-broken-out"), Xml(L"mainform-broken");
  for (const char* Text : {"", "<Root><Item Caption=\"a\"></Root>"}) {
    SCOPED_TRACE(Text);
    Xml.Put(L"CSYanao.xml", Text);
    ASSERT_TRUE(CopyFileW((Xml.Path() + L"CSYanao.xml").c_str(), ParameterFile().c_str(), FALSE));
    DeleteFileW(SettingsFile().c_str());
    {
      TNoteAnswerer AtStartUp(L"OK");
      CreateForm();
      EXPECT_NE(AtStartUp.MessageText.find(L"Файл параметров \"" + ParameterFile() + L"\""),
                String::npos)
          << AtStartUp.MessageText;
    }
    EXPECT_EQ(Form->cxComboBox2->Items()->Count(), 0);
    Form->Memo1->SetText(In.Path());
    Form->Memo2->SetText(Out.Path());
    TNoteAnswerer AtRun(L"OK");
    Form->cxButton1Click(Form->cxButton1);
    EXPECT_NE(AtRun.MessageText.find(L"не загружен файл параметров \"" + ParameterFile() + L"\""),
              String::npos)
        << AtRun.MessageText;
    EXPECT_FALSE(FileExists(SettingsFile()));
    EXPECT_EQ(Form->RichEdit1->Lines()->Count(), 0);
    Form.reset();
  }
}

// A settings file that cannot be read is named; the window opens with the
// formations all the same.
TEST_F(MainForm, ABrokenSettingsFileIsNamedAndTheWindowOpens) {
  InstallParameterFile();
  ForceDirectories(ExtractFilePath(SettingsFile()));
  TTempFolder Xml(L"mainform-broken-settings");
  Xml.Put(SettingsFileName, "<CSSettings><InPath>C:\\a</CSSettings>");
  ASSERT_TRUE(CopyFileW((Xml.Path() + SettingsFileName).c_str(), SettingsFile().c_str(), FALSE));
  TNoteAnswerer OK(L"OK");
  CreateForm();
  EXPECT_NE(OK.MessageText.find(L"Файл настроек \"" + SettingsFile() + L"\""), String::npos)
      << OK.MessageText;
  EXPECT_GT(Form->cxComboBox2->Items()->Count(), 3);
  EXPECT_EQ(Trim(Form->Memo1->Text()), L"");
}

// Two formations of one caption: the file is reported at start-up, and the
// one the user picks is the one whose parameters the window holds.
TEST_F(MainForm, DuplicateCaptionsAreReportedAndTheChosenOneCounts) {
  TTempFolder Xml(L"mainform-dup");
  Xml.Put(L"CSYanao.xml",
          "<Root><Item Caption=\"Надым\" xold=\"1000\" yold=\"2\" xnew=\"3\" ynew=\"4\" "
          "scale=\"1\" msk89=\"a\"/><Item Caption=\"Надым\" xold=\"101000\" yold=\"2\" "
          "xnew=\"3\" ynew=\"4\" scale=\"1\" msk89=\"b\"/></Root>");
  ASSERT_TRUE(CopyFileW((Xml.Path() + L"CSYanao.xml").c_str(), ParameterFile().c_str(), FALSE));
  DeleteFileW(SettingsFile().c_str());
  {
    TNoteAnswerer Warning(L"OK");
    CreateForm();
    EXPECT_NE(Warning.MessageText.find(L"\"Надым\""), String::npos) << Warning.MessageText;
    EXPECT_NE(Warning.MessageText.find(ParameterFile()), String::npos) << Warning.MessageText;
  }
  ASSERT_EQ(Form->cxComboBox2->Items()->Count(), 2);
  EXPECT_EQ(Form->Params().xold, 1000);
  Form->cxComboBox2->SetItemIndex(1);
  Form->cxComboBox2Click(Form->cxComboBox2);
  EXPECT_EQ(Form->Params().xold, 101000);
  EXPECT_EQ(Form->Params().msk89, L"b");
}

}  // namespace
