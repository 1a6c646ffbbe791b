#include "convert.h"

#include <cstdio>

namespace datlook {

QString proposedTextName(const QString &dataName) {
    const qsizetype n = dataName.size();
    // Only a real extension is cut: a dot followed by three characters that are not separators.
    if (n < 4 || dataName[n - 4] != u'.') return dataName;
    for (qsizetype i = n - 3; i < n; ++i)
        if (dataName[i] == u'/' || dataName[i] == u'\\') return dataName;
    return dataName.left(n - 4);
}

QByteArray intLines(const std::vector<std::int32_t> &values) {
    QByteArray text;
    text.reserve(static_cast<qsizetype>(values.size()) * 8);
    char line[16];
    for (std::int32_t v : values) {
        const int len = std::snprintf(line, sizeof line, "%d\n", static_cast<int>(v));
        text.append(line, len);
    }
    return text;
}

}  // namespace datlook
