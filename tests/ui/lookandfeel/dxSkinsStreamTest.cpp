// Skin streams and containers against the fixtures that skin_fixtures.py
// writes from the format's tables: every version reads with the fields it
// carries, the writer's bytes equal the independent writer's, textures keep
// or change their encoding as they should, and damaged streams leave the
// skin as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "SkinsTestSupport.h"

using namespace SkinsTest;

namespace {
TdxSkinElement* Face(TdxSkin* ASkin) {
  TdxSkinControlGroup* G = ASkin->GetGroupByName(L"Button");
  return G ? G->GetElementByName(L"Face") : nullptr;
}

template <class T>
T* Prop(TdxSkinPersistent* AObject, const wchar_t* AName) {
  return AsOrNull<T>(AObject->GetPropertyByName(AName));
}

// A skin stream of version 1.25 with empty details and the given colour
// list written by hand (class name, name and payload per item).
struct THandStream {
  TOwned<TBytesStream> S{Create<TBytesStream>()};
  THandStream() {
    dxSkinWriteSignature(S.get());
    dxSkinWriteStringToStream(S.get(), L"Hand");
    for (int I = 0; I < 3; ++I) dxSkinWriteIntegerToStream(S.get(), 0);  // texts
    dxSkinWriteIntegerToStream(S.get(), 0);                              // icons
    dxSkinWriteIntegerToStream(S.get(), 0);
  }
  TBytes Bytes() { return BytesOf(S.get()); }
};
}  // namespace

TEST(SkinStream, EveryVersionReadsTheFieldsItCarries) {
  struct TCase {
    const wchar_t* Fixture;
    Integer Version;
  } Cases[] = {{L"SKIN_V100", 100}, {L"SKIN_V102", 102}, {L"SKIN_V104", 104},
               {L"SKIN_V109", 109}, {L"SKIN_V110", 110}, {L"SKIN_V115", 115},
               {L"SKIN_V120", 120}, {L"SKIN_V124", 124}, {L"SKIN_V125", 125}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Version);
    TOwned<TdxSkin> Skin = LoadFixtureSkin(C.Fixture);
    TdxSkinDetails* D = Skin->Details();
    EXPECT_EQ(Skin->Name(), L"Oracle");
    EXPECT_EQ(D->DisplayName(), C.Version >= 104 ? L"Oracle Skin" : L"");
    EXPECT_EQ(D->GroupName(), C.Version >= 104 ? L"Tests" : L"");
    EXPECT_EQ(D->Notes(), C.Version >= 104 ? L"Notes \u00fc\u20ac" : L"");
    // A stored 16-pixel icon is the red square; a missing one the default.
    const RGBQUAD Icon = D->GetIcon(sis16)->GetBitmapBits()[0];
    EXPECT_EQ(Icon.rgbRed == 200 && Icon.rgbGreen == 40, C.Version >= 104);
    EXPECT_EQ(D->GetIcon(sis48)->Width(), 48);

    ASSERT_EQ(Skin->ColorCount(), 2);
    TdxSkinColor* Accent = Skin->GetColorByName(L"Accent");
    ASSERT_NE(Accent, nullptr);
    EXPECT_EQ(Accent->ValueReference(), C.Version >= 115 ? L"PaletteAccent" : L"");
    EXPECT_EQ(Accent->Value(), C.Version >= 115 ? 0x0000FF : 0xFF8000);
    EXPECT_EQ(Skin->GetColorByName(L"Plain")->Value(), 0x102030);

    EXPECT_EQ(Prop<TdxSkinIntegerProperty>(Skin.get(), L"Int")->Value(), 42);
    EXPECT_TRUE(Prop<TdxSkinBooleanProperty>(Skin.get(), L"Bool")->Value());
    EXPECT_EQ(Prop<TdxSkinRectProperty>(Skin.get(), L"Rect")->Value(), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(Prop<TdxSkinSizeProperty>(Skin.get(), L"Size")->Value(), (TSize{5, 6}));
    EXPECT_EQ(Prop<TdxSkinStringProperty>(Skin.get(), L"Str")->Value(), L"h\u00e9llo");
    EXPECT_EQ(Prop<TdxSkinWideStringProperty>(Skin.get(), L"Wide")->Value(), L"w\u00efde");

    TdxSkinElement* E = Face(Skin.get());
    ASSERT_NE(E, nullptr);
    EXPECT_EQ(Prop<TdxSkinIntegerProperty>(E->Group(), L"GroupInt")->Value(), 7);
    EXPECT_EQ(E->Color(), 0xC0C0C0);
    EXPECT_EQ(E->Alpha(), 200);
    EXPECT_EQ(E->ContentOffset()->Rect(), (TRect{2, 3, 4, 5}));
    EXPECT_EQ(E->MinSize()->GetSize(), (TSize{10, 12}));
    EXPECT_EQ(E->Borders()->Left()->Color(), 0x010203);
    EXPECT_EQ(E->Borders()->Right()->Thin(), 3);
    EXPECT_EQ(E->Borders()->Top()->Color(), clNone);
    // The text colour names "Accent", which no palette has: its default.
    EXPECT_EQ(E->TextColor(), C.Version >= 115 ? clDefault : 0x000080);
    EXPECT_EQ(E->GetTextColor(cxbsHot), 0x008000);

    TdxSkinImage* I = E->Image();
    EXPECT_EQ(I->ImageCount(), 2);  // from the element record before 1.1
    EXPECT_EQ(I->States(), (TdxSkinElementStates{esNormal, esHot, esPressed}));
    EXPECT_EQ(I->Margins()->Margin(), (TRect{3, 3, 3, 3}));
    EXPECT_EQ(I->Size(), (TSize{16, 16}));
    EXPECT_EQ(I->GradientBeginColor(), C.Version >= 102 ? 0xAABBCC : clNone);
    EXPECT_EQ(I->GradientEndColor(), C.Version >= 102 ? 0xDDEEFF : clNone);
    EXPECT_EQ(I->Gradient(), C.Version >= 102 ? gmForwardDiagonal : gmHorizontal);
    EXPECT_EQ(I->InterpolationMode(), C.Version >= 124 ? imNearestNeighbor : imDefault);
    EXPECT_EQ(I->ColorPalettes()->Count(), C.Version >= 115 ? 1 : 0);
    if (C.Version >= 115) {
      TdxSkinColorPalette* Hot = I->ColorPalettes()->Find(L"Hot");
      ASSERT_NE(Hot, nullptr);
      auto* Fill = AsOrNull<TdxSkinAlphaColor>(Hot->Items(0));
      ASSERT_NE(Fill, nullptr);
      EXPECT_EQ(Fill->ValueAlpha(), 128);
      EXPECT_EQ(dxAlphaColorValue(Hot->GetFillColor(L"Fill")), 0x80563412u);
    }
    EXPECT_TRUE(E->Glyph()->Empty());
    auto* Alternate = Prop<TdxSkinAlternateImageAttributes>(E, L"AlternateImage1Hot");
    ASSERT_NE(Alternate, nullptr);
    EXPECT_EQ(Alternate->Alpha(), 200);
    EXPECT_EQ(Alternate->Borders()->Right()->Thin(), 2);
    EXPECT_EQ(Alternate->ContentOffsets()->Rect(), (TRect{1, 1, 1, 1}));

    EXPECT_EQ(Skin->ColorPalettes()->Count(), C.Version >= 115 ? 2 : 0);
    EXPECT_EQ(Skin->ActiveColorPaletteName(), L"Default");
    EXPECT_EQ(Skin->ActiveColorPalette()->Count(), C.Version >= 115 ? 1 : 0);
  }
}

TEST(SkinStream, WriterMatchesTheIndependentWriter) {
  const TBytes Canonical = Fixture(L"SKIN_CANONICAL");
  TOwned<TdxSkin> Skin = LoadSkin(Canonical);
  const TBytes Written = SaveSkin(Skin.get());
  ASSERT_EQ(Written.size(), Canonical.size());
  EXPECT_TRUE(Written == Canonical);
  // Older layouts are written in the newest one and read back the same.
  for (const wchar_t* Name : {L"SKIN_V100", L"SKIN_V109", L"SKIN_V115", L"SKIN_V124"}) {
    const TBytes Once = SaveSkin(LoadFixtureSkin(Name).get());
    EXPECT_TRUE(SaveSkin(LoadSkin(Once).get()) == Once) << AnsiString(Name, Name + 9);
  }
}

TEST(SkinStream, JpegTexturesAreStoredAsPngAndGifsKeepTheirBytes) {
  TOwned<TdxSkin> Skin = LoadFixtureSkin(L"SKIN_JPEG");
  TdxSkinElement* E = Face(Skin.get());
  ASSERT_NE(E, nullptr);
  const TRGBColors JpegPixels = E->Image()->Texture()->GetBitmapBits();
  TOwned<TMemoryStream> Gif(Create<TMemoryStream>());
  E->Glyph()->Texture()->SaveToStream(Gif.get());

  TOwned<TdxSkin> Again = LoadSkin(SaveSkin(Skin.get()));
  TdxSkinElement* E2 = Face(Again.get());
  TdxSmartImage* Texture = E2->Image()->Texture();
  TdxSmartImageDataStream* Data = Texture->ImageData()->Data();
  ASSERT_NE(Data, nullptr);
  Data->SetPosition(0);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatFromStream(Data)->ID(), dxImagePng);
  const TRGBColors PngPixels = Texture->GetBitmapBits();
  ASSERT_EQ(PngPixels.size(), JpegPixels.size());
  EXPECT_EQ(std::memcmp(PngPixels.data(), JpegPixels.data(), PngPixels.size() * 4), 0);

  TOwned<TMemoryStream> Gif2(Create<TMemoryStream>());
  E2->Glyph()->Texture()->SaveToStream(Gif2.get());
  ASSERT_EQ(Gif2->Size(), Gif->Size());
  EXPECT_EQ(std::memcmp(Gif2->Memory(), Gif->Memory(), static_cast<size_t>(Gif->Size())), 0);
}

TEST(SkinContainer, ListsSkinsWithoutLoadingThemAndLoadsByName) {
  const TBytes Bytes = Fixture(L"SKIN_CONTAINER");
  TOwned<TBytesStream> S = StreamOf(Bytes);
  TOwned<TdxSkinBinaryReader> R(Create<TdxSkinBinaryReader>(S.get()));
  ASSERT_EQ(R->Count(), 3);
  const wchar_t* Names[] = {L"Alpha", L"Beta", L"Gamma"};
  Int64 Offset = 22 + 4;
  for (Integer I = 0; I < 3; ++I) {
    EXPECT_EQ(R->SkinName(I), Names[I]);
    EXPECT_EQ(R->SkinDisplayName(I), String(Names[I]) + L" Skin");
    EXPECT_EQ(R->SkinOffset(I), Offset);
    Integer Length;
    std::memcpy(&Length, Bytes.data() + Offset - 4, 4);
    Offset += Length + 4;
  }
  EXPECT_EQ(R->IndexOf(L"bEtA"), 1);
  EXPECT_EQ(R->IndexOf(L"Delta"), -1);
  TOwned<TdxSkin> Skin(Create<TdxSkin>(L"Before"));
  EXPECT_FALSE(R->LoadSkin(Skin.get(), 3));
  EXPECT_FALSE(R->LoadSkin(Skin.get(), L"Delta"));
  EXPECT_EQ(Skin->Name(), L"Before");
  EXPECT_TRUE(R->LoadSkin(Skin.get(), L"gamma"));
  EXPECT_EQ(Skin->Name(), L"Gamma");
  ASSERT_NE(Face(Skin.get()), nullptr);
  EXPECT_TRUE(R->LoadSkin(Skin.get(), String()));
  EXPECT_EQ(Skin->Name(), L"Alpha");
}

TEST(SkinContainer, PlainStreamsReadAsOneSkin) {
  for (const wchar_t* Name : {L"Plain", L""}) {
    TOwned<TdxSkin> Skin = LoadFixtureSkin(L"SKIN_CANONICAL");
    Skin->SetName(Name);
    TOwned<TBytesStream> S = StreamOf(SaveSkin(Skin.get()));
    TOwned<TdxSkinBinaryReader> R(Create<TdxSkinBinaryReader>(S.get()));
    ASSERT_EQ(R->Count(), 1) << "name '" << AnsiString(Name, Name + wcslen(Name)) << "'";
    EXPECT_EQ(R->SkinOffset(0), 0);
    EXPECT_EQ(R->SkinName(0), Name);
    TOwned<TdxSkin> Loaded(Create<TdxSkin>(L"X"));
    EXPECT_TRUE(R->LoadSkin(Loaded.get(), 0));
    EXPECT_TRUE(SaveSkin(Loaded.get()) == SaveSkin(Skin.get()));
  }
  // Bytes that are no skin at all list nothing.
  TOwned<TBytesStream> Junk = StreamOf(TBytes(40, 7));
  TOwned<TdxSkinBinaryReader> R(Create<TdxSkinBinaryReader>(Junk.get()));
  EXPECT_EQ(R->Count(), 0);
}

TEST(SkinContainer, WriterCountsItsSkinsAndReaderReadsThemBack) {
  TOwned<TdxSkin> A = LoadFixtureSkin(L"SKIN_CANONICAL");
  TOwned<TdxSkin> B = LoadFixtureSkin(L"SKIN_V110");
  B->SetName(L"Second");
  TOwned<TBytesStream> S(Create<TBytesStream>());
  {
    TOwned<TdxSkinBinaryWriter> W(Create<TdxSkinBinaryWriter>(S.get()));
    W->AddSkin(A.get());
    W->AddSkin(B.get());
  }
  EXPECT_EQ(S->Position(), 22);  // just after the header
  Integer Count;
  std::memcpy(&Count, BytesOf(S.get()).data() + 18, 4);
  EXPECT_EQ(Count, 2);
  S->SetPosition(0);
  TOwned<TdxSkinBinaryReader> R(Create<TdxSkinBinaryReader>(S.get()));
  ASSERT_EQ(R->Count(), 2);
  TOwned<TdxSkin> Loaded(Create<TdxSkin>(String()));
  ASSERT_TRUE(R->LoadSkin(Loaded.get(), L"second"));
  EXPECT_TRUE(SaveSkin(Loaded.get()) == SaveSkin(B.get()));

  // A skin's own container holds it alone.
  TOwned<TBytesStream> One(Create<TBytesStream>());
  A->SaveToBinaryStream(One.get());
  One->SetPosition(0);
  TOwned<TdxSkin> FromOne(Create<TdxSkin>(String()));
  FromOne->LoadFromBinaryStream(One.get());
  EXPECT_TRUE(SaveSkin(FromOne.get()) == SaveSkin(A.get()));
}

TEST(SkinStream, DetailsAloneAndOldDetails) {
  for (const wchar_t* Name : {L"SKIN_V100", L"SKIN_V125"}) {
    TOwned<TBytesStream> S = StreamOf(Fixture(Name));
    TOwned<TdxSkinDetails> D(Create<TdxSkinDetails>());
    EXPECT_TRUE(D->LoadFromStream(S.get()));
    EXPECT_EQ(D->Name(), L"Oracle");
    EXPECT_EQ(D->GetIcon(sis16)->Width(), 16);
    EXPECT_EQ(D->GetIcon(sis48)->Width(), 48);  // read back as the default icon
  }
  TOwned<TBytesStream> Short = StreamOf(TBytes(10, 0));
  TOwned<TdxSkinDetails> D(Create<TdxSkinDetails>());
  EXPECT_FALSE(D->LoadFromStream(Short.get()));
  // An empty icon is written with length 0.
  TOwned<TdxSkinDetails> E(Create<TdxSkinDetails>());
  TOwned<TBytesStream> Out(Create<TBytesStream>());
  E->DataWrite(Out.get());
  EXPECT_EQ(Out->Size(), 6 * 4);
}

TEST(SkinStream, FailedLoadsLeaveTheSkinAsItWas) {
  const TBytes Good = Fixture(L"SKIN_CANONICAL");
  struct TCase {
    const char* Name;
    TBytes Bytes;
    bool (*IsExpected)(const Exception&);
  };
  auto IsFormat = [](const Exception& E) {
    return dynamic_cast<const EdxSkinError*>(&E) && E.Message() == L"Invalid stream format";
  };
  auto IsRead = [](const Exception& E) { return dynamic_cast<const EReadError*>(&E) != nullptr; };
  auto IsClass = [](const Exception& E) {
    return dynamic_cast<const EClassNotFound*>(&E) != nullptr;
  };
  std::vector<TCase> Cases;
  TBytes Signature = Good;
  Signature[5] = 'X';
  Cases.push_back({"signature", Signature, +IsFormat});
  TBytes Old = Good;
  const Double Version = 0.99;
  std::memcpy(Old.data() + 10, &Version, 8);
  Cases.push_back({"version below 1.0", Old, +IsFormat});
  Cases.push_back({"cut short", TBytes(Good.begin(), Good.begin() + Good.size() / 2), +IsRead});
  auto WithColourClass = [](const wchar_t* AClass) {
    THandStream H;
    dxSkinWriteIntegerToStream(H.S.get(), 1);
    dxSkinWriteStringToStream(H.S.get(), AClass);
    dxSkinWriteStringToStream(H.S.get(), L"X");
    for (int I = 0; I < 16; ++I) dxSkinWriteIntegerToStream(H.S.get(), 0);
    return H.Bytes();
  };
  Cases.push_back({"unknown class", WithColourClass(L"TNoSuchClass"), +IsClass});
  Cases.push_back({"element posing as a property", WithColourClass(L"TdxSkinElement"), +IsClass});
  Cases.push_back({"palette among colours", WithColourClass(L"TdxSkinColorPalette"), +IsClass});
  {
    THandStream H;
    dxSkinWriteIntegerToStream(H.S.get(), 0x7FFFFFFF);  // colours
    Cases.push_back({"count beyond the bytes", H.Bytes(), +IsRead});
  }
  {
    THandStream H;
    dxSkinWriteIntegerToStream(H.S.get(), 1);
    dxSkinWriteIntegerToStream(H.S.get(), 0x40000000);  // class name length
    Cases.push_back({"length beyond the bytes", H.Bytes(), +IsRead});
  }
  {
    // A palette list whose item is a colour.
    THandStream H;
    for (int I = 0; I < 3; ++I) dxSkinWriteIntegerToStream(H.S.get(), 0);  // lists
    dxSkinWriteIntegerToStream(H.S.get(), 1);
    dxSkinWriteStringToStream(H.S.get(), L"TdxSkinColor");
    dxSkinWriteStringToStream(H.S.get(), L"Default");
    for (int I = 0; I < 4; ++I) dxSkinWriteIntegerToStream(H.S.get(), 0);
    Cases.push_back({"colour in the palette list", H.Bytes(), +IsClass});
  }
  for (const TCase& C : Cases) {
    TOwned<TdxSkin> Skin = LoadSkin(Good);
    TOwned<TBytesStream> S = StreamOf(C.Bytes);
    try {
      Skin->LoadFromStream(S.get());
      ADD_FAILURE() << C.Name << ": loaded";
    } catch (const Exception& E) {
      EXPECT_TRUE(C.IsExpected(E))
          << C.Name << ": " << AnsiString(E.Message().begin(), E.Message().end());
    }
    EXPECT_TRUE(SaveSkin(Skin.get()) == Good) << C.Name;
  }
  // The container's LoadSkin fails the same way and keeps the skin too.
  TBytes Container = Fixture(L"SKIN_CONTAINER");
  std::fill(Container.end() - 30, Container.end(), Byte(0x7F));
  TOwned<TBytesStream> S = StreamOf(Container);
  TOwned<TdxSkinBinaryReader> R(Create<TdxSkinBinaryReader>(S.get()));
  ASSERT_EQ(R->Count(), 3);
  TOwned<TdxSkin> Skin = LoadSkin(Good);
  EXPECT_THROW(R->LoadSkin(Skin.get(), 2), EReadError);
  EXPECT_TRUE(SaveSkin(Skin.get()) == Good);
  // A container whose last skin is cut short is no container: its lengths
  // pass the bytes left.
  Container.resize(Container.size() - 30);
  TOwned<TBytesStream> Cut = StreamOf(Container);
  TOwned<TdxSkinBinaryReader> CutReader(Create<TdxSkinBinaryReader>(Cut.get()));
  EXPECT_EQ(CutReader->Count(), 0);
}

TEST(SkinStream, PrimitivesReadWhatTheyWrite) {
  TOwned<TBytesStream> S(Create<TBytesStream>());
  dxSkinWriteStringToStream(S.get(), L"\u00e9t\u00e9");
  dxSkinWriteWideStringToStream(S.get(), L"\u20ac");
  dxSkinWriteIntegerToStream(S.get(), -5);  // a negative length is empty
  dxSkinWriteColorToStream(S.get(), clDefault);
  const TBytes B = BytesOf(S.get());
  EXPECT_EQ(B.size(), 4u + 5 + 4 + 2 + 4 + 4);
  S->SetPosition(0);
  EXPECT_EQ(dxSkinReadStringFromStream(S.get()), L"\u00e9t\u00e9");
  EXPECT_EQ(dxSkinReadWideStringFromStream(S.get()), L"\u20ac");
  EXPECT_EQ(dxSkinReadStringFromStream(S.get()), L"");
  EXPECT_EQ(dxSkinReadColorFromStream(S.get()), clDefault);
  EXPECT_THROW(dxSkinReadIntegerFromStream(S.get()), EReadError);

  struct TVersion {
    Double Stored;
    Integer Hundredths;
  } Versions[] = {{1.0, 100},  {1.02, 102}, {1.09, 109}, {1.1, 110},
                  {1.15, 115}, {1.24, 124}, {1.25, 125}, {0.999, 100}};
  for (const TVersion& V : Versions) EXPECT_EQ(dxSkinVersionHundredths(V.Stored), V.Hundredths);
}

TEST(SkinPartStream, WindowClampsSeeksAndStopsReads) {
  TOwned<TBytesStream> Source = StreamOf(TBytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  TOwned<TdxSkinPartStream> P(Create<TdxSkinPartStream>(Source.get(), 2, 6));
  EXPECT_EQ(P->Size(), 4);
  EXPECT_EQ(P->Seek(0, soBeginning), 0);
  Byte Buf[8] = {};
  EXPECT_EQ(P->Read(Buf, 8), 4);
  EXPECT_EQ(Buf[0], 2);
  EXPECT_EQ(Buf[3], 5);
  EXPECT_EQ(P->Seek(10, soBeginning), 4);
  EXPECT_EQ(P->Seek(-10, soCurrent), 0);
  EXPECT_EQ(P->Seek(-1, soEnd), 3);
  P->Seek(0, soEnd);
  const Byte More[2] = {42, 43};
  P->Write(More, 2);
  EXPECT_EQ(P->Size(), 6);
}

// Cases for a process whose gdiplus.dll cannot be loaded; the test suite runs
// them a second time with the library disabled.
namespace {
bool PlatformGdiPlusLoadable() {
  HMODULE M = LoadLibraryW(L"gdiplus.dll");
  if (M) FreeLibrary(M);
  return M != nullptr;
}

class SkinsWithoutGdiPlus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PlatformGdiPlusLoadable()) return;
    // The run without GDI+ must not pass by skipping.
    if (GetEnvironmentVariableW(L"LOOKANDFEEL_TESTS_WITHOUT_GDIPLUS", nullptr, 0) != 0)
      FAIL() << "gdiplus.dll was loadable in the run without it";
    GTEST_SKIP() << "runs with gdiplus.dll disabled";
  }
};
}  // namespace

TEST_F(SkinsWithoutGdiPlus, LoadingRaisesTheSkinErrorAndKeepsTheSkin) {
  ASSERT_FALSE(CheckGdiPlus(false));
  TOwned<TdxSkin> Skin(Create<TdxSkin>(L"Kept"));
  Skin->AddColor(L"C", 0x123456);
  const TBytes Before = SaveSkin(Skin.get());
  TOwned<TBytesStream> S = StreamOf(Fixture(L"SKIN_V125"));
  try {
    Skin->LoadFromStream(S.get());
    ADD_FAILURE() << "loaded without GDI+";
  } catch (const EdxSkinError& E) {
    EXPECT_NE(E.Message().find(L"GDI+"), String::npos);
  }
  EXPECT_EQ(S->Position(), 0);
  EXPECT_TRUE(SaveSkin(Skin.get()) == Before);
  // The container's LoadSkin raises the same error.
  TOwned<TBytesStream> C = StreamOf(Fixture(L"SKIN_CONTAINER"));
  TOwned<TdxSkinBinaryReader> R(Create<TdxSkinBinaryReader>(C.get()));
  ASSERT_EQ(R->Count(), 3);
  EXPECT_THROW(R->LoadSkin(Skin.get(), 0), EdxSkinError);
  EXPECT_TRUE(SaveSkin(Skin.get()) == Before);
}
