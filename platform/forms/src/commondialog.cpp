#include "forms/commondialog.h"

#include <QFileDialog>

#include "automation/errors.h"

namespace forms {

namespace {
CommonDialog::Chooser &chooser() {
  static CommonDialog::Chooser c;
  return c;
}

std::optional<QString> realDialog(CommonDialog::Mode mode, const CommonDialog &d) {
  QStringList filters = CommonDialog::qtFilters(d.Filter);
  QString selected = (d.FilterIndex >= 1 && d.FilterIndex <= filters.size()) ? filters[d.FilterIndex - 1] : QString();
  QString path = mode == CommonDialog::Mode::Open
                     ? QFileDialog::getOpenFileName(d.Parent, d.DialogTitle, d.FileName, filters.join(";;"), &selected)
                     : QFileDialog::getSaveFileName(d.Parent, d.DialogTitle, d.FileName, filters.join(";;"), &selected);
  if (path.isEmpty()) return std::nullopt;
  return path;
}
}  // namespace

void CommonDialog::setChooser(Chooser c) { chooser() = std::move(c); }

QStringList CommonDialog::qtFilters(const QString &filter) {
  QStringList parts = filter.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
    const QString &text = parts[i];
    // Qt reads the patterns from the last parentheses; a description that already ends with
    // its patterns is kept as it is.
    bool showsPatterns = text.endsWith(')') && text.contains(patterns);
    out << (showsPatterns ? text : text + " (" + patterns + ")");
  }
  return out;
}

bool CommonDialog::show(Mode mode) {
  std::optional<QString> path = chooser() ? chooser()(mode, *this) : realDialog(mode, *this);
  if (!path || path->isEmpty()) {
    if (CancelError) automation::raise(automation::err::DialogCancelled);
    return false;
  }
  FileName = *path;
  return true;
}

bool CommonDialog::ShowOpen() { return show(Mode::Open); }
bool CommonDialog::ShowSave() { return show(Mode::Save); }

}  // namespace forms
