#include <gtest/gtest.h>

#include "ResourceStringTestSupport.h"
#include "cxFilterControlStrs.h"

namespace {

const TResStringCase FilterControlStrings[] = {
    {L"cxSFilterBoolOperatorAnd", &cxSFilterBoolOperatorAnd, 64509, L"AND"},
    {L"cxSFilterBoolOperatorOr", &cxSFilterBoolOperatorOr, 64510, L"OR"},
    {L"cxSFilterBoolOperatorNotAnd", &cxSFilterBoolOperatorNotAnd, 64511, L"NOT AND"},
    {L"cxSFilterBoolOperatorNotOr", &cxSFilterBoolOperatorNotOr, 64480, L"NOT OR"},
    {L"cxSFilterRootButtonCaption", &cxSFilterRootButtonCaption, 64481, L"Filter"},
    {L"cxSFilterAddCondition", &cxSFilterAddCondition, 64482, L"Add &Condition"},
    {L"cxSFilterAddGroup", &cxSFilterAddGroup, 64483, L"Add &Group"},
    {L"cxSFilterRemoveRow", &cxSFilterRemoveRow, 64484, L"&Remove Row"},
    {L"cxSFilterClearAll", &cxSFilterClearAll, 64485, L"Clear &All"},
    {L"cxSFilterFooterAddCondition", &cxSFilterFooterAddCondition, 64486,
     L"press the button to add a new condition"},
    {L"cxSFilterGroupCaption", &cxSFilterGroupCaption, 64487,
     L"applies to the following conditions"},
    {L"cxSFilterRootGroupCaption", &cxSFilterRootGroupCaption, 64488, L"<root>"},
    {L"cxSFilterControlNullString", &cxSFilterControlNullString, 64489, L"<empty>"},
    {L"cxSFilterErrorBuilding", &cxSFilterErrorBuilding, 64490, L"Can't build filter from source"},
    {L"cxSFilterDialogCaption", &cxSFilterDialogCaption, 64491, L"Custom Filter"},
    {L"cxSFilterDialogInvalidValue", &cxSFilterDialogInvalidValue, 64492, L"Invalid value"},
    {L"cxSFilterDialogUse", &cxSFilterDialogUse, 64493, L"Use"},
    {L"cxSFilterDialogSingleCharacter", &cxSFilterDialogSingleCharacter, 64494,
     L"to represent any single character"},
    {L"cxSFilterDialogCharactersSeries", &cxSFilterDialogCharactersSeries, 64495,
     L"to represent any series of characters"},
    {L"cxSFilterDialogOperationAnd", &cxSFilterDialogOperationAnd, 64464, L"AND"},
    {L"cxSFilterDialogOperationOr", &cxSFilterDialogOperationOr, 64465, L"OR"},
    {L"cxSFilterDialogRows", &cxSFilterDialogRows, 64466, L"Show rows where:"},
    {L"cxSFilterControlDialogCaption", &cxSFilterControlDialogCaption, 64467, L"Filter builder"},
    {L"cxSFilterControlDialogNewFile", &cxSFilterControlDialogNewFile, 64468, L"untitled.flt"},
    {L"cxSFilterControlDialogOpenDialogCaption", &cxSFilterControlDialogOpenDialogCaption, 64469,
     L"Open an existing filter"},
    {L"cxSFilterControlDialogSaveDialogCaption", &cxSFilterControlDialogSaveDialogCaption, 64470,
     L"Save the active filter to file"},
    {L"cxSFilterControlDialogActionSaveCaption", &cxSFilterControlDialogActionSaveCaption, 64471,
     L"&Save As..."},
    {L"cxSFilterControlDialogActionSaveHint", &cxSFilterControlDialogActionSaveHint, 64472,
     L"Save As|Saves the active filter with a new name"},
    {L"cxSFilterControlDialogActionOpenCaption", &cxSFilterControlDialogActionOpenCaption, 64473,
     L"&Open..."},
    {L"cxSFilterControlDialogActionOpenHint", &cxSFilterControlDialogActionOpenHint, 64474,
     L"Open|Opens an existing filter"},
    {L"cxSFilterControlDialogActionApplyCaption", &cxSFilterControlDialogActionApplyCaption, 64475,
     L"&Apply"},
    {L"cxSFilterControlDialogActionOkCaption", &cxSFilterControlDialogActionOkCaption, 64476,
     L"OK"},
    {L"cxSFilterControlDialogActionCancelCaption", &cxSFilterControlDialogActionCancelCaption,
     64477, L"Cancel"},
    {L"cxSFilterControlDialogFileExt", &cxSFilterControlDialogFileExt, 64478, L"flt"},
    {L"cxSFilterControlDialogFileFilter", &cxSFilterControlDialogFileFilter, 64479,
     L"Filters (*.flt)|*.flt"},
};

TEST(FilterControlStrings, EveryNameReadByRecordAndByName) {
  ExpectResStrings(cxFilterControlProductName, FilterControlStrings);
  EXPECT_EQ(FindResStringProduct(cxFilterControlProductName)->ResStringsCount(),
            Integer(std::size(FilterControlStrings)));
}

TEST(FilterControlStrings, GoneAfterShutDownBackAfterStartUp) {
  cxFilterControlStrs_Finalize();
  EXPECT_EQ(FindResStringProduct(cxFilterControlProductName), nullptr);
  EXPECT_EQ(dxResourceStringsRepository()->GetOriginalValue(L"cxSFilterRootButtonCaption"), L"");
  // The string table stays.
  EXPECT_EQ(cxGetResourceString(&cxSFilterRootButtonCaption), L"Filter");
  cxFilterControlStrs_Initialize();
  ExpectResStrings(cxFilterControlProductName, FilterControlStrings);
}

}  // namespace
