#include "ZLib.h"

#include <zlib.h>

#include <memory>

namespace {
constexpr Integer BufferSize = 1 << 16;

int LevelOf(TZCompressionLevel ALevel) {
  switch (ALevel) {
    case TZCompressionLevel::zcNone:
      return Z_NO_COMPRESSION;
    case TZCompressionLevel::zcFastest:
      return Z_BEST_SPEED;
    case TZCompressionLevel::zcMax:
      return Z_BEST_COMPRESSION;
    default:
      return Z_DEFAULT_COMPRESSION;
  }
}

// The zlib stream with its end call on every path.
class TZStream {
 public:
  explicit TZStream(bool ADeflate) : FDeflate(ADeflate) {}
  ~TZStream() {
    if (!FStarted) return;
    if (FDeflate)
      deflateEnd(&FStream);
    else
      inflateEnd(&FStream);
  }
  TZStream(const TZStream&) = delete;
  TZStream& operator=(const TZStream&) = delete;
  z_stream* operator->() { return &FStream; }
  z_stream* Get() { return &FStream; }
  void Started() { FStarted = true; }

 private:
  z_stream FStream{};
  bool FDeflate;
  bool FStarted = false;
};

void WriteOut(TStream* AOut, const Byte* AData, uInt ACount) {
  if (ACount > 0) AOut->WriteBuffer(AData, static_cast<Integer>(ACount));
}
}  // namespace

void ZCompressStream(TStream* AInStream, TStream* AOutStream,
                     TZCompressionLevel ACompressionLevel) {
  TZStream Z(true);
  if (deflateInit(Z.Get(), LevelOf(ACompressionLevel)) != Z_OK)
    throw EZCompressionError(L"zlib: cannot start compression");
  Z.Started();
  auto In = std::make_unique<Byte[]>(BufferSize);
  auto Out = std::make_unique<Byte[]>(BufferSize);
  int Flush = Z_NO_FLUSH;
  do {
    const Integer Count = AInStream->Read(In.get(), BufferSize);
    Flush = Count < BufferSize ? Z_FINISH : Z_NO_FLUSH;
    Z->next_in = In.get();
    Z->avail_in = static_cast<uInt>(Count);
    do {
      Z->next_out = Out.get();
      Z->avail_out = BufferSize;
      if (deflate(Z.Get(), Flush) == Z_STREAM_ERROR)
        throw EZCompressionError(L"zlib: compression failed");
      WriteOut(AOutStream, Out.get(), BufferSize - Z->avail_out);
    } while (Z->avail_out == 0);
  } while (Flush != Z_FINISH);
}

void ZDecompressStream(TStream* AInStream, TStream* AOutStream) {
  TZStream Z(false);
  if (inflateInit(Z.Get()) != Z_OK) throw EZDecompressionError(L"zlib: cannot start decompression");
  Z.Started();
  auto In = std::make_unique<Byte[]>(BufferSize);
  auto Out = std::make_unique<Byte[]>(BufferSize);
  int Status = Z_OK;
  while (Status != Z_STREAM_END) {
    const Integer Count = AInStream->Read(In.get(), BufferSize);
    if (Count == 0) throw EZDecompressionError(L"zlib: the data ends early");
    Z->next_in = In.get();
    Z->avail_in = static_cast<uInt>(Count);
    do {
      Z->next_out = Out.get();
      Z->avail_out = BufferSize;
      Status = inflate(Z.Get(), Z_NO_FLUSH);
      if (Status == Z_NEED_DICT || Status == Z_DATA_ERROR || Status == Z_MEM_ERROR ||
          Status == Z_STREAM_ERROR)
        throw EZDecompressionError(L"zlib: corrupt data");
      WriteOut(AOutStream, Out.get(), BufferSize - Z->avail_out);
    } while (Z->avail_out == 0 && Status != Z_STREAM_END);
  }
  // Bytes read past the end of the zlib stream belong to the caller.
  if (Z->avail_in > 0) AInStream->Seek(-static_cast<Int64>(Z->avail_in), soCurrent);
}
