// state.cpp - process-wide settings (error code, precision, language) and the error notes.
// Each setting is one atomic 32-bit value: reads and writes from several threads are defined,
// though callers still see each other's codes.
#include "state.h"

#include "numora.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<int32_t> g_errorCode{0};
std::atomic<float> g_precision{1.0e-6f};
std::atomic<int32_t> g_language{0};

constexpr int kNoteCount = 12;

const char *const kEnglishNotes[kNoteCount] = {
    "No error",
    "Allocate memory error",
    "Lock memory error",
    "NULL pointer",
    "Integral function is not given",
    "Sigular matrix",
    "QR decomposition error",
    "Square matrix required",
    "Sigular decomposition error",
    "Over maximiun iterative number",
    "Other unknown error",
    "Open file error.",
};

// The same notes in Chinese, GBK-encoded.
const char *const kChineseNotes[kNoteCount] = {
    "\xC3\xBB\xD3\xD0\xB4\xED\xCE\xF3",                                  // no error
    "\xB7\xD6\xC5\xE4\xC4\xDA\xB4\xE6\xB4\xED\xCE\xF3",                  // memory allocation error
    "\xCB\xF8\xB6\xA8\xC4\xDA\xB4\xE6\xB4\xED\xCE\xF3",                  // memory lock error
    "\xBF\xD5\xD6\xB8\xD5\xEB",                                          // null pointer
    "\xC3\xBB\xD3\xD0\xB8\xF8\xB3\xF6\xBB\xFD\xB7\xD6\xBA\xAF\xCA\xFD",  // the integrand is not given
    "\xBE\xD8\xD5\xF3\xB7\xA2\xC9\xFA\xC6\xE6\xD2\xEC",                  // the matrix became singular
    "QR\xBE\xD8\xD5\xF3\xB7\xD6\xBD\xE2\xB4\xED\xCE\xF3",                // QR decomposition error
    "\xB2\xBB\xCA\xC7\xB7\xBD\xD5\xF3",                                  // not a square matrix
    "\xC6\xE6\xD2\xEC\xD6\xB5\xB7\xD6\xBD\xE2\xB4\xED\xCE\xF3",          // singular value decomposition error
    "\xB3\xAC\xB9\xFD\xD7\xEE\xB4\xF3\xB5\xFC\xB4\xFA\xB4\xCE\xCA\xFD",  // maximum iteration count exceeded
    "\xC6\xE4\xCB\xFB\xCE\xB4\xD6\xAA\xB4\xED\xCE\xF3",                  // other unknown error
    "\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE\xB4\xED\xCE\xF3 !",                // file open error
};

}  // namespace

namespace numora {

void setError(int32_t code) {
    g_errorCode.store(code, std::memory_order_relaxed);
}

float precision() {
    return g_precision.load(std::memory_order_relaxed);
}

}  // namespace numora

extern "C" NUMORA_API int32_t getErrorCode(void) {
    return g_errorCode.load(std::memory_order_relaxed);
}

extern "C" NUMORA_API int32_t setErrorCode(int32_t code) {
    return g_errorCode.exchange(code);
}

extern "C" NUMORA_API float getPrecision(void) {
    return g_precision.load(std::memory_order_relaxed);
}

extern "C" NUMORA_API float setPrecision(float precision) {
    return g_precision.exchange(precision);
}

extern "C" NUMORA_API int32_t setLanguage(int32_t language) {
    return g_language.exchange(language);
}

extern "C" NUMORA_API int32_t getLanguage(void) {
    return g_language.load(std::memory_order_relaxed);
}

extern "C" NUMORA_API int32_t getErrorNote(int32_t code, char *buffer) {
    if (code < 0 || code >= kNoteCount || !buffer) return 0;
    const bool english = g_language.load(std::memory_order_relaxed) == 0;
    const char *note = english ? kEnglishNotes[code] : kChineseNotes[code];
    const size_t length = std::strlen(note);
    std::memcpy(buffer, note, length + 1);
    return static_cast<int32_t>(length);
}
