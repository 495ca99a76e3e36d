#include <gtest/gtest.h>
#include <shlobj.h>

#include "Forms.h"
#include "TraceLines.h"
#include "gkCommon.h"
#include "gkTrace.h"
#include "gkTypes.h"

namespace {

class GkCommon : public testing::Test {
 protected:
  void SetUp() override {
    gkCommon_Initialize();
    gkTrace_Initialize();
  }
  void TearDown() override {
    gkTrace_Finalize();
    gkCommon_Finalize();
  }
};

std::vector<String> Items(const TStrings& L) {
  std::vector<String> R;
  for (Integer I = 0; I < L.Count(); ++I) R.push_back(L.Get(I));
  return R;
}

TEST_F(GkCommon, AddSlashTrimsAndAppendsOnce) {
  struct Case {
    const wchar_t* In;
    Char Slash;
    const wchar_t* Out;
  } Cases[] = {
      {L"  C:\\Data  ", L'\\', L"C:\\Data\\"},
      {L"C:\\Data\\", L'\\', L"C:\\Data\\"},
      {L"", L'\\', L""},
      {L" \t ", L'\\', L""},
      {L"Context", L':', L"Context:"},
      {L"Context:", L':', L"Context:"},
  };
  for (const Case& C : Cases) EXPECT_EQ(AddSlash(C.In, C.Slash), C.Out) << C.In;
}

TEST_F(GkCommon, StrToListSplitsWithQuotesAndEmptyItems) {
  struct Case {
    const wchar_t* In;
    Boolean Trim, Quote;
    std::vector<String> Out;
  } Cases[] = {
      {L"a, \"b,c\" ,d", true, true, {L"a", L"\"b,c\"", L"d"}},
      {L"a, \"b,c\" ,d", true, false, {L"a", L"\"b", L"c\"", L"d"}},
      {L"a,,b,", true, true, {L"a", L"", L"b"}},
      {L" a , b ", false, true, {L"a ", L" b"}},
  };
  TOwned<TStringList> L = MakeOwned<TStringList>();
  for (const Case& C : Cases) {
    EXPECT_TRUE(StrToList(C.In, L.get(), L",", C.Trim, C.Quote));
    EXPECT_EQ(Items(*L), C.Out) << C.In;
  }
  EXPECT_TRUE(StrToList(L"a;b", L.get(), L"", true, true));
  EXPECT_EQ(Items(*L), std::vector<String>{L"a;b"});
  EXPECT_TRUE(StrToList(L"a<>b<>c", L.get(), L"<>", true, true));
  EXPECT_EQ(Items(*L), (std::vector<String>{L"a", L"b", L"c"}));
  L->Add(L"stale");
  EXPECT_FALSE(StrToList(L"   ", L.get(), L",", true, true));
  EXPECT_EQ(L->Count(), 0);
  EXPECT_FALSE(StrToList(L"a", nullptr, L",", true, true));
}

TEST_F(GkCommon, FormatTickCountNamesTheNonZeroParts) {
  const Int64 All = 86400000 + 3600000 + 60000 + 1000 + 1;
  EXPECT_EQ(FormatTickCount(All, true), L"1 д 1 ч 1 мин 1 сек 1 мс");
  EXPECT_EQ(FormatTickCount(All, false), L"1 д 1 ч 1 мин 1 сек");
  EXPECT_EQ(FormatTickCount(225000, false), L"3 мин 45 сек");
  EXPECT_EQ(FormatTickCount(999, false), L"");
  EXPECT_EQ(FormatTickCount(0, true), L"");
}

TEST_F(GkCommon, TextComparisonsIgnoreCase) {
  EXPECT_TRUE(CText(L"Ёлка", L"ёлка"));
  EXPECT_FALSE(CText(L"Ёлка", L"ёлки"));
  EXPECT_TRUE(CText(L"xvt320MDITASK100", {L"#32770", L"xvt320mditask100"}));
  EXPECT_FALSE(CText(L"Static", {L"#32770", L"Button"}));
  EXPECT_TRUE(FText(L"pen", L"MAPINFOW.PEN"));
  EXPECT_TRUE(FText(L"стиля", L"ФАЙЛ СТИЛЯ ЛИНИЙ"));
  EXPECT_FALSE(FText(L"", L"anything"));
  EXPECT_TRUE(FText({L"Undim", L"Close Table"}, L"close table T1"));
  EXPECT_FALSE(FText({L"Undim", L"Close Table"}, L"Open Table T1"));
}

TEST_F(GkCommon, CombineStrJoinsOnlyNonEmptyTexts) {
  EXPECT_EQ(CombineStr(L"", L"; ", L"b"), L"b");
  EXPECT_EQ(CombineStr(L"a", L"; ", L""), L"a");
  EXPECT_EQ(CombineStr(L"a", L"; ", L"b"), L"a; b");
  EXPECT_EQ(CombineStr(L"", L"; ", L""), L"");
}

TEST_F(GkCommon, StrGivesDisplayText) {
  Variant A = VarArrayCreate({0, 1}, varVariant);
  VarArrayPut(A, Variant(10), {0});
  VarArrayPut(A, Variant(20), {1});
  EXPECT_EQ(Str(A), L"[0.10,1.20]");
  EXPECT_EQ(Str(VarArrayCreate({0, -1}, varVariant)), L"[]");
  EXPECT_EQ(Str(Null()), L"Null");
  EXPECT_EQ(Str(Unassigned()), L"Empty");
  EXPECT_EQ(Str(Variant(L"text")), L"text");
  // Whatever the system code page, a Russian message stays readable.
  EXPECT_EQ(Str(Variant(L"Не указана входная папка. Ω")), L"Не указана входная папка. Ω");
  // A two-dimensional array cannot be read by one index: the failure is the
  // text, not an exception.
  Variant M = VarArrayCreate({0, 1, 0, 1}, varInteger);
  EXPECT_EQ(Str(M).rfind(L"Ошибка в Str(): ", 0), 0u) << Str(M);
  EXPECT_EQ(V2S(Null()), L"");
  EXPECT_EQ(V2S(Unassigned()), L"");
  EXPECT_EQ(V2S(Variant(42)), L"42");
}

TEST_F(GkCommon, V2BReadsTextsAndNumbers) {
  struct Case {
    Variant Value;
    Boolean Expected;
  } Cases[] = {
      {Unassigned(), false},   {Null(), false},          {Variant(L""), false},
      {Variant(L"  "), false}, {Variant(L"True"), true}, {Variant(L" true "), true},
      {Variant(L"1"), true},   {Variant(L"0"), false},   {Variant(L"yes"), false},
      {Variant(1), true},      {Variant(0), false},      {Variant(true), true},
  };
  for (const Case& C : Cases) EXPECT_EQ(V2B(C.Value), C.Expected) << Str(C.Value);
}

TEST_F(GkCommon, TryVarAsTypeKeepsTheValueWhenItCannotConvert) {
  Boolean Turned = false;
  Variant R = TryVarAsType(Variant(L"12"), varInteger, Turned);
  EXPECT_TRUE(Turned);
  EXPECT_EQ(VarType(R), varInteger);
  R = TryVarAsType(Variant(L"twelve"), varInteger, Turned);
  EXPECT_FALSE(Turned);
  EXPECT_EQ(V2S(R), L"twelve");
}

TEST_F(GkCommon, CompareVarIsATotalOrder) {
  Variant A12 = VarArrayOf({Variant(1), Variant(2)});
  Variant A13 = VarArrayOf({Variant(1), Variant(3)});
  Variant A1 = VarArrayOf({Variant(1)});
  struct Case {
    Variant L, R;
    Integer Expected;
  } Cases[] = {
      {Null(), Unassigned(), 1},
      {Unassigned(), Null(), -1},
      {Unassigned(), Unassigned(), 0},
      {Null(), Null(), 0},
      {Null(), Variant(1), -1},
      {Variant(1), Null(), 1},
      {Variant(2), Variant(L"2"), 0},
      {Variant(1), Variant(2), -1},
      {Variant(3), Variant(2), 1},
      {A12, A12, 0},
      {A12, A13, -1},
      {A13, A12, 1},
      {A12, A1, 1},
      {A1, A12, -1},
      {A12, Variant(1), 1},
      {Variant(1), A12, 1},
      {Variant(L"abc"), Variant(1), 1},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(CompareVar(C.L, C.R), C.Expected) << Str(C.L) << " vs " << Str(C.R);
  }
}

TEST_F(GkCommon, ReRaiseKeepsTheClassAndBuildsTheMessage) {
  struct Case {
    const wchar_t* Context;
    const wchar_t* Expected;
  } Cases[] = {
      {L"", L"bad value"},
      {L"Reading BAD VALUE from the file", L"Reading BAD VALUE from the file"},
      {L"Reading", L"Reading: bad value"},
      {L"Reading:", L"Reading: bad value"},
  };
  for (const Case& C : Cases) {
    try {
      ReRaise(EConvertError(L"bad value"), C.Context);
    } catch (const Exception& E) {
      EXPECT_EQ(E.ClassType(), EConvertError::StaticClass());
      EXPECT_EQ(E.Message(), C.Expected);
    }
  }
  EXPECT_THROW(ReRaise(EgkException(L"x")), EgkException);
}

TEST_F(GkCommon, IniPathIsTheProductFolderUnderApplicationData) {
  wchar_t AppData[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, AppData), S_OK);
  EXPECT_EQ(GetIniPath(), String(AppData) + L"\\Vosk\\5.0\\");
  EXPECT_EQ(GetUserFolderPath(CSIDL_APPDATA), AppData);
  const String Temp = GetTempPath2();
  ASSERT_FALSE(Temp.empty());
  EXPECT_EQ(Temp.back(), L'\\');
  EXPECT_TRUE(DirectoryExists(Temp));
}

TEST_F(GkCommon, WindowTextAndClassName) {
  HWND Wnd = CreateWindowExW(0, L"Static", L"Файл стиля", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(Wnd);
  EXPECT_EQ(GetWindowString(Wnd), L"Файл стиля");
  EXPECT_TRUE(CText(GetClassString(Wnd), L"Static"));
  SetWindowTextW(Wnd, String(400, L'x').c_str());
  EXPECT_EQ(GetWindowString(Wnd), String(300, L'x'));
  DestroyWindow(Wnd);
  EXPECT_EQ(GetWindowString(Wnd), L"");
  EXPECT_EQ(GetClassString(Wnd), L"");
  EXPECT_GT(GetPixelsPerInch(), 0);
}

TEST_F(GkCommon, GetLastErrorExGivesThePlatformText) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLastErrorEx(), SysErrorMessage(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(GetLastErrorEx().empty());
}

TEST_F(GkCommon, TraceGoesToTheAttachedSinkOnly) {
  gkPrint(L"dropped");
  TTraceLines Log;
  Log.Attach();
  EXPECT_EQ(Output(), Log.Sink.get());
  gkPrint(L"one");
  gkPrint(L"%s=%d", {L"two", 2});
  EXPECT_EQ(Log.Lines, (std::vector<String>{L"one", L"two=2"}));
  // The sink object takes the lines with its own indentation.
  auto Stored = MakeOwned<TStringList>();
  Log.Sink->SetStorageMemory(Stored.get());
  Log.Sink->SetIndentCount(1);
  gkPrint(L"three");
  EXPECT_EQ(Items(*Stored), std::vector<String>{L"  three"});
}

class TPrintingThread : public TThread {
  DECLARE_CLASS_INLINE(TPrintingThread, TThread)
 public:
  TPrintingThread() : TThread(false) {}

 protected:
  void Execute() override { gkPrint(L"from worker"); }
};

// A thread the framework did not start has no thread object.
DWORD WINAPI PrintFromAForeignThread(LPVOID) {
  gkPrint(L"from a foreign thread");
  return 0;
}

TEST_F(GkCommon, TraceFromAWorkerIsPrintedByTheMainThreadUnderTheThreadsClass) {
  TTraceLines Log;
  Log.Attach();
  TOwned<TPrintingThread> T = MakeOwned<TPrintingThread>();
  const DWORD Id = T->ThreadID();
  T->WaitFor();  // serves the thread's synchronised print
  ASSERT_EQ(Log.Lines.size(), 1u);
  EXPECT_EQ(Log.Lines[0], Format(L"{TPrintingThread.%d} from worker", {Id}));

  DWORD ForeignId = 0;
  HANDLE H = CreateThread(nullptr, 0, &PrintFromAForeignThread, nullptr, 0, &ForeignId);
  ASSERT_NE(H, nullptr);
  while (WaitForSingleObject(H, 10) == WAIT_TIMEOUT) CheckSynchronize(10);
  CloseHandle(H);
  ASSERT_EQ(Log.Lines.size(), 2u);
  EXPECT_EQ(Log.Lines[1], Format(L"{TExternalThread.%d} from a foreign thread", {ForeignId}));
}

TEST_F(GkCommon, SavedCursorsComeBackInReverseOrder) {
  ASSERT_NE(Screen(), nullptr);
  Screen()->SetCursor(crDefault);
  SaveCursor(crHourGlass);
  SaveCursor(crHourGlass);
  EXPECT_EQ(Screen()->Cursor(), crHourGlass);
  RestoreCursor();
  EXPECT_EQ(Screen()->Cursor(), crHourGlass);
  RestoreCursor();
  EXPECT_EQ(Screen()->Cursor(), crDefault);
  // An empty stack changes nothing.
  Screen()->SetCursor(crCross);
  RestoreCursor();
  EXPECT_EQ(Screen()->Cursor(), crCross);
  // Nested operations with cursors of their own.
  SaveCursor(crHourGlass);
  SaveCursor(crSizeAll);
  RawSetCursor(crHandPoint);
  RestoreCursor();
  EXPECT_EQ(Screen()->Cursor(), crHourGlass);
  RestoreCursor();
  EXPECT_EQ(Screen()->Cursor(), crCross);
  Screen()->SetCursor(crDefault);
}

TEST_F(GkCommon, TheSystemFontIsThePlatformsMenuFont) {
  NONCLIENTMETRICSW M{};
  M.cbSize = sizeof(M);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(M), &M, 0));
  CreateSystemFont();
  EXPECT_EQ(SystemFont()->Name(), String(M.lfMenuFont.lfFaceName));
  EXPECT_EQ(SystemFont()->Height(), M.lfMenuFont.lfHeight);
  // The shared object itself, not a copy.
  EXPECT_EQ(SystemFont(), SystemFont());
  EXPECT_EQ(DocumentFont()->Name(), SystemFont()->Name());
  EXPECT_EQ(DocumentFont()->Height(), SystemFont()->Height());
}

TEST_F(GkCommon, TheDialogFontIsOnePixelSmallerFrom120PixelsPerInch) {
  SystemFont()->SetName(L"Tahoma");
  SystemFont()->SetHeight(-13);
  struct Case {
    Integer PixelsPerInch, DialogHeight;
  } Cases[] = {{96, -13}, {119, -13}, {120, -12}, {144, -12}, {192, -12}};
  for (const Case& C : Cases) {
    ChangeFonts(C.PixelsPerInch);
    EXPECT_EQ(DialogFont()->Height(), C.DialogHeight) << C.PixelsPerInch;
    EXPECT_EQ(DialogFont()->Name(), L"Tahoma");
    EXPECT_EQ(DocumentFont()->Height(), -13) << C.PixelsPerInch;
  }
  // A font given by its cell height loses the pixel the same way.
  SystemFont()->SetHeight(16);
  ChangeFonts(120);
  EXPECT_EQ(DialogFont()->Height(), -15);
  ChangeFonts();
  EXPECT_EQ(DialogFont()->Height(), GetPixelsPerInch() >= 120 ? -15 : 16);
}

TEST_F(GkCommon, AverageCharacterSizeOfTheCanvasFont) {
  String Letters;
  for (wchar_t C = L'A'; C <= L'Z'; ++C) Letters += C;
  for (wchar_t C = L'a'; C <= L'z'; ++C) Letters += C;
  auto Bitmap = MakeOwned<TBitmap>(16, 16);
  TCanvas* Canvas = Bitmap->Canvas();
  Canvas->Font()->SetName(L"Tahoma");
  TSize Previous{0, 0};
  for (Integer Height : {-11, -13, -22}) {
    Canvas->Font()->SetHeight(Height);
    TSize Size = GetAveCharSize(Canvas);
    // Whole pixels: the width of all 52 letters divided without remainder.
    EXPECT_EQ(Size.cx, Canvas->TextWidth(Letters) / 52) << Height;
    EXPECT_EQ(Size.cy, Canvas->TextHeight(Letters)) << Height;
    EXPECT_GT(Size.cx, Previous.cx) << Height;
    EXPECT_GT(Size.cy, Previous.cy) << Height;
    Previous = Size;
  }
}

TEST_F(GkCommon, WindowPositionTextParsesAndIsFittedIntoTheWorkArea) {
  RECT R{};
  Integer Flag = 0;
  EXPECT_FALSE(ExtractWindowPosition(L"", R, Flag));
  EXPECT_FALSE(ExtractWindowPosition(L"1,2,3", R, Flag));
  ASSERT_TRUE(ExtractWindowPosition(L"1, 2, 3, 4", R, Flag));
  EXPECT_EQ(Flag, 1);
  ASSERT_TRUE(ExtractWindowPosition(L"10,20,300,400,2", R, Flag));
  EXPECT_EQ(R.left, 10);
  EXPECT_EQ(R.bottom, 400);
  EXPECT_EQ(Flag, 2);
  EXPECT_THROW(ExtractWindowPosition(L"1,x,3,4", R, Flag), EConvertError);

  RECT W{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &W, 0);
  const LONG WW = W.right - W.left, WH = W.bottom - W.top;
  RECT Big{0, 0, WW + 3000, WH + 3000};
  CheckWindowPosition(Big, true, true);
  EXPECT_EQ(Big.left, 0);
  EXPECT_EQ(Big.top, 0);
  EXPECT_EQ(Big.right, WW);
  EXPECT_EQ(Big.bottom, WH);
  RECT Off{WW - 50, WH - 50, WW + 50, WH + 50};
  CheckWindowPosition(Off, true, true);
  EXPECT_EQ(Off.right, WW);
  EXPECT_EQ(Off.bottom, WH);
  EXPECT_EQ(Off.right - Off.left, 100);
}

TEST_F(GkCommon, WindowPositionRoundTripAndMaximise) {
  HWND Wnd = CreateWindowExW(0, L"Static", L"pos", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                             nullptr, nullptr, nullptr);
  ASSERT_TRUE(Wnd);
  LoadWindowPosition(Wnd, L"30,40,330,240,2", false);
  EXPECT_EQ(SaveWindowPosition(Wnd), L"30,40,330,240,1");
  LoadWindowPosition(Wnd, L"30,40,330,240,2", true);
  EXPECT_EQ(SaveWindowPosition(Wnd), L"30,40,330,240,2");
  LoadWindowPosition(Wnd, L"1,2,3", true);  // ignored
  EXPECT_EQ(SaveWindowPosition(Wnd), L"30,40,330,240,2");
  DestroyWindow(Wnd);
  EXPECT_EQ(SaveWindowPosition(Wnd), L"");
}

TEST_F(GkCommon, TraceModuleKeepsADuplicateFreeLogFileList) {
  ASSERT_NE(AttachLogFiles(), nullptr);
  AttachLogFiles()->Add(L"a.log");
  AttachLogFiles()->Add(L"a.log");
  EXPECT_EQ(AttachLogFiles()->Count(), 1);
  EXPECT_EQ(Trace(), nullptr);
  gkTrace_Finalize();
  EXPECT_EQ(AttachLogFiles(), nullptr);
}

}  // namespace

namespace {

TEST_F(GkCommon, AverageCharacterSizeLeavesTheCanvasInChargeOfItsFont) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(4, 4);
  TCanvas* C = B.Canvas();
  C->Font()->SetHeight(-13);
  TSize Small = GetAveCharSize(C);
  EXPECT_GT(Small.cx, 0);
  EXPECT_GT(Small.cy, 0);
  HDC DC = C->Handle();
  HFONT Measured = C->Font()->Handle();
  // A change of the canvas's font frees the old handle; the canvas must
  // have put it out of its DC first, or it stays selected and undeleted.
  C->Font()->SetHeight(-26);
  EXPECT_NE(GetCurrentObject(DC, OBJ_FONT), Measured);
  EXPECT_EQ(GetObjectType(Measured), 0u);
  EXPECT_GT(GetAveCharSize(C).cy, Small.cy);
  EXPECT_EQ(GetPixelsPerInch(), GetScreenDPI());
}

}  // namespace
