#include "ComCtrls.h"

#include <algorithm>

namespace {

HMODULE RichEditModule = nullptr;

const wchar_t* const ProgressStyleNames[] = {L"pbstNormal", L"pbstMarquee"};
const TEnumInfo ProgressStyleInfo = MakeEnumInfo(L"TProgressBarStyle", ProgressStyleNames);
const wchar_t* const OrientationNames[] = {L"pbHorizontal", L"pbVertical"};
const TEnumInfo OrientationInfo = MakeEnumInfo(L"TProgressBarOrientation", OrientationNames);

void LoadRichEditModule() {
  if (RichEditModule) return;
  RichEditModule = LoadLibraryW(L"msftedit.dll");
  if (!RichEditModule) RaiseLastOSError();
}

}  // namespace

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomRichEdit) {
  P.Property<&TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText>(L"PlainText").Default(0);
  P.Property<&TCustomRichEdit::Zoom, &TCustomRichEdit::SetZoom>(L"Zoom").Default(100);
}

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) {}

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
  LoadRichEditModule();
  inherited::CreateParams(Params);
  CreateSubClass(Params, MSFTEDIT_CLASS);
}

void TCustomRichEdit::CreateWnd() {
  // The text mode can only change while the window is empty, so the text
  // goes in after it.
  String Text = FText;
  FText.clear();
  inherited::CreateWnd();
  // Setting the font leaves an undo entry, which also blocks the mode change.
  SendMessageW(FHandle, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(FHandle, EM_SETTEXTMODE, FPlainText ? TM_PLAINTEXT : TM_RICHTEXT, 0);
  SendMessageW(FHandle, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED);
  SendMessageW(FHandle, EM_SETBKGNDCOLOR, 0, ColorToRGB(FColor));
  ApplyDefaultFormat();
  if (!Text.empty()) SendMessageW(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  SendMessageW(FHandle, EM_SETMODIFY, 0, 0);
  SendMessageW(FHandle, EM_EMPTYUNDOBUFFER, 0, 0);
  if (FZoom != 100) SetZoom(FZoom);
}

void TCustomRichEdit::DestroyWnd() {
  FZoom = Zoom();
  inherited::DestroyWnd();
}

void TCustomRichEdit::ApplyDefaultFormat() {
  CHARFORMAT2W Format{};
  Format.cbSize = sizeof(Format);
  Format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_BOLD | CFM_ITALIC |
                  CFM_UNDERLINE | CFM_STRIKEOUT;
  TFont* F = FFont.get();
  lstrcpynW(Format.szFaceName, F->Name().c_str(), LF_FACESIZE);
  Format.yHeight = F->Size() * 20;
  Format.crTextColor = ColorToRGB(F->Color());
  Format.bCharSet = F->Charset();
  if (F->Style().Contains(TFontStyle::fsBold)) Format.dwEffects |= CFE_BOLD;
  if (F->Style().Contains(TFontStyle::fsItalic)) Format.dwEffects |= CFE_ITALIC;
  if (F->Style().Contains(TFontStyle::fsUnderline)) Format.dwEffects |= CFE_UNDERLINE;
  if (F->Style().Contains(TFontStyle::fsStrikeOut)) Format.dwEffects |= CFE_STRIKEOUT;
  SendMessageW(FHandle, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&Format));
}

CHARRANGE TCustomRichEdit::Selection() {
  CHARRANGE R{0, 0};
  SendMessageW(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&R));
  return R;
}

void TCustomRichEdit::SetSelection(Integer Start, Integer End) {
  CHARRANGE R{Start, End};
  SendMessageW(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&R));
}

Integer TCustomRichEdit::SelStart() { return Selection().cpMin; }

void TCustomRichEdit::SetSelStart(Integer V) { SetSelection(V, V); }

Integer TCustomRichEdit::SelLength() {
  CHARRANGE R = Selection();
  return R.cpMax - R.cpMin;
}

void TCustomRichEdit::SetSelLength(Integer V) {
  CHARRANGE R = Selection();
  SetSelection(R.cpMin, R.cpMin + V);
  SendMessageW(FHandle, EM_SCROLLCARET, 0, 0);
}

String TCustomRichEdit::SelText() {
  CHARRANGE R = Selection();
  if (R.cpMax <= R.cpMin) return String();
  std::vector<wchar_t> Buf(static_cast<size_t>(R.cpMax - R.cpMin) + 1, 0);
  LRESULT Len = SendMessageW(FHandle, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(Buf.data()));
  return String(Buf.data(), static_cast<size_t>(std::max<LRESULT>(Len, 0)));
}

void TCustomRichEdit::SetSelText(const String& V) {
  SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(V.c_str()));
}

Integer TCustomRichEdit::GetTextLen() {
  GETTEXTLENGTHEX Info{GTL_NUMCHARS | GTL_PRECISE, 1200};
  return static_cast<Integer>(
      SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Info), 0));
}

Integer TCustomRichEdit::Zoom() {
  if (!FHandle) return FZoom;
  int Num = 0, Den = 0;
  SendMessageW(FHandle, EM_GETZOOM, reinterpret_cast<WPARAM>(&Num), reinterpret_cast<LPARAM>(&Den));
  if (Num == 0 || Den == 0) return 100;
  return MulDiv(Num, 100, Den);
}

void TCustomRichEdit::SetZoom(Integer V) {
  FZoom = V;
  if (!FHandle) return;
  // 0/0 switches zooming off; the platform accepts ratios from 1/64 to 64.
  if (V == 100)
    SendMessageW(FHandle, EM_SETZOOM, 0, 0);
  else
    SendMessageW(FHandle, EM_SETZOOM, static_cast<WPARAM>(V), 100);
}

void TCustomRichEdit::SetPlainText(bool V) {
  if (V == FPlainText) return;
  FPlainText = V;
  RecreateWnd();
}

void TCustomRichEdit::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  if (FHandle) ApplyDefaultFormat();
}

void TCustomRichEdit::CMColorChanged(TMessage& Message) {
  inherited::CMColorChanged(Message);
  if (FHandle) SendMessageW(FHandle, EM_SETBKGNDCOLOR, 0, ColorToRGB(FColor));
}

IMPLEMENT_CREATABLE_CLASS(TRichEdit)

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TProgressBar) {
  P.Property<&TProgressBar::Min, &TProgressBar::SetMin>(L"Min").Default(0);
  P.Property<&TProgressBar::Max, &TProgressBar::SetMax>(L"Max").Default(100);
  P.Property<&TProgressBar::Position, &TProgressBar::SetPosition>(L"Position").Default(0);
  P.Property<&TProgressBar::Step, &TProgressBar::SetStep>(L"Step").Default(10);
  P.Property<&TProgressBar::Style, &TProgressBar::SetStyle>(L"Style", ProgressStyleInfo).Default(0);
  P.Property<&TProgressBar::MarqueeInterval, &TProgressBar::SetMarqueeInterval>(L"MarqueeInterval")
      .Default(10);
  P.Property<&TProgressBar::Smooth, &TProgressBar::SetSmooth>(L"Smooth").Default(0);
  P.Property<&TProgressBar::Orientation, &TProgressBar::SetOrientation>(L"Orientation",
                                                                        OrientationInfo)
      .Default(0);
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 17); }

void TProgressBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, PROGRESS_CLASSW);
  if (FOrientation == pbVertical) Params.Style |= PBS_VERTICAL;
  if (FSmooth) Params.Style |= PBS_SMOOTH;
  if (FStyle == pbstMarquee) Params.Style |= PBS_MARQUEE;
}

void TProgressBar::CreateWnd() {
  inherited::CreateWnd();
  SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessageW(FHandle, PBM_SETSTEP, static_cast<WPARAM>(FStep), 0);
  SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
  if (FStyle == pbstMarquee) SendMessageW(FHandle, PBM_SETMARQUEE, TRUE, FMarqueeInterval);
}

void TProgressBar::DestroyWnd() {
  FPosition = Position();
  inherited::DestroyWnd();
}

Integer TProgressBar::Min() {
  return FHandle ? static_cast<Integer>(SendMessageW(FHandle, PBM_GETRANGE, TRUE, 0)) : FMin;
}

Integer TProgressBar::Max() {
  return FHandle ? static_cast<Integer>(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0)) : FMax;
}

void TProgressBar::SetRange(Integer AMin, Integer AMax) {
  if (AMax < AMin)
    throw EInvalidOperation(Format(L"Property value out of range (%d..%d)", {AMin, AMax}));
  FMin = AMin;
  FMax = AMax;
  FPosition = std::clamp(FPosition, FMin, FMax);
  if (FHandle) SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(AMin), AMax);
}

void TProgressBar::SetMin(Integer V) { SetRange(V, FMax); }
void TProgressBar::SetMax(Integer V) { SetRange(FMin, V); }

Integer TProgressBar::Position() {
  return FHandle ? static_cast<Integer>(SendMessageW(FHandle, PBM_GETPOS, 0, 0)) : FPosition;
}

void TProgressBar::SetPosition(Integer V) {
  FPosition = std::clamp(V, FMin, FMax);
  if (FHandle) SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetStep(Integer V) {
  FStep = V;
  if (FHandle) SendMessageW(FHandle, PBM_SETSTEP, static_cast<WPARAM>(V), 0);
}

void TProgressBar::StepIt() {
  if (FHandle) {
    SendMessageW(FHandle, PBM_STEPIT, 0, 0);
  } else {
    // The platform wraps around past the maximum; so does the stored value.
    FPosition += FStep;
    if (FPosition > FMax) FPosition = FMin + (FPosition - FMax);
  }
}

void TProgressBar::StepBy(Integer Delta) {
  if (FHandle)
    SendMessageW(FHandle, PBM_DELTAPOS, static_cast<WPARAM>(Delta), 0);
  else
    SetPosition(FPosition + Delta);
}

void TProgressBar::SetStyle(TProgressBarStyle V) {
  if (V == FStyle) return;
  FStyle = V;
  RecreateWnd();
}

void TProgressBar::SetMarqueeInterval(Integer V) {
  FMarqueeInterval = V;
  if (FHandle && FStyle == pbstMarquee) SendMessageW(FHandle, PBM_SETMARQUEE, TRUE, V);
}

void TProgressBar::SetSmooth(bool V) {
  if (V == FSmooth) return;
  FSmooth = V;
  RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation V) {
  if (V == FOrientation) return;
  FOrientation = V;
  RecreateWnd();
}

void ComCtrls_Initialize() {
  INITCOMMONCONTROLSEX Init{sizeof(Init), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&Init);
  RegisterClasses({TRichEdit::StaticClass(), TProgressBar::StaticClass()});
}

void ComCtrls_Finalize() {
  if (RichEditModule) FreeLibrary(RichEditModule);
  RichEditModule = nullptr;
}
