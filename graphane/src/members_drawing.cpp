// Dispatch members that draw: Plot and the grids, the free drawing primitives, the pen and
// cursor state, unit conversion, picture saving, and the interaction methods.
#include <QString>
#include <cmath>

#include "automation/errors.h"
#include "automation/safearray.h"
#include "graphane/dispids.h"
#include "graphanecontrol.h"
#include "numberformat.h"

namespace graphane {

using automation::Args;
using automation::ArgType;
using automation::InvokeKind;
using automation::Variant;
namespace err = automation::err;

namespace {

// Units per inch of a scale code: 0 and 3 pixels, 1 twips, 2 points, 4 characters
// (120 x 240 twips), 5 inches, 6 millimetres, 7 centimetres. Raises 5 for other codes.
double unitsPerInch(int16_t code, bool horizontal) {
    switch (code) {
        case 0:
        case 3: return horizontal ? screenDpiX() : screenDpiY();
        case 1: return 1440;
        case 2: return 72;
        case 4: return horizontal ? 1440.0 / 120 : 1440.0 / 240;
        case 5: return 1;
        case 6: return 25.4;
        case 7: return 2.54;
        default: automation::raise(err::InvalidCall);
    }
}

float convertScale(float v, int16_t from, int16_t to, bool horizontal) {
    return automation::narrowToR4(double(v) / unitsPerInch(from, horizontal) * unitsPerInch(to, horizontal));
}

// Height over width of the box, failing as the division does for a box of zero width.
double boxAspect(float x1, float y1, float x2, float y2) {
    const double w = std::fabs(double(x2) - x1), h = std::fabs(double(y2) - y1);
    if (w == 0) automation::raise(h == 0 ? err::Overflow : err::DivisionByZero);
    return h / w;
}

const std::vector<automation::Param> kBoxColor{
    {ArgType::R4}, {ArgType::R4}, {ArgType::R4}, {ArgType::R4}, {ArgType::I4}};

}  // namespace

void GraphaneControl::addRenderMembers() {
    auto &t = table();
    t.add({dispid::GetChartArea,
           "GetChartArea",
           InvokeKind::Method,
           {{ArgType::R4, true}, {ArgType::R4, true}, {ArgType::R4, true}, {ArgType::R4, true}},
           ArgType::I4,
           [this](Args &a) {
               const ChartArea ar = area();
               a[0] = Variant(ar.x1);
               a[1] = Variant(ar.y1);
               if (ar.x2 - ar.x1 > 0) a[2] = Variant(ar.x2);
               if (ar.y2 - ar.y1 > 0) a[3] = Variant(ar.y2);
               return Variant(int32_t(ar.valid ? 1 : 0));
           }});
    t.add({dispid::Plot, "Plot", InvokeKind::Method, {{ArgType::Bool, true}}, ArgType::None, [this](Args &a) {
               plot(a[0].toBool());
               return Variant();
           }});
    t.add({dispid::ClearBackground, "ClearBackground", InvokeKind::Method, {}, ArgType::None, [this](Args &) {
               surface_.clear();
               return Variant();
           }});
    const std::vector<automation::Param> logParams{{ArgType::R4},        {ArgType::R4}, {ArgType::R4},
                                                   {ArgType::R4},        {ArgType::R8}, {ArgType::R8},
                                                   {ArgType::Bool, true}};
    for (const bool yAxis : {false, true}) {
        t.add({yAxis ? dispid::PlotGridLogy : dispid::PlotGridLogx, yAxis ? "PlotGridLogy" : "PlotGridLogx",
               InvokeKind::Method, logParams, ArgType::None, [this, yAxis](Args &a) {
                   ChartRenderer r(model_, surface_);
                   r.plotGridLog(yAxis, a[0].toR4(), a[1].toR4(), a[2].toR4(), a[3].toR4(), a[4].toR8(),
                                 a[5].toR8(), a[6].toBool());
                   return Variant();
               }});
    }
}

void GraphaneControl::addInteractionMembers() {
    auto &t = table();
    t.add({dispid::DialogRange, "DialogRange", InvokeKind::Method, {}, ArgType::Bool, [this](Args &) {
               return Variant(dialogRange());
           }});
    t.add({dispid::GetPointValues,
           "GetPointValues",
           InvokeKind::Method,
           {{ArgType::I2},
            {ArgType::R4},
            {ArgType::R4},
            {ArgType::ArrayR4, true},
            {ArgType::ArrayR4, true},
            {ArgType::I4}},
           ArgType::I4,
           [this](Args &a) {
               return Variant(model_.pointsInRange(a[0].toI2(), a[1].toR4(), a[2].toR4(), a[3].array(),
                                                   a[4].array(), a[5].toI4()));
           }});
}

void GraphaneControl::addDrawingMembers() {
    auto &t = table();
    t.add({dispid::SaveAsBmpFile,
           "SaveAsBmpFile",
           InvokeKind::Method,
           {{ArgType::String}},
           ArgType::I4,
           [this](Args &a) {
               return Variant(int32_t(surface_.saveBmp(QString::fromStdString(a[0].toString())) ? 1 : 0));
           }});
    t.add({dispid::PlotLine,
           "PlotLine",
           InvokeKind::Method,
           {{ArgType::R4}, {ArgType::R4}, {ArgType::R4}, {ArgType::R4}, {ArgType::I4}, {ArgType::String}},
           ArgType::None,
           [this](Args &a) {
               const QString bf = QString::fromStdString(a[5].toString()).toLower();
               const float x1 = a[0].toR4(), y1 = a[1].toR4(), x2 = a[2].toR4(), y2 = a[3].toR4();
               if (bf == "b")
                   surface_.box(x1, y1, x2, y2, a[4].toI4(), false);
               else if (bf == "bf")
                   surface_.box(x1, y1, x2, y2, a[4].toI4(), true);
               else
                   surface_.line(x1, y1, x2, y2, a[4].toI4());
               return Variant();
           }});
    t.add({dispid::PlotCircle, "PlotCircle", InvokeKind::Method, kBoxColor, ArgType::None, [this](Args &a) {
               const float x1 = a[0].toR4(), y1 = a[1].toR4(), x2 = a[2].toR4(), y2 = a[3].toR4();
               const double aspect = boxAspect(x1, y1, x2, y2);
               const double radius =
                   aspect >= 1 ? std::fabs(double(y2) - y1) / 2 : std::fabs(double(x2) - x1) / 2;
               surface_.ellipse((x1 + x2) / 2, (y1 + y2) / 2, float(radius), float(aspect), a[4].toI4());
               return Variant();
           }});
    t.add({dispid::PlotFillCircle, "PlotFillCircle", InvokeKind::Method, kBoxColor, ArgType::None,
           [this](Args &a) {
               const float x1 = a[0].toR4(), y1 = a[1].toR4(), x2 = a[2].toR4(), y2 = a[3].toR4();
               const double aspect = boxAspect(x1, y1, x2, y2);
               const double radius =
                   aspect >= 1 ? std::fabs(double(y2) - y1) / 2 : std::fabs(double(x2) - x1) / 2;
               const int16_t style = surface_.fillStyle();
               const int32_t color = surface_.fillColor();
               surface_.setFillStyle(FillSolid);
               surface_.setFillColor(a[4].toI4());
               surface_.ellipse((x1 + x2) / 2, (y1 + y2) / 2, float(radius), float(aspect), a[4].toI4());
               surface_.setFillStyle(style);
               surface_.setFillColor(color);
               return Variant();
           }});
    t.add({dispid::PlotArc,
           "PlotArc",
           InvokeKind::Method,
           {{ArgType::R4},
            {ArgType::R4},
            {ArgType::R4},
            {ArgType::R4},
            {ArgType::R4},
            {ArgType::R4},
            {ArgType::I4},
            {ArgType::Bool, true}},
           ArgType::None,
           [this](Args &a) {
               const float x1 = a[0].toR4(), y1 = a[1].toR4(), x2 = a[2].toR4(), y2 = a[3].toR4();
               const float start = a[4].toR4(), end = a[5].toR4();
               const int32_t color = a[6].toI4();
               const double t = boxAspect(x1, y1, x2, y2);
               double rx, ry, radius;
               if (t >= 1)
                   ry = std::fabs(double(y2) - y1) / 2, rx = ry / t, radius = ry;
               else
                   rx = std::fabs(double(x2) - x1) / 2, ry = t * rx, radius = rx;
               const float cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
               if (a[7].toBool()) {
                   surface_.line(cx, cy, float(cx + rx * std::cos(start)), float(cy - ry * std::sin(start)),
                                 color);
                   surface_.line(cx, cy, float(cx + rx * std::cos(end)), float(cy - ry * std::sin(end)),
                                 color);
               }
               surface_.arc(cx, cy, float(radius), float(t), start, end, color);
               return Variant();
           }});
    t.add({dispid::DrawWidth, "DrawWidth", InvokeKind::PropertyGet, {}, ArgType::I4, [this](Args &) {
               return Variant(int32_t(surface_.drawWidth()));
           }});
    t.add({dispid::DrawWidth,
           "DrawWidth",
           InvokeKind::PropertyPut,
           {{ArgType::I4}},
           ArgType::None,
           [this](Args &a) {
               surface_.setDrawWidth(automation::narrowToI2(a[0].toI4()));
               return Variant();
           }});
    t.add({dispid::DrawStyle, "DrawStyle", InvokeKind::PropertyGet, {}, ArgType::I2, [this](Args &) {
               return Variant(surface_.drawStyle());
           }});
    t.add({dispid::DrawStyle,
           "DrawStyle",
           InvokeKind::PropertyPut,
           {{ArgType::I2}},
           ArgType::None,
           [this](Args &a) {
               surface_.setDrawStyle(a[0].toI2());
               return Variant();
           }});
    t.add({dispid::MousePointer, "MousePointer", InvokeKind::PropertyGet, {}, ArgType::I2, [this](Args &) {
               return Variant(mousePointer_);
           }});
    t.add({dispid::MousePointer,
           "MousePointer",
           InvokeKind::PropertyPut,
           {{ArgType::I2}},
           ArgType::None,
           [this](Args &a) {
               setMousePointer(a[0].toI2());
               propertyChanged("MousePointer");
               return Variant();
           }});
    t.add({dispid::MouseIcon, "MouseIcon", InvokeKind::PropertyGet, {}, ArgType::Picture, [this](Args &) {
               return mouseIcon_ ? Variant(*mouseIcon_) : Variant();
           }});
    t.add({dispid::MouseIcon,
           "MouseIcon",
           InvokeKind::PropertyPut,
           {{ArgType::Picture, true}},
           ArgType::None,
           [this](Args &a) {
               if (const automation::Picture *p = a[0].picture())
                   setMouseIcon(*p);
               else
                   setMouseIcon(std::nullopt);
               propertyChanged("MouseIcon");
               return Variant();
           }});
    for (const bool horizontal : {true, false}) {
        t.add({horizontal ? dispid::ScaleX : dispid::ScaleY,
               horizontal ? "ScaleX" : "ScaleY",
               InvokeKind::Method,
               {{ArgType::R4}, {ArgType::I2}, {ArgType::I2}},
               ArgType::R4,
               [horizontal](Args &a) {
                   return Variant(convertScale(a[0].toR4(), a[1].toI2(), a[2].toI2(), horizontal));
               }});
    }
}

}  // namespace graphane
