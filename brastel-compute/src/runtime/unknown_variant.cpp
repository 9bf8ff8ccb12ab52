#include "conjure_object/writer_support.h"

namespace conjure_object {

void write_unknown(JsonWriter& w, const UnknownVariant& v) {
  w.raw(R"({"type":)");
  w.string(v.type);
  w.raw(',');
  w.string(v.type);
  w.raw(':');
  write(w, v.value);
  w.raw('}');
}

}  // namespace conjure_object
