#include <gtest/gtest.h>

#include "cxGeometry.h"

namespace {

class TChanges : public TObject {
 public:
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

// Whether the form writer would write the property.
bool Written(TObject* AObject, const wchar_t* AName) {
  const TPropInfo* P = GetPropInfo(AObject, AName);
  return P && IsStoredProp(AObject, P) && !IsDefaultPropValue(AObject, P);
}

std::vector<Byte> Bytes(TMemoryStream* S) {
  const Byte* P = static_cast<const Byte*>(S->Memory());
  return std::vector<Byte>(P, P + S->Size());
}

TEST(GeometryObjects, RectSettersAndChangeEvents) {
  TChanges C;
  TOwned<TcxRect> R = MakeOwned<TcxRect>(nullptr);
  R->SetOnChange(MakeEvent<&TChanges::Changed>(&C));
  R->SetLeft(0);  // current value: no event
  EXPECT_EQ(C.Count, 0);
  R->SetLeft(5);
  R->SetWidth(10);
  EXPECT_EQ(R->Right(), 15);
  EXPECT_EQ(C.Count, 2);
  R->SetRect(cxRect(1, 2, 3, 4));
  EXPECT_EQ(R->Vertex(1), cxPoint(3, 2));
  EXPECT_EQ(R->Vertex(9), cxPoint(3, 4));
  int Before = C.Count;
  R->SetVertex(7, cxPoint(100, 100));
  R->SetValue(9, 100);
  EXPECT_EQ(C.Count, Before);
  R->SetVertex(2, cxPoint(0, 9));
  EXPECT_EQ(R->Rect(), cxRect(0, 2, 3, 9));

  R->SetRect(cxRect(1, 1, 3, 3));
  Before = C.Count;
  R->ChangeScale(3, 2);
  EXPECT_EQ(R->Rect(), cxRect(2, 2, 5, 5));
  EXPECT_EQ(C.Count, Before + 1);
  EXPECT_FALSE(R->IsEmpty());
  EXPECT_TRUE(Written(R.get(), L"Left"));
  R->SetRect(cxRect(0, 0, 0, 5));
  EXPECT_TRUE(R->IsEmpty());
  EXPECT_FALSE(Written(R.get(), L"Left"));
  EXPECT_TRUE(Written(R.get(), L"Bottom"));
}

TEST(GeometryObjects, SizeClampsAndStoresAgainstItsDefault) {
  TChanges C;
  TOwned<TcxSize> S = MakeOwned<TcxSize>(nullptr, 16, 16);
  S->SetOnChange(MakeEvent<&TChanges::Changed>(&C));
  S->SetSize(cxSize(-5, 10));
  EXPECT_EQ(S->GetSize(), cxSize(0, 10));
  S->SetSize(cxSize(16, 20));
  EXPECT_FALSE(Written(S.get(), L"Width"));
  EXPECT_TRUE(Written(S.get(), L"Height"));
  S->ChangeScale(3, 2);
  EXPECT_EQ(S->GetSize(), cxSize(24, 30));
  EXPECT_EQ(C.Count, 3);
  TOwned<TcxSize> Copy = MakeOwned<TcxSize>(nullptr);
  Copy->Assign(S.get());
  EXPECT_TRUE(Copy->IsEqual(S.get()));
}

TEST(GeometryObjects, MarginAllAndSides) {
  struct {
    TRect Sides;
    Integer Default;
    Integer All;
    bool AllStored, SidesStored;
  } Cases[] = {
      {{2, 2, 2, 2}, 0, 2, true, false},
      {{2, 2, 2, 2}, 2, 2, false, false},
      {{1, 2, 3, 4}, 0, -1, true, true},
      {{1, 2, 3, 4}, -1, -1, false, true},
  };
  for (const auto& T : Cases) {
    TOwned<TcxMargin> M = MakeOwned<TcxMargin>(nullptr, T.Default);
    M->SetMargin(T.Sides);
    EXPECT_EQ(M->All(), T.All);
    EXPECT_EQ(Written(M.get(), L"All"), T.AllStored);
    EXPECT_EQ(Written(M.get(), L"Left"), T.SidesStored);
  }
  TChanges C;
  TOwned<TcxMargin> M = MakeOwned<TcxMargin>(nullptr);
  M->SetOnChange(MakeEvent<&TChanges::Changed>(&C));
  M->SetAll(5);
  EXPECT_EQ(M->Margin(), cxRect(5, 5, 5, 5));
  EXPECT_EQ(C.Count, 1);
  M->SetMargin(cxRect(1, 1, 3, 3));
  M->ChangeScale(3, 2);  // rescales silently
  EXPECT_EQ(M->Margin(), cxRect(2, 2, 5, 5));
  EXPECT_EQ(C.Count, 2);
}

TEST(GeometryObjects, RawStreamForms) {
  TOwned<TMemoryStream> S = MakeOwned<TMemoryStream>();
  TOwned<TcxRect> R = MakeOwned<TcxRect>(nullptr);
  R->SetRect(cxRect(1, -2, 300, 4));
  R->SaveToStream(S.get());
  EXPECT_EQ(Bytes(S.get()),
            (std::vector<Byte>{1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x2C, 1, 0, 0, 4, 0, 0, 0}));
  TOwned<TcxSize> Size = MakeOwned<TcxSize>(nullptr);
  Size->SetSize(cxSize(7, 9));
  Size->SaveToStream(S.get());
  TOwned<TcxMargin> M = MakeOwned<TcxMargin>(nullptr);
  M->SetMargin(cxRect(1, 2, 3, 4));
  M->SaveToStream(S.get());
  EXPECT_EQ(S->Size(), 40);

  S->SetPosition(0);
  TOwned<TcxRect> R2 = MakeOwned<TcxRect>(nullptr);
  TOwned<TcxSize> Size2 = MakeOwned<TcxSize>(nullptr);
  TOwned<TcxMargin> M2 = MakeOwned<TcxMargin>(nullptr);
  R2->LoadFromStream(S.get());
  Size2->LoadFromStream(S.get());
  M2->LoadFromStream(S.get());
  EXPECT_TRUE(R2->IsEqual(R.get()));
  EXPECT_EQ(Size2->GetSize(), cxSize(7, 9));
  EXPECT_TRUE(M2->IsEqual(M.get()));

  S->SetPosition(36);  // only 4 bytes left
  EXPECT_THROW(R2->LoadFromStream(S.get()), EReadError);
  EXPECT_TRUE(R2->IsEqual(R.get()));
}

TEST(GeometryObjects, RectClassIsRegisteredForForms) {
  EXPECT_EQ(GetClass(L"TcxRect"), TcxRect::StaticClass());
}

}  // namespace
