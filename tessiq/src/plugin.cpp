// The plugin's only export: the factory of the DSP control.
#include <cstring>

#include "automation/plugin.h"
#include "control.h"

extern "C" automation::Control *automation_create_control(const char *progId) {
    if (!progId || std::strcmp(progId, "TessiqLib.Tessiq") != 0) return nullptr;
    try {
        return new tessiq::Tessiq();
    } catch (...) {
        return nullptr;
    }
}
