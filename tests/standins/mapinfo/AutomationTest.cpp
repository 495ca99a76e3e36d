// The server reached exactly as the program reaches it: activation by the
// programmatic identifier from another process, late-bound calls.
#include <gtest/gtest.h>

#include <set>

#include "DispatchClient.h"
#include "miMapBasic.h"

namespace {

class MapInfoAutomation : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }

  static HWND MainWindow(TDispatchClient& App) {
    return reinterpret_cast<HWND>(static_cast<NativeInt>(std::stoll(App.Eval(L"SystemInfo(9)"))));
  }
  // A handle on the server process behind an application object.
  static HANDLE ServerProcess(TDispatchClient& App) {
    DWORD Pid = 0;
    GetWindowThreadProcessId(MainWindow(App), &Pid);
    return Pid ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Pid) : nullptr;
  }
  static bool Visible(TDispatchClient& App) {
    VARIANT V = App.Call(L"Visible", DISPATCH_PROPERTYGET);
    EXPECT_EQ(V_VT(&V), VT_BOOL);
    return V_BOOL(&V) == VARIANT_TRUE;
  }
  // Process end is asynchronous to the client; the bound only keeps a broken
  // server from hanging the run.
  static bool Ended(HANDLE AProcess) {
    return WaitForSingleObject(AProcess, 30000) == WAIT_OBJECT_0;
  }
};

String FolderOf(const String& APath) { return APath.substr(0, APath.find_last_of(L"\\/") + 1); }

TEST_F(MapInfoAutomation, ActivatedByProgIDInItsOwnHiddenProcess) {
  TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
  App.Call(L"Visible", DISPATCH_PROPERTYPUT, {TDispatchClient::Bool(false)});

  HWND Wnd = MainWindow(App);
  ASSERT_TRUE(IsWindow(Wnd));
  DWORD Pid = 0;
  GetWindowThreadProcessId(Wnd, &Pid);
  EXPECT_NE(Pid, GetCurrentProcessId());
  EXPECT_FALSE(IsWindowVisible(Wnd));
  EXPECT_FALSE(Visible(App));

  String FullName = App.CallText(L"FullName", {}, DISPATCH_PROPERTYGET);
  EXPECT_NE(GetFileAttributesW(FullName.c_str()), INVALID_FILE_ATTRIBUTES) << FullName;
  String Odbc = FolderOf(FullName) + L"MIDLODBC.DLL";
  EXPECT_NE(GetFileAttributesW(Odbc.c_str()), INVALID_FILE_ATTRIBUTES) << Odbc;

  App.Call(L"Visible", DISPATCH_PROPERTYPUT, {TDispatchClient::Bool(true)});
  EXPECT_TRUE(IsWindowVisible(Wnd));
  EXPECT_TRUE(Visible(App));

  HANDLE Process = ServerProcess(App);
  ASSERT_NE(Process, nullptr);
  App.Do(L"End MapInfo");
  EXPECT_TRUE(Ended(Process));
  CloseHandle(Process);
}

// A process registry that closes the server by its main window ends it.
TEST_F(MapInfoAutomation, ClosingTheMainWindowEndsTheProcess) {
  TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
  HANDLE Process = ServerProcess(App);
  ASSERT_NE(Process, nullptr);
  PostMessageW(MainWindow(App), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(Process));
  CloseHandle(Process);
  // The client's calls now fail instead of hanging.
  EXPECT_THROW(App.Eval(L"1"), EOleSysError);
}

TEST_F(MapInfoAutomation, FailuresRaiseTheServersErrorText) {
  TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
  struct TCase {
    bool IsDo;
    const wchar_t* Text;
    const wchar_t* Message;
  } Cases[] = {
      {true, L"Frobnicate tab1", L"Unrecognized command: Frobnicate."},
      {true, L"Set Distance Units m", L"Found [m] while searching for [unit name]."},
      {true, L"Set CoordSys Earth Projection 8, 1001", L"Invalid Coordinate System."},
      {true, L"Undim O1", L"Variable O1 not defined."},
      {false, L"nosuch", L"Variable or Field nosuch not defined."},
      {false, L"CreatePoint(1, 2, 3)", L"Wrong number of arguments for function CreatePoint."},
  };
  for (const TCase& C : Cases) {
    try {
      if (C.IsDo) {
        App.Do(C.Text);
      } else {
        App.Eval(C.Text);
      }
      ADD_FAILURE() << "no error for " << testing::PrintToString(String(C.Text));
    } catch (const EOleException& E) {
      EXPECT_EQ(E.Message(), C.Message) << testing::PrintToString(String(C.Text));
      EXPECT_EQ(E.Source(), L"MapInfo");
    }
  }
  // An error leaves the instance working.
  EXPECT_EQ(App.Eval(L"1 + 1"), L"2");
  App.Do(L"End MapInfo");
}

TEST_F(MapInfoAutomation, ANotRunningMapBasicApplicationRaisesFromItem) {
  TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
  VARIANT Apps = App.Call(L"MBApplications", DISPATCH_PROPERTYGET);
  ASSERT_EQ(V_VT(&Apps), VT_DISPATCH);
  TDispatchClient Collection(V_DISPATCH(&Apps));
  try {
    Collection.Call(L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                    {TDispatchClient::Text(L"miServices.mbx")});
    ADD_FAILURE() << "Item gave an application";
  } catch (const EOleException& E) {
    EXPECT_EQ(E.Message(), L"MapBasic application miServices.mbx is not running.");
  }
}

TEST_F(MapInfoAutomation, SetCallbackTakesAnObjectOrNothing) {
  TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
  VARIANT Apps = App.Call(L"MBApplications", DISPATCH_PROPERTYGET);
  App.Call(L"SetCallback", DISPATCH_METHOD, {Apps});
  VARIANT Nothing;
  VariantInit(&Nothing);
  V_VT(&Nothing) = VT_DISPATCH;
  V_DISPATCH(&Nothing) = nullptr;
  App.Call(L"SetCallback", DISPATCH_METHOD, {Nothing});
  EXPECT_THROW(App.Call(L"SetCallback", DISPATCH_METHOD, {TDispatchClient::Text(L"x")}),
               EOleSysError);
}

TEST_F(MapInfoAutomation, NumbersComeBackInTheRegionalFormat) {
  TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
  String Sep = RegionalDecimalSeparator();
  EXPECT_EQ(App.Eval(L"7413000.5 + 0.25"), L"7413000" + Sep + L"75");
  EXPECT_EQ(App.Eval(L"3 * 4"), L"12");
  App.Do(L"Dim R1 As Integer");
  App.Do(L"R1 = 41.6");
  EXPECT_EQ(App.Eval(L"R1"), L"42");
}

// Each creation starts a new process, and each process ends, whether the
// client ends it with "End MapInfo" or only releases it.
TEST_F(MapInfoAutomation, FiftyInstancesInARowLeaveNoProcessBehind) {
  std::vector<HANDLE> Processes;
  std::set<DWORD> Pids;
  for (int I = 0; I < 50; ++I) {
    try {
      TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
      HANDLE P = ServerProcess(App);
      ASSERT_NE(P, nullptr) << "instance " << I;
      Processes.push_back(P);
      Pids.insert(GetProcessId(P));
      if (I % 2 == 0) App.Do(L"End MapInfo");
    } catch (Exception& E) {
      FAIL() << "instance " << I << ": " << E.ClassName() << ": " << E.Message();
    }
  }
  EXPECT_EQ(Pids.size(), 50u);
  int Alive = 0;
  for (HANDLE P : Processes) {
    if (!Ended(P)) ++Alive;
    CloseHandle(P);
  }
  EXPECT_EQ(Alive, 0);
}

}  // namespace
