#include "ComObj.h"

#include <iterator>

String OleErrorMessage(HRESULT ACode) {
  wchar_t* Buf = nullptr;
  DWORD Len = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(ACode), 0, reinterpret_cast<wchar_t*>(&Buf), 0, nullptr);
  String Text;
  if (Buf) {
    Text.assign(Buf, Len);
    LocalFree(Buf);
  }
  while (!Text.empty() && (Text.back() == L'\r' || Text.back() == L'\n' || Text.back() == L' '))
    Text.pop_back();
  if (Text.empty()) {
    Text = L"Unspecified error (" + IntToHex(static_cast<Integer>(ACode), 8) + L")";
  }
  return Text;
}

HRESULT OleCheck(HRESULT AResult) {
  if (FAILED(AResult)) throw EOleSysError(OleErrorMessage(AResult));
  return AResult;
}

TComPtr<IDispatch> CreateOleObject(const String& AClassName) {
  CLSID Id;
  OleCheck(CLSIDFromProgID(AClassName.c_str(), &Id));
  TComPtr<IDispatch> Disp;
  OleCheck(CoCreateInstance(Id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(Disp.ReleaseAndGetAddressOf())));
  return Disp;
}

namespace {
const wchar_t* const SNoMethod = L"Method '%s' not supported by automation object";

[[noreturn]] void RaiseDispException(EXCEPINFO& AInfo) {
  if (AInfo.pfnDeferredFillIn) AInfo.pfnDeferredFillIn(&AInfo);
  TBStr Description, Source, HelpFile;
  *Description.ReleaseAndGetAddressOf() = AInfo.bstrDescription;
  *Source.ReleaseAndGetAddressOf() = AInfo.bstrSource;
  *HelpFile.ReleaseAndGetAddressOf() = AInfo.bstrHelpFile;
  HRESULT Code = AInfo.scode != 0
                     ? AInfo.scode
                     : (AInfo.wCode != 0 ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, AInfo.wCode)
                                         : DISP_E_EXCEPTION);
  String Message = TrimRight(Description.ToString());
  if (Message.empty()) Message = OleErrorMessage(Code);
  throw EOleException(Message, Code, Source.ToString(), HelpFile.ToString(),
                      static_cast<Integer>(AInfo.dwHelpContext));
}
}  // namespace

Variant DispatchInvoke(IDispatch* ADisp, const String& AName, WORD AFlags,
                       std::initializer_list<Variant> AArgs) {
  if (!ADisp) throw EOleError(L"Automation object is not assigned");
  DISPID Id = DISPID_UNKNOWN;
  LPOLESTR Names[1] = {const_cast<LPOLESTR>(AName.c_str())};
  if (FAILED(ADisp->GetIDsOfNames(IID_NULL, Names, 1, LOCALE_USER_DEFAULT, &Id))) {
    throw EOleError(Format(SNoMethod, {AName}));
  }
  // Invoke takes the arguments last to first; the variants stay owned by
  // the caller's list.
  std::vector<VARIANTARG> Args;
  Args.reserve(AArgs.size());
  for (auto It = std::rbegin(AArgs); It != std::rend(AArgs); ++It) Args.push_back(It->Var());
  DISPID PutId = DISPID_PROPERTYPUT;
  DISPPARAMS Params{};
  Params.cArgs = static_cast<UINT>(Args.size());
  Params.rgvarg = Args.empty() ? nullptr : Args.data();
  if (AFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    Params.cNamedArgs = 1;
    Params.rgdispidNamedArgs = &PutId;
  }
  Variant Result;
  EXCEPINFO Info{};
  UINT ArgErr = 0;
  HRESULT Hr = ADisp->Invoke(
      Id, IID_NULL, LOCALE_USER_DEFAULT, AFlags, &Params,
      (AFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? nullptr : Result.Ptr(), &Info,
      &ArgErr);
  if (Hr == DISP_E_EXCEPTION) RaiseDispException(Info);
  OleCheck(Hr);
  return Result;
}

Variant DispatchCall(IDispatch* ADisp, const String& AName, std::initializer_list<Variant> AArgs) {
  return DispatchInvoke(ADisp, AName, DISPATCH_METHOD | DISPATCH_PROPERTYGET, AArgs);
}

Variant DispatchGet(IDispatch* ADisp, const String& AName) {
  return DispatchInvoke(ADisp, AName, DISPATCH_PROPERTYGET, {});
}

void DispatchPut(IDispatch* ADisp, const String& AName, const Variant& AValue) {
  DispatchInvoke(ADisp, AName, DISPATCH_PROPERTYPUT, {AValue});
}

TComPtr<IDispatch> VarToDispatch(const Variant& AValue) {
  const VARIANT& V = AValue.Var();
  if (V.vt == VT_DISPATCH) return TComPtr<IDispatch>::Borrow(V.pdispVal);
  if (V.vt == (VT_DISPATCH | VT_BYREF) && V.ppdispVal) {
    return TComPtr<IDispatch>::Borrow(*V.ppdispVal);
  }
  return TComPtr<IDispatch>();
}
