// The CoordSys clause: its grammar, its text, and the datum and ellipsoid
// numbers it refers to.
#pragma once

#include <optional>

#include "miLexer.h"

struct TEllipsoid {
  Integer Code;
  double A;              // semi-major axis, metres
  double InvFlattening;  // 0 for a sphere
};

// A datum is an ellipsoid and a shift to WGS 84 in the coordinate-frame
// convention: translations in metres, rotations in arc-seconds, scale in ppm.
struct TDatum {
  Integer Number = 0;  // as written; 999 and 9999 carry their parameters inline
  Integer Ellipsoid = 29;
  double DX = 0, DY = 0, DZ = 0, RX = 0, RY = 0, RZ = 0, Scale = 0, PrimeMeridian = 0;
  // Two datums with the same ellipsoid and parameters need no shift between
  // them, whatever numbers name them.
  bool SameShift(const TDatum& D) const;
};

struct TBounds {
  double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
  bool operator==(const TBounds&) const = default;
};

struct TCoordSys {
  bool Earth = true;
  Integer Projection = 1;  // 1 longitude/latitude, 8 Transverse Mercator, ...
  TDatum Datum;
  String Units = L"degree";
  std::vector<double> Params;  // the parameters after the unit, in clause order
  std::optional<TBounds> Bounds;

  // The clause text, starting with "CoordSys", with Bounds when it has them.
  String Clause() const;
  // Same system (projection, datum, units, parameters), bounds ignored.
  bool SameSystem(const TCoordSys& C) const;
};

// Parses a clause that starts right after the word "CoordSys"; malformed
// clauses raise "Invalid Coordinate System".
TCoordSys ParseCoordSys(TTokenStream& S);
TCoordSys ParseCoordSysText(const String& AClause);
// The session default: longitude/latitude without a datum.
TCoordSys LongLatCoordSys(Integer ADatum = 0);

const TEllipsoid* FindEllipsoid(Integer ACode);
// The datum of a datum number, or nullptr when the number is unknown.
const TDatum* FindDatum(Integer ANumber);
// Metres per unit; 0 for an unknown unit name.
double UnitToMetres(const String& AUnit);
String FormatClauseNumber(double AValue);
