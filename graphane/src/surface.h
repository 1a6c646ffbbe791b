// surface.h - the chart's persistent drawing surface: a 32-bit picture that keeps what was
// drawn, with the drawing state of a classic form surface (foreground colour, pen width and
// style, fill style and colour, font, current point). Antialiasing is off everywhere.
//
// Colours are 0x00BBGGRR integers. Solid one-pixel lines are rasterised by rasterline.h so
// that a segment covers its start pixel and not its end pixel; everything else goes through
// QPainter on the picture.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "rasterline.h"

namespace graphane {

// Pen styles of DrawStyle.
enum PenStyle : int16_t {
    PenSolid = 0,
    PenDash = 1,
    PenDot = 2,
    PenDashDot = 3,
    PenDashDotDot = 4,
    PenInvisible = 5,
    PenInsideSolid = 6
};
// Fill styles (0 solid, 1 transparent, 2..7 hatches).
enum FillStyle : int16_t { FillSolid = 0, FillTransparent = 1 };

uint32_t toArgb(int32_t oleColor);
double screenDpiX();  // pixels per inch of the output device (96 without a screen)
double screenDpiY();

class Surface {
  public:
    explicit Surface(QSize size, int32_t backColor);
    ~Surface();
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    // A new picture of the given size, cleared to the back colour; the drawing state stays.
    void resize(QSize size);
    QSize size() const { return image_.size(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage &image() const { return image_; }

    int32_t backColor() const { return backColor_; }
    void setBackColor(int32_t color);  // also clears the picture to it
    int32_t foreColor() const { return foreColor_; }
    void setForeColor(int32_t color) { foreColor_ = color; }
    int16_t drawWidth() const { return drawWidth_; }
    void setDrawWidth(int16_t width);  // raises 380 below 1
    int16_t drawStyle() const { return drawStyle_; }
    void setDrawStyle(int16_t style);  // raises 380 outside 0..6
    int16_t fillStyle() const { return fillStyle_; }
    void setFillStyle(int16_t style);  // raises 380 outside 0..7
    int32_t fillColor() const { return fillColor_; }
    void setFillColor(int32_t color) { fillColor_ = color; }

    const QFont &font() const { return font_; }
    QString fontName() const { return fontName_; }
    void setFontName(const QString &name);  // a face the system does not know is ignored
    double fontSize() const { return font_.pointSizeF(); }
    void setFontSize(double points);  // raises 380 outside 0 < points <= 2160
    bool fontBold() const { return font_.bold(); }
    void setFontBold(bool on) { font_.setBold(on); }
    bool fontItalic() const { return font_.italic(); }
    void setFontItalic(bool on) { font_.setItalic(on); }

    float currentX = 0, currentY = 0;

    // Drawing. Coordinates are pixels as floats; lines use the current pen width and style.
    void clear();
    void line(float x1, float y1, float x2, float y2, int32_t color);
    void lineTo(float x, float y, int32_t color) { line(currentX, currentY, x, y, color); }
    void dot(float x, float y, int32_t color);  // a dot of the pen's width
    // Connected lines through the points with the current pen (styled or wide pens); the
    // pattern runs on across the points. A point that is not finite breaks the line.
    void polyline(const std::vector<QPointF> &points, int32_t color);
    void box(float x1, float y1, float x2, float y2, int32_t color, bool filled);
    void ellipse(float cx, float cy, float radius, float aspect, int32_t color);  // fill by fill state
    void arc(float cx, float cy, float radius, float aspect, float start, float end, int32_t color);
    void print(const QString &text);  // at the current point in the foreground colour
    int textWidth(const QString &text) const;
    int textHeight(const QString &text) const;
    bool saveBmp(const QString &path) const;

    // True when lines are solid and one pixel wide (drawn by the raster routines).
    bool thinSolidPen() const;
    // Raw access to the pixels for the line routines; valid until the picture is resized.
    PixelBuffer pixels();

    // Keeps one QPainter open on the picture for a batch of drawing calls (nesting allowed).
    class Batch {
      public:
        explicit Batch(Surface &s);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

      private:
        Surface &s_;
    };

  private:
    QPainter &painter();
    QPen pen(int32_t color) const;
    void ellipseRadii(float radius, float aspect, double &rx, double &ry) const;

    QImage image_;
    int32_t backColor_;
    int32_t foreColor_ = 0;
    int16_t drawWidth_ = 1;
    int16_t drawStyle_ = 0;
    int16_t fillStyle_ = FillTransparent;
    int32_t fillColor_ = 0;
    QFont font_;
    QString fontName_;
    std::unique_ptr<QPainter> painter_;
    int batchDepth_ = 0;
};

}  // namespace graphane
