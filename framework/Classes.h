// Lists, string lists, streams, threads, and the component model with its
// persistence (form resources).
#pragma once

#include <vector>

#include "SysUtils.h"

// ===========================================================================
// Lists and string lists
// ===========================================================================

#include <memory>

// Error texts of the lists; Format fills in the index or count.
namespace ClassesConsts {
inline constexpr const wchar_t* SListIndexError = L"List index out of bounds (%d)";
inline constexpr const wchar_t* SListCapacityError = L"List capacity out of bounds (%d)";
inline constexpr const wchar_t* SListCountError = L"List count out of bounds (%d)";
inline constexpr const wchar_t* SDuplicateString = L"String list does not allow duplicates";
inline constexpr const wchar_t* SSortedListError = L"Operation not allowed on sorted list";
}  // namespace ClassesConsts

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = Integer (*)(Pointer Item1, Pointer Item2);

// A list of untyped pointers. Descendants that react to Notify must call
// Clear in their own destructor: the base destructor no longer reaches them.
class TList : public TObject {
  DECLARE_CLASS(TList, TObject)
 public:
  TList() = default;
  ~TList() override;

  Integer Add(Pointer Item);
  void Insert(Integer Index, Pointer Item);
  void Delete(Integer Index);
  // Returns the index the item had, -1 when absent.
  Integer Remove(Pointer Item);
  Integer IndexOf(Pointer Item) const;
  // Takes the item out without the owner's deletion (lnExtracted).
  Pointer Extract(Pointer Item);
  void Exchange(Integer Index1, Integer Index2);
  void Move(Integer CurIndex, Integer NewIndex);
  void Sort(TListSortCompare Compare);
  void Clear();
  // Drops the nil entries.
  void Pack();
  void Assign(const TList* Source);
  Pointer First() const { return Get(0); }
  Pointer Last() const { return Get(Count() - 1); }

  Pointer Get(Integer Index) const;
  void Put(Integer Index, Pointer Item);
  Pointer Items(Integer Index) const { return Get(Index); }
  Integer Count() const { return static_cast<Integer>(FList.size()); }
  void SetCount(Integer NewCount);
  Integer Capacity() const { return FCapacity; }
  void SetCapacity(Integer NewCapacity);
  // The list's storage, for code that walks it directly.
  Pointer* List() { return FList.data(); }

  [[noreturn]] static void Error(const wchar_t* Msg, NativeInt Data);

 protected:
  virtual void Notify(Pointer Ptr, TListNotification Action);
  virtual void Grow();

 private:
  void CheckIndex(Integer Index) const;
  std::vector<Pointer> FList;
  Integer FCapacity = 0;
};

// A list that owns its objects when OwnsObjects is set: deleting, clearing or
// replacing an item frees it.
class TObjectList : public TList {
  DECLARE_CLASS(TObjectList, TList)
 public:
  explicit TObjectList(Boolean AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  Integer Add(TObject* AObject) { return inherited::Add(AObject); }
  void Insert(Integer Index, TObject* AObject) { inherited::Insert(Index, AObject); }
  Integer Remove(TObject* AObject) { return inherited::Remove(AObject); }
  Integer IndexOf(TObject* AObject) const { return inherited::IndexOf(AObject); }
  TObject* Extract(TObject* Item) { return static_cast<TObject*>(inherited::Extract(Item)); }
  TObject* Get(Integer Index) const { return static_cast<TObject*>(inherited::Get(Index)); }
  void Put(Integer Index, TObject* AObject) { inherited::Put(Index, AObject); }
  TObject* Items(Integer Index) const { return Get(Index); }
  TObject* First() const { return Get(0); }
  TObject* Last() const { return Get(Count() - 1); }
  Boolean OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(Boolean Value) { FOwnsObjects = Value; }

 protected:
  void Notify(Pointer Ptr, TListNotification Action) override;

 private:
  Boolean FOwnsObjects;
};

class TStream;

// The text encoding of a file or stream of text: an 8-bit code page (the
// system ANSI one by default), UTF-8 or UTF-16LE. UTF encodings carry a
// byte-order mark as their preamble; a plain code page has none.
class TEncoding {
 public:
  static TEncoding Default() { return TEncoding(CP_ACP, false); }
  static TEncoding ANSI() { return Default(); }
  // UTF-8 with its byte-order mark.
  static TEncoding UTF8() { return TEncoding(CP_UTF8, true); }
  // UTF-16 little-endian with its byte-order mark.
  static TEncoding Unicode() { return TEncoding(CodePageUTF16LE, true); }
  // An 8-bit code page (1251, 1252, ...) or CP_UTF8 without a preamble.
  static TEncoding GetEncoding(UINT ACodePage) { return TEncoding(ACodePage, false); }

  UINT CodePage() const { return FCodePage; }
  // The byte-order mark written in front of the text.
  TBytes GetPreamble() const;
  TBytes GetBytes(const String& S) const;
  String GetString(const Byte* Bytes, size_t Count) const;
  String GetString(const TBytes& Bytes) const { return GetString(Bytes.data(), Bytes.size()); }
  // Detects a UTF-8 or UTF-16LE byte-order mark at the start of a buffer:
  // sets AEncoding and returns the mark's length, or returns 0 and leaves
  // AEncoding alone.
  static size_t GetBufferEncoding(const Byte* Bytes, size_t Count, TEncoding& AEncoding);
  bool operator==(const TEncoding& E) const {
    return FCodePage == E.FCodePage && FPreamble == E.FPreamble;
  }

  static constexpr UINT CodePageUTF16LE = 1200;

 private:
  TEncoding(UINT ACodePage, bool APreamble) : FCodePage(ACodePage), FPreamble(APreamble) {}
  UINT FCodePage;
  bool FPreamble;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The abstract list of strings with associated objects: everything that can
// be said in terms of Get/Put/Insert/Delete lives here.
class TStrings : public TObject {
  DECLARE_CLASS(TStrings, TObject)
 public:
  TStrings() = default;

  virtual Integer Add(const String& S);
  virtual Integer AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(const TStrings* Strings);
  virtual void Assign(const TStrings* Source);
  virtual void Clear() = 0;
  virtual void Delete(Integer Index) = 0;
  virtual void Exchange(Integer Index1, Integer Index2);
  virtual void Insert(Integer Index, const String& S) = 0;
  virtual void InsertObject(Integer Index, const String& S, TObject* AObject);
  virtual void Move(Integer CurIndex, Integer NewIndex);
  virtual Integer IndexOf(const String& S) const;
  virtual Integer IndexOfName(const String& Name) const;
  Integer IndexOfObject(const TObject* AObject) const;
  bool Equals(const TStrings* Strings) const;
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  virtual String Get(Integer Index) const = 0;
  virtual void Put(Integer Index, const String& S);
  String Strings(Integer Index) const { return Get(Index); }
  virtual TObject* GetObject(Integer Index) const;
  virtual void PutObject(Integer Index, TObject* AObject);
  TObject* Objects(Integer Index) const { return GetObject(Index); }
  virtual Integer GetCount() const = 0;
  Integer Count() const { return GetCount(); }

  // Each line followed by LineBreak (CRLF); the setter accepts CR, LF and
  // CRLF, and a final line break adds no empty line.
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& Value);
  String Text() const { return GetTextStr(); }
  void SetText(const String& Value) { SetTextStr(Value); }
  String GetCommaText() const;
  void SetCommaText(const String& Value);
  String GetDelimitedText() const;
  void SetDelimitedText(const String& Value);
  Char Delimiter() const { return FDelimiter; }
  void SetDelimiter(Char Value) { FDelimiter = Value; }
  Char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(Char Value) { FQuoteChar = Value; }
  Boolean StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(Boolean Value) { FStrictDelimiter = Value; }
  Char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(Char Value) { FNameValueSeparator = Value; }
  const String& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const String& Value) { FLineBreak = Value; }

  // The part before NameValueSeparator; empty when a line has none.
  String Names(Integer Index) const;
  String Values(const String& Name) const;
  // An empty value deletes the line.
  void SetValue(const String& Name, const String& Value);
  String ValueFromIndex(Integer Index) const;
  void SetValueFromIndex(Integer Index, const String& Value);

  // Without an encoding, a UTF-8 or UTF-16LE byte-order mark selects the
  // encoding and the ANSI code page is taken otherwise; the encoding found is
  // kept for saving.
  virtual void LoadFromFile(const String& FileName);
  virtual void LoadFromFile(const String& FileName, const TEncoding& AEncoding);
  virtual void LoadFromStream(TStream* Stream);
  virtual void LoadFromStream(TStream* Stream, const TEncoding& AEncoding);
  // Without an encoding, the one the text was loaded in, else ANSI.
  virtual void SaveToFile(const String& FileName) const;
  virtual void SaveToFile(const String& FileName, const TEncoding& AEncoding) const;
  virtual void SaveToStream(TStream* Stream) const;
  virtual void SaveToStream(TStream* Stream, const TEncoding& AEncoding) const;
  const TEncoding& Encoding() const { return FEncoding; }

 protected:
  [[noreturn]] static void Error(const wchar_t* Msg, NativeInt Data);
  virtual void SetUpdateState(Boolean Updating);
  virtual Integer CompareStrings(const String& S1, const String& S2) const;
  void LoadFromBytes(const TBytes& Bytes, const TEncoding* AEncoding);
  String JoinDelimited(Char Delim, Char Quote, Boolean Strict) const;
  void SplitDelimited(const String& Value, Char Delim, Char Quote, Boolean Strict);

 private:
  Integer FUpdateCount = 0;
  Char FDelimiter = L',';
  Char FQuoteChar = L'"';
  Char FNameValueSeparator = L'=';
  Boolean FStrictDelimiter = false;
  String FLineBreak = L"\r\n";
  TEncoding FEncoding = TEncoding::Default();
};

class TStringList;
using TStringListSortCompare = Integer (*)(TStringList* List, Integer Index1, Integer Index2);

class TStringList : public TStrings {
  DECLARE_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  explicit TStringList(Boolean AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  ~TStringList() override;

  Integer Add(const String& S) override;
  Integer AddObject(const String& S, TObject* AObject) override;
  void Assign(const TStrings* Source) override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Exchange(Integer Index1, Integer Index2) override;
  // Binary search of a sorted list: true when found; Index is where S is or
  // would be inserted (with dupAccept, the first of equal strings).
  virtual bool Find(const String& S, Integer& Index) const;
  Integer IndexOf(const String& S) const override;
  void Insert(Integer Index, const String& S) override;
  void InsertObject(Integer Index, const String& S, TObject* AObject) override;
  virtual void Sort();
  virtual void CustomSort(TStringListSortCompare Compare);

  String Get(Integer Index) const override;
  void Put(Integer Index, const String& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  Integer GetCount() const override { return static_cast<Integer>(FList.size()); }
  Integer Capacity() const { return static_cast<Integer>(FList.capacity()); }
  void SetCapacity(Integer NewCapacity);

  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  Boolean Sorted() const { return FSorted; }
  void SetSorted(Boolean Value);
  Boolean CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(Boolean Value);
  Boolean OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(Boolean Value) { FOwnsObjects = Value; }
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(Boolean Updating) override;
  Integer CompareStrings(const String& S1, const String& S2) const override;
  virtual void InsertItem(Integer Index, const String& S, TObject* AObject);

 private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(Integer Index) const;
  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  Boolean FSorted = false;
  Boolean FCaseSensitive = false;
  Boolean FOwnsObjects = false;
};

// ===========================================================================
// Streams
// ===========================================================================

DECLARE_EXCEPTION(EResNotFound, Exception)

namespace ClassesConsts {
inline constexpr const wchar_t* SReadError = L"Stream read error";
inline constexpr const wchar_t* SWriteError = L"Stream write error";
inline constexpr const wchar_t* SFCreateErrorEx = L"Cannot create file \"%s\". %s";
inline constexpr const wchar_t* SFOpenErrorEx = L"Cannot open file \"%s\". %s";
inline constexpr const wchar_t* SMemoryStreamError = L"Out of memory while expanding memory stream";
inline constexpr const wchar_t* SResNotFound = L"Resource %s not found";
}  // namespace ClassesConsts

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
inline constexpr TSeekOrigin soFromBeginning = soBeginning;
inline constexpr TSeekOrigin soFromCurrent = soCurrent;
inline constexpr TSeekOrigin soFromEnd = soEnd;

// File open modes: one access mode, optionally or-ed with one share mode.
// fmCreate creates (or truncates) the file for reading and writing.
inline constexpr Word fmCreate = 0xFF00;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
  DECLARE_CLASS(TStream, TObject)
 public:
  // Transfer up to Count bytes; return how many were transferred.
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;
  // Transfer exactly Count bytes or raise EReadError / EWriteError.
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  // Copies Count bytes from Source's position; Count 0 (or less) copies all
  // of Source from its beginning. Returns the number of bytes copied.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 Size();
  virtual void SetSize(Int64 NewSize);
};

// A stream over a file handle it does not own.
class THandleStream : public TStream {
  DECLARE_CLASS(THandleStream, TStream)
 public:
  explicit THandleStream(HANDLE AHandle) : FHandle(AHandle) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;
  HANDLE Handle() const { return FHandle; }

 protected:
  HANDLE FHandle;
};

class TFileStream : public THandleStream {
  DECLARE_CLASS(TFileStream, THandleStream)
 public:
  // Raises EFCreateError / EFOpenError with the platform's reason.
  TFileStream(const String& AFileName, Word Mode);
  ~TFileStream() override;
  const String& FileName() const { return FFileName; }

 private:
  String FFileName;
};

// A stream over a block of memory it reads from; writing belongs to the
// descendants that own their memory.
class TCustomMemoryStream : public TStream {
  DECLARE_CLASS(TCustomMemoryStream, TStream)
 public:
  Integer Read(void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FSize; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);
  Pointer Memory() const { return FMemory; }

 protected:
  void SetPointer(Pointer Ptr, NativeInt ASize);

 private:
  Byte* FMemory = nullptr;
  NativeInt FSize = 0;
  NativeInt FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
  DECLARE_CLASS(TMemoryStream, TCustomMemoryStream)
 public:
  TMemoryStream() = default;
  Integer Write(const void* Buffer, Integer Count) override;
  void SetSize(Int64 NewSize) override;
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  NativeInt Capacity() const { return static_cast<NativeInt>(FData.capacity()); }
  void SetCapacity(NativeInt NewCapacity);

 protected:
  explicit TMemoryStream(const TBytes& AData);
  const TBytes& Data() const { return FData; }

 private:
  void Resize(NativeInt NewSize);
  TBytes FData;
};

// A memory stream whose contents are a byte array.
class TBytesStream : public TMemoryStream {
  DECLARE_CLASS(TBytesStream, TMemoryStream)
 public:
  explicit TBytesStream(const TBytes& ABytes = TBytes()) : TMemoryStream(ABytes) {}
  // Exactly Size bytes.
  const TBytes& Bytes() const { return Data(); }
};

// A byte stream holding text in an encoding (the ANSI code page unless one is
// given).
class TStringStream : public TBytesStream {
  DECLARE_CLASS(TStringStream, TBytesStream)
 public:
  explicit TStringStream(const String& AString = String(),
                         const TEncoding& AEncoding = TEncoding::Default());
  explicit TStringStream(const TBytes& ABytes, const TEncoding& AEncoding = TEncoding::Default())
      : TBytesStream(ABytes), FEncoding(AEncoding) {}
  String DataString() const { return FEncoding.GetString(Bytes()); }
  // Count bytes from the position, decoded.
  String ReadString(Integer Count);
  void WriteString(const String& AString);
  const TEncoding& Encoding() const { return FEncoding; }

 private:
  TEncoding FEncoding;
};

// A read-only stream over a resource of a module. Raises EResNotFound.
class TResourceStream : public TCustomMemoryStream {
  DECLARE_CLASS(TResourceStream, TCustomMemoryStream)
 public:
  TResourceStream(HINSTANCE Instance, const String& ResName, const wchar_t* ResType);
  TResourceStream(HINSTANCE Instance, Integer ResID, const wchar_t* ResType);
  static TResourceStream* CreateFromID(HINSTANCE Instance, Integer ResID, const wchar_t* ResType) {
    return Create<TResourceStream>(Instance, ResID, ResType);
  }
  // Writing to a resource raises EStreamError.
  Integer Write(const void* Buffer, Integer Count) override;

 private:
  void Initialize(HINSTANCE Instance, const wchar_t* Name, const wchar_t* ResType,
                  const String& DisplayName);
};

// ===========================================================================
// Threads
// ===========================================================================

// The thread that runs the message loop; Synchronize and Queue hand work to
// it.
extern DWORD MainThreadID;

using TThreadMethod = TMethodPtr<void()>;

// Called when a thread has handed work to the main thread, so that a main
// thread asleep in its message loop wakes up and calls CheckSynchronize; the
// application object sets it.
extern TNotifyEvent WakeMainThread;

// Runs the methods that threads have synchronized or queued; called by the
// main thread (its message loop, or a waiting test). Returns whether anything
// ran. Timeout is how long to wait for work when none is pending. Raises
// EThread from any other thread.
Boolean CheckSynchronize(Integer Timeout = 0);

namespace ClassesConsts {
inline constexpr const wchar_t* SThreadCreateError = L"Thread creation error: %s";
inline constexpr const wchar_t* SThreadStartError =
    L"Cannot call Start on a running or terminated thread";
inline constexpr const wchar_t* SCheckSynchronizeError =
    L"CheckSynchronize called from thread $%x, which is NOT the main thread";
}  // namespace ClassesConsts

// A thread running Execute. Created with CreateSuspended it waits for Start;
// otherwise it starts in AfterConstruction, once the object is complete.
// An exception leaving Execute is kept as FatalException.
class TThread : public TObject {
  DECLARE_CLASS(TThread, TObject)
 public:
  explicit TThread(Boolean CreateSuspended = false);
  ~TThread() override;
  void AfterConstruction() override;
  // Terminates and waits for the thread while the whole object still exists;
  // a thread that never started ends without running Execute.
  void BeforeDestruction() override;

  void Start();
  // Only sets Terminated; Execute is expected to look at it.
  void Terminate();
  // Waits for the thread to end and returns its ReturnValue. In the main
  // thread, synchronized work of the waited thread runs meanwhile.
  Cardinal WaitFor();

  // Runs AMethod in the main thread and waits for it; an exception it raises
  // is raised again in the calling thread. From the main thread it runs at
  // once.
  void Synchronize(TThreadMethod AMethod);
  static void Synchronize(TThread* AThread, TThreadMethod AMethod);
  // Hands AMethod to the main thread without waiting; from the main thread it
  // runs at once.
  void Queue(TThreadMethod AMethod);
  static void Queue(TThread* AThread, TThreadMethod AMethod);
  // Drops the queued methods of AThread that have not run yet.
  static void RemoveQueuedEvents(TThread* AThread);
  // Names a thread for debuggers (-1 is the calling thread).
  static void NameThreadForDebugging(const String& AThreadName, DWORD AThreadID = DWORD(-1));

  Boolean Terminated() const;
  Boolean Finished() const;
  Boolean Suspended() const { return FSuspended; }
  Boolean FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(Boolean Value) { FFreeOnTerminate = Value; }
  Integer ReturnValue() const { return FReturnValue; }
  // The exception Execute raised, owned by the thread object.
  Exception* FatalException() const { return FFatalException.get(); }
  HANDLE Handle() const { return FHandle; }
  DWORD ThreadID() const { return FThreadID; }
  // Runs in the main thread after Execute.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  virtual void DoTerminate();
  void SetReturnValue(Integer Value) { FReturnValue = Value; }

 private:
  static DWORD WINAPI ThreadProc(LPVOID Param);
  void CallOnTerminate();
  HANDLE FHandle = nullptr;
  DWORD FThreadID = 0;
  Boolean FCreateSuspended;
  Boolean FSuspended = true;
  Boolean FStarted = false;
  volatile LONG FTerminated = 0;
  volatile LONG FFinished = 0;
  Boolean FFreeOnTerminate = false;
  Integer FReturnValue = 0;
  std::unique_ptr<Exception> FFatalException;
};

// ===========================================================================
// Component model: persistent objects, components, collections, published
// property and method tables, class registration
// ===========================================================================

// ===========================================================================
// Filer: binary and text form resources
// ===========================================================================
