// The main window module: the coordinate work of a run (transform, input
// class, MIF rewrite). The window class TForm1 calls these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "SysUtils.h"

// An input file that cannot be rewritten: a number that does not convert, a
// count that promises more lines than the file holds. The message names the
// file and the line; Line() is 1-based.
class EMifError : public EConvertError {
  DECLARE_EXCEPTION_BODY(EMifError, EConvertError)
 public:
  EMifError(const String& AMessage, const String& AFileName, Integer ALine)
      : EConvertError(AMessage), FFileName(AFileName), FLine(ALine) {}
  const String& FileName() const { return FFileName; }
  Integer Line() const { return FLine; }

 private:
  String FFileName;
  Integer FLine = 0;
};

// A municipal formation that cannot be used for a run (a scale of 0).
DECLARE_EXCEPTION(EFormationError, Exception)

// ---------------------------------------------------------------------------
// Numbers of MIF text and MapBasic statements. Both formats are
// locale-independent, so "." is the separator whatever the regional format
// (numbers shown to the user go through the framework's conversions instead).

// Enough room for any text FormatMifFloat writes.
constexpr size_t MifFloatBufSize = 32;
// Writes AValue as the framework's FloatToStr does (at most 15 significant
// digits, general format) with "." and returns the end of the text.
char* FormatMifFloat(char* ABuf, Double AValue);
AnsiString MifFloatToStr(Double AValue);
// For MapBasic statements, which are wide text.
String MifFloatToWStr(Double AValue);
// Blanks around the number are allowed; anything else that is not a finite
// number fails.
bool TryMifStrToFloat(std::string_view AText, Double& AValue);
// Raises EConvertError naming the text.
Double MifStrToFloat(std::string_view AText);

// ---------------------------------------------------------------------------
// Transform of one municipal formation. Axes: x is north, y is east.
struct TTransformParams {
  Double xold = 0;  // origin in the old conventional system
  Double yold = 0;
  Double xnew = 0;  // the same origin in MSK-89
  Double ynew = 0;
  Double angle = 0;  // decimal degrees
  Double scale = 1;
};

Double GetAngle(Double ADeg, Double AMin, Double ASec);

// Transform styles of recalcCoord.
constexpr Integer tsForward = 1;  // similarity transform of the formation
constexpr Integer tsShift = 2;    // +7,000,000 N, +4,000,000 E
constexpr Integer tsInverse = 3;  // inverse of tsForward (any other style too)

class TCoordTransform {
 public:
  // Raises EFormationError naming AFormation when the scale is 0 or a
  // parameter is not a finite number: the inverse would divide by zero and the
  // forward transform would collapse every table onto one point.
  explicit TCoordTransform(const TTransformParams& AParams, const String& AFormation = String());

  const TTransformParams& Params() const { return FParams; }
  // (east y1, north x1) -> (east y2, north x2).
  void recalcCoord(Integer AStyle, Double y1, Double x1, Double& y2, Double& x2) const;

 private:
  TTransformParams FParams;
  Double FCos = 1;  // of the forward angle; the inverse uses -angle
  Double FSin = 0;
  Double FInvScale = 1;
};

// ---------------------------------------------------------------------------
// Input class of a table (inCs).
constexpr Integer icNone = 0;
constexpr Integer icLocal = 1;  // non-Earth, east max < 400000: style 1
constexpr Integer icShift = 2;  // non-Earth, 400000 < east max < 2000000: style 2
constexpr Integer icMsk89 = 3;  // non-Earth, east max > 2000000, north max < 2000000
constexpr Integer icSk63 = 4;   // non-Earth, both maxima > 2000000
constexpr Integer icEarth5811057 = 103;
constexpr Integer icEarth11057 = 104;

// AClause is the table's CoordSys clause; AMaxX the largest east value,
// AMaxY the largest north value.
Integer DetectInputClass(const String& AClause, Double AMaxX, Double AMaxY);

// ---------------------------------------------------------------------------
// MIF text files: 8-bit text read and written byte for byte, CRLF line ends
// written; CRLF, LF or CR accepted on reading. Memory use is bounded by the
// longest line, not by the file.

class TMifReader {
 public:
  // Raises EFOpenError when the file cannot be opened.
  explicit TMifReader(const String& APath);
  // Reads text held in memory; AName stands for the file name in messages.
  TMifReader(std::string AText, const String& AName);
  ~TMifReader();
  TMifReader(const TMifReader&) = delete;
  TMifReader& operator=(const TMifReader&) = delete;

  // The line stays valid until the next call. False at the end of the file.
  bool ReadLine(std::string_view& ALine);
  // 1-based number of the line read last.
  Integer LineNo() const { return FLineNo; }
  const String& FileName() const { return FFileName; }

 private:
  bool Fill();

  String FFileName;
  void* FHandle = nullptr;  // file handle, or null for text in memory
  std::vector<char> FBuf;
  size_t FPos = 0;  // next unread byte in FBuf
  size_t FEnd = 0;  // end of valid bytes in FBuf
  bool FEof = false;
  Integer FLineNo = 0;
};

class TMifWriter {
 public:
  // Creates or replaces the file. Raises EFCreateError.
  explicit TMifWriter(const String& APath);
  // Collects the text in memory (Text()).
  TMifWriter();
  // A file that was not committed is incomplete and is removed, so that a
  // failed pass never leaves a file that looks finished.
  ~TMifWriter();
  TMifWriter(const TMifWriter&) = delete;
  TMifWriter& operator=(const TMifWriter&) = delete;

  void WriteLine(std::string_view ALine) {
    Write(ALine);
    Write("\r\n");
  }
  void Write(std::string_view AText);
  // Room for ACount bytes at the end of the buffer; Advance(n) keeps n of them.
  char* Reserve(size_t ACount);
  void Advance(size_t ACount) { FLen += ACount; }
  // Writes what is buffered and closes the file. Raises EWriteError.
  void Commit();
  // The text written so far (for a writer in memory, after Commit).
  const std::string& Text() const { return FText; }

 private:
  void Flush();

  String FFileName;
  void* FHandle = nullptr;
  bool FToFile = false;
  std::vector<char> FBuf;
  size_t FLen = 0;
  std::string FText;
};

// ---------------------------------------------------------------------------
// MIF rewrite (the first and second passes of a vector table, and the point
// table of a raster).

// Number of 1-based positions at which ASubStr occurs in AStr, overlapping
// occurrences included, without regard to ASCII letter case.
Integer CountStr(std::string_view AStr, std::string_view ASubStr);

// When AStr holds a "Label Line" clause, writes the transformed clause as one
// line to AOut. ANext is the object keyword the line is examined for (empty
// for a standalone clause). Returns whether a line was written.
bool LabelLine(const TCoordTransform& ATransform, Integer AStyle, std::string_view AStr,
               std::string_view ANext, TMifWriter& AOut);

// The clause written for the targets in metres of the second pass.
inline constexpr std::string_view NonEarthMifClause =
    "CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)";

enum class TMifDataRules {
  mdrAll,       // every object kind of a vector table
  mdrPointOnly  // the point table of a raster: only "Point" lines are transformed
};

// Header loop and data loop: a header line containing "CoordSys" becomes
// ACoordSysLine; after the "Data" line every coordinate is transformed with
// AStyle. Raises EMifError for bad input.
void RewriteMif(TMifReader& AIn, TMifWriter& AOut, std::string_view ACoordSysLine,
                const TCoordTransform& ATransform, Integer AStyle,
                TMifDataRules ARules = TMifDataRules::mdrAll);
void RewriteMifFile(const String& AInPath, const String& AOutPath, std::string_view ACoordSysLine,
                    const TCoordTransform& ATransform, Integer AStyle,
                    TMifDataRules ARules = TMifDataRules::mdrAll);

// Copies the MIF replacing the header lines that contain "CoordSys" by
// ACoordSysLine; the data section is copied unchanged.
void CopyMifWithCoordSys(TMifReader& AIn, TMifWriter& AOut, std::string_view ACoordSysLine);
void CopyMifFileWithCoordSys(const String& AInPath, const String& AOutPath,
                             std::string_view ACoordSysLine);

// Copies the attribute file byte for byte, replacing an earlier copy.
// Raises EOSError.
void CopyMidFile(const String& AFrom, const String& ATo);
