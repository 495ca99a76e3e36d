// Helpers of the XML tests: loading and saving bytes, and the fixture files.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "XmlTreeText.h"

// GoogleTest prints byte strings as text in its messages.
inline void PrintTo(const TdxXMLString& S, std::ostream* AOut) {
  *AOut << '"' << XmlEscapeField(S.View()) << '"';
}

TOwned<TdxXMLDocument> LoadXml(std::string_view ABytes);
// The tree text of the bytes once loaded.
std::string TreeOf(std::string_view ABytes);
std::string SaveXml(TdxXMLDocument* ADocument, bool AIndent);
std::string ReadFileBytes(const String& AFileName);
// The folder of the test sources (fixtures and corpus).
String TestDir();
// The files of a folder that match a pattern, by name.
std::vector<String> FilesIn(const String& AFolder, const String& APattern);
// The files of one corpus folder, by name.
std::vector<String> CorpusFiles(const String& AFolder);
// The XML files that Debian packages install (language and country codes,
// media types): large real documents, read where they exist.
std::vector<String> InstalledXmlFiles();

// With VECTOR_FUZZ_OUT naming a folder, writes an input that failed a
// fuzzing test there as "failure-<N><ext>", ready to become a fixture.
void KeepFuzzFailure(int AIndex, std::string_view AInput, const wchar_t* AExtension);

// A fixed-seed generator for the fuzzing tests: the same inputs on every run
// and every machine.
class TRandom {
 public:
  explicit TRandom(UInt64 ASeed) : FState(ASeed * 0x9E3779B97F4A7C15ull + 1) {}
  UInt64 Next() {
    FState ^= FState >> 12;
    FState ^= FState << 25;
    FState ^= FState >> 27;
    return FState * 0x2545F4914F6CDD1Dull;
  }
  size_t Below(size_t N) { return N ? static_cast<size_t>(Next() % N) : 0; }

 private:
  UInt64 FState;
};

// Memory whose usable part ends right before a page the process may not
// touch: input placed to end there makes a read past its end fault at once
// instead of passing unnoticed.
class TGuardedBuffer {
 public:
  explicit TGuardedBuffer(size_t ACapacity);
  ~TGuardedBuffer();
  TGuardedBuffer(const TGuardedBuffer&) = delete;
  TGuardedBuffer& operator=(const TGuardedBuffer&) = delete;

  // A copy of ASize bytes that ends at the guard page.
  void* Place(const void* AData, size_t ASize);
  // Loads ABytes, placed to end at the guard page, into ADocument.
  void Load(TdxXMLDocument* ADocument, std::string_view ABytes);

 private:
  Byte* FBase = nullptr;
  size_t FSize = 0;
};
