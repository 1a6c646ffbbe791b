#include "automation/control.h"

#include "automation/errors.h"
#include "automation/safearray.h"

namespace automation {

Control::~Control() = default;

void MemberTable::add(Member member) {
    members_.push_back(std::move(member));
}

const Member *MemberTable::find(DispId id, InvokeKind kind) const {
    for (const Member &m : members_)
        if (m.id == id && m.kind == kind) return &m;
    return nullptr;
}

const Member *MemberTable::findByName(const std::string &name, InvokeKind kind) const {
    for (const Member &m : members_)
        if (m.name == name && m.kind == kind) return &m;
    return nullptr;
}

namespace {

ElemType elementOf(ArgType t) {
    switch (t) {
        case ArgType::ArrayR4: return ElemType::R4;
        case ArgType::ArrayI4: return ElemType::I4;
        case ArgType::ArrayI2: return ElemType::I2;
        case ArgType::ArrayByte: return ElemType::Byte;
        case ArgType::ArrayR8: return ElemType::R8;
        default: return ElemType::String;
    }
}

}  // namespace

Variant convertTo(ArgType type, const Variant &value) {
    switch (type) {
        case ArgType::None: return Variant();
        case ArgType::Any: return value;
        case ArgType::I2: return Variant(value.toI2());
        case ArgType::I4: return Variant(value.toI4());
        case ArgType::R4: return Variant(value.toR4());
        case ArgType::R8: return Variant(value.toR8());
        case ArgType::Bool: return Variant(value.toBool());
        case ArgType::Byte: return Variant(value.toByte());
        case ArgType::String: return Variant(value.toString());
        case ArgType::Picture:
            if (value.isEmpty() || value.picture()) return value;
            raise(err::TypeMismatch);
        default:
            if (value.array().type() != elementOf(type)) raise(err::TypeMismatch);
            return value;
    }
}

Variant MemberTable::dispatch(DispId id, InvokeKind kind, Args &args) const {
    const Member *m = find(id, kind);
    if (!m) raise(err::MemberNotSupported);
    if (args.size() != m->params.size()) raise(err::WrongArgumentCount);
    for (std::size_t i = 0; i < args.size(); ++i) args[i] = convertTo(m->params[i].type, args[i]);
    Variant result = m->handler(args);
    return convertTo(m->result, result);
}

Variant ControlBase::invoke(DispId id, InvokeKind kind, Args &args) {
    return table_.dispatch(id, kind, args);
}

void ControlBase::raiseEvent(DispId id, Args &args) {
    if (events_) events_(id, args);
}

void ControlBase::propertyChanged(const std::string &name) {
    if (changed_) changed_(name);
}

}  // namespace automation
