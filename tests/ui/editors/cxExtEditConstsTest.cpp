#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ResourceStringTestSupport.h"
#include "SysUtils.h"
#include "cxExtEditConsts.h"

namespace {

const TResStringCase ExtEditStrings[] = {
    {L"scxSEditRepositoryColorComboBoxItem", &scxSEditRepositoryColorComboBoxItem, 64448,
     L"ColorComboBox|Represents a combo box to allow selection of a color"},
    {L"scxSEditRepositoryColorEditItem", &scxSEditRepositoryColorEditItem, 64449,
     L"ColorEdit|Represents an editor with a dropdown color gallery"},
    {L"scxSEditRepositoryFontNameComboBoxItem", &scxSEditRepositoryFontNameComboBoxItem, 64450,
     L"FontNameComboBox|Represents a combo box to allow selection of a font"},
    {L"scxSEditRepositoryLabelItem", &scxSEditRepositoryLabelItem, 64451,
     L"Label|Represents a label"},
    {L"scxSEditRepositoryProgressBarItem", &scxSEditRepositoryProgressBarItem, 64452,
     L"ProgressBar|Represents an advanced progress bar control"},
    {L"scxSEditRepositoryTrackBarItem", &scxSEditRepositoryTrackBarItem, 64453,
     L"TrackBar|Represents an editor that provides a slider to select a value on its bar"},
    {L"scxSEditRepositoryRangeTrackBarItem", &scxSEditRepositoryRangeTrackBarItem, 64454,
     L"RangeTrackBar|Represents an editor that provides two sliders to select a range of values on "
     L"its bar"},
    {L"scxSEditRepositorySpinButtonItem", &scxSEditRepositorySpinButtonItem, 64455,
     L"SpinButton|Represents a spin button"},
    {L"scxSEditRepositoryCheckComboBox", &scxSEditRepositoryCheckComboBox, 64456,
     L"CheckComboBox|Represents a combo box with a dropdown check list"},
    {L"scxSEditRepositoryShellComboBoxItem", &scxSEditRepositoryShellComboBoxItem, 64457,
     L"ShellComboBox|Represents a combo box with a dropdown shell tree view"},
    {L"scxSEditRepositoryCheckGroupItem", &scxSEditRepositoryCheckGroupItem, 64458,
     L"CheckGroup|Represents an editor that provides a set of check boxes"},
    {L"scxSEditRepositoryRatingControlItem", &scxSEditRepositoryRatingControlItem, 64459,
     L"RatingControl|Represents a rating control"},
    {L"scxUDAssociated", &scxUDAssociated, 64460, L" is already associated with "},
    {L"scxHotZoneStyleMediaPlayer9", &scxHotZoneStyleMediaPlayer9, 64461, L"MediaPlayer9"},
    {L"scxHotZoneStyleMediaPlayer8", &scxHotZoneStyleMediaPlayer8, 64462, L"MediaPlayer8"},
    {L"scxHotZoneStyleXPTaskBar", &scxHotZoneStyleXPTaskBar, 64463, L"XPTaskBar"},
    {L"scxHotZoneStyleSimple", &scxHotZoneStyleSimple, 64432, L"Simple"},
    {L"scxLoadingFonts", &scxLoadingFonts, 64433, L"Loading ..."},
    {L"cxSEditCheckGroupCaptionStateDelimiter", &cxSEditCheckGroupCaptionStateDelimiter, 64434,
     L": "},
    {L"cxSEditCheckGroupFilterColumnSeparator", &cxSEditCheckGroupFilterColumnSeparator, 64435,
     L"; "},
    {L"cxSEditCheckGroupChecked", &cxSEditCheckGroupChecked, 64436, L"Checked"},
    {L"cxSEditCheckGroupGrayed", &cxSEditCheckGroupGrayed, 64437, L"Grayed"},
    {L"cxSEditCheckGroupUnchecked", &cxSEditCheckGroupUnchecked, 64438, L"Unchecked"},
    {L"cxSCheckComboBoxStatesItemsPropertyDlgCaption",
     &cxSCheckComboBoxStatesItemsPropertyDlgCaption, 64439,
     L"cxCheckComboBox - CheckStates editor"},
    {L"cxSCheckControlIncorrectItemCount", &cxSCheckControlIncorrectItemCount, 64442,
     L"The number\x00A0of items cannot be greater than 64, if the EditValueFormat is cvfInteger"},
    {L"cxSCheckGroupStatesItemsPropertyDlgCaption", &cxSCheckGroupStatesItemsPropertyDlgCaption,
     64440, L"cxCheckGroup - CheckStates editor"},
    {L"cxSCheckComboBoxEmptySelectionText", &cxSCheckComboBoxEmptySelectionText, 64441,
     L"None selected"},
    {L"cxSColorComboBoxDefaultDescription", &cxSColorComboBoxDefaultDescription, 64443,
     L"Color not selected"},
    {L"cxSEditRichEditLibraryError", &cxSEditRichEditLibraryError, 64444,
     L"Cannot load a RichEdit library"},
    {L"cxSEditRichEditLineInsertionError", &cxSEditRichEditLineInsertionError, 64445,
     L"RichEdit line insertion error"},
    {L"cxSEditRichEditLoadFail", &cxSEditRichEditLoadFail, 64446, L"Failed to Load Stream"},
    {L"cxSEditRichEditSaveFail", &cxSEditRichEditSaveFail, 64447, L"Failed to Save Stream"},
    {L"cxSEditRichEditSelectionSaveFail", &cxSEditRichEditSelectionSaveFail, 64416,
     L"Failed to selection Save Stream"},
    {L"cxSEditRichEditOleInterfaceFail", &cxSEditRichEditOleInterfaceFail, 64417,
     L"RichEdit: failed to get IRichEditOle interface"},
    {L"cxSEditRichEditCallBackFail", &cxSEditRichEditCallBackFail, 64418,
     L"RichEdit: failed to set callback"},
    {L"cxSEditRichEditLinkFail", &cxSEditRichEditLinkFail, 64419,
     L"RichEdit: cannot link to an invalid source"},
    {L"scxSEditRepositoryRichEditItem", &scxSEditRepositoryRichEditItem, 64420,
     L"RichEdit|Represents an editor that provides rich text formatting capabilities"},
    {L"cxSEditRichEditUndoCaption", &cxSEditRichEditUndoCaption, 64421, L"&Undo"},
    {L"cxSEditRichEditRedoCaption", &cxSEditRichEditRedoCaption, 64422, L"&Redo"},
    {L"cxSEditRichEditCutCaption", &cxSEditRichEditCutCaption, 64423, L"Cu&t"},
    {L"cxSEditRichEditCopyCaption", &cxSEditRichEditCopyCaption, 64424, L"&Copy"},
    {L"cxSEditRichEditPasteCaption", &cxSEditRichEditPasteCaption, 64425, L"&Paste"},
    {L"cxSEditRichEditDeleteCaption", &cxSEditRichEditDeleteCaption, 64426, L"&Delete"},
    {L"cxSEditRichEditSelectAllCaption", &cxSEditRichEditSelectAllCaption, 64427, L"Select &All"},
};

TEST(ExtEditStrings, EveryTextByRecordAndByName) {
  ExpectResStrings(cxExtEditorsProductName, ExtEditStrings);
  EXPECT_EQ(FindResStringProduct(cxExtEditorsProductName)->ResStringsCount(),
            Integer(std::size(ExtEditStrings)));
}

TEST(ExtEditStrings, RegisteredOnFirstStartUpUntilLastShutDown) {
  // The test run's start-up has registered the product once already.
  cxExtEditConsts_Initialize();
  cxExtEditConsts_Finalize();
  ASSERT_NE(FindResStringProduct(cxExtEditorsProductName), nullptr);
  cxExtEditConsts_Finalize();
  EXPECT_EQ(FindResStringProduct(cxExtEditorsProductName), nullptr);
  EXPECT_EQ(dxResourceStringsRepository()->GetOriginalValue(L"scxSEditRepositoryLabelItem"), L"");
  EXPECT_EQ(cxGetResourceString(&scxSEditRepositoryLabelItem), L"Label|Represents a label");
  cxExtEditConsts_Finalize();  // unbalanced: no effect
  cxExtEditConsts_Initialize();
  EXPECT_EQ(FindResStringProduct(cxExtEditorsProductName)->ResStringsCount(),
            Integer(std::size(ExtEditStrings)));
}

template <size_t N>
std::vector<String> Names(const wchar_t* const (&ATable)[N]) {
  return std::vector<String>(std::begin(ATable), std::end(ATable));
}

TEST(ExtEditColorNames, TablesInTheirOrders) {
  const std::vector<String> Runtime = {L"clBlack",
                                       L"clMaroon",
                                       L"clGreen",
                                       L"clOlive",
                                       L"clNavy",
                                       L"clPurple",
                                       L"clTeal",
                                       L"clGray",
                                       L"clSilver",
                                       L"clRed",
                                       L"clLime",
                                       L"clYellow",
                                       L"clBlue",
                                       L"clFuchsia",
                                       L"clAqua",
                                       L"clWhite",
                                       L"clMoneyGreen",
                                       L"clSkyBlue",
                                       L"clCream",
                                       L"clMedGray",
                                       L"clActiveBorder",
                                       L"clActiveCaption",
                                       L"clAppWorkSpace",
                                       L"clBackground",
                                       L"clBtnFace",
                                       L"clBtnHighlight",
                                       L"clBtnShadow",
                                       L"clBtnText",
                                       L"clCaptionText",
                                       L"clDefault",
                                       L"clGradientActiveCaption",
                                       L"clGradientInactiveCaption",
                                       L"clGrayText",
                                       L"clHighlight",
                                       L"clHighlightText",
                                       L"clHotLight",
                                       L"clInactiveBorder",
                                       L"clInactiveCaption",
                                       L"clInactiveCaptionText",
                                       L"clInfoBk",
                                       L"clInfoText",
                                       L"clMenu",
                                       L"clMenuBar",
                                       L"clMenuHighlight",
                                       L"clMenuText",
                                       L"clNone",
                                       L"clScrollBar",
                                       L"cl3DDkShadow",
                                       L"cl3DLight",
                                       L"clWindow",
                                       L"clWindowFrame",
                                       L"clWindowText"};
  const std::vector<String> HTML4 = {
      L"Black", L"Silver", L"Gray",  L"White",  L"Maroon", L"Red",  L"Purple", L"Fuchsia",
      L"Green", L"Lime",   L"Olive", L"Yellow", L"Navy",   L"Blue", L"Teal",   L"Aqua"};
  const std::vector<String> X11ByHue = {L"LightPink",
                                        L"Pink",
                                        L"Crimson",
                                        L"LavenderBlush",
                                        L"PaleVioletRed",
                                        L"HotPink",
                                        L"DeepPink",
                                        L"MediumVioletRed",
                                        L"Orchid",
                                        L"Thistle",
                                        L"Plum",
                                        L"Violet",
                                        L"Magenta",
                                        L"Fuchsia",
                                        L"DarkMagenta",
                                        L"Purple",
                                        L"MediumOrchid",
                                        L"DarkViolet",
                                        L"DarkOrchid",
                                        L"Indigo",
                                        L"BlueViolet",
                                        L"MediumPurple",
                                        L"MediumSlateBlue",
                                        L"SlateBlue",
                                        L"DarkSlateBlue",
                                        L"Lavender",
                                        L"GhostWhite",
                                        L"Blue",
                                        L"MediumBlue",
                                        L"MidnightBlue",
                                        L"DarkBlue",
                                        L"Navy",
                                        L"RoyalBlue",
                                        L"CornflowerBlue",
                                        L"LightSteelBlue",
                                        L"LightSlateGray",
                                        L"SlateGray",
                                        L"DodgerBlue",
                                        L"AliceBlue",
                                        L"SteelBlue",
                                        L"LightSkyBlue",
                                        L"SkyBlue",
                                        L"DeepSkyBlue",
                                        L"LightBlue",
                                        L"PowderBlue",
                                        L"CadetBlue",
                                        L"Azure",
                                        L"LightCyan",
                                        L"PaleTurquoise",
                                        L"Cyan",
                                        L"Aqua",
                                        L"DarkTurquoise",
                                        L"DarkSlateGray",
                                        L"DarkCyan",
                                        L"Teal",
                                        L"MediumTurquoise",
                                        L"LightSeaGreen",
                                        L"Turquoise",
                                        L"Aquamarine",
                                        L"MediumAquamarine",
                                        L"MediumSpringGreen",
                                        L"MintCream",
                                        L"SpringGreen",
                                        L"MediumSeaGreen",
                                        L"SeaGreen",
                                        L"Honeydew",
                                        L"LightGreen",
                                        L"PaleGreen",
                                        L"DarkSeaGreen",
                                        L"LimeGreen",
                                        L"Lime",
                                        L"ForestGreen",
                                        L"Green",
                                        L"DarkGreen",
                                        L"Chartreuse",
                                        L"LawnGreen",
                                        L"GreenYellow",
                                        L"DarkOliveGreen",
                                        L"YellowGreen",
                                        L"OliveDrab",
                                        L"Beige",
                                        L"LightGoldenrodYellow",
                                        L"Ivory",
                                        L"LightYellow",
                                        L"Yellow",
                                        L"Olive",
                                        L"DarkKhaki",
                                        L"LemonChiffon",
                                        L"PaleGoldenrod",
                                        L"Khaki",
                                        L"Gold",
                                        L"Cornsilk",
                                        L"Goldenrod",
                                        L"DarkGoldenrod",
                                        L"FloralWhite",
                                        L"OldLace",
                                        L"Wheat",
                                        L"Moccasin",
                                        L"Orange",
                                        L"PapayaWhip",
                                        L"BlanchedAlmond",
                                        L"NavajoWhite",
                                        L"AntiqueWhite",
                                        L"Tan",
                                        L"BurlyWood",
                                        L"Bisque",
                                        L"DarkOrange",
                                        L"Linen",
                                        L"Peru",
                                        L"PeachPuff",
                                        L"SandyBrown",
                                        L"Chocolate",
                                        L"SaddleBrown",
                                        L"Seashell",
                                        L"Sienna",
                                        L"LightSalmon",
                                        L"Coral",
                                        L"OrangeRed",
                                        L"DarkSalmon",
                                        L"Tomato",
                                        L"MistyRose",
                                        L"Salmon",
                                        L"Snow",
                                        L"LightCoral",
                                        L"RosyBrown",
                                        L"IndianRed",
                                        L"Red",
                                        L"Brown",
                                        L"FireBrick",
                                        L"DarkRed",
                                        L"Maroon",
                                        L"White",
                                        L"WhiteSmoke",
                                        L"Gainsboro",
                                        L"LightGrey",
                                        L"Silver",
                                        L"DarkGray",
                                        L"Gray",
                                        L"DimGray",
                                        L"Black"};
  EXPECT_EQ(Names(cxRuntimeColorNames), Runtime);
  EXPECT_EQ(Names(cxHTML4ColorNames), HTML4);
  EXPECT_EQ(Names(cxX11OrderedColorNames), X11ByHue);
}

// The alphabetical table holds the names of the table by hue, each once, in
// alphabetical order whatever the letter case.
TEST(ExtEditColorNames, X11NamesAlphabetically) {
  std::vector<String> Alphabetical = Names(cxX11ColorNames);
  ASSERT_EQ(Alphabetical.size(), 140u);
  EXPECT_EQ(Alphabetical.front(), L"AliceBlue");
  EXPECT_EQ(Alphabetical.back(), L"YellowGreen");
  for (size_t I = 1; I < Alphabetical.size(); ++I)
    EXPECT_LT(CompareText(Alphabetical[I - 1], Alphabetical[I]), 0) << Alphabetical[I];
  std::vector<String> ByHue = Names(cxX11OrderedColorNames);
  std::sort(Alphabetical.begin(), Alphabetical.end());
  std::sort(ByHue.begin(), ByHue.end());
  EXPECT_EQ(Alphabetical, ByHue);
}

}  // namespace
