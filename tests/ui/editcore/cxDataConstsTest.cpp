#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"
#include "ResourceStringTestSupport.h"
#include "cxDataConsts.h"
#include "cxFilterConsts.h"

namespace {

struct TNamedString {
  const wchar_t* Name;
  PResStringRec Rec;
  const wchar_t* Text;
};

const TNamedString DataStrings[] = {
    {L"cxSDataReadError", &cxSDataReadError, L"Stream read error"},
    {L"cxSDataWriteError", &cxSDataWriteError, L"Stream write error"},
    {L"cxSDataItemExistError", &cxSDataItemExistError, L"Item already exists"},
    {L"cxSDataRecordIndexError", &cxSDataRecordIndexError, L"RecordIndex out of range"},
    {L"cxSDataItemIndexError", &cxSDataItemIndexError, L"ItemIndex out of range"},
    {L"cxSDataProviderModeError", &cxSDataProviderModeError,
     L"This operation is not supported in provider mode"},
    {L"cxSDataInvalidStreamFormat", &cxSDataInvalidStreamFormat, L"Invalid stream format"},
    {L"cxSDataRowIndexError", &cxSDataRowIndexError, L"RowIndex out of range"},
    {L"cxSDataCustomDataSourceInvalidCompare", &cxSDataCustomDataSourceInvalidCompare,
     L"GetInfoForCompare not implemented"},
    {L"cxSDBDetailFilterControllerNotFound", &cxSDBDetailFilterControllerNotFound,
     L"DetailFilterController not found"},
    {L"cxSDBNotInGridMode", &cxSDBNotInGridMode, L"DataController not in GridMode"},
    {L"cxSDBKeyFieldNotFound", &cxSDBKeyFieldNotFound, L"Key Field not found"},
};

const TNamedString FilterStrings[] = {
    {L"cxSFilterOperatorEqual", &cxSFilterOperatorEqual, L"equals"},
    {L"cxSFilterOperatorLessEqual", &cxSFilterOperatorLessEqual, L"is less than or equal to"},
    {L"cxSFilterOperatorToday", &cxSFilterOperatorToday, L"is today"},
    {L"cxSFilterOperatorTomorrow", &cxSFilterOperatorTomorrow, L"is tomorrow"},
    {L"cxSFilterOperatorNextTwoWeeks", &cxSFilterOperatorNextTwoWeeks, L"is next two weeks"},
    {L"cxSFilterOperatorNext30Days", &cxSFilterOperatorNext30Days, L"is next 30 days"},
    {L"cxSFilterOperatorFuture", &cxSFilterOperatorFuture, L"is future"},
    {L"cxSFilterBlankCaption", &cxSFilterBlankCaption, L"blank"},
    {L"cxSFilterOperatorDoesNotContain", &cxSFilterOperatorDoesNotContain, L"does not contain"},
    {L"cxSFilterBoxAllCaption", &cxSFilterBoxAllCaption, L"(All)"},
    {L"cxSFilterBoxCustomCaption", &cxSFilterBoxCustomCaption, L"(Custom...)"},
    {L"cxSFilterBoxNonBlanksCaption", &cxSFilterBoxNonBlanksCaption, L"(NonBlanks)"},
};

TEST(DataAndFilterStrings, RegisteredByNameUntilShutDown) {
  struct TProduct {
    const wchar_t* Name;
    const TNamedString* Strings;
    size_t Count;
    Integer Registered;
    void (*Initialize)();
    void (*Finalize)();
  } Products[] = {
      {cxDataProductName, DataStrings, std::size(DataStrings), 12, &cxDataConsts_Initialize,
       &cxDataConsts_Finalize},
      {cxFilterProductName, FilterStrings, std::size(FilterStrings), 50, &cxFilterConsts_Initialize,
       &cxFilterConsts_Finalize},
  };
  for (const TProduct& P : Products) {
    TdxProductResourceStrings* Strings = FindResStringProduct(P.Name);
    ASSERT_NE(Strings, nullptr) << P.Name;
    EXPECT_EQ(Strings->ResStringsCount(), P.Registered) << P.Name;
    for (size_t I = 0; I < P.Count; ++I) {
      Integer Index = Strings->GetIndexByName(P.Strings[I].Name);
      ASSERT_GE(Index, 0) << P.Strings[I].Name;
      EXPECT_EQ(Strings->ResStrings(Index), P.Strings[I].Rec) << P.Strings[I].Name;
      EXPECT_EQ(cxGetResourceString(P.Strings[I].Rec), P.Strings[I].Text) << P.Strings[I].Name;
    }
    P.Finalize();
    EXPECT_EQ(FindResStringProduct(P.Name), nullptr) << P.Name;
    P.Initialize();
    EXPECT_NE(FindResStringProduct(P.Name), nullptr) << P.Name;
  }
  // The editor base points the filter texts at the resource-string reader.
  EXPECT_EQ(cxFilterGetResourceStringFunc, &cxGetResourceString);
}

}  // namespace
