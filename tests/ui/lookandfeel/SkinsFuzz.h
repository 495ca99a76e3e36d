// Deterministic mutation of skin streams, containers and details, and the
// check every mutant must pass: it loads (and saves and reloads to the same
// bytes), or it raises the format, read or class error and leaves the target
// as it was; and reading it asks for no block larger than the input allows.
// Shared by the test run and the longer run of bench/skinsfuzz.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "AllocationWatch.h"
#include "SkinsTestSupport.h"
#include "WinHandles.h"

namespace SkinsFuzz {

// SplitMix64: small, fast and the same everywhere.
class TRandom {
 public:
  explicit TRandom(uint64_t ASeed) : FState(ASeed) {}
  uint64_t Next() {
    uint64_t Z = (FState += 0x9E3779B97F4A7C15ull);
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    return Z ^ (Z >> 31);
  }
  size_t Below(size_t N) { return N ? static_cast<size_t>(Next() % N) : 0; }

 private:
  uint64_t FState;
};

inline TBytes Mutate(TRandom& R, const std::vector<TBytes>& ACorpus) {
  TBytes B = ACorpus[R.Below(ACorpus.size())];
  if (B.empty()) return B;
  switch (R.Below(5)) {
    case 0:  // bit flips
      for (size_t N = 1 + R.Below(8); N > 0; --N) B[R.Below(B.size())] ^= Byte(1u << R.Below(8));
      break;
    case 1:  // byte overwrites
      for (size_t N = 1 + R.Below(4); N > 0; --N) B[R.Below(B.size())] = Byte(R.Next());
      break;
    case 2:  // truncation
      B.resize(R.Below(B.size()));
      break;
    case 3: {  // a 32-bit field set to 0, -1 or a huge value
      if (B.size() < 4) break;
      static const Integer Values[] = {0, -1, 0x7FFFFFFF, 0x40000000, INT32_MIN, 65536};
      const Integer V = Values[R.Below(6)];
      std::memcpy(B.data() + R.Below(B.size() - 3), &V, 4);
      break;
    }
    default: {  // the head of one input and the tail of another
      const TBytes& Other = ACorpus[R.Below(ACorpus.size())];
      const size_t Cut = R.Below(B.size());
      const size_t From = R.Below(Other.size() + 1);
      B.resize(Cut);
      B.insert(B.end(), Other.begin() + From, Other.end());
      break;
    }
  }
  return B;
}

struct TStats {
  Integer Loaded = 0;
  Integer Rejected = 0;
};

inline bool IsExpectedError(const Exception& E) {
  return dynamic_cast<const EdxSkinError*>(&E) || dynamic_cast<const EReadError*>(&E) ||
         dynamic_cast<const EClassNotFound*>(&E);
}

inline std::string Describe(const Exception& E) {
  const String M = E.ClassName() + L": " + E.Message();
  return std::string(M.begin(), M.end());
}

// The largest block a reader may ask for: a text of n bytes becomes at most
// n UTF-16 units, and the rest (lists, objects, a decoded icon) stays small.
inline size_t AllocationBound(size_t AInputSize) { return 2 * AInputSize + 65536; }

// Runs ARead under the allocation watch; empty when no block exceeded the
// bound, else what did.
template <class F>
std::string Watched(size_t AInputSize, F ARead) {
  AllocationWatch::Begin();
  // A read that raises stops the watch too.
  auto StopWatching = Finally([] { AllocationWatch::End(); });
  ARead();
  const size_t Largest = AllocationWatch::End();
  if (Largest <= AllocationBound(AInputSize)) return "";
  return "a block of " + std::to_string(Largest) + " bytes for an input of " +
         std::to_string(AInputSize);
}

// Runs ALoad on ATarget; empty when the outcome is one of the allowed ones,
// else what went wrong.
template <class F>
std::string CheckLoad(TdxSkin* ATarget, size_t AInputSize, TStats& AStats, F ALoad) {
  const TBytes Before = SkinsTest::SaveSkin(ATarget);
  try {
    bool Loaded = false;
    const std::string Large = Watched(AInputSize, [&] { Loaded = ALoad(); });
    if (!Large.empty()) return Large;
    if (!Loaded) {
      ++AStats.Rejected;
      return SkinsTest::SaveSkin(ATarget) == Before ? "" : "refused but changed the skin";
    }
  } catch (const Exception& E) {
    if (!IsExpectedError(E)) return "unexpected " + Describe(E);
    ++AStats.Rejected;
    return SkinsTest::SaveSkin(ATarget) == Before ? ""
                                                  : "failed but changed the skin: " + Describe(E);
  }
  ++AStats.Loaded;
  try {
    const TBytes Once = SkinsTest::SaveSkin(ATarget);
    TOwned<TdxSkin> Again = SkinsTest::LoadSkin(Once);
    if (SkinsTest::SaveSkin(Again.get()) != Once) return "saved and reloaded differently";
  } catch (const Exception& E) {
    return "saving or reloading what loaded: " + Describe(E);
  }
  return "";
}

// One input against the skin, each skin the container reader lists, and
// the details.
inline std::string CheckInput(TdxSkin* ATarget, const TBytes& AInput, TStats& AStats) {
  TOwned<TBytesStream> S = SkinsTest::StreamOf(AInput);
  std::string F = CheckLoad(ATarget, AInput.size(), AStats, [&] {
    ATarget->LoadFromStream(S.get());
    return true;
  });
  if (!F.empty()) return "skin: " + F;
  S->SetPosition(0);
  TOwned<TdxSkinBinaryReader> R;
  try {
    F = Watched(AInput.size(), [&] { R.reset(Create<TdxSkinBinaryReader>(S.get())); });
    if (!F.empty()) return "container list: " + F;
  } catch (const Exception& E) {
    if (!IsExpectedError(E)) return "container list: unexpected " + Describe(E);
  }
  for (Integer I = 0; R && I < R->Count(); ++I) {
    F = CheckLoad(ATarget, AInput.size(), AStats, [&] { return R->LoadSkin(ATarget, I); });
    if (!F.empty()) return "container skin " + std::to_string(I) + ": " + F;
  }
  S->SetPosition(0);
  TOwned<TdxSkinDetails> D(Create<TdxSkinDetails>());
  try {
    F = Watched(AInput.size(), [&] { D->LoadFromStream(S.get()); });
    if (!F.empty()) return "details: " + F;
  } catch (const Exception& E) {
    if (!IsExpectedError(E)) return "details: unexpected " + Describe(E);
  }
  return "";
}

inline std::vector<TBytes> Corpus() {
  return {SkinsTest::Fixture(L"SKIN_V100"), SkinsTest::Fixture(L"SKIN_V109"),
          SkinsTest::Fixture(L"SKIN_V115"), SkinsTest::Fixture(L"SKIN_V125"),
          SkinsTest::Fixture(L"SKIN_CONTAINER")};
}

}  // namespace SkinsFuzz
