// The chart control's dispatch entry driven by a byte stream (see dispatch_driver.h).
#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <memory>

#include "dispatch_driver.h"
#include "graphanecontrol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_graphane_dispatch";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)app;
    static const std::string scratch = [] {
        const std::string dir = QDir::tempPath().toStdString() + "/swb-fuzz-graphane";
        QDir().mkpath(QString::fromStdString(dir));
        // A number passed where a file name is expected becomes a relative name: keep those in
        // the scratch folder too.
        QDir::setCurrent(QString::fromStdString(dir));
        return dir;
    }();
    graphane::GraphaneControl chart;
    chart.surface().resize(QSize(160, 120));
    fuzzdrive::Driver(scratch).run(chart, data, size);
    return 0;
}
