// Element arrays: loading copies of a template, unloading them, shared
// handlers that tell the elements apart, and stacking among siblings.
#include "frame/elements/combobox_element_p.h"
#include "frame/elements/commandbutton_element_p.h"
#include "frame/elements/image_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/line_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "frame/elements/textbox_element_p.h"
#include "frame/elements/timer_element_p.h"
#include "support/element_host.h"

#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

using namespace korva;

namespace {

class ElementArrayTest : public fixtures::ElementTest {
protected:
    // The copy at `index`, checked for what every kind copies. Without a copy
    // of the template's kind the test has failed; it goes on with the template
    // so that nothing after has to guard against a null copy.
    template <class E> E* load(E* source, int index) {
        auto* copy = dynamic_cast<E*>(host->loadElement(source->Name(), index));
        if (!copy) {
            ADD_FAILURE() << "no copy of " << source->Name().toStdString() << " of the template's kind";
            return source;
        }
        const auto shared = [](Element* e) {
            return std::tuple(e->Name(), e->Left(), e->Top(), e->Width(), e->Height(), e->Container());
        };
        EXPECT_EQ(std::tuple(copy->Index(), copy->Visible()), std::tuple(index, false));
        EXPECT_EQ(shared(copy), shared(source));
        return copy;
    }
};

TEST_F(ElementArrayTest, CopiesTakeEveryKindsPropertiesAndLeaveTheTemplateAlone) {
    auto* lbl = add<LabelElement>("lblCAPTION", 0);
    lbl->Move(30, 45, 900, 152.5f);
    lbl->setCaption(QStringLiteral("General"));
    FontSpec font;
    font.name = QStringLiteral("Tahoma");
    lbl->setFont(font);
    LabelElement* lblCopy = load(lbl, 1);
    EXPECT_EQ(std::tuple(lblCopy->Caption(), lblCopy->Font()), std::tuple(QStringLiteral("General"), font));
    lblCopy->setCaption(QStringLiteral("Other"));
    EXPECT_EQ(std::tuple(lbl->Caption(), lbl->Visible()), std::tuple(QStringLiteral("General"), true));

    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    auto* image = add<ImageElement>("imgSEL", 0);
    image->setPicture(Picture{img});
    EXPECT_EQ(load(image, 4)->picture(), Picture{img});

    auto* box = add<PictureBoxElement>("picTAB", 0);
    box->setScaleMode(ScaleMode::Pixels);
    box->setBackColor(0x00FF0000);
    box->Move(0, 0, 150, 150);
    EXPECT_EQ(load(box, 1)->Point(2, 2), 0x00FF0000);

    auto* shape = add<ShapeElement>("shpIN", 0);
    shape->setContainer(box);
    shape->setFillColor(0x00ABCDEF);
    ShapeElement* shapeCopy = load(shape, 2);
    EXPECT_EQ(std::tuple(shapeCopy->FillColor(), shapeCopy->widget()->parentWidget()),
              std::tuple(0x00ABCDEFu, box->widget()));

    auto* line = add<LineElement>("linSEP", 0);
    line->setX2(300);
    EXPECT_EQ(load(line, 1)->X2(), 300.0f);

    auto* text = add<TextBoxElement>("txtA", 0);
    text->setText(QStringLiteral("1"));
    text->setMaxLength(4);
    TextBoxElement* textCopy = load(text, 1);
    EXPECT_EQ(std::tuple(textCopy->Text(), textCopy->MaxLength()), std::tuple(QStringLiteral("1"), 4));

    auto* combo = add<ComboBoxElement>("cboA", 0, ComboBoxElement::DropdownList);
    combo->AddItem(QStringLiteral("a"));
    combo->AddItem(QStringLiteral("b"));
    combo->setListIndex(1);
    ComboBoxElement* comboCopy = load(combo, 1);
    EXPECT_EQ(std::tuple(comboCopy->style(), comboCopy->ListIndex()),
              std::tuple(ComboBoxElement::DropdownList, 1));

    auto* button = add<CommandButtonElement>("cmdA", 0);
    button->setCaption(QStringLiteral("OK"));
    EXPECT_EQ(load(button, 1)->Caption(), "OK");

    auto* timer = add<TimerElement>("tmrA", 0);
    timer->setInterval(250);
    EXPECT_EQ(load(timer, 1)->Interval(), 250);
}

TEST_F(ElementArrayTest, SharedHandlersSeeWhichElementNotified) {
    auto* tmpl = add<LabelElement>("lblTAB", 0);
    tmpl->Move(0, 0, 600, 300);
    std::vector<int> clicked;
    tmpl->handlers().onClick = [&] {
        clicked.push_back(Element::notifying() ? Element::notifying()->Index() : -99);
    };
    Element* second = host->loadElement(u"lblTAB", 2);
    ASSERT_NE(second, nullptr);
    second->setVisible(true);
    QTest::mouseClick(second->widget(), Qt::LeftButton);
    std::vector<Value> none;
    ASSERT_TRUE(host->notify(u"lblTAB", 0, Notification::Click, none, nullptr));
    EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
    EXPECT_EQ(Element::notifying(), nullptr);
}

TEST_F(ElementArrayTest, LoadAndUnloadRefuseWhatTheyCannotDo) {
    add<LabelElement>("lblTAB", 0);
    add<LabelElement>("lblTAB", 1);
    add<LabelElement>("lblONE");
    const struct {
        const char* name;
        int index;
    } refused[] = {
        {"lblNONE", 1}, {"lblONE", 1}, {"lblTAB", 0}, {"lblTAB", -1}, {"lblTAB", 1}, {"lblTAB", 32768},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(testing::Message() << r.name << "(" << r.index << ")");
        EXPECT_EQ(host->loadElement(QString::fromLatin1(r.name), r.index), nullptr);
    }
    const size_t before = host->elements().size();
    ASSERT_NE(host->loadElement(u"lblTAB", 32767), nullptr);
    for (const int builtOrMissing : {1, 0, 5}) // 0 and 1 are built with the control
        EXPECT_FALSE(host->unloadElement(u"lblTAB", builtOrMissing)) << builtOrMissing;

    // Not from inside the element's own handler.
    Element* loaded = host->element(u"lblTAB", 32767);
    bool unloadedInside = true;
    loaded->handlers().onClick = [&] { unloadedInside = host->unloadElement(u"lblTAB", 32767); };
    std::vector<Value> none;
    ASSERT_TRUE(host->notify(u"lblTAB", 32767, Notification::Click, none, nullptr));
    EXPECT_FALSE(unloadedInside);

    EXPECT_TRUE(host->unloadElement(u"lblTAB", 32767));
    EXPECT_EQ(host->element(u"lblTAB", 32767), nullptr);
    EXPECT_EQ(host->elements().size(), before);
    EXPECT_NE(host->loadElement(u"lblTAB", 32767), nullptr); // the index is free again
}

TEST_F(ElementArrayTest, ZOrderBringsToFrontAndSendsToBackAmongSiblings) {
    host->site()->setScaleMode(ScaleMode::Pixels);
    std::vector<LabelElement*> labels;
    for (const char* name : {"lblA", "lblB", "lblC"}) {
        auto* l = add<LabelElement>(name);
        l->Move(10, 10, 50, 50);
        labels.push_back(l);
    }
    host->site()->show();
    // What lies on top is what a click there reaches, routed as the window
    // system routes it.
    QString pressed;
    const auto top = [&] {
        pressed.clear();
        QTest::mouseClick(host->site()->windowHandle(), Qt::LeftButton, {}, QPoint(30, 30));
        return pressed;
    };
    const auto record = [&](Element* e) {
        e->handlers().onMouseDown = [&pressed, e](int16_t, int16_t, float, float) {
            pressed = e->Name() + QString::number(e->Index());
        };
    };
    for (auto* l : labels)
        record(l);
    EXPECT_EQ(top(), "lblC-1");
    labels[0]->ZOrder(0);
    EXPECT_EQ(top(), "lblA-1");
    labels[0]->ZOrder(1);
    labels[2]->ZOrder(1);
    EXPECT_EQ(top(), "lblB-1");
    // A loaded copy comes in front of its siblings.
    auto* tmpl = add<LabelElement>("lblT", 0);
    tmpl->Move(10, 10, 50, 50);
    tmpl->setVisible(false);
    Element* copy = host->loadElement(u"lblT", 1);
    ASSERT_NE(copy, nullptr);
    copy->setVisible(true);
    record(copy);
    EXPECT_EQ(top(), "lblT1");
    // Made a window on request, an element keeps its place in the order.
    ASSERT_NE(labels[1]->widget(), nullptr);
    EXPECT_EQ(top(), "lblT1");
    copy->ZOrder(1);
    EXPECT_EQ(top(), "lblB-1");
}

} // namespace
