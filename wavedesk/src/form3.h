// form3.h - Form3 "输入分析参数", the modal dialog that asks for the three analysis parameters of
// chromatogram preprocessing: three label / text-box rows, Command1 "确认(&O)" and Command2
// "取消(&C)". Created on demand and discarded after every use, so it always opens with the
// default texts "200", "30" and "20".
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace wavedesk {

class Form3 : public QDialog {
    Q_OBJECT

  public:
    explicit Form3(QWidget *owner = nullptr);

    // Which button closed the dialog: true (-1) for Command1, 0 for Command2, the close box, or
    // while the dialog has not been answered.
    int16_t oksel = 0;

    QLabel *Label1, *Label2, *Label3;
    QLineEdit *Text1, *Text2, *Text3;
    QPushButton *Command1, *Command2;

    // Shows the dialog modally. With a script installed the script answers instead: it receives
    // the dialog, shown, and fills its text boxes and clicks its buttons as a user would.
    void showModal();

    using Script = std::function<void(Form3 &)>;
    static void setScript(Script script);  // empty function: the real modal dialog again

  private:
    void Command1_Click();
    void Command2_Click();
};

}  // namespace wavedesk
