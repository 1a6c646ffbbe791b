// form1.cpp - Form1: creation of its controls, the load handler, and the menu commands of the
// document (open, save, demonstration document, exit).
#include "form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <algorithm>
#include <cmath>
#include <vector>

#include "automation/propertybag.h"
#include "automation/safearray.h"
#include "chartcommands.h"
#include "form2.h"
#include "forms/messagebox.h"
#include "graphane/dispids.h"
#include "menutable.h"
#include "sepufile.h"

namespace wavedesk {

namespace id = graphane::dispid;
using automation::ElemType;
using automation::SafeArray;

namespace {

constexpr const char *kTessiqProgId = "TessiqLib.Tessiq";
constexpr float kTwoPi = 6.2831852f;  // the constant the demonstration circles are drawn with

// Menu items whose commands are implemented so far; the other items exist and do nothing.
struct CommandEntry {
    const char *name;
    void (Form1::*command)();
};
constexpr CommandEntry kCommands[] = {
    {"idm_OpenData", &Form1::idm_OpenData_Click},
    {"idm_SaveData", &Form1::idm_SaveData_Click},
    {"idm_New", &Form1::idm_New_Click},
    {"idm_Exit", &Form1::idm_Exit_Click},
    {"idm_WaveletFilter", &Form1::idm_WaveletFilter_Click},
    {"idm_BaseLine1", &Form1::idm_BaseLine1_Click},
    {"idm_DelBase", &Form1::idm_DelBase_Click},
    {"idm_Smooth", &Form1::idm_Smooth_Click},
    {"idm_FFTLowPass", &Form1::idm_FFTLowPass_Click},
    {"idm_WeightFilter", &Form1::idm_WeightFilter_Click},
    {"idm_DataInfo", &Form1::idm_DataInfo_Click},
    {"idm_SavePic", &Form1::idm_SavePic_Click},
    {"idm_SaveAsBmp", &Form1::idm_SaveAsBmp_Click},
    {"idm_Range", &Form1::idm_Range_Click},
};

}  // namespace

QString graphane1DesignProperties() {
    QFile file(QStringLiteral(":/wavedesk/form1_graphane1.props"));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

Form1::Form1(QWidget *parent, ControlFactory factory) : QMainWindow(parent), factory_(factory) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("色谱数据处理"));
    resize(960, 680);
    commonDialog1_.Parent = this;
    createControls(factory);
    buildMenus();
    connectCommands();
    connectMenuCommands();
    connectChartEvents();
    Form_Load();
}

Form1::~Form1() {
    // The chart's widget belongs to the chart control: hand it back before the control goes.
    if (QWidget *chart = takeCentralWidget()) chart->setParent(nullptr);
    graphane1_.reset();
    tessiq1_.reset();
}

QAction *Form1::menuItem(const QString &name) const {
    return findChild<QAction *>(name);
}

void Form1::createControls(const ControlFactory &factory) {
    graphane1_ = automation::ControlHandle(factory(graphane::ProgId));
    if (!graphane1_.valid()) automation::raise(automation::err::CantCreateObject, graphane::ProgId);
    const std::string design = graphane1DesignProperties().toStdString();
    graphane1_->loadProperties(automation::PropertyBag::fromText(design));
    if (QWidget *chart = graphane1_->widget()) {
        chart->setObjectName(QStringLiteral("Graphane1"));
        setCentralWidget(chart);  // fills the client area at every size
    }
    try {
        tessiq1_ = automation::ControlHandle(factory(kTessiqProgId));
    } catch (const automation::Error &e) {
        tessiqProblem_ = QString::fromUtf8(e.what());  // the commands that need it report it
    }
}

void Form1::buildMenus() {
    buildMenuBar(menuBar(), form1MenuTable());
}

void Form1::connectCommands() {
    for (const CommandEntry &entry : kCommands) {
        const QString name = QString::fromLatin1(entry.name);
        if (QAction *action = menuItem(name)) {
            const Command command = entry.command;
            connect(action, &QAction::triggered, this, [this, name, command] { runCommand(name, command); });
        }
    }
}

void Form1::runCommand(const QString &name, Command command) {
    try {
        (this->*command)();
    } catch (const std::exception &e) {
        ReportCommandError(this, name, e);
    }
}

void Form1::connectChartEvents() {
    graphane1_->connectEvents([this](automation::DispId event, automation::Args &a) {
        if (event != id::Measured || a.size() != 8) return;
        // The chart raises the event from its window's mouse handling: a failure is shown here.
        try {
            Graphane1_Measured(a[0].toR4(), a[1].toR4(), a[2].toR4(), a[3].toR4(), a[4].toR4(), a[5].toR4(),
                               a[6].toR4(), a[7].toR4());
        } catch (const std::exception &e) {
            ReportCommandError(this, QStringLiteral("Measured"), e);
        }
    });
}

Form2 &Form1::form2() {
    if (form2_ == nullptr) form2_ = new Form2(this, factory_, graphane1_, commonDialog1_);
    return *form2_;
}

// Start-up settings of the chart, applied after its design-time properties were loaded.
void Form1::Form_Load() {
    auto &c = graphane1_;
    c.put(id::BorderColor, int32_t(0xC000FF));
    c.put(id::MarginLeft, 50.0f);
    c.put(id::MarginTop, 30.0f);
    c.put(id::MarginBottom, 40.0f);
    c.put(id::GridColor, int32_t(0xC00080));
    c.put(id::DotColor, int16_t(0), int32_t(0xFF0000));
    c.put(id::DotColor, int16_t(1), int32_t(255));
    c.put(id::LineColor, int16_t(0), int32_t(0x8000));
    c.put(id::LineColor, int16_t(1), int32_t(0xC00000));
    c.put(id::nGridx, int16_t(11));
    c.put(id::nGridy, int16_t(6));
    c.put(id::FontSize, int16_t(12));
}

void Form1::closeEvent(QCloseEvent *event) {
    // Unloading the main window ends the program and takes its other windows with it.
    for (QObject *child : children()) {
        auto *window = qobject_cast<QWidget *>(child);
        if (window != nullptr && window->isWindow()) window->close();
    }
    event->accept();
    emit unloaded();
}

void Form1::idm_Exit_Click() {
    close();
}

void Form1::idm_OpenData_Click() {
    forms::CommonDialog &dlg = commonDialog1_;
    dlg.Filter = QStringLiteral("Data File(*.sepu)|*.sepu|All Files(*.*)|*.*");
    dlg.DialogTitle = QStringLiteral("打开色谱数据文件");
    dlg.CancelError = true;
    try {
        dlg.ShowOpen();
    } catch (const automation::Error &) {
        return;  // cancelled
    }
    try {
        openSepuFile(dlg.FileName);
    } catch (const automation::Error &) {
        // Opening runs with errors skipped: what was shown so far stays.
    }
}

// Loads a .sepu file as the only series of the chart; an unreadable or empty file leaves the
// chart unchanged.
void Form1::openSepuFile(const QString &fileName) {
    const int32_t capacity = SepuCapacity(QFileInfo(fileName).size());
    std::vector<float> values(static_cast<std::size_t>(capacity));
    const int32_t count = std::min(LoadSepuValues(fileName, values.data(), capacity), kMaxPoints);
    if (count <= 0) return;

    SafeArray x(ElemType::R4, 0, count);
    SafeArray y(ElemType::R4, 0, count);
    float lo = values[0];
    float hi = values[0];
    for (int32_t i = 0; i < count; ++i) {
        x.r4(i) = static_cast<float>(i) / 20.0f / 60.0f;
        y.r4(i) = values[i];
        if (values[i] > hi) hi = values[i];
        if (values[i] < lo) lo = values[i];
    }
    if (lo == hi) {
        lo -= 1;
        hi += 1;
    }

    auto &c = graphane1_;
    SafeArray counts = SafeArray::ofInts({count});
    c.call(id::CreateSeries, int16_t(1), counts);
    int32_t start = 0;
    int32_t n = count;
    c.call(id::SetSeries, int16_t(0), x, y, start, n);
    c.put(id::xmin, 0.0f);
    c.put(id::xmax, static_cast<float>(static_cast<double>(count) / 20 / 60));
    c.put(id::ymin, lo);
    c.put(id::ymax, hi);
    c.put(id::DotStyle, int16_t(0), int16_t(graphane::GRAPHANEDOTNONE));
    c.put(id::LineStyle, int16_t(0), int16_t(graphane::GRAPHANELINESOLID));
    c.put(id::LineColor, int16_t(0), int32_t(0xFF0000));
    c.put(id::BorderStyle, int16_t(graphane::GRAPHANEBORDER3DIN));
    c.put(id::BorderColor, int32_t(0));
    c.put(id::TitleX, "Min");
    c.put(id::TitleY, "mv");

    // User grid: a line every minute and every 50 mV from -200 mV; 21 values, 20 of them used.
    SafeArray gx(ElemType::R4, 0, 21);
    SafeArray gy(ElemType::R4, 0, 21);
    for (int32_t k = 0; k <= 20; ++k) {
        gx.r4(k) = static_cast<float>(k);
        gy.r4(k) = static_cast<float>(50 * k - 200);
    }
    c.put(id::GridSel, int16_t(graphane::GRAPHANEGRIDVALUE));
    int16_t gridCount = 20;
    c.call(id::SetGridxVal, gx, gridCount);
    gridCount = 20;
    c.call(id::SetGridyVal, gy, gridCount);
    c.put(id::GridColor, int32_t(0x808080));
    PlotChart(c);
    setWindowTitle(fileName);
}

void Form1::idm_SaveData_Click() {
    forms::CommonDialog &dlg = commonDialog1_;
    dlg.Filter = QStringLiteral("Sepu File(*.sepu)|*.sepu|All Files(*.*)|*.*");
    dlg.DialogTitle = QStringLiteral("保存色谱数据");
    dlg.CancelError = true;
    try {
        dlg.ShowSave();
    } catch (const automation::Error &) {
        return;  // cancelled
    }
    const QString base = StripExtension(dlg.FileName);
    const int16_t nSeries = graphane1_.get(id::nSeries).toI2();
    QStringList failed;
    if (nSeries > 1) {
        for (int16_t i = 0; i < nSeries; ++i) {
            const QString name = base + QLatin1Char('_') + QString::number(i + 1) + QStringLiteral(".sepu");
            if (!WriteSeriesText(graphane1_, name, i)) failed << name;
        }
    } else {
        const QString name = base + QStringLiteral(".sepu");
        if (!WriteSeriesText(graphane1_, name, 0)) failed << name;
    }
    // A save that did not happen is said so; the user would otherwise believe the data safe.
    if (!failed.isEmpty())
        ShowNote(this, QStringLiteral("数据保存失败：\n") + failed.join(QLatin1Char('\n')));
}

// Demonstration document: three circles of 20, 100 and 200 points.
void Form1::idm_New_Click() {
    struct Circle {
        int32_t points;
        float radius, cx, cy;
        int32_t color;
    };
    constexpr Circle kCircles[] = {
        {20, 0.5f, 0.0f, 0.0f, 0xFFC000},
        {100, 0.3f, 0.5f, 0.5f, 0xC000},
        {200, 0.4f, 0.5f, -0.5f, 192},
    };
    auto &c = graphane1_;
    SafeArray counts = SafeArray::ofInts({20, 100, 200});
    c.call(id::CreateSeries, int16_t(3), counts);
    c.put(id::xmin, -1.0f);
    c.put(id::xmax, 1.0f);
    c.put(id::ymin, -1.0f);
    c.put(id::ymax, 1.0f);
    for (int16_t k = 0; k < 3; ++k) {
        const Circle &circle = kCircles[k];
        SafeArray x(ElemType::R4, 0, circle.points);
        SafeArray y(ElemType::R4, 0, circle.points);
        const float step = kTwoPi / static_cast<float>(circle.points - 1);
        for (int32_t i = 0; i < circle.points; ++i) {
            const float a = step * static_cast<float>(i);
            x.r4(i) = circle.radius * std::sin(a) + circle.cx;
            y.r4(i) = circle.radius * std::cos(a) + circle.cy;
        }
        int32_t start = 0;
        int32_t n = (k == 0) ? circle.points : 0;  // 0: all points of the slot
        c.call(id::SetSeries, k, x, y, start, n);
        c.put(id::LineColor, k, circle.color);
    }
    c.put(id::LineStyle, int16_t(0), int16_t(graphane::GRAPHANELINESOLID));
    for (int16_t k = 0; k < 3; ++k) c.put(id::DotStyle, k, int16_t(graphane::GRAPHANEDOTNONE));
    c.put(id::BackColor, int32_t(0xFFFFFF));
    PlotChart(c);
}

}  // namespace wavedesk
