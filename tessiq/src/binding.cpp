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

std::string &fileOf(Library library) {
    static std::string sigmora = "libsigmora.so";
    static std::string numora = "libnumora.so";
    return library == Library::Sigmora ? sigmora : numora;
}

// Library file -> handle; a library once loaded stays loaded for the life of the process.
std::map<std::string, void *> &loadedLibraries() {
    static std::map<std::string, void *> libraries;
    return libraries;
}

// Opens `file` from the plugin's own folder when it is there, else by the search path (a
// path with a slash is opened as it is). Raises 48 when that fails. Binding mutex held.
void *openLibrary(const std::string &file) {
    auto &libraries = loadedLibraries();
    auto it = libraries.find(file);
    if (it != libraries.end()) return it->second;
    std::string path = pluginFolder() + file;
    bool besideUs =
        file.find('/') == std::string::npos && !pluginFolder().empty() && access(path.c_str(), F_OK) == 0;
    void *handle = dlopen(besideUs ? path.c_str() : file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = dlerror();
        automation::raise(automation::err::DllLoad, why ? why : file);
    }
    libraries[file] = handle;
    return handle;
}

}  // namespace

std::string libraryFile(Library library) {
    std::lock_guard<std::mutex> lock(bindingMutex());
    return fileOf(library);
}

void setLibraryFile(Library library, const std::string &file) {
    std::lock_guard<std::mutex> lock(bindingMutex());
    fileOf(library) = file;
}

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
    std::string file = file_ ? std::string(file_) : fileOf(library_);
    void *handle = openLibrary(file);
    dlerror();
    void *entry = dlsym(handle, name_);
    if (!entry) automation::raise(automation::err::EntryPointNotFound, std::string(name_) + " in " + file);
    entry_.store(entry, std::memory_order_release);
    return entry;
}

const SizeNote &Slot::note() {
    std::call_once(parsed_, [this] { note_ = SizeNote(params_, noteText_); });
    return note_;
}

}  // namespace tessiq
