#include "Clipbrd.h"

#include <cstring>

#include "Controls.h"

namespace {

TClipboard* FClipboard = nullptr;
bool ClipboardFinalized = false;

}  // namespace

IMPLEMENT_CLASS(TClipboard)

TClipboard::TClipboard() = default;

TClipboard::~TClipboard() {
  if (FClipboardWindow) DeallocateHWnd(FClipboardWindow);
}

void TClipboard::Open() {
  if (FOpenRefCount == 0) {
    // The clipboard needs an owner window so that what we put there stays
    // ours until someone else empties it.
    if (!FClipboardWindow) FClipboardWindow = AllocateHWnd(TWndMethod(nullptr));
    if (!OpenClipboard(FClipboardWindow)) {
      DWORD Code = GetLastError();
      String Msg = L"Cannot open clipboard";
      if (Code != 0) Msg += L": " + SysErrorMessage(Code);
      throw EClipboardException(Msg);
    }
    FEmptied = false;
  }
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  auto Closing = Finally([&] { Close(); });
  EmptyClipboard();
}

void TClipboard::Adding() {
  if (FOpenRefCount != 0 && !FEmptied) {
    Clear();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT Format) { return IsClipboardFormatAvailable(Format) != 0; }

Integer TClipboard::FormatCount() { return CountClipboardFormats(); }

UINT TClipboard::Formats(Integer Index) {
  Open();
  UINT Fmt = 0;
  for (Integer I = 0; I <= Index; ++I) {
    Fmt = EnumClipboardFormats(Fmt);
    if (Fmt == 0) break;
  }
  Close();
  if (Fmt == 0) throw EListError(Format(L"List index out of bounds (%d)", {Index}));
  return Fmt;
}

String TClipboard::AsText() {
  String Result;
  Open();
  if (HANDLE Data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* P = static_cast<const wchar_t*>(GlobalLock(Data))) {
      Result = P;
      GlobalUnlock(Data);
    }
  } else if (HANDLE AnsiData = GetClipboardData(CF_TEXT)) {
    if (auto* P = static_cast<const char*>(GlobalLock(AnsiData))) {
      int Len = MultiByteToWideChar(CP_ACP, 0, P, -1, nullptr, 0);
      if (Len > 1) {
        Result.resize(static_cast<size_t>(Len) - 1);
        MultiByteToWideChar(CP_ACP, 0, P, -1, Result.data(), Len);
      }
      GlobalUnlock(AnsiData);
    }
  }
  Close();
  return Result;
}

void TClipboard::SetTextBuf(const wchar_t* Buffer) {
  size_t Bytes = (std::wcslen(Buffer) + 1) * sizeof(wchar_t);
  TGlobalMemoryHandle Data(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Bytes));
  if (!Data) throw EOutOfMemory(L"Out of memory");
  std::memcpy(GlobalLock(Data.Get()), Buffer, Bytes);
  GlobalUnlock(Data.Get());
  SetAsHandle(CF_UNICODETEXT, Data.Get());
  // The clipboard owns the memory now.
  Data.Release();
}

void TClipboard::SetAsText(const String& Value) { SetTextBuf(Value.c_str()); }

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE Result = GetClipboardData(Format);
  Close();
  return Result;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) {
  Open();
  auto Closing = Finally([&] { Close(); });
  Adding();
  if (!SetClipboardData(Format, Value)) RaiseLastOSError();
}

void TClipboard::Assign(TPersistent* Source) {
  if (auto* Picture = AsOrNull<TPicture>(Source)) Source = Picture->Graphic();
  if (auto* Graphic = AsOrNull<TGraphic>(Source)) {
    AssignGraphic(Graphic);
    return;
  }
  inherited::Assign(Source);
}

void TClipboard::AssignGraphic(TGraphic* Source) {
  TOpened Opened(this);
  Adding();
  Word Format = 0;
  HANDLE Data = nullptr;
  HPALETTE Palette = nullptr;
  Source->SaveToClipboardFormat(Format, Data, Palette);
  // Once set, the clipboard owns the data; until then it is ours.
  TPaletteHandle OwnPalette(Palette);
  if (Format == CF_BITMAP) {
    TBitmapHandle Own(static_cast<HBITMAP>(Data));
    if (!SetClipboardData(Format, Data)) RaiseLastOSError();
    Own.Release();
  } else {
    TGlobalMemoryHandle Own(Data);
    if (!SetClipboardData(Format, Data)) RaiseLastOSError();
    Own.Release();
  }
  if (OwnPalette && SetClipboardData(CF_PALETTE, Palette)) OwnPalette.Release();
}

TClipboard* Clipboard() {
  if (!FClipboard && !ClipboardFinalized) FClipboard = Create<TClipboard>();
  return FClipboard;
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
  TClipboard* Old = FClipboard;
  FClipboard = NewClipboard;
  return Old;
}

void Clipbrd_Finalize() {
  ClipboardFinalized = true;
  FreeAndNil(FClipboard);
}
