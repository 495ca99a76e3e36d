// A late-bound automation client, as the program reaches the server: names
// resolved with GetIDsOfNames, calls made through Invoke, automation errors
// turned into EOleException carrying the server's description.
#pragma once

#include <string>
#include <vector>

#include "SysUtils.h"

class TDispatchClient {
 public:
  TDispatchClient() = default;
  explicit TDispatchClient(IDispatch* ADisp) : FDisp(ADisp) {}  // takes the reference
  TDispatchClient(const TDispatchClient&) = delete;
  TDispatchClient& operator=(const TDispatchClient&) = delete;
  TDispatchClient(TDispatchClient&& C) noexcept : FDisp(C.FDisp) { C.FDisp = nullptr; }
  TDispatchClient& operator=(TDispatchClient&& C) noexcept {
    if (this != &C) {
      Clear();
      FDisp = C.FDisp;
      C.FDisp = nullptr;
    }
    return *this;
  }
  ~TDispatchClient() { Clear(); }

  // CoCreateInstance(CLSIDFromProgID(AProgID)) as the program does it.
  static TDispatchClient CreateByProgID(const wchar_t* AProgID) {
    CLSID Clsid;
    Check(CLSIDFromProgID(AProgID, &Clsid), L"CLSIDFromProgID");
    IDispatch* Disp = nullptr;
    Check(CoCreateInstance(Clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                           reinterpret_cast<void**>(&Disp)),
          L"CoCreateInstance");
    return TDispatchClient(Disp);
  }

  IDispatch* Get() const { return FDisp; }
  explicit operator bool() const { return FDisp != nullptr; }
  void Clear() {
    if (FDisp) FDisp->Release();
    FDisp = nullptr;
  }

  // AArgs in call order; the result is the caller's to VariantClear.
  VARIANT Call(const wchar_t* AName, WORD AFlags, std::vector<VARIANT> AArgs = {}) {
    DISPID Id;
    LPOLESTR Name = const_cast<LPOLESTR>(AName);
    Check(FDisp->GetIDsOfNames(IID_NULL, &Name, 1, LOCALE_USER_DEFAULT, &Id), AName);
    std::vector<VARIANT> Reversed(AArgs.rbegin(), AArgs.rend());
    DISPPARAMS Params = {Reversed.data(), nullptr, static_cast<UINT>(Reversed.size()), 0};
    DISPID PutId = DISPID_PROPERTYPUT;
    if (AFlags & DISPATCH_PROPERTYPUT) {
      Params.rgdispidNamedArgs = &PutId;
      Params.cNamedArgs = 1;
    }
    VARIANT Result;
    VariantInit(&Result);
    EXCEPINFO Excep = {};
    UINT ArgErr = 0;
    HRESULT Hr =
        FDisp->Invoke(Id, IID_NULL, LOCALE_USER_DEFAULT, AFlags, &Params,
                      (AFlags & DISPATCH_PROPERTYPUT) ? nullptr : &Result, &Excep, &ArgErr);
    for (VARIANT& V : AArgs) VariantClear(&V);
    if (Hr == DISP_E_EXCEPTION) {
      String Msg = Excep.bstrDescription ? Excep.bstrDescription : L"";
      String Source = Excep.bstrSource ? Excep.bstrSource : L"";
      HRESULT Code = Excep.scode;
      SysFreeString(Excep.bstrDescription);
      SysFreeString(Excep.bstrSource);
      SysFreeString(Excep.bstrHelpFile);
      throw EOleException(Msg, Code, Source);
    }
    Check(Hr, AName);
    return Result;
  }

  String CallText(const wchar_t* AName, std::vector<VARIANT> AArgs = {},
                  WORD AFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) {
    VARIANT V = Call(AName, AFlags, std::move(AArgs));
    VARIANT T;
    VariantInit(&T);
    Check(VariantChangeType(&T, &V, 0, VT_BSTR), L"VariantChangeType");
    String S(V_BSTR(&T), SysStringLen(V_BSTR(&T)));
    VariantClear(&T);
    VariantClear(&V);
    return S;
  }

  void Do(const String& AStatement) {
    VARIANT V = Call(L"Do", DISPATCH_METHOD, {Text(AStatement)});
    VariantClear(&V);
  }
  String Eval(const String& AExpression) { return CallText(L"Eval", {Text(AExpression)}); }

  static VARIANT Text(const String& S) {
    VARIANT V;
    VariantInit(&V);
    V_VT(&V) = VT_BSTR;
    V_BSTR(&V) = SysAllocStringLen(S.data(), static_cast<UINT>(S.size()));
    return V;
  }
  static VARIANT Bool(bool B) {
    VARIANT V;
    VariantInit(&V);
    V_VT(&V) = VT_BOOL;
    V_BOOL(&V) = B ? VARIANT_TRUE : VARIANT_FALSE;
    return V;
  }
  static void Check(HRESULT Hr, const String& AWhat) {
    if (FAILED(Hr)) throw EOleSysError(AWhat + L" failed: 0x" + Hex(Hr));
  }

 private:
  static String Hex(HRESULT Hr) {
    wchar_t Buf[16];
    swprintf(Buf, 16, L"%08lX", static_cast<unsigned long>(Hr));
    return Buf;
  }
  IDispatch* FDisp = nullptr;
};
