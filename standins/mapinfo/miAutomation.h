// The automation objects of the server: the application object clients
// create by the programmatic identifier, and the collection of MapBasic
// applications running in it.
#pragma once

#include "miMapBasic.h"

// {6C1B8F52-3E0A-4B57-9B7E-2F5D8A41C903}
inline constexpr CLSID CLSID_MapInfoApplication = {
    0x6c1b8f52, 0x3e0a, 0x4b57, {0x9b, 0x7e, 0x2f, 0x5d, 0x8a, 0x41, 0xc9, 0x03}};
inline constexpr wchar_t MapInfoProgID[] = L"MapInfo.Application";

// Process lifetime: every automation object holds the server process while
// it lives. The server installs the hook; a test that hosts the objects
// in-process leaves it empty.
using TServerLockProc = void (*)(bool ALock);
void SetServerLockProc(TServerLockProc AProc);

struct TDispatchMember {
  const wchar_t* Name;
  DISPID Id;
};

// Late-bound IDispatch over a table of member names. Errors raised by a
// member become DISP_E_EXCEPTION with the message as the description.
class TDispatchObject : public TObject, public IDispatch {
  DECLARE_CLASS(TDispatchObject, TObject)
 public:
  TDispatchObject();
  ~TDispatchObject() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* ACount) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** AInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* ANames, UINT ACount, LCID,
                                          DISPID* AIds) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID AId, REFIID, LCID, WORD AFlags, DISPPARAMS* AParams,
                                   VARIANT* AResult, EXCEPINFO* AExcep, UINT* AArgErr) override;

 protected:
  virtual const TDispatchMember* Members(size_t& ACount) const = 0;
  // Runs a member; raises EMapBasicError for the client to see. A member
  // this object does not have returns DISP_E_MEMBERNOTFOUND.
  virtual HRESULT DoInvoke(DISPID AId, WORD AFlags, const std::vector<VARIANT*>& AArgs,
                           VARIANT* AResult) = 0;
  static String ArgText(const std::vector<VARIANT*>& AArgs, size_t AIndex);
  static bool Want(const std::vector<VARIANT*>& AArgs, size_t ACount);

 private:
  LONG FRefCount = 1;
};

class TMapInfoApplication : public TDispatchObject {
  DECLARE_CLASS(TMapInfoApplication, TDispatchObject)
 public:
  // The session belongs to the application object; AMainWindow is the
  // process's hidden main window, shown and hidden through Visible.
  TMapInfoApplication(HWND AMainWindow, TNotifyEvent AOnEnd);
  ~TMapInfoApplication() override;

  TMapBasicSession& Session() { return *FSession; }

 protected:
  const TDispatchMember* Members(size_t& ACount) const override;
  HRESULT DoInvoke(DISPID AId, WORD AFlags, const std::vector<VARIANT*>& AArgs,
                   VARIANT* AResult) override;

 private:
  TOwned<TMapBasicSession> FSession;
  IDispatch* FCallback = nullptr;
};

class TMBApplications : public TDispatchObject {
  DECLARE_CLASS(TMBApplications, TDispatchObject)
 protected:
  const TDispatchMember* Members(size_t& ACount) const override;
  HRESULT DoInvoke(DISPID AId, WORD AFlags, const std::vector<VARIANT*>& AArgs,
                   VARIANT* AResult) override;
};

// The full path of the running executable.
String ModuleFileName();
