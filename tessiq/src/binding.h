// binding.h - exports of the signal and numerics libraries, bound by name at their first call.
//
// Each Bound object is one row of the binding table: the library file, the export name and a
// slot for the resolved entry point. The control never links the libraries; it loads them with
// dlopen (next to libtessiq.so first, then on the library search path) and keeps them loaded.
// A missing file raises 48, a missing export 453; the slot then stays empty, so a later call
// tries again and succeeds once the file is in place.
#pragma once

#include <atomic>
#include <string>

namespace tessiq {

inline constexpr const char kSigmora[] = "libsigmora.so";
inline constexpr const char kNumora[] = "libnumora.so";

class Slot {
 public:
  constexpr Slot(const char *library, const char *name) : library_(library), name_(name) {}
  Slot(const Slot &) = delete;
  Slot &operator=(const Slot &) = delete;

  const char *library() const { return library_; }
  const char *name() const { return name_; }
  // The entry point, loading the library and looking up the export when the slot is empty.
  void *resolve();

 private:
  const char *library_;
  const char *name_;
  std::atomic<void *> entry_{nullptr};
};

// A slot that knows the prototype of its export.
template <class Fn>
class Bound : public Slot {
 public:
  using Function = Fn;
  constexpr Bound(const char *library, const char *name) : Slot(library, name) {}
  Fn *get() { return reinterpret_cast<Fn *>(resolve()); }
};

// Folder of the loaded libtessiq.so with a trailing '/', or "" when it cannot be told.
std::string pluginFolder();

}  // namespace tessiq
