// Fixtures and byte helpers shared by the skin tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

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

}  // namespace SkinsTest
