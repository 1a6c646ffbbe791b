// form1_view.cpp - Form1's view commands on the main chart: the data summary, picture saving,
// the axis range, and zooming into a dragged rectangle (the chart's Measured event).
#include <QAction>
#include <QString>
#include <algorithm>

#include "automation/safearray.h"
#include "chartcommands.h"
#include "form1.h"
#include "form2.h"
#include "forms/messagebox.h"
#include "graphane/dispids.h"
#include "snr.h"
#include "tessiq/dispids.h"

namespace wavedesk {

namespace id = graphane::dispid;
using automation::ElemType;
using automation::SafeArray;

namespace {

// "Data Points=3\nMin=1\nMax=3\nMean=2".
QString dataInfoText(int32_t n, float min, float max, float mean) {
    const std::string text = "Data Points=" + std::to_string(n) + "\nMin=" + ShortestText(min) +
                             "\nMax=" + ShortestText(max) + "\nMean=" + ShortestText(mean);
    return QString::fromStdString(text);
}

}  // namespace

// Number of points, minimum, maximum and mean of series 0, computed by Tessiq1.
void Form1::idm_DataInfo_Click() {
    if (!tessiq1_.valid()) automation::raise(automation::err::CantCreateObject, tessiqProblem_.toStdString());
    const int32_t n = std::max(graphane1_.get(id::nPoints, int16_t(0)).toI4(), 0);
    // Element 0 always exists, so an empty series gives zero figures rather than an error.
    SafeArray x(ElemType::R4, 0, std::max(n, 1)), y(ElemType::R4, 0, std::max(n, 1));
    if (n > 0) {
        int32_t start = 0, count = n;
        graphane1_.call(id::GetSeries, int16_t(0), x, y, start, count);
    }
    namespace dsp = tessiq::dispid;
    int32_t pos = 0;
    const float mean = tessiq1_.call(dsp::b_Mean, y, n).toR4();
    const float min = tessiq1_.call(dsp::b_Min, y, n, pos).toR4();
    const float max = tessiq1_.call(dsp::b_Max, y, n, pos).toR4();
    forms::showMessage(this, forms::MsgIcon::Information, QStringLiteral("Data Info"),
                       dataInfoText(n, min, max, mean));
}

void Form1::idm_SavePic_Click() {
    SaveChartPicture(this, commonDialog1_, graphane1_, QStringLiteral("保存色谱图象"),
                     QStringLiteral("Image File(*.bmp)|*.bmp|All Files(*.*)|*.*"));
}

void Form1::idm_SaveAsBmp_Click() {
    SaveChartPicture(this, commonDialog1_, graphane1_, QStringLiteral("Select BMP File"),
                     QStringLiteral("Bitmap Files(*.bmp)|*.bmp"));
}

void Form1::idm_Range_Click() {
    RangeAndPlot(graphane1_);
}

void Form1::Graphane1_Measured(float, float, float, float, float xv, float yv, float wv, float hv) {
    const QAction *zoomWindow = menuItem(QStringLiteral("idm_ZoomWindow"));
    if (zoomWindow == nullptr || !zoomWindow->isChecked()) return;
    if (!(wv > 0) || !(hv > 0)) return;
    form2().zoomInto(graphane1_, xv, yv, wv, hv);
}

}  // namespace wavedesk
