// Exceptions, string and number conversion, Format, file-name routines.
#pragma once

#include <vector>

#include "System.h"

// ---------------------------------------------------------------------------
// Exceptions. Thrown by value, caught by reference. Every class can raise a
// fresh exception of its own run-time class ("raise a new exception of the
// caught exception's class") through RaiseNew.
class Exception : public TObject {
  DECLARE_CLASS_INLINE(Exception, TObject)
 public:
  explicit Exception(const String& AMessage = String()) : FMessage(AMessage) {}
  Exception(const Exception& E) : TObject(), FMessage(E.FMessage), FHelpContext(E.FHelpContext) {}
  Exception& operator=(const Exception& E) {
    FMessage = E.FMessage;
    FHelpContext = E.FHelpContext;
    return *this;
  }

  const String& Message() const { return FMessage; }
  void SetMessage(const String& AMessage) { FMessage = AMessage; }
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer AValue) { FHelpContext = AValue; }

  [[noreturn]] virtual void RaiseNew(const String& AMessage) const { throw Exception(AMessage); }
  // A heap copy of the same run-time class, for code that keeps an exception
  // past its handler (thread results, deferred re-raise).
  virtual Exception* Clone() const { return new Exception(*this); }
  [[noreturn]] virtual void Raise() const { throw *this; }

 private:
  String FMessage;
  Integer FHelpContext = 0;
};

#define DECLARE_EXCEPTION_BODY(Name_, Parent_)                                     \
  DECLARE_CLASS_INLINE(Name_, Parent_)                                             \
 public:                                                                           \
  using Parent_::Parent_;                                                          \
  Name_(const Name_&) = default;                                                   \
  Name_& operator=(const Name_&) = default;                                        \
  [[noreturn]] void RaiseNew(const String& AMessage) const override {              \
    Name_ E(*this);                                                                \
    E.SetMessage(AMessage);                                                        \
    throw E;                                                                       \
  }                                                                                \
  Exception* Clone() const override { return new Name_(*this); }                   \
  [[noreturn]] void Raise() const override { throw *this; }

// Declares an exception class that adds nothing but its identity.
#define DECLARE_EXCEPTION(Name_, Parent_) \
  class Name_ : public Parent_ {          \
    DECLARE_EXCEPTION_BODY(Name_, Parent_) \
  };

DECLARE_EXCEPTION(EAbort, Exception)
DECLARE_EXCEPTION(EConvertError, Exception)
DECLARE_EXCEPTION(EListError, Exception)
DECLARE_EXCEPTION(EStreamError, Exception)
DECLARE_EXCEPTION(EFCreateError, EStreamError)
DECLARE_EXCEPTION(EFOpenError, EStreamError)
DECLARE_EXCEPTION(EFilerError, EStreamError)
DECLARE_EXCEPTION(EReadError, EFilerError)
DECLARE_EXCEPTION(EWriteError, EFilerError)
DECLARE_EXCEPTION(EClassNotFound, EFilerError)
DECLARE_EXCEPTION(EInvalidOperation, Exception)
DECLARE_EXCEPTION(EInvalidCast, Exception)
DECLARE_EXCEPTION(EInvalidPointer, Exception)
DECLARE_EXCEPTION(EAssertionFailed, Exception)
DECLARE_EXCEPTION(EArgumentException, Exception)
DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException)
DECLARE_EXCEPTION(ENotSupportedException, Exception)
DECLARE_EXCEPTION(EOutOfMemory, Exception)
DECLARE_EXCEPTION(EIntError, Exception)
DECLARE_EXCEPTION(EDivByZero, EIntError)
DECLARE_EXCEPTION(ERangeError, EIntError)
DECLARE_EXCEPTION(EIntOverflow, EIntError)
DECLARE_EXCEPTION(EMathError, Exception)
DECLARE_EXCEPTION(EZeroDivide, EMathError)
DECLARE_EXCEPTION(EOverflow, EMathError)
DECLARE_EXCEPTION(EInvalidOp, EMathError)
DECLARE_EXCEPTION(EVariantError, Exception)
DECLARE_EXCEPTION(EComponentError, Exception)
DECLARE_EXCEPTION(EStringListError, EListError)
DECLARE_EXCEPTION(EInOutError, Exception)
DECLARE_EXCEPTION(EThread, Exception)
DECLARE_EXCEPTION(EOleError, Exception)
DECLARE_EXCEPTION(EOleSysError, EOleError)

class EOSError : public Exception {
  DECLARE_EXCEPTION_BODY(EOSError, Exception)
 public:
  EOSError(const String& AMessage, DWORD ACode) : Exception(AMessage), FErrorCode(ACode) {}
  DWORD ErrorCode() const { return FErrorCode; }
  void SetErrorCode(DWORD ACode) { FErrorCode = ACode; }

 private:
  DWORD FErrorCode = 0;
};

// An automation error: the server's message, its HRESULT and source.
class EOleException : public EOleSysError {
  DECLARE_EXCEPTION_BODY(EOleException, EOleSysError)
 public:
  EOleException(const String& AMessage, HRESULT ACode, const String& ASource = String(),
                const String& AHelpFile = String(), Integer AHelpContext = 0)
      : EOleSysError(AMessage), FErrorCode(ACode), FSource(ASource), FHelpFile(AHelpFile) {
    SetHelpContext(AHelpContext);
  }
  HRESULT ErrorCode() const { return FErrorCode; }
  const String& Source() const { return FSource; }
  const String& HelpFile() const { return FHelpFile; }

 private:
  HRESULT FErrorCode = 0;
  String FSource;
  String FHelpFile;
};

// Raises the silent exception that ends an action without a message.
[[noreturn]] void Abort();

// Assertions the design reports as an "Assertion failure" exception.
[[noreturn]] void AssertErrorProc(const String& AMessage, const char* AFile, int ALine);
#define Assert(Cond_, ...)                                                       \
  do {                                                                           \
    if (!(Cond_)) AssertErrorProc(String(L"" __VA_ARGS__), __FILE__, __LINE__); \
  } while (0)

// ---- the rest of SysUtils follows: strings, Format, floats, files ----
