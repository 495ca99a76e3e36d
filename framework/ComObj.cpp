#include "ComObj.h"

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
    wchar_t Hex[16];
    swprintf(Hex, 16, L"%08X", static_cast<unsigned>(ACode));
    Text = L"Unspecified error (" + String(Hex) + L")";
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
