// svg-render, svg-info, svg-save and svg-path: the SVG image over files and
// path data, for the outside comparisons and for looking at results.
#include <cmath>

#include "ComObj.h"
#include "SvgTestSupport.h"
#include "VectorTool.h"

namespace {
void ReportFailure(const String& AFile, const String& AReason) {
  ToolError(AFile + L": " + AReason + L"\r\n");
}

std::string Number(Double V) {
  if (std::fabs(V) < 5e-7) V = 0;
  return UTF8Encode(FloatToStrF(V, ffGeneral, 9, 0, TFormatSettings::Invariant()));
}

// Options before the file pairs: --size N, --direct, --palette FILL,STROKE
// (hexadecimal ARGB).
struct TRenderOptions {
  Integer Size = 16;
  bool Direct = false;
  TComPtr<IdxColorPalette> Palette;
};

int SvgRender(const std::vector<String>& AArguments) {
  StartSvgModules();
  TRenderOptions O;
  std::vector<String> Files;
  for (size_t I = 0; I < AArguments.size(); ++I) {
    const String& A = AArguments[I];
    if (A == L"--size" && I + 1 < AArguments.size()) {
      O.Size = StrToInt(AArguments[++I]);
    } else if (A == L"--direct") {
      O.Direct = true;
    } else if (A == L"--palette" && I + 1 < AArguments.size()) {
      const String P = AArguments[++I];
      const size_t Comma = P.find(L',');
      const auto Fill = static_cast<TdxAlphaColor>(StrToInt64(L"$" + P.substr(0, Comma)));
      const auto Stroke = static_cast<TdxAlphaColor>(StrToInt64(L"$" + P.substr(Comma + 1)));
      O.Palette = TComPtr<IdxColorPalette>::Borrow(Create<TdxSimpleColorPalette>(Fill, Stroke));
    } else {
      Files.push_back(A);
    }
  }
  if (Files.empty() || Files.size() % 2 != 0) {
    ToolError(L"svg-render: give pairs of input and output files\r\n");
    return 2;
  }
  int Result = 0;
  for (size_t I = 0; I < Files.size(); I += 2) {
    String Error;
    try {
      TOwned<TdxSVGImageHandle> H = LoadSvgFile(Files[I], &Error);
      if (!H) {
        ReportFailure(Files[I], Error);
        Result = 1;
        continue;
      }
      const TSvgPixels P = O.Direct ? RenderDirect(H.get(), O.Size, O.Size, O.Palette.Get())
                                    : RenderByDraw(H.get(), O.Size, O.Size, O.Palette.Get());
      SavePixelsAsPng(P, Files[I + 1]);
    } catch (const Exception& E) {
      ReportFailure(Files[I], E.ClassName() + L": " + E.Message());
      Result = 1;
    }
  }
  return Result;
}

std::string FillText(const TdxSVGFill& F) {
  if (F.IsReference()) return "url(#" + UTF8Encode(F.AsReference()) + ")";
  if (F.IsDefault()) return "default";
  return UTF8Encode(IntToHex(static_cast<Int64>(static_cast<Cardinal>(F.AsColor())), 8));
}

void Outline(TdxSVGElement* AElement, Integer ADepth, std::string& AOut) {
  AOut += std::string(static_cast<size_t>(ADepth) * 2, ' ') + UTF8Encode(AElement->ClassName());
  if (!AElement->ID().empty()) AOut += " id=" + UTF8Encode(AElement->ID());
  AOut += " class=" + UTF8Encode(AElement->StyleName());
  AOut += " fill=" + FillText(AElement->Fill()) + " stroke=" + FillText(AElement->Stroke());
  if (AElement->IsStrokeSizeAssigned()) AOut += " stroke-width=" + Number(AElement->StrokeSize());
  if (AElement->Opacity() != 1) AOut += " opacity=" + Number(AElement->Opacity());
  if (!AElement->Transform()->IsIdentity()) {
    const XFORM& M = AElement->Transform()->Matrix();
    AOut += " transform=" + Number(M.eM11) + "," + Number(M.eM12) + "," + Number(M.eM21) + "," +
            Number(M.eM22) + "," + Number(M.eDx) + "," + Number(M.eDy);
  }
  AOut += "\n";
  for (Integer I = 0; I < AElement->Count(); ++I) Outline(AElement->Elements(I), ADepth + 1, AOut);
}

int SvgInfo(const std::vector<String>& AFiles) {
  StartSvgModules();
  int Result = AFiles.empty() ? 2 : 0;
  for (const String& File : AFiles) {
    std::string Out = "== " + UTF8Encode(File) + "\n";
    String Error;
    TOwned<TdxSVGImageHandle> H = LoadSvgFile(File, &Error);
    if (!H) {
      Out += "!! " + UTF8Encode(Error) + "\n";
      Result = 1;
    } else {
      const TSize S = H->GetSize();
      const TdxRectF V = H->GetViewBox();
      Out += "size " + std::to_string(S.cx) + " " + std::to_string(S.cy) + "\n";
      Out += "viewbox " + Number(V.Left) + " " + Number(V.Top) + " " + Number(V.Right) + " " +
             Number(V.Bottom) + "\n";
      Outline(H->Root(), 0, Out);
    }
    ToolWrite(Out);
  }
  return Result;
}

int SvgSave(const std::vector<String>& AFiles) {
  StartSvgModules();
  if (AFiles.empty() || AFiles.size() % 2 != 0) {
    ToolError(L"svg-save: give pairs of input and output files\r\n");
    return 2;
  }
  int Result = 0;
  for (size_t I = 0; I < AFiles.size(); I += 2) {
    String Error;
    TOwned<TdxSVGImageHandle> H = LoadSvgFile(AFiles[I], &Error);
    if (!H) {
      ReportFailure(AFiles[I], Error);
      Result = 1;
      continue;
    }
    TOwned<TMemoryStream> S(Create<TMemoryStream>());
    if (!TdxSVGImageCodec::Class()->Save(S.get(), H.get())) {
      ReportFailure(AFiles[I], L"nothing to save");
      Result = 1;
      continue;
    }
    S->SaveToFile(AFiles[I + 1]);
  }
  return Result;
}

// The outline GDI+ holds for each path text: "M x y", "L x y",
// "C x1 y1 x2 y2 x y" and "Z" lines.
int SvgPath(const std::vector<String>& APaths) {
  StartSvgModules();
  int Result = 0;
  Integer Index = 0;
  for (const String& D : APaths) {
    std::string Out = "== " + std::to_string(Index++) + "\n";
    try {
      TOwned<TdxGPPath> Path(Create<TdxGPPath>());
      TOwned<TdxSVGParserPath> Parser(Create<TdxSVGParserPath>());
      Parser->Parse(D);
      for (Integer I = 0; I < Parser->GetCommandCount(); ++I)
        Parser->GetCommand(I)->Append(Path.get());
      INT Count = 0;
      GdipCheck(GdipGetPointCount(Path->Handle(), &Count));
      std::vector<Gdiplus::GpPointF> Points(static_cast<size_t>(Count));
      std::vector<BYTE> Types(static_cast<size_t>(Count));
      if (Count > 0) {
        GdipCheck(GdipGetPathPoints(Path->Handle(), Points.data(), Count));
        GdipCheck(GdipGetPathTypes(Path->Handle(), Types.data(), Count));
      }
      auto P = [&](INT I) { return Number(Points[I].X) + " " + Number(Points[I].Y); };
      for (INT I = 0; I < Count;) {
        const BYTE T = Types[I] & 0x07;
        if (T == 0) {
          Out += "M " + P(I) + "\n";
          ++I;
        } else if (T == 1) {
          Out += "L " + P(I) + "\n";
          ++I;
        } else {
          Out += "C " + P(I) + " " + P(I + 1) + " " + P(I + 2) + "\n";
          I += 3;
        }
        if (Types[I - 1] & 0x80) Out += "Z\n";
      }
    } catch (const Exception& E) {
      Out += "!! " + UTF8Encode(E.ClassName() + L": " + E.Message()) + "\n";
      Result = 1;
    }
    ToolWrite(Out);
  }
  return Result;
}
}  // namespace

std::vector<TVectorToolCommand> SvgToolCommands() {
  return {
      {L"svg-render",
       L"svg-render [--size N] [--direct] [--palette FILL,STROKE] <input> <output.png>...: "
       L"draws each image at N x N through the handle (or straight onto an anti-aliased canvas)",
       &SvgRender},
      {L"svg-info", L"svg-info <file>...: size, view box and element tree of each image", &SvgInfo},
      {L"svg-save", L"svg-save <input> <output>...: the source each loaded image keeps", &SvgSave},
      {L"svg-path", L"svg-path <path data>...: the outline GDI+ gets for each path text", &SvgPath},
  };
}
