#include "miCoordSys.h"

#include <charconv>
#include <cmath>

namespace {

const TEllipsoid Ellipsoids[] = {
    {0, 6378137.0, 298.257222101},  {1, 6378135.0, 298.26},
    {2, 6378160.0, 298.25},         {3, 6378245.0, 298.3},
    {4, 6378388.0, 297.0},          {5, 6378388.0, 297.0},
    {7, 6378206.4, 294.9786982},    {9, 6377563.396, 299.3249646},
    {10, 6377397.155, 299.1528128}, {12, 6370997.0, 0},
    {28, 6378137.0, 298.257223563}, {29, 6378137.01, 298.257223563},
    {52, 6378136.0, 298.257839303}, {54, 6378137.01, 298.257223563},
};

TDatum MakeDatum(Integer N, Integer E, double DX, double DY, double DZ, double RX = 0,
                 double RY = 0, double RZ = 0, double S = 0) {
  TDatum D;
  D.Number = N;
  D.Ellipsoid = E;
  D.DX = DX, D.DY = DY, D.DZ = DZ, D.RX = RX, D.RY = RY, D.RZ = RZ, D.Scale = S;
  return D;
}

const TDatum& DatumTable(size_t I, size_t* ACount = nullptr) {
  static const TDatum Table[] = {
      MakeDatum(0, 29, 0, 0, 0),
      MakeDatum(104, 28, 0, 0, 0),
      MakeDatum(74, 0, 0, 0, 0),
      MakeDatum(33, 0, 0, 0, 0),
      MakeDatum(28, 4, -87, -98, -121),
      MakeDatum(62, 7, -8, 160, 176),
      MakeDatum(157, 54, 0, 0, 0),
      MakeDatum(1001, 3, 24, -123, -94, -0.02, 0.25, 0.13, 1.1),
      MakeDatum(1012, 52, -1.08, -0.27, -0.9, 0, 0, -0.16, -0.12),
      MakeDatum(1013, 52, 23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12),
      MakeDatum(1014, 52, 24.82, -131.21, -82.66, 0, 0, -0.16, -0.12),
      MakeDatum(1018, 4, -40.59527, -18.54979, -69.33956, -2.508, -1.8319, 2.6114, -4.2991),
      MakeDatum(1000, 10, 582, 105, 414, -1.04, -0.35, 3.08, 8.3),
  };
  if (ACount) *ACount = std::size(Table);
  return Table[I];
}

[[noreturn]] void InvalidCoordSys() { RaiseMapBasicError(L"Invalid Coordinate System."); }

double Number(TTokenStream& S) {
  if (!S.IsNumber()) InvalidCoordSys();
  return S.ExpectNumber(L"number");
}

void SkipComma(TTokenStream& S) { S.AcceptSymbol(L","); }

TBounds ParseBounds(TTokenStream& S) {
  TBounds B;
  auto Pair = [&](double& X, double& Y) {
    if (!S.AcceptSymbol(L"(")) InvalidCoordSys();
    X = Number(S);
    SkipComma(S);
    Y = Number(S);
    if (!S.AcceptSymbol(L")")) InvalidCoordSys();
  };
  Pair(B.MinX, B.MinY);
  SkipComma(S);
  Pair(B.MaxX, B.MaxY);
  if (B.MinX >= B.MaxX || B.MinY >= B.MaxY) InvalidCoordSys();
  return B;
}

TDatum ParseDatum(TTokenStream& S) {
  Integer N = static_cast<Integer>(Number(S));
  if (N != 999 && N != 9999) {
    const TDatum* D = FindDatum(N);
    if (!D) InvalidCoordSys();
    return *D;
  }
  TDatum D;
  D.Number = N;
  SkipComma(S);
  D.Ellipsoid = static_cast<Integer>(Number(S));
  if (!FindEllipsoid(D.Ellipsoid)) InvalidCoordSys();
  double* Fields[] = {&D.DX, &D.DY, &D.DZ, &D.RX, &D.RY, &D.RZ, &D.Scale, &D.PrimeMeridian};
  size_t Count = N == 999 ? 3 : 8;
  for (size_t I = 0; I < Count; ++I) {
    SkipComma(S);
    *Fields[I] = Number(S);
  }
  return D;
}

}  // namespace

bool TDatum::SameShift(const TDatum& D) const {
  return Ellipsoid == D.Ellipsoid && DX == D.DX && DY == D.DY && DZ == D.DZ && RX == D.RX &&
         RY == D.RY && RZ == D.RZ && Scale == D.Scale && PrimeMeridian == D.PrimeMeridian;
}

const TEllipsoid* FindEllipsoid(Integer ACode) {
  for (const TEllipsoid& E : Ellipsoids)
    if (E.Code == ACode) return &E;
  return nullptr;
}

const TDatum* FindDatum(Integer ANumber) {
  size_t Count = 0;
  DatumTable(0, &Count);
  for (size_t I = 0; I < Count; ++I)
    if (DatumTable(I).Number == ANumber) return &DatumTable(I);
  return nullptr;
}

double UnitToMetres(const String& AUnit) {
  static const struct {
    const wchar_t* Name;
    double Metres;
  } Units[] = {{L"m", 1},       {L"km", 1000},     {L"cm", 0.01},
               {L"mm", 0.001},  {L"mi", 1609.344}, {L"in", 0.0254},
               {L"ft", 0.3048}, {L"yd", 0.9144},   {L"survey ft", 1200.0 / 3937.0},
               {L"nmi", 1852},  {L"li", 0.201168}, {L"ch", 20.1168},
               {L"rd", 5.0292}};
  for (const auto& U : Units)
    if (SameText(AUnit, U.Name)) return U.Metres;
  return 0;
}

String FormatClauseNumber(double AValue) {
  char Buf[64];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, AValue, std::chars_format::general, 15);
  return String(Buf, R.ptr);
}

TCoordSys LongLatCoordSys(Integer ADatum) {
  TCoordSys C;
  C.Datum = *FindDatum(ADatum);
  return C;
}

TCoordSys ParseCoordSys(TTokenStream& S) {
  TCoordSys C;
  if (S.AcceptKeyword(L"NonEarth")) {
    C.Earth = false;
    C.Projection = 0;
    if (!S.AcceptKeyword(L"Units")) InvalidCoordSys();
    if (S.Peek().Kind != TTokenKind::Text) InvalidCoordSys();
    C.Units = S.Next().Text;
    if (UnitToMetres(C.Units) == 0) InvalidCoordSys();
  } else if (S.AcceptKeyword(L"Earth")) {
    C = LongLatCoordSys();
    if (S.AcceptKeyword(L"Projection")) {
      C.Projection = static_cast<Integer>(Number(S));
      SkipComma(S);
      C.Datum = ParseDatum(S);
      if (C.Projection != 1) {
        SkipComma(S);
        if (S.Peek().Kind != TTokenKind::Text) InvalidCoordSys();
        C.Units = S.Next().Text;
        if (UnitToMetres(C.Units) == 0) InvalidCoordSys();
        while (S.IsSymbol(L",") || S.IsNumber()) {
          SkipComma(S);
          C.Params.push_back(Number(S));
        }
      }
    }
  } else {
    InvalidCoordSys();
  }
  if (S.AcceptKeyword(L"Bounds")) C.Bounds = ParseBounds(S);
  return C;
}

TCoordSys ParseCoordSysText(const String& AClause) {
  TTokenStream S(AClause);
  S.AcceptKeyword(L"CoordSys");
  TCoordSys C = ParseCoordSys(S);
  if (!S.AtEnd()) InvalidCoordSys();
  return C;
}

bool TCoordSys::SameSystem(const TCoordSys& C) const {
  if (Earth != C.Earth) return false;
  if (!Earth) return SameText(Units, C.Units);
  return Projection == C.Projection && Datum.SameShift(C.Datum) &&
         (Projection == 1 || SameText(Units, C.Units)) && Params == C.Params;
}

String TCoordSys::Clause() const {
  String T = L"CoordSys ";
  if (!Earth) {
    T += L"NonEarth Units \"" + Units + L"\"";
  } else {
    T += L"Earth Projection " + std::to_wstring(Projection) + L", " + std::to_wstring(Datum.Number);
    if (Datum.Number == 999 || Datum.Number == 9999) {
      T += L", " + std::to_wstring(Datum.Ellipsoid);
      const double Fields[] = {Datum.DX, Datum.DY, Datum.DZ,    Datum.RX,
                               Datum.RY, Datum.RZ, Datum.Scale, Datum.PrimeMeridian};
      for (size_t I = 0; I < (Datum.Number == 999 ? 3u : 8u); ++I)
        T += L", " + FormatClauseNumber(Fields[I]);
    }
    if (Projection != 1) {
      T += L", \"" + Units + L"\"";
      for (double P : Params) T += L", " + FormatClauseNumber(P);
    }
  }
  if (!Bounds) return T;
  const TBounds& B = *Bounds;
  T += L" Bounds (" + FormatClauseNumber(B.MinX) + L", " + FormatClauseNumber(B.MinY) + L") (" +
       FormatClauseNumber(B.MaxX) + L", " + FormatClauseNumber(B.MaxY) + L")";
  return T;
}
