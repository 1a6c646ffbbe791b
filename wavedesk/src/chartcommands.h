// chartcommands.h - the commands that both windows run on their own chart: saving its
// picture through a file dialog, the axis-range dialog, and reporting a command that failed.
#pragma once

#include <QString>
#include <exception>

#include "automation/host.h"
#include "forms/commondialog.h"

class QWidget;

namespace wavedesk {

// Asks for a file name with a save dialog of `dialog` (the given title and filter, cancelling
// raised as an error and caught) and writes the chart's picture there with SaveAsBmpFile,
// under the name exactly as chosen. A picture the chart could not write is reported with a
// message box. Returns true when a picture was written, false when cancelled or not written.
bool SaveChartPicture(QWidget *parent, forms::CommonDialog &dialog, automation::ControlHandle &chart,
                      const QString &title, const QString &filter);

// DialogRange on the chart; when the user confirmed a valid range, Plot. Returns whether the
// chart was redrawn.
bool RangeAndPlot(automation::ControlHandle &chart);

// Plot with KeepBackground false: the chart clears its picture and draws everything again.
void PlotChart(automation::ControlHandle &chart);

// A note to the user: message box with the information icon and the title "提示用户".
void ShowNote(QWidget *parent, const QString &text);

// The message box of a command `name` that stopped with an error (title "提示用户").
void ReportCommandError(QWidget *parent, const QString &name, const std::exception &error);

}  // namespace wavedesk
