// Mouse measuring, forwarded events, the range dialog and GetPointValues, driven with
// synthetic mouse and key events on the chart's window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "rangedialog.h"
#include "testutil.h"

using namespace gt;
namespace err = automation::err;

namespace {

struct Event {
    automation::DispId id;
    automation::Args args;
};

// A 400 x 300 chart with the area (40, 20)-(380, 260) and x 0..340, y 0..240, so a pixel
// maps to one data unit; every event is recorded.
class Measure : public ::testing::Test {
  protected:
    void SetUp() override {
        c.handle.put(d::MarginLeft, 40.0f);
        c.handle.put(d::MarginTop, 20.0f);
        c.handle.put(d::MarginRight, 20.0f);
        c.handle.put(d::MarginBottom, 40.0f);
        c.handle.put(d::xmax, 340.0f);
        c.handle.put(d::ymax, 240.0f);
        c->connectEvents([this](automation::DispId id, automation::Args &a) { events.push_back({id, a}); });
    }

    QWidget *w() { return c->widget(); }
    void mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, at, w()->mapToGlobal(at), button, held, mods);
        QApplication::sendEvent(w(), &e);
    }
    void press(QPointF at, Qt::MouseButton b = Qt::LeftButton) { mouse(QEvent::MouseButtonPress, b, b, at); }
    void drag(QPointF at) { mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at); }
    void release(QPointF at, Qt::MouseButton b = Qt::LeftButton) {
        mouse(QEvent::MouseButtonRelease, b, Qt::NoButton, at);
    }
    std::vector<automation::DispId> ids() const {
        std::vector<automation::DispId> v;
        for (const Event &e : events) v.push_back(e.id);
        return v;
    }
    const Event *find(automation::DispId id) const {
        for (const Event &e : events)
            if (e.id == id) return &e;
        return nullptr;
    }
    const graphane::Overlay &overlay() { return c->overlay(); }

    Chart c{400, 300};
    std::vector<Event> events;
};

}  // namespace

TEST_F(Measure, PressInsideShowsCrossHairAndReadout) {
    press({100, 200});
    const graphane::Overlay &o = overlay();
    EXPECT_TRUE(o.crossVisible);
    EXPECT_TRUE(o.readoutVisible);
    EXPECT_FALSE(o.rectVisible);
    EXPECT_EQ(o.crossH, QLineF(40, 200, 380, 200));
    EXPECT_EQ(o.crossV, QLineF(100, 20, 100, 260));
    EXPECT_EQ(o.readout, QString("x=60.0000,y=60.0000\nw=0.0,h=0.0"));
    EXPECT_EQ(o.readoutBox.left(), 103);  // to the right of and below the pointer
    const double h = o.readoutBox.height();
    EXPECT_EQ(o.readoutBox.top(), 2 * h + 200 + 5 >= 260 ? 200 - 5 - h : 203);
    ASSERT_EQ(ids(), (std::vector<automation::DispId>{d::MouseDown}));
    EXPECT_EQ(events[0].args[0].toI2(), 1);
    EXPECT_EQ(events[0].args[2].toR4(), 100.0f);
    EXPECT_EQ(events[0].args[3].toR4(), 200.0f);
    EXPECT_EQ(c->model().anchorX, 100.0f);
}

TEST_F(Measure, PressAtTheRightEdgeIsAcceptedWithReadoutOnTheLeft) {
    press({380, 100});
    EXPECT_TRUE(overlay().crossVisible);
    EXPECT_LT(overlay().readoutBox.right(), 380);
    EXPECT_EQ(overlay().readoutBox.left(), 380 - 3 - overlay().readoutBox.width());
}

TEST_F(Measure, PressOutsideTheAreaOrWithOtherButtonsOnlyRaisesTheEvent) {
    press({20, 100});
    EXPECT_TRUE(c->overlay().bounds().isNull());
    release({20, 100});
    press({100, 100}, Qt::RightButton);
    EXPECT_FALSE(overlay().crossVisible);
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[3].id, d::MouseDown);
    EXPECT_EQ(events[3].args[0].toI2(), 2);
}

TEST_F(Measure, ClickWithoutMoveGivesNoMeasured) {
    press({100, 100});
    release({100, 100});
    EXPECT_EQ(ids(), (std::vector<automation::DispId>{d::MouseDown, d::MouseUp, d::Click}));
    EXPECT_FALSE(overlay().crossVisible);
    EXPECT_FALSE(overlay().readoutVisible);
}

TEST_F(Measure, DragReportsRectangleInPixelsAndValuesInOrder) {
    press({100, 200});
    drag({120, 210});
    drag({150, 230});
    EXPECT_TRUE(overlay().rectVisible);
    EXPECT_EQ(overlay().rect, QRectF(100, 200, 51, 31));
    EXPECT_EQ(overlay().readout, QString("x=60.0000,y=60.0000\nw=51.0000,h=31.0000"));
    EXPECT_EQ(overlay().crossV, QLineF(100, 20, 100, 260));  // cross-hair stays at the press
    release({150, 230});
    EXPECT_EQ(ids(), (std::vector<automation::DispId>{d::MouseDown, d::MouseMove, d::MouseMove, d::Measured,
                                                      d::MouseUp, d::Click}));
    const Event *m = find(d::Measured);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->args.size(), 8u);
    const float expect[8] = {100, 200, 51, 31, 60, 60, 51, 31};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(m->args[size_t(i)].toR4(), expect[i]) << i;
    EXPECT_TRUE(overlay().bounds().isNull());
}

TEST_F(Measure, DragUpAndLeftReportsFinalCornerAndPositiveSizes) {
    press({200, 150});
    drag({150, 100});
    release({150, 100});
    const Event *m = find(d::Measured);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->args[0].toR4(), 150.0f);
    EXPECT_EQ(m->args[1].toR4(), 100.0f);
    EXPECT_EQ(m->args[2].toR4(), 51.0f);
    EXPECT_EQ(m->args[3].toR4(), 51.0f);
    EXPECT_EQ(m->args[4].toR4(), 110.0f);  // value of the left edge
    EXPECT_EQ(m->args[5].toR4(), 160.0f);  // value of the top edge: the larger y
    EXPECT_GT(m->args[6].toR4(), 0.0f);
    EXPECT_GT(m->args[7].toR4(), 0.0f);
}

TEST_F(Measure, RectangleMayLeaveTheArea) {
    press({50, 30});
    drag({10, 5});
    EXPECT_EQ(overlay().rect, QRectF(10, 5, 41, 26));
}

TEST_F(Measure, MovesWithoutAPressOrWithOtherButtonsMeasureNothing) {
    drag({100, 100});
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {110, 100});
    EXPECT_FALSE(overlay().rectVisible);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].id, d::MouseMove);
    EXPECT_EQ(events[1].args[0].toI2(), 0);
    press({100, 100});
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton | Qt::RightButton, {130, 130});
    EXPECT_FALSE(overlay().rectVisible);
}

TEST_F(Measure, ShiftStateAndMiddleButton) {
    mouse(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, {60, 60},
          Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].args[0].toI2(), 4);
    EXPECT_EQ(events[0].args[1].toI2(), 7);
}

TEST_F(Measure, ReadoutFormatsOfTheValues) {
    c.handle.put(d::xmin, 12345.678f);
    c.handle.put(d::xmax, 12345.678f + 340.0f);
    c.handle.put(d::ymin, 0.5f);
    press({40, 260});
    EXPECT_TRUE(overlay().readout.startsWith("x=12345.68,y=0.50\n"));
    release({40, 260});
    c.handle.put(d::xmin, 5.0f);
    c.handle.put(d::ymin, 2000000.0f);
    c.handle.put(d::ymax, 2000240.0f);
    press({40, 260});
    EXPECT_TRUE(overlay().readout.startsWith("x=5.0000,y=2000000\n")) << overlay().readout.toStdString();
}

TEST_F(Measure, InvalidAreaIgnoresThePress) {
    c.handle.put(d::MarginLeft, 900.0f);
    press({100, 100});
    EXPECT_FALSE(overlay().crossVisible);
    EXPECT_EQ(ids(), (std::vector<automation::DispId>{d::MouseDown}));
}

TEST_F(Measure, MovingWhileMeasuringDoesNotRedrawTheChart) {
    w()->show();
    QApplication::processEvents();
    const int plots = c->plotCount();
    const QImage before = c.image().copy();
    press({100, 100});
    for (int i = 0; i < 50; ++i) drag({100.0 + i, 100.0 + i});
    QApplication::processEvents();
    EXPECT_EQ(c->plotCount(), plots);
    EXPECT_EQ(c.image(), before);  // overlays never go into the picture
    // ... but the window shows them: the red cross-hair over the picture.
    const QImage shown = w()->grab().toImage();
    EXPECT_EQ(pixel(shown, 60, 100), 0xFF);
    EXPECT_EQ(pixel(shown, 100, 240), 0xFF);
    release({149, 149});
    QApplication::processEvents();
    EXPECT_EQ(c->plotCount(), plots);
    EXPECT_NE(pixel(w()->grab().toImage(), 60, 100), 0xFF);
}

TEST_F(Measure, DoubleClickAndKeys) {
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {10, 10});
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {10, 10});
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {10, 10});
    EXPECT_EQ(ids(),
              (std::vector<automation::DispId>{d::MouseDown, d::MouseUp, d::Click, d::DblClick, d::MouseUp}));
    events.clear();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A");
    QApplication::sendEvent(w(), &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier, "A");
    QApplication::sendEvent(w(), &up);
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier);
    QApplication::sendEvent(w(), &f5);
    ASSERT_EQ(ids(), (std::vector<automation::DispId>{d::KeyDown, d::KeyPress, d::KeyUp, d::KeyDown}));
    EXPECT_EQ(events[0].args[0].toI2(), 65);
    EXPECT_EQ(events[0].args[1].toI2(), 1);
    EXPECT_EQ(events[1].args[0].toI2(), 65);
    EXPECT_EQ(events[2].args[0].toI2(), 65);
    EXPECT_EQ(events[3].args[0].toI2(), 116);
    EXPECT_EQ(events[3].args[1].toI2(), 2);
}

TEST_F(Measure, FailingHostHandlerDoesNotEscapeIntoTheWindowSystem) {
    c->connectEvents([this](automation::DispId id, automation::Args &) {
        events.push_back({id, {}});
        automation::raise(err::SubscriptOutOfRange);
    });
    press({100, 100});
    drag({120, 120});
    release({120, 120});
    EXPECT_EQ(ids(), (std::vector<automation::DispId>{d::MouseDown, d::MouseMove, d::Measured, d::MouseUp,
                                                      d::Click}));
    EXPECT_FALSE(overlay().crossVisible);
}

// ---- GetPointValues ----------------------------------------------------------------------

TEST(PointValues, FirstFiveOfTenThroughTheInterface) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    SafeArray n = ints({10});
    chart.call(d::CreateSeries, int16_t(1), n);
    std::vector<float> x(10), y(10);
    for (int i = 0; i < 10; ++i) x[size_t(i)] = 10.0f + float(i), y[size_t(i)] = 100.0f - float(i);
    SafeArray ax = floats(x), ay = floats(y);
    int32_t start = 0, all = 0;
    chart.call(d::SetSeries, int16_t(0), ax, ay, start, all);
    SafeArray ox(automation::ElemType::R4, 0, 5), oy(automation::ElemType::R4, 0, 5);
    EXPECT_EQ(chart.call(d::GetPointValues, int16_t(0), 10.0f, 20.0f, ox, oy, int32_t(5)).toI4(), 5);
    EXPECT_EQ(ox.floats(), (std::vector<float>{10, 11, 12, 13, 14}));
    EXPECT_EQ(oy.floats(), (std::vector<float>{100, 99, 98, 97, 96}));
    SafeArray small(automation::ElemType::R4, 0, 3);
    EXPECT_EQ(
        errorOf([&] { chart.call(d::GetPointValues, int16_t(0), 10.0f, 20.0f, small, oy, int32_t(5)); }),
        err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { chart.call(d::GetPointValues, int16_t(17), 10.0f, 20.0f, ox, oy, int32_t(5)); }),
              err::SubscriptOutOfRange);
}

// ---- range dialog ------------------------------------------------------------------------

namespace {

class RangeDialog : public ::testing::Test {
  protected:
    void TearDown() override { graphane::FrmRange::setDriver({}); }
    // Series 0 with every x = 3 and y from 1 to 9.
    void constantX() {
        SafeArray n = ints({5});
        c.handle.call(d::CreateSeries, int16_t(1), n);
        SafeArray x = floats({3, 3, 3, 3, 3}), y = floats({1, 9, 4, 2, 5});
        int32_t start = 0, all = 0;
        c.handle.call(d::SetSeries, int16_t(0), x, y, start, all);
    }
    Chart c;
};

}  // namespace

TEST_F(RangeDialog, CalculateOffersAutomaticRangeAndConfirmStoresIt) {
    constantX();
    std::vector<QString> shown;
    graphane::FrmRange::setDriver([&](graphane::FrmRange &f) {
        for (int k = 0; k < 4; ++k) shown.push_back(f.field(k)->text());
        f.calculateButton()->click();
        for (int k = 0; k < 4; ++k) shown.push_back(f.field(k)->text());
        f.confirmButton()->click();
    });
    EXPECT_TRUE(c.handle.call(d::DialogRange).toBool());
    EXPECT_EQ(shown, (std::vector<QString>{"0", "100", "0", "10", "2", "4", "1", "9"}));
    EXPECT_EQ(c.handle.get(d::xmin).toR4(), 2.0f);
    EXPECT_EQ(c.handle.get(d::xmax).toR4(), 4.0f);
    EXPECT_EQ(c.handle.get(d::ymin).toR4(), 1.0f);
    EXPECT_EQ(c.handle.get(d::ymax).toR4(), 9.0f);
}

TEST_F(RangeDialog, TypedRangeWithEqualEndsIsRefused) {
    constantX();
    graphane::FrmRange::setDriver([](graphane::FrmRange &f) {
        f.field(0)->setText("5");
        f.field(1)->setText("5");
        f.field(2)->setText("-1.5e1abc");
        f.field(3)->setText("20");
        f.confirmButton()->click();
    });
    EXPECT_FALSE(c.handle.call(d::DialogRange).toBool());
    EXPECT_EQ(c.handle.get(d::xmax).toR4(), 100.0f);
    EXPECT_EQ(c.handle.get(d::ymin).toR4(), 0.0f);
    graphane::FrmRange::setDriver([](graphane::FrmRange &f) {
        f.field(0)->setText("-1.5e1abc");
        f.field(1)->setText(".5");
        f.field(2)->setText("x");  // reads as 0
        f.field(3)->setText("1e3");
        f.confirmButton()->click();
    });
    EXPECT_TRUE(c.handle.call(d::DialogRange).toBool());
    EXPECT_EQ(c.handle.get(d::xmin).toR4(), -15.0f);
    EXPECT_EQ(c.handle.get(d::xmax).toR4(), 0.5f);
    EXPECT_EQ(c.handle.get(d::ymin).toR4(), 0.0f);
    EXPECT_EQ(c.handle.get(d::ymax).toR4(), 1000.0f);
}

TEST_F(RangeDialog, EnterInAFieldConfirms) {
    constantX();
    graphane::FrmRange::setDriver([](graphane::FrmRange &f) {
        f.field(1)->setText("50");
        f.show();  // a dialog handles Enter while it is shown
        f.field(1)->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(f.field(1), &enter);
    });
    EXPECT_TRUE(c.handle.call(d::DialogRange).toBool());
    EXPECT_EQ(c.handle.get(d::xmax).toR4(), 50.0f);
}

TEST_F(RangeDialog, CancelAndCloseKeepTheRange) {
    constantX();
    graphane::FrmRange::setDriver([](graphane::FrmRange &f) {
        f.field(1)->setText("50");
        f.cancelButton()->click();
    });
    EXPECT_FALSE(c.handle.call(d::DialogRange).toBool());
    graphane::FrmRange::setDriver([](graphane::FrmRange &f) {
        f.field(1)->setText("50");
        f.oksel = true;
        f.close();
    });
    EXPECT_FALSE(c.handle.call(d::DialogRange).toBool());
    EXPECT_EQ(c.handle.get(d::xmax).toR4(), 100.0f);
}

TEST_F(RangeDialog, NoSeriesShowsNothing) {
    bool shown = false;
    graphane::FrmRange::setDriver([&](graphane::FrmRange &) { shown = true; });
    SafeArray none = ints({1});
    c.handle.call(d::CreateSeries, int16_t(0), none);
    EXPECT_FALSE(c.handle.call(d::DialogRange).toBool());
    SafeArray zero = ints({0});
    c.handle.call(d::CreateSeries, int16_t(1), zero);
    EXPECT_FALSE(c.handle.call(d::DialogRange).toBool());
    EXPECT_FALSE(shown);
}

TEST_F(RangeDialog, SinglesAreOfferedInTheirShortFormAndRoundTrip) {
    c.handle.put(d::xmax, 13.653333f);
    graphane::FrmRange::setDriver([](graphane::FrmRange &f) {
        EXPECT_EQ(f.field(1)->text(), "13.653333");  // not 13.6533327102661
        f.confirmButton()->click();
    });
    EXPECT_TRUE(c.handle.call(d::DialogRange).toBool());
    EXPECT_EQ(c.handle.get(d::xmax).toR4(), 13.653333f);  // the same single back
}

TEST(RangeDialogForm, CaptionLayoutAndTabOrder) {
    graphane::FrmRange f;
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("设置坐标范围"));
    EXPECT_EQ(f.size(), QSize(334, 158));
    EXPECT_EQ(f.findChild<QLabel *>("Label1")->text(), QString::fromUtf8("横轴最小值："));
    EXPECT_EQ(f.findChild<QLabel *>("Label4")->geometry(), QRect(168, 64, 100, 23));
    EXPECT_EQ(f.findChild<QLineEdit *>("Text2")->geometry(), QRect(208, 32, 113, 21));
    EXPECT_EQ(f.findChild<QLineEdit *>("Text3")->geometry(), QRect(48, 80, 113, 21));
    EXPECT_EQ(f.findChild<QPushButton *>("Command3")->text(), QString::fromUtf8("计算(&A)"));
    EXPECT_EQ(f.findChild<QPushButton *>("Command1")->geometry(), QRect(144, 120, 66, 26));
    EXPECT_EQ(f.findChild<QPushButton *>("Command2")->text(), QString::fromUtf8("取消(&C)"));
    std::vector<QString> order;
    QWidget *w = f.findChild<QLineEdit *>("Text1");
    for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus) w = w->nextInFocusChain();
        order.push_back(w->objectName());
    }
    EXPECT_EQ(order,
              (std::vector<QString>{"Text1", "Text2", "Text3", "Text4", "Command1", "Command2", "Command3"}));
    EXPECT_FALSE(f.oksel);
}

TEST(RangeDialogForm, GetRangeWritesOnlyValidAxes) {
    graphane::FrmRange f;
    f.SetRange(1, 2, 5, 5);
    double a = -1, b = -1, c = -1, d = -1;
    EXPECT_EQ(f.GetRange(a, b, c, d), 0);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(b, 2.0);
    EXPECT_EQ(c, -1.0);
    f.SetRange(0.25, 0.5, -3, 1e20);
    EXPECT_EQ(f.field(0)->text(), ".25");
    EXPECT_EQ(f.field(3)->text(), "1E+20");
    EXPECT_EQ(f.GetRange(a, b, c, d), 1);
    EXPECT_EQ(d, 1e20);
}

TEST(RangeDialogForm, LeadingNumberReadsLikeVal) {
    EXPECT_EQ(graphane::leadingNumber("12abc"), 12.0);
    EXPECT_EQ(graphane::leadingNumber("abc"), 0.0);
    EXPECT_EQ(graphane::leadingNumber("  -1.5e2"), -150.0);
    EXPECT_EQ(graphane::leadingNumber("3e"), 3.0);
    EXPECT_EQ(graphane::leadingNumber(".5"), 0.5);
    EXPECT_EQ(graphane::leadingNumber("-"), 0.0);
}

TEST(RangeDialogModal, RealDialogThroughTheInterface) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->widget()->show();
    QTimer::singleShot(0, [] {
        QWidget *dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QLineEdit *>("Text2")->setText("250");
        dlg->findChild<QPushButton *>("Command1")->click();
    });
    EXPECT_TRUE(chart.call(d::DialogRange).toBool());
    EXPECT_EQ(chart.get(d::xmax).toR4(), 250.0f);
}
