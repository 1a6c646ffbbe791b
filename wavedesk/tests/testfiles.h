// testfiles.h - helpers of the workbench tests: files in a temporary folder, scripted file
// dialogs, observed message boxes, a chart control that records every call, a spy around a
// real control, and the default answers that keep any test from waiting on a window.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPointF>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/control.h"
#include "automation/host.h"
#include "form1.h"
#include "forms/commondialog.h"
#include "forms/messagebox.h"

class QWidget;

namespace wavedesk::test {

// A temporary folder that disappears with the object.
class TempFolder {
  public:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QString write(const QString &name, const std::string &content) const;
    QString writeLines(const QString &name, const std::vector<long long> &values) const;

  private:
    QTemporaryDir dir_;
};

std::string readFile(const QString &path);

// Answers file dialogs from a script (a path, or nothing for cancel) and collects message
// boxes, for the life of the object.
class ScriptedUi {
  public:
    ScriptedUi();
    ~ScriptedUi();
    void choose(const QString &path) { answers_.push_back(path); }
    void cancel() { answers_.push_back(std::nullopt); }

    struct Shown {
        forms::CommonDialog::Mode mode;
        QString title;
        QString filter;
        bool cancelError;
    };
    std::vector<Shown> dialogs;
    std::vector<forms::MessageRequest> messages;

  private:
    std::deque<std::optional<QString>> answers_;
};

// A stand-in for the chart control: keeps series, properties and grid tables as the chart
// does, and logs every call ("put xmax 13.653334", "call CreateSeries 1 {16384}").
class RecordingChart : public automation::Control {
  public:
    RecordingChart();
    ~RecordingChart() override;

    automation::Variant invoke(automation::DispId id, automation::InvokeKind kind,
                               automation::Args &args) override;
    void connectEvents(automation::EventSink) override {}
    void connectPropertyChanged(automation::PropertyChangedSink) override {}
    void loadProperties(const automation::PropertyBag &bag) override;
    void saveProperties(automation::PropertyBag &) const override {}
    QWidget *widget() override { return widget_.get(); }

    // The value last put into a property (index -1 for a plain one); Empty if never put.
    automation::Variant property(automation::DispId id, int index = -1) const;

    std::vector<std::string> log;
    automation::PropertyBag loaded;
    int16_t nSeries = 0;
    std::vector<std::vector<float>> x{16}, y{16};
    std::vector<float> gridx, gridy;

  private:
    void createSeries(automation::Args &a);
    void copySeries(automation::Args &a, bool toChart);
    std::map<std::pair<automation::DispId, int>, automation::Variant> properties_;
    std::unique_ptr<QWidget> widget_;
};

// Wraps a real control: forwards every call and event unchanged and keeps what went through,
// the scalar arguments of each call as passed (arrays are left out) and the events raised.
class SpyControl : public automation::Control {
  public:
    explicit SpyControl(std::unique_ptr<automation::Control> inner);
    ~SpyControl() override;

    automation::Variant invoke(automation::DispId id, automation::InvokeKind kind,
                               automation::Args &args) override;
    void connectEvents(automation::EventSink sink) override;
    void connectPropertyChanged(automation::PropertyChangedSink sink) override;
    void loadProperties(const automation::PropertyBag &bag) override;
    void saveProperties(automation::PropertyBag &bag) const override;
    QWidget *widget() override;

    struct Call {
        automation::DispId id;
        automation::InvokeKind kind;
        std::vector<automation::Variant> args;  // arrays recorded as Empty
    };
    std::vector<Call> calls;
    std::vector<Call> events;

    // The method calls of one member, in order.
    std::vector<Call> callsOf(automation::DispId id) const;

  private:
    std::unique_ptr<automation::Control> inner_;
};

// A shown Form1 with the real controls, each wrapped in a SpyControl: the main chart, the DSP
// control, then the zoom chart once Form2 is made. Skips the test when the control plugins
// are not built.
class WorkbenchTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The nth control made for a ProgID (0 the first), or null.
    SpyControl *spy(const std::string &progId, int nth = 0) const;
    SpyControl *mainSpy() const { return spy("GraphaneLib.Graphane", 0); }
    SpyControl *zoomSpy() const { return spy("GraphaneLib.Graphane", 1); }
    automation::ControlHandle &chart() { return form->graphane1(); }
    Form2 *existingForm2() const;

    void trigger(const char *name);
    // Opens a .sepu file of these microvolt values through idm_OpenData.
    void open(const std::vector<long long> &microvolts);
    // Chromatogram preprocessing through its menu item, its dialog confirmed with the defaults.
    void preprocess();
    // A left-button drag over the chart's window from one pixel to another.
    void drag(automation::ControlHandle &c, QPointF from, QPointF to);
    // The pixel of a value point of the chart's plotting area.
    QPointF pixelAt(automation::ControlHandle &c, float xv, float yv);
    std::vector<float> series(automation::ControlHandle &c, int16_t k, std::vector<float> *x = nullptr);
    // The chart's picture, as SaveAsBmpFile writes it.
    QImage picture(automation::ControlHandle &c);

    ScriptedUi ui;
    TempFolder files;
    std::vector<std::pair<std::string, SpyControl *>> made;
    std::unique_ptr<Form1> form;
};

// Number of pixels of a 0x00BBGGRR colour inside a rectangle of the image.
int countColor(const QImage &image, const QRect &area, int32_t color);

// Lines of `log` that start with one of the given prefixes, in order.
std::vector<std::string> linesStarting(const std::vector<std::string> &log,
                                       const std::vector<std::string> &prefixes);

// Default answers, installed before every test of a program that links these helpers and
// again after it: a file dialog is cancelled, a message box answered Ok, the parameter dialog
// Form3 cancelled, and any other modal window (such as the chart's range dialog) is closed as
// an unexpected window, failing the test instead of waiting for a user.
void installDefaultAnswers();

// The next modal window that opens is handed to `answer` (which should close it) instead of
// being closed as unexpected. Answers are used in order.
void answerNextModal(std::function<void(QWidget *)> answer);

}  // namespace wavedesk::test
