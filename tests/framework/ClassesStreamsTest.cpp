#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Classes.h"

namespace {

// A private temporary folder, removed with what the test left in it.
class TempDir : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t Base[MAX_PATH];
    GetTempPathW(MAX_PATH, Base);
    FDir = String(Base) + L"classes-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64());
    ASSERT_TRUE(CreateDirectoryW(FDir.c_str(), nullptr));
  }
  void TearDown() override {
    WIN32_FIND_DATAW Data;
    HANDLE H = FindFirstFileW((FDir + L"\\*").c_str(), &Data);
    if (H != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((FDir + L"\\" + Data.cFileName).c_str());
      } while (FindNextFileW(H, &Data));
      FindClose(H);
    }
    RemoveDirectoryW(FDir.c_str());
  }
  String Path(const String& Name) const { return FDir + L"\\" + Name; }
  TBytes ReadAll(const String& Name) const {
    TOwned<TMemoryStream> M(Create<TMemoryStream>());
    M->LoadFromFile(Path(Name));
    return TBytes(static_cast<const Byte*>(M->Memory()), static_cast<size_t>(M->Size()));
  }
  void WriteAll(const String& Name, const TBytes& Bytes) {
    TOwned<TFileStream> F(Create<TFileStream>(Path(Name), fmCreate));
    F->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  }
  String FDir;
};

TBytes B(std::initializer_list<int> Values) {
  TBytes R;
  for (int V : Values) R.push_back(static_cast<Byte>(V));
  return R;
}

TEST(TMemoryStream, WriteSeekReadAndGrow) {
  TOwned<TMemoryStream> M(Create<TMemoryStream>());
  const char Text[] = "0123456789";
  M->WriteBuffer(Text, 10);
  EXPECT_EQ(M->Size(), 10);
  EXPECT_EQ(M->Position(), 10);
  EXPECT_EQ(M->Seek(-4, soFromEnd), 6);
  char Buf[8] = {};
  EXPECT_EQ(M->Read(Buf, 8), 4);
  EXPECT_EQ(std::string(Buf, 4), "6789");
  EXPECT_EQ(M->Read(Buf, 8), 0);
  // Writing past the end fills the gap with zeros.
  M->SetPosition(12);
  M->WriteBuffer("X", 1);
  EXPECT_EQ(M->Size(), 13);
  EXPECT_EQ(static_cast<const char*>(M->Memory())[10], '\0');
  EXPECT_EQ(static_cast<const char*>(M->Memory())[12], 'X');
  M->Seek(2, soFromBeginning);
  M->Seek(3, soFromCurrent);
  EXPECT_EQ(M->Position(), 5);
  M->SetSize(3);
  EXPECT_EQ(M->Position(), 3);
  M->SetPosition(100);
  EXPECT_EQ(M->Read(Buf, 1), 0);
  M->SetPosition(-5);
  EXPECT_EQ(M->Read(Buf, 1), 0);
  M->Clear();
  EXPECT_EQ(M->Size(), 0);
  EXPECT_EQ(M->Position(), 0);
}

TEST(TStream, TruncatedReadsRaiseAndReadNothingOutside) {
  TOwned<TBytesStream> S(Create<TBytesStream>(B({1, 2, 3})));
  Byte Buf[4] = {9, 9, 9, 9};
  try {
    S->ReadBuffer(Buf, 4);
    ADD_FAILURE();
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message(), L"Stream read error");
  }
  EXPECT_EQ(Buf[3], 9);
  S->SetPosition(0);
  EXPECT_THROW(S->ReadBuffer(Buf, -1), EReadError);
  S->ReadBuffer(Buf, 3);
  EXPECT_EQ(Buf[2], 3);
  EXPECT_THROW(S->ReadBuffer(Buf, 1), EReadError);
  S->ReadBuffer(Buf, 0);
}

TEST(TStream, CopyFromCopiesTheRequestedPart) {
  TOwned<TBytesStream> Src(Create<TBytesStream>(B({1, 2, 3, 4, 5})));
  TOwned<TBytesStream> Dst(Create<TBytesStream>());
  Src->SetPosition(1);
  EXPECT_EQ(Dst->CopyFrom(Src.get(), 3), 3);
  EXPECT_EQ(Dst->Bytes(), B({2, 3, 4}));
  // Zero means all of the source, from its beginning.
  EXPECT_EQ(Dst->CopyFrom(Src.get(), 0), 5);
  EXPECT_EQ(Dst->Bytes(), B({2, 3, 4, 1, 2, 3, 4, 5}));
  Src->SetPosition(4);
  EXPECT_THROW(Dst->CopyFrom(Src.get(), 2), EReadError);
}

TEST(TStringStream, EncodesInItsCodePage) {
  const String Privet = L"\u041f\u0440\u0438\u0432\u0435\u0442";
  TOwned<TStringStream> S(Create<TStringStream>(Privet, TEncoding::GetEncoding(1251)));
  EXPECT_EQ(S->Bytes(), B({0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2}));
  S->Seek(0, soEnd);
  S->WriteString(L"!");
  EXPECT_EQ(S->DataString(), Privet + L"!");
  S->SetPosition(2);
  EXPECT_EQ(S->ReadString(3), L"\u0438\u0432\u0435");
  EXPECT_EQ(S->ReadString(10), L"\u0442!");
  TOwned<TStringStream> U(Create<TStringStream>(L"\u044f", TEncoding::UTF8()));
  EXPECT_EQ(U->Bytes(), B({0xD1, 0x8F}));  // no preamble inside the data
}

TEST_F(TempDir, FileStreamCreatesOpensAndShares) {
  {
    TOwned<TFileStream> F(Create<TFileStream>(Path(L"a.bin"), fmCreate));
    F->WriteBuffer("abcdef", 6);
    F->SetSize(4);
    EXPECT_EQ(F->Size(), 4);
  }
  {
    TOwned<TFileStream> F(Create<TFileStream>(Path(L"a.bin"), fmOpenRead | fmShareDenyWrite));
    // Another reader may open it, a writer may not.
    TOwned<TFileStream> G(Create<TFileStream>(Path(L"a.bin"), fmOpenRead | fmShareDenyNone));
    EXPECT_THROW(Create<TFileStream>(Path(L"a.bin"), fmOpenWrite | fmShareDenyNone), EFOpenError);
    EXPECT_EQ(F->Write("x", 1), 0);
    char Buf[4];
    G->ReadBuffer(Buf, 4);
    EXPECT_EQ(std::string(Buf, 4), "abcd");
    EXPECT_THROW(G->ReadBuffer(Buf, 1), EReadError);
  }
  {
    TOwned<TFileStream> F(Create<TFileStream>(Path(L"a.bin"), fmOpenReadWrite | fmShareExclusive));
    EXPECT_THROW(Create<TFileStream>(Path(L"a.bin"), fmOpenRead | fmShareDenyNone), EFOpenError);
    F->Seek(0, soFromEnd);
    F->WriteBuffer("Z", 1);
  }
  EXPECT_EQ(ReadAll(L"a.bin"), B({'a', 'b', 'c', 'd', 'Z'}));
}

TEST_F(TempDir, FileErrorsCarryNameAndPlatformReason) {
  String Missing = Path(L"missing.bin");
  try {
    Create<TFileStream>(Missing, fmOpenRead);
    ADD_FAILURE();
  } catch (const EFOpenError& E) {
    String Expected = L"Cannot open file \"" + Missing + L"\". ";
    EXPECT_EQ(E.Message().substr(0, Expected.size()), Expected);
    EXPECT_GT(E.Message().size(), Expected.size());  // the platform's reason follows
  }
  String BadPath = Path(L"no-such-dir\\x.bin");
  try {
    Create<TFileStream>(BadPath, fmCreate);
    ADD_FAILURE();
  } catch (const EFCreateError& E) {
    String Expected = L"Cannot create file \"" + BadPath + L"\". ";
    EXPECT_EQ(E.Message().substr(0, Expected.size()), Expected);
    EXPECT_GT(E.Message().size(), Expected.size());
  }
  TOwned<TMemoryStream> M(Create<TMemoryStream>());
  EXPECT_THROW(M->LoadFromFile(Missing), EFOpenError);
}

TEST_F(TempDir, MemoryStreamFileRoundTrip) {
  TOwned<TMemoryStream> M(Create<TMemoryStream>());
  std::vector<Byte> Data(100000);
  for (size_t I = 0; I < Data.size(); ++I) Data[I] = static_cast<Byte>(I * 7);
  M->WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
  M->SaveToFile(Path(L"m.bin"));
  TOwned<TMemoryStream> N(Create<TMemoryStream>());
  N->LoadFromFile(Path(L"m.bin"));
  ASSERT_EQ(N->Size(), static_cast<Int64>(Data.size()));
  EXPECT_EQ(N->Position(), 0);
  EXPECT_EQ(std::memcmp(N->Memory(), Data.data(), Data.size()), 0);
}

TEST(TResourceStream, ReadsAModuleResourceAndRejectsMissingOnes) {
  HMODULE Kernel = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(Kernel, nullptr);
  TOwned<TResourceStream> R(Create<TResourceStream>(Kernel, 1, MAKEINTRESOURCEW(16)));
  // A version resource: its length word, then the key after three words.
  Word Len = 0;
  R->ReadBuffer(&Len, 2);
  EXPECT_EQ(Len, R->Size());
  R->SetPosition(6);
  wchar_t Key[15];
  R->ReadBuffer(Key, sizeof(Key));
  EXPECT_EQ(String(Key, 15), L"VS_VERSION_INFO");
  EXPECT_THROW(R->WriteBuffer("x", 1), EStreamError);
  try {
    Create<TResourceStream>(Kernel, L"NOSUCHRES", MAKEINTRESOURCEW(10));
    ADD_FAILURE();
  } catch (const EResNotFound& E) {
    EXPECT_EQ(E.Message(), L"Resource NOSUCHRES not found");
  }
  EXPECT_THROW(TResourceStream::CreateFromID(Kernel, 4711, MAKEINTRESOURCEW(10)), EResNotFound);
}

// Cyrillic text and its bytes in code page 1251.
const String Cyr = L"\u041c\u043e\u0441\u043a\u0432\u0430";
TBytes Cyr1251() { return B({0xCC, 0xEE, 0xF1, 0xEA, 0xE2, 0xE0}); }
TBytes CyrUtf8() {
  return B({0xD0, 0x9C, 0xD0, 0xBE, 0xD1, 0x81, 0xD0, 0xBA, 0xD0, 0xB2, 0xD0, 0xB0});
}
TBytes Crlf() { return B({13, 10}); }

TEST_F(TempDir, StringListFilesInCodePage1251AndUtf8) {
  TOwned<TStringList> L(Create<TStringList>());
  L->Add(Cyr);
  L->Add(L"line 2");
  L->SaveToFile(Path(L"cp.txt"), TEncoding::GetEncoding(1251));
  TBytes Line2 = B({'l', 'i', 'n', 'e', ' ', '2'});
  EXPECT_EQ(ReadAll(L"cp.txt"), Cyr1251() + Crlf() + Line2 + Crlf());
  L->SaveToFile(Path(L"u8.txt"), TEncoding::UTF8());
  EXPECT_EQ(ReadAll(L"u8.txt"), B({0xEF, 0xBB, 0xBF}) + CyrUtf8() + Crlf() + Line2 + Crlf());

  TOwned<TStringList> R(Create<TStringList>());
  R->LoadFromFile(Path(L"cp.txt"), TEncoding::GetEncoding(1251));
  EXPECT_EQ(R->Text(), L->Text());
  // A byte-order mark is found without being asked for, and kept for saving.
  R->LoadFromFile(Path(L"u8.txt"));
  EXPECT_EQ(R->Text(), L->Text());
  EXPECT_EQ(R->Encoding().CodePage(), static_cast<UINT>(CP_UTF8));
  R->Add(L"\u4e2d");
  R->SaveToFile(Path(L"u8b.txt"));
  TOwned<TStringList> R2(Create<TStringList>());
  R2->LoadFromFile(Path(L"u8b.txt"));
  EXPECT_EQ(R2->Get(2), L"\u4e2d");
  // An explicit encoding skips its own preamble.
  R2->LoadFromFile(Path(L"u8.txt"), TEncoding::UTF8());
  EXPECT_EQ(R2->Get(0), Cyr);
}

TEST_F(TempDir, StringListDetectsUtf16AndDefaultsToAnsi) {
  WriteAll(L"u16.txt", B({0xFF, 0xFE, 0x1C, 0x04, 'a', 0, 13, 0, 10, 0, 'b', 0}));
  TOwned<TStringList> L(Create<TStringList>());
  L->LoadFromFile(Path(L"u16.txt"));
  EXPECT_EQ(L->Text(), L"\u041ca\r\nb\r\n");
  WriteAll(L"plain.txt", B({'x', 'y', 13, 10, 'z'}));
  L->LoadFromFile(Path(L"plain.txt"));
  EXPECT_EQ(L->Text(), L"xy\r\nz\r\n");
  EXPECT_EQ(L->Encoding(), TEncoding::Default());
  WriteAll(L"empty.txt", TBytes());
  L->LoadFromFile(Path(L"empty.txt"));
  EXPECT_EQ(L->Count(), 0);
  EXPECT_THROW(L->LoadFromFile(Path(L"absent.txt")), EFOpenError);
}

TEST(TStringList, StreamsFromTheCurrentPosition) {
  TOwned<TMemoryStream> M(Create<TMemoryStream>());
  M->WriteBuffer("head", 4);
  TOwned<TStringList> L(Create<TStringList>());
  L->SetCommaText(L"a,b");
  L->SaveToStream(M.get(), TEncoding::GetEncoding(1252));
  M->SetPosition(4);
  TOwned<TStringList> R(Create<TStringList>());
  R->LoadFromStream(M.get(), TEncoding::GetEncoding(1252));
  EXPECT_EQ(R->GetCommaText(), L"a,b");
}

}  // namespace
