// A component that hears the application's events: any number of them may
// exist at once, each with its own handlers.
#pragma once

#include "Forms.h"

class TApplicationEvents : public TComponent {
  DECLARE_CLASS(TApplicationEvents, TComponent)
 public:
  using TOwnerType = TComponent;
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;

  // Every message the application's loop takes from the queue (see
  // TApplication::OnMessage); the objects made last hear it first.
  TMessageEvent OnMessage;
  TMessageEvent GetOnMessage() const { return OnMessage; }
  void SetOnMessage(TMessageEvent V) { OnMessage = V; }

 private:
  void DoMessage(MSG& Msg, bool& Handled);
};

void AppEvnts_Initialize();
