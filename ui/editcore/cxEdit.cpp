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

// The lists of in-place editors arrive with the editor control; until then no
// editor slot can refer to a properties object.
void ClearPropertiesDestroyingListeners(TcxCustomEditProperties*) {}

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
}
