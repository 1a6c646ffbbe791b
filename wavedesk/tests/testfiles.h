// testfiles.h - helpers of the workbench tests: files in a temporary folder, scripted file
// dialogs, observed message boxes, and a chart control that records every call.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/control.h"
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

// Lines of `log` that start with one of the given prefixes, in order.
std::vector<std::string> linesStarting(const std::vector<std::string> &log,
                                       const std::vector<std::string> &prefixes);

}  // namespace wavedesk::test
