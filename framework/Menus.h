// Menus: items with captions, shortcuts, states, images and actions, built
// once into platform menus that follow every later change; owner-drawn items
// and item images are drawn through the menu's owner window. The popup menu
// is shown through TrackPopupMenu.
#pragma once

#include <vector>

#include "Controls.h"
#include "ImgList.h"
#include "WinHandles.h"

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
class TMenuActionLink;

using TMenuDrawItemEvent =
    TMethodPtr<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    TMethodPtr<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent =
    TMethodPtr<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;

class TMenuItem : public TComponent {
  DECLARE_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& V);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut V);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool V);
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of its group among its
  // siblings.
  void SetChecked(bool V);
  bool Visible() const { return FVisible; }
  void SetVisible(bool V);
  bool Default() const { return FDefault; }
  void SetDefault(bool V);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool V);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer V);
  // A click toggles Checked.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool V);
  const String& Hint() const { return FHint; }
  void SetHint(const String& V) { FHint = V; }
  bool IsLine() const { return FCaption == L"-"; }
  // The image of the menu's image list shown beside the caption (-1: none).
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer V);
  // A bitmap of the item's own, shown instead of the image list's image;
  // created on first use.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* V);
  bool HasBitmap() const;

  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TMenuActionLink* ActionLink() const { return FActionLink.get(); }
  // Updates the linked action; InitiateActions does so for the sub-items.
  virtual void InitiateAction();
  void InitiateActions();

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
  // The platform menu of the sub-items: built on first use, then kept in
  // step with every change of them.
  HMENU Handle();
  // The menu the item belongs to (through its root item), or nullptr.
  TMenu* GetParentMenu() const;

  // Executes the linked action, or OnClick; nothing for a disabled item.
  virtual void Click();
  TNotifyEvent OnClick;
  TNotifyEvent GetOnClick() const { return OnClick; }
  void SetOnClick(TNotifyEvent V) { OnClick = V; }
  // Owner drawing: either event makes the item owner-drawn.
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent GetOnDrawItem() const { return OnDrawItem; }
  void SetOnDrawItem(TMenuDrawItemEvent V);
  TAdvancedMenuDrawItemEvent GetOnAdvancedDrawItem() const { return OnAdvancedDrawItem; }
  void SetOnAdvancedDrawItem(TAdvancedMenuDrawItemEvent V);
  TMenuMeasureItemEvent GetOnMeasureItem() const { return OnMeasureItem; }
  void SetOnMeasureItem(TMenuMeasureItemEvent V);

  // Drawn entirely by the program: the menu is OwnerDraw or the item has a
  // drawing event.
  bool IsOwnerDraw() const;
  // Has an image to show (its bitmap, or a valid index into the images).
  bool HasImage() const;
  // The owner-drawn item: OnAdvancedDrawItem, OnDrawItem, or the default
  // look (image, check, caption and shortcut in the menu's colours).
  virtual void DrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);
  // Its size: the default one, which OnMeasureItem may change.
  virtual void MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height);
  // The image alone (a platform-drawn item with an image), left-aligned in
  // ARect and centred vertically.
  void DrawImage(TCanvas* ACanvas, const TRect& ARect, bool AEnabled);
  TSize ImageSize() const;

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual TClass GetActionLinkClass();
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // Brings the platform menu up to date: the item's own entry, or (Rebuild)
  // the whole level it is in.
  virtual void MenuChanged(bool Rebuild);

 private:
  friend class TMenu;
  friend class TPopupMenu;
  void FillItemInfo(MENUITEMINFOW& Info, String& Text);
  void UpdateItem();
  // Puts the visible sub-items into the built handle again.
  void RebuildHandle();
  // Detaches the sub-menus (their items own them) and destroys the handle.
  void DestroyHandle();
  void AppendItems();
  void TurnSiblingsOff();
  void DoActionChange(TObject* Sender);
  void BitmapChanged(TObject* Sender);
  TMenuItem* FindCommand(UINT ACommand);
  TMenuItem* FindShortCut(TShortCut AShortCut);
  String FCaption;
  TShortCut FShortCut = 0;
  bool FEnabled = true;
  bool FChecked = false;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  Integer FGroupIndex = 0;
  Integer FImageIndex = -1;
  String FHint;
  UINT FCommand;
  TMenuItem* FParent = nullptr;
  // For the root item: the menu component it belongs to (for streaming) and
  // the menu object that builds its handle.
  TComponent* FRootOf = nullptr;
  TMenu* FMenu = nullptr;
  std::vector<TMenuItem*> FItems;
  TMenuHandle FHandle;
  TOwned<TBitmap> FBitmap;
  TOwned<TMenuActionLink> FActionLink;
};

// The link of a menu item: everything a TCustomAction has.
class TMenuActionLink : public TActionLink {
  DECLARE_CLASS(TMenuActionLink, TActionLink)
 public:
  using TActionLink::TActionLink;
  bool IsAutoCheckLinked() override;
  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsGroupIndexLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetAutoCheck(bool Value) override;
  void SetCaption(const String& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetGroupIndex(Integer Value) override;
  void SetHint(const String& Value) override;
  void SetImageIndex(Integer Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(TNotifyEvent Value) override;

 protected:
  void AssignClient(TObject* AClient) override;
  TMenuItem* FClient = nullptr;
};

class TMenu : public TComponent {
  DECLARE_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* Items() const { return FItems; }
  // The platform menu: built on first use, then kept up to date.
  HMENU Handle();
  TMenuItem* FindItem(UINT Command) const;
  // Clicks the item with the command; false when no item has it.
  bool DispatchCommand(UINT Command);
  // Clicks the enabled, visible item with the shortcut (its action updated
  // first); false when there is none.
  bool IsShortCut(TShortCut AShortCut);
  // The owner-draw messages of the menu's items (ODT_MENU), as its owner
  // window receives them; false when the item is not one of this menu's.
  bool DispatchDrawItem(DRAWITEMSTRUCT& Item);
  bool DispatchMeasureItem(MEASUREITEMSTRUCT& Item);
  // The images the items' ImageIndex refer to.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Every item owner-drawn.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  virtual HMENU CreateMenuHandle() { return CreateMenu(); }
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TMenuItem;
  void ImageListChange(TObject* Sender);
  // Every item's entry again (images or owner drawing changed for all).
  void RebuildAll(TMenuItem* Item);
  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
  TOwned<TChangeLink> FImageChangeLink;
  bool FOwnerDraw = false;
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
  // Updates the items' actions, shows the menu at the screen point and
  // clicks the chosen item.
  void Popup(Integer X, Integer Y) override;
  bool AutoPopup() const override { return FAutoPopup; }
  void SetAutoPopup(bool V) { FAutoPopup = V; }
  bool IsShortCut(TShortCut AShortCut) override { return FMenu->IsShortCut(AShortCut); }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment V) { FAlignment = V; }
  TCustomImageList* Images() const { return FMenu->Images(); }
  void SetImages(TCustomImageList* V) { FMenu->SetImages(V); }
  bool OwnerDraw() const { return FMenu->OwnerDraw(); }
  void SetOwnerDraw(bool V) { FMenu->SetOwnerDraw(V); }
  // The window the shown menu reports to (its owner-draw messages).
  HWND Window();
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TNotifyEvent OnPopup;
  TNotifyEvent GetOnPopup() const { return OnPopup; }
  void SetOnPopup(TNotifyEvent V) { OnPopup = V; }

 protected:
  virtual void DoPopup(TObject* Sender);

 private:
  // The menu object behind the popup; owned.
  class TPopupMenuHolder;
  void WndProc(TMessage& Message);
  TMenu* FMenu;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  HWND FWindow = nullptr;
};

void Menus_Initialize();
