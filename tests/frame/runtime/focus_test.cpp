// Focus notifications of a control as a whole: the focus entering it from
// outside, leaving it for something else, and moving among its own windows
// (site, element windows, a drop-down tool window) without a word.
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/textbox_element_p.h"
#include "frame/runtime/control.h"
#include "frame/runtime/site.h"
#include "support/bare_class.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

using namespace korva;

namespace {

class FocusProbe : public Control {
public:
    FocusProbe(QString tag, QStringList& log) : Control(info()), tag_(std::move(tag)), log_(log) {
        txtA = addElement<TextBoxElement>(*this, QStringLiteral("txtA"));
        txtB = addElement<TextBoxElement>(*this, QStringLiteral("txtB"));
        picDROP = addElement<PictureBoxElement>(*this, QStringLiteral("picDROP"));
        picDROP->makeToolWindow();
        picDROP->Move(0, 0, 1500, 1500); // an empty window never becomes active
    }
    static const ClassInfo& info() {
        static const ClassInfo c = fixtures::bareClass("FocusProbe", QSize(1500, 750));
        return c;
    }
    QWidget* drop() const { return picDROP->widget(); }

    TextBoxElement* txtA;
    TextBoxElement* txtB;
    PictureBoxElement* picDROP;

protected:
    void onEnterFocus() override { log_ << tag_ + ".EnterFocus"; }
    void onGotFocus() override { log_ << tag_ + ".GotFocus"; }
    void onLostFocus() override { log_ << tag_ + ".LostFocus"; }
    void onExitFocus() override { log_ << tag_ + ".ExitFocus"; }

private:
    QString tag_;
    QStringList& log_;
};

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&form);
        outside = new QLineEdit(&form);
        layout->addWidget(outside);
        for (auto* p : {a.get(), b.get()}) {
            p->site()->setParent(&form);
            layout->addWidget(p->site());
        }
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        outside->setFocus();
        QApplication::processEvents();
        log.clear();
    }
    void TearDown() override {
        // The controls go before the form that holds their windows.
        a.reset();
        b.reset();
    }
    // Gives `w` the focus the way the user would: its window activated first.
    // Leaving a drop-down closes it, as a control's drop-down closes.
    static void focus(QWidget* w) {
        QWidget* top = w->window();
        QWidget* current = QApplication::activeWindow();
        if (current && current != top && current->windowType() == Qt::Tool)
            current->hide();
        if (!top->isVisible())
            top->show();
        top->activateWindow();
        w->setFocus(Qt::OtherFocusReason);
        (void)QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }, 2000);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), w);
    }

    QStringList log;
    QWidget form;
    QLineEdit* outside = nullptr;
    std::unique_ptr<FocusProbe> a = std::make_unique<FocusProbe>("A", log);
    std::unique_ptr<FocusProbe> b = std::make_unique<FocusProbe>("B", log);
};

TEST_F(FocusTest, NotificationsFollowTheControlAsAWhole) {
    const QStringList enterA{"A.EnterFocus", "A.GotFocus"}, leaveA{"A.LostFocus", "A.ExitFocus"};
    const QStringList enterB{"B.EnterFocus", "B.GotFocus"}, leaveB{"B.LostFocus", "B.ExitFocus"};
    QWidget* const textA = a->txtA->widget();
    QWidget* const siteA = a->site();
    QWidget* const dropA = a->drop();
    const struct Step {
        const char* what;
        QWidget* target;
        QStringList expected;
    } steps[] = {
        {"into an element window from outside", textA, enterA},
        {"to the control's own site", siteA, {}},
        {"to another element window", a->txtB->widget(), {}},
        {"into the control's drop-down", dropA, {}},
        {"back from the drop-down", textA, {}},
        {"from an element window to another control", b->txtA->widget(), leaveA + enterB},
        {"within the other control", b->site(), {}},
        {"into the site from another control", siteA, leaveB + enterA},
        {"into the drop-down from the site", dropA, {}},
        {"from the drop-down to outside", outside, leaveA},
        {"into the drop-down from outside", dropA, enterA},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        log.clear();
        focus(s.target);
        EXPECT_EQ(log.join(' ').toStdString(), s.expected.join(' ').toStdString()) << s.what;
    }
}

TEST_F(FocusTest, FocusOnNoWidgetDecidesNothingUntilItLands) {
    focus(a->txtA->widget());
    log.clear();
    a->txtA->widget()->clearFocus();
    QApplication::processEvents();
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(a->site()->holdsFocus());
    focus(a->txtB->widget());
    EXPECT_TRUE(log.isEmpty()) << "landing back in the control is no entry";
    a->txtB->widget()->clearFocus();
    focus(outside);
    EXPECT_EQ(log, QStringList({"A.LostFocus", "A.ExitFocus"}));
    EXPECT_FALSE(a->site()->holdsFocus());
}

TEST_F(FocusTest, ControlDestroyedWhileHoldingTheFocusRaisesNothing) {
    focus(a->txtB->widget());
    log.clear();
    a.reset();
    QApplication::processEvents();
    EXPECT_TRUE(log.isEmpty()) << log.join(' ').toStdString();
}

} // namespace
