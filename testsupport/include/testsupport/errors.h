// errors.h - the automation error number a call raises.
#ifndef TESTSUPPORT_ERRORS_H
#define TESTSUPPORT_ERRORS_H

#include <functional>

#include "automation/errors.h"

namespace testsupport {

// The error number `f` raises, 0 when it returns normally.
inline int errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const automation::Error &e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport

#endif
