// propertybag.h - named values a control loads at creation and saves for its host.
//
// Keys keep the order in which they were written. write() with a default omits the key when
// the value equals that default, as a host does when it saves a form. The text form (one
// "Key = Type value" line per entry) is how the programs keep their design-time settings.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "automation/variant.h"

namespace automation {

class PropertyBag {
  public:
    bool contains(const std::string &key) const;
    // The stored value, or `fallback` when the key is missing.
    Variant read(const std::string &key, const Variant &fallback) const;
    void write(const std::string &key, const Variant &value);
    // Stores the value unless it equals `saveDefault`, in which case the key is removed.
    void write(const std::string &key, const Variant &value, const Variant &saveDefault);
    void remove(const std::string &key);
    const std::vector<std::pair<std::string, Variant>> &entries() const { return entries_; }

    // Text form, for example:
    //   BorderStyle = I2 2
    //   MarginRight = R4 40
    //   TitleX = String "Time"
    // Types: I2, I4, R4, R8, Bool, String (quoted, \" and \\ escaped), Picture (hex bytes).
    // Blank lines and lines starting with '#' are ignored. A malformed line raises 380.
    std::string toText() const;
    static PropertyBag fromText(const std::string &text);

  private:
    std::vector<std::pair<std::string, Variant>> entries_;
};

}  // namespace automation
