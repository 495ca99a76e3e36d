// The painters' details: each painter describes itself the way a skin does.
#include "cxLibraryStrs.h"
#include "cxLookAndFeelPainters.h"
#include "dxSkinsCore.h"

TdxSkinDetails* TcxCustomLookAndFeelPainter::CreateLookAndFeelPainterDetails() {
  TOwned<TdxSkinDetails> ADetails(Create<TdxSkinDetails>());
  const String AName = LookAndFeelName();
  ADetails->SetName(AName);
  ADetails->SetDisplayName(AName);
  ADetails->SetGroupName(cxGetResourceString(&scxBuiltInLookAndFeelStyles));
  const HMODULE AModule = GetModuleHandleW(nullptr);
  static constexpr const wchar_t* Suffixes[2] = {L"16", L"48"};
  for (TdxSkinIconSize ASize : {sis16, sis48}) {
    const String AResource = L"CX_LOOKANDFEELSTYLEICON_" + AnsiUpperCase(AName) + Suffixes[ASize];
    if (FindResourceW(AModule, AResource.c_str(), L"PNG")) {
      TOwned<TResourceStream> AStream(Create<TResourceStream>(AModule, AResource, L"PNG"));
      ADetails->GetIcon(ASize)->LoadFromStream(AStream.get());
    } else {
      ADetails->ResetIcon(ASize);
    }
  }
  return ADetails.release();
}

TdxSkinDetails* TcxCustomLookAndFeelPainter::GetLookAndFeelPainterDetails() {
  if (!FLookAndFeelPainterDetailsCache)
    FLookAndFeelPainterDetailsCache = CreateLookAndFeelPainterDetails();
  return FLookAndFeelPainterDetailsCache;
}

bool TcxCustomLookAndFeelPainter::GetPainterDetails(TdxSkinDetails*& ADetails) {
  ADetails = GetLookAndFeelPainterDetails();
  return ADetails != nullptr;
}
