// The message record and the numbers of the framework's private messages:
// CM_* notifications between controls and CN_* notifications that a parent
// reflects back to the child control that caused them.
#pragma once

#include "System.h"
#include "Types.h"

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

using TWndMethod = TMethodPtr<void(TMessage& Message)>;

// The point a mouse, hit-test or context-menu message packs into its LParam.
// Each coordinate is a signed 16-bit value: negative left of or above the
// origin (a captured pointer outside the window, a monitor left of the
// primary one).
inline TPoint SmallPointToPoint(LPARAM L) {
  return TPoint{static_cast<SHORT>(LOWORD(L)), static_cast<SHORT>(HIWORD(L))};
}

// Message tables. A class that handles messages names each handler after its
// message (WMPaint for WM_PAINT, CMMouseEnter for CM_MOUSEENTER) as a
// protected virtual method and lists it once in its class's table; a table
// also names the table of the class below it. Dispatch walks the tables from
// the object's own class down and calls the first handler listed for the
// message; a message no table lists goes to DefaultHandler. A subclass that
// only changes what a handler does overrides the virtual method (and calls
// the inherited one) without listing it again; it lists only messages that
// no class below it handles.
//
//   class TMyControl : public TCustomControl {
//     DECLARE_CLASS(TMyControl, TCustomControl)
//     DECLARE_MESSAGE_TABLE()
//    protected:
//     virtual void WMTimer(TMessage& Message);
//   };
//   IMPLEMENT_MESSAGE_TABLE(TMyControl, {WM_TIMER, MessageHandler<&TMyControl::WMTimer>})

// A handler as the table stores it: the member function called on the object.
using TMessageThunk = void (*)(TObject* Self, TMessage& Message);

struct TMessageTableEntry {
  UINT Msg;
  TMessageThunk Handler;
};

struct TMessageTable {
  const TMessageTable* Parent;  // the table of the class below, nullptr at the root
  const TMessageTableEntry* Entries;
  size_t Count;
};

namespace MessagesDetail {
template <class T>
struct THandlerClass;
template <class C>
struct THandlerClass<void (C::*)(TMessage&)> {
  using Type = C;
};
}  // namespace MessagesDetail

// The table entry of a member handler; a virtual handler is called virtually.
template <auto Handler>
void MessageHandler(TObject* Self, TMessage& Message) {
  using TOwner = typename MessagesDetail::THandlerClass<decltype(Handler)>::Type;
  (static_cast<TOwner*>(Self)->*Handler)(Message);
}

// The handler the tables give for a message, searched from ATable down;
// nullptr when none lists it.
inline TMessageThunk FindMessageHandler(const TMessageTable* ATable, UINT AMsg) noexcept {
  for (; ATable; ATable = ATable->Parent)
    for (size_t I = 0; I < ATable->Count; ++I)
      if (ATable->Entries[I].Msg == AMsg) return ATable->Entries[I].Handler;
  return nullptr;
}

// In the class body of a class with a table of its own (below the root,
// which declares the virtual MessageTable itself).
#define DECLARE_MESSAGE_TABLE()                                                 \
 protected:                                                                     \
  static const TMessageTableEntry FMessageEntries[];                            \
  static const TMessageTable FMessageTable;                                     \
  const TMessageTable* MessageTable() const override { return &FMessageTable; } \
                                                                                \
 private:

// In the .cpp: the class's entries, {message, MessageHandler<&T::Handler>}.
#define IMPLEMENT_MESSAGE_TABLE(ClassName_, ...)                                    \
  constinit const TMessageTableEntry ClassName_::FMessageEntries[] = {__VA_ARGS__}; \
  constinit const TMessageTable ClassName_::FMessageTable{                          \
      &ClassName_::inherited::FMessageTable, ClassName_::FMessageEntries,           \
      sizeof(ClassName_::FMessageEntries) / sizeof(ClassName_::FMessageEntries[0])};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
constexpr UINT CM_INVALIDATEDOCKHOST = CM_BASE + 70;
constexpr UINT CM_SETACTIVECONTROL = CM_BASE + 71;
constexpr UINT CM_POPUPHWNDDESTROY = CM_BASE + 72;
constexpr UINT CM_CREATEPOPUP = CM_BASE + 73;
constexpr UINT CM_DESTROYHANDLE = CM_BASE + 74;
constexpr UINT CM_MOUSEACTIVATE = CM_BASE + 75;
constexpr UINT CM_CONTROLLISTCHANGING = CM_BASE + 76;
constexpr UINT CM_BUFFEREDPRINTCLIENT = CM_BASE + 77;
constexpr UINT CM_UNTHEMECONTROL = CM_BASE + 78;
constexpr UINT CM_DOUBLEBUFFEREDCHANGED = CM_BASE + 79;
constexpr UINT CM_PARENTDOUBLEBUFFEREDCHANGED = CM_BASE + 80;
constexpr UINT CM_STYLECHANGED = CM_BASE + 81;
constexpr UINT CM_GESTURE = CM_BASE + 82;
constexpr UINT CM_CUSTOMGESTURESCHANGED = CM_BASE + 83;
constexpr UINT CM_GESTUREMANAGERCHANGED = CM_BASE + 84;
constexpr UINT CM_STANDARDGESTURESCHANGED = CM_BASE + 85;
constexpr UINT CM_INPUTLANGCHANGE = CM_BASE + 86;
constexpr UINT CM_TABLETOPTIONSCHANGED = CM_BASE + 87;
constexpr UINT CM_PARENTTABLETOPTIONSCHANGED = CM_BASE + 88;
constexpr UINT CM_CUSTOMSTYLECHANGED = CM_BASE + 89;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// The component library's private messages: WM_DX and the DXM_ family above
// it. Kept here with the framework's own so that no two numbers collide.
constexpr UINT WM_DX = WM_APP + 100;
constexpr UINT DXM_NCSIZECHANGED = WM_DX + 1;
constexpr UINT DXM_SYNCHRONIZETHREADS = WM_DX + 2;
constexpr UINT DXM_POSTAPPKEYDOWN = WM_DX + 7;
constexpr UINT DXM_SCALECHANGING = WM_DX + 8;
constexpr UINT DXM_SCALECHANGED = WM_DX + 9;
constexpr UINT DXM_CLOSEPOPUPWINDOW = WM_DX + 25;
constexpr UINT DXM_SHOWPOPUPWINDOW = WM_DX + 26;
constexpr UINT DXM_SHORTREFRESHCONTAINER = WM_DX + 27;
constexpr UINT DXM_UPDATESCROLLBARS = WM_DX + 28;
constexpr UINT DXM_UPDATEEDITVALUE = WM_DX + 30;
constexpr UINT DXM_UPDATEWINDOWREGION = WM_DX + 31;
constexpr UINT DXM_POPUPCONTROLKEY = WM_DX + 50;
constexpr UINT DXM_DROPDOWNBYPASTE = WM_DX + 51;
constexpr UINT DXM_DROPDOWNPOPUPMENU = WM_DX + 52;
constexpr UINT DXM_CLOSEUPPOPUPMENU = WM_DX + 53;
static_assert(WM_DX == 0x8064 && DXM_CLOSEUPPOPUPMENU == 0x8099);
// The spell checker's: an automatic correction to apply (LParam points at
// the correction), and a redraw of the misspellings after painting.
constexpr UINT DXM_SPELL_AUTOCORRECT = WM_DX + 200;
constexpr UINT DXM_SPELL_REDRAWMISSPELLINGS = WM_DX + 201;
static_assert(DXM_SPELL_AUTOCORRECT == 0x812C && DXM_SPELL_REDRAWMISSPELLINGS == 0x812D);
