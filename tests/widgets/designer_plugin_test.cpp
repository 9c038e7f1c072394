// The Designer plugin as Designer and QUiLoader use it: loaded from its file,
// it offers a widget for every control class the library builds, and a form
// holding them loads through QUiLoader with its properties applied. Only the
// shared library's exported API is used: the plugin brings that library in,
// and both must see the same classes.
#include "colors/colors.h"
#include "frame/component/com_interfaces.h"
#include "frame/component/entry_points.h"
#include "frame/runtime/control.h"
#include "pages/pages.h"
#include "pane/pane.h"
#include "spin/spin.h"
#include "widgets/colors_widget.h"
#include "widgets/control_widget.h"
#include "widgets/pages_widget.h"
#include "widgets/pane_widget.h"
#include "widgets/spin_widget.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QBuffer>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QFormBuilder>
#include <QLineEdit>
#include <QPluginLoader>
#include <QSignalSpy>
#include <QTest>
#include <QUiLoader>
#include <gtest/gtest.h>

#include <set>

using namespace korva;

namespace {

QDesignerCustomWidgetCollectionInterface* collection() {
    static QPluginLoader loader(QStringLiteral(KORVA_DESIGNER_PLUGIN));
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
}

TEST(DesignerPlugin, OffersAWidgetForEveryBuiltControlClass) {
    QDesignerCustomWidgetCollectionInterface* plugins = collection();
    ASSERT_NE(plugins, nullptr) << "the plugin did not load";

    std::set<QString> offered;
    for (QDesignerCustomWidgetInterface* w : plugins->customWidgets()) {
        SCOPED_TRACE(w->name().toStdString());
        EXPECT_EQ(w->group(), "korvactl");
        EXPECT_FALSE(w->toolTip().isEmpty());
        EXPECT_FALSE(w->isContainer());
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(KORVA_SOURCE_DIR "/") + w->includeFile()))
            << w->includeFile().toStdString();
        EXPECT_FALSE(w->icon().isNull());

        QWidget parent;
        QWidget* made = w->createWidget(&parent);
        auto* widget = qobject_cast<ControlWidget*>(made);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(made->parent(), &parent);
        EXPECT_EQ(QString::fromLatin1(made->metaObject()->className()), w->name());
        offered.insert(widget->control()->classInfo().name);

        // The widget box drops what domXml describes: this class, at its design size.
        QDomDocument dom;
        ASSERT_TRUE(dom.setContent(w->domXml()));
        const QDomElement e = dom.documentElement().firstChildElement("widget");
        EXPECT_EQ(e.attribute("class"), w->name());
        const QDomElement rect = e.firstChildElement("property").firstChildElement("rect");
        EXPECT_EQ(rect.firstChildElement("width").text().toInt(), widget->sizeHint().width());
        EXPECT_EQ(rect.firstChildElement("height").text().toInt(), widget->sizeHint().height());
    }
    // The classes this library builds, asked as a host asks: through the entry points.
    ComPtr<IKorvaRuntime> runtime;
    ASSERT_EQ(
        DllGetClassObject(CLSID_KorvaRuntime, IID_IKorvaRuntime, reinterpret_cast<void**>(runtime.put())),
        S_OK);
    std::set<QString> built;
    for (const char16_t* name : {u"Spin", u"Pages", u"Colors", u"Pane"}) {
        GUID clsid;
        ComPtr<IClassFactory> factory;
        if (runtime->ClassIdFromProgId(name, &clsid) == S_OK &&
            DllGetClassObject(clsid, IID_IClassFactory, factory.put()) == S_OK)
            built.insert(QString::fromUtf16(name));
    }
    EXPECT_TRUE(built.contains("Pane"));
    EXPECT_EQ(offered, built);
}

QString pluginFolder() { return QFileInfo(QStringLiteral(KORVA_DESIGNER_PLUGIN)).absolutePath(); }

std::unique_ptr<QWidget> loadUi(QIODevice& ui) {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(pluginFolder());
    std::unique_ptr<QWidget> form(loader.load(&ui));
    EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
    return form;
}

class UiForm : public ::testing::Test {
protected:
    void SetUp() override {
        QFile ui(QStringLiteral(KORVA_SOURCE_DIR "/examples/designer/controls.ui"));
        ASSERT_TRUE(ui.open(QIODevice::ReadOnly));
        form = loadUi(ui);
        ASSERT_NE(form, nullptr);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    std::unique_ptr<QWidget> form;
};

TEST_F(UiForm, PanesLoadWithTheirPropertiesAndRelayTheirEvents) {
    auto* open = form->findChild<PaneWidget*>("openPane");
    auto* locked = form->findChild<PaneWidget*>("lockedPane");
    ASSERT_TRUE(open && locked);
    EXPECT_EQ(open->TextCaption(), "Open");
    EXPECT_TRUE(open->Enabled());
    EXPECT_EQ(locked->TextCaption(), "Locked");
    EXPECT_FALSE(locked->Enabled());
    // The properties reach the control itself, not just the wrapper.
    EXPECT_EQ(open->pane()->TextCaption(), "Open");
    EXPECT_FALSE(locked->pane()->site()->Enabled());
    // The layout gave the widgets their size; the control's window fills it
    // and its extent in twips follows.
    EXPECT_EQ(open->pane()->site()->size(), open->size());
    EXPECT_FLOAT_EQ(open->pane()->site()->Width(),
                    static_cast<float>(open->width() * 1440.0 / open->logicalDpiX()));

    // The wrapper relays the control's events and its own property changes.
    QSignalSpy clicks(open, &PaneWidget::Click);
    QSignalSpy captions(open, &PaneWidget::TextCaptionChanged);
    QTest::mouseMove(open->pane()->widget(), QPoint(5, 5));
    QTest::mouseClick(open->pane()->widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);

    EXPECT_TRUE(open->setProperty("TextCaption", QStringLiteral("Again")));
    EXPECT_EQ(open->pane()->TextCaption(), "Again");
    EXPECT_EQ(captions.count(), 1);
    open->setTextCaption("Again");
    EXPECT_EQ(captions.count(), 1) << "no notification without a change";
}

TEST_F(UiForm, ColorsKeepsItsLayoutAndColourAsQColorAndOleColour) {
    auto* ink = form->findChild<ColorsWidget*>("inkColors");
    ASSERT_NE(ink, nullptr);
    EXPECT_EQ(ink->Palette(), 7);
    EXPECT_EQ(ink->colors()->Palette(), 7);
    EXPECT_EQ(ink->qColor(), QColor(0, 128, 255));
    EXPECT_EQ(ink->Color(), 0xFF8000u) << "OLE_COLOR is 0x00BBGGRR";

    QSignalSpy colours(ink, &ColorsWidget::colourChanged);
    EXPECT_TRUE(ink->setProperty("Color", 0x0000FFu));
    EXPECT_EQ(ink->qColor(), QColor(Qt::red));
    EXPECT_GE(colours.count(), 1);
    EXPECT_TRUE(ink->setProperty("Palette", 99)) << "the property is set; the control refuses the value";
    EXPECT_EQ(ink->Palette(), 7);
}

// The tab string and the active tab from the form reach the control; a
// click on a tab arrives as the widget's Click with the tab's caption.
TEST_F(UiForm, PagesLoadWithTheirTabsAndReportClicks) {
    auto* tabs = form->findChild<PagesWidget*>("settingsPages");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->pages()->ActiveTabs(), "General,Colours,Help");
    EXPECT_EQ(tabs->ActiveTab(), 2);
    EXPECT_EQ(tabs->pages()->TabCount(), 3);

    QSignalSpy clicks(tabs, &PagesWidget::Click);
    QSignalSpy active(tabs, &PagesWidget::ActiveTabChanged);
    QWidget* strip = tabs->pages()->widget()->childAt(15, 8);
    ASSERT_NE(strip, nullptr);
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->mapFrom(tabs->pages()->widget(), QPoint(15, 8)));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toString(), "General");
    EXPECT_EQ(tabs->ActiveTab(), 1);
    EXPECT_GE(active.count(), 1);

    EXPECT_TRUE(tabs->setProperty("ActiveTabs", QStringLiteral("A,B")));
    EXPECT_EQ(tabs->pages()->ActiveTabs(), "A,B");
}

// Saved back to .ui and loaded again: the controls' properties survive,
// changed ones included. (A plain QFormBuilder also writes the widget's inner
// window, which loading then skips with a warning; Designer writes only the
// widget, as for any custom widget that is not a container.)
TEST_F(UiForm, RoundTripsThroughSaveAndLoad) {
    auto* locked = form->findChild<PaneWidget*>("lockedPane");
    ASSERT_NE(locked, nullptr);
    locked->setTextCaption("Unlocked");
    locked->letEnabled(true);
    auto* tabs = form->findChild<PagesWidget*>("settingsPages");
    ASSERT_NE(tabs, nullptr);
    tabs->setActiveTabs("One,Two");

    QFormBuilder builder;
    builder.clearPluginPaths();
    builder.addPluginPath(pluginFolder());
    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    builder.save(&saved, form.get());
    saved.close();
    EXPECT_TRUE(saved.data().contains("korva::PaneWidget")) << saved.data().constData();

    saved.open(QIODevice::ReadOnly);
    const std::unique_ptr<QWidget> again = loadUi(saved);
    ASSERT_NE(again, nullptr);
    auto* open = again->findChild<PaneWidget*>("openPane");
    auto* unlocked = again->findChild<PaneWidget*>("lockedPane");
    ASSERT_TRUE(open && unlocked) << saved.data().constData();
    EXPECT_EQ(open->TextCaption(), "Open");
    EXPECT_EQ(unlocked->TextCaption(), "Unlocked");
    EXPECT_TRUE(unlocked->Enabled());
    auto* tabsAgain = again->findChild<PagesWidget*>("settingsPages");
    ASSERT_NE(tabsAgain, nullptr);
    EXPECT_EQ(tabsAgain->ActiveTabs(), "One,Two");
}

TEST_F(UiForm, SpinsLoadWithTheirPropertiesAndRelayTheirEvents) {
    auto* count = form->findChild<SpinWidget*>("countSpin");
    auto* rate = form->findChild<SpinWidget*>("rateSpin");
    ASSERT_TRUE(count && rate);
    EXPECT_EQ(count->spin()->Max(), 20);
    EXPECT_EQ(count->spin()->Text(), "7");
    EXPECT_EQ(count->Min(), 0) << "what the form leaves out keeps the new-control value";
    EXPECT_TRUE(rate->spin()->AllowDecpoint());
    EXPECT_DOUBLE_EQ(rate->spin()->Interval(), 0.5);
    EXPECT_EQ(rate->Text(), "2.5");

    // Events keep their order and their by-reference arguments: a handler of
    // the widget's KeyPress decides what the text box types, as one of the
    // control's own would.
    QStringList seen;
    QObject::connect(count, &SpinWidget::DownClick, [&] { seen << "DownClick"; });
    QObject::connect(count, &SpinWidget::Change, [&] { seen << "Change " + count->Text(); });
    QObject::connect(count, &SpinWidget::KeyDown,
                     [&](int16_t& code, int16_t&) { seen << QString::number(code); });
    QObject::connect(count, &SpinWidget::KeyPress, [](int16_t& ascii) { ascii = 0; });
    // The text box: the line edit showing the value.
    QLineEdit* box = nullptr;
    for (QLineEdit* e : count->findChildren<QLineEdit*>())
        if (e->text() == "7")
            box = e;
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(seen, (QStringList{"DownClick", "Change 8", "38"}));
    QTest::keyClick(box, Qt::Key_5);
    EXPECT_EQ(count->Text(), "8") << "the handler dropped the digit";

    QSignalSpy maxes(count, &SpinWidget::MaxChanged);
    EXPECT_TRUE(count->setProperty("Max", 30));
    EXPECT_EQ(count->spin()->Max(), 30);
    EXPECT_EQ(maxes.count(), 1);
    EXPECT_TRUE(count->setProperty("Enabled", false));
    EXPECT_FALSE(count->spin()->Enabled());
    EXPECT_TRUE(count->isEnabled()) << "QWidget's own enabled is another property";
}

} // namespace
