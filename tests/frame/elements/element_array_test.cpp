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
#include "frame/platform/scripted_platform_p.h"
#include "support/element_host.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace korva;
using korva::fixtures::ElementHost;

namespace {

class ElementArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installed(true);
        host = std::make_unique<ElementHost>();
    }
    void TearDown() override {
        host.reset();
        platform.installed(false);
    }
    template <class E> E* load(E* source, int index) {
        Element* e = host->loadElement(source->Name(), index);
        EXPECT_NE(e, nullptr);
        if (e) {
            EXPECT_EQ(e->Index(), index);
            EXPECT_EQ(e->Name(), source->Name());
            EXPECT_FALSE(e->Visible());
            EXPECT_EQ(e->Left(), source->Left());
            EXPECT_EQ(e->Top(), source->Top());
            EXPECT_EQ(e->Width(), source->Width());
            EXPECT_EQ(e->Height(), source->Height());
            EXPECT_EQ(e->Container(), source->Container());
        }
        auto* typed = dynamic_cast<E*>(e);
        EXPECT_NE(typed, nullptr) << "the copy is of another kind";
        return typed;
    }

    ScriptedPlatform platform;
    std::unique_ptr<ElementHost> host;
};

TEST_F(ElementArrayTest, CopiesTakeEveryKindsPropertiesAndLeaveTheTemplateAlone) {
    auto* lbl = host->addElement<LabelElement>(*host, QStringLiteral("lblCAPTION"), 0);
    lbl->Move(30, 45, 900, 152.5f);
    lbl->setCaption(QStringLiteral("General"));
    FontSpec font;
    font.name = QStringLiteral("Tahoma");
    lbl->setFont(font);
    LabelElement* lblCopy = load(lbl, 1);
    ASSERT_NE(lblCopy, nullptr);
    EXPECT_EQ(lblCopy->Caption(), "General");
    EXPECT_EQ(lblCopy->Font(), font);
    lblCopy->setCaption(QStringLiteral("Other"));
    EXPECT_EQ(lbl->Caption(), "General");
    EXPECT_TRUE(lbl->Visible());

    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    auto* image = host->addElement<ImageElement>(*host, QStringLiteral("imgSEL"), 0);
    image->setPicture(Picture{img});
    ImageElement* imageCopy = load(image, 4);
    ASSERT_NE(imageCopy, nullptr);
    EXPECT_EQ(imageCopy->picture(), Picture{img});

    auto* box = host->addElement<PictureBoxElement>(*host, QStringLiteral("picTAB"), 0);
    box->setScaleMode(ScaleMode::Pixels);
    box->setBackColor(0x00FF0000);
    box->Move(0, 0, 150, 150);
    PictureBoxElement* boxCopy = load(box, 1);
    ASSERT_NE(boxCopy, nullptr);
    EXPECT_EQ(boxCopy->Point(2, 2), 0x00FF0000);

    auto* shape = host->addElement<ShapeElement>(*host, QStringLiteral("shpIN"), 0);
    shape->setContainer(box);
    shape->setFillColor(0x00ABCDEF);
    ShapeElement* shapeCopy = load(shape, 2);
    ASSERT_NE(shapeCopy, nullptr);
    EXPECT_EQ(shapeCopy->FillColor(), 0x00ABCDEFu);
    EXPECT_EQ(shapeCopy->widget()->parentWidget(), box->widget());

    auto* line = host->addElement<LineElement>(*host, QStringLiteral("linSEP"), 0);
    line->setX2(300);
    LineElement* lineCopy = load(line, 1);
    ASSERT_NE(lineCopy, nullptr);
    EXPECT_EQ(lineCopy->X2(), 300.0f);

    auto* text = host->addElement<TextBoxElement>(*host, QStringLiteral("txtA"), 0);
    text->setText(QStringLiteral("1"));
    text->setMaxLength(4);
    TextBoxElement* textCopy = load(text, 1);
    ASSERT_NE(textCopy, nullptr);
    EXPECT_EQ(textCopy->Text(), "1");
    EXPECT_EQ(textCopy->MaxLength(), 4);

    auto* combo =
        host->addElement<ComboBoxElement>(*host, QStringLiteral("cboA"), 0, ComboBoxElement::DropdownList);
    combo->AddItem(QStringLiteral("a"));
    combo->AddItem(QStringLiteral("b"));
    combo->setListIndex(1);
    ComboBoxElement* comboCopy = load(combo, 1);
    ASSERT_NE(comboCopy, nullptr);
    EXPECT_EQ(comboCopy->style(), ComboBoxElement::DropdownList);
    EXPECT_EQ(comboCopy->ListIndex(), 1);

    auto* button = host->addElement<CommandButtonElement>(*host, QStringLiteral("cmdA"), 0);
    button->setCaption(QStringLiteral("OK"));
    CommandButtonElement* buttonCopy = load(button, 1);
    ASSERT_NE(buttonCopy, nullptr);
    EXPECT_EQ(buttonCopy->Caption(), "OK");

    auto* timer = host->addElement<TimerElement>(*host, QStringLiteral("tmrA"), 0);
    timer->setInterval(250);
    TimerElement* timerCopy = load(timer, 1);
    ASSERT_NE(timerCopy, nullptr);
    EXPECT_EQ(timerCopy->Interval(), 250);
}

TEST_F(ElementArrayTest, SharedHandlersSeeWhichElementNotified) {
    auto* tmpl = host->addElement<LabelElement>(*host, QStringLiteral("lblTAB"), 0);
    tmpl->Move(0, 0, 600, 300);
    std::vector<int> clicked;
    tmpl->onClick = [&] { clicked.push_back(Element::notifying() ? Element::notifying()->Index() : -99); };
    Element* second = host->loadElement(u"lblTAB", 2);
    ASSERT_NE(second, nullptr);
    second->setVisible(true);
    QTest::mouseClick(second->widget(), Qt::LeftButton);
    std::vector<Value> none;
    ASSERT_TRUE(host->notify(u"lblTAB", 0, Notification::Click, none, nullptr));
    EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
    EXPECT_EQ(Element::notifying(), nullptr);
}

struct RefusedLoad {
    const char* name;
    int index;
};

TEST_F(ElementArrayTest, LoadAndUnloadRefuseWhatTheyCannotDo) {
    host->addElement<LabelElement>(*host, QStringLiteral("lblTAB"), 0);
    host->addElement<LabelElement>(*host, QStringLiteral("lblTAB"), 1);
    host->addElement<LabelElement>(*host, QStringLiteral("lblONE"));
    const RefusedLoad refused[] = {
        {"lblNONE", 1}, {"lblONE", 1}, {"lblTAB", 0}, {"lblTAB", -1}, {"lblTAB", 1}, {"lblTAB", 32768},
    };
    for (const RefusedLoad& r : refused) {
        SCOPED_TRACE(testing::Message() << r.name << "(" << r.index << ")");
        EXPECT_EQ(host->loadElement(QString::fromLatin1(r.name), r.index), nullptr);
    }
    const size_t before = host->elements().size();
    ASSERT_NE(host->loadElement(u"lblTAB", 32767), nullptr);
    EXPECT_FALSE(host->unloadElement(u"lblTAB", 1)); // built with the control
    EXPECT_FALSE(host->unloadElement(u"lblTAB", 0));
    EXPECT_FALSE(host->unloadElement(u"lblTAB", 5));

    // Not from inside the element's own handler.
    Element* loaded = host->element(u"lblTAB", 32767);
    bool unloadedInside = true;
    loaded->onClick = [&] { unloadedInside = host->unloadElement(u"lblTAB", 32767); };
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
        auto* l = host->addElement<LabelElement>(*host, QString::fromLatin1(name));
        l->Move(10, 10, 50, 50);
        labels.push_back(l);
    }
    host->site()->show();
    const auto top = [&] { return host->site()->childAt(30, 30); };
    EXPECT_EQ(top(), labels[2]->widget());
    labels[0]->ZOrder(0);
    EXPECT_EQ(top(), labels[0]->widget());
    labels[0]->ZOrder(1);
    labels[2]->ZOrder(1);
    EXPECT_EQ(top(), labels[1]->widget());
    // A loaded copy comes in front of its siblings.
    labels[1]->setVisible(true);
    host->addElement<LabelElement>(*host, QStringLiteral("lblT"), 0)->Move(10, 10, 50, 50);
    Element* copy = host->loadElement(u"lblT", 1);
    ASSERT_NE(copy, nullptr);
    copy->setVisible(true);
    EXPECT_EQ(top(), copy->widget());
}

} // namespace
