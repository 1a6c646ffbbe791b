// noise.cpp - random variates from a linear congruential generator whose state belongs to the
// calling thread; the Gaussian generator alternates sine and cosine branches library-wide.
#include "sigmora.h"

#include <atomic>
#include <cmath>
#include <cstdint>

namespace {

// Every thread starts at 1, so a seed set in one thread never shifts another thread's sequence.
thread_local uint32_t t_state = 1;

// Branch of the next NormalNoise call (0 sine, 1 cosine), shared by every thread of the process.
std::atomic<int> g_gaussBranch{0};

// One generator step: an integer 0 .. 32767.
int32_t nextRandom() {
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int32_t>((t_state >> 16) & 0x7FFFu);
}

float uniform(float a, float b) {
    return a + static_cast<float>(nextRandom()) * 3.0518509e-5f * (b - a);
}

}  // namespace

extern "C" {

void SetRandSeed(int32_t seed) {
    t_state = static_cast<uint32_t>(seed);
}

float UniformNoise(float a, float b) {
    return uniform(a, b);
}

float NormalNoise(float mean, float std) {
    const float u1 = uniform(1e-6f, 1.0f);
    const float u2 = uniform(1e-6f, 1.0f);
    const double R = std::sqrt(-2.0 * std::log(static_cast<double>(u1)));
    const double theta = 6.2831852 * u2;
    const bool cosine = g_gaussBranch.fetch_xor(1, std::memory_order_relaxed) != 0;
    const double z = cosine ? R * std::cos(theta) : R * std::sin(theta);
    return static_cast<float>(z * std + mean);
}

float TriangleNoise(float a, float b, float c) {
    const float u = uniform(0.0f, 1.0f);
    if (c == a) return a;  // a triangle of zero width has only its one value
    const float rise = b - a;
    const float F = rise / (c - a);
    if (u <= F) return a + std::sqrt((c - a) * rise * u);
    return c - std::sqrt((c - b) * (1.0f - u) * (c - a));
}

float ExpSignal(float rate) {
    double u = nextRandom() * 3.051850947599719e-5;
    if (u < 1e-5) u += 1e-5;
    if (rate == 0.0f) return 0.0f;
    return static_cast<float>(-std::log(u) / rate);
}

}  // extern "C"
