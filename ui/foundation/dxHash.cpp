#include "dxHash.h"

#include <array>

namespace {
constexpr std::array<Cardinal, 256> MakeCRCTable() {
  std::array<Cardinal, 256> T{};
  for (Cardinal I = 0; I < 256; ++I) {
    Cardinal C = I;
    for (int K = 0; K < 8; ++K) C = (C & 1) ? 0xEDB88320u ^ (C >> 1) : C >> 1;
    T[I] = C;
  }
  return T;
}
constexpr std::array<Cardinal, 256> CRCTable = MakeCRCTable();
static_assert(CRCTable[1] == 0x77073096u && CRCTable[3] == 0x990951BAu);
}  // namespace

Cardinal dxCRC32(const void* AData, size_t ACount, Cardinal ACurrentCRC32) {
  const Byte* P = static_cast<const Byte*>(AData);
  Cardinal Crc = ACurrentCRC32;
  for (size_t I = 0; I < ACount; ++I) Crc = CRCTable[(Crc ^ P[I]) & 0xFF] ^ (Crc >> 8);
  return Crc;
}

Cardinal dxCRC32(const void* AData, size_t ACount) { return ~dxCRC32(AData, ACount, 0xFFFFFFFFu); }

Cardinal dxDotNetHash(const void* AData, size_t ALength) {
  const Byte* P = static_cast<const Byte*>(AData);
  Cardinal H = static_cast<Cardinal>(ALength);
  for (size_t I = 0; I < ALength; ++I) H = (H << 7) ^ P[I];
  H -= H >> 17;
  H -= H >> 11;
  H -= H >> 5;
  return H;
}
