#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "dxGDIPlusAPI.h"
#include "dxGDIPlusClasses.h"

namespace {

bool PlatformGdiPlusLoadable() {
  HMODULE M = LoadLibraryW(L"gdiplus.dll");
  if (M) FreeLibrary(M);
  return M != nullptr;
}

Integer BoundEntryPoints() {
  Integer N = 0;
  for (Integer I = 0; I < dxGdiPlusEntryPointCount; ++I)
    N += *dxGdiPlusEntryPoints()[I].Address != nullptr ? 1 : 0;
  return N;
}

// Cases for a process whose gdiplus.dll cannot be loaded; the test suite
// runs them with the library disabled.
class GdiPlusAbsent : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PlatformGdiPlusLoadable()) return;
    // The suite's run without GDI+ must not pass by skipping.
    if (GetEnvironmentVariableW(L"GRAPHICS_TESTS_WITHOUT_GDIPLUS", nullptr, 0) != 0)
      FAIL() << "gdiplus.dll was loadable in the run without it";
    GTEST_SKIP() << "runs with gdiplus.dll disabled";
  }
};

TEST_F(GdiPlusAbsent, EveryCheckTriesAgainAndReportsNothing) {
  for (int Attempt = 0; Attempt < 3; ++Attempt) {
    EXPECT_FALSE(CheckGdiPlus(false));
    EXPECT_EQ(dxGDIPlusAPITesting::LibraryHandle(), nullptr);
    EXPECT_EQ(BoundEntryPoints(), 0);
  }
}

TEST_F(GdiPlusAbsent, NoCodecsOrPictureFormatsAreRegistered) {
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetCount(), 0);
  for (const wchar_t* Ext : {L"png", L"tiff", L"tif", L"gif", L"jpeg", L"jpg"})
    EXPECT_EQ(TPicture::FindGraphicClass(Ext), nullptr) << Ext;
  EXPECT_EQ(GetClass(L"TdxPNGImage"), nullptr);
  EXPECT_NE(GetEncoderID(L"image/png", PNGEncoder), Ok);
  for (Word F : ImageClipboardFormats) EXPECT_EQ(F, 0);
}

TEST_F(GdiPlusAbsent, ObjectsMadeWithoutGdiPlusUseTheHeap) {
  TOwned<TdxGpBase> Object(Create<TdxGpBase>());
  EXPECT_FALSE(Object->IsGpUsed());
}

TEST_F(GdiPlusAbsent, StoredImagesStillAnswerFromTheirBytes) {
  TBytes Png = FixtureBytes(L"RGBA16_PNG");
  TOwned<TMemoryStream> In(BytesStream(Png));
  TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
  Image->LoadFromStream(In.get());
  TOwned<TMemoryStream> Out(Create<TMemoryStream>());
  Image->SaveToStream(Out.get());
  EXPECT_EQ(StreamBytes(Out.get()), Png);
  EXPECT_THROW(Image->GetHandle(), EdxException);
}

// ---------------------------------------------------------------------------
// The binding against libraries that stand in for gdiplus.dll.

struct TFakeLog {
  LONG StartupCalls;
  LONG ShutdownCalls;
  ULONG_PTR ShutdownToken;
  ULONG_PTR UnhookToken;
};

class GdiPlusBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!CheckGdiPlus(false)) GTEST_SKIP() << "needs GDI+";
    dxGDIPlusClasses_Finalize();
    GdiPlusUnload();
  }
  void TearDown() override {
    dxGDIPlusAPITesting::SetLibraryName(String());
    GdiPlusUnload();
    for (HMODULE M : Held) FreeLibrary(M);
    EXPECT_TRUE(CheckGdiPlus(false));
    dxGDIPlusClasses_Initialize();
  }
  // The test keeps its own reference, so the library's state outlives the
  // binding's release of it.
  HMODULE Fake(const wchar_t* AName, LONG AMode) {
    HMODULE M = LoadLibraryW(AName);
    EXPECT_NE(M, nullptr) << AName;
    Held.push_back(M);
    auto SetMode = reinterpret_cast<void(WINAPI*)(LONG)>(
        reinterpret_cast<void*>(GetProcAddress(M, "FakeGdiPlusSetMode")));
    SetMode(AMode);
    dxGDIPlusAPITesting::SetLibraryName(AName);
    return M;
  }
  static TFakeLog Log(HMODULE M) {
    TFakeLog L{};
    reinterpret_cast<void(WINAPI*)(TFakeLog*)>(
        reinterpret_cast<void*>(GetProcAddress(M, "FakeGdiPlusLog")))(&L);
    return L;
  }
  std::vector<HMODULE> Held;
};

TEST_F(GdiPlusBinding, ALateMissingNameLeavesGdiPlusAbsentAndUnstarted) {
  HMODULE M = Fake(L"gdipshort.dll", 0);
  EXPECT_FALSE(CheckGdiPlus(false));
  EXPECT_EQ(Log(M).StartupCalls, 0);
  // Nothing stays bound to a library that is let go.
  EXPECT_EQ(BoundEntryPoints(), 0);
  EXPECT_EQ(GdipCreateFontFromLogfont, nullptr);
  EXPECT_EQ(dxGDIPlusAPITesting::LibraryHandle(), nullptr);
  EXPECT_FALSE(CheckGdiPlus(false));
  EXPECT_EQ(Log(M).StartupCalls, 0);
}

TEST_F(GdiPlusBinding, FailedStartUpOrHookFreesTheLibraryAndRetriesClean) {
  struct {
    LONG Mode;
    LONG Shutdowns;
  } Cases[] = {{1, 0}, {2, 1}};  // start-up fails; the hook fails after start-up
  for (const auto& C : Cases) {
    HMODULE M = Fake(L"gdipfake.dll", C.Mode);
    EXPECT_FALSE(CheckGdiPlus(false)) << C.Mode;
    EXPECT_EQ(Log(M).StartupCalls, 1) << C.Mode;
    EXPECT_EQ(Log(M).ShutdownCalls, C.Shutdowns) << C.Mode;
    EXPECT_EQ(BoundEntryPoints(), 0) << C.Mode;
    EXPECT_EQ(dxGDIPlusAPITesting::LibraryHandle(), nullptr) << C.Mode;
    EXPECT_FALSE(CheckGdiPlus(false)) << C.Mode;
    EXPECT_EQ(Log(M).StartupCalls, 2) << C.Mode;
  }
  // Once the library works, the same binding loads it.
  HMODULE M = Fake(L"gdipfake.dll", 0);
  EXPECT_TRUE(CheckGdiPlus(false));
  EXPECT_EQ(BoundEntryPoints(), dxGdiPlusEntryPointCount);
  EXPECT_EQ(reinterpret_cast<void*>(GdipCreateFontFromLogfont),
            reinterpret_cast<void*>(GdipCreateFontFromLogfontW));
  (void)M;
}

TEST_F(GdiPlusBinding, UnloadGivesEachTokenToItsOwnCall) {
  HMODULE M = Fake(L"gdipfake.dll", 0);
  ASSERT_TRUE(CheckGdiPlus(false));
  GdiPlusUnload();
  TFakeLog L = Log(M);
  EXPECT_EQ(L.ShutdownCalls, 1);
  EXPECT_EQ(L.ShutdownToken, 0x1111u);
  EXPECT_EQ(L.UnhookToken, 0x2222u);
  EXPECT_EQ(BoundEntryPoints(), 0);
  // The binding kept no reference of its own.
  for (HMODULE H : Held) FreeLibrary(H);
  Held.clear();
  EXPECT_EQ(GetModuleHandleW(L"gdipfake.dll"), nullptr);
}

TEST_F(GdiPlusBinding, ObjectsReturnToTheAllocatorTheyCameFrom) {
  TOwned<TdxGpBase> Heap(Create<TdxGpBase>());
  EXPECT_FALSE(Heap->IsGpUsed());
  ASSERT_TRUE(CheckGdiPlus(false));
  TOwned<TdxGpBase> Gp(Create<TdxGpBase>());
  EXPECT_TRUE(Gp->IsGpUsed());
  EXPECT_FALSE(Heap->IsGpUsed());
  Heap.reset();
  Gp.reset();
}

// ---------------------------------------------------------------------------

TEST(GdiPlusStatus, CheckRaisesWithTheStatusOrTheLastError) {
  EXPECT_NO_THROW(GdipCheck(Ok));
  struct {
    Status S;
    DWORD LastError;
    const wchar_t* Message;
  } Cases[] = {
      {Win32Error, 5, L"Invalid operation in GDI+ (Win32 error code: 5)"},
      {Win32Error, 0, L"Invalid operation in GDI+ (Code: 7)"},
      {InvalidParameter, 5, L"Invalid operation in GDI+ (Code: 2)"},
      {GenericError, 0, L"Invalid operation in GDI+ (Code: 1)"},
  };
  for (const auto& C : Cases) {
    SetLastError(C.LastError);
    try {
      GdipCheck(C.S);
      ADD_FAILURE() << C.Message;
    } catch (const EdxGdipException& E) {
      EXPECT_EQ(E.Message(), C.Message);
      EXPECT_EQ(E.ErrorStatus(), C.S);
    }
  }
}

TEST(GdiPlusCodecs, LookupByMimeTypeIgnoresCase) {
  if (!CheckGdiPlus(false)) GTEST_SKIP() << "needs GDI+";
  GUID Lower{}, Upper{};
  EXPECT_EQ(GetEncoderID(L"image/png", Lower), Ok);
  EXPECT_EQ(GetEncoderID(L"IMAGE/PNG", Upper), Ok);
  EXPECT_TRUE(IsEqualGUID(Lower, Upper));
  EXPECT_TRUE(IsCodecIDValid(Lower));
  GUID None{};
  EXPECT_EQ(GetEncoderID(L"image/png-not", None), GenericError);
  EXPECT_EQ(GetDecoderID(L"image/x-unknown", None), GenericError);
  EXPECT_FALSE(IsCodecIDValid(None));
  // An identifier already set is not looked up again.
  GUID Set{1, 0, 0, {}};
  EXPECT_EQ(CheckEncoder(L"no such type", Set), Ok);
  EXPECT_EQ(Set.Data1, 1u);
  GUID Optional{};
  CheckOptionalDecoder(L"no such type", Optional);
  EXPECT_FALSE(IsCodecIDValid(Optional));
  EXPECT_TRUE(IsCodecIDValid(PNGEncoder));
  EXPECT_TRUE(IsCodecIDValid(PNGDecoder));
}

TEST(GdiPlusRecords, RectangleConversions) {
  struct {
    TdxGpRectF From;
    TRect Expected;
  } Cases[] = {
      {TdxGpRectF(0.6f, 0.6f, 10.9f, 10.9f), TRect{0, 0, 10, 10}},
      {TdxGpRectF(1.5f, 2.5f, 3.5f, 4.5f), TRect{1, 2, 4, 6}},
      {TdxGpRectF(-0.5f, 0, 1.9f, 0), TRect{0, 0, 1, 0}},
  };
  for (const auto& C : Cases) EXPECT_EQ(static_cast<TRect>(C.From), C.Expected);
  TdxGpRectF F(TRect{1, 2, 11, 22});
  EXPECT_TRUE(dxGpRectIsEqual(F, TdxGpRectF(1, 2, 10, 20)));
  TdxRectF R = TdxGpRectF(1, 2, 10, 20);
  EXPECT_EQ(R, (TdxRectF{1, 2, 11, 22}));
  TdxGpRect I(TRect{5, 6, 8, 10});
  EXPECT_EQ(I.Width, 3);
  EXPECT_EQ(I.Height, 4);
  EXPECT_TRUE(dxGpRectIsEqual(dxGpMakeRectF(I), TdxGpRectF(5, 6, 3, 4)));
  EXPECT_EQ(TdxGpRectF(1, 2, 3, 4).SizeF().cx, 3);
}

TEST(GdiPlusRecords, EncoderOfEachImageFormat) {
  if (!CheckGdiPlus(false)) GTEST_SKIP() << "needs GDI+";
  EXPECT_TRUE(IsEqualGUID(dxGetImageEncoder(dxImageBitmap), BMPEncoder));
  EXPECT_TRUE(IsEqualGUID(dxGetImageEncoder(dxImageMemoryBmp), BMPEncoder));
  EXPECT_TRUE(IsEqualGUID(dxGetImageEncoder(dxImagePng), PNGEncoder));
  EXPECT_TRUE(IsEqualGUID(dxGetImageEncoder(dxImageJpeg), JPEGEncoder));
  for (TdxImageDataFormat F : {dxImageEmf, dxImageWmf, dxImageIcon})
    EXPECT_FALSE(IsCodecIDValid(dxGetImageEncoder(F))) << F;
  for (TdxImageDataFormat F : {dxImageUnknown, dxImageExif}) {
    try {
      dxGetImageEncoder(F);
      ADD_FAILURE() << F;
    } catch (const EdxException& E) {
      EXPECT_EQ(E.Message(), L"dxGetImageEncoder fails");
    }
  }
  EXPECT_EQ(dxGetImageDataFormat(ImageFormatPNG), dxImagePng);
  EXPECT_EQ(dxGetImageDataFormat(ImageFormatMemoryBMP), dxImageMemoryBmp);
  EXPECT_EQ(dxGetImageDataFormat(GUID{}), dxImageUnknown);
  EXPECT_EQ(dxGetImageDataFormat(static_cast<GpImage*>(nullptr)), dxImageUnknown);
}

}  // namespace
