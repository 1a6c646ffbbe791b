// form2.h - Form2, the zoom window: a non-blocking window owned by Form1 with its own chart
// control Graphane1 filling it. It shows the wavelet coefficients of chromatogram
// preprocessing and the stretch of the main chart a measuring rectangle was dragged over;
// a right-button press on its chart pops up the menu idm_Range (axis range, signal-to-noise
// figures, picture saving). Created the first time it is used, it stays loaded afterwards.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "automation/host.h"
#include "forms/commondialog.h"

class QAction;
class QMenu;

namespace wavedesk {

class Form2 : public QWidget {
    Q_OBJECT

  public:
    using ControlFactory = std::function<std::unique_ptr<automation::Control>(const std::string &)>;

    // Creates the chart through `factory` (raises 429 when it cannot) and runs the load handler,
    // which copies the frame, margin, grid and series colours of `mainChart`. Picture saving
    // uses `commonDialog`, the main window's file dialog.
    Form2(QWidget *owner, const ControlFactory &factory, automation::ControlHandle &mainChart,
          forms::CommonDialog &commonDialog);
    ~Form2() override;

    automation::ControlHandle &graphane1() { return graphane1_; }

    // The pop-up menu idm_Range and its items (idm_Rangexy, idm_SNR, idm_Save) by name, or null.
    QMenu *popupMenu() const { return idm_Range_; }
    QAction *menuItem(const QString &name) const;

    // Shows the window without blocking and in front of its owner.
    void showModeless();

    // Zooming into the value rectangle with left xv, top yv, width wv and height hv of
    // `mainChart`: moves the window to the bottom-right corner of the screen, replaces the
    // zoom chart's series by the points of every main series with more than 2 points in
    // xv..xv+wv (in their main colours), sets the axes to the rectangle with a grid every
    // quarter minute and 10 mV, and, when a series was copied, shows the window with the
    // caption "局部信号放大" and plots it. Returns the number of series copied.
    int zoomInto(automation::ControlHandle &mainChart, float xv, float yv, float wv, float hv);

    // Pop-up menu commands.
    void idm_Rangexy_Click();
    void idm_SNR_Click();
    void idm_Save_Click();

    // The chart's MouseDown event: the right button (2) pops up idm_Range at the pointer.
    void Graphane1_MouseDown(int16_t button, int16_t shift, float x, float y);

  private:
    void Form_Load(automation::ControlHandle &mainChart);
    void buildPopupMenu();
    void placeAtScreenCorner();
    void runCommand(const QString &name, void (Form2::*command)());

    automation::ControlHandle graphane1_;
    forms::CommonDialog &commonDialog_;
    QMenu *idm_Range_ = nullptr;
};

}  // namespace wavedesk
