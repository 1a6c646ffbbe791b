// form2.cpp - the zoom window: its chart, the load handler, zooming into a stretch of the main
// chart, and the pop-up menu with axis range, signal-to-noise figures and picture saving.
#include "form2.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

#include "automation/propertybag.h"
#include "automation/safearray.h"
#include "chartcommands.h"
#include "graphane/dispids.h"
#include "snr.h"

namespace wavedesk {

namespace id = graphane::dispid;
using automation::ControlHandle;
using automation::ElemType;
using automation::SafeArray;

namespace {

constexpr int kGridValues = 31;      // grid value tables hold indices 0..30
constexpr int16_t kGridLines = 30;   // of which 30 are used
constexpr float kGridStepX = 0.25f;  // minutes
constexpr float kGridStepY = 10.0f;  // mV

// The y values of series k, or none when it has no points.
std::vector<float> seriesValues(ControlHandle &chart, int16_t k) {
    const int32_t n = chart.get(id::nPoints, k).toI4();
    if (n < 1) return {};
    SafeArray x(ElemType::R4, 0, n), y(ElemType::R4, 0, n);
    int32_t start = 0, count = n;
    chart.call(id::GetSeries, k, x, y, start, count);
    return y.floats();
}

// AppendSeries(n) on the chart; true when it made slot `index` (the series count is now
// index + 1), false when the chart holds as many series as it takes. A new series shorter
// than series 0 makes the chart fail while it fills its placeholder values, after the slot
// with its n points was made; the copy that follows overwrites those values, so that failure
// is not one of the zoom's.
bool appendSlot(ControlHandle &chart, int16_t index, int32_t n) {
    try {
        chart.call(id::AppendSeries, n);
    } catch (const automation::Error &e) {
        if (e.number() != automation::err::SubscriptOutOfRange) throw;
    }
    return chart.get(id::nSeries).toI2() == index + 1;
}

// Grid values from the integer part (toward zero) of the axis minimum: x every quarter
// minute, y every 10 mV from the whole tens below.
void setZoomGrid(ControlHandle &chart, float xmin, float ymin) {
    SafeArray gx(ElemType::R4, 0, kGridValues), gy(ElemType::R4, 0, kGridValues);
    const float x0 = std::trunc(xmin);
    const float y0 = std::trunc(ymin / 10.0f) * 10.0f;
    for (int k = 0; k < kGridValues; ++k) {
        gx.r4(k) = x0 + kGridStepX * static_cast<float>(k);
        gy.r4(k) = y0 + kGridStepY * static_cast<float>(k);
    }
    chart.put(id::GridSel, int16_t(graphane::GRAPHANEGRIDVALUE));
    int16_t lines = kGridLines;
    chart.call(id::SetGridxVal, gx, lines);
    lines = kGridLines;
    chart.call(id::SetGridyVal, gy, lines);
}

}  // namespace

Form2::Form2(QWidget *owner, const ControlFactory &factory, ControlHandle &mainChart,
             forms::CommonDialog &commonDialog)
    : QWidget(owner, Qt::Window), commonDialog_(commonDialog) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Zoom Window"));
    resize(480, 360);
    placeAtScreenCorner();  // out of the way of the main chart from the first showing on
    graphane1_ = ControlHandle(factory(graphane::ProgId));
    if (!graphane1_.valid()) automation::raise(automation::err::CantCreateObject, graphane::ProgId);
    graphane1_->loadProperties(automation::PropertyBag());  // no design-time settings of its own
    if (QWidget *chart = graphane1_->widget()) {
        chart->setObjectName(QStringLiteral("Graphane1"));
        auto *layout = new QVBoxLayout(this);  // the chart fills the inner area at every size
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(chart);
    }
    graphane1_->connectEvents([this](automation::DispId event, automation::Args &a) {
        if (event == id::MouseDown && a.size() == 4)
            Graphane1_MouseDown(a[0].toI2(), a[1].toI2(), a[2].toR4(), a[3].toR4());
    });
    buildPopupMenu();
    Form_Load(mainChart);
}

Form2::~Form2() {
    // The chart's widget belongs to the chart control: hand it back before the control goes.
    if (QWidget *chart = graphane1_.valid() ? graphane1_->widget() : nullptr) chart->setParent(nullptr);
    graphane1_.reset();
}

void Form2::buildPopupMenu() {
    // The menu is not on a menu bar: it only pops up over the chart.
    idm_Range_ = new QMenu(QStringLiteral("Range"), this);
    idm_Range_->setObjectName(QStringLiteral("idm_Range"));
    struct Item {
        const char *name;
        const char *caption;
        void (Form2::*command)();
    };
    const Item items[] = {
        {"idm_Rangexy", "坐标范围", &Form2::idm_Rangexy_Click},
        {"idm_SNR", "信噪比", &Form2::idm_SNR_Click},
        {"idm_Save", "图象保存", &Form2::idm_Save_Click},
    };
    for (const Item &item : items) {
        QAction *action = idm_Range_->addAction(QString::fromUtf8(item.caption));
        const QString name = QString::fromLatin1(item.name);
        action->setObjectName(name);
        const auto command = item.command;
        connect(action, &QAction::triggered, this, [this, name, command] { runCommand(name, command); });
    }
}

QAction *Form2::menuItem(const QString &name) const {
    return findChild<QAction *>(name);
}

void Form2::runCommand(const QString &name, void (Form2::*command)()) {
    try {
        (this->*command)();
    } catch (const std::exception &e) {
        ReportCommandError(this, name, e);
    }
}

void Form2::Form_Load(ControlHandle &main) {
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

void Form2::Graphane1_MouseDown(int16_t button, int16_t, float x, float y) {
    if (button != graphane::GRAPHANEBUTTONRIGHT) return;
    QWidget *chart = graphane1_->widget();
    const QPoint at(static_cast<int>(x), static_cast<int>(y));
    idm_Range_->popup(chart != nullptr ? chart->mapToGlobal(at) : mapToGlobal(at));
}

// ---- Zooming -------------------------------------------------------------------------------

void Form2::placeAtScreenCorner() {
    // Bottom-right corner of the screen, clear of panels the desktop keeps there.
    const QScreen *screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen == nullptr) return;
    const QRect free = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(free.x() + free.width() - outer.width(), free.y() + free.height() - outer.height());
}

int Form2::zoomInto(ControlHandle &main, float xv, float yv, float wv, float hv) {
    placeAtScreenCorner();

    auto &z = graphane1_;
    SafeArray noCounts = SafeArray::ofInts({0});
    z.call(id::CreateSeries, int16_t(-1), noCounts);  // no series

    const float xEnd = xv + wv;
    const int16_t count = main.get(id::nSeries).toI2();
    int16_t copied = 0;
    for (int16_t i = 0; i < count; ++i) {
        const int32_t np = main.get(id::nPoints, i).toI4();
        if (np <= 2) continue;  // cannot have more than 2 points in range
        SafeArray px(ElemType::R4, 0, np), py(ElemType::R4, 0, np);
        const int32_t k = main.call(id::GetPointValues, int16_t(i), xv, xEnd, px, py, np).toI4();
        if (k <= 2) continue;
        if (!appendSlot(z, copied, k)) break;  // the zoom chart is full
        int32_t start = 0, n = k;
        z.call(id::SetSeries, int16_t(copied), px, py, start, n);
        z.put(id::DotStyle, int16_t(copied), int16_t(graphane::GRAPHANEDOTNONE));
        z.put(id::LineStyle, int16_t(copied), int16_t(graphane::GRAPHANELINESOLID));
        z.put(id::LineColor, int16_t(copied), main.get(id::LineColor, int16_t(i)));
        z.put(id::LineWidth, int16_t(copied), int16_t(1));
        ++copied;
    }

    const float ymin = yv - hv;
    z.put(id::TitleX, "Min");
    z.put(id::TitleY, "mv");
    z.put(id::xmin, xv);
    z.put(id::ymin, ymin);
    z.put(id::xmax, xEnd);
    z.put(id::ymax, yv);
    setZoomGrid(z, xv, ymin);

    if (copied > 0) {
        setWindowTitle(QStringLiteral("局部信号放大"));
        showModeless();
        PlotChart(z);
    }
    return copied;
}

// ---- Pop-up menu commands ------------------------------------------------------------------

void Form2::idm_Rangexy_Click() {
    RangeAndPlot(graphane1_);
}

void Form2::idm_Save_Click() {
    SaveChartPicture(this, commonDialog_, graphane1_, QStringLiteral("保存色谱图象"),
                     QStringLiteral("Image File(*.bmp)|*.bmp|All Files(*.*)|*.*"));
}

// The figures of the input trace (series 0) against the corrected trace (series 3), written
// onto the chart's picture at the top-left of its plotting area; nothing is redrawn.
void Form2::idm_SNR_Click() {
    auto &z = graphane1_;
    if (z.get(id::nSeries).toI2() != 4) return;
    const std::vector<float> raw = seriesValues(z, 0);
    const std::vector<float> signal = seriesValues(z, 3);
    const std::string text = SnrText(SignalToNoise(raw.data(), static_cast<int32_t>(raw.size()),
                                                   signal.data(), static_cast<int32_t>(signal.size())));
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    z.call(id::GetChartArea, x1, y1, x2, y2);
    const int16_t fontSize = z.get(id::FontSize).toI2();
    z.put(id::FontSize, int16_t(12));
    float ySpace = 2;
    try {
        z.call(id::PlotStrings, x1 + 5, y1 + 5, 200.0f, text, int32_t(128), ySpace);
    } catch (...) {
        z.put(id::FontSize, fontSize);
        throw;
    }
    z.put(id::FontSize, fontSize);
}

}  // namespace wavedesk
