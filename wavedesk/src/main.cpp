// main.cpp - the workbench program: checks for a display, shows Form1 and runs until it is
// unloaded. Besides --help, the only option is --check, which creates the window and both
// controls without showing them and says whether that worked (for installations and scripts).
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstring>
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

const char kUsage[] =
    "Usage: wavedesk [--check]\n"
    "The chromatogram workbench: open a .sepu chromatogram, denoise it, remove its baseline,\n"
    "zoom, measure and save.\n"
    "  --check   create the main window and both controls without showing them, then exit\n"
    "            (status 0 when the chart and the DSP control load)\n"
    "  --help    show this text\n";

// Qt's own texts (standard buttons, file dialogs) in Chinese like the rest of the window,
// when Debian's qt6-translations-l10n is installed; without it they stay English.
void loadQtTranslation(QApplication &app, QTranslator &translator) {
    if (translator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}

// Creates Form1 hidden and reports whether both controls are there.
int checkControls() {
    wavedesk::Form1 form;
    if (!form.tessiqProblem().isEmpty()) {
        std::fprintf(stderr, "wavedesk: DSP control: %s\n", form.tessiqProblem().toLocal8Bit().constData());
        return 1;
    }
    std::printf("wavedesk: chart and DSP control loaded\n");
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--check") == 0) {
            check = true;
            continue;
        }
        std::fprintf(stderr, "wavedesk: unknown option '%s'\n%s", argv[i], kUsage);
        return 2;
    }
    const std::string problem = wavedesk::displayProblem(wavedesk::currentDisplayEnvironment(), pathExists);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    int qtArgc = 1;  // command-line arguments are not passed on
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QTranslator translator;
    loadQtTranslation(app, translator);
    try {
        if (check) return checkControls();
        wavedesk::Form1 form;
        QObject::connect(&form, &wavedesk::Form1::unloaded, &app, &QApplication::quit, Qt::QueuedConnection);
        form.show();
        return app.exec();
    } catch (const automation::Error &e) {
        const QString text = QStringLiteral("wavedesk: %1").arg(QString::fromUtf8(e.what()));
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        forms::showMessage(nullptr, forms::MsgIcon::Critical, QStringLiteral("wavedesk"), text);
        return 1;
    }
}
