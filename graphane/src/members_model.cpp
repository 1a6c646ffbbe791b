// Dispatch members of the chart's data: plain properties, per-series properties and the
// series store methods.
#include "automation/errors.h"
#include "automation/safearray.h"
#include "graphane/dispids.h"
#include "graphanecontrol.h"

namespace graphane {

using automation::Args;
using automation::ArgType;
using automation::InvokeKind;
using automation::Member;
using automation::Param;
using automation::Variant;

namespace {

// Adds a readable and writable property whose value lives in one field.
template <class T>
void addField(automation::MemberTable &t, automation::DispId id, const char *name, ArgType type, T &field) {
    t.add({id, name, InvokeKind::PropertyGet, {}, type, [&field](Args &) { return Variant(field); }});
    t.add({id, name, InvokeKind::PropertyPut, {{type}}, ArgType::None, [&field, type](Args &a) {
               if constexpr (std::is_same_v<T, std::string>)
                   field = a[0].toString();
               else if constexpr (std::is_same_v<T, float>)
                   field = a[0].toR4();
               else if constexpr (std::is_same_v<T, int16_t>)
                   field = a[0].toI2();
               else
                   field = a[0].toI4();
               (void)type;
               return Variant();
           }});
}

// Adds a per-series property: the index comes first on get and put.
template <class Get, class Put>
void addSlotProperty(automation::MemberTable &t, automation::DispId id, const char *name, ArgType type,
                     Get get, Put put) {
    t.add({id, name, InvokeKind::PropertyGet, {{ArgType::I2}}, type, get});
    t.add({id, name, InvokeKind::PropertyPut, {{ArgType::I2}, {type}}, ArgType::None, put});
}

}  // namespace

void GraphaneControl::addModelMembers() {
    auto &t = table();
    ChartModel &m = model_;
    addField(t, dispid::BorderStyle, "BorderStyle", ArgType::I2, m.borderStyle);
    addField(t, dispid::BorderColor, "BorderColor", ArgType::I4, m.borderColor);
    t.add({dispid::BackColor, "BackColor", InvokeKind::PropertyGet, {}, ArgType::I4, [&m](Args &) {
               return Variant(m.backColor);
           }});
    t.add({dispid::BackColor,
           "BackColor",
           InvokeKind::PropertyPut,
           {{ArgType::I4}},
           ArgType::None,
           [this](Args &a) {
               model_.backColor = a[0].toI4();
               surface_.setBackColor(model_.backColor);
               return Variant();
           }});
    addField(t, dispid::MarginLeft, "MarginLeft", ArgType::R4, m.marginLeft);
    addField(t, dispid::MarginTop, "MarginTop", ArgType::R4, m.marginTop);
    addField(t, dispid::MarginRight, "MarginRight", ArgType::R4, m.marginRight);
    addField(t, dispid::MarginBottom, "MarginBottom", ArgType::R4, m.marginBottom);
    addField(t, dispid::TitleX, "TitleX", ArgType::String, m.titleX);
    addField(t, dispid::TitleY, "TitleY", ArgType::String, m.titleY);
    addField(t, dispid::xmin, "xmin", ArgType::R4, m.xmin);
    addField(t, dispid::xmax, "xmax", ArgType::R4, m.xmax);
    addField(t, dispid::ymin, "ymin", ArgType::R4, m.ymin);
    addField(t, dispid::ymax, "ymax", ArgType::R4, m.ymax);
    t.add({dispid::nSeries, "nSeries", InvokeKind::PropertyGet, {}, ArgType::I2, [&m](Args &) {
               return Variant(m.seriesCount());
           }});
    addField(t, dispid::GridSel, "GridSel", ArgType::I2, m.gridSel);
    addField(t, dispid::GridColor, "GridColor", ArgType::I4, m.gridColor);
    t.add({dispid::nGridx, "nGridx", InvokeKind::PropertyGet, {}, ArgType::I2, [&m](Args &) {
               return Variant(m.nGridx);
           }});
    t.add({dispid::nGridx, "nGridx", InvokeKind::PropertyPut, {{ArgType::I2}}, ArgType::None, [&m](Args &a) {
               m.setGridCountX(a[0].toI2());
               return Variant();
           }});
    addField(t, dispid::nGridy, "nGridy", ArgType::I2, m.nGridy);

    addSlotProperty(
        t, dispid::DotStyle, "DotStyle", ArgType::I2,
        [&m](Args &a) { return Variant(m.slot(a[0].toI2()).dotStyle); },
        [&m](Args &a) {
            m.slot(a[0].toI2()).dotStyle = a[1].toI2();
            return Variant();
        });
    addSlotProperty(
        t, dispid::LineStyle, "LineStyle", ArgType::I2,
        [&m](Args &a) { return Variant(m.slot(a[0].toI2()).lineStyle); },
        [&m](Args &a) {
            m.slot(a[0].toI2()).lineStyle = a[1].toI2();
            return Variant();
        });
    addSlotProperty(
        t, dispid::LineWidth, "LineWidth", ArgType::I2,
        [&m](Args &a) { return Variant(m.slot(a[0].toI2()).lineWidth); },
        [&m](Args &a) {
            m.slot(a[0].toI2()).lineWidth = a[1].toI2();
            return Variant();
        });
    addSlotProperty(
        t, dispid::LineColor, "LineColor", ArgType::I4,
        [&m](Args &a) { return Variant(m.slot(a[0].toI2()).lineColor); },
        [&m](Args &a) {
            m.slot(a[0].toI2()).lineColor = a[1].toI4();
            return Variant();
        });
    addSlotProperty(
        t, dispid::DotColor, "DotColor", ArgType::I4,
        [&m](Args &a) { return Variant(m.slot(a[0].toI2()).dotColor); },
        [&m](Args &a) {
            m.slot(a[0].toI2()).dotColor = a[1].toI4();
            return Variant();
        });
    addSlotProperty(
        t, dispid::SeriesVisible, "SeriesVisible", ArgType::Bool,
        [&m](Args &a) { return Variant(m.slot(a[0].toI2()).visible); },
        [&m](Args &a) {
            m.slot(a[0].toI2()).visible = a[1].toBool();
            return Variant();
        });
    addSlotProperty(
        t, dispid::nPoints, "nPoints", ArgType::I4,
        [&m](Args &a) { return Variant(m.slot(a[0].toI2()).nPoints); },
        [&m](Args &a) {
            m.setPointCount(a[0].toI2(), a[1].toI4());
            return Variant();
        });
}

void GraphaneControl::addSeriesMembers() {
    auto &t = table();
    ChartModel &m = model_;
    t.add({dispid::CreateSeries,
           "CreateSeries",
           InvokeKind::Method,
           {{ArgType::I2}, {ArgType::ArrayI4, true}},
           ArgType::I4,
           [&m](Args &a) { return Variant(m.createSeries(a[0].toI2(), a[1].array())); }});
    t.add({dispid::AppendSeries,
           "AppendSeries",
           InvokeKind::Method,
           {{ArgType::I4}},
           ArgType::I4,
           [&m](Args &a) { return Variant(m.appendSeries(a[0].toI4())); }});
    t.add({dispid::DeleteSeries,
           "DeleteSeries",
           InvokeKind::Method,
           {{ArgType::I2}},
           ArgType::I4,
           [&m](Args &a) { return Variant(m.deleteSeries(a[0].toI2())); }});
    t.add({dispid::SwitchSeries,
           "SwitchSeries",
           InvokeKind::Method,
           {{ArgType::I2}, {ArgType::I2}},
           ArgType::None,
           [&m](Args &a) {
               m.switchSeries(a[0].toI2(), a[1].toI2());
               return Variant();
           }});
    const std::vector<Param> seriesParams{{ArgType::I2},
                                          {ArgType::ArrayR4, true},
                                          {ArgType::ArrayR4, true},
                                          {ArgType::I4, true},
                                          {ArgType::I4, true}};
    t.add({dispid::SetSeries, "SetSeries", InvokeKind::Method, seriesParams, ArgType::None, [&m](Args &a) {
               m.setSeries(a[0].toI2(), a[1].array(), a[2].array(), a[3].toI4(), a[4].toI4());
               return Variant();
           }});
    t.add({dispid::GetSeries, "GetSeries", InvokeKind::Method, seriesParams, ArgType::None, [&m](Args &a) {
               m.getSeries(a[0].toI2(), a[1].array(), a[2].array(), a[3].toI4(), a[4].toI4());
               return Variant();
           }});
    t.add({dispid::SetGridxVal,
           "SetGridxVal",
           InvokeKind::Method,
           {{ArgType::ArrayR4, true}, {ArgType::I2, true}},
           ArgType::None,
           [&m](Args &a) {
               m.setGridValues(false, a[0].array(), a[1].toI2());
               return Variant();
           }});
    t.add({dispid::SetGridyVal,
           "SetGridyVal",
           InvokeKind::Method,
           {{ArgType::ArrayR4, true}, {ArgType::I2, true}},
           ArgType::None,
           [&m](Args &a) {
               m.setGridValues(true, a[0].array(), a[1].toI2());
               return Variant();
           }});
}

}  // namespace graphane
