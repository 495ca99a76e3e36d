// The painters describe themselves with skin details: their name, the
// built-in group, and their icons (or the skins' default icons).
#include <gtest/gtest.h>

#include "LookAndFeelTestSupport.h"
#include "dxSkinsCore.h"

namespace {
class TNamedPainter : public TcxStandardLookAndFeelPainter {
 public:
  explicit TNamedPainter(const wchar_t* AName) : FName(AName) {}
  String LookAndFeelName() override { return FName; }

 private:
  String FName;
};

// The icon's pixels as bytes, to tell the pictures apart.
TBytes Pixels(TdxSmartImage* AIcon) {
  const TRGBColors C = AIcon->GetBitmapBits();
  const Byte* B = reinterpret_cast<const Byte*>(C.data());
  return TBytes(B, B + C.size() * sizeof(RGBQUAD));
}
}  // namespace

TEST(PainterDetails, EveryPainterDescribesItselfOnceWithItsIcons) {
  TcxLookAndFeelPaintersManager* M = cxLookAndFeelPaintersManager();
  ASSERT_GT(M->Count(), 0);
  TOwned<TdxSkinDetails> Default(Create<TdxSkinDetails>());
  Default->ResetIcon(sis16);
  Default->ResetIcon(sis48);
  for (Integer I = 0; I < M->Count(); ++I) {
    TcxCustomLookAndFeelPainter* P = M->Items(I);
    const String Name = P->LookAndFeelName();
    SCOPED_TRACE(AnsiString(Name.begin(), Name.end()));
    TdxSkinDetails* D = nullptr;
    ASSERT_TRUE(P->GetPainterDetails(D));
    EXPECT_EQ(D, P->GetLookAndFeelPainterDetails());  // made once
    EXPECT_EQ(D->Name(), Name);
    EXPECT_EQ(D->DisplayName(), Name);
    EXPECT_EQ(D->GroupName(), L"Built-In Look && Feel Styles");
    EXPECT_EQ(D->GetIcon(sis16)->GetSize(), (TSize{16, 16}));
    EXPECT_EQ(D->GetIcon(sis48)->GetSize(), (TSize{48, 48}));
    // The program carries an icon of its own for each of its looks.
    EXPECT_NE(Pixels(D->GetIcon(sis48)), Pixels(Default->GetIcon(sis48)));
  }
}

TEST(PainterDetails, APainterWithoutIconsGetsTheDefaultOnes) {
  TOwned<TNamedPainter> P(Create<TNamedPainter>(L"NoSuchLook"));
  TdxSkinDetails* D = P->GetLookAndFeelPainterDetails();
  TOwned<TdxSkinDetails> Default(Create<TdxSkinDetails>());
  Default->ResetIcon(sis16);
  Default->ResetIcon(sis48);
  EXPECT_EQ(Pixels(D->GetIcon(sis16)), Pixels(Default->GetIcon(sis16)));
  EXPECT_EQ(Pixels(D->GetIcon(sis48)), Pixels(Default->GetIcon(sis48)));
  // The looks the program has no painter of yet still have their icons.
  for (const wchar_t* Look : {L"Flat", L"Office11"}) {
    TOwned<TNamedPainter> Q(Create<TNamedPainter>(Look));
    EXPECT_NE(Pixels(Q->GetLookAndFeelPainterDetails()->GetIcon(sis16)),
              Pixels(Default->GetIcon(sis16)));
  }
}
