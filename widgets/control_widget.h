// ControlWidget: a control as a plain QWidget, for Qt Designer, .ui files
// (uic and QUiLoader) and code that wants a widget class rather than a
// control object. It owns the control and shows the control's window filling
// itself; a small subclass per control class declares the control's public
// members as Q_PROPERTYs that forward to the control, and its events as
// signals of the same name, which relaySignals() connects.
//
// Why a wrapper: a control is a QObject that owns its window (so its members
// keep their own names, Enabled and Width among them, without clashing with
// QWidget's); Designer and QUiLoader create widgets by class name and edit
// the properties of that widget's own meta-object.
//
//   auto* w = new korva::PaneWidget(parent);
//   w->setTextCaption("Open");
//   connect(w, &korva::PaneWidget::Click, ...);
//   static_cast<korva::Pane*>(w->control())->...   // the full control
#pragma once

#include "korvactl_export.h"

#include <QWidget>

#include <memory>

namespace korva {

class Control;

class KORVA_EXPORT ControlWidget : public QWidget {
    Q_OBJECT
public:
    ~ControlWidget() override;

    Control* control() const { return control_.get(); }

    // The size a new instance of the class gets on a form.
    QSize sizeHint() const override;

protected:
    ControlWidget(std::unique_ptr<Control> control, QWidget* parent);

    // Connects every signal of the control to the signal of this widget with
    // the same name and arguments, so the control's events and change
    // notifications arrive on the widget. Call it at the end of the
    // subclass's constructor, once its meta-object is complete.
    void relaySignals();
    // Whether relaySignals() connected the control's `signature` ("Click()"):
    // a wrapper announces a change itself only where the control does not.
    bool relays(const char* signature) const;

private:
    std::unique_ptr<Control> control_;
    QList<QByteArray> relayed_;
};

} // namespace korva
