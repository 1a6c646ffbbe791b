// datlook: shows the conversion dialog; the program ends when the dialog closes.
#include <QApplication>

#include "datlookdlg.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("datlook"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    datlook::DatlookDlg dialog;
    dialog.exec();
    return 0;
}
