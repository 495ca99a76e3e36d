// Lists, string lists, streams, threads, and the component model with its
// persistence (form resources).
#pragma once

#include <vector>

#include "SysUtils.h"

// ===========================================================================
// Persistent objects (the base of string lists and of the component model)
// ===========================================================================
class TFiler;
class TReader;
class TWriter;

// Objects that can be assigned to one another and streamed.
class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent, TObject)
 public:
  // Copies Source into this object; a class that knows neither direction
  // raises EConvertError "Cannot assign a <source> to a <this>".
  virtual void Assign(TPersistent* Source);
  // The name under which the object appears in messages and designers
  // ("Form1.Columns[2]").
  virtual String GetNamePath();

 protected:
  virtual void AssignTo(TPersistent* Dest);
  // Declares unpublished data with TFiler::DefineProperty(...).
  virtual void DefineProperties(TFiler* Filer) {}
  virtual TPersistent* GetOwner() { return nullptr; }
  [[noreturn]] void AssignError(TPersistent* Source);

  friend class TReader;
  friend class TWriter;
};

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
class TStrings : public TPersistent {
  DECLARE_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;
  // Another string list is copied; anything else as TPersistent does.
  void Assign(TPersistent* Source) override;

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
  // Streams the lines as the list property "Strings" of form resources.
  void DefineProperties(TFiler* Filer) override;
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
  using TStrings::Assign;
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
  ~TMemoryStream() override;
  Integer Write(const void* Buffer, Integer Count) override;
  void SetSize(Int64 NewSize) override;
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  NativeInt Capacity() const { return FCapacity; }
  void SetCapacity(NativeInt NewCapacity);

 protected:
  // Where the bytes live: returns a buffer of NewCapacity bytes that starts
  // with the first min(old, new) bytes of the current buffer (Memory()), and
  // releases the current one; nullptr for a capacity of 0. It may round
  // NewCapacity up and says so through it; raises EOutOfMemory (or the
  // stream error of its kind) and keeps the current buffer when it cannot.
  // A descendant that overrides it must call Clear in its own destructor:
  // this class's destructor no longer reaches the override.
  virtual Pointer Realloc(NativeInt& NewCapacity);

 private:
  NativeInt FCapacity = 0;
};

// A memory stream whose contents are a byte array.
class TBytesStream : public TMemoryStream {
  DECLARE_CLASS(TBytesStream, TMemoryStream)
 public:
  explicit TBytesStream(const TBytes& ABytes = TBytes());
  ~TBytesStream() override;
  // Exactly Size bytes (unless SetCapacity was asked for more).
  const TBytes& Bytes() const { return FBytes; }

 protected:
  // Keeps the array exactly as long as the capacity; the array grows its own
  // storage geometrically.
  Pointer Realloc(NativeInt& NewCapacity) override;

 private:
  TBytes FBytes;
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
// Signalled while synchronized or queued work waits for the main thread, so
// a main thread that waits for something else can wait for this as well.
HANDLE SyncEvent();

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
  // The thread object whose thread calls; null in the main thread and in
  // threads no TThread started.
  static TThread* CurrentThread();
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

class TFiler;
class TReader;
class TWriter;
class TComponent;
class TCollection;
class TCollectionItem;
class TBasicAction;

// A reference-counted object: freed when the last interface reference goes.
class TInterfacedObject : public TObject, public IUnknown {
  DECLARE_CLASS(TInterfacedObject, TObject)
 public:
  // The count starts at one so that references taken during construction do
  // not free the object; AfterConstruction drops that guard.
  TInterfacedObject() : FRefCount(1) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  bool GetInterface(const IID& AIID, void** AObj) override;
  void AfterConstruction() override;
  // Freeing an object that is still referenced raises EInvalidPointer.
  void BeforeDestruction() override;
  Integer RefCount() const { return FRefCount; }

 private:
  volatile LONG FRefCount;
};

// A persistent object that implements interfaces without owning its lifetime:
// reference counting goes to the owner's interface when the owner has one,
// otherwise it answers -1 and does nothing.
class TInterfacedPersistent : public TPersistent, public IUnknown {
  DECLARE_CLASS(TInterfacedPersistent, TPersistent)
 public:
  ~TInterfacedPersistent() override;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  bool GetInterface(const IID& AIID, void** AObj) override;
  void AfterConstruction() override;

 private:
  IUnknown* FOwnerInterface = nullptr;
};

// Whether an adapter frees the stream it serves.
enum TStreamOwnership { soReference, soOwned };

// A COM stream (IStream) over a framework stream, for platform services that
// read or write through IStream. Every COM method answers with an HRESULT:
// no exception leaves one. Reference-counted; the first reference is the
// caller's.
class TStreamAdapter : public TInterfacedObject, public IStream {
  DECLARE_CLASS(TStreamAdapter, TInterfacedObject)
 public:
  explicit TStreamAdapter(TStream* AStream, TStreamOwnership AOwnership = soReference)
      : FStream(AStream), FOwnership(AOwnership) {}
  ~TStreamAdapter() override;
  TStream* Stream() const { return FStream; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return TInterfacedObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TInterfacedObject::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                 ULARGE_INTEGER* plibNewPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                   ULARGE_INTEGER* pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb,
                                       DWORD dwLockType) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb,
                                         DWORD dwLockType) override;
  // Type stream, the stream's size, write locks; no name.
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override;

 private:
  TStream* FStream;
  TStreamOwnership FOwnership;
};

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;
enum TOperation { opInsert, opRemove };
using TGetChildProc = TMethodPtr<void(TComponent* Child)>;

// The base of everything that owns, is owned, has a name and is streamed from
// a form resource. An owner frees what it owns; free notifications clear weak
// references between components.
class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)
 public:
  using TOwnerType = TComponent;
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  // Joins the owner; done here so that the owner's and this object's
  // Notification overrides are reached.
  void AfterConstruction() override;
  // Marks the tree csDestroying, notifies subscribers, frees the owned
  // components and leaves the owner while every override is still reachable.
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  // Raises EListError for an index out of range.
  TComponent* Components(Integer Index) const;
  Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
  // Position among the owner's components; -1 without an owner.
  Integer ComponentIndex() const;
  void SetComponentIndex(Integer Value);
  const String& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that
  // another component of the same owner already has (case-insensitively).
  virtual void SetName(const String& NewName);
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt Value) { FTag = Value; }
  // Where a component without a window sits in the form designer: left in
  // the low word, top in the high word.
  Integer DesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(Integer Value) { FDesignInfo = Value; }
  TComponentState ComponentState() const { return FComponentState; }

  TComponent* FindComponent(const String& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  void Destroying();
  // Subscribes AComponent to this component's destruction (and, in both
  // directions, this one to AComponent's).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  // Tells every component subscribed to this one's destruction that it is
  // going away and drops the subscriptions both ways.
  void RemoveFreeNotifications();

  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual bool HasParent() const { return false; }
  // Reports the components streamed as children of this one; the default
  // reports, for the root, the owned components without a parent.
  virtual void GetChildren(TGetChildProc Proc, TComponent* Root);
  virtual void SetParentComponent(TComponent* Value) {}
  // Where the reader puts the children read inside this component.
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  String GetNamePath() override;

  // A target-based action offered to this component: executed or updated
  // through it when the action HandlesTarget this component.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // Called for every component of a tree once the whole tree has been read.
  virtual void Loaded();

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  virtual void ValidateInsert(TComponent* AComponent) {}
  virtual void ValidateContainer(TComponent* AComponent);
  virtual void ChangeName(const String& NewName) { FName = NewName; }
  virtual void SetChildOrder(TComponent* Child, Integer Order) {}
  TPersistent* GetOwner() override { return FOwner; }
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);
  // Points the owner's published field of this component's name at it (or
  // clears it), as a form's component fields expect.
  void SetReference(bool Enable);
  // Streams DesignInfo as the pseudo-properties Left and Top.
  void DefineProperties(TFiler* Filer) override;

 private:
  friend class TReader;
  friend class TWriter;
  void ReadLeft(TReader* Reader);
  void ReadTop(TReader* Reader);
  void WriteLeft(TWriter* Writer);
  void WriteTop(TWriter* Writer);
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  TComponent* FPendingOwner = nullptr;
  String FName;
  NativeInt FTag = 0;
  Integer FDesignInfo = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
};

// An element of a TCollection; created through the collection (Add) or with
// the collection as the creation argument.
class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem, TPersistent)
 public:
  using TOwnerType = TCollection;
  explicit TCollectionItem(TCollection* ACollection) : FPendingCollection(ACollection) {}
  ~TCollectionItem() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* Value);
  Integer ID() const { return FID; }
  Integer Index() const;
  virtual void SetIndex(Integer Value);
  virtual String GetDisplayName();
  virtual void SetDisplayName(const String& Value);
  String DisplayName() { return GetDisplayName(); }
  String GetNamePath() override;

 protected:
  // Tells the collection that this item (or, with AllItems, every item)
  // changed, unless the collection is inside BeginUpdate/EndUpdate.
  void Changed(bool AllItems);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  TCollection* FPendingCollection = nullptr;
  Integer FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// A list of items of one class, streamed as a collection value.
class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(TClass AItemClass) : FItemClass(AItemClass) {}
  ~TCollection() override;
  // Frees the items while Notify overrides are still reachable.
  void BeforeDestruction() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  void Assign(TPersistent* Source) override;
  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // Raises EListError for an index out of range.
  TCollectionItem* Items(Integer Index) const;
  TCollectionItem* FindItemID(Integer ID) const;
  TClass ItemClass() const { return FItemClass; }
  String GetNamePath() override;

 protected:
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
  // Item changed, or nullptr when the whole collection did.
  virtual void Update(TCollectionItem* Item) {}
  void Changed();
  // The name of the owner's property that holds this collection.
  String PropName();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
};

// A collection whose GetOwner is the persistent object that holds it.
class TOwnedCollection : public TCollection {
  DECLARE_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, TClass AItemClass)
      : TCollection(AItemClass), FOwner(AOwner) {}

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// ---------------------------------------------------------------------------
// Actions: a component that clients (controls, menu items) execute and that
// keeps them in step with its state through one link per client.

// A keyboard shortcut: the virtual key in the low byte, the modifiers above.
using TShortCut = Word;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

// The tie between one client and its action. The client owns the link; the
// action calls it when its state changes and the client executes through it.
class TBasicActionLink : public TObject {
  DECLARE_CLASS(TBasicActionLink, TObject)
 public:
  // Links are created through their class by the client, which passes itself.
  using TOwnerType = TObject;
  explicit TBasicActionLink(TObject* AClient) : FPendingClient(AClient) {}
  // Tells the subclass its client (AssignClient), which needs the whole object.
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  // Executes the action for AComponent (the component that asked).
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  // Whether the client's click handler is the action's OnExecute.
  virtual bool IsOnExecuteLinked() { return true; }
  virtual void SetOnExecute(TNotifyEvent Value) {}
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  virtual void AssignClient(TObject* AClient) {}
  // The action changed as a whole.
  virtual void Change();
  TBasicAction* FAction = nullptr;

 private:
  TObject* FPendingClient;
};

class TBasicAction : public TComponent {
  DECLARE_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  // Unlinks every client first, so that no link outlives its action.
  void BeforeDestruction() override;

  // The target-based part: a control that HandlesTarget is updated and
  // executed through UpdateTarget and ExecuteTarget.
  virtual bool HandlesTarget(TObject* Target) { return false; }
  virtual void UpdateTarget(TObject* Target) {}
  virtual void ExecuteTarget(TObject* Target) {}
  // Runs OnExecute; false when there is none.
  virtual bool Execute();
  // Runs OnUpdate; false when there is none.
  virtual bool Update();

  // The client that executes the action at the moment (its sender).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value);
  TNotifyEvent OnExecute() const { return FOnExecute; }
  void SetOnExecute(TNotifyEvent Value);
  TNotifyEvent OnUpdate() const { return FOnUpdate; }
  void SetOnUpdate(TNotifyEvent Value);
  // Runs after every change of the action's state.
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = Value; }

  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  Integer ClientCount() const { return static_cast<Integer>(FClients.size()); }
  TBasicActionLink* Clients(Integer Index) const;

 protected:
  // The action's state changed (each client already followed through its
  // link); runs OnChange.
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::vector<TBasicActionLink*> FClients;

 private:
  TComponent* FActionComponent = nullptr;
  TNotifyEvent FOnExecute;
  TNotifyEvent FOnUpdate;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// Published properties, methods and fields.
enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkInt64,
  tkFloat,
  tkString,
  tkEnumeration,
  tkSet,
  tkClass,
  tkMethod
};
enum TFloatType { ftSingle, ftDouble, ftExtended };

// The names of an enumeration's values in declaration order (the values are
// 0..Count-1); a set property names its element enumeration.
struct TEnumInfo {
  const wchar_t* TypeName;
  const wchar_t* const* Names;
  Integer Count;
};
template <size_t N>
constexpr TEnumInfo MakeEnumInfo(const wchar_t* TypeName, const wchar_t* const (&Names)[N]) {
  return TEnumInfo{TypeName, Names, static_cast<Integer>(N)};
}
const TEnumInfo& BooleanInfo();
// Empty for a value out of range.
String GetEnumName(const TEnumInfo& Info, Integer Value);
// Case-insensitive; -1 when Name is not a value of the enumeration.
Integer GetEnumValue(const TEnumInfo& Info, const String& Name);

// Integer properties whose values have names (colours, cursors).
using TIdentToInt = bool (*)(const String& Ident, Integer& Value);
using TIntToIdent = bool (*)(Integer Value, String& Ident);

struct TPropInfo {
  String Name;
  TTypeKind Kind = tkUnknown;
  TFloatType FloatType = ftDouble;
  // A float property holding a TDateTime (streamed as a date value).
  bool IsDate = false;
  const TEnumInfo* EnumType = nullptr;  // tkEnumeration; tkSet: the element type
  TClass PropClass = nullptr;           // tkClass
  const void* Signature = nullptr;      // tkMethod: identifies the event's type
  Int64 (*GetOrd)(TObject*) = nullptr;  // tkInteger, tkInt64, tkEnumeration, tkSet (bits)
  void (*SetOrd)(TObject*, Int64) = nullptr;
  Extended (*GetFloat)(TObject*) = nullptr;
  void (*SetFloat)(TObject*, Extended) = nullptr;
  String (*GetStr)(TObject*) = nullptr;
  void (*SetStr)(TObject*, const String&) = nullptr;
  TObject* (*GetObj)(TObject*) = nullptr;
  void (*SetObj)(TObject*, TObject*) = nullptr;
  TMethod (*GetMethod)(TObject*) = nullptr;
  void (*SetMethod)(TObject*, const TMethod&) = nullptr;
  bool StoredFlag = true;
  bool (*Stored)(TObject*) = nullptr;
  bool HasDefault = false;
  Int64 Default = 0;
  TIdentToInt IdentToInt = nullptr;
  TIntToIdent IntToIdent = nullptr;
  bool Writable() const { return SetOrd || SetFloat || SetStr || SetObj || SetMethod; }
};

struct TMethodEntry {
  String Name;
  void* Code;
  const void* Signature;
};

struct TFieldEntry {
  String Name;
  TClass FieldClass;
  void (*Set)(TObject* Instance, TObject* Value);
};

struct TPublishedTable {
  std::vector<TPropInfo> Props;
  std::vector<TMethodEntry> Methods;
  std::vector<TFieldEntry> Fields;
};

// Property lookup walks the class and its ancestors; names compare
// case-insensitively. A derived class may publish a name again (to change its
// default); GetPropList then lists it once, at the ancestor's position.
const TPropInfo* GetPropInfo(TClass AClass, const String& PropName);
const TPropInfo* GetPropInfo(TObject* Instance, const String& PropName);
std::vector<const TPropInfo*> GetPropList(TClass AClass);
bool IsStoredProp(TObject* Instance, const TPropInfo* Prop);
// True when the property holds its default (nothing to stream).
bool IsDefaultPropValue(TObject* Instance, const TPropInfo* Prop);
// Raise EPropertyError for a read-only property or one of another kind.
Int64 GetOrdProp(TObject* Instance, const TPropInfo* Prop);
void SetOrdProp(TObject* Instance, const TPropInfo* Prop, Int64 Value);
String GetStrProp(TObject* Instance, const TPropInfo* Prop);
void SetStrProp(TObject* Instance, const TPropInfo* Prop, const String& Value);
Extended GetFloatProp(TObject* Instance, const TPropInfo* Prop);
void SetFloatProp(TObject* Instance, const TPropInfo* Prop, Extended Value);
TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop);
void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const TPropInfo* Prop);
void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const TMethod& Value);

// The published method Name of Instance's class bound to Instance; an empty
// TMethod when there is none.
TMethod FindMethod(TObject* Instance, const String& Name);
// The published name of Code in Instance's class, empty when unpublished.
String MethodName(TObject* Instance, void* Code);
const TMethodEntry* FindMethodEntry(TClass AClass, const String& Name);
const TFieldEntry* FindFieldEntry(TClass AClass, const String& Name);

DECLARE_EXCEPTION(EPropertyError, Exception)

namespace ClassesDetail {
template <class M>
struct GetterTraits;
template <class C, class R>
struct GetterTraits<R (C::*)() const> {
  using Class = C;
  using Value = std::decay_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)()> {
  using Class = C;
  using Value = std::decay_t<R>;
};
template <class M>
struct SetterTraits;
template <class C, class A>
struct SetterTraits<void (C::*)(A)> {
  using Class = C;
  using Arg = std::decay_t<A>;
};

template <class T>
struct IsSet : std::false_type {};
template <class E, size_t N>
struct IsSet<TSet<E, N>> : std::true_type {};
template <class T>
struct IsMethodPtr : std::false_type {};
template <class S>
struct IsMethodPtr<TMethodPtr<S>> : std::true_type {};

// One address per event type, so that a form's method can be checked against
// the event property it is bound to.
template <class S>
inline const char SignatureTag = 0;
template <class S>
struct MethodSig;
template <class S>
struct MethodSig<TMethodPtr<S>> {
  static const void* Tag() { return &SignatureTag<S>; }
};

template <class T, auto Getter>
auto Get(TObject* Obj) {
  using C = typename GetterTraits<decltype(Getter)>::Class;
  return (static_cast<C*>(static_cast<T*>(Obj))->*Getter)();
}
template <class T, auto Setter, class V>
void Set(TObject* Obj, V&& Value) {
  using C = typename SetterTraits<decltype(Setter)>::Class;
  (static_cast<C*>(static_cast<T*>(Obj))->*Setter)(std::forward<V>(Value));
}
}  // namespace ClassesDetail

// Fills one class's published table: properties with their accessors, the
// methods a form resource may bind events to, and the fields that receive the
// components of the same name. Used inside IMPLEMENT_PUBLISHED_CLASS.
template <class T>
class TPublisher {
 public:
  class TPropBuilder {
   public:
    explicit TPropBuilder(TPropInfo& AInfo) : Info(AInfo) {}
    TPropBuilder& Default(Int64 Value) {
      Info.HasDefault = true;
      Info.Default = Value;
      return *this;
    }
    template <class E, size_t N>
    TPropBuilder& Default(const TSet<E, N>& Value) {
      return Default(static_cast<Int64>(Value.ToBits()));
    }
    TPropBuilder& NoDefault() {
      Info.HasDefault = false;
      return *this;
    }
    TPropBuilder& Stored(bool Value) {
      Info.StoredFlag = Value;
      Info.Stored = nullptr;
      return *this;
    }
    template <auto Predicate>
    TPropBuilder& Stored() {
      Info.Stored = [](TObject* Obj) -> bool { return ClassesDetail::Get<T, Predicate>(Obj); };
      return *this;
    }
    TPropBuilder& Idents(TIdentToInt ToInt, TIntToIdent ToIdent) {
      Info.IdentToInt = ToInt;
      Info.IntToIdent = ToIdent;
      return *this;
    }
    TPropBuilder& Date() {
      Info.IsDate = true;
      return *this;
    }

   private:
    TPropInfo& Info;
  };

  explicit TPublisher(TPublishedTable& ATable) : FTable(ATable) {}

  // Kind, class and float type follow from the getter's result; enumerations
  // and sets name their values with a TEnumInfo. Setter may be nullptr for a
  // read-only property (an owned object whose own properties are streamed).
  template <auto Getter, auto Setter = nullptr>
  TPropBuilder Property(const wchar_t* Name, const TEnumInfo* EnumType = nullptr) {
    using V = typename ClassesDetail::GetterTraits<decltype(Getter)>::Value;
    TPropInfo& I = FTable.Props.emplace_back();
    I.Name = Name;
    constexpr bool HasSetter = !std::is_same_v<decltype(Setter), std::nullptr_t>;
    if constexpr (std::is_same_v<V, bool>) {
      I.Kind = tkEnumeration;
      I.EnumType = &BooleanInfo();
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (std::is_enum_v<V>) {
      Assert(EnumType != nullptr, "An enumeration property needs its value names");
      I.Kind = tkEnumeration;
      I.EnumType = EnumType;
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (ClassesDetail::IsSet<V>::value) {
      Assert(EnumType != nullptr, "A set property needs its element names");
      I.Kind = tkSet;
      I.EnumType = EnumType;
      I.HasDefault = true;  // an empty set is not streamed
      I.GetOrd = [](TObject* O) -> Int64 {
        return static_cast<Int64>(ClassesDetail::Get<T, Getter>(O).ToBits());
      };
      if constexpr (HasSetter)
        I.SetOrd = [](TObject* O, Int64 Bits) {
          ClassesDetail::Set<T, Setter>(O, V::FromBits(static_cast<UInt64>(Bits)));
        };
    } else if constexpr (std::is_same_v<V, Int64> || std::is_same_v<V, UInt64>) {
      I.Kind = tkInt64;
      I.HasDefault = true;
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (std::is_integral_v<V>) {
      I.Kind = tkInteger;
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (std::is_floating_point_v<V>) {
      I.Kind = tkFloat;
      I.FloatType = std::is_same_v<V, float>    ? ftSingle
                    : std::is_same_v<V, double> ? ftDouble
                                                : ftExtended;
      I.GetFloat = [](TObject* O) -> Extended { return ClassesDetail::Get<T, Getter>(O); };
      if constexpr (HasSetter)
        I.SetFloat = [](TObject* O, Extended X) {
          ClassesDetail::Set<T, Setter>(O, static_cast<V>(X));
        };
    } else if constexpr (std::is_same_v<V, String>) {
      I.Kind = tkString;
      I.GetStr = [](TObject* O) -> String { return ClassesDetail::Get<T, Getter>(O); };
      if constexpr (HasSetter)
        I.SetStr = [](TObject* O, const String& S) { ClassesDetail::Set<T, Setter>(O, S); };
    } else if constexpr (std::is_pointer_v<V>) {
      using C = std::remove_pointer_t<V>;
      static_assert(std::is_base_of_v<TObject, C>, "Class properties hold framework objects");
      I.Kind = tkClass;
      I.PropClass = C::StaticClass();
      I.GetObj = [](TObject* O) -> TObject* { return ClassesDetail::Get<T, Getter>(O); };
      if constexpr (HasSetter)
        I.SetObj = [](TObject* O, TObject* X) { ClassesDetail::Set<T, Setter>(O, As<C>(X)); };
    } else if constexpr (ClassesDetail::IsMethodPtr<V>::value) {
      I.Kind = tkMethod;
      I.Signature = ClassesDetail::MethodSig<V>::Tag();
      I.GetMethod = [](TObject* O) -> TMethod { return ClassesDetail::Get<T, Getter>(O).Method(); };
      if constexpr (HasSetter)
        I.SetMethod = [](TObject* O, const TMethod& M) {
          ClassesDetail::Set<T, Setter>(O, V::FromMethod(M));
        };
    } else {
      static_assert(sizeof(V) == 0, "Unsupported published property type");
    }
    return TPropBuilder(I);
  }
  template <auto Getter, auto Setter = nullptr>
  TPropBuilder Property(const wchar_t* Name, const TEnumInfo& EnumType) {
    return Property<Getter, Setter>(Name, &EnumType);
  }

  // A method that event properties in a form resource may name.
  template <auto Fn>
  void Method(const wchar_t* Name) {
    using Ptr = decltype(MakeEvent<Fn>(nullptr));
    FTable.Methods.push_back(
        TMethodEntry{Name, MakeMethod<Fn>(nullptr).Code, ClassesDetail::MethodSig<Ptr>::Tag()});
  }

  // A component field set to the owned component of the same name.
  template <auto FieldPtr>
  void Field(const wchar_t* Name) {
    using F = std::remove_reference_t<decltype(std::declval<T&>().*FieldPtr)>;
    using C = std::remove_pointer_t<F>;
    FTable.Fields.push_back(TFieldEntry{Name, C::StaticClass(), [](TObject* Obj, TObject* Value) {
                                          static_cast<T*>(Obj)->*FieldPtr = As<C>(Value);
                                        }});
  }

 private:
  template <auto Getter, auto Setter, bool HasSetter, class V>
  static void BindOrd(TPropInfo& I) {
    I.GetOrd = [](TObject* O) -> Int64 {
      return static_cast<Int64>(ClassesDetail::Get<T, Getter>(O));
    };
    if constexpr (HasSetter)
      I.SetOrd = [](TObject* O, Int64 X) { ClassesDetail::Set<T, Setter>(O, static_cast<V>(X)); };
  }

  TPublishedTable& FTable;
};

template <class T>
const TPublishedTable* BuildPublishedTable(void (*Publish)(TPublisher<T>&)) {
  // Built once and kept for the life of the process, like the class itself.
  auto* Table = new TPublishedTable;
  TPublisher<T> P(*Table);
  Publish(P);
  return Table;
}

#define IMPLEMENT_PUBLISHED_CLASS_IMPL(ClassName_, Factory_)                                      \
  static void Publish_##ClassName_(TPublisher<ClassName_>& P);                                    \
  static const TPublishedTable* PublishedTable_##ClassName_() {                                   \
    static const TPublishedTable* Table = BuildPublishedTable(&Publish_##ClassName_);             \
    return Table;                                                                                 \
  }                                                                                               \
  TClass ClassName_::StaticClass() {                                                              \
    static const TMetaClass Meta{L## #ClassName_, ClassName_::inherited::StaticClass(), Factory_, \
                                 &PublishedTable_##ClassName_};                                   \
    return &Meta;                                                                                 \
  }                                                                                               \
  TClass ClassName_::ClassType() const { return StaticClass(); }                                  \
  static void Publish_##ClassName_(TPublisher<ClassName_>& P)

// In the class's .cpp, followed by the body that publishes:
//   IMPLEMENT_PUBLISHED_CLASS(TMyControl) {
//     P.Property<&TMyControl::GetCaption, &TMyControl::SetCaption>(L"Caption");
//   }
#define IMPLEMENT_PUBLISHED_CLASS(ClassName_) IMPLEMENT_PUBLISHED_CLASS_IMPL(ClassName_, nullptr)
#define IMPLEMENT_CREATABLE_PUBLISHED_CLASS(ClassName_) \
  IMPLEMENT_PUBLISHED_CLASS_IMPL(ClassName_, &CreateThroughClass<ClassName_>)

// ---------------------------------------------------------------------------
// Class registration: the classes a form resource may name.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> AClasses);
void UnRegisterClass(TClass AClass);
// nullptr when no class of that name is registered.
TClass GetClass(const String& AClassName);
// Raises EClassNotFound "Class %s not found".
TClass FindClass(const String& AClassName);

// ===========================================================================
// Filer: binary and text form resources
// ===========================================================================

// Value types of the binary form encoding, numbered as the framework numbers
// them (the numbers are the file format).
enum TValueType : Byte {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String,
  vaDouble
};
enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag, 8>;
using TReaderProc = TMethodPtr<void(TReader* Reader)>;
using TWriterProc = TMethodPtr<void(TWriter* Writer)>;
using TStreamProc = TMethodPtr<void(TStream* Stream)>;

// A syntax error in a text form; the message names the line.
DECLARE_EXCEPTION(EParserError, EReadError)

// Reads or writes components and their published properties in the binary
// form encoding.
class TFiler : public TObject {
  DECLARE_CLASS(TFiler, TObject)
 public:
  explicit TFiler(TStream* AStream) : FStream(AStream) {}
  // Unpublished data of a persistent object, declared from its
  // DefineProperties: read when the stream has a property of that name,
  // written when HasData.
  virtual void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;
  // The same for raw bytes, handed over as a stream.
  virtual void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;
  TStream* Stream() const { return FStream; }
  TComponent* Root() const { return FRoot; }
  void SetRoot(TComponent* Value) { FRoot = Value; }

 protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
};

class TReader : public TFiler {
  DECLARE_CLASS(TReader, TFiler)
 public:
  explicit TReader(TStream* AStream) : TFiler(AStream) {}

  void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  // Reads a root component: the signature, the root's own properties, its
  // children (created by class name, owned by the root), then resolves
  // component references and calls Loaded on every component read. Root
  // nullptr creates the root from the stream's class name. On error nothing
  // read stays half-made: created components are freed.
  TComponent* ReadRootComponent(TComponent* Root);
  // Reads one component (created when Component is nullptr) with its children.
  TComponent* ReadComponent(TComponent* Component);
  void ReadData(TComponent* Instance);
  void ReadProperty(TPersistent* Instance);
  void ReadCollection(TCollection* Collection);

  TValueType NextValue();
  TValueType ReadValue();
  // Raises EReadError "Invalid property value" when the next value differs.
  void CheckValue(TValueType Value);
  // Looks at the next byte only, which may also start a component header.
  bool EndOfList();
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }
  void ReadSignature();
  void ReadPrefix(TFilerFlags& Flags, Integer& AChildPos);
  bool ReadBoolean();
  Integer ReadInteger();
  Int64 ReadInt64();
  // Any float or integer value.
  Extended ReadFloat();
  Single ReadSingle();
  Double ReadDouble();
  // Ten-thousandths, as the currency value stores them.
  Int64 ReadCurrency();
  TDateTime ReadDate();
  // vaString, vaLString (ANSI code page), vaWString, vaUTF8String.
  String ReadString();
  // An identifier, or False/True/nil/Null.
  String ReadIdent();
  // A short string (length byte, UTF-8).
  String ReadStr();
  // Set element names into bits of the element enumeration.
  UInt64 ReadSet(const TEnumInfo& Info);
  TBytes ReadBinary();
  void SkipValue();

  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* Value) { FParent = Value; }

  // Components, lists and collections nest at most this deep; deeper data is
  // refused as damaged rather than recursed into.
  static constexpr Integer MaxNesting = 256;

 private:
  class TNesting;
  struct TFixup {
    TComponent* Component;  // whose property it is (for messages)
    TPersistent* Instance;
    const TPropInfo* Prop;
    String Name;
    String PropPath;
    // The inline component (a frame on a form) the reference was read in;
    // its own components are looked up there first.
    TComponent* LookupRoot = nullptr;
  };
  void Read(void* Buffer, Integer Count);
  void CheckAvailable(Int64 Count);
  Int64 ReadCount();
  [[noreturn]] void FormatError();
  [[noreturn]] void PropValueError();
  void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
  void ReadClassProp(TPersistent* Instance, const TPropInfo* Prop);
  void FixupReferences();
  void FinishLoading();
  void AbandonLoading();
  void TrackCreated(TComponent* Component);
  void Forget(TComponent* Component);
  String CurrentName() const;

  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  TComponent* FCurrent = nullptr;
  // While an inline component is read: where its inherited parts are found.
  TComponent* FLookupRoot = nullptr;
  String FPropName;
  String FPropPath;
  Integer FPropDepth = 0;
  Integer FComponentDepth = 0;
  Integer FNesting = 0;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
  // Components this reader created, watched through free notification, so a
  // failed read can free exactly those still alive.
  TOwned<TComponent> FCreated;
};

class TWriter : public TFiler {
  DECLARE_CLASS(TWriter, TFiler)
 public:
  explicit TWriter(TStream* AStream) : TFiler(AStream) {}

  void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  // The signature and the root with everything it reports as its children.
  void WriteRootComponent(TComponent* Root);
  void WriteComponent(TComponent* Component);
  void WriteData(TComponent* Instance);
  // The published properties that differ from their defaults, then the
  // object's defined properties.
  void WriteProperties(TPersistent* Instance);
  void WriteCollection(TCollection* Collection);

  void WriteValue(TValueType Value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteSignature();
  void WritePrefix(TFilerFlags Flags, Integer AChildPos);
  void WriteBoolean(bool Value);
  // The smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds Value.
  void WriteInteger(Int64 Value);
  // vaExtended.
  void WriteFloat(Extended Value);
  void WriteDouble(Double Value);
  void WriteSingle(Single Value);
  // Ten-thousandths.
  void WriteCurrency(Int64 Value);
  void WriteDate(TDateTime Value);
  // ASCII text as vaString/vaLString, anything else as vaUTF8String.
  void WriteString(const String& Value);
  void WriteWideString(const String& Value);
  void WriteIdent(const String& Ident);
  // A short string; more than 255 bytes of UTF-8 raise EWriteError.
  void WriteStr(const String& Value);
  void WriteSet(UInt64 Bits, const TEnumInfo& Info);
  void WriteBinary(const void* Data, Integer Count);

 private:
  void Write(const void* Buffer, Integer Count);
  void WritePropName(const String& Name);
  void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);

  String FPropPath;
};

// Converts between the binary encoding and the text form
// (object Name: TClass ... end); the two round-trip exactly for what TWriter
// writes and for any text ObjectBinaryToText writes. Text is read as UTF-8
// (with or without byte order mark) and written as UTF-8; strings keep
// printable characters literal and write the others as #code. A float's
// suffix names its value type: none for double, s single, x extended,
// c currency, d date; each is written with the shortest digits that read back
// to the same value.
void ObjectBinaryToText(TStream* Input, TStream* Output);
void ObjectTextToBinary(TStream* Input, TStream* Output);

enum TStreamOriginalFormat { sofUnknown, sofBinary, sofText };
// Looks at the stream's next bytes without moving its position.
TStreamOriginalFormat TestStreamFormat(TStream* Stream);

// Reads a root component from a stream in either format.
TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Instance);
void WriteComponentToStream(TStream* Stream, TComponent* Instance);
// Reads Instance (or a new root, when nullptr) from the RCDATA resource
// ResName of the program's module, a form stored as text or binary.
TComponent* ReadComponentRes(const String& ResName, TComponent* Instance);
// Reads the form resources of Instance's class and of its ancestors below
// RootAncestor, ancestors first (a form that inherits another form's
// resource). False when none of them has a resource.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
