#include "automation/plugin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "automation/errors.h"

namespace automation {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::string> progIds{
        {"GraphaneLib.Graphane", "libgraphane.so"},
        {"TessiqLib.Tessiq", "libtessiq.so"},
    };
    std::map<std::string, void *> loaded;  // library file -> handle, kept open
};

Registry &registry() {
    static Registry r;
    return r;
}

std::string folderOf(const std::string &path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void *openLibrary(const std::string &file, std::string &why) {
    // A path (tests register fixtures kept outside the programs' folder) is loaded as given.
    if (file.find('/') != std::string::npos) {
        if (void *h = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
        why = dlerror();
        return nullptr;
    }
    for (const std::string &folder : {programFolder(), automationFolder()}) {
        if (folder.empty()) continue;
        std::string path = folder + file;
        if (access(path.c_str(), F_OK) != 0) continue;
        if (void *h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
        why = dlerror();
        return nullptr;
    }
    if (void *h = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
    why = dlerror();
    return nullptr;
}

}  // namespace

std::string programFolder() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "";
    return folderOf(std::string(buf, static_cast<std::size_t>(n)));
}

std::string automationFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void *>(&createControl), &info) || !info.dli_fname) return "";
    return folderOf(info.dli_fname);
}

std::string libraryForProgId(const std::string &progId) {
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.progIds.find(progId);
    return it == r.progIds.end() ? std::string() : it->second;
}

void registerProgId(const std::string &progId, const std::string &libraryFile) {
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.progIds[progId] = libraryFile;
}

std::unique_ptr<Control> createControl(const std::string &progId) {
    std::string file = libraryForProgId(progId);
    if (file.empty()) raise(err::CantCreateObject, "unknown ProgID " + progId);
    void *handle = nullptr;
    {
        Registry &r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.loaded.find(file);
        if (it != r.loaded.end()) {
            handle = it->second;
        } else {
            std::string why;
            handle = openLibrary(file, why);
            if (!handle) raise(err::CantCreateObject, file + ": " + why);
            r.loaded[file] = handle;
        }
    }
    using Factory = Control *(*)(const char *);
    auto factory = reinterpret_cast<Factory>(dlsym(handle, kFactorySymbol));
    if (!factory) raise(err::CantCreateObject, file + " has no control factory");
    Control *control = factory(progId.c_str());
    if (!control) raise(err::CantCreateObject, file + " does not make " + progId);
    return std::unique_ptr<Control>(control);
}

}  // namespace automation
