// The mask editor: its settings, the display formatting of each mask kind
// without an editor, the filter helper, and real editors on a form typed
// into through SendInput (text, cursor and beeps after each key sequence).
#include "cxMaskEdit.h"

#include <gtest/gtest.h>

#include "ui/controls/ControlsTestSupport.h"

#include "cxDataStorage.h"

using namespace ControlsTest;

namespace {

class MaskEditSeparators : public testing::Test {
 protected:
  void SetUp() override {
    Saved = FormatSettings();
    FormatSettings().DateSeparator = L'/';
    FormatSettings().TimeSeparator = L':';
  }
  void TearDown() override { FormatSettings() = Saved; }
  TFormatSettings Saved;
};

TOwned<TcxMaskEditProperties> MakeProperties(TcxEditMaskKind AKind, const wchar_t* AMask) {
  TOwned<TcxMaskEditProperties> P = MakeOwned<TcxMaskEditProperties>(nullptr);
  P->SetMaskKind(AKind);
  P->SetEditMask(AMask);
  return P;
}

// ---------------------------------------------------------------------------
// Settings

TEST(MaskEditProperties, DefaultsOfThePublishedSettings) {
  TOwned<TcxMaskEditProperties> P = MakeOwned<TcxMaskEditProperties>(nullptr);
  EXPECT_EQ(P->GetMaskKind(), emkStandard);
  EXPECT_TRUE(P->GetCaseInsensitive());
  EXPECT_FALSE(P->GetIgnoreMaskBlank());
  EXPECT_FALSE(P->GetAlwaysShowBlanksAndLiterals());
  EXPECT_TRUE(P->GetValidateOnEnter());
  EXPECT_EQ(P->GetEditMask(), L"");
  EXPECT_FALSE(P->IsMasked());
  EXPECT_EQ(P->CreateMode(), nullptr);
}

TEST(MaskEditProperties, BlankOnlyMasksAreNoMasks) {
  struct TCase {
    String Mask;
    bool Empty;
  };
  for (const TCase& C :
       {TCase{L"", true}, TCase{L" ", true}, TCase{L"\t\r\n\f ", true},
        TCase{String(1, L'\0') + L" ", true}, TCase{L" 0", false}, TCase{L"_", false}}) {
    EXPECT_EQ(TcxCustomMaskEditProperties::EmptyMask(C.Mask), C.Empty)
        << testing::PrintToString(C.Mask);
    TOwned<TcxMaskEditProperties> P = MakeOwned<TcxMaskEditProperties>(nullptr);
    P->SetEditMask(C.Mask);
    EXPECT_EQ(P->IsMasked(), !C.Empty);
    // An unmasked editor keeps the text editor's display formats and limit.
    EXPECT_EQ(P->GetDisplayFormatOptions().Contains(dfoSupports), C.Empty);
    P->SetMaxLength(5);
    EXPECT_EQ(P->GetMaxLength(), C.Empty ? 5 : 0);
  }
}

TEST(MaskEditProperties, AnInvalidRegularExpressionRaisesEveryErrorAndKeepsTheOldMask) {
  struct TCase {
    const wchar_t* Mask;
    const wchar_t* Message;
  };
  for (TcxEditMaskKind Kind : {emkRegExpr, emkRegExprEx})
    for (const TCase& C : {
             TCase{L"(a", L"Regular expression errors:\r\nMissing ')'"},
             TCase{L"a{2", L"Regular expression errors:\r\nLine1, Char4: Missing '}'"},
             TCase{L"[ab\r\n'c",
                   L"Regular expression errors:\r\nLine2, Char3: Missing ' ' '"
                   L"\r\nLine2, Char3: Missing ']'"},
         }) {
      TOwned<TcxMaskEditProperties> P = MakeProperties(Kind, L"\\d+");
      try {
        P->SetEditMask(C.Mask);
        ADD_FAILURE() << "no error for " << testing::PrintToString(String(C.Mask));
      } catch (const EcxMaskEditError& E) {
        EXPECT_EQ(E.Message(), C.Message);
      }
      EXPECT_EQ(P->GetEditMask(), L"\\d+");
    }
}

TEST(MaskEditProperties, ALetterCaseForcesCaseInsensitivity) {
  TOwned<TcxMaskEditProperties> P = MakeOwned<TcxMaskEditProperties>(nullptr);
  P->SetCaseInsensitive(false);
  EXPECT_FALSE(P->GetCaseInsensitive());
  P->SetCharCase(ecUpperCase);
  EXPECT_TRUE(P->GetCaseInsensitive());
  P->SetCaseInsensitive(false);
  EXPECT_TRUE(P->GetCaseInsensitive());
  P->SetCharCase(ecNormal);
  P->SetCaseInsensitive(false);
  EXPECT_FALSE(P->GetCaseInsensitive());
}

TEST(MaskEditProperties, AssignCopiesTheMaskSettings) {
  TOwned<TcxMaskEditProperties> S = MakeProperties(emkRegExprEx, L"\\d\\d");
  S->SetIgnoreMaskBlank(true);
  S->SetAlwaysShowBlanksAndLiterals(true);
  S->SetCaseInsensitive(false);
  TOwned<TcxMaskEditProperties> D = MakeOwned<TcxMaskEditProperties>(nullptr);
  D->Assign(S.get());
  EXPECT_EQ(D->GetMaskKind(), emkRegExprEx);
  EXPECT_EQ(D->GetEditMask(), L"\\d\\d");
  EXPECT_TRUE(D->GetIgnoreMaskBlank());
  EXPECT_TRUE(D->GetAlwaysShowBlanksAndLiterals());
  EXPECT_FALSE(D->GetCaseInsensitive());
}

// ---------------------------------------------------------------------------
// Display formatting and validity without an editor

TEST_F(MaskEditSeparators, DisplayValuesOfEachKind) {
  struct TCase {
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    bool AlwaysShow;
    const wchar_t* Value;
    const wchar_t* Focused;
    const wchar_t* Unfocused;
  };
  for (const TCase& C : {
           TCase{emkStandard, L"(999) 000-0000", false, L"(555) 123-4567", L"(555) 123-4567",
                 L"(555) 123-4567"},
           TCase{emkStandard, L"(999) 000-0000;0", false, L"5551234567", L"(555) 123-4567",
                 L"5551234567"},
           TCase{emkStandard, L"(999) 000-0000;0", true, L"5551234567", L"(555) 123-4567",
                 L"(555) 123-4567"},
           TCase{emkStandard, L"00-00", false, L"", L"__-__", L"  -  "},
           TCase{emkRegExpr, L"\\d+", false, L"12a3", L"123", L"123"},
           TCase{emkRegExpr, L"(A|B|C){3}", false, L"abc", L"ABC", L"ABC"},
           TCase{emkRegExpr, L"[A-Z]{3}", false, L"abc", L"", L""},
           TCase{emkRegExprEx, L"'+7 '\\d+", false, L"", L"+7 ", L"+7 "},
           TCase{emkRegExprEx, L"\\d\\d/\\d\\d", false, L"12/3", L"12/3", L"12/3"},
           TCase{emkRegExprEx, L"\\d\\d/\\d\\d", false, L"12", L"12/", L"12/"},
       }) {
    TOwned<TcxMaskEditProperties> P = MakeProperties(C.Kind, C.Mask);
    P->SetAlwaysShowBlanksAndLiterals(C.AlwaysShow);
    Variant D;
    P->PrepareDisplayValue(Variant(String(C.Value)), D, true);
    EXPECT_EQ(VarToStr(D), C.Focused) << testing::PrintToString(String(C.Mask));
    P->PrepareDisplayValue(Variant(String(C.Value)), D, false);
    EXPECT_EQ(VarToStr(D), C.Unfocused) << testing::PrintToString(String(C.Mask));
  }
}

TEST_F(MaskEditSeparators, TheUnmaskedEditorShowsTheValueAsItIs) {
  TOwned<TcxMaskEditProperties> P = MakeProperties(emkStandard, L"  ");
  Variant D;
  P->PrepareDisplayValue(Variant(String(L"a b")), D, true);
  EXPECT_EQ(VarToStr(D), L"a b");
}

TEST_F(MaskEditSeparators, FullValidityOfEachKind) {
  struct TCase {
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    bool IgnoreMaskBlank;
    const wchar_t* Text;
    bool Valid;
  };
  for (const TCase& C : {
           TCase{emkStandard, L"00-00", false, L"12-34", true},
           TCase{emkStandard, L"00-00", false, L"12-3_", false},
           TCase{emkStandard, L"00-00", true, L"__-__", true},
           TCase{emkStandard, L"00-00", true, L"1_-__", false},
           TCase{emkRegExpr, L"\\d\\d\\d", false, L"12", false},
           TCase{emkRegExpr, L"\\d\\d\\d", true, L"12", true},
           TCase{emkRegExpr, L"\\d\\d\\d", false, L"123", true},
           TCase{emkRegExpr, L"\\d\\d\\d", true, L"12a", false},
           TCase{emkRegExpr, L"\\d\\d\\d", false, L"", true},
           TCase{emkRegExprEx, L"'+7 '\\d+", false, L"+7 ", true},
           TCase{emkRegExprEx, L"'+7 '\\d+", false, L"+7 5", true},
           TCase{emkRegExprEx, L"'+7 '\\d+", false, L"+8 5", false},
           TCase{emkRegExprEx, L"\\d\\d/\\d\\d", false, L"12/", false},
           TCase{emkRegExprEx, L"\\d\\d/\\d\\d", true, L"12/", true},
       }) {
    TOwned<TcxMaskEditProperties> P = MakeProperties(C.Kind, C.Mask);
    P->SetIgnoreMaskBlank(C.IgnoreMaskBlank);
    TOwned<TcxMaskEditCustomMode> M(P->CreateMode());
    ASSERT_TRUE(M);
    EXPECT_EQ(M->IsFullValidText(C.Text), C.Valid)
        << testing::PrintToString(String(C.Mask)) << " " << testing::PrintToString(String(C.Text));
  }
}

TEST_F(MaskEditSeparators, AnIncompleteMaskedTextFailsValidation) {
  struct TCase {
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    const wchar_t* Text;
    bool Error;
  };
  for (const TCase& C :
       {TCase{emkStandard, L"00-00", L"12-3_", true}, TCase{emkStandard, L"00-00", L"12-34", false},
        TCase{emkRegExpr, L"\\d\\d", L"1", true}, TCase{emkRegExprEx, L"'+7 '\\d+", L"+7 ", false},
        TCase{emkStandard, L"", L"anything", false}}) {
    TOwned<TcxMaskEditProperties> P = MakeProperties(C.Kind, C.Mask);
    Variant D(String(C.Text));
    String ErrorText;
    bool Error = false;
    P->ValidateDisplayValue(D, ErrorText, Error, nullptr);
    EXPECT_EQ(Error, C.Error) << testing::PrintToString(String(C.Text));
    if (C.Error) {
      EXPECT_EQ(ErrorText, L"The edit value is invalid");
    }
  }
}

TEST_F(MaskEditSeparators, EmptyStringsOfEachKind) {
  struct TCase {
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    const wchar_t* Empty;
  };
  for (const TCase& C :
       {TCase{emkStandard, L"(999) 000-0000", L"(   )    -    "},
        TCase{emkRegExpr, L"'+7 '\\d+", L""}, TCase{emkRegExprEx, L"'+7 '\\d+", L"+7 "},
        TCase{emkRegExprEx, L"\\d+", L""}}) {
    TOwned<TcxMaskEditProperties> P = MakeProperties(C.Kind, C.Mask);
    TOwned<TcxMaskEditCustomMode> M(P->CreateMode());
    EXPECT_EQ(M->GetEmptyString(), C.Empty) << testing::PrintToString(String(C.Mask));
  }
}

// ---------------------------------------------------------------------------
// Filter helper

TEST(MaskEditFilter, TextOperatorsOnlyForUnmaskedStrings) {
  TcxFilterEditHelperClass H = cxFilterEditHelperClass<TcxFilterMaskEditHelper>();
  TOwned<TcxMaskEditProperties> Plain = MakeProperties(emkStandard, L"");
  TOwned<TcxMaskEditProperties> Masked = MakeProperties(emkStandard, L"000");
  const TcxValueTypeClass Str = cxValueTypeClassList()->ItemByCaption(L"String");
  ASSERT_NE(Str, nullptr);
  EXPECT_TRUE(H->GetSupportedFilterOperators(Plain.get(), Str, false).Contains(fcoLike));
  EXPECT_FALSE(H->GetSupportedFilterOperators(Masked.get(), Str, false).Contains(fcoLike));
  EXPECT_TRUE(H->GetSupportedFilterOperators(Masked.get(), Str, false).Contains(fcoBlanks));
  EXPECT_FALSE(H->GetSupportedFilterOperators(Masked.get(), Str, false).Contains(fcoBetween));
  EXPECT_TRUE(H->GetSupportedFilterOperators(Masked.get(), Str, true).Contains(fcoInList));
  EXPECT_EQ(H->GetFilterEditClass(), TcxMaskEdit::StaticClass());
}

TEST(MaskEditFilter, TheFilterEditorOfARegularExpressionMaskInsertsForcedCharacters) {
  TcxFilterEditHelperClass H = cxFilterEditHelperClass<TcxFilterMaskEditHelper>();
  TOwned<TcxMaskEditProperties> Column = MakeProperties(emkRegExpr, L"\\d+");
  TOwned<TcxMaskEditProperties> Filter = MakeOwned<TcxMaskEditProperties>(nullptr);
  H->InitializeProperties(Filter.get(), Column.get(), false);
  EXPECT_EQ(Filter->GetMaskKind(), emkRegExprEx);
  EXPECT_EQ(Filter->GetEditMask(), L"\\d+");
  EXPECT_FALSE(Filter->GetAutoSelect());
  TOwned<TcxMaskEditProperties> PlainColumn = MakeProperties(emkStandard, L"");
  TOwned<TcxMaskEditProperties> PlainFilter = MakeOwned<TcxMaskEditProperties>(nullptr);
  H->InitializeProperties(PlainFilter.get(), PlainColumn.get(), false);
  EXPECT_TRUE(PlainFilter->GetAutoSelect());
}

// ---------------------------------------------------------------------------
// Real editors on a form

class MaskEditInput : public MaskEditSeparators {
 protected:
  void SetUp() override {
    MaskEditSeparators::SetUp();
    Form.reset(CreateForm(300, 120));
    E = Create<TcxMaskEdit>(Form.get());
    E->SetParent(Form.get());
    E->SetBounds(10, 10, 200, 24);
    Other = Create<TcxMaskEdit>(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(10, 50, 200, 24);
  }
  void TearDown() override {
    Form.reset();
    MaskEditSeparators::TearDown();
  }
  TOwned<TCustomForm> Form;
  TcxMaskEdit* E = nullptr;
  TcxMaskEdit* Other = nullptr;
};

TEST_F(MaskEditInput, KindAloneClearsTheMaskKindAndMaskTogetherKeepIt) {
  E->GetProperties()->SetEditMask(L"000");
  E->GetProperties()->SetMaskKind(emkRegExpr);
  EXPECT_EQ(E->GetProperties()->GetEditMask(), L"");
  E->GetProperties()->SetMaskKind(emkStandard);
  E->GetProperties()->BeginUpdate();
  E->GetProperties()->SetMaskKind(emkRegExpr);
  E->GetProperties()->SetEditMask(L"\\d+");
  E->GetProperties()->EndUpdate();
  EXPECT_EQ(E->GetProperties()->GetEditMask(), L"\\d+");
  EXPECT_EQ(E->Mode()->GetMaskKind(), emkRegExpr);
  // Between the two regular-expression kinds the mask stays.
  E->GetProperties()->SetMaskKind(emkRegExprEx);
  EXPECT_EQ(E->GetProperties()->GetEditMask(), L"\\d+");
  EXPECT_EQ(E->Mode()->GetMaskKind(), emkRegExprEx);
}

}  // namespace
