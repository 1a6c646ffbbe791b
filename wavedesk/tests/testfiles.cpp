// testfiles.cpp - helpers of the workbench tests.
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <algorithm>
#include <sstream>

#include "automation/errors.h"
#include "automation/plugin.h"
#include "automation/safearray.h"
#include "form2.h"
#include "form3.h"
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

namespace {

void cancelFileDialogsAnswerMessages() {
    forms::CommonDialog::setChooser(
        [](forms::CommonDialog::Mode, const forms::CommonDialog &) -> std::optional<QString> {
            return std::nullopt;
        });
    forms::setMessageHook([](const forms::MessageRequest &) { return forms::MsgResult::Ok; });
}

}  // namespace

ScriptedUi::~ScriptedUi() {
    cancelFileDialogsAnswerMessages();
}

namespace {

const std::map<DispId, const char *> &memberNames() {
    static const std::map<DispId, const char *> names = {
        {id::BorderStyle, "BorderStyle"},
        {id::BorderColor, "BorderColor"},
        {id::BackColor, "BackColor"},
        {id::MarginLeft, "MarginLeft"},
        {id::MarginTop, "MarginTop"},
        {id::MarginRight, "MarginRight"},
        {id::MarginBottom, "MarginBottom"},
        {id::TitleX, "TitleX"},
        {id::TitleY, "TitleY"},
        {id::xmin, "xmin"},
        {id::xmax, "xmax"},
        {id::ymin, "ymin"},
        {id::ymax, "ymax"},
        {id::nSeries, "nSeries"},
        {id::DotStyle, "DotStyle"},
        {id::LineStyle, "LineStyle"},
        {id::LineWidth, "LineWidth"},
        {id::LineColor, "LineColor"},
        {id::DotColor, "DotColor"},
        {id::nPoints, "nPoints"},
        {id::GridSel, "GridSel"},
        {id::GridColor, "GridColor"},
        {id::nGridx, "nGridx"},
        {id::nGridy, "nGridy"},
        {id::CreateSeries, "CreateSeries"},
        {id::SetSeries, "SetSeries"},
        {id::GetSeries, "GetSeries"},
        {id::SetGridxVal, "SetGridxVal"},
        {id::SetGridyVal, "SetGridyVal"},
        {id::Plot, "Plot"},
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
        if (array.type() == automation::ElemType::I4)
            out << array.i4(at);
        else
            out << array.r4(at);
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
    std::string line = kind == InvokeKind::Method        ? "call "
                       : kind == InvokeKind::PropertyGet ? "get "
                                                         : "put ";
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

SpyControl::SpyControl(std::unique_ptr<automation::Control> inner) : inner_(std::move(inner)) {}
SpyControl::~SpyControl() = default;

namespace {

std::vector<Variant> scalars(const Args &a) {
    std::vector<Variant> out;
    for (const Variant &v : a) out.push_back(v.type() == automation::VarType::Array ? Variant() : v);
    return out;
}

}  // namespace

Variant SpyControl::invoke(DispId id, InvokeKind kind, Args &args) {
    calls.push_back({id, kind, scalars(args)});
    return inner_->invoke(id, kind, args);
}

void SpyControl::connectEvents(automation::EventSink sink) {
    inner_->connectEvents([this, sink](DispId id, Args &args) {
        events.push_back({id, InvokeKind::Method, scalars(args)});
        if (sink) sink(id, args);
    });
}

void SpyControl::connectPropertyChanged(automation::PropertyChangedSink sink) {
    inner_->connectPropertyChanged(std::move(sink));
}
void SpyControl::loadProperties(const automation::PropertyBag &bag) {
    inner_->loadProperties(bag);
}
void SpyControl::saveProperties(automation::PropertyBag &bag) const {
    inner_->saveProperties(bag);
}
QWidget *SpyControl::widget() {
    return inner_->widget();
}

std::vector<SpyControl::Call> SpyControl::callsOf(DispId id) const {
    std::vector<Call> out;
    for (const Call &c : calls)
        if (c.id == id && c.kind == InvokeKind::Method) out.push_back(c);
    return out;
}

// ---- WorkbenchTest ---------------------------------------------------------------------------

namespace {

bool controlsBuilt() {
    const std::string dir = automation::programFolder();
    for (const char *lib : {"libgraphane.so", "libtessiq.so", "libsigmora.so"})
        if (!QFile::exists(QString::fromStdString(dir + lib))) return false;
    return true;
}

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at) {
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

void WorkbenchTest::SetUp() {
    if (!controlsBuilt()) GTEST_SKIP() << "the chart or DSP control is not built";
    form = std::make_unique<Form1>(
        nullptr, [this](const std::string &progId) -> std::unique_ptr<automation::Control> {
            auto spy = std::make_unique<SpyControl>(automation::createControl(progId));
            made.emplace_back(progId, spy.get());
            return spy;
        });
    form->show();
    QApplication::processEvents();
}

void WorkbenchTest::TearDown() {
    form.reset();
}

SpyControl *WorkbenchTest::spy(const std::string &progId, int nth) const {
    for (const auto &[id, control] : made)
        if (id == progId && nth-- == 0) return control;
    return nullptr;
}

Form2 *WorkbenchTest::existingForm2() const {
    return form->findChild<Form2 *>();
}

void WorkbenchTest::trigger(const char *name) {
    QAction *action = form->menuItem(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

void WorkbenchTest::open(const std::vector<long long> &microvolts) {
    ui.choose(files.writeLines(QStringLiteral("data.sepu"), microvolts));
    trigger("idm_OpenData");
}

void WorkbenchTest::preprocess() {
    Form3::setScript([](Form3 &dialog) { dialog.Command1->click(); });
    trigger("idm_WaveletFilter");
    installDefaultAnswers();
}

void WorkbenchTest::drag(automation::ControlHandle &c, QPointF from, QPointF to) {
    QWidget *w = c->widget();
    sendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    sendMouse(w, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, (from + to) / 2);
    sendMouse(w, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
    sendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
}

QPointF WorkbenchTest::pixelAt(automation::ControlHandle &c, float xv, float yv) {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    c.call(id::GetChartArea, x1, y1, x2, y2);
    const double xmin = c.get(id::xmin).toR4(), xmax = c.get(id::xmax).toR4();
    const double ymin = c.get(id::ymin).toR4(), ymax = c.get(id::ymax).toR4();
    return {x1 + (xv - xmin) / (xmax - xmin) * (x2 - x1), y2 - (yv - ymin) / (ymax - ymin) * (y2 - y1)};
}

std::vector<float> WorkbenchTest::series(automation::ControlHandle &c, int16_t k, std::vector<float> *x) {
    const int32_t n = c.get(id::nPoints, k).toI4();
    automation::SafeArray xs(automation::ElemType::R4, 0, std::max(n, 1)),
        ys(automation::ElemType::R4, 0, std::max(n, 1));
    int32_t start = 0, count = n;
    if (n > 0) c.call(id::GetSeries, k, xs, ys, start, count);
    std::vector<float> xv = xs.floats(), yv = ys.floats();
    xv.resize(static_cast<std::size_t>(std::max(n, 0)));
    yv.resize(xv.size());
    if (x) *x = xv;
    return yv;
}

QImage WorkbenchTest::picture(automation::ControlHandle &c) {
    const QString path = files.path(QStringLiteral("picture.bmp"));
    if (c.call(id::SaveAsBmpFile, path.toStdString()).toI4() != 1) return QImage();
    return QImage(path, "BMP");
}

int countColor(const QImage &image, const QRect &area, int32_t color) {
    const QRgb wanted = qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF)) ++n;
    return n;
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

// ---- Default answers --------------------------------------------------------------------------

namespace {

std::deque<std::function<void(QWidget *)>> &modalAnswers() {
    static std::deque<std::function<void(QWidget *)>> answers;
    return answers;
}

// Looks for an open modal window every few milliseconds, also inside the window's own event
// loop, and answers or closes it.
class ModalGuard : public QObject {
  public:
    ModalGuard() {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, &ModalGuard::check);
    }
    void start() { timer_.start(); }
    void stop() {
        timer_.stop();
        modalAnswers().clear();
    }

  private:
    void check() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        if (!modalAnswers().empty()) {
            auto answer = std::move(modalAnswers().front());
            modalAnswers().pop_front();
            answer(modal);
            return;
        }
        ADD_FAILURE() << "an unexpected modal window was open: " << modal->objectName().toStdString() << " \""
                      << modal->windowTitle().toStdString() << "\"";
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
    QTimer timer_;
};

ModalGuard *modalGuard() {
    static ModalGuard *guard = nullptr;
    if (guard == nullptr && QApplication::instance() != nullptr) {
        guard = new ModalGuard;
        guard->setParent(QApplication::instance());
    }
    return guard;
}

class DefaultAnswers : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override {
        installDefaultAnswers();
        if (ModalGuard *guard = modalGuard()) guard->start();
    }
    void OnTestEnd(const ::testing::TestInfo &) override {
        if (ModalGuard *guard = modalGuard()) guard->stop();
        installDefaultAnswers();
    }
};

const bool kDefaultAnswersRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new DefaultAnswers);
    return true;
}();

}  // namespace

void installDefaultAnswers() {
    cancelFileDialogsAnswerMessages();
    Form3::setScript([](Form3 &dialog) { dialog.Command2->click(); });
}

void answerNextModal(std::function<void(QWidget *)> answer) {
    modalAnswers().push_back(std::move(answer));
}

}  // namespace wavedesk::test
