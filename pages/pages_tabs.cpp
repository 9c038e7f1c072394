// The tab list, the layout pass, the state painter and the resize handling.
//
// Cost: the documented sequences run a layout pass after every single
// removal and the state painter over every tab after every addition, which
// squares the cost of a long list. Here a run of removals lays out once at
// its end and the state painter visits only the tabs whose look can change;
// both leave exactly the state the documented sequence leaves (positions,
// pictures, heights, drawn captions, TabCount and RememberedTab), and neither
// raises events, so nothing observable differs.
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "pages/pages_p.h"
#include "pages/tab_layout_p.h"
#include "pages/tab_string_p.h"

#include <QEvent>

#include <cmath>
#include <optional>

namespace korva {

using namespace pages;

namespace {

constexpr float kNormalHeight = 330;
constexpr float kCaptionTextX = 170;
constexpr float kSelectedTextY = 20;
constexpr float kNormalTextY = 10;
constexpr float kAddedTextX = 130;
constexpr float kAddedTextY = 60;
constexpr float kPageTop = 330;
constexpr float kHover = 0;

double twipsPerPixel() { return Platform::instance().twipsPerPixelX(); }

} // namespace

PagesPrivate::PagesPrivate(Pages& q) : q(q) {
    strip = new Strip(q);
    createElements();
    wireElements();
    q.site()->installEventFilter(this);
}

PagesPrivate::~PagesPrivate() {
    releaseCapture();
    if (q.site())
        q.site()->removeEventFilter(this);
}

void PagesPrivate::createElements() {
    // Creation order is stacking order, back to front.
    picBACKTARGET = q.addElement<BackTarget>(q, *strip, QStringLiteral("picBACKTARGET"));
    picBACKTARGET->Move(0, kPageTop, 69000, 69000);

    auto shape = [&](const char* name, float l, float t, float w, float h) {
        auto* s = q.addElement<PageShape>(q, *strip, QString::fromLatin1(name));
        s->Move(l, t, w, h);
        return s;
    };
    shpBORDER = shape("shpBORDER", 270, 1215, 1755, 645);
    shpBORDER->setFilled(true);
    shpBORDER->setFillColor(0x00FFFFFFu);
    shpTOP = shape("shpTOP", 0, 315, 69000, 15);
    // Recoloured with the frame but never placed: it stays out of sight.
    shpTOP2 = shape("shpTOP2", 0, 300, 69000, 15);
    shpTOP2->setVisible(false);
    shpLEFTINS = shape("shpLEFTINS", 0, 330, 15, 2925);
    shpLEFTINSHL = shape("shpLEFTINSHL", 15, 330, 15, 2925);

    auto tmpl = [&](const char* name, float w) {
        auto* e = q.addElement<TabPicture>(q, *strip, QString::fromLatin1(name), 0);
        e->Move(0, 0, w, kPieceHeight);
        e->setVisible(false);
        return e;
    };
    leftTemplate = tmpl("imgSELLEFT", 30);
    capTemplate = tmpl("imgSELCAP", 4950);
    rightTemplate = tmpl("imgSELRIGHT", 30);
    labelTemplate = q.addElement<TabLabel>(q, *strip, QStringLiteral("lblCAPTION"), 0);
    labelTemplate->setVisible(false);
    labelTemplate->setFont(q.site()->AmbientFont());
    labelTemplate->setCaption(QStringLiteral("General"));
    controlFont = q.site()->AmbientFont();

    auto box = [&](const char* name, float w) {
        auto* b = q.addElement<PictureBoxElement>(q, QString::fromLatin1(name));
        b->setVisible(false);
        b->Move(0, 0, w, kPieceHeight);
        return b;
    };
    picTABLEFT = box("picTABLEFT", 30);
    picTABCAP = box("picTABCAP", 4950);
    picTABRIGHT = box("picTABRIGHT", 30);
    picTABLEFTHOV = box("picTABLEFTHOV", 30);
    picTABCAPHOV = box("picTABCAPHOV", 4950);
    picTABRIGHTHOV = box("picTABRIGHTHOV", 30);
    picTABSELLEFT = box("picTABSELLEFT", 30);
    picTABSELCAP = box("picTABSELCAP", 4950);
    picTABSELRIGHT = box("picTABSELRIGHT", 30);
}

QString PagesPrivate::captionOf(int64_t i) const {
    if (i < 1 || i > static_cast<int64_t>(label.size()) || !label[static_cast<size_t>(i - 1)])
        return {};
    return label[static_cast<size_t>(i - 1)]->Caption();
}

// --- the tab list ------------------------------------------------------------------

template <class E> E* PagesPrivate::loadTabElement(E* tmpl, std::vector<E*>& family) {
    const auto index = static_cast<int64_t>(family.size()) + 1;
    if (index > INT16_MAX)
        return nullptr; // the 16-bit index overflows: the creation is skipped
    auto* e = dynamic_cast<E*>(q.loadElement(tmpl->Name(), static_cast<int>(index)));
    if (!e)
        return nullptr;
    e->setVisible(true);
    family.push_back(e);
    return e;
}

template <class E> void PagesPrivate::unloadTabElement(E* tmpl, std::vector<E*>& family, int32_t i) {
    if (i < 1 || i > static_cast<int32_t>(family.size()))
        return;
    E*& e = family[static_cast<size_t>(i - 1)];
    if (!e)
        return;
    if constexpr (std::is_same_v<E, TabPicture>) {
        e->setVisible(false);
        e->setPicture({});
    }
    // An element whose own handler is running stays (a host handler may
    // rebuild the list from inside a click); it is skipped like any step that fails.
    if (q.unloadElement(tmpl->Name(), i))
        e = nullptr;
    while (!family.empty() && !family.back())
        family.pop_back();
}

void PagesPrivate::AddTab(const QString& sCaption) {
    const QString caption = trimSpaces(sCaption);
    TabPicture* l = loadTabElement(leftTemplate, left);
    TabPicture* c = loadTabElement(capTemplate, cap);
    loadTabElement(rightTemplate, right);
    TabLabel* lb = loadTabElement(labelTemplate, label);
    const int64_t k = static_cast<int64_t>(left.size()) + (l ? 0 : 1);
    if (l)
        markDirty(static_cast<int32_t>(k));
    if (k <= INT32_MAX)
        ShowTabState(static_cast<int32_t>(k));
    const QString text = captionOfField(caption, static_cast<int32_t>(std::min<int64_t>(k, INT32_MAX)));
    if (lb && lb->Index() == k)
        lb->setCaption(text);
    if (c && c->Index() == k)
        c->drawText({text, kAddedTextX, kAddedTextY, labelTemplate->ForeColor(), labelTemplate->Font()});
}

void PagesPrivate::RemoveTab(int32_t i) {
    unloadTabElement(leftTemplate, left, i);
    unloadTabElement(capTemplate, cap, i);
    unloadTabElement(rightTemplate, right, i);
    unloadTabElement(labelTemplate, label, i);
    LayoutTabs();
}

// Removing highest first with a layout pass after each removal ends in the
// state of one pass over the remaining tabs: no pass raises anything, each
// one overwrites everything the previous one set, and TabCount and
// RememberedTab take their final values in the last. So one pass is run,
// at the end, and only when something was removed.
void PagesPrivate::ClearTabs() {
    const int32_t from = tabCount;
    if (from < 1)
        return;
    for (int32_t i = from; i >= 1; --i) {
        unloadTabElement(leftTemplate, left, i);
        unloadTabElement(capTemplate, cap, i);
        unloadTabElement(rightTemplate, right, i);
        unloadTabElement(labelTemplate, label, i);
    }
    isDirty_.resize(left.size());
    std::erase_if(dirty_, [&](int32_t i) { return i > highestTab(); });
    LayoutTabs();
}

void PagesPrivate::RebuildTabs() {
    ClearTabs();
    const QStringList fields = splitFields(normaliseTabString(tabString));
    for (const QString& f : fields)
        AddTab(f);
    LayoutTabs();
    letActiveTab(rememberedTab);
}

void PagesPrivate::setActiveTabs(const QString& s) {
    if (tabString != s) {
        tabString = s;
        emit q.ActiveTabsChanged(s);
    }
    RebuildTabs();
    resizeHandling();
    LayoutTabs();
    Refresh();
    ShowTabState(activeTab);
    q.PropertyChanged(QStringLiteral("TABSTRING"));
}

// --- active tab and layout --------------------------------------------------------

void PagesPrivate::letActiveTab(int32_t Index) {
    const bool changed = activeTab != Index;
    activeTab = Index;
    LayoutTabs();
    ShowTabState(Index);
    q.PropertyChanged(QStringLiteral("ActiveTab"));
    if (changed)
        emit q.ActiveTabChanged(Index);
}

void PagesPrivate::LayoutTabs() {
    picTABCAP->setBackColor(colorForm);
    picTABLEFT->setBackColor(colorForm);
    picTABRIGHT->setBackColor(colorForm);
    readActiveTab();
    Refresh();
    tabCount = highestTab();
    LayoutParams params;
    params.p = twipsPerPixel();
    params.width = width;
    params.tabGap = tabGap;
    LayoutCursor cursor = firstTab(params.p);
    for (int32_t i = 1; i <= tabCount; ++i) {
        const auto at = static_cast<size_t>(i - 1);
        TabLabel* lb = at < label.size() ? label[at] : nullptr;
        TabPicture* l = left[at];
        TabPicture* c = at < cap.size() ? cap[at] : nullptr;
        TabPicture* r = at < right.size() ? right[at] : nullptr;
        // A tab whose label is gone (only after an AddTab that a rebuild did
        // not clear) fails every test on its caption, and a failed test runs
        // what it guards.
        const SpecialCaption special = lb ? specialCaption(lb->Caption()) : SpecialCaption{true, true, true};
        const std::optional<LabelSize> size =
            lb ? std::optional<LabelSize>(LabelSize{lb->Width(), lb->Height()}) : std::nullopt;
        const TabPlacement t = placeTab(cursor, params, special, size);
        if (l)
            l->Move(t.leftX, 0, t.leftWidth, kPieceHeight);
        if (lb) {
            lb->setVisible(false);
            lb->setForeColor(textColor);
            lb->Move(t.labelX, t.labelY, lb->Width(), lb->Height());
        }
        if (c && lb)
            c->Move(t.captionX, 0, t.captionWidth, kPieceHeight);
        if (r)
            r->Move(t.rightX, 0, r->Width(), kPieceHeight);
        if (lb)
            lb->toFront();
    }
    if (strip)
        strip->changedAll();
}

// --- the state painter --------------------------------------------------------------

void PagesPrivate::markDirty(int32_t i) {
    if (i < 1)
        return;
    const auto at = static_cast<size_t>(i - 1);
    if (isDirty_.size() <= at)
        isDirty_.resize(at + 1, 0);
    if (!isDirty_[at]) {
        isDirty_[at] = 1;
        dirty_.push_back(i);
    }
}

bool PagesPrivate::holdsNormalLook(int32_t i) const {
    const auto at = static_cast<size_t>(i - 1);
    const auto holds = [&](const std::vector<TabPicture*>& family, const PictureBoxElement* src) {
        return at >= family.size() || !family[at] || family[at]->handle() == src->picture().handle();
    };
    return holds(left, picTABLEFT) && holds(cap, picTABCAP) && holds(right, picTABRIGHT);
}

void PagesPrivate::showLook(int32_t i, bool selected) {
    const auto at = static_cast<size_t>(i - 1);
    TabPicture* l = left[at];
    TabPicture* c = at < cap.size() ? cap[at] : nullptr;
    TabPicture* r = at < right.size() ? right[at] : nullptr;
    TabLabel* lb = at < label.size() ? label[at] : nullptr;
    const Picture& srcL = selected ? leftTemplate->picture() : picTABLEFT->picture();
    const Picture& srcC = selected ? capTemplate->picture() : picTABCAP->picture();
    const Picture& srcR = selected ? rightTemplate->picture() : picTABRIGHT->picture();
    if (l)
        l->setPicture(srcL);
    if (c && c->handle() != srcC.handle()) {
        c->setPicture(srcC);
        if (l)
            l->setHeight(selected ? kPieceHeight : kNormalHeight);
        if (l && lb) {
            const float y =
                l->Top() + (selected ? kSelectedTextY : kNormalTextY) + (l->Height() - lb->Height()) / 2;
            c->drawText({lb->Caption(), kCaptionTextX, y, textColor, labelTemplate->Font()});
        }
    }
    if (r)
        r->setPicture(srcR);
    if (l) {
        if (c && c->Height() != l->Height()) {
            c->setHeight(l->Height());
            c->touch();
        }
        if (r && r->Height() != l->Height()) {
            r->setHeight(l->Height());
            r->touch();
        }
        l->touch();
    }
}

void PagesPrivate::showHover(int32_t i) {
    const auto at = static_cast<size_t>(i - 1);
    TabPicture* l = left[at];
    TabPicture* c = at < cap.size() ? cap[at] : nullptr;
    TabPicture* r = at < right.size() ? right[at] : nullptr;
    TabLabel* lb = at < label.size() ? label[at] : nullptr;
    if (l)
        l->setPicture(picTABLEFTHOV->picture());
    if (c)
        c->setPicture(picTABCAPHOV->picture());
    if (r)
        r->setPicture(picTABRIGHTHOV->picture());
    if (!l)
        return;
    l->setHeight(kNormalHeight);
    if (c && lb)
        c->drawText({lb->Caption(), kCaptionTextX, l->Top() + kHover + (l->Height() - lb->Height()) / 2,
                     textColor, labelTemplate->Font()});
    if (c)
        c->setHeight(l->Height());
    if (r)
        r->setHeight(l->Height());
    l->toBack();
    l->touch();
    if (c)
        c->touch();
    if (r)
        r->touch();
}

void PagesPrivate::ShowTabState(int32_t Index) {
    const int32_t n = highestTab();
    isDirty_.resize(static_cast<size_t>(n), 0);
    auto visit = [&](int32_t i) {
        if (i < 1 || i > n || !left[static_cast<size_t>(i - 1)])
            return;
        showLook(i, i == Index);
        if (!holdsNormalLook(i))
            markDirty(i);
    };
    if (sweepAll_) {
        sweepAll_ = false;
        dirty_.clear();
        std::fill(isDirty_.begin(), isDirty_.end(), 0);
        for (int32_t i = 1; i <= n; ++i)
            visit(i);
    } else {
        // Tabs outside the list hold the normal look already: for them the
        // painter would change nothing. The selected tab is visited in list order.
        std::vector<int32_t> todo;
        todo.swap(dirty_);
        for (int32_t i : todo)
            if (i >= 1 && i <= n)
                isDirty_[static_cast<size_t>(i - 1)] = 0;
        if (Index >= 1 && Index <= n && std::find(todo.begin(), todo.end(), Index) == todo.end())
            todo.push_back(Index);
        std::sort(todo.begin(), todo.end());
        for (int32_t i : todo)
            visit(i);
    }
    if (Index == hoverTab)
        return;
    if (hoverTab >= 1 && hoverTab <= n && left[static_cast<size_t>(hoverTab - 1)]) {
        showHover(hoverTab);
        markDirty(hoverTab);
    }
}

// --- selection and resize ------------------------------------------------------------

void PagesPrivate::SelectTab(int32_t& Index, int16_t Button) {
    if (activeTab == Index)
        return;
    shpTOP->toFront();
    shpLEFTINSHL->toFront();
    shpLEFTINS->toFront();
    if (Button != 1)
        return;
    shpBORDER->setVisible(true);
    auto pieces = [&](int64_t i, bool front) {
        if (i < 1 || i > highestTab())
            return;
        const auto at = static_cast<size_t>(i - 1);
        for (auto* family : {&left, &cap, &right})
            if (at < family->size() && (*family)[at])
                front ? (*family)[at]->toFront() : (*family)[at]->toBack();
    };
    pieces(Index, true);
    pieces(activeTab, false);
    ShowTabState(Index);
    const bool changed = activeTab != Index;
    activeTab = Index;
    if (changed)
        emit q.ActiveTabChanged(Index);
    LayoutTabs();
    raiseClick(captionOf(Index));
    raiseShow();
}

void PagesPrivate::resizeHandling() {
    if (!q.site() || !strip)
        return;
    const Site& s = *q.site();
    strip->setGeometry(s.rect());
    int32_t v = 0;
    if (toLong(s.Width(), v))
        width = v;
    if (toLong(s.Height(), v))
        height = v;
    const double p = twipsPerPixel();
    const float insTop = shpLEFTINS->Top();
    if (height - insTop - 2 * p > 0)
        shpLEFTINS->setHeight(height - insTop);
    if (height - insTop - 160 > 0)
        shpLEFTINSHL->setHeight(height - shpLEFTINS->Top() - 160);
    shpBORDER->setLeft(0);
    shpBORDER->setTop(kPageTop);
    if (shpBORDER->Width() != width - shpBORDER->Left())
        shpBORDER->setWidth(width - shpBORDER->Left());
    if (shpBORDER->Height() != height - kPageTop)
        shpBORDER->setHeight(height - kPageTop);
    if (shpBORDER->Width() - 2 * p != shpTOP->Width())
        shpTOP->setWidth(static_cast<float>(shpBORDER->Width() - 2 * p));
    shpLEFTINS->toFront();
    LayoutTabs();
    ShowTabState(activeTab);
}

} // namespace korva
