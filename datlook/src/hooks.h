// The dialog's way to the user: file choosers and message boxes go through these hooks, so a
// test can replace them with scripted answers and observe what would have been shown.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace datlook {

// What a file chooser is asked for.
struct FileRequest {
    QString defaultSuffix;   // appended when the user types a name without one, without the dot
    QString initialName;     // proposed file name or path
    QString filter;          // pipe syntax: "Text(*.txt)|*.txt|"
    bool mustExist = false;  // only existing files may be chosen
};

struct DialogHooks {
    // Returns the chosen path, or nothing when the user cancels.
    std::function<std::optional<QString>(QWidget *parent, const FileRequest &request)> chooseFile;
    // Shows a plain message box with a caption and waits for the user.
    std::function<void(QWidget *parent, const QString &caption, const QString &text)> message;
};

// Hooks backed by QFileDialog and QMessageBox.
DialogHooks interactiveHooks();

// Turns a pipe filter ("Data(*.dat)|*.dat|") into Qt's form ("Data(*.dat)"); pairs joined by ";;".
QString qtNameFilter(const QString &pipeFilter);

}  // namespace datlook
