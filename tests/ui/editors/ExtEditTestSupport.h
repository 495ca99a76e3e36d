// Helpers of the extended editors' settings tests: what a host component
// writes of its properties, and a count of change notifications.
#pragma once

#include <string>

#include "EditcoreTestSupport.h"
#include "cxEdit.h"

// The property lines of a written component, without its object line and end.
inline std::string PropertyLines(TComponent* AHost) {
  std::string S = FormResourceText(AHost);
  const size_t From = S.find('\n') + 1;
  const size_t To = S.rfind("end");
  return S.substr(From, To - From);
}

// Counts the change notifications of one properties object.
struct TChangeCounter {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
  void Attach(TcxCustomEditProperties* P) {
    P->SetOnPropertiesChanged(MakeEvent<&TChangeCounter::Changed>(this));
  }
};

// The process format settings with "." or "," as the regional decimal
// separator, for the life of the object.
class TDecimalSeparatorScope {
 public:
  explicit TDecimalSeparatorScope(Char ASeparator)
      : FSeparator(ASeparator), FSaved(FormatSettings()) {
    FormatSettings() = TFormatSettings::Create(LOCALE_USER_DEFAULT);
  }
  TDecimalSeparatorScope(const TDecimalSeparatorScope&) = delete;
  TDecimalSeparatorScope& operator=(const TDecimalSeparatorScope&) = delete;
  ~TDecimalSeparatorScope() { FormatSettings() = FSaved; }

 private:
  TDecimalSeparator FSeparator;
  TFormatSettings FSaved;
};

// A component that owns a properties object and streams it as an editor
// does, named Host.
#define DECLARE_PROPERTIES_HOST(Host_, Properties_)                  \
  class Host_ : public TComponent {                                  \
    DECLARE_CLASS(Host_, TComponent)                                 \
   public:                                                           \
    using TOwnerType = TComponent;                                   \
    explicit Host_(TComponent* AOwner) : TComponent(AOwner) {}       \
    void AfterConstruction() override {                              \
      inherited::AfterConstruction();                                \
      FProperties = MakeOwned<Properties_>(this);                    \
    }                                                                \
    Properties_* GetProperties() const { return FProperties.get(); } \
                                                                     \
   private:                                                          \
    TOwned<Properties_> FProperties;                                 \
  };

#define IMPLEMENT_PROPERTIES_HOST(Host_)                       \
  IMPLEMENT_CREATABLE_PUBLISHED_CLASS(Host_) {                 \
    P.template Property<&Host_::GetProperties>(L"Properties"); \
  }

// A new host named Host, registered for reading.
template <class THost>
TOwned<THost> NewHost() {
  RegisterClass(THost::StaticClass());
  TOwned<THost> Host(Create<THost>(nullptr));
  Host->SetName(L"Host");
  return Host;
}

// AHost written and read back into a new host.
template <class THost>
TOwned<THost> RoundTrip(THost* AHost) {
  return ReadFormResourceText<THost>(FormResourceText(AHost));
}
