// The MapBasic interpreter of the server: one session per process, holding
// variables, the session coordinate system and the open tables.
#pragma once

#include <map>
#include <memory>

#include "miCoordSys.h"

struct TMBPoint {
  double X = 0, Y = 0;
};

// A graphic object. Its coordinates are kept in the system it was made in and
// converted when it crosses into a table or back out to the session.
struct TMBObject {
  Integer Kind = 5;  // the object type codes of ObjectInfo(obj, 1): 5 is a point
  std::vector<TMBPoint> Points;
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
  TVariable* FindVariable(const String& AName);
  TMBValue Convert(const TMBValue& V, TMBType AType, const String& AName) const;
  TMBValue CallFunction(const String& AName, const std::vector<TMBValue>& AArgs);
  TMBValue ObjectGeography(const TMBValue& AObject, Int64 ACode) const;

  std::map<String, TVariable> FVariables;  // keyed by upper-case name
  TCoordSys FCoordSys;
  String FDistanceUnits = L"mi";
  bool FProgressBars = true;
  HWND FMainWindow = nullptr;
  bool FEnded = false;
};
