#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "CommaLocale.h"
#include "Pelmora.h"

namespace {

using Lines = std::vector<std::string>;

std::string Join(const Lines& L) {
  std::string S;
  for (const std::string& Line : L) S += Line + "\r\n";
  return S;
}

const Lines InHeader = {"Version 300",
                        "Charset \"WindowsCyrillic\"",
                        "Delimiter \",\"",
                        "CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000000, 1000000)",
                        "Columns 1",
                        "  ID Integer",
                        "Data",
                        ""};
const char* const NewClause = "CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0";
const Lines OutHeader = {"Version 300",
                         "Charset \"WindowsCyrillic\"",
                         "Delimiter \",\"",
                         NewClause,
                         "Columns 1",
                         "  ID Integer",
                         "Data"};

Lines Concat(const Lines& A, const Lines& B) {
  Lines R = A;
  R.insert(R.end(), B.begin(), B.end());
  return R;
}

// Style 2 keeps expectations readable: east + 4000000, north + 7000000.
const TCoordTransform& AnyFormation() {
  static const TCoordTransform T({100000, 50000, 7123456.789, 1523456.321, 1.5, 1.00001});
  return T;
}

std::string Rewrite(const std::string& AText, Integer AStyle = tsShift,
                    TMifDataRules ARules = TMifDataRules::mdrAll) {
  TMifReader In(AText, L"tab1.mif");
  TMifWriter Out;
  RewriteMif(In, Out, NewClause, AnyFormation(), AStyle, ARules);
  Out.Commit();
  return Out.Text();
}

struct TRuleCase {
  const char* Name;
  Lines In;
  Lines Want;
};

TEST(MifRewrite, DataLoopRules) {
  const TRuleCase Cases[] = {
      {"point",
       {"Point 10 20.5", "    Symbol (35,16711680,12) "},
       {"Point 4000010 7000020.5", "    Symbol (35,16711680,12) "}},
      {"point with blanks", {"  Point   1.25    2  "}, {"Point 4000001.25 7000002"}},
      {"region with center",
       {"Region  2", "  3", "0 0", "1 0", "0 1", "  2", "5 5", "6 6", "    Pen (1,2,0) ",
        "    Brush (2,16777215,16777215)", "    Center 0.5 0.25"},
       {"Region  2", "  3", "4000000 7000000", "4000001 7000000", "4000000 7000001", "  2",
        "4000005 7000005", "4000006 7000006", "    Pen (1,2,0) ", "    Brush (2,16777215,16777215)",
        "Center 4000000.5 7000000.25"}},
      {"multipoint",
       {"Multipoint 2", "1 2", "3 4", "    Symbol (35,0,12)"},
       {"Multipoint 2", "4000001 7000002", "4000003 7000004", "    Symbol (35,0,12)"}},
      {"pline",
       {"Pline 2", "1 2", "3 4", "    Pen (1,2,0)", "    Smooth"},
       {"Pline 2", "4000001 7000002", "4000003 7000004", "    Pen (1,2,0)", "    Smooth"}},
      {"pline multiple",
       {"Pline Multiple 2", "  3", "1 1", "2 2", "3 3", "  3", "4 4", "5 5", "6 6"},
       {"Pline Multiple 2", "  3", "4000001 7000001", "4000002 7000002", "4000003 7000003", "  3",
        "4000004 7000004", "4000005 7000005", "4000006 7000006"}},
      {"text on two lines",
       {"Text", "    \"first part", "second part\"", "    1 2 3 4", "    Font (\"Arial\",0,0,0)",
        "    Justify Center", "    Angle 30", "    Label Line Arrow 10 20"},
       {"Text", "    \"first partsecond part\"", "4000001 7000002 4000003 7000004",
        "    Font (\"Arial\",0,0,0)", "    Justify Center", "    Angle 30",
        "Label Line Arrow 4000010 7000020"}},
      {"text on one line",
       {"Text", "    \"Point 1\"", "    1 2  3 4"},
       {"Text", "    \"Point 1\"", "4000001 7000002 4000003 7000004"}},
      {"line",
       {"Line 1 2 3 4", "    Pen (1,2,0)"},
       {"Line 4000001 7000002 4000003 7000004", "    Pen (1,2,0)"}},
      {"rectangle and rect",
       {"Rectangle 1 2 3 4", "Rect 5 6 7 8"},
       {"Rectangle 4000001 7000002 4000003 7000004", "Rect 4000005 7000006 4000007 7000008"}},
      {"ellipse", {"Ellipse 1 2 3 4"}, {"Ellipse 4000001 7000002 4000003 7000004"}},
      // A rounded rectangle keeps its corner diameter, on its line or the next.
      {"rounded rectangle",
       {"RoundRect 1 2 3 4 0.5", "Roundrect 5 6 7 8", "  1.5", "    Pen (1,2,0)"},
       {"RoundRect 4000001 7000002 4000003 7000004 0.5",
        "RoundRect 4000005 7000006 4000007 7000008", "  1.5", "    Pen (1,2,0)"}},
      {"standalone label line", {"  Label Line Simple 5 6"}, {"Label Line Simple 4000005 7000006"}},
      // An arc is transformed by the corners of its ellipse's rectangle; its
      // angles stay, on its line or the next.
      {"arc with its angles on the next line",
       {"None", "Arc 1 2 3 4", "  0 90", "    Pen (1,2,0)", "Collection 1"},
       {"None", "Arc 4000001 7000002 4000003 7000004", "  0 90", "    Pen (1,2,0)",
        "Collection 1"}},
      {"arc with its angles on its line",
       {"  Arc 1 2 3  4   0 90.5", "Arc 5 6 7 8", "45 135"},
       {"Arc 4000001 7000002 4000003 7000004 0 90.5", "Arc 4000005 7000006 4000007 7000008",
        "45 135"}},
      // Lines that carry no coordinates of an object are copied.
      {"clauses without coordinates",
       {"None", "    Smooth", "Collection 2", "    Transparency 50", "  Spacing 1.5"},
       {"None", "    Smooth", "Collection 2", "    Transparency 50", "  Spacing 1.5"}},
      // A vertex line indented with blanks is still a vertex.
      {"indented vertices",
       {"Pline 2", "   1 2", "\t3 4 "},
       {"Pline 2", "4000001 7000002", "4000003 7000004"}},
  };
  for (const TRuleCase& C : Cases)
    EXPECT_EQ(Rewrite(Join(Concat(InHeader, C.In))), Join(Concat(OutHeader, C.Want))) << C.Name;
}

TEST(MifRewrite, StyleReachesEveryPoint) {
  const TCoordTransform& T = AnyFormation();
  Double E, N;
  T.recalcCoord(tsForward, 61234.5, 112345.67, E, N);
  std::string Pair = MifFloatToStr(E) + " " + MifFloatToStr(N);
  Lines In = {"Point 61234.5 112345.67", "Pline 1", "61234.5 112345.67",
              "Label Line Arrow 61234.5 112345.67"};
  Lines Want = {"Point " + Pair, "Pline 1", Pair, "Label Line Arrow " + Pair};
  EXPECT_EQ(Rewrite(Join(Concat(InHeader, In)), tsForward), Join(Concat(OutHeader, Want)));
}

TEST(MifRewrite, LineAfterDataDroppedOnlyWhenBlank) {
  EXPECT_EQ(Rewrite(Join({"Data", "Point 1 2"})), Join({"Data", "Point 4000001 7000002"}));
  EXPECT_EQ(Rewrite(Join({"DATA", "   ", "Point 1 2"})), Join({"DATA", "Point 4000001 7000002"}));
  EXPECT_EQ(Rewrite(Join({"Data"})), Join({"Data"}));
  // Before "Data" nothing is an object.
  EXPECT_EQ(Rewrite(Join({"Version 300", "Point 1 2"})), Join({"Version 300", "Point 1 2"}));
}

TEST(MifRewrite, PointOnlyRulesForRasterPoints) {
  Lines In = {"Point 1 2", "Line 1 2 3 4", "Region 1", "  1", "1 2"};
  Lines Want = {"Point 4000001 7000002", "Line 1 2 3 4", "Region 1", "  1", "1 2"};
  EXPECT_EQ(Rewrite(Join(Concat(InHeader, In)), tsShift, TMifDataRules::mdrPointOnly),
            Join(Concat(OutHeader, Want)));
}

TEST(MifRewrite, BadInputNamesTheLine) {
  struct {
    const char* Name;
    Lines Data;
    Integer Line;  // 1-based line of the file, header included; for a
                   // missing line, the line of the object or count
  } const Cases[] = {
      {"count promises more vertices", {"Point 1 2", "Pline 3", "1 2", "3 4"}, 10},
      {"count promises more polygons", {"Region 2", "  1", "1 2"}, 9},
      {"text without its box", {"Text", "\"abc\""}, 9},
      {"unterminated text", {"Text", "\"abc", "def"}, 9},
      {"coordinate not a number", {"Pline 2", "1 2", "3 x4"}, 11},
      {"comma decimal", {"Point 1,5 2"}, 9},
      {"vertex with one number", {"Multipoint 1", "12.5"}, 10},
      {"count not a number", {"Pline abc"}, 9},
      {"negative count", {"Pline -1", "1 2"}, 9},
      {"two-point line short of numbers", {"Line 1 2 3"}, 9},
      {"label line with one number", {"Label Line Arrow 10"}, 9},
  };
  for (const auto& C : Cases) {
    try {
      Rewrite(Join(Concat(InHeader, C.Data)));
      ADD_FAILURE() << C.Name;
    } catch (EMifError& E) {
      EXPECT_EQ(E.Line(), C.Line) << C.Name;
      EXPECT_NE(E.Message().find(L"tab1.mif"), String::npos) << C.Name;
      EXPECT_NE(E.Message().find(std::to_wstring(C.Line)), String::npos) << C.Name;
    }
  }
}

// An object whose coordinates no rule transforms would stay in the old
// system, far from its neighbours: the table ends with the kind and the line.
TEST(MifRewrite, ObjectKindsWithoutARuleEndTheTable) {
  struct {
    const char* Line;
    const wchar_t* Kind;
  } const Cases[] = {
      {"POINT 1 2", L"POINT"},         {"pline 2", L"pline"},
      {"ELLIPSE 1 2 3 4", L"ELLIPSE"}, {"  Spline 1 2 3 4", L"Spline"},
      {"Curve 10.5 -3 7 8", L"Curve"},
  };
  for (const auto& C : Cases) {
    try {
      Rewrite(Join(Concat(InHeader, {"Point 1 2", C.Line, "Point 3 4"})));
      ADD_FAILURE() << C.Line << ": copied";
    } catch (EMifError& E) {
      EXPECT_EQ(E.Line(), 10) << C.Line;
      EXPECT_NE(E.Message().find(L"строка 10"), String::npos) << E.Message();
      EXPECT_NE(E.Message().find(L"\"" + String(C.Kind) + L"\""), String::npos) << E.Message();
    }
  }
}

TEST(MifRewrite, CharsetNamesTheCodePageOfTheText) {
  struct {
    const char* Name;
    UINT CodePage;
  } const Names[] = {{"WindowsCyrillic", 1251}, {"windowscyrillic", 1251}, {"WindowsLatin1", 1252},
                     {"WindowsLatin2", 1250},   {"ISO8859_5", 28595},      {"UTF-8", CP_UTF8},
                     {"CodePage866", CP_ACP},   {"Neutral", CP_ACP},       {"", CP_ACP}};
  for (const auto& N : Names) EXPECT_EQ(CharsetCodePage(N.Name), N.CodePage) << N.Name;
  struct {
    const char* Line;
    bool Declares;
    UINT CodePage;
  } const Lines[] = {{"!charset WindowsCyrillic", true, 1251},
                     {"  !charset   WindowsLatin1 ", true, 1252},
                     {"Charset \"WindowsCyrillic\"", true, 1251},
                     {"CHARSET \"UTF-8\"", true, CP_UTF8},
                     {"Charset \"Neutral\"", true, CP_ACP},
                     {"  Type NATIVE Charset \"WindowsCyrillic\"", false, 0},
                     {"!charsets x", false, 0},
                     {"Version 300", false, 0}};
  for (const auto& L : Lines) {
    UINT CodePage = 0;
    EXPECT_EQ(DeclaredCodePage(L.Line, CodePage), L.Declares) << L.Line;
    if (L.Declares) EXPECT_EQ(CodePage, L.CodePage) << L.Line;
  }
  // A text the code page cannot spell is refused, one it can is given whole.
  AnsiString A;
  EXPECT_TRUE(StringToTableText(L"Точка 1", 1251, A));
  EXPECT_EQ(A, "\xD2\xEE\xF7\xEA\xE0 1");
  EXPECT_FALSE(StringToTableText(L"Точка 1", 1252, A));
  EXPECT_EQ(TableTextToString("\xD2\xEE\xF7\xEA\xE0", 1251), L"Точка");
  EXPECT_EQ(TableTextToString("\xD0\xA2", CP_UTF8), L"Т");
}

// A text in a message is shown as the file's charset spells it, whatever the
// system's code page.
TEST(MifRewrite, MessagesShowTheTextInTheFilesCharset) {
  struct {
    const char* Charset;
    const wchar_t* Shown;
  } const Cases[] = {{"WindowsCyrillic", L"12а"}, {"WindowsLatin1", L"12à"}};
  for (const auto& C : Cases) {
    Lines In = InHeader;
    In[1] = std::string("Charset \"") + C.Charset + "\"";
    try {
      Rewrite(Join(Concat(In, {"Point 12\xE0 5"})));
      ADD_FAILURE() << C.Charset;
    } catch (EMifError& E) {
      EXPECT_NE(E.Message().find(L"\"" + String(C.Shown) + L"\""), String::npos) << E.Message();
    }
  }
}

TEST(MifRewrite, DotNumbersUnderCommaRegionalFormat) {
  TCommaLocale Comma;
  Lines In = {"Point 10.25 20.5", "Line 0.5 0.25 1.5 1.25"};
  Lines Want = {"Point 4000010.25 7000020.5", "Line 4000000.5 7000000.25 4000001.5 7000001.25"};
  EXPECT_EQ(Rewrite(Join(Concat(InHeader, In))), Join(Concat(OutHeader, Want)));
}

struct TLabelCase {
  const char* Line;
  const char* Next;
  const char* Want;  // null: nothing written
};

TEST(MifRewrite, LabelLine) {
  const TLabelCase Cases[] = {
      {"Label Line Arrow 10 20", "", "Label Line Arrow 4000010 7000020\r\n"},
      {"    Label Line Simple 10.5 20", "", "Label Line Simple 4000010.5 7000020\r\n"},
      {"Label Line Arrow 10 20 30", "", "Label Line Arrow 4000010 7000020\r\n"},
      {"Label Line simple 1 2", "", "Label Line Simple 4000001 7000002\r\n"},
      {"Label Line Arrow 1 2 Point", "Point", "Label Line Arrow 4000001 7000002\r\n"},
      {"Label Line Other 1 2", "", nullptr},
      {"Point 1 2", "Point", nullptr},
      {"    Pen (1,2,0)", "", nullptr},
  };
  for (const TLabelCase& C : Cases) {
    TMifWriter Out;
    bool Wrote = LabelLine(AnyFormation(), tsShift, C.Line, C.Next, Out);
    Out.Commit();
    EXPECT_EQ(Wrote, C.Want != nullptr) << C.Line;
    EXPECT_EQ(Out.Text(), C.Want ? C.Want : "") << C.Line;
  }
  TMifWriter Out;
  EXPECT_THROW(LabelLine(AnyFormation(), tsShift, "Label Line Arrow 10", "", Out), EConvertError);
}

TEST(MifRewrite, CountStrOverlapsAndIgnoresCase) {
  EXPECT_EQ(CountStr("Line LINE line", "Line"), 3);
  EXPECT_EQ(CountStr("aaaa", "aa"), 3);
  EXPECT_EQ(CountStr("\"a\" \"b", "\""), 3);
  EXPECT_EQ(CountStr("ab", "abc"), 0);
  EXPECT_EQ(CountStr("Label Line", "line"), 1);
}

TEST(MifRewrite, CopyPassChangesOnlyTheHeaderClause) {
  Lines In = Concat(InHeader, {"Point 1 2", "Text", "\"CoordSys\"", "1 2 3 4"});
  TMifReader R(Join(In), L"tab1.mif");
  TMifWriter W;
  CopyMifWithCoordSys(R, W, NonEarthMifClause);
  W.Commit();
  Lines Want = In;
  Want[3] = std::string(NonEarthMifClause);
  EXPECT_EQ(W.Text(), Join(Want));
}

}  // namespace
