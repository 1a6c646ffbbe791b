// graphanecontrol.h - the chart control Graphane: its dispatch members, events, property bag
// and lifecycle. It owns the data (ChartModel), the picture (Surface) and the window
// (ChartWidget, which a host reparents into its own window).
#pragma once

#include <QCursor>
#include <QPointer>
#include <optional>

#include "automation/control.h"
#include "chartmodel.h"
#include "chartwidget.h"
#include "measuring.h"
#include "renderer.h"
#include "surface.h"

namespace graphane {

class GraphaneControl : public automation::ControlBase, private ChartWidgetHost {
  public:
    GraphaneControl();
    ~GraphaneControl() override;

    automation::Variant invoke(automation::DispId id, automation::InvokeKind kind,
                               automation::Args &args) override;
    void loadProperties(const automation::PropertyBag &bag) override;
    void saveProperties(automation::PropertyBag &bag) const override;
    QWidget *widget() override { return widget_.data(); }

    // Direct access for tests and tools.
    ChartModel &model() { return model_; }
    Surface &surface() { return surface_; }
    const Overlay &overlay() const override { return measuring_.overlay(); }
    ChartWidget *chartWidget() { return widget_.data(); }
    int plotCount() const { return plots_; }  // how often the chart picture was drawn
    void setMergeColumns(bool on) { merge_ = on; }

    // Plot with the error reaching the caller; counts the redraw.
    void plot(bool keepBackground);
    bool dialogRange();
    int16_t mousePointer() const { return mousePointer_; }
    void setMousePointer(int16_t code);
    // Custom cursor picture; an empty picture clears it. Raises 380 for undecodable bytes.
    void setMouseIcon(const std::optional<automation::Picture> &picture);
    const std::optional<automation::Picture> &mouseIcon() const { return mouseIcon_; }

  private:
    // ChartWidgetHost
    const Surface &picture() const override { return surface_; }
    void resized(QSize size) override;
    void shown() override;
    void mousePressed(int16_t button, int16_t shift, float x, float y) override;
    void mouseMoved(int16_t buttons, int16_t shift, float x, float y) override;
    void mouseReleased(int16_t button, int16_t shift, float x, float y) override;
    void clicked() override;
    void doubleClicked() override;
    void keyDown(int16_t keyCode, int16_t shift) override;
    void keyPressed(int16_t keyAscii) override;
    void keyUp(int16_t keyCode, int16_t shift) override;

    void addModelMembers();
    void addSeriesMembers();
    void addRenderMembers();
    void addInteractionMembers();
    void addDrawingMembers();
    void addTextMembers();

    void syncSurfaceSize();
    void plotQuietly();  // show/resize: a failing Plot has no caller to report to
    void repaint();
    void applyCursor();
    ChartArea area() const { return chartAreaOf(model_, surface_.size()); }
    Measuring::BoxSize readoutSizer() const;
    void raiseMouse(automation::DispId id, int16_t button, int16_t shift, float x, float y);
    void raiseFromWindow(automation::DispId id, automation::Args &args);

    ChartModel model_;
    Surface surface_;
    Measuring measuring_;
    QPointer<ChartWidget> widget_;
    int16_t mousePointer_ = 0;
    std::optional<automation::Picture> mouseIcon_;
    QCursor iconCursor_;
    int plots_ = 0;
    bool merge_ = true;
};

}  // namespace graphane
