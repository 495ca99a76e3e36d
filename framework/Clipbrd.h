// The system clipboard as an object: nested Open/Close, text in both
// encodings, and raw handles for other formats.
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include "WinCompat.h"

DECLARE_EXCEPTION(EClipboardException, Exception)

class TClipboard : public TPersistent {
  DECLARE_CLASS(TClipboard, TPersistent)
 public:
  TClipboard();
  ~TClipboard() override;

  // Opening nests: only the outermost Open and Close reach the platform, so
  // a series of writes empties the clipboard once and lands together.
  void Open();
  void Close();
  // Keeps the clipboard open for the length of a scope.
  class TOpened {
   public:
    explicit TOpened(TClipboard* AClipboard) : FClipboard(AClipboard) { FClipboard->Open(); }
    ~TOpened() { FClipboard->Close(); }
    TOpened(const TOpened&) = delete;
    TOpened& operator=(const TOpened&) = delete;

   private:
    TClipboard* FClipboard;
  };
  void Clear();
  bool HasFormat(UINT Format);
  Integer FormatCount();
  UINT Formats(Integer Index);

  // Text is written as CF_UNICODETEXT; the platform synthesises CF_TEXT.
  // Reading falls back to CF_TEXT when no Unicode text is there.
  String AsText();
  void SetAsText(const String& Value);
  void SetTextBuf(const wchar_t* Buffer);

  // The clipboard owns a handle once it has been set.
  HANDLE GetAsHandle(UINT Format);
  void SetAsHandle(UINT Format, HANDLE Value);

  // A graphic (or a picture's graphic) in the formats it gives itself;
  // anything else raises the framework's assignment error.
  void Assign(TPersistent* Source) override;

 private:
  void Adding();
  void AssignGraphic(TGraphic* Source);
  HWND FClipboardWindow = nullptr;
  Integer FOpenRefCount = 0;
  bool FEmptied = false;
};

// The process's clipboard object, created on first use.
TClipboard* Clipboard();
// Puts NewClipboard in place of the current object and returns the old one
// (the caller frees it).
TClipboard* SetClipboard(TClipboard* NewClipboard);

void Clipbrd_Finalize();
