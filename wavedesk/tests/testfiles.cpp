// testfiles.cpp - helpers of the workbench tests.
#include "testfiles.h"

#include <QFile>
#include <QWidget>
#include <sstream>

#include "automation/errors.h"
#include "automation/safearray.h"
#include "graphane/dispids.h"

namespace wavedesk::test {

namespace id = graphane::dispid;
using automation::Args;
using automation::DispId;
using automation::InvokeKind;
using automation::Variant;

QString TempFolder::write(const QString &name, const std::string &content) const {
  const QString file = path(name);
  QFile f(file);
  if (f.open(QIODevice::WriteOnly)) f.write(content.data(), static_cast<qint64>(content.size()));
  return file;
}

QString TempFolder::writeLines(const QString &name, const std::vector<long long> &values) const {
  std::string text;
  for (long long v : values) text += std::to_string(v) + "\r\n";
  return write(name, text);
}

std::string readFile(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<missing>";
  return f.readAll().toStdString();
}

ScriptedUi::ScriptedUi() {
  forms::CommonDialog::setChooser(
      [this](forms::CommonDialog::Mode mode, const forms::CommonDialog &dlg) -> std::optional<QString> {
        dialogs.push_back({mode, dlg.DialogTitle, dlg.Filter, dlg.CancelError});
        if (answers_.empty()) return std::nullopt;
        auto answer = answers_.front();
        answers_.pop_front();
        return answer;
      });
  forms::setMessageHook([this](const forms::MessageRequest &request) {
    messages.push_back(request);
    return forms::MsgResult::Ok;
  });
}

ScriptedUi::~ScriptedUi() {
  forms::CommonDialog::setChooser({});
  forms::setMessageHook({});
}

namespace {

const std::map<DispId, const char *> &memberNames() {
  static const std::map<DispId, const char *> names = {
      {id::BorderStyle, "BorderStyle"}, {id::BorderColor, "BorderColor"},
      {id::BackColor, "BackColor"},     {id::MarginLeft, "MarginLeft"},
      {id::MarginTop, "MarginTop"},     {id::MarginRight, "MarginRight"},
      {id::MarginBottom, "MarginBottom"}, {id::TitleX, "TitleX"},
      {id::TitleY, "TitleY"},           {id::xmin, "xmin"},
      {id::xmax, "xmax"},               {id::ymin, "ymin"},
      {id::ymax, "ymax"},               {id::nSeries, "nSeries"},
      {id::DotStyle, "DotStyle"},       {id::LineStyle, "LineStyle"},
      {id::LineWidth, "LineWidth"},     {id::LineColor, "LineColor"},
      {id::DotColor, "DotColor"},       {id::nPoints, "nPoints"},
      {id::GridSel, "GridSel"},         {id::GridColor, "GridColor"},
      {id::nGridx, "nGridx"},           {id::nGridy, "nGridy"},
      {id::CreateSeries, "CreateSeries"}, {id::SetSeries, "SetSeries"},
      {id::GetSeries, "GetSeries"},     {id::SetGridxVal, "SetGridxVal"},
      {id::SetGridyVal, "SetGridyVal"}, {id::Plot, "Plot"},
      {id::FontSize, "FontSize"},
  };
  return names;
}

std::string describe(const Variant &v) {
  if (v.type() != automation::VarType::Array) return v.toString();
  automation::SafeArray &array = v.array();
  const int32_t count = array.count();
  std::ostringstream out;
  out << '{';
  for (int32_t i = 0; i < count && i < 3; ++i) {
    const int32_t at = array.lbound() + i;
    out << (i ? " " : "");
    if (array.type() == automation::ElemType::I4) out << array.i4(at);
    else out << array.r4(at);
  }
  if (count > 3) out << " ... " << count << " values";
  out << '}';
  return out.str();
}

}  // namespace

RecordingChart::RecordingChart() : widget_(std::make_unique<QWidget>()) {}
RecordingChart::~RecordingChart() = default;

void RecordingChart::loadProperties(const automation::PropertyBag &bag) {
  loaded = bag;
  log.push_back("loadProperties");
}

Variant RecordingChart::property(DispId id, int index) const {
  auto it = properties_.find({id, index});
  return it == properties_.end() ? Variant() : it->second;
}

Variant RecordingChart::invoke(DispId id, InvokeKind kind, Args &a) {
  auto name = memberNames().find(id);
  if (name == memberNames().end()) automation::raise(automation::err::MemberNotSupported);
  std::string line = kind == InvokeKind::Method ? "call " : kind == InvokeKind::PropertyGet ? "get " : "put ";
  line += name->second;
  for (const Variant &v : a) line += " " + describe(v);
  log.push_back(line);

  if (kind == InvokeKind::PropertyPut) {
    const int index = a.size() == 2 ? a[0].toI2() : -1;
    properties_[{id, index}] = a.back();
    return Variant();
  }
  if (kind == InvokeKind::PropertyGet) {
    if (id == id::nSeries) return Variant(nSeries);
    if (id == id::nPoints) return Variant(static_cast<int32_t>(y.at(a.at(0).toI2()).size()));
    return property(id, a.empty() ? -1 : a[0].toI2());
  }
  if (id == id::CreateSeries) createSeries(a);
  if (id == id::SetSeries) copySeries(a, true);
  if (id == id::GetSeries) copySeries(a, false);
  if (id == id::SetGridxVal || id == id::SetGridyVal) {
    std::vector<float> &table = id == id::SetGridxVal ? gridx : gridy;
    table.clear();
    for (int16_t i = 0; i < a.at(1).toI2(); ++i) table.push_back(a.at(0).array().r4(i));
  }
  return Variant();
}

void RecordingChart::createSeries(Args &a) {
  const int16_t n = a.at(0).toI2();
  if (n < 1 || n > 16) {
    if (n < 1) nSeries = 0;
    return;
  }
  nSeries = n;
  for (int16_t i = 0; i < n; ++i) {
    const auto points = static_cast<std::size_t>(a.at(1).array().i4(i));
    x[i].assign(points, 0.0f);
    y[i].assign(points, 0.0f);
  }
}

void RecordingChart::copySeries(Args &a, bool toChart) {
  const int16_t index = a.at(0).toI2();
  automation::SafeArray &xs = a.at(1).array();
  automation::SafeArray &ys = a.at(2).array();
  const int32_t start = a.at(3).toI4();
  const int32_t slotSize = static_cast<int32_t>(y.at(index).size());
  const int32_t count = a.at(4).toI4() == 0 ? slotSize : a.at(4).toI4();
  for (int32_t i = start; i < start + count; ++i) {
    if (i < 0 || i >= slotSize) continue;
    if (toChart) {
      x[index][i] = xs.r4(i - start);
      y[index][i] = ys.r4(i - start);
    } else {
      xs.r4(i - start) = x[index][i];
      ys.r4(i - start) = y[index][i];
    }
  }
}

std::vector<std::string> linesStarting(const std::vector<std::string> &log,
                                       const std::vector<std::string> &prefixes) {
  std::vector<std::string> out;
  for (const std::string &line : log)
    for (const std::string &prefix : prefixes)
      if (line.rfind(prefix, 0) == 0) {
        out.push_back(line);
        break;
      }
  return out;
}

}  // namespace wavedesk::test
