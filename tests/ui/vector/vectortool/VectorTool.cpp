#include "VectorTool.h"

#include "Classes.h"
#include "SvgTestSupport.h"
#include "SysUtils.h"

namespace {
void WriteHandle(DWORD AHandle, std::string_view ABytes) {
  HANDLE H = GetStdHandle(AHandle);
  while (!ABytes.empty()) {
    DWORD Written = 0;
    const DWORD Chunk = static_cast<DWORD>(ABytes.size() > (1u << 20) ? (1u << 20) : ABytes.size());
    if (!WriteFile(H, ABytes.data(), Chunk, &Written, nullptr) || Written == 0) return;
    ABytes.remove_prefix(Written);
  }
}

void Usage(const std::vector<TVectorToolCommand>& ACommands) {
  String Text = L"usage: vectortool <command> [arguments | @list-file]...\r\n";
  for (const TVectorToolCommand& C : ACommands) Text += String(L"  ") + C.Usage + L"\r\n";
  ToolError(Text);
}
}  // namespace

void ToolWrite(std::string_view ABytes) { WriteHandle(STD_OUTPUT_HANDLE, ABytes); }

void ToolError(const String& AText) { WriteHandle(STD_ERROR_HANDLE, UTF8Encode(AText)); }

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  std::vector<TVectorToolCommand> Commands = XmlToolCommands();
  for (const TVectorToolCommand& C : SvgToolCommands()) Commands.push_back(C);
  if (argc < 2) {
    Usage(Commands);
    return 2;
  }
  for (const TVectorToolCommand& C : Commands) {
    if (String(argv[1]) != C.Name) continue;
    try {
      return C.Run(ExpandListArguments(argc, argv, 2));
    } catch (const Exception& E) {
      ToolError(E.ClassName() + L": " + E.Message() + L"\r\n");
      return 1;
    }
  }
  Usage(Commands);
  return 2;
}
