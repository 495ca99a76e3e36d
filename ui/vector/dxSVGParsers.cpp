#include "dxSVGParsers.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

#include "dxStringHelper.h"

namespace {
constexpr Double DegToRad = 0.017453292519943295769;
constexpr Double Pi = 3.14159265358979323846;

const wchar_t* const UnitWords[] = {L"px", L"mm", L"cm", L"in", L"pc", L"pt", L"%"};

bool IsDigit(wchar_t C) { return C >= L'0' && C <= L'9'; }
bool IsSpace(wchar_t C) { return C <= L' '; }

void TrimRange(const wchar_t*& AStart, const wchar_t*& AEnd) {
  while (AStart < AEnd && IsSpace(*AStart)) ++AStart;
  while (AEnd > AStart && IsSpace(AEnd[-1])) --AEnd;
}

// The number scanner: calls AProc(value, index of the character that ended
// the number) for each readable piece of [AText, AText + ALength).
template <class TProc>
void ScanNumbers(const wchar_t* AText, size_t ALength, TProc&& AProc) {
  size_t Start = 0;
  bool HasPoint = false;
  auto Flush = [&](size_t AEnd) {
    const wchar_t* B = AText + Start;
    const wchar_t* E = AText + AEnd;
    TrimRange(B, E);
    Single Value;
    if (B < E && dxSVGTryTextToFloat(B, static_cast<size_t>(E - B), Value)) AProc(Value, AEnd);
  };
  for (size_t I = 0; I < ALength; ++I) {
    const wchar_t C = AText[I];
    if (IsDigit(C) || C == L'e' || C == L'E') continue;
    if (C == L'.' && !HasPoint) {
      HasPoint = true;
      continue;
    }
    if ((C == L'+' || C == L'-') && I > Start && (AText[I - 1] == L'e' || AText[I - 1] == L'E'))
      continue;
    Flush(I);
    if (C == L'+' || C == L'-' || C == L'.') {
      Start = I;
      HasPoint = C == L'.';
    } else {
      Start = I + 1;
      HasPoint = false;
    }
  }
  if (Start < ALength) Flush(ALength);
}

String TrimmedCopy(const String& S, size_t AFrom, size_t ATo) {
  const wchar_t* B = S.data() + AFrom;
  const wchar_t* E = S.data() + ATo;
  TrimRange(B, E);
  return String(B, E);
}

bool StartsWithUrl(const String& S) { return S.size() >= 4 && SameText(S.substr(0, 4), L"url("); }
}  // namespace

[[noreturn]] void dxSVGListIndexError(Integer AIndex) {
  throw EListError(Format(L"List index out of bounds (%d)", {AIndex}));
}

bool dxSVGTryTextToFloat(const wchar_t* AText, size_t ALength, Single& AValue) {
  // Validate the grammar first, so that the conversion below never meets
  // words such as "inf" or "nan" or hexadecimal forms.
  if (ALength == 0) return false;
  std::string Text;
  Text.reserve(ALength);
  size_t I = 0;
  auto Put = [&](wchar_t C) { Text.push_back(static_cast<char>(C)); };
  if (AText[I] == L'+' || AText[I] == L'-') {
    if (AText[I] == L'-') Put(L'-');
    ++I;
  }
  size_t Digits = 0;
  while (I < ALength && IsDigit(AText[I])) Put(AText[I++]), ++Digits;
  if (I < ALength && AText[I] == L'.') {
    Put(AText[I++]);
    while (I < ALength && IsDigit(AText[I])) Put(AText[I++]), ++Digits;
  }
  if (Digits == 0) return false;
  if (I < ALength && (AText[I] == L'e' || AText[I] == L'E')) {
    Put(L'e');
    ++I;
    if (I < ALength && (AText[I] == L'+' || AText[I] == L'-')) Put(AText[I++]);
    size_t ExponentDigits = 0;
    while (I < ALength && IsDigit(AText[I])) Put(AText[I++]), ++ExponentDigits;
    if (ExponentDigits == 0) return false;
  }
  if (I != ALength) return false;
  Double Value = 0;
  auto R = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (R.ptr != Text.data() + Text.size()) {
    // Underflow reads as zero; overflow is unreadable.
    if (R.ec != std::errc::result_out_of_range) return false;
    Value = 0;
    const size_t E = Text.find('e');
    if (E == std::string::npos || Text.find('-', E) == std::string::npos) return false;
  }
  if (!std::isfinite(Value) || std::fabs(Value) > FLT_MAX) return false;
  AValue = static_cast<Single>(Value);
  return true;
}

bool dxSVGTryStrToFloat(const String& S, Single& AValue) {
  const wchar_t* B = S.data();
  const wchar_t* E = S.data() + S.size();
  TrimRange(B, E);
  return dxSVGTryTextToFloat(B, static_cast<size_t>(E - B), AValue);
}

Single dxSVGStrToFloat(const String& S) {
  Single Value;
  if (!dxSVGTryStrToFloat(S, Value))
    throw EConvertError(Format(L"'%s' is not a valid floating point value", {S}));
  return Value;
}

TdxGPPenLineCapStyle dxSVGLineCapToPenCap(TdxSVGLineCapStyle AStyle) {
  switch (AStyle) {
    case lcsSquare:
      return gpcsSquare;
    case lcsRound:
      return gpcsRound;
    default:
      return gpcsFlat;
  }
}

// ---------------------------------------------------------------------------

Single TdxSVGValue::ToPixels(Single ATargetDPI) const {
  if (UnitsType == utPercents) throw EInvalidArgument(L"TdxSVGValue.ToPixels");
  return ToPixels(ATargetDPI, 0);
}

Single TdxSVGValue::ToPixels(Single ATargetDPI, Single AParentSize) const {
  switch (UnitsType) {
    case utMm:
      return ATargetDPI * Data / 25.4f;
    case utCm:
      return ATargetDPI * Data / 2.54f;
    case utIn:
      return ATargetDPI * Data;
    case utPc:
      return ATargetDPI * Data * 12 / 72;
    case utPt:
      return ATargetDPI * Data / 72;
    case utPercents:
      return Data / 100 * AParentSize;
    default:
      return Data;
  }
}

// ---------------------------------------------------------------------------

TdxSVGValues* TdxSVGParserNumbers::AsNumbers(const String& S) {
  TOwned<TdxSVGValues> Result(Create<TdxSVGValues>());
  Result->SetCapacity(static_cast<Integer>(S.size() / 4));
  AsNumbers(S, Result->Data());
  return Result.release();
}

void TdxSVGParserNumbers::AsNumbers(const String& S, std::vector<Single>& AValues) {
  AValues.clear();
  ScanNumbers(S.data(), S.size(), [&](Single V, size_t) { AValues.push_back(V); });
}

void TdxSVGParserNumbers::AsNumbers(const String& S, TdxSVGNumberProc AProc, void* AData) {
  std::vector<Single> Values;
  AsNumbers(S, Values);
  try {
    for (Single V : Values) AProc(V, AData);
  } catch (const Exception&) {
  }
}

void TdxSVGParserNumbers::AsPoints(const String& S, TdxSVGPoints* AList) {
  std::vector<Single> Values;
  AsNumbers(S, Values);
  AList->Clear();
  AList->SetCapacity(static_cast<Integer>(Values.size() / 2));
  for (size_t I = 0; I + 1 < Values.size(); I += 2) AList->Add(TdxPointF{Values[I], Values[I + 1]});
}

void TdxSVGParserNumbers::AsPoints(const String& S, TdxSVGPointProc AProc, void* AData) {
  TOwned<TdxSVGValues> Values(AsNumbers(S));
  AsPoints(Values.get(), AProc, AData);
}

void TdxSVGParserNumbers::AsPoints(const TdxSVGValues* AValues, TdxSVGPointProc AProc,
                                   void* AData) {
  const std::vector<Single>& V = AValues->Data();
  try {
    for (size_t I = 0; I + 1 < V.size(); I += 2) AProc(TdxPointF{V[I], V[I + 1]}, AData);
  } catch (const Exception&) {
  }
}

TdxRectF TdxSVGParserRect::Parse(const String& S) {
  String Text = S;
  const size_t P = Text.find(L"new");
  if (P != String::npos) Text.erase(P, 3);
  std::vector<Single> V;
  TdxSVGParserNumbers::AsNumbers(Trim(Text), V);
  if (V.size() != 4) return TdxRectF{};
  return TdxRectF{V[0], V[1], V[0] + V[2], V[1] + V[3]};
}

bool TdxSVGParserValue::Parse(const String& S, TdxSVGValue& AValue) {
  const String Text = Trim(S);
  if (Text.empty()) return false;
  size_t LastDigit = String::npos;
  for (size_t I = Text.size(); I-- > 0;)
    if (IsDigit(Text[I])) {
      LastDigit = I;
      break;
    }
  if (LastDigit == String::npos) return false;
  TdxSVGUnitsType Units = utPx;
  if (LastDigit + 1 < Text.size()) {
    try {
      Units = StringToUnitsType(TrimmedCopy(Text, LastDigit + 1, Text.size()));
    } catch (const EdxException&) {
      return false;
    }
  }
  Single Value;
  if (!dxSVGTryStrToFloat(Text.substr(0, LastDigit + 1), Value)) return false;
  AValue = TdxSVGValue::Create(Value, Units);
  return true;
}

TdxSVGUnitsType TdxSVGParserValue::StringToUnitsType(const String& S) {
  for (Integer I = 0; I <= utPercents; ++I)
    if (SameText(S, UnitWords[I])) return static_cast<TdxSVGUnitsType>(I);
  throw EdxException(Format(L"Unknown Units Type (%s)", {S}));
}

// ---------------------------------------------------------------------------
// Conversions of the adapters

TdxAlphaColor TdxSVGAdapterColorValue::StringToAlphaColor(const String& S) {
  const size_t P = S.find(L"rgb(");
  if (P != String::npos) {
    const size_t From = P + 4;
    size_t To = S.find(L')', From);
    if (To == String::npos) To = S.size();
    Integer Channels[3];
    Integer Count = 0;
    ScanNumbers(S.data() + From, To - From, [&](Single V, size_t AEnd) {
      const bool Percent = From + AEnd < To && S[From + AEnd] == L'%';
      Double Channel = Percent ? static_cast<Double>(V) * 255 / 100 : V;
      Channel = std::clamp(Channel, 0.0, 255.0);
      if (Count < 3) Channels[Count] = static_cast<Integer>(Round(Channel));
      ++Count;
    });
    if (Count != 3) return dxacDefault;
    return TdxAlphaColors::FromArgb(static_cast<Byte>(Channels[0]), static_cast<Byte>(Channels[1]),
                                    static_cast<Byte>(Channels[2]));
  }
  if (S == L"inherit") return dxacDefault;
  return TdxAlphaColors::FromHtml(S);
}

TdxSVGFill TdxSVGAdapterFillValue::StringToFill(const String& S) {
  if (StartsWithUrl(Trim(S))) {
    String Reference;
    return TdxSVGAdapterReferenceValue::TryStringToReference(S, Reference)
               ? TdxSVGFill::Create(Reference)
               : TdxSVGFill::Default();
  }
  return TdxSVGFill::Create(TdxSVGAdapterColorValue::StringToAlphaColor(S));
}

bool TdxSVGAdapterReferenceValue::TryStringToReference(const String& S, String& AReference) {
  String Text = Trim(S);
  if (StartsWithUrl(Text) && !Text.empty() && Text.back() == L')')
    Text = Text.substr(4, Text.size() - 5);
  if (Text.empty() || Text[0] != L'#') return false;
  AReference = Text.substr(1);
  return true;
}

TdxSVGContentUnits TdxSVGAdapterContentUnitsValue::StringToContentUnits(const String& S) {
  return S == L"objectBoundingBox" ? cuObjectBoundingBox : cuUserSpaceOnUse;
}

TdxSVGFillMode TdxSVGAdapterFillRuleValue::StringToFillRule(const String& S) {
  if (S == L"nonzero") return fmNonZero;
  if (S == L"evenodd") return fmEvenOdd;
  return fmInherit;
}

TdxSVGLineCapStyle TdxSVGAdapterLineCap::StringToLineCap(const String& S) {
  if (S == L"butt") return lcsButt;
  if (S == L"square") return lcsSquare;
  if (S == L"round") return lcsRound;
  return lcsDefault;
}

TdxGpLineJoin TdxSVGAdapterLineJoin::StringToLineJoin(const String& S) {
  if (S == L"bevel") return LineJoinBevel;
  if (S == L"round") return LineJoinRound;
  if (S.empty()) return LineJoinMiterClipped;
  return LineJoinMiter;
}

TdxSVGTextAnchor TdxSVGAdapterTextAnchorValue::StringToTextAnchor(const String& S) {
  if (S == L"start") return taStart;
  if (S == L"middle") return taMiddle;
  if (S == L"end") return taEnd;
  return taInherit;
}

// ---------------------------------------------------------------------------

bool TdxSVGFontStyleString::TryStringToFontStyle(const String& S, TFontStyle& AStyle) {
  if (S == L"bold")
    AStyle = TFontStyle::fsBold;
  else if (S == L"italic")
    AStyle = TFontStyle::fsItalic;
  else if (S == L"underline")
    AStyle = TFontStyle::fsUnderline;
  else if (S == L"line-through")
    AStyle = TFontStyle::fsStrikeOut;
  else
    return false;
  return true;
}

bool TdxSVGFontStyleString::Parse(const String& S, String& AName, TFontStyles& AStyles,
                                  Single& ASize) {
  AName.clear();
  AStyles = TFontStyles();
  ASize = 0;
  bool HasSize = false;
  size_t Start = 0;
  for (size_t I = 0; I <= S.size(); ++I) {
    if (I < S.size() && S[I] != L' ' && S[I] != L'/' && S[I] != L',') continue;
    const String Piece = S.substr(Start, I - Start);
    Start = I + 1;
    TFontStyle Style;
    if (TryStringToFontStyle(Piece, Style)) {
      AStyles.Include(Style);
      continue;
    }
    TdxSVGValue Value;
    if (!TdxSVGParserValue::Parse(Piece, Value)) {
      AName = Piece;
      break;
    }
    if (!HasSize) {
      ASize = Value.ToPixels(96);
      HasSize = true;
    }
  }
  return !AName.empty() && ASize > 0;
}

String TdxSVGFontStyleString::Build(const String& AName, TFontStyles AStyles, Single ASize) {
  TdxStringBuilder* B = TdxStringBuilderManager::Get(64);
  if (AStyles.Contains(TFontStyle::fsItalic)) B->Append(L"italic ");
  if (AStyles.Contains(TFontStyle::fsBold)) B->Append(L"bold ");
  B->Append(IntToStr(static_cast<Int64>(std::trunc(ASize))));
  B->Append(L"px ");
  B->Append(AName);
  String Result = B->ToString();
  TdxStringBuilderManager::Release(B);
  return Result;
}

void TdxSVGParserInlineStyle::Parse(TdxXMLNodeAttributes* AStyle, const String& S) {
  size_t Start = 0;
  while (Start <= S.size()) {
    size_t End = S.find(L';', Start);
    if (End == String::npos) End = S.size();
    const size_t Colon = S.find(L':', Start);
    if (Colon != String::npos && Colon < End) {
      const String Name = TrimmedCopy(S, Start, Colon);
      const String Value = TrimmedCopy(S, Colon + 1, End);
      AStyle->SetValue(TdxXMLString::FromString(Name), TdxXMLString::FromString(Value));
    }
    Start = End + 1;
  }
}

// ---------------------------------------------------------------------------

namespace {
XFORM TransformOperator(const String& AName, const std::vector<Single>& A, bool& AKnown) {
  auto Arg = [&](size_t I, Single ADefault) { return I < A.size() ? A[I] : ADefault; };
  AKnown = true;
  if (AName == L"matrix")
    return TdxXFormHelper::CreateMatrix(Arg(0, 1), Arg(1, 0), Arg(2, 0), Arg(3, 1), Arg(4, 0),
                                        Arg(5, 0));
  if (AName == L"rotate") {
    const Double Angle = Arg(0, 0) * DegToRad;
    const Single CX = Arg(1, 0), CY = Arg(2, 0);
    const Single C = static_cast<Single>(std::cos(Angle)), S = static_cast<Single>(std::sin(Angle));
    XFORM M = TdxXFormHelper::CreateTranslateMatrix(-CX, -CY);
    M = TdxXFormHelper::Combine(M, TdxXFormHelper::CreateMatrix(C, S, -S, C, 0, 0));
    return TdxXFormHelper::Combine(M, TdxXFormHelper::CreateTranslateMatrix(CX, CY));
  }
  if (AName == L"scale") {
    const Single SX = Arg(0, 1);
    return TdxXFormHelper::CreateScaleMatrix(SX, Arg(1, SX));
  }
  if (AName == L"skewX")
    return TdxXFormHelper::CreateMatrix(1, 0, static_cast<Single>(std::tan(Arg(0, 0) * DegToRad)),
                                        1, 0, 0);
  if (AName == L"skewY")
    return TdxXFormHelper::CreateMatrix(1, static_cast<Single>(std::tan(Arg(0, 0) * DegToRad)), 0,
                                        1, 0, 0);
  if (AName == L"translate") return TdxXFormHelper::CreateTranslateMatrix(Arg(0, 0), Arg(1, 0));
  AKnown = false;
  return TdxXFormHelper::CreateIdentityMatrix();
}
}  // namespace

void TdxSVGParserTransform::Parse(const String& S, TdxMatrix* AMatrix) {
  XFORM Current = AMatrix->Matrix();
  std::vector<Single> Arguments;
  size_t Start = 0;
  while (Start < S.size()) {
    size_t End = S.find(L')', Start);
    if (End == String::npos) End = S.size();
    // Commas and spaces may separate operators, and spaces may stand before
    // "(": both belong to the list's grammar.
    size_t B = Start;
    while (B < End && (IsSpace(S[B]) || S[B] == L',')) ++B;
    const size_t Paren = S.find(L'(', B);
    if (Paren != String::npos && Paren < End) {
      const String Name = TrimmedCopy(S, B, Paren);
      TdxSVGParserNumbers::AsNumbers(S.substr(Paren + 1, End - Paren - 1), Arguments);
      bool Known;
      const XFORM Operator = TransformOperator(Name, Arguments, Known);
      if (Known) Current = TdxXFormHelper::Combine(Operator, Current);
    }
    Start = End + 1;
  }
  AMatrix->Assign(Current.eM11, Current.eM12, Current.eM21, Current.eM22, Current.eDx, Current.eDy);
}

// ---------------------------------------------------------------------------
// Path data

IMPLEMENT_CLASS(TdxSVGParserPathCommand)
IMPLEMENT_CLASS(TdxSVGParserPathCommandMoveTo)
IMPLEMENT_CLASS(TdxSVGParserPathCommandOpen)
IMPLEMENT_CLASS(TdxSVGParserPathCommandClose)
IMPLEMENT_CLASS(TdxSVGParserPathCommandLine)
IMPLEMENT_CLASS(TdxSVGParserPathCommandCurveTo)
IMPLEMENT_CLASS(TdxSVGParserPathCommandQuadraticCurveTo)
IMPLEMENT_CLASS(TdxSVGParserPathCommandArc)
IMPLEMENT_CLASS(TdxSVGParserPath)

void TdxSVGParserPathCommandOpen::Append(TdxGPPath* APath) { APath->FigureStart(); }

void TdxSVGParserPathCommandClose::Append(TdxGPPath* APath) { APath->FigureFinish(); }

void TdxSVGParserPathCommandLine::Append(TdxGPPath* APath) {
  APath->AddLine(StartPoint.X, StartPoint.Y, FinishPoint.X, FinishPoint.Y);
}

void TdxSVGParserPathCommandCurveTo::Append(TdxGPPath* APath) {
  APath->AddBezier(StartPoint, Point1, Point2, FinishPoint);
}

void TdxSVGParserPathCommandQuadraticCurveTo::Append(TdxGPPath* APath) {
  const TdxPointF C1{StartPoint.X + 2.0f / 3 * (MiddlePoint.X - StartPoint.X),
                     StartPoint.Y + 2.0f / 3 * (MiddlePoint.Y - StartPoint.Y)};
  const TdxPointF C2{FinishPoint.X + 2.0f / 3 * (MiddlePoint.X - FinishPoint.X),
                     FinishPoint.Y + 2.0f / 3 * (MiddlePoint.Y - FinishPoint.Y)};
  APath->AddBezier(StartPoint, C1, C2, FinishPoint);
}

namespace {
struct TRotation {
  Double C, S;
  void Apply(Double X, Double Y, Double& AX, Double& AY) const {
    AX = X * C - Y * S;
    AY = X * S + Y * C;
  }
};

// Angle from vector A to vector B in 0..2pi.
Double VectorAngle(Double AX, Double AY, Double BX, Double BY) {
  const Double A = std::atan2(AY, AX), B = std::atan2(BY, BX);
  return B - A >= 0 ? B - A : 2 * Pi - (A - B);
}

bool SamePoint(const TdxPointF& A, const TdxPointF& B) {
  return std::fabs(A.X - B.X) <= 1e-6f * std::max(1.0f, std::fabs(A.X)) &&
         std::fabs(A.Y - B.Y) <= 1e-6f * std::max(1.0f, std::fabs(A.Y));
}
}  // namespace

std::vector<TdxSVGBezier> TdxSVGParserPathCommandArc::GetSegments() const {
  std::vector<TdxSVGBezier> Result;
  const TdxPointF& S = StartPoint;
  const TdxPointF& F = FinishPoint;
  if (SamePoint(S, F)) return Result;
  // Negative radii stand for their absolute values.
  Double RX = std::fabs(Radius.X), RY = std::fabs(Radius.Y);
  if (RX == 0 || RY == 0) {
    Result.push_back(TdxSVGBezier{S, S, F, F});
    return Result;
  }
  const Double Phi = Angle * DegToRad;
  TRotation M{std::cos(-Phi), std::sin(-Phi)};
  Double X1, Y1;
  M.Apply((static_cast<Double>(S.X) - F.X) / 2, (static_cast<Double>(S.Y) - F.Y) / 2, X1, Y1);
  const Double G = RX * RX * RY * RY;
  const Double Mv = RX * RX * Y1 * Y1 + RY * RY * X1 * X1;
  Double CX = 0, CY = 0;
  if (G >= Mv) {
    Double C = Mv > 0 ? std::sqrt(std::max(0.0, G / Mv - 1)) : 0;
    if (Sweep == LargeArc) C = -C;
    CX = C * Y1 * RX / RY;
    CY = -C * X1 * RY / RX;
  } else {
    const Double K = std::sqrt(Mv / G);
    RX *= K;
    RY *= K;
  }
  const Double U1X = (X1 - CX) / RX, U1Y = (Y1 - CY) / RY;
  const Double U2X = (-X1 - CX) / RX, U2Y = (-Y1 - CY) / RY;
  const Double Theta1 = VectorAngle(1, 0, U1X, U1Y);
  Double Delta = VectorAngle(U1X, U1Y, U2X, U2Y);
  if (!Sweep && Delta > 0) Delta -= 2 * Pi;
  if (Sweep && Delta < 0) Delta += 2 * Pi;
  M = TRotation{std::cos(Phi), std::sin(Phi)};
  Double CenterX, CenterY;
  M.Apply(CX, CY, CenterX, CenterY);
  CenterX += (static_cast<Double>(S.X) + F.X) / 2;
  CenterY += (static_cast<Double>(S.Y) + F.Y) / 2;
  const Integer N =
      std::max(1, static_cast<Integer>(std::ceil(std::fabs(Delta) / (Pi / 2) - 1e-9)));
  const Double D = Delta / N;
  const Double K = 8.0 / 3 * std::sin(D / 4) * std::sin(D / 4) / std::sin(D / 2);
  TdxPointF P1 = S;
  Double Theta = Theta1;
  for (Integer I = 0; I < N; ++I) {
    const Double Theta2 = Theta + D;
    Double X, Y, DX1, DY1, DX2, DY2;
    M.Apply(RX * std::cos(Theta2), RY * std::sin(Theta2), X, Y);
    M.Apply(-RX * std::sin(Theta), RY * std::cos(Theta), DX1, DY1);
    M.Apply(-RX * std::sin(Theta2), RY * std::cos(Theta2), DX2, DY2);
    const TdxPointF P4{static_cast<Single>(CenterX + X), static_cast<Single>(CenterY + Y)};
    const TdxPointF C1{static_cast<Single>(P1.X + K * DX1), static_cast<Single>(P1.Y + K * DY1)};
    const TdxPointF C2{static_cast<Single>(P4.X - K * DX2), static_cast<Single>(P4.Y - K * DY2)};
    Result.push_back(TdxSVGBezier{P1, C1, C2, P4});
    P1 = P4;
    Theta = Theta2;
  }
  return Result;
}

void TdxSVGParserPathCommandArc::Append(TdxGPPath* APath) {
  const std::vector<TdxSVGBezier> Segments = GetSegments();
  if (Segments.size() == 1 && (std::fabs(Radius.X) == 0 || std::fabs(Radius.Y) == 0)) {
    APath->AddLine(StartPoint.X, StartPoint.Y, FinishPoint.X, FinishPoint.Y);
    return;
  }
  for (const TdxSVGBezier& B : Segments) APath->AddBezier(B.P1, B.C1, B.C2, B.P4);
}

TdxSVGParserPath::TdxSVGParserPath() { RegisterCommands(); }

TdxSVGParserPath::~TdxSVGParserPath() = default;

void TdxSVGParserPath::RegisterCommand(wchar_t AKey, TCommandProc AProc) {
  FCommandProcs[AKey] = AProc;
}

void TdxSVGParserPath::RegisterCommands() {
  RegisterCommand(L'a', &TdxSVGParserPath::CommandArc);
  RegisterCommand(L'c', &TdxSVGParserPath::CommandCurveTo);
  RegisterCommand(L'h', &TdxSVGParserPath::CommandHorizontalLine);
  RegisterCommand(L'l', &TdxSVGParserPath::CommandLine);
  RegisterCommand(L'm', &TdxSVGParserPath::CommandMoveTo);
  RegisterCommand(L'q', &TdxSVGParserPath::CommandQuadraticCurveTo);
  RegisterCommand(L's', &TdxSVGParserPath::CommandSmoothCurveTo);
  RegisterCommand(L't', &TdxSVGParserPath::CommandSmoothQuadraticCurveTo);
  RegisterCommand(L'v', &TdxSVGParserPath::CommandVerticalLine);
  RegisterCommand(L'z', &TdxSVGParserPath::CommandClose);
}

TdxSVGParserPathCommand* TdxSVGParserPath::GetCommand(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= GetCommandCount()) dxSVGListIndexError(AIndex);
  return FCommands[static_cast<size_t>(AIndex)].get();
}

void TdxSVGParserPath::Parse(const String& S) {
  // A command starts at every letter but the exponent letters.
  auto IsCommandLetter = [](wchar_t C) {
    return ((C >= L'a' && C <= L'z') || (C >= L'A' && C <= L'Z')) && C != L'e' && C != L'E';
  };
  size_t Start = 0;
  for (size_t I = 0; I <= S.size(); ++I) {
    if (I < S.size() && !(I > Start && IsCommandLetter(S[I]))) continue;
    const wchar_t* B = S.data() + Start;
    const wchar_t* E = S.data() + I;
    TrimRange(B, E);
    if (B < E) ProcessCommand(B, static_cast<size_t>(E - B));
    Start = I;
  }
}

void TdxSVGParserPath::ProcessCommand(const wchar_t* ACommand, size_t ALength) {
  const wchar_t Key = static_cast<wchar_t>(std::towlower(ACommand[0]));
  auto It = FCommandProcs.find(Key);
  if (It == FCommandProcs.end()) return;
  const bool Relative = ACommand[0] == Key;
  (this->*It->second)(ACommand + 1, ALength - 1, Relative);
}

template <class T>
T* TdxSVGParserPath::AddCommand() {
  T* Command = Create<T>();
  FCommands.emplace_back(Command);
  return Command;
}

TdxSVGParserPathCommand* TdxSVGParserPath::LastCommandOrRaise() const {
  if (FCommands.empty()) dxSVGListIndexError(-1);
  return FCommands.back().get();
}

TdxPointF TdxSVGParserPath::GetLastPoint() const {
  return FCommands.empty() ? TdxPointF{} : FCommands.back()->FinishPoint;
}

TdxPointF TdxSVGParserPath::GetAbsolutePoint(const TdxPointF& P, bool AIsRelative) const {
  return GetAbsolutePoint(P.X, P.Y, AIsRelative, AIsRelative);
}

TdxPointF TdxSVGParserPath::GetAbsolutePoint(Single X, Single Y, bool AIsRelativeX,
                                             bool AIsRelativeY) const {
  const TdxPointF L = GetLastPoint();
  return TdxPointF{AIsRelativeX ? L.X + X : X, AIsRelativeY ? L.Y + Y : Y};
}

const std::vector<TdxPointF>& TdxSVGParserPath::GetPoints(const wchar_t* AData, size_t ALength) {
  if (!FBufferPoints) FBufferPoints.reset(Create<TdxSVGPoints>());
  std::vector<TdxPointF>& Points = FBufferPoints->Data();
  Points.clear();
  bool HasX = false;
  Single X = 0;
  ScanNumbers(AData, ALength, [&](Single V, size_t) {
    if (HasX)
      Points.push_back(TdxPointF{X, V});
    else
      X = V;
    HasX = !HasX;
  });
  return Points;
}

TdxPointF TdxSVGParserPath::MirrorPoint(const TdxPointF& P, const TdxPointF& AMirror) {
  return TdxPointF{AMirror.X + (AMirror.X - P.X), AMirror.Y + (AMirror.Y - P.Y)};
}

void TdxSVGParserPath::CommandMoveTo(const wchar_t* AParams, size_t ALength, bool AIsRelative) {
  const std::vector<TdxPointF>& Points = GetPoints(AParams, ALength);
  if (Points.empty()) dxSVGListIndexError(0);
  const TdxPointF Start = GetAbsolutePoint(Points[0], AIsRelative);
  AddCommand<TdxSVGParserPathCommandMoveTo>()->FinishPoint = Start;
  FLastOpen = AddCommand<TdxSVGParserPathCommandOpen>();
  FLastOpen->FinishPoint = Start;
  for (size_t I = 1; I < Points.size(); ++I) {
    const TdxPointF P = GetLastPoint();
    const TdxPointF F = GetAbsolutePoint(Points[I], AIsRelative);
    auto* L = AddCommand<TdxSVGParserPathCommandLine>();
    L->StartPoint = P;
    L->FinishPoint = F;
  }
}

void TdxSVGParserPath::CommandClose(const wchar_t*, size_t, bool) {
  const TdxPointF P = FLastOpen ? FLastOpen->FinishPoint : GetLastPoint();
  AddCommand<TdxSVGParserPathCommandClose>()->FinishPoint = P;
}

void TdxSVGParserPath::CommandLine(const wchar_t* AParams, size_t ALength, bool AIsRelative) {
  for (const TdxPointF& Point : GetPoints(AParams, ALength)) {
    const TdxPointF P = GetLastPoint();
    const TdxPointF F = GetAbsolutePoint(Point, AIsRelative);
    auto* L = AddCommand<TdxSVGParserPathCommandLine>();
    L->StartPoint = P;
    L->FinishPoint = F;
  }
}

void TdxSVGParserPath::CommandHorizontalLine(const wchar_t* AParams, size_t ALength,
                                             bool AIsRelative) {
  FBufferNumbers.clear();
  ScanNumbers(AParams, ALength, [&](Single V, size_t) { FBufferNumbers.push_back(V); });
  for (Single X : FBufferNumbers) {
    const TdxPointF P = GetLastPoint();
    const TdxPointF F = GetAbsolutePoint(X, P.Y, AIsRelative, false);
    auto* L = AddCommand<TdxSVGParserPathCommandLine>();
    L->StartPoint = P;
    L->FinishPoint = F;
  }
}

void TdxSVGParserPath::CommandVerticalLine(const wchar_t* AParams, size_t ALength,
                                           bool AIsRelative) {
  FBufferNumbers.clear();
  ScanNumbers(AParams, ALength, [&](Single V, size_t) { FBufferNumbers.push_back(V); });
  for (Single Y : FBufferNumbers) {
    const TdxPointF P = GetLastPoint();
    const TdxPointF F = GetAbsolutePoint(P.X, Y, false, AIsRelative);
    auto* L = AddCommand<TdxSVGParserPathCommandLine>();
    L->StartPoint = P;
    L->FinishPoint = F;
  }
}

void TdxSVGParserPath::CommandCurveTo(const wchar_t* AParams, size_t ALength, bool AIsRelative) {
  const std::vector<TdxPointF> Points = GetPoints(AParams, ALength);
  for (size_t I = 0; I + 2 < Points.size(); I += 3) {
    const TdxPointF P = GetLastPoint();
    auto* C = AddCommand<TdxSVGParserPathCommandCurveTo>();
    C->StartPoint = P;
    C->Point1 = TdxPointF{AIsRelative ? P.X + Points[I].X : Points[I].X,
                          AIsRelative ? P.Y + Points[I].Y : Points[I].Y};
    C->Point2 = TdxPointF{AIsRelative ? P.X + Points[I + 1].X : Points[I + 1].X,
                          AIsRelative ? P.Y + Points[I + 1].Y : Points[I + 1].Y};
    C->FinishPoint = TdxPointF{AIsRelative ? P.X + Points[I + 2].X : Points[I + 2].X,
                               AIsRelative ? P.Y + Points[I + 2].Y : Points[I + 2].Y};
  }
}

void TdxSVGParserPath::CommandSmoothCurveTo(const wchar_t* AParams, size_t ALength,
                                            bool AIsRelative) {
  const std::vector<TdxPointF> Points = GetPoints(AParams, ALength);
  for (size_t I = 0; I + 1 < Points.size(); I += 2) {
    TdxSVGParserPathCommand* Last = LastCommandOrRaise();
    const TdxPointF P = GetLastPoint();
    auto* Previous = dynamic_cast<TdxSVGParserPathCommandCurveTo*>(Last);
    const TdxPointF Control1 = Previous ? MirrorPoint(Previous->Point2, P) : P;
    const TdxPointF Control2 = GetAbsolutePoint(Points[I], AIsRelative);
    const TdxPointF Finish = GetAbsolutePoint(Points[I + 1], AIsRelative);
    auto* C = AddCommand<TdxSVGParserPathCommandCurveTo>();
    C->StartPoint = P;
    C->Point1 = Control1;
    C->Point2 = Control2;
    C->FinishPoint = Finish;
  }
}

void TdxSVGParserPath::CommandQuadraticCurveTo(const wchar_t* AParams, size_t ALength,
                                               bool AIsRelative) {
  const std::vector<TdxPointF> Points = GetPoints(AParams, ALength);
  for (size_t I = 0; I + 1 < Points.size(); I += 2) {
    const TdxPointF P = GetLastPoint();
    const TdxPointF Middle = GetAbsolutePoint(Points[I], AIsRelative);
    const TdxPointF Finish = GetAbsolutePoint(Points[I + 1], AIsRelative);
    auto* Q = AddCommand<TdxSVGParserPathCommandQuadraticCurveTo>();
    Q->StartPoint = P;
    Q->MiddlePoint = Middle;
    Q->FinishPoint = Finish;
  }
}

void TdxSVGParserPath::CommandSmoothQuadraticCurveTo(const wchar_t* AParams, size_t ALength,
                                                     bool AIsRelative) {
  const std::vector<TdxPointF> Points = GetPoints(AParams, ALength);
  for (const TdxPointF& Point : Points) {
    TdxSVGParserPathCommand* Last = LastCommandOrRaise();
    const TdxPointF P = GetLastPoint();
    auto* Previous = dynamic_cast<TdxSVGParserPathCommandQuadraticCurveTo*>(Last);
    const TdxPointF Middle = Previous ? MirrorPoint(Previous->MiddlePoint, P) : P;
    const TdxPointF Finish = GetAbsolutePoint(Point, AIsRelative);
    auto* Q = AddCommand<TdxSVGParserPathCommandQuadraticCurveTo>();
    Q->StartPoint = P;
    Q->MiddlePoint = Middle;
    Q->FinishPoint = Finish;
  }
}

void TdxSVGParserPath::CommandArc(const wchar_t* AParams, size_t ALength, bool AIsRelative) {
  // rx ry angle flag flag x y: the flags are single "0" or "1" characters,
  // so "a1 1 0 0110 10" is complete without separators.
  size_t I = 0;
  auto SkipSeparators = [&] {
    while (I < ALength && (IsSpace(AParams[I]) || AParams[I] == L',')) ++I;
  };
  auto ReadNumber = [&](Single& AValue) {
    SkipSeparators();
    size_t End = I;
    if (End < ALength && (AParams[End] == L'+' || AParams[End] == L'-')) ++End;
    bool HasPoint = false;
    while (End < ALength) {
      const wchar_t C = AParams[End];
      if (IsDigit(C)) {
        ++End;
      } else if (C == L'.' && !HasPoint) {
        HasPoint = true;
        ++End;
      } else if ((C == L'e' || C == L'E') && End + 1 < ALength &&
                 (IsDigit(AParams[End + 1]) ||
                  ((AParams[End + 1] == L'+' || AParams[End + 1] == L'-') && End + 2 < ALength &&
                   IsDigit(AParams[End + 2])))) {
        End += 2;
        while (End < ALength && IsDigit(AParams[End])) ++End;
        break;
      } else {
        break;
      }
    }
    if (End == I || !dxSVGTryTextToFloat(AParams + I, End - I, AValue)) return false;
    I = End;
    return true;
  };
  auto ReadFlag = [&](bool& AValue) {
    SkipSeparators();
    if (I >= ALength || (AParams[I] != L'0' && AParams[I] != L'1')) return false;
    AValue = AParams[I++] == L'1';
    return true;
  };
  for (;;) {
    Single RX, RY, Angle, X, Y;
    bool Large, Sweep;
    if (!ReadNumber(RX) || !ReadNumber(RY) || !ReadNumber(Angle) || !ReadFlag(Large) ||
        !ReadFlag(Sweep) || !ReadNumber(X) || !ReadNumber(Y))
      return;
    const TdxPointF P = GetLastPoint();
    auto* A = AddCommand<TdxSVGParserPathCommandArc>();
    A->StartPoint = P;
    A->Radius = TdxPointF{RX, RY};
    A->Angle = Angle;
    A->LargeArc = Large;
    A->Sweep = Sweep;
    A->FinishPoint = TdxPointF{AIsRelative ? P.X + X : X, AIsRelative ? P.Y + Y : Y};
  }
}
