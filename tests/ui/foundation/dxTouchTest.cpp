#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

#include "dxTouch.h"

namespace {

// ---------------------------------------------------------------------------
// Tables and option mapping

TEST(TouchTables, GestureIdsAndPanOptions) {
  EXPECT_EQ(
      (std::vector<DWORD>(std::begin(dxSupportedGestureIDs), std::end(dxSupportedGestureIDs))),
      (std::vector<DWORD>{4, 3, 5, 6, 7}));
  struct {
    DWORD Id;
    TInteractiveGesture Gesture;
  } Gestures[] = {{3, igZoom},        {4, igPan},         {5, igRotate},      {6, igTwoFingerTap},
                  {7, igPressAndTap}, {1, igPressAndTap}, {99, igPressAndTap}};
  for (const auto& C : Gestures)
    EXPECT_EQ(GetInteractiveGestureByGestureID(C.Id), C.Gesture) << C.Id;
  struct {
    DWORD Id;
    TInteractiveGestureOption Option;
  } Options[] = {{2, igoPanSingleFingerVertical},
                 {4, igoPanSingleFingerHorizontal},
                 {8, igoPanGutter},
                 {0x10, igoPanInertia},
                 {0, igoPanInertia}};
  for (const auto& C : Options)
    EXPECT_EQ(GetInteractiveGestureOptionByPanOptionID(C.Id), C.Option) << C.Id;
}

TEST(TouchTables, OptionsConvertBothWays) {
  const TInteractiveGestureOptions AllPan = TInteractiveGestureOptions{
      igoPanSingleFingerHorizontal, igoPanSingleFingerVertical, igoPanInertia, igoPanGutter};
  struct {
    TInteractiveGestureOptions Options;
    DWORD Flags;
  } Cases[] = {
      {TInteractiveGestureOptions{igoPanSingleFingerHorizontal, igoPanInertia}, 0x14},
      {AllPan, 0x1E},
      {TInteractiveGestureOptions{igoPanSingleFingerVertical, igoPanGutter}, 0x0A},
      {TInteractiveGestureOptions(), 0},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(GetPanOptionsByInteractiveGestureOptions(C.Options), C.Flags);
    EXPECT_EQ(GetInteractiveGestureOptionsByPanOptions(C.Flags), C.Options) << C.Flags;
  }
  // Pass-through is no pan option, and unknown flags bring nothing back.
  EXPECT_EQ(GetPanOptionsByInteractiveGestureOptions(
                AllPan + TInteractiveGestureOptions{igoParentPassthrough}),
            0x1Eu);
  EXPECT_EQ(GetInteractiveGestureOptionsByPanOptions(0x1E | 0x01 | 0x40), AllPan);
}

// What a window asks the platform for: every supported gesture once, wanted
// or blocked, a pan with its own options.
TEST(TouchTables, GestureConfigurationsFromGesturesAndOptions) {
  const DWORD AllPan = 0x1F;
  struct {
    const char* Name;
    TInteractiveGestures Gestures;
    TInteractiveGestureOptions Options;
    // Wanted flags in the order pan, zoom, rotate, two-finger tap, press and tap.
    DWORD Want[5];
  } const Cases[] = {
      {"nothing", {}, TInteractiveGestureOptions{igoPanInertia}, {0, 0, 0, 0, 0}},
      {"pan with every option",
       TInteractiveGestures{igPan, igPressAndTap},
       TInteractiveGestureOptions{igoPanSingleFingerHorizontal, igoPanSingleFingerVertical,
                                  igoPanInertia, igoPanGutter, igoParentPassthrough},
       {AllPan, 0, 0, 0, 1}},
      {"vertical pan only",
       TInteractiveGestures{igPan},
       TInteractiveGestureOptions{igoPanSingleFingerVertical},
       {GC_PAN | GC_PAN_WITH_SINGLE_FINGER_VERTICALLY, 0, 0, 0, 0}},
      {"zoom and rotate",
       TInteractiveGestures{igZoom, igRotate, igTwoFingerTap},
       {},
       {0, 1, 1, 1, 0}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TdxGestureConfigs Configs = dxGestureConfigs(C.Gestures, C.Options);
    ASSERT_EQ(Configs.size(), 5u);
    for (size_t I = 0; I < 5; ++I) {
      const DWORD All = I == 0 ? AllPan : 1;
      EXPECT_EQ(Configs[I].dwID, dxSupportedGestureIDs[I]);
      EXPECT_EQ(Configs[I].dwWant, C.Want[I]) << I;
      EXPECT_EQ(Configs[I].dwBlock, All & ~C.Want[I]) << I;
    }
  }
}

// ---------------------------------------------------------------------------
// Fakes

struct TCalls {
  UINT Count = 0;
  UINT Size = 0;
  std::vector<TdxGestureConfig> Configs;
};
TCalls ConfigCalls;
BOOL WINAPI FakeSetGestureConfig(HWND, DWORD, UINT ACount, PGESTURECONFIG AConfigs, UINT ASize) {
  ConfigCalls.Count = ACount;
  ConfigCalls.Size = ASize;
  ConfigCalls.Configs.assign(reinterpret_cast<TdxGestureConfig*>(AConfigs),
                             reinterpret_cast<TdxGestureConfig*>(AConfigs) + ACount);
  return TRUE;
}
BOOL WINAPI IdentityPhysicalToLogical(HWND, LPPOINT) { return TRUE; }

// Gesture information by handle, as the platform would keep it.
std::map<HGESTUREINFO, GESTUREINFO> GestureInfos;
std::vector<HGESTUREINFO> ClosedHandles;
std::vector<HGESTUREINFO> DefaultHandled;
BOOL WINAPI FakeGetGestureInfo(HGESTUREINFO AHandle, PGESTUREINFO AInfo) {
  auto It = GestureInfos.find(AHandle);
  if (It == GestureInfos.end()) return FALSE;
  *AInfo = It->second;
  return TRUE;
}
BOOL WINAPI FakeCloseGestureInfoHandle(HGESTUREINFO AHandle) {
  ClosedHandles.push_back(AHandle);
  return TRUE;
}
LRESULT WINAPI FakeDefWindowProc(HWND, UINT AMsg, WPARAM, LPARAM lParam) {
  if (AMsg == WM_GESTURE) DefaultHandled.push_back(reinterpret_cast<HGESTUREINFO>(lParam));
  return 42;
}

class TUnknownBase {
 public:
  ULONG STDMETHODCALLTYPE AddRef() { return 1; }
  ULONG STDMETHODCALLTYPE Release() { return 1; }
};

struct TFakeClient : public IdxGestureClient, public IdxZoomClient, public IdxRotateClient {
  bool PanArea = true, PanH = true, PanV = true, Feedback = true;
  bool ZoomAndRotate = true;
  std::vector<TPoint> Scrolls;
  std::vector<Integer> ZoomDeltas;
  std::vector<Double> Angles;
  Integer Begins = 0, Ends = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IdxGestureClient)) || IsEqualIID(AIID, IID_IUnknown)) {
      *AObj = static_cast<IdxGestureClient*>(this);
    } else if (ZoomAndRotate && IsEqualIID(AIID, __uuidof(IdxZoomClient))) {
      *AObj = static_cast<IdxZoomClient*>(this);
    } else if (ZoomAndRotate && IsEqualIID(AIID, __uuidof(IdxRotateClient))) {
      *AObj = static_cast<IdxRotateClient*>(this);
    } else {
      *AObj = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  bool STDMETHODCALLTYPE AllowGesture(TInteractiveGesture) override { return true; }
  bool STDMETHODCALLTYPE AllowPan(TScrollBarKind K) override {
    return K == sbHorizontal ? PanH : PanV;
  }
  void STDMETHODCALLTYPE BeginGestureScroll(const TPoint&) override { ++Begins; }
  void STDMETHODCALLTYPE EndGestureScroll() override { ++Ends; }
  void STDMETHODCALLTYPE GestureScroll(Integer DX, Integer DY) override {
    Scrolls.push_back(TPoint{DX, DY});
  }
  DWORD STDMETHODCALLTYPE GetPanOptions() override { return 0; }
  bool STDMETHODCALLTYPE IsPanArea(const TPoint&) override { return PanArea; }
  bool STDMETHODCALLTYPE NeedPanningFeedback(TScrollBarKind) override { return Feedback; }
  void STDMETHODCALLTYPE Zoom(Integer ADelta, bool& AHandled) override {
    ZoomDeltas.push_back(ADelta);
    AHandled = true;
  }
  void STDMETHODCALLTYPE Rotate(Double AAngle, bool& AHandled) override {
    Angles.push_back(AAngle);
    AHandled = true;
  }
};

struct TFakeOwner : public IdxGestureOwner {
  TFakeClient* Client = nullptr;
  HWND Wnd = nullptr;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** AObj) override {
    *AObj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  IdxGestureClient* STDMETHODCALLTYPE GetGestureClient(const TPoint&) override { return Client; }
  HWND STDMETHODCALLTYPE GetGestureClientHandle() override { return Wnd; }
  bool STDMETHODCALLTYPE IsGestureTarget(HWND AWnd) override { return AWnd == Wnd; }
  TPoint STDMETHODCALLTYPE ScreenToClient(const TPoint& P) override {
    TPoint R = P;
    if (Wnd) ::ScreenToClient(Wnd, &R);
    return R;
  }
};

struct TFakeControl : public IdxTouchControl {
  const char* Name;
  TFakeControl* Parent;
  bool Passthrough;
  TInteractiveGestures Handles;
  TPoint Origin;
  HWND Wnd = nullptr;
  LRESULT Answer = 1;
  std::vector<TGestureEventInfo> Events;
  TFakeControl(const char* AName, TFakeControl* AParent, bool APassthrough,
               TInteractiveGestures AHandles, TPoint AOrigin)
      : Name(AName),
        Parent(AParent),
        Passthrough(APassthrough),
        Handles(AHandles),
        Origin(AOrigin) {}
  IdxTouchControl* TouchParent() override { return Parent; }
  bool PassesGesturesToParent() override { return Passthrough; }
  bool HandlesGesture(TInteractiveGesture G) override { return Handles.Contains(G); }
  HWND TouchWindow() override { return Wnd; }
  TPoint TouchScreenToClient(const TPoint& P) override {
    return TPoint{P.x - Origin.x, P.y - Origin.y};
  }
  LRESULT PerformGesture(TGestureEventInfo& E) override {
    Events.push_back(E);
    return Answer;
  }
};

TFakeControl* FoundControl = nullptr;
TFakeControl* ChildAtPoint = nullptr;
TPoint ChildQueriedAt{};
IdxTouchControl* FindFakeControl(HWND) { return FoundControl; }
IdxTouchControl* FakeChildAt(IdxTouchControl*, const TPoint& P) {
  ChildQueriedAt = P;
  return ChildAtPoint;
}

LRESULT CALLBACK HelperWndProc(HWND AWnd, UINT AMsg, WPARAM wParam, LPARAM lParam) {
  auto* Helper = reinterpret_cast<TdxGestureHelper*>(GetWindowLongPtrW(AWnd, GWLP_USERDATA));
  TMessage Message{AMsg, wParam, lParam, 0};
  if (Helper && Helper->HandleMessage(Message)) return Message.Result;
  return DefWindowProcW(AWnd, AMsg, wParam, lParam);
}

class Touch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dxTouch_Initialize(); }
  static void TearDownTestSuite() { dxTouch_Finalize(); }
  void SetUp() override {
    SavedPlatform = dxTouchPlatform();
    SavedServices = dxTouchControlServices();
    dxTouchPlatform().GetGestureInfo = &FakeGetGestureInfo;
    dxTouchPlatform().CloseGestureInfoHandle = &FakeCloseGestureInfoHandle;
    dxTouchPlatform().DefWindowProc = &FakeDefWindowProc;
    dxTouchPlatform().PhysicalToLogicalPoint = &IdentityPhysicalToLogical;
    dxTouchPlatform().SetGestureConfig = &FakeSetGestureConfig;
    dxTouchControlServices() = TdxTouchControlServices{&FindFakeControl, &FakeChildAt};
    GestureInfos.clear();
    ClosedHandles.clear();
    DefaultHandled.clear();
    WNDCLASSW Class = {};
    Class.lpfnWndProc = &HelperWndProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = L"TouchTestWindow";
    RegisterClassW(&Class);
    Owner.Wnd = CreateWindowExW(0, L"TouchTestWindow", L"", WS_POPUP, 100, 100, 200, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    Owner.Client = &Client;
    Helper = MakeOwned<TdxGestureHelper>(&Owner);
    SetWindowLongPtrW(Owner.Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Helper.get()));
  }
  void TearDown() override {
    DestroyWindow(Owner.Wnd);
    Helper.reset();
    dxTouchPlatform() = SavedPlatform;
    dxTouchControlServices() = SavedServices;
    FoundControl = ChildAtPoint = nullptr;
  }
  // The notification that starts every touch, through the window's queue so
  // that the module's hook sees it first.
  void TouchStart(SHORT X, SHORT Y) {
    GESTURENOTIFYSTRUCT N = {};
    N.cbSize = sizeof(N);
    N.hwndTarget = Owner.Wnd;
    N.ptsLocation = POINTS{X, Y};
    SendMessageW(Owner.Wnd, WM_GESTURENOTIFY, 0, reinterpret_cast<LPARAM>(&N));
  }
  LRESULT SendGesture(DWORD AId, DWORD AFlags, SHORT X, SHORT Y, ULONGLONG AArgs) {
    HGESTUREINFO H = reinterpret_cast<HGESTUREINFO>(static_cast<INT_PTR>(0x1000 + ++Handles));
    GESTUREINFO I = {};
    I.cbSize = sizeof(I);
    I.dwID = AId;
    I.dwFlags = AFlags;
    I.ptsLocation = POINTS{X, Y};
    I.ullArguments = AArgs;
    GestureInfos[H] = I;
    LastHandle = H;
    return SendMessageW(Owner.Wnd, WM_GESTURE, AId, reinterpret_cast<LPARAM>(H));
  }
  TGestureEventInfo PanEvent(TPoint APos, TInteractiveGestureFlags AFlags) {
    TGestureEventInfo E;
    E.GestureID = gcPanEvent;
    E.Location = APos;
    E.Flags = AFlags;
    return E;
  }

  TdxTouchPlatform SavedPlatform;
  TdxTouchControlServices SavedServices;
  TFakeClient Client;
  TFakeOwner Owner;
  TOwned<TdxGestureHelper> Helper;
  int Handles = 0;
  HGESTUREINFO LastHandle = nullptr;
};

TEST_F(Touch, GestureConfigurationGoesThroughTheBoundEntryPoint) {
  TdxGestureConfigs Configs{{GID_PAN, GC_PAN, 0}, {GID_ZOOM, GC_ZOOM, 0}};
  EXPECT_TRUE(dxSetGestureConfig(Owner.Wnd, Configs));
  EXPECT_EQ(ConfigCalls.Count, 2u);
  EXPECT_EQ(ConfigCalls.Size, 12u);
  TMessage Notify{WM_GESTURENOTIFY, 0, 0, 0};
  EXPECT_TRUE(dxLockGestures(Owner.Wnd, Notify));
  EXPECT_EQ(Notify.Result, 1);
  ASSERT_EQ(ConfigCalls.Configs.size(), 1u);
  EXPECT_EQ(ConfigCalls.Configs[0].dwID, 0u);
  EXPECT_EQ(ConfigCalls.Configs[0].dwWant, 0u);
  EXPECT_EQ(ConfigCalls.Configs[0].dwBlock, 1u);

  dxTouchPlatform().SetGestureConfig = nullptr;
  dxTouchPlatform().PhysicalToLogicalPoint = nullptr;
  Notify.Result = 0;
  EXPECT_FALSE(dxLockGestures(Owner.Wnd, Notify));
  EXPECT_EQ(Notify.Result, 1);
  TPoint P{5, 6};
  EXPECT_FALSE(dxPhysicalToLogicalPoint(Owner.Wnd, P));
  EXPECT_EQ(P.x, 5);
}

TEST_F(Touch, CheckGestureOptionsFollowsTheClient) {
  const auto Both =
      TInteractiveGestureOptions{igoPanSingleFingerHorizontal, igoPanSingleFingerVertical};
  struct {
    bool PanArea, AllowH, AllowV;
    TInteractiveGestureOptions In, Out;
    bool KeepsPan;
  } Cases[] = {
      {true, false, true, Both, TInteractiveGestureOptions{igoPanSingleFingerVertical}, true},
      {true, true, true, Both + TInteractiveGestureOptions{igoPanInertia},
       Both + TInteractiveGestureOptions{igoPanInertia}, true},
      {false, true, true, Both + TInteractiveGestureOptions{igoPanInertia},
       TInteractiveGestureOptions{igoPanInertia}, false},
      {true, false, false, Both, TInteractiveGestureOptions(), false},
      // Without single-finger options the client is not asked, and pan goes.
      {true, true, true, TInteractiveGestureOptions{igoPanGutter},
       TInteractiveGestureOptions{igoPanGutter}, false},
  };
  for (const auto& C : Cases) {
    Client.PanArea = C.PanArea;
    Client.PanH = C.AllowH;
    Client.PanV = C.AllowV;
    TInteractiveGestures G = TInteractiveGestures{igPan, igZoom};
    TInteractiveGestureOptions O = C.In;
    Helper->CheckGestureOptions(G, O);
    EXPECT_EQ(O, C.Out) << C.PanArea << C.AllowH << C.AllowV;
    EXPECT_EQ(G.Contains(igPan), C.KeepsPan) << C.PanArea << C.AllowH << C.AllowV;
    EXPECT_TRUE(G.Contains(igZoom));
  }
}

TEST_F(Touch, PanBackAgainstAnOverPanUndoesItFirst) {
  struct {
    Integer OverPan, Delta;
    bool Feedback;
    Integer OverPanAfter, Scrolled;
  } Cases[] = {
      {-50, 30, true, -20, 0}, {-50, 80, true, 0, 30},    {-50, -10, true, -50, -10},
      {0, 30, true, 0, 30},    {-50, 30, false, -50, 30}, {40, -15, true, 25, 0},
  };
  for (const auto& C : Cases) {
    TInteractiveGestures G = TInteractiveGestures{igPan};
    TInteractiveGestureOptions O;
    Helper->CheckGestureOptions(G, O);
    Client.Feedback = true;
    Client.Scrolls.clear();
    bool Handled = false;
    Helper->DoGesture(PanEvent(TPoint{100, 100}, TInteractiveGestureFlags{gfBegin}), Handled);
    EXPECT_TRUE(Handled);
    EXPECT_TRUE(Helper->IsPanning());
    // The control reports that its scroll reached the end of the range.
    Helper->CheckOverpan(sbVertical, 0, 0, 500, 0, C.OverPan);
    ASSERT_EQ(Helper->OverPan().y, C.OverPan);
    Client.Feedback = C.Feedback;
    Helper->DoGesture(PanEvent(TPoint{100, 100 + C.Delta}, TInteractiveGestureFlags()), Handled);
    EXPECT_EQ(Helper->OverPan().y, C.OverPanAfter) << C.OverPan << " " << C.Delta;
    ASSERT_EQ(Client.Scrolls.size(), 1u);
    EXPECT_EQ(Client.Scrolls[0].y, C.Scrolled) << C.OverPan << " " << C.Delta;
    EXPECT_EQ(Client.Scrolls[0].x, 0);
    Helper->DoGesture(PanEvent(TPoint{100, 100 + C.Delta}, TInteractiveGestureFlags{gfEnd}),
                      Handled);
    EXPECT_FALSE(Helper->IsPanning());
    EXPECT_EQ(Helper->OverPan().y, 0);
  }
  EXPECT_EQ(Client.Begins, 6);
  EXPECT_EQ(Client.Ends, 6);
}

TEST_F(Touch, CheckOverpanOnlyAtTheEndsOfTheRange) {
  TInteractiveGestures G = TInteractiveGestures{igPan};
  TInteractiveGestureOptions O;
  Helper->CheckGestureOptions(G, O);
  bool Handled;
  Helper->DoGesture(PanEvent(TPoint{0, 0}, TInteractiveGestureFlags{gfBegin}), Handled);
  struct {
    TScrollBarKind Kind;
    Integer Pos;
    TPoint After;
  } Steps[] = {
      {sbVertical, 10, {0, -7}},     // at the minimum: the vertical delta
      {sbVertical, 11, {0, -7}},     // one inside: nothing
      {sbHorizontal, 99, {0, -7}},   // inside
      {sbHorizontal, 100, {5, -7}},  // at the maximum: the horizontal delta
      {sbHorizontal, 120, {10, -7}},
  };
  for (const auto& S : Steps) {
    Helper->CheckOverpan(S.Kind, S.Pos, 10, 100, 5, -7);
    EXPECT_EQ(Helper->OverPan().x, S.After.x) << S.Pos;
    EXPECT_EQ(Helper->OverPan().y, S.After.y) << S.Pos;
  }
  Helper->CheckOverpan(sbVertical, 0, 10, 100, 5, -7);
  EXPECT_EQ(Helper->OverPan().y, -14);
  // The window going away ends the scroll.
  DestroyWindow(Owner.Wnd);
  EXPECT_FALSE(Helper->IsPanning());
  EXPECT_EQ(Client.Ends, 1);
}

TEST_F(Touch, ZoomDeliversTheChangeOfDistance) {
  TInteractiveGestures G = TInteractiveGestures{igZoom};
  TInteractiveGestureOptions O;
  Helper->CheckGestureOptions(G, O);
  struct {
    Integer Distance;
    TInteractiveGestureFlags Flags;
  } Events[] = {{100, TInteractiveGestureFlags{gfBegin}},
                {130, TInteractiveGestureFlags()},
                {120, TInteractiveGestureFlags{gfEnd}}};
  for (const auto& E : Events) {
    TGestureEventInfo Info;
    Info.GestureID = gcZoomEvent;
    Info.Distance = E.Distance;
    Info.Flags = E.Flags;
    bool Handled = false;
    Helper->DoGesture(Info, Handled);
    EXPECT_TRUE(Handled);
  }
  EXPECT_EQ(Client.ZoomDeltas, (std::vector<Integer>{0, 30, -10}));

  // A client without the zoom interface leaves the gesture unhandled.
  Client.ZoomAndRotate = false;
  TGestureEventInfo Info;
  Info.GestureID = gcZoomEvent;
  Info.Distance = 50;
  Info.Flags = TInteractiveGestureFlags{gfBegin};
  bool Handled = true;
  Helper->DoGesture(Info, Handled);
  EXPECT_FALSE(Handled);
}

// ---------------------------------------------------------------------------
// The message road

TEST_F(Touch, GestureReachesTheFirstAncestorThatTakesIt) {
  TFakeControl Form("form", nullptr, false, TInteractiveGestures(), TPoint{100, 100});
  TFakeControl Panel("panel", &Form, true, TInteractiveGestures{igPan}, TPoint{110, 120});
  TFakeControl Button("button", &Panel, true, TInteractiveGestures{igZoom}, TPoint{130, 140});
  FoundControl = &Form;
  ChildAtPoint = &Button;
  TouchStart(150, 160);
  // The start point reached the owner's client coordinates.
  EXPECT_EQ(ChildQueriedAt.x, 50);
  EXPECT_EQ(ChildQueriedAt.y, 60);

  struct {
    DWORD Id;
    TFakeControl* Expected;
  } Cases[] = {{GID_PAN, &Panel}, {GID_ZOOM, &Button}, {GID_ROTATE, &Form}};
  for (const auto& C : Cases) {
    Form.Events.clear();
    Panel.Events.clear();
    Button.Events.clear();
    EXPECT_EQ(SendGesture(C.Id, GF_BEGIN | GF_END, 150, 160, 0), 1);
    ASSERT_EQ(C.Expected->Events.size(), 1u) << C.Expected->Name;
    const TGestureEventInfo& E = C.Expected->Events[0];
    EXPECT_EQ(E.GestureID, static_cast<Integer>(C.Id) + 256);
    EXPECT_EQ(E.Location.x, 150 - C.Expected->Origin.x);
    EXPECT_EQ(E.Location.y, 160 - C.Expected->Origin.y);
    EXPECT_TRUE(E.Flags.Contains(gfBegin));
    EXPECT_TRUE(E.Flags.Contains(gfEnd));
    EXPECT_EQ(Form.Events.size() + Panel.Events.size() + Button.Events.size(), 1u);
  }
  // Handled by the control: closed here, once, and no default handling.
  EXPECT_EQ(ClosedHandles.size(), 3u);
  EXPECT_TRUE(DefaultHandled.empty());
}

TEST_F(Touch, GestureArgumentsBecomeEventFields) {
  TFakeControl Form("form", nullptr, false, TInteractiveGestures{igPan, igRotate, igPressAndTap},
                    TPoint{0, 0});
  Form.Wnd = Owner.Wnd;
  FoundControl = &Form;
  TouchStart(150, 160);
  const Double Pi = std::numbers::pi;
  struct {
    ULONGLONG Args;
    Double Angle;
  } Rotations[] = {{0x7FFF, -0.0000959},
                   {0x8000, 0.0000959},
                   {0, -2 * Pi},
                   {0xFFFF, 2 * Pi},
                   {0x1234FFFF, 2 * Pi}};
  for (const auto& R : Rotations) {
    Form.Events.clear();
    SendGesture(GID_ROTATE, GF_BEGIN, 150, 160, R.Args);
    ASSERT_EQ(Form.Events.size(), 1u);
    EXPECT_NEAR(Form.Events[0].Angle, R.Angle, 1e-7) << std::hex << R.Args;
  }
  Form.Events.clear();
  // Pan: distance in the low half, inertia vector (x, y) as signed words above.
  SendGesture(GID_PAN, 0, 150, 160, (0xFFFEULL << 48) | (0x0003ULL << 32) | 77);
  // Press and tap: the offset of the tap from the location, as signed words.
  SendGesture(GID_PRESSANDTAP, 0, 150, 160, (0xFFF6ULL << 16) | 0x0014);
  ASSERT_EQ(Form.Events.size(), 2u);
  EXPECT_EQ(Form.Events[0].Distance, 77);
  EXPECT_EQ(Form.Events[0].InertiaVector.x, 3);
  EXPECT_EQ(Form.Events[0].InertiaVector.y, -2);
  EXPECT_EQ(Form.Events[1].TapLocation.x, 170);
  EXPECT_EQ(Form.Events[1].TapLocation.y, 150);
}

TEST_F(Touch, UnansweredAndUnreadableGesturesGoToDefaultHandling) {
  TFakeControl Form("form", nullptr, false, TInteractiveGestures{igPan}, TPoint{0, 0});
  FoundControl = &Form;
  TouchStart(150, 160);

  // The control does not take it: default handling answers and frees it.
  Form.Answer = 0;
  EXPECT_EQ(SendGesture(GID_PAN, GF_BEGIN, 150, 160, 0), 42);
  EXPECT_EQ(DefaultHandled, (std::vector<HGESTUREINFO>{LastHandle}));
  EXPECT_TRUE(ClosedHandles.empty());

  // Information that cannot be read goes to default handling as well.
  DefaultHandled.clear();
  HGESTUREINFO Unknown = reinterpret_cast<HGESTUREINFO>(static_cast<INT_PTR>(0x9999));
  EXPECT_EQ(SendMessageW(Owner.Wnd, WM_GESTURE, GID_PAN, reinterpret_cast<LPARAM>(Unknown)), 42);
  EXPECT_EQ(DefaultHandled, (std::vector<HGESTUREINFO>{Unknown}));
  EXPECT_TRUE(ClosedHandles.empty());
  EXPECT_EQ(Form.Events.size(), 1u);

  // Begin and end of the whole sequence never reach a control.
  EXPECT_EQ(SendGesture(GID_BEGIN, GF_BEGIN, 150, 160, 0), 42);
  EXPECT_EQ(Form.Events.size(), 1u);
}

TEST_F(Touch, AGestureOutsideTheClientAreaHasNoTarget) {
  TFakeControl Form("form", nullptr, false, TInteractiveGestures{igPan}, TPoint{0, 0});
  FoundControl = &Form;
  TouchStart(50, 50);  // left of and above the window
  EXPECT_EQ(SendGesture(GID_PAN, GF_BEGIN, 50, 50, 0), 42);
  EXPECT_TRUE(Form.Events.empty());
  // A new touch start forgets the previous target.
  TouchStart(150, 160);
  TouchStart(50, 50);
  EXPECT_EQ(SendGesture(GID_PAN, GF_BEGIN, 50, 50, 0), 42);
  EXPECT_TRUE(Form.Events.empty());
}

}  // namespace
