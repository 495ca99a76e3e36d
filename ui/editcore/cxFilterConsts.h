// The filter vocabulary's user-visible texts (operators, date periods,
// expression words and drop-down captions), registered by name with the
// resource-string repository so that a translation can replace them.
#pragma once

#ifndef RC_INVOKED
#include "dxCore.h"
#endif

// String-table identifiers (editcore.rc).
#define IDS_cxSFilterOperatorEqual 64706
#define IDS_cxSFilterOperatorNotEqual 64707
#define IDS_cxSFilterOperatorLess 64708
#define IDS_cxSFilterOperatorLessEqual 64709
#define IDS_cxSFilterOperatorGreater 64710
#define IDS_cxSFilterOperatorGreaterEqual 64711
#define IDS_cxSFilterOperatorLike 64712
#define IDS_cxSFilterOperatorNotLike 64713
#define IDS_cxSFilterOperatorBetween 64714
#define IDS_cxSFilterOperatorNotBetween 64715
#define IDS_cxSFilterOperatorInList 64716
#define IDS_cxSFilterOperatorNotInList 64717
#define IDS_cxSFilterOperatorYesterday 64718
#define IDS_cxSFilterOperatorToday 64719
#define IDS_cxSFilterOperatorTomorrow 64688
#define IDS_cxSFilterOperatorLast7Days 64689
#define IDS_cxSFilterOperatorLastWeek 64690
#define IDS_cxSFilterOperatorLast14Days 64691
#define IDS_cxSFilterOperatorLastTwoWeeks 64692
#define IDS_cxSFilterOperatorLast30Days 64693
#define IDS_cxSFilterOperatorLastMonth 64694
#define IDS_cxSFilterOperatorLastYear 64695
#define IDS_cxSFilterOperatorPast 64696
#define IDS_cxSFilterOperatorThisWeek 64697
#define IDS_cxSFilterOperatorThisMonth 64698
#define IDS_cxSFilterOperatorThisYear 64699
#define IDS_cxSFilterOperatorNext7Days 64700
#define IDS_cxSFilterOperatorNextWeek 64701
#define IDS_cxSFilterOperatorNext14Days 64702
#define IDS_cxSFilterOperatorNextTwoWeeks 64703
#define IDS_cxSFilterOperatorNext30Days 64672
#define IDS_cxSFilterOperatorNextMonth 64673
#define IDS_cxSFilterOperatorNextYear 64674
#define IDS_cxSFilterOperatorFuture 64675
#define IDS_cxSFilterAndCaption 64676
#define IDS_cxSFilterOrCaption 64677
#define IDS_cxSFilterNotCaption 64678
#define IDS_cxSFilterBlankCaption 64679
#define IDS_cxSFilterOperatorIsNull 64680
#define IDS_cxSFilterOperatorIsNotNull 64681
#define IDS_cxSFilterOperatorBeginsWith 64682
#define IDS_cxSFilterOperatorDoesNotBeginWith 64683
#define IDS_cxSFilterOperatorEndsWith 64684
#define IDS_cxSFilterOperatorDoesNotEndWith 64685
#define IDS_cxSFilterOperatorContains 64686
#define IDS_cxSFilterOperatorDoesNotContain 64687
#define IDS_cxSFilterBoxAllCaption 64656
#define IDS_cxSFilterBoxCustomCaption 64657
#define IDS_cxSFilterBoxBlanksCaption 64658
#define IDS_cxSFilterBoxNonBlanksCaption 64659

#ifndef RC_INVOKED
// The product under which these texts are registered.
extern const wchar_t* const cxFilterProductName;

extern const TResStringRec cxSFilterOperatorEqual, cxSFilterOperatorNotEqual, cxSFilterOperatorLess,
    cxSFilterOperatorLessEqual, cxSFilterOperatorGreater, cxSFilterOperatorGreaterEqual,
    cxSFilterOperatorLike, cxSFilterOperatorNotLike, cxSFilterOperatorBetween,
    cxSFilterOperatorNotBetween, cxSFilterOperatorInList, cxSFilterOperatorNotInList,
    cxSFilterOperatorYesterday, cxSFilterOperatorToday, cxSFilterOperatorTomorrow,
    cxSFilterOperatorLast7Days, cxSFilterOperatorLastWeek, cxSFilterOperatorLast14Days,
    cxSFilterOperatorLastTwoWeeks, cxSFilterOperatorLast30Days, cxSFilterOperatorLastMonth,
    cxSFilterOperatorLastYear, cxSFilterOperatorPast, cxSFilterOperatorThisWeek,
    cxSFilterOperatorThisMonth, cxSFilterOperatorThisYear, cxSFilterOperatorNext7Days,
    cxSFilterOperatorNextWeek, cxSFilterOperatorNext14Days, cxSFilterOperatorNextTwoWeeks,
    cxSFilterOperatorNext30Days, cxSFilterOperatorNextMonth, cxSFilterOperatorNextYear,
    cxSFilterOperatorFuture, cxSFilterAndCaption, cxSFilterOrCaption, cxSFilterNotCaption,
    cxSFilterBlankCaption, cxSFilterOperatorIsNull, cxSFilterOperatorIsNotNull,
    cxSFilterOperatorBeginsWith, cxSFilterOperatorDoesNotBeginWith, cxSFilterOperatorEndsWith,
    cxSFilterOperatorDoesNotEndWith, cxSFilterOperatorContains, cxSFilterOperatorDoesNotContain,
    cxSFilterBoxAllCaption, cxSFilterBoxCustomCaption, cxSFilterBoxBlanksCaption,
    cxSFilterBoxNonBlanksCaption;

// How the filter vocabulary reads its texts: empty until the editor base's
// start-up points it at cxGetResourceString.
using TcxFilterGetResourceStringFunc = String (*)(PResStringRec AResString);
extern TcxFilterGetResourceStringFunc cxFilterGetResourceStringFunc;

void cxFilterConsts_Initialize();
void cxFilterConsts_Finalize();
#endif
