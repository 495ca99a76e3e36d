// Table statements of the session, on the native table engine.
#include <algorithm>
#include <cmath>

#include "WinHandles.h"
#include "miMapBasic.h"
#include "miProjection.h"

namespace {

using tabengine::FieldType;

String Widen(const std::string& S) { return UTF8ToString(S); }
std::string Narrow(const String& S) { return UTF8Encode(S); }

// Engine failures reach the client with the engine's own text.
template <class F>
auto Engine(F&& AWork) {
  try {
    return AWork();
  } catch (const tabengine::TabError& E) {
    RaiseMapBasicError(Widen(E.what()));
  }
}

TCoordSys FromEngine(const tabengine::CoordSys& C) {
  return ParseCoordSysText(Widen(C.ToString(true)));
}

tabengine::CoordSys ToEngine(const TCoordSys& C) {
  return Engine([&] { return tabengine::CoordSys::Parse(Narrow(C.Clause())); });
}

// A table file named without its extension is a .TAB file.
String WithExtension(const String& APath, const wchar_t* AExt) {
  return SameText(ExtractFileExt(APath), AExt) ? APath : APath + AExt;
}

// An alias is an identifier: other characters of a file name become "_".
String AliasOfFile(const String& APath) {
  String A = ChangeFileExt(ExtractFileName(APath), String());
  for (wchar_t& C : A)
    if (!IsCharAlphaNumericW(C) && C != L'_') C = L'_';
  if (A.empty() || !(IsCharAlphaW(A[0]) || A[0] == L'_')) A.insert(0, 1, L'_');
  return A;
}

void ConvertPoint2(tabengine::Point2& P, const TCoordSys& F, const TCoordSys& T) {
  ConvertPoint(F, T, P.x, P.y);
}

void CheckNoBrokenRow(const TOpenTable& T) {
  for (size_t I = 0; I < T.Rows.size(); ++I)
    if (T.Rows[I].Broken() && !T.Rows[I].deleted)
      RaiseMapBasicError(L"Cannot read the object of row " + std::to_wstring(I + 1) +
                         L" of table " + T.Alias + L": " + Widen(T.Rows[I].error));
}

int FieldIndex(const TOpenTable& T, const String& AName) {
  for (size_t I = 0; I < T.Schema.fields.size(); ++I)
    if (SameText(Widen(T.Schema.fields[I].name), AName)) return static_cast<int>(I);
  return -1;
}

[[noreturn]] void NoField(const String& AName) {
  RaiseMapBasicError(L"Variable or Field " + AName + L" not defined.");
}

tabengine::Value ToEngineValue(const tabengine::FieldDef& F, const TMBValue& V) {
  switch (F.type) {
    case FieldType::Char:
      if (V.Type != TMBType::Text) RaiseMapBasicError(L"Expression type mismatch.");
      return tabengine::Value::Text(Narrow(V.Text));
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::LargeInt:
    case FieldType::Logical: {
      if (V.Type == TMBType::Logical) return tabengine::Value::Int(V.Logical ? 1 : 0);
      return tabengine::Value::Int(std::llround(V.AsFloat()));
    }
    case FieldType::Float:
    case FieldType::Decimal:
      return tabengine::Value::Real(V.AsFloat());
    default:
      RaiseMapBasicError(L"Column " + Widen(F.name) + L" cannot take this value.");
  }
}

TMBValue FromEngineValue(const tabengine::FieldDef& F, const tabengine::Value& V) {
  switch (F.type) {
    case FieldType::Char:
      return TMBValue::MakeText(Widen(V.text));
    case FieldType::Logical:
      return TMBValue::MakeLogical(V.integer != 0);
    case FieldType::Float:
    case FieldType::Decimal:
      return TMBValue::MakeFloat(V.real);
    case FieldType::Date:
      return TMBValue::MakeInt(V.date);
    case FieldType::Time:
      return TMBValue::MakeInt(V.time);
    default:
      return TMBValue::MakeInt(V.integer);
  }
}

FieldType ParseFieldType(TTokenStream& S, int& AWidth, int& ADecimals) {
  String T = S.ExpectIdent(L"column type");
  AWidth = ADecimals = 0;
  static const struct {
    const wchar_t* Name;
    FieldType Type;
  } Types[] = {{L"Char", FieldType::Char},         {L"Integer", FieldType::Integer},
               {L"SmallInt", FieldType::SmallInt}, {L"Decimal", FieldType::Decimal},
               {L"Float", FieldType::Float},       {L"Logical", FieldType::Logical},
               {L"Date", FieldType::Date},         {L"Time", FieldType::Time},
               {L"DateTime", FieldType::DateTime}};
  for (const auto& C : Types) {
    if (!SameText(T, C.Name)) continue;
    if (C.Type == FieldType::Char || C.Type == FieldType::Decimal) {
      S.ExpectSymbol(L"(");
      AWidth = static_cast<int>(S.ExpectNumber(L"width"));
      if (C.Type == FieldType::Decimal) {
        S.ExpectSymbol(L",");
        ADecimals = static_cast<int>(S.ExpectNumber(L"decimals"));
      }
      S.ExpectSymbol(L")");
      if (AWidth < 1 || AWidth > 254 || ADecimals < 0 || ADecimals >= AWidth)
        RaiseMapBasicError(L"Invalid width for column type " + T + L".");
    }
    return C.Type;
  }
  RaiseMapBasicError(L"Unrecognized column type: " + T + L".");
}

}  // namespace

void ConvertGeometry(tabengine::Geometry& G, const TCoordSys& AFrom, const TCoordSys& ATo) {
  if (AFrom.SameSystem(ATo)) return;
  for (auto& Part : G.parts)
    for (auto& P : Part) ConvertPoint2(P, AFrom, ATo);
  if (G.type == tabengine::GeometryType::Rect || G.type == tabengine::GeometryType::RoundRect ||
      G.type == tabengine::GeometryType::Ellipse || G.type == tabengine::GeometryType::Arc ||
      G.type == tabengine::GeometryType::Text) {
    ConvertPoint(AFrom, ATo, G.x1, G.y1);
    ConvertPoint(AFrom, ATo, G.x2, G.y2);
  }
  if (G.hasCenter) ConvertPoint2(G.center, AFrom, ATo);
  if (G.labelLine) ConvertPoint2(G.labelEnd, AFrom, ATo);
  for (auto& M : G.members) ConvertGeometry(M, AFrom, ATo);
}

TOpenTable* TMapBasicSession::FindTable(const String& AAlias) {
  for (auto& T : FTables)
    if (SameText(T->Alias, AAlias)) return T.get();
  return nullptr;
}

TOpenTable& TMapBasicSession::TableByAlias(const String& AAlias) {
  TOpenTable* T = FindTable(AAlias);
  if (!T) RaiseMapBasicError(L"Table " + AAlias + L" is not open.");
  return *T;
}

TOpenTable& TMapBasicSession::AddTable(std::unique_ptr<TOpenTable> ATable) {
  if (ATable->Schema.mappable) ATable->CoordSys = FromEngine(ATable->Schema.coordsys);
  FTables.push_back(std::move(ATable));
  return *FTables.back();
}

TOpenTable& TMapBasicSession::OpenTableFile(const String& APath, const String& AAlias) {
  if (!FileExists(APath)) RaiseMapBasicError(L"File " + APath + L" not found.");
  if (FindTable(AAlias)) RaiseMapBasicError(L"Table " + AAlias + L" is already open.");
  auto T = std::make_unique<TOpenTable>();
  T->Alias = AAlias;
  T->Path = ExpandFileName(APath);
  Engine([&] {
    auto Reader = tabengine::TableReader::Open(T->Path);
    T->Schema = Reader->Schema();
    T->Rows.resize(Reader->RowCount());
    for (int Id = 1; Id <= Reader->RowCount(); ++Id) Reader->ReadFeature(Id, T->Rows[Id - 1]);
    return 0;
  });
  return AddTable(std::move(T));
}

void TMapBasicSession::WriteTable(const TOpenTable& T, const String& APath,
                                  const TCoordSys* ACoordSys) {
  tabengine::TableSchema Schema = T.Schema;
  if (ACoordSys) {
    if (!Schema.mappable) RaiseMapBasicError(L"Table " + T.Alias + L" is not mappable.");
    Schema.coordsys = ToEngine(*ACoordSys);
  }
  Engine([&] {
    auto Writer = tabengine::TableWriter::Create(APath, Schema);
    int Id = 0;
    for (const tabengine::Feature& Row : T.Rows) {
      if (Row.deleted) continue;
      tabengine::Feature F = Row;
      F.id = ++Id;
      if (ACoordSys) ConvertGeometry(F.geometry, T.CoordSys, *ACoordSys);
      Writer->Insert(F);
    }
    Writer->Close();
    return 0;
  });
}

void TMapBasicSession::DoOpen(TTokenStream& S) {
  S.ExpectKeyword(L"Table");
  String Path = S.ExpectText(L"file name");
  String Alias = AliasOfFile(Path);
  if (S.AcceptKeyword(L"As")) Alias = S.ExpectIdent(L"alias");
  while (!S.AtEnd()) {
    static const wchar_t* const Options[] = {L"Hide",    L"ReadOnly", L"Interactive",
                                             L"NoIndex", L"MRU",      L"DenyWrite"};
    bool Known = false;
    for (const wchar_t* O : Options) Known = Known || S.AcceptKeyword(O);
    if (!Known) S.SyntaxError(L"end of statement");
  }
  OpenTableFile(WithExtension(Path, L".tab"), Alias);
}

void TMapBasicSession::DoClose(TTokenStream& S) {
  if (S.AcceptKeyword(L"All")) {
    S.AcceptKeyword(L"Interactive");
    S.ExpectEnd();
    FTables.clear();
    return;
  }
  S.ExpectKeyword(L"Table");
  String Alias = S.ExpectIdent(L"table name");
  S.AcceptKeyword(L"Interactive");
  S.ExpectEnd();
  TOpenTable* T = &TableByAlias(Alias);
  std::erase_if(FTables, [T](const auto& P) { return P.get() == T; });
}

void TMapBasicSession::DoExport(TTokenStream& S) {
  TOpenTable& T = TableByAlias(S.ExpectIdent(L"table name"));
  S.ExpectKeyword(L"Into");
  String Path = S.ExpectText(L"file name");
  bool Overwrite = false;
  while (!S.AtEnd()) {
    if (S.AcceptKeyword(L"Type")) {
      String Type = S.ExpectText(L"file type");
      if (!SameText(Type, L"MIF"))
        RaiseMapBasicError(L"Export type " + Type + L" is not supported.");
    } else if (S.AcceptKeyword(L"Overwrite")) {
      Overwrite = true;
    } else {
      S.SyntaxError(L"Type or Overwrite");
    }
  }
  Path = WithExtension(Path, L".mif");
  String Mid = Path.substr(0, Path.size() - 4) + L".mid";
  if (!Overwrite && (FileExists(Path) || FileExists(Mid)))
    RaiseMapBasicError(L"File " + Path + L" already exists.");
  // A damaged object makes the whole export fail, as it does in the GIS program.
  CheckNoBrokenRow(T);
  WriteTable(T, Path, nullptr);
}

void TMapBasicSession::DoImport(TTokenStream& S) {
  String Source = S.ExpectText(L"file name");
  String Target;
  bool Overwrite = false;
  while (!S.AtEnd()) {
    if (S.AcceptKeyword(L"Type")) {
      String Type = S.ExpectText(L"file type");
      if (!SameText(Type, L"MIF"))
        RaiseMapBasicError(L"Import type " + Type + L" is not supported.");
    } else if (S.AcceptKeyword(L"Into")) {
      Target = S.ExpectText(L"file name");
    } else if (S.AcceptKeyword(L"Overwrite")) {
      Overwrite = true;
    } else {
      S.SyntaxError(L"Type, Into or Overwrite");
    }
  }
  if (!FileExists(Source)) RaiseMapBasicError(L"File " + Source + L" not found.");
  if (Target.empty()) Target = Source.substr(0, Source.size() - ExtractFileExt(Source).size());
  Target = WithExtension(Target, L".tab");
  if (!Overwrite && FileExists(Target)) RaiseMapBasicError(L"File " + Target + L" already exists.");
  String Alias = AliasOfFile(Target);
  if (FindTable(Alias)) RaiseMapBasicError(L"Table " + Alias + L" is already open.");
  Engine([&] { return tabengine::CopyTable(Source, Target); });
  OpenTableFile(Target, Alias);
}

void TMapBasicSession::DoCommit(TTokenStream& S) {
  S.ExpectKeyword(L"Table");
  TOpenTable& T = TableByAlias(S.ExpectIdent(L"table name"));
  String Path;
  std::optional<TCoordSys> Target;
  if (S.AcceptKeyword(L"As")) {
    Path = S.ExpectText(L"file name");
    while (!S.AtEnd() && !S.IsKeyword(L"Interactive")) {
      if (S.AcceptKeyword(L"Type")) {
        S.ExpectKeyword(L"NATIVE");
        if (S.AcceptKeyword(L"Charset")) S.ExpectText(L"charset");
      } else if (S.AcceptKeyword(L"CoordSys")) {
        Target = ParseCoordSys(S);
      } else if (S.AcceptKeyword(L"Version")) {
        S.ExpectNumber(L"version");
      } else {
        S.SyntaxError(L"Type, CoordSys or Version");
      }
    }
  }
  S.AcceptKeyword(L"Interactive");
  S.ExpectEnd();
  if (Path.empty()) {
    if (T.Query)
      RaiseMapBasicError(L"Table " + T.Alias + L" is a query and cannot be saved in place.");
    if (T.Edited) WriteTable(T, T.Path, nullptr);
    T.Edited = false;
    return;
  }
  Path = ExpandFileName(WithExtension(Path, L".tab"));
  if (!T.Query && SameText(Path, T.Path))
    RaiseMapBasicError(L"Cannot save table " + T.Alias + L" over itself.");
  CheckNoBrokenRow(T);
  if (Target && !Target->Earth) RaiseMapBasicError(L"Invalid Coordinate System.");
  WriteTable(T, Path, Target ? &*Target : nullptr);
}

void TMapBasicSession::DoSelect(TTokenStream& S) {
  S.ExpectSymbol(L"*");
  S.ExpectKeyword(L"From");
  TOpenTable& Base = TableByAlias(S.ExpectIdent(L"table name"));
  auto Q = std::make_unique<TOpenTable>();
  Q->Query = true;
  Q->Schema = Base.Schema;
  String Into = L"Selection";
  if (S.AcceptKeyword(L"Where")) {
    // The condition is read again for every row.
    size_t Condition = S.Position();
    struct TRowScope {
      TMapBasicSession& Session;
      ~TRowScope() {
        Session.FRowTable = nullptr;
        Session.FRow = nullptr;
      }
    } Scope{*this};
    for (size_t I = 0; I < Base.Rows.size(); ++I) {
      FRowTable = &Base;
      FRow = &Base.Rows[I];
      FRowId = static_cast<Int64>(I + 1);
      S.Rewind(Condition);
      TMBValue V = ParseExpression(S);
      if (V.Type != TMBType::Logical) RaiseMapBasicError(L"Expression type mismatch.");
      if (V.Logical && !Base.Rows[I].deleted) Q->Rows.push_back(Base.Rows[I]);
    }
    if (Base.Rows.empty()) {
      while (!S.AtEnd() && !S.IsKeyword(L"Into")) S.Next();
    } else if (!S.AtEnd() && !S.IsKeyword(L"Into")) {
      S.SyntaxError(L"Into");
    }
  } else {
    for (const auto& Row : Base.Rows)
      if (!Row.deleted) Q->Rows.push_back(Row);
  }
  if (S.AcceptKeyword(L"Into")) Into = S.ExpectIdent(L"table name");
  S.AcceptKeyword(L"NoSelect");
  S.ExpectEnd();
  if (TOpenTable* Old = FindTable(Into)) {
    if (!Old->Query) RaiseMapBasicError(L"Table " + Into + L" is already open.");
    std::erase_if(FTables, [Old](const auto& P) { return P.get() == Old; });
  }
  Q->Alias = Into;
  AddTable(std::move(Q));
}

void TMapBasicSession::DoCreate(TTokenStream& S) {
  if (S.AcceptKeyword(L"Table")) return DoCreateTable(S);
  if (S.AcceptKeyword(L"Map")) return DoCreateMap(S);
  S.SyntaxError(L"Table or Map");
}

void TMapBasicSession::DoCreateTable(TTokenStream& S) {
  String Alias = S.ExpectIdent(L"table name");
  auto T = std::make_unique<TOpenTable>();
  T->Alias = Alias;
  T->Schema.mappable = false;
  S.ExpectSymbol(L"(");
  do {
    tabengine::FieldDef F;
    F.name = Narrow(S.ExpectIdent(L"column name"));
    F.type = ParseFieldType(S, F.width, F.decimals);
    for (const auto& Other : T->Schema.fields)
      if (SameText(Widen(Other.name), Widen(F.name)))
        RaiseMapBasicError(L"Column " + Widen(F.name) + L" is defined twice.");
    T->Schema.fields.push_back(F);
  } while (S.AcceptSymbol(L","));
  S.ExpectSymbol(L")");
  String Path = Alias;
  while (!S.AtEnd()) {
    if (S.AcceptKeyword(L"File")) {
      Path = S.ExpectText(L"file name");
    } else if (S.AcceptKeyword(L"Type")) {
      S.ExpectKeyword(L"NATIVE");
      if (S.AcceptKeyword(L"Charset")) T->Schema.charset = Narrow(S.ExpectText(L"charset"));
    } else if (S.AcceptKeyword(L"Version")) {
      S.ExpectNumber(L"version");
    } else {
      S.SyntaxError(L"File, Type or Version");
    }
  }
  if (FindTable(Alias)) RaiseMapBasicError(L"Table " + Alias + L" is already open.");
  T->Path = ExpandFileName(WithExtension(Path, L".tab"));
  WriteTable(*T, T->Path, nullptr);
  AddTable(std::move(T));
}

void TMapBasicSession::DoCreateMap(TTokenStream& S) {
  S.ExpectKeyword(L"For");
  TOpenTable& T = TableByAlias(S.ExpectIdent(L"table name"));
  TCoordSys C = FCoordSys;
  if (S.AcceptKeyword(L"CoordSys")) C = ParseCoordSys(S);
  S.ExpectEnd();
  if (T.Query) RaiseMapBasicError(L"Table " + T.Alias + L" is a query.");
  T.Schema.mappable = true;
  T.Schema.coordsys = ToEngine(C);
  T.CoordSys = FromEngine(T.Schema.coordsys);
  for (auto& Row : T.Rows) Row.geometry = tabengine::Geometry();
  WriteTable(T, T.Path, nullptr);
  T.Edited = false;
}

void TMapBasicSession::DoInsert(TTokenStream& S) {
  S.ExpectKeyword(L"Into");
  TOpenTable& T = TableByAlias(S.ExpectIdent(L"table name"));
  if (T.Query) RaiseMapBasicError(L"Table " + T.Alias + L" is a query.");
  std::vector<String> Columns;
  if (S.AcceptSymbol(L"(")) {
    do {
      Columns.push_back(S.ExpectIdent(L"column name"));
    } while (S.AcceptSymbol(L","));
    S.ExpectSymbol(L")");
  } else {
    for (const auto& F : T.Schema.fields) Columns.push_back(Widen(F.name));
  }
  S.ExpectKeyword(L"Values");
  S.ExpectSymbol(L"(");
  std::vector<TMBValue> Values;
  do {
    Values.push_back(ParseExpression(S));
  } while (S.AcceptSymbol(L","));
  S.ExpectSymbol(L")");
  S.ExpectEnd();
  if (Values.size() != Columns.size())
    RaiseMapBasicError(L"The number of values does not match the number of columns.");
  tabengine::Feature F;
  F.values.resize(T.Schema.fields.size());
  for (size_t I = 0; I < Columns.size(); ++I) {
    if (SameText(Columns[I], L"Obj")) {
      if (!T.Schema.mappable) RaiseMapBasicError(L"Table " + T.Alias + L" is not mappable.");
      if (Values[I].Type != TMBType::Object) RaiseMapBasicError(L"Expression type mismatch.");
      if (Values[I].Object) {
        F.geometry = Values[I].Object->Geometry;
        ConvertGeometry(F.geometry, Values[I].Object->CoordSys, T.CoordSys);
      }
      continue;
    }
    int K = FieldIndex(T, Columns[I]);
    if (K < 0) NoField(Columns[I]);
    F.values[K] = ToEngineValue(T.Schema.fields[K], Values[I]);
  }
  F.id = static_cast<int>(T.Rows.size() + 1);
  T.Rows.push_back(std::move(F));
  T.Edited = true;
}

void TMapBasicSession::DoFetch(TTokenStream& S) {
  enum { First, Last, Next, Prev, Rec } How;
  Int64 N = 0;
  if (S.AcceptKeyword(L"First"))
    How = First;
  else if (S.AcceptKeyword(L"Last"))
    How = Last;
  else if (S.AcceptKeyword(L"Next"))
    How = Next;
  else if (S.AcceptKeyword(L"Prev"))
    How = Prev;
  else {
    S.ExpectKeyword(L"Rec");
    How = Rec;
    TMBValue V = ParseExpression(S);
    if (!V.IsNumber()) RaiseMapBasicError(L"Expression type mismatch.");
    N = std::llround(V.AsFloat());
  }
  S.ExpectKeyword(L"From");
  TOpenTable& T = TableByAlias(S.ExpectIdent(L"table name"));
  S.ExpectEnd();
  Int64 Count = static_cast<Int64>(T.Rows.size());
  switch (How) {
    case First:
      N = 1;
      break;
    case Last:
      N = Count;
      break;
    case Next:
      N = T.Cursor + 1;
      break;
    case Prev:
      N = T.Cursor - 1;
      break;
    case Rec:
      if (N < 1 || N > Count)
        RaiseMapBasicError(L"Row " + std::to_wstring(N) + L" does not exist in table " + T.Alias +
                           L".");
      break;
  }
  T.Cursor = static_cast<Integer>(std::clamp<Int64>(N, 0, Count + 1));
}

TMBValue TMapBasicSession::RowValue(const TOpenTable& T, const tabengine::Feature& ARow,
                                    const String& AName, bool& AFound) {
  AFound = true;
  if (SameText(AName, L"RowId")) return TMBValue::MakeInt(FRowId);
  if (SameText(AName, L"Obj") || SameText(AName, L"Object")) {
    if (!T.Schema.mappable) RaiseMapBasicError(L"Table " + T.Alias + L" is not mappable.");
    auto O = std::make_shared<TMBObject>();
    O->Geometry = ARow.geometry;
    O->CoordSys = T.CoordSys;
    return TMBValue::MakeObject(std::move(O));
  }
  int K = FieldIndex(T, AName);
  if (K >= 0 && static_cast<size_t>(K) < ARow.values.size())
    return FromEngineValue(T.Schema.fields[K], ARow.values[K]);
  AFound = false;
  return TMBValue();
}

TMBValue TMapBasicSession::ColumnValue(TOpenTable& T, const String& AColumn) {
  if (T.Cursor < 1 || T.Cursor > static_cast<Integer>(T.Rows.size()))
    RaiseMapBasicError(L"Table " + T.Alias + L" has no current row: use Fetch first.");
  Int64 Saved = FRowId;
  FRowId = T.Cursor;
  bool Found = false;
  TMBValue V;
  {
    auto Restore = Finally([&] { FRowId = Saved; });
    V = RowValue(T, T.Rows[T.Cursor - 1], AColumn, Found);
  }
  if (!Found) NoField(T.Alias + L"." + AColumn);
  return V;
}

TMBValue TMapBasicSession::TableInfo(const TMBValue& ATable, Int64 ACode) {
  TOpenTable* T = nullptr;
  if (ATable.Type == TMBType::Text) {
    T = &TableByAlias(ATable.Text);
  } else if (ATable.IsNumber()) {
    Int64 N = std::llround(ATable.AsFloat());
    if (N == 0 && !FTables.empty()) N = static_cast<Int64>(FTables.size());
    if (N < 1 || N > static_cast<Int64>(FTables.size()))
      RaiseMapBasicError(L"Table number " + std::to_wstring(N) + L" is not open.");
    T = FTables[N - 1].get();
  } else {
    RaiseMapBasicError(L"Expression type mismatch.");
  }
  switch (ACode) {
    case 1:
      return TMBValue::MakeText(T->Alias);
    case 4:
      return TMBValue::MakeInt(static_cast<Int64>(T->Schema.fields.size()));
    case 5:
      return TMBValue::MakeLogical(T->Schema.mappable);
    case 8:
      return TMBValue::MakeInt(static_cast<Int64>(T->Rows.size()));
    case 20:
    case 21:
    case 22:
    case 23:
    case 29:
      break;
    default:
      RaiseMapBasicError(L"TableInfo: argument " + std::to_wstring(ACode) + L" out of range.");
  }
  if (!T->Schema.mappable) RaiseMapBasicError(L"Table " + T->Alias + L" is not mappable.");
  if (ACode == 29) {
    tabengine::CoordSys C = T->Schema.coordsys;
    if (!C.hasBounds) {
      C.EffectiveBounds(C.minX, C.minY, C.maxX, C.maxY);
      C.hasBounds = true;
    }
    return TMBValue::MakeText(Widen(C.ToString(true)));
  }
  // The extent of the objects, in the session's coordinate system.
  double Box[4] = {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (const auto& Row : T->Rows) {
    if (Row.geometry.type == tabengine::GeometryType::None || Row.Broken()) continue;
    tabengine::Geometry G = Row.geometry;
    ConvertGeometry(G, T->CoordSys, FCoordSys);
    double B[4];
    G.Bounds(B[0], B[1], B[2], B[3]);
    for (int I = 0; I < 2; ++I) Box[I] = std::min(Box[I], B[I]);
    for (int I = 2; I < 4; ++I) Box[I] = std::max(Box[I], B[I]);
  }
  if (Box[0] > Box[2]) return TMBValue::MakeFloat(0);
  return TMBValue::MakeFloat(Box[ACode - 20]);
}
