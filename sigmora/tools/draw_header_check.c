/* Compiled as C only: the drawing surface header must stay plain C. */
#include "sigmora_draw.h"

int sigmora_draw_header_check(void);

int sigmora_draw_header_check(void) {
    SigmoraSurface *s = CreateMemorySurface(4, 4, 0, 0);
    SigmoraPoint p = {1, 2};
    int32_t rect[4] = {0, 0, 4, 4};
    SetCurveGrid(s, rect, 0, 1);
    FreeMemorySurface(s);
    return p.x + (int)sizeof(SigmoraPortBackend);
}
