#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Classes.h"
#include "WinHandles.h"

namespace {

TEST(HandleOwners, FreeTheirHandleOnceAndHandItOverOnRelease) {
  HBRUSH Made = CreateSolidBrush(RGB(1, 2, 3));
  {
    TBrushHandle Owner(Made);
    EXPECT_TRUE(Owner.Valid());
    TBrushHandle Moved(std::move(Owner));
    EXPECT_FALSE(Owner);
    EXPECT_EQ(Moved.Get(), Made);
    EXPECT_EQ(GetObjectType(Made), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(Made), 0u);  // deleted by the one owner left
  TBrushHandle Owner(CreateSolidBrush(RGB(4, 5, 6)));
  HBRUSH Kept = Owner.Release();
  EXPECT_FALSE(Owner);
  EXPECT_EQ(GetObjectType(Kept), static_cast<DWORD>(OBJ_BRUSH));
  Owner.Reset(Kept);
  Owner.Reset(CreateSolidBrush(RGB(7, 8, 9)));
  EXPECT_EQ(GetObjectType(Kept), 0u);  // replaced: the old one goes
  TFileHandle NoFile;
  EXPECT_EQ(NoFile.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(NoFile);
}

TEST(HandleOwners, GuardsPutTheDeviceContextBack) {
  TMemoryDC DC(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(DC);
  HGDIOBJ Stock = GetCurrentObject(DC.Get(), OBJ_BRUSH);
  TBrushHandle Brush(CreateSolidBrush(RGB(10, 20, 30)));
  {
    TSelectObjectGuard Select(DC.Get(), Brush.Get());
    EXPECT_EQ(GetCurrentObject(DC.Get(), OBJ_BRUSH), Brush.Get());
    EXPECT_EQ(Select.Previous(), Stock);
  }
  EXPECT_EQ(GetCurrentObject(DC.Get(), OBJ_BRUSH), Stock);
  SetTextColor(DC.Get(), RGB(1, 1, 1));
  {
    TSaveDCGuard Saved(DC.Get());
    SetTextColor(DC.Get(), RGB(200, 0, 0));
    TSelectObjectGuard Select(DC.Get(), Brush.Get());
  }
  EXPECT_EQ(GetTextColor(DC.Get()), RGB(1, 1, 1));
  EXPECT_EQ(GetCurrentObject(DC.Get(), OBJ_BRUSH), Stock);
  TScreenDC Screen;
  EXPECT_TRUE(Screen);
  EXPECT_EQ(GetScreenDPI(), GetDeviceCaps(Screen.Get(), LOGPIXELSY));
}

TEST(ScopeGuards, RunOnEveryPathAndReportTheFirstFailure) {
  std::vector<std::string> Log;
  {
    auto Done = Finally([&] { Log.push_back("normal"); });
  }
  try {
    auto Done = Finally([&] { Log.push_back("unwinding"); });
    throw EConvertError(L"work");
  } catch (const EConvertError&) {
    Log.push_back("caught");
  }
  {
    auto OnFailure = Finally([&] { Log.push_back("never"); });
    OnFailure.Dismiss();
  }
  EXPECT_EQ(Log, (std::vector<std::string>{"normal", "unwinding", "caught"}));
  // The finally work's own failure reaches the caller on the normal path...
  EXPECT_THROW({ auto Done = Finally([] { throw EAbort(L"finally"); }); }, EAbort);
  // ...and gives way to the work's failure while that one unwinds.
  EXPECT_THROW(
      {
        auto Done = Finally([] { throw EAbort(L"finally"); });
        throw EConvertError(L"work");
      },
      EConvertError);
}

TEST(ScopeGuards, UpdateScopeEndsTheUpdateAlsoOnFailure) {
  TOwned<TStringList> List(Create<TStringList>());
  int Changes = 0;
  struct Counter {
    int* N;
    void Hit(TObject*) { ++*N; }
  } Count{&Changes};
  List->OnChange = MakeEvent<&Counter::Hit>(&Count);
  try {
    auto Updating = UpdateScope(List.get());
    List->Add(L"a");
    List->Add(L"b");
    EXPECT_EQ(Changes, 0);
    throw EAbort(L"stop");
  } catch (const EAbort&) {
  }
  EXPECT_EQ(Changes, 1);
  List->Add(L"c");  // not updating any more: heard at once
  EXPECT_EQ(Changes, 2);
}

}  // namespace
