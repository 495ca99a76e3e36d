#include "Menus.h"

#include <atomic>

#include "Forms.h"

namespace {

// Command numbers are unique in the process so that any built menu can be
// mapped back to its item.
UINT NextCommand() {
  static std::atomic<UINT> Counter{0};
  UINT C = ++Counter;
  // The platform keeps command numbers in 16 bits for WM_COMMAND.
  return (C % 0xFFF0) + 1;
}

struct TKeyName {
  Word Key;
  const wchar_t* Name;
};
const TKeyName KeyNames[] = {
    {VK_BACK, L"BkSp"},      {VK_TAB, L"Tab"},        {VK_ESCAPE, L"Esc"},  {VK_RETURN, L"Enter"},
    {VK_SPACE, L"Space"},    {VK_PRIOR, L"PgUp"},     {VK_NEXT, L"PgDn"},   {VK_END, L"End"},
    {VK_HOME, L"Home"},      {VK_LEFT, L"Left"},      {VK_UP, L"Up"},       {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},      {VK_INSERT, L"Ins"},     {VK_DELETE, L"Del"},  {VK_ADD, L"Num +"},
    {VK_SUBTRACT, L"Num -"}, {VK_MULTIPLY, L"Num *"}, {VK_DIVIDE, L"Num /"}};

String KeyToText(Word Key) {
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
    return String(1, static_cast<wchar_t>(Key));
  if (Key >= VK_F1 && Key <= VK_F24) return L"F" + IntToStr(Key - VK_F1 + 1);
  for (const TKeyName& N : KeyNames)
    if (N.Key == Key) return N.Name;
  return String();
}

const wchar_t* const AlignmentNames[] = {L"paLeft", L"paRight", L"paCenter"};
const TEnumInfo PopupAlignmentInfo = MakeEnumInfo(L"TPopupAlignment", AlignmentNames);

}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key & 0xFF00) return 0;
  TShortCut Result = Key;
  if (Shift.Contains(ssShift)) Result |= scShift;
  if (Shift.Contains(ssCtrl)) Result |= scCtrl;
  if (Shift.Contains(ssAlt)) Result |= scAlt;
  return Result;
}

void ShortCutToKey(TShortCut AShortCut, Word& Key, TShiftState& Shift) {
  Key = AShortCut & ~(scShift | scCtrl | scAlt);
  Shift = {};
  if (AShortCut & scShift) Shift.Include(ssShift);
  if (AShortCut & scCtrl) Shift.Include(ssCtrl);
  if (AShortCut & scAlt) Shift.Include(ssAlt);
}

String StripHotkey(const String& Text) {
  String R;
  R.reserve(Text.size());
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == L'&') {
      if (++I == Text.size()) break;
    }
    R += Text[I];
  }
  return R;
}

String ShortCutToText(TShortCut AShortCut) {
  String Name = KeyToText(AShortCut & 0xFF);
  if (Name.empty()) return String();
  String Result;
  if (AShortCut & scShift) Result += L"Shift+";
  if (AShortCut & scCtrl) Result += L"Ctrl+";
  if (AShortCut & scAlt) Result += L"Alt+";
  return Result + Name;
}

TShortCut TextToShortCut(const String& Text) {
  String Rest = Text;
  TShortCut Shift = 0;
  // Modifiers in any order, each once.
  for (bool Found = true; Found;) {
    Found = false;
    for (auto [Prefix, Bit] :
         {std::pair{L"Shift+", scShift}, std::pair{L"Ctrl+", scCtrl}, std::pair{L"Alt+", scAlt}}) {
      size_t N = wcslen(Prefix);
      if (Rest.size() > N && SameText(Rest.substr(0, N), Prefix) && !(Shift & Bit)) {
        Shift |= Bit;
        Rest.erase(0, N);
        Found = true;
      }
    }
  }
  for (Word Key = 1; Key < 0xFF; ++Key) {
    String Name = KeyToText(Key);
    if (!Name.empty() && SameText(Name, Rest)) return static_cast<TShortCut>(Key | Shift);
  }
  return 0;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TMenuItem) {
  P.Property<&TMenuItem::Caption, &TMenuItem::SetCaption>(L"Caption");
  P.Property<&TMenuItem::ShortCut, &TMenuItem::SetShortCut>(L"ShortCut").Default(0);
  P.Property<&TMenuItem::Enabled, &TMenuItem::SetEnabled>(L"Enabled").Default(1);
  P.Property<&TMenuItem::Checked, &TMenuItem::SetChecked>(L"Checked").Default(0);
  P.Property<&TMenuItem::Visible, &TMenuItem::SetVisible>(L"Visible").Default(1);
  P.Property<&TMenuItem::Default, &TMenuItem::SetDefault>(L"Default").Default(0);
  P.Property<&TMenuItem::RadioItem, &TMenuItem::SetRadioItem>(L"RadioItem").Default(0);
  P.Property<&TMenuItem::Hint, &TMenuItem::SetHint>(L"Hint");
  P.Property<&TMenuItem::GetOnClick, &TMenuItem::SetOnClick>(L"OnClick");
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
  while (!FItems.empty()) FItems.back()->Free();
  if (FParent) FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format(L"List index out of bounds (%d)", {Index}));
  return FItems[static_cast<size_t>(Index)];
}

Integer TMenuItem::MenuIndex() const {
  return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1;
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (Item->FParent) throw EInvalidOperation(L"Menu inserted twice");
  if (Index < 0 || Index > Count())
    throw EListError(Format(L"List index out of bounds (%d)", {Index}));
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Delete(Integer Index) { Items(Index)->Free(); }

void TMenuItem::Remove(TMenuItem* Item) {
  Integer I = IndexOf(Item);
  if (I < 0) throw EInvalidOperation(L"Sub-menu is not in menu");
  FItems.erase(FItems.begin() + I);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) FItems.back()->Free();
}

Integer TMenuItem::IndexOf(TMenuItem* Item) const {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I] == Item) return static_cast<Integer>(I);
  return -1;
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  // Accelerator marks do not count.
  for (TMenuItem* Item : FItems)
    if (SameText(StripHotkey(Item->FCaption), StripHotkey(ACaption))) return Item;
  return nullptr;
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TMenuItem* Item : FItems) Proc(Item);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FRootOf) return FParent->FRootOf;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (!Value) return;
  if (auto* M = AsOrNull<TMenu>(Value))
    M->Items()->Add(this);
  else if (auto* Popup = AsOrNull<TPopupMenu>(Value))
    Popup->Items()->Add(this);
  else if (auto* Item = AsOrNull<TMenuItem>(Value))
    Item->Add(this);
}

void TMenuItem::AppendTo(HMENU Menu) {
  for (TMenuItem* Item : FItems) {
    if (!Item->FVisible) continue;
    MENUITEMINFOW Info{};
    Info.cbSize = sizeof(Info);
    String Text = Item->FCaption;
    if (Item->IsLine()) {
      Info.fMask = MIIM_FTYPE;
      Info.fType = MFT_SEPARATOR;
    } else {
      if (Item->FShortCut) Text += L"\t" + ShortCutToText(Item->FShortCut);
      Info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE;
      Info.fType = Item->FRadioItem ? MFT_RADIOCHECK : 0;
      Info.dwTypeData = Text.data();
      Info.wID = Item->FCommand;
      Info.fState = (Item->FEnabled ? 0 : MFS_GRAYED) | (Item->FChecked ? MFS_CHECKED : 0) |
                    (Item->FDefault ? MFS_DEFAULT : 0);
      if (!Item->FItems.empty()) {
        HMENU Sub = CreatePopupMenu();
        Item->AppendTo(Sub);
        Info.fMask |= MIIM_SUBMENU;
        Info.hSubMenu = Sub;
      }
    }
    InsertMenuItemW(Menu, static_cast<UINT>(GetMenuItemCount(Menu)), TRUE, &Info);
  }
}

TMenuItem* TMenuItem::FindCommand(UINT ACommand) {
  if (FCommand == ACommand && FParent) return this;
  for (TMenuItem* Item : FItems)
    if (TMenuItem* Found = Item->FindCommand(ACommand)) return Found;
  return nullptr;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TMenu)

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
  // Not owned as a component: the menu frees it after its owned components.
  FItems = Create<TMenuItem>(nullptr);
  FItems->FRootOf = this;
}

TMenu::~TMenu() {
  DestroyMenuHandle();
  FreeAndNil(FItems);
}

void TMenu::DestroyMenuHandle() {
  if (FHandle) DestroyMenu(FHandle);
  FHandle = nullptr;
}

HMENU TMenu::Handle() {
  DestroyMenuHandle();
  FHandle = CreateMenuHandle();
  if (!FHandle) RaiseLastOSError();
  FItems->AppendTo(FHandle);
  return FHandle;
}

TMenuItem* TMenu::FindItem(UINT Command) const { return FItems->FindCommand(Command); }

bool TMenu::DispatchCommand(UINT Command) {
  TMenuItem* Item = FindItem(Command);
  if (!Item) return false;
  Item->Click();
  return true;
}

void TMenu::GetChildren(TGetChildProc Proc, TComponent* Root) { FItems->GetChildren(Proc, Root); }

// ---------------------------------------------------------------------------
class TPopupMenu::TPopupMenuHolder : public TMenu {
 public:
  using TMenu::TMenu;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
};

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TPopupMenu) {
  P.Property<&TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup>(L"AutoPopup").Default(1);
  P.Property<&TPopupMenu::Alignment, &TPopupMenu::SetAlignment>(L"Alignment", PopupAlignmentInfo)
      .Default(paLeft);
  P.Property<&TPopupMenu::GetOnPopup, &TPopupMenu::SetOnPopup>(L"OnPopup");
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TPopupMenuBase(AOwner) {
  FMenu = Create<TPopupMenuHolder>(nullptr);
  FMenu->Items()->FRootOf = this;
}

TPopupMenu::~TPopupMenu() {
  FreeAndNil(FMenu);
  if (FWindow) DeallocateHWnd(FWindow);
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  DoPopup(this);
  static const UINT Align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  // The menu needs a window of this thread to report to; the choice comes
  // back as the command so that the item is clicked here, outside the
  // menu's own loop.
  if (!FWindow) FWindow = AllocateHWnd(TWndMethod(nullptr));
  HWND Owner = FWindow;
  if (Screen() && Screen()->ActiveForm() && Screen()->ActiveForm()->HandleAllocated())
    Owner = Screen()->ActiveForm()->Handle();
  HMENU Menu = FMenu->Handle();
  SetForegroundWindow(Owner);
  UINT Command = static_cast<UINT>(
      TrackPopupMenu(Menu, Align[FAlignment] | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, X, Y,
                     0, Owner, nullptr));
  // Lets the menu close properly when it was dismissed by clicking elsewhere.
  PostMessageW(Owner, WM_NULL, 0, 0);
  if (Command != 0) FMenu->DispatchCommand(Command);
}

void TPopupMenu::GetChildren(TGetChildProc Proc, TComponent* Root) {
  FMenu->GetChildren(Proc, Root);
}

void Menus_Initialize() {
  RegisterClasses({TMenuItem::StaticClass(), TPopupMenu::StaticClass(), TMenu::StaticClass()});
}
