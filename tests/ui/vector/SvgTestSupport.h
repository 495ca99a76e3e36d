// What the SVG tests, the harness and the benchmark share: the start-up of
// the modules the SVG images stand on, loading, and rendering to pixels and
// PNG files.
#pragma once

#include <string_view>
#include <vector>

#include "dxSVGImage.h"

// Starts the modules in the program's order (once); StopSvgModules shuts
// them down in reverse.
void StartSvgModules();
void StopSvgModules();

// A handle from bytes or a file; nil with the reason in AError.
TOwned<TdxSVGImageHandle> LoadSvg(std::string_view ABytes, String* AError = nullptr);
TOwned<TdxSVGImageHandle> LoadSvgFile(const String& AFileName, String* AError = nullptr);

// Premultiplied BGRA pixels, top row first.
struct TSvgPixels {
  Integer Width = 0, Height = 0;
  TRGBColors Bits;
  const RGBQUAD& At(Integer X, Integer Y) const { return Bits[static_cast<size_t>(Y) * Width + X]; }
};

// The handle drawn through its Draw into a transparent 32-bit bitmap.
TSvgPixels RenderByDraw(TdxSVGImageHandle* AHandle, Integer AWidth, Integer AHeight,
                        IdxColorPalette* APalette = nullptr);
// The tree drawn straight onto an anti-aliased GDI+ canvas of that size.
TSvgPixels RenderDirect(TdxSVGImageHandle* AHandle, Integer AWidth, Integer AHeight,
                        IdxColorPalette* APalette = nullptr);
void SavePixelsAsPng(const TSvgPixels& APixels, const String& AFileName);

// The command-line arguments from AFirst on, where "@list" stands for the
// lines of the file "list" (UTF-8), one argument each, so that one run can
// take more files than a command line holds.
std::vector<String> ExpandListArguments(int argc, wchar_t** argv, int AFirst);
