// The database-support library that clients look for beside the GIS
// program's executable. The stand-in server does not use databases; the
// library exists so that the check for it finds a real, loadable module.
#include "WinCompat.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
