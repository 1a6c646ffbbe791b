// sepuprep - chromatogram preprocessing and analysis without a display. Reads a .sepu file, runs
// the workbench's preprocessing (wavelet denoising through the DSP control of a hidden workbench
// window, window-classification baseline) at the given sampling rate, and writes the input,
// denoised, baseline and corrected series as .sepu files, a picture of them with the peaks
// marked, and on request a peak table and a CSV of every point.
//
//   sepuprep [options] INPUT.sepu [OUTPUT-BASE]
//
// Exit status: 0 done, 1 the input or an output failed, 2 wrong arguments or parameters.
#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>
#include <charconv>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis.h"
#include "automation/errors.h"
#include "automation/safearray.h"
#include "dspsteps.h"
#include "form1.h"
#include "forms/messagebox.h"
#include "graphane/dispids.h"
#include "sepufile.h"
#include "sepuscan.h"

namespace {

namespace id = graphane::dispid;
using automation::SafeArray;

constexpr int32_t kLongest = 16777216;  // 2^24 points with --all-points

const char *kUsage =
    "usage: sepuprep [options] INPUT.sepu [OUTPUT-BASE]\n"
    "  -t COEF          wavelet coefficient threshold, 0 < COEF < 5000 (default 200)\n"
    "  -b MV            baseline fluctuation threshold in mV, 0 to 400 (default 30)\n"
    "  -w SECONDS       moving-average window length in seconds, above 0 up to 300 (default 20)\n"
    "  --rate HZ        sampling rate of the trace, samples per second (default 20)\n"
    "  --auto           choose -t, -b and -w from the trace (noise and typical peak width); prints them\n"
    "  --min-sn N       peak detection threshold in units of the noise (default 3)\n"
    "  --peaks FILE     write the peak table (CSV)\n"
    "  --csv FILE       write time, input, denoised, baseline and corrected of every point (CSV)\n"
    "  --picture FILE   picture file, PNG when FILE ends in .png, otherwise BMP\n"
    "  --all-points     use a trace longer than 16384 points whole (up to 2^24)\n"
    "  writes OUTPUT-BASE_input.sepu, _denoised.sepu, _baseline.sepu, _corrected.sepu and\n"
    "  OUTPUT-BASE.bmp; OUTPUT-BASE defaults to INPUT without its extension\n";

struct Arguments {
    wavedesk::AnalysisOptions options;
    bool allPoints = false;
    QString input, base, peaks, csv, picture;
};

int usage(const std::string &problem) {
    if (!problem.empty()) std::fprintf(stderr, "sepuprep: %s\n", problem.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

// A whole argument as a finite number.
bool number(const char *text, float &value) {
    errno = 0;
    char *end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(v) || std::fabs(v) > 3e38)
        return false;
    value = static_cast<float>(v);
    return true;
}

// Parses the command line; returns 0 or the exit status of a usage error.
int parse(int argc, char **argv, Arguments &a) {
    std::vector<const char *> positional;
    float minSn = 3;
    wavedesk::PreprocessParams &p = a.options.params;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        float *target = arg == "-t"         ? &p.coefThreshold
                        : arg == "-b"       ? &p.baseThreshold
                        : arg == "-w"       ? &p.windowSeconds
                        : arg == "--rate"   ? &p.samplesPerSecond
                        : arg == "--min-sn" ? &minSn
                                            : nullptr;
        QString *file = arg == "--peaks"     ? &a.peaks
                        : arg == "--csv"     ? &a.csv
                        : arg == "--picture" ? &a.picture
                                             : nullptr;
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (target || file) {
            if (i + 1 >= argc) return usage(arg + " needs a value");
            ++i;
            if (file)
                *file = QString::fromLocal8Bit(argv[i]);
            else if (!number(argv[i], *target))
                return usage(arg + ": not a number: " + argv[i]);
        } else if (arg == "--auto") {
            a.options.automatic = true;
        } else if (arg == "--all-points") {
            a.allPoints = true;
        } else if (arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]))) {
            return usage("unknown option " + arg);
        } else {
            positional.push_back(argv[i]);
        }
    }
    if (positional.empty() || positional.size() > 2) return usage("");
    a.options.minSn = minSn;
    a.input = QString::fromLocal8Bit(positional[0]);
    a.base =
        positional.size() == 2 ? QString::fromLocal8Bit(positional[1]) : wavedesk::StripExtension(a.input);
    if (a.picture.isEmpty()) a.picture = a.base + QStringLiteral(".bmp");
    if (a.allPoints) p.maxTransform = kLongest;
    return 0;
}

// The offscreen platform says what it cannot do (raise a window, ...) and Qt where it keeps
// runtime files; none of it matters here.
void quietPlatform(QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (type == QtDebugMsg || type == QtInfoMsg ||
        text.startsWith(QStringLiteral("This plugin does not support")) ||
        text.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int fail(const QString &text) {
    std::fprintf(stderr, "sepuprep: %s\n", text.toLocal8Bit().constData());
    return 1;
}

void warn(const std::string &text) {
    std::fprintf(stderr, "sepuprep: warning: %s\n", text.c_str());
}

const char *paramProblem(wavedesk::ParamProblem p) {
    switch (p) {
        case wavedesk::ParamProblem::CoefThreshold:
            return "wavelet coefficient threshold (-t) must be above 0 and below 5000";
        case wavedesk::ParamProblem::BaseThreshold:
            return "baseline fluctuation threshold (-b) must be 0 to 400 mV";
        case wavedesk::ParamProblem::WindowLength:
            return "window length (-w) must be above 0 and at most 300 s";
        case wavedesk::ParamProblem::None: break;
    }
    return "";
}

// Shortest text of a number that reads back as the same value, with a plain "." decimal point.
std::string text(double v) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

std::string fixed(double v, int decimals) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

// Every output is written to a temporary file beside its name and only put in place when all of
// them were written, so a failed run presents no partial result under an output name.
class Outputs {
  public:
    bool add(const QString &name, const QByteArray &bytes) {
        auto f = std::make_unique<QSaveFile>(name);
        if (!f->open(QIODevice::WriteOnly) || f->write(bytes) != bytes.size()) {
            problem_ = name + QStringLiteral(": cannot be written");
            return false;
        }
        files_.push_back(std::move(f));
        return true;
    }
    bool commit() {
        for (auto &f : files_)
            if (!f->commit()) {
                problem_ = f->fileName() + QStringLiteral(": cannot be written");
                return false;
            }
        for (auto &f : files_) std::printf("%s\n", f->fileName().toLocal8Bit().constData());
        return true;
    }
    QString problem() const { return problem_; }

  private:
    std::vector<std::unique_ptr<QSaveFile>> files_;
    QString problem_;
};

QByteArray sepuText(const std::vector<float> &v) {
    std::string s;
    s.reserve(v.size() * 8);
    for (float x : v) s += wavedesk::SepuValueText(x) + "\r\n";
    return QByteArray::fromStdString(s);
}

QByteArray pointTable(const std::vector<float> &y, const wavedesk::Analysis &r) {
    std::string s = "time_min,input_mV,denoised_mV,baseline_mV,corrected_mV\n";
    s.reserve(y.size() * 48);
    const double toMin = 1.0 / (double(r.used.samplesPerSecond) * 60.0);
    for (std::size_t i = 0; i < y.size(); ++i)
        s += text(double(i) * toMin) + ',' + text(y[i]) + ',' + text(r.denoised[i]) + ',' +
             text(r.baseline[i]) + ',' + text(r.corrected[i]) + '\n';
    return QByteArray::fromStdString(s);
}

QByteArray peakTable(const wavedesk::Analysis &r) {
    std::string s =
        "peak,retention_min,start_min,end_min,height_mV,area_mVs,width_half_s,tailing_5pct,signal_to_noise\n";
    for (const wavedesk::PeakRow &p : r.peaks)
        s += std::to_string(p.number) + ',' + fixed(p.retentionMin, 4) + ',' + fixed(p.startMin, 4) + ',' +
             fixed(p.endMin, 4) + ',' + text(float(p.heightMv)) + ',' + text(float(p.areaMvS)) + ',' +
             fixed(p.widthHalfS, 3) + ',' + fixed(p.tailing, 3) + ',' + fixed(p.signalToNoise, 1) + '\n';
    return QByteArray::fromStdString(s);
}

void setSeries(automation::ControlHandle &chart, int16_t index, const std::vector<float> &x,
               const std::vector<float> &y) {
    SafeArray xs = SafeArray::ofFloats(x), ys = SafeArray::ofFloats(y);
    int32_t start = 0, count = static_cast<int32_t>(y.size());
    chart.call(id::SetSeries, index, xs, ys, start, count);
}

void setGrid(automation::ControlHandle &chart, int32_t member, const std::vector<double> &values) {
    std::vector<float> v(values.begin(), values.end());
    SafeArray a = SafeArray::ofFloats(v);
    int16_t count = static_cast<int16_t>(v.size() - 1);  // the chart takes the last index
    chart.call(member, a, count);
}

// The four series on a grid fitted to the data, the time axis in minutes, every peak marked with
// its number above its apex. Returns the picture's bytes in the format of `name`, or empty.
QByteArray picture(automation::ControlHandle &chart, const std::vector<float> &y, const wavedesk::Analysis &r,
                   const QString &name) {
    const int32_t n = static_cast<int32_t>(y.size());
    std::vector<float> x(y.size());
    const double toMin = 1.0 / (double(r.used.samplesPerSecond) * 60.0);
    for (int32_t i = 0; i < n; ++i) x[i] = static_cast<float>(i * toMin);
    double lo = y[0], hi = y[0];
    for (const std::vector<float> *s : {&y, &r.denoised, &r.baseline, &r.corrected})
        for (float v : *s) lo = std::min(lo, double(v)), hi = std::max(hi, double(v));
    if (lo == hi) lo -= 1, hi += 1;
    const std::vector<double> gx = wavedesk::RoundGrid(0, std::max(double(n - 1) * toMin, 1e-6), 11);
    const std::vector<double> gy = wavedesk::RoundGrid(lo, hi + (hi - lo) * 0.06, 9);  // room for the numbers

    SafeArray counts = SafeArray::ofInts(std::vector<int32_t>(4, n));
    chart.call(id::CreateSeries, int16_t(4), counts);
    const int32_t colors[4] = {0xFF0000, 0x5000, 0, 255};
    const std::vector<float> *series[4] = {&y, &r.denoised, &r.baseline, &r.corrected};
    for (int16_t k = 0; k < 4; ++k) {
        setSeries(chart, k, x, *series[k]);
        chart.put(id::LineColor, k, colors[k]);
        chart.put(id::LineStyle, k, int16_t(graphane::GRAPHANELINESOLID));
        chart.put(id::DotStyle, k, int16_t(graphane::GRAPHANEDOTNONE));
    }
    chart.put(id::xmin, float(gx.front()));
    chart.put(id::xmax, float(gx.back()));
    chart.put(id::ymin, float(gy.front()));
    chart.put(id::ymax, float(gy.back()));
    chart.put(id::GridSel, int16_t(graphane::GRAPHANEGRIDVALUE));
    setGrid(chart, id::SetGridxVal, gx);
    setGrid(chart, id::SetGridyVal, gy);
    chart.put(id::TitleX, std::string("Min"));
    chart.put(id::TitleY, std::string("mv"));
    chart.call(id::Plot, false);

    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    chart.call(id::GetChartArea, x1, y1, x2, y2);
    const double sx = (x2 - x1) / (gx.back() - gx.front()), sy = (y2 - y1) / (gy.back() - gy.front());
    for (const wavedesk::PeakRow &p : r.peaks) {
        const auto apex =
            static_cast<std::size_t>(std::clamp<double>(std::lround(p.retentionMin / toMin), 0, n - 1));
        const double top = std::max(y[apex], r.denoised[apex]);
        const float px = static_cast<float>(x1 + (p.retentionMin - gx.front()) * sx);
        const float py = static_cast<float>(y2 - (top - gy.front()) * sy);
        const std::string label = std::to_string(p.number);
        const float w = chart.call(id::TextWidth, label).toR4();
        chart.call(id::PlotLine, px, py - 2, px, py - 8, int32_t(255), std::string());
        chart.call(id::PlotString, float(px - w / 2), std::max(float(y1), py - 24), label, int32_t(255));
    }

    QTemporaryDir dir;
    const QString bmp = dir.path() + QStringLiteral("/picture.bmp");
    if (!dir.isValid() || chart.call(id::SaveAsBmpFile, bmp.toStdString()).toI4() != 1) return {};
    QFile file(bmp);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    if (!name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) return bytes;
    QImage image;
    QByteArray png;
    QBuffer buffer(&png);
    if (!image.loadFromData(bytes, "BMP") || !buffer.open(QIODevice::WriteOnly) ||
        !image.save(&buffer, "PNG"))
        return {};
    return png;
}

// Reads the values; counts[1] is the number in the file (up to the longest trace + 1).
std::vector<float> readValues(const QString &path, int64_t fileBytes, int32_t &inFile) {
    const int32_t capacity = static_cast<int32_t>(std::min<int64_t>(fileBytes, int64_t(kLongest) + 1));
    std::vector<float> y(static_cast<std::size_t>(std::max(capacity, 0)));
    inFile = capacity > 0 ? wavedesk::LoadSepuValues(path, y.data(), capacity) : 0;
    y.resize(static_cast<std::size_t>(inFile));
    return y;
}

void printChoice(const wavedesk::Analysis &r, const Arguments &a) {
    const wavedesk::PreprocessParams &u = r.used;
    std::printf("auto: noise %s mV, typical half-height width %s s\n", text(float(r.noise)).c_str(),
                fixed(r.typicalWidthS, 2).c_str());
    std::printf("auto: -t %s -b %s -w %s (window at %s Hz)\n", text(u.coefThreshold).c_str(),
                text(u.baseThreshold).c_str(), text(u.windowSeconds).c_str(),
                text(u.samplesPerSecond).c_str());
    // The workbench's time axis is 20 samples per second: the same window in its seconds.
    const float workbenchWindow = static_cast<float>(double(u.windowSeconds) * u.samplesPerSecond / 20.0);
    std::printf("auto: in the workbench's parameter dialog: %s, %s, %s\n", text(u.coefThreshold).c_str(),
                text(u.baseThreshold).c_str(), text(workbenchWindow).c_str());
    const wavedesk::ParamProblem problem =
        wavedesk::CheckParams({u.coefThreshold, u.baseThreshold, workbenchWindow});
    if (problem != wavedesk::ParamProblem::None)
        warn(std::string("the chosen values do not fit the workbench's dialog: ") + paramProblem(problem));
    (void)a;
}

// Opens, analyses and writes; returns the exit status.
int run(const Arguments &a) {
    const QFileInfo info(a.input);
    if (!info.exists()) return fail(a.input + ": no such file");
    if (!info.isFile() || !info.isReadable()) return fail(a.input + ": cannot be read");
    int32_t inFile = 0;
    std::vector<float> y = readValues(a.input, info.size(), inFile);
    if (y.empty()) return fail(a.input + ": holds no values (empty or not a .sepu file)");
    const int32_t limit = a.allPoints ? kLongest : wavedesk::kMaxPoints;
    if (inFile > limit) {
        y.resize(static_cast<std::size_t>(limit));
        warn(std::string(inFile > kLongest ? "more than " + std::to_string(inFile - limit)
                                           : std::to_string(inFile - limit)) +
             " points after the first " + std::to_string(limit) + " dropped" +
             (a.allPoints ? "" : " (--all-points uses them)"));
    }
    const int32_t n = static_cast<int32_t>(y.size());
    if (const int64_t fractional = wavedesk::CountFractionalValues(a.input, n))
        warn(std::to_string(fractional) + " values are not whole microvolts; they were rounded");

    wavedesk::Form1 form;
    if (!form.tessiq1().valid()) return fail("the DSP control is not available: " + form.tessiqProblem());
    form.show();  // offscreen: lays the chart out at the window's size
    QApplication::processEvents();

    wavedesk::Analysis r;
    const wavedesk::Outcome outcome =
        wavedesk::AnalyseChromatogram(y.data(), n, a.options, wavedesk::waveletThrough(form.tessiq1()), r);
    if (outcome == wavedesk::Outcome::Flat)
        return fail(a.input + ": all values are equal; there is nothing to denoise");
    if (a.options.automatic) printChoice(r, a);
    if (r.baselinePoints == 0)
        warn("no point is classified as baseline: the parameters do not suit this trace (try --auto)");
    const double toMin = 1.0 / (double(r.used.samplesPerSecond) * 60.0);
    if (const int32_t dip = wavedesk::DeepestDip(r.corrected, r.noise); dip >= 0)
        warn("the corrected trace goes down to " + fixed(r.corrected[dip], 3) + " mV at " +
             fixed(dip * toMin, 3) + " min, well below zero (noise " + text(float(r.noise)) + " mV)");

    Outputs out;
    const char *names[4] = {"_input.sepu", "_denoised.sepu", "_baseline.sepu", "_corrected.sepu"};
    const std::vector<float> *series[4] = {&y, &r.denoised, &r.baseline, &r.corrected};
    for (int k = 0; k < 4; ++k)
        if (!out.add(a.base + QString::fromLatin1(names[k]), sepuText(*series[k])))
            return fail(out.problem());
    const QByteArray image = picture(form.graphane1(), y, r, a.picture);
    if (image.isEmpty()) return fail(a.picture + ": cannot be written");
    if (!out.add(a.picture, image)) return fail(out.problem());
    if (!a.peaks.isEmpty() && !out.add(a.peaks, peakTable(r))) return fail(out.problem());
    if (!a.csv.isEmpty() && !out.add(a.csv, pointTable(y, r))) return fail(out.problem());
    if (!out.commit()) return fail(out.problem());
    std::printf("%d points, transform length %d, %zu peaks, noise %s mV\n", n, r.m, r.peaks.size(),
                text(float(r.noise)).c_str());
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    Arguments a;
    if (const int status = parse(argc, argv, a)) return status;
    const wavedesk::PreprocessParams &p = a.options.params;
    if (!(p.samplesPerSecond > 0)) {
        std::fprintf(stderr, "sepuprep: the sampling rate (--rate) must be above 0 samples per second\n");
        return 2;
    }
    if (!(a.options.minSn >= 0)) {
        std::fprintf(stderr, "sepuprep: the detection threshold (--min-sn) must be 0 or more\n");
        return 2;
    }
    const wavedesk::ParamProblem problem = wavedesk::CheckParams(p);
    if (problem != wavedesk::ParamProblem::None) {
        std::fprintf(stderr, "sepuprep: %s\n", paramProblem(problem));
        return 2;
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");  // never needs a display
    qInstallMessageHandler(quietPlatform);
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    // A message box has nobody to answer it here: its text goes to standard error.
    forms::setMessageHook([](const forms::MessageRequest &r) {
        std::fprintf(stderr, "sepuprep: %s\n", r.text.toLocal8Bit().constData());
        return forms::MsgResult::Ok;
    });
    try {
        return run(a);
    } catch (const automation::Error &e) {
        return fail(QStringLiteral("%1 (error %2)").arg(QString::fromUtf8(e.what())).arg(e.number()));
    }
}
