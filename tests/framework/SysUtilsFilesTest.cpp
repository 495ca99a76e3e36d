#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "SysUtils.h"

namespace {

TEST(SysUtilsFileNames, Parts) {
  struct Case {
    const wchar_t *Name, *Path, *Dir, *File, *Ext, *Drive;
  } Cases[] = {
      {L"C:\\dir\\file.txt", L"C:\\dir\\", L"C:\\dir", L"file.txt", L".txt", L"C:"},
      {L"C:\\file.txt", L"C:\\", L"C:\\", L"file.txt", L".txt", L"C:"},
      {L"file", L"", L"", L"file", L"", L""},
      {L"C:\\dir.d\\file", L"C:\\dir.d\\", L"C:\\dir.d", L"file", L"", L"C:"},
      {L"\\\\server\\share\\dir\\f.tar.gz", L"\\\\server\\share\\dir\\", L"\\\\server\\share\\dir",
       L"f.tar.gz", L".gz", L"\\\\server\\share"},
      {L"C:file.txt", L"C:", L"C:", L"file.txt", L".txt", L"C:"},
      {L"dir\\", L"dir\\", L"dir", L"", L"", L""},
      {L".hidden", L"", L"", L".hidden", L".hidden", L""},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(ExtractFilePath(C.Name), C.Path) << C.Name;
    EXPECT_EQ(ExtractFileDir(C.Name), C.Dir) << C.Name;
    EXPECT_EQ(ExtractFileName(C.Name), C.File) << C.Name;
    EXPECT_EQ(ExtractFileExt(C.Name), C.Ext) << C.Name;
    EXPECT_EQ(ExtractFileDrive(C.Name), C.Drive) << C.Name;
  }
}

TEST(SysUtilsFileNames, ChangingAndDelimiters) {
  EXPECT_EQ(ChangeFileExt(L"a\\b.txt", L".bak"), L"a\\b.bak");
  EXPECT_EQ(ChangeFileExt(L"a.d\\b", L".x"), L"a.d\\b.x");
  EXPECT_EQ(ChangeFileExt(L"b.tar.gz", L""), L"b.tar");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a"), L"C:\\a\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a"), L"C:\\a");
  EXPECT_EQ(ExpandFileName(L"C:\\a\\..\\b\\.\\c.txt"), L"C:\\b\\c.txt");
  EXPECT_EQ(ExpandFileName(L"x.txt"), IncludeTrailingPathDelimiter(GetCurrentDir()) + L"x.txt");
}

// A fresh folder under the temporary folder, removed with its contents.
class SysUtilsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t Buf[MAX_PATH];
    GetTempPathW(MAX_PATH, Buf);
    Root = IncludeTrailingPathDelimiter(Buf) + L"sysutils-" +
           IntToStr(static_cast<Int64>(GetCurrentProcessId())) + L"-\u0444\u0430\u0439\u043b";
    ASSERT_TRUE(ForceDirectories(Root));
    Root = IncludeTrailingPathDelimiter(Root);
  }
  void TearDown() override { RemoveTree(ExcludeTrailingPathDelimiter(Root)); }

  static void RemoveTree(const String& Dir) {
    TSearchRec F;
    if (FindFirst(IncludeTrailingPathDelimiter(Dir) + L"*", faAnyFile, F) == 0) {
      do {
        if (F.Name == L"." || F.Name == L"..") continue;
        String Full = IncludeTrailingPathDelimiter(Dir) + F.Name;
        if (F.Attr & faDirectory) {
          RemoveTree(Full);
        } else {
          SetFileAttributesW(Full.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFile(Full);
        }
      } while (FindNext(F) == 0);
      FindClose(F);
    }
    RemoveDir(Dir);
  }

  static void WriteFile(const String& Name, const AnsiString& Bytes) {
    HANDLE H = CreateFileW(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(H, INVALID_HANDLE_VALUE);
    DWORD Written = 0;
    ::WriteFile(H, Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr);
    CloseHandle(H);
  }

  String Root;
};

TEST_F(SysUtilsFiles, CreateCopyRenameDelete) {
  const String A = Root + L"a.txt", B = Root + L"b.txt", C = Root + L"c.txt";
  EXPECT_FALSE(FileExists(A));
  WriteFile(A, "abc");
  EXPECT_TRUE(FileExists(A));
  EXPECT_FALSE(DirectoryExists(A));
  EXPECT_FALSE(FileExists(ExcludeTrailingPathDelimiter(Root)));
  EXPECT_TRUE(DirectoryExists(ExcludeTrailingPathDelimiter(Root)));

  EXPECT_TRUE(CopyFile(A, B, true));
  EXPECT_FALSE(CopyFile(A, B, true));  // fails when the target exists
  WriteFile(C, "longer text");
  EXPECT_TRUE(CopyFile(C, B, false));  // overwrites
  TSearchRec F;
  ASSERT_EQ(FindFirst(B, faAnyFile, F), 0);
  EXPECT_EQ(F.Size, 11);
  FindClose(F);

  EXPECT_TRUE(RenameFile(B, Root + L"renamed.txt"));
  EXPECT_FALSE(FileExists(B));
  EXPECT_TRUE(FileExists(Root + L"renamed.txt"));
  EXPECT_FALSE(RenameFile(B, Root + L"other.txt"));
  EXPECT_TRUE(DeleteFile(A));
  EXPECT_FALSE(DeleteFile(A));
  EXPECT_FALSE(FileExists(A));
}

TEST_F(SysUtilsFiles, Directories) {
  const String Deep = Root + L"one\\two\\three";
  EXPECT_TRUE(ForceDirectories(Deep));
  EXPECT_TRUE(DirectoryExists(Deep));
  EXPECT_TRUE(ForceDirectories(Deep + L"\\"));  // existing is fine
  EXPECT_FALSE(CreateDir(Deep));
  EXPECT_FALSE(RemoveDir(Root + L"one"));  // not empty
  EXPECT_TRUE(RemoveDir(Deep));
  EXPECT_FALSE(DirectoryExists(Deep));
  EXPECT_TRUE(CreateDir(Deep));
  EXPECT_THROW(ForceDirectories(L""), EInOutError);
  WriteFile(Root + L"file", "x");
  EXPECT_FALSE(ForceDirectories(Root + L"file\\sub"));  // a file is in the way
}

TEST_F(SysUtilsFiles, ForceDirectoriesWithRelativeNames) {
  String Saved = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDirectoryW(Root.c_str()));
  // A short first component must not be mistaken for a drive root.
  bool Made = ForceDirectories(L"a\\b");
  SetCurrentDirectoryW(Saved.c_str());
  EXPECT_TRUE(Made);
  EXPECT_TRUE(DirectoryExists(Root + L"a\\b"));
}

TEST_F(SysUtilsFiles, FindFirstScansFoldersRecursively) {
  ForceDirectories(Root + L"sub\\deeper");
  WriteFile(Root + L"a.txt", "123");
  WriteFile(Root + L"sub\\b.dat", "12345");
  WriteFile(Root + L"sub\\deeper\\c.txt", "");
  WriteFile(Root + L"h.txt", "hh");
  SetFileAttributesW((Root + L"h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

  std::map<String, Int64> Found;
  auto Scan = [&](auto& Self, const String& Dir, Integer Attr) -> void {
    TSearchRec F;
    if (FindFirst(Dir + L"*", Attr, F) != 0) return;
    do {
      if (F.Name == L"." || F.Name == L"..") continue;
      String Rel = (Dir + F.Name).substr(Root.size());
      if (F.Attr & faDirectory) {
        Found[Rel + L"\\"] = 0;
        Self(Self, Dir + F.Name + L"\\", Attr);
      } else {
        Found[Rel] = F.Size;
        EXPECT_NE(F.Time, 0);
      }
    } while (FindNext(F) == 0);
    FindClose(F);
  };
  Scan(Scan, Root, faAnyFile);
  const std::map<String, Int64> All = {{L"a.txt", 3},         {L"h.txt", 2},
                                       {L"sub\\", 0},         {L"sub\\b.dat", 5},
                                       {L"sub\\deeper\\", 0}, {L"sub\\deeper\\c.txt", 0}};
  EXPECT_EQ(Found, All);

  // Without the attributes, folders and hidden files are skipped.
  Found.clear();
  Scan(Scan, Root, 0);
  EXPECT_EQ(Found, (std::map<String, Int64>{{L"a.txt", 3}}));

  TSearchRec F;
  EXPECT_NE(FindFirst(Root + L"*.none", faAnyFile, F), 0);
  EXPECT_NE(FindFirst(Root + L"missing\\*", faAnyFile, F), 0);
}

}  // namespace
