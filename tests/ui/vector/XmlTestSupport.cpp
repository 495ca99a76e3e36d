#include "XmlTestSupport.h"

#include <algorithm>
#include <cstring>

#include "Classes.h"

TOwned<TdxXMLDocument> LoadXml(std::string_view ABytes) {
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  D->LoadFromString(TdxXMLString(ABytes));
  return D;
}

std::string TreeOf(std::string_view ABytes) { return XmlTreeText(LoadXml(ABytes).get()); }

std::string SaveXml(TdxXMLDocument* ADocument, bool AIndent) {
  TOwned<TMemoryStream> S(Create<TMemoryStream>());
  ADocument->SetAutoIndent(AIndent);
  ADocument->SaveToStream(S.get());
  return std::string(static_cast<const char*>(S->Memory()), static_cast<size_t>(S->Size()));
}

std::string ReadFileBytes(const String& AFileName) {
  TOwned<TFileStream> S(Create<TFileStream>(AFileName, static_cast<Word>(fmOpenRead)));
  std::string Bytes(static_cast<size_t>(S->Size()), '\0');
  if (!Bytes.empty()) S->ReadBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  return Bytes;
}

String TestDir() { return VECTOR_TEST_DIR; }

std::vector<String> FilesIn(const String& AFolder, const String& APattern) {
  std::vector<String> Files;
  TSearchRec F;
  if (FindFirst(AFolder + L"/" + APattern, faAnyFile & ~faDirectory, F) == 0) {
    do {
      Files.push_back(AFolder + L"/" + F.Name);
    } while (FindNext(F) == 0);
    FindClose(F);
  }
  std::sort(Files.begin(), Files.end());
  return Files;
}

std::vector<String> CorpusFiles(const String& AFolder) {
  return FilesIn(TestDir() + L"/corpus/" + AFolder, L"*.xml");
}

std::vector<String> InstalledXmlFiles() {
  std::vector<String> Files = FilesIn(L"Z:/usr/share/xml/iso-codes", L"*.xml");
  for (const String& F : FilesIn(L"Z:/usr/share/mime/packages", L"*.xml")) Files.push_back(F);
  return Files;
}

void KeepFuzzFailure(int AIndex, std::string_view AInput, const wchar_t* AExtension) {
  wchar_t Folder[MAX_PATH];
  if (!GetEnvironmentVariableW(L"VECTOR_FUZZ_OUT", Folder, MAX_PATH)) return;
  const String File = String(Folder) + L"\\failure-" + IntToStr(AIndex) + AExtension;
  TOwned<TFileStream> Out(Create<TFileStream>(File, fmCreate));
  Out->WriteBuffer(AInput.data(), static_cast<Integer>(AInput.size()));
}

TGuardedBuffer::TGuardedBuffer(size_t ACapacity) {
  SYSTEM_INFO Info;
  GetSystemInfo(&Info);
  const size_t Page = Info.dwPageSize;
  FSize = (ACapacity + Page - 1) / Page * Page;
  if (FSize == 0) FSize = Page;
  FBase = static_cast<Byte*>(
      VirtualAlloc(nullptr, FSize + Page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  DWORD Old;
  if (!FBase || !VirtualProtect(FBase + FSize, Page, PAGE_NOACCESS, &Old))
    throw EOSError(L"no guarded buffer", GetLastError());
}

TGuardedBuffer::~TGuardedBuffer() { VirtualFree(FBase, 0, MEM_RELEASE); }

void* TGuardedBuffer::Place(const void* AData, size_t ASize) {
  if (ASize > FSize) throw EArgumentException(L"input larger than the buffer");
  Byte* P = FBase + FSize - ASize;
  if (ASize) std::memcpy(P, AData, ASize);
  return P;
}

void TGuardedBuffer::Load(TdxXMLDocument* ADocument, std::string_view ABytes) {
  Byte* P = static_cast<Byte*>(Place(ABytes.data(), ABytes.size()));
  TOwned<TdxXMLParser> Parser(Create<TdxXMLParser>(ADocument));
  Parser->Parse(P, static_cast<NativeInt>(ABytes.size()));
}
