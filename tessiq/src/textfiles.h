// textfiles.h - sorting of texts and the plain-text matrix files of the DSP control.
//
// Matrix file: one matrix row per line, numbers separated by blanks or commas, lines ended by
// CR LF (reading also takes LF or CR alone); empty lines and lines of blanks are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessiq::textfiles {

// Sorts items(0..|count|-1) ascending by their bytes with the control's partition sort; with
// count >= 0 index(i) starts as i and follows every swap, with count < 0 index is not used.
void sortStrings(std::string *items, int32_t count, int32_t *index);

// The text of one value followed by a blank, as the writer puts it in a line.
std::string valueText(float v, int32_t dtype);
// Writes rows x cols values (row-major) with CR LF line ends; false when the file cannot be created.
bool writeMatrix(const std::string &file, int32_t rows, int32_t cols, const float *values, int32_t dtype);

// Number of fields of a trimmed line: separators counted, a run of them once unless it ends
// the line, plus one.
int32_t fieldCount(const std::string &line);
// Up to maxValues values of a trimmed line, each the leading number of its token (0 if none).
std::vector<float> parseValues(const std::string &line, int32_t maxValues);
// The lines of a file with blanks trimmed and empty ones dropped; false when it cannot be opened.
bool readLines(const std::string &file, std::vector<std::string> &lines);

struct MatrixInfo {
    int32_t rows = 0;
    int32_t cols = 0;
};
bool readMatrixInfo(const std::string &file, MatrixInfo &info);
// Stores row r's values at buffer(r * cols + c) for the first rows non-empty lines; min and max
// of what was stored (0, 0 when nothing). The caller's buffer holds rows * cols values.
bool readMatrix(const std::string &file, int32_t rows, int32_t cols, float *buffer, float &min, float &max);

// The leading number of a text (sign, digits, point, exponent), 0 when there is none.
double leadingNumber(const std::string &text);

}  // namespace tessiq::textfiles
