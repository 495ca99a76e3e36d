#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "Pelmora.h"
#include "TempFolder.h"

namespace {

class FolderScan : public testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* F :
         {L"a.TAB", L"b.tab", L"readme.txt", L"Backup.Tab.bak", L"roads.table", L"notab.ta",
          L"Папка с пробелами\\c.tab", L"Папка с пробелами\\Вложенная\\d.TaB",
          L"Папка с пробелами\\Вложенная\\d.dat", L"x.tab\\e.tab", L"y\\z\\f.mif"})
      Dir.Put(In + F, "!table\r\n");
    Dir.Put(In + L"hidden.tab", "");
    SetFileAttributesW((Dir.Path() + In + L"hidden.tab").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Dir.Folder(In + L"пусто");
  }

  TTempFolder Dir{L"скан"};
  const String In = L"Вход таблиц\\";
};

// A backup copy ("Backup.Tab.bak") or another kind of file ("roads.table")
// would end the run when opened as a table.
TEST_F(FolderScan, FindsFilesWithTheTabExtensionInAnyCaseDepthFirst) {
  std::vector<String> Found;
  GetFiles(Dir.Path() + In, Found);
  std::set<String> Want;
  for (const wchar_t* F : {L"a.TAB", L"b.tab", L"hidden.tab", L"Папка с пробелами\\c.tab",
                           L"Папка с пробелами\\Вложенная\\d.TaB", L"x.tab\\e.tab"})
    Want.insert(Dir.Path() + In + F);
  EXPECT_EQ(std::set<String>(Found.begin(), Found.end()), Want);
  EXPECT_EQ(Found.size(), Want.size());

  // Depth-first: the tables of a folder and its sub-folders come together.
  for (const wchar_t* Sub : {L"Папка с пробелами\\", L"x.tab\\"}) {
    String Prefix = Dir.Path() + In + Sub;
    auto Inside = [&](const String& P) { return P.rfind(Prefix, 0) == 0; };
    auto First = std::find_if(Found.begin(), Found.end(), Inside);
    auto Last = std::find_if(Found.rbegin(), Found.rend(), Inside).base();
    EXPECT_TRUE(std::all_of(First, Last, Inside)) << Sub;
  }
  // Files of one folder keep the order the file system gives them.
  std::vector<String> Top;
  for (const String& P : Found)
    if (ExtractFilePath(P) == Dir.Path() + In) Top.push_back(ExtractFileName(P));
  std::vector<String> Listed;
  for (const String& N : Dir.Entries(In))
    if (std::find(Top.begin(), Top.end(), N) != Top.end()) Listed.push_back(N);
  EXPECT_EQ(Top, Listed);
}

TEST_F(FolderScan, TypedFolderWithoutSeparatorGivesTheSamePaths) {
  std::vector<String> WithSeparator, Typed;
  GetFiles(Dir.Path() + In, WithSeparator);
  GetFiles(ExcludeTrailingPathDelimiter(Dir.Path() + In), Typed);
  EXPECT_EQ(Typed, WithSeparator);
  EXPECT_EQ(RunFolder(L"  " + ExcludeTrailingPathDelimiter(Dir.Path() + In) + L" \r\n"),
            Dir.Path() + In);

  std::vector<String> None;
  GetFiles(Dir.Path() + L"нет такой\\", None);
  EXPECT_TRUE(None.empty());
}

// A table is a raster when its Type line says so; the word elsewhere (a
// column's name, a text of the metadata) does not count.
TEST_F(FolderScan, RasterTablesAreToldByTheirTypeLine) {
  struct TCase {
    const char* Text;
    bool Raster;
  } Cases[] = {
      {"!table\r\nDefinition Table\r\n  File \"s.tif\"\r\n  Type \"RASTER\"\r\n", true},
      {"Definition Table\r\n\tType   RASTER \r\n", true},
      {"!table\r\nDefinition Table\r\n  Type NATIVE\r\n  Fields 1 ; raster\r\n", false},
      {"!table\r\nDefinition Table\r\n  Type NATIVE Charset \"WindowsCyrillic\"\r\n  Fields 2\r\n"
       "    RASTER Char (10) ;\r\n    Type Char (20) ;\r\n",
       false},
      {"!table\r\nDefinition Table\r\n  Type NATIVE\r\nbegin_metadata\r\n\"\\Note\" = "
       "\"Type \\\"RASTER\\\" scanned\"\r\nend_metadata\r\n",
       false},
      {"!table\r\n  Type \"raster\"\r\n", false},
      {"!table\r\n  TypeRASTER\r\n", false},
  };
  for (const TCase& C : Cases) {
    Dir.Put(L"t.tab", C.Text);
    EXPECT_EQ(IsRasterTab(Dir.Path() + L"t.tab"), C.Raster) << C.Text;
  }
  try {
    IsRasterTab(Dir.Path() + L"нет.tab");
    FAIL() << "an unreadable table must end the run";
  } catch (EFOpenError& E) {
    EXPECT_NE(E.Message().find(Dir.Path() + L"нет.tab"), String::npos) << E.Message();
  }
}

TEST(OutputPath, MirrorsTheSubFolderLayout) {
  struct TCase {
    const wchar_t *Table, *InDir, *OutDir, *Want;
  } Cases[] = {
      {L"C:\\in\\a.tab", L"C:\\in\\", L"D:\\out\\", L"D:\\out\\a.tab"},
      {L"C:\\in\\Под папка\\b.TAB", L"C:\\in\\", L"D:\\вы ход", L"D:\\вы ход\\Под папка\\b.TAB"},
      {L"C:\\in\\sub\\b.tab", L" C:\\in ", L"D:\\out\\", L"D:\\out\\sub\\b.tab"},
      // The scan's paths start with the input folder; letter case may differ
      // when the folder was typed.
      {L"c:\\IN\\sub\\b.tab", L"C:\\in\\", L"D:\\out\\", L"D:\\out\\sub\\b.tab"},
      // Only the start is replaced, not a sub-folder of the same name.
      {L"C:\\in\\C\\in\\x.tab", L"C:\\in\\", L"D:\\out\\", L"D:\\out\\C\\in\\x.tab"},
      {L"data\\x\\data\\t.tab", L"data", L"out", L"out\\x\\data\\t.tab"},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(OutputTablePath(C.Table, C.InDir, C.OutDir), C.Want) << C.Table;
  EXPECT_THROW(OutputTablePath(L"C:\\other\\a.tab", L"C:\\in\\", L"D:\\out\\"), EArgumentException);
  EXPECT_THROW(OutputTablePath(L"C:\\input\\a.tab", L"C:\\in", L"D:\\out\\"), EArgumentException);
}

TEST(RunChecks, InputsAndFolderRelations) {
  TTempFolder Dir(L"проверки");
  Dir.Folder(L"Вход\\Выход");
  Dir.Folder(L"Вход2");
  const String P = Dir.Path();
  const String In = P + L"Вход\\";
  struct TCase {
    String InPath, OutPath;
    Integer Target;
    TRunCheck Want;
  } Cases[] = {
      {L"", P + L"Выход", 1, TRunCheck::rcNoInPath},
      {L" \r\n", P + L"Выход", 1, TRunCheck::rcNoInPath},
      {In, L"  ", 1, TRunCheck::rcNoOutPath},
      {In, P + L"Выход", -1, TRunCheck::rcBadTarget},
      {In, P + L"Выход", 3, TRunCheck::rcBadTarget},
      {P + L"Нет", P + L"Выход", 1, TRunCheck::rcInPathMissing},
      {In, In, 0, TRunCheck::rcOutIsIn},
      {In, ExcludeTrailingPathDelimiter(In) + L" ", 1, TRunCheck::rcOutIsIn},
      {In, AnsiUpperCase(In), 2, TRunCheck::rcOutIsIn},
      {In, In + L"Выход\\..", 1, TRunCheck::rcOutIsIn},
      {In, In + L"Выход", 1, TRunCheck::rcOutInsideIn},
      {In, In + L"Ещё нет\\глубже\\", 1, TRunCheck::rcOutInsideIn},
      {In, P + L"Вход2\\", 0, TRunCheck::rcOk},
      {In, P + L"Выход", 1, TRunCheck::rcOk},
      {In, P, 2, TRunCheck::rcOk},
      {ExcludeTrailingPathDelimiter(In), P + L"Выход", 0, TRunCheck::rcOk},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(CheckRunInputs(C.InPath, C.OutPath, C.Target), C.Want)
        << "in " << C.InPath << " out " << C.OutPath << " target " << C.Target;
    EXPECT_EQ(RunCheckMessage(C.Want).empty(), C.Want == TRunCheck::rcOk);
  }
  EXPECT_EQ(RunCheckMessage(TRunCheck::rcNoInPath), L"Не указана входная папка.");
  EXPECT_EQ(RunCheckMessage(TRunCheck::rcNoOutPath), L"Не указана выходная папка.");
  EXPECT_EQ(RunCheckMessage(TRunCheck::rcBadTarget), L"Недозволенная выходная система координат.");
  // Nothing was written by the checks.
  EXPECT_FALSE(Dir.Exists(L"Вход\\Ещё нет"));
}

// The output folder holds the input folder: most tables go beside it, but
// one in a sub-folder named like the input folder would land inside the
// input, over another source table.
TEST(RunChecks, OutputPathInsideTheInputRefusesTheRun) {
  TTempFolder Dir(L"вложение");
  const String Out = Dir.Path();
  const String In = Out + L"in\\";
  Dir.Put(L"in\\a.tab", "");
  Dir.Put(L"in\\sub\\b.tab", "");
  std::vector<String> Files;
  GetFiles(In, Files);
  ASSERT_EQ(CheckRunInputs(In, Out, 1), TRunCheck::rcOk);
  EXPECT_EQ(CheckOutputPaths(Files, In, Out), L"");

  Dir.Put(L"in\\in\\a.tab", "");
  Files.clear();
  GetFiles(In, Files);
  String Message = CheckOutputPaths(Files, In, Out);
  EXPECT_NE(Message.find(In + L"in\\a.tab"), String::npos) << Message;
  EXPECT_NE(Message.find(L"во входную папку"), String::npos) << Message;
}

}  // namespace
