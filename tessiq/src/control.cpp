// The DSP control: a non-visual control whose members are declared once (methods.def) and get
// their handlers from the rows of each family (members.h).
#include <cstring>
#include <new>

#include "automation/control.h"
#include "automation/errors.h"
#include "automation/plugin.h"
#include "control.h"
#include "members.h"

namespace tessiq {

Tessiq::Tessiq() {
    for (automation::Member &m : controlMembers(instance_)) table().add(std::move(m));
}

automation::Variant Tessiq::invoke(automation::DispId id, automation::InvokeKind kind,
                                   automation::Args &args) {
    try {
        return ControlBase::invoke(id, kind, args);
    } catch (const std::bad_alloc &) {
        automation::raise(automation::err::OutOfMemory);
    } catch (const std::length_error &) {
        automation::raise(automation::err::OutOfMemory);
    }
}

}  // namespace tessiq
