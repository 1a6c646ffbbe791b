// Dispatch members of text: single strings, wrapped text blocks, fonts and text measures.
#include <QString>
#include <QStringList>
#include <vector>

#include "automation/errors.h"
#include "graphane/dispids.h"
#include "graphanecontrol.h"
#include "numberformat.h"

namespace graphane {

using automation::Args;
using automation::ArgType;
using automation::InvokeKind;
using automation::Variant;

namespace {

QString qs(const Variant &v) {
    return QString::fromStdString(v.toString());
}

// Offsets of the character boundaries of a text (a surrogate pair is one character).
std::vector<qsizetype> characterBounds(const QString &text) {
    std::vector<qsizetype> b{0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
        b.push_back(i + 1);
    }
    return b;
}

// From character `first` of a paragraph, the character count of the first line: characters
// are taken until the line is wider than `width`, and the one that overflows stays on it.
// Returns 0 when the rest of the paragraph fits. Widths grow with each character, so the
// break is found by doubling and halving instead of measuring every prefix.
size_t overflowLength(const Surface &s, const QString &para, const std::vector<qsizetype> &b, size_t first,
                      float width) {
    const size_t left = b.size() - 1 - first;
    auto wide = [&](size_t k) {
        return float(s.textWidth(para.mid(b[first], b[first + k] - b[first]))) > width;
    };
    size_t lo = 0, hi = 1;  // wide(lo) is false (or lo is 0), hi is the next count to try
    while (hi < left && !wide(hi)) lo = hi, hi *= 2;
    if (hi >= left) {
        if (!wide(left)) return 0;
        hi = left;
    }
    while (hi - lo > 1) {
        const size_t mid = lo + (hi - lo) / 2;
        if (wide(mid))
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

// Draws `text` in a block of lines no wider than `width` (a line takes characters until it
// is wider, so the character that overflows stays on it), breaking at line feeds and
// skipping carriage returns. Returns the y below the last line, ySpace included.
float drawTextBlock(Surface &s, float x, float y, float width, const QString &text, int32_t color,
                    float ySpace) {
    if (text.isEmpty()) return y;
    const int32_t remembered = s.foreColor();
    s.setForeColor(color);
    float yy = y;
    auto drawLine = [&](const QString &line) {
        s.currentX = x, s.currentY = yy;
        s.print(line);
        yy = yy + float(s.textHeight(line)) + ySpace;
    };
    QString plain = text;
    plain.remove(QChar(13));
    const QStringList paragraphs = plain.split(QChar(10));
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QString &para = paragraphs[p];
        const std::vector<qsizetype> b = characterBounds(para);
        size_t first = 0;
        while (first + 1 < b.size()) {
            const size_t k = overflowLength(s, para, b, first, width);
            if (k == 0) break;
            drawLine(para.mid(b[first], b[first + k] - b[first]));
            first += k;
        }
        const QString rest = para.mid(b[first]);
        // A line feed ends its line even when that line is empty; the end of the text does not.
        if (p + 1 < paragraphs.size() || !rest.isEmpty()) drawLine(rest);
    }
    s.setForeColor(remembered);
    return yy;
}

}  // namespace

void GraphaneControl::addTextMembers() {
    auto &t = table();
    t.add({dispid::PlotString,
           "PlotString",
           InvokeKind::Method,
           {{ArgType::R4}, {ArgType::R4}, {ArgType::String}, {ArgType::I4}},
           ArgType::R4,
           [this](Args &a) {
               const float x = a[0].toR4(), y = a[1].toR4();
               const QString text = qs(a[2]);
               const int32_t remembered = surface_.foreColor();
               surface_.setForeColor(a[3].toI4());
               surface_.currentX = x, surface_.currentY = y;
               surface_.print(text);
               surface_.setForeColor(remembered);
               return Variant(y + float(surface_.textHeight(text)));
           }});
    t.add(
        {dispid::PlotStrings,
         "PlotStrings",
         InvokeKind::Method,
         {{ArgType::R4}, {ArgType::R4}, {ArgType::R4}, {ArgType::String}, {ArgType::I4}, {ArgType::R4, true}},
         ArgType::R4,
         [this](Args &a) {
             return Variant(drawTextBlock(surface_, a[0].toR4(), a[1].toR4(), a[2].toR4(), qs(a[3]),
                                          a[4].toI4(), a[5].toR4()));
         }});
    t.add({dispid::FontName, "FontName", InvokeKind::PropertyGet, {}, ArgType::String, [this](Args &) {
               return Variant(surface_.fontName().toStdString());
           }});
    t.add({dispid::FontName,
           "FontName",
           InvokeKind::PropertyPut,
           {{ArgType::String}},
           ArgType::None,
           [this](Args &a) {
               surface_.setFontName(qs(a[0]));
               return Variant();
           }});
    t.add({dispid::FontSize, "FontSize", InvokeKind::PropertyGet, {}, ArgType::I2, [this](Args &) {
               return Variant(automation::narrowToI2(roundHalfEven(surface_.fontSize())));
           }});
    t.add({dispid::FontSize,
           "FontSize",
           InvokeKind::PropertyPut,
           {{ArgType::I2}},
           ArgType::None,
           [this](Args &a) {
               surface_.setFontSize(a[0].toI2());
               return Variant();
           }});
    t.add({dispid::FontBold, "FontBold", InvokeKind::PropertyGet, {}, ArgType::Bool, [this](Args &) {
               return Variant(surface_.fontBold());
           }});
    t.add({dispid::FontBold,
           "FontBold",
           InvokeKind::PropertyPut,
           {{ArgType::Bool}},
           ArgType::None,
           [this](Args &a) {
               surface_.setFontBold(a[0].toBool());
               return Variant();
           }});
    t.add({dispid::FontItalic, "FontItalic", InvokeKind::PropertyGet, {}, ArgType::Bool, [this](Args &) {
               return Variant(surface_.fontItalic());
           }});
    t.add({dispid::FontItalic,
           "FontItalic",
           InvokeKind::PropertyPut,
           {{ArgType::Bool}},
           ArgType::None,
           [this](Args &a) {
               surface_.setFontItalic(a[0].toBool());
               return Variant();
           }});
    t.add({dispid::FontColor, "FontColor", InvokeKind::PropertyGet, {}, ArgType::I4, [this](Args &) {
               return Variant(surface_.foreColor());
           }});
    t.add({dispid::FontColor,
           "FontColor",
           InvokeKind::PropertyPut,
           {{ArgType::I4}},
           ArgType::None,
           [this](Args &a) {
               surface_.setForeColor(a[0].toI4());
               return Variant();
           }});
    t.add({dispid::TextWidth,
           "TextWidth",
           InvokeKind::Method,
           {{ArgType::String}},
           ArgType::R4,
           [this](Args &a) { return Variant(float(surface_.textWidth(qs(a[0])))); }});
    t.add({dispid::TextHeight,
           "TextHeight",
           InvokeKind::Method,
           {{ArgType::String}},
           ArgType::R4,
           [this](Args &a) { return Variant(float(surface_.textHeight(qs(a[0])))); }});
}

}  // namespace graphane
