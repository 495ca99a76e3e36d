// Filter editors made ready for a column's settings, alone or shared through
// an in-place editor list.
#include <gtest/gtest.h>

#include "cxEdit.h"
#include "cxFilterControlUtils.h"
#include "cxTextEdit.h"

namespace {

TcxFilterEditHelperClass TextHelper() {
  TcxFilterEditHelperClass AHelper =
      FilterEditsController()->FindHelper(TcxTextEditProperties::StaticClass());
  EXPECT_NE(AHelper, nullptr);
  return AHelper;
}

TOwned<TcxTextEditProperties> Column(bool AReadOnly, Integer AMaxLength) {
  TOwned<TcxTextEditProperties> AColumn(Create<TcxTextEditProperties>(nullptr));
  AColumn->SetReadOnly(AReadOnly);
  AColumn->SetAutoSelect(false);
  AColumn->GetAlignment()->SetHorz(taRightJustify);
  AColumn->SetMaxLength(AMaxLength);
  return AColumn;
}

}  // namespace

TEST(FilterEdit, WithoutAListEachCallMakesAReadyEditorTheCallerOwns) {
  TcxFilterEditHelperClass AHelper = TextHelper();
  ASSERT_NE(AHelper, nullptr);
  TOwned<TcxTextEditProperties> AColumn = Column(true, 7);
  TOwned<TcxCustomEdit> A(AHelper->GetFilterEdit(AColumn.get()));
  TOwned<TcxCustomEdit> B(AHelper->GetFilterEdit(AColumn.get()));
  ASSERT_NE(A, nullptr);
  EXPECT_NE(A.get(), B.get());
  EXPECT_EQ(A->ClassType(), TcxTextEdit::StaticClass());
  EXPECT_EQ(A->Owner(), nullptr);
  auto* P = static_cast<TcxTextEditProperties*>(A->GetActiveProperties());
  EXPECT_FALSE(P->GetReadOnly());
  EXPECT_TRUE(P->GetAutoSelect());
  EXPECT_EQ(P->GetAlignment()->GetHorz(), taLeftJustify);
  EXPECT_EQ(P->GetMaxLength(), 7);
}

TEST(FilterEdit, WithAListEveryColumnGetsTheListsSharedEditor) {
  TcxFilterEditHelperClass AHelper = TextHelper();
  ASSERT_NE(AHelper, nullptr);
  TcxInplaceEditList AList(nullptr);
  TOwned<TcxTextEditProperties> AFirst = Column(true, 3);
  TOwned<TcxTextEditProperties> ASecond = Column(false, 9);
  TcxCustomEdit* A = AHelper->GetFilterEdit(AFirst.get(), &AList);
  TcxCustomEdit* B = AHelper->GetFilterEdit(ASecond.get(), &AList);
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(A, B);
  EXPECT_EQ(AList.Count(), 1);
  EXPECT_EQ(AList.FindEdit(TcxTextEditProperties::StaticClass()), A);
  // The editor holds the settings of the column it was last made ready for.
  auto* P = static_cast<TcxTextEditProperties*>(B->GetActiveProperties());
  EXPECT_EQ(P->GetMaxLength(), 9);
  EXPECT_EQ(P->GetAlignment()->GetHorz(), taLeftJustify);
}

TEST(FilterEdit, AHelperThatNamesNoEditorClassRaises) {
  TOwned<TcxTextEditProperties> AColumn = Column(false, 0);
  TcxCustomFilterEditHelper ABase;
  TcxInplaceEditList AList(nullptr);
  EXPECT_THROW(ABase.GetFilterEdit(AColumn.get()), EcxEditError);
  EXPECT_THROW(ABase.GetFilterEdit(AColumn.get(), &AList), EcxEditError);
  EXPECT_EQ(AList.Count(), 0);
}
