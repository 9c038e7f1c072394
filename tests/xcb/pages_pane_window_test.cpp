// Pages and Pane on a real window: hover looks that follow the pointer, the
// click, and Pane's leave check, which polls the real cursor.
#include "frame/elements/image_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "pages/pages.h"
#include "pages/strip_items_p.h"
#include "pane/pane.h"
#include "pane/pane_pictures_p.h"
#include "real_window.h"

#include <QSignalSpy>

using namespace korva;
using namespace korva::xcb;

namespace {

enum class Look { Normal, Hover, Selected, Pressed, Other };

class PagesWindow : public RealWindow {
protected:
    void SetUp() override {
        RealWindow::SetUp();
        if (IsSkipped())
            return;
        pages = Pages::createNew();
        pages->setActiveTabs("One,Two,Three");
        pages->site()->resizeTwips(6000, 2400);
        form.resize(460, 200);
        site = place(form, *pages, {10, 10});
        showActive(form);
    }
    // The middle of tab i's caption piece, in the control's window.
    QPoint tab(int i) const {
        const Element* cap = pages->element(u"imgSELCAP", i);
        const double tp = Platform::instance().twipsPerPixelX();
        return {static_cast<int>((cap->Left() + cap->Width() / 2) / tp),
                static_cast<int>((cap->Top() + cap->Height() / 2) / tp)};
    }
    Look look(int i) const {
        auto key = [&](const char* box) {
            return static_cast<PictureBoxElement*>(pages->element(QString::fromLatin1(box)))
                ->picture()
                .handle();
        };
        const qint64 h = static_cast<pages::TabPicture*>(pages->element(u"imgSELCAP", i))->handle();
        if (h == static_cast<pages::TabPicture*>(pages->element(u"imgSELCAP", 0))->handle())
            return Look::Selected;
        if (h == key("picTABCAP"))
            return Look::Normal;
        if (h == key("picTABCAPHOV"))
            return Look::Hover;
        return Look::Other;
    }

    QWidget form;
    std::unique_ptr<Pages> pages;
    QWidget* site = nullptr;
};

TEST_F(PagesWindow, HoverFollowsThePointerAcrossTabsAndAClickActivates) {
    ASSERT_EQ(pages->ActiveTab(), 1);
    const struct {
        int over;
        int hover;
    } path[] = {{2, 2}, {3, 3}, {1, -99}, {2, 2}};
    for (const auto& p : path) {
        SCOPED_TRACE(testing::Message() << "over tab " << p.over);
        input.moveTo(site, tab(p.over));
        EXPECT_EQ(pages->HoverTab(), p.hover);
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(look(i), i == 1         ? Look::Selected
                               : i == p.hover ? Look::Hover
                                              : Look::Normal)
                << "tab " << i;
    }
    QSignalSpy clicks(pages.get(), &Pages::Click);
    input.click();
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toString(), "Two");
    EXPECT_EQ(pages->ActiveTab(), 2);
    EXPECT_EQ(look(2), Look::Selected);
    EXPECT_EQ(look(1), Look::Normal);
}

// Regression guard for the hover capture: leaving the strip ends the hover
// and gives the mouse back.
TEST_F(PagesWindow, LeavingAHoveredTabEndsHoverAndReleasesTheCapture) {
    input.moveTo(site, tab(3));
    ASSERT_EQ(pages->HoverTab(), 3);
    input.moveTo(kParked);
    EXPECT_EQ(pages->HoverTab(), -99);
    EXPECT_EQ(look(3), Look::Normal);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

class PaneWindow : public RealWindow {
protected:
    void SetUp() override {
        RealWindow::SetUp();
        if (IsSkipped())
            return;
        pane = Pane::createNew();
        pane->setTextCaption("Open");
        form.resize(300, 120);
        site = place(form, *pane, {20, 20});
        showActive(form);
    }
    Look look() const {
        const QImage& shown = static_cast<ImageElement*>(pane->element(u"imgMAIN"))->picture().image;
        if (shown == pane::normalPicture())
            return Look::Normal;
        if (shown == pane::highlightPicture())
            return Look::Hover;
        if (shown == pane::pressedPicture())
            return Look::Pressed;
        return Look::Other;
    }

    QWidget form;
    std::unique_ptr<Pane> pane;
    QWidget* site = nullptr;
};

TEST_F(PaneWindow, HoverPressClickAndLeave) {
    QSignalSpy clicks(pane.get(), &Pane::Click);
    ASSERT_EQ(look(), Look::Normal);
    input.moveTo(site, site->rect().center());
    EXPECT_EQ(look(), Look::Hover);
    input.press();
    EXPECT_EQ(look(), Look::Pressed);
    EXPECT_EQ(clicks.count(), 0);
    input.release();
    EXPECT_EQ(clicks.count(), 1);
    // The pointer still rests on the pane: the leave check keeps the highlight.
    QTest::qWait(300);
    EXPECT_EQ(look(), Look::Hover);
    input.moveTo(kParked);
    EXPECT_TRUE(QTest::qWaitFor([&] { return look() == Look::Normal; }, 3000))
        << "the leave check did not restore the normal look";
}

} // namespace
