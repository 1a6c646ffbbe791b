// binding.h - exports of the signal and numerics libraries, bound by name at their first call.
//
// Each Bound object is one row of the binding table: the library (by type), the export name,
// its size note and a slot for the resolved entry point. The control never links the
// libraries; it loads them with dlopen (next to libtessiq.so first, then on the library search
// path) and keeps them loaded. A missing file raises 48, a missing export 453; the slot then
// stays empty, so a later call tries again and succeeds once the file is in place.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "sizenote.h"

namespace tessiq {

enum class Library { Sigmora, Numora };

// File name the library is loaded by ("libsigmora.so", "libnumora.so" unless replaced).
std::string libraryFile(Library library);
// Replaces the file a library is loaded from (a path or a bare name); tests use it to put a
// recording stand-in in the library's place before the first call.
void setLibraryFile(Library library, const std::string &file);

class Slot {
  public:
    // library: by type; file: for tests that bind a library of their own (then library is
    // ignored).
    Slot(Library library, const char *name, const char *params = "()", const char *note = "",
         const char *file = nullptr)
        : library_(library), name_(name), params_(params), noteText_(note), file_(file) {}
    Slot(const Slot &) = delete;
    Slot &operator=(const Slot &) = delete;

    Library library() const { return library_; }
    const char *name() const { return name_; }
    // The entry point, loading the library and looking up the export when the slot is empty.
    void *resolve();
    // The export's size note, parsed at its first use (std::logic_error when malformed).
    const SizeNote &note();

  private:
    Library library_;
    const char *name_;
    const char *params_;
    const char *noteText_;
    const char *file_;
    std::atomic<void *> entry_{nullptr};
    std::once_flag parsed_;
    SizeNote note_;
};

// A slot that knows the prototype of its export.
template <class Fn>
class Bound : public Slot {
  public:
    using Function = Fn;
    using Slot::Slot;
    Fn *get() { return reinterpret_cast<Fn *>(resolve()); }
};

// Folder of the loaded libtessiq.so with a trailing '/', or "" when it cannot be told.
std::string pluginFolder();

}  // namespace tessiq
