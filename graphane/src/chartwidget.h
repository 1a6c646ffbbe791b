// chartwidget.h - the chart's window: paints the persistent picture, then the measuring
// overlays on top, and hands mouse, key, show and resize events to its host (the control).
#pragma once

#include <QWidget>
#include <cstdint>

#include "measuring.h"
#include "surface.h"

namespace graphane {

class ChartWidgetHost {
  public:
    virtual ~ChartWidgetHost() = default;
    virtual const Surface &picture() const = 0;
    virtual const Overlay &overlay() const = 0;
    virtual void resized(QSize size) = 0;
    virtual void shown() = 0;
    virtual void mousePressed(int16_t button, int16_t shift, float x, float y) = 0;
    virtual void mouseMoved(int16_t buttons, int16_t shift, float x, float y) = 0;
    virtual void mouseReleased(int16_t button, int16_t shift, float x, float y) = 0;
    virtual void clicked() = 0;
    virtual void doubleClicked() = 0;
    virtual void keyDown(int16_t keyCode, int16_t shift) = 0;
    virtual void keyPressed(int16_t keyAscii) = 0;
    virtual void keyUp(int16_t keyCode, int16_t shift) = 0;
};

// Key code of a Qt key as form hosts number them (letters 65.., F1 112, arrows 37..40).
int16_t hostKeyCode(int qtKey);
// Shift state: 1 shift, 2 control, 4 alt.
int16_t hostShift(Qt::KeyboardModifiers modifiers);
// Button code(s): 1 left, 2 right, 4 middle.
int16_t hostButtons(Qt::MouseButtons buttons);

// Size of the readout box for a text in the given font: the text block plus padding.
QSizeF readoutBoxSize(const QFont &font, const QString &text);

class ChartWidget : public QWidget {
    Q_OBJECT
  public:
    explicit ChartWidget(ChartWidgetHost &host);

    // Repaints the part of the widget the overlays covered before and cover now.
    void overlayChanged(const QRectF &before, const QRectF &after);
    int paintCount() const { return paints_; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

  private:
    ChartWidgetHost &host_;
    bool afterDoubleClick_ = false;
    int paints_ = 0;
};

}  // namespace graphane
