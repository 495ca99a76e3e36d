// xml-dump and xml-save: the reader and the writer over files.
#include "VectorTool.h"
#include "XmlTreeText.h"
#include "dxXMLDoc.h"

namespace {
void ReportFailure(const String& AFile, const Exception& E) {
  ToolError(AFile + L": " + E.ClassName() + L": " + E.Message() + L"\r\n");
}

// "== <file>" and the file's tree text, for each file; a file that cannot be
// read gets "!! <class>: <message>" instead.
int XmlDump(const std::vector<String>& AFiles) {
  int Result = AFiles.empty() ? 2 : 0;
  for (const String& File : AFiles) {
    std::string Out = "== " + UTF8Encode(File) + "\n";
    try {
      TOwned<TdxXMLDocument> Document(Create<TdxXMLDocument>(nullptr));
      Document->LoadFromFile(File);
      Out += XmlTreeText(Document.get());
    } catch (const Exception& E) {
      Out += "!! " + UTF8Encode(E.ClassName() + L": " + E.Message()) + "\n";
      ReportFailure(File, E);
      Result = 1;
    }
    ToolWrite(Out);
  }
  return Result;
}

// [--indent] <input> <output> [<input> <output>]...
int XmlSave(const std::vector<String>& AArguments) {
  bool Indent = false;
  std::vector<String> Files;
  for (const String& A : AArguments) {
    if (A == L"--indent")
      Indent = true;
    else
      Files.push_back(A);
  }
  if (Files.empty() || Files.size() % 2 != 0) {
    ToolError(L"xml-save: give pairs of input and output files\r\n");
    return 2;
  }
  int Result = 0;
  for (size_t I = 0; I < Files.size(); I += 2) {
    try {
      TOwned<TdxXMLDocument> Document(Create<TdxXMLDocument>(nullptr));
      Document->LoadFromFile(Files[I]);
      Document->SetAutoIndent(Indent);
      Document->SaveToFile(Files[I + 1]);
    } catch (const Exception& E) {
      ReportFailure(Files[I], E);
      Result = 1;
    }
  }
  return Result;
}
}  // namespace

std::vector<TVectorToolCommand> XmlToolCommands() {
  return {
      {L"xml-dump", L"xml-dump <file>...: the loaded tree of each file, one line per element",
       &XmlDump},
      {L"xml-save",
       L"xml-save [--indent] <input> <output>...: loads each input and saves it to its output",
       &XmlSave},
  };
}
