#include <gtest/gtest.h>

#include "cxLibraryStrs.h"
#include "dxCore.h"

namespace {

std::vector<int>* CallLog = nullptr;
void InitA() { CallLog->push_back(1); }
void FinA() { CallLog->push_back(-1); }
void FinB() { CallLog->push_back(-2); }

TEST(UnitsLoader, StartUpRunsAtOnceShutDownIsQueued) {
  std::vector<int> Log;
  CallLog = &Log;
  TOwned<TdxUnitsLoader> L = MakeOwned<TdxUnitsLoader>();
  L->AddUnit(&InitA, &FinA);
  EXPECT_EQ(Log, std::vector<int>{1});
  L->AddUnit(nullptr, &FinB);
  EXPECT_EQ(L->FinalizeCount(), 2);
  L->RemoveUnit(&FinA);
  L->RemoveUnit(&FinA);  // no longer queued: not called again
  EXPECT_EQ(Log, (std::vector<int>{1, -1}));
  L->AddUnit(nullptr, &FinA);
  L.reset();  // the rest runs, last registered first
  EXPECT_EQ(Log, (std::vector<int>{1, -1, -1, -2}));
}

TEST(UnitsLoader, FinalizeWithoutStartUpCallsNothing) {
  std::vector<int> Log;
  CallLog = &Log;
  TOwned<TdxUnitsLoader> L = MakeOwned<TdxUnitsLoader>();
  L->Finalize();  // leaves the loader not initialized
  L->AddUnit(nullptr, &FinA);
  L->Finalize();
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(L->FinalizeCount(), 0);
  EXPECT_FALSE(dxIsDLL());
  dxInitialize();  // the shared loader's queue is empty in a program
  EXPECT_TRUE(dxUnitsLoaderIsInitialized());
}

TEST(PlatformFlags, ComputedFromTheVersions) {
  struct {
    TdxPlatformVersion V;
    bool XPOrLater, Vista, SevenOrLater, Win8OrLater, Win10, Win10OrLater, FallCreators;
  } Cases[] = {
      {{2, 5, 1}, true, false, false, false, false, false, false},
      {{2, 6, 0}, true, true, false, false, false, false, false},
      {{2, 6, 1}, true, false, true, false, false, false, false},
      {{2, 6, 2, true, 10, 0, 16299}, true, false, true, true, true, true, true},
      {{2, 6, 2, true, 10, 0, 17134}, true, false, true, true, true, true, false},
      {{2, 6, 2, true, 6, 3, 9600}, true, false, true, true, false, false, false},
      {{2, 6, 2, true, 11, 0, 1}, true, false, true, true, false, true, false},
      {{2, 6, 2, false}, true, false, true, true, false, false, false},
      {{2, 6, 1, true, 10, 0, 16299}, true, false, true, false, false, false, false},
      {{1, 4, 10}, false, false, false, false, false, false, false},
  };
  for (const auto& C : Cases) {
    TdxPlatformFlags F = dxComputePlatformFlags(C.V);
    EXPECT_EQ(F.WinXPOrLater, C.XPOrLater);
    EXPECT_EQ(F.WinVista, C.Vista);
    EXPECT_EQ(F.WinSevenOrLater, C.SevenOrLater);
    EXPECT_EQ(F.Win8OrLater, C.Win8OrLater);
    EXPECT_EQ(F.Win10, C.Win10);
    EXPECT_EQ(F.Win10OrLater, C.Win10OrLater);
    EXPECT_EQ(F.Win10FallCreatorsUpdate, C.FallCreators);
  }
  TdxPlatformFlags W98 = dxComputePlatformFlags({1, 4, 10});
  EXPECT_TRUE(W98.Win9X && W98.Win98 && !W98.WinNT);
  // The running system is an NT one.
  EXPECT_TRUE(IsWinNT);
  EXPECT_TRUE(IsWinXPOrLater);
}

TEST(PlatformFlags, SixtyFourBitWindowsIsSeenFromEitherBitness) {
  // A 64-bit process is never WOW64, yet it runs on 64-bit Windows; a 32-bit
  // one is on 64-bit Windows exactly when it runs under WOW64.
  BOOL Wow = FALSE;
  bool Wow64 = IsWow64Process(GetCurrentProcess(), &Wow) && Wow;
  EXPECT_EQ(IsWin64Bit, sizeof(Pointer) == 8 || Wow64);
}

TEST(Text, RemoveAccelChars) {
  struct {
    const wchar_t* S;
    bool Underscore;
    const wchar_t* Expected;
  } Cases[] = {
      {L"&File", true, L"File"},  {L"Save &As", true, L"Save As"},
      {L"Next&", true, L"Next_"}, {L"Next&", false, L"Next"},
      {L"", true, L""},           {L"A&&B", true, L"A&B"},
      {L"&&&", false, L"&"},      {L"&&&", true, L"&_"},
      {L"&&x", true, L"&x"},      {L"&&&&&&&", true, L"&&&_"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(RemoveAccelChars(C.S, C.Underscore), C.Expected) << C.S << " " << C.Underscore;
}

TEST(Text, CharacterClasses) {
  EXPECT_TRUE(dxCharIsAlpha(L'a'));
  EXPECT_TRUE(dxWideIsAlpha(L'\x0416'));  // Cyrillic Zhe
  EXPECT_FALSE(dxCharIsAlpha(L'1'));
  EXPECT_TRUE(dxCharIsNumeric(L'7'));
  EXPECT_FALSE(dxWideIsNumeric(L'x'));
  EXPECT_NE(dxGetWideCharCType1(L'\t') & C1_CNTRL, 0);
  TdxAnsiCharSet Set{Byte('a'), Byte('b'), Byte(0xE9)};
  EXPECT_TRUE(dxCharInSet(L'a', Set));
  EXPECT_TRUE(dxCharInSet(L'\x00E9', Set));
  EXPECT_FALSE(dxCharInSet(L'c', Set));
  EXPECT_FALSE(dxCharInSet(L'\x0161', Set));  // low byte $61 is 'a', but above 255
}

TEST(Text, CodePageConversions) {
  EXPECT_EQ(dxAnsiStringToString("", 65001), L"");
  EXPECT_EQ(dxAnsiStringToString("\xD0\x96x", 65001), L"\x0416x");
  EXPECT_EQ(dxStringToAnsiString(L"\x0416x", 65001), "\xD0\x96x");
  EXPECT_EQ(dxAnsiStringToString("\xC6", 1251), L"\x0416");
  EXPECT_EQ(dxStringToAnsiString(L"\x0416", 1251), "\xC6");
  EXPECT_EQ(dxStringToAnsiString(L"", 1251), "");
}

TEST(Locale, InfoAndIdentifiers) {
  EXPECT_EQ(dxMakeLangID(9, 1), 0x0409);
  EXPECT_EQ(dxMakeLCID(0x0419, 0), 0x0419u);
  EXPECT_EQ(dxGetInvariantLocaleID(), static_cast<DWORD>(LOCALE_INVARIANT));
  EXPECT_EQ(dxGetLocaleInfo(0x0409, LOCALE_SDECIMAL, L"?"), L".");
  EXPECT_EQ(dxGetLocaleInfo(0x0419, LOCALE_SDECIMAL, L"?"), L",");
  EXPECT_EQ(dxGetLocaleInfo(0x12345678, LOCALE_SDECIMAL, L"default"), L"default");
  EXPECT_EQ(dxSwap16(0x1234), 0x3412);
  EXPECT_EQ(dxSwap32(0x12345678u), 0x78563412u);
}

TEST(Conversions, FloatTextWithAGivenSeparator) {
  struct {
    const wchar_t* Text;
    Char Separator;
    Extended Value;
  } Cases[] = {{L"1.5", L'.', 1.5L}, {L"1,5", L',', 1.5L}, {L"-0.25", L'.', -0.25L}};
  for (const auto& C : Cases) {
    EXPECT_EQ(dxStrToFloat(C.Text, C.Separator), C.Value);
    EXPECT_EQ(dxFloatToStr(C.Value, C.Separator), C.Text);
  }
  EXPECT_THROW(dxStrToFloat(L"1,5", L'.'), EConvertError);
  EXPECT_THROW(dxStrToFloat(L"abc", L'.'), EConvertError);
  EXPECT_EQ(dxInvariantFormatSettings().DecimalSeparator, L'.');
}

TEST(Conversions, VariantsAndStreams) {
  EXPECT_EQ(dxVariantToString(Variant(L"text")), L"text");
  EXPECT_EQ(dxVariantToString(Variant(42)), L"42");
  Variant Bytes = VarArrayCreate({0, 2}, varByte);
  VarArrayPut(Bytes, Variant(Byte('a')), {0});
  VarArrayPut(Bytes, Variant(Byte('b')), {1});
  VarArrayPut(Bytes, Variant(Byte('c')), {2});
  EXPECT_EQ(dxVariantToAnsiString(Bytes), "abc");
  EXPECT_EQ(dxVariantToString(Bytes), L"abc");
  EXPECT_TRUE(dxVarIsBlob(Bytes));
  EXPECT_TRUE(dxVarIsBlob(Variant(L"x")));
  EXPECT_FALSE(dxVarIsBlob(Variant(1)));
  EXPECT_THROW(dxVariantToAnsiString(Null()), EVariantError);

  TOwned<TMemoryStream> S = MakeOwned<TMemoryStream>();
  WriteIntegerToStream(S.get(), 0x01020304);
  WriteIntegerToStream(S.get(), -2);
  ASSERT_EQ(S->Size(), 8);
  const Byte* P = static_cast<const Byte*>(S->Memory());
  EXPECT_EQ(std::vector<Byte>(P, P + 8), (std::vector<Byte>{4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}));
}

// --- resource strings

int AddCalls = 0;
void AddOne(TdxProductResourceStrings* P) {
  ++AddCalls;
  P->Add(L"cxSDateToday", &cxSDateToday);
}
void AddTwo(TdxProductResourceStrings* P) {
  ++AddCalls;
  P->Add(L"CXSDATETODAY", &cxSDateNow);  // same name in other case: the first record stays
  P->Add(L"cxSDateNow", &cxSDateNow);
}

TEST(ResourceStrings, LibraryTextsComeFromTheStringTable) {
  EXPECT_EQ(cxGetResourceString(&cxSDateToday), L"today");
  EXPECT_EQ(cxGetResourceString(&scxCantCreateRegistryKey), L"Can't create the registry key: \\%s");
  EXPECT_EQ(cxGetResourceString(&scxBuiltInLookAndFeelStyles), L"Built-In Look && Feel Styles");
  TdxResourceStringsRepository* R = dxResourceStringsRepository();
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(R->GetOriginalValue(L"CXSDATESATURDAY"), L"Saturday");
  EXPECT_EQ(R->GetOriginalValue(L"noSuchName"), L"");
  Integer Index = R->GetProductIndexByName(cxLibraryProductName);
  ASSERT_GE(Index, 0);
  EXPECT_EQ(R->Products(Index)->ResStringsCount(), 28);
  EXPECT_THROW(R->Products(R->ProductsCount()), EListError);
  EXPECT_EQ(dxResStringsModificationMode(), rmmUndefined);
}

TEST(ResourceStrings, ProductRegistration) {
  TOwned<TdxResourceStringsRepository> R = MakeOwned<TdxResourceStringsRepository>();
  AddCalls = 0;
  R->RegisterProduct(L"X", &AddOne);
  R->RegisterProduct(L"X", &AddOne);
  EXPECT_EQ(R->ProductsCount(), 1);
  EXPECT_EQ(AddCalls, 1);
  R->RegisterProduct(L"X", &AddTwo);
  EXPECT_EQ(AddCalls, 2);
  TdxProductResourceStrings* P = R->Products(0);
  EXPECT_EQ(P->ResStringsCount(), 2);
  EXPECT_EQ(P->Values(P->GetIndexByName(L"cxsdatetoday")), L"today");
  EXPECT_EQ(R->GetProductIndexByName(L"x"), -1);
  EXPECT_EQ(R->GetOriginalValue(L"CXSDATENOW"), L"now");
  R->UnRegisterProduct(L"X", &AddOne);
  EXPECT_EQ(R->ProductsCount(), 1);
  R->UnRegisterProduct(L"unknown");
  R->UnRegisterProduct(L"X", &AddTwo);
  EXPECT_EQ(R->ProductsCount(), 0);
  R->RegisterProduct(L"Y", &AddOne);
  R->UnRegisterProduct(L"Y");
  EXPECT_EQ(R->ProductsCount(), 0);
}

class TTranslator : public TObject {
 public:
  std::vector<String> Names;
  void Translate(const String& AName, PResStringRec) { Names.push_back(AName); }
};

TEST(ResourceStrings, TranslateWalksProductsInOrder) {
  TOwned<TdxResourceStringsRepository> R = MakeOwned<TdxResourceStringsRepository>();
  R->RegisterProduct(L"B", &AddTwo);
  R->RegisterProduct(L"A", &AddOne);
  R->Translate();  // no event: nothing happens
  // SetTranslation reports through the shared repository's event.
  TdxResourceStringsRepository* Shared = dxResourceStringsRepository();
  TTranslator T;
  Shared->SetOnTranslateResString(MakeEvent<&TTranslator::Translate>(&T));
  R->SetOnTranslateResString(Shared->OnTranslateResString());
  R->Translate();
  Shared->SetOnTranslateResString(nullptr);
  EXPECT_EQ(T.Names, (std::vector<String>{L"cxSDateNow", L"CXSDATETODAY", L"cxSDateToday"}));
}

class TListener : public IdxLocalizerListener {
 public:
  int Calls = 0;
  TdxResourceStringsRepository* Repository = nullptr;
  TListener* RemoveOnCall = nullptr;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void STDMETHODCALLTYPE TranslationChanged() override {
    ++Calls;
    if (RemoveOnCall) Repository->RemoveListener(RemoveOnCall);
  }
};

TEST(ResourceStrings, ListenersMayLeaveDuringNotification) {
  TOwned<TdxResourceStringsRepository> R = MakeOwned<TdxResourceStringsRepository>();
  TListener A, B, C;
  for (auto* L : {&A, &B, &C}) L->Repository = R.get();
  A.RemoveOnCall = &A;
  B.RemoveOnCall = &C;
  R->AddListener(&A);
  R->AddListener(&A);
  R->AddListener(&B);
  R->AddListener(&C);
  R->RemoveListener(nullptr);
  EXPECT_EQ(R->ListenerCount(), 3);
  R->NotifyListeners();
  EXPECT_EQ(A.Calls, 1);
  EXPECT_EQ(B.Calls, 1);
  EXPECT_EQ(C.Calls, 0);
  EXPECT_EQ(R->ListenerCount(), 1);
}

}  // namespace
