// form3.cpp - the analysis parameter dialog.
#include "form3.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace wavedesk {

namespace {

Form3::Script &script() {
    static Form3::Script installed;
    return installed;
}

QLineEdit *textBox(QWidget *parent, const char *name, const char *text) {
    auto *box = new QLineEdit(QString::fromUtf8(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel *label(QWidget *parent, const char *name, const char *text) {
    auto *l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

Form3::Form3(QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("输入分析参数"));
    setModal(true);

    Label1 = label(this, "Label1", "小波系数门限");
    Label2 = label(this, "Label2", "基线波动门限（毫伏）");
    Label3 = label(this, "Label3", "滑动平均窗口长度（秒）");
    Text1 = textBox(this, "Text1", "200");
    Text2 = textBox(this, "Text2", "30");
    Text3 = textBox(this, "Text3", "20");
    Command1 = new QPushButton(QStringLiteral("确认(&O)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("取消(&C)"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto *rows = new QGridLayout;
    rows->addWidget(Label1, 0, 0);
    rows->addWidget(Text1, 0, 1);
    rows->addWidget(Label2, 1, 0);
    rows->addWidget(Text2, 1, 1);
    rows->addWidget(Label3, 2, 0);
    rows->addWidget(Text3, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *all = new QVBoxLayout(this);
    all->addLayout(rows);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);  // a small fixed dialog

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command1);
    setTabOrder(Command1, Command2);
    Text1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
}

void Form3::Command1_Click() {
    oksel = -1;
    hide();
    done(QDialog::Accepted);
}

void Form3::Command2_Click() {
    oksel = 0;
    hide();
    done(QDialog::Rejected);
}

void Form3::showModal() {
    if (script()) {
        show();
        script()(*this);
        hide();
        return;
    }
    exec();
}

void Form3::setScript(Script s) {
    script() = std::move(s);
}

}  // namespace wavedesk
