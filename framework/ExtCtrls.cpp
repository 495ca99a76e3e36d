#include "ExtCtrls.h"

#include <algorithm>

namespace {

const wchar_t* const BevelCutNames[] = {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"};
const TEnumInfo BevelCutInfo = MakeEnumInfo(L"TBevelCut", BevelCutNames);
const wchar_t* const AlignmentNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
const TEnumInfo AlignmentInfo = MakeEnumInfo(L"TAlignment", AlignmentNames);
const wchar_t* const ShapeNames[] = {L"stRectangle",   L"stSquare",  L"stRoundRect",
                                     L"stRoundSquare", L"stEllipse", L"stCircle"};
const TEnumInfo ShapeInfo = MakeEnumInfo(L"TShapeType", ShapeNames);
const wchar_t* const BevelShapeNames[] = {L"bsBox",        L"bsFrame",    L"bsTopLine",
                                          L"bsBottomLine", L"bsLeftLine", L"bsRightLine",
                                          L"bsSpacer"};
const TEnumInfo BevelShapeInfo = MakeEnumInfo(L"TBevelShape", BevelShapeNames);
const wchar_t* const BevelStyleNames[] = {L"bsLowered", L"bsRaised"};
const TEnumInfo BevelStyleInfo = MakeEnumInfo(L"TBevelStyle", BevelStyleNames);

// A raised or lowered frame of Width pixels inside R, which shrinks by it.
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopLeft, TColor BottomRight, Integer Width) {
  for (Integer I = 0; I < Width; ++I) {
    Canvas->Pen()->SetColor(TopLeft);
    Canvas->MoveTo(R.left, R.bottom - 1);
    Canvas->LineTo(R.left, R.top);
    Canvas->LineTo(R.right - 1, R.top);
    Canvas->Pen()->SetColor(BottomRight);
    Canvas->LineTo(R.right - 1, R.bottom - 1);
    Canvas->LineTo(R.left - 1, R.bottom - 1);
    InflateRect(&R, -1, -1);
  }
}

void BevelColors(TBevelCut Cut, TColor& TopLeft, TColor& BottomRight) {
  TopLeft = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
  BottomRight = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
}

}  // namespace

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomPanel) {
  P.Property<&TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner>(L"BevelInner", BevelCutInfo)
      .Default(bvNone);
  P.Property<&TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter>(L"BevelOuter", BevelCutInfo)
      .Default(bvRaised);
  P.Property<&TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth>(L"BevelWidth").Default(1);
  P.Property<&TCustomPanel::Alignment, &TCustomPanel::SetAlignment>(L"Alignment", AlignmentInfo)
      .Default(taCenter);
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                csOpaque,          csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  FParentColor = false;
  SetColor(clBtnFace);
}

Integer TCustomPanel::BorderSize() const {
  return (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  InflateRect(&Rect, -BorderSize(), -BorderSize());
}

void TCustomPanel::Paint() {
  TRect R = ClientRect();
  TColor TopLeft, BottomRight;
  if (FBevelOuter != bvNone) {
    BevelColors(FBevelOuter, TopLeft, BottomRight);
    Frame3D(Canvas(), R, TopLeft, BottomRight, FBevelWidth);
  }
  if (FBevelInner != bvNone) {
    BevelColors(FBevelInner, TopLeft, BottomRight);
    Frame3D(Canvas(), R, TopLeft, BottomRight, FBevelWidth);
  }
  Canvas()->Brush()->SetColor(FColor);
  Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
  Canvas()->FillRect(R);
  String Text = GetText();
  if (Text.empty()) return;
  static const UINT Align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  Canvas()->Font()->Assign(FFont.get());
  HDC DC = Canvas()->Handle();
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(FFont->Color()));
  DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &R,
            static_cast<UINT>(DrawTextBiDiModeFlags(static_cast<Integer>(
                DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | Align[FAlignment]))));
}

void TCustomPanel::SetBevelInner(TBevelCut V) {
  FBevelInner = V;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut V) {
  FBevelOuter = V;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(Integer V) {
  FBevelWidth = std::max(V, 1);
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment V) {
  FAlignment = V;
  Invalidate();
}

void TCustomPanel::CMTextChanged(TMessage&) { Invalidate(); }

void TCustomPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The bevel runs along the edges and the caption is centred: a new size
  // repaints the whole panel.
  Params.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
}

IMPLEMENT_CREATABLE_CLASS(TPanel)

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TImage) {
  P.Property<&TImage::Stretch, &TImage::SetStretch>(L"Stretch").Default(0);
  P.Property<&TImage::Center, &TImage::SetCenter>(L"Center").Default(0);
  P.Property<&TImage::Proportional, &TImage::SetProportional>(L"Proportional").Default(0);
  P.Property<&TImage::Transparent, &TImage::SetTransparent>(L"Transparent").Default(0);
  P.Property<&TImage::AutoSize, &TImage::SetAutoSize>(L"AutoSize").Default(0);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  FPicture = Create<TPicture>();
  FPicture->OnChange = MakeEvent<&TImage::PictureChanged>(this);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FreeAndNil(FPicture); }

TRect TImage::DestRect() {
  Integer W = FPicture->Width(), H = FPicture->Height();
  Integer CW = Width(), CH = Height();
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional && W > 0 && H > 0) {
      // The larger ratio decides, so the whole picture fits.
      if (static_cast<Int64>(W) * CH > static_cast<Int64>(H) * CW) {
        H = MulDiv(H, CW, W);
        W = CW;
      } else {
        W = MulDiv(W, CH, H);
        H = CH;
      }
    } else {
      W = CW;
      H = CH;
    }
  }
  TRect R = Bounds(0, 0, W, H);
  if (FCenter) OffsetRect(&R, (CW - W) / 2, (CH - H) / 2);
  return R;
}

void TImage::Paint() {
  TGraphic* G = FPicture->Graphic();
  if (!G || G->Empty()) return;
  G->SetTransparent(FTransparent);
  Canvas()->StretchDraw(DestRect(), G);
}

void TImage::PictureChanged(TObject*) {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetStretch(bool V) {
  FStretch = V;
  Invalidate();
}
void TImage::SetCenter(bool V) {
  FCenter = V;
  Invalidate();
}
void TImage::SetProportional(bool V) {
  FProportional = V;
  Invalidate();
}
void TImage::SetTransparent(bool V) {
  FTransparent = V;
  if (V)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}
void TImage::SetAutoSize(bool V) {
  FAutoSize = V;
  PictureChanged(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TShape) {
  P.Property<&TShape::Shape, &TShape::SetShape>(L"Shape", ShapeInfo).Default(stRectangle);
  P.Property<&TShape::Pen, &TShape::SetPen>(L"Pen");
  P.Property<&TShape::Brush, &TShape::SetBrush>(L"Brush");
}

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 65);
  FPen = Create<TPen>();
  FPen->OnChange = MakeEvent<&TShape::StyleChanged>(this);
  FBrush = Create<TBrush>();
  FBrush->OnChange = MakeEvent<&TShape::StyleChanged>(this);
}

TShape::~TShape() {
  FreeAndNil(FPen);
  FreeAndNil(FBrush);
}

void TShape::Paint() {
  TCanvas* C = Canvas();
  C->Pen()->Assign(FPen);
  C->Brush()->Assign(FBrush);
  Integer PW = FPen->Width();
  Integer X = PW / 2, Y = X;
  Integer W = Width() - PW + 1, H = Height() - PW + 1;
  if (PW == 0) {
    --W;
    --H;
  }
  Integer S = std::min(W, H);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    X += (W - S) / 2;
    Y += (H - S) / 2;
    W = H = S;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare:
      C->Rectangle(X, Y, X + W, Y + H);
      break;
    case stRoundRect:
    case stRoundSquare:
      C->RoundRect(X, Y, X + W, Y + H, S / 4, S / 4);
      break;
    case stEllipse:
    case stCircle:
      C->Ellipse(X, Y, X + W, Y + H);
      break;
  }
}

void TShape::SetShape(TShapeType V) {
  FShape = V;
  Invalidate();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TBevel) {
  P.Property<&TBevel::Shape, &TBevel::SetShape>(L"Shape", BevelShapeInfo).Default(bsBox);
  P.Property<&TBevel::Style, &TBevel::SetStyle>(L"Style", BevelStyleInfo).Default(bsLowered);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::Paint() {
  TCanvas* C = Canvas();
  TColor Color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor Color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  TRect R = ClientRect();
  auto Line = [C](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  Integer W = RectWidth(R), H = RectHeight(R);
  switch (FShape) {
    case bsBox:
      Frame3D(C, R, Color1, Color2, 1);
      break;
    case bsFrame: {
      TRect Inner = R;
      ++Inner.left;
      ++Inner.top;
      Frame3D(C, Inner, Color2, Color2, 1);
      TRect Outer = R;
      --Outer.right;
      --Outer.bottom;
      Frame3D(C, Outer, Color1, Color1, 1);
      break;
    }
    case bsTopLine:
      Line(Color1, 0, 0, W, 0);
      Line(Color2, 0, 1, W, 1);
      break;
    case bsBottomLine:
      Line(Color1, 0, H - 2, W, H - 2);
      Line(Color2, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      Line(Color1, 0, 0, 0, H);
      Line(Color2, 1, 0, 1, H);
      break;
    case bsRightLine:
      Line(Color1, W - 2, 0, W - 2, H);
      Line(Color2, W - 1, 0, W - 1, H);
      break;
    case bsSpacer:
      break;
  }
}

void TBevel::SetShape(TBevelShape V) {
  FShape = V;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle V) {
  FStyle = V;
  Invalidate();
}

void ExtCtrls_Initialize() {
  RegisterClasses(
      {TPanel::StaticClass(), TImage::StaticClass(), TShape::StaticClass(), TBevel::StaticClass()});
}
