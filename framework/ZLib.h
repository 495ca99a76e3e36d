// Stream compression in the zlib format over the platform build of zlib.
#pragma once

#include "Classes.h"
#include "SysUtils.h"

enum class TZCompressionLevel { zcNone, zcFastest, zcDefault, zcMax };

DECLARE_EXCEPTION(EZLibError, Exception)
DECLARE_EXCEPTION(EZCompressionError, EZLibError)
DECLARE_EXCEPTION(EZDecompressionError, EZLibError)

// Compresses from AInStream's position to its end and appends the zlib
// stream at AOutStream's position. Raises EZCompressionError.
void ZCompressStream(TStream* AInStream, TStream* AOutStream,
                     TZCompressionLevel ACompressionLevel = TZCompressionLevel::zcDefault);
// Decompresses the zlib stream at AInStream's position and appends the bytes
// at AOutStream's position. Truncated or corrupt data raises
// EZDecompressionError; what was written before the fault stays written.
void ZDecompressStream(TStream* AInStream, TStream* AOutStream);
