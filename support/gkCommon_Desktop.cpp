// The desktop half of the common routines: shared fonts, the cursor stack
// and the message dialog's entry point.
#include "WinHandles.h"
#include "gkCommon.h"
#include "gkModalForm.h"

namespace {
TFont* FSystemFont = nullptr;
TFont* FDocumentFont = nullptr;
TFont* FDialogFont = nullptr;
std::vector<TCursor>* FCursorList = nullptr;
String* FNoteCaption = nullptr;

TFont* CheckedFont(TFont* F) {
  if (!F) throw EInvalidOperation(L"The shared fonts exist only between start-up and shut-down");
  return F;
}
}  // namespace

void CreateSystemFont() {
  FreeAndNil(FSystemFont);
  FreeAndNil(FDocumentFont);
  FreeAndNil(FDialogFont);
  FSystemFont = Create<TFont>();
  FDocumentFont = Create<TFont>();
  FDialogFont = Create<TFont>();
  NONCLIENTMETRICSW Metrics{};
  // The structure grew with Vista by the padded border width; the older
  // size is what the platform accepts everywhere.
  Metrics.cbSize = sizeof(Metrics);
  bool Got = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0);
  if (!Got) {
    Metrics.cbSize = sizeof(Metrics) - sizeof(int);
    Got = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, Metrics.cbSize, &Metrics, 0);
  }
  if (Got) {
    FSystemFont->SetLogFont(Metrics.lfMenuFont);
  } else {
    FSystemFont->SetName(L"Tahoma");
    FSystemFont->SetSize(8);
  }
  ChangeFonts();
}

void ChangeFonts() { ChangeFonts(GetPixelsPerInch()); }

void ChangeFonts(Integer APixelsPerInch) {
  CheckedFont(FDocumentFont)->Assign(CheckedFont(FSystemFont));
  CheckedFont(FDialogFont)->Assign(FSystemFont);
  if (APixelsPerInch >= 120) {
    Integer H = FDialogFont->Height();
    FDialogFont->SetHeight(-((H < 0 ? -H : H) - 1));
  }
}

TFont* SystemFont() { return CheckedFont(FSystemFont); }
TFont* DocumentFont() { return CheckedFont(FDocumentFont); }
TFont* DialogFont() { return CheckedFont(FDialogFont); }

TSize GetAveCharSize(TCanvas* ACanvas) {
  wchar_t Letters[52];
  for (int I = 0; I < 26; ++I) {
    Letters[I] = static_cast<wchar_t>(L'A' + I);
    Letters[I + 26] = static_cast<wchar_t>(L'a' + I);
  }
  // Through the canvas, which selects its font and knows it did: a font
  // selected behind its back would be deleted while still in the DC when
  // the canvas's font changes.
  TSize S = ACanvas->TextExtent(String(Letters, 52));
  return Size(S.cx / 52, S.cy);
}

void RawSetCursor(TCursor ACursor) {
  if (Screen()) Screen()->SetCursor(ACursor);
}

void SaveCursor(TCursor ACursor) {
  if (!FCursorList) return;
  FCursorList->push_back(Screen() ? Screen()->Cursor() : crDefault);
  RawSetCursor(ACursor);
}

void RestoreCursor() {
  if (!FCursorList || FCursorList->empty()) return;
  RawSetCursor(FCursorList->back());
  FCursorList->pop_back();
}

String GetNoteCaption() {
  if (!FNoteCaption) {
    wchar_t Path[MAX_PATH * 2];
    DWORD N = GetModuleFileNameW(nullptr, Path, MAX_PATH * 2);
    FNoteCaption = new String(ExtractFileName(String(Path, N)));
  }
  return *FNoteCaption;
}

String CachedNoteCaption() { return FNoteCaption ? *FNoteCaption : String(); }

Integer Note(const Variant& AText, TMsgDlgType ADlgType, TMsgDlgButtons AButtons,
             TMsgDlgBtn ADefaultButton) {
  TOwned<TMessageForm> Dialog(CreateMessageDialog(Str(AText), ADlgType, AButtons, ADefaultButton));
  SaveCursor(crDefault);
  // The dialog goes before the cursor comes back, on every path.
  auto Restore = Finally([&] {
    Dialog.reset();
    RestoreCursor();
  });
  Dialog->SetCaption(GetNoteCaption());
  return Dialog->ShowModal();
}

void gkCommonDesktop_Initialize() {
  if (!FCursorList) FCursorList = new std::vector<TCursor>();
  CreateSystemFont();
}

void gkCommonDesktop_Finalize() {
  FreeAndNil(FSystemFont);
  FreeAndNil(FDocumentFont);
  FreeAndNil(FDialogFont);
  delete FCursorList;
  FCursorList = nullptr;
  delete FNoteCaption;
  FNoteCaption = nullptr;
}
