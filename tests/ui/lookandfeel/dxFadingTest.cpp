// The fader driven tick by tick: options and limits, the hot-state moves,
// the blended frames, and the object's repaints.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dxFading.h"

namespace {
Integer LiveBitmaps = 0;

// A picture that counts itself, so that the tests see that the fader frees
// what it was given.
class TCountedBitmap : public TcxBitmap32 {
  DECLARE_CLASS_INLINE(TCountedBitmap, TcxBitmap32)
 public:
  TCountedBitmap(Integer AWidth, Integer AHeight) : TcxBitmap32(AWidth, AHeight) { ++LiveBitmaps; }
  ~TCountedBitmap() override { --LiveBitmaps; }
};

TcxBitmap* SolidBitmap(TSize ASize, TColor AColor) {
  TcxBitmap* B = Create<TCountedBitmap>(ASize.cx, ASize.cy);
  if (ASize.cx > 0 && ASize.cy > 0) {
    B->Canvas()->Brush()->SetColor(AColor);
    B->Canvas()->FillRect(TRect{0, 0, ASize.cx, ASize.cy});
  }
  return B;
}

// A control part whose normal picture is Normal and hot picture Hot.
class TFadingPart : public TcxIUnknownObject, public IdxFadingObject {
  DECLARE_CLASS_INLINE(TFadingPart, TcxIUnknownObject)
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TcxIUnknownObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IdxFadingObject))) {
      *AObj = static_cast<IdxFadingObject*>(this);
      return true;
    }
    return TcxIUnknownObject::GetInterface(AIID, AObj);
  }
  ~TFadingPart() override {
    if (dxFader()) dxFader()->Remove(this, true);
  }

  bool STDMETHODCALLTYPE CanFade() override { return FCanFade; }
  void STDMETHODCALLTYPE DrawFadeImage() override {
    ++Repaints;
    if (FailRepaint && Repaints >= FailRepaint) throw EAbort(L"repaint");
  }
  void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*& AFadeOutImage,
                                         TcxBitmap*& AFadeInImage) override {
    AFadeOutImage = SolidBitmap(NormalSize, Normal);
    AFadeInImage = SolidBitmap(HotSize, Hot);
    if (NormalBits) {
      AFadeOutImage->SetSize(256, 256);
      AFadeInImage->SetSize(256, 256);
      SetBitmapBits(AFadeOutImage, *NormalBits, true);
      SetBitmapBits(AFadeInImage, *HotBits, true);
    }
  }

  bool FCanFade = true;
  TColor Normal = 0x0A141E;  // pixel bytes blue 10, green 20, red 30
  TColor Hot = 0xC86432;     // pixel bytes blue 200, green 100, red 50
  TSize NormalSize{4, 3};
  TSize HotSize{4, 3};
  // When set, the pictures are these pixels (256 x 256) instead.
  const TRGBColors* NormalBits = nullptr;
  const TRGBColors* HotBits = nullptr;
  Integer Repaints = 0;
  Integer FailRepaint = 0;
};

struct TFaderState {
  TdxFaderAnimationState State;
  Integer MaxCount;
};

class FadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = {dxFader()->State(), dxFader()->MaxAnimationCount()};
    dxFader()->Clear();
    dxFader()->SetState(fasEnabled);
    dxFader()->SetMaxAnimationCount(10);
    LiveBitmaps = 0;
  }
  void TearDown() override {
    dxFader()->Clear();
    dxFader()->SetState(Saved.State);
    dxFader()->SetMaxAnimationCount(Saved.MaxCount);
    dxFadingSystemInfoLink() = TdxFadingSystemInfoLink();
    EXPECT_EQ(LiveBitmaps, 0) << "pictures handed to the fader must be freed";
  }
  static void Tick(Integer ACount = 1) {
    for (Integer I = 0; I < ACount; ++I) dxFader()->DoTimer(nullptr);
  }
  static TdxFadingElement* Element(TObject* AObject) { return dxFader()->Find(AObject); }
  static RGBQUAD Pixel(TdxFadingElement* AElement, Integer AIndex = 0) {
    return AElement->WorkImage()->GetBitmapBits()[AIndex];
  }
  TFaderState Saved{};
};

RGBQUAD Quad(Byte B, Byte G, Byte R, Byte A) { return RGBQUAD{B, G, R, A}; }
bool SameQuad(const RGBQUAD& X, const RGBQUAD& Y) {
  return X.rgbBlue == Y.rgbBlue && X.rgbGreen == Y.rgbGreen && X.rgbRed == Y.rgbRed &&
         X.rgbReserved == Y.rgbReserved;
}
}  // namespace

TEST(FadingOptions, SettersClampAndAssignGoesThroughThem) {
  struct TCase {
    void (TdxFadingOptions::*Set)(Integer);
    Integer (TdxFadingOptions::*Get)() const;
    Integer Value, Expected;
  };
  const TCase Cases[] = {
      {&TdxFadingOptions::SetFadeInFrameCount, &TdxFadingOptions::FadeInFrameCount, 40, 32},
      {&TdxFadingOptions::SetFadeInFrameCount, &TdxFadingOptions::FadeInFrameCount, -1, 0},
      {&TdxFadingOptions::SetFadeOutFrameCount, &TdxFadingOptions::FadeOutFrameCount, 0, 0},
      {&TdxFadingOptions::SetFadeOutFrameCount, &TdxFadingOptions::FadeOutFrameCount, 33, 32},
      {&TdxFadingOptions::SetFadeInFrameDelay, &TdxFadingOptions::FadeInFrameDelay, 5, 10},
      {&TdxFadingOptions::SetFadeInFrameDelay, &TdxFadingOptions::FadeInFrameDelay, 500, 300},
      {&TdxFadingOptions::SetFadeOutFrameDelay, &TdxFadingOptions::FadeOutFrameDelay, 150, 150},
  };
  for (const TCase& C : Cases) {
    TOwned<TdxFadingOptions> O(Create<TdxFadingOptions>());
    (O.get()->*C.Set)(C.Value);
    EXPECT_EQ((O.get()->*C.Get)(), C.Expected) << C.Value;
  }
  TOwned<TdxFadingOptions> O(Create<TdxFadingOptions>());
  EXPECT_EQ(O->FadeInFrameCount(), 4);
  EXPECT_EQ(O->FadeInFrameDelay(), 15);
  EXPECT_EQ(O->FadeOutFrameCount(), 12);
  EXPECT_EQ(O->FadeOutFrameDelay(), 20);
  TOwned<TdxFadingOptions> S(Create<TdxFadingOptions>());
  S->SetFadeOutFrameCount(7);
  O->Assign(S.get());
  EXPECT_EQ(O->FadeOutFrameCount(), 7);
  TOwned<TPersistent> Other(Create<TPersistent>());
  EXPECT_THROW(O->Assign(Other.get()), EConvertError);
}

TEST(FadingHelper, CheckColorAndAlphaCorrection) {
  EXPECT_EQ(TdxFadingHelper::CheckColor(clBlack), 0x010101);
  EXPECT_EQ(TdxFadingHelper::CheckColor(0x123456), 0x123456);
  EXPECT_EQ(TdxFadingHelper::CheckColor(clBtnFace), static_cast<TColor>(ColorToRGB(clBtnFace)));

  struct TCase {
    RGBQUAD In, Out;
  } Cases[] = {
      {Quad(0, 0, 0, 0), Quad(0, 0, 0, 0)},            // black stays transparent
      {Quad(1, 1, 1, 0), Quad(1, 1, 1, 255)},          // the checked black becomes opaque
      {Quad(40, 40, 40, 0), Quad(40, 40, 40, 255)},    // dark grey becomes opaque
      {Quad(40, 40, 40, 128), Quad(40, 40, 40, 128)},  // alpha of its own is kept
      {Quad(0, 0, 0, 7), Quad(0, 0, 0, 7)},
  };
  TRGBColors Colors;
  for (const TCase& C : Cases) Colors.push_back(C.In);
  TdxFadingHelper::CorrectAlphaChannel(Colors);
  for (size_t I = 0; I < Colors.size(); ++I)
    EXPECT_TRUE(SameQuad(Colors[I], Cases[I].Out)) << "pixel " << I;
  TRGBColors Empty;
  TdxFadingHelper::CorrectAlphaChannel(Empty);
  EXPECT_TRUE(Empty.empty());

  TOwned<TcxBitmap> B(SolidBitmap(TSize{2, 1}, 0x282828));
  TdxFadingHelper::CorrectAlphaChannel(B.get());
  TRGBColors Bits;
  ASSERT_TRUE(GetBitmapBits(B.get(), Bits, true));
  EXPECT_EQ(Bits[0].rgbReserved, 255);
}

TEST_F(FadingTest, ReadinessFollowsStateLinkAndLimit) {
  TFadingPart Part;
  struct TCase {
    TdxFaderAnimationState State;
    Integer Max;
    int Link;  // -1 none, 0 off, 1 on
    bool Ready;
  } Cases[] = {
      {fasEnabled, 10, -1, true}, {fasDisabled, 10, -1, false}, {fasEnabled, 0, -1, false},
      {fasDefault, 10, 1, true},  {fasDefault, 10, 0, false},
  };
  static bool LinkValue = false;
  for (const TCase& C : Cases) {
    dxFader()->SetState(C.State);
    dxFader()->SetMaxAnimationCount(C.Max);
    LinkValue = C.Link == 1;
    dxFadingSystemInfoLink().IsMenuAnimation = C.Link < 0 ? nullptr : +[]() { return LinkValue; };
    EXPECT_EQ(dxFader()->IsReady(), C.Ready) << C.State << " " << C.Max << " " << C.Link;
    dxFader()->FadeIn(&Part);
    EXPECT_EQ(dxFader()->Contains(&Part), C.Ready);
    dxFader()->Clear();
  }
  dxFadingSystemInfoLink() = TdxFadingSystemInfoLink();
  dxFader()->SetState(fasDefault);
  BOOL Platform = FALSE;
  SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &Platform, 0);
  EXPECT_EQ(dxFader()->Active(), Platform != FALSE);
}

TEST_F(FadingTest, RequestsThatCannotFadeFreeThePictures) {
  struct TCase {
    const char* Name;
    bool CanFade;
    TSize Normal, Hot;
  } Cases[] = {
      {"object says no", false, {4, 3}, {4, 3}},
      {"sizes differ", true, {4, 3}, {5, 3}},
      {"empty pictures", true, {0, 0}, {0, 0}},
  };
  for (const TCase& C : Cases) {
    TFadingPart Part;
    Part.FCanFade = C.CanFade;
    Part.NormalSize = C.Normal;
    Part.HotSize = C.Hot;
    dxFader()->FadeIn(&Part);
    EXPECT_FALSE(dxFader()->Contains(&Part)) << C.Name;
    EXPECT_EQ(LiveBitmaps, 0) << C.Name;
    EXPECT_FALSE(dxFader()->TimerEnabled()) << C.Name;
  }
  TObject Plain;
  dxFader()->FadeIn(&Plain);
  EXPECT_FALSE(dxFader()->Contains(&Plain));
}

TEST_F(FadingTest, FadeInRunsItsStepsAndEndsOneTickAfterTheLast) {
  TFadingPart Part;
  dxFader()->FadeIn(&Part);
  TdxFadingElement* E = Element(&Part);
  ASSERT_NE(E, nullptr);
  EXPECT_EQ(LiveBitmaps, 0);
  EXPECT_TRUE(dxFader()->TimerEnabled());
  EXPECT_EQ(E->AnimationFrameCount(), 4);
  EXPECT_EQ(E->DelayCount(), 1);
  EXPECT_EQ(E->Stage(), 0);
  EXPECT_EQ(Part.Repaints, 1);
  // k = 0 is the normal picture itself (alpha made opaque).
  EXPECT_TRUE(SameQuad(Pixel(E), Quad(10, 20, 30, 255)));
  // k = 1..3 of 4, worked by hand: w2 = MulDiv(k, 255, 4) / 255 in single
  // precision, v = w1 * 10 + w2 * 200 for blue, rounded to nearest.
  const Byte Blue[] = {58, 105, 152};
  const Byte Red[] = {35, 40, 45};  // 30 + w2 * 20 rounds to 35.02, 40.04, 44.98
  for (Integer K = 1; K <= 3; ++K) {
    Tick();
    ASSERT_EQ(E->Stage(), K);
    EXPECT_EQ(Pixel(E, 5).rgbBlue, Blue[K - 1]) << K;
    EXPECT_EQ(Pixel(E, 5).rgbRed, Red[K - 1]) << K;
    EXPECT_EQ(Pixel(E, 5).rgbReserved, 255) << K;
  }
  Tick();
  EXPECT_EQ(E->Stage(), 4);
  EXPECT_TRUE(SameQuad(Pixel(E, 11), Quad(200, 100, 50, 255)));  // k = N: the hot picture
  EXPECT_TRUE(dxFader()->DrawFadeImage(&Part, cxScreenCanvas()->Handle(), TRect{0, 0, 4, 3}));
  EXPECT_EQ(Part.Repaints, 5);
  Tick();
  EXPECT_FALSE(dxFader()->Contains(&Part));
  EXPECT_EQ(Part.Repaints, 6);  // the frame dropped: the part paints itself
  EXPECT_FALSE(dxFader()->TimerEnabled());
  EXPECT_FALSE(dxFader()->DrawFadeImage(&Part, cxScreenCanvas()->Handle(), TRect{0, 0, 4, 3}));
}

TEST_F(FadingTest, FadeOutStepsEverySecondTick) {
  TFadingPart Part;
  dxFader()->FadeOut(&Part);
  TdxFadingElement* E = Element(&Part);
  ASSERT_NE(E, nullptr);
  EXPECT_EQ(E->AnimationFrameCount(), 12);
  EXPECT_EQ(E->DelayCount(), 2);
  EXPECT_TRUE(SameQuad(Pixel(E), Quad(200, 100, 50, 255)));  // starts from the hot picture
  Tick();
  EXPECT_EQ(E->Stage(), 0);
  Tick();
  EXPECT_EQ(E->Stage(), 1);
  // k = 1 of 12: w2 = 21 / 255; blue 0.9176 * 200 + 0.0824 * 10 = 184.35.
  EXPECT_EQ(Pixel(E).rgbBlue, 184);
  Tick(22);
  EXPECT_EQ(E->Stage(), 12);
  EXPECT_TRUE(SameQuad(Pixel(E), Quad(10, 20, 30, 255)));
  Tick(2);
  EXPECT_FALSE(dxFader()->Contains(&Part));
}

TEST_F(FadingTest, FadeOutTakesOverAFadeInFromTheFrameOnScreen) {
  TFadingPart Part;
  dxFader()->FadeIn(&Part);
  Tick(2);
  TdxFadingElement* E = Element(&Part);
  const TRGBColors OnScreen = E->WorkImage()->GetBitmapBits();
  dxFader()->FadeOut(&Part);
  ASSERT_EQ(Element(&Part), E);
  EXPECT_EQ(E->Stage(), 0);
  EXPECT_EQ(E->AnimationFrameCount(), 12);
  EXPECT_EQ(E->DelayCount(), 2);
  ASSERT_EQ(E->Image1Colors().size(), OnScreen.size());
  for (size_t I = 0; I < OnScreen.size(); ++I)
    EXPECT_TRUE(SameQuad(E->Image1Colors()[I], OnScreen[I])) << I;
  EXPECT_TRUE(SameQuad(E->Image2Colors()[0], Quad(10, 20, 30, 255)));
  EXPECT_TRUE(SameQuad(Pixel(E), OnScreen[0]));
  EXPECT_EQ(LiveBitmaps, 0);

  // Pictures of another size only replace the pictures.
  Tick(4);
  const Integer Stage = E->Stage();
  Part.NormalSize = Part.HotSize = TSize{6, 2};
  dxFader()->FadeIn(&Part);
  EXPECT_EQ(E->Stage(), Stage);
  EXPECT_EQ(E->AnimationFrameCount(), 12);
  EXPECT_EQ(E->ImageSize(), (TSize{6, 2}));
}

TEST_F(FadingTest, HotStateMovesStartStopOrReverse) {
  enum TExpect { Nothing, In, Out, Stopped };
  struct TCase {
    TcxButtonState From, To;
    TExpect Expect;
  } Cases[] = {
      {cxbsNormal, cxbsHot, In},          {cxbsDefault, cxbsHot, In},
      {cxbsHot, cxbsNormal, Out},         {cxbsHot, cxbsDefault, Out},
      {cxbsHot, cxbsPressed, Stopped},    {cxbsPressed, cxbsHot, Stopped},
      {cxbsNormal, cxbsDefault, Stopped}, {cxbsHot, cxbsDisabled, Stopped},
      {cxbsHot, cxbsHot, Nothing},
  };
  class THelper : public TdxFadingObjectHelper {
   public:
    bool STDMETHODCALLTYPE CanFade() override { return true; }
    void STDMETHODCALLTYPE DrawFadeImage() override { ++Repaints; }
    void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*& A, TcxBitmap*& B) override {
      A = SolidBitmap(TSize{2, 2}, 0x0000FF);
      B = SolidBitmap(TSize{2, 2}, 0xFF0000);
    }
    Integer Repaints = 0;
  };
  for (const TCase& C : Cases) {
    TOwned<THelper> H(Create<THelper>());
    // A fade already running shows what stopping does.
    H->FadeIn();
    Tick();
    ASSERT_TRUE(H->GetActive());
    H->CheckStartFading(C.From, C.To);
    TdxFadingElement* E = Element(H.get());
    switch (C.Expect) {
      case Nothing:
        EXPECT_EQ(E->Stage(), 1);
        break;
      case In:
        ASSERT_NE(E, nullptr);
        EXPECT_EQ(E->AnimationFrameCount(), 4);
        EXPECT_EQ(E->Stage(), 0);
        break;
      case Out:
        ASSERT_NE(E, nullptr);
        EXPECT_EQ(E->AnimationFrameCount(), 12);
        break;
      case Stopped:
        EXPECT_EQ(E, nullptr) << C.From << "->" << C.To;
        EXPECT_EQ(H->Repaints, 3);  // start, first step, the dropped frame
        break;
    }
  }
  EXPECT_EQ(dxFader()->Count(), 0);  // freeing a helper ends its fade silently
}

TEST_F(FadingTest, LimitsEndTheOldestFades) {
  std::vector<TOwned<TFadingPart>> Parts;
  for (Integer I = 0; I < 11; ++I) Parts.emplace_back(Create<TFadingPart>());
  for (Integer I = 0; I < 10; ++I) dxFader()->FadeIn(Parts[I].get());
  EXPECT_EQ(dxFader()->Count(), 10);
  dxFader()->FadeIn(Parts[10].get());
  EXPECT_EQ(dxFader()->Count(), 10);
  EXPECT_FALSE(dxFader()->Contains(Parts[0].get()));
  EXPECT_EQ(Parts[0]->Repaints, 2);  // shown, then dropped
  EXPECT_TRUE(dxFader()->Contains(Parts[10].get()));

  dxFader()->SetMaxAnimationCount(3);
  EXPECT_EQ(dxFader()->Count(), 3);
  for (Integer I = 8; I < 11; ++I) EXPECT_TRUE(dxFader()->Contains(Parts[I].get())) << I;

  dxFader()->SetMaxAnimationCount(25);
  EXPECT_EQ(dxFader()->MaxAnimationCount(), 20);
  dxFader()->SetMaxAnimationCount(-3);
  EXPECT_EQ(dxFader()->MaxAnimationCount(), 0);
  EXPECT_EQ(dxFader()->Count(), 0);
  EXPECT_FALSE(dxFader()->TimerEnabled());
  dxFader()->FadeIn(Parts[0].get());
  EXPECT_FALSE(dxFader()->Contains(Parts[0].get()));
}

TEST_F(FadingTest, RemoveFinalizesOrFreesSilently) {
  TFadingPart A, B;
  dxFader()->FadeIn(&A);
  dxFader()->FadeIn(&B);
  dxFader()->Remove(&A, false);
  EXPECT_EQ(A.Repaints, 2);
  dxFader()->Remove(&B, true);
  EXPECT_EQ(B.Repaints, 1);
  EXPECT_EQ(dxFader()->Count(), 0);
  dxFader()->Remove(&A, false);  // nothing running: nothing happens
  EXPECT_EQ(A.Repaints, 2);
}

TEST_F(FadingTest, ARaisingRepaintStillReplacesTheFrame) {
  TFadingPart Part;
  dxFader()->FadeIn(&Part);
  TdxFadingElement* E = Element(&Part);
  Part.FailRepaint = 2;
  EXPECT_THROW(Tick(), EAbort);
  ASSERT_EQ(Element(&Part), E);
  EXPECT_EQ(E->Stage(), 1);
  EXPECT_EQ(Pixel(E, 5).rgbBlue, 58);  // the new frame is in place
  // Ending the fade with a raising repaint still ends it.
  EXPECT_THROW(dxFader()->Remove(&Part, false), EAbort);
  EXPECT_FALSE(dxFader()->Contains(&Part));
  EXPECT_FALSE(dxFader()->TimerEnabled());
}

TEST_F(FadingTest, BlendEqualsTheExtendedFormulaForEveryPairOfValues) {
  // Blue runs over every start value across and every end value down, so
  // each frame holds all 65536 pairs; green and red add other mixes.
  TRGBColors Start(65536), End(65536);
  for (Integer Y = 0; Y < 256; ++Y)
    for (Integer X = 0; X < 256; ++X) {
      Start[Y * 256 + X] = Quad(Byte(X), Byte(255 - Y), Byte(X ^ Y), 255);
      End[Y * 256 + X] = Quad(Byte(Y), Byte(X), Byte(X * 7), 255);
    }
  TFadingPart Part;
  Part.NormalBits = &Start;
  Part.HotBits = &End;
  dxFader()->FadeIn(&Part);
  TdxFadingElement* E = Element(&Part);
  ASSERT_NE(E, nullptr);
  const TRGBColors& A = E->Image1Colors();
  const TRGBColors& B = E->Image2Colors();
  struct TFrame {
    Integer K, N;
  } Frames[] = {{1, 4}, {2, 4}, {3, 4}, {1, 12}, {5, 12}, {11, 12}, {1, 3}, {7, 32}, {31, 32}};
  for (const TFrame& F : Frames) {
    E->SetAnimationParams(F.N, 10);
    E->SetStage(F.K);
    E->BuildWorkImage();
    const TRGBColors Frame = E->WorkImage()->GetBitmapBits();
    ASSERT_EQ(Frame.size(), A.size());
    const Single W2 = static_cast<Single>(MulDiv(F.K, 255, F.N)) / 255.0f;
    const Single W1 = 1.0f - W2;
    auto Expected = [&](Byte S, Byte T) {
      Extended V = static_cast<Extended>(W1) * S + static_cast<Extended>(W2) * T;
      if (V > 255) V = 255;
      return static_cast<Byte>(std::nearbyintl(V));
    };
    Integer Mismatches = 0;
    for (size_t I = 0; I < Frame.size() && Mismatches < 5; ++I) {
      const Byte Want[] = {Expected(A[I].rgbBlue, B[I].rgbBlue),
                           Expected(A[I].rgbGreen, B[I].rgbGreen),
                           Expected(A[I].rgbRed, B[I].rgbRed)};
      const Byte Got[] = {Frame[I].rgbBlue, Frame[I].rgbGreen, Frame[I].rgbRed};
      for (int C = 0; C < 3; ++C)
        if (Want[C] != Got[C]) {
          ++Mismatches;
          ADD_FAILURE() << F.K << "/" << F.N << " pixel " << I << " channel " << C << ": "
                        << int(Got[C]) << " for " << int(Want[C]);
        }
    }
  }
}

TEST(FadingStartUp, ShutDownFreesTheFaderWithItsFadesSilently) {
  TFadingPart Part;
  dxFader()->SetState(fasEnabled);
  dxFader()->FadeIn(&Part);
  ASSERT_TRUE(dxFader()->Contains(&Part));
  dxFading_Finalize();
  EXPECT_EQ(dxFader(), nullptr);
  EXPECT_EQ(Part.Repaints, 1);
  dxFading_Initialize();
  ASSERT_NE(dxFader(), nullptr);
  EXPECT_EQ(dxFader()->Count(), 0);
  EXPECT_EQ(dxFader()->State(), fasDefault);
}
