#include "miAutomation.h"

IMPLEMENT_CLASS(TDispatchObject)
IMPLEMENT_CLASS(TMapInfoApplication)
IMPLEMENT_CLASS(TMBApplications)

namespace {

TServerLockProc GServerLock = nullptr;

enum : DISPID {
  DispVisible = 1,
  DispDo,
  DispEval,
  DispFullName,
  DispMBApplications,
  DispSetCallback,
  DispCount,
};

BSTR ToBstr(const String& S) { return SysAllocStringLen(S.data(), static_cast<UINT>(S.size())); }

void SetResultText(VARIANT* AResult, const String& S) {
  if (!AResult) return;
  VariantInit(AResult);
  V_VT(AResult) = VT_BSTR;
  V_BSTR(AResult) = ToBstr(S);
}

}  // namespace

void SetServerLockProc(TServerLockProc AProc) { GServerLock = AProc; }

String ModuleFileName() {
  String Path(MAX_PATH, L'\0');
  for (;;) {
    DWORD N = GetModuleFileNameW(nullptr, Path.data(), static_cast<DWORD>(Path.size()));
    if (N < Path.size()) {
      Path.resize(N);
      return Path;
    }
    Path.resize(Path.size() * 2);
  }
}

// ---------------------------------------------------------------------------

TDispatchObject::TDispatchObject() {
  if (GServerLock) GServerLock(true);
}

TDispatchObject::~TDispatchObject() {
  if (GServerLock) GServerLock(false);
}

HRESULT TDispatchObject::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  if (IsEqualIID(AIID, IID_IUnknown) || IsEqualIID(AIID, IID_IDispatch)) {
    *AObj = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *AObj = nullptr;
  return E_NOINTERFACE;
}

ULONG TDispatchObject::AddRef() { return InterlockedIncrement(&FRefCount); }

ULONG TDispatchObject::Release() {
  LONG N = InterlockedDecrement(&FRefCount);
  if (N == 0) Free();
  return N;
}

HRESULT TDispatchObject::GetTypeInfoCount(UINT* ACount) {
  if (!ACount) return E_POINTER;
  *ACount = 0;
  return S_OK;
}

HRESULT TDispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** AInfo) {
  if (AInfo) *AInfo = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT TDispatchObject::GetIDsOfNames(REFIID, LPOLESTR* ANames, UINT ACount, LCID, DISPID* AIds) {
  if (!ANames || !AIds) return E_POINTER;
  size_t N = 0;
  const TDispatchMember* M = Members(N);
  HRESULT Result = S_OK;
  for (UINT I = 0; I < ACount; ++I) {
    AIds[I] = DISPID_UNKNOWN;
    if (I > 0) {
      // Named arguments are not part of this interface.
      Result = DISP_E_UNKNOWNNAME;
      continue;
    }
    for (size_t K = 0; K < N; ++K)
      if (SameText(ANames[I], M[K].Name)) AIds[I] = M[K].Id;
    if (AIds[I] == DISPID_UNKNOWN) Result = DISP_E_UNKNOWNNAME;
  }
  return Result;
}

HRESULT TDispatchObject::Invoke(DISPID AId, REFIID, LCID, WORD AFlags, DISPPARAMS* AParams,
                                VARIANT* AResult, EXCEPINFO* AExcep, UINT* AArgErr) {
  std::vector<VARIANT*> Args;
  if (AParams) {
    // Only the value of a property put may be named.
    for (UINT I = 0; I < AParams->cNamedArgs; ++I)
      if (AParams->rgdispidNamedArgs[I] != DISPID_PROPERTYPUT) return DISP_E_NONAMEDARGS;
    for (UINT I = AParams->cArgs; I > 0; --I) Args.push_back(&AParams->rgvarg[I - 1]);
  }
  // Pre-size the result so a member that fails leaves a clean VARIANT.
  if (AResult) VariantInit(AResult);
  try {
    return DoInvoke(AId, AFlags, Args, AResult);
  } catch (const Exception& E) {
    if (AResult) VariantClear(AResult);
    if (AExcep) {
      ZeroMemory(AExcep, sizeof *AExcep);
      AExcep->bstrSource = ToBstr(L"MapInfo");
      AExcep->bstrDescription = ToBstr(E.Message());
      AExcep->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

String TDispatchObject::ArgText(const std::vector<VARIANT*>& AArgs, size_t AIndex) {
  VARIANT V;
  VariantInit(&V);
  VARIANT* Src = AArgs[AIndex];
  if (V_VT(Src) == (VT_BYREF | VT_VARIANT)) Src = V_VARIANTREF(Src);
  if (FAILED(VariantChangeType(&V, Src, VARIANT_ALPHABOOL, VT_BSTR)))
    RaiseMapBasicError(L"Argument " + std::to_wstring(AIndex + 1) + L" is not text.");
  String S(V_BSTR(&V) ? V_BSTR(&V) : L"", SysStringLen(V_BSTR(&V)));
  VariantClear(&V);
  return S;
}

bool TDispatchObject::Want(const std::vector<VARIANT*>& AArgs, size_t ACount) {
  return AArgs.size() == ACount;
}

// ---------------------------------------------------------------------------

TMapInfoApplication::TMapInfoApplication(HWND AMainWindow, TNotifyEvent AOnEnd)
    : FSession(MakeOwned<TMapBasicSession>()) {
  FSession->SetMainWindow(AMainWindow);
  FSession->OnEndApplication = AOnEnd;
}

TMapInfoApplication::~TMapInfoApplication() {
  if (FCallback) FCallback->Release();
}

const TDispatchMember* TMapInfoApplication::Members(size_t& ACount) const {
  static const TDispatchMember Table[] = {
      {L"Visible", DispVisible},
      {L"Do", DispDo},
      {L"Eval", DispEval},
      {L"FullName", DispFullName},
      {L"MBApplications", DispMBApplications},
      {L"SetCallback", DispSetCallback},
  };
  ACount = std::size(Table);
  return Table;
}

HRESULT TMapInfoApplication::DoInvoke(DISPID AId, WORD AFlags, const std::vector<VARIANT*>& AArgs,
                                      VARIANT* AResult) {
  bool Put = AFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  switch (AId) {
    case DispVisible: {
      HWND Wnd = FSession->MainWindow();
      if (Put) {
        if (!Want(AArgs, 1)) return DISP_E_BADPARAMCOUNT;
        VARIANT B;
        VariantInit(&B);
        if (FAILED(VariantChangeType(&B, AArgs[0], 0, VT_BOOL))) return DISP_E_TYPEMISMATCH;
        if (Wnd) ShowWindow(Wnd, V_BOOL(&B) ? SW_SHOWNORMAL : SW_HIDE);
        return S_OK;
      }
      if (!Want(AArgs, 0)) return DISP_E_BADPARAMCOUNT;
      if (AResult) {
        V_VT(AResult) = VT_BOOL;
        V_BOOL(AResult) = Wnd && IsWindowVisible(Wnd) ? VARIANT_TRUE : VARIANT_FALSE;
      }
      return S_OK;
    }
    case DispDo:
      if (!Want(AArgs, 1)) return DISP_E_BADPARAMCOUNT;
      FSession->Do(ArgText(AArgs, 0));
      return S_OK;
    case DispEval:
      if (!Want(AArgs, 1)) return DISP_E_BADPARAMCOUNT;
      SetResultText(AResult, FSession->Eval(ArgText(AArgs, 0)));
      return S_OK;
    case DispFullName:
      if (Put) return DISP_E_MEMBERNOTFOUND;
      SetResultText(AResult, ModuleFileName());
      return S_OK;
    case DispMBApplications: {
      if (Put) return DISP_E_MEMBERNOTFOUND;
      TMBApplications* Apps = Create<TMBApplications>();
      if (AResult) {
        V_VT(AResult) = VT_DISPATCH;
        V_DISPATCH(AResult) = Apps;
      } else {
        Apps->Release();
      }
      return S_OK;
    }
    case DispSetCallback: {
      if (!Want(AArgs, 1)) return DISP_E_BADPARAMCOUNT;
      VARIANT* V = AArgs[0];
      if (V_VT(V) == (VT_BYREF | VT_VARIANT)) V = V_VARIANTREF(V);
      IUnknown* Unk = nullptr;
      if (V_VT(V) == VT_DISPATCH || V_VT(V) == VT_UNKNOWN)
        Unk = V_UNKNOWN(V);
      else if (V_VT(V) != VT_EMPTY && V_VT(V) != VT_NULL && V_VT(V) != VT_ERROR)
        return DISP_E_TYPEMISMATCH;
      IDispatch* Callback = nullptr;
      if (Unk && FAILED(Unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&Callback))))
        return DISP_E_TYPEMISMATCH;
      if (FCallback) FCallback->Release();
      FCallback = Callback;
      return S_OK;
    }
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

// ---------------------------------------------------------------------------

const TDispatchMember* TMBApplications::Members(size_t& ACount) const {
  static const TDispatchMember Table[] = {{L"Item", DISPID_VALUE}, {L"Count", DispCount}};
  ACount = std::size(Table);
  return Table;
}

HRESULT TMBApplications::DoInvoke(DISPID AId, WORD AFlags, const std::vector<VARIANT*>& AArgs,
                                  VARIANT* AResult) {
  switch (AId) {
    case DISPID_VALUE: {
      if (!Want(AArgs, 1)) return DISP_E_BADPARAMCOUNT;
      String Name = ArgText(AArgs, 0);
      // The server runs no MapBasic programs, so no application is ever
      // running in it.
      RaiseMapBasicError(L"MapBasic application " + Name + L" is not running.");
    }
    case DispCount:
      if (AResult) {
        V_VT(AResult) = VT_I4;
        V_I4(AResult) = 0;
      }
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}
