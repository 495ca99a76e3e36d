#include "miProjection.h"

#include <cmath>

namespace {

const double Pi = 3.14159265358979323846;
const double DegToRad = Pi / 180;
const double ArcSecToRad = Pi / 648000;

const TEllipsoid& EllipsoidOf(const TDatum& D) {
  const TEllipsoid* E = FindEllipsoid(D.Ellipsoid);
  if (!E) RaiseMapBasicError(L"Invalid Coordinate System.");
  return *E;
}

double Flattening(const TEllipsoid& E) { return E.InvFlattening ? 1 / E.InvFlattening : 0; }

// The rotation matrix of the coordinate-frame convention, applied as
// P' = T + (1 + s) R P.
void HelmertMatrix(const TDatum& D, double R[3][3]) {
  double Rx = D.RX * ArcSecToRad, Ry = D.RY * ArcSecToRad, Rz = D.RZ * ArcSecToRad;
  double M[3][3] = {{1, Rz, -Ry}, {-Rz, 1, Rx}, {Ry, -Rx, 1}};
  for (int I = 0; I < 3; ++I)
    for (int J = 0; J < 3; ++J) R[I][J] = M[I][J];
}

}  // namespace

TTransverseMercator::TTransverseMercator(const TEllipsoid& AEllipsoid, double ALon0, double ALat0,
                                         double AK0, double AFalseEasting, double AFalseNorthing)
    : FE(AFalseEasting), FN(AFalseNorthing), K0(AK0), Lon0(ALon0) {
  double F = Flattening(AEllipsoid);
  Es = F * (2 - F);
  E = std::sqrt(Es);
  double N = F / (2 - F), N2 = N * N, N3 = N2 * N, N4 = N3 * N, N5 = N4 * N, N6 = N5 * N;
  A = AEllipsoid.A / (1 + N) * (1 + N2 / 4 + N4 / 64 + N6 / 256);
  Alpha[1] = N / 2 - 2 * N2 / 3 + 5 * N3 / 16 + 41 * N4 / 180 - 127 * N5 / 288 + 7891 * N6 / 37800;
  Alpha[2] = 13 * N2 / 48 - 3 * N3 / 5 + 557 * N4 / 1440 + 281 * N5 / 630 - 1983433 * N6 / 1935360;
  Alpha[3] = 61 * N3 / 240 - 103 * N4 / 140 + 15061 * N5 / 26880 + 167603 * N6 / 181440;
  Alpha[4] = 49561 * N4 / 161280 - 179 * N5 / 168 + 6601661 * N6 / 7257600;
  Alpha[5] = 34729 * N5 / 80640 - 3418889 * N6 / 1995840;
  Alpha[6] = 212378941 * N6 / 319334400;
  Beta[1] = N / 2 - 2 * N2 / 3 + 37 * N3 / 96 - N4 / 360 - 81 * N5 / 512 + 96199 * N6 / 604800;
  Beta[2] = N2 / 48 + N3 / 15 - 437 * N4 / 1440 + 46 * N5 / 105 - 1118711 * N6 / 3870720;
  Beta[3] = 17 * N3 / 480 - 37 * N4 / 840 - 209 * N5 / 4480 + 5569 * N6 / 90720;
  Beta[4] = 4397 * N4 / 161280 - 11 * N5 / 504 - 830251 * N6 / 7257600;
  Beta[5] = 4583 * N5 / 161280 - 108847 * N6 / 3991680;
  Beta[6] = 20648693 * N6 / 638668800;
  if (ALat0 != 0) {
    double X, Y;
    Forward(TGeodetic{ALon0, ALat0}, X, Y);
    Xi0 = (Y - FN) / (K0 * A);
  }
}

double TTransverseMercator::ConformalTangent(double Tau) const {
  if (E == 0) return Tau;
  double Sigma = std::sinh(E * std::atanh(E * Tau / std::sqrt(1 + Tau * Tau)));
  return Tau * std::sqrt(1 + Sigma * Sigma) - Sigma * std::sqrt(1 + Tau * Tau);
}

void TTransverseMercator::Forward(const TGeodetic& G, double& AEasting, double& ANorthing) const {
  double DLon = std::remainder(G.Lon - Lon0, 2 * Pi);
  double TauP = ConformalTangent(std::tan(G.Lat));
  double CosL = std::cos(DLon);
  double XiP = std::atan2(TauP, CosL);
  double EtaP = std::asinh(std::sin(DLon) / std::sqrt(TauP * TauP + CosL * CosL));
  double Xi = XiP, Eta = EtaP;
  for (int J = 1; J <= 6; ++J) {
    Xi += Alpha[J] * std::sin(2 * J * XiP) * std::cosh(2 * J * EtaP);
    Eta += Alpha[J] * std::cos(2 * J * XiP) * std::sinh(2 * J * EtaP);
  }
  AEasting = FE + K0 * A * Eta;
  ANorthing = FN + K0 * A * (Xi - Xi0);
}

TGeodetic TTransverseMercator::Inverse(double AEasting, double ANorthing) const {
  double Xi = (ANorthing - FN) / (K0 * A) + Xi0, Eta = (AEasting - FE) / (K0 * A);
  double XiP = Xi, EtaP = Eta;
  for (int J = 1; J <= 6; ++J) {
    XiP -= Beta[J] * std::sin(2 * J * Xi) * std::cosh(2 * J * Eta);
    EtaP -= Beta[J] * std::cos(2 * J * Xi) * std::sinh(2 * J * Eta);
  }
  double SinhEta = std::sinh(EtaP), CosXi = std::cos(XiP);
  double TauP = std::sin(XiP) / std::sqrt(SinhEta * SinhEta + CosXi * CosXi);
  double DLon = std::atan2(SinhEta, CosXi);
  double Tau = TauP;
  for (int I = 0; I < 10; ++I) {
    double TauPi = ConformalTangent(Tau);
    double Step = (TauP - TauPi) * (1 + (1 - Es) * Tau * Tau) /
                  ((1 - Es) * std::sqrt(1 + Tau * Tau) * std::sqrt(1 + TauPi * TauPi));
    Tau += Step;
    if (std::fabs(Step) < 1e-14) break;
  }
  return TGeodetic{Lon0 + DLon, std::atan(Tau)};
}

TGeocentric GeodeticToGeocentric(const TEllipsoid& E, const TGeodetic& G) {
  double F = Flattening(E), Es = F * (2 - F);
  double SinLat = std::sin(G.Lat), CosLat = std::cos(G.Lat);
  double Nu = E.A / std::sqrt(1 - Es * SinLat * SinLat);
  return TGeocentric{Nu * CosLat * std::cos(G.Lon), Nu * CosLat * std::sin(G.Lon),
                     Nu * (1 - Es) * SinLat};
}

TGeodetic GeocentricToGeodetic(const TEllipsoid& E, const TGeocentric& P) {
  double F = Flattening(E), Es = F * (2 - F);
  double Lon = std::atan2(P.Y, P.X);
  double Pxy = std::hypot(P.X, P.Y);
  double Lat = std::atan2(P.Z, Pxy * (1 - Es));
  for (int I = 0; I < 10; ++I) {
    double SinLat = std::sin(Lat);
    double Nu = E.A / std::sqrt(1 - Es * SinLat * SinLat);
    double H = Pxy / std::cos(Lat) - Nu;
    double Next = std::atan2(P.Z, Pxy * (1 - Es * Nu / (Nu + H)));
    bool Done = std::fabs(Next - Lat) < 1e-15;
    Lat = Next;
    if (Done) break;
  }
  return TGeodetic{Lon, Lat};
}

TGeocentric DatumToWgs84(const TDatum& D, const TGeocentric& P) {
  double R[3][3];
  HelmertMatrix(D, R);
  double S = 1 + D.Scale * 1e-6, In[3] = {P.X, P.Y, P.Z}, Out[3];
  for (int I = 0; I < 3; ++I) Out[I] = S * (R[I][0] * In[0] + R[I][1] * In[1] + R[I][2] * In[2]);
  return TGeocentric{D.DX + Out[0], D.DY + Out[1], D.DZ + Out[2]};
}

TGeocentric Wgs84ToDatum(const TDatum& D, const TGeocentric& P) {
  double R[3][3];
  HelmertMatrix(D, R);
  double S = 1 + D.Scale * 1e-6;
  double V[3] = {(P.X - D.DX) / S, (P.Y - D.DY) / S, (P.Z - D.DZ) / S};
  // Solve R x = V by Cramer's rule: R is not orthogonal (small-angle form),
  // so its transpose is not its inverse.
  auto Det = [](const double M[3][3]) {
    return M[0][0] * (M[1][1] * M[2][2] - M[1][2] * M[2][1]) -
           M[0][1] * (M[1][0] * M[2][2] - M[1][2] * M[2][0]) +
           M[0][2] * (M[1][0] * M[2][1] - M[1][1] * M[2][0]);
  };
  double D0 = Det(R), Out[3];
  for (int C = 0; C < 3; ++C) {
    double M[3][3];
    for (int I = 0; I < 3; ++I)
      for (int J = 0; J < 3; ++J) M[I][J] = J == C ? V[I] : R[I][J];
    Out[C] = Det(M) / D0;
  }
  return TGeocentric{Out[0], Out[1], Out[2]};
}

namespace {

double Param(const TCoordSys& C, size_t I) {
  if (I >= C.Params.size()) RaiseMapBasicError(L"Invalid Coordinate System.");
  return C.Params[I];
}

TTransverseMercator MercatorOf(const TCoordSys& C) {
  double U = UnitToMetres(C.Units);
  return TTransverseMercator(EllipsoidOf(C.Datum), Param(C, 0) * DegToRad, Param(C, 1) * DegToRad,
                             Param(C, 2), Param(C, 3) * U, Param(C, 4) * U);
}

void RequireKnownProjection(const TCoordSys& C) {
  if (C.Projection != 1 && C.Projection != 8)
    RaiseMapBasicError(L"Projection " + std::to_wstring(C.Projection) +
                       L" is not supported by this server.");
}

// Longitudes on the datum count from its prime meridian.
TGeodetic ToGeodetic(const TCoordSys& C, double X, double Y) {
  TGeodetic G;
  if (C.Projection == 1) {
    G = TGeodetic{X * DegToRad, Y * DegToRad};
  } else {
    double U = UnitToMetres(C.Units);
    G = MercatorOf(C).Inverse(X * U, Y * U);
  }
  G.Lon += C.Datum.PrimeMeridian * DegToRad;
  return G;
}

void FromGeodetic(const TCoordSys& C, TGeodetic G, double& X, double& Y) {
  G.Lon -= C.Datum.PrimeMeridian * DegToRad;
  if (C.Projection == 1) {
    X = G.Lon / DegToRad;
    Y = G.Lat / DegToRad;
    return;
  }
  double U = UnitToMetres(C.Units);
  MercatorOf(C).Forward(G, X, Y);
  X /= U;
  Y /= U;
}

}  // namespace

void ConvertPoint(const TCoordSys& AFrom, const TCoordSys& ATo, double& X, double& Y) {
  if (AFrom.SameSystem(ATo)) return;
  if (AFrom.Earth != ATo.Earth)
    RaiseMapBasicError(L"Cannot convert coordinates between Earth and NonEarth systems.");
  if (!AFrom.Earth) {
    double F = UnitToMetres(AFrom.Units) / UnitToMetres(ATo.Units);
    X *= F;
    Y *= F;
    return;
  }
  RequireKnownProjection(AFrom);
  RequireKnownProjection(ATo);
  TGeodetic G = ToGeodetic(AFrom, X, Y);
  if (!AFrom.Datum.SameShift(ATo.Datum)) {
    const TEllipsoid &EFrom = EllipsoidOf(AFrom.Datum), &ETo = EllipsoidOf(ATo.Datum);
    TGeocentric P = DatumToWgs84(AFrom.Datum, GeodeticToGeocentric(EFrom, G));
    G = GeocentricToGeodetic(ETo, Wgs84ToDatum(ATo.Datum, P));
  }
  FromGeodetic(ATo, G, X, Y);
}
