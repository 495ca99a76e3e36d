// Menus: items with captions, shortcuts and states, built into platform
// menus on demand; the popup menu shown through TrackPopupMenu.
#pragma once

#include <vector>

#include "Controls.h"

using TShortCut = Word;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Shift+Ctrl+Alt+Key" in that order; empty for no shortcut.
String ShortCutToText(TShortCut ShortCut);
// Case-insensitive; 0 when the text names no key.
TShortCut TextToShortCut(const String& Text);
// The text without its accelerator marks: each "&" is removed and the
// character after it kept, so "&&" leaves one "&".
String StripHotkey(const String& Text);

class TMenu;

class TMenuItem : public TComponent {
  DECLARE_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& V) { FCaption = V; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut V) { FShortCut = V; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool V) { FEnabled = V; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool V) { FChecked = V; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool V) { FVisible = V; }
  bool Default() const { return FDefault; }
  void SetDefault(bool V) { FDefault = V; }
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool V) { FRadioItem = V; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& V) { FHint = V; }
  bool IsLine() const { return FCaption == L"-"; }

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TMenuItem* Items(Integer Index) const;
  TMenuItem* Parent() const { return FParent; }
  Integer MenuIndex() const;
  void Add(TMenuItem* Item);
  void Insert(Integer Index, TMenuItem* Item);
  // Frees the item.
  void Delete(Integer Index);
  // Unlinks the item without freeing it.
  void Remove(TMenuItem* Item);
  void Clear();
  Integer IndexOf(TMenuItem* Item) const;
  TMenuItem* Find(const String& ACaption) const;
  // The platform command number the item has in a built menu.
  UINT Command() const { return FCommand; }

  virtual void Click();
  TNotifyEvent OnClick;
  TNotifyEvent GetOnClick() const { return OnClick; }
  void SetOnClick(TNotifyEvent V) { OnClick = V; }

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TMenu;
  friend class TPopupMenu;
  // Appends the visible items to Menu; sub-items get their own popup menus.
  void AppendTo(HMENU Menu);
  TMenuItem* FindCommand(UINT ACommand);
  String FCaption;
  TShortCut FShortCut = 0;
  bool FEnabled = true;
  bool FChecked = false;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  String FHint;
  UINT FCommand;
  TMenuItem* FParent = nullptr;
  // For the root item: the menu component it belongs to.
  TComponent* FRootOf = nullptr;
  std::vector<TMenuItem*> FItems;
};

class TMenu : public TComponent {
  DECLARE_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* Items() const { return FItems; }
  // The platform menu of the current items, rebuilt on every call.
  HMENU Handle();
  TMenuItem* FindItem(UINT Command) const;
  // Clicks the item with the command; false when no item has it.
  bool DispatchCommand(UINT Command);
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  virtual HMENU CreateMenuHandle() { return CreateMenu(); }

 private:
  void DestroyMenuHandle();
  TMenuItem* FItems;
  HMENU FHandle = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TPopupMenuBase {
  DECLARE_CLASS(TPopupMenu, TPopupMenuBase)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  TMenuItem* Items() const { return FMenu->Items(); }
  HMENU Handle() { return FMenu->Handle(); }
  TMenuItem* FindItem(UINT Command) const { return FMenu->FindItem(Command); }
  // Shows the menu at the screen point and clicks the chosen item.
  void Popup(Integer X, Integer Y) override;
  bool AutoPopup() const override { return FAutoPopup; }
  void SetAutoPopup(bool V) { FAutoPopup = V; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment V) { FAlignment = V; }
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TNotifyEvent OnPopup;
  TNotifyEvent GetOnPopup() const { return OnPopup; }
  void SetOnPopup(TNotifyEvent V) { OnPopup = V; }

 protected:
  virtual void DoPopup(TObject* Sender);

 private:
  // The menu object behind the popup; owned.
  class TPopupMenuHolder;
  TMenu* FMenu;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  HWND FWindow = nullptr;
};

void Menus_Initialize();
