// PaneWidget: the Pane control as a widget (see control_widget.h), with
// TextCaption and Enabled as properties Designer edits and .ui files store,
// and the Click event as a signal.
#pragma once

#include "widgets/control_widget.h"

namespace korva {

class Pane;

class KORVA_EXPORT PaneWidget : public ControlWidget {
    Q_OBJECT
    Q_PROPERTY(QString TextCaption READ TextCaption WRITE setTextCaption NOTIFY TextCaptionChanged)
    // The pane's own Enabled, apart from QWidget's `enabled`: disabling the
    // pane shows its pressed picture with a golden caption.
    Q_PROPERTY(bool Enabled READ Enabled WRITE letEnabled)
public:
    explicit PaneWidget(QWidget* parent = nullptr);

    Pane* pane() const;

    QString TextCaption() const;
    void setTextCaption(const QString& sCaption);
    bool Enabled() const;
    void letEnabled(bool v);

signals:
    void Click();
    void TextCaptionChanged();
};

} // namespace korva
