#include "Pelmora.h"
#include "gkMapInfo.h"
#include "gkMitabDyn.h"
#include "gkMitabUtils.h"

Integer TMitabFeatureCounter::GetValidRowCount(const String& ATabPath,
                                               std::vector<Integer>& ABroken) {
  SetgkMitabDynLibPathMiTab(FLibPath);
  return ::GetValidRowCount(ATabPath, ABroken);
}

class TMapInfoSession : public TGisSession {
 public:
  explicit TMapInfoSession(TMapInfoFactory& AOwner) : FOwner(AOwner) { FOwner.FLive = true; }
  ~TMapInfoSession() override {
    ::miCloseMapInfoServer();
    FOwner.FLive = false;
  }
  void miDo(const String& ACommand) override { ::miDo(ACommand); }
  String miEval(const String& AExpression) override { return ::miEval(AExpression); }
  Integer miEvalInt(const String& AExpression) override { return ::miEvalInt(AExpression); }
  Double miEvalDbl(const String& AExpression) override { return ::miEvalDbl(AExpression); }
  void miCloseTable(const String& AAlias) override { ::miCloseTable(AAlias); }

 private:
  TMapInfoFactory& FOwner;
};

std::unique_ptr<TGisSession> TMapInfoFactory::miCreateMapInfo() {
  if (FLive)
    throw EInvalidOperation(
        L"Экземпляр MapInfo уже запущен: второй одновременно не поддерживается.");
  if (::miOpened()) ::miCloseMapInfoServer();
  {
    auto OnFailure = Finally([&] {
      // A refused instance may still be running; it must not outlive the
      // failure.
      ::miCloseMapInfoServer();
    });
    ::miCreateMapInfo();
    OnFailure.Dismiss();
  }
  return std::make_unique<TMapInfoSession>(*this);
}
