#include "forward.h"

namespace tessiq::detail {

std::vector<ArrayUse> arrayUses(const std::vector<Source> &sources) {
  std::vector<ArrayUse> uses;
  for (const Source &s : sources)
    if (s.kind == Source::Kind::Array) uses.push_back({s.arg, s.touched});
  return uses;
}

}  // namespace tessiq::detail
