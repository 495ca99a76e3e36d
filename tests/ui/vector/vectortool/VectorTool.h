// vectortool: a command-line harness that runs the vector layer over many
// files in one process (each Wine process start costs time). Each group of
// commands lives in its own source file and hands its table to wmain.
#pragma once

#include <string_view>
#include <vector>

#include "System.h"

struct TVectorToolCommand {
  const wchar_t* Name;
  const wchar_t* Usage;
  // Returns the process exit code: 0 when every file went through.
  int (*Run)(const std::vector<String>& AArguments);
};

std::vector<TVectorToolCommand> XmlToolCommands();
std::vector<TVectorToolCommand> SvgToolCommands();

// Raw bytes to standard output and standard error (no newline translation).
void ToolWrite(std::string_view ABytes);
void ToolError(const String& AText);
