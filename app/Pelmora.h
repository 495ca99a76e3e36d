// The main window module: the coordinate work of a run (transform, input
// class, MIF rewrite). The window class TForm1 calls these.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "XMLDoc.h"
#include "gkProgress.h"

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

// The room FormatMifFloat needs at ABuf: the longest text, and the scratch it
// may write past a shorter one.
constexpr size_t MifFloatBufSize = 32;
// Writes AValue as the framework's FloatToStr does (at most 15 significant
// digits, general format) with "." and returns the end of the text; the bytes
// after it up to ABuf + MifFloatBufSize may be overwritten.
char* FormatMifFloat(char* ABuf, Double AValue);
AnsiString MifFloatToStr(Double AValue);
// For MapBasic statements, which are wide text.
String MifFloatToWStr(Double AValue);
// Blanks around the number are allowed; anything else that is not a finite
// number fails.
bool TryMifStrToFloat(std::string_view AText, Double& AValue);
// Raises EConvertError naming the text (shown in ACodePage, see below).
Double MifStrToFloat(std::string_view AText, UINT ACodePage = CP_ACP);

// ---------------------------------------------------------------------------
// Code pages of 8-bit table text. A .TAB names its character set on its
// "!charset" line, a MIF file in its "Charset" clause; text is read, matched
// and shown in that code page, whatever the system's, and written back byte
// for byte. Only a table that names none is in the system's ANSI code page.

// The code page of a character set name as the formats spell it
// ("WindowsCyrillic" 1251, "WindowsLatin1" 1252, "UTF-8", ...), without
// regard to letter case; CP_ACP for "Neutral" and for a name it does not know.
UINT CharsetCodePage(std::string_view ACharset);
// The code page a "!charset X" line of a .TAB or a 'Charset "X"' clause of a
// MIF header declares; false for any other line.
bool DeclaredCodePage(std::string_view ALine, UINT& ACodePage);
// AText shown as text; undecodable bytes never raise.
String TableTextToString(std::string_view AText, UINT ACodePage);
// AText in ACodePage; false when the code page cannot spell all of it.
bool StringToTableText(const String& AText, UINT ACodePage, AnsiString& AResult);

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
// Why a non-Earth table of the largest east AMaxX and north AMaxY fits no
// input class (an east maximum of exactly 400000 or 2000000, a north maximum
// of exactly 2000000).
String UnknownNonEarthClassMessage(Double AMaxX, Double AMaxY);

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
               std::string_view ANext, TMifWriter& AOut, UINT ACodePage = CP_ACP);

// The clause written for the targets in metres of the second pass.
inline constexpr std::string_view NonEarthMifClause =
    "CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)";
// The old conditional system has coordinates on both sides of its origin;
// bounds from 0 would clamp every point south or west of it to the edge.
inline constexpr std::string_view NonEarthSignedMifClause =
    "CoordSys NonEarth Units \"m\" Bounds (-10000000, -10000000) (10000000, 10000000)";

enum class TMifDataRules {
  mdrAll,       // every object kind of a vector table
  mdrPointOnly  // the point table of a raster: only "Point" lines are transformed
};

// Header loop and data loop: a header line containing "CoordSys" becomes
// ACoordSysLine; after the "Data" line every coordinate is transformed with
// AStyle. An "Arc" is transformed by the corners of its rectangle, as an
// "Ellipse" is. Raises EMifError for bad input, and for an object of a kind
// with coordinates that no rule transforms (rather than copying it where it
// was). Texts in messages are shown in the header's "Charset".
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

// ---------------------------------------------------------------------------
// What a run needs besides the coordinate work: the parameter file of the
// municipal formations, the settings file, the checks before a run, the
// folder scan with the output paths, and the raster tables.
//
// Parameter file CSYanao.xml and the selection of a municipal formation.

inline constexpr wchar_t ParameterFileName[] = L"CSYanao.xml";
inline constexpr wchar_t SettingsFileName[] = L"CSSettings.xml";

// The transform of the formation with the tails of its two zone clauses,
// which are written after "CoordSys Earth Projection ".
struct TFormationParams : TTransformParams {
  String msk89;
  String sk63;
};

// A parameter or settings file that cannot be read or written; the message
// names the file and says what is wrong, in the user's words.
DECLARE_EXCEPTION(EConfigFileError, Exception)

// Loads the parameter file into ADoc. Raises EConfigFileError naming the file
// when it is missing, empty, not well-formed XML or holds no "Item".
void LoadParameterFile(TXMLDocument& ADoc, const String& AFileName);

// Captions of the "Item" children of the document element, in file order.
std::vector<String> FormationCaptions(const IXMLNode& xDe);

// Empty when no two captions are equal (without regard to case); otherwise
// the warning that names the parameter file and each repeated caption.
String DuplicateCaptionsMessage(const std::vector<String>& ACaptions, const String& AFileName);

// Loads the formation the user chose into AParams and returns true: the
// AIndex-th "Item" (0-based, file order) when its caption equals ACaption,
// so that of two items with one caption the chosen one counts; otherwise
// (AIndex -1, or a text typed or restored) the first item whose caption
// equals ACaption without regard to case. Clears msk89 and returns false
// when the file holds none. A number is accepted with "." or "," as decimal
// separator whatever the regional format; one that still does not parse, or
// a missing transform parameter, raises EFormationError naming the formation
// and the attribute, and leaves the other fields as they were. A missing
// angle part counts as 0.
bool cxComboBox2Click(const IXMLNode& xDe, const String& ACaption, TFormationParams& AParams,
                      Integer AIndex = -1);

// The formation a run uses (chosen as cxComboBox2Click chooses): raises
// EFormationError when the file does not hold it, a number does not parse or
// its transform cannot be built.
TFormationParams RunFormation(const IXMLNode& xDe, const String& ACaption, Integer AIndex = -1);

// The text shown when the parameter file is missing.
String MissingParameterFileMessage(const String& AFileName);

// ---------------------------------------------------------------------------
// Settings file CSSettings.xml: the last inputs of the user.

struct TRunSettings {
  String InPath;   // Memo1
  String OutPath;  // Memo2
  String CS;       // text of cxComboBox1
  String MO;       // text of cxComboBox2
  bool ShowError = false;
};

// Sets the fields whose elements the file holds; the others keep their
// values. An empty or malformed file raises EConfigFileError naming it and
// changes nothing.
void RestoreSettings(const String& AFileName, TRunSettings& ASettings);
// Writes the five elements with trimmed texts, replacing the file. Raises
// EConfigFileError naming the file when it cannot be written.
void WriteSettings(const String& AFileName, const TRunSettings& ASettings);

// ---------------------------------------------------------------------------
// Checks before a run, folder scan and output paths.

// Target codes (outCs): the item index of the target list.
constexpr Integer tcMsk89Plan = 0;  // "МСК-89 план-схема"
constexpr Integer tcMsk89Geo = 1;   // "МСК-89 географическая"
constexpr Integer tcOldConditional = 2;  // "Старая условная система координат"

enum class TRunCheck {
  rcOk,
  rcNoInPath,   // "Не указана входная папка."
  rcNoOutPath,  // "Не указана выходная папка."
  rcBadTarget,  // "Недозволенная выходная система координат."
  rcInPathMissing,  // the input folder does not exist
  rcOutIsIn,        // the output folder is the input folder
  rcOutInsideIn     // the output folder lies inside the input folder
};

// AInPath and AOutPath are the texts of the two folder fields, AOutCs the
// item index of the target list. Nothing is written.
TRunCheck CheckRunInputs(const String& AInPath, const String& AOutPath, Integer AOutCs);
String RunCheckMessage(TRunCheck ACheck);

// A typed folder as the run uses it: trimmed, with its trailing separator.
String RunFolder(const String& AText);

// Appends the full paths of all files under dir whose extension is ".tab"
// in any letter case ("roads.tab.bak" and "notes.table" are no tables),
// depth-first in the order the file system returns the entries, a sub-folder
// scanned where it is met. A missing separator at the end of dir is added.
void GetFiles(const String& dir, std::vector<String>& list);

// The folder of ATablePath with the input folder at its start replaced by the
// output folder, so that the output mirrors the sub-folder layout. Both
// folders as RunFolder gives them. Raises EArgumentException for a table
// outside the input folder.
String OutputFolderFor(const String& ATablePath, const String& AInDir, const String& AOutDir);
String OutputTablePath(const String& ATablePath, const String& AInDir, const String& AOutDir);

// Whether APath lies in ADir or below it (ADir itself included), compared as
// full paths without regard to case.
bool IsPathInside(const String& APath, const String& ADir);

// Empty when no table's output lies in the input folder; otherwise the
// message that refuses the run, naming the first such table.
String CheckOutputPaths(const std::vector<String>& AFiles, const String& AInDir,
                        const String& AOutDir);

// True when the table's "Type" line says "RASTER" (capital letters); a word
// "RASTER" elsewhere (a column name, a text) does not count. An unreadable
// file raises EFOpenError or EReadError naming it.
bool IsRasterTab(const String& APath);

// ---------------------------------------------------------------------------
// Raster tables: the control points of a raster .TAB.

// A raster table that cannot be recalculated; the message names the table.
DECLARE_EXCEPTION(ERasterError, Exception)

// One control point: x east, y north, ind the 0-based index of its line.
struct TPnt {
  Double x = 0;
  Double y = 0;
  Integer ind = 0;
};

struct TRasterTab {
  String FileName;
  std::vector<AnsiString> Lines;  // 8-bit text as read, without line ends
  UINT CodePage = CP_ACP;         // of the text: its "!charset", else the system's
  std::vector<TPnt> Points;
  AnsiString ImageName;  // the "File" name without quotation marks
  AnsiString OldClause;  // the last CoordSys line, trimmed
  Double MaxX = -10000000;
  Double MaxY = -10000000;
};

// Reads the .TAB text and its control points (lines holding "Точка ", "Pt "
// or "Point ", the first spelled in the table's code page). Raises
// ERasterError naming the table (and the line) for a file that cannot be
// read, a control point that is not two numbers, or a table without a
// CoordSys line or an image name.
TRasterTab ReadRasterTab(const String& APath);

// The table's own clause for MapInfo: a non-Earth clause without "Bounds"
// gets " Bounds (0,0) (10000000,10000000)".
String RasterSourceClause(const TRasterTab& ATab);
Integer RasterInputClass(const TRasterTab& ATab);

// The statements that build the point table tab1 in the table's own system
// and export it to "tab1.mif" in ATempPath, to be run after tab1 is closed.
std::vector<String> RasterPointTableStatements(const TRasterTab& ATab, const String& ATempPath);

// The work files of the raster phase in ATempPath. The first pass turns
// "tab1.mif" into "tabOut.mif" for the classes 1 to 4 (points transformed
// for 1 and 2, the clause replaced for all); the target pass turns
// "tabPnt.mif" into "tabOut.mif" for the targets 0 and 2. Each copies the
// .MID beside it and returns false when there was nothing to do (the source
// MIF missing, or a class or target that goes through MapInfo alone).
bool RasterFirstPassMif(const String& ATempPath, Integer AInCs, const TFormationParams& AParams,
                        const TCoordTransform& ATransform);
bool RasterTargetPassMif(const String& ATempPath, Integer AOutCs,
                         const TCoordTransform& ATransform);

// Replaces the coordinates of control-point line ALine by (AEast, ANorth),
// keeping the text from its first ")" on; the indentation is dropped.
void SetControlPoint(TRasterTab& ATab, Integer ALine, Double AEast, Double ANorth);

// The CoordSys line of the new .TAB for the target.
String RasterTargetCoordSys(Integer AOutCs, const String& AMsk89);
// The new .TAB text: CoordSys lines replaced by ACoordSysLine (written in the
// table's code page), the units of the control points set to metres, CRLF
// line ends. Raises ERasterError when the code page cannot spell the line.
std::string RasterTabText(const TRasterTab& ATab, const String& ACoordSysLine);

// Copies the image into AOutFolder and then writes the new .TAB there under
// the table's file name; the .TAB appears only when complete. Raises
// ERasterError naming the table for a missing image, a target inside the
// input folder AInDir, or a copy or write that fails.
void WriteRasterTable(const TRasterTab& ATab, const String& AInDir, const String& AOutFolder,
                      const String& ACoordSysLine);

// What the raster road needs of the GIS program's connection: the window
// hands in its MapInfo connection.
class TGisSession {
 public:
  virtual ~TGisSession() = default;
  // Runs a MapBasic statement; a failing statement raises.
  virtual void miDo(const String& ACommand) = 0;
  // Results come back as text in the regional format.
  virtual String miEval(const String& AExpression) = 0;
  virtual Integer miEvalInt(const String& AExpression) = 0;
  virtual Double miEvalDbl(const String& AExpression) = 0;
  // Closes the table when it is open.
  virtual void miCloseTable(const String& AAlias) = 0;
};

struct TRasterRun {
  String InDir;     // input folder as RunFolder gives it
  String OutDir;    // output folder as RunFolder gives it
  String TempPath;  // work folder, with its trailing separator
  Integer OutCs = tcMsk89Geo;
  TFormationParams Params;  // the formation as cxComboBox2Click loaded it
  String Formation;         // its caption, for messages
};

// Recalculates one raster table into the output folder: its control points
// travel through AGis as the point table (tab1, tabOut, tab63, tabPnt, each
// closed before it is used again, so that any raster may follow any other
// in one session). Returns false with the log line in ALogLine when the
// output folder cannot be created. Bad input raises ERasterError naming the
// table; a failing statement raises what AGis raises. The new .TAB appears
// only when complete.
bool MakeRasterTable(const String& APath, const TRasterRun& ARun, TGisSession& AGis,
                     String& ALogLine);

// ---------------------------------------------------------------------------
// Vector tables: the per-table road (feature check, export of the table or of
// its exportable row ranges, MIF rewrite, import and commit, second pass).

// A table that could not be recalculated; the message names the table.
DECLARE_EXCEPTION(ETableError, Exception)

// Feature check of a table; tests put a fake behind it.
class TFeatureCounter {
 public:
  virtual ~TFeatureCounter() = default;
  // The number of features that read cleanly; the ids of broken ones are
  // appended to ABroken. Raises when the table cannot be opened.
  virtual Integer GetValidRowCount(const String& ATabPath, std::vector<Integer>& ABroken) = 0;
};

// The feature library's file, expected beside the program.
inline constexpr wchar_t MitabLibraryName[] = L"MitabFromGDAL_VS_11_x86.dll";

// Over the feature library loaded from ALibPath.
class TMitabFeatureCounter : public TFeatureCounter {
 public:
  explicit TMitabFeatureCounter(const String& ALibPath) : FLibPath(ALibPath) {}
  Integer GetValidRowCount(const String& ATabPath, std::vector<Integer>& ABroken) override;

 private:
  String FLibPath;
};

// Starts instances of the GIS program. Freeing a session ends its instance.
class TGisFactory {
 public:
  virtual ~TGisFactory() = default;
  virtual std::unique_ptr<TGisSession> miCreateMapInfo() = 0;
};

// Over the support library's connection, which holds one instance at a time:
// a connection left open by others is ended first, and a second session while
// one is alive is refused with EInvalidOperation.
class TMapInfoFactory : public TGisFactory {
 public:
  std::unique_ptr<TGisSession> miCreateMapInfo() override;

 private:
  friend class TMapInfoSession;
  bool FLive = false;
};

// A log line; a scrolled one also brings the end of the log into view.
using TLogEvent = TMethodPtr<void(const String& AText, Boolean AScrolled)>;
// The header line of the progress window.
using TTextEvent = TMethodPtr<void(const String& AText)>;

struct TVectorRun {
  String InDir;     // input folder as RunFolder gives it
  String OutDir;    // output folder as RunFolder gives it
  String TempPath;  // work folder, with its trailing separator
  Integer OutCs = tcMsk89Geo;
  TFormationParams Params;      // the formation as cxComboBox2Click loaded it
  String Formation;             // its caption, for messages
  Boolean Diagnostics = false;  // "Выводить диагностику ошибок"
  TLogEvent OnLog;
  TTextEvent OnHeader;
};

// Most attempts of the row-range search of a table with broken features.
constexpr Integer MaxRowRangeAttempts = 100;

// One table found by the scan: a raster is appended to ARasters; a vector
// table is exported (whole, or the row ranges the search finds exportable)
// and handed to MakeVectorTable. A table the search cannot export gets no
// output ("Завершен с ошибками"). Bad input and failing statements raise an
// exception of their own class whose message names the table; what an
// earlier run or table wrote stays, and this table's output is removed once
// its writing has begun.
void ConvTable(const String& APath, const TVectorRun& ARun, TFeatureCounter& ACounter,
               TGisFactory& AGis, std::vector<String>& ARasters);

// The source table is open in AGis as tab1; its rows, or the rows the
// row-range search kept, are in the table AExported (tab1 itself, or the
// selection tab2) and exported to "tab1.mif" in the work folder. Rewrites
// them by the input class (the classes MapInfo reprojects commit AExported),
// imports and commits them under the output folder and runs the second pass
// of the targets in metres. Returns false (after the log line) when the
// output folder cannot be created. Raises ETableError when the output would
// lie in the input folder, one of its files cannot be written, an export
// wrote no file or a non-Earth table fits no input class; on any failure
// after the first commit into the output, the output table's files are
// removed.
bool MakeVectorTable(const String& APath, const TVectorRun& ARun, TGisSession& AGis,
                     const String& AExported = L"tab1");

// Whether AFileName can be created or replaced; an existing file is left as
// it is. AWhy gets the system's reason when not.
bool CanWriteFile(const String& AFileName, String& AWhy);

// Raises ETableError naming the table when a file of the output table
// ATablePath (.TAB, .DAT, .MAP, .ID, .IND) cannot be created or replaced:
// the GIS program would fail on it in words of its own.
void CheckOutputTableWritable(const String& ATablePath);

// ---------------------------------------------------------------------------
// The run: every table found, then the queued rasters.

// The progress window of each phase of a run.
class TRunProgress {
 public:
  virtual ~TRunProgress() = default;
  virtual void Open(const String& ACaption, Int64 AMax) = 0;
  // The next table; raises EAbort when the user has cancelled.
  virtual void Next(const String& APath) = 0;
  virtual void SetMax(Int64 AMax) = 0;
  virtual void Close() = 0;
};

// Closing lines of the log: every run ends with one of them.
inline constexpr wchar_t RunFinishedLine[] = L"Пересчет завершен.";
inline constexpr wchar_t RunFailedLine[] = L"Пересчет прерван из-за ошибки.";
inline constexpr wchar_t RunCancelledLine[] = L"Пересчет отменен пользователем.";
// The line that names the tables a run that ended early did not process.
String NotProcessedLine(const std::vector<String>& ATables);

// Runs the vector road on every file of AFiles under the progress window
// "Пересчет координат", then the queued rasters in one instance of AGis
// under "Пересчет растровых таблиц", and ends the log with how the run
// ended. A run ended by an error logs the error's message, the tables not
// processed and RunFailedLine, and passes the error on; a cancelled one logs
// the tables not processed and RunCancelledLine and passes the EAbort on.
void RunTables(const std::vector<String>& AFiles, const TVectorRun& ARun, TFeatureCounter& ACounter,
               TGisFactory& AGis, TRunProgress& AProgress);

// ===========================================================================
// The main window
// ===========================================================================
class TForm1 : public TForm {
  DECLARE_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner);
  ~TForm1() override;

  // Components of the form resource, in declaration order.
  TOpenDialog* OpenDialog1 = nullptr;
  TMemo* Memo1 = nullptr;
  TButton* cxButton1 = nullptr;
  TRichEdit* RichEdit1 = nullptr;
  TMemo* Memo2 = nullptr;
  TComboBox* cxComboBox1 = nullptr;
  TComboBox* cxComboBox2 = nullptr;
  TButton* cxButton2 = nullptr;
  TButton* cxButton3 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;

  void FormCreate(TObject* Sender);
  void cxButton1Click(TObject* Sender);
  void cxButton2Click(TObject* Sender);
  void cxButton3Click(TObject* Sender);
  void cxComboBox2Click(TObject* Sender);
  void RichEdit1ContextPopup(TObject* Sender, TPoint MousePos, bool& Handled);

  // A plain log line: appended, nothing else.
  void LogLine(const String& AText);
  // A scrolled log line: appended, then the caret goes to the end of the
  // pane so that the end of the log is in view.
  void LogScrolled(const String& AText);

  const String& appPath() const { return FAppPath; }
  const String& tempPath() const { return FTempPath; }
  const String& myDocPath() const { return FMyDocPath; }
  const TFormationParams& Params() const { return FParams; }
  IXMLNode xDe() const { return FDe; }

 private:
  class TFormProgress;
  void RestoreControls(const String& ASettingsFile);
  void RunLog(const String& AText, Boolean AScrolled);
  void RunHeader(const String& AText);
  TOwned<TgkProgress> FProgress;
  TRunSettings CurrentSettings();
  String FAppPath;
  String FParameterFile;
  String FShownFormationError;
  String FTempPath;
  String FMyDocPath;
  TOwned<TXMLDocument> FDoc;
  IXMLNode FDe;
  TFormationParams FParams;
};

// The main window (set by the program entry).
extern TForm1* Form1;

// Shows the platform's edit menu for a rich-text control and carries out
// the chosen command; does nothing when the menu resource is unavailable.
void RichEditPopupMenu(TCustomRichEdit* re);
