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
  EXPECT_EQ(OK.MessageText, L"Не найден файл настроек \"" + ParameterFile() + L"\".");
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
  ASSERT_EQ(Form->RichEdit1->Lines()->Count(), 1);
  EXPECT_EQ(Form->RichEdit1->Lines()->Strings(0), L"Нет растров");
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

// Answers the platform's file dialog: types a name and presses OK.
class TFileDialogAnswerer {
 public:
  explicit TFileDialogAnswerer(const String& AFileName) : FFileName(AFileName) {
    FTimer.reset(Create<TTimer>(nullptr));
    FTimer->SetInterval(50);
    FTimer->SetOnTimer(MakeEvent<&TFileDialogAnswerer::Tick>(this));
  }
  String Title;

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

}  // namespace
