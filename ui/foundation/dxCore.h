// The lowest module of the component library: the units loader, the platform
// flags, the resource-string repository, locale and conversion routines, and
// the listener list that every notifying service of the library uses.
#pragma once

#include <vector>

#include "Classes.h"
#include "SysUtils.h"
#include "Variants.h"

// ---------------------------------------------------------------------------
// Shared enumerations and the library's exception class
enum TdxDefaultBoolean { bFalse, bTrue, bDefault };
enum TdxCorner { coTopLeft, coTopRight, coBottomLeft, coBottomRight };
using TdxCorners = TSet<TdxCorner>;
enum TdxSortOrder { soNone, soAscending, soDescending };
enum TdxOrientation { orHorizontal, orVertical };
enum TdxDirectedOrientation { doLeftToRight, doTopToBottom, doBottomToTop, doRightToLeft };
enum TdxTextOrientation { toLeftToRight, toTopToBottom, toBottomToTop };

DECLARE_EXCEPTION(EdxException, Exception)

// ---------------------------------------------------------------------------
// A list of subscribers that stays consistent while it is being walked: a
// subscriber may unsubscribe itself or any other one from inside its call.
// Removal during a walk only marks the entry, so indexes stay valid and a
// removed subscriber that has not been reached yet is not called; entries
// added during a walk are not called by that walk. The list is compacted when
// the outermost walk ends.
template <class T>
class TdxListenerList {
 public:
  void Add(const T& AValue) { FItems.push_back(TEntry{AValue, true}); }
  // Removes the first live occurrence; false when there is none.
  bool Remove(const T& AValue) {
    for (size_t I = 0; I < FItems.size(); ++I) {
      if (FItems[I].Live && FItems[I].Value == AValue) {
        RemoveAt(I);
        return true;
      }
    }
    return false;
  }
  void Clear() {
    if (FWalks == 0) {
      FItems.clear();
    } else {
      for (size_t I = 0; I < FItems.size(); ++I) RemoveAt(I);
    }
  }
  bool Contains(const T& AValue) const {
    for (const TEntry& E : FItems)
      if (E.Live && E.Value == AValue) return true;
    return false;
  }
  Integer Count() const {
    Integer N = 0;
    for (const TEntry& E : FItems) N += E.Live ? 1 : 0;
    return N;
  }
  bool Empty() const { return Count() == 0; }

  // Calls AProc(value) for each subscriber, oldest first.
  template <class F>
  void ForEach(F&& AProc) {
    TWalk Walk(*this);
    const size_t N = FItems.size();
    for (size_t I = 0; I < N; ++I) CallAt(I, AProc);
  }
  // Calls AProc(value) for each subscriber, newest first.
  template <class F>
  void ForEachReverse(F&& AProc) {
    TWalk Walk(*this);
    for (size_t I = FItems.size(); I-- > 0;) CallAt(I, AProc);
  }
  // The live subscribers in order (a snapshot).
  std::vector<T> Items() const {
    std::vector<T> R;
    for (const TEntry& E : FItems)
      if (E.Live) R.push_back(E.Value);
    return R;
  }

 private:
  struct TEntry {
    T Value;
    bool Live;
  };
  struct TWalk {
    explicit TWalk(TdxListenerList& AList) : List(AList) { ++List.FWalks; }
    ~TWalk() {
      if (--List.FWalks == 0 && List.FDirty) List.Compact();
    }
    TdxListenerList& List;
  };
  template <class F>
  void CallAt(size_t I, F& AProc) {
    if (!FItems[I].Live) return;
    T Value = FItems[I].Value;  // the call may grow the vector
    AProc(Value);
  }
  void RemoveAt(size_t I) {
    if (FWalks == 0) {
      FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(I));
    } else {
      FItems[I].Live = false;
      FDirty = true;
    }
  }
  void Compact() {
    std::vector<TEntry> Kept;
    for (TEntry& E : FItems)
      if (E.Live) Kept.push_back(E);
    FItems.swap(Kept);
    FDirty = false;
  }
  std::vector<TEntry> FItems;
  Integer FWalks = 0;
  bool FDirty = false;
};

// ---------------------------------------------------------------------------
// Units loader
using TdxProc = void (*)();

class TdxUnitsLoader : public TObject {
  DECLARE_CLASS(TdxUnitsLoader, TObject)
 public:
  TdxUnitsLoader() = default;
  ~TdxUnitsLoader() override;

  void AddUnit(TdxProc AInitializeProc, TdxProc AFinalizeProc);
  void RemoveUnit(TdxProc AFinalizeProc);
  void Initialize();
  void Finalize();
  static void CallProc(TdxProc AProc) {
    if (AProc) AProc();
  }
  Integer FinalizeCount() const { return static_cast<Integer>(FFinalizeList.size()); }
  // Whether a start-up procedure has run (and Finalize has not run since).
  bool IsInitialized() const { return FIsInitialized; }

 private:
  bool FIsInitialized = false;
  std::vector<TdxProc> FInitializeList;
  std::vector<TdxProc> FFinalizeList;
};

// True when the running module is a dynamic library; this program is not.
bool dxIsDLL();
// The loader, created on first call; nullptr once dxCore's shut-down began.
TdxUnitsLoader* dxUnitsLoader();
void dxInitialize();
// The shared loader's IsInitialized; false without a loader.
bool dxUnitsLoaderIsInitialized();

// ---------------------------------------------------------------------------
// Platform flags, computed once at start-up.
extern bool IsWin9X, IsWin95, IsWin98, IsWinMe, IsWinNT, IsWin2K, IsWin2KOrLater, IsWinXP,
    IsWinXPOrLater, IsWin2KOrXP, IsWinVista, IsWinVistaOrLater, IsWinSeven, IsWinSevenOrLater,
    IsWin8, IsWin8OrLater, IsWin10, IsWin10OrLater, IsWin10FallCreatorsUpdate, IsWin64Bit;
extern bool dxIsDesignTime;

// What the flags are computed from: the version the runtime reports and, when
// it could be asked, the true version of RtlGetVersion.
struct TdxPlatformVersion {
  DWORD PlatformId = 0;
  DWORD Major = 0;
  DWORD Minor = 0;
  bool HasTrueVersion = false;
  DWORD TrueMajor = 0;
  DWORD TrueMinor = 0;
  DWORD TrueBuild = 0;
};
struct TdxPlatformFlags {
  bool Win9X, Win95, Win98, WinMe, WinNT, Win2K, Win2KOrLater, WinXP, WinXPOrLater, Win2KOrXP,
      WinVista, WinVistaOrLater, WinSeven, WinSevenOrLater, Win8, Win8OrLater, Win10, Win10OrLater,
      Win10FallCreatorsUpdate;
};
TdxPlatformFlags dxComputePlatformFlags(const TdxPlatformVersion& AVersion);
// Reads the running system's version (RtlGetVersion only on Windows 8 or later).
TdxPlatformVersion dxQueryPlatformVersion();

// ---------------------------------------------------------------------------
// Conversions (code page 0 is the system ANSI code page, 65001 UTF-8)
String dxAnsiStringToString(const AnsiString& S, UINT ACodePage = CP_ACP);
AnsiString dxStringToAnsiString(const String& S, UINT ACodePage = CP_ACP);
// A one-dimensional array byte for byte; anything else through its text.
AnsiString dxVariantToAnsiString(const Variant& V);
// A string variant as its text; anything else read as ANSI text.
String dxVariantToString(const Variant& V);
bool dxVarIsBlob(const Variant& V);
void WriteIntegerToStream(TStream* AStream, Integer AValue);

inline Word dxSwap16(Word AValue) { return static_cast<Word>((AValue << 8) | (AValue >> 8)); }
inline Cardinal dxSwap32(Cardinal AValue) {
  return (AValue >> 24) | ((AValue >> 8) & 0xFF00u) | ((AValue << 8) & 0xFF0000u) | (AValue << 24);
}
inline void ExchangeLongWords(Cardinal& A, Cardinal& B) { std::swap(A, B); }
inline void ExchangePointers(Pointer& A, Pointer& B) { std::swap(A, B); }

// ---------------------------------------------------------------------------
// Characters and locale
using TdxAnsiCharSet = TSet<Byte, 256>;

BOOL dxGetStringTypeW(DWORD AInfoType, LPCWSTR ASrc, int ACount, LPWORD ACharType);
Word dxGetWideCharCType1(Char C);
bool dxWideIsAlpha(Char C);
bool dxCharIsAlpha(Char C);
bool dxWideIsNumeric(Char C);
bool dxCharIsNumeric(Char C);
bool dxCharInSet(Char C, const TdxAnsiCharSet& ACharSet);
String RemoveAccelChars(const String& S, bool AAppendTerminatingUnderscore = true);

inline Word dxMakeLangID(Word APrimaryLang, Word ASubLang) {
  return static_cast<Word>((ASubLang << 10) | APrimaryLang);
}
inline DWORD dxMakeLCID(Word ALangId, Word ASortId) {
  return (static_cast<DWORD>(ASortId) << 16) | ALangId;
}
DWORD dxGetInvariantLocaleID();
void dxGetLocaleFormatSettings(LCID ALocale, TFormatSettings& AFormatSettings);
// Settings for the library's own parsers and writers, independent of the
// user's regional options; built at start-up.
const TFormatSettings& dxInvariantFormatSettings();
// Text and float with only the decimal separator given.
Extended dxStrToFloat(const String& S, Char ADecimalSeparator);
String dxFloatToStr(Extended AValue, Char ADecimalSeparator);
String dxGetLocaleInfo(LCID ALocale, LCTYPE ALocaleType, const String& ADefaultValue = String());

// ---------------------------------------------------------------------------
// Exceptions at platform callback boundaries (window procedures, hooks,
// timers) must not leave the callback. dxHandleException is called from the
// catch block there; it hands the exception to dxApplicationHandleException
// when one is installed (it may rethrow with "throw;" to look at it), else to
// the application object's HandleException. Without either, EAbort is silent
// and anything else goes to the debugger output.
using TdxHandleExceptionProc = void (*)();
extern TdxHandleExceptionProc dxApplicationHandleException;
void dxHandleException() noexcept;

// Writes AData to AFileName through a file beside it, so that the target is
// replaced only by a complete file and no half-written file stays behind.
void dxCommitToFile(TMemoryStream* AData, const String& AFileName);

// ---------------------------------------------------------------------------
// Small routines
inline void dxCallNotify(const TNotifyEvent& ANotifyEvent, TObject* ASender) {
  if (ANotifyEvent) ANotifyEvent(ASender);
}
inline TdxDefaultBoolean dxBooleanToDefaultBoolean(bool AValue) { return AValue ? bTrue : bFalse; }
Pointer cxAllocMem(size_t ASize);
void cxFreeMem(Pointer P);
void cxZeroMemory(Pointer ADest, size_t ACount);
// A diagnostic hook that reports nothing in this program.
inline void dxTestCheck(bool, const String&) {}

// ---------------------------------------------------------------------------
// Resource strings. A record names a string-table entry; its address
// identifies the resource string. A null module means the program itself.
struct TResStringRec {
  HMODULE Module;
  UINT Identifier;
};
using PResStringRec = const TResStringRec*;

// The text that the record's module holds in its string table (loaded on
// each call; empty when the entry is missing).
String LoadResString(PResStringRec AResString);

struct IdxLocalizerListener : public IUnknown {
  virtual void STDMETHODCALLTYPE TranslationChanged() = 0;
};
__CRT_UUID_DECL(IdxLocalizerListener, 0x843FA250, 0x1A56, 0x4599, 0xBC, 0xC2, 0x50, 0x3B, 0x0E,
                0x18, 0x20, 0x32)

class TdxProductResourceStrings;
using TdxAddResourceStringsProcedure = void (*)(TdxProductResourceStrings* AProduct);
using TdxLocalizationTranslateResStringEvent =
    TMethodPtr<void(const String& AResStringName, PResStringRec AResString)>;

enum TcxResourceStringsModificationMode { rmmByResStringValue, rmmByResStringID, rmmUndefined };

class TdxProductResourceStrings : public TObject {
  DECLARE_CLASS(TdxProductResourceStrings, TObject)
 public:
  TdxProductResourceStrings(const String& AName, TdxAddResourceStringsProcedure AInitializeProc);
  void AfterConstruction() override;

  void Add(const String& AResStringName, PResStringRec AResStringAddr);
  void Clear() { FResStringNames.clear(); }
  Integer GetIndexByName(const String& AName) const;
  void AddProcedure(TdxAddResourceStringsProcedure AProc);
  void RemoveProcedure(TdxAddResourceStringsProcedure AProc);
  bool HasProcedures() const { return !FInitializeProcedures.empty(); }
  void Translate();

  const String& Name() const { return FName; }
  Integer ResStringsCount() const { return static_cast<Integer>(FResStringNames.size()); }
  const String& Names(Integer AIndex) const;
  String Values(Integer AIndex) const;
  PResStringRec ResStrings(Integer AIndex) const;

 private:
  void SetTranslation(Integer AIndex);
  struct TNamedRec {
    String Name;
    PResStringRec Rec;
  };
  String FName;
  TdxAddResourceStringsProcedure FPendingProc;
  std::vector<TNamedRec> FResStringNames;  // sorted, letter case ignored
  std::vector<TdxAddResourceStringsProcedure> FInitializeProcedures;
};

class TdxResourceStringsRepository : public TObject {
  DECLARE_CLASS(TdxResourceStringsRepository, TObject)
 public:
  ~TdxResourceStringsRepository() override;

  void AddListener(IdxLocalizerListener* AListener);
  void RemoveListener(IdxLocalizerListener* AListener);
  void NotifyListeners();
  void RegisterProduct(const String& AProductName, TdxAddResourceStringsProcedure AAddStringsProc);
  void UnRegisterProduct(const String& AProductName,
                         TdxAddResourceStringsProcedure AAddStringsProc = nullptr);
  Integer GetProductIndexByName(const String& AName) const;
  String GetOriginalValue(const String& AName) const;
  void Translate();

  Integer ProductsCount() const { return static_cast<Integer>(FProducts.size()); }
  TdxProductResourceStrings* Products(Integer AIndex) const;
  const TdxLocalizationTranslateResStringEvent& OnTranslateResString() const {
    return FOnTranslateResString;
  }
  void SetOnTranslateResString(const TdxLocalizationTranslateResStringEvent& AValue) {
    FOnTranslateResString = AValue;
  }
  Integer ListenerCount() const { return FListeners.Count(); }

 private:
  std::vector<TOwned<TdxProductResourceStrings>> FProducts;
  TdxListenerList<IdxLocalizerListener*> FListeners;
  TdxLocalizationTranslateResStringEvent FOnTranslateResString;
};

// The repository, created on first call; nullptr once dxCore's shut-down began.
TdxResourceStringsRepository* dxResourceStringsRepository();
// The current text of a resource string.
String cxGetResourceString(PResStringRec AResString);
Integer GetResOriginalStringIndex(PResStringRec AResString);
TcxResourceStringsModificationMode dxResStringsModificationMode();

// ---------------------------------------------------------------------------
void dxCore_Initialize();
void dxCore_Finalize();
