// Conversion of coordinates between two coordinate systems: inverse
// projection, datum shift through WGS 84, forward projection.
#pragma once

#include "miCoordSys.h"

struct TGeodetic {
  double Lon = 0, Lat = 0;  // radians
};

// Transverse Mercator by the Kruger series to sixth order in n, accurate to
// well below a millimetre within a few thousand kilometres of the meridian.
class TTransverseMercator {
 public:
  TTransverseMercator(const TEllipsoid& AEllipsoid, double ALon0, double ALat0, double AK0,
                      double AFalseEasting, double AFalseNorthing);
  // Easting and northing in metres.
  void Forward(const TGeodetic& G, double& AEasting, double& ANorthing) const;
  TGeodetic Inverse(double AEasting, double ANorthing) const;

 private:
  double ConformalTangent(double Tau) const;
  double FE, FN, K0, Lon0, Xi0 = 0, E, Es, A;
  double Alpha[7] = {}, Beta[7] = {};
};

struct TGeocentric {
  double X = 0, Y = 0, Z = 0;
};

TGeocentric GeodeticToGeocentric(const TEllipsoid& E, const TGeodetic& G);
TGeodetic GeocentricToGeodetic(const TEllipsoid& E, const TGeocentric& P);
// The datum's shift to WGS 84 and its exact inverse.
TGeocentric DatumToWgs84(const TDatum& D, const TGeocentric& P);
TGeocentric Wgs84ToDatum(const TDatum& D, const TGeocentric& P);

// Converts one point in place; raises EMapBasicError when the two systems
// cannot be converted into each other (Earth and NonEarth, projections this
// server does not know).
void ConvertPoint(const TCoordSys& AFrom, const TCoordSys& ATo, double& X, double& Y);
