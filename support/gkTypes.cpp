#include "gkTypes.h"
