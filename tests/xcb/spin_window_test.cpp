// Spin on a real window: the focus arriving at the control as a whole, typing,
// and the right button.
#include "real_window.h"
#include "spin/spin.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

using namespace korva;
using namespace korva::xcb;

namespace {

class SpinWindow : public RealWindow {
protected:
    // A dialog with an edit before the spin, or the spin alone.
    void build(bool editFirst) {
        spin.reset();
        edit = nullptr;
        dialog = std::make_unique<QDialog>();
        dialog->resize(300, 100);
        if (editFirst) {
            edit = new QLineEdit(dialog.get());
            edit->setGeometry(10, 10, 80, 24);
        }
        spin = Spin::createNew();
        spin->setMax(99999);
        spin->setText("");
        place(*dialog, *spin, {100, 10});
        spin->addSink(&log);
    }

    std::unique_ptr<QDialog> dialog;
    QLineEdit* edit = nullptr;
    std::unique_ptr<Spin> spin;
    EventLog log;
};

// However the focus arrives, the digits typed next land in the spin's text.
TEST_F(SpinWindow, FocusArrivesAndDigitsAreTyped) {
    enum class Arrival { Tab, SetFocusOnWidget, DialogsFirstFocus };
    const struct {
        const char* name;
        Arrival how;
    } rows[] = {
        {"Tab from the edit before it", Arrival::Tab},
        {"setFocus() on the control's widget", Arrival::SetFocusOnWidget},
        {"the dialog's first focus", Arrival::DialogsFirstFocus},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        build(r.how == Arrival::Tab);
        showActive(*dialog);
        if (r.how == Arrival::Tab) {
            edit->setFocus(Qt::OtherFocusReason);
            input.key(Qt::Key_Tab);
        } else if (r.how == Arrival::SetFocusOnWidget) {
            spin->widget()->setFocus(Qt::OtherFocusReason);
        }
        EXPECT_TRUE(hasFocus(*spin)) << focusName();
        QSignalSpy changes(spin.get(), &Spin::Change);
        input.type("42");
        EXPECT_EQ(spin->Text(), "42");
        EXPECT_EQ(changes.count(), 2);
        EXPECT_EQ(log.only({"KeyPress"}), QStringList({"KeyPress", "KeyPress"}));
        log.lines.clear();
    }
}

// The right button is the host's: over the text MouseUp reports it, over the
// frame nothing does, and neither the text box's menu nor the form's opens.
TEST_F(SpinWindow, RightClickRaisesMouseUpWithButtonTwoAndOpensNoMenu) {
    const struct {
        const char* name;
        int x;
        int ups;
    } rows[] = {
        {"over the text", 10, 1},
        {"over the frame", 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        build(false);
        // The form has a menu of its own, which a right click passed on would open.
        QAction formAction(QStringLiteral("Form"));
        dialog->addAction(&formAction);
        dialog->setContextMenuPolicy(Qt::ActionsContextMenu);
        showActive(*dialog);
        // A menu opened by the click runs its own event loop; close it from a
        // timer so that the test goes on and can report it.
        bool menuOpened = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuOpened = true;
                popup->close();
            }
        });
        closer.start(20);
        QWidget* w = spin->widget();
        input.moveTo(w, {r.x, w->height() / 2});
        input.click(Qt::RightButton);
        // A menu needs a moment to map; none may come.
        EXPECT_FALSE(QTest::qWaitFor([&] { return menuOpened; }, 300));
        const QStringList ups = log.lines.filter(QRegularExpression("^MouseUp\\("));
        ASSERT_EQ(ups.size(), r.ups) << log.lines.join(u' ').toStdString();
        if (r.ups) {
            EXPECT_TRUE(ups[0].startsWith("MouseUp(2, ")) << ups[0].toStdString();
        }
        log.lines.clear();
        input.moveTo(kParked);
    }
}

} // namespace
