#pragma once
// Helpers shared by the parts of the table engine; not part of its interface.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "TabEngine.h"

namespace tabengine::detail {

// Locale-independent number text ('.' always).
std::string FormatNumber(double v);                 // shortest text that reads back exactly
std::string FormatFixed(double v, int decimals);    // "%.*f"
bool ParseNumber(std::string_view s, double& out);  // whole string must be a number
bool ParseInt(std::string_view s, int64_t& out);

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);
std::wstring LowerExtension(const std::wstring& path);
std::wstring ReplaceExtension(const std::wstring& path, const std::wstring& ext);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const std::wstring& path, std::string& out);
void WriteWholeFile(const std::wstring& path, const std::string& data);  // throws TabError
std::string PathForMessage(const std::wstring& path);                    // UTF-8

// Writes a file under a temporary name that replaces the target only on Commit; destroyed
// without Commit it removes the temporary file and leaves the target as it was.
class FileSink {
 public:
  explicit FileSink(const std::wstring& path);
  ~FileSink();
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  void Write(const std::string& bytes);
  void Patch(uint64_t pos, const std::string& bytes);  // overwrites bytes already written
  void Commit();

 private:
  std::wstring path_, temp_;
  void* handle_;
};

const char* FieldTypeName(FieldType t);  // "Integer", ...
// Version a column type needs (300, 450, 900).
int FieldTypeVersion(FieldType t);
int GeometryVersion(const Geometry& g);

// Units name <-> code of the .MAP header; -1 when unknown.
int UnitsCode(const std::string& name);
std::string UnitsName(int code);
// Parameter count after the unit name for a projection type.
int ProjectionParamCount(int projection);
// Fills ellipsoid and datum parameters of a numbered datum; false when unknown.
bool LookupDatum(int datum, int& ellipsoid, double params[8]);
// Finds the numbered datum with these ellipsoid and parameters; 0 when none.
int FindDatum(int ellipsoid, const double params[8]);

// Bounds-checked little-endian access to a byte buffer.
class ByteReader {
 public:
  ByteReader(const std::string& data) : data_(data) {}
  size_t Size() const { return data_.size(); }
  bool Has(size_t pos, size_t n) const { return pos <= data_.size() && n <= data_.size() - pos; }
  template <class T>
  bool Get(size_t pos, T& v) const {
    if (!Has(pos, sizeof(T))) return false;
    std::memcpy(&v, data_.data() + pos, sizeof(T));
    return true;
  }
  const char* At(size_t pos) const { return data_.data() + pos; }

 private:
  const std::string& data_;
};

template <class T>
void Put(std::string& buf, size_t pos, T v) {
  if (buf.size() < pos + sizeof(T)) buf.resize(pos + sizeof(T));
  std::memcpy(&buf[pos], &v, sizeof(T));
}
template <class T>
void Append(std::string& buf, T v) {
  Put(buf, buf.size(), v);
}

std::unique_ptr<TableReader> OpenMif(const std::wstring& path);
std::unique_ptr<TableWriter> CreateMif(const std::wstring& path, const TableSchema& schema);
std::unique_ptr<TableReader> OpenNative(const std::wstring& path);
std::unique_ptr<TableWriter> CreateNative(const std::wstring& path, const TableSchema& schema);

}  // namespace tabengine::detail
