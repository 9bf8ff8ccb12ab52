// Lists of tag names become ordered sets: the StringConstant order (literals,
// then variables, then unknown values, each group by its bytes), each value
// once.
#pragma once

#include <iterator>
#include <set>
#include <vector>

#include "brastel_compute/conjure/objects.h"

namespace brastel_compute {

inline std::set<conjure::objects::StringConstant> tag_set(std::vector<conjure::objects::StringConstant> tags) {
  return {std::make_move_iterator(tags.begin()), std::make_move_iterator(tags.end())};
}

}  // namespace brastel_compute
