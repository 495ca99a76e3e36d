// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include "SysUtils.h"
#include "TabEngine.h"
// After the platform headers that SysUtils.h brings in.
#include <shellapi.h>

class TTempFolder {
 public:
  TTempFolder() {
    wchar_t Base[MAX_PATH];
    GetTempPathW(MAX_PATH, Base);
    static int Counter = 0;
    FPath = String(Base) + L"mapinfo-standin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++Counter) + L"\\";
    CreateDirectoryW(FPath.c_str(), nullptr);
  }
  ~TTempFolder() {
    String From = FPath + L'\0';
    SHFILEOPSTRUCTW Op = {};
    Op.wFunc = FO_DELETE;
    Op.pFrom = From.c_str();
    Op.fFlags = FOF_NO_UI;
    SHFileOperationW(&Op);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // Folder path with a trailing backslash, as the program builds its paths.
  const String& Path() const { return FPath; }
  String operator/(const String& AName) const { return FPath + AName; }

 private:
  String FPath;
};

inline tabengine::Feature PointFeature(double X, double Y, int64_t AId) {
  tabengine::Feature F;
  F.geometry.type = tabengine::GeometryType::Point;
  F.geometry.parts = {{tabengine::Point2{X, Y}}};
  F.values = {tabengine::Value::Int(AId)};
  return F;
}

// A native table of points with one Integer column "ID" (1, 2, ...).
inline void WritePointTable(const String& APath, const std::string& AClause,
                            const std::vector<tabengine::Point2>& APoints) {
  tabengine::TableSchema Schema;
  Schema.fields = {{"ID", tabengine::FieldType::Integer, 0, 0}};
  Schema.coordsys = tabengine::CoordSys::Parse(AClause);
  auto W = tabengine::TableWriter::Create(APath, Schema);
  int64_t Id = 0;
  for (const auto& P : APoints) W->Insert(PointFeature(P.x, P.y, ++Id));
  W->Close();
}

// Makes the object of one row unreadable: its entry in the .ID file points
// past the end of the .MAP file.
inline void BreakRow(const String& ATabPath, int ARow) {
  String Id = ATabPath.substr(0, ATabPath.size() - 4) + L".ID";
  HANDLE F = CreateFileW(Id.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFilePointer(F, (ARow - 1) * 4, nullptr, FILE_BEGIN);
  int32_t Bad = 0x7FFFFF00;
  DWORD Written = 0;
  WriteFile(F, &Bad, 4, &Written, nullptr);
  CloseHandle(F);
}

// Marks one row deleted in the .DAT file, as the GIS program leaves it.
inline void DeleteRow(const String& ATabPath, int ARow) {
  String Dat = ATabPath.substr(0, ATabPath.size() - 4) + L".DAT";
  HANDLE F =
      CreateFileW(Dat.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  uint16_t Header[2] = {};
  DWORD Done = 0;
  SetFilePointer(F, 8, nullptr, FILE_BEGIN);
  ReadFile(F, Header, sizeof Header, &Done, nullptr);
  SetFilePointer(F, Header[0] + (ARow - 1) * Header[1], nullptr, FILE_BEGIN);
  char Flag = '*';
  WriteFile(F, &Flag, 1, &Done, nullptr);
  CloseHandle(F);
}
