// A second process for the clipboard tests: writes the bytes that the
// clipboard holds under the registered format "PNG" to the file named by
// its argument. Exit code 0: written; 1: no "PNG" data; 2: any other
// failure. Plain Win32, so that nothing of the program's own clipboard code
// reads what the program put there.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  UINT Png = RegisterClipboardFormatW(L"PNG");
  // Another process may hold the clipboard open for a moment.
  bool Opened = false;
  for (int Attempt = 0; Attempt < 50 && !Opened; ++Attempt) {
    Opened = OpenClipboard(nullptr) != 0;
    if (!Opened) Sleep(20);
  }
  if (!Opened) return 2;
  int Result = 1;
  if (HANDLE Data = GetClipboardData(Png)) {
    Result = 2;
    SIZE_T Size = GlobalSize(Data);
    if (const void* Bytes = GlobalLock(Data)) {
      if (FILE* F = _wfopen(argv[1], L"wb")) {
        if (fwrite(Bytes, 1, Size, F) == Size) Result = 0;
        if (fclose(F) != 0) Result = 2;
      }
      GlobalUnlock(Data);
    }
  }
  CloseClipboard();
  return Result;
}
