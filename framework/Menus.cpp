#include "Menus.h"

#include <algorithm>
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
  P.Property<&TMenuItem::Action, &TMenuItem::SetAction>(L"Action");
  P.Property<&TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck>(L"AutoCheck").Default(0);
  P.Property<&TMenuItem::Bitmap, &TMenuItem::SetBitmap>(L"Bitmap").Stored<&TMenuItem::HasBitmap>();
  P.Property<&TMenuItem::Caption, &TMenuItem::SetCaption>(L"Caption")
      .Stored<&TMenuItem::IsCaptionStored>();
  P.Property<&TMenuItem::ShortCut, &TMenuItem::SetShortCut>(L"ShortCut")
      .Default(0)
      .Stored<&TMenuItem::IsShortCutStored>();
  P.Property<&TMenuItem::Enabled, &TMenuItem::SetEnabled>(L"Enabled")
      .Default(1)
      .Stored<&TMenuItem::IsEnabledStored>();
  P.Property<&TMenuItem::Checked, &TMenuItem::SetChecked>(L"Checked")
      .Default(0)
      .Stored<&TMenuItem::IsCheckedStored>();
  P.Property<&TMenuItem::Visible, &TMenuItem::SetVisible>(L"Visible")
      .Default(1)
      .Stored<&TMenuItem::IsVisibleStored>();
  P.Property<&TMenuItem::Default, &TMenuItem::SetDefault>(L"Default").Default(0);
  P.Property<&TMenuItem::RadioItem, &TMenuItem::SetRadioItem>(L"RadioItem").Default(0);
  P.Property<&TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex>(L"GroupIndex").Default(0);
  P.Property<&TMenuItem::Hint, &TMenuItem::SetHint>(L"Hint").Stored<&TMenuItem::IsHintStored>();
  P.Property<&TMenuItem::ImageIndex, &TMenuItem::SetImageIndex>(L"ImageIndex")
      .Default(-1)
      .Stored<&TMenuItem::IsImageIndexStored>();
  P.Property<&TMenuItem::GetOnClick, &TMenuItem::SetOnClick>(L"OnClick")
      .Stored<&TMenuItem::IsOnClickStored>();
  P.Property<&TMenuItem::GetOnDrawItem, &TMenuItem::SetOnDrawItem>(L"OnDrawItem");
  P.Property<&TMenuItem::GetOnAdvancedDrawItem, &TMenuItem::SetOnAdvancedDrawItem>(
      L"OnAdvancedDrawItem");
  P.Property<&TMenuItem::GetOnMeasureItem, &TMenuItem::SetOnMeasureItem>(L"OnMeasureItem");
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  DestroyHandle();
  while (!FItems.empty()) FItems.back()->Free();
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
  RebuildHandle();
  // The first sub-item makes this item open a sub-menu.
  if (FItems.size() == 1) MenuChanged(false);
}

void TMenuItem::Delete(Integer Index) { Items(Index)->Free(); }

void TMenuItem::Remove(TMenuItem* Item) {
  Integer I = IndexOf(Item);
  if (I < 0) throw EInvalidOperation(L"Sub-menu is not in menu");
  FItems.erase(FItems.begin() + I);
  Item->FParent = nullptr;
  RebuildHandle();
  if (FItems.empty() && !ComponentState().Contains(csDestroying)) MenuChanged(false);
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

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* Root = this;
  while (Root->FParent) Root = Root->FParent;
  return Root->FMenu;
}

// --- properties ------------------------------------------------------------
void TMenuItem::SetCaption(const String& V) {
  if (V == FCaption) return;
  // An item that becomes or stops being a separator changes its kind.
  bool WasLine = IsLine();
  FCaption = V;
  MenuChanged(WasLine != IsLine());
}

void TMenuItem::SetShortCut(TShortCut V) {
  if (V == FShortCut) return;
  FShortCut = V;
  MenuChanged(false);
}

void TMenuItem::SetEnabled(bool V) {
  if (V == FEnabled) return;
  FEnabled = V;
  MenuChanged(false);
}

void TMenuItem::SetChecked(bool V) {
  if (V == FChecked) return;
  FChecked = V;
  if (V && FRadioItem) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* Item : FParent->FItems)
    if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex)
      Item->SetChecked(false);
}

void TMenuItem::SetVisible(bool V) {
  if (V == FVisible) return;
  FVisible = V;
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool V) {
  if (V == FDefault) return;
  // One default item per level.
  if (V && FParent)
    for (TMenuItem* Item : FParent->FItems)
      if (Item != this && Item->FDefault) Item->SetDefault(false);
  FDefault = V;
  MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool V) {
  if (V == FRadioItem) return;
  FRadioItem = V;
  if (V && FChecked) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::SetGroupIndex(Integer V) {
  if (V == FGroupIndex) return;
  FGroupIndex = V;
  if (FChecked && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetAutoCheck(bool V) { FAutoCheck = V; }

void TMenuItem::SetImageIndex(Integer V) {
  if (V == FImageIndex) return;
  FImageIndex = V;
  MenuChanged(false);
}

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) {
    FBitmap.reset(Create<TBitmap>());
    FBitmap->OnChange = MakeEvent<&TMenuItem::BitmapChanged>(this);
  }
  return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* V) { Bitmap()->Assign(V); }

bool TMenuItem::HasBitmap() const { return FBitmap && !FBitmap->Empty(); }

void TMenuItem::BitmapChanged(TObject*) { MenuChanged(false); }

void TMenuItem::SetOnDrawItem(TMenuDrawItemEvent V) {
  OnDrawItem = V;
  MenuChanged(false);
}

void TMenuItem::SetOnAdvancedDrawItem(TAdvancedMenuDrawItemEvent V) {
  OnAdvancedDrawItem = V;
  MenuChanged(false);
}

void TMenuItem::SetOnMeasureItem(TMenuMeasureItemEvent V) {
  OnMeasureItem = V;
  MenuChanged(false);
}

bool TMenuItem::IsOwnerDraw() const {
  if (IsLine()) return false;
  TMenu* Menu = GetParentMenu();
  return (Menu && Menu->OwnerDraw()) || OnDrawItem || OnAdvancedDrawItem;
}

bool TMenuItem::HasImage() const {
  if (HasBitmap()) return true;
  TMenu* Menu = GetParentMenu();
  TCustomImageList* Images = Menu ? Menu->Images() : nullptr;
  return Images && FImageIndex >= 0 && FImageIndex < Images->Count();
}

TSize TMenuItem::ImageSize() const {
  if (HasBitmap()) return Size(FBitmap->Width(), FBitmap->Height());
  TMenu* Menu = GetParentMenu();
  TCustomImageList* Images = Menu ? Menu->Images() : nullptr;
  return Images ? Size(Images->Width(), Images->Height()) : Size(0, 0);
}

// --- the platform menu ----------------------------------------------------
void TMenuItem::FillItemInfo(MENUITEMINFOW& Info, String& Text) {
  Info = MENUITEMINFOW{};
  Info.cbSize = sizeof(Info);
  Info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_BITMAP;
  Info.wID = FCommand;
  if (IsLine()) {
    Info.fType = MFT_SEPARATOR;
    return;
  }
  Text = FCaption;
  if (FShortCut) Text += L"\t" + ShortCutToText(FShortCut);
  Info.dwTypeData = Text.data();
  Info.fType = (FRadioItem ? MFT_RADIOCHECK : 0) | (IsOwnerDraw() ? MFT_OWNERDRAW : 0);
  Info.fState =
      (FEnabled ? 0 : MFS_GRAYED) | (FChecked ? MFS_CHECKED : 0) | (FDefault ? MFS_DEFAULT : 0);
  // The platform draws the item and asks the owner window for the image.
  if (!IsOwnerDraw() && HasImage()) Info.hbmpItem = HBMMENU_CALLBACK;
  if (!FItems.empty()) Info.hSubMenu = Handle();
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    HMENU Menu = !FParent && FMenu ? FMenu->CreateMenuHandle() : CreatePopupMenu();
    if (!Menu) RaiseLastOSError();
    FHandle.Reset(Menu);
    AppendItems();
  }
  return FHandle.Get();
}

void TMenuItem::AppendItems() {
  HMENU Menu = FHandle.Get();
  for (TMenuItem* Item : FItems) {
    if (!Item->FVisible) continue;
    MENUITEMINFOW Info;
    String Text;
    Item->FillItemInfo(Info, Text);
    InsertMenuItemW(Menu, static_cast<UINT>(GetMenuItemCount(Menu)), TRUE, &Info);
  }
}

void TMenuItem::DestroyHandle() {
  if (!FHandle) return;
  // Destroying a menu destroys its sub-menus: they belong to their items.
  for (int I = GetMenuItemCount(FHandle.Get()) - 1; I >= 0; --I)
    RemoveMenu(FHandle.Get(), static_cast<UINT>(I), MF_BYPOSITION);
  FHandle.Reset();
}

void TMenuItem::RebuildHandle() {
  if (!FHandle || ComponentState().Contains(csDestroying)) return;
  for (int I = GetMenuItemCount(FHandle.Get()) - 1; I >= 0; --I)
    RemoveMenu(FHandle.Get(), static_cast<UINT>(I), MF_BYPOSITION);
  AppendItems();
}

void TMenuItem::UpdateItem() {
  if (!FParent || !FParent->FHandle || !FVisible) return;
  MENUITEMINFOW Info;
  String Text;
  FillItemInfo(Info, Text);
  SetMenuItemInfoW(FParent->FHandle.Get(), FCommand, FALSE, &Info);
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (!FParent) return;
  if (Rebuild)
    FParent->RebuildHandle();
  else
    UpdateItem();
}

TMenuItem* TMenuItem::FindCommand(UINT ACommand) {
  if (FCommand == ACommand && FParent) return this;
  for (TMenuItem* Item : FItems)
    if (TMenuItem* Found = Item->FindCommand(ACommand)) return Found;
  return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut AShortCut) {
  for (TMenuItem* Item : FItems) {
    if (!Item->FVisible) continue;
    if (Item->FShortCut == AShortCut && Item->FParent && !Item->IsLine()) return Item;
    if (TMenuItem* Found = Item->FindShortCut(AShortCut)) return Found;
  }
  return nullptr;
}

// --- drawing ---------------------------------------------------------------
void TMenuItem::DrawImage(TCanvas* ACanvas, const TRect& ARect, bool AEnabled) {
  TSize S = ImageSize();
  Integer X = ARect.left, Y = ARect.top + (RectHeight(ARect) - S.cy) / 2;
  if (HasBitmap()) {
    ACanvas->Draw(X, Y, FBitmap.get());
    return;
  }
  TMenu* Menu = GetParentMenu();
  if (Menu && Menu->Images() && HasImage())
    Menu->Images()->Draw(ACanvas, X, Y, FImageIndex, AEnabled);
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height) {
  TSize Image = ImageSize();
  Integer Check = GetSystemMetrics(SM_CXMENUCHECK);
  Integer Gutter = std::max<Integer>(Image.cx, Check) + 8;
  String Text = StripHotkey(FCaption);
  Width = Gutter + ACanvas->TextWidth(Text) + 8;
  if (FShortCut) Width += ACanvas->TextWidth(ShortCutToText(FShortCut)) + 16;
  Height = std::max<Integer>(ACanvas->TextHeight(L"Wg") + 6, Image.cy + 4);
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, ACanvas, ARect, State);
    return;
  }
  if (OnDrawItem) {
    OnDrawItem(this, ACanvas, ARect, State.Contains(odSelected));
    return;
  }
  bool Selected = State.Contains(odSelected);
  bool Disabled = State.Contains(odDisabled) || State.Contains(odGrayed);
  ACanvas->Brush()->SetColor(Selected ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  TSize Image = ImageSize();
  Integer Check = GetSystemMetrics(SM_CXMENUCHECK);
  Integer Gutter = std::max<Integer>(Image.cx, Check) + 8;
  TRect ImageRect = Rect(ARect.left + 4, ARect.top, ARect.left + Gutter, ARect.bottom);
  if (HasImage()) {
    DrawImage(ACanvas, ImageRect, !Disabled);
  } else if (FChecked) {
    TRect Mark = Bounds(ImageRect.left, ARect.top + (RectHeight(ARect) - Check) / 2, Check, Check);
    DrawFrameControl(ACanvas->Handle(), &Mark, DFC_MENU,
                     FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  HDC DC = ACanvas->Handle();
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(Disabled ? clGrayText : Selected ? clHighlightText : clMenuText));
  TRect TextRect = Rect(ARect.left + Gutter + 4, ARect.top, ARect.right - 8, ARect.bottom);
  UINT Flags = DT_SINGLELINE | DT_VCENTER | (State.Contains(odNoAccel) ? DT_HIDEPREFIX : 0);
  DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &TextRect, Flags | DT_LEFT);
  if (FShortCut) {
    String Keys = ShortCutToText(FShortCut);
    DrawTextW(DC, Keys.c_str(), static_cast<int>(Keys.size()), &TextRect,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
}

// --- actions and clicks ----------------------------------------------------
TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

TClass TMenuItem::GetActionLinkClass() { return TMenuActionLink::StaticClass(); }

void TMenuItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    if (TBasicAction* Old = Action()) Old->RemoveFreeNotification(this);
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink.reset(As<TMenuActionLink>(GetActionLinkClass()->Create(this)));
  if (TBasicAction* Old = Action(); Old && Old != Value) Old->RemoveFreeNotification(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = MakeEvent<&TMenuItem::DoActionChange>(this);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TMenuItem::DoActionChange(TObject* Sender) {
  if (Sender && Sender == Action()) ActionChange(Sender, false);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* A = AsOrNull<TCustomAction>(Sender);
  if (!A) return;
  if (!CheckDefaults || !FAutoCheck) SetAutoCheck(A->AutoCheck());
  if (!CheckDefaults || FCaption.empty()) SetCaption(A->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(A->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(A->Enabled());
  if (!CheckDefaults || FHint.empty()) SetHint(A->Hint());
  if (FRadioItem && (!CheckDefaults || FGroupIndex == 0)) SetGroupIndex(A->GroupIndex());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(A->ImageIndex());
  if (!CheckDefaults || FShortCut == 0) SetShortCut(A->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(A->Visible());
  if (!CheckDefaults || !OnClick) OnClick = A->OnExecute();
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::InitiateActions() {
  for (TMenuItem* Item : std::vector<TMenuItem*>(FItems)) Item->InitiateAction();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  // An action that checks itself checks its items through the link.
  if (FAutoCheck && !(FActionLink && FActionLink->IsAutoCheckLinked())) SetChecked(!FChecked);
  TBasicAction* A = Action();
  if (OnClick && A && OnClick != A->OnExecute())
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute(this);
  else if (OnClick)
    OnClick(this);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AsOrNull<TBasicAction>(AComponent) &&
      (AComponent == Action() || !Action())) {
    // As a control does: the freed action's handler is not kept as OnClick.
    if (OnClick && OnClick == static_cast<TBasicAction*>(AComponent)->OnExecute())
      OnClick = nullptr;
    SetAction(nullptr);
  }
}

bool TMenuItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TMenuItem::IsCheckedStored() const { return !FActionLink || !FActionLink->IsCheckedLinked(); }
bool TMenuItem::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TMenuItem::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TMenuItem::IsImageIndexStored() const {
  return !FActionLink || !FActionLink->IsImageIndexLinked();
}
bool TMenuItem::IsShortCutStored() const {
  return !FActionLink || !FActionLink->IsShortCutLinked();
}
bool TMenuItem::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TMenuItem::IsOnClickStored() const {
  return !FActionLink || !FActionLink->IsOnExecuteLinked();
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

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TMenuActionLink)

void TMenuActionLink::AssignClient(TObject* AClient) { FClient = As<TMenuItem>(AClient); }

bool TMenuActionLink::IsAutoCheckLinked() {
  return inherited::IsAutoCheckLinked() && FClient->AutoCheck() == CustomAction()->AutoCheck();
}
bool TMenuActionLink::IsCaptionLinked() {
  return inherited::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && FClient->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() {
  return inherited::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsGroupIndexLinked() {
  return FClient->RadioItem() && inherited::IsGroupIndexLinked() &&
         FClient->GroupIndex() == CustomAction()->GroupIndex();
}
bool TMenuActionLink::IsHintLinked() {
  return inherited::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsImageIndexLinked() {
  return inherited::IsImageIndexLinked() && FClient->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() {
  return inherited::IsShortCutLinked() && FClient->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
  return inherited::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}
bool TMenuActionLink::IsOnExecuteLinked() {
  return inherited::IsOnExecuteLinked() && FAction && FClient->OnClick == FAction->OnExecute();
}
void TMenuActionLink::SetAutoCheck(bool Value) {
  if (IsAutoCheckLinked()) FClient->SetAutoCheck(Value);
}
void TMenuActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TMenuActionLink::SetGroupIndex(Integer Value) {
  if (IsGroupIndexLinked()) FClient->SetGroupIndex(Value);
}
void TMenuActionLink::SetHint(const String& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}
void TMenuActionLink::SetImageIndex(Integer Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}
void TMenuActionLink::SetOnExecute(TNotifyEvent Value) {
  if (IsOnExecuteLinked()) FClient->OnClick = Value;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TMenu)

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FImageChangeLink(Create<TChangeLink>()) {
  // Not owned as a component: the menu frees it after its owned components.
  FItems = Create<TMenuItem>(nullptr);
  FItems->FRootOf = this;
  FItems->FMenu = this;
  FImageChangeLink->OnChange = MakeEvent<&TMenu::ImageListChange>(this);
}

TMenu::~TMenu() {
  SetImages(nullptr);
  FreeAndNil(FItems);
}

HMENU TMenu::Handle() { return FItems->Handle(); }

TMenuItem* TMenu::FindItem(UINT Command) const { return FItems->FindCommand(Command); }

bool TMenu::DispatchCommand(UINT Command) {
  TMenuItem* Item = FindItem(Command);
  if (!Item) return false;
  Item->Click();
  return true;
}

bool TMenu::IsShortCut(TShortCut AShortCut) {
  if (AShortCut == 0) return false;
  TMenuItem* Item = FItems->FindShortCut(AShortCut);
  if (!Item) return false;
  Item->InitiateAction();
  if (!Item->Enabled() || !Item->Visible()) return false;
  Item->Click();
  return true;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (ReplaceImageList(FImages, Value, FImageChangeLink.get(), this)) RebuildAll(FItems);
}

void TMenu::SetOwnerDraw(bool Value) {
  if (Value == FOwnerDraw) return;
  FOwnerDraw = Value;
  RebuildAll(FItems);
}

void TMenu::ImageListChange(TObject*) { RebuildAll(FItems); }

void TMenu::RebuildAll(TMenuItem* Item) {
  if (!Item) return;
  Item->RebuildHandle();
  for (TMenuItem* Sub : Item->FItems) RebuildAll(Sub);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    RebuildAll(FItems);
  }
}

namespace {
// A canvas over a DC the platform lends for one drawing, in the menu font;
// it lets the DC go when the scope ends.
class TMenuCanvas {
 public:
  explicit TMenuCanvas(HDC DC) : FCanvas(MakeOwned<TCanvas>()) {
    FCanvas->SetHandle(DC);
    if (Screen()) FCanvas->Font()->Assign(Screen()->MenuFont());
  }
  ~TMenuCanvas() { FCanvas->SetHandle(nullptr); }
  TCanvas* operator->() const { return FCanvas.get(); }
  TCanvas* Get() const { return FCanvas.get(); }

 private:
  TOwned<TCanvas> FCanvas;
};
}  // namespace

bool TMenu::DispatchDrawItem(DRAWITEMSTRUCT& Item) {
  if (Item.CtlType != ODT_MENU) return false;
  TMenuItem* MenuItem = FindItem(Item.itemID);
  if (!MenuItem) return false;
  TSaveDCGuard Saved(Item.hDC);
  TMenuCanvas Canvas(Item.hDC);
  TOwnerDrawState State = OwnerDrawStateFromItemState(Item.itemState);
  if (MenuItem->IsOwnerDraw())
    MenuItem->DrawItem(Canvas.Get(), Item.rcItem, State);
  else
    MenuItem->DrawImage(Canvas.Get(), Item.rcItem,
                        !State.Contains(odDisabled) && !State.Contains(odGrayed));
  return true;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& Item) {
  if (Item.CtlType != ODT_MENU) return false;
  TMenuItem* MenuItem = FindItem(Item.itemID);
  if (!MenuItem) return false;
  Integer W = 0, H = 0;
  if (MenuItem->IsOwnerDraw()) {
    TScreenDC DC;
    TSaveDCGuard Saved(DC.Get());
    TMenuCanvas Canvas(DC.Get());
    MenuItem->MeasureItem(Canvas.Get(), W, H);
  } else {
    TSize S = MenuItem->ImageSize();
    W = S.cx;
    H = S.cy;
  }
  Item.itemWidth = static_cast<UINT>(std::max(W, 0));
  Item.itemHeight = static_cast<UINT>(std::max(H, 0));
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
  P.Property<&TPopupMenu::Images, &TPopupMenu::SetImages>(L"Images");
  P.Property<&TPopupMenu::OwnerDraw, &TPopupMenu::SetOwnerDraw>(L"OwnerDraw").Default(0);
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

HWND TPopupMenu::Window() {
  if (!FWindow) FWindow = AllocateHWnd(MakeEvent<&TPopupMenu::WndProc>(this));
  return FWindow;
}

void TPopupMenu::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DRAWITEM:
      if (FMenu->DispatchDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam))) {
        Message.Result = TRUE;
        return;
      }
      break;
    case WM_MEASUREITEM:
      if (FMenu->DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam))) {
        Message.Result = TRUE;
        return;
      }
      break;
    default:
      break;
  }
  Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  Items()->InitiateActions();
  DoPopup(this);
  static const UINT Align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  // The menu reports to the popup's own window, which draws its images and
  // owner-drawn items; the choice comes back as the command so that the
  // item is clicked here, outside the menu's own loop. A menu shown while
  // another program is in front needs this program in front first.
  HWND Owner = Window();
  DWORD ForegroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  if (ForegroundThread != GetCurrentThreadId()) {
    HWND Front = Owner;
    if (Screen() && Screen()->ActiveForm() && Screen()->ActiveForm()->HandleAllocated())
      Front = Screen()->ActiveForm()->Handle();
    SetForegroundWindow(Front);
  }
  HMENU Menu = FMenu->Handle();
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
