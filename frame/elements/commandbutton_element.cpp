#include "frame/colour/qt_colour_p.h"
#include "frame/elements/commandbutton_element_p.h"

#include "frame/colour/colour_p.h"
#include "frame/platform/fonts_p.h"
#include "frame/runtime/drawn_elements_p.h"
#include "frame/runtime/element_input_p.h"
#include "frame/runtime/recent_p.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <optional>
#include <vector>

namespace korva {

namespace {

// The style keeps each painted face in the pixmap cache under its palette's
// cache key, and every widget's resolved palette has a key of its own: a form
// of 200 buttons of one colour would paint, and keep, 200 equal faces. Faces
// are painted with one kept palette per distinct set of colours instead, the
// button's own face colour put in at paint time rather than into its palette
// (which would cost every button a palette of its own).
QPalette facePalette(const QPalette& natural, const std::optional<QColor>& face) {
    struct Kept {
        QPalette natural;
        std::optional<QRgb> face;
        QPalette palette;
    };
    static Recent<Kept, 16> kept;
    const std::optional<QRgb> rgb = face ? std::optional<QRgb>(face->rgba()) : std::nullopt;
    QPalette shared = kept.find([&](const Kept& k) { return k.face == rgb && k.natural == natural; },
                                [&] {
                                    QPalette palette = natural;
                                    if (face)
                                        palette.setColor(QPalette::Button, *face);
                                    return Kept{natural, rgb, palette};
                                })
                          .palette;
    shared.setCurrentColorGroup(natural.currentColorGroup());
    return shared;
}

class ButtonWidget : public QPushButton, public PaintsDrawnAbove {
public:
    explicit ButtonWidget(Element& e) : element_(e) {
        setMouseTracking(true);
        connect(this, &QPushButton::clicked, this, [this] { deliverPlain(element_, Notification::Click); });
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QStylePainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.palette =
            facePalette(option.palette, static_cast<CommandButtonElement&>(element_).faceColour());
        p.drawControl(QStyle::CE_PushButton, option);
        paintDrawnAbove(element_, *this, p, e->rect());
    }
    void mousePressEvent(QMouseEvent* e) override {
        const QPointer<ButtonWidget> self(this);
        deliverMouse(element_, Notification::MouseDown, *e);
        if (self)
            QPushButton::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const QPointer<ButtonWidget> self(this);
        deliverMouse(element_, Notification::MouseMove, *e);
        if (self)
            QPushButton::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const QPointer<ButtonWidget> self(this);
        deliverMouse(element_, Notification::MouseUp, *e);
        if (self)
            QPushButton::mouseReleaseEvent(e); // emits clicked: Click comes last
    }
    void mouseDoubleClickEvent(QMouseEvent*) override {
        // The second press of a double click is a DblClick, not a press: the
        // button does not go down again, so its release makes no Click.
        deliverPlain(element_, Notification::DblClick);
    }
    void keyPressEvent(QKeyEvent* e) override {
        const QPointer<ButtonWidget> self(this);
        const KeyPressOutcome k = deliverKeyPress(element_, *e);
        // A push button moves the focus on arrow keys by itself; here the
        // control's handlers alone decide what an arrow does.
        if (self && k.keyKept && !isArrow(e->key()))
            QPushButton::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        const QPointer<ButtonWidget> self(this);
        deliverKeyRelease(element_, *e);
        if (self)
            QPushButton::keyReleaseEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override {
        QPushButton::focusInEvent(e);
        deliverPlain(element_, Notification::GotFocus);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QPushButton::focusOutEvent(e);
        deliverPlain(element_, Notification::LostFocus);
    }

private:
    static bool isArrow(int key) {
        return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    }
    Element& element_;
};

} // namespace

CommandButtonElement::CommandButtonElement(Control& owner, const QString& name, int index)
    : Element(owner, name, index, false) {
    setWidget(new ButtonWidget(*this));
}

QPushButton* CommandButtonElement::button() const { return static_cast<QPushButton*>(widget()); }

QString CommandButtonElement::Caption() const { return button() ? button()->text() : QString(); }

void CommandButtonElement::setCaption(const QString& c) {
    if (button())
        button()->setText(c);
}

void CommandButtonElement::setFont(const FontSpec& f) {
    font_ = f;
    if (button())
        button()->setFont(toQFont(f));
}

void CommandButtonElement::setBackColor(uint32_t c) {
    if (TranslateColor(c) < 0 || !button())
        return;
    backColor_ = c;
    faceSet_ = true;
    button()->update();
}

std::optional<QColor> CommandButtonElement::faceColour() const {
    if (!faceSet_)
        return std::nullopt;
    return toQColor(backColor_);
}

void CommandButtonElement::SetFocus() {
    if (button())
        button()->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<Element> CommandButtonElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<CommandButtonElement>(owner, Name(), index);
    e->setCaption(Caption());
    e->setFont(font_);
    if (faceSet_)
        e->setBackColor(backColor_);
    return e;
}

} // namespace korva
