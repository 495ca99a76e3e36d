#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "gkMitabDyn.h"
#include "gkMitabUtils.h"
#include "mitabfakes/FakeMitabStats.h"

namespace {

String ExeFolder() {
  wchar_t Buffer[MAX_PATH + 1];
  DWORD Len = GetModuleFileNameW(nullptr, Buffer, MAX_PATH);
  return ExtractFilePath(String(Buffer, Len));
}

String FakePath(const String& AName) { return ExeFolder() + AName + L".dll"; }

class MitabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gkMitabDyn_Initialize();
    wchar_t Temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, Temp);
    FFolder = String(Temp) + L"gkMitabTest" +
              IntToStr(static_cast<Integer>(GetCurrentProcessId())) + L"\\";
    ForceDirectories(FFolder);
  }
  void TearDown() override {
    gkMitabDyn_Finalize();
    for (const String& F : FFiles) DeleteFile(F);
    RemoveDir(FFolder);
  }

  void UseFake(const String& AName) { SetgkMitabDynLibPathMiTab(FakePath(AName)); }

  String WriteTable(const String& AName, const std::string& AScript) {
    String Path = FFolder + AName;
    std::ofstream(StringToAnsi(Path), std::ios::binary) << AScript;
    FFiles.push_back(Path);
    return Path;
  }

  static FakeMitabStats Stats() {
    using TStatsProc = void (*)(FakeMitabStats*);
    auto Proc = reinterpret_cast<TStatsProc>(
        reinterpret_cast<void*>(GetProcAddress(MITABDLL_Handle, "fake_mitab_stats")));
    FakeMitabStats Result;
    if (Proc) Proc(&Result);
    return Result;
  }

  static String RaisedMessage(const std::function<void()>& AProc) {
    try {
      AProc();
    } catch (const Exception& E) {
      return E.Message();
    }
    return L"(nothing raised)";
  }

  String FFolder;
  std::vector<String> FFiles;
};

TEST_F(MitabTest, LibraryIsLookedForInTheProgramFolder) {
  EXPECT_EQ(gkMitabDynLibPathMiTab(), ExeFolder() + L"MitabFromGDAL_VS_11_x86.dll");
  EXPECT_EQ(MITAB_LoadErr, -1);
  EXPECT_EQ(MITABDLL_Handle, nullptr);
}

struct TBindCase {
  const wchar_t* Fake;
  Integer LoadErr;
  int VersionCalls;
  bool Bound;
};

class MitabBindTest : public MitabTest, public ::testing::WithParamInterface<TBindCase> {};

TEST_P(MitabBindTest, VersionDecidesTheBinding) {
  const TBindCase& Case = GetParam();
  UseFake(Case.Fake);
  gkMitabDynMITAB_load();
  ASSERT_NE(MITABDLL_Handle, nullptr);
  EXPECT_EQ(MITAB_LoadErr, Case.LoadErr);
  EXPECT_EQ(Stats().VersionCalls, Case.VersionCalls);
  EXPECT_EQ(mitab_c_open != nullptr, Case.Bound);
  EXPECT_EQ(mitab_c_getlasterrorno != nullptr, Case.Bound);
  EXPECT_EQ(mitab_c_get_feature_count != nullptr, Case.Bound);
  // Entry points the library lacks stay empty without a report.
  EXPECT_EQ(mitab_c_create, nullptr);
  EXPECT_EQ(mitab_c_set_arc, nullptr);

  // Loaded and tested once per process.
  HMODULE Handle = MITABDLL_Handle;
  gkMitabDynMITAB_load();
  EXPECT_EQ(MITABDLL_Handle, Handle);
  EXPECT_EQ(Stats().VersionCalls, Case.VersionCalls);
}

// The decorated library also exports a plain mitab_c_getlibversion that
// reports 1: it is accepted only when the decorated name is looked up first.
INSTANTIATE_TEST_SUITE_P(Fakes, MitabBindTest,
                         ::testing::Values(TBindCase{L"fake_mitab_1007", 0, 1, true},
                                           TBindCase{L"fake_mitab_2000", 0, 2, true},
                                           TBindCase{L"fake_mitab_other", -4, 2, false},
                                           TBindCase{L"fake_mitab_nover", -3, 0, false}));

TEST_F(MitabTest, GenericGetProcAddressPrefersTheDecoratedName) {
  UseFake(L"fake_mitab_1007");
  gkMitabDynMITAB_load();
  FARPROC Decorated = GetProcAddress(MITABDLL_Handle, "_mitab_c_getlibversion@0");
  FARPROC Plain = GetProcAddress(MITABDLL_Handle, "mitab_c_getlibversion");
  ASSERT_NE(Decorated, nullptr);
  ASSERT_NE(Plain, nullptr);
  EXPECT_EQ(GenericGetProcAddress("mitab_c_getlibversion", 0), Decorated);
  // A wrong byte count misses the decorated name and falls back to the plain one.
  EXPECT_EQ(GenericGetProcAddress("mitab_c_getlibversion", 4), Plain);
  EXPECT_EQ(GenericGetProcAddress("mitab_c_open", 4),
            GetProcAddress(MITABDLL_Handle, "_mitab_c_open@4"));
  EXPECT_EQ(GenericGetProcAddress("mitab_c_no_such_entry", 4), nullptr);
}

TEST_F(MitabTest, MissingLibraryRaisesWithThePlatformTextAndIsTriedAgain) {
  String Path = FFolder + L"MitabFromGDAL_VS_11_x86.dll";
  SetgkMitabDynLibPathMiTab(Path);
  String Expected =
      L"Ошибка загрузки библиотеки " + Path + L" " + SysErrorMessage(ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(RaisedMessage([] { gkMitabDynMITAB_load(); }), Expected);
  EXPECT_EQ(MITABDLL_Handle, nullptr);
  std::vector<Integer> Ids;
  EXPECT_EQ(RaisedMessage([&] { GetValidRowCount(L"x.tab", Ids); }), Expected);

  ASSERT_TRUE(CopyFile(FakePath(L"fake_mitab_2000"), Path, false));
  FFiles.push_back(Path);
  gkMitabDynMITAB_load();
  EXPECT_NE(MITABDLL_Handle, nullptr);
  EXPECT_EQ(MITAB_LoadErr, 0);
  gkMitabDyn_Finalize();  // unloads, so that the copy can be deleted
}

struct TRefusedCase {
  const wchar_t* Fake;
  const wchar_t* Reason;
};

class MitabRefusedTest : public MitabTest, public ::testing::WithParamInterface<TRefusedCase> {};

TEST_P(MitabRefusedTest, WalkRaisesNamingTheLibraryAndCallsNothing) {
  UseFake(GetParam().Fake);
  String Table = WriteTable(L"t.tab", "1 ok\n");
  std::vector<Integer> Ids;
  EXPECT_EQ(RaisedMessage([&] { GetValidRowCount(Table, Ids); }),
            L"Библиотека " + FakePath(GetParam().Fake) + L" отклонена: " + GetParam().Reason);
  EXPECT_EQ(Stats().Opens, 0);
  EXPECT_EQ(Stats().Reads, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fakes, MitabRefusedTest,
    ::testing::Values(TRefusedCase{L"fake_mitab_other", L"версия 1006000 не поддерживается"},
                      TRefusedCase{L"fake_mitab_nover", L"нет точки входа mitab_c_getlibversion"},
                      TRefusedCase{L"fake_mitab_noread", L"нет точки входа mitab_c_read_feature"}));

struct TWalkCase {
  const char* Name;
  const wchar_t* Fake;
  const char* Script;
  Integer Count;
  std::vector<Integer> Broken;
  // The highest id the walk read: it shows where the walk stopped.
  int LastProbe;
};

class MitabWalkTest : public MitabTest, public ::testing::WithParamInterface<TWalkCase> {};

TEST_P(MitabWalkTest, CountsReadableAndListsBroken) {
  const TWalkCase& Case = GetParam();
  UseFake(Case.Fake);
  String Table = WriteTable(L"t.tab", Case.Script);
  std::vector<Integer> Ids{-7};  // appended to, never cleared
  EXPECT_EQ(GetValidRowCount(Table, Ids), Case.Count);
  std::vector<Integer> Expected{-7};
  Expected.insert(Expected.end(), Case.Broken.begin(), Case.Broken.end());
  EXPECT_EQ(Ids, Expected);
  FakeMitabStats S = Stats();
  EXPECT_EQ(S.MaxReadId, Case.LastProbe);
  EXPECT_EQ(S.OpenTables, 0);
  EXPECT_EQ(S.LiveFeatures, 0);
}

// Empty probes are counted over the whole walk: it ends at the 10,001st
// probe that gives no feature, no error and no next id.
INSTANTIATE_TEST_SUITE_P(
    Tables, MitabWalkTest,
    ::testing::Values(
        TWalkCase{"Clean", L"fake_mitab_2000", "1 ok\n2 ok\n3 ok\n", 3, {}, 3 + 10001},
        TWalkCase{"CleanDecorated", L"fake_mitab_1007", "1 ok\n2 ok\n", 2, {}, 2 + 10001},
        TWalkCase{"Broken",
                  L"fake_mitab_2000",
                  "1 ok\n2 broken\n3 damaged\n4 ok\n",
                  2,
                  {2, 3},
                  4 + 10001},
        // Ids 5, 9 and 500 lie beyond the chain 1, 2: probes 3, 4, 6-8 and
        // 10-499 are empty (495), so 9,506 more follow 500.
        TWalkCase{"GapsInTheChain",
                  L"fake_mitab_2000",
                  "1 ok\n2 ok\n5 ok hidden\n9 broken hidden\n500 ok hidden\n",
                  4,
                  {9},
                  500 + 9506},
        // Starts at -1, the id a table without features answers.
        TWalkCase{"Empty", L"fake_mitab_2000", "", 0, {}, -1 + 10000},
        // A library that reports an error for every missing id: the run of
        // errors after the last feature is bounded and not listed.
        TWalkCase{"ErrorsPastTheEnd",
                  L"fake_mitab_2000",
                  "1 ok\n2 broken\n3 ok\nerrors-past-end\n",
                  2,
                  {2},
                  3 + 10001}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(MitabTest, UnopenableTableRaisesWithTheLibraryMessage) {
  UseFake(L"fake_mitab_2000");
  String Missing = FFolder + L"missing.tab";
  std::vector<Integer> Ids;
  EXPECT_EQ(RaisedMessage([&] { GetValidRowCount(Missing, Ids); }),
            L"Ошибка при открытии таблицы: Unable to open " + Missing);
  EXPECT_TRUE(Ids.empty());
  EXPECT_EQ(Stats().OpenTables, 0);
}

}  // namespace
