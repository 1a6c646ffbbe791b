// Pieces of the text conversion that need no window.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace datlook {

// Text file name proposed for a data file: the name without its 4-character extension
// ("C:\d\run.dat" gives "C:\d\run"); a name without such an extension is proposed unchanged.
QString proposedTextName(const QString &dataName);

// The integers as decimal text, each followed by a line feed ("%d\n").
QByteArray intLines(const std::vector<std::int32_t> &values);

}  // namespace datlook
