#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ResourceStringTestSupport.h"
#include "cxEditConsts.h"

namespace {

// The texts that editors read, a few of the others, and the regular-expression
// engine's limits.
const TResStringCase EditStrings[] = {
    {L"cxSEditButtonCancel", &cxSEditButtonCancel, 64660, L"Cancel"},
    {L"cxSEditButtonOK", &cxSEditButtonOK, 64661, L"OK"},
    {L"cxSEditDateConvertError", &cxSEditDateConvertError, 64662, L"Could not convert to date"},
    {L"cxSEditInvalidRepositoryItem", &cxSEditInvalidRepositoryItem, 64663,
     L"The repository item is not acceptable"},
    {L"cxSEditNumericValueConvertError", &cxSEditNumericValueConvertError, 64664,
     L"Could not convert to numeric value"},
    {L"cxSEditPopupCircularReferencingError", &cxSEditPopupCircularReferencingError, 64665,
     L"Circular referencing is not allowed"},
    {L"cxSEditPostError", &cxSEditPostError, 64666, L"An error occurred during posting edit value"},
    {L"cxSEditTimeConvertError", &cxSEditTimeConvertError, 64667, L"Could not convert to time"},
    {L"cxSEditValidateErrorText", &cxSEditValidateErrorText, 64668,
     L"Invalid input value. Use escape key to abandon changes"},
    {L"cxSEditValueOutOfBounds", &cxSEditValueOutOfBounds, 64669, L"Value out of bounds"},
    {L"cxSEditCheckBoxChecked", &cxSEditCheckBoxChecked, 64670, L"True"},
    {L"cxSEditCheckBoxGrayed", &cxSEditCheckBoxGrayed, 64671, L""},
    {L"cxSEditCheckBoxUnchecked", &cxSEditCheckBoxUnchecked, 64640, L"False"},
    {L"cxSRadioGroupDefaultCaption", &cxSRadioGroupDefaultCaption, 64641, L""},
    {L"cxSTextTrue", &cxSTextTrue, 64642, L"True"},
    {L"cxSTextFalse", &cxSTextFalse, 64643, L"False"},
    {L"cxSNoMatchesFound", &cxSNoMatchesFound, 64644, L"No matches found"},
    {L"cxSBlobMemo", &cxSBlobMemo, 64499, L"(MEMO)"},
    {L"cxSMenuItemCaptionCut", &cxSMenuItemCaptionCut, 64503, L"Cu&t"},
    {L"cxSDatePopupToday", &cxSDatePopupToday, 64516, L"Today"},
    {L"cxSDateError", &cxSDateError, 64518, L"Invalid Date"},
    {L"cxNavigatorInfoPanelDefaultDisplayMask", &cxNavigatorInfoPanelDefaultDisplayMask, 64539,
     L"[RecordIndex] of [RecordCount]"},
    {L"scxSEditRepositoryCheckBoxItem", &scxSEditRepositoryCheckBoxItem, 64595,
     L"CheckBox|Represents a check box control that allows selecting an option"},
    {L"scxSEditRepositoryComboBoxItem", &scxSEditRepositoryComboBoxItem, 64596,
     L"ComboBox|Represents the combo box editor"},
    {L"scxSEditRepositoryMaskItem", &scxSEditRepositoryMaskItem, 64603,
     L"MaskEdit|Represents a generic masked editor."},
    {L"scxSEditRepositoryPopupItem", &scxSEditRepositoryPopupItem, 64606,
     L"PopupEdit|Represents an editor with a dropdown list"},
    {L"scxSEditRepositorySpinItem", &scxSEditRepositorySpinItem, 64607,
     L"SpinEdit|Represents a spin editor"},
    {L"scxSEditRepositoryTextItem", &scxSEditRepositoryTextItem, 64577,
     L"TextEdit|Represents a single line text editor"},
    {L"scxRegExprLine", &scxRegExprLine, 64586, L"Line"},
    {L"scxRegExprChar", &scxRegExprChar, 64587, L"Char"},
    {L"scxRegExprNotAssignedSourceStream", &scxRegExprNotAssignedSourceStream, 64588,
     L"The source stream is not assigned"},
    {L"scxRegExprEmptySourceStream", &scxRegExprEmptySourceStream, 64589,
     L"The source stream is empty"},
    {L"scxRegExprCantUsePlusQuantifier", &scxRegExprCantUsePlusQuantifier, 64590,
     L"The '+' quantifier cannot be applied here"},
    {L"scxRegExprCantUseStarQuantifier", &scxRegExprCantUseStarQuantifier, 64591,
     L"The '*' quantifier cannot be applied here"},
    {L"scxRegExprCantCreateEmptyAlt", &scxRegExprCantCreateEmptyAlt, 64560,
     L"The alternative should not be empty"},
    {L"scxRegExprCantCreateEmptyBlock", &scxRegExprCantCreateEmptyBlock, 64561,
     L"The block should not be empty"},
    {L"scxRegExprIllegalSymbol", &scxRegExprIllegalSymbol, 64562, L"Illegal '%s'"},
    {L"scxRegExprIllegalQuantifier", &scxRegExprIllegalQuantifier, 64563,
     L"Illegal quantifier '%s'"},
    {L"scxRegExprNotSupportQuantifier", &scxRegExprNotSupportQuantifier, 64564,
     L"The parameter quantifiers are not supported"},
    {L"scxRegExprIllegalIntegerValue", &scxRegExprIllegalIntegerValue, 64565,
     L"Illegal integer value"},
    {L"scxRegExprTooBigReferenceNumber", &scxRegExprTooBigReferenceNumber, 64566,
     L"Too big reference number"},
    {L"scxRegExprCantCreateEmptyEnum", &scxRegExprCantCreateEmptyEnum, 64567,
     L"Can't create empty enumeration"},
    {L"scxRegExprSubrangeOrder", &scxRegExprSubrangeOrder, 64568,
     L"The starting character of the subrange must be less than the finishing one"},
    {L"scxRegExprHexNumberExpected0", &scxRegExprHexNumberExpected0, 64569,
     L"Hexadecimal number expected"},
    {L"scxRegExprHexNumberExpected", &scxRegExprHexNumberExpected, 64570,
     L"Hexadecimal number expected but '%s' found"},
    {L"scxRegExprMissing", &scxRegExprMissing, 64571, L"Missing '%s'"},
    {L"scxRegExprUnnecessary", &scxRegExprUnnecessary, 64572, L"Unnecessary '%s'"},
    {L"scxRegExprIncorrectSpace", &scxRegExprIncorrectSpace, 64573,
     L"The space character is not allowed after '\\'"},
    {L"scxRegExprNotCompiled", &scxRegExprNotCompiled, 64574,
     L"Regular expression is not compiled"},
    {L"scxRegExprIncorrectParameterQuantifier", &scxRegExprIncorrectParameterQuantifier, 64575,
     L"Incorrect parameter quantifier"},
    {L"scxRegExprCantUseParameterQuantifier", &scxRegExprCantUseParameterQuantifier, 64544,
     L"The parameter quantifier cannot be applied here"},
    {L"scxMaskEditRegExprError", &scxMaskEditRegExprError, 64545, L"Regular expression errors:"},
    {L"scxMaskEditInvalidEditValue", &scxMaskEditInvalidEditValue, 64546,
     L"The edit value is invalid"},
    {L"cxSSpinEditInvalidNumericValue", &cxSSpinEditInvalidNumericValue, 64551,
     L"Invalid numeric value"},
    {L"scxRegExprTooLargeExpansion", &scxRegExprTooLargeExpansion, 64720,
     L"The quantifier makes the expression larger than %d items"},
    {L"scxRegExprTooDeepNesting", &scxRegExprTooDeepNesting, 64721,
     L"The expression is nested deeper than %d levels"},
};

// Every name of the editors' product, in registration order.
const wchar_t* const EditNames[] = {L"cxSEditButtonCancel",
                                    L"cxSEditButtonOK",
                                    L"cxSEditDateConvertError",
                                    L"cxSEditInvalidRepositoryItem",
                                    L"cxSEditNumericValueConvertError",
                                    L"cxSEditPopupCircularReferencingError",
                                    L"cxSEditPostError",
                                    L"cxSEditTimeConvertError",
                                    L"cxSEditValidateErrorText",
                                    L"cxSEditValueOutOfBounds",
                                    L"cxSEditCheckBoxChecked",
                                    L"cxSEditCheckBoxGrayed",
                                    L"cxSEditCheckBoxUnchecked",
                                    L"cxSRadioGroupDefaultCaption",
                                    L"cxSTextTrue",
                                    L"cxSTextFalse",
                                    L"cxSNoMatchesFound",
                                    L"cxSBlobButtonOK",
                                    L"cxSBlobButtonCancel",
                                    L"cxSBlobButtonClose",
                                    L"cxSBlobMemo",
                                    L"cxSBlobMemoEmpty",
                                    L"cxSBlobPicture",
                                    L"cxSBlobPictureEmpty",
                                    L"cxSMenuItemCaptionCut",
                                    L"cxSMenuItemCaptionCopy",
                                    L"cxSMenuItemCaptionPaste",
                                    L"cxSMenuItemCaptionDelete",
                                    L"cxSMenuItemCaptionLoad",
                                    L"cxSMenuItemCaptionSave",
                                    L"cxSMenuItemCaptionAssignFromWebCam",
                                    L"cxSDatePopupClear",
                                    L"cxSDatePopupNow",
                                    L"cxSDatePopupOK",
                                    L"cxSDatePopupToday",
                                    L"cxSDatePopupCancel",
                                    L"cxSDateError",
                                    L"scxSCalcError",
                                    L"scxSHyperLinkPrefix",
                                    L"scxSHyperLinkDoubleSlash",
                                    L"cxNavigatorHint_First",
                                    L"cxNavigatorHint_Prior",
                                    L"cxNavigatorHint_PriorPage",
                                    L"cxNavigatorHint_Next",
                                    L"cxNavigatorHint_NextPage",
                                    L"cxNavigatorHint_Last",
                                    L"cxNavigatorHint_Insert",
                                    L"cxNavigatorHint_Append",
                                    L"cxNavigatorHint_Delete",
                                    L"cxNavigatorHint_Edit",
                                    L"cxNavigatorHint_Post",
                                    L"cxNavigatorHint_Cancel",
                                    L"cxNavigatorHint_Refresh",
                                    L"cxNavigatorHint_SaveBookmark",
                                    L"cxNavigatorHint_GotoBookmark",
                                    L"cxNavigatorHint_Filter",
                                    L"cxNavigator_DeleteRecordQuestion",
                                    L"cxNavigatorInfoPanelDefaultDisplayMask",
                                    L"scxSEditRepositoryBlobItem",
                                    L"scxSEditRepositoryButtonItem",
                                    L"scxSEditRepositoryCalcItem",
                                    L"scxSEditRepositoryCheckBoxItem",
                                    L"scxSEditRepositoryComboBoxItem",
                                    L"scxSEditRepositoryCurrencyItem",
                                    L"scxSEditRepositoryDateItem",
                                    L"scxSEditRepositoryHyperLinkItem",
                                    L"scxSEditRepositoryImageComboBoxItem",
                                    L"scxSEditRepositoryImageItem",
                                    L"scxSEditRepositoryLookupComboBoxItem",
                                    L"scxSEditRepositoryMaskItem",
                                    L"scxSEditRepositoryMemoItem",
                                    L"scxSEditRepositoryMRUItem",
                                    L"scxSEditRepositoryPopupItem",
                                    L"scxSEditRepositorySpinItem",
                                    L"scxSEditRepositoryRadioGroupItem",
                                    L"scxSEditRepositoryTextItem",
                                    L"scxSEditRepositoryTimeItem",
                                    L"scxSEditRepositoryToggleSwitchItem",
                                    L"scxSEditRepositoryDateTimeWheelPickerItem",
                                    L"scxSEditRepositorySparklineItem",
                                    L"scxSEditRepositoryLookupSparklineItem",
                                    L"scxSEditRepositoryBarCodeItem",
                                    L"scxSEditRepositoryTokenItem",
                                    L"scxSEditRepositoryNumericWheelPickerItem",
                                    L"scxRegExprLine",
                                    L"scxRegExprChar",
                                    L"scxRegExprNotAssignedSourceStream",
                                    L"scxRegExprEmptySourceStream",
                                    L"scxRegExprCantUsePlusQuantifier",
                                    L"scxRegExprCantUseStarQuantifier",
                                    L"scxRegExprCantCreateEmptyAlt",
                                    L"scxRegExprCantCreateEmptyBlock",
                                    L"scxRegExprIllegalSymbol",
                                    L"scxRegExprIllegalQuantifier",
                                    L"scxRegExprNotSupportQuantifier",
                                    L"scxRegExprIllegalIntegerValue",
                                    L"scxRegExprTooBigReferenceNumber",
                                    L"scxRegExprCantCreateEmptyEnum",
                                    L"scxRegExprSubrangeOrder",
                                    L"scxRegExprHexNumberExpected0",
                                    L"scxRegExprHexNumberExpected",
                                    L"scxRegExprMissing",
                                    L"scxRegExprUnnecessary",
                                    L"scxRegExprIncorrectSpace",
                                    L"scxRegExprNotCompiled",
                                    L"scxRegExprIncorrectParameterQuantifier",
                                    L"scxRegExprCantUseParameterQuantifier",
                                    L"scxMaskEditRegExprError",
                                    L"scxMaskEditInvalidEditValue",
                                    L"scxMaskEditNoMask",
                                    L"scxMaskEditIllegalFileFormat",
                                    L"scxMaskEditEmptyMaskCollectionFile",
                                    L"scxMaskEditMaskCollectionFiles",
                                    L"cxSSpinEditInvalidNumericValue",
                                    L"sdxAlertWindowNavigationPanelDefaultDisplayMask",
                                    L"sdxAlertWindowPreviousMessage",
                                    L"sdxAlertWindowNextMessage",
                                    L"sdxAlertWindowPin",
                                    L"sdxAlertWindowClose",
                                    L"sdxAlertWindowDropdown",
                                    L"sdxBreadcrumbEditInvalidPath",
                                    L"sdxBreadcrumbEditInvalidStreamVersion",
                                    L"sdxColorGalleryThemeColors",
                                    L"sdxColorGalleryStandardColors",
                                    L"sdxColorDialogAddToCustomColors",
                                    L"sdxColorDialogApply",
                                    L"sdxColorDialogCancel",
                                    L"sdxColorDialogDefineCustomColor",
                                    L"sdxColorDialogBasicColors",
                                    L"sdxColorDialogCustomColors",
                                    L"sdxColorDialogCaption",
                                    L"scxShellBrowserDlgCaption",
                                    L"scxShellBrowserDlgCurrentFolderCaption",
                                    L"sdxColorPickerAlphaLabel",
                                    L"sdxColorPickerBlueLabel",
                                    L"sdxColorPickerGreenLabel",
                                    L"sdxColorPickerHexCodeLabel",
                                    L"sdxColorPickerHueLabel",
                                    L"sdxColorPickerLightnessLabel",
                                    L"sdxColorPickerRedLabel",
                                    L"sdxColorPickerSaturationLabel",
                                    L"sdxCameraDialogAssign",
                                    L"sdxCameraDialogCancel",
                                    L"sdxCameraDialogPause",
                                    L"sdxCameraDialogPlay",
                                    L"sdxCameraDialogCaption",
                                    L"sdxCameraInactive",
                                    L"sdxCameraRunning",
                                    L"sdxCameraPaused",
                                    L"sdxCameraNotDetected",
                                    L"sdxCameraInitializing",
                                    L"sdxCameraIsBusy",
                                    L"sdxCameraControlSettingsFormSettings",
                                    L"sdxCameraControlSettingsFormDevice",
                                    L"sdxCameraControlSettingsFormDevices",
                                    L"sdxCameraControlSettingsFormResolution",
                                    L"sdxCameraControlSettingsFormResolutions",
                                    L"sdxDefaultToggleSwitchOffText",
                                    L"sdxDefaultToggleSwitchOnText",
                                    L"sdxDateTimeWheelPickerHours",
                                    L"sdxDateTimeWheelPickerMinutes",
                                    L"sdxDateTimeWheelPickerSeconds",
                                    L"sdxSparklineNoData",
                                    L"sdxBarCodeInvalidCharactersError",
                                    L"sdxBarCodeInvalidTextFormatError",
                                    L"sdxBarCodeControlTooNarrowError",
                                    L"sdxTokenEditMoreTokensCaption",
                                    L"sdxTokenEditMoreTokensHint",
                                    L"sdxRangeControlRangeIsEmpty"};

const wchar_t* const EngineLimitNames[] = {L"scxRegExprTooLargeExpansion",
                                           L"scxRegExprTooDeepNesting"};

bool IsListed(const wchar_t* AName) {
  return std::any_of(std::begin(EditStrings), std::end(EditStrings),
                     [&](const TResStringCase& C) { return String(C.Name) == AName; });
}

TEST(EditStrings, ReadByRecordAndByName) { ExpectResStrings(cxEditorsProductName, EditStrings); }

// The whole range is taken, bar the identifiers that belong to other modules'
// blocks or to none, and each entry's text is in the string table.
TEST(EditStrings, EveryNameHasItsOwnIdentifierAndText) {
  TdxProductResourceStrings* Product = FindResStringProduct(cxEditorsProductName);
  ASSERT_NE(Product, nullptr);
  EXPECT_EQ(Product->ResStringsCount(),
            Integer(std::size(EditNames) + std::size(EngineLimitNames)));
  std::set<UINT> Identifiers;
  UINT LastUnlisted = 0;
  for (const wchar_t* Name : EditNames) {
    SCOPED_TRACE(testing::Message() << Name);
    Integer Index = Product->GetIndexByName(Name);
    ASSERT_GE(Index, 0);
    PResStringRec Rec = Product->ResStrings(Index);
    EXPECT_TRUE(Identifiers.insert(Rec->Identifier).second);
    // The entries whose identifiers are not prescribed take the free ones in
    // registration order.
    if (!IsListed(Name)) {
      EXPECT_GT(Rec->Identifier, LastUnlisted);
      LastUnlisted = Rec->Identifier;
    }
    String Text = cxGetResourceString(Rec);
    String N = Name;
    if (N == L"cxSEditCheckBoxGrayed" || N == L"cxSRadioGroupDefaultCaption")
      EXPECT_EQ(Text, L"");
    else
      EXPECT_FALSE(Text.empty());
    bool Multiline = N == L"sdxCameraIsBusy" || N == L"sdxTokenEditMoreTokensHint";
    size_t Break = Text.find(L"\r\n");
    EXPECT_EQ(Break != String::npos, Multiline);
    EXPECT_EQ(Text.find_first_of(L"\r\n", Multiline ? Break + 2 : 0), String::npos);
    if (N.starts_with(L"scxSEditRepository")) {
      size_t Bar = Text.find(L'|');
      ASSERT_NE(Bar, String::npos);
      EXPECT_GT(Bar, 0u);
      EXPECT_LT(Bar + 1, Text.size());
      EXPECT_EQ(Text.find(L'|', Bar + 1), String::npos);
    }
  }
  for (const wchar_t* Name : EngineLimitNames) {
    Integer Index = Product->GetIndexByName(Name);
    ASSERT_GE(Index, 0) << Name;
    Identifiers.insert(Product->ResStrings(Index)->Identifier);
  }
  // 64509 to 64511 belong to the filter control's texts, 64656 to 64659 to
  // the filter's; the engine's limits lie outside the range.
  std::set<UINT> Expected{64720, 64721};
  for (UINT Id = 64496; Id <= 64671; ++Id)
    if ((Id < 64509 || Id > 64511) && (Id < 64656 || Id > 64659)) Expected.insert(Id);
  EXPECT_EQ(Identifiers, Expected);
}

TEST(EditStrings, RegisteredOnFirstStartUpUntilLastShutDown) {
  // The test run's start-up has registered the product once already.
  cxEditConsts_Initialize();
  cxEditConsts_Finalize();
  ASSERT_NE(FindResStringProduct(cxEditorsProductName), nullptr);
  cxEditConsts_Finalize();
  EXPECT_EQ(FindResStringProduct(cxEditorsProductName), nullptr);
  EXPECT_EQ(dxResourceStringsRepository()->GetOriginalValue(L"cxSEditValueOutOfBounds"), L"");
  // The string table does not go away with the names.
  EXPECT_EQ(cxGetResourceString(&cxSEditValueOutOfBounds), L"Value out of bounds");
  cxEditConsts_Finalize();  // unbalanced: no effect
  cxEditConsts_Initialize();
  EXPECT_EQ(FindResStringProduct(cxEditorsProductName)->ResStringsCount(),
            Integer(std::size(EditNames) + std::size(EngineLimitNames)));
}

}  // namespace
