// The DSP control's dispatch entry driven by a byte stream (see dispatch_driver.h); the
// signal and numerics libraries are bound from the build's program folder.
#include <QDir>
#include <cstdlib>

#include "control.h"
#include "dispatch_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string scratch = [] {
        const std::string dir = QDir::tempPath().toStdString() + "/swb-fuzz-tessiq";
        QDir().mkpath(QString::fromStdString(dir));
        // A number passed where a file name is expected becomes a relative name: keep those in
        // the scratch folder too.
        QDir::setCurrent(QString::fromStdString(dir));
        return dir;
    }();
    tessiq::Tessiq control;
    fuzzdrive::Driver(scratch).run(control, data, size);
    return 0;
}
