/* sigmora_draw.h - the drawing surface of the signal library's plotting and surface exports.
 *
 * A drawing surface is a table of drawing operations that a caller implements (a window, a
 * printer, a picture file, ...). The curve, surface and contour exports of sigmora.h draw only
 * through it, where a Windows program would pass a device context. Every member may be NULL:
 * the operation then does nothing (resolution: 96 dpi, bitmap output: 0 lines drawn).
 *
 * Coordinates are device pixels, x to the right and y downwards; colours are 0x00BBGGRR.
 *
 * The library also ships one implementation over a memory bitmap (RGB, white when created) that
 * can be read pixel by pixel and saved as a 24-bit BMP file; it carries a small built-in glyph
 * set, so text needs no font.
 */
#ifndef SIGMORA_DRAW_H
#define SIGMORA_DRAW_H

#include "sigmora.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A point in device pixels. */
typedef struct SigmoraPoint {
    int32_t x;
    int32_t y;
} SigmoraPoint;

/* Pen styles: the dash patterns run along each line; NULL draws nothing; INSIDE is solid. */
enum SigmoraPenStyle {
    SIGMORA_PEN_SOLID = 0,
    SIGMORA_PEN_DASH = 1,
    SIGMORA_PEN_DOT = 2,
    SIGMORA_PEN_DASHDOT = 3,
    SIGMORA_PEN_DASHDOTDOT = 4,
    SIGMORA_PEN_NULL = 5,
    SIGMORA_PEN_INSIDE = 6
};

/* Brush styles: SOLID fills with the brush colour, NULL leaves the interior alone. */
enum SigmoraBrushStyle { SIGMORA_BRUSH_SOLID = 0, SIGMORA_BRUSH_NULL = 1 };

/* Background modes of text: TRANSPARENT draws the glyphs only, OPAQUE fills their cells first. */
enum SigmoraBackgroundMode { SIGMORA_TRANSPARENT = 1, SIGMORA_OPAQUE = 2 };

/* The operations a drawing surface offers; `user` is passed back to each of them. */
typedef struct SigmoraSurface {
    void *user;
    /* Pushes the pen, brush, text colour, background mode and colour and the current point. */
    void (*save)(void *user);
    /* Pops what the matching save pushed (nothing when nothing was saved). */
    void (*restore)(void *user);
    /* Selects a pen: style (SigmoraPenStyle), width in pixels (below 1 counts as 1), colour. */
    void (*setPen)(void *user, int32_t style, int32_t width, uint32_t colour);
    /* Selects a brush: style (SigmoraBrushStyle) and colour. */
    void (*setBrush)(void *user, int32_t style, uint32_t colour);
    /* Moves the current point. */
    void (*moveTo)(void *user, int32_t x, int32_t y);
    /* Draws with the pen from the current point up to, not including, (x, y), which becomes the
     * current point. */
    void (*lineTo)(void *user, int32_t x, int32_t y);
    /* Sets one pixel. */
    void (*setPixel)(void *user, int32_t x, int32_t y, uint32_t colour);
    /* Colour of the glyphs of textOut. */
    void (*setTextColor)(void *user, uint32_t colour);
    /* Background mode of textOut (SigmoraBackgroundMode). */
    void (*setBkMode)(void *user, int32_t mode);
    /* Background colour of textOut in opaque mode. */
    void (*setBkColor)(void *user, uint32_t colour);
    /* Draws n characters of text with the top-left corner of the first cell at (x, y). */
    void (*textOut)(void *user, int32_t x, int32_t y, const char *text, int32_t n);
    /* Fills the closed polygon of n points with the brush (alternate rule: a pixel whose centre
     * lies inside) and outlines it with the pen. */
    void (*polygon)(void *user, const SigmoraPoint *points, int32_t n);
    /* Makes the n colours available for 8-bit bitmaps; returns the entries realised. */
    int32_t (*realizePalette)(void *user, const uint32_t *colours, int32_t n);
    /* Copies a device-independent bitmap of width x height pixels with its top-left corner at
     * (x, y): rows bottom-up, each padded to a multiple of 4 bytes; 24 bits per pixel are the
     * bytes blue, green, red; 8 bits per pixel index colourTable (256 entries, 0x00BBGGRR).
     * Returns the number of rows drawn. */
    int32_t (*bitmapOut)(void *user, int32_t x, int32_t y, int32_t width, int32_t height,
                         int32_t bitsPerPixel, const uint8_t *bits, const uint32_t *colourTable);
    /* Logical pixels per inch, vertical (vertical != 0) or horizontal. */
    int32_t (*resolution)(void *user, int32_t vertical);
} SigmoraSurface;

/* ---- Memory bitmap surface ---------------------------------------------------------------- */

/* Largest side and largest pixel count of a memory surface. */
#define SIGMORA_SURFACE_MAX_SIDE 16384
#define SIGMORA_SURFACE_MAX_PIXELS (16384 * 2048)

/* Creates a white width x height memory surface with dpiX / dpiY pixels per inch (0: 96);
 * NULL when a side is below 1 or above the caps, a resolution is negative or above 10000, or
 * memory runs out. Free it with FreeMemorySurface. */
SIGMORA_API SigmoraSurface *CreateMemorySurface(int32_t width, int32_t height, int32_t dpiX,
                                                int32_t dpiY);
/* Frees a memory surface (NULL or any other surface: nothing happens). */
SIGMORA_API void FreeMemorySurface(SigmoraSurface *surface);
/* Width and height of a memory surface into *width / *height; 1, 0 if not a memory surface. */
SIGMORA_API int32_t MemorySurfaceSize(const SigmoraSurface *surface, int32_t *width,
                                      int32_t *height);
/* Colour of pixel (x, y) of a memory surface; 0xFFFFFFFF outside it or for another surface. */
SIGMORA_API uint32_t MemorySurfacePixel(const SigmoraSurface *surface, int32_t x, int32_t y);
/* Fills the whole memory surface with colour and resets its drawing state; 1, 0 if not one. */
SIGMORA_API int32_t ClearMemorySurface(SigmoraSurface *surface, uint32_t colour);
/* Writes the memory surface as a 24-bit BMP file: into a temporary file beside path, renamed
 * onto path once complete (a failed save leaves an existing file as it was); 1/0. */
SIGMORA_API int32_t SaveMemorySurfaceBmp(const SigmoraSurface *surface, const char *path);

#ifdef __cplusplus
}
#endif

#endif /* SIGMORA_DRAW_H */
