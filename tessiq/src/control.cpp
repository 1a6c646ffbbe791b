// The DSP control: a non-visual control whose members are declared in rows (members.h) and
// mostly forward to the signal and numerics libraries, bound at their first call.
#include <cstring>
#include <new>

#include "automation/control.h"
#include "automation/errors.h"
#include "automation/plugin.h"
#include "members.h"

namespace tessiq {

namespace {

class Tessiq : public automation::ControlBase {
 public:
  Tessiq() {
    for (automation::Member &m : workbenchMembers()) table().add(std::move(m));
  }

  automation::Variant invoke(automation::DispId id, automation::InvokeKind kind,
                             automation::Args &args) override {
    try {
      return ControlBase::invoke(id, kind, args);
    } catch (const std::bad_alloc &) {
      automation::raise(automation::err::OutOfMemory);
    }
  }
};

}  // namespace

}  // namespace tessiq

extern "C" automation::Control *automation_create_control(const char *progId) {
  if (!progId || std::strcmp(progId, "TessiqLib.Tessiq") != 0) return nullptr;
  try {
    return new tessiq::Tessiq();
  } catch (...) {
    return nullptr;
  }
}
