// Checksums and hashes: the standard CRC-32 (as zlib and PNG use it) and a
// fast 32-bit hash of a byte run.
#pragma once

#include "System.h"

// The CRC-32 of ACount bytes: register started at $FFFFFFFF, result inverted.
Cardinal dxCRC32(const void* AData, size_t ACount);
// The raw table update of a running register, without start value or final
// inversion, for hashing data in pieces.
Cardinal dxCRC32(const void* AData, size_t ACount, Cardinal ACurrentCRC32);
Cardinal dxDotNetHash(const void* AData, size_t ALength);
