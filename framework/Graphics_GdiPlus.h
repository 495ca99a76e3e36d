// Inside the Graphics module only: the few GDI+ entry points the module
// decodes pictures with, bound by name on first use.
#pragma once

#include <vector>

#include "Graphics.h"

namespace GraphicsGdiPlus {

struct TDecoderFormat {
  String Extension;  // without the dot
  String Description;
};

// The extensions of the platform's image decoders; empty without GDI+.
std::vector<TDecoderFormat> DecoderFormats();
// Whether GDI+ is loaded and started (loading it now when it is not yet).
bool Start();
// Decodes the first frame of an image file into ABitmap as 32 bits per
// pixel with straight alpha; false when GDI+ cannot decode the bytes.
bool Decode(const TBytes& AData, TBitmap* ABitmap);
// Ends GDI+ and frees the library (module shut-down).
void Shutdown();

}  // namespace GraphicsGdiPlus
