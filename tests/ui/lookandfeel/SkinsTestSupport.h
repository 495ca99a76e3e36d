// Fixtures and byte helpers shared by the skin tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dxSkinsCore.h"

namespace SkinsTest {

// The bytes of a compiled-in fixture (LookAndFeelTest.rc).
inline TBytes Fixture(const wchar_t* AName) {
  TOwned<TResourceStream> S(
      Create<TResourceStream>(GetModuleHandleW(nullptr), String(AName), MAKEINTRESOURCEW(10)));
  TBytes R(static_cast<size_t>(S->Size()), 0);
  if (!R.empty()) S->ReadBuffer(R.data(), static_cast<Integer>(R.size()));
  return R;
}

inline TOwned<TBytesStream> StreamOf(const TBytes& ABytes) {
  TOwned<TBytesStream> S(Create<TBytesStream>(ABytes));
  S->SetPosition(0);
  return S;
}

inline TBytes BytesOf(TBytesStream* AStream) {
  TBytes R = AStream->Bytes();
  R.resize(static_cast<size_t>(AStream->Size()));
  return R;
}

inline TBytes SaveSkin(TdxSkin* ASkin) {
  TOwned<TBytesStream> S(Create<TBytesStream>());
  ASkin->SaveToStream(S.get());
  return BytesOf(S.get());
}

inline TOwned<TdxSkin> LoadSkin(const TBytes& ABytes) {
  TOwned<TdxSkin> ASkin(Create<TdxSkin>(String()));
  TOwned<TBytesStream> S = StreamOf(ABytes);
  ASkin->LoadFromStream(S.get());
  return ASkin;
}

inline TOwned<TdxSkin> LoadFixtureSkin(const wchar_t* AName) { return LoadSkin(Fixture(AName)); }

// A PNG of solid frames laid left to right (or top to bottom), encoded by
// the platform.
inline TdxSmartImage* FramesTexture(TSize AFrame, std::initializer_list<TColor> AColors,
                                    bool AVertical = false) {
  const Integer N = static_cast<Integer>(AColors.size());
  const TSize ASize = AVertical ? TSize{AFrame.cx, AFrame.cy * N} : TSize{AFrame.cx * N, AFrame.cy};
  TRGBColors Bits(static_cast<size_t>(ASize.cx) * ASize.cy);
  Integer I = 0;
  for (TColor C : AColors) {
    for (Integer Y = 0; Y < AFrame.cy; ++Y)
      for (Integer X = 0; X < AFrame.cx; ++X) {
        const Integer PX = AVertical ? X : I * AFrame.cx + X;
        const Integer PY = AVertical ? I * AFrame.cy + Y : Y;
        Bits[PY * ASize.cx + PX] = dxColorToRGBQuad(C, 255);
      }
    ++I;
  }
  TOwned<TdxSmartImage> Bitmap(
      TdxCustomSmartImage::CreateFromBits<TdxSmartImage>(ASize.cx, ASize.cy, Bits, false));
  TOwned<TMemoryStream> Png(Create<TMemoryStream>());
  Bitmap->SaveToStreamByCodec(Png.get(), dxImagePng);
  Png->SetPosition(0);
  TOwned<TdxSmartImage> R(Create<TdxSmartImage>());
  R->LoadFromStream(Png.get());
  return R.release();
}

// Frames of 12 x 12: a ring 3 pixels wide around a centre, per state.
inline TdxSmartImage* RingTexture(const std::vector<std::pair<TColor, TColor>>& AFrames) {
  const Integer N = static_cast<Integer>(AFrames.size());
  TRGBColors Bits(static_cast<size_t>(12 * N) * 12);
  for (Integer F = 0; F < N; ++F)
    for (Integer Y = 0; Y < 12; ++Y)
      for (Integer X = 0; X < 12; ++X) {
        const bool Ring = X < 3 || Y < 3 || X >= 9 || Y >= 9;
        Bits[Y * 12 * N + F * 12 + X] =
            dxColorToRGBQuad(Ring ? AFrames[F].first : AFrames[F].second, 255);
      }
  return TdxCustomSmartImage::CreateFromBits<TdxSmartImage>(12 * N, 12, Bits, false);
}

// Ring and centre colours of the Normal, Hot and Pressed frames.
inline const std::vector<std::pair<TColor, TColor>> SyntheticFrames = {
    {0x202020, 0x0000C0}, {0x404040, 0x00C000}, {0x606060, 0xC00000}};

// A skin of one group "Button": "Face", a textured element (frames of
// SyntheticFrames by nine parts with margins 3, and a yellow bottom border
// 2 pixels thick), and "Flat", an element without texture whose hot state
// has alternate attributes (an orange fill and a dark red left border).
inline TdxSkin* SyntheticSkin() {
  TOwned<TdxSkin> Skin(Create<TdxSkin>(L"Synthetic"));
  TdxSkinControlGroup* G = Skin->AddGroup(L"Button");
  TdxSkinElement* E = G->AddElement(L"Face");
  TOwned<TdxSmartImage> T(RingTexture(SyntheticFrames));
  E->Image()->Texture()->Assign(T.get());
  E->Image()->SetStates({esNormal, esHot, esPressed});
  E->Image()->Margins()->SetAll(3);
  E->Borders()->Bottom()->SetColor(0x00FFFF);
  E->Borders()->Bottom()->SetThin(2);
  TdxSkinElement* Flat = G->AddElement(L"Flat");
  Flat->SetColor(0xE0E0E0);
  Flat->Image()->SetStates({esNormal, esHot});
  TdxSkinAlternateImageAttributes* Hot = Flat->AddAlternateImageAttributes(esHot, 0);
  Hot->SetGradientBeginColor(0x0080FF);
  Hot->Borders()->Left()->SetColor(0x000080);
  Hot->Borders()->Left()->SetThin(3);
  return Skin.release();
}

}  // namespace SkinsTest
