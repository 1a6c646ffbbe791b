// main.cpp - the workbench program: checks for a display, shows Form1 and runs until it is
// unloaded. The program reads no arguments.
#include <QApplication>
#include <cstdio>
#include <sys/stat.h>

#include "automation/errors.h"
#include "display.h"
#include "form1.h"
#include "forms/messagebox.h"

namespace {

bool pathExists(const std::string &path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

int main(int, char **argv) {
  const std::string problem =
      wavedesk::displayProblem(wavedesk::currentDisplayEnvironment(), pathExists);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  int qtArgc = 1;  // command-line arguments are not passed on
  char *qtArgv[] = {argv[0], nullptr};
  QApplication app(qtArgc, qtArgv);
  try {
    wavedesk::Form1 form;
    QObject::connect(&form, &wavedesk::Form1::unloaded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    form.show();
    return app.exec();
  } catch (const automation::Error &e) {
    const QString text = QStringLiteral("wavedesk: %1").arg(QString::fromUtf8(e.what()));
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    forms::showMessage(nullptr, forms::MsgIcon::Critical, QStringLiteral("wavedesk"), text);
    return 1;
  }
}
