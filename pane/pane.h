// Pane: a clickable picture with a centred caption, used as a large graphical
// button. Hovering shows the highlight picture with a white caption and a hand
// cursor, pressing the pressed picture; a 100 ms leave check restores the
// normal look once the cursor is outside. Clicks on picture or caption raise
// Click.
//
//   auto pane = korva::Pane::createNew();          // Initialize + Resize
//   layout->addWidget(pane->widget());
//   pane->setTextCaption("Open");
//   QObject::connect(pane.get(), &korva::Pane::Click, [] { ... });
#pragma once

#include "frame/runtime/control.h"

#include <memory>

namespace korva {

class PanePrivate;

class KORVA_EXPORT Pane : public Control {
    Q_OBJECT
public:
    Pane();
    ~Pane() override;

    // A new instance as the runtime delivers one to a form: Initialize, then Resize.
    static std::unique_ptr<Pane> createNew();

    // Enabled is write-only on the pane's own interface.
    void setEnabled(bool v);
    QString TextCaption() const;
    void setTextCaption(const QString& sCaption);

    static const ClassInfo& staticClassInfo();

signals:
    void Click();

protected:
    void onInitialize() override;
    void onReadProperties(const PropertyBag& bag) override;
    void onWriteProperties(PropertyBag& bag) override;
    void onResize() override;
    InvokeStatus onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args,
                          Value& result) override;

private:
    std::unique_ptr<PanePrivate> d;
    friend class PanePrivate;
};

} // namespace korva
