#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "EditPaintTestSupport.h"
#include "cxEditPaintUtils.h"

namespace {

TColor Color(int I) { return static_cast<TColor>(RGB(I % 256, (I / 256) % 256, 77)); }

// The colour a brush paints with; -1 when the handle is no brush (any more).
long long BrushColor(HBRUSH ABrush) {
  if (GetObjectType(ABrush) != OBJ_BRUSH) return -1;
  LOGBRUSH L{};
  GetObjectW(ABrush, sizeof(L), &L);
  return L.lbColor;
}

// Handles what is posted to this thread, as the message loop does between
// two messages.
void ReachSafePoint() {
  MSG M;
  while (PeekMessageW(&M, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&M);
    DispatchMessageW(&M);
  }
}

TEST(SolidBrushes, SystemColoursUseTheSystemsBrushes) {
  TcxSolidBrushCache* Cache = cxSolidBrushCache();
  ASSERT_NE(Cache, nullptr);
  Integer Depth = Cache->Depth();
  EXPECT_EQ(GetSolidBrush(clBtnFace), GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(GetSolidBrush(cxSysColorPrefix), GetSysColorBrush(0));
  EXPECT_EQ(GetSolidBrush(static_cast<TColor>(0xFF00001E)), GetSysColorBrush(30));
  EXPECT_EQ(Cache->Depth(), Depth);
  EXPECT_FALSE(Cache->Contains(clBtnFace));
  // Past the system brushes a system colour is cached like any other.
  HBRUSH Beyond = GetSolidBrush(static_cast<TColor>(0xFF00001F));
  EXPECT_EQ(BrushColor(Beyond),
            static_cast<long long>(dxColorToRGB(static_cast<TColor>(0xFF00001F))));
  EXPECT_TRUE(Cache->Contains(static_cast<TColor>(0xFF00001F)));
}

TEST(SolidBrushes, OneBrushPerColour) {
  TOwned<TcxSolidBrushCache> Cache(Create<TcxSolidBrushCache>(8));
  HBRUSH Red = Cache->GetBrush(clRed);
  EXPECT_EQ(BrushColor(Red), RGB(255, 0, 0));
  EXPECT_EQ(Cache->GetBrush(clRed), Red);
  EXPECT_NE(Cache->GetBrush(clBlue), Red);
  EXPECT_EQ(Cache->Depth(), 2);
}

// A full cache gives up the first of its rarest colours (in colour order),
// where one requested once goes before any requested again.
TEST(SolidBrushes, EvictionOrder) {
  struct TCase {
    const char* Name;
    std::vector<int> RequestedAgain;  // of colours 0..127
    int Evicted;
  } Cases[] = {
      {"all once: the first", {}, 0},
      {"all but one twice",
       [] {
         std::vector<int> V;
         for (int I = 0; I < 128; ++I)
           if (I != 50) V.push_back(I);
         return V;
       }(),
       50},
      {"the first twice", {0}, 1},
  };
  for (const TCase& C : Cases) {
    TOwned<TcxSolidBrushCache> Cache(Create<TcxSolidBrushCache>());
    ASSERT_EQ(Cache->MaxDepth(), 128);
    // Requested out of order: the cache keeps them by colour.
    for (int I = 127; I >= 0; --I) Cache->GetBrush(Color(I));
    for (int I : C.RequestedAgain) Cache->GetBrush(Color(I));
    Cache->GetBrush(Color(500));
    EXPECT_EQ(Cache->Depth(), 128) << C.Name;
    for (int I = 0; I < 128; ++I)
      EXPECT_EQ(Cache->Contains(Color(I)), I != C.Evicted) << C.Name << " " << I;
    EXPECT_TRUE(Cache->Contains(Color(500))) << C.Name;
  }
}

// The brush just created has the smallest count, so the next miss evicts
// it; whoever asked for it may still be painting with it.
TEST(SolidBrushes, ABrushHandedOutOutlivesItsEviction) {
  TOwned<TcxSolidBrushCache> Cache(Create<TcxSolidBrushCache>(2));
  Cache->GetBrush(Color(1));
  Cache->GetBrush(Color(1));
  Cache->GetBrush(Color(2));
  Cache->GetBrush(Color(2));
  HBRUSH Fresh = Cache->GetBrush(Color(3));  // evicts a colour requested twice
  HBRUSH Next = Cache->GetBrush(Color(4));   // evicts the fresh one
  EXPECT_FALSE(Cache->Contains(Color(3)));
  EXPECT_EQ(Cache->RetiredCount(), 2);
  auto B = Painted(2, 1, [&](TcxCanvas* C) {
    RECT R{0, 0, 1, 1}, S{1, 0, 2, 1};
    FillRect(C->Handle(), &R, Fresh);
    FillRect(C->Handle(), &S, Next);
  });
  EXPECT_EQ(PixelOf(B.get(), 0, 0), static_cast<COLORREF>(Color(3)));
  EXPECT_EQ(PixelOf(B.get(), 1, 0), static_cast<COLORREF>(Color(4)));
  ReachSafePoint();
  EXPECT_EQ(Cache->RetiredCount(), 0);
  EXPECT_EQ(BrushColor(Fresh), -1);
  EXPECT_EQ(BrushColor(Next), static_cast<long long>(Color(4)));
}

// A paint that never returns to the message loop (an export drawing many
// cells in many colours) misses on and on; the brushes waiting for the safe
// point must not grow without end and exhaust the process's GDI handles.
TEST(SolidBrushes, RetiredBrushesStayBoundedWithoutASafePoint) {
  TOwned<TcxSolidBrushCache> Cache(Create<TcxSolidBrushCache>(2));
  const int Requests = 5000;
  std::vector<HBRUSH> Handed;
  // Rising colours: each miss evicts the oldest entry.
  for (int I = 0; I < Requests; ++I) Handed.push_back(Cache->GetBrush(Color(I)));
  EXPECT_EQ(Cache->RetiredCount(), Cache->MaxRetired());
  // The brushes handed out last are all still there; the older ones are gone.
  const int Alive = Cache->MaxRetired() + Cache->MaxDepth();
  for (int I = Requests - Alive; I < Requests; ++I)
    EXPECT_EQ(BrushColor(Handed[I]), static_cast<long long>(Color(I))) << I;
  // Gone (its handle may already name a newer brush of another colour).
  EXPECT_NE(BrushColor(Handed[Requests - Alive - 1]),
            static_cast<long long>(Color(Requests - Alive - 1)));
  ReachSafePoint();
  EXPECT_EQ(Cache->RetiredCount(), 0);
}

TEST(SolidBrushes, PaletteChangeEmptiesTheSharedCache) {
  TcxSolidBrushCache* Cache = cxSolidBrushCache();
  ASSERT_NE(Cache, nullptr);
  TColor Odd = static_cast<TColor>(RGB(13, 17, 19));
  HBRUSH Before = GetSolidBrush(Odd);
  ASSERT_GT(Cache->Depth(), 0);
  ASSERT_NE(cxSystemPaletteChangedListenerHandle(), nullptr);
  SendMessageW(cxSystemPaletteChangedListenerHandle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(Cache->Depth(), 0);
  EXPECT_EQ(BrushColor(Before), RGB(13, 17, 19));  // still usable until the safe point
  HBRUSH After = GetSolidBrush(Odd);
  EXPECT_NE(After, Before);
  EXPECT_EQ(Cache->Depth(), 1);
  EXPECT_EQ(GetSolidBrush(clWindow), GetSysColorBrush(COLOR_WINDOW));
  ReachSafePoint();
  EXPECT_EQ(BrushColor(Before), -1);
  EXPECT_EQ(BrushColor(After), RGB(13, 17, 19));
}

TEST(SolidBrushes, FreeingTheCacheDeletesAllItsBrushes) {
  TOwned<TcxSolidBrushCache> Cache(Create<TcxSolidBrushCache>(1));
  HBRUSH Evicted = Cache->GetBrush(Color(1));
  HBRUSH Kept = Cache->GetBrush(Color(2));
  ASSERT_EQ(BrushColor(Evicted), static_cast<long long>(Color(1)));
  Cache.reset();
  EXPECT_EQ(BrushColor(Evicted), -1);
  EXPECT_EQ(BrushColor(Kept), -1);
  ReachSafePoint();  // the posted safe point finds no cache and does no harm
}

// The shared cache lives from the first start-up to the last shut-down and
// is not made again by a late request.
TEST(SolidBrushes, SharedCacheFollowsTheModulesLifetime) {
  cxEditPaintUtils_Initialize();  // a second start: the same cache
  TcxSolidBrushCache* Cache = cxSolidBrushCache();
  cxEditPaintUtils_Finalize();
  EXPECT_EQ(cxSolidBrushCache(), Cache);
  HBRUSH Kept = GetSolidBrush(static_cast<TColor>(RGB(21, 22, 23)));
  cxEditPaintUtils_Finalize();
  EXPECT_EQ(cxSolidBrushCache(), nullptr);
  EXPECT_EQ(GetSolidBrush(static_cast<TColor>(RGB(21, 22, 23))), nullptr);
  EXPECT_EQ(GetSolidBrush(clBtnFace), nullptr);
  EXPECT_EQ(cxSolidBrushCache(), nullptr);
  EXPECT_EQ(BrushColor(Kept), -1);
  cxEditPaintUtils_Finalize();  // unbalanced: no effect
  cxEditPaintUtils_Initialize();
  ASSERT_NE(cxSolidBrushCache(), nullptr);
  EXPECT_EQ(GetSolidBrush(clBtnFace), GetSysColorBrush(COLOR_BTNFACE));
}

// An eviction in front of the new colour's place moves that place down:
// the cache stays in colour order and every kept colour is found again.
TEST(SolidBrushes, EvictionBeforeTheNewPlaceKeepsTheOrder) {
  TOwned<TcxSolidBrushCache> Cache(Create<TcxSolidBrushCache>(3));
  HBRUSH B2 = Cache->GetBrush(Color(2)), B3 = Cache->GetBrush(Color(3));
  Cache->GetBrush(Color(1));
  HBRUSH B4 = Cache->GetBrush(Color(4));  // evicts colour 1, the first of the rarest
  EXPECT_FALSE(Cache->Contains(Color(1)));
  EXPECT_EQ(Cache->GetBrush(Color(2)), B2);
  EXPECT_EQ(Cache->GetBrush(Color(3)), B3);
  EXPECT_EQ(Cache->GetBrush(Color(4)), B4);
  // All three asked for again once: the first goes, and the new colour takes
  // its place at the front.
  HBRUSH B0 = Cache->GetBrush(Color(0));
  EXPECT_EQ(BrushColor(B0), static_cast<long long>(Color(0)));
  EXPECT_FALSE(Cache->Contains(Color(2)));
  EXPECT_EQ(Cache->GetBrush(Color(3)), B3);
  EXPECT_EQ(Cache->GetBrush(Color(4)), B4);
  EXPECT_EQ(Cache->GetBrush(Color(0)), B0);
  EXPECT_EQ(Cache->Depth(), 3);
}

// The evicted entry and the new one on either side of each other, with
// entries between them: those move by one and are all found again by the
// search, with the brushes they had.
TEST(SolidBrushes, EvictionAcrossOtherEntriesKeepsTheOrder) {
  struct TCase {
    const char* Name;
    int Once;  // of colours 2, 4, 6, 8: the one requested only once
    int New;   // the colour that comes in
  } const Cases[] = {{"evicted before the new place", 2, 7},
                     {"evicted after the new place", 8, 3},
                     {"evicted at the new place", 4, 3},
                     {"new at the front", 6, 1},
                     {"new at the end", 2, 9}};
  for (const TCase& C : Cases) {
    TOwned<TcxSolidBrushCache> Cache(Create<TcxSolidBrushCache>(4));
    std::vector<std::pair<int, HBRUSH>> Kept;
    for (int I : {2, 4, 6, 8}) {
      HBRUSH B = Cache->GetBrush(Color(I));
      if (I != C.Once) {
        Cache->GetBrush(Color(I));
        Kept.emplace_back(I, B);
      }
    }
    HBRUSH New = Cache->GetBrush(Color(C.New));
    EXPECT_FALSE(Cache->Contains(Color(C.Once))) << C.Name;
    EXPECT_EQ(Cache->Depth(), 4) << C.Name;
    for (auto [I, B] : Kept) {
      EXPECT_TRUE(Cache->Contains(Color(I))) << C.Name << " " << I;
      EXPECT_EQ(Cache->GetBrush(Color(I)), B) << C.Name << " " << I;
    }
    EXPECT_TRUE(Cache->Contains(Color(C.New))) << C.Name;
    EXPECT_EQ(Cache->GetBrush(Color(C.New)), New) << C.Name;
    EXPECT_EQ(BrushColor(New), static_cast<long long>(Color(C.New))) << C.Name;
  }
}

}  // namespace
