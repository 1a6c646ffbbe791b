// menutable.cpp - the menu tables of the forms and the menu builder.
#include "menutable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace wavedesk {

namespace {

// name, caption, top, visible, checkable, checked
constexpr MenuEntry kForm1Menu[] = {
    {"idm_BorderStyle", "BorderStyle", true, false, false, false},
    {"idm_bdSingle", "Single", false, false, false, false},
    {"idm_bd3din", "3-D In", false, false, false, false},
    {"idm_bd3dout", "3-D Out", false, false, false, false},
    {"idm_bdnone", "None", false, false, false, false},

    {"idm_DotStyle", "DotStyle", true, false, false, false},
    {"idm_DotNone", "DotNone", false, false, false, false},
    {"idm_DotX", "Dot X", false, false, false, false},
    {"idm_DotPlus", "Dot Plus", false, false, false, false},
    {"idm_DotCircle", "Dot Circle", false, false, false, false},
    {"idm_DotBox", "Dot Box", false, false, false, false},
    {"idm_DotTriangle", "Dot Triangle", false, false, false, false},

    {"idm_LineStyle", "LineStyle", true, false, false, false},
    {"idm_LineNone", "Line None", false, false, false, false},
    {"idm_LineSolid", "Line Solid", false, false, false, false},
    {"idm_LineDash", "Line Dash", false, false, false, false},
    {"idm_LineDashDot", "Line Dash-Dot", false, false, false, false},
    {"idm_Bar", "Bar", false, false, false, false},
    {"idm_Bar3D", "Bar 3D", false, false, false, false},
    {"idm_ScatterDots", "Scatter Dots", false, false, false, false},
    {"idm_Wide", "Wide", false, false, true, false},
    {"idm_Text", "Text", false, false, false, false},

    {"idm_Data", "Data", true, false, false, false},
    {"idm_New", "New", false, false, false, false},
    {"idm_ChangePoints", "Change Points", false, false, false, false},
    {"idm_SVisible", "Series Visible", false, false, false, false},
    {"idm_Drop1", "Drop 1", false, false, false, false},
    {"idm_Drop2", "Drop 2", false, false, false, false},
    {"idm_Switch", "Switch", false, false, false, false},
    {"idm_SaveAsBmp", "Save As BMP", false, false, false, false},
    {"idm_ZoomWindow", "Zoom Window", false, false, true, true},

    {"idm_Grid", "Grid", true, false, false, false},
    {"idm_GridNone", "None", false, false, false, false},
    {"idm_EquSpace", "Equ Space", false, false, false, false},
    {"idm_GridUser", "User Value", false, false, false, false},
    {"idm_GridLogY", "LogY", false, false, false, false},
    {"idm_GridLogX", "LogX", false, false, false, false},
    {"idm_GridXY", "LogXY", false, false, false, false},
    {"idm_GridCM", "Grid CM", false, false, false, false},
    {"idm_Grid5mm", "Grid 5 MM", false, false, false, false},

    {"idm_SePu", "色谱分析", true, true, false, false},
    {"idm_OpenData", "打开数据", false, true, false, false},
    {"idm_DataInfo", "数据资料", false, true, false, false},
    {"idm_Smooth", "Smooth", false, false, false, false},
    {"idm_BaseLineCalc", "Base Line", false, false, false, false},
    {"idm_DelBase", "Delete Base", false, false, false, false},
    {"idm_FFTLowPass", "FFT Lowpass", false, false, false, false},
    {"idm_WeightFilter", "Weight Filter", false, false, false, false},
    {"idm_BaseLine1", "用小波变换处理基线", false, false, false, false},
    {"idm_WaveletFilter", "色谱预处理", false, true, false, false},
    {"idm_SavePic", "图象保存", false, true, false, false},
    {"idm_SaveData", "数据保存", false, true, false, false},
    {"idm_Range", "坐标范围", false, true, false, false},
    {"idm_Exit", "退出", false, true, false, false},

    {"idm_Example", "Example", true, false, false, false},
    {"idm_ExWave", "波形", false, false, false, false},
    {"idm_Hist", "直方图", false, false, false, false},
    {"idm_BaseGraph", "基本图形", false, false, false, false},
    {"idm_ShaQiu", "绘制沙丘图案", false, false, false, false},

    {"idm_Compute", "Compute", true, false, false, false},
    {"idm_Compress", "Compress", false, false, false, false},
    {"idm_Expand", "Expand", false, false, false, false},
};

void applyEntry(QAction *action, const MenuEntry &entry) {
    action->setObjectName(QString::fromLatin1(entry.name));
    action->setCheckable(entry.checkable);
    action->setChecked(entry.checked);
    action->setVisible(entry.visible);
}

}  // namespace

std::span<const MenuEntry> form1MenuTable() {
    return kForm1Menu;
}

int buildMenuBar(QMenuBar *bar, std::span<const MenuEntry> table) {
    QMenu *current = nullptr;
    int created = 0;
    for (const MenuEntry &entry : table) {
        const QString caption = QString::fromUtf8(entry.caption);
        if (entry.top) {
            current = bar->addMenu(caption);
            current->setObjectName(QString::fromLatin1(entry.name));
            applyEntry(current->menuAction(), entry);
        } else if (current != nullptr) {
            applyEntry(current->addAction(caption), entry);
        } else {
            continue;
        }
        ++created;
    }
    return created;
}

}  // namespace wavedesk
