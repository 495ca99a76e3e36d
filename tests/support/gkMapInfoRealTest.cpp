// The connection routines against the GIS program's automation stand-in,
// reached as the program reaches it: activation by the programmatic
// identifier, a server process of its own, late-bound calls.
#include <gtest/gtest.h>

#include "TraceLines.h"

#include <functional>

#include "ComObj.h"
#include "TabEngine.h"
#include "app/TempFolder.h"
#include "gkMapInfo.h"

// After the platform headers that the framework brings in.
#include <tlhelp32.h>

namespace {

const wchar_t ServerExe[] = L"MapInfoStandin.exe";

// Server processes alive on the machine.
int CountServers() {
  int Result = 0;
  HANDLE Snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (Snap == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W E;
  E.dwSize = sizeof(E);
  for (BOOL More = Process32FirstW(Snap, &E); More; More = Process32NextW(Snap, &E))
    if (SameText(ExtractFileName(E.szExeFile), ServerExe)) ++Result;
  CloseHandle(Snap);
  return Result;
}

// Process end is asynchronous to the client; the bound only keeps a server
// that never ends from hanging the run.
int ServersAfterExit(int AExpected) {
  int Count = CountServers();
  for (int I = 0; I < 300 && Count > AExpected; ++I) {
    Sleep(100);
    Count = CountServers();
  }
  return Count;
}

// The process behind the connection's main window.
HANDLE ServerProcess() {
  DWORD Pid = 0;
  GetWindowThreadProcessId(miMapInfoWnd(), &Pid);
  return Pid ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Pid) : nullptr;
}

String ProcessImage(HANDLE AProcess) {
  wchar_t Buf[MAX_PATH + 1];
  DWORD Len = MAX_PATH;
  return QueryFullProcessImageNameW(AProcess, 0, Buf, &Len) ? String(Buf, Len) : String();
}

// The user's regional decimal separator, which a server reads when it
// starts, for the lifetime of the object.
class TRegionalSeparator {
 public:
  explicit TRegionalSeparator(Char ASep) {
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld, 8);
    const wchar_t New[2] = {ASep, 0};
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, New);
  }
  ~TRegionalSeparator() { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld); }

 private:
  wchar_t FOld[8] = L".";
};

class GkMapInfoReal : public testing::Test {
 protected:
  void SetUp() override {
    gkCommon_Initialize();
    gkMapInfo_Initialize();
    FTrace.Attach();
    FServersBefore = CountServers();
    FSeparator = FormatSettings().DecimalSeparator;
  }
  void TearDown() override {
    miCloseMapInfoServer();
    gkMapInfo_Finalize();
    FormatSettings().DecimalSeparator = FSeparator;
    gkCommon_Finalize();
    EXPECT_EQ(ServersAfterExit(FServersBefore), FServersBefore) << "a server process was left";
  }

  static String Raised(const std::function<void()>& AProc, String* AClass = nullptr) {
    try {
      AProc();
    } catch (const Exception& E) {
      if (AClass) *AClass = E.ClassName();
      return E.Message();
    }
    return L"(nothing raised)";
  }

  TTraceLines FTrace;
  int FServersBefore = 0;
  Char FSeparator = L'.';
};

TEST_F(GkMapInfoReal, ConnectsToAHiddenServerBesideItsDatabaseLibrary) {
  ASSERT_GE(FServersBefore, 0);
  CheckDBMS = true;
  miCreateMapInfo();  // raises unless the server's folder holds MIDLODBC.DLL
  EXPECT_EQ(CountServers(), FServersBefore + 1);
  const HWND Wnd = miMapInfoWnd();
  ASSERT_TRUE(IsWindow(Wnd));
  EXPECT_FALSE(IsWindowVisible(Wnd));
  HANDLE Process = ServerProcess();
  ASSERT_NE(Process, nullptr);
  EXPECT_NE(GetProcessId(Process), GetCurrentProcessId());
  EXPECT_TRUE(SameText(ExtractFileName(ProcessImage(Process)), ServerExe)) << ProcessImage(Process);
  // The folder of the server program holds the database library.
  EXPECT_TRUE(FileExists(ExtractFilePath(ProcessImage(Process)) + L"MIDLODBC.DLL"));
  EXPECT_TRUE(miOpened());
  EXPECT_EQ(miMapInfoWnd(), Wnd);

  // The usual road's end: the server process goes.
  miCloseMapInfoServer();
  EXPECT_FALSE(miOpened());
  EXPECT_EQ(WaitForSingleObject(Process, 30000), WAIT_OBJECT_0);
  CloseHandle(Process);

  // The server ships no Oracle library: demanding it refuses the connection.
  OracleDBMSType = true;
  EXPECT_EQ(Raised([] { miCreateMapInfo(); }), L"Поддержка MapInfo Oracle Spatial не установлена.");
  OracleDBMSType = false;
  EXPECT_TRUE(FTrace.Lines.empty());
}

// Statements go out with "."; what the server answers comes back in the
// regional format and is read in it. The server reads the format when it
// starts, so each case starts its own.
TEST_F(GkMapInfoReal, NumbersUnderBothRegionalSeparators) {
  for (Char Sep : {L'.', L','}) {
    SCOPED_TRACE(testing::Message() << "separator " << static_cast<char>(Sep));
    TRegionalSeparator Regional(Sep);
    FormatSettings().DecimalSeparator = Sep;
    miCreateMapInfo();
    miDo(L"Dim R1 As Float");
    miDo(L"R1 = %f", {7413000.5});
    EXPECT_EQ(miEval(L"R1 + %g", {0.25}), L"7413000" + String(1, Sep) + L"75");
    EXPECT_DOUBLE_EQ(miEvalDbl(L"R1 + 0.25"), 7413000.75);
    EXPECT_DOUBLE_EQ(miEvalDbl(L"%s / %d", {L"R1", 2}), 3706500.25);
    EXPECT_EQ(miEvalInt(L"3 * 4"), 12);
    EXPECT_EQ(miEvalInt(L"%d + %d", {40, 2}), 42);
    miCloseMapInfoServer();
  }
  EXPECT_TRUE(FTrace.Lines.empty());
}

TEST_F(GkMapInfoReal, ErrorsCarryTheServersMessageAndClassAndAreTraced) {
  miCreateMapInfo();
  struct TCase {
    std::function<void()> Call;
    const wchar_t* Message;
    const wchar_t* Trace;  // nullptr: not traced
  } Cases[] = {
      {[] { miDo(L"Frobnicate tab1"); }, L"Unrecognized command: Frobnicate.",
       L"miDo Error (Unrecognized command: Frobnicate.), Command (Frobnicate tab1)"},
      {[] { miEval(L"nosuch"); }, L"Variable or Field nosuch not defined.",
       L"miEval Error (Variable or Field nosuch not defined.), Command (nosuch)"},
      {[] { miEvalInt(L"TableInfo(nosuch, 8)"); }, nullptr, nullptr},
      {[] { miDo(L"Close Table nosuch"); }, nullptr, nullptr},
  };
  for (const TCase& Case : Cases) {
    FTrace.Lines.clear();
    String Class;
    String Message = Raised(Case.Call, &Class);
    EXPECT_EQ(Class, L"EOleException") << Message;
    if (Case.Message) {
      EXPECT_EQ(Message, Case.Message);
    }
    EXPECT_NE(Message, L"(nothing raised)");
    if (Case.Trace) {
      EXPECT_EQ(FTrace.Lines, std::vector<String>{Case.Trace});
    } else {
      EXPECT_TRUE(FTrace.Lines.empty()) << FTrace.Lines.front();
    }
  }
  // A "#" statement goes to the services application, which is not running:
  // its caller gets the server's message.
  EXPECT_EQ(Raised([] { miDo(L"#Refresh"); }),
            L"MapBasic application miServices.mbx is not running.");
  // An error leaves the instance working.
  EXPECT_EQ(miEvalInt(L"1 + 1"), 2);
}

TEST_F(GkMapInfoReal, CloseTableClosesOpenTablesAndIgnoresTheRest) {
  TTempFolder Folder(L"gkMapInfoReal");
  tabengine::TableSchema Schema;
  Schema.fields = {{"id", tabengine::FieldType::Integer}};
  Schema.coordsys =
      tabengine::CoordSys::Parse("CoordSys NonEarth Units \"m\" Bounds (0,0) (1000,1000)");
  {
    auto Writer = tabengine::TableWriter::Create(Folder.Path() + L"pts.tab", Schema);
    for (int I = 1; I <= 3; ++I) {
      tabengine::Feature F;
      F.geometry.type = tabengine::GeometryType::Point;
      F.geometry.parts = {{{10.0 * I, 20.0 * I}}};
      F.values = {tabengine::Value::Int(I)};
      Writer->Insert(F);
    }
    Writer->Close();
  }
  miCreateMapInfo();
  miDo(L"Open Table \"%s\" As t1", {Folder.Path() + L"pts.tab"});
  EXPECT_EQ(miEvalInt(L"TableInfo(t1, 8)"), 3);
  miCloseTable(L"t1");
  EXPECT_NE(Raised([] { miEval(L"TableInfo(t1, 8)"); }), L"(nothing raised)");
  miCloseTable(L"t1");
  miCloseTable(L"");
  miCloseTable(L"never_opened");
  EXPECT_TRUE(FTrace.Lines.empty()) << FTrace.Lines.front();
  // The file is free again: the server holds no handle on it.
  EXPECT_TRUE(DeleteFileW((Folder.Path() + L"pts.map").c_str()));
}

TEST_F(GkMapInfoReal, NotOpenedOnceTheServerEnded) {
  miCreateMapInfo();
  HANDLE Process = ServerProcess();
  ASSERT_NE(Process, nullptr);
  miDo(L"End MapInfo");
  ASSERT_EQ(WaitForSingleObject(Process, 30000), WAIT_OBJECT_0);
  CloseHandle(Process);
  EXPECT_FALSE(miOpened());
  EXPECT_EQ(miMapInfoWnd(), nullptr);
  // Ending what has ended already raises nothing and forgets the connection.
  miCloseMapInfoServer();
  EXPECT_FALSE(miOpened());
  EXPECT_EQ(CountServers(), FServersBefore);
}

}  // namespace
