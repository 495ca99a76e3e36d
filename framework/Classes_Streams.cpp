#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Classes.h"

using namespace ClassesConsts;

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TStream)

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  if (Count < 0) throw EReadError(SReadError);
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  if (Count < 0) throw EWriteError(SWriteError);
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(SWriteError);
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  constexpr Integer MaxBufSize = 0xF000;
  std::vector<Byte> Buffer(static_cast<size_t>(std::min<Int64>(Count, MaxBufSize)));
  Int64 Result = Count;
  while (Count > 0) {
    Integer N = static_cast<Integer>(std::min<Int64>(Count, MaxBufSize));
    Source->ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Count -= N;
  }
  return Result;
}

Int64 TStream::Size() {
  Int64 Pos = Seek(0, soCurrent);
  Int64 Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(Int64) {}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(THandleStream)

Integer THandleStream::Read(void* Buffer, Integer Count) {
  DWORD Done = 0;
  if (Count <= 0 || !ReadFile(FHandle, Buffer, static_cast<DWORD>(Count), &Done, nullptr)) return 0;
  return static_cast<Integer>(Done);
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
  DWORD Done = 0;
  if (Count <= 0 || !WriteFile(FHandle, Buffer, static_cast<DWORD>(Count), &Done, nullptr))
    return 0;
  return static_cast<Integer>(Done);
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  LARGE_INTEGER Dist, NewPos;
  Dist.QuadPart = Offset;
  static constexpr DWORD Methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  if (Origin < soBeginning || Origin > soEnd) return -1;
  if (!SetFilePointerEx(FHandle, Dist, &NewPos, Methods[Origin])) return -1;
  return NewPos.QuadPart;
}

void THandleStream::SetSize(Int64 NewSize) {
  Seek(NewSize, soBeginning);
  if (!SetEndOfFile(FHandle)) {
    DWORD Code = GetLastError();
    throw EOSError(SysErrorMessage(Code), Code);
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TFileStream)

namespace {
DWORD ShareMode(Word Mode) {
  switch (Mode & 0x00F0) {
    case fmShareDenyWrite:
      return FILE_SHARE_READ;
    case fmShareDenyRead:
      return FILE_SHARE_WRITE;
    case fmShareDenyNone:
      return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
      return 0;
  }
}
}  // namespace

TFileStream::TFileStream(const String& AFileName, Word Mode)
    : THandleStream(INVALID_HANDLE_VALUE), FFileName(AFileName) {
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = CreateFileW(AFileName.c_str(), GENERIC_READ | GENERIC_WRITE, ShareMode(Mode), nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
      DWORD Code = GetLastError();
      throw EFCreateError(
          Format(SFCreateErrorEx, {ExpandFileName(AFileName), SysErrorMessage(Code)}));
    }
  } else {
    static constexpr DWORD Access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    DWORD Acc = (Mode & 3) < 3 ? Access[Mode & 3] : GENERIC_READ | GENERIC_WRITE;
    FHandle = CreateFileW(AFileName.c_str(), Acc, ShareMode(Mode), nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
      DWORD Code = GetLastError();
      throw EFOpenError(Format(SFOpenErrorEx, {ExpandFileName(AFileName), SysErrorMessage(Code)}));
    }
  }
}

TFileStream::~TFileStream() {
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCustomMemoryStream)

void TCustomMemoryStream::SetPointer(Pointer Ptr, NativeInt ASize) {
  FMemory = static_cast<Byte*>(Ptr);
  FSize = ASize;
}

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0 || FPosition < 0 || FPosition >= FSize) return 0;
  NativeInt N = std::min<NativeInt>(FSize - FPosition, Count);
  std::memcpy(Buffer, FMemory + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return static_cast<Integer>(N);
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning:
      FPosition = static_cast<NativeInt>(Offset);
      break;
    case soCurrent:
      FPosition += static_cast<NativeInt>(Offset);
      break;
    case soEnd:
      FPosition = FSize + static_cast<NativeInt>(Offset);
      break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  if (FSize > INT32_MAX) throw EWriteError(SWriteError);
  if (FSize != 0) Stream->WriteBuffer(FMemory, static_cast<Integer>(FSize));
}

void TCustomMemoryStream::SaveToFile(const String& FileName) {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmCreate));
  SaveToStream(Stream.get());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TMemoryStream)

TMemoryStream::~TMemoryStream() { Clear(); }

Pointer TMemoryStream::Realloc(NativeInt& NewCapacity) {
  // Grow by half at least, so that writing in small pieces stays linear.
  if (NewCapacity > FCapacity && NewCapacity < FCapacity + FCapacity / 2)
    NewCapacity = FCapacity + FCapacity / 2;
  if (NewCapacity == 0) {
    std::free(Memory());
    return nullptr;
  }
  Pointer P = std::realloc(Memory(), static_cast<size_t>(NewCapacity));
  if (!P) throw EOutOfMemory(SMemoryStreamError);
  return P;
}

void TMemoryStream::SetCapacity(NativeInt NewCapacity) {
  if (NewCapacity < 0) return;
  NativeInt OldSize = static_cast<NativeInt>(Size());
  Pointer P = Realloc(NewCapacity);
  FCapacity = NewCapacity;
  SetPointer(P, std::min(OldSize, NewCapacity));
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  NativeInt Pos = static_cast<NativeInt>(Position());
  if (Pos < 0 || Count <= 0) return 0;
  if (Pos > PTRDIFF_MAX - Count) throw EOutOfMemory(SMemoryStreamError);
  NativeInt End = Pos + Count;
  NativeInt OldSize = static_cast<NativeInt>(Size());
  if (End > OldSize) {
    if (End > FCapacity) SetCapacity(End);
    // A write past the end leaves no undefined bytes in the gap.
    if (Pos > OldSize) std::memset(static_cast<Byte*>(Memory()) + OldSize, 0, Pos - OldSize);
    SetPointer(Memory(), End);
  }
  std::memcpy(static_cast<Byte*>(Memory()) + Pos, Buffer, static_cast<size_t>(Count));
  Seek(End, soBeginning);
  return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0 || static_cast<UInt64>(NewSize) > static_cast<UInt64>(PTRDIFF_MAX))
    throw EOutOfMemory(SMemoryStreamError);
  Int64 OldPosition = Position();
  NativeInt OldSize = static_cast<NativeInt>(Size());
  NativeInt N = static_cast<NativeInt>(NewSize);
  SetCapacity(N);
  if (N > OldSize) std::memset(static_cast<Byte*>(Memory()) + OldSize, 0, N - OldSize);
  SetPointer(Memory(), N);
  if (OldPosition > NewSize) Seek(0, soEnd);
}

void TMemoryStream::Clear() {
  SetCapacity(0);
  Seek(0, soBeginning);
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  Int64 Count = Stream->Size();
  if (Count > INT32_MAX) throw EReadError(SReadError);
  SetSize(Count);
  if (Count != 0) Stream->ReadBuffer(Memory(), static_cast<Integer>(Count));
  Seek(0, soBeginning);
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TBytesStream)

TBytesStream::TBytesStream(const TBytes& ABytes) : FBytes(ABytes) {
  NativeInt N = static_cast<NativeInt>(FBytes.size());
  SetCapacity(N);
  SetPointer(Memory(), N);
}

TBytesStream::~TBytesStream() { Clear(); }

Pointer TBytesStream::Realloc(NativeInt& NewCapacity) {
  try {
    FBytes.resize(static_cast<size_t>(NewCapacity), 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SMemoryStreamError);
  } catch (const std::length_error&) {
    throw EOutOfMemory(SMemoryStreamError);
  }
  return FBytes.empty() ? nullptr : FBytes.data();
}

IMPLEMENT_CREATABLE_CLASS(TStringStream)

TStringStream::TStringStream(const String& AString, const TEncoding& AEncoding)
    : TBytesStream(AEncoding.GetBytes(AString)), FEncoding(AEncoding) {}

String TStringStream::ReadString(Integer Count) {
  Int64 Avail = Size() - Position();
  if (Avail <= 0 || Count <= 0) return String();
  Integer N = static_cast<Integer>(std::min<Int64>(Avail, Count));
  TBytes Buf(static_cast<size_t>(N), 0);
  ReadBuffer(Buf.data(), N);
  return FEncoding.GetString(Buf);
}

void TStringStream::WriteString(const String& AString) {
  TBytes Buf = FEncoding.GetBytes(AString);
  if (Buf.size() > INT32_MAX) throw EWriteError(SWriteError);
  WriteBuffer(Buf.data(), static_cast<Integer>(Buf.size()));
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TResourceStream)

TResourceStream::TResourceStream(HINSTANCE Instance, const String& ResName,
                                 const wchar_t* ResType) {
  Initialize(Instance, ResName.c_str(), ResType, ResName);
}

TResourceStream::TResourceStream(HINSTANCE Instance, Integer ResID, const wchar_t* ResType) {
  Initialize(Instance, MAKEINTRESOURCEW(ResID), ResType, IntToStr(ResID));
}

void TResourceStream::Initialize(HINSTANCE Instance, const wchar_t* Name, const wchar_t* ResType,
                                 const String& DisplayName) {
  HRSRC Info = FindResourceW(Instance, Name, ResType);
  HGLOBAL Res = Info ? LoadResource(Instance, Info) : nullptr;
  void* Data = Res ? LockResource(Res) : nullptr;
  if (!Data) throw EResNotFound(Format(SResNotFound, {DisplayName}));
  // Module resources stay mapped as long as the module is loaded; there is
  // nothing to release.
  SetPointer(Data, static_cast<NativeInt>(SizeofResource(Instance, Info)));
}

Integer TResourceStream::Write(const void*, Integer) {
  throw EStreamError(L"Can't write to a read-only resource stream");
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TStreamAdapter)

TStreamAdapter::~TStreamAdapter() {
  if (FOwnership == soOwned && FStream) FStream->Free();
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TStreamAdapter::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, IID_IStream) || IsEqualIID(AIID, IID_ISequentialStream) ||
      IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IStream*>(this);
    AddRef();
    return true;
  }
  return TInterfacedObject::GetInterface(AIID, AObj);
}

namespace {
// Runs a stream operation for a COM caller: an exception becomes AFailure.
template <class F>
HRESULT Guarded(HRESULT AFailure, F&& AOperation) noexcept {
  try {
    return AOperation();
  } catch (...) {
    return AFailure;
  }
}
}  // namespace

HRESULT STDMETHODCALLTYPE TStreamAdapter::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  if (!pv) return STG_E_INVALIDPOINTER;
  return Guarded(S_FALSE, [&] {
    Integer N = FStream->Read(pv, static_cast<Integer>(std::min<ULONG>(cb, INT32_MAX)));
    if (pcbRead) *pcbRead = static_cast<ULONG>(N);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
  if (!pv) return STG_E_INVALIDPOINTER;
  return Guarded(STG_E_CANTSAVE, [&] {
    Integer N = FStream->Write(pv, static_cast<Integer>(std::min<ULONG>(cb, INT32_MAX)));
    if (pcbWritten) *pcbWritten = static_cast<ULONG>(N);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                               ULARGE_INTEGER* plibNewPosition) {
  if (dwOrigin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
  return Guarded(STG_E_INVALIDPOINTER, [&] {
    Int64 P = FStream->Seek(dlibMove.QuadPart, static_cast<TSeekOrigin>(dwOrigin));
    if (plibNewPosition) plibNewPosition->QuadPart = static_cast<ULONGLONG>(P);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::SetSize(ULARGE_INTEGER libNewSize) {
  return Guarded(E_UNEXPECTED, [&] {
    Int64 N = static_cast<Int64>(libNewSize.QuadPart);
    FStream->SetSize(N);
    return FStream->Size() == N ? S_OK : E_FAIL;
  });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::CopyTo(IStream* pstm, ULARGE_INTEGER cb,
                                                 ULARGE_INTEGER* pcbRead,
                                                 ULARGE_INTEGER* pcbWritten) {
  if (!pstm) return STG_E_INVALIDPOINTER;
  return Guarded(E_UNEXPECTED, [&] {
    ULONGLONG Read = 0, Written = 0, Left = cb.QuadPart;
    Byte Buffer[32768];
    HRESULT R = S_OK;
    while (Left > 0) {
      Integer N =
          FStream->Read(Buffer, static_cast<Integer>(std::min<ULONGLONG>(Left, sizeof Buffer)));
      if (N <= 0) break;
      Read += static_cast<ULONGLONG>(N);
      ULONG W = 0;
      R = pstm->Write(Buffer, static_cast<ULONG>(N), &W);
      Written += W;
      if (FAILED(R) || W != static_cast<ULONG>(N)) {
        if (SUCCEEDED(R)) R = STG_E_MEDIUMFULL;
        break;
      }
      Left -= static_cast<ULONGLONG>(N);
    }
    if (pcbRead) pcbRead->QuadPart = Read;
    if (pcbWritten) pcbWritten->QuadPart = Written;
    return R;
  });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Commit(DWORD) { return S_OK; }

HRESULT STDMETHODCALLTYPE TStreamAdapter::Revert() { return STG_E_REVERTED; }

HRESULT STDMETHODCALLTYPE TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Stat(STATSTG* pstatstg, DWORD) {
  if (!pstatstg) return STG_E_INVALIDPOINTER;
  return Guarded(E_UNEXPECTED, [&] {
    *pstatstg = STATSTG{};
    pstatstg->type = STGTY_STREAM;
    pstatstg->cbSize.QuadPart = static_cast<ULONGLONG>(FStream->Size());
    pstatstg->grfLocksSupported = LOCK_WRITE;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Clone(IStream** ppstm) {
  if (ppstm) *ppstm = nullptr;
  return E_NOTIMPL;
}
