// matrix_internal.h - internal: the library's own matrix routines as other routines of the
// library call them (never through the exported names, which a process may have bound to the
// signal library's namesakes).
#ifndef NUMORA_MATRIX_INTERNAL_H
#define NUMORA_MATRIX_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace numora {

// Zero-filled work array of n elements; empty when the memory cannot be had.
template <class T>
std::unique_ptr<T[]> workArray(std::size_t n) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[n]());
}

// Checks a rows x cols size: false with code 10 (a count below 1) or 1 (more than 2^31 - 1
// elements, storage that cannot be had).
bool checkSize(std::int32_t rows, std::int32_t cols);

// MatInv: 1 inverted in place, 0 failure with code 1 or 5 (a unchanged).
std::int32_t invertMatrix(float *a, std::int32_t n);

// MatEigenV: eigenvalues of the general n x n matrix a (unchanged); 1, or 0 with code 1 or 9.
std::int32_t eigenvaluesGeneral(const float *a, std::int32_t n, float *re, float *im,
                                std::int32_t maxIterations);

}  // namespace numora

#endif
