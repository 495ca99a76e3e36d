// The editors' user-visible texts, registered with the resource-string
// repository under the editors' product name. Holds the entries that the
// editors built so far read.
#pragma once

#ifndef RC_INVOKED
#include "dxCore.h"
#endif

// String-table identifiers (cxEditConsts.rc).
#define IDS_scxRegExprCantUseParameterQuantifier 64544
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
#define IDS_scxRegExprLine 64586
#define IDS_scxRegExprChar 64587
#define IDS_scxRegExprNotAssignedSourceStream 64588
#define IDS_scxRegExprEmptySourceStream 64589
#define IDS_scxRegExprCantUsePlusQuantifier 64590
#define IDS_scxRegExprCantUseStarQuantifier 64591
// The engine's own limits (cxRegExpr.h): identifiers of the editors' range
// that no other entry uses.
#define IDS_scxRegExprTooLargeExpansion 64509
#define IDS_scxRegExprTooDeepNesting 64510

#ifndef RC_INVOKED
// The product under which the editors' texts are registered.
extern const wchar_t* const cxEditorsProductName;

extern const TResStringRec scxRegExprLine, scxRegExprChar, scxRegExprNotAssignedSourceStream,
    scxRegExprEmptySourceStream, scxRegExprCantUsePlusQuantifier, scxRegExprCantUseStarQuantifier,
    scxRegExprCantCreateEmptyAlt, scxRegExprCantCreateEmptyBlock, scxRegExprIllegalSymbol,
    scxRegExprIllegalQuantifier, scxRegExprNotSupportQuantifier, scxRegExprIllegalIntegerValue,
    scxRegExprTooBigReferenceNumber, scxRegExprCantCreateEmptyEnum, scxRegExprSubrangeOrder,
    scxRegExprHexNumberExpected0, scxRegExprHexNumberExpected, scxRegExprMissing,
    scxRegExprUnnecessary, scxRegExprIncorrectSpace, scxRegExprNotCompiled,
    scxRegExprIncorrectParameterQuantifier, scxRegExprCantUseParameterQuantifier,
    scxRegExprTooLargeExpansion, scxRegExprTooDeepNesting;

void cxEditConsts_Initialize();
void cxEditConsts_Finalize();
#endif
