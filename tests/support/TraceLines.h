// Test helper: an output sink attached to the trace whose lines a test reads.
#pragma once

#include <vector>

#include "gkCommon.h"
#include "gkOutput.h"

struct TTraceLines {
  TTraceLines() : Sink(MakeOwned<TgkOutput>()) {
    Sink->SetOnPrint([this](TgkOutput*, const String& ALine) { Lines.push_back(ALine); });
  }
  // Attaches the sink for the life of the object.
  void Attach() { SetOutput(Sink.get()); }
  ~TTraceLines() {
    if (Output() == Sink.get()) SetOutput(nullptr);
  }
  TTraceLines(const TTraceLines&) = delete;
  TTraceLines& operator=(const TTraceLines&) = delete;

  std::vector<String> Lines;
  TOwned<TgkOutput> Sink;
};
