// Damaged skin streams: a fixed budget of seeded mutations per run, and every
// truncation of a small stream. bench/skinsfuzz runs longer, by seed.
#include <gtest/gtest.h>

#include "SkinsFuzz.h"

using namespace SkinsFuzz;

TEST(SkinFuzz, SeededMutantsLoadOrFailCleanly) {
  const std::vector<TBytes> Corpus = SkinsFuzz::Corpus();
  TOwned<TdxSkin> Target = SkinsTest::LoadFixtureSkin(L"SKIN_CANONICAL");
  TRandom R(20261210);
  TStats Stats;
  Integer Failures = 0;
  for (Integer I = 0; I < 4000 && Failures < 10; ++I) {
    const TBytes Input = Mutate(R, Corpus);
    const std::string F = CheckInput(Target.get(), Input, Stats);
    if (!F.empty()) {
      ++Failures;
      ADD_FAILURE() << "mutant " << I << " (" << Input.size() << " bytes): " << F;
    }
  }
  // Both outcomes occur, or the mutations are not reaching the reader.
  EXPECT_GT(Stats.Loaded, 0);
  EXPECT_GT(Stats.Rejected, 0);
}

TEST(SkinFuzz, EveryTruncationOfSmallStreamsFailsCleanly) {
  // A stream without icons, and the oldest and newest fixtures.
  TOwned<TdxSkin> Small(Create<TdxSkin>(L"Small"));
  Small->AddColor(L"C", 0x123456);
  Small->AddGroup(L"G")->AddElement(L"E")->SetAlpha(7);
  TOwned<TdxSkin> Target = SkinsTest::LoadFixtureSkin(L"SKIN_CANONICAL");
  for (const TBytes& Whole : {SkinsTest::SaveSkin(Small.get()), SkinsTest::Fixture(L"SKIN_V100"),
                              SkinsTest::Fixture(L"SKIN_V125")}) {
    TStats Stats;
    for (size_t N = 0; N < Whole.size(); ++N) {
      const std::string F =
          CheckInput(Target.get(), TBytes(Whole.begin(), Whole.begin() + N), Stats);
      ASSERT_TRUE(F.empty()) << "cut at " << N << " of " << Whole.size() << ": " << F;
    }
    EXPECT_EQ(Stats.Loaded, 0);
  }
}

TEST(SkinFuzz, TheAllocationWatchSeesEveryBlockOverTheBound) {
  volatile size_t Sink = 0;
  auto Allocate = [&Sink](size_t ASize) {
    return Watched(100, [&Sink, ASize] {
      TBytes Block(ASize, 1);
      Sink = Sink + Block[ASize - 1];
    });
  };
  // A byte array carries a small header of its own.
  EXPECT_TRUE(Allocate(AllocationBound(100) - 64).empty());
  EXPECT_FALSE(Allocate(AllocationBound(100) + 1).empty());
  EXPECT_TRUE(Allocate(64).empty());
}
