// The editor framework's module services: the registries of properties
// classes and objects, the shared routines and the module's start-up.
#include "cxEdit.h"

#include <algorithm>

#include "cxFilterConsts.h"
#include "dxCore.h"

namespace {

struct TEditModuleState {
  TcxRegisteredClasses* RegisteredEditProperties = nullptr;
  std::vector<TcxCustomEditProperties*>* CreatedEditProperties = nullptr;
  TcxEditStyleController* DefaultEditStyleController = nullptr;
  TBitmap* ErrorIcon = nullptr;
  TBitmap* WarningIcon = nullptr;
  TBitmap* InfoIcon = nullptr;
  std::vector<TcxInplaceEditList*>* InplaceEditLists = nullptr;
  Integer InitCount = 0;
  // Once shut-down has begun nothing is made again: a late caller gets
  // nothing rather than an object nobody frees.
  bool ShutDownBegun = false;
};

TEditModuleState& EditState() {
  static TEditModuleState State;
  return State;
}

const std::vector<TcxCustomEditProperties*> NoProperties;

TBitmap* LoadGlyph(const wchar_t* AName) {
  TOwned<TResourceStream> Data =
      MakeOwned<TResourceStream>(GetModuleHandleW(nullptr), AName, MAKEINTRESOURCEW(10));
  TOwned<TBitmap> Bitmap = MakeOwned<TBitmap>();
  Bitmap->LoadFromStream(Data.get());
  return Bitmap.release();
}

// A cursor made from a cursor file kept as raw data: the directory entry
// gives the hot spot and where the one image lies.
HCURSOR LoadCursorFromData(const wchar_t* AName) {
  HMODULE Module = GetModuleHandleW(nullptr);
  HRSRC Res = FindResourceW(Module, AName, MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL Data = Res ? LoadResource(Module, Res) : nullptr;
  const auto* Bytes = static_cast<const BYTE*>(Data ? LockResource(Data) : nullptr);
  const DWORD Size = Res ? SizeofResource(Module, Res) : 0;
  constexpr DWORD DirSize = 6, EntrySize = 16;
  if (!Bytes || Size < DirSize + EntrySize) return nullptr;
  auto Read16 = [&](DWORD At) { return static_cast<WORD>(Bytes[At] | (Bytes[At + 1] << 8)); };
  auto Read32 = [&](DWORD At) { return static_cast<DWORD>(Read16(At) | (Read16(At + 2) << 16)); };
  const DWORD ImageSize = Read32(DirSize + 8), ImageAt = Read32(DirSize + 12);
  if (Read16(2) != 2 || ImageAt > Size || ImageSize > Size - ImageAt) return nullptr;
  std::vector<BYTE> Image(4 + ImageSize);
  Image[0] = Bytes[DirSize + 4];
  Image[1] = Bytes[DirSize + 5];
  Image[2] = Bytes[DirSize + 6];
  Image[3] = Bytes[DirSize + 7];
  std::copy(Bytes + ImageAt, Bytes + ImageAt + ImageSize, Image.begin() + 4);
  return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(
      Image.data(), static_cast<DWORD>(Image.size()), FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

void EditRegisterAssistants() {
  TEditModuleState& S = EditState();
  if (TScreen* Scr = Screen())
    if (HCURSOR Cursor = LoadCursorFromData(L"CXEDIT_MOUSEWHEEL"))
      Scr->SetCursors(crcxEditMouseWheel, Cursor);
  S.DefaultEditStyleController = Create<TcxEditStyleController>(nullptr);
  cxSetContainerDefaultStyleController(S.DefaultEditStyleController);
  cxFilterGetResourceStringFunc = &cxGetResourceString;
  S.ErrorIcon = LoadGlyph(L"CXEDIT_GLYPH_ERROR");
  S.WarningIcon = LoadGlyph(L"CXEDIT_GLYPH_WARNING");
  S.InfoIcon = LoadGlyph(L"CXEDIT_GLYPH_INFO");
}

void EditUnregisterAssistants() {
  TEditModuleState& S = EditState();
  FreeAndNil(S.ErrorIcon);
  FreeAndNil(S.WarningIcon);
  FreeAndNil(S.InfoIcon);
  if (cxContainerDefaultStyleController() == S.DefaultEditStyleController)
    cxSetContainerDefaultStyleController(nullptr);
  FreeAndNil(S.DefaultEditStyleController);
}

}  // namespace

// ---------------------------------------------------------------------------
// Registries
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxEditStyleController) {}

TcxRegisteredClasses* GetRegisteredEditProperties() {
  TEditModuleState& S = EditState();
  if (!S.RegisteredEditProperties && !S.ShutDownBegun) {
    S.RegisteredEditProperties = Create<TcxRegisteredClasses>();
    S.RegisteredEditProperties->SetSorted(true);
  }
  return S.RegisteredEditProperties;
}

const std::vector<TcxCustomEditProperties*>& CreatedEditPropertiesList() {
  TEditModuleState& S = EditState();
  if (!S.CreatedEditProperties && !S.ShutDownBegun)
    S.CreatedEditProperties = new std::vector<TcxCustomEditProperties*>();
  return S.CreatedEditProperties ? *S.CreatedEditProperties : NoProperties;
}

namespace cxEditDetail {
void AddCreatedProperties(TcxCustomEditProperties* AProperties) {
  CreatedEditPropertiesList();
  if (auto* L = EditState().CreatedEditProperties) L->push_back(AProperties);
}
void RemoveCreatedProperties(TcxCustomEditProperties* AProperties) {
  if (auto* L = EditState().CreatedEditProperties) std::erase(*L, AProperties);
}
}  // namespace cxEditDetail

void ClearPropertiesDestroyingListeners(TcxCustomEditProperties* AProperties) {
  if (auto* L = EditState().InplaceEditLists)
    for (TcxInplaceEditList* AList : *L) AList->DisconnectProperties(AProperties);
}

Integer cxInplaceEditListCount() {
  auto* L = EditState().InplaceEditLists;
  return L ? static_cast<Integer>(L->size()) : 0;
}

TcxEditBeepLink& cxEditBeepLink() {
  static TcxEditBeepLink Link{[] { MessageBeep(0); }};
  return Link;
}

void cxEditMessageBeep() { cxEditBeepLink().Beep(); }

// ---------------------------------------------------------------------------
// In-place editor lists
IMPLEMENT_CLASS(TcxInplaceEditList)

TcxCustomEditClass cxGetContainerClass(TClass APropertiesClass) {
  // A class answers through a short-lived object of its own.
  TObject* AObject = APropertiesClass ? APropertiesClass->Create(nullptr) : nullptr;
  auto* AProperties = dynamic_cast<TcxCustomEditProperties*>(AObject);
  if (!AProperties) {
    if (AObject) AObject->Free();
    throw EcxEditError(L"Not an editor properties class");
  }
  auto AFree = Finally([AProperties] { AProperties->Free(); });
  return AProperties->GetContainerClass();
}

TcxInplaceEditList::TcxInplaceEditList(TComponent* AEditorOwner)
    : FEditorOwner(AEditorOwner), FFreeNotificator(MakeOwned<TcxFreeNotificator>(nullptr)) {
  FFreeNotificator->SetOnFreeNotification(MakeEvent<&TcxInplaceEditList::EditFreed>(this));
  if (FEditorOwner) FFreeNotificator->AddSender(FEditorOwner);
  TEditModuleState& S = EditState();
  if (!S.InplaceEditLists) S.InplaceEditLists = new std::vector<TcxInplaceEditList*>();
  S.InplaceEditLists->push_back(this);
}

TcxInplaceEditList::~TcxInplaceEditList() {
  TEditModuleState& S = EditState();
  if (S.InplaceEditLists) {
    std::erase(*S.InplaceEditLists, this);
    if (S.InplaceEditLists->empty()) {
      delete S.InplaceEditLists;
      S.InplaceEditLists = nullptr;
    }
  }
  while (!FItems.empty()) RemoveItemAt(0);
}

TcxCustomEdit* TcxInplaceEditList::CreateEdit(const TcxCustomEditClass& AEditClass) {
  TcxCustomEdit* AEdit = AEditClass.Create(FEditorOwner, true);
  AEdit->SetVisible(false);
  FFreeNotificator->AddSender(AEdit);
  return AEdit;
}

void TcxInplaceEditList::EditFreed(TComponent* AComponent) {
  // Without its owner the list makes editors it alone frees.
  if (AComponent == FEditorOwner) FEditorOwner = nullptr;
  std::erase_if(FItems, [AComponent](const TcxEditListItem& AItem) {
    return static_cast<TComponent*>(AItem.Edit) == AComponent;
  });
}

Integer TcxInplaceEditList::FindItem(TClass APropertiesClass) {
  return FindFreeItem(cxGetContainerClass(APropertiesClass).Class);
}

Integer TcxInplaceEditList::FindFreeItem(TClass AEditClass) {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (!FItems[I].Properties && FItems[I].Edit->ClassType() == AEditClass)
      return static_cast<Integer>(I);
  return -1;
}

Integer TcxInplaceEditList::FindItem(TcxCustomEditProperties* AProperties,
                                     bool ACanUseFreeEditors) {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I].Properties == AProperties) return static_cast<Integer>(I);
  if (!ACanUseFreeEditors) return -1;
  Integer AIndex = FindFreeItem(AProperties->GetContainerClass().Class);
  if (AIndex >= 0) FItems[AIndex].Properties = AProperties;
  return AIndex;
}

void TcxInplaceEditList::InitEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties) {
  AEdit->LockChangeEvents(true);
  AEdit->SetInplaceInitializing(true);
  auto AUnlock = Finally([AEdit] {
    AEdit->SetInplaceInitializing(false);
    AEdit->LockChangeEvents(false, false);
  });
  AEdit->SetProperties(AProperties);
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(TcxCustomEditProperties* AProperties) {
  Integer AIndex = FindItem(AProperties, true);
  if (AIndex < 0) {
    TcxCustomEdit* AEdit = CreateEdit(AProperties->GetContainerClass());
    FItems.push_back(TcxEditListItem{AEdit, AProperties});
    AIndex = Count() - 1;
  }
  TcxCustomEdit* AEdit = FItems[AIndex].Edit;
  InitEdit(AEdit, AProperties);
  return AEdit;
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(TClass APropertiesClass) {
  if (Integer AIndex = FindItem(APropertiesClass); AIndex >= 0) return FItems[AIndex].Edit;
  TcxCustomEdit* AEdit = CreateEdit(cxGetContainerClass(APropertiesClass));
  FItems.push_back(TcxEditListItem{AEdit, nullptr});
  return AEdit;
}

TcxCustomEdit* TcxInplaceEditList::FindEdit(TcxCustomEditProperties* AProperties) {
  Integer AIndex = FindItem(AProperties, false);
  return AIndex >= 0 ? FItems[AIndex].Edit : nullptr;
}

TcxCustomEdit* TcxInplaceEditList::FindEdit(TClass APropertiesClass) {
  Integer AIndex = FindItem(APropertiesClass);
  return AIndex >= 0 ? FItems[AIndex].Edit : nullptr;
}

void TcxInplaceEditList::RemoveItemAt(Integer AIndex) {
  if (AIndex < 0) return;
  TcxCustomEdit* AEdit = FItems[AIndex].Edit;
  FItems.erase(FItems.begin() + AIndex);
  FFreeNotificator->RemoveSender(AEdit);
  AEdit->SetParent(nullptr);
  AEdit->Free();
}

void TcxInplaceEditList::RemoveItem(TcxCustomEditProperties* AProperties) {
  RemoveItemAt(FindItem(AProperties, false));
}

void TcxInplaceEditList::RemoveItem(TClass APropertiesClass) {
  for (Integer AIndex = FindItem(APropertiesClass); AIndex >= 0;
       AIndex = FindItem(APropertiesClass))
    RemoveItemAt(AIndex);
}

void TcxInplaceEditList::DisconnectProperties(TcxCustomEditProperties* AProperties) {
  for (TcxEditListItem& AItem : FItems)
    if (AItem.Properties == AProperties) AItem.Properties = nullptr;
}

TcxEditStyleController* DefaultEditStyleController() {
  return EditState().DefaultEditStyleController;
}

TBitmap* cxEditErrorIcon() { return EditState().ErrorIcon; }
TBitmap* cxEditWarningIcon() { return EditState().WarningIcon; }
TBitmap* cxEditInfoIcon() { return EditState().InfoIcon; }

TComponent* GetOwnerComponent(TPersistent* APersistent) {
  while (APersistent) {
    if (auto* C = dynamic_cast<TComponent*>(APersistent)) return C;
    APersistent = GetPersistentOwner(APersistent);
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Routines

bool cxEditVarEquals(const Variant& V1, const Variant& V2) {
  const bool TypesMatch = (VarIsNumericEx(V1) && VarIsNumericEx(V2)) ||
                          VarType(V1) == VarType(V2) || (VarIsStr(V1) && VarIsStr(V2));
  return TypesMatch && VarEqualsExact(V1, V2);
}

bool InternalVarEqualsExact(const Variant& V1, const Variant& V2) {
  return VarType(V1) == VarType(V2) && VarEqualsExact(V1, V2);
}

bool IsSpaceChar(wchar_t C) { return C == 0 || C == 9 || C == 10 || C == 12 || C == 13 || C == 32; }

TShiftState ButtonToShift(TMouseButton Button) {
  switch (Button) {
    case mbLeft:
      return {ssLeft};
    case mbRight:
      return {ssRight};
    case mbMiddle:
      return {ssMiddle};
  }
  return {};
}

TShiftState cxButtonToShift(TcxMouseButton Button) {
  switch (Button) {
    case cxmbLeft:
      return {ssLeft};
    case cxmbRight:
      return {ssRight};
    case cxmbMiddle:
      return {ssMiddle};
    case cxmbNone:
      break;
  }
  return {};
}

void SendMouseEvent(TWinControl* AReceiver, UINT AMessage, TShiftState AShift,
                    const TPoint& APoint) {
  const LPARAM Pos = MAKELPARAM(static_cast<WORD>(APoint.x), static_cast<WORD>(APoint.y));
  SendMessageW(AReceiver->Handle(), AMessage, static_cast<WPARAM>(ShiftStateToKeys(AShift)), Pos);
}

void SendKeyEvent(TWinControl* AReceiver, UINT AMessage, Word AKey, TShiftState) {
  SendMessageW(AReceiver->Handle(), AMessage, AKey, 0);
}

void SendKeyDown(TWinControl* AReceiver, Word Key, TShiftState Shift) {
  SendKeyEvent(AReceiver, WM_KEYDOWN, Key, Shift);
}

void SendKeyPress(TWinControl* AReceiver, wchar_t Key) {
  SendKeyEvent(AReceiver, WM_CHAR, static_cast<Word>(Key), {});
}

void DrawComplexFrameEx(TcxCanvas* ACanvas, TRect& ARect, TColor ALeftTopColor,
                        TColor ARightBottomColor) {
  ACanvas->DrawComplexFrame(ARect, ALeftTopColor, ARightBottomColor);
  InflateRect(&ARect, -1, -1);
}

void FrameRectEx(TcxCanvas* ACanvas, TRect& ARect, TColor AColor) {
  ACanvas->FrameRect(ARect, AColor);
  InflateRect(&ARect, -1, -1);
}

void UniteRegions(HRGN ADestRgn, HRGN ASrcRgn) { CombineRgn(ADestRgn, ADestRgn, ASrcRgn, RGN_OR); }

// ---------------------------------------------------------------------------
// Start-up and shut-down

void cxEdit_Initialize() {
  TEditModuleState& S = EditState();
  if (S.InitCount++ > 0) return;
  S.ShutDownBegun = false;
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->AddUnit(&EditRegisterAssistants, &EditUnregisterAssistants);
  else
    EditRegisterAssistants();
}

void cxEdit_Finalize() {
  TEditModuleState& S = EditState();
  if (S.InitCount == 0 || --S.InitCount > 0) return;
  S.ShutDownBegun = true;
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->RemoveUnit(&EditUnregisterAssistants);
  else
    EditUnregisterAssistants();
  FreeAndNil(S.RegisteredEditProperties);
  delete S.CreatedEditProperties;
  S.CreatedEditProperties = nullptr;
  cxEditDetail::FreeDefaultEditRepository();
  cxEditFreeHintWindow();
}
