// A Pane on a plain Qt window: created, captioned, connected, and clicked once
// so the program can tell that the whole path works.
#include "pane/pane.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);

    auto pane = korva::Pane::createNew();
    pane->setTextCaption(QStringLiteral("Press me"));
    layout->addWidget(pane->widget());
    int clicks = 0;
    QObject::connect(pane.get(), &korva::Pane::Click, [&] { ++clicks; });
    window.show();

    // With --self-test the program clicks the pane itself and reports.
    if (app.arguments().contains(QStringLiteral("--self-test"))) {
        if (!QTest::qWaitForWindowExposed(&window))
            return 2;
        QWidget* target = pane->widget()->childAt(5, 5);
        QTest::mouseClick(target ? target : pane->widget(), Qt::LeftButton, {}, QPoint(2, 2));
        std::printf("clicks: %d\n", clicks);
        pane.reset(); // release the control before its window's new parent goes
        return clicks == 1 ? 0 : 1;
    }
    const int rc = QApplication::exec();
    pane.reset();
    return rc;
}
