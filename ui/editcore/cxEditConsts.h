// The editor framework's and the editors' user-visible English texts,
// registered with the resource-string repository under the editors' product
// name so that a translation can replace any of them by name.
#pragma once

#ifndef RC_INVOKED
#include "dxCore.h"
#endif

// String-table identifiers (editcore.rc), in registration order. The last two
// are the regular-expression engine's own limits (cxRegExpr.h), placed on
// identifiers of the range that no other entry uses.
#define IDS_cxSEditButtonCancel 64660
#define IDS_cxSEditButtonOK 64661
#define IDS_cxSEditDateConvertError 64662
#define IDS_cxSEditInvalidRepositoryItem 64663
#define IDS_cxSEditNumericValueConvertError 64664
#define IDS_cxSEditPopupCircularReferencingError 64665
#define IDS_cxSEditPostError 64666
#define IDS_cxSEditTimeConvertError 64667
#define IDS_cxSEditValidateErrorText 64668
#define IDS_cxSEditValueOutOfBounds 64669
#define IDS_cxSEditCheckBoxChecked 64670
#define IDS_cxSEditCheckBoxGrayed 64671
#define IDS_cxSEditCheckBoxUnchecked 64640
#define IDS_cxSRadioGroupDefaultCaption 64641
#define IDS_cxSTextTrue 64642
#define IDS_cxSTextFalse 64643
#define IDS_cxSNoMatchesFound 64644
#define IDS_cxSBlobButtonOK 64496
#define IDS_cxSBlobButtonCancel 64497
#define IDS_cxSBlobButtonClose 64498
#define IDS_cxSBlobMemo 64499
#define IDS_cxSBlobMemoEmpty 64500
#define IDS_cxSBlobPicture 64501
#define IDS_cxSBlobPictureEmpty 64502
#define IDS_cxSMenuItemCaptionCut 64503
#define IDS_cxSMenuItemCaptionCopy 64504
#define IDS_cxSMenuItemCaptionPaste 64505
#define IDS_cxSMenuItemCaptionDelete 64506
#define IDS_cxSMenuItemCaptionLoad 64507
#define IDS_cxSMenuItemCaptionSave 64508
#define IDS_cxSMenuItemCaptionAssignFromWebCam 64512
#define IDS_cxSDatePopupClear 64513
#define IDS_cxSDatePopupNow 64514
#define IDS_cxSDatePopupOK 64515
#define IDS_cxSDatePopupToday 64516
#define IDS_cxSDatePopupCancel 64517
#define IDS_cxSDateError 64518
#define IDS_scxSCalcError 64519
#define IDS_scxSHyperLinkPrefix 64520
#define IDS_scxSHyperLinkDoubleSlash 64521
#define IDS_cxNavigatorHint_First 64522
#define IDS_cxNavigatorHint_Prior 64523
#define IDS_cxNavigatorHint_PriorPage 64524
#define IDS_cxNavigatorHint_Next 64525
#define IDS_cxNavigatorHint_NextPage 64526
#define IDS_cxNavigatorHint_Last 64527
#define IDS_cxNavigatorHint_Insert 64528
#define IDS_cxNavigatorHint_Append 64529
#define IDS_cxNavigatorHint_Delete 64530
#define IDS_cxNavigatorHint_Edit 64531
#define IDS_cxNavigatorHint_Post 64532
#define IDS_cxNavigatorHint_Cancel 64533
#define IDS_cxNavigatorHint_Refresh 64534
#define IDS_cxNavigatorHint_SaveBookmark 64535
#define IDS_cxNavigatorHint_GotoBookmark 64536
#define IDS_cxNavigatorHint_Filter 64537
#define IDS_cxNavigator_DeleteRecordQuestion 64538
#define IDS_cxNavigatorInfoPanelDefaultDisplayMask 64539
#define IDS_scxSEditRepositoryBlobItem 64540
#define IDS_scxSEditRepositoryButtonItem 64541
#define IDS_scxSEditRepositoryCalcItem 64542
#define IDS_scxSEditRepositoryCheckBoxItem 64595
#define IDS_scxSEditRepositoryComboBoxItem 64596
#define IDS_scxSEditRepositoryCurrencyItem 64543
#define IDS_scxSEditRepositoryDateItem 64547
#define IDS_scxSEditRepositoryHyperLinkItem 64548
#define IDS_scxSEditRepositoryImageComboBoxItem 64549
#define IDS_scxSEditRepositoryImageItem 64550
#define IDS_scxSEditRepositoryLookupComboBoxItem 64552
#define IDS_scxSEditRepositoryMaskItem 64603
#define IDS_scxSEditRepositoryMemoItem 64553
#define IDS_scxSEditRepositoryMRUItem 64554
#define IDS_scxSEditRepositoryPopupItem 64606
#define IDS_scxSEditRepositorySpinItem 64607
#define IDS_scxSEditRepositoryRadioGroupItem 64555
#define IDS_scxSEditRepositoryTextItem 64577
#define IDS_scxSEditRepositoryTimeItem 64556
#define IDS_scxSEditRepositoryToggleSwitchItem 64557
#define IDS_scxSEditRepositoryDateTimeWheelPickerItem 64558
#define IDS_scxSEditRepositorySparklineItem 64559
#define IDS_scxSEditRepositoryLookupSparklineItem 64576
#define IDS_scxSEditRepositoryBarCodeItem 64578
#define IDS_scxSEditRepositoryTokenItem 64579
#define IDS_scxSEditRepositoryNumericWheelPickerItem 64580
#define IDS_scxRegExprLine 64586
#define IDS_scxRegExprChar 64587
#define IDS_scxRegExprNotAssignedSourceStream 64588
#define IDS_scxRegExprEmptySourceStream 64589
#define IDS_scxRegExprCantUsePlusQuantifier 64590
#define IDS_scxRegExprCantUseStarQuantifier 64591
#define IDS_scxRegExprCantCreateEmptyAlt 64560
#define IDS_scxRegExprCantCreateEmptyBlock 64561
#define IDS_scxRegExprIllegalSymbol 64562
#define IDS_scxRegExprIllegalQuantifier 64563
#define IDS_scxRegExprNotSupportQuantifier 64564
#define IDS_scxRegExprIllegalIntegerValue 64565
#define IDS_scxRegExprTooBigReferenceNumber 64566
#define IDS_scxRegExprCantCreateEmptyEnum 64567
#define IDS_scxRegExprSubrangeOrder 64568
#define IDS_scxRegExprHexNumberExpected0 64569
#define IDS_scxRegExprHexNumberExpected 64570
#define IDS_scxRegExprMissing 64571
#define IDS_scxRegExprUnnecessary 64572
#define IDS_scxRegExprIncorrectSpace 64573
#define IDS_scxRegExprNotCompiled 64574
#define IDS_scxRegExprIncorrectParameterQuantifier 64575
#define IDS_scxRegExprCantUseParameterQuantifier 64544
#define IDS_scxMaskEditRegExprError 64545
#define IDS_scxMaskEditInvalidEditValue 64546
#define IDS_scxMaskEditNoMask 64581
#define IDS_scxMaskEditIllegalFileFormat 64582
#define IDS_scxMaskEditEmptyMaskCollectionFile 64583
#define IDS_scxMaskEditMaskCollectionFiles 64584
#define IDS_cxSSpinEditInvalidNumericValue 64551
#define IDS_sdxAlertWindowNavigationPanelDefaultDisplayMask 64585
#define IDS_sdxAlertWindowPreviousMessage 64592
#define IDS_sdxAlertWindowNextMessage 64593
#define IDS_sdxAlertWindowPin 64594
#define IDS_sdxAlertWindowClose 64597
#define IDS_sdxAlertWindowDropdown 64598
#define IDS_sdxBreadcrumbEditInvalidPath 64599
#define IDS_sdxBreadcrumbEditInvalidStreamVersion 64600
#define IDS_sdxColorGalleryThemeColors 64601
#define IDS_sdxColorGalleryStandardColors 64602
#define IDS_sdxColorDialogAddToCustomColors 64604
#define IDS_sdxColorDialogApply 64605
#define IDS_sdxColorDialogCancel 64608
#define IDS_sdxColorDialogDefineCustomColor 64609
#define IDS_sdxColorDialogBasicColors 64610
#define IDS_sdxColorDialogCustomColors 64611
#define IDS_sdxColorDialogCaption 64612
#define IDS_scxShellBrowserDlgCaption 64613
#define IDS_scxShellBrowserDlgCurrentFolderCaption 64614
#define IDS_sdxColorPickerAlphaLabel 64615
#define IDS_sdxColorPickerBlueLabel 64616
#define IDS_sdxColorPickerGreenLabel 64617
#define IDS_sdxColorPickerHexCodeLabel 64618
#define IDS_sdxColorPickerHueLabel 64619
#define IDS_sdxColorPickerLightnessLabel 64620
#define IDS_sdxColorPickerRedLabel 64621
#define IDS_sdxColorPickerSaturationLabel 64622
#define IDS_sdxCameraDialogAssign 64623
#define IDS_sdxCameraDialogCancel 64624
#define IDS_sdxCameraDialogPause 64625
#define IDS_sdxCameraDialogPlay 64626
#define IDS_sdxCameraDialogCaption 64627
#define IDS_sdxCameraInactive 64628
#define IDS_sdxCameraRunning 64629
#define IDS_sdxCameraPaused 64630
#define IDS_sdxCameraNotDetected 64631
#define IDS_sdxCameraInitializing 64632
#define IDS_sdxCameraIsBusy 64633
#define IDS_sdxCameraControlSettingsFormSettings 64634
#define IDS_sdxCameraControlSettingsFormDevice 64635
#define IDS_sdxCameraControlSettingsFormDevices 64636
#define IDS_sdxCameraControlSettingsFormResolution 64637
#define IDS_sdxCameraControlSettingsFormResolutions 64638
#define IDS_sdxDefaultToggleSwitchOffText 64639
#define IDS_sdxDefaultToggleSwitchOnText 64645
#define IDS_sdxDateTimeWheelPickerHours 64646
#define IDS_sdxDateTimeWheelPickerMinutes 64647
#define IDS_sdxDateTimeWheelPickerSeconds 64648
#define IDS_sdxSparklineNoData 64649
#define IDS_sdxBarCodeInvalidCharactersError 64650
#define IDS_sdxBarCodeInvalidTextFormatError 64651
#define IDS_sdxBarCodeControlTooNarrowError 64652
#define IDS_sdxTokenEditMoreTokensCaption 64653
#define IDS_sdxTokenEditMoreTokensHint 64654
#define IDS_sdxRangeControlRangeIsEmpty 64655
#define IDS_scxRegExprTooLargeExpansion 64720
#define IDS_scxRegExprTooDeepNesting 64721

#ifndef RC_INVOKED
// The product under which the editors' texts are registered.
extern const wchar_t* const cxEditorsProductName;

extern const TResStringRec cxSEditButtonCancel, cxSEditButtonOK, cxSEditDateConvertError,
    cxSEditInvalidRepositoryItem, cxSEditNumericValueConvertError,
    cxSEditPopupCircularReferencingError, cxSEditPostError, cxSEditTimeConvertError,
    cxSEditValidateErrorText, cxSEditValueOutOfBounds, cxSEditCheckBoxChecked,
    cxSEditCheckBoxGrayed, cxSEditCheckBoxUnchecked, cxSRadioGroupDefaultCaption, cxSTextTrue,
    cxSTextFalse, cxSNoMatchesFound, cxSBlobButtonOK, cxSBlobButtonCancel, cxSBlobButtonClose,
    cxSBlobMemo, cxSBlobMemoEmpty, cxSBlobPicture, cxSBlobPictureEmpty, cxSMenuItemCaptionCut,
    cxSMenuItemCaptionCopy, cxSMenuItemCaptionPaste, cxSMenuItemCaptionDelete,
    cxSMenuItemCaptionLoad, cxSMenuItemCaptionSave, cxSMenuItemCaptionAssignFromWebCam,
    cxSDatePopupClear, cxSDatePopupNow, cxSDatePopupOK, cxSDatePopupToday, cxSDatePopupCancel,
    cxSDateError, scxSCalcError, scxSHyperLinkPrefix, scxSHyperLinkDoubleSlash,
    cxNavigatorHint_First, cxNavigatorHint_Prior, cxNavigatorHint_PriorPage, cxNavigatorHint_Next,
    cxNavigatorHint_NextPage, cxNavigatorHint_Last, cxNavigatorHint_Insert, cxNavigatorHint_Append,
    cxNavigatorHint_Delete, cxNavigatorHint_Edit, cxNavigatorHint_Post, cxNavigatorHint_Cancel,
    cxNavigatorHint_Refresh, cxNavigatorHint_SaveBookmark, cxNavigatorHint_GotoBookmark,
    cxNavigatorHint_Filter, cxNavigator_DeleteRecordQuestion,
    cxNavigatorInfoPanelDefaultDisplayMask, scxSEditRepositoryBlobItem,
    scxSEditRepositoryButtonItem, scxSEditRepositoryCalcItem, scxSEditRepositoryCheckBoxItem,
    scxSEditRepositoryComboBoxItem, scxSEditRepositoryCurrencyItem, scxSEditRepositoryDateItem,
    scxSEditRepositoryHyperLinkItem, scxSEditRepositoryImageComboBoxItem,
    scxSEditRepositoryImageItem, scxSEditRepositoryLookupComboBoxItem, scxSEditRepositoryMaskItem,
    scxSEditRepositoryMemoItem, scxSEditRepositoryMRUItem, scxSEditRepositoryPopupItem,
    scxSEditRepositorySpinItem, scxSEditRepositoryRadioGroupItem, scxSEditRepositoryTextItem,
    scxSEditRepositoryTimeItem, scxSEditRepositoryToggleSwitchItem,
    scxSEditRepositoryDateTimeWheelPickerItem, scxSEditRepositorySparklineItem,
    scxSEditRepositoryLookupSparklineItem, scxSEditRepositoryBarCodeItem,
    scxSEditRepositoryTokenItem, scxSEditRepositoryNumericWheelPickerItem, scxRegExprLine,
    scxRegExprChar, scxRegExprNotAssignedSourceStream, scxRegExprEmptySourceStream,
    scxRegExprCantUsePlusQuantifier, scxRegExprCantUseStarQuantifier, scxRegExprCantCreateEmptyAlt,
    scxRegExprCantCreateEmptyBlock, scxRegExprIllegalSymbol, scxRegExprIllegalQuantifier,
    scxRegExprNotSupportQuantifier, scxRegExprIllegalIntegerValue, scxRegExprTooBigReferenceNumber,
    scxRegExprCantCreateEmptyEnum, scxRegExprSubrangeOrder, scxRegExprHexNumberExpected0,
    scxRegExprHexNumberExpected, scxRegExprMissing, scxRegExprUnnecessary, scxRegExprIncorrectSpace,
    scxRegExprNotCompiled, scxRegExprIncorrectParameterQuantifier,
    scxRegExprCantUseParameterQuantifier, scxMaskEditRegExprError, scxMaskEditInvalidEditValue,
    scxMaskEditNoMask, scxMaskEditIllegalFileFormat, scxMaskEditEmptyMaskCollectionFile,
    scxMaskEditMaskCollectionFiles, cxSSpinEditInvalidNumericValue,
    sdxAlertWindowNavigationPanelDefaultDisplayMask, sdxAlertWindowPreviousMessage,
    sdxAlertWindowNextMessage, sdxAlertWindowPin, sdxAlertWindowClose, sdxAlertWindowDropdown,
    sdxBreadcrumbEditInvalidPath, sdxBreadcrumbEditInvalidStreamVersion, sdxColorGalleryThemeColors,
    sdxColorGalleryStandardColors, sdxColorDialogAddToCustomColors, sdxColorDialogApply,
    sdxColorDialogCancel, sdxColorDialogDefineCustomColor, sdxColorDialogBasicColors,
    sdxColorDialogCustomColors, sdxColorDialogCaption, scxShellBrowserDlgCaption,
    scxShellBrowserDlgCurrentFolderCaption, sdxColorPickerAlphaLabel, sdxColorPickerBlueLabel,
    sdxColorPickerGreenLabel, sdxColorPickerHexCodeLabel, sdxColorPickerHueLabel,
    sdxColorPickerLightnessLabel, sdxColorPickerRedLabel, sdxColorPickerSaturationLabel,
    sdxCameraDialogAssign, sdxCameraDialogCancel, sdxCameraDialogPause, sdxCameraDialogPlay,
    sdxCameraDialogCaption, sdxCameraInactive, sdxCameraRunning, sdxCameraPaused,
    sdxCameraNotDetected, sdxCameraInitializing, sdxCameraIsBusy,
    sdxCameraControlSettingsFormSettings, sdxCameraControlSettingsFormDevice,
    sdxCameraControlSettingsFormDevices, sdxCameraControlSettingsFormResolution,
    sdxCameraControlSettingsFormResolutions, sdxDefaultToggleSwitchOffText,
    sdxDefaultToggleSwitchOnText, sdxDateTimeWheelPickerHours, sdxDateTimeWheelPickerMinutes,
    sdxDateTimeWheelPickerSeconds, sdxSparklineNoData, sdxBarCodeInvalidCharactersError,
    sdxBarCodeInvalidTextFormatError, sdxBarCodeControlTooNarrowError,
    sdxTokenEditMoreTokensCaption, sdxTokenEditMoreTokensHint, sdxRangeControlRangeIsEmpty,
    scxRegExprTooLargeExpansion, scxRegExprTooDeepNesting;

void cxEditConsts_Initialize();
void cxEditConsts_Finalize();
#endif
