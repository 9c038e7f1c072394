#include "pane/pane.h"

#include "frame/component/catalogue_p.h"
#include "frame/elements/image_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/timer_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/control_accessible_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "frame/values/property_bag.h"
#include "pane/pane_pictures_p.h"

namespace korva {

namespace {

constexpr uint32_t kGolden = 0x0067DCFAu;
constexpr uint32_t kBlack = 0x00000000u;
constexpr uint32_t kWhite = 0x00FFFFFFu;

constexpr int kEnabledN = 0;
constexpr int kTextCaptionN = 1;
constexpr int32_t kClickEvent = 1;

std::vector<MemberInfo> paneMembers() {
    return {
        {QStringLiteral("Enabled"), propertyId(kEnabledN), kLet, ValueType::Boolean, {}},
        {QStringLiteral("TextCaption"), propertyId(kTextCaptionN), kGet | kLet, ValueType::String, {}},
    };
}

std::vector<EventInfo> paneEvents() { return {{QStringLiteral("Click"), kClickEvent, {}}}; }

std::unique_ptr<Control> createPane() { return std::make_unique<Pane>(); }

} // namespace

KORVA_REGISTER_CLASS(Pane, paneMembers(), paneEvents(), &createPane);

class PanePrivate {
public:
    explicit PanePrivate(Pane& q) : q(q) {}

    void createElements();
    void wireElements();

    void showPicture(const ImageElement* source) { imgMAIN->setPicture(source->picture()); }
    void captionColour(uint32_t c) { lblTEST->setForeColor(c); }
    void handCursor(Element* over) { over->setCursor(CursorShape::Hand); }
    void raiseClick();
    void leaveCheck();
    // Screen readers get the caption a sighted user reads (pane_accessible.cpp).
    void describe() { accessibility::notifyNameChanged(q); }

    Pane& q;
    QString caption;          // what TextCaption holds and what is saved
    bool enabledFlag = false; // Initialize sets it
    int32_t storedColour = 0; // read and written, used by nothing else

    ImageElement* imgMAIN = nullptr;
    ImageElement* imgNML = nullptr;
    ImageElement* imgHL = nullptr;
    ImageElement* imgPRESS = nullptr;
    LabelElement* lblTEST = nullptr;
    TimerElement* tmrCOLORCHK = nullptr;
};

const ClassInfo& Pane::staticClassInfo() { return *catalogue::byName(u"Pane"); }

Pane::Pane() : Control(staticClassInfo()), d(std::make_unique<PanePrivate>(*this)) {
    site()->setBackColor(kGolden);
    d->createElements();
    d->wireElements();
    d->describe();
}

Pane::~Pane() = default;

std::unique_ptr<Pane> Pane::createNew() {
    auto p = std::make_unique<Pane>();
    p->Initialize();
    p->Resize();
    return p;
}

void PanePrivate::createElements() {
    // Creation order is stacking order: the caption lies above the picture.
    imgMAIN = q.addElement<ImageElement>(q, QStringLiteral("imgMAIN"));
    imgMAIN->Move(0, 0, 1575, 525);
    imgMAIN->setStretch(true);
    // Each picture carries its drawing, so high-density screens get it at device resolution.
    const Picture normal{pane::normalPicture(), &pane::normalPictureAt};
    imgMAIN->setPicture(normal);

    auto hidden = [&](const char* name, Picture picture) {
        auto* e = q.addElement<ImageElement>(q, QString::fromLatin1(name));
        e->setVisible(false);
        e->setPicture(picture);
        return e;
    };
    imgNML = hidden("imgNML", normal);
    imgHL = hidden("imgHL", Picture{pane::highlightPicture(), &pane::highlightPictureAt});
    imgPRESS = hidden("imgPRESS", Picture{pane::pressedPicture(), &pane::pressedPictureAt});

    lblTEST = q.addElement<LabelElement>(q, QStringLiteral("lblTEST"));
    lblTEST->setCaption(QStringLiteral("TEST"));
    lblTEST->setForeColor(kWhite);
    lblTEST->Move(45, 90, 1590, 375);
    lblTEST->setAlignment(LabelElement::Center);
    lblTEST->setBackStyle(LabelElement::Transparent);
    FontSpec font;
    font.name = QStringLiteral("Comic Sans MS");
    font.bold = true;
    font.size = 11.25;
    lblTEST->setFont(font);
    lblTEST->ZOrder(0);

    tmrCOLORCHK = q.addElement<TimerElement>(q, QStringLiteral("tmrCOLORCHK"));
    tmrCOLORCHK->setInterval(100);
    tmrCOLORCHK->setTimerEnabled(false);
}

// Mouse and click handling. The arguments are not looked at: any button counts.
// "Picture active" is imgMAIN's own Enabled, "picture shown" its Visible.
void PanePrivate::wireElements() {
    imgMAIN->handlers().onClick = [this] { raiseClick(); };
    imgMAIN->handlers().onDblClick = [this] {
        raiseClick();
        showPicture(imgPRESS);
    };
    imgMAIN->handlers().onMouseDown = [this](int16_t, int16_t, float, float) {
        if (!imgMAIN->Enabled())
            return;
        captionColour(kBlack);
        handCursor(imgMAIN);
        showPicture(imgPRESS);
    };
    imgMAIN->handlers().onMouseMove = [this](int16_t, int16_t, float, float) {
        if (!imgMAIN->Enabled())
            return;
        tmrCOLORCHK->setTimerEnabled(true);
        showPicture(imgHL);
        captionColour(kWhite);
        handCursor(imgMAIN);
    };
    imgMAIN->handlers().onMouseUp = [this](int16_t, int16_t, float, float) {
        if (!imgMAIN->Enabled())
            return;
        showPicture(imgHL);
        captionColour(kBlack);
    };

    lblTEST->handlers().onClick = [this] {
        if (imgMAIN->Visible())
            raiseClick();
    };
    lblTEST->handlers().onDblClick = [this] {
        if (!imgMAIN->Visible())
            return;
        raiseClick();
        showPicture(imgPRESS);
    };
    lblTEST->handlers().onMouseDown = [this](int16_t, int16_t, float, float) {
        if (!imgMAIN->Visible())
            return;
        handCursor(lblTEST);
        showPicture(imgPRESS);
        captionColour(kBlack);
    };
    lblTEST->handlers().onMouseMove = [this](int16_t, int16_t, float, float) {
        if (!imgMAIN->Visible())
            return;
        captionColour(kWhite);
        tmrCOLORCHK->setTimerEnabled(true);
        showPicture(imgHL);
        handCursor(lblTEST);
    };
    lblTEST->handlers().onMouseUp = [this](int16_t, int16_t, float, float) {
        if (!imgMAIN->Visible())
            return;
        showPicture(imgHL);
        captionColour(kBlack);
    };

    tmrCOLORCHK->handlers().onTimer = [this] { leaveCheck(); };
}

void PanePrivate::raiseClick() {
    q.RaiseEvent(kClickEvent);
    emit q.Click();
}

// Once enabled by a mouse move the check runs for the rest of the pane's life:
// every tick with the cursor outside restores the normal look, also after a
// press that was dragged out.
void PanePrivate::leaveCheck() {
    const Platform& p = Platform::instance();
    const WindowRect r = p.windowRect(q.site());
    const QPoint c = p.cursorPos();
    // All four bounds inclusive: the pixel just past the right or bottom edge still counts as inside.
    if (r.left <= c.x() && c.x() <= r.right && r.top <= c.y() && c.y() <= r.bottom)
        return;
    if (q.site()->Enabled()) {
        showPicture(imgNML);
        captionColour(kBlack);
    }
}

void Pane::onInitialize() {
    setEnabled(true);
    d->enabledFlag = true;
}

bool Pane::Enabled() const { return d->enabledFlag; }

void Pane::setEnabled(bool v) {
    const bool changed = d->enabledFlag != v;
    d->enabledFlag = v;
    site()->letEnabled(v);
    if (v) {
        d->showPicture(d->imgNML);
        d->captionColour(kBlack);
    } else {
        d->showPicture(d->imgPRESS);
        d->captionColour(kGolden);
    }
    if (changed)
        emit EnabledChanged(v);
}

QString Pane::TextCaption() const { return d->caption; }

void Pane::setTextCaption(const QString& sCaption) {
    const bool changed = d->caption != sCaption;
    d->caption = sCaption;
    d->lblTEST->setCaption(sCaption);
    d->describe();
    if (changed)
        emit TextCaptionChanged(sCaption);
}

void Pane::onResize() {
    const Site& s = *site();
    d->imgMAIN->setWidth(s.Width());
    d->imgMAIN->setHeight(s.Height());
    d->lblTEST->setLeft(0);
    d->lblTEST->setWidth(s.Width());
    // Single precision, no rounding: a 375-twip caption on an 800-twip pane sits at 212.5.
    d->lblTEST->setTop((s.Height() - d->lblTEST->Height()) / 2.0f);
}

// The enabled state is read but not applied through the Enabled let: a pane
// saved disabled comes back with its picture hidden while the control itself
// stays enabled, so its caption shows on the golden background and is inert.
void Pane::onReadProperties(const PropertyBag& bag) {
    // Two statements: a saved caption that is not text leaves the caption
    // text as it was, and the label takes that text all the same.
    QString text;
    if (valueToString(bag.ReadProperty(QStringLiteral("TextCaption"), Value(QStringLiteral("Textval"))),
                      text)) {
        const bool changed = d->caption != text;
        d->caption = text;
        if (changed)
            emit TextCaptionChanged(text);
    }
    d->lblTEST->setCaption(d->caption);
    d->describe();
    int32_t colour = 0;
    if (valueToLong(bag.ReadProperty(QStringLiteral("BackColor"), Value(int32_t{0})), colour))
        d->storedColour = colour;
    site()->setBackColor(kGolden);
    bool enabled = true;
    if (valueToBool(bag.ReadProperty(QStringLiteral("Enabled"), Value(QStringLiteral("true"))), enabled) &&
        enabled != d->enabledFlag) {
        d->enabledFlag = enabled;
        emit EnabledChanged(enabled);
    }
    d->imgMAIN->setVisible(d->enabledFlag);
}

// Read as "BackColor", written as "Backcolor" on purpose: a bag that matches
// keys with regard to case loses the value, and nothing depends on it.
void Pane::onWriteProperties(PropertyBag& bag) {
    bag.WriteProperty(QStringLiteral("Backcolor"), Value(d->storedColour));
    bag.WriteProperty(QStringLiteral("TextCaption"), Value(d->caption));
    bag.WriteProperty(QStringLiteral("Enabled"), Value(d->enabledFlag));
}

InvokeStatus Pane::onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args, Value& result) {
    switch (m.dispId) {
    case propertyId(kEnabledN): {
        bool v = false;
        if (args.size() != 1)
            return InvokeStatus::BadParamCount;
        if (!valueToBool(args[0], v))
            return InvokeStatus::TypeMismatch;
        setEnabled(v);
        return InvokeStatus::Ok;
    }
    case propertyId(kTextCaptionN):
        if (kind == InvokeKind::Get) {
            result = Value(TextCaption());
            return InvokeStatus::Ok;
        } else {
            QString s;
            if (args.size() != 1)
                return InvokeStatus::BadParamCount;
            if (!valueToString(args[0], s))
                return InvokeStatus::TypeMismatch;
            setTextCaption(s);
            return InvokeStatus::Ok;
        }
    default:
        return InvokeStatus::UnknownMember;
    }
}

} // namespace korva
