#include "marshal.h"

#include <algorithm>

#include "automation/errors.h"

namespace tessiq {

Extent lengthArg(std::size_t index) {
  return [index](const automation::Args &a) { return int64_t(a[index].toI4()); };
}

CallArrays::CallArrays(automation::Args &args, const std::vector<ArrayUse> &uses) {
  // Every array is checked before any is locked, so a refused call changes nothing.
  for (const ArrayUse &use : uses) {
    automation::SafeArray &array = args[use.arg].array();
    int64_t needed = use.touched ? use.touched(args) : 1;
    entries_.push_back({use.arg, &array, automation::elementZero(array, needed)});
  }
  for (Entry &e : entries_) e.array->lock();
}

CallArrays::~CallArrays() {
  for (Entry &e : entries_) e.array->unlock();
}

void *CallArrays::elementZero(std::size_t arg) const {
  auto it = std::find_if(entries_.begin(), entries_.end(), [arg](const Entry &e) { return e.arg == arg; });
  if (it == entries_.end()) automation::raise(automation::err::TypeMismatch);
  return it->zero;
}

float *coveredFloats(automation::SafeArray &array, int64_t count) {
  if (array.type() != automation::ElemType::R4) automation::raise(automation::err::TypeMismatch);
  return static_cast<float *>(automation::elementZero(array, count));
}

char *CallStrings::add(const std::string &text) {
  // Text is UTF-8 on both sides, which is this system's 8-bit code page; c_str() adds the NUL.
  copies_.push_back(text);
  return copies_.back().data();
}

}  // namespace tessiq
