// control.h - the one interface every control implements, and a base class that dispatches
// calls through a table of members.
//
// A host calls members by DISPID only: invoke(dispid, kind, args). Arguments come in the
// member's declared order; by-reference parameters are written back into `args`; a member's
// result is the return value. Failures raise automation::Error with the host's error number.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "automation/propertybag.h"
#include "automation/variant.h"

class QWidget;

namespace automation {

using DispId = int32_t;

enum class InvokeKind { Method, PropertyGet, PropertyPut };

// Receives the events a control raises: its DISPID and its arguments (by reference: the
// sink may change them and the control reads them back).
using EventSink = std::function<void(DispId, Args &)>;
// Told the name of a property whose change the container should record.
using PropertyChangedSink = std::function<void(const std::string &)>;

class Control {
  public:
    virtual ~Control();
    virtual Variant invoke(DispId id, InvokeKind kind, Args &args) = 0;
    virtual void connectEvents(EventSink sink) = 0;
    virtual void connectPropertyChanged(PropertyChangedSink sink) = 0;
    virtual void loadProperties(const PropertyBag &bag) = 0;
    virtual void saveProperties(PropertyBag &bag) const = 0;
    // The widget of a visual control (owned by the control), null for a non-visual one.
    virtual QWidget *widget() = 0;
};

// Declared type of a parameter or result. Scalars are converted to it before the handler
// runs; array types check the element type of the caller's array.
enum class ArgType {
    None,
    I2,
    I4,
    R4,
    R8,
    Bool,
    Byte,
    String,
    Picture,
    Any,
    ArrayR4,
    ArrayI4,
    ArrayI2,
    ArrayByte,
    ArrayR8,
    ArrayString
};

struct Param {
    ArgType type;
    bool byRef = false;
};

using Handler = std::function<Variant(Args &)>;

struct Member {
    DispId id;
    std::string name;
    InvokeKind kind;
    std::vector<Param> params;
    ArgType result;
    Handler handler;
};

// The members of one control. dispatch() finds the member (438 if none), checks the argument
// count (450), converts every argument in place to its declared type (6 / 13 on failure),
// runs the handler and converts its result.
class MemberTable {
  public:
    void add(Member member);
    const Member *find(DispId id, InvokeKind kind) const;
    const Member *findByName(const std::string &name, InvokeKind kind) const;
    Variant dispatch(DispId id, InvokeKind kind, Args &args) const;
    const std::vector<Member> &members() const { return members_; }

  private:
    std::vector<Member> members_;
};

// Converts one argument to a declared type, raising 6 or 13 as a host would.
Variant convertTo(ArgType type, const Variant &value);

// A control whose members live in a MemberTable; subclasses fill table() in their
// constructor and raise events with raiseEvent().
class ControlBase : public Control {
  public:
    Variant invoke(DispId id, InvokeKind kind, Args &args) override;
    void connectEvents(EventSink sink) override { events_ = std::move(sink); }
    void connectPropertyChanged(PropertyChangedSink sink) override { changed_ = std::move(sink); }
    void loadProperties(const PropertyBag &) override {}
    void saveProperties(PropertyBag &) const override {}
    QWidget *widget() override { return nullptr; }
    // The declared members, for tools that list or exercise them.
    const MemberTable &memberTable() const { return table_; }

  protected:
    MemberTable &table() { return table_; }
    void raiseEvent(DispId id, Args &args);
    void propertyChanged(const std::string &name);

  private:
    MemberTable table_;
    EventSink events_;
    PropertyChangedSink changed_;
};

}  // namespace automation
