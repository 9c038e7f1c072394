// Text box, combo box and command button: real key and mouse input on their
// Qt widgets reaching the element's handlers, with by-reference codes.
#include "frame/elements/combobox_element_p.h"
#include "frame/elements/commandbutton_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/textbox_element_p.h"
#include "frame/platform/key_codes_p.h"
#include "support/element_host.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace korva;

namespace {

class WindowedTest : public fixtures::ElementTest {
protected:
    WindowedTest() {
        text->Move(0, 0, 1500, 300);
        text->handlers().onKeyDown = [this](int16_t& code, int16_t shift) {
            log << QStringLiteral("D%1/%2").arg(code).arg(shift);
            if (code == cancelCode)
                code = 0;
        };
        text->handlers().onKeyUp = [this](int16_t& code, int16_t) { log << QStringLiteral("U%1").arg(code); };
        text->handlers().onChange = [this] { ++changes; };
    }
    QWidget* textWidget() { return text->widget(); }
    // What a combo box shows: its selection, item count and text.
    static std::tuple<int, int, QString> state(ComboBoxElement* c) {
        return {c->ListIndex(), c->ListCount(), c->Text()};
    }

    TextBoxElement* text = add<TextBoxElement>("txtIN");
    QStringList log;
    int16_t cancelCode = -1;
    int changes = 0;
};

struct FilterCase {
    const char* name;
    const char* typed;
    std::function<void(int16_t&)> filter;
    const char* expected;
};

TEST_F(WindowedTest, KeyPressHandlerDecidesWhatIsTyped) {
    const FilterCase cases[] = {
        {"left alone", "a1.b", [](int16_t&) {}, "a1.b"},
        {"digits dropped", "a1b2", [](int16_t& k) { k = k >= '0' && k <= '9' ? 0 : k; }, "ab"},
        {"upper-cased", "abc", [](int16_t& k) { k = static_cast<int16_t>(k - 32); }, "ABC"},
        {"replaced by another", "x.y", [](int16_t& k) { k = k == '.' ? ',' : k; }, "x,y"},
        {"turned into backspace", "abc!", [](int16_t& k) { k = k == '!' ? 8 : k; }, "ab"},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        text->setText({});
        text->handlers().onKeyPress = c.filter;
        QTest::keyClicks(textWidget(), QString::fromLatin1(c.typed));
        EXPECT_EQ(text->Text(), QString::fromLatin1(c.expected));
    }
}

TEST_F(WindowedTest, HandlersRunBeforeTheTextChanges) {
    QStringList seen;
    text->handlers().onKeyPress = [&](int16_t& k) {
        seen << QStringLiteral("%1:%2").arg(QChar(k)).arg(text->Text());
    };
    QTest::keyClicks(textWidget(), QStringLiteral("ab"));
    EXPECT_EQ(seen, (QStringList{"a:", "b:a"}));
    EXPECT_EQ(log, (QStringList{"D65/0", "U65", "D66/0", "U66"}));
    EXPECT_EQ(changes, 2);

    log.clear();
    QTest::keyClick(textWidget(), Qt::Key_A, Qt::ShiftModifier);
    // Shift is a key of its own before the letter.
    EXPECT_EQ(log.mid(0, 2), (QStringList{"D16/1", "D65/1"}));
}

TEST_F(WindowedTest, KeyDownCancelsTheKeysOwnAction) {
    text->setText(QStringLiteral("abc"));
    changes = 0;
    cancelCode = keycode::Delete;
    QTest::keyClick(textWidget(), Qt::Key_Delete); // caret at 0 after setting the text
    EXPECT_EQ(text->Text(), "abc");
    cancelCode = keycode::Right;
    QTest::keyClick(textWidget(), Qt::Key_Right);
    EXPECT_EQ(text->SelStart(), 0);
    cancelCode = -1;
    QTest::keyClick(textWidget(), Qt::Key_Delete);
    EXPECT_EQ(text->Text(), "bc");
    EXPECT_EQ(changes, 1);
    // Dropping backspace keeps the text as well.
    text->handlers().onKeyPress = [](int16_t& k) {
        if (k == 8)
            k = 0;
    };
    text->setSelStart(2);
    QTest::keyClick(textWidget(), Qt::Key_Backspace);
    EXPECT_EQ(text->Text(), "bc");
}

TEST_F(WindowedTest, LockedAndMaxLengthHoldForReplacedCharacters) {
    int presses = 0;
    text->handlers().onKeyPress = [&](int16_t& k) {
        ++presses;
        k = 'z';
    };
    text->setMaxLength(3);
    QTest::keyClicks(textWidget(), QStringLiteral("abcd"));
    EXPECT_EQ(text->Text(), "zzz");
    text->setLocked(true);
    text->setSelStart(0);
    QTest::keyClicks(textWidget(), QStringLiteral("q"));
    EXPECT_EQ(text->Text(), "zzz");
    EXPECT_EQ(presses, 5); // a locked box still reports its keys
    text->setMaxLength(-1);
    EXPECT_EQ(text->MaxLength(), 3);
}

TEST_F(WindowedTest, SelectionIsClampedToTheText) {
    text->setText(QStringLiteral("hello"));
    EXPECT_EQ(text->SelStart(), 0);
    text->setSelStart(2);
    text->setSelLength(10);
    EXPECT_EQ(std::tuple(text->SelStart(), text->SelLength(), text->SelText()), std::tuple(2, 3, "llo"));
    text->setSelText(QStringLiteral("p!"));
    EXPECT_EQ(text->Text(), "hep!");
    for (const int refused : {-1, 99}) {
        text->setSelStart(refused);
        EXPECT_EQ(text->SelStart(), 4) << refused;
    }
}

TEST_F(WindowedTest, ComboReportsSelectionsButNotListChanges) {
    auto* combo = add<ComboBoxElement>("cboL", -1, ComboBoxElement::DropdownList);
    int clicks = 0;
    combo->handlers().onClick = [&] { ++clicks; };
    combo->AddItem(QStringLiteral("one"));
    combo->AddItem(QStringLiteral("three"));
    combo->AddItem(QStringLiteral("two"), 1);
    EXPECT_EQ(combo->List(1), "two");
    EXPECT_EQ(std::tuple(combo->ListIndex(), clicks), std::tuple(-1, 0));

    combo->setListIndex(2);
    EXPECT_EQ(std::tuple(state(combo), clicks), std::tuple(std::tuple(2, 3, "three"), 1));
    combo->setListIndex(3); // out of range: refused
    combo->AddItem(QStringLiteral("x"), 9);
    EXPECT_EQ(state(combo), std::tuple(2, 3, "three"));
    // The selection follows its item as others come and go, without a click.
    combo->RemoveItem(0);
    EXPECT_EQ(combo->ListIndex(), 1);
    combo->AddItem(QStringLiteral("zero"), 0);
    EXPECT_EQ(std::tuple(combo->ListIndex(), clicks), std::tuple(2, 1));

    QTest::keyClick(combo->widget(), Qt::Key_Up); // the user picks "two"
    EXPECT_EQ(std::tuple(combo->Text(), clicks), std::tuple("two", 2));
    combo->setText(QStringLiteral("ZERO")); // matched without regard to case
    EXPECT_EQ(combo->ListIndex(), 0);
    combo->RemoveItem(0);
    EXPECT_EQ(combo->ListIndex(), -1);
    combo->Clear();
    EXPECT_EQ(std::tuple(combo->ListCount(), clicks), std::tuple(0, 3));
}

TEST_F(WindowedTest, EditableComboReportsTypedAndSetText) {
    auto* combo = add<ComboBoxElement>("cboE");
    int changed = 0;
    combo->handlers().onChange = [&] { ++changed; };
    combo->AddItem(QStringLiteral("Arial"));
    combo->setText(QStringLiteral("Combo1"));
    EXPECT_EQ(std::tuple(combo->Text(), changed), std::tuple("Combo1", 1));
    auto* edit = combo->widget()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(changed, 2);
    QTest::keyClick(edit, Qt::Key_Return); // Enter does not add to the list
    EXPECT_EQ(combo->ListCount(), 1);
    combo->Clear();
    EXPECT_EQ(combo->Text(), "");
}

// A combo box out of sight gets its window only once it is needed, and then
// looks and stacks as if it had had one from the start.
TEST_F(WindowedTest, ComboWindowIsMadeWhenNeeded) {
    host->site()->resizeTwips(3000, 1500); // 200 x 100 pixels at the platform's 15 twips
    auto* combo = add<ComboBoxElement>("cboOUT");
    combo->Move(0, 3000, 1500, 315); // below the bottom
    auto* after = add<TextBoxElement>("txtAFTER");
    after->Move(0, 1000, 1500, 300);
    int changed = 0;
    combo->handlers().onChange = [&] { ++changed; };
    FontSpec font;
    font.name = QStringLiteral("DejaVu Sans");
    font.size = 14;
    combo->setFont(font);
    combo->setFocusPolicy(Qt::NoFocus);
    combo->setText(QStringLiteral("Combo1"));
    combo->setText(QStringLiteral("Combo1"));
    combo->setListIndex(0); // no item to select
    EXPECT_EQ(std::tuple(state(combo), changed), std::tuple(std::tuple(-1, 0, "Combo1"), 1));
    host->site()->show();
    EXPECT_EQ(host->site()->findChild<QComboBox*>(), nullptr) << "nothing has needed the window yet";

    host->site()->resizeTwips(3000, 4000); // the control grows over it
    auto* box = host->site()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(std::tuple(box->currentText(), box->font().pointSizeF(), box->focusPolicy(), box->geometry()),
              std::tuple("Combo1", 14.0, Qt::NoFocus, QRect(0, 200, 100, 21)));
    const QObjectList& order = host->site()->children();
    EXPECT_LT(order.indexOf(box), order.indexOf(after->widget())) << "behind what was made after it";

    // Asking for the window, or an item for the list, makes it too.
    EXPECT_NE(add<ComboBoxElement>("cboASK")->widget(), nullptr);
    auto* listed = add<ComboBoxElement>("cboLIST", -1, ComboBoxElement::DropdownList);
    listed->Move(0, 9000, 1500, 315);
    listed->AddItem(QStringLiteral("one"));
    EXPECT_EQ(listed->ListCount(), 1);
}

TEST_F(WindowedTest, ButtonGivesMouseDownMouseUpThenClick) {
    auto* button = add<CommandButtonElement>("cmdGO");
    button->Move(0, 600, 1200, 450);
    button->setCaption(QStringLiteral("&Go"));
    QStringList seen;
    button->handlers().onMouseDown = [&](int16_t b, int16_t s, float x, float y) {
        seen << QStringLiteral("Down %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
    };
    button->handlers().onMouseUp = [&](int16_t b, int16_t, float, float) {
        seen << QStringLiteral("Up %1").arg(b);
    };
    button->handlers().onClick = [&] { seen << "Click"; };
    button->handlers().onKeyPress = [&](int16_t& k) { seen << QStringLiteral("Press %1").arg(k); };
    QTest::mouseClick(button->widget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(4, 2));
    EXPECT_EQ(seen, (QStringList{"Down 1 1 60 30", "Up 1", "Click"}));
    seen.clear();
    QTest::keyClick(button->widget(), Qt::Key_Space);
    EXPECT_EQ(seen, (QStringList{"Press 32", "Click"}));
    EXPECT_EQ(button->Caption(), "&Go");
}

// A locked box that refuses the focus and its menu is drawn by the control's
// window while it stays empty; what needs the field makes it, with every
// setting given so far.
TEST_F(WindowedTest, LockedFrameMakesItsFieldWhenNeeded) {
    const struct {
        const char* name;
        std::function<void(TextBoxElement&)> act;
        bool makesField;
    } cases[] = {
        {"placed, coloured, disabled, emptied",
         [](TextBoxElement& b) {
             b.Move(1500, 0, 1500, 300);
             b.setBackColor(0x000000FFu);
             b.setEnabled(false);
             b.setText({});
             b.setSelText({});
         },
         false},
        // Drawn, it would lie under the older field there.
        {"placed over a window below it", [](TextBoxElement& b) { b.Move(0, 0, 1500, 300); }, true},
        {"a text", [](TextBoxElement& b) { b.setText(QStringLiteral("x")); }, true},
        {"typed in", [](TextBoxElement& b) { b.setSelText(QStringLiteral("x")); }, true},
        {"unlocked", [](TextBoxElement& b) { b.setLocked(false); }, true},
        {"the focus", [](TextBoxElement& b) { b.SetFocus(); }, true},
        {"asked for", [](TextBoxElement& b) { b.widget(); }, true},
    };
    host->site()->show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* frame = add<TextBoxElement>("txtFRAME", -1, TextBoxElement::Start::LockedNoFocus);
        frame->refuseContextMenu();
        frame->setMaxLength(4);
        frame->setAlignment(TextBoxElement::RightJustify);
        frame->Move(0, 600, 1500, 300);
        EXPECT_EQ(std::tuple(frame->isDrawn(), frame->paintingWindow(), frame->paintedRect()),
                  std::tuple(true, host->site(), QRect(0, 40, 100, 20)));
        c.act(*frame);
        auto* field = qobject_cast<QLineEdit*>(frame->paintingWindow());
        EXPECT_EQ(std::tuple(field != nullptr, frame->isDrawn()), std::tuple(c.makesField, !c.makesField));
        if (field) {
            EXPECT_EQ(std::tuple(field->maxLength(), field->alignment() & Qt::AlignHorizontal_Mask,
                                 field->focusPolicy(), field->contextMenuPolicy(), field->isReadOnly()),
                      std::tuple(4, Qt::AlignRight, Qt::NoFocus, Qt::PreventContextMenu, frame->Locked()));
        }
        frame->setVisible(false); // out of the next case's way
    }

    // In a box, the box's window does not draw it: the field is made there.
    auto* box = add<PictureBoxElement>("picBOX");
    box->Move(0, 0, 3000, 1500);
    auto* inBox = add<TextBoxElement>("txtIN", -1, TextBoxElement::Start::LockedNoFocus);
    inBox->refuseContextMenu();
    inBox->Move(0, 0, 1500, 300);
    inBox->setContainer(box);
    EXPECT_FALSE(inBox->isDrawn());
    EXPECT_EQ(inBox->paintingWindow()->parentWidget(), box->widget());
}

} // namespace
