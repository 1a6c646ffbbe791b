#include "fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <mutex>

namespace graphane {

namespace {

QString firstInstalled(const QStringList &candidates) {
    const QStringList families = QFontDatabase::families();
    for (const QString &c : candidates)
        if (families.contains(c, Qt::CaseInsensitive)) return c;
    return {};
}

}  // namespace

void installFontSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        const QString sans = firstInstalled({"Noto Sans CJK SC", "Noto Sans Mono CJK SC", "Noto Serif CJK SC",
                                             "WenQuanYi Zen Hei", "Droid Sans Fallback"});
        const QString serif = firstInstalled({"Noto Serif CJK SC", "Noto Sans CJK SC", "AR PL UMing CN"});
        if (!sans.isEmpty()) {
            for (const char *name : {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei", "楷体_GB2312", "楷体"})
                QFont::insertSubstitution(QString::fromUtf8(name), sans);
        }
        if (!serif.isEmpty()) {
            for (const char *name : {"宋体", "SimSun", "新宋体", "NSimSun", "仿宋_GB2312"})
                QFont::insertSubstitution(QString::fromUtf8(name), serif);
        }
    });
}

bool fontFaceKnown(const QString &family) {
    if (family.trimmed().isEmpty()) return false;
    if (!QFont::substitutes(family).isEmpty()) return true;
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

QFont defaultChartFont() {
    QFont f = QGuiApplication::font();
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

}  // namespace graphane
