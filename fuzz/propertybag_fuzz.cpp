// The property bag's text form: any text parses or fails with the control's error, and what
// parses prints back to text that parses to the same bag.
#include <string>

#include "automation/errors.h"
#include "automation/propertybag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    try {
        const automation::PropertyBag bag = automation::PropertyBag::fromText(text);
        const std::string printed = bag.toText();
        const automation::PropertyBag again = automation::PropertyBag::fromText(printed);
        if (again.toText() != printed) __builtin_trap();
    } catch (const automation::Error &) {
    }
    return 0;
}
