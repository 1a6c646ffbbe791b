// plugin.h - control plugins and creation by ProgID.
//
// A control library exports one C function, automation_create_control, that makes a new
// instance for a ProgID it serves (null for any other). The ProgID table maps each ProgID to
// its library file; createControl() finds the library next to the running program first, then
// next to this layer's own library, then on the library search path, loads it once and keeps
// it loaded for the life of the process.
#pragma once

#include <memory>
#include <string>

#include "automation/control.h"

extern "C" {
// Defined by every control library.
__attribute__((visibility("default"))) automation::Control *automation_create_control(const char *progId);
}

namespace automation {

constexpr const char *kFactorySymbol = "automation_create_control";

// Library file of a ProgID, or "" when the ProgID is unknown.
std::string libraryForProgId(const std::string &progId);
// Adds or replaces a ProgID (tests register their own controls this way).
void registerProgId(const std::string &progId, const std::string &libraryFile);

// Creates a control; raises 429 when the ProgID is unknown, the library cannot be loaded, it
// has no factory, or the factory refuses the ProgID. The message names the cause.
std::unique_ptr<Control> createControl(const std::string &progId);

// Folder of the running program and of this layer's library (with a trailing '/').
std::string programFolder();
std::string automationFolder();

}  // namespace automation
