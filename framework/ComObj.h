// COM helpers: an owning interface pointer, HRESULT checks, creating
// automation objects by programmatic identifier and late-bound calls.
#pragma once

#include <vector>

#include "SysUtils.h"
#include "Variants.h"

// Holds one reference to a COM interface; copying adds a reference, the
// destructor releases it.
template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already owns (as returned by
  // QueryInterface or a creation call).
  static TComPtr Attach(T* P) {
    TComPtr R;
    R.FPtr = P;
    return R;
  }
  // Adds its own reference to a borrowed pointer.
  static TComPtr Borrow(T* P) {
    TComPtr R;
    R.FPtr = P;
    if (P) P->AddRef();
    return R;
  }
  TComPtr(const TComPtr& O) : FPtr(O.FPtr) {
    if (FPtr) FPtr->AddRef();
  }
  TComPtr(TComPtr&& O) noexcept : FPtr(O.FPtr) { O.FPtr = nullptr; }
  TComPtr& operator=(TComPtr O) noexcept {
    std::swap(FPtr, O.FPtr);
    return *this;
  }
  ~TComPtr() { Reset(); }

  void Reset() {
    if (FPtr) {
      T* P = FPtr;
      FPtr = nullptr;
      P->Release();
    }
  }
  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  // Out-parameter access for creation calls; releases what was held.
  T** ReleaseAndGetAddressOf() {
    Reset();
    return &FPtr;
  }
  T* Detach() {
    T* P = FPtr;
    FPtr = nullptr;
    return P;
  }
  template <class U>
  TComPtr<U> Query(const IID& AIID) const {
    TComPtr<U> R;
    if (FPtr) FPtr->QueryInterface(AIID, reinterpret_cast<void**>(R.ReleaseAndGetAddressOf()));
    return R;
  }

 private:
  T* FPtr = nullptr;
};

// The platform's text for an HRESULT or error code.
String OleErrorMessage(HRESULT ACode);

// Raises EOleSysError with the platform's text when AResult is a failure.
HRESULT OleCheck(HRESULT AResult);

// Creates an automation object by programmatic identifier on this thread.
TComPtr<IDispatch> CreateOleObject(const String& AClassName);

// Owns a BSTR; frees it with SysFreeString.
class TBStr {
 public:
  TBStr() = default;
  explicit TBStr(const String& S)
      : FStr(SysAllocStringLen(S.data(), static_cast<UINT>(S.size()))) {}
  TBStr(const TBStr&) = delete;
  TBStr& operator=(const TBStr&) = delete;
  ~TBStr() { SysFreeString(FStr); }
  BSTR Get() const { return FStr; }
  BSTR* ReleaseAndGetAddressOf() {
    SysFreeString(FStr);
    FStr = nullptr;
    return &FStr;
  }
  String ToString() const { return FStr ? String(FStr, SysStringLen(FStr)) : String(); }

 private:
  BSTR FStr = nullptr;
};

// Owns a VARIANT; cleared with VariantClear.
class TOleVariantHolder {
 public:
  TOleVariantHolder() { VariantInit(&FVar); }
  TOleVariantHolder(const TOleVariantHolder&) = delete;
  TOleVariantHolder& operator=(const TOleVariantHolder&) = delete;
  ~TOleVariantHolder() { VariantClear(&FVar); }
  VARIANT* Ptr() { return &FVar; }
  const VARIANT& Get() const { return FVar; }

 private:
  VARIANT FVar;
};

// Late-bound automation calls by member name (GetIDsOfNames, then Invoke).
// Arguments are given in their natural order. A server error reported with
// DISP_E_EXCEPTION raises EOleException carrying the server's description,
// code and source; an unknown member raises EOleError; any other failure
// EOleSysError with the platform's text.
Variant DispatchInvoke(IDispatch* ADisp, const String& AName, WORD AFlags,
                       std::initializer_list<Variant> AArgs);
// A method call that also accepts a parameterised property read.
Variant DispatchCall(IDispatch* ADisp, const String& AName,
                     std::initializer_list<Variant> AArgs = {});
Variant DispatchGet(IDispatch* ADisp, const String& AName);
void DispatchPut(IDispatch* ADisp, const String& AName, const Variant& AValue);
// The automation object a variant holds; empty for any other value.
TComPtr<IDispatch> VarToDispatch(const Variant& AValue);
