// The text editor: its shareable settings, the native inner EDIT it edits in,
// the control, the view data and view info that draw its text whenever the
// inner edit is not showing it (and that every text-like editor derives
// from), the lookup list with its list box, and the filter helper.
#pragma once

#include "cxEdit.h"

class TcxCustomTextEditProperties;
class TcxTextEditPropertiesValues;
class TcxTextEditProperties;
class TcxCustomInnerTextEdit;
class TcxCustomInnerTextEditHelper;
class TcxCustomTextEditViewData;
class TcxCustomTextEditViewInfo;
class TcxCustomTextEditLookupData;
class TcxCustomEditListBox;
class TcxEditListBoxContainer;
class TcxCustomTextEdit;
class TcxTextEdit;
class TcxFilterTextEditHelper;

// ===========================================================================
// Module routines and number-text helpers
// ===========================================================================

// (end of module routines)

// ===========================================================================
// Properties
// ===========================================================================

// (end of properties)

// ===========================================================================
// Inner edit
// ===========================================================================

// (end of inner edit)

// ===========================================================================
// View data and view info
// ===========================================================================

// (end of view data and view info)

// ===========================================================================
// Lookup data and edit list box
// ===========================================================================

// (end of lookup data and edit list box)

// ===========================================================================
// Editor control
// ===========================================================================

// (end of editor control)

// ===========================================================================
// Filter helper
// ===========================================================================

// (end of filter helper)

// ===========================================================================
// Module start-up
// ===========================================================================

// (end of module start-up)
