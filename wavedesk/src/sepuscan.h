// sepuscan.h - a second look at the text of a .sepu file: how many of its values are not whole
// microvolts (the reader rounds them, which a user should hear about).
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

namespace wavedesk {

// Counts the values of .sepu text that are not whole numbers, looking at the first maxValues
// values. Items are separated as the reader separates them (line ends, commas, blanks, tabs) and
// the scan stops where the reader stops: at an item that is not a decimal number or is longer
// than 64 characters. Feed the text in pieces of any size, then call finish().
class FractionScanner {
  public:
    explicit FractionScanner(int64_t maxValues) : left_(maxValues) {}
    void feed(const char *data, std::size_t size);
    void finish();
    int64_t fractional() const { return fractional_; }
    int64_t values() const { return values_; }

  private:
    void item();
    std::string token_;
    int64_t left_;
    int64_t values_ = 0, fractional_ = 0;
    bool stopped_ = false;
};

// FractionScanner over a file; 0 when it cannot be read.
int64_t CountFractionalValues(const QString &fileName, int64_t maxValues);

}  // namespace wavedesk
