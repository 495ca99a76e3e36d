#pragma once
// Sample tables shared by the engine's tests and the comparison tool.
#include <string>
#include <vector>

#include "TabEngine.h"

namespace tabsamples {

// Every column type GDAL can also read (no LargeInt), names in ASCII since GDAL renames Cyrillic
// ones.
tabengine::TableSchema SampleSchema(bool earth);
// One row per object type and style variant, with Cyrillic text values.
std::vector<tabengine::Feature> SampleFeatures(bool earth);
void WriteSample(const std::wstring& path, bool earth);

}  // namespace tabsamples
