// The plugin's one export: creates the chart control for its ProgID.
#include <QApplication>
#include <cstring>

#include "automation/plugin.h"
#include "graphane/dispids.h"
#include "graphanecontrol.h"

extern "C" automation::Control *automation_create_control(const char *progId) {
    if (!progId || std::strcmp(progId, graphane::ProgId) != 0) return nullptr;
    // A visual control needs the host's widget application; without one it cannot be made.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) return nullptr;
    try {
        return new graphane::GraphaneControl();
    } catch (...) {
        return nullptr;
    }
}
