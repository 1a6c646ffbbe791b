#include "graphanecontrol.h"

#include <QApplication>
#include <QPalette>
#include <QPixmap>
#include <new>

#include "automation/errors.h"
#include "forms/units.h"

namespace graphane {

using automation::Args;
using automation::PropertyBag;
using automation::Variant;
namespace err = automation::err;

namespace {

constexpr QSize kInitialSize(320, 240);

int32_t platformBackColor() {
    return int32_t(forms::toOleColor(QApplication::palette().color(QPalette::Window)));
}

}  // namespace

GraphaneControl::GraphaneControl() : surface_(kInitialSize, platformBackColor()) {
    model_.initialise(surface_.backColor());
    widget_ = new ChartWidget(*this);
    widget_->resize(kInitialSize);
    addModelMembers();
    addSeriesMembers();
    addRenderMembers();
    addInteractionMembers();
    addDrawingMembers();
    addTextMembers();
}

GraphaneControl::~GraphaneControl() {
    delete widget_.data();
}

automation::Variant GraphaneControl::invoke(automation::DispId id, automation::InvokeKind kind, Args &args) {
    syncSurfaceSize();
    try {
        Variant result = ControlBase::invoke(id, kind, args);
        if (kind != automation::InvokeKind::PropertyGet) repaint();
        return result;
    } catch (const std::bad_alloc &) {
        automation::raise(err::OutOfMemory);
    } catch (...) {
        repaint();  // what was drawn before a failure stays drawn
        throw;
    }
}

void GraphaneControl::syncSurfaceSize() {
    // A host may size the window while it is hidden; the picture follows before any call.
    if (widget_ && widget_->size() != surface_.size()) resized(widget_->size());
}

void GraphaneControl::repaint() {
    if (widget_) widget_->update();
}

void GraphaneControl::plot(bool keepBackground) {
    ++plots_;
    ChartRenderer renderer(model_, surface_);
    renderer.setMergeColumns(merge_);
    renderer.plot(keepBackground);
}

void GraphaneControl::plotQuietly() {
    try {
        plot(false);
    } catch (const std::exception &) {
        // Drawn as far as it went; there is no caller to hand the error to.
    }
    repaint();
}

void GraphaneControl::raiseFromWindow(automation::DispId id, Args &args) {
    // A host's event handler that fails must not unwind through the window system's event
    // dispatch (which would end the program); its error stays with the host.
    try {
        raiseEvent(id, args);
    } catch (const std::exception &) {
    }
}

void GraphaneControl::resized(QSize size) {
    if (size != surface_.size()) surface_.resize(size);
    plotQuietly();
}

void GraphaneControl::shown() {
    syncSurfaceSize();
    plotQuietly();
}

// ---- persistence -------------------------------------------------------------------------

void GraphaneControl::loadProperties(const PropertyBag &bag) {
    const Variant icon = bag.read("MouseIcon", Variant());
    if (icon.isEmpty())
        setMouseIcon(std::nullopt);
    else if (icon.picture())
        setMouseIcon(*icon.picture());
    else
        automation::raise(err::TypeMismatch);
    setMousePointer(bag.read("MousePointer", Variant(int16_t(0))).toI2());
    model_.backColor = bag.read("BackColor", Variant(int32_t(0xFFFFFF))).toI4();
    surface_.setBackColor(model_.backColor);
    model_.borderColor = bag.read("BorderColor", Variant(int32_t(0x800000))).toI4();
    model_.borderStyle = bag.read("BorderStyle", Variant(int16_t(1))).toI2();
    model_.gridColor = bag.read("GridColor", Variant(int32_t(0x80C0))).toI4();
    model_.gridSel = bag.read("GridSel", Variant(int16_t(1))).toI2();
    model_.marginLeft = bag.read("MarginLeft", Variant(25.0f)).toR4();
    model_.marginTop = bag.read("MarginTop", Variant(10.0f)).toR4();
    model_.marginRight = bag.read("MarginRight", Variant(15.0f)).toR4();
    model_.marginBottom = bag.read("MarginBottom", Variant(15.0f)).toR4();
    model_.setGridCountX(bag.read("nGridx", Variant(int16_t(11))).toI2());
    model_.nGridy = bag.read("nGridy", Variant(int16_t(6))).toI2();
    model_.xmin = bag.read("xmin", Variant(0.0f)).toR4();
    model_.xmax = bag.read("xmax", Variant(100.0f)).toR4();
    model_.ymin = bag.read("ymin", Variant(0.0f)).toR4();
    model_.ymax = bag.read("ymax", Variant(10.0f)).toR4();
    model_.titleX = bag.read("TitleX", Variant("Sec.")).toString();
    model_.titleY = bag.read("TitleY", Variant("Volt.")).toString();
    repaint();
}

void GraphaneControl::saveProperties(PropertyBag &bag) const {
    if (mouseIcon_)
        bag.write("MouseIcon", Variant(*mouseIcon_));
    else
        bag.remove("MouseIcon");
    bag.write("MousePointer", Variant(mousePointer_), Variant(int16_t(0)));
    bag.write("BackColor", Variant(model_.backColor), Variant(int32_t(0xFFFFFF)));
    bag.write("BorderColor", Variant(model_.borderColor), Variant(int32_t(0x800000)));
    bag.write("BorderStyle", Variant(model_.borderStyle), Variant(int16_t(1)));
    bag.write("GridColor", Variant(model_.gridColor), Variant(int32_t(0x80C0)));
    bag.write("GridSel", Variant(model_.gridSel), Variant(int16_t(1)));
    bag.write("MarginLeft", Variant(model_.marginLeft), Variant(20.0f));
    bag.write("MarginTop", Variant(model_.marginTop), Variant(15.0f));
    bag.write("MarginRight", Variant(model_.marginRight), Variant(15.0f));
    bag.write("MarginBottom", Variant(model_.marginBottom), Variant(15.0f));
    bag.write("nGridx", Variant(model_.nGridx), Variant(int16_t(11)));
    bag.write("nGridy", Variant(model_.nGridy), Variant(int16_t(6)));
    bag.write("xmin", Variant(model_.xmin), Variant(0.0f));
    bag.write("xmax", Variant(model_.xmax), Variant(100.0f));
    bag.write("ymin", Variant(model_.ymin), Variant(0.0f));
    bag.write("ymax", Variant(model_.ymax), Variant(10.0f));
    bag.write("TitleX", Variant(model_.titleX), Variant("Sec."));
    bag.write("TitleY", Variant(model_.titleY), Variant("Volt."));
}

// ---- cursor ------------------------------------------------------------------------------

void GraphaneControl::setMousePointer(int16_t code) {
    if (!((code >= 0 && code <= 15) || code == 99)) automation::raise(err::InvalidPropertyValue);
    mousePointer_ = code;
    applyCursor();
}

void GraphaneControl::setMouseIcon(const std::optional<automation::Picture> &picture) {
    if (!picture || picture->bytes.empty()) {
        mouseIcon_.reset();
        iconCursor_ = QCursor();
        applyCursor();
        return;
    }
    QPixmap pixmap;
    if (!pixmap.loadFromData(picture->bytes.data(), uint(picture->bytes.size())))
        automation::raise(err::InvalidPropertyValue);
    mouseIcon_ = picture;
    iconCursor_ = QCursor(pixmap);
    applyCursor();
}

void GraphaneControl::applyCursor() {
    if (!widget_) return;
    static const Qt::CursorShape shapes[16] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    if (mousePointer_ == 0)
        widget_->unsetCursor();
    else if (mousePointer_ == 99) {
        if (mouseIcon_)
            widget_->setCursor(iconCursor_);
        else
            widget_->unsetCursor();
    } else {
        widget_->setCursor(shapes[mousePointer_]);
    }
}

}  // namespace graphane
