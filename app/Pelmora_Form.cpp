// The main window: start-up, folder pickers, log lines, the log pane's
// context menu and the run.
#include "Pelmora.h"

#include "gkCommon.h"

TForm1* Form1 = nullptr;

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TForm1) {
  P.Field<&TForm1::OpenDialog1>(L"OpenDialog1");
  P.Field<&TForm1::Memo1>(L"Memo1");
  P.Field<&TForm1::cxButton1>(L"cxButton1");
  P.Field<&TForm1::RichEdit1>(L"RichEdit1");
  P.Field<&TForm1::Memo2>(L"Memo2");
  P.Field<&TForm1::cxComboBox1>(L"cxComboBox1");
  P.Field<&TForm1::cxComboBox2>(L"cxComboBox2");
  P.Field<&TForm1::cxButton2>(L"cxButton2");
  P.Field<&TForm1::cxButton3>(L"cxButton3");
  P.Field<&TForm1::SaveDialog1>(L"SaveDialog1");
  P.Field<&TForm1::CheckBox1>(L"CheckBox1");
  P.Method<&TForm1::FormCreate>(L"FormCreate");
  P.Method<&TForm1::cxButton1Click>(L"cxButton1Click");
  P.Method<&TForm1::cxButton2Click>(L"cxButton2Click");
  P.Method<&TForm1::cxButton3Click>(L"cxButton3Click");
  P.Method<&TForm1::cxComboBox2Click>(L"cxComboBox2Click");
  P.Method<&TForm1::RichEdit1ContextPopup>(L"RichEdit1ContextPopup");
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {}

TForm1::~TForm1() = default;

namespace {
void ShowInformation(const String& AText) { Note(AText, mtInformation, {mbOK}, mbOK); }
}  // namespace

void TForm1::FormCreate(TObject*) {
  FTempPath = AddSlash(GetTempPath2(), L'\\');
  FAppPath = ExtractFilePath(Application()->ExeName());
  FMyDocPath = GetIniPath() + L"qeDefaults\\";
  if (!DirectoryExists(FMyDocPath)) ForceDirectories(FMyDocPath);
  FParameterFile = FAppPath + ParameterFileName;
  String SettingsFile = FMyDocPath + SettingsFileName;
  if (!FileExists(FParameterFile)) {
    ShowInformation(MissingParameterFileMessage(FParameterFile));
    return;
  }
  auto Doc = MakeOwned<TXMLDocument>();
  try {
    LoadParameterFile(*Doc, FParameterFile);
  } catch (EConfigFileError& E) {
    // Without formations nothing can be recalculated; the run says so too.
    Note(E.Message(), mtError, {mbOK}, mbOK);
    return;
  }
  FDoc = std::move(Doc);
  FDe = FDoc->DocumentElement();
  cxComboBox2->Items()->Clear();
  std::vector<String> Captions = FormationCaptions(FDe);
  for (const String& Caption : Captions) cxComboBox2->Items()->Add(Caption);
  String Duplicates = DuplicateCaptionsMessage(Captions, FParameterFile);
  if (!Duplicates.empty()) Note(Duplicates, mtWarning, {mbOK}, mbOK);
  // Choosing the first item is the list's click when it changes the index,
  // and the formation is loaded once more after it.
  Integer Before = cxComboBox2->ItemIndex();
  cxComboBox2->SetItemIndex(0);
  if (cxComboBox2->ItemIndex() != Before) cxComboBox2Click(cxComboBox2);
  cxComboBox2Click(cxComboBox2);
  if (FileExists(SettingsFile)) {
    try {
      RestoreControls(SettingsFile);
    } catch (EConfigFileError& E) {
      // The next run writes the file again.
      Note(E.Message() + L" Поля окна не восстановлены.", mtWarning, {mbOK}, mbOK);
    }
  }
}

void TForm1::RestoreControls(const String& ASettingsFile) {
  // A control whose element the file lacks keeps its text as it is.
  TRunSettings S{Memo1->Text(), Memo2->Text(), cxComboBox1->Text(), cxComboBox2->Text(),
                 CheckBox1->Checked()};
  RestoreSettings(ASettingsFile, S);
  Memo1->SetText(S.InPath);
  Memo2->SetText(S.OutPath);
  cxComboBox1->SetText(S.CS);
  String OldMO = cxComboBox2->Text();
  cxComboBox2->SetText(S.MO);
  // The restored formation's parameters follow the combo box's text.
  if (cxComboBox2->Text() != OldMO) cxComboBox2Click(cxComboBox2);
  CheckBox1->SetChecked(S.ShowError);
}

TRunSettings TForm1::CurrentSettings() {
  TRunSettings S;
  S.InPath = Trim(Memo1->Text());
  S.OutPath = Trim(Memo2->Text());
  S.CS = Trim(cxComboBox1->Text());
  S.MO = Trim(cxComboBox2->Text());
  S.ShowError = CheckBox1->Checked();
  return S;
}

void TForm1::cxComboBox2Click(TObject*) {
  if (!FDe) return;
  try {
    ::cxComboBox2Click(FDe, cxComboBox2->Text(), FParams, cxComboBox2->ItemIndex());
    FShownFormationError.clear();
  } catch (EFormationError& E) {
    // The user learns which formation and attribute is wrong; the run
    // refuses the formation until the file is mended. Loading the same
    // formation again repeats nothing.
    if (E.Message() == FShownFormationError) return;
    FShownFormationError = E.Message();
    Note(E.Message(), mtError, {mbOK}, mbOK);
  }
}

void TForm1::cxButton2Click(TObject*) {
  OpenDialog1->SetTitle(L"Выберите любую таблицу во входной папке");
  OpenDialog1->SetFilter(L"Таблицы MapInfo|*.tab");
  if (OpenDialog1->Execute()) Memo1->SetText(ExtractFilePath(OpenDialog1->FileName()));
}

void TForm1::cxButton3Click(TObject*) {
  SaveDialog1->SetTitle(L"Выберите любой файл в выходной папке");
  SaveDialog1->SetFilter(L"Все файлы|*.*");
  if (SaveDialog1->Execute()) Memo2->SetText(ExtractFilePath(SaveDialog1->FileName()));
}

void TForm1::RichEdit1ContextPopup(TObject*, TPoint, bool& Handled) {
  RichEditPopupMenu(RichEdit1);
  Handled = true;
}

void TForm1::LogLine(const String& AText) { RichEdit1->Lines()->Add(AText); }

void TForm1::LogScrolled(const String& AText) {
  RichEdit1->Lines()->Add(AText);
  RichEdit1->SetFocus();
  RichEdit1->SetSelStart(RichEdit1->GetTextLen());
  SendMessageW(RichEdit1->Handle(), EM_SCROLLCARET, 0, 0);
}

namespace {
// Windows keeps the edit control's menu as resource 1 of user32 with Undo as
// WM_UNDO; Wine names it "EDITMENU" and gives Undo the number of EM_UNDO.
constexpr UINT IdmUndo = 772;
constexpr UINT IdmUndoWine = EM_UNDO;

HMENU LoadEditMenu(HMODULE ALib) {
  HMENU Menu = LoadMenuW(ALib, MAKEINTRESOURCEW(1));
  return Menu ? Menu : LoadMenuW(ALib, L"EDITMENU");
}
}  // namespace

void RichEditPopupMenu(TCustomRichEdit* re) {
  static const UINT Enables[2] = {MF_GRAYED | MF_DISABLED, MF_ENABLED};
  HMODULE Lib = LoadLibraryExW(L"user32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!Lib) return;
  HMENU Menu = LoadEditMenu(Lib);
  if (!Menu) {
    FreeLibrary(Lib);
    return;
  }
  HMENU Popup = GetSubMenu(Menu, 0);
  bool HasSelection = !re->SelText().empty();
  EnableMenuItem(Popup, IdmUndo, Enables[re->CanUndo()]);
  EnableMenuItem(Popup, IdmUndoWine, Enables[re->CanUndo()]);
  EnableMenuItem(Popup, 768, Enables[HasSelection]);
  EnableMenuItem(Popup, 769, Enables[HasSelection]);
  EnableMenuItem(Popup, 770, Enables[IsClipboardFormatAvailable(CF_TEXT) != 0]);
  EnableMenuItem(Popup, 771, Enables[HasSelection]);
  EnableMenuItem(Popup, 177, Enables[re->GetTextLen() != 0]);
  POINT Pt;
  GetCursorPos(&Pt);
  TCustomForm* Form = re->GetParentForm();
  HWND Owner = Form ? Form->Handle() : re->Handle();
  UINT Command = static_cast<UINT>(TrackPopupMenu(
      Popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, Pt.x, Pt.y, 0, Owner, nullptr));
  switch (Command) {
    case 177:
      re->SelectAll();
      break;
    case 768:
      re->CutToClipboard();
      break;
    case 769:
      re->CopyToClipboard();
      break;
    case 770:
      re->PasteFromClipboard();
      break;
    case 771:
      re->ClearSelection();
      break;
    case IdmUndo:
    case IdmUndoWine:
      re->Undo();
      break;
    default:
      break;
  }
  DestroyMenu(Menu);
  FreeLibrary(Lib);
}

void TForm1::RunLog(const String& AText, Boolean AScrolled) {
  if (AScrolled)
    LogScrolled(AText);
  else
    LogLine(AText);
}

void TForm1::RunHeader(const String& AText) {
  if (FProgress) FProgress->SetText(String(), String(), AText, String());
}

// The progress window of each phase, with cancellation.
class TForm1::TFormProgress : public TRunProgress {
 public:
  explicit TFormProgress(TForm1& AForm) : FForm(AForm) {}
  void Open(const String& ACaption, Int64 AMax) override {
    FForm.FProgress.reset(Create<TgkProgress>(nullptr));
    FForm.FProgress->SetCanDoCancel(true);
    FForm.FProgress->SetAbortOnCancel(true);
    FForm.FProgress->Open(String(), String(), String(), ACaption, 0);
    FForm.FProgress->SetMax(AMax);
  }
  void Next(const String& APath) override {
    FForm.FProgress->Next(String(), APath, String(), String(), 1);
  }
  void SetMax(Int64 AMax) override { FForm.FProgress->SetMax(AMax); }
  void Close() override { FForm.FProgress.reset(); }

 private:
  TForm1& FForm;
};

void TForm1::cxButton1Click(TObject*) {
  Integer OutCs = cxComboBox1->ItemIndex();
  TRunCheck Check = CheckRunInputs(Memo1->Text(), Memo2->Text(), OutCs);
  if (Check != TRunCheck::rcOk) {
    ShowInformation(RunCheckMessage(Check));
    return;
  }
  if (!FDe) {
    Note(L"Пересчет невозможен: не загружен файл параметров \"" + FParameterFile +
             L"\" с муниципальными образованиями.",
         mtError, {mbOK}, mbOK);
    return;
  }
  // A formation whose parameters do not read is refused before anything
  // is written.
  TFormationParams Params;
  try {
    Params = RunFormation(FDe, cxComboBox2->Text(), cxComboBox2->ItemIndex());
  } catch (EFormationError& E) {
    Note(E.Message(), mtError, {mbOK}, mbOK);
    return;
  }
  WriteSettings(FMyDocPath + SettingsFileName, CurrentSettings());
  String InDir = RunFolder(Memo1->Text());
  String OutDir = RunFolder(Memo2->Text());
  std::vector<String> files;
  GetFiles(InDir, files);
  String Refusal = CheckOutputPaths(files, InDir, OutDir);
  if (!Refusal.empty()) {
    ShowInformation(Refusal);
    return;
  }
  RichEdit1->Clear();

  TVectorRun Run;
  Run.InDir = InDir;
  Run.OutDir = OutDir;
  Run.TempPath = FTempPath;
  Run.OutCs = OutCs;
  Run.Params = Params;
  Run.Formation = cxComboBox2->Text();
  Run.Diagnostics = CheckBox1->Checked();
  Run.OnLog = MakeEvent<&TForm1::RunLog>(this);
  Run.OnHeader = MakeEvent<&TForm1::RunHeader>(this);
  TMitabFeatureCounter Counter(FAppPath + MitabLibraryName);
  TMapInfoFactory Gis;
  TFormProgress Progress(*this);
  RunTables(files, Run, Counter, Gis, Progress);
}
