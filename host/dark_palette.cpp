#include "host/dark_palette.h"

#include "host/library.h"

#include <QApplication>
#include <QStyleFactory>

namespace korva::host {

QPalette darkPalette() {
    const QColor window(45, 45, 48), base(30, 30, 32), text(232, 232, 232), button(60, 60, 64);
    QPalette p(button, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Light, QColor(110, 110, 116));
    p.setColor(QPalette::Midlight, QColor(85, 85, 90));
    p.setColor(QPalette::Mid, QColor(50, 50, 54));
    p.setColor(QPalette::Dark, QColor(25, 25, 27));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::Highlight, QColor(64, 128, 220));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 130, 130));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 130, 130));
    return p;
}

void useDarkPalette(KorvaLibrary& library) {
    // Fusion draws with the palette everywhere; some platform styles do not.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    library.runtime()->FollowQtPalette(true);
}

} // namespace korva::host
