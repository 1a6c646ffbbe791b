#include "binding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "automation/errors.h"

namespace tessiq {

namespace {

std::mutex &bindingMutex() {
  static std::mutex m;
  return m;
}

// Library file -> handle; a library once loaded stays loaded for the life of the process.
std::map<std::string, void *> &loadedLibraries() {
  static std::map<std::string, void *> libraries;
  return libraries;
}

// Opens `file` from the plugin's own folder when it is there, else by the search path.
// Raises 48 when neither works. Called with the binding mutex held.
void *openLibrary(const std::string &file) {
  auto &libraries = loadedLibraries();
  auto it = libraries.find(file);
  if (it != libraries.end()) return it->second;
  std::string path = pluginFolder() + file;
  bool besideUs = !pluginFolder().empty() && access(path.c_str(), F_OK) == 0;
  void *handle = dlopen(besideUs ? path.c_str() : file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char *why = dlerror();
    automation::raise(automation::err::DllLoad, why ? why : file);
  }
  libraries[file] = handle;
  return handle;
}

}  // namespace

std::string pluginFolder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void *>(&pluginFolder), &info) || !info.dli_fname) return "";
  std::string path = info.dli_fname;
  auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void *Slot::resolve() {
  if (void *entry = entry_.load(std::memory_order_acquire)) return entry;
  std::lock_guard<std::mutex> lock(bindingMutex());
  if (void *entry = entry_.load(std::memory_order_relaxed)) return entry;
  void *handle = openLibrary(library_);
  dlerror();
  void *entry = dlsym(handle, name_);
  if (!entry)
    automation::raise(automation::err::EntryPointNotFound, std::string(name_) + " in " + library_);
  entry_.store(entry, std::memory_order_release);
  return entry;
}

}  // namespace tessiq
