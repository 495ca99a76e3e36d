// Smart images moving to and from other graphics, database blobs and the
// clipboard, and playing their frames.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Clipbrd.h"
#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"
#include "Variants.h"
#include "cxClasses.h"
#include "dxGDIPlusClasses.h"

namespace {

TOwned<TdxSmartImage> ImageOf(const TBytes& ABytes) {
  TOwned<TMemoryStream> S(BytesStream(ABytes));
  TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
  Image->LoadFromStream(S.get());
  return Image;
}

TBytes SavedBytes(TGraphic* AGraphic) {
  TOwned<TMemoryStream> S(Create<TMemoryStream>());
  AGraphic->SaveToStream(S.get());
  return StreamBytes(S.get());
}

Variant ByteArray(const TBytes& ABytes) {
  Variant V = VarArrayCreate({0, static_cast<Integer>(ABytes.size()) - 1}, varByte);
  for (size_t I = 0; I < ABytes.size(); ++I)
    VarArrayPut(V, Variant(static_cast<Integer>(ABytes[I])), {static_cast<Integer>(I)});
  return V;
}

TBytes Header(Word A, Word B, Cardinal ACount) {
  TBytes H;
  for (Word W : {A, B}) {
    H.push_back(static_cast<Byte>(W & 0xFF));
    H.push_back(static_cast<Byte>(W >> 8));
  }
  for (int I = 0; I < 4; ++I) H.push_back(static_cast<Byte>(ACount >> (8 * I)));
  return H;
}

TEST(SmartImageInterchange, BlobsSkipTheGraphicFieldHeaderOnlyWhenItFits) {
  REQUIRE_GDIPLUS();
  const TBytes Png = FixtureBytes(L"RGB5X3_PNG");
  const Cardinal N = static_cast<Cardinal>(Png.size());
  struct TCase {
    const char* Name;
    TBytes Value;
    bool Loaded;  // else the image stays as it was
    TBytes Stored;
  } Cases[] = {
      {"header for n bytes: the n bytes", Header(1, 0x0100, N) + Png, true, Png},
      {"a wrong count: everything", Header(1, 0x0100, N + 1) + Png, true,
       Header(1, 0x0100, N + 1) + Png},
      {"no header: everything", Png, true, Png},
      {"a header and nothing behind it: empty", Header(1, 0x0100, 0), true, TBytes()},
      {"five bytes: unchanged", TBytes(Png.begin(), Png.begin() + 5), false, TBytes()},
  };
  const TBytes Before = FixtureBytes(L"GIF89A5X3_GIF");
  for (const TCase& C : Cases) {
    auto Image = ImageOf(Before);
    Image->LoadFromFieldValue(ByteArray(C.Value));
    EXPECT_EQ(SavedBytes(Image.get()), C.Loaded ? C.Stored : Before) << C.Name;
  }
  // A string value carries the bytes too.
  auto Image = ImageOf(Before);
  Image->LoadFromFieldValue(
      Variant(String(reinterpret_cast<const wchar_t*>(Png.data()), Png.size() / 2)));
  EXPECT_EQ(SavedBytes(Image.get()), TBytes(Png.begin(), Png.begin() + Png.size() / 2 * 2));
}

// An enhanced metafile of AWidth x AHeight pixels filled with AColor.
TOwned<TMetafile> FilledMetafile(Integer AWidth, Integer AHeight, COLORREF AColor) {
  HDC Screen = GetDC(nullptr);
  Integer MMPerPixelX = GetDeviceCaps(Screen, HORZSIZE) * 100 / GetDeviceCaps(Screen, HORZRES);
  Integer MMPerPixelY = GetDeviceCaps(Screen, VERTSIZE) * 100 / GetDeviceCaps(Screen, VERTRES);
  RECT Frame{0, 0, AWidth * MMPerPixelX, AHeight * MMPerPixelY};
  HDC DC = CreateEnhMetaFileW(Screen, nullptr, &Frame, nullptr);
  ReleaseDC(nullptr, Screen);
  RECT R{0, 0, AWidth, AHeight};
  HBRUSH B = CreateSolidBrush(AColor);
  FillRect(DC, &R, B);
  DeleteObject(B);
  TOwned<TMetafile> M(Create<TMetafile>());
  M->SetHandle(CloseEnhMetaFile(DC));
  return M;
}

TEST(SmartImageInterchange, AssignFromAndToOtherGraphics) {
  REQUIRE_GDIPLUS();
  // From a bitmap: its pixels.
  auto Bitmap = FilledBitmap(5, 3, static_cast<TColor>(RGB(10, 120, 200)));
  Bitmap->Canvas()->SetPixel(4, 2, clRed);
  TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
  Image->Assign(Bitmap.get());
  EXPECT_EQ(Image->GetSize(), (TSize{5, 3}));
  EXPECT_EQ(Image->ImageDataFormat(), dxImageMemoryBmp);
  // To a bitmap: the image's size and pixels.
  TOwned<TBitmap> Back(Create<TBitmap>());
  Back->Assign(Image.get());
  EXPECT_EQ(Back->Width(), 5);
  EXPECT_EQ(Back->Height(), 3);
  EXPECT_EQ(PixelOf(Back.get(), 0, 0), RGB(10, 120, 200));
  EXPECT_EQ(PixelOf(Back.get(), 4, 2), RGB(255, 0, 0));

  // From an icon: through a bitmap, with the icon's transparency.
  auto Colour = FilledBitmap(16, 16, static_cast<TColor>(RGB(0, 200, 0)));
  TOwned<TcxBitmap> Mask(TcxBitmap::CreateSize(16, 16, TPixelFormat::pf1bit));
  Mask->cxCanvas()->FillRect(Mask->ClientRect(), clBlack);
  Mask->cxCanvas()->FillRect(cxRect(0, 0, 4, 4), clWhite);  // transparent corner
  Colour->cxCanvas()->FillRect(cxRect(0, 0, 4, 4), clBlack);
  ICONINFO II{TRUE, 0, 0, Mask->Handle(), Colour->Handle()};
  TOwned<TIcon> Icon(Create<TIcon>());
  Icon->SetHandle(CreateIconIndirect(&II));
  Image->Assign(Icon.get());
  EXPECT_EQ(Image->GetSize(), (TSize{16, 16}));
  TRGBColors Bits = Image->GetBitmapBits();
  EXPECT_EQ(Bits[8 * 16 + 8].rgbGreen, 200);
  EXPECT_EQ(Bits[8 * 16 + 8].rgbReserved, 255);
  EXPECT_EQ(Bits[1 * 16 + 1].rgbReserved, 0);

  // From a metafile: its file, decoded on demand; back to a metafile.
  auto Metafile = FilledMetafile(8, 6, RGB(200, 0, 0));
  Image->Assign(Metafile.get());
  EXPECT_EQ(Image->ImageDataFormat(), dxImageEmf);
  EXPECT_FALSE(Image->Empty());
  TRGBColors Drawn = Image->GetBitmapBits();
  ASSERT_FALSE(Drawn.empty());
  EXPECT_EQ(Drawn[Drawn.size() / 2].rgbRed, 200);
  TOwned<TMetafile> Copy(Create<TMetafile>());
  Copy->Assign(Image.get());
  EXPECT_FALSE(Copy->Empty());
  EXPECT_EQ(SavedBytes(Copy.get()), SavedBytes(Metafile.get()));
  // A raster image cannot become a metafile: the codecs do not encode.
  auto Png = ImageOf(FixtureBytes(L"RGB5X3_PNG"));
  EXPECT_THROW(Copy->Assign(Png.get()), EdxException);
  // A clone is of the same class and equal.
  TOwned<TdxCustomSmartImage> Clone(Png->Clone());
  EXPECT_TRUE(Clone->Is<TdxSmartImage>());
  EXPECT_TRUE(Clone->Equals(Png.get()));
}

// ---------------------------------------------------------------------------
// The clipboard

UINT Registered(const wchar_t* AName) { return RegisterClipboardFormatW(AName); }

// Puts ACount formats with their data on the clipboard.
void PutOnClipboard(std::initializer_list<std::pair<UINT, HANDLE>> AData) {
  TClipboard::TOpened Opened(Clipboard());
  Clipboard()->Clear();
  for (const auto& D : AData) Clipboard()->SetAsHandle(D.first, D.second);
}

HGLOBAL GlobalOf(const TBytes& ABytes) {
  HGLOBAL G = GlobalAlloc(GMEM_MOVEABLE, ABytes.size());
  std::memcpy(GlobalLock(G), ABytes.data(), ABytes.size());
  GlobalUnlock(G);
  return G;
}

String ExeFolder() {
  wchar_t Path[MAX_PATH];
  DWORD N = GetModuleFileNameW(nullptr, Path, MAX_PATH);
  String S(Path, N);
  return S.substr(0, S.find_last_of(L'\\') + 1);
}

// Runs the clipboard reader of the tests, a process of its own, and returns
// its exit code.
DWORD ReadPngInAnotherProcess(const String& AFile) {
  String Command = L"\"" + ExeFolder() + L"clipboardpng.exe\" \"" + AFile + L"\"";
  STARTUPINFOW SI{};
  SI.cb = sizeof(SI);
  PROCESS_INFORMATION PI{};
  if (!CreateProcessW(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &SI,
                      &PI))
    return static_cast<DWORD>(-1);
  WaitForSingleObject(PI.hProcess, 60000);
  DWORD Code = static_cast<DWORD>(-2);
  GetExitCodeProcess(PI.hProcess, &Code);
  CloseHandle(PI.hThread);
  CloseHandle(PI.hProcess);
  return Code;
}

TEST(SmartImageClipboard, PastingPrefersPngToABitmap) {
  REQUIRE_GDIPLUS();
  auto Red = FilledBitmap(4, 4, clRed);
  HBITMAP Copy = static_cast<HBITMAP>(CopyImage(Red->Handle(), IMAGE_BITMAP, 0, 0, 0));
  PutOnClipboard({{CF_BITMAP, Copy}, {Registered(L"PNG"), GlobalOf(FixtureBytes(L"RGB5X3_PNG"))}});
  EXPECT_TRUE(TdxSmartImage::HasClipboardFormat());
  TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
  Image->PasteFromClipboard();
  EXPECT_EQ(Image->ImageDataFormat(), dxImagePng);
  EXPECT_EQ(Image->GetSize(), (TSize{5, 3}));
  // With only a bitmap there, the bitmap.
  HBITMAP Only = static_cast<HBITMAP>(CopyImage(Red->Handle(), IMAGE_BITMAP, 0, 0, 0));
  PutOnClipboard({{CF_BITMAP, Only}});
  Image->PasteFromClipboard();
  EXPECT_EQ(Image->GetSize(), (TSize{4, 4}));
  EXPECT_EQ(Image->GetBitmapBits()[5].rgbRed, 255);
  // Nothing of an image: nothing taken, and no format reported.
  PutOnClipboard({});
  Clipboard()->SetAsText(L"text");
  EXPECT_FALSE(TdxSmartImage::HasClipboardFormat());
  EXPECT_FALSE(TdxSmartImage::IsSupportClipboardFormat(0));
  EXPECT_FALSE(TdxSmartImage::IsSupportClipboardFormat(CF_TEXT));
  EXPECT_TRUE(TdxSmartImage::IsSupportClipboardFormat(static_cast<Word>(Registered(L"GIF"))));
}

TEST(SmartImageClipboard, AnEncodedImageGoesAsItsFileAndAsABitmap) {
  REQUIRE_GDIPLUS();
  // The colours that check_export.py expects, as a PNG file.
  TOwned<TdxPNGImage> Made(CheckedExportImage());
  TOwned<TMemoryStream> File(Create<TMemoryStream>());
  Made->SaveToStreamByCodec(File.get(), dxImagePng);
  auto Image = ImageOf(StreamBytes(File.get()));
  Image->CopyToClipboard();
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_TRUE(IsClipboardFormatAvailable(Registered(L"PNG")));
  // Another process reads the PNG data; Pillow opens it afterwards
  // (graphics_clipboard_read_by_pil).
  DeleteFileW(L"graphics_clipboard.png");
  EXPECT_EQ(ReadPngInAnotherProcess(L"graphics_clipboard.png"), 0u);
  TOwned<TdxSmartImage> Read(Create<TdxSmartImage>());
  Read->LoadFromFile(L"graphics_clipboard.png");
  EXPECT_EQ(SavedBytes(Read.get()), StreamBytes(File.get()));
}

TEST(SmartImageClipboard, ABitmapImageGoesAsABitmapOnly) {
  REQUIRE_GDIPLUS();
  // Pixels, and a BMP file that GDI+ decodes: neither has a file format of
  // its own on the clipboard.
  auto Bitmap = FilledBitmap(6, 2, static_cast<TColor>(RGB(30, 60, 90)));
  TOwned<TdxSmartImage> Pixels(Create<TdxSmartImage>());
  Pixels->Assign(Bitmap.get());
  auto Bmp = ImageOf(FixtureBytes(L"CORE5X3_BMP"));
  struct TCase {
    const char* Name;
    TdxSmartImage* Image;
    TdxImageDataFormat Format;
    TSize Size;
  } Cases[] = {{"pixels", Pixels.get(), dxImageMemoryBmp, {6, 2}},
               {"BMP file", Bmp.get(), dxImageBitmap, {5, 3}}};
  for (const TCase& C : Cases) {
    ASSERT_EQ(C.Image->ImageDataFormat(), C.Format) << C.Name;
    C.Image->CopyToClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP)) << C.Name;
    for (const wchar_t* Name : {L"PNG", L"GIF", L"TIFF", L"JPEG"})
      EXPECT_FALSE(IsClipboardFormatAvailable(Registered(Name)))
          << C.Name << " " << AnsiString(Name, Name + wcslen(Name));
    EXPECT_EQ(ReadPngInAnotherProcess(L"graphics_clipboard_none.png"), 1u) << C.Name;
    TOwned<TdxSmartImage> Pasted(Create<TdxSmartImage>());
    Pasted->PasteFromClipboard();
    EXPECT_EQ(Pasted->GetSize(), C.Size) << C.Name;
    TRGBColors A = Pasted->GetBitmapBits(), B = C.Image->GetBitmapBits();
    EXPECT_TRUE(A.size() == B.size() &&
                std::memcmp(A.data(), B.data(), A.size() * sizeof(RGBQUAD)) == 0)
        << C.Name;
  }
  // Cutting copies and empties.
  Pixels->CutToClipboard();
  EXPECT_TRUE(Pixels->Empty());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}

// ---------------------------------------------------------------------------
// Frames

std::vector<Integer> NumbersOf(const wchar_t* AResource) {
  TBytes B = FixtureBytes(AResource);
  std::vector<Integer> R;
  Integer V = -1;
  for (Byte C : B) {
    if (C >= '0' && C <= '9') {
      V = (V < 0 ? 0 : V * 10) + (C - '0');
    } else if (V >= 0) {
      R.push_back(V);
      V = -1;
    }
  }
  if (V >= 0) R.push_back(V);
  return R;
}

TEST(SmartImageFrames, LoopRulesOfTheActiveFrame) {
  REQUIRE_GDIPLUS();
  auto Image = ImageOf(FixtureBytes(L"LOOP2ANIM6X4_GIF"));
  const std::vector<Integer> Delays = NumbersOf(L"LOOP2ANIM6X4_DELAYS");  // by identify
  const std::vector<Integer> Loops = NumbersOf(L"LOOP2ANIM6X4_LOOPS");
  ASSERT_EQ(Delays.size(), 3u);
  ASSERT_EQ(Loops.size(), 1u);
  EXPECT_EQ(Image->AnimationFrameCount(), 3);
  // identify counts the plays, the file the repeats after the first.
  EXPECT_EQ(Image->AnimationLoopCount(), Loops[0] - 1);
  EXPECT_EQ(Image->AnimationLoopCount(), 2);
  for (Integer F = 0; F < 3; ++F) {
    Image->SetActiveFrame(F);
    EXPECT_EQ(Image->ActiveFrame(), F);
    EXPECT_EQ(Image->AnimationFrameDelay(), Delays[F] * 10) << F;
  }
  // The delay set on the image wins over the file's; below 0 counts as 0.
  Image->SetAnimationFrameDelay(15);
  EXPECT_EQ(Image->AnimationFrameDelay(), 15);
  Image->SetAnimationFrameDelay(-4);
  EXPECT_EQ(Image->AnimationFrameDelay(), Delays[2] * 10);

  struct TCase {
    TdxDefaultBoolean Loop;
    std::vector<Integer> AfterWraps;  // the frame after each step past the last
  } Cases[] = {{bTrue, {0, 0, 0, 0}}, {bFalse, {2, 2, 2, 2}}, {bDefault, {0, 0, 2, 2}}};
  for (const TCase& C : Cases) {
    auto I = ImageOf(FixtureBytes(L"LOOP2ANIM6X4_GIF"));
    I->SetAnimationLoop(C.Loop);
    std::vector<Integer> Got;
    for (size_t W = 0; W < C.AfterWraps.size(); ++W) {
      I->SetActiveFrame(2);
      I->SetActiveFrame(3);
      Got.push_back(I->ActiveFrame());
    }
    EXPECT_EQ(Got, C.AfterWraps) << "loop " << C.Loop;
  }
}

TEST(SmartImageFrames, TheBaseControllerNeverRuns) {
  REQUIRE_GDIPLUS();
  ASSERT_EQ(ImageAnimationControllerClass(), TdxSmartImageAnimationController::StaticClass());
  auto Image = ImageOf(FixtureBytes(L"LOOP2ANIM6X4_GIF"));
  Image->SetAnimation(true);
  EXPECT_FALSE(Image->Animation());
  // An image of one frame has nothing to play.
  auto Still = ImageOf(FixtureBytes(L"RGB5X3_PNG"));
  Still->SetAnimation(true);
  EXPECT_FALSE(Still->Animation());
  EXPECT_EQ(Still->AnimationFrameCount(), 1);
  EXPECT_EQ(Still->AnimationLoopCount(), 0);
  EXPECT_EQ(Still->ActiveFrame(), 0);
}

// A timer-driven controller that counts its living instances.
class TCountedController : public TdxImageAnimationController {
  DECLARE_CLASS(TCountedController, TdxImageAnimationController)
 public:
  explicit TCountedController(TdxCustomSmartImage* AImage) : TdxImageAnimationController(AImage) {
    ++Living;
  }
  ~TCountedController() override { --Living; }
  static inline int Living = 0;
};

}  // namespace

IMPLEMENT_CREATABLE_CLASS(TCountedController)

namespace {

// The timers run on the shared timer window, made on first use.
using FramesOnATimer = GraphicsModule;

// Records the frame of every change of the image.
class TFrameRecorder : public TObject {
 public:
  explicit TFrameRecorder(TdxCustomSmartImage* AImage) : FImage(AImage) {}
  void Changed(TObject*) { Frames.push_back(FImage->ActiveFrame()); }
  std::vector<Integer> Frames;

 private:
  TdxCustomSmartImage* FImage;
};

// Pumps messages while the image plays, at most until AMaxChanges changes
// were seen; the wait for each message is bounded so that a timer that
// never fires ends the loop.
void PlayOut(TdxCustomSmartImage* AImage, const TFrameRecorder& ARecorder, size_t AMaxChanges) {
  for (int Waits = 0; AImage->Animation() && ARecorder.Frames.size() < AMaxChanges && Waits < 500;
       ++Waits) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2000, QS_ALLINPUT);
    MSG M;
    while (PeekMessageW(&M, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&M);
      DispatchMessageW(&M);
    }
  }
}

TEST_F(FramesOnATimer, TheTimerAdvancesFramesAndEndsOnTheLastOne) {
  REQUIRE_GDIPLUS();
  ASSERT_EQ(ImageAnimationControllerClass(), TdxImageAnimationController::StaticClass());
  SetImageAnimationControllerClass(TCountedController::StaticClass());
  struct TCase {
    TdxDefaultBoolean Loop;
    std::vector<Integer> Frames;
  } Cases[] = {{bFalse, {1, 2}}, {bDefault, {1, 2, 0, 1, 2, 0, 1, 2}}};
  for (const TCase& C : Cases) {
    auto Image = ImageOf(FixtureBytes(L"LOOP2ANIM6X4_GIF"));
    Image->SetAnimationLoop(C.Loop);
    Image->SetAnimationFrameDelay(10);
    TFrameRecorder Recorder(Image.get());
    Image->OnChange = MakeEvent<&TFrameRecorder::Changed>(&Recorder);
    Integer Timers = ActiveTimerList()->Count();
    Image->SetAnimation(true);
    EXPECT_TRUE(Image->Animation());
    EXPECT_EQ(TCountedController::Living, 1);
    EXPECT_EQ(ActiveTimerList()->Count(), Timers + 1);
    PlayOut(Image.get(), Recorder, C.Frames.size() + 4);
    // The last step freed the controller and its timer from inside the
    // timer's own event.
    EXPECT_EQ(Recorder.Frames, C.Frames) << "loop " << C.Loop;
    EXPECT_FALSE(Image->Animation());
    EXPECT_EQ(TCountedController::Living, 0);
    EXPECT_EQ(ActiveTimerList()->Count(), Timers);
    EXPECT_EQ(Image->ActiveFrame(), 2);
    Image->OnChange = nullptr;
  }
  SetImageAnimationControllerClass(TdxImageAnimationController::StaticClass());
}

TEST_F(FramesOnATimer, TheControllersTimerAndTiffPages) {
  REQUIRE_GDIPLUS();
  auto Image = ImageOf(FixtureBytes(L"LOOP2ANIM6X4_GIF"));
  Integer Timers = ActiveTimerList()->Count();
  {
    TOwned<TdxImageAnimationController> C(Create<TdxImageAnimationController>(Image.get()));
    EXPECT_FALSE(C->IsTimerActive());
    C->ActivateTimer();
    C->ActivateTimer();
    EXPECT_TRUE(C->IsTimerActive());
    EXPECT_TRUE(C->GetActive());
    EXPECT_EQ(ActiveTimerList()->Count(), Timers + 1);
    C->DeactivateTimer();
    EXPECT_FALSE(C->IsTimerActive());
    EXPECT_EQ(ActiveTimerList()->Count(), Timers);
    C->ActivateTimer();
  }
  EXPECT_EQ(ActiveTimerList()->Count(), Timers);  // freed with its controller
  // The pages of a TIFF are no animation.
  auto Tiff = ImageOf(FixtureBytes(L"PAGES2_TIF"));
  EXPECT_EQ(Tiff->ImageDataFormat(), dxImageTiff);
  EXPECT_EQ(Tiff->AnimationFrameCount(), 2);
  Tiff->SetAnimation(true);
  EXPECT_FALSE(Tiff->Animation());
  EXPECT_EQ(ActiveTimerList()->Count(), Timers);
  // The GIF plays until told to stop.
  Image->SetAnimation(true);
  EXPECT_TRUE(Image->Animation());
  Image->SetAnimation(false);
  EXPECT_FALSE(Image->Animation());
  EXPECT_EQ(ActiveTimerList()->Count(), Timers);
}

}  // namespace
