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
// The files of one corpus folder, by name.
std::vector<String> CorpusFiles(const String& AFolder);
// The XML files that Debian packages install (language and country codes,
// media types): large real documents, read where they exist.
std::vector<String> InstalledXmlFiles();
