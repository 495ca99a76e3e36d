#include "TabEngine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "TabEngine_Private.h"
#include "WinCompat.h"

namespace tabengine {
namespace detail {

std::string FormatNumber(double v) {
  if (v == 0) return "0";  // also turns -0 into 0
  char buf[64];
  // Plain decimals for every ordinary magnitude (MIF readers expect "100000", not "1e+05").
  double a = std::fabs(v);
  auto r = a >= 1e-5 && a < 1e15 ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                                 : std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string FormatFixed(double v, int decimals) {
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return FormatNumber(v);
  return std::string(buf, r.ptr);
}

bool ParseNumber(std::string_view s, double& out) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  // from_chars rejects ".5" and "-.5" only on old libraries; accept them explicitly.
  std::string tmp;
  if (s[0] == '.' || (s.size() > 1 && s[0] == '-' && s[1] == '.')) {
    tmp = std::string(s);
    tmp.insert(s[0] == '-' ? 1 : 0, "0");
    s = tmp;
  }
  auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
}

bool ParseInt(std::string_view s, int64_t& out) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  if (r.ec == std::errc() && r.ptr == s.data() + s.size()) return true;
  double d;
  if (ParseNumber(s, d) && d == std::trunc(d) && std::fabs(d) < 9.2e18) {
    out = static_cast<int64_t>(d);
    return true;
  }
  return false;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n'))
    --e;
  return std::string(s.substr(b, e - b));
}

std::wstring LowerExtension(const std::wstring& path) {
  size_t dot = path.find_last_of(L".\\/");
  if (dot == std::wstring::npos || path[dot] != L'.') return L"";
  std::wstring ext = path.substr(dot);
  for (auto& c : ext) c = towlower(c);
  return ext;
}

std::wstring ReplaceExtension(const std::wstring& path, const std::wstring& ext) {
  size_t dot = path.find_last_of(L".\\/");
  if (dot == std::wstring::npos || path[dot] != L'.') return path + ext;
  // Keep the case style of the original extension, as other readers of these files expect.
  std::wstring old = path.substr(dot + 1);
  bool upper = !old.empty() && std::all_of(old.begin(), old.end(),
                                           [](wchar_t c) { return !iswalpha(c) || iswupper(c); });
  std::wstring e = ext;
  for (auto& c : e) c = upper ? towupper(c) : towlower(c);
  return path.substr(0, dot) + e;
}

namespace {
struct FileHandle {
  HANDLE h;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
};
}  // namespace

bool ReadWholeFile(const std::wstring& path, std::string& out) {
  FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(f.h, &size) || size.QuadPart > 0x7FFFFFFF) return false;
  out.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < out.size()) {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1 << 24));
    if (!ReadFile(f.h, &out[done], want, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

void WriteWholeFile(const std::wstring& path, const std::string& data) {
  FileSink sink(path);
  sink.Write(data);
  sink.Commit();
}

FileSink::FileSink(const std::wstring& path) : path_(path), temp_(path + L".part") {
  handle_ = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) throw TabError("Cannot create file " + PathForMessage(path));
}

FileSink::~FileSink() {
  if (handle_ != INVALID_HANDLE_VALUE) {
    CloseHandle(handle_);
    DeleteFileW(temp_.c_str());
  }
}

void FileSink::Write(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24));
    if (!WriteFile(handle_, bytes.data() + done, want, &put, nullptr) || put == 0)
      throw TabError("Cannot write file " + PathForMessage(path_));
    done += put;
  }
}

void FileSink::Patch(uint64_t pos, const std::string& bytes) {
  LARGE_INTEGER at, end, zero{};
  at.QuadPart = static_cast<LONGLONG>(pos);
  SetFilePointerEx(handle_, zero, &end, FILE_CURRENT);
  SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN);
  Write(bytes);
  SetFilePointerEx(handle_, end, nullptr, FILE_BEGIN);
}

void FileSink::Commit() {
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  if (!MoveFileExW(temp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temp_.c_str());
    throw TabError("Cannot replace file " + PathForMessage(path_));
  }
}

std::string PathForMessage(const std::wstring& path) {
  int n = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

const char* FieldTypeName(FieldType t) {
  switch (t) {
    case FieldType::Char:
      return "Char";
    case FieldType::Integer:
      return "Integer";
    case FieldType::SmallInt:
      return "SmallInt";
    case FieldType::LargeInt:
      return "LargeInt";
    case FieldType::Decimal:
      return "Decimal";
    case FieldType::Float:
      return "Float";
    case FieldType::Logical:
      return "Logical";
    case FieldType::Date:
      return "Date";
    case FieldType::Time:
      return "Time";
    case FieldType::DateTime:
      return "DateTime";
  }
  return "Char";
}

int FieldTypeVersion(FieldType t) {
  switch (t) {
    case FieldType::Date:
      return 450;
    case FieldType::Time:
    case FieldType::DateTime:
    case FieldType::LargeInt:
      return 900;
    default:
      return 300;
  }
}

int GeometryVersion(const Geometry& g) {
  int v = 300;
  if (g.type == GeometryType::MultiPoint || g.type == GeometryType::Collection) v = 650;
  if (g.pen.width > 10) v = std::max(v, 450);
  for (const auto& m : g.members) v = std::max(v, GeometryVersion(m));
  return v;
}

namespace {
struct UnitEntry {
  int code;
  const char* name;
};
// Unit codes of the .MAP header and the CoordSys unit names.
constexpr UnitEntry kUnits[] = {
    {0, "mi"}, {1, "km"},        {2, "in"},  {3, "ft"},      {4, "yd"},  {5, "mm"},  {6, "cm"},
    {7, "m"},  {8, "survey ft"}, {9, "nmi"}, {13, "degree"}, {30, "li"}, {31, "ch"}, {32, "rd"}};

struct DatumEntry {
  int datum;
  int ellipsoid;
  double params[8];
};
// Datums by MapInfo number: ellipsoid and the shift to WGS 84.
constexpr DatumEntry kDatums[] = {
    {0, 29, {0, 0, 0, 0, 0, 0, 0, 0}},
    {104, 28, {0, 0, 0, 0, 0, 0, 0, 0}},
    {74, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
    {33, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
    {28, 4, {-87, -98, -121, 0, 0, 0, 0, 0}},
    {62, 7, {-8, 160, 176, 0, 0, 0, 0, 0}},
    {157, 54, {0, 0, 0, 0, 0, 0, 0, 0}},
    {1001, 3, {24, -123, -94, -0.02, 0.25, 0.13, 1.1, 0}},
    {1012, 52, {-1.08, -0.27, -0.9, 0, 0, -0.16, -0.12, 0}},
    {1013, 52, {23.92, -141.27, -80.9, 0, -0.35, -0.82, -0.12, 0}},
    {1014, 52, {24.82, -131.21, -82.66, 0, 0, -0.16, -0.12, 0}},
    {1018, 4, {-40.59527, -18.54979, -69.33956, -2.508, -1.8319, 2.6114, -4.2991, 0}},
    {1000, 10, {582, 105, 414, -1.04, -0.35, 3.08, 8.3, 0}},
};

// Parameters after the unit name, by projection type; 6 where the count is not known.
int ParamCountTable(int p) {
  switch (p) {
    case 1:
      return 0;
    case 2:
      return 4;
    case 4:
    case 5:
    case 26:
    case 28:
    case 29:
      return 2;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
      return 1;
    case 18:
    case 25:
    case 27:
    case 30:
      return 4;
    case 8:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
    case 31:
    case 34:
      return 5;
    default:
      return 6;
  }
}
}  // namespace

int UnitsCode(const std::string& name) {
  for (const auto& u : kUnits)
    if (EqualsNoCase(name, u.name)) return u.code;
  return -1;
}

std::string UnitsName(int code) {
  for (const auto& u : kUnits)
    if (u.code == code) return u.name;
  return "m";
}

int ProjectionParamCount(int projection) { return ParamCountTable(projection); }

bool LookupDatum(int datum, int& ellipsoid, double params[8]) {
  for (const auto& d : kDatums)
    if (d.datum == datum) {
      ellipsoid = d.ellipsoid;
      std::copy(d.params, d.params + 8, params);
      return true;
    }
  return false;
}

int FindDatum(int ellipsoid, const double params[8]) {
  for (const auto& d : kDatums) {
    if (d.datum == 0 || d.ellipsoid != ellipsoid) continue;
    bool same = true;
    for (int i = 0; i < 8; ++i) same = same && std::fabs(d.params[i] - params[i]) < 1e-9;
    if (same) return d.datum;
  }
  return 0;
}

}  // namespace detail

using namespace detail;

// ---- charsets ----

namespace {
struct CharsetEntry {
  const char* name;
  unsigned codePage;
};
constexpr CharsetEntry kCharsets[] = {
    {"Neutral", 0},
    {"WindowsLatin1", 1252},
    {"WindowsLatin2", 1250},
    {"WindowsCyrillic", 1251},
    {"WindowsGreek", 1253},
    {"WindowsTurkish", 1254},
    {"WindowsHebrew", 1255},
    {"WindowsArabic", 1256},
    {"WindowsBalticRim", 1257},
    {"WindowsVietnamese", 1258},
    {"WindowsJapanese", 932},
    {"WindowsSimpChinese", 936},
    {"WindowsKorean", 949},
    {"WindowsTradChinese", 950},
    {"ISO8859_1", 28591},
    {"ISO8859_2", 28592},
    {"ISO8859_3", 28593},
    {"ISO8859_4", 28594},
    {"ISO8859_5", 28595},
    {"ISO8859_6", 28596},
    {"ISO8859_7", 28597},
    {"ISO8859_8", 28598},
    {"ISO8859_9", 28599},
    {"CodePage437", 437},
    {"CodePage850", 850},
    {"CodePage852", 852},
    {"CodePage855", 855},
    {"CodePage857", 857},
    {"CodePage860", 860},
    {"CodePage861", 861},
    {"CodePage863", 863},
    {"CodePage864", 864},
    {"CodePage865", 865},
    {"CodePage866", 866},
    {"CodePage869", 869},
    {"UTF-8", CP_UTF8},
};
}  // namespace

unsigned CodePageOfCharset(const std::string& charset) {
  for (const auto& c : kCharsets)
    if (EqualsNoCase(charset, c.name)) return c.codePage;
  return 0;
}

namespace {
// Converts between two code pages through UTF-16 in pieces that end at line breaks (a line
// feed byte is never part of a multi-byte character in these code pages), so that large files
// need no UTF-16 copy of their whole text.
std::string Recode(const std::string& in, unsigned from, unsigned to) {
  std::string out;
  out.reserve(in.size() + in.size() / 4);
  std::wstring w;
  constexpr size_t kPiece = 1 << 20;
  for (size_t b = 0; b < in.size();) {
    size_t e = std::min(in.size(), b + kPiece);
    if (e < in.size()) {
      size_t nl = in.find('\n', e);
      e = nl == std::string::npos ? in.size() : nl + 1;
    }
    int len = static_cast<int>(e - b);
    int n = MultiByteToWideChar(from, 0, in.data() + b, len, nullptr, 0);
    w.resize(n);
    MultiByteToWideChar(from, 0, in.data() + b, len, w.data(), n);
    int m = WideCharToMultiByte(to, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
    size_t at = out.size();
    out.resize(at + m);
    WideCharToMultiByte(to, 0, w.data(), n, out.data() + at, m, nullptr, nullptr);
    b = e;
  }
  return out;
}
}  // namespace

std::string ToUtf8(const std::string& bytes, unsigned codePage) {
  if (codePage == 0 || codePage == CP_UTF8 || bytes.empty()) return bytes;
  return Recode(bytes, codePage, CP_UTF8);
}

std::string FromUtf8(const std::string& utf8, unsigned codePage) {
  if (codePage == 0 || codePage == CP_UTF8 || utf8.empty()) return utf8;
  return Recode(utf8, CP_UTF8, codePage);
}

// ---- values ----

Value Value::Text(std::string s) {
  Value v;
  v.text = std::move(s);
  return v;
}
Value Value::Int(int64_t i) {
  Value v;
  v.integer = i;
  return v;
}
Value Value::Real(double r) {
  Value v;
  v.real = r;
  return v;
}

namespace {
std::string Digits(int64_t v, int width) {
  std::string s = std::to_string(v);  // integers only: no locale involved
  if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
  return s;
}
}  // namespace

std::string Value::ToText(const FieldDef& f) const {
  switch (f.type) {
    case FieldType::Char:
      return text;
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::LargeInt:
      return std::to_string(integer);
    case FieldType::Decimal:
      return blank ? std::string() : FormatFixed(real, f.decimals);
    case FieldType::Float:
      return FormatNumber(real);
    case FieldType::Logical:
      return integer ? "T" : "F";
    case FieldType::Date:
      return date == 0 ? std::string() : Digits(date, 8);
    case FieldType::Time:
      if (time < 0) return std::string();
      return Digits(time / 3600000, 2) + Digits(time / 60000 % 60, 2) +
             Digits(time / 1000 % 60, 2) + Digits(time % 1000, 3);
    case FieldType::DateTime: {
      if (date == 0) return std::string();
      int t = time < 0 ? 0 : time;
      return Digits(date, 8) + Digits(t / 3600000, 2) + Digits(t / 60000 % 60, 2) +
             Digits(t / 1000 % 60, 2) + Digits(t % 1000, 3);
    }
  }
  return text;
}

namespace {
// "HHMMSSmmm" (or shorter forms without the milliseconds/seconds) -> ms; -1 when malformed.
int32_t ParseTime(std::string_view s) {
  int64_t v;
  if (s.size() < 4 || !ParseInt(s, v)) return -1;
  std::string padded(s);
  padded.resize(9, '0');
  int64_t h, m, sec, ms;
  if (!ParseInt(padded.substr(0, 2), h) || !ParseInt(padded.substr(2, 2), m) ||
      !ParseInt(padded.substr(4, 2), sec) || !ParseInt(padded.substr(6, 3), ms))
    return -1;
  if (h > 23 || m > 59 || sec > 59) return -1;
  return static_cast<int32_t>(((h * 60 + m) * 60 + sec) * 1000 + ms);
}
}  // namespace

Value Value::FromText(const FieldDef& f, const std::string& raw) {
  Value v;
  std::string s = f.type == FieldType::Char ? raw : Trim(raw);
  switch (f.type) {
    case FieldType::Char:
      v.text = s;
      break;
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::LargeInt:
      if (!ParseInt(s, v.integer)) v.integer = 0;
      if (f.type == FieldType::Integer)
        v.integer = std::clamp<int64_t>(v.integer, INT32_MIN, INT32_MAX);
      if (f.type == FieldType::SmallInt)
        v.integer = std::clamp<int64_t>(v.integer, INT16_MIN, INT16_MAX);
      break;
    case FieldType::Decimal:
      v.blank = s.empty();
      if (!ParseNumber(s, v.real)) v.real = 0;
      break;
    case FieldType::Float:
      if (!ParseNumber(s, v.real)) v.real = 0;
      break;
    case FieldType::Logical:
      v.integer =
          !s.empty() && (s[0] == 'T' || s[0] == 't' || s[0] == 'Y' || s[0] == 'y' || s[0] == '1');
      break;
    case FieldType::Date: {
      int64_t d;
      if (s.size() == 8 && ParseInt(s, d)) v.date = static_cast<int32_t>(d);
      break;
    }
    case FieldType::Time:
      v.time = ParseTime(s);
      break;
    case FieldType::DateTime: {
      int64_t d;
      if (s.size() >= 8 && ParseInt(s.substr(0, 8), d)) {
        v.date = static_cast<int32_t>(d);
        v.time = s.size() > 8 ? ParseTime(s.substr(8)) : 0;
        if (v.time < 0) v.time = 0;
      }
      break;
    }
  }
  return v;
}

double Value::AsDouble(const FieldDef& f) const {
  switch (f.type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::LargeInt:
    case FieldType::Logical:
      return static_cast<double>(integer);
    case FieldType::Float:
    case FieldType::Decimal:
      return real;
    case FieldType::Date:
    case FieldType::DateTime:
      return date;
    case FieldType::Time:
      return time;
    case FieldType::Char: {
      double d;
      return ParseNumber(Trim(text), d) ? d : 0;
    }
  }
  return 0;
}

// ---- CoordSys ----

namespace {
struct ClauseTokens {
  std::vector<std::string> items;  // quoted strings keep their leading '"'
  size_t pos = 0;
  bool AtEnd() const { return pos >= items.size(); }
  const std::string& Peek() const {
    static const std::string kEmpty;
    return AtEnd() ? kEmpty : items[pos];
  }
  bool PeekWord(const char* w) const { return !AtEnd() && EqualsNoCase(items[pos], w); }
  bool PeekNumber() const {
    double d;
    return !AtEnd() && ParseNumber(items[pos], d);
  }
  double Number() {
    double d;
    if (AtEnd() || !ParseNumber(items[pos], d))
      throw TabError("Invalid Coordinate System: number expected at '" + Peek() + "'");
    ++pos;
    return d;
  }
  void Expect(const char* w) {
    if (!PeekWord(w))
      throw TabError(std::string("Invalid Coordinate System: '") + w + "' expected");
    ++pos;
  }
};

ClauseTokens Tokenize(const std::string& s) {
  ClauseTokens t;
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == '(' || c == ')') {
      ++i;
    } else if (c == '"') {
      size_t e = s.find('"', i + 1);
      if (e == std::string::npos) throw TabError("Invalid Coordinate System: unterminated string");
      t.items.push_back(s.substr(i, e - i));
      i = e + 1;
    } else {
      size_t b = i;
      while (i < s.size() && std::string_view(" \t\r\n,()\"").find(s[i]) == std::string_view::npos)
        ++i;
      t.items.push_back(s.substr(b, i - b));
    }
  }
  return t;
}

void ParseBounds(ClauseTokens& t, CoordSys& cs) {
  t.Expect("Bounds");
  cs.minX = t.Number();
  cs.minY = t.Number();
  cs.maxX = t.Number();
  cs.maxY = t.Number();
  cs.hasBounds = true;
}

std::string Unquote(ClauseTokens& t) {
  if (t.AtEnd() || t.Peek()[0] != '"') throw TabError("Invalid Coordinate System: unit expected");
  return t.items[t.pos++].substr(1);
}
}  // namespace

CoordSys CoordSys::Parse(const std::string& clause) {
  ClauseTokens t = Tokenize(clause);
  CoordSys cs;
  if (t.PeekWord("CoordSys")) ++t.pos;
  if (t.PeekWord("NonEarth")) {
    ++t.pos;
    if (t.PeekWord("Affine")) throw TabError("Affine coordinate systems are not supported");
    t.Expect("Units");
    cs.units = Unquote(t);
    if (t.PeekWord("Bounds")) ParseBounds(t, cs);
  } else if (t.PeekWord("Earth")) {
    ++t.pos;
    cs.earth = true;
    cs.projection = 1;
    cs.units = "degree";
    if (t.PeekWord("Projection")) {
      ++t.pos;
      cs.projection = static_cast<int>(t.Number());
      cs.datum = static_cast<int>(t.Number());
      if (cs.datum == 999 || cs.datum == 9999) {
        cs.ellipsoid = static_cast<int>(t.Number());
        int n = cs.datum == 999 ? 3 : 8;
        for (int i = 0; i < n; ++i) cs.datumParams[i] = t.Number();
      } else if (!LookupDatum(cs.datum, cs.ellipsoid, cs.datumParams)) {
        cs.ellipsoid = 0;
      }
      if (!t.AtEnd() && t.Peek()[0] == '"') cs.units = Unquote(t);
      while (t.PeekNumber()) cs.params.push_back(t.Number());
    }
    if (t.PeekWord("Affine")) throw TabError("Affine coordinate systems are not supported");
    if (t.PeekWord("Bounds")) ParseBounds(t, cs);
  } else {
    throw TabError("Invalid Coordinate System: '" + t.Peek() + "'");
  }
  if (!t.AtEnd()) throw TabError("Invalid Coordinate System: unexpected '" + t.Peek() + "'");
  if (UnitsCode(cs.units) < 0)
    throw TabError("Invalid Coordinate System: unknown unit " + cs.units);
  return cs;
}

std::string CoordSys::ToString(bool withBounds) const {
  std::string s = "CoordSys ";
  if (!earth) {
    s += "NonEarth Units \"" + units + "\"";
  } else {
    s += "Earth Projection " + std::to_string(projection) + ", " + std::to_string(datum);
    if (datum == 999 || datum == 9999) {
      s += ", " + std::to_string(ellipsoid);
      for (int i = 0; i < (datum == 999 ? 3 : 8); ++i) s += ", " + FormatNumber(datumParams[i]);
    }
    if (projection != 1) s += ", \"" + units + "\"";
    for (double p : params) s += ", " + FormatNumber(p);
  }
  if (withBounds && hasBounds)
    s += " Bounds (" + FormatNumber(minX) + ", " + FormatNumber(minY) + ") (" + FormatNumber(maxX) +
         ", " + FormatNumber(maxY) + ")";
  return s;
}

void CoordSys::EffectiveBounds(double& x0, double& y0, double& x1, double& y1) const {
  if (hasBounds) {
    x0 = minX, y0 = minY, x1 = maxX, y1 = maxY;
    return;
  }
  auto param = [&](size_t i) { return i < params.size() ? params[i] : 0.0; };
  if (!earth) {
    // A non-earth clause without Bounds has no default of its own; this one keeps ~1 mm.
    x0 = y0 = -1000000;
    x1 = y1 = 1000000;
  } else if (projection == 1) {
    x0 = y0 = -1000;
    x1 = y1 = 1000;
  } else if (projection == 8 && datum == 1001 && units == "m" && param(1) == 0 && param(2) == 1 &&
             param(4) == 0) {
    // Gauss-Kruger zones carry MapInfo's own default bounds.
    x0 = param(3) - 8249281.53901;
    x1 = param(3) + 8249281.53901;
    y0 = -10002137.4977586;
    y1 = 10002137.4977586;
  } else if (projection == 8 && datum == 104 && units == "m" && param(2) == 0.9996 &&
             param(3) == 500000) {
    x0 = 500000 - 8245844.296;
    x1 = 500000 + 8245844.296;
    y0 = param(4) - 9997964.943;
    y1 = param(4) + 9997964.943;
  } else {
    x0 = param(3) - 30000000;
    x1 = param(3) + 30000000;
    y0 = param(4) - 15000000;
    y1 = param(4) + 15000000;
  }
}

// ---- geometry ----

void Geometry::Bounds(double& bx0, double& by0, double& bx1, double& by1) const {
  bx0 = by0 = std::numeric_limits<double>::max();
  bx1 = by1 = -std::numeric_limits<double>::max();
  auto add = [&](double x, double y) {
    bx0 = std::min(bx0, x), by0 = std::min(by0, y);
    bx1 = std::max(bx1, x), by1 = std::max(by1, y);
  };
  switch (type) {
    case GeometryType::Rect:
    case GeometryType::RoundRect:
    case GeometryType::Ellipse:
    case GeometryType::Arc:
    case GeometryType::Text:
      add(x1, y1);
      add(x2, y2);
      break;
    case GeometryType::Collection:
      for (const auto& m : members) {
        double a, b, c, d;
        m.Bounds(a, b, c, d);
        if (a <= c) add(a, b), add(c, d);
      }
      break;
    default:
      for (const auto& p : parts)
        for (const auto& v : p) add(v.x, v.y);
  }
}

size_t Geometry::VertexCount() const {
  size_t n = 0;
  for (const auto& p : parts) n += p.size();
  for (const auto& m : members) n += m.VertexCount();
  return n;
}

namespace {
bool InsideRing(Point2 p, const std::vector<Point2>& ring) {
  bool in = false;
  for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const Point2 &a = ring[i], &b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}
}  // namespace

std::vector<bool> InteriorRings(const Geometry& g) {
  std::vector<bool> interior(g.parts.size(), false);
  if (g.type != GeometryType::Region) return interior;
  size_t outer = 0;
  for (size_t i = 1; i < g.parts.size(); ++i) {
    interior[i] =
        !g.parts[i].empty() && !g.parts[outer].empty() && InsideRing(g.parts[i][0], g.parts[outer]);
    if (!interior[i]) outer = i;
  }
  return interior;
}

// ---- opening by extension ----

std::unique_ptr<TableReader> TableReader::Open(const std::wstring& path) {
  std::wstring ext = LowerExtension(path);
  if (ext == L".mif") return OpenMif(path);
  if (ext == L".tab") return OpenNative(path);
  throw TabError("Unknown table type: " + PathForMessage(path));
}

std::unique_ptr<TableWriter> TableWriter::Create(const std::wstring& path,
                                                 const TableSchema& schema) {
  std::wstring ext = LowerExtension(path);
  if (ext == L".mif") return CreateMif(path, schema);
  if (ext == L".tab") return CreateNative(path, schema);
  throw TabError("Unknown table type: " + PathForMessage(path));
}

int CopyTable(const std::wstring& from, const std::wstring& to) {
  auto reader = TableReader::Open(from);
  auto writer = TableWriter::Create(to, reader->Schema());
  int broken = 0;
  for (int id = 1; id <= reader->RowCount(); ++id) {
    Feature f;
    reader->ReadFeature(id, f);
    if (f.deleted) continue;
    if (f.Broken()) {
      ++broken;
      f.geometry = Geometry();
    }
    writer->Insert(f);
  }
  writer->Close();
  return broken;
}

}  // namespace tabengine
