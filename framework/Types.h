// Integer geometry: the platform's POINT, SIZE and RECT under the framework's
// names, with the small constructors and tests the framework code uses.
#pragma once

#include "System.h"

using TPoint = POINT;
using TSize = SIZE;
using TRect = RECT;

inline TPoint Point(LONG AX, LONG AY) { return TPoint{AX, AY}; }
inline TSize Size(LONG ACX, LONG ACY) { return TSize{ACX, ACY}; }
inline TRect Rect(LONG ALeft, LONG ATop, LONG ARight, LONG ABottom) {
  return TRect{ALeft, ATop, ARight, ABottom};
}
inline TRect Bounds(LONG ALeft, LONG ATop, LONG AWidth, LONG AHeight) {
  return TRect{ALeft, ATop, ALeft + AWidth, ATop + AHeight};
}
inline LONG RectWidth(const TRect& R) { return R.right - R.left; }
inline LONG RectHeight(const TRect& R) { return R.bottom - R.top; }
inline bool PtInRect(const TRect& R, const TPoint& P) {
  return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom;
}
inline bool operator==(const TPoint& A, const TPoint& B) { return A.x == B.x && A.y == B.y; }
inline bool operator!=(const TPoint& A, const TPoint& B) { return !(A == B); }
inline bool operator==(const TSize& A, const TSize& B) { return A.cx == B.cx && A.cy == B.cy; }
inline bool operator!=(const TSize& A, const TSize& B) { return !(A == B); }
inline bool operator==(const TRect& A, const TRect& B) {
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}
inline bool operator!=(const TRect& A, const TRect& B) { return !(A == B); }
