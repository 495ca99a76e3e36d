#include "Themes.h"

#include "WinHandles.h"

namespace {

// The visual-styles library, loaded on the first question and kept until
// shut-down.
struct TUxTheme {
  TModuleHandle Module;
  bool Tried = false;
  BOOL(WINAPI* IsAppThemed)() = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  void Load() {
    if (Tried) return;
    Tried = true;
    Module.Reset(LoadLibraryW(L"uxtheme.dll"));
    if (!Module) return;
    IsAppThemed = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(Module.Get(), "IsAppThemed")));
    IsThemeActive = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(Module.Get(), "IsThemeActive")));
  }
};

TUxTheme& UxTheme() {
  static TUxTheme Library;
  return Library;
}

bool PlatformLibraryPresent() {
  UxTheme().Load();
  return UxTheme().IsAppThemed && UxTheme().IsThemeActive;
}
bool PlatformIsAppThemed() { return PlatformLibraryPresent() && UxTheme().IsAppThemed(); }
bool PlatformIsThemeActive() { return PlatformLibraryPresent() && UxTheme().IsThemeActive(); }

TThemeQueries& Queries() {
  static TThemeQueries Current{&PlatformLibraryPresent, &PlatformIsAppThemed,
                               &PlatformIsThemeActive};
  return Current;
}

TOwned<TCustomStyleServices>& ActiveStyle() {
  static TOwned<TCustomStyleServices> Style;
  return Style;
}

}  // namespace

IMPLEMENT_CLASS(TCustomStyleServices)

bool TCustomStyleServices::Available() const { return Queries().LibraryPresent(); }

bool TCustomStyleServices::Enabled() const {
  return Available() && Queries().IsAppThemed() && Queries().IsThemeActive();
}

TCustomStyleServices* StyleServices() { return ActiveStyle().get(); }

TThemeQueries SetThemeQueries(const TThemeQueries& AQueries) {
  TThemeQueries Old = Queries();
  Queries().LibraryPresent =
      AQueries.LibraryPresent ? AQueries.LibraryPresent : &PlatformLibraryPresent;
  Queries().IsAppThemed = AQueries.IsAppThemed ? AQueries.IsAppThemed : &PlatformIsAppThemed;
  Queries().IsThemeActive =
      AQueries.IsThemeActive ? AQueries.IsThemeActive : &PlatformIsThemeActive;
  return Old;
}

void Themes_Initialize() {
  if (!ActiveStyle()) ActiveStyle().reset(Create<TCustomStyleServices>());
}

void Themes_Finalize() {
  ActiveStyle().reset();
  UxTheme().IsAppThemed = nullptr;
  UxTheme().IsThemeActive = nullptr;
  UxTheme().Module.Reset();
  UxTheme().Tried = false;
}
