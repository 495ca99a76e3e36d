// The framework's style services: what draws its standard controls. The
// framework has one style, the system's, which draws with the platform's
// visual styles while the program and the desktop use them.
#pragma once

#include "System.h"

class TCustomStyleServices : public TObject {
  DECLARE_CLASS(TCustomStyleServices, TObject)
 public:
  // The visual-styles library is there.
  bool Available() const;
  // The style draws with visual styles: the library is there, the program
  // uses themed common controls and the desktop has a theme on.
  bool Enabled() const;
  bool IsSystemStyle() const { return true; }
  String Name() const { return L"Windows"; }
};

// The active style (the system's); created by Themes_Initialize.
TCustomStyleServices* StyleServices();

// What Available and Enabled ask the platform. The default binds the
// visual-styles library by name; tests put their own answers in place.
struct TThemeQueries {
  bool (*LibraryPresent)() = nullptr;
  bool (*IsAppThemed)() = nullptr;
  bool (*IsThemeActive)() = nullptr;
};
// Replaces the queries (an empty member keeps the platform's) and returns
// the ones in force before.
TThemeQueries SetThemeQueries(const TThemeQueries& AQueries);

void Themes_Initialize();
void Themes_Finalize();
