// DatlookDlg: the dialog "数据文件转换程序" that converts the integer list of a data file into a
// text file with one decimal number per line.
#pragma once

#include <QDialog>

#include "datafile.h"
#include "hooks.h"

class QLabel;
class QPushButton;

namespace datlook {

class DatlookDlg : public QDialog {
    Q_OBJECT
  public:
    // Builds the dialog; hooks decide how files are chosen and messages shown.
    explicit DatlookDlg(DialogHooks hooks = interactiveHooks(), QWidget *parent = nullptr);

    // The data file the dialog works on.
    DataFile &dataFile() { return data_; }
    // The text file of the last conversion, empty if none.
    const QString &textFileName() const { return textName_; }

  public slots:
    // Button 1000: asks for a data file and shows its name.
    void openDataFile();
    // Button 1001: asks for a text file and writes the integers into it.
    void writeTextFile();
    // The About entry: name and version of the program.
    void showAbout();

  private:
    void say(const QString &text);
    void buildControls();

    DialogHooks hooks_;
    DataFile data_;
    QString textName_;
    QLabel *dataLabel_ = nullptr;
    QLabel *textLabel_ = nullptr;
};

}  // namespace datlook
