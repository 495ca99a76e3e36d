#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>

#include "cxClasses.h"
#include "dxDPIAwareUtils.h"

namespace {

TEST(SmallRoutines, HintsRangeCentreSign) {
  struct {
    const wchar_t *Hint, *Short, *Long;
  } Hints[] = {{L"Text|Long", L"Text", L"Long"},
               {L"Whole", L"Whole", L"Whole"},
               {L"|Long", L"", L"Long"},
               {L"a|b|c", L"a", L"b|c"}};
  for (const auto& H : Hints) {
    EXPECT_EQ(GetShortHint(H.Hint), H.Short);
    EXPECT_EQ(GetLongHint(H.Hint), H.Long);
  }
  struct {
    Integer A, B, Center;
  } Centers[] = {{-3, 0, -2}, {3, 0, 1}, {-1, 0, -1}, {0, 0, 0}, {10, 20, 15}, {-4, -4, -4}};
  for (const auto& C : Centers) EXPECT_EQ(GetRangeCenter(C.A, C.B), C.Center) << C.A << " " << C.B;
  EXPECT_EQ(cxSign(0), 1);
  EXPECT_EQ(cxSign(-0.5), -1);
  EXPECT_EQ(cxStrCharLength(L"ab", 1), 1);
  EXPECT_EQ(Size(3, 4), cxSize(3, 4));
}

class TCounted : public TObject {
 public:
  explicit TCounted(int* ACounter) : FCounter(ACounter) {}
  ~TCounted() override { ++*FCounter; }
  int* FCounter;
};

TEST(ObjectList, FreesOnClearOnlyWhenOwning) {
  int Freed = 0;
  {
    TcxObjectList L(true);
    TCounted* A = new TCounted(&Freed);
    L.Add(A);
    L.Add(new TCounted(&Freed));
    L.Add(new TCounted(&Freed));
    L.Remove(A);  // the list's own removal never frees
    EXPECT_EQ(Freed, 0);
    L.Add(A);
    EXPECT_EQ(L.FreeAndRemove(A), 2);
    EXPECT_EQ(Freed, 1);
    L.FreeAndDelete(0);
    EXPECT_EQ(Freed, 2);
  }
  EXPECT_EQ(Freed, 3);
  TcxObjectList NotOwning(false);
  TCounted Kept(&Freed);
  NotOwning.Add(&Kept);
  NotOwning.Clear();
  EXPECT_EQ(Freed, 3);
}

class TBase : public TObject {
  DECLARE_CLASS_INLINE(TBase, TObject)
};
class TDerived : public TBase {
  DECLARE_CLASS_INLINE(TDerived, TBase)
};
class TMore : public TDerived {
  DECLARE_CLASS_INLINE(TMore, TDerived)
};
class TX : public TObject {
  DECLARE_CLASS_INLINE(TX, TObject)
};
class TY : public TObject {
  DECLARE_CLASS_INLINE(TY, TObject)
};
class TZ : public TObject {
  DECLARE_CLASS_INLINE(TZ, TObject)
};

TEST(RegisteredClassList, LookUpByInheritance) {
  TcxRegisteredClassList L;
  L.Register(TBase::StaticClass(), TX::StaticClass());
  EXPECT_EQ(L.FindClass(TDerived::StaticClass()), TX::StaticClass());
  L.Register(TDerived::StaticClass(), TY::StaticClass());
  EXPECT_EQ(L.FindClass(TDerived::StaticClass()), TY::StaticClass());
  EXPECT_EQ(L.FindClass(TMore::StaticClass()), TY::StaticClass());
  EXPECT_EQ(L.FindClass(TBase::StaticClass()), TX::StaticClass());
  EXPECT_EQ(L.FindClass(TZ::StaticClass()), nullptr);

  L.Register(TBase::StaticClass(), TZ::StaticClass());  // the newest wins
  EXPECT_EQ(L.FindClass(TBase::StaticClass()), TZ::StaticClass());
  L.Unregister(TBase::StaticClass(), TZ::StaticClass());
  EXPECT_EQ(L.FindClass(TBase::StaticClass()), TX::StaticClass());

  TcxRegisteredClassList Reverse;  // descendant first, ancestor afterwards
  Reverse.Register(TDerived::StaticClass(), TY::StaticClass());
  Reverse.Register(TBase::StaticClass(), TX::StaticClass());
  EXPECT_EQ(Reverse.Items(0)->ItemClass, TBase::StaticClass());
  EXPECT_EQ(Reverse.FindClass(TDerived::StaticClass()), TY::StaticClass());
  Integer Index = -1;
  TcxRegisteredClassList Only;
  Only.Register(TDerived::StaticClass(), TY::StaticClass());
  EXPECT_FALSE(Only.Find(TBase::StaticClass(), Index));
  EXPECT_EQ(Index, 0);  // the first descendant registration
  EXPECT_THROW(Only.Items(5), EListError);
}

TEST(RegisteredClasses, DescriptionsHintsAndSorting) {
  TcxRegisteredClasses R;
  R.Register(TY::StaticClass(), L"Yankee|The Y class");
  R.Register(TX::StaticClass(), L"xray|The X class");
  R.Register(TX::StaticClass(), L"Other");  // the first registration stays
  R.Register(TZ::StaticClass(), L"");
  EXPECT_EQ(R.Count(), 3);
  EXPECT_EQ(R.GetDescriptionByClass(TX::StaticClass()), L"xray");
  EXPECT_EQ(R.GetHintByClass(TY::StaticClass()), L"The Y class");
  EXPECT_EQ(R.GetHintByClass(TBase::StaticClass()), L"");
  EXPECT_EQ(R.FindByClassName(L"TX"), TX::StaticClass());
  EXPECT_EQ(R.FindByClassName(L"tx"), nullptr);
  EXPECT_EQ(R.FindByDescription(L"Yankee"), TY::StaticClass());
  EXPECT_EQ(R.FindByDescription(L""), nullptr);
  R.SetSorted(true);
  EXPECT_EQ(R.Items(0), TZ::StaticClass());
  EXPECT_EQ(R.Items(1), TX::StaticClass());  // case-insensitive: xray before Yankee
  R.Register(TBase::StaticClass(), L"Alpha");
  EXPECT_EQ(R.Items(1), TBase::StaticClass());
  R.Unregister(TX::StaticClass());
  EXPECT_EQ(R.GetIndexByClass(TX::StaticClass()), -1);
}

TEST(ObjectLinks, ClearedWhenTheComponentIsFreed) {
  TcxComponent* C = Create<TcxComponent>(nullptr);
  TcxObjectLink* L1 = cxAddObjectLink(C);
  TcxObjectLink* L2 = cxAddObjectLink(C);
  EXPECT_EQ(cxAddObjectLink(nullptr), nullptr);
  cxRemoveObjectLink(L2);
  C->Free();
  EXPECT_EQ(L1->Ref, nullptr);
  cxRemoveObjectLink(L1);
  cxRemoveObjectLink(nullptr);
  TObject Plain;
  TcxObjectLink* L3 = cxAddObjectLink(&Plain);
  cxClearObjectLinks(&Plain);
  EXPECT_EQ(L3->Ref, nullptr);
  cxRemoveObjectLink(L3);
}

TEST(ObjectLinks, AGuardSeesItsObjectGoWithinItsScope) {
  TcxComponent* C = Create<TcxComponent>(nullptr);
  {
    TcxObjectLinkGuard Guard(C);
    TcxObjectLinkGuard Other(C);
    EXPECT_TRUE(Guard.Alive());
    C->Free();
    EXPECT_FALSE(Guard.Alive());
    EXPECT_FALSE(Other.Alive());
  }
  TcxObjectLinkGuard None(nullptr);
  EXPECT_FALSE(None.Alive());
}

class TWatcher : public TObject {
 public:
  std::vector<TComponent*> Freed;
  void OnFree(TComponent* C) { Freed.push_back(C); }
};

TEST(FreeNotificator, ReportsFreedSendersUntilRemoved) {
  TWatcher W;
  TOwned<TcxFreeNotificator> N = MakeOwned<TcxFreeNotificator>(nullptr);
  N->SetOnFreeNotification(MakeEvent<&TWatcher::OnFree>(&W));
  TComponent* A = Create<TComponent>(nullptr);
  TComponent* B = Create<TComponent>(nullptr);
  N->AddSender(A);
  N->AddSender(B);
  N->AddSender(nullptr);
  N->RemoveSender(B);
  A->Free();
  B->Free();
  EXPECT_EQ(W.Freed, std::vector<TComponent*>{A});
}

TEST(PersistentBases, OwnerAndAssignment) {
  TOwned<TcxOwnedPersistent> Owner = MakeOwned<TcxOwnedPersistent>(nullptr);
  TOwned<TcxOwnedPersistent> P = MakeOwned<TcxOwnedPersistent>(Owner.get());
  EXPECT_EQ(GetPersistentOwner(P.get()), Owner.get());
  EXPECT_NO_THROW(P->Assign(Owner.get()));
  TOwned<TcxInterfacedPersistent> I = MakeOwned<TcxInterfacedPersistent>(Owner.get());
  EXPECT_EQ(GetPersistentOwner(I.get()), Owner.get());
  EXPECT_THROW(P->Assign(I.get()), EConvertError);
}

class TScaled : public TcxScalableComponent {
  DECLARE_CLASS(TScaled, TcxScalableComponent)
 public:
  using TcxScalableComponent::TcxScalableComponent;
  std::vector<std::pair<Integer, Integer>> Changes;
  void STDMETHODCALLTYPE ChangeScale(Integer M, Integer D) override {
    Changes.emplace_back(M, D);
    TcxScalableComponent::ChangeScale(M, D);
  }
};
IMPLEMENT_CREATABLE_CLASS(TScaled)

TOwned<TMemoryStream> FormStream(const char* AText) {
  TOwned<TMemoryStream> Text = MakeOwned<TMemoryStream>();
  Text->WriteBuffer(AText, static_cast<Integer>(std::strlen(AText)));
  Text->SetPosition(0);
  TOwned<TMemoryStream> Binary = MakeOwned<TMemoryStream>();
  ObjectTextToBinary(Text.get(), Binary.get());
  Binary->SetPosition(0);
  return Binary;
}

TEST(ScalableComponent, RescalesSizesStoredAtAnotherDPI) {
  struct {
    bool Scalable;
    size_t ChangeCount;
  } Cases[] = {{true, 1}, {false, 0}};
  for (const auto& C : Cases) {
    TOwned<TScaled> S = MakeOwned<TScaled>(nullptr);
    S->SetScalable(C.Scalable);
    EXPECT_EQ(S->PixelsPerInch(), 96);
    TOwned<TMemoryStream> Form = FormStream("object Scaled: TScaled\n  PixelsPerInch = 120\nend\n");
    ReadComponentFromStream(Form.get(), S.get());
    ASSERT_EQ(S->Changes.size(), C.ChangeCount);
    if (C.Scalable) {
      EXPECT_EQ(S->Changes[0], std::make_pair(96, 120));
    }
    EXPECT_EQ(S->PixelsPerInch(), 96);  // set to the owner's DPI in any case
  }
  TOwned<TScaled> S = MakeOwned<TScaled>(nullptr);
  S->ScaleFactor()->Assign(3, 2, false);
  TOwned<TMemoryStream> Binary = MakeOwned<TMemoryStream>();
  WriteComponentToStream(Binary.get(), S.get());
  Binary->SetPosition(0);
  TOwned<TMemoryStream> Text = MakeOwned<TMemoryStream>();
  ObjectBinaryToText(Binary.get(), Text.get());
  std::string Written(static_cast<const char*>(Text->Memory()), static_cast<size_t>(Text->Size()));
  EXPECT_NE(Written.find("PixelsPerInch = 144"), std::string::npos) << Written;
  EXPECT_EQ(dxGetScaleFactor(S.get()), S->ScaleFactor());
  void* Intf = nullptr;
  EXPECT_TRUE(Supports(S.get(), __uuidof(IcxScalableComponent), &Intf));
}

class TListening : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TComponent*> Removed;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != this) Removed.push_back(AComponent);
  }
};

TEST(Component, BroadcastTellsEveryPartnerAndTheOwner) {
  TOwned<TListening> Owner(Create<TListening>(nullptr));
  TOwned<TListening> PartnerA(Create<TListening>(nullptr));
  TOwned<TListening> PartnerB(Create<TListening>(nullptr));
  TComponent* Subject = Create<TComponent>(Owner.get());
  Subject->FreeNotification(PartnerA.get());
  Subject->FreeNotification(PartnerB.get());
  cxBroadcastRemoveNotifications(Subject);
  using TSeen = std::vector<TComponent*>;
  EXPECT_EQ(PartnerA->Removed, TSeen{Subject});
  EXPECT_EQ(PartnerB->Removed, TSeen{Subject});
  EXPECT_EQ(Owner->Removed, TSeen{Subject});
  // The subscriptions are gone both ways: freeing either side tells nobody.
  PartnerA.reset();
  Subject->Free();
  EXPECT_EQ(PartnerB->Removed, TSeen{Subject});
  cxBroadcastRemoveNotifications(nullptr);
}

class TLinked : public TcxComponent {
 public:
  using TcxComponent::TcxComponent;
  TComponent* Partner = nullptr;
  void Design() { SetDesigning(true, false); }

 protected:
  void GetFakeComponentLinks(TList* AList) override { AList->Add(Partner); }
};

TEST(Component, FakeLinksOnlyAtDesignTime) {
  TOwned<TComponent> Owner = MakeOwned<TComponent>(nullptr);
  TLinked* L = Create<TLinked>(Owner.get());
  TComponent* Partner = Create<TComponent>(Owner.get());
  L->Partner = Partner;
  L->SetFakeComponentLink3(Owner.get());
  L->UpdateFakeLinks();  // not designing: nothing changes
  EXPECT_EQ(L->GetFakeComponentLink1(), nullptr);
  EXPECT_EQ(L->GetFakeComponentLink3(), Owner.get());
  L->Design();
  L->UpdateFakeLinks();
  EXPECT_EQ(L->GetFakeComponentLink1(), Partner);
  EXPECT_EQ(L->GetFakeComponentLink2(), nullptr);
  EXPECT_EQ(L->GetFakeComponentLink3(), nullptr);
  EXPECT_TRUE(L->IsDesigning());
}

// --- message window and timers

class TTicks : public TObject {
 public:
  int Count = 0;
  TcxTimer* StopOnTick = nullptr;
  void Tick(TObject*) {
    ++Count;
    if (StopOnTick) StopOnTick->SetEnabled(false);
  }
};

void PumpUntil(const std::function<bool()>& ADone, int ARounds = 500) {
  // Bounded wait for messages that the platform timer posts.
  for (int I = 0; I < ARounds && !ADone(); ++I) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Msg);
  }
}

TEST(Timers, StartStopAndRestartRules) {
  TTicks T;
  TOwned<TcxTimer> Timer = MakeOwned<TcxTimer>(nullptr);
  EXPECT_TRUE(Timer->Enabled());
  EXPECT_EQ(Timer->Interval(), 1000u);
  EXPECT_FALSE(Timer->TimerOn());  // no handler yet
  Timer->SetOnTimer(MakeEvent<&TTicks::Tick>(&T));
  EXPECT_TRUE(Timer->TimerOn());
  EXPECT_GE(ActiveTimerList()->IndexOf(Timer.get()), 0);
  Timer->SetInterval(0);
  EXPECT_EQ(Timer->Interval(), 1000u);
  EXPECT_TRUE(Timer->TimerOn());
  Timer->SetEnabled(false);
  EXPECT_FALSE(Timer->TimerOn());
  EXPECT_EQ(ActiveTimerList()->IndexOf(Timer.get()), -1);
  Timer->SetEnabled(true);
  EXPECT_TRUE(Timer->TimerOn());

  TOwned<TcxTimer> Stopped(cxCreateTimer(MakeEvent<&TTicks::Tick>(&T), 50, false));
  EXPECT_FALSE(Stopped->TimerOn());
  EXPECT_EQ(Stopped->Interval(), 50u);
  Stopped->SetEnabled(true);
  EXPECT_TRUE(Stopped->TimerOn());
}

TEST(Timers, DispatchOnTheSharedWindow) {
  TTicks A, B;
  TOwned<TcxTimer> TA(cxCreateTimer(MakeEvent<&TTicks::Tick>(&A), 100000));
  TcxTimer* TB = cxCreateTimer(MakeEvent<&TTicks::Tick>(&B), 100000);
  HWND Wnd = cxTimerWindow()->Handle();
  ASSERT_NE(Wnd, nullptr);
  bool MessageOnly = false;
  for (HWND W = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); W && !MessageOnly;
       W = FindWindowExW(HWND_MESSAGE, W, nullptr, nullptr))
    MessageOnly = W == Wnd;
  EXPECT_TRUE(MessageOnly);
  SendMessageW(Wnd, WM_TIMER, TA->EventID(), 0);
  SendMessageW(Wnd, WM_TIMER, TB->EventID(), 0);
  EXPECT_EQ(A.Count, 1);
  EXPECT_EQ(B.Count, 1);
  UINT_PTR FreedID = TB->EventID();
  TB->Free();  // a message still queued for it must not reach it
  SendMessageW(Wnd, WM_TIMER, FreedID, 0);
  SendMessageW(Wnd, WM_TIMER, 12345, 0);
  SendMessageW(Wnd, WM_TIMER, TA->EventID(), 0);
  EXPECT_EQ(A.Count, 2);
  EXPECT_EQ(B.Count, 1);
}

TEST(Timers, AStaleTimerMessageReachesNeitherALaterRunNorALaterTimer) {
  HWND Wnd = cxTimerWindow()->Handle();
  TTicks A;
  TOwned<TcxTimer> Timer(cxCreateTimer(MakeEvent<&TTicks::Tick>(&A), 100000));
  UINT_PTR FirstRun = Timer->EventID();
  Timer->SetEnabled(false);
  Timer->SetEnabled(true);
  EXPECT_NE(Timer->EventID(), FirstRun);
  SendMessageW(Wnd, WM_TIMER, FirstRun, 0);
  EXPECT_EQ(A.Count, 0);
  SendMessageW(Wnd, WM_TIMER, Timer->EventID(), 0);
  EXPECT_EQ(A.Count, 1);

  // A timer created right after another was freed usually takes its memory.
  std::set<UINT_PTR> Seen{FirstRun, Timer->EventID()};
  for (int I = 0; I < 20; ++I) {
    TTicks B;
    TcxTimer* Old = cxCreateTimer(MakeEvent<&TTicks::Tick>(&B), 100000);
    UINT_PTR OldID = Old->EventID();
    Old->Free();
    TOwned<TcxTimer> New(cxCreateTimer(MakeEvent<&TTicks::Tick>(&B), 100000));
    SendMessageW(Wnd, WM_TIMER, OldID, 0);
    EXPECT_EQ(B.Count, 0) << "round " << I;
    EXPECT_TRUE(Seen.insert(OldID).second);
    EXPECT_TRUE(Seen.insert(New->EventID()).second);
  }
}

TEST(Timers, PlatformTimerFires) {
  TTicks T;
  TOwned<TcxTimer> Timer(cxCreateTimer(MakeEvent<&TTicks::Tick>(&T), 10));
  T.StopOnTick = Timer.get();
  PumpUntil([&] { return T.Count > 0; });
  EXPECT_EQ(T.Count, 1);
  EXPECT_FALSE(Timer->TimerOn());
  PumpUntil([] { return false; }, 30);  // stopped: no further ticks arrive
  EXPECT_EQ(T.Count, 1);
}

TEST(MessageWindow, ExceptionsStayInsideTheWindowProcedure) {
  class TThrowing : public TcxMessageWindow {
   protected:
    void WndProc(TMessage& M) override {
      if (M.Msg == WM_APP) throw EAbort(L"");
      if (M.Msg == WM_APP + 1) {
        M.Result = 42;
        return;
      }
      TcxMessageWindow::WndProc(M);
    }
  };
  TOwned<TThrowing> W = MakeOwned<TThrowing>();
  EXPECT_EQ(SendMessageW(W->Handle(), WM_APP + 1, 0, 0), 42);
  EXPECT_NO_THROW(SendMessageW(W->Handle(), WM_APP, 0, 0));
}

// A plain window of the platform's own class, destroyed with the scope.
class TPlainWindow {
 public:
  TPlainWindow(DWORD AStyle, DWORD AExStyle, HWND AParent, const RECT& ABounds)
      : FHandle(CreateWindowExW(AExStyle, L"STATIC", L"", AStyle, ABounds.left, ABounds.top,
                                ABounds.right - ABounds.left, ABounds.bottom - ABounds.top, AParent,
                                nullptr, nullptr, nullptr)) {}
  ~TPlainWindow() {
    if (FHandle) DestroyWindow(FHandle);
  }
  TPlainWindow(const TPlainWindow&) = delete;
  TPlainWindow& operator=(const TPlainWindow&) = delete;
  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle;
};

// The timers' window and every message window are message-only from their
// creation: under Wine, a hidden top-level window moved under the message
// root afterwards is activated and takes the keyboard focus from the window
// the user works in.
TEST(MessageWindow, CreatingOneLeavesFocusAndActivationAlone) {
  TPlainWindow Frame(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, RECT{60, 60, 360, 260});
  HWND Edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 24,
                              Frame.Handle(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(Frame.Handle() && Edit);
  TTicks Ticks;
  const struct {
    const char* What;
    std::function<TObject*()> Make;
  } Cases[] = {
      {"message window", [] { return Create<TcxMessageWindow>(); }},
      {"timer window", [] { return Create<TcxTimerWindow>(); }},
      // The shared timer window, made here when no timer ran before.
      {"timer", [&] { return cxCreateTimer(MakeEvent<&TTicks::Tick>(&Ticks), 100000); }},
  };
  for (const auto& C : Cases) {
    SetForegroundWindow(Frame.Handle());
    SetFocus(Edit);
    PumpUntil([&] { return GetFocus() == Edit; });
    ASSERT_EQ(GetFocus(), Edit) << C.What;
    TObject* Made = C.Make();
    PumpUntil([] { return false; }, 20);
    EXPECT_EQ(GetFocus(), Edit) << C.What;
    EXPECT_EQ(GetActiveWindow(), Frame.Handle()) << C.What;
    Made->Free();
  }
  const HWND Timers = cxTimerWindow()->Handle();
  bool MessageOnly = false;
  for (HWND W = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); W && !MessageOnly;
       W = FindWindowExW(HWND_MESSAGE, W, nullptr, nullptr))
    MessageOnly = W == Timers;
  EXPECT_TRUE(MessageOnly);
}

TEST(WindowRectangles, BoundsOffsetsAndMapping) {
  TPlainWindow Frame(WS_OVERLAPPEDWINDOW, 0, nullptr, RECT{100, 80, 400, 300});
  TPlainWindow Child(WS_CHILD | WS_BORDER, 0, Frame.Handle(), RECT{10, 20, 110, 70});
  ASSERT_TRUE(Frame.Handle() && Child.Handle());
  RECT W, C;
  GetWindowRect(Frame.Handle(), &W);
  GetClientRect(Frame.Handle(), &C);
  EXPECT_EQ(cxGetWindowRect(Frame.Handle()), TRect(W));
  EXPECT_EQ(cxGetClientRect(Frame.Handle()), TRect(C));
  EXPECT_EQ(cxGetWindowBounds(Frame.Handle()), cxRect(0, 0, W.right - W.left, W.bottom - W.top));
  // A handle that is no window: empty rectangles, no error.
  HWND Gone = nullptr;
  {
    TPlainWindow Brief(WS_POPUP, 0, nullptr, RECT{0, 0, 10, 10});
    Gone = Brief.Handle();
  }
  EXPECT_EQ(cxGetWindowRect(Gone), cxNullRect);
  EXPECT_EQ(cxGetClientRect(Gone), cxNullRect);
  EXPECT_EQ(cxGetWindowBounds(Gone), cxNullRect);

  // Where the client area starts inside the window: the frame's width on
  // the left, the title and frame on top; a mirrored window counts from
  // its right edge.
  POINT Origin{0, 0};
  ClientToScreen(Frame.Handle(), &Origin);
  EXPECT_EQ(cxGetClientOffset(Frame.Handle()), (TPoint{Origin.x - W.left, Origin.y - W.top}));
  TPlainWindow Mirrored(WS_OVERLAPPEDWINDOW, WS_EX_LAYOUTRTL, nullptr, RECT{100, 80, 400, 300});
  RECT MW;
  GetWindowRect(Mirrored.Handle(), &MW);
  POINT MO{0, 0};
  ClientToScreen(Mirrored.Handle(), &MO);
  EXPECT_EQ(cxGetClientOffset(Mirrored.Handle()), (TPoint{MW.right - MO.x, MO.y - MW.top}));

  // Mapping a rectangle from the child to the frame: client to client, or
  // window to window; the size stays.
  TRect R = cxRect(1, 2, 31, 12), Mapped;
  POINT P{1, 2};
  MapWindowPoints(Child.Handle(), Frame.Handle(), &P, 1);
  dxMapWindowRect(Child.Handle(), Frame.Handle(), R, Mapped, true);
  EXPECT_EQ(Mapped, cxRect(P.x, P.y, P.x + 30, P.y + 10));
  RECT CW;
  GetWindowRect(Child.Handle(), &CW);
  dxMapWindowRect(Child.Handle(), Frame.Handle(), R, Mapped, false);
  EXPECT_EQ(Mapped, cxRectOffset(R, CW.left - W.left, CW.top - W.top));

  EXPECT_TRUE(IsChildClassWindow(Child.Handle()));
  EXPECT_FALSE(IsChildClassWindow(Frame.Handle()));
}

}  // namespace
