#include <algorithm>
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

TMemoryStream::TMemoryStream(const TBytes& AData) : FData(AData) {
  SetPointer(FData.data(), static_cast<NativeInt>(FData.size()));
}

void TMemoryStream::Resize(NativeInt NewSize) {
  try {
    FData.resize(static_cast<size_t>(NewSize), 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SMemoryStreamError);
  } catch (const std::length_error&) {
    throw EOutOfMemory(SMemoryStreamError);
  }
  SetPointer(FData.data(), NewSize);
}

void TMemoryStream::SetCapacity(NativeInt NewCapacity) {
  if (NewCapacity < 0) return;
  if (static_cast<size_t>(NewCapacity) < FData.size()) Resize(NewCapacity);
  try {
    FData.reserve(static_cast<size_t>(NewCapacity));
  } catch (const std::exception&) {
    throw EOutOfMemory(SMemoryStreamError);
  }
  SetPointer(FData.data(), static_cast<NativeInt>(FData.size()));
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  NativeInt Pos = static_cast<NativeInt>(Position());
  if (Pos < 0 || Count <= 0) return 0;
  if (Pos > PTRDIFF_MAX - Count) throw EOutOfMemory(SMemoryStreamError);
  NativeInt End = Pos + Count;
  if (End > static_cast<NativeInt>(FData.size())) Resize(End);
  std::memcpy(FData.data() + Pos, Buffer, static_cast<size_t>(Count));
  Seek(End, soBeginning);
  return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0 || static_cast<UInt64>(NewSize) > static_cast<UInt64>(PTRDIFF_MAX))
    throw EOutOfMemory(SMemoryStreamError);
  Int64 OldPosition = Position();
  Resize(static_cast<NativeInt>(NewSize));
  if (OldPosition > NewSize) Seek(0, soEnd);
}

void TMemoryStream::Clear() {
  TBytes().swap(FData);
  SetPointer(nullptr, 0);
  Seek(0, soBeginning);
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  Int64 Count = Stream->Size();
  if (Count > INT32_MAX) throw EReadError(SReadError);
  SetSize(Count);
  if (Count != 0) Stream->ReadBuffer(FData.data(), static_cast<Integer>(Count));
  Seek(0, soBeginning);
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TBytesStream)
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
