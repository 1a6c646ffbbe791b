// The fraction scanner of sepuprep on any bytes: fed in pieces it counts what it counts fed whole,
// never more values than asked for, never more fractional values than values.
#include <algorithm>
#include <cstdint>

#include "sepuscan.h"

namespace {

wavedesk::FractionScanner scanInPieces(const uint8_t *data, size_t size, size_t piece, int64_t maxValues) {
    wavedesk::FractionScanner scanner(maxValues);
    for (size_t at = 0; at < size; at += piece)
        scanner.feed(reinterpret_cast<const char *>(data) + at, std::min(piece, size - at));
    scanner.finish();
    return scanner;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const size_t piece = 1 + data[0] % 7;  // the first byte picks the piece size
    const int64_t maxValues = 1 + data[0] % 40;
    data += 1;
    size -= 1;
    const wavedesk::FractionScanner whole = scanInPieces(data, size, size + 1, maxValues);
    const wavedesk::FractionScanner pieces = scanInPieces(data, size, piece, maxValues);
    if (whole.values() != pieces.values() || whole.fractional() != pieces.fractional()) __builtin_trap();
    if (whole.values() > maxValues || whole.fractional() > whole.values() || whole.fractional() < 0)
        __builtin_trap();
    return 0;
}
