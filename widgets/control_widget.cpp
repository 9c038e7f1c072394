#include "widgets/control_widget.h"

#include "frame/platform/platform_p.h"
#include "frame/runtime/control.h"
#include "frame/runtime/site.h"

#include <QMetaMethod>
#include <QVBoxLayout>

#include <cmath>

namespace korva {

ControlWidget::ControlWidget(std::unique_ptr<Control> control, QWidget* parent)
    : QWidget(parent), control_(std::move(control)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(control_->widget());
    // Inner parts of the widget: the "qt_" prefix keeps form builders from
    // saving them into .ui files as children of their own.
    layout->setObjectName(QStringLiteral("qt_control_layout"));
    control_->widget()->setObjectName(QStringLiteral("qt_control_window"));
    // The control's window is what takes the focus and what screen readers see.
    setFocusProxy(control_->widget());
}

// The control (and with it its window) goes before QWidget deletes children.
ControlWidget::~ControlWidget() = default;

QSize ControlWidget::sizeHint() const {
    const QSize twips = control_->classInfo().designSize;
    const Platform& p = Platform::instance();
    return {static_cast<int>(std::lround(twips.width() / p.twipsPerPixelX())),
            static_cast<int>(std::lround(twips.height() / p.twipsPerPixelY()))};
}

void ControlWidget::relaySignals() {
    const QMetaObject* from = control_->metaObject();
    const QMetaObject* to = metaObject();
    for (int i = Control::staticMetaObject.methodOffset(); i < from->methodCount(); ++i) {
        const QMetaMethod signal = from->method(i);
        if (signal.methodType() != QMetaMethod::Signal)
            continue;
        const int target = to->indexOfSignal(signal.methodSignature().constData());
        if (target >= ControlWidget::staticMetaObject.methodOffset() &&
            QMetaObject::connect(control_.get(), i, this, target))
            relayed_.append(signal.methodSignature());
    }
}

bool ControlWidget::relays(const char* signature) const { return relayed_.contains(QByteArray(signature)); }

} // namespace korva
