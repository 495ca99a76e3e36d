// The skin model: change batching, lookups, colour references and palettes,
// text colours, the nine-part geometry and state frames, drawing in every
// state (pixel-checked, and saved for people to look at), and the cache.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SkinsTestSupport.h"

using namespace SkinsTest;

namespace {
struct TChangeLog {
  std::vector<TdxSkinChanges> Calls;
  void Changed(TObject*, TdxSkinChanges AChanges) { Calls.push_back(AChanges); }
};

TOwned<TdxSkinElement> StandaloneElement(const String& AName = L"E") {
  return TOwned<TdxSkinElement>(Create<TdxSkinElement>(nullptr, AName));
}

// Pixels of a 32-bit bitmap the element was drawn into, top row first.
struct TDrawn {
  TOwned<TcxBitmap32> Bitmap;
  TRGBColors Bits;
  Integer Width = 0;
  RGBQUAD At(Integer X, Integer Y) const { return Bits[Y * Width + X]; }
};

TDrawn DrawElement(TdxSkinElement* AElement, TSize ASize, TdxSkinElementState AState,
                   Integer AImageIndex = 0) {
  TDrawn R;
  R.Bitmap.reset(TcxBitmap32::CreateSize(ASize.cx, ASize.cy, true));
  AElement->Draw(R.Bitmap->Canvas()->Handle(), TRect{0, 0, ASize.cx, ASize.cy},
                 dxDefaultScaleFactor(), AImageIndex, AState);
  GetBitmapBits(R.Bitmap.get(), R.Bits, true);
  R.Width = ASize.cx;
  return R;
}

TColor ColorOf(const RGBQUAD& Q) { return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue); }

}  // namespace

TEST(SkinModel, ChangesAreGatheredInsideAnUpdate) {
  TOwned<TdxSkinElement> E = StandaloneElement();
  TChangeLog Log;
  E->SetOnChange(MakeEvent<&TChangeLog::Changed>(&Log));
  E->BeginUpdate();
  E->SetAlpha(1);
  E->SetColor(0x0000FF);
  E->SetAlpha(2);
  EXPECT_TRUE(Log.Calls.empty());
  E->EndUpdate();
  ASSERT_EQ(Log.Calls.size(), 1u);
  EXPECT_EQ(Log.Calls[0], TdxSkinChanges{scContent});
  E->AddPropertyInteger(L"N", 3);
  ASSERT_EQ(Log.Calls.size(), 2u);
  EXPECT_TRUE(Log.Calls[1].Contains(scStruct));
  E->SetAlpha(2);  // no change, no call
  EXPECT_EQ(Log.Calls.size(), 2u);
  EXPECT_TRUE(E->Modified());
  E->BeginUpdate();
  E->SetAlpha(9);
  E->CancelUpdate();
  EXPECT_EQ(Log.Calls.size(), 2u);
}

TEST(SkinModel, FindSortsAgainAndNamesAreCaseSensitiveInLists) {
  TOwned<TdxSkinElement> E = StandaloneElement();
  E->AddPropertyInteger(L"b", 1);
  E->AddPropertyInteger(L"a", 2);
  TdxSkinProperty* Upper = E->AddPropertyInteger(L"B", 3);
  EXPECT_EQ(E->GetPropertyByName(L"B"), Upper);
  E->AddPropertyInteger(L"c", 4);  // the list is unsorted again
  ASSERT_NE(E->GetPropertyByName(L"c"), nullptr);
  EXPECT_EQ(E->GetPropertyByName(L"A"), nullptr);
  EXPECT_EQ(E->PropertyList()->IndexOf(L"zz"), -1);
  TdxSkinProperty* Lower = E->GetPropertyByName(L"b");
  EXPECT_NE(Lower, Upper);
  // Comparison of properties ignores case of the names, not of the values.
  TOwned<TdxSkinIntegerProperty> X(Create<TdxSkinIntegerProperty>(nullptr, String(L"B")));
  X->SetValue(1);
  EXPECT_TRUE(Lower->Compare(X.get()));
  X->SetValue(5);
  EXPECT_FALSE(Lower->Compare(X.get()));
}

TEST(SkinModel, DescriptionsOfPropertyClasses) {
  struct TCase {
    TClass Class;
    const wchar_t* Text;
  } Cases[] = {{TdxSkinColor::StaticClass(), L"Color"},
               {TdxSkinWideStringProperty::StaticClass(), L"WideString"},
               {TdxSkinIntegerProperty::StaticClass(), L"Integer"},
               {TdxSkinAlternateImageAttributes::StaticClass(), L"AlternateImageAttributes"},
               {TdxSkinColorPalettes::StaticClass(), L"ColorPalettes"}};
  for (const TCase& C : Cases) {
    TOwned<TdxSkinProperty> P(static_cast<TdxSkinProperty*>(C.Class->Create(nullptr)));
    EXPECT_EQ(P->Description(), C.Text);
  }
}

TEST(SkinModel, ColourReferencesFollowTheActivePalette) {
  TOwned<TdxSkin> Skin(Create<TdxSkin>(L"S"));
  TdxSkinColorPalette* Default = Skin->ColorPalettes()->Add(L"Default");
  TdxSkinColor* C = Skin->AddColor(L"Link", 0x00FF00);
  C->SetValueReference(L"Missing");
  EXPECT_EQ(C->Value(), clDefault);  // the palette lacks it: the default value
  Default->Add(L"Missing", 0x0000FF);
  EXPECT_EQ(C->Value(), 0x0000FF);  // the skin flushed its caches on the change
  Default->Items(0)->SetValue(0x123456);
  EXPECT_EQ(C->Value(), 0x123456);
  C->SetValueReference(String());
  EXPECT_EQ(C->ValueReference(), L"");
  EXPECT_EQ(C->Value(), 0x123456);  // the last resolved colour stays as a literal
  Default->Items(0)->SetValue(0x654321);
  EXPECT_EQ(C->Value(), 0x123456);
  // A reference that reaches itself resolves to the default, not forever.
  Default->Add(L"Self", L"Self");
  EXPECT_EQ(AsOrNull<TdxSkinColor>(Skin->ActiveColorPalette()->Items(1))->Value(), clDefault);
}

TEST(SkinModel, PaletteIdentityChangesWithItsColours) {
  TOwned<TdxSkinColorPalettes> Palettes(Create<TdxSkinColorPalettes>(nullptr, String()));
  TdxSkinColorPalette* P = Palettes->Add(L"P");
  TdxSkinColor* Fill = P->Add(L"Fill", 0x0000FF);
  const TGUID A = P->GetID();
  EXPECT_NE(A.Data1, 0u);
  EXPECT_TRUE(IsEqualGUID(A, P->GetID()));
  Fill->SetValue(0x00FF00);
  EXPECT_FALSE(IsEqualGUID(A, P->GetID()));
  EXPECT_EQ(dxAlphaColorValue(P->GetFillColor(L"Fill")), 0xFF00FF00u);
  EXPECT_EQ(P->GetStrokeColor(L"None"), dxacDefault);
}

TEST(SkinModel, PaletteSelectionFallsBackToDefaultThenFirstThenEmpty) {
  struct TCase {
    std::vector<const wchar_t*> Palettes;
    const wchar_t* Select;
    const wchar_t* Active;
    Integer Colors;
  } Cases[] = {
      {{L"Dark", L"Default"}, L"Dark", L"Dark", 1},
      {{L"Dark", L"Default"}, L"Nope", L"Default", 1},
      {{L"Light", L"Dark"}, L"Nope", L"Dark", 1},  // the first after sorting
      {{}, L"Nope", L"Default", 0},
  };
  for (const TCase& C : Cases) {
    TOwned<TdxSkin> Skin(Create<TdxSkin>(L"S"));
    for (const wchar_t* Name : C.Palettes) Skin->ColorPalettes()->Add(Name)->Add(L"C", 0x10);
    Skin->SelectColorPalette(C.Select);
    EXPECT_EQ(Skin->ActiveColorPaletteName(), C.Active) << AnsiString(C.Select, C.Select + 4);
    EXPECT_EQ(Skin->ActiveColorPalette()->Count(), C.Colors);
  }
}

TEST(SkinModel, TextColoursFallBackToTheNormalOne) {
  TOwned<TdxSkinElement> E = StandaloneElement();
  E->SetTextColor(0xFF0000);
  E->AddPropertyColor(L"TextColorHot", 0x0000FF);
  E->AddPropertyColor(L"CaptionTextColor", 0x00FF00);
  struct TCase {
    TcxButtonState State;
    const wchar_t* Prefix;
    TColor Expected;
  } Cases[] = {
      {cxbsHot, L"", 0x0000FF},           {cxbsPressed, L"", 0xFF0000},
      {cxbsDefault, L"", 0xFF0000},       {cxbsNormal, L"", 0xFF0000},
      {cxbsNormal, L"Caption", 0x00FF00}, {cxbsDisabled, L"Caption", 0x00FF00},
  };
  for (const TCase& C : Cases) EXPECT_EQ(E->GetTextColor(C.State, C.Prefix), C.Expected) << C.State;
  E->AddPropertyInteger(L"TextColorPressed", 1);
  EXPECT_THROW(E->GetTextColor(cxbsPressed), EInvalidCast);
}

namespace {
class TListener : public TcxIUnknownObject, public IdxSkinChangeListener2 {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IdxSkinChangeListener2))) {
      *AObj = static_cast<IdxSkinChangeListener2*>(this);
      return S_OK;
    }
    return TcxIUnknownObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  void STDMETHODCALLTYPE SkinChanged(TdxSkin* Sender, TdxSkinChanges AChanges) override {
    ++Calls;
    Last = AChanges;
    Sender->AddColor(L"FromListener", 0);
  }
  Integer Calls = 0;
  TdxSkinChanges Last;
};
}  // namespace

TEST(SkinModel, ListenersHearOnceAndTheirOwnChangesAreDropped) {
  TOwned<TdxSkin> Skin(Create<TdxSkin>(L"S"));
  TListener L;
  Skin->AddListener(static_cast<IdxSkinChangeListener2*>(&L));
  Skin->Details()->SetDisplayName(L"Shown");
  EXPECT_EQ(L.Calls, 1);
  EXPECT_TRUE(L.Last.Contains(scDetails));
  EXPECT_EQ(Skin->ColorCount(), 1);
  EXPECT_EQ(Skin->DisplayName(), L"Shown");
  Skin->RemoveListener(static_cast<IdxSkinChangeListener2*>(&L));
  Skin->AddColor(L"Other", 0);
  EXPECT_EQ(L.Calls, 1);
}

TEST(SkinModel, CloneTakesTheNewNameAndTheWholeModel) {
  TOwned<TdxSkin> Skin = LoadFixtureSkin(L"SKIN_CANONICAL");
  TOwned<TdxSkin> Copy(Skin->Clone(L"Copy"));
  EXPECT_EQ(Copy->Name(), L"Copy");
  EXPECT_EQ(Skin->Name(), L"Oracle");
  Copy->SetName(L"Oracle");
  EXPECT_TRUE(SaveSkin(Copy.get()) == SaveSkin(Skin.get()));
}

TEST(SkinModel, DetailsAnnounceRealChangesAndEveryOuterEndUpdate) {
  TOwned<TdxSkinDetails> D(Create<TdxSkinDetails>());
  struct TCount {
    Integer N = 0;
    void Changed(TObject*) { ++N; }
  } Count;
  D->SetOnChange(MakeEvent<&TCount::Changed>(&Count));
  D->SetName(L"N");
  D->SetName(L"N");
  EXPECT_EQ(Count.N, 1);
  D->BeginUpdate();
  D->BeginUpdate();
  D->SetGroupName(L"G");
  D->SetNotes(L"x");
  D->EndUpdate();
  EXPECT_EQ(Count.N, 1);
  D->EndUpdate();
  EXPECT_EQ(Count.N, 2);
  D->BeginUpdate();
  D->EndUpdate();
  EXPECT_EQ(Count.N, 3);
  TOwned<TPersistent> Other(Create<TPersistent>());
  D->Assign(Other.get());  // ignored
  EXPECT_EQ(D->Name(), L"N");
}

TEST(SkinGeometry, NinePartsAndMarginFitting) {
  const TdxSkinImagePartsBounds P =
      dxSkinsCalculatePartsBounds(TRect{0, 0, 20, 10}, TRect{3, 2, 4, 1});
  const TRect Expected[9] = {{0, 0, 3, 2},  {3, 0, 16, 2},  {16, 0, 20, 2},
                             {0, 2, 3, 9},  {3, 2, 16, 9},  {16, 2, 20, 9},
                             {0, 9, 3, 10}, {3, 9, 16, 10}, {16, 9, 20, 10}};
  for (Integer I = 0; I < 9; ++I) EXPECT_EQ(P[I], Expected[I]) << I;
  // Margins wider than the rectangle collapse the middle.
  const TdxSkinImagePartsBounds Q =
      dxSkinsCalculatePartsBounds(TRect{0, 0, 4, 4}, TRect{5, 5, 5, 5});
  EXPECT_EQ(Q[sipCenter], (TRect{4, 4, 0, 0}));

  struct TCase {
    TRect Margins, Bounds, Expected;
  } Cases[] = {
      {{10, 0, 10, 0}, {0, 0, 15, 30}, {7, 0, 7, 0}},  // 10 - MulDiv(10, 5, 20) = 7
      {{4, 4, 4, 4}, {0, 0, 15, 30}, {4, 4, 4, 4}},
      {{-2, 3, 5, -1}, {0, 0, 15, 30}, {0, 3, 5, 0}},
      {{6, 20, 0, 20}, {0, 0, 3, 10}, {3, 5, 0, 5}},
  };
  for (const TCase& C : Cases) {
    TRect M = C.Margins;
    dxSkinsCheckMargins(M, C.Bounds);
    EXPECT_EQ(M, C.Expected);
  }
}

TEST(SkinGeometry, StateFramesAndTheirMapping) {
  TOwned<TdxSkinElement> E = StandaloneElement();
  TdxSkinImage* I = E->Image();
  TOwned<TdxSmartImage> T(FramesTexture(TSize{10, 8}, {1, 2, 3, 4, 5, 6, 7, 8, 9}));
  I->Texture()->Assign(T.get());
  I->SetStates({esNormal, esHot, esDisabled});
  I->SetImageCount(3);
  EXPECT_EQ(I->Size(), (TSize{10, 8}));
  EXPECT_EQ(I->StateCount(), 3);
  EXPECT_EQ(I->GetStateBounds(0, esDisabled), (TRect{20, 0, 30, 8}));
  EXPECT_EQ(I->GetStateBounds(0, esPressed), (TRect{}));
  EXPECT_EQ(I->GetStateBounds(2, esNormal), (TRect{60, 0, 70, 8}));  // 6 frame widths
  TdxSkinElementState S = esPressed;
  Integer Index = 7;
  I->CheckState(S, Index);
  EXPECT_EQ(S, esNormal);
  EXPECT_EQ(Index, 2);
  I->SetImageCount(0);
  EXPECT_EQ(I->ImageCount(), 1);

  // Vertical strips divide the height.
  I->SetImageCount(1);
  I->SetImageLayout(ilVertical);
  TOwned<TdxSmartImage> V(FramesTexture(TSize{5, 4}, {1, 2, 3}, true));
  I->Texture()->Assign(V.get());
  EXPECT_EQ(I->Size(), (TSize{5, 4}));
  EXPECT_EQ(I->GetStateBounds(0, esHot), (TRect{0, 4, 5, 8}));

  // Reordering the frames moves the pictures with their states.
  I->SetImageLayout(ilHorizontal);
  TOwned<TdxSmartImage> H(FramesTexture(TSize{4, 4}, {0x0000FF, 0x00FF00, 0xFF0000}));
  I->Texture()->Assign(H.get());
  E->SetStateMapping({esDisabled, esNormal});
  EXPECT_EQ(I->States(), (TdxSkinElementStates{esNormal, esDisabled}));
  EXPECT_EQ(I->Texture()->Width(), 8);
  const TRGBColors Bits = I->Texture()->GetBitmapBits();
  EXPECT_EQ(ColorOf(Bits[0]), 0xFF0000);  // esNormal first: the old disabled frame
  EXPECT_EQ(ColorOf(Bits[4]), 0x0000FF);
}

TEST(SkinDrawing, EveryStateDrawsItsFrameByNineParts) {
  // Normal, Hot and Pressed frames; the other states show Normal.
  const auto& Frames = SyntheticFrames;
  TOwned<TdxSkin> Skin(SyntheticSkin());
  TdxSkinElement* E = Skin->GetGroupByName(L"Button")->GetElementByName(L"Face");

  const TSize Size{40, 20};
  TOwned<TcxBitmap32> Gallery(TcxBitmap32::CreateSize(12 * 44, 2 * 24 + 4, true));
  Gallery->Canvas()->Brush()->SetColor(clWhite);
  Gallery->Canvas()->FillRect(TRect{0, 0, Gallery->Width(), Gallery->Height()});
  for (Integer S = 0; S < dxSkinElementStateCount; ++S) {
    const auto State = static_cast<TdxSkinElementState>(S);
    const auto& F = Frames[S < 3 ? S : 0];
    TDrawn D = DrawElement(E, Size, State);
    SCOPED_TRACE(dxSkinElementStateNames[S]);
    EXPECT_EQ(ColorOf(D.At(0, 0)), F.first);     // corner
    EXPECT_EQ(ColorOf(D.At(20, 1)), F.first);    // top edge, stretched
    EXPECT_EQ(ColorOf(D.At(1, 10)), F.first);    // left edge
    EXPECT_EQ(ColorOf(D.At(20, 10)), F.second);  // centre
    EXPECT_EQ(ColorOf(D.At(38, 10)), F.first);   // right edge
    EXPECT_EQ(ColorOf(D.At(20, 18)), 0x00FFFF);  // the bottom border over the frame
    EXPECT_EQ(ColorOf(D.At(20, 17)), F.first);   // the bottom edge above it
    EXPECT_EQ(ColorOf(D.At(20, 16)), F.second);
    cxBitBlt(Gallery->Canvas()->Handle(), D.Bitmap->Canvas()->Handle(),
             TRect{2 + 44 * S, 2, 2 + 44 * S + Size.cx, 2 + Size.cy}, TPoint{0, 0}, SRCCOPY);
  }

  // The same element without texture: its alternate attributes, else only
  // colour and borders.
  TdxSkinElement* Flat = Skin->GetGroupByName(L"Button")->GetElementByName(L"Flat");
  TDrawn Plain = DrawElement(Flat, Size, esNormal);
  EXPECT_EQ(ColorOf(Plain.At(20, 10)), 0xE0E0E0);
  TDrawn Alternate = DrawElement(Flat, Size, esHot);
  EXPECT_EQ(ColorOf(Alternate.At(20, 10)), 0x0080FF);
  EXPECT_EQ(ColorOf(Alternate.At(1, 10)), 0x000080);
  cxBitBlt(Gallery->Canvas()->Handle(), Plain.Bitmap->Canvas()->Handle(),
           TRect{2, 26, 2 + Size.cx, 26 + Size.cy}, TPoint{0, 0}, SRCCOPY);
  cxBitBlt(Gallery->Canvas()->Handle(), Alternate.Bitmap->Canvas()->Handle(),
           TRect{46, 26, 46 + Size.cx, 26 + Size.cy}, TPoint{0, 0}, SRCCOPY);

  // Forcing the alternate set switches a textured element over as well.
  TdxSkinAlternateImageAttributes* Pressed = E->AddAlternateImageAttributes(esPressed, 0);
  Pressed->SetGradientBeginColor(0xFF00FF);
  dxSetSkinsUseImageSet(imsAlternate);
  TDrawn Forced = DrawElement(E, Size, esPressed);
  dxSetSkinsUseImageSet(imsOriginal);
  TDrawn Original = DrawElement(E, Size, esPressed);
  dxSetSkinsUseImageSet(imsDefault);
  EXPECT_EQ(ColorOf(Forced.At(20, 10)), 0xFF00FF);
  EXPECT_EQ(ColorOf(Original.At(20, 10)), 0xC00000);
  cxBitBlt(Gallery->Canvas()->Handle(), Forced.Bitmap->Canvas()->Handle(),
           TRect{90, 26, 90 + Size.cx, 26 + Size.cy}, TPoint{0, 0}, SRCCOPY);

  // For people: the synthetic element in every state, then the flat one
  // plain and hot, then the forced alternate set.
  TRGBColors Shot;
  GetBitmapBits(Gallery.get(), Shot, true);
  TOwned<TdxPNGImage> Png(TdxCustomSmartImage::CreateFromBits<TdxPNGImage>(
      Gallery->Width(), Gallery->Height(), Shot, TAlphaFormat::afIgnored));
  Png->SaveToFile(L"skin_states.png");
}

TEST(SkinDrawing, TilingEmptyImagesAndGradientCentres) {
  TOwned<TdxSkinElement> E = StandaloneElement();
  TdxSkinImage* I = E->Image();
  // An empty image fills inside its margins with the gradient.
  I->SetGradientBeginColor(0x00FF00);
  I->Margins()->SetAll(2);
  TDrawn D = DrawElement(E.get(), TSize{10, 10}, esNormal);
  EXPECT_EQ(D.At(1, 5).rgbReserved, 0);
  EXPECT_EQ(ColorOf(D.At(5, 5)), 0x00FF00);
  // All margins 0 and a gradient: only the gradient.
  TOwned<TdxSmartImage> T(FramesTexture(TSize{4, 4}, {0x0000FF}));
  I->Texture()->Assign(T.get());
  I->Margins()->SetAll(0);
  D = DrawElement(E.get(), TSize{10, 10}, esNormal);
  EXPECT_EQ(ColorOf(D.At(0, 0)), 0x00FF00);
  // Tiling repeats a two-colour source.
  I->SetGradientBeginColor(clNone);
  TOwned<TdxSmartImage> Two(FramesTexture(TSize{2, 2}, {0x0000FF, 0xFF0000}));
  I->Texture()->Assign(Two.get());
  I->SetImageCount(2);
  I->SetStretch(smTile);
  D = DrawElement(E.get(), TSize{6, 2}, esNormal, 1);
  for (Integer X = 0; X < 6; ++X) EXPECT_EQ(ColorOf(D.At(X, 1)), 0xFF0000) << X;
  // Without resizing the frame sits in the middle.
  I->SetStretch(smNoResize);
  D = DrawElement(E.get(), TSize{6, 6}, esNormal, 0);
  EXPECT_EQ(D.At(0, 0).rgbReserved, 0);
  EXPECT_EQ(ColorOf(D.At(2, 2)), 0x0000FF);
  EXPECT_EQ(E->CalculateMinSize(), (TSize{2, 2}));
  TOwned<TdxSmartImage> Picture(E->GetImage(0, TSize{0, 0}, esNormal));
  EXPECT_EQ(Picture->GetSize(), (TSize{2, 2}));
}

TEST(SkinCache, OneEntryPerSizeRedrawnOnEveryChangeOfKey) {
  TOwned<TdxSkinElement> E = StandaloneElement();
  TOwned<TdxSmartImage> T(FramesTexture(TSize{4, 4}, {0x0000FF, 0x00FF00}));
  E->Image()->Texture()->Assign(T.get());
  E->Image()->SetStates({esNormal, esHot});
  E->SetColor(0xFFFFFF);  // opaque: the cache keeps a plain bitmap
  E->SetUseCache(true);
  TdxSkinElementCacheList* Cache = E->Cache();
  ASSERT_NE(Cache, nullptr);
  EXPECT_EQ(Cache->Capacity(), 8);
  for (auto State : {esNormal, esHot, esNormal, esHot}) {
    TDrawn D = DrawElement(E.get(), TSize{8, 8}, State);
    EXPECT_EQ(ColorOf(D.At(4, 4)), State == esNormal ? 0x0000FF : 0x00FF00);
    ASSERT_EQ(Cache->Count(), 1);
    EXPECT_EQ(Cache->Items(0)->State(), State);
  }
  DrawElement(E.get(), TSize{9, 8}, esHot);
  EXPECT_EQ(Cache->Count(), 2);

  // Any change of the element empties the cache.
  E->SetAlpha(254);
  EXPECT_EQ(Cache->Count(), 0);

  Cache->SetCapacity(0);
  EXPECT_EQ(Cache->Capacity(), 1);
  DrawElement(E.get(), TSize{8, 8}, esHot);
  DrawElement(E.get(), TSize{5, 5}, esHot);
  EXPECT_EQ(Cache->Count(), 1);
  EXPECT_EQ(cxRectWidth(Cache->Items(0)->Rect()), 5);

  // The image set is part of the key.
  E->AddAlternateImageAttributes(esHot, 0)->SetGradientBeginColor(0x808080);
  dxSetSkinsUseImageSet(imsAlternate);
  TDrawn Alternate = DrawElement(E.get(), TSize{5, 5}, esHot);
  dxSetSkinsUseImageSet(imsDefault);
  TDrawn Textured = DrawElement(E.get(), TSize{5, 5}, esHot);
  EXPECT_EQ(ColorOf(Alternate.At(2, 2)), 0x808080);
  EXPECT_EQ(ColorOf(Textured.At(2, 2)), 0x00FF00);
}

TEST(SkinCache, APictureThatFailsIsBuiltAgainNextTime) {
  TOwned<TdxSkinElement> E = StandaloneElement();
  // Bytes that claim to be a PNG and are not.
  TBytes Broken{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I',
                'H',  'D', 'R', 0,   0,    0,    4,    0,    0, 0, 4, 8,  6,
                0,    0,   0,   1,   2,    3,    4,    0,    0, 0, 0};
  TOwned<TBytesStream> S = StreamOf(Broken);
  E->Image()->Texture()->LoadFromStream(S.get());
  E->SetColor(0xFFFFFF);
  E->SetUseCache(true);
  for (int Attempt = 0; Attempt < 2; ++Attempt) {
    TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(8, 8, true));
    EXPECT_ANY_THROW(E->Draw(B->Canvas()->Handle(), TRect{0, 0, 8, 8}, dxDefaultScaleFactor()));
    // The failed entry is gone, so the next draw builds the picture again.
    EXPECT_EQ(E->Cache()->Count(), 0) << Attempt;
  }
  // An entry used on its own forgets the key it failed with.
  TOwned<TdxSkinElementCache> Entry(Create<TdxSkinElementCache>());
  EXPECT_ANY_THROW(Entry->CheckCacheState(E.get(), TRect{0, 0, 8, 8}, 0, esNormal));
  EXPECT_EQ(Entry->Element(), nullptr);
  EXPECT_FALSE(Entry->HasPicture());
}

TEST(SkinStartUp, EmptyElementAndRegisteredClasses) {
  TdxSkinElement* Empty = dxSkinEmptyElement();
  ASSERT_NE(Empty, nullptr);
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(6, 4, true));
  Empty->Draw(B->Canvas()->Handle(), TRect{0, 0, 6, 4}, dxDefaultScaleFactor());
  TRGBColors Bits;
  GetBitmapBits(B.get(), Bits, true);
  EXPECT_EQ(ColorOf(Bits[0]), 0x0000FF);
  EXPECT_EQ(ColorOf(Bits[6 + 2]), 0xFFFFFF);
  for (const wchar_t* Name : {L"TdxSkinControlGroup", L"TdxSkinElement", L"TdxSkinImage",
                              L"TdxSkinColorPalette", L"TdxSkinAlphaColor", L"TdxSkinColor",
                              L"TdxSkinWideStringProperty", L"TdxSkinColorPalettes"})
    EXPECT_NE(GetClass(Name), nullptr) << AnsiString(Name, Name + wcslen(Name));
}

namespace {
// A vector format of this test: "VEC1" and a width and height. Its pictures
// fill whatever they are drawn into with the palette's "Fill" colour, red
// without one, so the test sees the palette and the size the skin asked for.
TSize LastRasterSize{};

class TVectorHandle : public TdxSmartImageCustomHandle, public IdxVectorImage {
  DECLARE_CLASS_INLINE(TVectorHandle, TdxSmartImageCustomHandle)
 public:
  explicit TVectorHandle(TSize ASize) : FSize(ASize) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IdxVectorImage))) {
      *AObj = static_cast<IdxVectorImage*>(this);
      return true;
    }
    return TdxSmartImageCustomHandle::GetInterface(AIID, AObj);
  }
  TSize GetSize() override { return FSize; }
  using TdxSmartImageCustomHandle::Draw;
  void Draw(HDC DC, const TRect& ADest, const TRect&, Byte, IdxColorPalette* APalette) override {
    LastRasterSize = cxRectSize(ADest);
    TdxAlphaColor C = APalette ? APalette->GetFillColor(L"Fill") : dxacDefault;
    if (C == dxacDefault) C = dxColorToAlphaColor(0x0000FF, 255);
    DIBSECTION D{};
    GetObjectW(GetCurrentObject(DC, OBJ_BITMAP), sizeof D, &D);
    auto* Bits = static_cast<RGBQUAD*>(D.dsBm.bmBits);
    for (LONG I = 0; I < D.dsBm.bmWidth * D.dsBm.bmHeight; ++I) Bits[I] = dxAlphaColorToRGBQuad(C);
  }

 private:
  TSize FSize;
};

class TVectorCodec : public TdxSmartImageCodec {
 public:
  const wchar_t* ClassName() const override { return L"TVectorCodec"; }
  static bool Header(TStream* AStream, TSize& ASize) {
    Byte H[12];
    const Int64 P = AStream->Position();
    const bool Ok = AStream->Read(H, 12) == 12 && std::memcmp(H, "VEC1", 4) == 0;
    AStream->SetPosition(P);
    if (Ok) std::memcpy(&ASize, H + 4, 8);
    return Ok;
  }
  bool GetSize(TStream* AStream, TSize& ASize) const override { return Header(AStream, ASize); }
  bool CanLoadStream(TStream* AStream) const override {
    TSize S;
    return Header(AStream, S);
  }
  bool Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) const override {
    TSize S;
    if (!Header(AStream, S)) return false;
    AHandle = Create<TVectorHandle>(S);
    return true;
  }
};
const TVectorCodec VectorCodec;
}  // namespace

TEST(SkinDrawing, VectorTexturesAreRasterizedAtTheirSizeWithTheStatePalette) {
  TdxSmartImageCodecsRepository::Register(&VectorCodec);
  struct TUnregister {
    ~TUnregister() { TdxSmartImageCodecsRepository::Unregister(&VectorCodec); }
  } AUnregister;
  TBytes Source{'V', 'E', 'C', '1', 8, 0, 0, 0, 8, 0, 0, 0};
  TOwned<TdxSkinElement> E = StandaloneElement();
  TdxSkinImage* I = E->Image();
  TOwned<TBytesStream> S = StreamOf(Source);
  I->Texture()->LoadFromStream(S.get());
  I->SetStates({esNormal, esHot});
  ASSERT_TRUE(I->IsVectorTexture());
  // All states share the one frame of a vector picture.
  EXPECT_EQ(I->Size(), (TSize{8, 8}));
  EXPECT_EQ(I->GetStateBounds(0, esHot), (TRect{0, 0, 8, 8}));
  I->ColorPalettes()->Add(L"Hot")->Add(L"Fill", 0x00FF00);

  TDrawn Normal = DrawElement(E.get(), TSize{20, 10}, esNormal);
  EXPECT_EQ(LastRasterSize, (TSize{10, 10}));  // the frame stretched into the rectangle
  EXPECT_EQ(ColorOf(Normal.At(10, 5)), 0x0000FF);
  TDrawn Hot = DrawElement(E.get(), TSize{20, 10}, esHot);
  EXPECT_EQ(ColorOf(Hot.At(10, 5)), 0x00FF00);
  // With margins the picture is drawn at its own size (96 DPI here).
  I->Margins()->SetAll(2);
  DrawElement(E.get(), TSize{20, 10}, esHot);
  EXPECT_EQ(LastRasterSize, (TSize{8, 8}));

  // A skin stream stores the vector source as it came.
  TOwned<TBytesStream> Blob(Create<TBytesStream>());
  dxSkinWriteSmartImageToStream(Blob.get(), I->Texture());
  TBytes Written = BytesOf(Blob.get());
  ASSERT_EQ(Written.size(), 4 + Source.size());
  EXPECT_TRUE(TBytes(Written.begin() + 4, Written.end()) == Source);
}

TEST(SkinStartUp, ShutDownUnregistersAndStartUpRegistersAgain) {
  dxSkinsCore_Finalize();
  EXPECT_EQ(dxSkinEmptyElement(), nullptr);
  EXPECT_EQ(GetClass(L"TdxSkinColor"), nullptr);
  EXPECT_EQ(GetClass(L"TdxSkinElement"), nullptr);
  dxSkinsCore_Initialize();
  EXPECT_NE(dxSkinEmptyElement(), nullptr);
  EXPECT_NE(GetClass(L"TdxSkinColor"), nullptr);
  // Property lists find their classes again.
  TOwned<TdxSkin> Skin = LoadFixtureSkin(L"SKIN_V125");
  EXPECT_EQ(Skin->ColorCount(), 2);
}
