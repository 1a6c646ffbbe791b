// chartcommands.cpp - picture saving, axis range and error reports shared by the windows.
#include "chartcommands.h"

#include "automation/errors.h"
#include "forms/messagebox.h"
#include "graphane/dispids.h"

namespace wavedesk {

namespace id = graphane::dispid;

bool SaveChartPicture(QWidget *parent, forms::CommonDialog &dialog, automation::ControlHandle &chart,
                      const QString &title, const QString &filter) {
    dialog.Filter = filter;
    dialog.DialogTitle = title;
    dialog.CancelError = true;
    try {
        dialog.ShowSave();
    } catch (const automation::Error &) {
        return false;  // cancelled
    }
    const QString name = dialog.FileName;
    if (chart.call(id::SaveAsBmpFile, name.toStdString()).toI4() != 0) return true;
    // A picture that was not written is said so; the user would otherwise believe it saved.
    ShowNote(parent, QStringLiteral("图象保存失败：\n") + name);
    return false;
}

bool RangeAndPlot(automation::ControlHandle &chart) {
    if (!chart.call(id::DialogRange).toBool()) return false;
    PlotChart(chart);
    return true;
}

void PlotChart(automation::ControlHandle &chart) {
    bool keepBackground = false;
    chart.call(id::Plot, keepBackground);
}

void ReportCommandError(QWidget *parent, const QString &name, const std::exception &error) {
    QString text = QStringLiteral("%1: %2").arg(name, QString::fromUtf8(error.what()));
    if (const auto *e = dynamic_cast<const automation::Error *>(&error))
        text += QStringLiteral(" (%1)").arg(e->number());
    ShowNote(parent, text);
}

void ShowNote(QWidget *parent, const QString &text) {
    forms::showMessage(parent, forms::MsgIcon::Information, QStringLiteral("提示用户"), text);
}

}  // namespace wavedesk
