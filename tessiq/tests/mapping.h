// mapping.h - a DSP control whose libraries are the recording stand-ins, for mapping tests:
// run() gives the calls that reached the libraries ("Name(args); Name(args)", the signal
// library's first, then " | " and the numerics library's).
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "automation/host.h"
#include "binding.h"
#include "control.h"

namespace tessiq_test {

class Recorder {
  public:
    explicit Recorder(const char *path) {
        handle_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (!handle_) throw std::runtime_error(dlerror());
        calls_ = reinterpret_cast<const char *(*)()>(dlsym(handle_, "RecorderCalls"));
        clear_ = reinterpret_cast<void (*)()>(dlsym(handle_, "RecorderClear"));
        result_ = reinterpret_cast<void (*)(double)>(dlsym(handle_, "RecorderSetResult"));
    }
    std::string calls() const { return calls_(); }
    void clear() const { clear_(); }
    void setResult(double r) const { result_(r); }

  private:
    void *handle_;
    const char *(*calls_)();
    void (*clear_)();
    void (*result_)(double);
};

class Mapping : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        tessiq::setLibraryFile(tessiq::Library::Sigmora, TESSIQ_RECORD_SIGMORA);
        tessiq::setLibraryFile(tessiq::Library::Numora, TESSIQ_RECORD_NUMORA);
    }
    void SetUp() override {
        sigmora.setResult(1);
        numora.setResult(1);
    }
    std::string run(const std::function<void()> &call) {
        sigmora.clear();
        numora.clear();
        call();
        std::string s = sigmora.calls(), n = numora.calls();
        return s.empty() ? n : n.empty() ? s : s + " | " + n;
    }

    Recorder sigmora{TESSIQ_RECORD_SIGMORA};
    Recorder numora{TESSIQ_RECORD_NUMORA};
    automation::ControlHandle dsp{std::make_unique<tessiq::Tessiq>()};
};

}  // namespace tessiq_test
