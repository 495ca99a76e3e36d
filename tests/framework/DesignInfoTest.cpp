#include <gtest/gtest.h>

#include "Classes.h"

namespace {

class TNonVisual : public TComponent {
  DECLARE_CLASS(TNonVisual, TComponent)
 public:
  using TComponent::TComponent;
};
IMPLEMENT_CREATABLE_CLASS(TNonVisual)

class TDesignRoot : public TComponent {
  DECLARE_CLASS(TDesignRoot, TComponent)
 public:
  using TComponent::TComponent;
};
IMPLEMENT_CREATABLE_CLASS(TDesignRoot)

TOwned<TMemoryStream> TextToBinary(const std::string& Text) {
  TOwned<TMemoryStream> In = MakeOwned<TMemoryStream>();
  In->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
  In->SetPosition(0);
  TOwned<TMemoryStream> Out = MakeOwned<TMemoryStream>();
  ObjectTextToBinary(In.get(), Out.get());
  Out->SetPosition(0);
  return Out;
}

// Components without a window keep their place in the designer as Left and
// Top, which a form file carries and a program reads without complaint.
TEST(DesignInfo, LeftAndTopOfNonVisualComponentsRoundTrip) {
  RegisterClasses({TNonVisual::StaticClass(), TDesignRoot::StaticClass()});
  auto Bin = TextToBinary(
      "object Root: TDesignRoot\n  object Dialog1: TNonVisual\n    Left = 584\n    Top = 120\n  "
      "end\nend\n");
  TOwned<TComponent> Root(ReadComponentFromStream(Bin.get(), nullptr));
  ASSERT_EQ(Root->ComponentCount(), 1);
  Integer Info = Root->Components(0)->DesignInfo();
  EXPECT_EQ(Info & 0xFFFF, 584);
  EXPECT_EQ((Info >> 16) & 0xFFFF, 120);
  TOwned<TMemoryStream> Written = MakeOwned<TMemoryStream>();
  WriteComponentToStream(Written.get(), Root.get());
  Written->SetPosition(0);
  TOwned<TMemoryStream> Text = MakeOwned<TMemoryStream>();
  ObjectBinaryToText(Written.get(), Text.get());
  std::string S(static_cast<const char*>(Text->Memory()), static_cast<size_t>(Text->Size()));
  EXPECT_NE(S.find("Left = 584"), std::string::npos) << S;
  EXPECT_NE(S.find("Top = 120"), std::string::npos) << S;
}

}  // namespace
