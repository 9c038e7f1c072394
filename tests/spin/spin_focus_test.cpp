// Spin disabled while typing, and under a palette change while disabled.
// (Focus, typing and the right click run on a real X server: tests/xcb.)
#include "frame/colour/colour_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/values/convert_p.h"
#include "frame/values/property_bag.h"
#include "spin/spin.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

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
    uint32_t kept = 0;
    EXPECT_TRUE(valueToColour(again.ReadProperty(QStringLiteral("Backcolor"), Value()), kept));
    EXPECT_EQ(kept, lightBlend) << "a form saved under the dark palette loads as any other";

    auto chosen = Spin::createNew();
    chosen->setEnabled(false);
    chosen->setBackColor(0x000000FF);
    platform.setFollowQtPalette(false);
    QApplication::setPalette(original);
    EXPECT_EQ(chosen->BackColor(), 0x000000FFu) << "a colour the host gave stays";
    EXPECT_EQ(spin->BackColor(), lightBlend);
}
