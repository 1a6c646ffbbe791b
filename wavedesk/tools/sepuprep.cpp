// sepuprep - chromatogram preprocessing without a display. Opens a .sepu file in a hidden
// workbench window (offscreen), runs the same preprocessing as the menu command 色谱预处理 with
// the given parameters, and writes the input, denoised, baseline and corrected series as .sepu
// files and the chart picture as a BMP file.
//
//   sepuprep [-t COEF] [-b MV] [-w SECONDS] INPUT.sepu [OUTPUT-BASE]
//
// Exit status: 0 done, 1 the input or an output failed, 2 wrong arguments or parameters.
#include <QApplication>
#include <QFileInfo>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "automation/errors.h"
#include "chromatogram.h"
#include "form1.h"
#include "forms/messagebox.h"
#include "graphane/dispids.h"
#include "sepufile.h"

namespace {

const char *kUsage =
    "usage: sepuprep [-t COEF] [-b MV] [-w SECONDS] INPUT.sepu [OUTPUT-BASE]\n"
    "  -t  wavelet coefficient threshold, 0 < COEF < 5000 (default 200)\n"
    "  -b  baseline fluctuation threshold in mV, 0 to 400 (default 30)\n"
    "  -w  moving-average window length in seconds, above 0 up to 300 (default 20)\n"
    "  writes OUTPUT-BASE_input.sepu, _denoised.sepu, _baseline.sepu, _corrected.sepu and\n"
    "  OUTPUT-BASE.bmp; OUTPUT-BASE defaults to INPUT without its extension\n";

struct Arguments {
  wavedesk::AnalysisParameters params;
  QString input, base;
};

int usage(const char *problem) {
  if (problem) std::fprintf(stderr, "sepuprep: %s\n", problem);
  std::fputs(kUsage, stderr);
  return 2;
}

// A whole argument as a finite number.
bool number(const char *text, float &value) {
  errno = 0;
  char *end = nullptr;
  const double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(v)) return false;
  value = static_cast<float>(v);
  return true;
}

// Parses the command line; returns 0 or the exit status of a usage error.
int parse(int argc, char **argv, Arguments &a) {
  std::vector<const char *> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    float *target = arg == "-t" ? &a.params.coefficientThreshold
                    : arg == "-b" ? &a.params.baselineThreshold
                    : arg == "-w" ? &a.params.windowSeconds
                                  : nullptr;
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (target) {
      if (i + 1 >= argc) return usage((arg + " needs a value").c_str());
      if (!number(argv[++i], *target)) return usage((arg + ": not a number: " + argv[i]).c_str());
    } else if (arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]))) {
      return usage(("unknown option " + arg).c_str());
    } else {
      positional.push_back(argv[i]);
    }
  }
  if (positional.empty() || positional.size() > 2) return usage(nullptr);
  a.input = QString::fromLocal8Bit(positional[0]);
  a.base = positional.size() == 2 ? QString::fromLocal8Bit(positional[1]) : wavedesk::StripExtension(a.input);
  return 0;
}

// The offscreen platform says what it cannot do (raise a window, ...) and Qt where it keeps
// runtime files; none of it matters here.
void quietPlatform(QtMsgType type, const QMessageLogContext &, const QString &text) {
  if (type == QtDebugMsg || type == QtInfoMsg || text.startsWith(QStringLiteral("This plugin does not support")) ||
      text.startsWith(QStringLiteral("QStandardPaths:")))
    return;
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int fail(const QString &text) {
  std::fprintf(stderr, "sepuprep: %s\n", text.toLocal8Bit().constData());
  return 1;
}

const char *paramProblem(wavedesk::ParamProblem p) {
  switch (p) {
    case wavedesk::ParamProblem::CoefThreshold: return "wavelet coefficient threshold (-t) must be above 0 and below 5000";
    case wavedesk::ParamProblem::BaseThreshold: return "baseline fluctuation threshold (-b) must be 0 to 400 mV";
    case wavedesk::ParamProblem::WindowLength: return "window length (-w) must be above 0 and at most 300 s";
    case wavedesk::ParamProblem::None: break;
  }
  return "";
}

// Opens, preprocesses and writes; returns the exit status.
int run(const Arguments &a) {
  const QFileInfo info(a.input);
  if (!info.exists()) return fail(a.input + ": no such file");
  if (!info.isFile() || !info.isReadable()) return fail(a.input + ": cannot be read");

  wavedesk::Form1 form;
  if (!form.tessiq1().valid()) return fail("the DSP control is not available: " + form.tessiqProblem());
  form.show();  // offscreen: lays the chart out at the window's size
  QApplication::processEvents();

  const QString path = info.absoluteFilePath();
  form.openSepuFile(path);
  if (form.windowTitle() != path) return fail(a.input + ": holds no values (empty or not a .sepu file)");
  const int32_t n = form.graphane1().get(graphane::dispid::nPoints, int16_t(0)).toI4();

  form.parameters() = a.params;
  if (form.preprocessSeries0() == wavedesk::Outcome::Flat)
    return fail(a.input + ": all values are equal; there is nothing to denoise");

  const char *names[4] = {"_input.sepu", "_denoised.sepu", "_baseline.sepu", "_corrected.sepu"};
  for (int16_t k = 0; k < 4; ++k) {
    const QString name = a.base + QString::fromLatin1(names[k]);
    if (!wavedesk::WriteSeriesText(form.graphane1(), name, k)) return fail(name + ": cannot be written");
    std::printf("%s\n", name.toLocal8Bit().constData());
  }
  const QString picture = a.base + QStringLiteral(".bmp");
  if (form.graphane1().call(graphane::dispid::SaveAsBmpFile, picture.toStdString()).toI4() != 1)
    return fail(picture + ": cannot be written");
  std::printf("%s\n", picture.toLocal8Bit().constData());
  std::printf("%d points, transform length %d\n", n, wavedesk::TransformLength(n));
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  Arguments a;
  if (const int status = parse(argc, argv, a)) return status;
  const wavedesk::ParamProblem problem = wavedesk::CheckParams(
      {a.params.coefficientThreshold, a.params.baselineThreshold, a.params.windowSeconds});
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
