#include "XmlTestSupport.h"

#include <algorithm>

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

namespace {
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
}  // namespace

std::vector<String> CorpusFiles(const String& AFolder) {
  return FilesIn(TestDir() + L"/corpus/" + AFolder, L"*.xml");
}

std::vector<String> InstalledXmlFiles() {
  std::vector<String> Files = FilesIn(L"Z:/usr/share/xml/iso-codes", L"*.xml");
  for (const String& F : FilesIn(L"Z:/usr/share/mime/packages", L"*.xml")) Files.push_back(F);
  return Files;
}
