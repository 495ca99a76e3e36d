#include "Dialogs.h"

#include <algorithm>

#include "Forms.h"

namespace {

const wchar_t* const OpenOptionNames[] = {L"ofReadOnly",
                                          L"ofOverwritePrompt",
                                          L"ofHideReadOnly",
                                          L"ofNoChangeDir",
                                          L"ofShowHelp",
                                          L"ofNoValidate",
                                          L"ofAllowMultiSelect",
                                          L"ofExtensionDifferent",
                                          L"ofPathMustExist",
                                          L"ofFileMustExist",
                                          L"ofCreatePrompt",
                                          L"ofShareAware",
                                          L"ofNoReadOnlyReturn",
                                          L"ofNoTestFileCreate",
                                          L"ofNoNetworkButton",
                                          L"ofNoLongNames",
                                          L"ofOldStyleDialog",
                                          L"ofNoDereferenceLinks",
                                          L"ofEnableIncludeNotify",
                                          L"ofEnableSizing",
                                          L"ofDontAddToRecent",
                                          L"ofForceShowHidden"};
const TEnumInfo OpenOptionInfo = MakeEnumInfo(L"TOpenOption", OpenOptionNames);

const DWORD OptionFlags[] = {OFN_READONLY,
                             OFN_OVERWRITEPROMPT,
                             OFN_HIDEREADONLY,
                             OFN_NOCHANGEDIR,
                             OFN_SHOWHELP,
                             OFN_NOVALIDATE,
                             OFN_ALLOWMULTISELECT,
                             OFN_EXTENSIONDIFFERENT,
                             OFN_PATHMUSTEXIST,
                             OFN_FILEMUSTEXIST,
                             OFN_CREATEPROMPT,
                             OFN_SHAREAWARE,
                             OFN_NOREADONLYRETURN,
                             OFN_NOTESTFILECREATE,
                             OFN_NONETWORKBUTTON,
                             OFN_NOLONGNAMES,
                             0,
                             OFN_NODEREFERENCELINKS,
                             OFN_ENABLEINCLUDENOTIFY,
                             OFN_ENABLESIZING,
                             OFN_DONTADDTORECENT,
                             OFN_FORCESHOWHIDDEN};

// The platform wants the filter as pairs of zero-terminated strings ending
// in an empty one.
String FilterToPlatform(const String& Filter) {
  String R = Filter;
  std::replace(R.begin(), R.end(), L'|', L'\0');
  R.push_back(L'\0');
  R.push_back(L'\0');
  return R;
}

}  // namespace

IMPLEMENT_CLASS(TCommonDialog)

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

HWND TCommonDialog::DefaultParent() {
  if (Screen() && Screen()->ActiveForm() && Screen()->ActiveForm()->HandleAllocated())
    return Screen()->ActiveForm()->Handle();
  return Application() ? Application()->Handle() : nullptr;
}

bool TCommonDialog::Execute() { return Execute(DefaultParent()); }

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TOpenDialog) {
  P.Property<&TOpenDialog::Title, &TOpenDialog::SetTitle>(L"Title");
  P.Property<&TOpenDialog::Filter, &TOpenDialog::SetFilter>(L"Filter");
  P.Property<&TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex>(L"FilterIndex").Default(1);
  P.Property<&TOpenDialog::FileName, &TOpenDialog::SetFileName>(L"FileName");
  P.Property<&TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir>(L"InitialDir");
  P.Property<&TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt>(L"DefaultExt");
  P.Property<&TOpenDialog::Options, &TOpenDialog::SetOptions>(L"Options", OpenOptionInfo)
      .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {
  FFiles = Create<TStringList>();
}

TOpenDialog::~TOpenDialog() { FreeAndNil(FFiles); }

bool TOpenDialog::DoExecute(OPENFILENAMEW& Info) { return GetOpenFileNameW(&Info) != 0; }

bool TOpenDialog::Execute(HWND ParentWnd) {
  // Room for many names when several may be chosen.
  std::vector<wchar_t> Buffer(FOptions.Contains(ofAllowMultiSelect) ? 0x10000 : MAX_PATH * 4, 0);
  std::copy_n(FFileName.begin(), std::min(FFileName.size(), Buffer.size() - 1), Buffer.begin());
  String Filter = FilterToPlatform(FFilter);
  OPENFILENAMEW Info{};
  Info.lStructSize = sizeof(Info);
  Info.hwndOwner = ParentWnd;
  Info.hInstance = GetModuleHandleW(nullptr);
  Info.lpstrFilter = FFilter.empty() ? nullptr : Filter.c_str();
  Info.nFilterIndex = static_cast<DWORD>(FFilterIndex);
  Info.lpstrFile = Buffer.data();
  Info.nMaxFile = static_cast<DWORD>(Buffer.size());
  Info.lpstrInitialDir = FInitialDir.empty() ? nullptr : FInitialDir.c_str();
  Info.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
  Info.lpstrDefExt = FDefaultExt.empty() ? nullptr : FDefaultExt.c_str();
  for (size_t I = 0; I < std::size(OptionFlags); ++I)
    if (FOptions.Contains(static_cast<TOpenOption>(I))) Info.Flags |= OptionFlags[I];
  if (!FOptions.Contains(ofOldStyleDialog)) Info.Flags |= OFN_EXPLORER;
  FFiles->Clear();
  bool Result;
  if (OnShow) OnShow(this);
  {
    auto Closing = Finally([&] {
      if (OnClose) OnClose(this);
    });
    Result = DoExecute(Info);
  }
  if (!Result) {
    // A failure that is not a cancel would otherwise pass as one.
    DWORD Error = CommDlgExtendedError();
    if (Error != 0)
      throw EOSError(Format(L"The file dialog failed (error %x)", {static_cast<Integer>(Error)}),
                     Error);
    return false;
  }
  FFilterIndex = static_cast<Integer>(Info.nFilterIndex);
  if (Info.Flags & OFN_READONLY)
    FOptions.Include(ofReadOnly);
  else
    FOptions.Exclude(ofReadOnly);
  if (Info.Flags & OFN_EXTENSIONDIFFERENT)
    FOptions.Include(ofExtensionDifferent);
  else
    FOptions.Exclude(ofExtensionDifferent);
  ReadFiles(Buffer.data(), FOptions.Contains(ofAllowMultiSelect));
  return true;
}

void TOpenDialog::ReadFiles(const wchar_t* Buffer, bool Multi) {
  // Several names come as the folder, then each name, each zero-terminated.
  String First = Buffer;
  const wchar_t* P = Buffer + First.size() + 1;
  if (!Multi || *P == 0) {
    FFiles->Add(First);
  } else {
    String Dir = First;
    if (!Dir.empty() && Dir.back() != L'\\') Dir += L'\\';
    for (; *P; P += wcslen(P) + 1) FFiles->Add(Dir + P);
  }
  FFileName = FFiles->Strings(0);
}

IMPLEMENT_CREATABLE_CLASS(TSaveDialog)

bool TSaveDialog::DoExecute(OPENFILENAMEW& Info) { return GetSaveFileNameW(&Info) != 0; }

void Dialogs_Initialize() {
  RegisterClasses({TOpenDialog::StaticClass(), TSaveDialog::StaticClass()});
}
