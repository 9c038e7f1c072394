// The custom-colour row of Colors under the mouse as Qt routes it, with the
// native platform's capture and focus; only the colour dialog is a double.
// (Hover, double click and arrow keys run on a real X server: tests/xcb.)
#include "colors/colors.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/element_p.h"

#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace korva;

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class AnsweringPlatform : public Platform {
public:
    bool chooseColour(QWidget*, uint32_t, uint32_t& chosen) override {
        ++dialogs;
        chosen = 0x00123456u;
        return true;
    }
    int dialogs = 0;
};

class Names : public EventSink {
public:
    void onEvent(Control& c, int32_t number, std::span<Value* const>) override {
        list << c.classInfo().eventByNumber(number)->name;
    }
    QStringList list;
};

} // namespace

// The press must leave the panel open (a press dragged away keeps it), and the
// click closes it once before the dialog.
TEST(ColorsInput, MoreColoursOpensTheDialogOnTheClickNotThePress) {
    AnsweringPlatform platform;
    Platform::install(&platform);
    QWidget form;
    auto colors = Colors::createNew();
    (new QVBoxLayout(&form))->addWidget(colors->widget());
    Names names;
    colors->addSink(&names);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    // Through the form's window, as the window system delivers the mouse.
    QWidget* button = colors->element(u"cmdMAINBTN")->widget();
    const QPoint onButton = button->mapTo(&form, QPoint(20, 10));
    QTest::mouseMove(form.windowHandle(), onButton);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, onButton);
    ASSERT_TRUE(colors->popupVisible());

    // The caption is drawn by the box it lies in, which takes its input.
    const Element* custom = colors->element(u"lblCUSTOM");
    QWidget* label = custom->paintingWindow();
    ASSERT_NE(label, nullptr);
    const QPoint middle = custom->paintedRect().center();
    names.list.clear();
    QTest::mouseMove(label, middle);
    QTest::mousePress(label, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(colors->popupVisible()) << "a press alone keeps the panel";
    EXPECT_EQ(platform.dialogs, 0);
    QTest::mouseRelease(label, Qt::LeftButton, {}, middle);
    EXPECT_EQ(platform.dialogs, 1);
    EXPECT_EQ(names.list, QStringList({"FocusHidden", "ChangeCustom"}));
    EXPECT_EQ(colors->Color(), 0x00123456u);

    colors->widget()->setParent(nullptr);
    Platform::install(nullptr);
}
