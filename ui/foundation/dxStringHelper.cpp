#include "dxStringHelper.h"

#include <atomic>

IMPLEMENT_CREATABLE_CLASS(TdxStringBuilder)

namespace {
// Constant-initialised: no start-up code runs for the cache.
std::atomic<TdxStringBuilder*> Cache[TdxStringBuilderManager::CacheSize];
}  // namespace

TdxStringBuilder* TdxStringBuilderManager::Get(Integer ACapacity) {
  TdxStringBuilder* Builder = nullptr;
  for (int I = 0; I < CacheSize && !Builder; ++I) Builder = Cache[I].exchange(nullptr);
  if (!Builder) return Create<TdxStringBuilder>(ACapacity);
  if (Builder->Capacity() < ACapacity) Builder->SetCapacity(ACapacity);
  Builder->SetLength(0);
  return Builder;
}

void TdxStringBuilderManager::Release(TdxStringBuilder*& ABuilder) {
  for (int I = 0; I < CacheSize && ABuilder; ++I) ABuilder = Cache[I].exchange(ABuilder);
  FreeAndNil(ABuilder);
}

void dxStringHelper_Finalize() {
  for (auto& Slot : Cache) {
    TdxStringBuilder* Builder = Slot.exchange(nullptr);
    FreeAndNil(Builder);
  }
}
