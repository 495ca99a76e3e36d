// Test helper: a private folder tree under the temporary folder, removed
// with everything in it.
#pragma once

#include <string>

#include "SysUtils.h"
#include "WinCompat.h"

class TTempFolder {
 public:
  explicit TTempFolder(const String& AName) {
    wchar_t Tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, Tmp);
    FPath = String(Tmp) + AName + L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    Remove(FPath);
    CreateDirectoryW(FPath.c_str(), nullptr);
  }
  ~TTempFolder() { Remove(FPath); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // With its trailing separator.
  const String& Path() const { return FPath; }

  // Writes the bytes to Path() + ARelName, creating the folders on the way.
  void Put(const String& ARelName, const std::string& ABytes) const {
    String Full = FPath + ARelName;
    ForceDirectories(ExtractFilePath(Full));
    HANDLE H = CreateFileW(Full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (H == INVALID_HANDLE_VALUE) return;
    DWORD Put = 0;
    WriteFile(H, ABytes.data(), static_cast<DWORD>(ABytes.size()), &Put, nullptr);
    CloseHandle(H);
  }
  void Folder(const String& ARelName) const { ForceDirectories(FPath + ARelName); }

  // The bytes of the file, or "<missing>".
  std::string Get(const String& ARelName) const {
    std::string S;
    HANDLE H = CreateFileW((FPath + ARelName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (H == INVALID_HANDLE_VALUE) return "<missing>";
    char Buf[65536];
    DWORD Got = 0;
    while (ReadFile(H, Buf, sizeof(Buf), &Got, nullptr) && Got) S.append(Buf, Got);
    CloseHandle(H);
    return S;
  }
  bool Exists(const String& ARelName) const {
    return GetFileAttributesW((FPath + ARelName).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Names of the entries of a folder (files and folders), unsorted.
  std::vector<String> Entries(const String& ARelFolder) const {
    std::vector<String> R;
    WIN32_FIND_DATAW F;
    HANDLE H = FindFirstFileW((FPath + ARelFolder + L"*").c_str(), &F);
    if (H == INVALID_HANDLE_VALUE) return R;
    do {
      String N = F.cFileName;
      if (N != L"." && N != L"..") R.push_back(N);
    } while (FindNextFileW(H, &F));
    FindClose(H);
    return R;
  }

 private:
  static void Remove(const String& ADir) {
    WIN32_FIND_DATAW F;
    HANDLE H = FindFirstFileW((ADir + L"*").c_str(), &F);
    if (H != INVALID_HANDLE_VALUE) {
      do {
        String N = F.cFileName;
        if (N == L"." || N == L"..") continue;
        if (F.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(ADir + N + L"\\");
        else
          DeleteFileW((ADir + N).c_str());
      } while (FindNextFileW(H, &F));
      FindClose(H);
    }
    RemoveDirectoryW(ADir.c_str());
  }

  String FPath;
};
