#include "SysUtils.h"

namespace {
const wchar_t PathDelimiters[] = L"\\:";

DWORD Attributes(const String& Name) { return GetFileAttributesW(Name.c_str()); }
}  // namespace

String ExtractFilePath(const String& FileName) {
  return Copy(FileName, 1, LastDelimiter(PathDelimiters, FileName));
}

String ExtractFileDir(const String& FileName) {
  Integer I = LastDelimiter(PathDelimiters, FileName);
  // Keep the delimiter of a root ("C:\").
  if (I > 1 && FileName[static_cast<size_t>(I - 1)] == PathDelim &&
      !IsDelimiter(PathDelimiters, FileName, I - 1))
    --I;
  return Copy(FileName, 1, I);
}

String ExtractFileName(const String& FileName) {
  return Copy(FileName, LastDelimiter(PathDelimiters, FileName) + 1);
}

String ExtractFileExt(const String& FileName) {
  Integer I = LastDelimiter(L".\\:", FileName);
  if (I > 0 && FileName[static_cast<size_t>(I - 1)] == L'.') return Copy(FileName, I);
  return String();
}

String ExtractFileDrive(const String& FileName) {
  if (FileName.size() >= 2 && FileName[1] == DriveDelim) return FileName.substr(0, 2);
  if (FileName.size() >= 2 && FileName[0] == PathDelim && FileName[1] == PathDelim) {
    // "\\server\share": up to the delimiter after the share name.
    size_t Server = FileName.find(PathDelim, 2);
    if (Server == String::npos) return FileName;
    size_t Share = FileName.find(PathDelim, Server + 1);
    return Share == String::npos ? FileName : FileName.substr(0, Share);
  }
  return String();
}

String ChangeFileExt(const String& FileName, const String& Extension) {
  Integer I = LastDelimiter(L".\\:", FileName);
  if (I == 0 || FileName[static_cast<size_t>(I - 1)] != L'.') I = Length(FileName) + 1;
  return Copy(FileName, 1, I - 1) + Extension;
}

String IncludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && S.back() == PathDelim) return S;
  return S + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && S.back() == PathDelim) return S.substr(0, S.size() - 1);
  return S;
}

String ExpandFileName(const String& FileName) {
  if (FileName.empty()) return String();
  DWORD N = GetFullPathNameW(FileName.c_str(), 0, nullptr, nullptr);
  if (N == 0) return FileName;
  String R(N, L'\0');
  N = GetFullPathNameW(FileName.c_str(), N, R.data(), nullptr);
  R.resize(N);
  return R;
}

bool FileExists(const String& FileName) {
  DWORD A = Attributes(FileName);
  return A != INVALID_FILE_ATTRIBUTES && !(A & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& Directory) {
  DWORD A = Attributes(Directory);
  return A != INVALID_FILE_ATTRIBUTES && (A & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const String& Dir) {
  if (Dir.empty()) throw EInOutError(L"Unable to create directory");
  // A relative name is made absolute first: otherwise a short parent such
  // as "a" would pass for a drive root and never be created.
  String Full = ExcludeTrailingPathDelimiter(ExpandFileName(Dir));
  if (Full.size() < 3 || DirectoryExists(Full) || ExtractFilePath(Full) == Full) return true;
  return ForceDirectories(ExtractFilePath(Full)) && (CreateDir(Full) || DirectoryExists(Full));
}

bool DeleteFile(const String& FileName) { return DeleteFileW(FileName.c_str()) != FALSE; }

bool RenameFile(const String& OldName, const String& NewName) {
  return MoveFileW(OldName.c_str(), NewName.c_str()) != FALSE;
}

bool CopyFile(const String& Source, const String& Dest, bool FailIfExists) {
  return CopyFileW(Source.c_str(), Dest.c_str(), FailIfExists) != FALSE;
}

bool CreateDir(const String& Dir) { return CreateDirectoryW(Dir.c_str(), nullptr) != FALSE; }
bool RemoveDir(const String& Dir) { return RemoveDirectoryW(Dir.c_str()) != FALSE; }

String GetCurrentDir() {
  DWORD N = GetCurrentDirectoryW(0, nullptr);
  String R(N, L'\0');
  N = GetCurrentDirectoryW(N, R.data());
  R.resize(N);
  return R;
}

namespace {
// Skips entries with excluded attributes and fills the public fields.
Integer FindMatchingFile(TSearchRec& F) {
  while (F.FindData.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) {
    if (!FindNextFileW(F.FindHandle, &F.FindData)) return static_cast<Integer>(GetLastError());
  }
  FILETIME Local;
  WORD DosDate = 0, DosTime = 0;
  FileTimeToLocalFileTime(&F.FindData.ftLastWriteTime, &Local);
  FileTimeToDosDateTime(&Local, &DosDate, &DosTime);
  F.Time = static_cast<Integer>((static_cast<Cardinal>(DosDate) << 16) | DosTime);
  F.Size = static_cast<Int64>((static_cast<UInt64>(F.FindData.nFileSizeHigh) << 32) |
                              F.FindData.nFileSizeLow);
  F.Attr = static_cast<Integer>(F.FindData.dwFileAttributes);
  F.Name = F.FindData.cFileName;
  return 0;
}
}  // namespace

Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F) {
  constexpr Integer faSpecial = faHidden | faSysFile | faDirectory;
  F.ExcludeAttr = ~Attr & faSpecial;
  F.FindHandle = FindFirstFileW(Path.c_str(), &F.FindData);
  if (F.FindHandle == INVALID_HANDLE_VALUE) return static_cast<Integer>(GetLastError());
  Integer Result = FindMatchingFile(F);
  if (Result != 0) FindClose(F);
  return Result;
}

Integer FindNext(TSearchRec& F) {
  if (!FindNextFileW(F.FindHandle, &F.FindData)) return static_cast<Integer>(GetLastError());
  return FindMatchingFile(F);
}

void FindClose(TSearchRec& F) {
  if (F.FindHandle != INVALID_HANDLE_VALUE) {
    ::FindClose(F.FindHandle);
    F.FindHandle = INVALID_HANDLE_VALUE;
  }
}
