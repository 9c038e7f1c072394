// Spin disabled while typing, and under a palette change while disabled.
// (Focus, typing and the right click run on a real X server: tests/xcb.)
#include "frame/colour/colour_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/element_p.h"
#include "frame/values/property_bag.h"
#include "spin/spin.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <span>
#include <vector>

using namespace korva;

namespace {

// A dialog with a line edit before the Spin and one after it.
struct Form {
    QDialog dialog;
    QLineEdit* before = new QLineEdit(&dialog);
    std::unique_ptr<Spin> spin = Spin::createNew();
    QLineEdit* after = new QLineEdit(&dialog);
    Form() {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(before);
        layout->addWidget(spin->widget());
        layout->addWidget(after);
        QWidget::setTabOrder(before, spin->widget());
        QWidget::setTabOrder(spin->widget(), after);
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    ~Form() { spin->widget()->setParent(nullptr); }
};

} // namespace

TEST(SpinFocus, DisablingWhileTypingLeavesTheText) {
    Form f;
    f.spin->widget()->setFocus();
    f.spin->setText(QStringLiteral("23")); // above Max 10
    QSignalSpy changes(f.spin.get(), &Spin::Change);
    f.spin->setEnabled(false);
    EXPECT_EQ(f.spin->Text(), "23");
    EXPECT_EQ(changes.count(), 0);
}

// The disabled background is a blend of system colours: under a palette that
// the system colours follow it is the blend of that palette, also for a
// control saved under the default colours, and it is saved as the default blend.
TEST(SpinFocus, DisabledBackgroundFollowsThePalette) {
    Platform& platform = Platform::instance();
    const QPalette original = QApplication::palette();
    const uint32_t lightBlend = static_cast<uint32_t>(BlendColor(0x8000000F, 0x80000005, 140));

    auto spin = Spin::createNew();
    spin->setEnabled(false);
    PropertyBag saved;
    spin->WriteProperties(saved);

    platform.setFollowQtPalette(true);
    QPalette dark(QColor(60, 60, 64), QColor(45, 45, 48));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    QApplication::setPalette(dark);
    const uint32_t darkBlend = static_cast<uint32_t>(BlendColor(0x8000000F, 0x80000005, 140));
    ASSERT_NE(darkBlend, lightBlend);

    EXPECT_EQ(spin->BackColor(), darkBlend) << "a palette change derives it again";
    EXPECT_EQ(static_cast<PictureBoxElement*>(spin->element(u"picfraBOX"))->BackColor(), darkBlend);

    auto loaded = Spin::createNew();
    loaded->ReadProperties(saved);
    EXPECT_EQ(loaded->BackColor(), darkBlend) << "saved under the default colours";
    PropertyBag again;
    loaded->WriteProperties(again);
    EXPECT_EQ(again, saved) << "a form saved under the dark palette loads as any other";

    auto chosen = Spin::createNew();
    chosen->setEnabled(false);
    chosen->setBackColor(0x000000FF);
    platform.setFollowQtPalette(false);
    QApplication::setPalette(original);
    EXPECT_EQ(chosen->BackColor(), 0x000000FFu) << "a colour the host gave stays";
    EXPECT_EQ(spin->BackColor(), lightBlend);
}

namespace {

struct EventNames : EventSink {
    QStringList& log;
    explicit EventNames(QStringList& l) : log(l) {}
    void onEvent(Control& c, int32_t number, std::span<Value* const>) override {
        log << QStringLiteral("event ") + c.classInfo().eventByNumber(number)->name;
    }
};

// A person's mouse over the frame, logged: the frame's notifications, the
// control's events, where the focus went, and any menu the form was asked for.
QStringList mouseOverTheFrame(bool withItsField) {
    Form f;
    QStringList log;
    Element* frame = f.spin->element(u"txtBORDER");
    if (withItsField)
        frame->widget();
    ElementHandlers& on = frame->handlers();
    const auto mouse = [&log](const char* what) {
        return [&log, what](int16_t b, int16_t s, float x, float y) {
            log << QStringLiteral("%1(%2, %3, %4, %5)").arg(QLatin1String(what)).arg(b).arg(s).arg(x).arg(y);
        };
    };
    on.onMouseDown = mouse("MouseDown");
    on.onMouseMove = mouse("MouseMove");
    on.onMouseUp = mouse("MouseUp");
    on.onClick = [&log] { log << QStringLiteral("Click"); };
    on.onDblClick = [&log] { log << QStringLiteral("DblClick"); };
    EventNames events(log);
    f.spin->addSink(&events);
    f.dialog.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&f.dialog, &QWidget::customContextMenuRequested,
                     [&log] { log << QStringLiteral("menu"); });
    f.before->setFocus();

    QWindow* window = f.dialog.windowHandle();
    QWidget* site = f.spin->widget();
    const QPoint edge = site->mapTo(&f.dialog, QPoint(1, site->height() / 2));
    const QPoint outside = site->mapTo(&f.dialog, QPoint(-4, site->height() / 2));
    QTest::mouseMove(window, edge);
    QTest::mouseClick(window, Qt::LeftButton, {}, edge);
    const bool inText = QApplication::focusWidget() == f.spin->element(u"txtUPDOWN")->widget();
    log << QStringLiteral("focus in the text: %1").arg(inText);
    QTest::mouseDClick(window, Qt::LeftButton, {}, edge);
    QTest::mouseClick(window, Qt::RightButton, {}, edge);
    // Pressed on the frame, released beside the control: the frame keeps the pointer.
    QTest::mousePress(window, Qt::LeftButton, {}, edge);
    QTest::mouseMove(window, outside);
    QTest::mouseRelease(window, Qt::LeftButton, {}, outside);
    f.spin->removeSink(&events);
    return log;
}

} // namespace

// Drawn by the control's window, the frame still gets its mouse input as its
// field got it, and the control and the form see what they saw then.
TEST(SpinFocus, MouseOverTheFrameIsTheFramesAsWithItsField) {
    const QStringList drawn = mouseOverTheFrame(false);
    const QStringList field = mouseOverTheFrame(true);
    EXPECT_EQ(drawn, field);
    // In twips from the frame's corner: one pixel in, and four pixels left of the control.
    const double tp = Platform::instance().twipsPerPixelX();
    const QString y = QString::number(Spin::createNew()->widget()->height() / 2 * tp);
    const auto at = [&](const char* what, int button, double x) {
        return QStringLiteral("%1(%2, 0, %3, %4)").arg(QLatin1String(what)).arg(button).arg(x).arg(y);
    };
    const QStringList expected = {
        at("MouseMove", 0, tp), at("MouseDown", 1, tp), at("MouseUp", 1, tp), "Click", "focus in the text: 1",
        // A double click: the second press is DblClick and its release no Click.
        at("MouseDown", 1, tp), at("MouseUp", 1, tp), "Click", "DblClick", at("MouseUp", 1, tp),
        // The right button: no menu, no event of the control's.
        at("MouseDown", 2, tp), at("MouseUp", 2, tp), "Click", at("MouseDown", 1, tp),
        at("MouseMove", 1, -4 * tp), at("MouseUp", 1, -4 * tp)};
    EXPECT_EQ(drawn, expected);
}
