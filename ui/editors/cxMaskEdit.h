// The mask editor: a text editor whose input a standard mask or a regular
// expression guides; with an empty mask it behaves as the plain text editor.
#pragma once

#include "cxTextEdit.h"

class TcxCustomMaskEditProperties;
class TcxMaskEditProperties;
class TcxMaskEditCustomMode;
class TcxCustomMaskEdit;
class TcxMaskEdit;
