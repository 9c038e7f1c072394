// HostedControl: one control instance on the host's form, reached through
// its interfaces only. It names the instance, keeps its place on the form,
// logs every event it raises and turns dispatch results into plain messages.
#pragma once

#include "frame/component/com_interfaces.h"
#include "frame/values/class_info.h"

#include <QString>

#include <functional>
#include <vector>

namespace korva::host {

class HostedControl {
public:
    // Receives "event NAME.Event(ARG, ...)" lines while the event is raised.
    using EventLog = std::function<void(const QString& line)>;

    HostedControl(QString name, ComPtr<IKorvaControl> control, EventLog log);
    // Detaches from the events, delivers Terminate and releases the instance.
    ~HostedControl();
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    const QString& name() const { return name_; }
    const ClassInfo& classInfo() const { return *info_; }
    IKorvaControl* control() const { return control_.get(); }
    QWidget* window() const { return control_->Window(); }

    // Position on the form, twips.
    int left() const { return left_; }
    int top() const { return top_; }
    void setPosition(int left, int top) {
        left_ = left;
        top_ = top;
    }

    // Member access by name. On failure `error` says what did not fit; the
    // member's own spelling is returned through `memberName`.
    bool get(const QString& member, Value& out, QString* memberName, QString* error);
    bool put(const QString& member, const Value& value, bool bySet, QString* error);
    bool call(const QString& member, std::vector<Value>& args, Value& result, QString* memberName,
              QString* error);

private:
    class Sink;
    const MemberInfo* lookup(const QString& member, QString* error) const;
    bool invoke(const MemberInfo& m, uint16_t flags, std::vector<Value>& args, Value* result, QString* error);

    QString name_;
    ComPtr<IKorvaControl> control_;
    ComPtr<IKorvaDispatch> dispatch_;
    ComPtr<IKorvaConnectionPoint> events_;
    Sink* sink_ = nullptr;
    uint32_t cookie_ = 0;
    const ClassInfo* info_ = nullptr;
    int left_ = 0;
    int top_ = 0;
};

// The start of a text a message quotes: a stray value may be megabytes long.
QString startOf(const QString& text);

// "NAME.Event(ARG, ...)" with the arguments in value syntax.
QString formatEvent(const QString& control, const ClassInfo& info, int32_t number, Value* const* args,
                    uint32_t count);

} // namespace korva::host
