#include "rangedialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>

#include "forms/units.h"
#include "numberformat.h"

namespace graphane {

namespace {

FrmRange::Driver &driver() {
    static FrmRange::Driver d;
    return d;
}

QRect twips(int left, int top, int width, int height) {
    return QRect(forms::twipsToPixels(left), forms::twipsToPixels(top), forms::twipsToPixels(width),
                 forms::twipsToPixels(height));
}

QString general(double v) {
    return QString::fromStdString(generalFormat(v));
}

}  // namespace

double leadingNumber(const QString &text) {
    std::string s;
    const QString t = text.trimmed();
    int i = 0;
    auto digits = [&] {
        bool any = false;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128)
            s += char(t[i++].unicode()), any = true;
        return any;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) s += char(t[i++].unicode());
    bool any = digits();
    if (i < t.size() && t[i] == '.') {
        s += '.';
        ++i;
        any = digits() || any;
    }
    if (!any) return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        std::string mantissa = s;
        int back = i;
        s += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) s += char(t[i++].unicode());
        if (!digits()) s = mantissa, i = back;
    }
    return std::strtod(s.c_str(), nullptr);
}

FrmRange::FrmRange(QWidget *parent) : QDialog(parent) {
    setObjectName("frmRange");
    setWindowTitle(QString::fromUtf8("设置坐标范围"));
    setFixedSize(forms::twipsToPixels(5010), forms::twipsToPixels(2370));
    const char *captions[4] = {"横轴最小值：", "横轴最大值：", "纵轴最小值：", "纵轴最大值："};
    const int left[2] = {120, 2520}, top[2] = {240, 960};
    for (int k = 0; k < 4; ++k) {
        label_[k] = new QLabel(QString::fromUtf8(captions[k]), this);
        label_[k]->setObjectName(QString("Label%1").arg(k + 1));
        label_[k]->setGeometry(twips(left[k % 2], top[k / 2], 1500, 345));
        text_[k] = new QLineEdit(this);
        text_[k]->setObjectName(QString("Text%1").arg(k + 1));
        text_[k]->setGeometry(twips(left[k % 2] + 600, top[k / 2] + 240, 1700, 320));
    }
    command3_ = new QPushButton(QString::fromUtf8("计算(&A)"), this);
    command3_->setObjectName("Command3");
    command3_->setGeometry(twips(840, 1800, 1000, 400));
    command1_ = new QPushButton(QString::fromUtf8("确认(&O)"), this);
    command1_->setObjectName("Command1");
    command1_->setGeometry(twips(2160, 1800, 1000, 400));
    command2_ = new QPushButton(QString::fromUtf8("取消(&C)"), this);
    command2_->setObjectName("Command2");
    command2_->setGeometry(twips(3480, 1800, 1000, 400));
    for (QPushButton *b : {command1_, command2_, command3_}) b->setAutoDefault(false);
    command1_->setDefault(true);  // Enter in a field confirms the range
    setTabOrder(text_[0], text_[1]);
    setTabOrder(text_[1], text_[2]);
    setTabOrder(text_[2], text_[3]);
    setTabOrder(text_[3], command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);
    connect(command3_, &QPushButton::clicked, this, [this] {
        for (int k = 0; k < 4; ++k) text_[k]->setText(general(auto_[k]));
    });
    connect(command1_, &QPushButton::clicked, this, [this] {
        oksel = true;
        hide();
    });
    connect(command2_, &QPushButton::clicked, this, [this] {
        oksel = false;
        hide();
    });
    connect(this, &QDialog::rejected, this, [this] { oksel = false; });
    oksel = false;
}

void FrmRange::SetAutoRange(double xmin, double xmax, double ymin, double ymax) {
    auto_[0] = xmin, auto_[1] = xmax, auto_[2] = ymin, auto_[3] = ymax;
}

void FrmRange::SetRange(double xmin, double xmax, double ymin, double ymax) {
    const double v[4] = {xmin, xmax, ymin, ymax};
    for (int k = 0; k < 4; ++k) text_[k]->setText(general(v[k]));
}

int32_t FrmRange::GetRange(double &xmin, double &xmax, double &ymin, double &ymax) const {
    const double a = leadingNumber(text_[0]->text()), b = leadingNumber(text_[1]->text());
    const double c = leadingNumber(text_[2]->text()), d = leadingNumber(text_[3]->text());
    const bool xOk = b > a, yOk = d > c;
    if (xOk) xmin = a, xmax = b;
    if (yOk) ymin = c, ymax = d;
    return xOk && yOk ? 1 : 0;
}

void FrmRange::showModal() {
    if (driver()) {
        driver()(*this);
        return;
    }
    exec();
}

void FrmRange::setDriver(Driver d) {
    driver() = std::move(d);
}

void FrmRange::closeEvent(QCloseEvent *event) {
    oksel = false;
    QDialog::closeEvent(event);
}

}  // namespace graphane
