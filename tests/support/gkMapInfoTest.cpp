#include <gtest/gtest.h>

#include "TraceLines.h"

#include <deque>
#include <map>
#include <thread>

#include "ComObj.h"
#include "IniFiles.h"
#include "gkAppControl.h"
#include "gkMapInfo.h"
#include "gkTestChild.h"

namespace {

// One expected automation call and its answer. Call is "object.Member(args)"
// for calls and reads, "object.Member=value" for writes.
struct TStep {
  String Call;
  Variant Result;
  HRESULT Error = S_OK;
  String Description;  // with Error: raised as the server's exception
};

class TFakeDispatch;

// Every fake object answers from one ordered script and writes one log.
struct TScript {
  std::deque<TStep> Steps;
  std::vector<String> Log;
};

TScript* Script = nullptr;

LONG LiveFakes = 0;

class TFakeDispatch : public IDispatch {
 public:
  explicit TFakeDispatch(const String& AName) : FName(AName) { InterlockedIncrement(&LiveFakes); }
  virtual ~TFakeDispatch() { InterlockedDecrement(&LiveFakes); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Obj) override {
    if (IsEqualIID(Riid, IID_IUnknown) || IsEqualIID(Riid, IID_IDispatch)) {
      *Obj = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *Obj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&FRefs); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG R = InterlockedDecrement(&FRefs);
    if (R == 0) delete this;
    return R;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* Count) override {
    *Count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* Names, UINT Count, LCID,
                                          DISPID* Ids) override {
    for (UINT I = 0; I < Count; ++I) {
      auto It = FIds.emplace(Names[I], static_cast<DISPID>(FIds.size() + 1)).first;
      Ids[I] = It->second;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID Id, REFIID, LCID, WORD Flags, DISPPARAMS* Params,
                                   VARIANT* Result, EXCEPINFO* Info, UINT*) override {
    String Member;
    for (const auto& [Name, Value] : FIds) {
      if (Value == Id) Member = Name;
    }
    String Call = FName + L"." + Member;
    if (Flags & DISPATCH_PROPERTYPUT) {
      Call += L"=" + VarToStr(Variant(Params->rgvarg[0]));
    } else if (Params->cArgs > 0) {
      Call += L"(";
      for (UINT I = Params->cArgs; I-- > 0;) {
        Call += Params->rgvarg[I].vt == VT_DISPATCH ? String(L"<object>")
                                                    : VarToStr(Variant(Params->rgvarg[I]));
        if (I > 0) Call += L",";
      }
      Call += L")";
    }
    Script->Log.push_back(Call);
    if (Script->Steps.empty() || Script->Steps.front().Call != Call) {
      ADD_FAILURE() << "unexpected call " << testing::PrintToString(Call);
      return E_UNEXPECTED;
    }
    TStep Step = Script->Steps.front();
    Script->Steps.pop_front();
    if (Step.Error != S_OK) {
      if (Step.Description.empty()) return Step.Error;
      *Info = EXCEPINFO{};
      Info->bstrDescription = SysAllocString(Step.Description.c_str());
      Info->bstrSource = SysAllocString(L"Fake");
      Info->scode = Step.Error;
      return DISP_E_EXCEPTION;
    }
    if (Result) *Result = Step.Result.Detach();
    return S_OK;
  }

 private:
  String FName;
  LONG FRefs = 1;
  std::map<String, DISPID> FIds;
};

// Objects of the script: the program, its MapBasic application collection
// and one application.
Variant FakeObject(const String& AName) {
  TFakeDispatch* D = new TFakeDispatch(AName);
  Variant V(static_cast<IDispatch*>(D));
  D->Release();
  return V;
}

TComPtr<IDispatch> CreateFakeMapInfo(const String& AProgID) {
  EXPECT_EQ(AProgID, L"MapInfo.Application");
  return TComPtr<IDispatch>::Attach(new TFakeDispatch(L"mi"));
}

TComPtr<IDispatch> FailToCreate(const String&) { throw EOleSysError(L"Invalid class string"); }

const HRESULT EServer = static_cast<HRESULT>(0x80040000 | 500);

class GkMapInfo : public testing::Test {
 protected:
  void SetUp() override {
    gkCommon_Initialize();
    gkMapInfo_Initialize();
    Script = &FScript;
    Trace.Attach();
    miSetCreateObjectProc(&CreateFakeMapInfo);
    CheckDBMS = false;
  }
  void TearDown() override {
    EXPECT_TRUE(FScript.Steps.empty())
        << "unused step "
        << testing::PrintToString(FScript.Steps.empty() ? String() : FScript.Steps.front().Call);
    gkMapInfo_Finalize();
    miSetCreateObjectProc(nullptr);
    Script = nullptr;
    gkCommon_Finalize();
  }

  void Expect(const String& ACall, Variant AResult = Variant()) {
    FScript.Steps.push_back(TStep{ACall, AResult});
  }
  void ExpectError(const String& ACall, const String& AMessage, HRESULT ACode = EServer) {
    FScript.Steps.push_back(TStep{ACall, Variant(), ACode, AMessage});
  }
  void ExpectFailure(const String& ACall, HRESULT ACode) {
    FScript.Steps.push_back(TStep{ACall, Variant(), ACode, String()});
  }
  void Connect(const String& AFullName = L"C:\\MapInfo\\MAPINFOW.EXE") {
    Expect(L"mi.Visible=False");
    Expect(L"mi.Eval(SystemInfo(9))", Variant(L"1234"));
    Expect(L"mi.FullName", Variant(AFullName));
    miCreateMapInfo();
  }
  // The log from here on.
  void Mark() {
    FScript.Log.clear();
    Trace.Lines.clear();
  }

  TScript FScript;
  TTraceLines Trace;
};

TEST_F(GkMapInfo, ConnectsHiddenAndRemembersTheMainWindow) {
  Connect();
  EXPECT_EQ(miMapInfoWnd(), reinterpret_cast<HWND>(1234));
  Expect(L"mi.Eval(SystemInfo(9))", Variant(L"5678"));
  EXPECT_TRUE(miOpened());
  EXPECT_EQ(miMapInfoWnd(), reinterpret_cast<HWND>(5678));
  EXPECT_TRUE(Trace.Lines.empty());
}

TEST_F(GkMapInfo, ConnectionHoldsOneInstanceAndShutDownOnlyReleasesIt) {
  const LONG Before = LiveFakes;
  Connect();
  Connect();  // a second instance; the first is no longer referenced
  EXPECT_EQ(LiveFakes, Before + 1);
  gkMapInfo_Finalize();  // no "End MapInfo": the strict script would fail
  EXPECT_EQ(LiveFakes, Before);
  EXPECT_FALSE(miOpened());
}

TEST_F(GkMapInfo, EndingTheInstanceClosesItsRegisteredServer) {
  gkTestChild::TChild Server(L"DISABLED_ServeUntilQuit");
  ASSERT_TRUE(Server.Started());
  const HWND Wnd = Server.Window();
  ASSERT_TRUE(Wnd);
  ForceDirectories(GetIniPath());
  const String Registry = GetIniPath() + L"MapInfoServer.ini";
  ASSERT_FALSE(FileExists(Registry)) << "a registry left from elsewhere";
  {
    TOwned<TMemIniFile> Ini = MakeOwned<TMemIniFile>(Registry);
    const String Section = Format(
        L"%u+%u+%u+%u", {GetCurrentProcessId(), GetCurrentThreadId(), Server.Pid(), Server.Tid()});
    Ini->WriteInteger(Section, L"qeProcessId", static_cast<Integer>(GetCurrentProcessId()));
    Ini->WriteInteger(Section, L"qeThreadId", static_cast<Integer>(GetCurrentThreadId()));
    Ini->WriteInteger(Section, L"appProcessId", static_cast<Integer>(Server.Pid()));
    Ini->WriteInteger(Section, L"appThreadId", static_cast<Integer>(Server.Tid()));
    Ini->UpdateFile();
  }
  gkAppControl_Initialize();
  Expect(L"mi.Visible=False");
  Expect(L"mi.Eval(SystemInfo(9))",
         Variant(IntToStr(static_cast<Integer>(reinterpret_cast<NativeInt>(Wnd)))));
  Expect(L"mi.FullName", Variant(L"C:\\MapInfo\\MAPINFOW.EXE"));
  miCreateMapInfo();
  Expect(L"mi.SetCallback(<object>)");
  Expect(L"mi.Do(End MapInfo)");
  miCloseMapInfoServer();
  EXPECT_EQ(Server.ExitCode(), gkTestChild::ExitOnQuit);
  {
    TOwned<TMemIniFile> Ini = MakeOwned<TMemIniFile>(Registry);
    TOwned<TStringList> Sections = MakeOwned<TStringList>();
    Ini->ReadSections(Sections.get());
    EXPECT_EQ(Sections->Count(), 0);
  }
  gkAppControl_Finalize();
  DeleteFile(Registry);
}

TEST_F(GkMapInfo, StatementNumbersUseAPointWhateverTheRegionalFormat) {
  Connect();
  const Char Saved = FormatSettings().DecimalSeparator;
  for (Char Sep : {L'.', L','}) {
    FormatSettings().DecimalSeparator = Sep;
    Expect(L"mi.Do(Insert Into T (Obj) Values (CreatePoint(1.25, -2.50)))");
    miDo(L"Insert Into T (Obj) Values (CreatePoint(%f, %f))", {1.25, -2.5});
    Expect(L"mi.Eval(ObjectGeography(3.5, 1))", Variant(L"7"));
    EXPECT_EQ(miEvalInt(L"ObjectGeography(%g, %d)", {3.5, 1}), 7);
  }
  // What the program answers is read in the regional format.
  FormatSettings().DecimalSeparator = L',';
  Expect(L"mi.Eval(TableInfo(T, 20))", Variant(L"1234,5"));
  EXPECT_DOUBLE_EQ(miEvalDbl(L"TableInfo(%s, %d)", {L"T", 20}), 1234.5);
  FormatSettings().DecimalSeparator = L'.';
  Expect(L"mi.Eval(TableInfo(T, 20))", Variant(L"1234.5"));
  EXPECT_DOUBLE_EQ(miEvalDbl(L"TableInfo(T, 20)"), 1234.5);
  FormatSettings().DecimalSeparator = Saved;
}

TEST_F(GkMapInfo, HashStatementsGoToTheServicesApplication) {
  Connect();
  Mark();
  Variant Apps = FakeObject(L"apps");
  Variant Mbx = FakeObject(L"mbx");
  Expect(L"mi.Eval(SystemInfo(9))", Variant(L"1234"));
  Expect(L"mi.MBApplications", Apps);
  Expect(L"apps.Item(miServices.mbx)", Mbx);
  Expect(L"mbx.Do(#Refresh 1)");
  miDo(L"#Refresh 1");
  EXPECT_EQ(FScript.Log,
            (std::vector<String>{L"mi.Eval(SystemInfo(9))", L"mi.MBApplications",
                                 L"apps.Item(miServices.mbx)", L"mbx.Do(#Refresh 1)"}));
  EXPECT_TRUE(Trace.Lines.empty());
}

TEST_F(GkMapInfo, MissingServicesApplicationReachesTheCallerWithTheServersMessage) {
  Connect();
  Mark();
  Expect(L"mi.Eval(SystemInfo(9))", Variant(L"1234"));
  Expect(L"mi.MBApplications", FakeObject(L"apps"));
  ExpectError(L"apps.Item(miServices.mbx)", L"Application not found");
  try {
    miDo(L"#Refresh 1");
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.ClassType(), EOleException::StaticClass());
    EXPECT_EQ(E.Message(), L"Application not found");
    EXPECT_EQ(static_cast<const EOleException&>(E).ErrorCode(), EServer);
  }
  EXPECT_EQ(Trace.Lines, (std::vector<String>{
                             L"miGetMbx (AMbxName=miServices.mbx)",
                             L"miGetMbx Error: Application not found",
                             L"mbDo: ACommand (#Refresh 1), AMbxName (miServices.mbx)",
                             L"mbDo Error: Application not found",
                             L"miDo Error (Application not found), Command (#Refresh 1)",
                         }));
}

TEST_F(GkMapInfo, StatementErrorsAreTracedUnlessRoutineAndAlwaysRaised) {
  Connect();
  struct Case {
    const wchar_t* Command;
    Boolean Traced;
  } Cases[] = {
      {L"Open Table \"C:\\a.tab\" As T", true},
      {L"Close Table T", false},
      {L"close window 3", false},
      {L"UNDIM x", false},
  };
  for (const Case& C : Cases) {
    Mark();
    ExpectError(String(L"mi.Do(") + C.Command + L")", L"Table T is not open");
    try {
      miDo(C.Command);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
      EXPECT_EQ(E.ClassType(), EOleException::StaticClass());
      EXPECT_EQ(E.Message(), L"Table T is not open");
    }
    std::vector<String> Expected;
    if (C.Traced) {
      Expected.push_back(Format(L"miDo Error (Table T is not open), Command (%s)", {C.Command}));
    }
    EXPECT_EQ(Trace.Lines, Expected) << C.Command;
  }
}

TEST_F(GkMapInfo, ExpressionErrorsAreTracedExceptTableInfo) {
  Connect();
  Mark();
  ExpectError(L"mi.Eval(TableInfo(T, 8))", L"Table T is not open");
  EXPECT_THROW(miEval(L"TableInfo(T, 8)"), EOleException);
  EXPECT_TRUE(Trace.Lines.empty());
  ExpectError(L"mi.Eval(Nonsense(1))", L"Unknown function");
  EXPECT_THROW(miEval(L"Nonsense(1)"), EOleException);
  EXPECT_EQ(Trace.Lines,
            std::vector<String>{L"miEval Error (Unknown function), Command (Nonsense(1))"});
  // A result that is no number: the conversion error, untraced.
  Mark();
  Expect(L"mi.Eval(T.Name)", Variant(L"abc"));
  EXPECT_THROW(miEvalInt(L"T.Name"), EConvertError);
  EXPECT_TRUE(Trace.Lines.empty());
}

TEST_F(GkMapInfo, PrintOnCommandTracesStatementsAndResults) {
  Connect();
  Mark();
  FPrintOnCommand = true;
  Expect(L"mi.Eval(1+1)", Variant(L"2"));
  EXPECT_EQ(miEval(L"1+1"), L"2");
  Expect(L"mi.Do(Set ProgressBars Off)");
  miDo(L"Set ProgressBars Off");
  EXPECT_EQ(Trace.Lines, (std::vector<String>{L"miEval: ACommand (1+1)", L"miEval Done. Result (2)",
                                              L"miDo: ACommand (Set ProgressBars Off)"}));
}

TEST_F(GkMapInfo, NotOpenedAfterTheServerEnded) {
  EXPECT_FALSE(miOpened());  // no connection: no call at all
  Connect();
  ExpectFailure(L"mi.Eval(SystemInfo(9))", RPC_E_DISCONNECTED);
  EXPECT_FALSE(miOpened());
  EXPECT_EQ(miMapInfoWnd(), nullptr);
}

TEST_F(GkMapInfo, GetMbxOfAnEmptyNameOrWithoutConnection) {
  Variant R = miGetMbx(L"");
  EXPECT_TRUE(VarIsEmpty(R));
  EXPECT_EQ(Trace.Lines, std::vector<String>{L"Имя приложения MapInfo пустое."});
  Mark();
  try {
    miGetMbx(L"x.mbx");
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.ClassType(), Exception::StaticClass());
    EXPECT_EQ(E.Message(), L"Приложение MapInfo не найдено.");
  }
  // An application the collection does not hold as an object: nothing runs.
  Connect();
  Expect(L"mi.Eval(SystemInfo(9))", Variant(L"1234"));
  Expect(L"mi.MBApplications", FakeObject(L"apps"));
  Expect(L"apps.Item(x.mbx)", Variant());
  mbDo(L"Run", L"x.mbx");
}

TEST_F(GkMapInfo, CloseTableIgnoresEmptyAndUnknownNames) {
  Connect();
  Mark();
  miCloseTable(L"");
  EXPECT_TRUE(FScript.Log.empty());
  ExpectError(L"mi.Do(Close Table Nope)", L"Table Nope is not open");
  EXPECT_NO_THROW(miCloseTable(L"Nope"));
  EXPECT_TRUE(Trace.Lines.empty());
  Expect(L"mi.Do(Close Table T)");
  miCloseTable(L"T");
}

TEST_F(GkMapInfo, CloseServerNeverRaisesAndForgetsTheConnection) {
  Connect();
  ExpectFailure(L"mi.SetCallback(<object>)", E_NOTIMPL);
  ExpectFailure(L"mi.Do(End MapInfo)", RPC_E_DISCONNECTED);
  EXPECT_NO_THROW(miCloseMapInfoServer());
  EXPECT_EQ(miMapInfoWnd(), nullptr);
  EXPECT_FALSE(miOpened());
}

TEST_F(GkMapInfo, DatabaseSupportLibraryIsDemanded) {
  const String Folder = GetTempPath2() + Format(L"gkMapInfoTest%u\\", {GetCurrentProcessId()});
  ForceDirectories(Folder);
  struct Case {
    Boolean Oracle;
    const wchar_t* Present;  // file put beside the executable, or nullptr
    const wchar_t* Error;    // nullptr: connects
  } Cases[] = {
      {false, nullptr, L"Поддержка MapInfo ODBC не установлена."},
      {true, L"MIDLODBC.DLL", L"Поддержка MapInfo Oracle Spatial не установлена."},
      {false, L"MIDLODBC.DLL", nullptr},
      {true, L"MIDLOCI.DLL", nullptr},
  };
  CheckDBMS = true;
  for (const Case& C : Cases) {
    DeleteFile(Folder + L"MIDLODBC.DLL");
    DeleteFile(Folder + L"MIDLOCI.DLL");
    if (C.Present) {
      HANDLE H = CreateFileW((Folder + C.Present).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                             nullptr);
      ASSERT_NE(H, INVALID_HANDLE_VALUE);
      CloseHandle(H);
    }
    OracleDBMSType = C.Oracle;
    if (C.Error) {
      try {
        Connect(Folder + L"MAPINFOW.EXE");
        ADD_FAILURE() << "no exception";
      } catch (const EMapinfo& E) {
        EXPECT_EQ(E.Message(), C.Error);
      }
      // The connection stays.
      Expect(L"mi.Eval(SystemInfo(9))", Variant(L"1"));
      EXPECT_TRUE(miOpened());
    } else {
      EXPECT_NO_THROW(Connect(Folder + L"MAPINFOW.EXE"));
    }
  }
  DeleteFile(Folder + L"MIDLODBC.DLL");
  DeleteFile(Folder + L"MIDLOCI.DLL");
  RemoveDir(Folder);
}

TEST_F(GkMapInfo, CreationFailureReachesTheCaller) {
  miSetCreateObjectProc(&FailToCreate);
  try {
    miCreateMapInfo();
    FAIL() << "no exception";
  } catch (const EOleSysError& E) {
    EXPECT_EQ(E.Message(), L"Invalid class string");
  }
  EXPECT_FALSE(miOpened());
}

// ---------------------------------------------------------------------------
// Start-up dialogs, made on a thread of their own as the program's would be.
class TDialogThread {
 public:
  struct TSpec {
    const wchar_t* ClassName;
    const wchar_t* Title;
    const wchar_t* StaticText;  // child "Static" control, or nullptr
  };

  explicit TDialogThread(const TSpec& ASpec) : FSpec(ASpec) {
    FReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    FThread = std::thread([this] { Run(); });
    WaitForSingleObject(FReady, 10000);
  }
  ~TDialogThread() {
    if (IsWindow(FWnd)) PostMessageW(FWnd, WM_DESTROY_TEST, 0, 0);
    FThread.join();
    CloseHandle(FReady);
  }
  HWND Wnd() const { return FWnd; }
  // Waits until the window is gone; false when it is still there after
  // ATimeout ms (the test then fails, it does not measure).
  bool WaitClosed(DWORD ATimeout = 10000) {
    for (DWORD T = 0; T < ATimeout && IsWindow(FWnd); T += 10) Sleep(10);
    return !IsWindow(FWnd);
  }
  WPARAM CloseParam() const { return FCloseParam; }

 private:
  static constexpr UINT WM_DESTROY_TEST = WM_APP + 1;

  static LRESULT CALLBACK Proc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
    auto* Self = reinterpret_cast<TDialogThread*>(GetPropW(W, L"TDialogThread"));
    if (Msg == WM_CLOSE || Msg == WM_DESTROY_TEST) {
      if (Msg == WM_CLOSE) Self->FCloseParam = WP;
      DestroyWindow(W);
      return 0;
    }
    if (Msg == WM_DESTROY) {
      RemovePropW(W, L"TDialogThread");
      PostQuitMessage(0);
      return 0;
    }
    return CallWindowProcW(Self->FOldProc, W, Msg, WP, LP);
  }

  void Run() {
    WNDCLASSW Class{};
    Class.lpfnWndProc = DefWindowProcW;
    Class.lpszClassName = L"xvt320mditask100";
    RegisterClassW(&Class);  // fails harmlessly when registered before
    FWnd = CreateWindowExW(0, FSpec.ClassName, FSpec.Title, WS_POPUP | WS_CAPTION, 0, 0, 200, 100,
                           nullptr, nullptr, nullptr, nullptr);
    if (FWnd) {
      if (FSpec.StaticText) {
        CreateWindowExW(0, L"Static", FSpec.StaticText, WS_CHILD | WS_VISIBLE, 0, 0, 180, 20, FWnd,
                        nullptr, nullptr, nullptr);
      }
      SetPropW(FWnd, L"TDialogThread", this);
      FOldProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    SetEvent(FReady);
    MSG Msg;
    while (FWnd && GetMessageW(&Msg, nullptr, 0, 0) > 0) DispatchMessageW(&Msg);
  }

  TSpec FSpec;
  HANDLE FReady = nullptr;
  std::thread FThread;
  HWND FWnd = nullptr;
  WNDPROC FOldProc = nullptr;
  WPARAM FCloseParam = 0;
};

class GkMapInfoWatchdog : public GkMapInfo {};

TEST_F(GkMapInfoWatchdog, FindsOnlyTheStartUpDialogs) {
  struct Case {
    TDialogThread::TSpec Spec;
    Boolean Found;
    Boolean NoPenFnt;
  } Cases[] = {
      {{L"#32770", L"MapInfo", L"The pen style file contains too many pens."}, true, false},
      {{L"#32770", L"mapinfo", L"Файл стиля линий включает слишком много типов линий."},
       true,
       false},
      {{L"xvt320mditask100", L"MapInfo", L"THE PEN STYLE FILE CONTAINS TOO MANY PENS."},
       true,
       false},
      {{L"#32770", L"Cannot open C:\\MapInfo\\mapinfow.pen", nullptr}, true, true},
      {{L"#32770", L"MAPINFOW.FNT not found", nullptr}, true, true},
      {{L"#32770", L"MapInfo", L"Something else"}, false, false},
      {{L"#32770", L"MapInfo", nullptr}, false, false},
      {{L"xvt320mditask100", L"MAPINFOW.PEN", nullptr}, false, false},
      {{L"#32770", L"Other program", L"The pen style file contains too many pens."}, false, false},
  };
  for (const Case& C : Cases) {
    TDialogThread Dialog(C.Spec);
    ASSERT_TRUE(Dialog.Wnd()) << C.Spec.Title;
    TgkMapInfoCreateThread* Watchdog = Create<TgkMapInfoCreateThread>(true);
    EXPECT_EQ(Watchdog->FindMapInfoDialog(), C.Found ? Dialog.Wnd() : nullptr) << C.Spec.Title;
    EXPECT_EQ(Watchdog->NoPenFntFound(), C.NoPenFnt) << C.Spec.Title;
    EXPECT_FALSE(Watchdog->CloseMapInfoDialog(nullptr));
    // Never started: freed here, so it cannot touch the next case's dialog.
    Watchdog->SetFreeOnTerminate(false);
    Watchdog->Free();
  }
}

TEST_F(GkMapInfoWatchdog, ClosesATooManyPensDialogWhileRunning) {
  TDialogThread Dialog({L"#32770", L"MapInfo", L"The pen style file contains too many pens."});
  ASSERT_TRUE(Dialog.Wnd());
  TgkMapInfoCreateThread* Watchdog = Create<TgkMapInfoCreateThread>(false);
  const bool Closed = Dialog.WaitClosed();
  const bool NoPenFnt = Watchdog->NoPenFntFound();
  Watchdog->Terminate();
  EXPECT_TRUE(Closed);
  EXPECT_EQ(Dialog.CloseParam(), 2u);
  EXPECT_FALSE(NoPenFnt);
}

// The program blocks its creation until its warning is closed.
TComPtr<IDispatch> CreateBlockedByPenDialog(const String& AProgID) {
  TDialogThread Dialog({L"#32770", L"MapInfo: MAPINFOW.PEN is missing", nullptr});
  EXPECT_TRUE(Dialog.WaitClosed());
  return CreateFakeMapInfo(AProgID);
}

TEST_F(GkMapInfoWatchdog, CreationClosesAPenFileDialogAndTracesIt) {
  miSetCreateObjectProc(&CreateBlockedByPenDialog);
  Connect();
  EXPECT_EQ(Trace.Lines, std::vector<String>{L"Не найдены файлы PEN, FNT."});
}

}  // namespace
