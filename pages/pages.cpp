#include "pages/pages.h"

#include "frame/colour/colour_p.h"
#include "frame/component/catalogue_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "frame/values/guarded_p.h"
#include "frame/values/property_bag.h"
#include "pages/pages_p.h"

namespace korva {

namespace {

constexpr int kTextColorN = 0;
constexpr int kTabColorN = 2;
constexpr int kPageColorN = 3;
constexpr int kColorFormN = 4;
constexpr int kActiveTabsN = 7;
constexpr int kActiveTabN = 8;
constexpr int kAddTabN = 9;
constexpr int kImageDisN = 11;
constexpr int kImageHLightN = 12;
constexpr int kImageSelN = 13;
constexpr int kObjectMouseUpN = 30;
constexpr int kRefreshN = 33;

constexpr uint32_t kWhite = 0x00FFFFFFu;
constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonText = 0x80000012u;

std::vector<MemberInfo> pagesMembers() {
    const uint8_t prop = kGet | kLet;
    return {
        {QStringLiteral("ActiveTab"), propertyId(kActiveTabN), prop, ValueType::Long, {}},
        {QStringLiteral("ActiveTabs"), propertyId(kActiveTabsN), prop, ValueType::String, {}},
        {QStringLiteral("AddTab"),
         methodId(kAddTabN),
         kCall,
         ValueType::Empty,
         {{QStringLiteral("sCaption"), ValueType::String}}},
        {QStringLiteral("ColorForm"), propertyId(kColorFormN), prop, ValueType::Colour, {}},
        {QStringLiteral("ImageDis"), methodId(kImageDisN), kCall, ValueType::Empty, {}},
        {QStringLiteral("ImageHLight"), methodId(kImageHLightN), kCall, ValueType::Empty, {}},
        {QStringLiteral("ImageSel"), methodId(kImageSelN), kCall, ValueType::Empty, {}},
        {QStringLiteral("ObjectMouseUp"), methodId(kObjectMouseUpN), kCall, ValueType::Empty, {}},
        {QStringLiteral("PageColor"), propertyId(kPageColorN), prop, ValueType::Colour, {}},
        {QStringLiteral("Refresh"), methodId(kRefreshN), kCall, ValueType::Empty, {}},
        {QStringLiteral("TabColor"), propertyId(kTabColorN), prop, ValueType::String, {}},
        {QStringLiteral("TextColor"), propertyId(kTextColorN), prop, ValueType::Colour, {}},
    };
}

std::vector<ParamInfo> mouseParams(bool withCaption) {
    std::vector<ParamInfo> p = {{QStringLiteral("Button"), ValueType::Integer, true},
                                {QStringLiteral("Shift"), ValueType::Integer, true},
                                {QStringLiteral("X"), ValueType::Single, true},
                                {QStringLiteral("Y"), ValueType::Single, true}};
    if (withCaption)
        p.push_back({QStringLiteral("ActiveTab"), ValueType::String, true});
    return p;
}

std::vector<EventInfo> pagesEvents() {
    return {
        {QStringLiteral("Click"), 1, {{QStringLiteral("TName"), ValueType::String}}},
        {QStringLiteral("dlbClick"), 2, {}},
        {QStringLiteral("MouseDown"), 3, mouseParams(true)},
        {QStringLiteral("MouseMove"), 4, mouseParams(false)},
        {QStringLiteral("MouseUp"), 5, mouseParams(false)},
        {QStringLiteral("Show"), 6, {}},
    };
}

std::unique_ptr<Control> createPages() { return std::make_unique<Pages>(); }

} // namespace

KORVA_REGISTER_CLASS(Pages, pagesMembers(), pagesEvents(), &createPages);

const ClassInfo& Pages::staticClassInfo() { return *catalogue::byName(u"Pages"); }

Pages::Pages() : Control(staticClassInfo()), d(std::make_unique<PagesPrivate>(*this)) {}

Pages::~Pages() = default;

std::unique_ptr<Pages> Pages::createNew() {
    auto p = std::make_unique<Pages>();
    p->Initialize();
    p->InitProperties();
    p->Resize();
    return p;
}

// --- members -------------------------------------------------------------------

int32_t Pages::ActiveTab() const { return d->readActiveTab(); }
void Pages::setActiveTab(int32_t Index) {
    runGuarded("ActiveTab", [&] { d->letActiveTab(Index); });
}
QString Pages::ActiveTabs() const { return d->tabString; }
void Pages::setActiveTabs(const QString& sSTRING) {
    runGuarded("ActiveTabs", [&] { d->setActiveTabs(sSTRING); });
}
void Pages::AddTab(const QString& sCaption) {
    runGuarded("AddTab", [&] { d->AddTab(sCaption); });
}

uint32_t Pages::ColorForm() const { return d->colorForm; }
void Pages::setColorForm(uint32_t c) {
    d->setColorFormMember(c);
    d->LayoutTabs();
    d->Refresh();
    d->ShowTabState(d->activeTab);
}

uint32_t Pages::PageColor() const { return d->pageColor; }
void Pages::setPageColor(uint32_t c) {
    if (d->pageColor != c) {
        d->pageColor = c;
        emit PageColorChanged(c);
    }
    d->LayoutTabs();
}

uint32_t Pages::TextColor() const { return d->textColor; }
void Pages::setTextColor(uint32_t c) {
    if (d->textColor != c) {
        d->textColor = c;
        emit TextColorChanged(c);
    }
    d->LayoutTabs();
    d->ShowTabState(d->activeTab);
}

QString Pages::TabColor() const { return d->tabColor; }
void Pages::setTabColor(const QString& s) { d->setTabColorMember(s); }

void Pages::Refresh() { d->Refresh(); }
void Pages::ImageDis() { d->ImageDis(); }
void Pages::ImageHLight() { d->ImageHLight(); }
void Pages::ImageSel() { d->ImageSel(); }
void Pages::ObjectMouseUp() { d->ObjectMouseUp(); }

int32_t Pages::TabCount() const { return d->tabCount; }
int32_t Pages::RememberedTab() const { return d->rememberedTab; }
int32_t Pages::HoverTab() const { return d->hoverTab; }

void PagesPrivate::setColorFormMember(uint32_t c) {
    if (colorForm == c)
        return;
    colorForm = c;
    emit q.ColorFormChanged(c);
}

void PagesPrivate::setTabColorMember(const QString& s) {
    if (tabColor == s)
        return;
    tabColor = s;
    emit q.TabColorChanged(s);
}

// --- lifecycle -----------------------------------------------------------------

// First-time defaults. The tab gap, ColorForm, TextColor and BackColorTAB stay
// 0, so a new control shows its tabs closer together than after its next load.
void Pages::onInitProperties() {
    d->hoverTab = pages::kNoHover;
    setActiveTabs(QStringLiteral("1,2,3"));
    setActiveTab(1);
    setPageColor(kWhite);
    setPageColor(kWhite);
    d->resizeHandling();
    d->activeTab = 0;
    int32_t first = 1;
    d->SelectTab(first, 1);
    d->raiseClick(d->captionOf(1));
    d->raiseShow();
}

// As specified, the layout passes before the rebuild overwrite the saved
// "ActiveTab" with the current index, so a loaded control starts on tab 1.
void Pages::onReadProperties(const PropertyBag& bag) {
    d->tabGap = 0;
    {
        int32_t gap = 0;
        if (toLong(4 * Platform::instance().twipsPerPixelX(), gap))
            d->tabGap = gap;
    }
    d->hoverTab = pages::kNoHover;
    setActiveTab(1);
    const Value ambient(site()->AmbientFont());
    const Value labelFont = bag.ReadProperty(QStringLiteral("Font"), ambient);
    if (const FontSpec* f = labelFont.ptr<FontSpec>())
        d->labelTemplate->setFont(*f);
    const Value ownFont = bag.ReadProperty(QStringLiteral("Font"), ambient);
    if (const FontSpec* f = ownFont.ptr<FontSpec>())
        d->controlFont = *f;
    uint32_t colour = 0;
    if (valueToColour(bag.ReadProperty(QStringLiteral("TextColor"), Value(Colour{kButtonText})), colour)) {
        setTextColor(colour);
        d->labelTemplate->setForeColor(colour);
    }
    QString text;
    if (valueToString(bag.ReadProperty(QStringLiteral("TABSTRING"), Value(QString())), text) &&
        text != d->tabString) {
        d->tabString = text;
        emit ActiveTabsChanged(text);
    }
    int32_t remembered = 0;
    if (valueToLong(bag.ReadProperty(QStringLiteral("ActiveTab"), Value(QStringLiteral("0"))), remembered))
        d->rememberedTab = remembered;
    if (valueToColour(bag.ReadProperty(QStringLiteral("BackColorTAB"), Value(Colour{kButtonFace})), colour))
        d->backColorTAB = static_cast<int32_t>(colour);
    if (valueToColour(bag.ReadProperty(QStringLiteral("ColorForm"), Value(Colour{kWhite})), colour))
        d->setColorFormMember(colour);
    if (valueToColour(bag.ReadProperty(QStringLiteral("PageColor"), Value(Colour{kWhite})), colour) &&
        d->pageColor != colour) {
        d->pageColor = colour;
        emit PageColorChanged(colour);
    }
    setPageColor(d->pageColor);
    setPageColor(d->pageColor);
    d->RebuildTabs();
    setColorForm(d->colorForm);
    // SetBackColorTAB: kept translated, reported, laid out.
    d->backColorTAB = TranslateColor(static_cast<uint32_t>(d->backColorTAB));
    PropertyChanged(QStringLiteral("BackColorTAB"));
    d->LayoutTabs();
    d->resizeHandling();
    d->LayoutTabs();
    d->Refresh();
    d->hoverTab = pages::kNoHover;
    d->ShowTabState(d->activeTab);
    d->hoverTab = pages::kNoHover;
}

void Pages::onWriteProperties(PropertyBag& bag) {
    bag.WriteProperty(QStringLiteral("Font"), Value(d->labelTemplate->Font()), Value(site()->AmbientFont()));
    bag.WriteProperty(QStringLiteral("ActiveTab"), Value(ActiveTab()), Value(QStringLiteral("0")));
    bag.WriteProperty(QStringLiteral("TABSTRING"), Value(d->tabString), Value(QString()));
    bag.WriteProperty(QStringLiteral("BackColorTAB"), Value(Colour{static_cast<uint32_t>(d->backColorTAB)}));
    bag.WriteProperty(QStringLiteral("ColorForm"), Value(Colour{d->colorForm}));
    bag.WriteProperty(QStringLiteral("PageColor"), Value(Colour{d->pageColor}));
    bag.WriteProperty(QStringLiteral("TextColor"), Value(Colour{d->textColor}));
}

void Pages::onResize() { d->resizeHandling(); }

void Pages::onGotFocus() { d->gotFocus(); }

// --- dispatch --------------------------------------------------------------------

namespace {

template <class T, class Conv> InvokeStatus takeOne(std::vector<Value>& args, Conv conv, T& out) {
    if (args.size() != 1)
        return InvokeStatus::BadParamCount;
    if (!conv(args[0], out))
        return InvokeStatus::TypeMismatch;
    return InvokeStatus::Ok;
}

} // namespace

InvokeStatus Pages::onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args, Value& result) {
    const bool get = kind == InvokeKind::Get;
    auto colour = [&](uint32_t (Pages::*read)() const, void (Pages::*write)(uint32_t)) {
        if (get) {
            result = Value(Colour{(this->*read)()});
            return InvokeStatus::Ok;
        }
        uint32_t c = 0;
        const InvokeStatus st = takeOne(args, valueToColour, c);
        if (st == InvokeStatus::Ok)
            (this->*write)(c);
        return st;
    };
    auto text = [&](QString (Pages::*read)() const, void (Pages::*write)(const QString&)) {
        if (get) {
            result = Value((this->*read)());
            return InvokeStatus::Ok;
        }
        QString s;
        const InvokeStatus st = takeOne(args, valueToString, s);
        if (st == InvokeStatus::Ok)
            (this->*write)(s);
        return st;
    };
    auto method = [&](void (Pages::*call)()) {
        if (!args.empty())
            return InvokeStatus::BadParamCount;
        (this->*call)();
        return InvokeStatus::Ok;
    };
    switch (m.dispId) {
    case propertyId(kActiveTabN): {
        if (get) {
            result = Value(ActiveTab());
            return InvokeStatus::Ok;
        }
        int32_t v = 0;
        const InvokeStatus st = takeOne(args, valueToLong, v);
        if (st == InvokeStatus::Ok)
            setActiveTab(v);
        return st;
    }
    case propertyId(kActiveTabsN):
        return text(&Pages::ActiveTabs, &Pages::setActiveTabs);
    case propertyId(kTabColorN):
        return text(&Pages::TabColor, &Pages::setTabColor);
    case propertyId(kColorFormN):
        return colour(&Pages::ColorForm, &Pages::setColorForm);
    case propertyId(kPageColorN):
        return colour(&Pages::PageColor, &Pages::setPageColor);
    case propertyId(kTextColorN):
        return colour(&Pages::TextColor, &Pages::setTextColor);
    case methodId(kAddTabN): {
        QString s;
        const InvokeStatus st = takeOne(args, valueToString, s);
        if (st == InvokeStatus::Ok)
            AddTab(s);
        return st;
    }
    case methodId(kImageDisN):
        return method(&Pages::ImageDis);
    case methodId(kImageHLightN):
        return method(&Pages::ImageHLight);
    case methodId(kImageSelN):
        return method(&Pages::ImageSel);
    case methodId(kObjectMouseUpN):
        return method(&Pages::ObjectMouseUp);
    case methodId(kRefreshN):
        return method(&Pages::Refresh);
    default:
        return InvokeStatus::UnknownMember;
    }
}

} // namespace korva
