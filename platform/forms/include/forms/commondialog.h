// commondialog.h - the common file dialog component of the forms:
//
//   forms::CommonDialog dlg;
//   dlg.Filter = "色谱数据文件(*.sepu)|*.sepu|所有文件(*.*)|*.*";
//   dlg.DialogTitle = "打开色谱数据";
//   dlg.CancelError = true;
//   dlg.ShowOpen();          // raises automation error 32755 when cancelled
//   QString path = dlg.FileName;
//
// Filter is pipe syntax: description|pattern pairs, several patterns joined by ';'.
// Tests replace the real QFileDialog with a scripted chooser.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace forms {

class CommonDialog {
  public:
    enum class Mode { Open, Save };

    QString Filter;
    QString DialogTitle;
    bool CancelError = false;
    QString FileName;
    int FilterIndex = 1;
    QWidget *Parent = nullptr;

    // Return true when a file was chosen (FileName set). Cancel leaves FileName as it was and
    // raises error 32755 when CancelError is set, otherwise returns false.
    bool ShowOpen();
    bool ShowSave();

    // Where the real dialog starts for a proposed file name: the name's folder (or the working
    // folder for a bare name), unless that folder is missing or on a kernel pseudo-filesystem
    // (/proc, /sys, /dev ...), where it starts in the home folder with the same file name.
    // Always a full path, so the dialog never falls back to the last folder it visited.
    static QString safeStartPath(const QString &fileName);

    // "Text|*.a;*.b|All|*.*" -> {"Text (*.a *.b)", "All (*.*)"}
    static QStringList qtFilters(const QString &filter);

    // A chooser returns the chosen path or nothing for cancel.
    using Chooser = std::function<std::optional<QString>(Mode, const CommonDialog &)>;
    static void setChooser(Chooser chooser);  // empty function: the real dialog again

  private:
    bool show(Mode mode);
};

}  // namespace forms
