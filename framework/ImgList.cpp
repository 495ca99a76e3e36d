#include "ImgList.h"

#include <algorithm>

namespace {

const wchar_t* const ColorDepthNames[] = {L"cdDeviceDependent", L"cd4Bit",  L"cd8Bit",
                                          L"cd16Bit",           L"cd24Bit", L"cd32Bit"};
const TEnumInfo ColorDepthInfo = MakeEnumInfo(L"TColorDepth", ColorDepthNames);
const wchar_t* const DrawingStyleNames[] = {L"dsFocus", L"dsSelected", L"dsNormal",
                                            L"dsTransparent"};
const TEnumInfo DrawingStyleInfo = MakeEnumInfo(L"TDrawingStyle", DrawingStyleNames);

// The platform cannot read a bitmap that is selected into a device context,
// so a bitmap's own canvas lets go of it first.
HBITMAP ReadableHandle(TBitmap* B) {
  if (!B) return nullptr;
  if (auto* C = AsOrNull<TBitmapCanvas>(B->Canvas())) C->FreeContext();
  return B->Handle();
}

}  // namespace

IMPLEMENT_CLASS(TChangeLink)

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

IMPLEMENT_PUBLISHED_CLASS(TCustomImageList) {
  P.Property<&TCustomImageList::Width, &TCustomImageList::SetWidth>(L"Width").Default(16);
  P.Property<&TCustomImageList::Height, &TCustomImageList::SetHeight>(L"Height").Default(16);
  P.Property<&TCustomImageList::ColorDepth, &TCustomImageList::SetColorDepth>(L"ColorDepth",
                                                                              ColorDepthInfo)
      .Default(cdDeviceDependent);
  P.Property<&TCustomImageList::Masked, &TCustomImageList::SetMasked>(L"Masked").Default(1);
  P.Property<&TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle>(L"DrawingStyle",
                                                                                  DrawingStyleInfo)
      .Default(dsNormal);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* L : FClients) L->SetSender(nullptr);
  FreeHandle();
}

void TCustomImageList::FreeHandle() {
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) {
    static const UINT Depth[] = {ILC_COLORDDB, ILC_COLOR4,  ILC_COLOR8,
                                 ILC_COLOR16,  ILC_COLOR24, ILC_COLOR32};
    FHandle =
        ImageList_Create(FWidth, FHeight, Depth[FColorDepth] | (FMasked ? ILC_MASK : 0), 4, 4);
    if (!FHandle) throw EInvalidOperation(L"Invalid ImageList");
  }
  return FHandle;
}

void TCustomImageList::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth <= 0 || AHeight <= 0) throw EInvalidOperation(L"Invalid image size");
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FreeHandle();
  Change();
}

void TCustomImageList::SetWidth(Integer V) { SetSize(V, FHeight); }
void TCustomImageList::SetHeight(Integer V) { SetSize(FWidth, V); }

void TCustomImageList::SetColorDepth(TColorDepth V) {
  if (V == FColorDepth) return;
  FColorDepth = V;
  FreeHandle();
  Change();
}

void TCustomImageList::SetMasked(bool V) {
  if (V == FMasked) return;
  FMasked = V;
  FreeHandle();
  Change();
}

Integer TCustomImageList::Count() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::CheckIndex(Integer Index) {
  if (Index < 0 || Index >= Count())
    throw EInvalidOperation(Format(L"Invalid ImageList Index (%d)", {Index}));
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image) return -1;
  Integer Result = ImageList_Add(Handle(), ReadableHandle(Image), ReadableHandle(Mask));
  if (Result < 0) throw EInvalidOperation(L"Failed to add image");
  Change();
  return Result;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image) return -1;
  Integer Result = ImageList_AddMasked(Handle(), ReadableHandle(Image), ColorToRGB(MaskColor));
  if (Result < 0) throw EInvalidOperation(L"Failed to add image");
  Change();
  return Result;
}

Integer TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || Image->Empty()) return -1;
  Integer Result = ImageList_AddIcon(Handle(), Image->Handle());
  if (Result < 0) throw EInvalidOperation(L"Failed to add image");
  Change();
  return Result;
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  if (!ImageList_Replace(FHandle, Index, ReadableHandle(Image), ReadableHandle(Mask)))
    throw EInvalidOperation(L"Failed to replace image");
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  CheckIndex(Index);
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  if (Index < 0 || Index >= Count()) return;
  static const UINT Styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  UINT Style = Styles[FDrawingStyle];
  if (FMasked && FDrawingStyle == dsNormal) Style = ILD_TRANSPARENT;
  if (Enabled) {
    ImageList_DrawEx(FHandle, Index, Canvas->Handle(), X, Y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, Style);
  } else {
    // A disabled image is drawn by the platform's blend with the window colour.
    IMAGELISTDRAWPARAMS P{};
    P.cbSize = sizeof(P);
    P.himl = FHandle;
    P.i = Index;
    P.hdcDst = Canvas->Handle();
    P.x = X;
    P.y = Y;
    P.rgbBk = CLR_NONE;
    P.rgbFg = CLR_DEFAULT;
    P.fStyle = Style;
    P.fState = ILS_SATURATE;
    ImageList_DrawIndirect(&P);
  }
}

void TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  CheckIndex(Index);
  Image->SetSize(FWidth, FHeight);
  Image->Canvas()->Brush()->SetColor(clWindow);
  Image->Canvas()->FillRect(Rect(0, 0, FWidth, FHeight));
  ImageList_Draw(FHandle, Index, Image->Canvas()->Handle(), 0, 0, ILD_NORMAL);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  Value->SetSender(this);
  FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
  Value->SetSender(nullptr);
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0) {
    FChanged = true;
    return;
  }
  FChanged = false;
  // A client may unregister while it is told.
  std::vector<TChangeLink*> Clients = FClients;
  for (TChangeLink* L : Clients)
    if (std::find(FClients.begin(), FClients.end(), L) != FClients.end()) L->Change();
  if (OnChange) OnChange(this);
}

IMPLEMENT_CREATABLE_CLASS(TImageList)

void ImgList_Initialize() { RegisterClasses({TImageList::StaticClass()}); }
