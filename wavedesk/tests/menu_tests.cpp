// The menu bar of Form1: every idm_ item and top menu with caption, order, visibility and
// check mark, as the user and the code see it.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "form1.h"
#include "menutable.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

struct Expected {
    QString name;
    QString caption;
    bool visible;
};

// Top menus of the menu bar and their items, in menu order.
const std::vector<std::pair<Expected, std::vector<Expected>>> kMenuBar = {
    {{"idm_BorderStyle", "BorderStyle", false},
     {{"idm_bdSingle", "Single", false},
      {"idm_bd3din", "3-D In", false},
      {"idm_bd3dout", "3-D Out", false},
      {"idm_bdnone", "None", false}}},
    {{"idm_DotStyle", "DotStyle", false},
     {{"idm_DotNone", "DotNone", false},
      {"idm_DotX", "Dot X", false},
      {"idm_DotPlus", "Dot Plus", false},
      {"idm_DotCircle", "Dot Circle", false},
      {"idm_DotBox", "Dot Box", false},
      {"idm_DotTriangle", "Dot Triangle", false}}},
    {{"idm_LineStyle", "LineStyle", false},
     {{"idm_LineNone", "Line None", false},
      {"idm_LineSolid", "Line Solid", false},
      {"idm_LineDash", "Line Dash", false},
      {"idm_LineDashDot", "Line Dash-Dot", false},
      {"idm_Bar", "Bar", false},
      {"idm_Bar3D", "Bar 3D", false},
      {"idm_ScatterDots", "Scatter Dots", false},
      {"idm_Wide", "Wide", false},
      {"idm_Text", "Text", false}}},
    {{"idm_Data", "Data", false},
     {{"idm_New", "New", false},
      {"idm_ChangePoints", "Change Points", false},
      {"idm_SVisible", "Series Visible", false},
      {"idm_Drop1", "Drop 1", false},
      {"idm_Drop2", "Drop 2", false},
      {"idm_Switch", "Switch", false},
      {"idm_SaveAsBmp", "Save As BMP", false},
      {"idm_ZoomWindow", "Zoom Window", false}}},
    {{"idm_Grid", "Grid", false},
     {{"idm_GridNone", "None", false},
      {"idm_EquSpace", "Equ Space", false},
      {"idm_GridUser", "User Value", false},
      {"idm_GridLogY", "LogY", false},
      {"idm_GridLogX", "LogX", false},
      {"idm_GridXY", "LogXY", false},
      {"idm_GridCM", "Grid CM", false},
      {"idm_Grid5mm", "Grid 5 MM", false}}},
    {{"idm_SePu", "色谱分析", true},
     {{"idm_OpenData", "打开数据", true},
      {"idm_DataInfo", "数据资料", true},
      {"idm_Smooth", "Smooth", false},
      {"idm_BaseLineCalc", "Base Line", false},
      {"idm_DelBase", "Delete Base", false},
      {"idm_FFTLowPass", "FFT Lowpass", false},
      {"idm_WeightFilter", "Weight Filter", false},
      {"idm_BaseLine1", "用小波变换处理基线", false},
      {"idm_WaveletFilter", "色谱预处理", true},
      {"idm_SavePic", "图象保存", true},
      {"idm_SaveData", "数据保存", true},
      {"idm_Range", "坐标范围", true},
      {"idm_Exit", "退出", true}}},
    {{"idm_Example", "Example", false},
     {{"idm_ExWave", "波形", false},
      {"idm_Hist", "直方图", false},
      {"idm_BaseGraph", "基本图形", false},
      {"idm_ShaQiu", "绘制沙丘图案", false}}},
    {{"idm_Compute", "Compute", false},
     {{"idm_Compress", "Compress", false}, {"idm_Expand", "Expand", false}}},
};

std::unique_ptr<Form1> makeForm() {
    return std::make_unique<Form1>(nullptr,
                                   [](const std::string &progId) -> std::unique_ptr<automation::Control> {
                                       if (progId == "GraphaneLib.Graphane")
                                           return std::make_unique<test::RecordingChart>();
                                       automation::raise(automation::err::CantCreateObject, progId);
                                   });
}

TEST(Form1Menu, MenuBarHasEveryTopMenuAndItemInOrder) {
    auto form = makeForm();
    const QList<QAction *> tops = form->menuBar()->actions();
    ASSERT_EQ(tops.size(), static_cast<qsizetype>(kMenuBar.size()));
    for (std::size_t t = 0; t < kMenuBar.size(); ++t) {
        const auto &[top, items] = kMenuBar[t];
        QAction *topAction = tops[static_cast<qsizetype>(t)];
        EXPECT_EQ(topAction->objectName(), top.name);
        EXPECT_EQ(topAction->text(), top.caption) << top.name.toStdString();
        EXPECT_EQ(topAction->isVisible(), top.visible) << top.name.toStdString();
        ASSERT_NE(topAction->menu(), nullptr) << top.name.toStdString();
        EXPECT_EQ(topAction->menu()->objectName(), top.name);
        const QList<QAction *> actions = topAction->menu()->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size())) << top.name.toStdString();
        for (std::size_t i = 0; i < items.size(); ++i) {
            const QAction *a = actions[static_cast<qsizetype>(i)];
            EXPECT_EQ(a->objectName(), items[i].name);
            EXPECT_EQ(a->text(), items[i].caption) << items[i].name.toStdString();
            EXPECT_EQ(a->isVisible(), items[i].visible) << items[i].name.toStdString();
        }
    }
}

TEST(Form1Menu, ZoomWindowStartsCheckedAndNothingElseIs) {
    auto form = makeForm();
    for (QAction *a : form->findChildren<QAction *>()) {
        if (!a->objectName().startsWith("idm_")) continue;
        EXPECT_EQ(a->isChecked(), a->objectName() == "idm_ZoomWindow") << a->objectName().toStdString();
    }
    QAction *zoom = form->menuItem("idm_ZoomWindow");
    ASSERT_NE(zoom, nullptr);
    zoom->trigger();
    EXPECT_FALSE(zoom->isChecked());
    zoom->trigger();
    EXPECT_TRUE(zoom->isChecked());
}

TEST(Form1Menu, EveryItemCanBeFoundByName) {
    auto form = makeForm();
    for (const MenuEntry &entry : form1MenuTable())
        EXPECT_NE(form->menuItem(QString::fromLatin1(entry.name)), nullptr) << entry.name;
    EXPECT_EQ(form1MenuTable().size(), 62u);  // 8 top menus and 54 items
}

TEST(Form1Menu, HiddenItemWithoutCommandDoesNothingWhenTriggered) {
    test::RecordingChart *chart = nullptr;
    Form1 form(nullptr, [&chart](const std::string &progId) -> std::unique_ptr<automation::Control> {
        if (progId != "GraphaneLib.Graphane") automation::raise(automation::err::CantCreateObject, progId);
        auto made = std::make_unique<test::RecordingChart>();
        chart = made.get();
        return made;
    });
    test::ScriptedUi ui;
    const std::size_t before = chart->log.size();
    QAction *baseLine = form.menuItem("idm_BaseLineCalc");
    ASSERT_NE(baseLine, nullptr);
    EXPECT_FALSE(baseLine->isVisible());
    baseLine->trigger();
    EXPECT_EQ(chart->log.size(), before);
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Form1Menu, VisibleMenuShowsSevenCommands) {
    auto form = makeForm();
    QStringList shown;
    for (QAction *a : form->menuItem("idm_SePu")->menu()->actions())
        if (a->isVisible()) shown << a->text();
    EXPECT_EQ(shown, (QStringList{"打开数据", "数据资料", "色谱预处理", "图象保存", "数据保存", "坐标范围",
                                  "退出"}));
}

}  // namespace
}  // namespace wavedesk
