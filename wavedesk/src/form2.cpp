// form2.cpp - the zoom window: its chart and the load handler.
#include "form2.h"

#include <QVBoxLayout>

#include "automation/propertybag.h"
#include "graphane/dispids.h"

namespace wavedesk {

namespace id = graphane::dispid;

Form2::Form2(QWidget *owner, const ControlFactory &factory, automation::ControlHandle &mainChart)
    : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Zoom Window"));
  resize(480, 360);
  graphane1_ = automation::ControlHandle(factory(graphane::ProgId));
  if (!graphane1_.valid()) automation::raise(automation::err::CantCreateObject, graphane::ProgId);
  graphane1_->loadProperties(automation::PropertyBag());  // no design-time settings of its own
  if (QWidget *chart = graphane1_->widget()) {
    chart->setObjectName(QStringLiteral("Graphane1"));
    auto *layout = new QVBoxLayout(this);  // the chart fills the inner area at every size
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart);
  }
  Form_Load(mainChart);
}

Form2::~Form2() {
  // The chart's widget belongs to the chart control: hand it back before the control goes.
  if (QWidget *chart = graphane1_.valid() ? graphane1_->widget() : nullptr) chart->setParent(nullptr);
  graphane1_.reset();
}

void Form2::Form_Load(automation::ControlHandle &main) {
  auto &c = graphane1_;
  c.put(id::BorderColor, main.get(id::BorderColor));
  c.put(id::MarginLeft, main.get(id::MarginLeft));
  c.put(id::MarginTop, main.get(id::MarginTop));
  c.put(id::MarginBottom, main.get(id::MarginBottom));
  c.put(id::GridColor, main.get(id::GridColor));
  for (int16_t k = 0; k < 2; ++k) {
    c.put(id::DotColor, k, main.get(id::DotColor, k));
    c.put(id::LineColor, k, main.get(id::LineColor, k));
  }
  c.put(id::FontSize, int16_t(12));
}

void Form2::showModeless() {
  show();
  raise();
}

}  // namespace wavedesk
