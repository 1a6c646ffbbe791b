// fresh_library.h - loads a private copy of a shared library, so a test sees the state a
// process has right after loading it, whatever other tests of this program did before.
#ifndef TESTSUPPORT_FRESH_LIBRARY_H
#define TESTSUPPORT_FRESH_LIBRARY_H

#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>

#include <filesystem>
#include <string>

class FreshLibrary {
  public:
    explicit FreshLibrary(const std::string &path) {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() / ("fresh_lib_" + std::to_string(getpid()) + "_" +
                                            std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(dir_);
        copy_ = dir_ / fs::path(path).filename();
        fs::copy_file(path, copy_, fs::copy_options::overwrite_existing);
        handle_ = dlopen(copy_.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    ~FreshLibrary() {
        if (handle_) dlclose(handle_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    FreshLibrary(const FreshLibrary &) = delete;
    FreshLibrary &operator=(const FreshLibrary &) = delete;

    bool loaded() const { return handle_ != nullptr; }
    template <class Fn>
    Fn symbol(const char *name) const {
        return handle_ ? reinterpret_cast<Fn>(dlsym(handle_, name)) : nullptr;
    }

  private:
    std::filesystem::path dir_, copy_;
    void *handle_ = nullptr;
};

#endif
