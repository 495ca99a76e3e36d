// The extended editors' user-visible texts, registered with the
// resource-string repository under their own product name so that a
// translation can replace any of them by name, and the colour-name tables of
// the colour editors.
#pragma once

#ifndef RC_INVOKED
#include "dxCore.h"
#endif

// String-table identifiers (editors.rc), in registration order.
#define IDS_scxSEditRepositoryColorComboBoxItem 64448
#define IDS_scxSEditRepositoryColorEditItem 64449
#define IDS_scxSEditRepositoryFontNameComboBoxItem 64450
#define IDS_scxSEditRepositoryLabelItem 64451
#define IDS_scxSEditRepositoryProgressBarItem 64452
#define IDS_scxSEditRepositoryTrackBarItem 64453
#define IDS_scxSEditRepositoryRangeTrackBarItem 64454
#define IDS_scxSEditRepositorySpinButtonItem 64455
#define IDS_scxSEditRepositoryCheckComboBox 64456
#define IDS_scxSEditRepositoryShellComboBoxItem 64457
#define IDS_scxSEditRepositoryCheckGroupItem 64458
#define IDS_scxSEditRepositoryRatingControlItem 64459
#define IDS_scxUDAssociated 64460
#define IDS_scxHotZoneStyleMediaPlayer9 64461
#define IDS_scxHotZoneStyleMediaPlayer8 64462
#define IDS_scxHotZoneStyleXPTaskBar 64463
#define IDS_scxHotZoneStyleSimple 64432
#define IDS_scxLoadingFonts 64433
#define IDS_cxSEditCheckGroupCaptionStateDelimiter 64434
#define IDS_cxSEditCheckGroupFilterColumnSeparator 64435
#define IDS_cxSEditCheckGroupChecked 64436
#define IDS_cxSEditCheckGroupGrayed 64437
#define IDS_cxSEditCheckGroupUnchecked 64438
#define IDS_cxSCheckComboBoxStatesItemsPropertyDlgCaption 64439
#define IDS_cxSCheckControlIncorrectItemCount 64442
#define IDS_cxSCheckGroupStatesItemsPropertyDlgCaption 64440
#define IDS_cxSCheckComboBoxEmptySelectionText 64441
#define IDS_cxSColorComboBoxDefaultDescription 64443
#define IDS_cxSEditRichEditLibraryError 64444
#define IDS_cxSEditRichEditLineInsertionError 64445
#define IDS_cxSEditRichEditLoadFail 64446
#define IDS_cxSEditRichEditSaveFail 64447
#define IDS_cxSEditRichEditSelectionSaveFail 64416
#define IDS_cxSEditRichEditOleInterfaceFail 64417
#define IDS_cxSEditRichEditCallBackFail 64418
#define IDS_cxSEditRichEditLinkFail 64419
#define IDS_scxSEditRepositoryRichEditItem 64420
#define IDS_cxSEditRichEditUndoCaption 64421
#define IDS_cxSEditRichEditRedoCaption 64422
#define IDS_cxSEditRichEditCutCaption 64423
#define IDS_cxSEditRichEditCopyCaption 64424
#define IDS_cxSEditRichEditPasteCaption 64425
#define IDS_cxSEditRichEditDeleteCaption 64426
#define IDS_cxSEditRichEditSelectAllCaption 64427

#ifndef RC_INVOKED
// The product under which the extended editors' texts are registered.
extern const wchar_t* const cxExtEditorsProductName;

extern const TResStringRec scxSEditRepositoryColorComboBoxItem, scxSEditRepositoryColorEditItem,
    scxSEditRepositoryFontNameComboBoxItem, scxSEditRepositoryLabelItem,
    scxSEditRepositoryProgressBarItem, scxSEditRepositoryTrackBarItem,
    scxSEditRepositoryRangeTrackBarItem, scxSEditRepositorySpinButtonItem,
    scxSEditRepositoryCheckComboBox, scxSEditRepositoryShellComboBoxItem,
    scxSEditRepositoryCheckGroupItem, scxSEditRepositoryRatingControlItem, scxUDAssociated,
    scxHotZoneStyleMediaPlayer9, scxHotZoneStyleMediaPlayer8, scxHotZoneStyleXPTaskBar,
    scxHotZoneStyleSimple, scxLoadingFonts, cxSEditCheckGroupCaptionStateDelimiter,
    cxSEditCheckGroupFilterColumnSeparator, cxSEditCheckGroupChecked, cxSEditCheckGroupGrayed,
    cxSEditCheckGroupUnchecked, cxSCheckComboBoxStatesItemsPropertyDlgCaption,
    cxSCheckControlIncorrectItemCount, cxSCheckGroupStatesItemsPropertyDlgCaption,
    cxSCheckComboBoxEmptySelectionText, cxSColorComboBoxDefaultDescription,
    cxSEditRichEditLibraryError, cxSEditRichEditLineInsertionError, cxSEditRichEditLoadFail,
    cxSEditRichEditSaveFail, cxSEditRichEditSelectionSaveFail, cxSEditRichEditOleInterfaceFail,
    cxSEditRichEditCallBackFail, cxSEditRichEditLinkFail, scxSEditRepositoryRichEditItem,
    cxSEditRichEditUndoCaption, cxSEditRichEditRedoCaption, cxSEditRichEditCutCaption,
    cxSEditRichEditCopyCaption, cxSEditRichEditPasteCaption, cxSEditRichEditDeleteCaption,
    cxSEditRichEditSelectAllCaption;

// The platform's colour constants: the sixteen basic colours, four extra
// colours, then the system colours alphabetically.
extern const wchar_t* const cxRuntimeColorNames[52];
// The sixteen colour names of HTML 4.01 in the standard's order.
extern const wchar_t* const cxHTML4ColorNames[16];
// The X11 colour names of the web's colour keywords, alphabetically; one
// spelling per colour.
extern const wchar_t* const cxX11ColorNames[140];
// The same names ordered by hue, the greys last.
extern const wchar_t* const cxX11OrderedColorNames[140];

void cxExtEditConsts_Initialize();
void cxExtEditConsts_Finalize();
#endif
