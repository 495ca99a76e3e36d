#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "ComObj.h"
#include "CommaLocale.h"
#include "Pelmora.h"
#include "gkCommon.h"
#include "gkMapInfo.h"

namespace {

// An automation object that answers as the GIS program does: numbers of
// Eval in the regional format of the moment; every Do is recorded.
class TFakeProgram : public IDispatch {
 public:
  static std::vector<String>* Done;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Obj) override {
    if (IsEqualIID(Riid, IID_IUnknown) || IsEqualIID(Riid, IID_IDispatch)) {
      *Obj = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *Obj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&FRefs); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG R = InterlockedDecrement(&FRefs);
    if (R == 0) delete this;
    return R;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* Count) override {
    *Count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* Names, UINT Count, LCID,
                                          DISPID* Ids) override {
    for (UINT I = 0; I < Count; ++I)
      Ids[I] = FIds.emplace(Names[I], static_cast<DISPID>(FIds.size() + 1)).first->second;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID Id, REFIID, LCID, WORD Flags, DISPPARAMS* Params,
                                   VARIANT* Result, EXCEPINFO*, UINT*) override {
    String Member;
    for (const auto& [Name, Value] : FIds)
      if (Value == Id) Member = Name;
    if (Flags & DISPATCH_PROPERTYPUT) return S_OK;
    String Arg = Params->cArgs > 0 && Params->rgvarg[0].vt == VT_BSTR
                     ? String(Params->rgvarg[0].bstrVal)
                     : String();
    Variant Answer;
    if (Member == L"Do") {
      Done->push_back(Arg);
    } else if (Member == L"Eval") {
      wchar_t Sep[8] = L".";
      GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Sep, 8);
      Answer = Arg == L"SystemInfo(9)" ? Variant(L"1234") : Variant(String(L"3010") + Sep + L"5");
    } else if (Member == L"FullName") {
      Answer = Variant(L"C:\\MapInfo\\MAPINFOW.EXE");
    }
    if (Result) *Result = Answer.Detach();
    return S_OK;
  }

 private:
  LONG FRefs = 1;
  std::map<String, DISPID> FIds;
};

std::vector<String>* TFakeProgram::Done = nullptr;

TComPtr<IDispatch> CreateFakeProgram(const String&) {
  return TComPtr<IDispatch>::Attach(new TFakeProgram);
}

class MapInfoSession : public testing::Test {
 protected:
  void SetUp() override {
    gkCommon_Initialize();
    gkMapInfo_Initialize();
    TFakeProgram::Done = &Done;
    miSetCreateObjectProc(&CreateFakeProgram);
    CheckDBMS = false;
  }
  void TearDown() override {
    gkMapInfo_Finalize();
    miSetCreateObjectProc(nullptr);
    TFakeProgram::Done = nullptr;
    gkCommon_Finalize();
  }
  std::vector<String> Done;
};

TEST_F(MapInfoSession, OneInstanceAtATimeEndedWithItsSession) {
  TMapInfoFactory Factory;
  {
    std::unique_ptr<TGisSession> S = Factory.miCreateMapInfo();
    EXPECT_THROW(Factory.miCreateMapInfo(), EInvalidOperation);
    S->miDo(L"Set ProgressBars Off");
    EXPECT_TRUE(miOpened());
  }
  EXPECT_EQ(Done, (std::vector<String>{L"Set ProgressBars Off", L"End MapInfo"}));
  EXPECT_FALSE(miOpened());
  // A connection someone else left open is ended before a new instance.
  miCreateMapInfo();
  Done.clear();
  std::unique_ptr<TGisSession> S = Factory.miCreateMapInfo();
  EXPECT_EQ(Done, std::vector<String>{L"End MapInfo"});
}

// Eval answers in the regional format; the session reads them so under "."
// and ",".
TEST_F(MapInfoSession, EvalNumbersInTheRegionalFormat) {
  TMapInfoFactory Factory;
  std::unique_ptr<TGisSession> S = Factory.miCreateMapInfo();
  EXPECT_EQ(S->miEvalDbl(L"TableInfo(tab1,22)"), 3010.5);
  {
    TCommaLocale Comma;
    GetFormatSettings();
    EXPECT_EQ(S->miEval(L"TableInfo(tab1,22)"), L"3010,5");
    EXPECT_EQ(S->miEvalDbl(L"TableInfo(tab1,22)"), 3010.5);
  }
  GetFormatSettings();
  EXPECT_EQ(S->miEvalInt(L"SystemInfo(9)"), 1234);
}

}  // namespace
