// sepufile.h - the .sepu chromatogram file: plain text, one value in microvolts per line
// (CR LF), no header. In memory the values are millivolts, 20 samples per second.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "automation/host.h"

namespace wavedesk {

constexpr int32_t kMaxPoints = 16384;  // points used from one file
constexpr int kSamplesPerSecond = 20;

// Reads the values of a .sepu file as millivolts into buffer[0..capacity-1]. Values are
// separated by any run of line ends, commas, blanks or tabs; each is a decimal number that is
// rounded (half to even) to a 32-bit integer of microvolts and divided by 1000. Reading stops
// at the end of the file, when `capacity` values are stored, or at the first item that is not
// such a number (a word, a binary byte, a value beyond the 32-bit range); the values before it
// are kept. Returns the number stored; 0 when the file cannot be opened, buffer is null or
// capacity < 1.
int32_t LoadSepuValues(const QString &fileName, float *buffer, int32_t capacity);

// The number of values worth reading from a file of `fileBytes` bytes: a file cannot hold
// more values than bytes, and more than kMaxPoints are never used. 0 for an empty file.
int32_t SepuCapacity(int64_t fileBytes);

// Text of one value as written to a file: value * 1000 in single precision, rounded half to
// even to whole microvolts, which is exactly what reading makes of it (so saving a loaded file
// reproduces it). A product beyond the 32-bit range, infinite or NaN is written in its
// shortest text ("3e+12", "inf", "nan"), which reading then stops at.
std::string SepuValueText(float millivolts);

// Writes values (mV) as a .sepu file, replacing an existing one only when the whole file was
// written. Returns 1 on success, 0 when the file cannot be created or written.
int16_t WriteSepuValues(const QString &fileName, const float *values, int32_t count);

// Writes the y values of series `seriesIndex` of a chart as a .sepu file. Returns 1 on
// success, 0 when the index is negative or not below nSeries, or the file cannot be written.
int16_t WriteSeriesText(automation::ControlHandle &chart, const QString &fileName, int16_t seriesIndex);

// Removes the extension of the file name in `path`: the last "." of the last path component
// and everything after it, unless that dot begins the name (".profile"). Folders are never
// cut, so "/data.old/run" stays whole.
QString StripExtension(const QString &path);

}  // namespace wavedesk
