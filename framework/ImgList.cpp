#include "ImgList.h"

#include <algorithm>
#include <vector>

#include "WinHandles.h"

namespace {

const wchar_t* const ColorDepthNames[] = {L"cdDeviceDependent", L"cd4Bit",  L"cd8Bit",
                                          L"cd16Bit",           L"cd24Bit", L"cd32Bit"};
const TEnumInfo ColorDepthInfo = MakeEnumInfo(L"TColorDepth", ColorDepthNames);
const wchar_t* const DrawingStyleNames[] = {L"dsFocus", L"dsSelected", L"dsNormal",
                                            L"dsTransparent"};
const TEnumInfo DrawingStyleInfo = MakeEnumInfo(L"TDrawingStyle", DrawingStyleNames);
const wchar_t* const ImageTypeNames[] = {L"itImage", L"itMask"};
const TEnumInfo ImageTypeInfo = MakeEnumInfo(L"TImageType", ImageTypeNames);

// The platform cannot read a bitmap that is selected into a device context,
// so a bitmap's own canvas lets go of it first.
HBITMAP ReadableHandle(TBitmap* B) {
  if (!B) return nullptr;
  if (auto* C = AsOrNull<TBitmapCanvas>(B->Canvas())) C->FreeContext();
  return B->Handle();
}

// An IStream over a framework stream for the length of one platform call.
class TStreamAdapterRef {
 public:
  explicit TStreamAdapterRef(TStream* AStream) : FAdapter(Create<TStreamAdapter>(AStream)) {}
  ~TStreamAdapterRef() { FAdapter->Release(); }
  TStreamAdapterRef(const TStreamAdapterRef&) = delete;
  TStreamAdapterRef& operator=(const TStreamAdapterRef&) = delete;
  IStream* Stream() const { return FAdapter; }

 private:
  TStreamAdapter* FAdapter;
};

// One cell of a platform list read out: its image as 32-bit pixels and its
// mask, in bitmaps of the cell's size that the platform can take back. The
// list's own bitmaps are only read.
struct TCellCopy {
  TBitmapHandle Image, Mask;
};

std::vector<RGBQUAD> CellPixels(HBITMAP ASource, const RECT& ACell) {
  BITMAP Data{};
  if (!ASource || GetObjectW(ASource, sizeof(Data), &Data) != sizeof(Data)) return {};
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = Data.bmWidth;
  Info.bmiHeader.biHeight = -Data.bmHeight;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  std::vector<RGBQUAD> All(static_cast<size_t>(Data.bmWidth) * Data.bmHeight);
  TScreenDC Screen;
  if (!GetDIBits(Screen.Get(), ASource, 0, static_cast<UINT>(Data.bmHeight), All.data(), &Info,
                 DIB_RGB_COLORS))
    return {};
  std::vector<RGBQUAD> Cell;
  for (LONG Y = ACell.top; Y < ACell.bottom; ++Y)
    Cell.insert(Cell.end(), All.begin() + Y * Data.bmWidth + ACell.left,
                All.begin() + Y * Data.bmWidth + ACell.right);
  return Cell;
}

TCellCopy CopyCell(HIMAGELIST AList, Integer AIndex) {
  TCellCopy Result;
  IMAGEINFO Info{};
  if (!ImageList_GetImageInfo(AList, AIndex, &Info)) return Result;
  LONG W = Info.rcImage.right - Info.rcImage.left, H = Info.rcImage.bottom - Info.rcImage.top;
  std::vector<RGBQUAD> Pixels = CellPixels(Info.hbmImage, Info.rcImage);
  if (Pixels.size() != static_cast<size_t>(W) * H) return Result;
  std::vector<RGBQUAD> Mask = CellPixels(Info.hbmMask, Info.rcImage);
  auto Hidden = [&](size_t I) {
    return !Mask.empty() && (Mask[I].rgbRed | Mask[I].rgbGreen | Mask[I].rgbBlue) != 0;
  };
  // A cell drawn through its mask gets the mask as alpha: the place it
  // goes to may be one the platform draws by alpha.
  bool HasAlpha = std::any_of(Pixels.begin(), Pixels.end(),
                              [](const RGBQUAD& P) { return P.rgbReserved != 0; });
  if (!HasAlpha && !Mask.empty())
    for (size_t I = 0; I < Pixels.size(); ++I)
      Pixels[I] = Hidden(I) ? RGBQUAD{0, 0, 0, 0}
                            : RGBQUAD{Pixels[I].rgbBlue, Pixels[I].rgbGreen, Pixels[I].rgbRed, 255};
  BITMAPINFO Format{};
  Format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Format.bmiHeader.biWidth = W;
  Format.bmiHeader.biHeight = -H;
  Format.bmiHeader.biPlanes = 1;
  Format.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  Result.Image.Reset(CreateDIBSection(nullptr, &Format, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Result.Image) return Result;
  std::copy(Pixels.begin(), Pixels.end(), static_cast<RGBQUAD*>(Bits));
  if (Mask.empty()) return Result;
  // The mask's white pixels are its set bits, rows padded to 16 bits.
  size_t Stride = static_cast<size_t>((W + 15) / 16 * 2);
  std::vector<Byte> Mono(Stride * H, 0);
  for (LONG Y = 0; Y < H; ++Y)
    for (LONG X = 0; X < W; ++X)
      if (Hidden(static_cast<size_t>(Y) * W + X))
        Mono[Y * Stride + X / 8] |= static_cast<Byte>(0x80 >> (X % 8));
  Result.Mask.Reset(CreateBitmap(W, H, 1, 1, Mono.data()));
  return Result;
}

}  // namespace

UINT GetImageListStyle(TDrawingStyle ADrawingStyle, TImageType AImageType) {
  static const UINT DrawingStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  static const UINT ImageTypes[] = {0, ILD_MASK};
  return DrawingStyles[ADrawingStyle] | ImageTypes[AImageType];
}

COLORREF GetImageListColor(TColor AColor) {
  if (AColor == clNone) return CLR_NONE;
  if (AColor == clDefault) return CLR_DEFAULT;
  return ColorToRGB(AColor);
}

IMPLEMENT_CLASS(TChangeLink)

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

IMPLEMENT_PUBLISHED_CLASS(TCustomImageList) {
  P.Property<&TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor>(L"BlendColor")
      .Default(clNone)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&TCustomImageList::BkColor, &TCustomImageList::SetBkColor>(L"BkColor")
      .Default(clNone)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&TCustomImageList::Width, &TCustomImageList::SetWidth>(L"Width").Default(16);
  P.Property<&TCustomImageList::Height, &TCustomImageList::SetHeight>(L"Height").Default(16);
  P.Property<&TCustomImageList::ColorDepth, &TCustomImageList::SetColorDepth>(L"ColorDepth",
                                                                              ColorDepthInfo)
      .Default(cdDeviceDependent);
  P.Property<&TCustomImageList::Masked, &TCustomImageList::SetMasked>(L"Masked").Default(1);
  P.Property<&TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle>(L"DrawingStyle",
                                                                                  DrawingStyleInfo)
      .Default(dsNormal);
  P.Property<&TCustomImageList::ImageType, &TCustomImageList::SetImageType>(L"ImageType",
                                                                            ImageTypeInfo)
      .Default(itImage);
  P.Property<&TCustomImageList::ShareImages, &TCustomImageList::SetShareImages>(L"ShareImages")
      .Default(0);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* L : FClients) L->SetSender(nullptr);
  FreeHandle();
}

void TCustomImageList::AfterConstruction() {
  inherited::AfterConstruction();
  Initialize();
}

void TCustomImageList::Initialize() {
  if (FWidth < 1 || FHeight < 1) throw EInvalidOperation(L"Invalid image size");
}

void TCustomImageList::FreeHandle() {
  if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) {
    static const UINT Depth[] = {ILC_COLORDDB, ILC_COLOR4,  ILC_COLOR8,
                                 ILC_COLOR16,  ILC_COLOR24, ILC_COLOR32};
    FHandle = ImageList_Create(FWidth, FHeight, Depth[FColorDepth] | (FMasked ? ILC_MASK : 0),
                               FAllocBy, FAllocBy);
    if (!FHandle) throw EInvalidOperation(L"Invalid ImageList");
    ImageList_SetBkColor(FHandle, GetImageListColor(FBkColor));
  }
  return FHandle;
}

void TCustomImageList::InstallHandle(HIMAGELIST Value) {
  FreeHandle();
  FHandle = Value;
  if (!FHandle) return;
  int W = 0, H = 0;
  if (ImageList_GetIconSize(FHandle, &W, &H)) {
    FWidth = W;
    FHeight = H;
  }
  COLORREF Bk = ImageList_GetBkColor(FHandle);
  FBkColor = Bk == CLR_NONE ? clNone : static_cast<TColor>(Bk);
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  InstallHandle(Value);
  Change();
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

void TCustomImageList::SetBkColor(TColor V) {
  if (V == FBkColor) return;
  FBkColor = V;
  if (FHandle) ImageList_SetBkColor(FHandle, GetImageListColor(V));
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

void TCustomImageList::Insert(Integer Index, TBitmap* Image, TBitmap* Mask) {
  if (Index != Count()) CheckIndex(Index);
  auto Updating = UpdateScope(this);
  Integer Old = Count();
  Add(Image, Mask);
  for (Integer I = 0; I < Count() - Old; ++I) Move(Old + I, Index + I);
}

void TCustomImageList::InsertMasked(Integer Index, TBitmap* Image, TColor MaskColor) {
  if (Index != Count()) CheckIndex(Index);
  auto Updating = UpdateScope(this);
  Integer Old = Count();
  AddMasked(Image, MaskColor);
  for (Integer I = 0; I < Count() - Old; ++I) Move(Old + I, Index + I);
}

void TCustomImageList::InsertIcon(Integer Index, TIcon* Image) {
  if (Index != Count()) CheckIndex(Index);
  auto Updating = UpdateScope(this);
  Integer Added = AddIcon(Image);
  if (Added >= 0) Move(Added, Index);
}

void TCustomImageList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  // Every cell from one index to the other is read out and put back in its
  // new place, so that the platform judges each cell's alpha again. Its own
  // copies leave that judgement with the place (a masked cell copied where
  // a cell with alpha was is drawn clear), and Wine's swapping copy blanks
  // the cell it swaps from in 32-bit lists.
  Integer Low = std::min(CurIndex, NewIndex), High = std::max(CurIndex, NewIndex);
  std::vector<TCellCopy> Cells;
  for (Integer I = Low; I <= High; ++I) Cells.push_back(CopyCell(FHandle, I));
  if (CurIndex < NewIndex)
    std::rotate(Cells.begin(), Cells.begin() + 1, Cells.end());
  else
    std::rotate(Cells.rbegin(), Cells.rbegin() + 1, Cells.rend());
  for (Integer I = Low; I <= High; ++I) {
    const TCellCopy& C = Cells[static_cast<size_t>(I - Low)];
    if (!C.Image || !ImageList_Replace(FHandle, I, C.Image.Get(), C.Mask.Get()))
      throw EInvalidOperation(L"Failed to move image");
  }
  Change();
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  if (!ImageList_Replace(FHandle, Index, ReadableHandle(Image), ReadableHandle(Mask)))
    throw EInvalidOperation(L"Failed to replace image");
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  if (Index == -1) {
    Clear();
    return;
  }
  CheckIndex(Index);
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index,
                            TDrawingStyle ADrawingStyle, TImageType AImageType, bool Enabled) {
  if (Index < 0 || Index >= Count()) return;
  DoDraw(Index, Canvas, X, Y, GetImageListStyle(ADrawingStyle, AImageType), Enabled);
}

void TCustomImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style,
                              bool Enabled) {
  if (!FHandle) return;
  if (Enabled) {
    ImageList_DrawEx(FHandle, Index, Canvas->Handle(), X, Y, 0, 0, GetImageListColor(FBkColor),
                     GetImageListColor(FBlendColor), Style);
    return;
  }
  // A disabled image is drawn by the platform's blend with the window colour.
  IMAGELISTDRAWPARAMS P{};
  P.cbSize = sizeof(P);
  P.himl = FHandle;
  P.i = Index;
  P.hdcDst = Canvas->Handle();
  P.x = X;
  P.y = Y;
  P.rgbBk = GetImageListColor(FBkColor);
  P.rgbFg = CLR_DEFAULT;
  P.fStyle = Style;
  P.fState = ILS_SATURATE;
  ImageList_DrawIndirect(&P);
}

bool TCustomImageList::Overlay(Integer ImageIndex, TOverlay Overlay) {
  return FHandle && ImageList_SetOverlayImage(FHandle, ImageIndex, Overlay + 1);
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex,
                                   TOverlay Overlay, bool Enabled) {
  DrawOverlay(Canvas, X, Y, ImageIndex, Overlay, dsNormal, FImageType, Enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex,
                                   TOverlay Overlay, TDrawingStyle ADrawingStyle,
                                   TImageType AImageType, bool Enabled) {
  if (!FHandle) return;
  DoDraw(ImageIndex, Canvas, X, Y,
         GetImageListStyle(ADrawingStyle, AImageType) | (INDEXTOOVERLAYMASK(Overlay + 1) & 0xF00),
         Enabled);
}

void TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  CheckIndex(Index);
  Image->SetSize(FWidth, FHeight);
  Image->Canvas()->Brush()->SetColor(clWindow);
  Image->Canvas()->FillRect(Rect(0, 0, FWidth, FHeight));
  ImageList_Draw(FHandle, Index, Image->Canvas()->Handle(), 0, 0, ILD_NORMAL);
}

bool TCustomImageList::InternalGetInstRes(HINSTANCE Instance, TResType ResType, const wchar_t* Name,
                                          Integer Width, TLoadResources LoadFlags,
                                          TColor MaskColor) {
  static const UINT ResTypes[] = {IMAGE_BITMAP, IMAGE_CURSOR, IMAGE_ICON};
  static const UINT LoadMap[] = {LR_DEFAULTCOLOR,    LR_DEFAULTSIZE,     LR_LOADFROMFILE,
                                 LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT, LR_MONOCHROME};
  UINT Flags = 0;
  for (Integer I = lrDefaultColor; I <= lrMonoChrome; ++I)
    if (LoadFlags.Contains(static_cast<TLoadResource>(I))) Flags |= LoadMap[I];
  HIMAGELIST Loaded = ImageList_LoadImageW(Instance, Name, Width, FAllocBy,
                                           GetImageListColor(MaskColor), ResTypes[ResType], Flags);
  if (!Loaded) return false;
  SetHandle(Loaded);
  return true;
}

bool TCustomImageList::FileLoad(TResType ResType, const String& Name, TColor MaskColor) {
  return InternalGetInstRes(nullptr, ResType, Name.c_str(), FWidth, TLoadResources{lrFromFile},
                            MaskColor);
}

bool TCustomImageList::GetResource(TResType ResType, const String& Name, Integer Width,
                                   TLoadResources LoadFlags, TColor MaskColor) {
  return GetInstRes(GetModuleHandleW(nullptr), ResType, Name, Width, LoadFlags, MaskColor);
}

bool TCustomImageList::GetInstRes(HINSTANCE Instance, TResType ResType, const String& Name,
                                  Integer Width, TLoadResources LoadFlags, TColor MaskColor) {
  return InternalGetInstRes(Instance, ResType, Name.c_str(), Width, LoadFlags, MaskColor);
}

bool TCustomImageList::GetInstRes(HINSTANCE Instance, TResType ResType, DWORD ResID, Integer Width,
                                  TLoadResources LoadFlags, TColor MaskColor) {
  return InternalGetInstRes(Instance, ResType, MAKEINTRESOURCEW(ResID), Width, LoadFlags,
                            MaskColor);
}

bool TCustomImageList::ResourceLoad(TResType ResType, const String& Name, TColor MaskColor) {
  return ResInstLoad(GetModuleHandleW(nullptr), ResType, Name, MaskColor);
}

bool TCustomImageList::ResInstLoad(HINSTANCE Instance, TResType ResType, const String& Name,
                                   TColor MaskColor) {
  return InternalGetInstRes(Instance, ResType, Name.c_str(), FWidth, TLoadResources{lrDefaultColor},
                            MaskColor);
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* Other = AsOrNull<TCustomImageList>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  if (Other == this) return;
  FMasked = Other->FMasked;
  FColorDepth = Other->FColorDepth;
  FImageType = Other->FImageType;
  FDrawingStyle = Other->FDrawingStyle;
  FBlendColor = Other->FBlendColor;
  // A copy of the other list's platform list, so that its images keep
  // their alpha and masks exactly.
  HIMAGELIST Copy = nullptr;
  if (Other->FHandle) {
    Copy = ImageList_Duplicate(Other->FHandle);
    if (!Copy) throw EInvalidOperation(L"Failed to copy images");
  }
  FreeHandle();
  FWidth = Other->FWidth;
  FHeight = Other->FHeight;
  FBkColor = Other->FBkColor;
  if (Copy) {
    FHandle = Copy;
    ImageList_SetBkColor(FHandle, GetImageListColor(FBkColor));
  }
  Change();
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(NativeDataName, MakeEvent<&TCustomImageList::ReadData>(this),
                              MakeEvent<&TCustomImageList::WriteData>(this), Count() > 0);
}

void TCustomImageList::ReadData(TStream* Stream) {
  HIMAGELIST Read;
  {
    TStreamAdapterRef Adapter(Stream);
    Read = ImageList_Read(Adapter.Stream());
  }
  if (!Read) throw EReadError(L"Failed to read ImageList data from stream");
  SetHandle(Read);
}

void TCustomImageList::WriteData(TStream* Stream) {
  TStreamAdapterRef Adapter(Stream);
  if (!ImageList_Write(Handle(), Adapter.Stream()))
    throw EWriteError(L"Failed to write ImageList data to stream");
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
