#include "widgets/pane_widget.h"

#include "pane/pane.h"

namespace korva {

PaneWidget::PaneWidget(QWidget* parent) : ControlWidget(Pane::createNew(), parent) { relaySignals(); }

Pane* PaneWidget::pane() const { return static_cast<Pane*>(control()); }

QString PaneWidget::TextCaption() const { return pane()->TextCaption(); }

void PaneWidget::setTextCaption(const QString& sCaption) {
    if (pane()->TextCaption() == sCaption)
        return;
    pane()->setTextCaption(sCaption);
    if (!relays("TextCaptionChanged()"))
        emit TextCaptionChanged();
}

bool PaneWidget::Enabled() const { return pane()->site()->Enabled(); }

void PaneWidget::letEnabled(bool v) { pane()->setEnabled(v); }

} // namespace korva
