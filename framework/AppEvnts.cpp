#include "AppEvnts.h"

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TApplicationEvents) {
  P.Property<&TApplicationEvents::GetOnMessage, &TApplicationEvents::SetOnMessage>(L"OnMessage");
}

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  if (TApplication* App = Application())
    App->AddMessageListener(MakeEvent<&TApplicationEvents::DoMessage>(this));
}

TApplicationEvents::~TApplicationEvents() {
  if (TApplication* App = Application())
    App->RemoveMessageListener(MakeEvent<&TApplicationEvents::DoMessage>(this));
}

void TApplicationEvents::DoMessage(MSG& Msg, bool& Handled) {
  if (OnMessage) OnMessage(Msg, Handled);
}

void AppEvnts_Initialize() { RegisterClasses({TApplicationEvents::StaticClass()}); }
