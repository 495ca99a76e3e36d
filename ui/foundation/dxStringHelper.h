// A process-wide cache of reusable string builders, so that code which
// assembles many short texts does not allocate a buffer for each.
#pragma once

#include "System.h"

// A growable text buffer.
class TdxStringBuilder : public TObject {
  DECLARE_CLASS(TdxStringBuilder, TObject)
 public:
  explicit TdxStringBuilder(Integer ACapacity = 16) { SetCapacity(ACapacity); }

  TdxStringBuilder* Append(const String& S) {
    FData += S;
    return this;
  }
  TdxStringBuilder* Append(Char C) {
    FData += C;
    return this;
  }
  Integer Length() const { return static_cast<Integer>(FData.size()); }
  void SetLength(Integer AValue) { FData.resize(AValue > 0 ? static_cast<size_t>(AValue) : 0); }
  Integer Capacity() const { return static_cast<Integer>(FData.capacity()); }
  void SetCapacity(Integer AValue) {
    if (AValue > 0) FData.reserve(static_cast<size_t>(AValue));
  }
  const String& ToString() const { return FData; }

 private:
  String FData;
};

class TdxStringBuilderManager {
 public:
  static constexpr int CacheSize = 4;
  // An empty builder with room for at least ACapacity characters.
  static TdxStringBuilder* Get(Integer ACapacity = 16);
  // Gives the builder back to the cache (or frees it) and clears AStringBuilder.
  static void Release(TdxStringBuilder*& ABuilder);
};

void dxStringHelper_Finalize();
