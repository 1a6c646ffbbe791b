// fonts.h - font faces of the chart: the Chinese face names the hosts use ("黑体", "宋体")
// fall back to an installed CJK face, and a face name is checked before it is accepted.
#pragma once

#include <QFont>
#include <QString>

namespace graphane {

// Registers the fallbacks of the Chinese face names once per process.
void installFontSubstitutions();
// True when the system can realise the face (installed or substituted).
bool fontFaceKnown(const QString &family);
// The platform's default control font with glyph antialiasing off.
QFont defaultChartFont();

}  // namespace graphane
