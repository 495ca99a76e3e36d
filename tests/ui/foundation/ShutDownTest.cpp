#include <gtest/gtest.h>

#include "FoundationTestEnvironment.h"
#include "cxClasses.h"
#include "dxDPIAwareUtils.h"
#include "dxHooks.h"

namespace {

// Late callers after a module's shut-down get nothing instead of a fresh
// service object that nobody would free.
TEST(ShutDown, ServicesAreNotCreatedAgain) {
  FoundationShutDown();
  struct {
    const char* Name;
    const void* Service;
  } Cases[] = {
      {"units loader", dxUnitsLoader()},
      {"resource-string repository", dxResourceStringsRepository()},
      {"system scale factor", dxSystemScaleFactor()},
      {"default scale factor", dxDefaultScaleFactor()},
      {"desktop scale factor", dxDesktopScaleFactor()},
      {"hook controller", dxHookController()},
      {"ordinal comparer", TdxStringComparer::Ordinal()},
      {"case-insensitive comparer", TdxIStringComparer::Ordinal()},
      {"timer window", cxTimerWindow()},
      {"active timer list", ActiveTimerList()},
  };
  bool Clean[std::size(Cases)];
  for (size_t I = 0; I < std::size(Cases); ++I) Clean[I] = Cases[I].Service == nullptr;
  // Things that must stay harmless after shut-down.
  EXPECT_NO_THROW(dxReleaseHook(nullptr));
  TOwned<TcxTimer> Late = MakeOwned<TcxTimer>(nullptr);
  Late->SetOnTimer(nullptr);
  EXPECT_FALSE(Late->TimerOn());
  Late.reset();
  FoundationStartUp();
  for (size_t I = 0; I < std::size(Cases); ++I) EXPECT_TRUE(Clean[I]) << Cases[I].Name;
  EXPECT_NE(dxUnitsLoader(), nullptr);
  EXPECT_NE(dxSystemScaleFactor(), nullptr);
  EXPECT_NE(cxTimerWindow(), nullptr);
  EXPECT_EQ(cxGetResourceString(nullptr), L"");
}

}  // namespace
