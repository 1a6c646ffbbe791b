// datlook: shows the conversion dialog; the program ends when the dialog closes.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datlookdlg.h"

namespace {

const char kUsage[] =
    "Usage: datlook\n"
    "Converts a binary data file (\"Data file version 1.00\") to a text file, in a dialog.\n"
    "  --help    show this text\n";

std::string environment(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

// Without a screen Qt aborts with its platform message; say it in one line instead. A platform
// other than xcb or wayland (offscreen, vnc, ...) is trusted to work without one.
bool hasDisplay() {
    const std::string platform = environment("QT_QPA_PLATFORM");
    if (!platform.empty() && platform.rfind("xcb", 0) != 0 && platform.rfind("wayland", 0) != 0) return true;
    return !environment("DISPLAY").empty() || !environment("WAYLAND_DISPLAY").empty();
}

}  // namespace

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        std::fprintf(stderr, "datlook: unknown option '%s'\n%s", argv[i], kUsage);
        return 2;
    }
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "datlook: no display to show the window on (run it in a desktop "
                     "session, or as: xvfb-run -a datlook)\n");
        return 1;
    }
    int qtArgc = 1;  // the options are handled above
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("datlook"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    // Qt's standard buttons and file dialog in Chinese like the dialog itself, when Debian's
    // qt6-translations-l10n is installed.
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
    datlook::DatlookDlg dialog;
    dialog.exec();
    return 0;
}
