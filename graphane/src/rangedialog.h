// rangedialog.h - the axis range dialog frmRange: four fields for the x and y minimum and
// maximum, a button that fills in the automatic range, confirm and cancel.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace graphane {

class FrmRange : public QDialog {
    Q_OBJECT
  public:
    explicit FrmRange(QWidget *parent = nullptr);

    // Stores the automatic range that the calculate button writes into the fields.
    void SetAutoRange(double xmin, double xmax, double ymin, double ymax);
    // Writes the four values into the fields as general-format numbers.
    void SetRange(double xmin, double xmax, double ymin, double ymax);
    // Reads the fields (leading numeric part, 0 when none); writes each axis whose maximum is
    // above its minimum and returns 1 when both are, else 0.
    int32_t GetRange(double &xmin, double &xmax, double &ymin, double &ymax) const;
    bool oksel = false;

    // Shows the dialog modally, or hands it to the installed driver (tests script it so).
    void showModal();
    using Driver = std::function<void(FrmRange &)>;
    static void setDriver(Driver driver);

    QLineEdit *field(int i) const { return text_[i]; }  // Text1..Text4 as 0..3
    QPushButton *calculateButton() const { return command3_; }
    QPushButton *confirmButton() const { return command1_; }
    QPushButton *cancelButton() const { return command2_; }

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    QLabel *label_[4];
    QLineEdit *text_[4];
    QPushButton *command1_, *command2_, *command3_;
    double auto_[4] = {0, 0, 0, 0};
};

// The leading number of a text as a form host's Val reads it ("12abc" 12, "abc" 0, " -1.5e2" -150).
double leadingNumber(const QString &text);

}  // namespace graphane
