// Helpers of the control framework's tests and gallery: forms built in code,
// their pictures read back from the screen, and the gallery's pages.
#pragma once

#include <functional>
#include <string>

#include "Forms.h"
#include "cxGraphics.h"
#include "cxLookAndFeels.h"
#include "framework/TestInput.h"

class TdxAnimationTransition;

namespace ControlsTest {

// A visible form of the given client size at the top left of the screen;
// the caller frees it.
TCustomForm* CreateForm(Integer AClientWidth, Integer AClientHeight);

// What the control's window shows (its whole window rectangle), read from
// the screen after the window was repainted whole (ARepaint) or after only
// the paints pending were done.
TOwned<TcxBitmap32> CaptureWindow(TWinControl* AControl, bool ARepaint = true);

// Runs the messages waiting in the thread's queue.
void ProcessMessages();

// Runs what arrived of the injected input and of the painting, but no timer:
// for tests that drive a control's timers themselves.
void PumpWithoutTimers();

// Pump until ADone holds or a few seconds' worth of rounds have passed
// (injected input reaches the queue through the X server): the queue as it
// is, the queue without timers, or the application's own loop (which turns
// keys into the framework's dialog keys first).
bool PumpUntil(const std::function<bool()>& ADone);
bool PumpUntilWithoutTimers(const std::function<bool()>& ADone);
bool PumpApplicationUntil(const std::function<bool()>& ADone);

// Input as a user gives it, through SendInput: a mouse event (with a move to
// the screen point P when one is given), a key going down or up.
void SendMouse(DWORD AFlags, POINT P = POINT{-1, -1});
using FrameworkTest::SendKey;
using FrameworkTest::TInputScript;
// The pointer is at P.
bool CursorAt(POINT P);

// A running transition stepped without waiting: held at APosition (the
// controller takes no more steps of it), or taken to its end (the final step
// and the end event).
void StepAnimationTransition(TdxAnimationTransition* ATransition, Integer APosition);
void FinishAnimationTransition(TdxAnimationTransition* ATransition);

// One style of the gallery: the painter (through the root look and feel)
// and the resolution the form is rescaled to.
// A form resource as text turned into its binary stream (at position 0),
// and a component written back as text.
TOwned<TMemoryStream> TextToBinary(const std::string& AText);
std::string ComponentToText(TComponent* AComponent);

struct TGalleryStyle {
  const wchar_t* Name;
  TcxLookAndFeelKind Kind;
  bool NativeStyle;
  Integer PixelsPerInch;
};

// A page of the gallery puts its controls on the form, laid out for 96 DPI;
// the harness rescales the form afterwards. Pages are listed in
// ControlsGallery.cpp.
struct TGalleryPage {
  const wchar_t* Name;
  TSize ClientSize;
  void (*Populate)(TCustomForm* AForm);
  // Runs after the form was rescaled, for what lives outside the form's
  // controls (popup windows over it); none for most pages.
  void (*Scaled)(TCustomForm* AForm) = nullptr;
};

}  // namespace ControlsTest
