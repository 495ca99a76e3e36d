// The drop-down editors: the editor popup window, the drop-down editor with
// its appearance, the combo box with its list and popup sizing, and the
// popup edit that shows any control in the drop-down window.
#pragma once

#include "cxMaskEdit.h"

class TcxCustomEditPopupWindow;
class TcxCustomEditPopupWindowViewInfo;
class TcxCustomDropDownEditProperties;
class TcxCustomDropDownEdit;
class TcxCustomDropDownEditViewData;
class TcxCustomDropDownInnerEdit;
class TcxEditPopupControlLookAndFeel;
class TcxCustomComboBoxProperties;
class TcxComboBoxProperties;
class TcxCustomComboBox;
class TcxComboBox;
class TcxComboBoxLookupData;
class TcxComboBoxPopupWindow;
class TcxCustomPopupEditProperties;
class TcxPopupEditProperties;
class TcxCustomPopupEdit;
class TcxPopupEdit;

// ===========================================================================
// Editor popup window
// ===========================================================================

// (end of editor popup window)

// ===========================================================================
// Drop-down editor and its appearance
// ===========================================================================

// (end of drop-down editor)

// ===========================================================================
// Combo box, its list and popup sizing
// ===========================================================================

// (end of combo box)

// ===========================================================================
// Popup edit
// ===========================================================================

// (end of popup edit)

// ===========================================================================
// Module start-up
// ===========================================================================

// (end of module start-up)
