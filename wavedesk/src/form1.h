// form1.h - Form1, the main window of the workbench: one chart control Graphane1 filling the
// window, the DSP control Tessiq1 (never shown), the common file dialog CommonDialog1 and the
// menu bar of menutable.cpp. The document is the set of series held by Graphane1.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "automation/host.h"
#include "chromatogram.h"
#include "forms/commondialog.h"

class QAction;

namespace wavedesk {

class Form2;

// Parameters of chromatogram preprocessing, kept between runs of its dialog.
struct AnalysisParameters {
    float coefficientThreshold = 200;  // wavelet coefficients below range / this are cleared
    float baselineThreshold = 30;      // mV, baseline fluctuation threshold
    float windowSeconds = 20;          // moving-average window length
};

class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    // Makes a control for a ProgID or raises 429 (automation::createControl by default; tests
    // give their own).
    using ControlFactory = std::function<std::unique_ptr<automation::Control>(const std::string &)>;

    // Creates the controls (Graphane1 loads its design-time properties), the menus, and runs the
    // load handler. Raises automation::Error 429 when the chart control cannot be created; a
    // missing DSP control leaves tessiq1() empty.
    explicit Form1(QWidget *parent = nullptr, ControlFactory factory = automation::createControl);
    ~Form1() override;

    automation::ControlHandle &graphane1() { return graphane1_; }
    automation::ControlHandle &tessiq1() { return tessiq1_; }  // may be empty, see tessiqProblem
    QString tessiqProblem() const { return tessiqProblem_; }
    forms::CommonDialog &commonDialog1() { return commonDialog1_; }
    AnalysisParameters &parameters() { return parameters_; }

    // The menu item or top menu with this idm_ name, or null.
    QAction *menuItem(const QString &name) const;

    // Menu commands.
    void idm_OpenData_Click();
    void idm_SaveData_Click();
    void idm_New_Click();
    void idm_Exit_Click();

    // Processing commands on series 0 (form1_processing.cpp).
    void idm_WaveletFilter_Click();
    void idm_BaseLine1_Click();
    void idm_DelBase_Click();
    void idm_Smooth_Click();
    void idm_FFTLowPass_Click();
    void idm_WeightFilter_Click();

    // View commands of the main chart (form1_view.cpp): data summary, picture saving, axis range.
    void idm_DataInfo_Click();
    void idm_SavePic_Click();
    void idm_SaveAsBmp_Click();
    void idm_Range_Click();

    // Hidden style, data, grid and example commands (form1_menus.cpp).
    void idm_Wide_Click();
    void idm_SVisible_Click();
    void idm_Drop1_Click();
    void idm_Drop2_Click();
    void idm_Switch_Click();
    void idm_GridUser_Click();
    void idm_ChangePoints_Click();
    void idm_ExWave_Click();
    void idm_GridLogX_Click();
    void idm_GridLogY_Click();
    void idm_GridXY_Click();
    void idm_ScatterDots_Click();
    void idm_Text_Click();
    void idm_BaseGraph_Click();
    void idm_ShaQiu_Click();
    void idm_Hist_Click();
    void idm_Compress_Click();
    void idm_Expand_Click();

    // The main chart's Measured event, a rectangle dragged from (x, y) with size (w, h) in
    // pixels, left xv, top yv, width wv and height hv in values: with idm_ZoomWindow checked
    // and a rectangle of positive size, zooms into it in Form2.
    void Graphane1_Measured(float x, float y, float w, float h, float xv, float yv, float wv, float hv);

    // Chromatogram preprocessing of series 0 with parameters() as they stand, everything of
    // idm_WaveletFilter after its dialog and parameter check: shows the coefficients in Form2
    // and replaces the chart's series by input, denoised, baseline and corrected. Empty or Flat
    // change nothing and show nothing. Raises automation::Error when a control call fails.
    Outcome preprocessSeries0();

    // Loads a .sepu file as the only series of the chart, as idm_OpenData does after its
    // dialog; an unreadable or empty file leaves the chart unchanged.
    void openSepuFile(const QString &fileName);

    // The zoom window, created on first use.
    Form2 &form2();

  signals:
    // The window was unloaded (closed by idm_Exit or by the user): the program ends.
    void unloaded();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    // Runs a DSP file coder (a member number) on a chosen file into this temporary file.
    void codeFile(int32_t member, const QString &outputName);
    using Command = void (Form1::*)();

    void createControls(const ControlFactory &factory);
    void buildMenus();
    void connectCommands();
    void connectMenuCommands();
    void runCommand(const QString &name, Command command);
    void connectChartEvents();
    void Form_Load();

    automation::ControlHandle graphane1_;
    automation::ControlHandle tessiq1_;
    QString tessiqProblem_;
    forms::CommonDialog commonDialog1_;
    AnalysisParameters parameters_;
    ControlFactory factory_;
    Form2 *form2_ = nullptr;  // a child window of this form
};

// The design-time property bag of Graphane1 (a resource of the program).
QString graphane1DesignProperties();

}  // namespace wavedesk
