// A sample of every variant of every union of the model (generated).
#pragma once

#include <string>
#include <vector>

struct VariantSample {
  std::string union_name;
  std::string tag;
  std::string json;
};

std::vector<VariantSample> all_variant_samples();
