// A small non-visual control for the automation tests.
#include "testcontrol.h"

#include <string>

#include "automation/errors.h"
#include "automation/plugin.h"
#include "automation/safearray.h"

using namespace automation;

namespace {

class TestControl : public ControlBase {
  public:
    TestControl() {
        table().add({testctl::Add,
                     "Add",
                     InvokeKind::Method,
                     {{ArgType::I2}, {ArgType::I2}},
                     ArgType::I4,
                     [](Args &a) { return Variant(int32_t(a[0].toI2()) + a[1].toI2()); }});
        table().add({testctl::Level, "Level", InvokeKind::PropertyGet, {}, ArgType::I2, [this](Args &) {
                         return Variant(level_);
                     }});
        table().add({testctl::Level,
                     "Level",
                     InvokeKind::PropertyPut,
                     {{ArgType::I2}},
                     ArgType::None,
                     [this](Args &a) {
                         level_ = a[0].toI2();
                         return Variant();
                     }});
        table().add(
            {testctl::Caption, "Caption", InvokeKind::PropertyGet, {}, ArgType::String, [this](Args &) {
                 return Variant(caption_);
             }});
        table().add({testctl::Caption,
                     "Caption",
                     InvokeKind::PropertyPut,
                     {{ArgType::String}},
                     ArgType::None,
                     [this](Args &a) {
                         caption_ = a[0].toString();
                         return Variant();
                     }});
        table().add(
            {testctl::Scale, "Scale", InvokeKind::PropertyGet, {{ArgType::I2}}, ArgType::R4, [this](Args &a) {
                 return Variant(scale_[slot(a[0].toI2())]);
             }});
        table().add({testctl::Scale,
                     "Scale",
                     InvokeKind::PropertyPut,
                     {{ArgType::I2}, {ArgType::R4}},
                     ArgType::None,
                     [this](Args &a) {
                         scale_[slot(a[0].toI2())] = a[1].toR4();
                         return Variant();
                     }});
        table().add({testctl::Swap,
                     "Swap",
                     InvokeKind::Method,
                     {{ArgType::I4, true}, {ArgType::I4, true}},
                     ArgType::None,
                     [](Args &a) {
                         std::swap(a[0], a[1]);
                         return Variant();
                     }});
        table().add({testctl::SumFromZero,
                     "SumFromZero",
                     InvokeKind::Method,
                     {{ArgType::ArrayR4, true}, {ArgType::I4}},
                     ArgType::R4,
                     [](Args &a) {
                         SafeArray &x = a[0].array();
                         int32_t n = a[1].toI4();
                         ArrayLock lock(x);
                         auto *p = static_cast<float *>(elementZero(x, n));
                         float sum = 0;
                         for (int32_t i = 0; i < n; ++i) {
                             sum += p[i];
                             p[i] *= 2;
                         }
                         return Variant(sum);
                     }});
        table().add(
            {testctl::Narrow, "Narrow", InvokeKind::Method, {{ArgType::I4}}, ArgType::I2, [](Args &a) {
                 return Variant(narrowToI2(a[0].toI4()));
             }});
        table().add(
            {testctl::Fire, "Fire", InvokeKind::Method, {{ArgType::I4}}, ArgType::I4, [this](Args &a) {
                 Args event{Variant(a[0].toI4())};
                 raiseEvent(testctl::EventPing, event);
                 return event[0];
             }});
    }

    void loadProperties(const PropertyBag &bag) override {
        level_ = bag.read("Level", Variant(int16_t(3))).toI2();
        caption_ = bag.read("Caption", Variant("Test")).toString();
    }
    void saveProperties(PropertyBag &bag) const override {
        bag.write("Level", Variant(level_), Variant(int16_t(3)));
        bag.write("Caption", Variant(caption_), Variant("Test"));
    }

  private:
    static int slot(int16_t i) {
        if (i < 0 || i > 3) raise(err::SubscriptOutOfRange);
        return i;
    }
    int16_t level_ = 3;
    std::string caption_ = "Test";
    float scale_[4] = {1, 1, 1, 1};
};

}  // namespace

extern "C" Control *automation_create_control(const char *progId) {
    if (std::string(progId) != "AutomationTest.TestControl") return nullptr;
    return new TestControl;
}
