// form1_menus.cpp - Form1's hidden style, data, grid and example commands on Graphane1: border,
// dot and line styles of series 0, the wide line, series visibility, dropping and switching, the
// grid selections with user values, the cosine pair and the waveform example.
#include <QAction>
#include <cmath>
#include <functional>
#include <vector>

#include "automation/errors.h"
#include "automation/safearray.h"
#include "chartcommands.h"
#include "form1.h"
#include "graphane/dispids.h"

namespace wavedesk {

namespace id = graphane::dispid;
using automation::SafeArray;

namespace {

constexpr float kTwoPi = 6.2831852f;  // the constant of the demonstrations, not a full 2 pi
constexpr int kGridTable = 31;        // entries of the user grid value tables

void setSeries(automation::ControlHandle &c, int16_t index, const std::vector<float> &x, const std::vector<float> &y) {
  SafeArray xs = SafeArray::ofFloats(x), ys = SafeArray::ofFloats(y);
  int32_t start = 0, count = static_cast<int32_t>(y.size());
  c.call(id::SetSeries, index, xs, ys, start, count);
}

// A property of series 0 set to one style value, then Plot.
struct StyleItem {
  const char *name;
  automation::DispId member;
  bool perSeries;
  int16_t value;
};

constexpr StyleItem kStyles[] = {
    {"idm_bdSingle", id::BorderStyle, false, graphane::GRAPHANEBORDERSINGLE},
    {"idm_bd3din", id::BorderStyle, false, graphane::GRAPHANEBORDER3DIN},
    {"idm_bd3dout", id::BorderStyle, false, graphane::GRAPHANEBORDER3DOUT},
    {"idm_bdnone", id::BorderStyle, false, graphane::GRAPHANEBORDERNONE},
    {"idm_DotNone", id::DotStyle, true, graphane::GRAPHANEDOTNONE},
    {"idm_DotX", id::DotStyle, true, graphane::GRAPHANEDOTX},
    {"idm_DotPlus", id::DotStyle, true, graphane::GRAPHANEDOTCROSS},
    {"idm_DotCircle", id::DotStyle, true, graphane::GRAPHANEDOTCIRCLE},
    {"idm_DotBox", id::DotStyle, true, graphane::GRAPHANEDOTBOX},
    {"idm_DotTriangle", id::DotStyle, true, graphane::GRAPHANEDOTTRIANGLE},
    {"idm_LineNone", id::LineStyle, true, graphane::GRAPHANELINENONE},
    {"idm_LineSolid", id::LineStyle, true, graphane::GRAPHANELINESOLID},
    {"idm_LineDash", id::LineStyle, true, graphane::GRAPHANELINEDASH},
    {"idm_LineDashDot", id::LineStyle, true, graphane::GRAPHANELINEDASHDOT},
    {"idm_Bar", id::LineStyle, true, graphane::GRAPHANELINEBAR},
    {"idm_Bar3D", id::LineStyle, true, graphane::GRAPHANELINEBAR3D},
    {"idm_GridNone", id::GridSel, false, graphane::GRAPHANEGRIDNONE},
    {"idm_EquSpace", id::GridSel, false, graphane::GRAPHANEGRIDEQSPACE},
    {"idm_GridCM", id::GridSel, false, graphane::GRAPHANEGRIDCM},
    {"idm_Grid5mm", id::GridSel, false, graphane::GRAPHANEGRIDMM},  // the millimetre grid, 5
};

// Runs a command that addresses a series the chart may not hold: the chart's refusal (an
// error for a missing series) leaves everything as it was and shows nothing.
void quietly(const std::function<void()> &command) {
  try {
    command();
  } catch (const automation::Error &) {
  }
}

}  // namespace

void Form1::connectMenuCommands() {
  for (const StyleItem &item : kStyles) {
    if (QAction *action = menuItem(QString::fromLatin1(item.name))) {
      connect(action, &QAction::triggered, this, [this, item] {
        quietly([&] {
          if (item.perSeries) graphane1_.put(item.member, int16_t(0), item.value);
          else graphane1_.put(item.member, item.value);
          PlotChart(graphane1_);
        });
      });
    }
  }
  const std::pair<const char *, Command> commands[] = {
      {"idm_Wide", &Form1::idm_Wide_Click},         {"idm_SVisible", &Form1::idm_SVisible_Click},
      {"idm_Drop1", &Form1::idm_Drop1_Click},       {"idm_Drop2", &Form1::idm_Drop2_Click},
      {"idm_Switch", &Form1::idm_Switch_Click},     {"idm_GridUser", &Form1::idm_GridUser_Click},
      {"idm_ChangePoints", &Form1::idm_ChangePoints_Click}, {"idm_ExWave", &Form1::idm_ExWave_Click},
  };
  for (const auto &[name, command] : commands)
    if (QAction *action = menuItem(QString::fromLatin1(name)))
      connect(action, &QAction::triggered, this, [this, command] { quietly([&] { (this->*command)(); }); });
  // idm_BaseLineCalc has no command: choosing it does nothing.
}

void Form1::idm_Wide_Click() {
  // The item is checkable, so the menu has already toggled its mark when this runs.
  QAction *item = menuItem(QStringLiteral("idm_Wide"));
  const bool wide = item && (item->isCheckable() ? !item->isChecked() : item->isChecked());
  graphane1_.put(id::LineWidth, int16_t(0), int16_t(wide ? 1 : 5));
  if (item) item->setChecked(!wide);
  PlotChart(graphane1_);
}

void Form1::idm_SVisible_Click() {
  const bool visible = graphane1_.get(id::SeriesVisible, int16_t(1)).toBool();
  graphane1_.put(id::SeriesVisible, int16_t(1), !visible);
  PlotChart(graphane1_);
}

void Form1::idm_Drop1_Click() {
  graphane1_.call(id::DeleteSeries, int16_t(0));
  PlotChart(graphane1_);
}

void Form1::idm_Drop2_Click() {
  graphane1_.call(id::DeleteSeries, int16_t(1));
  PlotChart(graphane1_);
}

void Form1::idm_Switch_Click() {
  graphane1_.call(id::SwitchSeries, int16_t(0), int16_t(1));
  PlotChart(graphane1_);
}

void Form1::idm_GridUser_Click() {
  auto &c = graphane1_;
  c.put(id::GridSel, int16_t(graphane::GRAPHANEGRIDVALUE));
  const int16_t nx = c.get(id::nGridx).toI2(), ny = c.get(id::nGridy).toI2();
  const float xmin = c.get(id::xmin).toR4(), xmax = c.get(id::xmax).toR4();
  const float ymin = c.get(id::ymin).toR4(), ymax = c.get(id::ymax).toR4();
  // The tables hold 31 values: larger counts fill what fits.
  std::vector<float> gx(kGridTable, 0.0f), gy(kGridTable, 0.0f);
  for (int i = 0; i < nx && i < kGridTable; ++i) gx[i] = xmin + (xmax - xmin) / float(nx - 1) * float(i);
  for (int j = 0; j < ny && j < kGridTable; ++j) gy[j] = ymin + (ymax - ymin) / float(ny - 1) * float(j);
  SafeArray ax = SafeArray::ofFloats(gx), ay = SafeArray::ofFloats(gy);
  int16_t cx = nx, cy = ny;
  c.call(id::SetGridxVal, ax, cx);
  c.call(id::SetGridyVal, ay, cy);
  PlotChart(c);
}

void Form1::idm_ChangePoints_Click() {
  auto &c = graphane1_;
  c.put(id::xmin, 0.0f);
  c.put(id::xmax, 10.0f);
  c.put(id::ymin, -2.0f);
  c.put(id::ymax, 2.0f);
  std::vector<float> x(40), y(40);
  c.put(id::nPoints, int16_t(0), int32_t(40));
  for (int i = 0; i < 40; ++i) {
    x[i] = 10.0f * float(i) / 40.0f;
    y[i] = std::cos(kTwoPi / 40.0f * float(i));
  }
  setSeries(c, 0, x, y);
  c.put(id::nPoints, int16_t(1), int32_t(40));
  for (int i = 0; i < 40; ++i) {
    x[i] = 10.0f * float(i) / 40.0f + 1.0f / 40.0f;
    y[i] = std::cos(kTwoPi / 45.0f * float(i)) + std::cos(kTwoPi / 80.0f * float(i));
  }
  setSeries(c, 1, x, y);
  PlotChart(c);
}

void Form1::idm_ExWave_Click() {
  auto &c = graphane1_;
  SafeArray counts = SafeArray::ofInts(std::vector<int32_t>{50, 1000});
  c.call(id::CreateSeries, int16_t(2), counts);
  std::vector<float> x(50), y(50);
  for (int i = 0; i < 50; ++i) {
    x[i] = 2.0f * float(i);
    y[i] = std::exp(-std::fabs(x[i] - 25.0f) / 25.0f);
  }
  setSeries(c, 0, x, y);
  x.resize(1000);
  y.resize(1000);
  for (int j = 0; j < 1000; ++j) {
    x[j] = float(j) / 10.0f;
    y[j] = std::cos(x[j] * kTwoPi / 20.0f) / 3.0f + 0.5f;
  }
  setSeries(c, 1, x, y);
  c.put(id::xmin, 0.0f);
  c.put(id::xmax, 100.0f);
  c.put(id::ymin, 0.0f);
  c.put(id::ymax, 1.0f);
  c.put(id::nGridx, int16_t(11));
  c.put(id::nGridy, int16_t(6));
  for (int16_t k = 0; k < 2; ++k) {
    c.put(id::LineColor, k, int32_t(0xFF0000));
    c.put(id::LineStyle, k, int16_t(graphane::GRAPHANELINESOLID));
    c.put(id::LineWidth, k, int16_t(1));
  }
  c.put(id::DotColor, int16_t(0), int32_t(0xC000));
  c.put(id::DotColor, int16_t(1), int32_t(0xFF00));
  c.put(id::DotStyle, int16_t(0), int16_t(graphane::GRAPHANEDOTCIRCLE));
  c.put(id::DotStyle, int16_t(1), int16_t(graphane::GRAPHANEDOTNONE));
  c.put(id::TitleX, std::string("Time(s)"));
  c.put(id::TitleY, std::string("Volt(mv)"));
  PlotChart(c);
}

}  // namespace wavedesk
