#include <gtest/gtest.h>

#include "SysUtils.h"

namespace {

class TAnimal : public TObject {
  DECLARE_CLASS(TAnimal, TObject)
 public:
  int* Log = nullptr;
  void AfterConstruction() override { Constructed = Kind(); }
  void BeforeDestruction() override {
    if (Log) *Log += 1;
  }
  virtual String Kind() const { return L"animal"; }
  String Constructed;
};

class TDog : public TAnimal {
  DECLARE_CLASS(TDog, TAnimal)
 public:
  String Kind() const override { return L"dog"; }
  int Bark(int Times) { return Times * 2; }
};

IMPLEMENT_CLASS(TAnimal)
IMPLEMENT_CREATABLE_CLASS(TDog)

TEST(ObjectModel, ClassReferencesAndTwoPhaseCreation) {
  TDog* Dog = Create<TDog>();
  EXPECT_EQ(Dog->ClassName(), L"TDog");
  EXPECT_TRUE(Dog->InheritsFrom(TAnimal::StaticClass()));
  EXPECT_TRUE(Dog->InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(Create<TAnimal>()->InheritsFrom(TDog::StaticClass()));
  // AfterConstruction reaches the override, which a constructor could not.
  EXPECT_EQ(Dog->Constructed, L"dog");
  EXPECT_EQ(AsOrNull<TDog>(Dog), Dog);
  int Freed = 0;
  Dog->Log = &Freed;
  TAnimal* Ptr = Dog;
  FreeAndNil(Ptr);
  EXPECT_EQ(Freed, 1);
  EXPECT_EQ(Ptr, nullptr);
  FreeAndNil(Ptr);  // null-safe
  EXPECT_EQ(Freed, 1);
}

TEST(ObjectModel, CreateThroughClassReferenceAndCheckedCast) {
  TClass Cls = TDog::StaticClass();
  TObject* Obj = Cls->Create();
  ASSERT_NE(Obj, nullptr);
  EXPECT_EQ(Obj->ClassName(), L"TDog");
  EXPECT_EQ(TAnimal::StaticClass()->Create(), nullptr);  // abstract: no factory
  TOwned<TObject> Plain(Create<TAnimal>());
  EXPECT_THROW(As<TDog>(Plain.get()), EInvalidCast);
  EXPECT_EQ(As<TDog>(nullptr), nullptr);
  Obj->Free();
}

TEST(Events, EqualByObjectAndMethod) {
  TDog A, B;
  auto E1 = MakeEvent<&TDog::Bark>(&A);
  auto E2 = MakeEvent<&TDog::Bark>(&A);
  auto E3 = MakeEvent<&TDog::Bark>(&B);
  EXPECT_EQ(E1, E2);
  EXPECT_NE(E1, E3);
  EXPECT_EQ(E1(21), 42);
  decltype(E1) Empty;
  EXPECT_FALSE(Empty.Assigned());
  auto Back = decltype(E1)::FromMethod(E3.Method());
  EXPECT_EQ(Back, E3);
}

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

TEST(Sets, Operations) {
  using S = TSet<TFontStyle>;
  S A{TFontStyle::fsBold, TFontStyle::fsItalic};
  S B{TFontStyle::fsItalic, TFontStyle::fsUnderline};
  EXPECT_EQ(A + B, (S{TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline}));
  EXPECT_EQ(A - B, S{TFontStyle::fsBold});
  EXPECT_EQ(A * B, S{TFontStyle::fsItalic});
  EXPECT_TRUE(S{TFontStyle::fsBold} <= A);
  EXPECT_FALSE(A <= B);
  A.Exclude(TFontStyle::fsBold).Include(TFontStyle::fsStrikeOut);
  EXPECT_TRUE(A.Contains(TFontStyle::fsStrikeOut));
  EXPECT_FALSE(A.Contains(TFontStyle::fsBold));
  EXPECT_EQ(S::FromBits(A.ToBits()), A);
}

struct StringCase {
  const wchar_t* S;
  int Index, Count;
  const wchar_t* Copied;
  const wchar_t* AfterDelete;
};

TEST(Strings, OneBasedPrimitives) {
  const StringCase Cases[] = {
      {L"abcdef", 2, 3, L"bcd", L"aef"},
      {L"abcdef", 1, 100, L"abcdef", L""},
      {L"abcdef", 0, 2, L"ab", L"abcdef"},
      {L"abcdef", 7, 1, L"", L"abcdef"},
      {L"abcdef", 3, 0, L"", L"abcdef"},
      {L"abcdef", 6, 5, L"f", L"abcde"},
      {L"", 1, 1, L"", L""},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Copy(String(C.S), C.Index, C.Count), C.Copied) << C.S << " " << C.Index;
    String D = C.S;
    Delete(D, C.Index, C.Count);
    EXPECT_EQ(D, C.AfterDelete) << C.S << " " << C.Index;
  }
  EXPECT_EQ(Pos(L"cd", L"abcdcd"), 3);
  EXPECT_EQ(Pos(L"cd", L"abcdcd", 4), 5);
  EXPECT_EQ(Pos(L"x", L"abc"), 0);
  EXPECT_EQ(Pos(L"", L"abc"), 0);
  String S = L"ace";
  Insert(L"b", S, 2);
  Insert(L"d", S, 4);
  Insert(L"f", S, 100);
  EXPECT_EQ(S, L"abcdef");
}

TEST(Exceptions, RaiseNewKeepsRunTimeClass) {
  try {
    try {
      throw EConvertError(L"bad number");
    } catch (Exception& E) {
      E.RaiseNew(L"again: " + E.Message());
    }
  } catch (EConvertError& E) {
    EXPECT_EQ(E.Message(), L"again: bad number");
    EXPECT_EQ(E.ClassName(), L"EConvertError");
    return;
  }
  FAIL() << "EConvertError expected";
}

TEST(Exceptions, CloneAndAbortAndAssert) {
  EOSError Os(L"denied", 5);
  std::unique_ptr<Exception> Copy(Os.Clone());
  EXPECT_EQ(Copy->ClassName(), L"EOSError");
  EXPECT_EQ(static_cast<EOSError*>(Copy.get())->ErrorCode(), 5u);
  EXPECT_THROW(Copy->Raise(), EOSError);
  EXPECT_THROW(Abort(), EAbort);
  try {
    Assert(1 + 1 == 3, "math");
    FAIL();
  } catch (EAssertionFailed& E) {
    EXPECT_EQ(Pos(L"math (", E.Message()), 1);
  }
}

}  // namespace
