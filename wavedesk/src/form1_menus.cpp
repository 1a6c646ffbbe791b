// form1_menus.cpp - Form1's hidden style, data, grid and example commands on Graphane1: border,
// dot and line styles of series 0, the wide line, series visibility, dropping and switching, the
// grid selections with user values and logarithmic grids, the cosine pair, the scatter, text,
// shape, dune, waveform and histogram examples, and file compression through Tessiq1.
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cmath>
#include <functional>
#include <vector>

#include "automation/errors.h"
#include "automation/safearray.h"
#include "chartcommands.h"
#include "form1.h"
#include "graphane/dispids.h"
#include "tessiq/dispids.h"

namespace wavedesk {

namespace id = graphane::dispid;
using automation::SafeArray;

namespace {

constexpr float kTwoPi = 6.2831852f;  // the constant of the demonstrations, not a full 2 pi
constexpr int kGridTable = 31;        // entries of the user grid value tables

void setSeries(automation::ControlHandle &c, int16_t index, const std::vector<float> &x,
               const std::vector<float> &y) {
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

// The ordinary equal-spacing grid with the chosen directions replaced by a decade grid from 1
// to 10000 drawn on the cleared background; the grid counts are restored after the Plot.
void plotLogGrid(automation::ControlHandle &c, bool logX, bool logY, bool fine) {
    c.put(id::GridSel, int16_t(graphane::GRAPHANEGRIDEQSPACE));
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    c.call(id::GetChartArea, x1, y1, x2, y2);
    const int16_t nx = c.get(id::nGridx).toI2(), ny = c.get(id::nGridy).toI2();
    auto restore = [&] {
        if (logX) c.put(id::nGridx, nx);
        if (logY) c.put(id::nGridy, ny);
    };
    try {
        if (logX) c.put(id::nGridx, int16_t(0));
        if (logY) c.put(id::nGridy, int16_t(0));
        c.call(id::ClearBackground);
        if (logX) c.call(id::PlotGridLogx, x1, y1, x2, y2, 1.0, 10000.0, fine);
        if (logY) c.call(id::PlotGridLogy, x1, y1, x2, y2, 1.0, 10000.0, fine);
        bool keepBackground = true;
        c.call(id::Plot, keepBackground);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

constexpr float kPi = 3.1415926f;  // the constant the shape example converts degrees with

float radians(float degrees) {
    return degrees / 180.0f * kPi;
}

// Device and inode of an existing file, for telling whether two names are one file.
bool sameFile(const QString &a, const QString &b) {
    struct stat sa {
    }, sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0) return false;
    if (::stat(QFile::encodeName(b).constData(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

void Form1::connectMenuCommands() {
    for (const StyleItem &item : kStyles) {
        if (QAction *action = menuItem(QString::fromLatin1(item.name))) {
            connect(action, &QAction::triggered, this, [this, item] {
                quietly([&] {
                    if (item.perSeries)
                        graphane1_.put(item.member, int16_t(0), item.value);
                    else
                        graphane1_.put(item.member, item.value);
                    PlotChart(graphane1_);
                });
            });
        }
    }
    const std::pair<const char *, Command> commands[] = {
        {"idm_Wide", &Form1::idm_Wide_Click},
        {"idm_SVisible", &Form1::idm_SVisible_Click},
        {"idm_Drop1", &Form1::idm_Drop1_Click},
        {"idm_Drop2", &Form1::idm_Drop2_Click},
        {"idm_Switch", &Form1::idm_Switch_Click},
        {"idm_GridUser", &Form1::idm_GridUser_Click},
        {"idm_ChangePoints", &Form1::idm_ChangePoints_Click},
        {"idm_ExWave", &Form1::idm_ExWave_Click},
        {"idm_GridLogX", &Form1::idm_GridLogX_Click},
        {"idm_GridLogY", &Form1::idm_GridLogY_Click},
        {"idm_GridXY", &Form1::idm_GridXY_Click},
        {"idm_ScatterDots", &Form1::idm_ScatterDots_Click},
        {"idm_Text", &Form1::idm_Text_Click},
        {"idm_BaseGraph", &Form1::idm_BaseGraph_Click},
        {"idm_ShaQiu", &Form1::idm_ShaQiu_Click},
        {"idm_Hist", &Form1::idm_Hist_Click},
        {"idm_Compress", &Form1::idm_Compress_Click},
        {"idm_Expand", &Form1::idm_Expand_Click},
    };
    for (const auto &entry : commands)
        if (QAction *action = menuItem(QString::fromLatin1(entry.first))) {
            const auto command = entry.second;
            connect(action, &QAction::triggered, this,
                    [this, command] { quietly([&] { (this->*command)(); }); });
        }
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

void Form1::idm_GridLogX_Click() {
    plotLogGrid(graphane1_, true, false, true);
}

void Form1::idm_GridLogY_Click() {
    plotLogGrid(graphane1_, false, true, true);
}

void Form1::idm_GridXY_Click() {
    plotLogGrid(graphane1_, true, true, false);
}

void Form1::idm_ScatterDots_Click() {
    auto &c = graphane1_;
    std::vector<float> x(2000), y(2000);
    QRandomGenerator *random = QRandomGenerator::global();
    for (int i = 0; i < 2000; ++i) {
        const float r1 = float(random->generateDouble()), r2 = float(random->generateDouble());
        const float r3 = float(random->generateDouble());
        x[i] = 2.0f * r1 - 1.0f;
        y[i] = r3 * std::cos(2.0f * kTwoPi * r2);
    }
    SafeArray counts = SafeArray::ofInts(std::vector<int32_t>{2000});
    c.call(id::CreateSeries, int16_t(1), counts);
    c.put(id::LineStyle, int16_t(0), int16_t(graphane::GRAPHANESCATTERDOTS));
    setSeries(c, 0, x, y);
    c.put(id::LineColor, int16_t(0), int32_t(255));
    PlotChart(c);
    c.put(id::LineWidth, int16_t(0), int16_t(1));
}

void Form1::idm_Text_Click() {
    auto &c = graphane1_;
    c.put(id::FontName, std::string("黑体"));
    c.put(id::FontSize, int16_t(16));
    c.put(id::FontBold, true);
    c.put(id::FontItalic, true);
    const std::string title = "This is a good example: 例子示范";
    const float y1 = c.call(id::PlotString, 20.0f, 25.0f, title, int32_t(0xFF0000)).toR4();
    const float titleWidth = c.call(id::TextWidth, title).toR4();
    c.call(id::PlotLine, 20.0f, 25.0f, titleWidth + 20.0f, y1, int32_t(255), std::string("B"));
    c.put(id::FontItalic, false);
    c.put(id::FontSize, int16_t(12));
    c.put(id::FontBold, false);
    c.put(id::FontName, std::string("宋体"));
    const float y0 = y1 + 10.0f;
    const float w = c.call(id::ScaleX, 100.0f, int16_t(6), int16_t(3)).toR4();
    const std::string text =
        "This is a very important text drawing system. Welcome to use it.\n"
        "在写文字的领域里，需要有多行打印的效果。显示和打印是有区别的。对此控件作出了贡献。"
        "我们在获取更多的知识，积累经验，奠定学术地位的可能性。\n"
        "Paper on writting here.看一看最后1行的情况是否打印完毕，文字打印结束了。";
    float ySpace = 0;
    const float y2 = c.call(id::PlotStrings, 20.0f, y0, w, text, int32_t(0xFF0000), ySpace).toR4();
    c.call(id::PlotLine, 20.0f, y0, w + 20.0f, y2, int32_t(0x4000), std::string("B"));
}

void Form1::idm_BaseGraph_Click() {
    auto &c = graphane1_;
    c.put(id::MarginLeft, 30.0f);
    c.put(id::MarginTop, 15.0f);
    c.put(id::MarginRight, 15.0f);
    c.put(id::MarginBottom, 20.0f);
    c.call(id::ClearBackground);
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    c.call(id::GetChartArea, x1, y1, x2, y2);
    c.call(id::PlotLine, x1 + 5, y1 + 5, x2 - 5, y2 - 5, int32_t(255), std::string("B"));
    c.call(id::PlotCircle, 15.0f, 20.0f, 95.0f, 70.0f, int32_t(0xFF0000));
    c.call(id::PlotFillCircle, 15.0f, 100.0f, 65.0f, 180.0f, int32_t(0xC000));
    bool open = false, closed = true;
    c.call(id::PlotArc, 100.0f, 200.0f, 200.0f, 300.0f, radians(15), radians(75), int32_t(0xC000FF), open);
    c.call(id::PlotArc, 100.0f, 200.0f, 200.0f, 300.0f, radians(100), radians(145), int32_t(0x800080),
           closed);
}

void Form1::idm_ShaQiu_Click() {
    auto &c = graphane1_;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    c.call(id::GetChartArea, x1, y1, x2, y2);
    c.call(id::ClearBackground);
    SafeArray none = SafeArray::ofInts(std::vector<int32_t>{});
    c.call(id::CreateSeries, int16_t(0), none);
    const float p = 3.141593f;
    const std::string noBox;
    for (float y = y1; y <= y2; y += 3) {
        const float a = (y - y1) * 4 * p / 360, cosA = std::cos(a), shift = p * cosA;
        float px = 0, pv = 0;
        bool first = true;
        // Steps counted, not summed, so that float error never drops the last point of a row.
        for (int k = 0; k <= 42; ++k) {
            const float t = float(k) * p / 7;
            const float x = x1 + (x2 - x1) / (6 * p) * t;
            const float v = std::sin(p * std::cos(t) + t - shift) * 10 * cosA + y;
            if (first) px = x, pv = v, first = false;
            c.call(id::PlotLine, px, pv, x, v, int32_t(0x1000), noBox);
            px = x, pv = v;
        }
    }
}

void Form1::idm_Hist_Click() {
    if (!tessiq1_.valid()) return;  // no DSP control: nothing to draw from
    constexpr int kDraws = 5000, kBins = 25, kCurve = 100;
    std::vector<int> count(kBins, 0);
    int counted = 0;
    for (int i = 0; i < kDraws; ++i) {
        const double v = tessiq1_.call(tessiq::dispid::e_Normal, 0.0f, 1.0f).toR4();
        if (!(v > -5 && v < 5)) continue;
        const int bin = int(std::trunc((v + 5) / 0.4));
        if (bin < 0 || bin >= kBins) continue;
        ++count[bin];
        ++counted;
    }
    std::vector<float> cx(kBins), h(kBins), x(kCurve), y(kCurve);
    for (int j = 0; j < kBins; ++j) {
        cx[j] = float(0.4 * j - 5 + 0.2);
        h[j] = counted > 0 ? float(count[j] / (0.4 * counted)) : 0.0f;
    }
    const double root = std::sqrt(double(6.2831859f));  // of the single-precision 2 pi
    for (int k = 0; k < kCurve; ++k) {
        x[k] = float(0.1 * k - 5 + 0.05);
        y[k] = float(std::exp(-double(x[k]) * x[k] / 2) / root);
    }
    auto &c = graphane1_;
    SafeArray counts = SafeArray::ofInts(std::vector<int32_t>{kBins, kCurve});
    c.call(id::CreateSeries, int16_t(2), counts);
    setSeries(c, 0, cx, h);
    setSeries(c, 1, x, y);
    c.put(id::xmin, -5.0f);
    c.put(id::xmax, 5.0f);
    c.put(id::ymin, 0.0f);
    c.put(id::ymax, 0.5f);
    c.put(id::LineStyle, int16_t(0), int16_t(graphane::GRAPHANELINEBAR3D));
    c.put(id::LineStyle, int16_t(1), int16_t(graphane::GRAPHANELINESOLID));
    c.put(id::DotStyle, int16_t(0), int16_t(graphane::GRAPHANEDOTNONE));
    c.put(id::DotStyle, int16_t(1), int16_t(graphane::GRAPHANEDOTNONE));
    c.put(id::LineColor, int16_t(0), int32_t(0xFF0000));
    c.put(id::LineColor, int16_t(1), int32_t(255));
    c.put(id::nGridx, int16_t(11));
    c.put(id::nGridy, int16_t(6));
    c.put(id::GridSel, int16_t(graphane::GRAPHANEGRIDEQSPACE));
    c.put(id::GridColor, int32_t(0x808080));
    c.put(id::TitleX, std::string("幅度值"));
    c.put(id::TitleY, std::string("概率分布"));
    PlotChart(c);
}

// Asks for a file and runs one of the DSP control's file coders on it into `outputName` in
// the temporary folder. The chosen file is never the output; an output the coder did not
// finish is removed so that nothing half-written stands as a result.
void Form1::codeFile(int32_t member, const QString &outputName) {
    if (!tessiq1_.valid()) return;
    forms::CommonDialog &dlg = commonDialog1_;
    dlg.Filter = QStringLiteral("All Files(*.*)|*.*");
    dlg.CancelError = true;
    try {
        dlg.ShowOpen();
    } catch (const automation::Error &) {
        return;  // cancelled
    }
    const QString source = dlg.FileName;
    const QString output = QDir(QDir::tempPath()).filePath(outputName);
    if (sameFile(source, output)) return;  // would overwrite the file being read
    int32_t done = 0;
    try {
        done = tessiq1_.call(member, source.toStdString(), output.toStdString()).toI4();
    } catch (const automation::Error &) {
        done = 0;
    }
    if (done == 0) QFile::remove(output);
}

void Form1::idm_Compress_Click() {
    codeFile(tessiq::dispid::c_HufCompress, QStringLiteral("Temp.cmp"));
}

void Form1::idm_Expand_Click() {
    codeFile(tessiq::dispid::c_HufExpand, QStringLiteral("Temp.exe"));
}

}  // namespace wavedesk
