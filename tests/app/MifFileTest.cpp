#include <gtest/gtest.h>

#include <string>

#include "Pelmora.h"
#include "WinCompat.h"

namespace {

// A private folder under the temporary folder, removed with its files.
class MifFiles : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t Tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, Tmp);
    Dir = String(Tmp) + L"пелмора_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(Dir.c_str(), nullptr);
  }
  void TearDown() override {
    WIN32_FIND_DATAW F;
    HANDLE H = FindFirstFileW((Dir + L"*").c_str(), &F);
    if (H != INVALID_HANDLE_VALUE) {
      do {
        if (!(F.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileW((Dir + F.cFileName).c_str());
      } while (FindNextFileW(H, &F));
      FindClose(H);
    }
    RemoveDirectoryW(Dir.c_str());
  }

  void Put(const String& AName, const std::string& AText) {
    HANDLE H =
        CreateFileW((Dir + AName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(H, INVALID_HANDLE_VALUE);
    DWORD Put = 0;
    WriteFile(H, AText.data(), static_cast<DWORD>(AText.size()), &Put, nullptr);
    CloseHandle(H);
  }
  std::string Get(const String& AName) {
    std::string S;
    HANDLE H = CreateFileW((Dir + AName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (H == INVALID_HANDLE_VALUE) return "<missing>";
    char Buf[65536];
    DWORD Got = 0;
    while (ReadFile(H, Buf, sizeof(Buf), &Got, nullptr) && Got) S.append(Buf, Got);
    CloseHandle(H);
    return S;
  }
  bool Exists(const String& AName) {
    return GetFileAttributesW((Dir + AName).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  const TCoordTransform Shift{TTransformParams{}};
  String Dir;
};

TEST_F(MifFiles, RewriteWritesCrLfWhateverTheInputLineEnds) {
  // Cyrillic text in the 8-bit file passes through byte for byte.
  const std::string Name = "\xcf\xee\xeb\xe5";
  Put(L"Таблица.mif", "Version 300\nColumns 1\n  " + Name + " Char(10)\rData\r\n\r\n" +
                          "Point 1 2\nPline 1\r1.5 2.5");
  RewriteMifFile(Dir + L"Таблица.mif", Dir + L"Выход.mif", NonEarthMifClause, Shift, tsShift);
  EXPECT_EQ(Get(L"Выход.mif"), "Version 300\r\nColumns 1\r\n  " + Name +
                                   " Char(10)\r\nData\r\nPoint 4000001 7000002\r\nPline 1\r\n"
                                   "4000001.5 7000002.5\r\n");
}

TEST_F(MifFiles, LinesAcrossBufferBoundsAndLongerThanTheBuffer) {
  // The reader's block is 1 MiB: put a CRLF across the first boundary and a
  // line of 3 MiB after it.
  const size_t Block = 1 << 20;
  std::string First(Block - 1, 'a');
  std::string Long(3 * Block, 'b');
  Put(L"long.txt", First + "\r\n" + Long + "\r\nend");
  TMifReader R(Dir + L"long.txt");
  std::string_view L;
  ASSERT_TRUE(R.ReadLine(L));
  EXPECT_EQ(L.size(), First.size());
  ASSERT_TRUE(R.ReadLine(L));
  EXPECT_EQ(L, Long);
  ASSERT_TRUE(R.ReadLine(L));
  EXPECT_EQ(L, "end");
  EXPECT_EQ(R.LineNo(), 3);
  EXPECT_FALSE(R.ReadLine(L));
}

TEST_F(MifFiles, FailedRewriteLeavesNoOutput) {
  Put(L"tab1.mif", "Data\r\nPline 3\r\n1 2\r\n");
  Put(L"tabOut.mif", "old");
  EXPECT_THROW(
      RewriteMifFile(Dir + L"tab1.mif", Dir + L"tabOut.mif", NonEarthMifClause, Shift, tsShift),
      EMifError);
  EXPECT_FALSE(Exists(L"tabOut.mif"));
}

TEST_F(MifFiles, MissingInputRaisesOpenError) {
  EXPECT_THROW(
      RewriteMifFile(Dir + L"none.mif", Dir + L"out.mif", NonEarthMifClause, Shift, tsShift),
      EFOpenError);
  EXPECT_THROW(CopyMidFile(Dir + L"none.mid", Dir + L"out.mid"), EOSError);
}

TEST_F(MifFiles, CopyPassAndAttributeCopy) {
  Put(L"tab1.mif", "Version 300\r\nCoordSys Earth Projection 1, 104\r\nData\r\n\r\nPoint 1 2\r\n");
  CopyMifFileWithCoordSys(Dir + L"tab1.mif", Dir + L"tabOut.mif", NonEarthMifClause);
  EXPECT_EQ(Get(L"tabOut.mif"),
            "Version 300\r\n" + std::string(NonEarthMifClause) + "\r\nData\r\n\r\nPoint 1 2\r\n");
  Put(L"tab1.mid", "1,\"a\"\n2,\"b\"");
  Put(L"tabOut.mid", "an older copy that is longer");
  CopyMidFile(Dir + L"tab1.mid", Dir + L"tabOut.mid");
  EXPECT_EQ(Get(L"tabOut.mid"), "1,\"a\"\n2,\"b\"");
}

}  // namespace
