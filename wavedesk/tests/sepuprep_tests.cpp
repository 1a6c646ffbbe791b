// The headless preprocessing command run as a program: its files, its picture, and its exit
// status and message for each kind of bad input.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <fstream>
#include <string>
#include <vector>

#include <cmath>
#include <sstream>

#include "automation/plugin.h"
#include "samplegen.h"
#include "testfiles.h"

namespace {

using wavedesk::test::TempFolder;

const QString kSample = QStringLiteral(WAVEDESK_SAMPLE);

struct Outcome {
    int status = -1;
    QString out, err;
};

QString program() {
    return QString::fromStdString(automation::programFolder() + "sepuprep");
}

Outcome sepuprep(const QStringList &args) {
    QProcess p;
    p.start(program(), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

std::vector<long> integers(const QString &path) {
    std::ifstream in(path.toStdString());
    std::vector<long> v;
    long x;
    while (in >> x) v.push_back(x);
    return v;
}

class Sepuprep : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFile::exists(program())) GTEST_SKIP() << "sepuprep is not built";
    }
    TempFolder dir;
};

TEST_F(Sepuprep, WritesFourSeriesAndThePicture) {
    const QString base = dir.path("run");
    const Outcome r = sepuprep({kSample, base});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const QString &line : r.err.split('\n', Qt::SkipEmptyParts))  // warnings only
        EXPECT_TRUE(line.startsWith("sepuprep: warning: ")) << line.toStdString();
    EXPECT_EQ(integers(base + "_input.sepu"), integers(kSample));
    for (const char *part : {"_denoised.sepu", "_baseline.sepu", "_corrected.sepu"})
        EXPECT_EQ(integers(base + part).size(), 16384u) << part;
    const QImage picture(base + ".bmp");
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 300);
    int red = 0;  // the corrected trace is drawn in red
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) == QColor(255, 0, 0)) ++red;
    EXPECT_GT(red, 500);
}

TEST_F(Sepuprep, BadInputFailsWithAMessageAndWritesNothing) {
    const QString flat = dir.writeLines("flat.sepu", std::vector<long long>(100, 5000));
    const QString empty = dir.write("empty.sepu", "");
    const QString words = dir.write("words.sepu", "no numbers here\n");
    struct Case {
        QString input;
        const char *says;
    };
    for (const Case &c : {Case{dir.path("missing.sepu"), "no such file"}, Case{empty, "holds no values"},
                          Case{words, "holds no values"}, Case{flat, "all values are equal"}}) {
        const Outcome r = sepuprep({c.input, dir.path("out")});
        EXPECT_EQ(r.status, 1) << c.input.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.says))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.path("out.bmp")));
        EXPECT_FALSE(QFile::exists(dir.path("out_input.sepu")));
    }
}

TEST_F(Sepuprep, WrongArgumentsAndParametersExitWithTwo) {
    for (const QStringList &args : {QStringList{}, QStringList{"-t"}, QStringList{"-w", "abc", kSample},
                                    QStringList{"-x", kSample}, QStringList{kSample, "a", "b"}}) {
        const Outcome r = sepuprep(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage: sepuprep")) << r.err.toStdString();
    }
    for (const QStringList &args : {QStringList{"-t", "0", kSample}, QStringList{"-t", "5000", kSample},
                                    QStringList{"-b", "401", kSample}, QStringList{"-w", "0", kSample}}) {
        const Outcome r = sepuprep(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("must be")) << r.err.toStdString();
    }
}

// Rows of a CSV file after its header line, as numbers.
std::vector<std::vector<double>> csvRows(const QString &path, std::string *header = nullptr) {
    std::ifstream in(path.toStdString());
    std::string line;
    std::getline(in, line);
    if (header) *header = line;
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ',')) row.push_back(std::stod(cell));
        rows.push_back(row);
    }
    return rows;
}

// Peak table columns.
enum { kNumber, kRetention, kStart, kEnd, kHeight, kArea, kWidth, kTailing, kSn };

// The row whose retention time is nearest to `seconds`.
const std::vector<double> &nearest(const std::vector<std::vector<double>> &rows, double seconds) {
    std::size_t best = 0;
    for (std::size_t k = 1; k < rows.size(); ++k)
        if (std::fabs(rows[k][kRetention] * 60 - seconds) < std::fabs(rows[best][kRetention] * 60 - seconds))
            best = k;
    return rows[best];
}

QString writeTrace(const TempFolder &dir, const QString &name, const wavedesk::TraceRecipe &recipe) {
    const std::vector<long> uv = wavedesk::GenerateMicrovolts(recipe);
    return dir.writeLines(name, std::vector<long long>(uv.begin(), uv.end()));
}

constexpr double kSqrt2Pi = 2.5066282746310002;
constexpr double kFwhmPerSigma = 2.3548200450309493;

TEST_F(Sepuprep, PeakTableOfTheSampleMatchesTheGeneratorsPeaks) {
    const Outcome r =
        sepuprep({"-b", "10", "-w", "12", "--peaks", dir.path("peaks.csv"), kSample, dir.path("s")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    std::string header;
    const auto rows = csvRows(dir.path("peaks.csv"), &header);
    EXPECT_EQ(
        header,
        "peak,retention_min,start_min,end_min,height_mV,area_mVs,width_half_s,tailing_5pct,signal_to_noise");
    ASSERT_GE(rows.size(), wavedesk::SamplePeaks().size());
    for (const wavedesk::SamplePeak &p : wavedesk::SamplePeaks()) {
        const auto &row = nearest(rows, p.seconds);
        const double area = p.height * p.sigma * kSqrt2Pi;
        // The two widest peaks lose a little of their feet to a window this short.
        const bool wide = p.sigma > 8;
        EXPECT_NEAR(row[kRetention] * 60 * 20, p.seconds * 20, wide ? 1.5 : 1.0) << p.seconds;
        EXPECT_NEAR(row[kHeight], p.height, p.height * (wide ? 0.015 : 0.01)) << p.seconds;
        EXPECT_NEAR(row[kArea], area, area * (wide ? 0.03 : 0.02)) << p.seconds;
        EXPECT_NEAR(row[kWidth], kFwhmPerSigma * p.sigma, kFwhmPerSigma * p.sigma * 0.05) << p.seconds;
        EXPECT_NEAR(row[kTailing], 1.0, 0.1) << p.seconds;
        EXPECT_GT(row[kSn], 3) << p.seconds;
        EXPECT_LT(row[kStart], row[kRetention]);
        EXPECT_GT(row[kEnd], row[kRetention]);
    }
}

TEST_F(Sepuprep, AutoChoosesParametersThatFindEverySamplePeak) {
    const Outcome r = sepuprep({"--auto", "--peaks", dir.path("peaks.csv"), kSample, dir.path("s")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("auto: -t ")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("parameter dialog")) << r.out.toStdString();
    const auto rows = csvRows(dir.path("peaks.csv"));
    EXPECT_EQ(rows.size(), wavedesk::SamplePeaks().size());
    for (const wavedesk::SamplePeak &p : wavedesk::SamplePeaks()) {
        const auto &row = nearest(rows, p.seconds);
        const double area = p.height * p.sigma * kSqrt2Pi;
        EXPECT_NEAR(row[kRetention] * 60 * 20, p.seconds * 20, 1.0) << p.seconds;
        EXPECT_NEAR(row[kHeight], p.height, p.height * 0.02) << p.seconds;
        EXPECT_NEAR(row[kArea], area, area * 0.07) << p.seconds;
        EXPECT_NEAR(row[kWidth], kFwhmPerSigma * p.sigma, kFwhmPerSigma * p.sigma * 0.05) << p.seconds;
    }
}

TEST_F(Sepuprep, RateScalesEveryTimeAndTheCsvReadsBack) {
    // The same window in points (12 s at 20 samples per second, 24 s at 10): the same analysis,
    // every time twice as long.
    const Outcome slow =
        sepuprep({"-b", "10", "-w", "12", "--peaks", dir.path("p20.csv"), kSample, dir.path("a")});
    const Outcome fast =
        sepuprep({"-b", "10", "-w", "24", "--rate", "10", "--peaks", dir.path("p10.csv"), "--csv",
                  dir.path("points.csv"), "--picture", dir.path("b.png"), kSample, dir.path("b")});
    ASSERT_EQ(slow.status, 0) << slow.err.toStdString();
    ASSERT_EQ(fast.status, 0) << fast.err.toStdString();
    const auto p20 = csvRows(dir.path("p20.csv")), p10 = csvRows(dir.path("p10.csv"));
    ASSERT_FALSE(p10.empty());
    ASSERT_EQ(p10.size(), p20.size());
    for (std::size_t k = 0; k < p10.size(); ++k) {
        for (int c : {kRetention, kStart, kEnd}) EXPECT_NEAR(p10[k][c], 2 * p20[k][c], 2e-4) << k;
        EXPECT_NEAR(p10[k][kWidth], 2 * p20[k][kWidth], 2e-3) << k;
        EXPECT_NEAR(p10[k][kArea], 2 * p20[k][kArea], 1e-5 * p10[k][kArea]) << k;
        EXPECT_NEAR(p10[k][kHeight], p20[k][kHeight], 1e-5 * p10[k][kHeight]) << k;
        EXPECT_NEAR(p10[k][kTailing], p20[k][kTailing], 2e-3) << k;
    }
    std::string header;
    const auto points = csvRows(dir.path("points.csv"), &header);
    EXPECT_EQ(header, "time_min,input_mV,denoised_mV,baseline_mV,corrected_mV");
    const std::vector<long> input = integers(kSample);
    ASSERT_EQ(points.size(), input.size());
    const std::vector<long> baseline = integers(dir.path("b_baseline.sepu"));
    ASSERT_EQ(baseline.size(), input.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_EQ(points[i].size(), 5u);
        EXPECT_DOUBLE_EQ(points[i][0], double(i) / (10.0 * 60.0));
        EXPECT_NEAR(points[i][1], input[i] / 1000.0,
                    1e-7 * std::fabs(input[i] / 1000.0) + 1e-9);  // single precision
        EXPECT_NEAR(points[i][3] * 1000, double(baseline[i]), 0.51);
        EXPECT_NEAR(points[i][4], points[i][2] - points[i][3], 1e-4 * (1 + std::fabs(points[i][2])));
    }
    const QImage png(dir.path("b.png"), "PNG");
    EXPECT_FALSE(png.isNull());
    EXPECT_FALSE(QFile::exists(dir.path("b.bmp")));
}

TEST_F(Sepuprep, WarnsOfDroppedPointsFractionsAndNoBaseline) {
    wavedesk::TraceRecipe recipe = wavedesk::SampleRecipe();
    recipe.points = 20000;
    const std::vector<long> uv = wavedesk::GenerateMicrovolts(recipe);
    std::string text;
    for (std::size_t i = 0; i < uv.size(); ++i)
        text += std::to_string(uv[i]) + (i % 1000 == 0 ? ".5\r\n" : "\r\n");
    const QString file = dir.write("long.sepu", text);
    const Outcome cut = sepuprep({"-b", "0", "--csv", dir.path("cut.csv"), file, dir.path("cut")});
    ASSERT_EQ(cut.status, 0) << cut.err.toStdString();
    EXPECT_TRUE(cut.err.contains("warning: 3616 points after the first 16384 dropped"))
        << cut.err.toStdString();
    EXPECT_TRUE(cut.err.contains("warning: 17 values are not whole microvolts")) << cut.err.toStdString();
    EXPECT_TRUE(cut.err.contains("warning: no point is classified as baseline")) << cut.err.toStdString();
    EXPECT_EQ(csvRows(dir.path("cut.csv")).size(), 16384u);
    const Outcome whole = sepuprep({"--all-points", "--csv", dir.path("whole.csv"), file, dir.path("whole")});
    ASSERT_EQ(whole.status, 0) << whole.err.toStdString();
    EXPECT_FALSE(whole.err.contains("dropped")) << whole.err.toStdString();
    EXPECT_FALSE(whole.err.contains("no point is classified")) << whole.err.toStdString();
    EXPECT_TRUE(whole.out.contains("20000 points, transform length 65536")) << whole.out.toStdString();
    EXPECT_EQ(csvRows(dir.path("whole.csv")).size(), 20000u);
}

// Not met yet: on a trace whose range a 27 V solvent tail dominates, --auto leaves the corrected
// trace several noise deviations off zero beside some peaks and cuts the wide peaks. Enable with
// --gtest_also_run_disabled_tests once the choice of the window is per peak.
TEST_F(Sepuprep, DISABLED_AutoOnATraceWithNoiseDriftAndASolventTail) {
    wavedesk::TraceRecipe recipe = wavedesk::SampleRecipe();
    recipe.rate = 10;
    recipe.points = 8192;
    recipe.noiseMv = 0.3;
    recipe.offsetMv = 300;
    recipe.slopeMvPerS = 0.08;
    recipe.tailMv = 27000;  // 27 V at the start, as a solvent tail
    recipe.tailSeconds = 5;
    recipe.seed = 99;
    const QString file = writeTrace(dir, "tail.sepu", recipe);
    const Outcome r = sepuprep({"--auto", "--rate", "10", "--peaks", dir.path("p.csv"), "--csv",
                                dir.path("c.csv"), file, dir.path("t")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const int at = r.out.indexOf("auto: noise ");
    ASSERT_GE(at, 0) << r.out.toStdString();
    EXPECT_NEAR(r.out.mid(at + 12).section(' ', 0, 0).toDouble(), recipe.noiseMv, recipe.noiseMv * 0.15);
    const auto rows = csvRows(dir.path("p.csv"));
    ASSERT_FALSE(rows.empty());
    // With the window chosen on such a trace the narrow peaks come out whole (the wide ones are
    // cut into pieces: a known limit of one window for the whole trace).
    for (const wavedesk::SamplePeak &p : recipe.peaks) {
        if (p.sigma > 3.2 || p.seconds < 60) continue;
        const auto &row = nearest(rows, p.seconds);
        EXPECT_NEAR(row[kRetention] * 60, p.seconds, 1.0 / recipe.rate) << p.seconds;
        EXPECT_NEAR(row[kHeight], p.height, p.height * 0.05) << p.seconds;
    }
    // Away from the tail and the peaks the corrected trace lies within a few noise deviations of 0.
    const auto points = csvRows(dir.path("c.csv"));
    ASSERT_EQ(points.size(), std::size_t(recipe.points));
    int far = 0, close = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double t = double(i) / recipe.rate;
        bool clear = t > 60;
        for (const wavedesk::SamplePeak &p : recipe.peaks)
            clear = clear && std::fabs(t - p.seconds) > 5 * p.sigma + 10;
        if (!clear) continue;
        ++far;
        if (std::fabs(points[i][4]) < 4 * recipe.noiseMv) ++close;
    }
    ASSERT_GT(far, 200);
    EXPECT_GT(close, far * 99 / 100);
    EXPECT_FALSE(r.err.contains("well below zero")) << r.err.toStdString();
}

TEST_F(Sepuprep, BadRateAndUnwritableOutputsFailCleanly) {
    for (const char *rate : {"0", "-5"}) {
        const Outcome r = sepuprep({"--rate", rate, kSample, dir.path("x")});
        EXPECT_EQ(r.status, 2) << rate;
        EXPECT_TRUE(r.err.contains("sampling rate (--rate) must be above 0")) << r.err.toStdString();
    }
    const Outcome base = sepuprep({kSample, dir.path("missing/run")});
    EXPECT_EQ(base.status, 1);
    EXPECT_TRUE(base.err.contains("cannot be written")) << base.err.toStdString();
    // One unwritable output: none of the others is put in place either.
    const Outcome peaks = sepuprep({"--peaks", dir.path("missing/p.csv"), kSample, dir.path("run")});
    EXPECT_EQ(peaks.status, 1);
    EXPECT_TRUE(peaks.err.contains("missing/p.csv: cannot be written")) << peaks.err.toStdString();
    for (const char *name : {"run_input.sepu", "run_corrected.sepu", "run.bmp"})
        EXPECT_FALSE(QFile::exists(dir.path(name))) << name;
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::Files).size(), 0);
}

}  // namespace
