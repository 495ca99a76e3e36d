// Load, first draw and cached redraw of SVG images through the handle. For
// each file: the best of several loads from memory (parse, element tree and
// the compressed normalised source), and at each size the best of several
// first draws (the raster cache emptied before each) and of several redraws
// that find the raster cached. Prints one machine-readable line per file,
//   time <file> load <s> <size> <first s> <cached s> ...
// for the driver's ratios against rsvg-convert (bench/svgrender/run.sh).
//   svgrender_bench [--repeat N] [--sizes 16,48,256] <file | @list>...
#include <cstdio>

#include "Classes.h"
#include "SvgTestSupport.h"
#include "SysUtils.h"
#include "cxGraphics.h"

namespace {
Double Now() {
  LARGE_INTEGER C, F;
  QueryPerformanceCounter(&C);
  QueryPerformanceFrequency(&F);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

void Print(const String& AText) { std::fputs(UTF8Encode(AText + L"\n").c_str(), stdout); }

std::string ReadBytes(const String& AFileName) {
  TOwned<TFileStream> S(Create<TFileStream>(AFileName, static_cast<Word>(fmOpenRead)));
  std::string Bytes(static_cast<size_t>(S->Size()), '\0');
  if (!Bytes.empty()) S->ReadBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  return Bytes;
}

// The best time of ARepeat runs of AAction.
template <class F>
Double Best(Integer ARepeat, F AAction) {
  Double Result = 1e30;
  for (Integer I = 0; I < ARepeat; ++I) {
    const Double T0 = Now();
    AAction();
    Result = std::min(Result, Now() - T0);
  }
  return Result;
}

void Measure(const String& AFileName, Integer ARepeat, const std::vector<Integer>& ASizes) {
  const std::string Bytes = ReadBytes(AFileName);
  String Error;
  TOwned<TdxSVGImageHandle> H = LoadSvg(Bytes, &Error);
  if (!H) {
    Print(L"skip " + ExtractFileName(AFileName) + L": " + Error);
    return;
  }
  const Double Load = Best(ARepeat, [&] { LoadSvg(Bytes); });
  const TFormatSettings F = TFormatSettings::Invariant();
  String Line = Format(F, L"time %s load %.6f", {ExtractFileName(AFileName), Load});
  const TSize Size = H->GetSize();
  for (Integer S : ASizes) {
    TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(S, S, true));
    const HDC DC = Bitmap->Canvas()->Handle();
    const TRect Dest{0, 0, S, S}, Source{0, 0, Size.cx, Size.cy};
    const Double First = Best(ARepeat, [&] {
      H->FlushCache();
      H->Draw(DC, Dest, Source, 255, nullptr);
    });
    H->Draw(DC, Dest, Source, 255, nullptr);
    const Double Cached = Best(ARepeat * 4, [&] { H->Draw(DC, Dest, Source, 255, nullptr); });
    Line += Format(F, L" %d %.6f %.6f", {S, First, Cached});
  }
  Print(Line);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Integer Repeat = 5;
  std::vector<Integer> Sizes{16, 48, 256};
  int First = 1;
  for (; First + 1 < argc; First += 2) {
    const String Option = argv[First];
    if (Option == L"--repeat") {
      Repeat = StrToInt(argv[First + 1]);
    } else if (Option == L"--sizes") {
      Sizes.clear();
      TOwned<TStringList> L(Create<TStringList>());
      L->SetCommaText(argv[First + 1]);
      for (Integer I = 0; I < L->Count(); ++I) Sizes.push_back(StrToInt(L->Strings(I)));
    } else {
      break;
    }
  }
  try {
    StartSvgModules();
    for (const String& File : ExpandListArguments(argc, argv, First)) Measure(File, Repeat, Sizes);
    StopSvgModules();
  } catch (const Exception& E) {
    std::fputs(UTF8Encode(E.Message() + L"\n").c_str(), stderr);
    return 1;
  }
  return 0;
}
