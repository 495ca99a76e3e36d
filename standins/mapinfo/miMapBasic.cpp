#include "miMapBasic.h"

#include <charconv>
#include <cmath>

#include "miProjection.h"

IMPLEMENT_CLASS(TMapBasicSession)

namespace {

String UpperName(const String& S) {
  String U = S;
  if (!U.empty()) CharUpperBuffW(U.data(), static_cast<DWORD>(U.size()));
  return U;
}

[[noreturn]] void TypeMismatch() { RaiseMapBasicError(L"Expression type mismatch."); }

String TypeName(TMBType T) {
  switch (T) {
    case TMBType::Logical:
      return L"Logical";
    case TMBType::SmallInt:
      return L"SmallInt";
    case TMBType::Integer:
      return L"Integer";
    case TMBType::Float:
      return L"Float";
    case TMBType::Text:
      return L"String";
    case TMBType::Object:
      return L"Object";
  }
  return String();
}

bool ParseTypeName(const String& S, TMBType& T) {
  for (TMBType C : {TMBType::Logical, TMBType::SmallInt, TMBType::Integer, TMBType::Float,
                    TMBType::Text, TMBType::Object})
    if (SameText(S, TypeName(C))) {
      T = C;
      return true;
    }
  return false;
}

Int64 ToInteger(const TMBValue& V) {
  if (V.Type == TMBType::Float) {
    if (!std::isfinite(V.Float) || std::fabs(V.Float) > 9.2e18) TypeMismatch();
    return static_cast<Int64>(std::llround(V.Float));
  }
  if (V.Type == TMBType::Integer || V.Type == TMBType::SmallInt) return V.Int;
  if (V.Type == TMBType::Logical) return V.Logical ? 1 : 0;
  TypeMismatch();
}

String ObjectTypeName(tabengine::GeometryType AType) {
  using G = tabengine::GeometryType;
  static const struct {
    G Type;
    const wchar_t* Name;
  } Names[] = {{G::Point, L"Point"},
               {G::Line, L"Line"},
               {G::Polyline, L"Polyline"},
               {G::Region, L"Region"},
               {G::Arc, L"Arc"},
               {G::Text, L"Text"},
               {G::Rect, L"Rectangle"},
               {G::RoundRect, L"Rounded Rectangle"},
               {G::Ellipse, L"Ellipse"},
               {G::MultiPoint, L"Multipoint"},
               {G::Collection, L"Collection"}};
  for (const auto& N : Names)
    if (N.Type == AType) return N.Name;
  return String();
}

}  // namespace

TMBValue TMBValue::MakeInt(Int64 V) {
  TMBValue R;
  R.Type = TMBType::Integer;
  R.Int = V;
  return R;
}
TMBValue TMBValue::MakeFloat(double V) {
  TMBValue R;
  R.Type = TMBType::Float;
  R.Float = V;
  return R;
}
TMBValue TMBValue::MakeText(const String& V) {
  TMBValue R;
  R.Type = TMBType::Text;
  R.Text = V;
  return R;
}
TMBValue TMBValue::MakeLogical(bool V) {
  TMBValue R;
  R.Type = TMBType::Logical;
  R.Logical = V;
  return R;
}
TMBValue TMBValue::MakeObject(TMBObjectRef V) {
  TMBValue R;
  R.Type = TMBType::Object;
  R.Object = std::move(V);
  return R;
}
bool TMBValue::IsNumber() const {
  return Type == TMBType::Integer || Type == TMBType::SmallInt || Type == TMBType::Float;
}
double TMBValue::AsFloat() const {
  if (Type == TMBType::Float) return Float;
  if (Type == TMBType::Integer || Type == TMBType::SmallInt) return static_cast<double>(Int);
  TypeMismatch();
}

String FloatToMapBasicText(double AValue, const String& ADecimalSeparator) {
  TFormatSettings Settings = TFormatSettings::Invariant();
  Settings.DecimalSeparator = ADecimalSeparator.empty() ? L'.' : ADecimalSeparator[0];
  return FloatToStr(AValue, Settings);
}

String ValueToText(const TMBValue& V, const String& ADecimalSeparator) {
  switch (V.Type) {
    case TMBType::Logical:
      return V.Logical ? L"T" : L"F";
    case TMBType::SmallInt:
    case TMBType::Integer:
      return std::to_wstring(V.Int);
    case TMBType::Float:
      return FloatToMapBasicText(V.Float, ADecimalSeparator);
    case TMBType::Text:
      return V.Text;
    case TMBType::Object:
      return V.Object ? ObjectTypeName(V.Object->Geometry.type) : String();
  }
  return String();
}

String RegionalDecimalSeparator() {
  wchar_t Buf[8] = {};
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Buf, 8)) return L".";
  return Buf;
}

// ---------------------------------------------------------------------------
// Expressions

class TMapBasicSession::TEvaluator {
 public:
  TEvaluator(TMapBasicSession& ASession, TTokenStream& AStream) : Session(ASession), S(AStream) {}

  TMBValue Expression() { return OrExpr(); }

 private:
  TMapBasicSession& Session;
  TTokenStream& S;

  static bool Truth(const TMBValue& V) {
    if (V.Type == TMBType::Logical) return V.Logical;
    if (V.IsNumber()) return V.AsFloat() != 0;
    TypeMismatch();
  }

  TMBValue OrExpr() {
    TMBValue L = AndExpr();
    while (S.AcceptKeyword(L"Or")) {
      TMBValue R = AndExpr();
      L = TMBValue::MakeLogical(Truth(L) || Truth(R));
    }
    return L;
  }
  TMBValue AndExpr() {
    TMBValue L = NotExpr();
    while (S.AcceptKeyword(L"And")) {
      TMBValue R = NotExpr();
      L = TMBValue::MakeLogical(Truth(L) && Truth(R));
    }
    return L;
  }
  TMBValue NotExpr() {
    if (S.AcceptKeyword(L"Not")) return TMBValue::MakeLogical(!Truth(NotExpr()));
    return Compare();
  }
  TMBValue Compare() {
    TMBValue L = Additive();
    static const wchar_t* const Ops[] = {L"=", L"<>", L"<", L">", L"<=", L">="};
    for (const wchar_t* Op : Ops) {
      if (!S.IsSymbol(Op)) continue;
      S.Next();
      TMBValue R = Additive();
      int C;
      if (L.IsNumber() && R.IsNumber()) {
        double A = L.AsFloat(), B = R.AsFloat();
        C = A < B ? -1 : A > B ? 1 : 0;
      } else if (L.Type == TMBType::Text && R.Type == TMBType::Text) {
        C = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, L.Text.c_str(), -1, R.Text.c_str(),
                           -1) -
            CSTR_EQUAL;
      } else if (L.Type == TMBType::Logical && R.Type == TMBType::Logical) {
        C = static_cast<int>(L.Logical) - static_cast<int>(R.Logical);
      } else {
        TypeMismatch();
      }
      String O = Op;
      bool B = O == L"="    ? C == 0
               : O == L"<>" ? C != 0
               : O == L"<"  ? C < 0
               : O == L">"  ? C > 0
               : O == L"<=" ? C <= 0
                            : C >= 0;
      return TMBValue::MakeLogical(B);
    }
    return L;
  }
  TMBValue Additive() {
    TMBValue L = Multiplicative();
    while (S.IsSymbol(L"+") || S.IsSymbol(L"-")) {
      bool Plus = S.Next().Text == L"+";
      TMBValue R = Multiplicative();
      if (Plus && L.Type == TMBType::Text && R.Type == TMBType::Text) {
        L = TMBValue::MakeText(L.Text + R.Text);
      } else {
        L = Arithmetic(L, R, Plus ? L'+' : L'-');
      }
    }
    return L;
  }
  TMBValue Multiplicative() {
    TMBValue L = Unary();
    while (S.IsSymbol(L"*") || S.IsSymbol(L"/")) {
      wchar_t Op = S.Next().Text[0];
      L = Arithmetic(L, Unary(), Op);
    }
    return L;
  }
  static TMBValue Arithmetic(const TMBValue& L, const TMBValue& R, wchar_t Op) {
    if (!L.IsNumber() || !R.IsNumber()) TypeMismatch();
    bool Ints = L.Type != TMBType::Float && R.Type != TMBType::Float;
    if (Op == L'/') {
      if (R.AsFloat() == 0) RaiseMapBasicError(L"Division by zero.");
      return TMBValue::MakeFloat(L.AsFloat() / R.AsFloat());
    }
    if (Ints) {
      Int64 A = L.Int, B = R.Int;
      return TMBValue::MakeInt(Op == L'+' ? A + B : Op == L'-' ? A - B : A * B);
    }
    double A = L.AsFloat(), B = R.AsFloat();
    return TMBValue::MakeFloat(Op == L'+' ? A + B : Op == L'-' ? A - B : A * B);
  }
  TMBValue Unary() {
    if (S.AcceptSymbol(L"-")) {
      TMBValue V = Unary();
      if (!V.IsNumber()) TypeMismatch();
      if (V.Type == TMBType::Float) return TMBValue::MakeFloat(-V.Float);
      return TMBValue::MakeInt(-V.Int);
    }
    if (S.AcceptSymbol(L"+")) return Unary();
    return Primary();
  }
  TMBValue Primary() {
    const TToken& T = S.Peek();
    switch (T.Kind) {
      case TTokenKind::Number: {
        TToken N = S.Next();
        bool Whole = N.Text.find_first_of(L".eE") == String::npos && N.Number < 9.2e18;
        return Whole ? TMBValue::MakeInt(static_cast<Int64>(N.Number))
                     : TMBValue::MakeFloat(N.Number);
      }
      case TTokenKind::Text:
        return TMBValue::MakeText(S.Next().Text);
      case TTokenKind::Ident:
        if (SameText(T.Text, L"TableInfo") && S.IsSymbol(L"(", 1)) return TableInfoCall();
        return Name();
      default:
        break;
    }
    if (S.AcceptSymbol(L"(")) {
      TMBValue V = Expression();
      S.ExpectSymbol(L")");
      return V;
    }
    S.SyntaxError(L"expression");
  }
  // The first argument of TableInfo names a table, by alias, by a text
  // holding the alias, or by number.
  TMBValue TableInfoCall() {
    S.Next();
    S.ExpectSymbol(L"(");
    TMBValue Table;
    if (S.Peek().Kind == TTokenKind::Ident && S.IsSymbol(L",", 1) &&
        !Session.FindVariable(S.Peek().Text)) {
      Table = TMBValue::MakeText(S.Next().Text);
    } else {
      Table = Expression();
    }
    S.ExpectSymbol(L",");
    TMBValue Code = Expression();
    S.ExpectSymbol(L")");
    return Session.TableInfo(Table, ToInteger(Code));
  }

  TMBValue Name() {
    String Id = S.Next().Text;
    if (S.AcceptSymbol(L"(")) {
      std::vector<TMBValue> Args;
      if (!S.AcceptSymbol(L")")) {
        do {
          Args.push_back(Expression());
        } while (S.AcceptSymbol(L","));
        S.ExpectSymbol(L")");
      }
      return Session.CallFunction(Id, Args);
    }
    if (S.IsSymbol(L".") && S.Peek(1).Kind == TTokenKind::Ident && !Session.FindVariable(Id)) {
      S.Next();
      return Session.ColumnValue(Session.TableByAlias(Id), S.Next().Text);
    }
    if (Session.FRow) {
      bool Found = false;
      TMBValue V = Session.RowValue(*Session.FRowTable, *Session.FRow, Id, Found);
      if (Found) return V;
    }
    if (TVariable* V = Session.FindVariable(Id)) {
      if (!V->Assigned && V->Type == TMBType::Object)
        RaiseMapBasicError(L"Variable " + Id + L" holds no object.");
      return V->Value;
    }
    RaiseMapBasicError(L"Variable or Field " + Id + L" not defined.");
  }
};

// ---------------------------------------------------------------------------
// Session

TMapBasicSession::TMapBasicSession() : FCoordSys(LongLatCoordSys()) {}

TMapBasicSession::~TMapBasicSession() = default;

TMapBasicSession::TVariable* TMapBasicSession::FindVariable(const String& AName) {
  auto It = FVariables.find(UpperName(AName));
  return It == FVariables.end() ? nullptr : &It->second;
}

TMBValue TMapBasicSession::ParseExpression(TTokenStream& S) {
  TEvaluator E(*this, S);
  return E.Expression();
}

TMBValue TMapBasicSession::Evaluate(const String& AExpression) {
  TTokenStream S(AExpression);
  TEvaluator E(*this, S);
  TMBValue V = E.Expression();
  S.ExpectEnd();
  return V;
}

String TMapBasicSession::Eval(const String& AExpression) {
  return ValueToText(Evaluate(AExpression), RegionalDecimalSeparator());
}

void TMapBasicSession::Do(const String& AStatement) {
  TTokenStream S(AStatement);
  if (S.AtEnd()) return;
  if (S.Peek().Kind != TTokenKind::Ident) S.SyntaxError(L"statement");
  if (S.IsSymbol(L"=", 1)) return DoAssign(S);
  String Verb = S.Next().Text;
  if (SameText(Verb, L"Set")) return DoSet(S);
  if (SameText(Verb, L"Dim")) return DoDim(S);
  if (SameText(Verb, L"Undim")) return DoUndim(S);
  if (SameText(Verb, L"End")) return DoEnd(S);
  if (SameText(Verb, L"Open")) return DoOpen(S);
  if (SameText(Verb, L"Close")) return DoClose(S);
  if (SameText(Verb, L"Export")) return DoExport(S);
  if (SameText(Verb, L"Import")) return DoImport(S);
  if (SameText(Verb, L"Commit")) return DoCommit(S);
  if (SameText(Verb, L"Select")) return DoSelect(S);
  if (SameText(Verb, L"Create")) return DoCreate(S);
  if (SameText(Verb, L"Insert")) return DoInsert(S);
  if (SameText(Verb, L"Fetch")) return DoFetch(S);
  RaiseMapBasicError(L"Unrecognized command: " + Verb + L".");
}

void TMapBasicSession::DoSet(TTokenStream& S) {
  if (S.AcceptKeyword(L"CoordSys")) {
    if (S.AcceptKeyword(L"Table")) {
      TOpenTable& T = TableByAlias(S.ExpectIdent(L"table name"));
      if (!T.Schema.mappable) RaiseMapBasicError(L"Table " + T.Alias + L" is not mappable.");
      FCoordSys = T.CoordSys;
    } else {
      FCoordSys = ParseCoordSys(S);
    }
  } else if (S.AcceptKeyword(L"Distance")) {
    S.ExpectKeyword(L"Units");
    String U = S.ExpectText(L"unit name");
    if (UnitToMetres(U) == 0) RaiseMapBasicError(L"Unrecognized unit name: " + U + L".");
    FDistanceUnits = U;
  } else if (S.AcceptKeyword(L"ProgressBars")) {
    if (S.AcceptKeyword(L"On")) {
      FProgressBars = true;
    } else {
      S.ExpectKeyword(L"Off");
      FProgressBars = false;
    }
  } else {
    S.SyntaxError(L"CoordSys, Distance or ProgressBars");
  }
  S.ExpectEnd();
}

void TMapBasicSession::DoDim(TTokenStream& S) {
  std::vector<String> Names;
  do {
    Names.push_back(S.ExpectIdent(L"variable name"));
  } while (S.AcceptSymbol(L","));
  S.ExpectKeyword(L"As");
  TMBType T;
  if (S.Peek().Kind != TTokenKind::Ident || !ParseTypeName(S.Peek().Text, T))
    S.SyntaxError(L"variable type");
  S.Next();
  S.ExpectEnd();
  for (const String& N : Names)
    if (FindVariable(N)) RaiseMapBasicError(L"Variable " + N + L" already defined.");
  for (const String& N : Names) {
    TVariable V{T, TMBValue{}, false};
    V.Value.Type = T;
    // Numbers start at zero and text empty, as a fresh Dim gives in MapBasic.
    V.Assigned = T != TMBType::Object;
    FVariables[UpperName(N)] = V;
  }
}

void TMapBasicSession::DoUndim(TTokenStream& S) {
  String N = S.ExpectIdent(L"variable name");
  S.ExpectEnd();
  auto It = FVariables.find(UpperName(N));
  if (It == FVariables.end()) RaiseMapBasicError(L"Variable " + N + L" not defined.");
  FVariables.erase(It);
}

TMBValue TMapBasicSession::Convert(const TMBValue& V, TMBType AType, const String& AName) const {
  if (V.Type == AType) return V;
  TMBValue R;
  R.Type = AType;
  switch (AType) {
    case TMBType::SmallInt:
    case TMBType::Integer:
      R.Int = ToInteger(V);
      if (AType == TMBType::SmallInt && (R.Int < -32768 || R.Int > 32767))
        RaiseMapBasicError(L"Value out of range for " + AName + L".");
      return R;
    case TMBType::Float:
      R.Float = V.AsFloat();
      return R;
    case TMBType::Logical:
      if (!V.IsNumber()) TypeMismatch();
      R.Logical = V.AsFloat() != 0;
      return R;
    case TMBType::Text:
      if (V.Type == TMBType::Object) TypeMismatch();
      // Numbers stored into text keep MapBasic's own "." separator.
      R.Text = ValueToText(V, L".");
      return R;
    case TMBType::Object:
      TypeMismatch();
  }
  TypeMismatch();
}

void TMapBasicSession::DoAssign(TTokenStream& S) {
  String N = S.Next().Text;
  S.ExpectSymbol(L"=");
  TVariable* V = FindVariable(N);
  if (!V) RaiseMapBasicError(L"Variable or Field " + N + L" not defined.");
  TEvaluator E(*this, S);
  TMBValue Value = E.Expression();
  S.ExpectEnd();
  V->Value = Convert(Value, V->Type, N);
  V->Assigned = true;
}

void TMapBasicSession::DoEnd(TTokenStream& S) {
  S.ExpectKeyword(L"MapInfo");
  S.AcceptKeyword(L"Interactive");
  S.ExpectEnd();
  FEnded = true;
  if (OnEndApplication) OnEndApplication(this);
}

TMBValue TMapBasicSession::CallFunction(const String& AName, const std::vector<TMBValue>& AArgs) {
  auto Want = [&](size_t N) {
    if (AArgs.size() != N)
      RaiseMapBasicError(L"Wrong number of arguments for function " + AName + L".");
  };
  if (SameText(AName, L"SystemInfo")) {
    Want(1);
    Int64 Code = ToInteger(AArgs[0]);
    if (Code == 9) return TMBValue::MakeInt(reinterpret_cast<NativeInt>(FMainWindow));
    RaiseMapBasicError(L"SystemInfo: argument " + std::to_wstring(Code) + L" out of range.");
  }
  if (SameText(AName, L"CreatePoint")) {
    Want(2);
    auto O = std::make_shared<TMBObject>();
    O->Geometry.type = tabengine::GeometryType::Point;
    O->Geometry.parts = {{tabengine::Point2{AArgs[0].AsFloat(), AArgs[1].AsFloat()}}};
    O->CoordSys = FCoordSys;
    return TMBValue::MakeObject(std::move(O));
  }
  if (SameText(AName, L"ObjectGeography")) {
    Want(2);
    return ObjectGeography(AArgs[0], ToInteger(AArgs[1]));
  }
  RaiseMapBasicError(L"Unrecognized function: " + AName + L".");
}

TMBValue TMapBasicSession::ObjectGeography(const TMBValue& AObject, Int64 ACode) const {
  if (AObject.Type != TMBType::Object) TypeMismatch();
  if (!AObject.Object || AObject.Object->Geometry.type == tabengine::GeometryType::None)
    RaiseMapBasicError(L"ObjectGeography: the object is empty.");
  if (ACode < 1 || ACode > 4)
    RaiseMapBasicError(L"ObjectGeography: argument " + std::to_wstring(ACode) + L" out of range.");
  tabengine::Geometry G = AObject.Object->Geometry;
  ConvertGeometry(G, AObject.Object->CoordSys, FCoordSys);
  double Values[4];
  G.Bounds(Values[0], Values[1], Values[2], Values[3]);
  return TMBValue::MakeFloat(Values[ACode - 1]);
}
