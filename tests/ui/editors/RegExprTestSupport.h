// Small helpers of the regular-expression tests.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "cxRegExpr.h"

struct TErrorAt {
  Integer Line;
  Integer Char;
  String Message;
  bool operator==(const TErrorAt& E) const {
    return Line == E.Line && Char == E.Char && Message == E.Message;
  }
};

inline void PrintTo(const TErrorAt& E, std::ostream* Os) {
  *Os << E.Line << ":" << E.Char << " " << testing::PrintToString(E.Message);
}

// The errors of compiling APattern (a null stream when APattern is nil); empty when it compiles.
inline std::vector<TErrorAt> CompileErrors(TcxRegExpr& R, const wchar_t* APattern) {
  std::vector<TErrorAt> Result;
  try {
    if (APattern)
      R.Compile(String(APattern));
    else
      R.Compile(static_cast<TStream*>(nullptr));
  } catch (const EcxRegExprError& E) {
    for (Integer I = 0; I < E.Errors().Count(); ++I) {
      const TcxRegExprError* Error = E.Errors().Items(I);
      Result.push_back({Error->Line(), Error->Char(), Error->Message()});
    }
    if (Result.empty()) Result.push_back({-1, -1, L"an error without errors"});
  }
  return Result;
}

inline std::vector<TErrorAt> CompileErrors(const String& APattern) {
  TcxRegExpr R;
  return CompileErrors(R, APattern.c_str());
}

// Types AText character by character; the characters taken, as they came back.
inline String TypeText(TcxRegExpr& R, const String& AText) {
  String Taken;
  for (Char C : AText) {
    Char T = C;
    if (R.Next(T)) Taken += T;
  }
  return Taken;
}

// From a reset automaton, every character is taken and the text is complete.
inline bool Matches(TcxRegExpr& R, const String& AText) {
  R.Reset();
  for (Char C : AText) {
    Char T = C;
    if (!R.Next(T)) return false;
  }
  return R.IsFinal();
}
