/* Compiled as C only: the header must stay plain C (no C++ constructs, layout asserts in C11). */
#include "sigmora.h"

int sigmora_header_check(void);

int sigmora_header_check(void) {
    SignalFileInfo info = {0};
    int32_t pos = 0;
    float x[2] = {1.0f, 2.0f};
    DaubCoef(4);
    return (int)sizeof info + (int)MaxValueCalc(x, 2, &pos);
}
