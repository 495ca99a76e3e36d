#include <gtest/gtest.h>

#include <cstring>

#include "dxHash.h"
#include "dxStringHelper.h"

namespace {

TEST(Hash, CRC32CheckValues) {
  const char* Check = "123456789";
  EXPECT_EQ(dxCRC32(Check, 0), 0u);
  EXPECT_EQ(dxCRC32(Check, 9), 0xCBF43926u);
  EXPECT_EQ(dxCRC32(Check, 9, 0xFFFFFFFFu), 0x340BC6D9u);
  // Hashing in pieces with the raw update gives the same result.
  Cardinal Crc = dxCRC32(Check, 4, 0xFFFFFFFFu);
  Crc = dxCRC32(Check + 4, 5, Crc);
  EXPECT_EQ(~Crc, 0xCBF43926u);
  const char* Fox = "The quick brown fox jumps over the lazy dog";
  EXPECT_EQ(dxCRC32(Fox, std::strlen(Fox)), 0x414FA339u);
}

TEST(Hash, DotNetHash) {
  EXPECT_EQ(dxDotNetHash("", 0), 0u);
  EXPECT_EQ(dxDotNetHash("A", 1), 0xBBu);
  // h = 2; h = (2<<7)^'A' = 0x141; h = (0x141<<7)^'B' = 0xA0C2; then the three subtractions.
  Cardinal H = 0xA0C2;
  H -= H >> 17;
  H -= H >> 11;
  H -= H >> 5;
  EXPECT_EQ(dxDotNetHash("AB", 2), H);
}

TEST(StringBuilderCache, ReusesAndBoundsTheCache) {
  dxStringHelper_Finalize();  // start from an empty cache
  TdxStringBuilder* B = TdxStringBuilderManager::Get(16);
  B->Append(L"text");
  TdxStringBuilder* Kept = B;
  TdxStringBuilderManager::Release(B);
  EXPECT_EQ(B, nullptr);
  TdxStringBuilder* Again = TdxStringBuilderManager::Get(1000);
  EXPECT_EQ(Again, Kept);
  EXPECT_EQ(Again->Length(), 0);
  EXPECT_GE(Again->Capacity(), 1000);
  TdxStringBuilderManager::Release(Again);
  Again = TdxStringBuilderManager::Get(10);
  EXPECT_GE(Again->Capacity(), 1000);  // a smaller request keeps the room
  TdxStringBuilderManager::Release(Again);
  dxStringHelper_Finalize();

  TdxStringBuilder* Five[5];
  for (auto& P : Five) P = TdxStringBuilderManager::Get(16);
  TdxStringBuilder* Released[5];
  for (int I = 0; I < 5; ++I) {
    Released[I] = Five[I];
    TdxStringBuilderManager::Release(Five[I]);
  }
  // The last four released are cached, newest first; the first was freed.
  for (int I = 4; I >= 1; --I) {
    TdxStringBuilder* G = TdxStringBuilderManager::Get(16);
    EXPECT_EQ(G, Released[I]);
    Five[I] = G;
  }
  TdxStringBuilder* Fresh = TdxStringBuilderManager::Get(16);
  for (int I = 1; I < 5; ++I) EXPECT_NE(Fresh, Five[I]);
  Fresh->Free();
  for (int I = 1; I < 5; ++I) Five[I]->Free();
}

}  // namespace
