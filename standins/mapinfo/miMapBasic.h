// The MapBasic interpreter of the server: one session per process, holding
// variables, the session coordinate system and the open tables.
#pragma once

#include <map>
#include <memory>

#include "TabEngine.h"
#include "miCoordSys.h"

// A graphic object. Its coordinates are kept in the system it was made in and
// converted when it crosses into a table or back out to the session.
struct TMBObject {
  tabengine::Geometry Geometry;
  TCoordSys CoordSys;
};
using TMBObjectRef = std::shared_ptr<const TMBObject>;

enum class TMBType { Logical, SmallInt, Integer, Float, Text, Object };

struct TMBValue {
  TMBType Type = TMBType::Integer;
  bool Logical = false;
  Int64 Int = 0;
  double Float = 0;
  String Text;
  TMBObjectRef Object;

  static TMBValue MakeInt(Int64 V);
  static TMBValue MakeFloat(double V);
  static TMBValue MakeText(const String& V);
  static TMBValue MakeLogical(bool V);
  static TMBValue MakeObject(TMBObjectRef V);
  bool IsNumber() const;
  double AsFloat() const;
};

// Shortest text of at most 15 significant digits with the given decimal
// separator and no thousands separator.
String FloatToMapBasicText(double AValue, const String& ADecimalSeparator);
// A value as Eval gives it back: numbers in the regional format, logicals as
// "T"/"F", objects as their type name.
String ValueToText(const TMBValue& V, const String& ADecimalSeparator);
// The decimal separator of the user's regional settings.
String RegionalDecimalSeparator();

// Converts every coordinate of a geometry in place.
void ConvertGeometry(tabengine::Geometry& G, const TCoordSys& AFrom, const TCoordSys& ATo);

// A table open in the session: a base table read from its .TAB file, or the
// result of a Select. Rows live in memory; Commit writes them out.
struct TOpenTable {
  String Alias;
  String Path;  // the .TAB file; empty for a query
  bool Query = false;
  bool Edited = false;
  tabengine::TableSchema Schema;
  TCoordSys CoordSys;  // meaningful when Schema.mappable
  std::vector<tabengine::Feature> Rows;
  Integer Cursor = 0;  // 1-based row of Fetch; outside 1..rows is end of table
};

class TMapBasicSession : public TObject {
  DECLARE_CLASS(TMapBasicSession, TObject)
 public:
  TMapBasicSession();
  ~TMapBasicSession() override;

  // Runs one statement; raises EMapBasicError with the server's error text.
  void Do(const String& AStatement);
  // Evaluates one expression to text.
  String Eval(const String& AExpression);
  TMBValue Evaluate(const String& AExpression);

  HWND MainWindow() const { return FMainWindow; }
  void SetMainWindow(HWND AWnd) { FMainWindow = AWnd; }
  // Fired by "End MapInfo"; the host ends the process after the call returns.
  TNotifyEvent OnEndApplication;
  bool Ended() const { return FEnded; }

  const TCoordSys& SessionCoordSys() const { return FCoordSys; }
  const String& DistanceUnits() const { return FDistanceUnits; }
  bool ProgressBars() const { return FProgressBars; }
  // The open table of an alias, or nullptr.
  TOpenTable* FindTable(const String& AAlias);
  // Raises "Table ... is not open." when the alias is unknown.
  TOpenTable& TableByAlias(const String& AAlias);

 private:
  struct TVariable {
    TMBType Type;
    TMBValue Value;
    bool Assigned = false;
  };
  class TEvaluator;
  friend class TEvaluator;

  void DoSet(class TTokenStream& S);
  void DoDim(TTokenStream& S);
  void DoUndim(TTokenStream& S);
  void DoAssign(TTokenStream& S);
  void DoEnd(TTokenStream& S);
  void DoOpen(TTokenStream& S);
  void DoClose(TTokenStream& S);
  void DoExport(TTokenStream& S);
  void DoImport(TTokenStream& S);
  void DoCommit(TTokenStream& S);
  void DoSelect(TTokenStream& S);
  void DoCreate(TTokenStream& S);
  void DoCreateTable(TTokenStream& S);
  void DoCreateMap(TTokenStream& S);
  void DoInsert(TTokenStream& S);
  void DoFetch(TTokenStream& S);
  // Parses and evaluates one expression from the stream.
  TMBValue ParseExpression(TTokenStream& S);
  TOpenTable& AddTable(std::unique_ptr<TOpenTable> ATable);
  TOpenTable& OpenTableFile(const String& APath, const String& AAlias);
  void WriteTable(const TOpenTable& T, const String& APath, const TCoordSys* ACoordSys);
  TMBValue TableInfo(const TMBValue& ATable, Int64 ACode);
  TMBValue ColumnValue(TOpenTable& T, const String& AColumn);
  TMBValue RowValue(const TOpenTable& T, const tabengine::Feature& ARow, const String& AName,
                    bool& AFound);
  TVariable* FindVariable(const String& AName);
  TMBValue Convert(const TMBValue& V, TMBType AType, const String& AName) const;
  TMBValue CallFunction(const String& AName, const std::vector<TMBValue>& AArgs);
  TMBValue ObjectGeography(const TMBValue& AObject, Int64 ACode) const;

  std::map<String, TVariable> FVariables;            // keyed by upper-case name
  std::vector<std::unique_ptr<TOpenTable>> FTables;  // in the order they were opened
  // The row a Select condition is evaluated on.
  const TOpenTable* FRowTable = nullptr;
  const tabengine::Feature* FRow = nullptr;
  Int64 FRowId = 0;
  TCoordSys FCoordSys;
  String FDistanceUnits = L"mi";
  bool FProgressBars = true;
  HWND FMainWindow = nullptr;
  bool FEnded = false;
};
