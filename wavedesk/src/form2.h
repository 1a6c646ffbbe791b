// form2.h - Form2, the zoom window: a non-blocking window owned by Form1 with its own chart
// control Graphane1 filling it. It shows the wavelet coefficients of chromatogram
// preprocessing; it is created the first time it is used and stays loaded afterwards.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "automation/host.h"

namespace wavedesk {

class Form2 : public QWidget {
  Q_OBJECT

 public:
  using ControlFactory = std::function<std::unique_ptr<automation::Control>(const std::string &)>;

  // Creates the chart through `factory` (raises 429 when it cannot) and runs the load handler,
  // which copies the frame, margin, grid and series colours of `mainChart`.
  Form2(QWidget *owner, const ControlFactory &factory, automation::ControlHandle &mainChart);
  ~Form2() override;

  automation::ControlHandle &graphane1() { return graphane1_; }

  // Shows the window without blocking and in front of its owner.
  void showModeless();

 private:
  void Form_Load(automation::ControlHandle &mainChart);

  automation::ControlHandle graphane1_;
};

}  // namespace wavedesk
