// snr.h - the signal-to-noise figures of the zoom window, on plain arrays: how much the
// corrected trace is quieter than the raw one, by mean first difference and by amplitude span,
// and the text the zoom window prints them with. Also the number texts of the view commands.
#pragma once

#include <cstdint>
#include <string>

namespace wavedesk {

// A measure of values[0..count-1] as a single: kind 1 the mean of |v(a+1) - v(a)| over
// a = 0..count-2 (0 when count < 2); any other kind the span max - min (0 when count < 1).
// A null array gives 0.
float SeriesMeasure(const float *values, int32_t count, int16_t kind);

struct SnrFigures {
    float rawDiff = 0, sigDiff = 0, diffRatio = 0;  // mean first differences and raw / signal
    float rawSpan = 0, sigSpan = 0, spanRatio = 0;  // amplitude spans and raw / signal
};

// The figures of a raw trace against its corrected signal. A ratio is 0 unless both of its
// terms are greater than 0.
SnrFigures SignalToNoise(const float *raw, int32_t rawCount, const float *signal, int32_t signalCount);

// The six lines of the figures, separated by line feeds, the last without one; every number
// in the "0.000" format.
std::string SnrText(const SnrFigures &f);

// v rounded to three decimals, halves away from zero, with at least one digit before the
// point ("0.000", "12.346", "10.063" for 10.0625).
std::string FixedText3(float v);

// The shortest text that reads back as the same single, in plain decimals ("1", "2.5",
// "0.1", "1234.567") and in exponent form only below 1e-5 or from 1e15 on ("1e+20").
std::string ShortestText(float v);

}  // namespace wavedesk
