// The focus given to a control as a whole, through setFocus() on its window,
// brings the next key to the control: the host never names an inner element.
#include "colors/colors.h"
#include "pages/pages.h"
#include "real_window.h"
#include "spin/spin.h"

#include <QLineEdit>

#include <functional>

using namespace korva;
using namespace korva::xcb;

namespace {

class FocusWindow : public RealWindow {};

TEST_F(FocusWindow, SetFocusOnTheControlsWidgetThenAKeyReachesTheControl) {
    const struct {
        const char* name;
        std::function<std::unique_ptr<Control>()> make;
        std::function<void(Input&)> press;
        std::function<bool(Control&, const EventLog&)> reached;
    } rows[] = {
        {"Colors: its button's KeyDown", [] { return std::unique_ptr<Control>(Colors::createNew()); },
         [](Input& in) { in.key(Qt::Key_Right); },
         [](Control&, const EventLog& log) { return log.lines.value(0) == "KeyDown(39, 0)"; }},
        {"Pages: Right steps the active tab",
         [] {
             auto p = Pages::createNew();
             p->setActiveTabs("One,Two,Three");
             return std::unique_ptr<Control>(std::move(p));
         },
         [](Input& in) { in.key(Qt::Key_Right); },
         [](Control& c, const EventLog&) { return static_cast<Pages&>(c).ActiveTab() == 2; }},
        {"Spin: typing", [] { return std::unique_ptr<Control>(Spin::createNew()); },
         [](Input& in) {
             in.key(Qt::Key_End);
             in.type("7");
         },
         [](Control& c, const EventLog&) { return static_cast<Spin&>(c).Text().endsWith(u'7'); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QWidget form;
        form.resize(420, 120);
        auto* elsewhere = new QLineEdit(&form);
        elsewhere->setGeometry(10, 10, 60, 24);
        std::unique_ptr<Control> c = r.make();
        place(form, *c, {90, 10});
        showActive(form);
        elsewhere->setFocus(Qt::OtherFocusReason);
        EventLog log;
        c->addSink(&log);
        c->widget()->setFocus(Qt::OtherFocusReason);
        EXPECT_TRUE(hasFocus(*c)) << focusName();
        r.press(input);
        EXPECT_TRUE(r.reached(*c, log)) << log.lines.join(u' ').toStdString();
        c->removeSink(&log);
    }
}

} // namespace
