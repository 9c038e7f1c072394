#include "frame/colour/qt_colour_p.h"
#include "frame/elements/textbox_element_p.h"

#include "frame/platform/fonts_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/element_input_p.h"
#include "frame/runtime/recent_p.h"
#include "frame/runtime/site.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <vector>

namespace korva {

namespace {

// The line edit's own limit, which also stands for "no limit".
constexpr int kFieldLimit = 32767;

class TextBoxWidget : public QLineEdit {
public:
    TextBoxWidget(Element& e, QWidget* parent) : QLineEdit(parent), element_(e) {
        setMouseTracking(true);
        connect(this, &QLineEdit::textChanged, this,
                [this] { deliverPlain(element_, Notification::Change); });
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const QPointer<TextBoxWidget> self(this);
        const KeyPressOutcome k = deliverKeyPress(element_, *e);
        if (!self)
            return;
        if (k.typedChanged) {
            type(k.typed);
            e->accept();
            return;
        }
        if (!k.keyKept && k.typed.empty()) {
            e->accept();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }

    void keyReleaseEvent(QKeyEvent* e) override {
        const QPointer<TextBoxWidget> self(this);
        deliverKeyRelease(element_, *e);
        if (self)
            QLineEdit::keyReleaseEvent(e);
    }

    void mousePressEvent(QMouseEvent* e) override {
        const QPointer<TextBoxWidget> self(this);
        deliverMouse(element_, Notification::MouseDown, *e);
        if (self)
            QLineEdit::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const QPointer<TextBoxWidget> self(this);
        deliverMouse(element_, Notification::MouseMove, *e);
        if (self)
            QLineEdit::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const QPointer<TextBoxWidget> self(this);
        QLineEdit::mouseReleaseEvent(e);
        deliverMouse(element_, Notification::MouseUp, *e);
        if (!self)
            return;
        // The release that ends a double-click is not a click of its own.
        if (inDoubleClick_)
            inDoubleClick_ = false;
        else if (rect().contains(e->position().toPoint()))
            deliverPlain(element_, Notification::Click);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        const QPointer<TextBoxWidget> self(this);
        QLineEdit::mouseDoubleClickEvent(e);
        if (!self)
            return;
        inDoubleClick_ = true;
        deliverPlain(element_, Notification::DblClick);
    }

    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        deliverPlain(element_, Notification::GotFocus);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        deliverPlain(element_, Notification::LostFocus);
    }

private:
    // What the field does with characters a handler replaced: printable ones
    // are typed, the editing codes do their editing, other codes nothing.
    void type(const std::u16string& chars) {
        QString run;
        const auto flush = [&] {
            if (!run.isEmpty() && !isReadOnly())
                insert(run);
            run.clear();
        };
        for (const char16_t c : chars) {
            if (c >= 32) {
                run.append(QChar(c));
                continue;
            }
            flush();
            switch (c) {
            case 8:
                if (!isReadOnly())
                    backspace();
                break;
            case 3:
                copy();
                break;
            case 22:
                if (!isReadOnly())
                    paste();
                break;
            case 24:
                if (!isReadOnly())
                    cut();
                break;
            case 26:
                if (!isReadOnly())
                    undo();
                break;
            default:
                break;
            }
        }
        flush();
    }

    Element& element_;
    bool inDoubleClick_ = false;
};

// Boxes with the same colours share one palette. Forms use few colours, but
// a host may set many: the oldest is let go then.
QPalette sharedPalette(const QColor& base, const QColor& text, const QColor& window) {
    struct Entry {
        QRgb base, text, window;
        bool hasWindow;
        QPalette palette;
    };
    static Recent<Entry, 32> made;
    const QRgb w = window.isValid() ? window.rgb() : 0;
    return made
        .find(
            [&](const Entry& e) {
                return e.base == base.rgb() && e.text == text.rgb() && e.hasWindow == window.isValid() &&
                       e.window == w;
            },
            [&] {
                QPalette pal;
                pal.setColor(QPalette::Base, base);
                pal.setColor(QPalette::Text, text);
                if (window.isValid())
                    pal.setColor(QPalette::Window, window);
                return Entry{base.rgb(), text.rgb(), w, window.isValid(), pal};
            })
        .palette;
}

Qt::Alignment qtAlignment(int16_t a) {
    const Qt::Alignment h = a == TextBoxElement::Center         ? Qt::AlignHCenter
                            : a == TextBoxElement::RightJustify ? Qt::AlignRight
                                                                : Qt::AlignLeft;
    return h | Qt::AlignVCenter;
}

int fieldLimit(int32_t maxLength) { return maxLength == 0 ? kFieldLimit : std::min(maxLength, kFieldLimit); }

} // namespace

TextBoxElement::TextBoxElement(Control& owner, const QString& name, int index, Start start)
    : Element(owner, name, index, false) {
    palette_ = ownPalette();
    if (start == Start::LockedNoFocus) {
        locked_ = true;
        refuseFocus();
        deferWidget();
        joinDrawn();
        return;
    }
    TextBoxElement::createWidget();
}

void TextBoxElement::createWidget() {
    // Made in the window it lies in: a field made as a window of its own and
    // moved there keeps what Qt set up for a window.
    QWidget* parent = Container() ? Container()->widget() : static_cast<QWidget*>(owner().site());
    auto* w = new TextBoxWidget(*this, parent);
    // Setting the limit lays the text out again: only when it is not the field's own.
    if (fieldLimit(maxLength_) != w->maxLength())
        w->setMaxLength(fieldLimit(maxLength_));
    if (alignment_ != LeftJustify)
        w->setAlignment(qtAlignment(alignment_));
    w->setFrame(borderStyle_ == FixedSingle);
    if (fontSet_)
        w->setFont(toQFont(font_));
    w->setPalette(palette_);
    w->setReadOnly(locked_);
    if (refusesMenu_)
        w->setContextMenuPolicy(Qt::PreventContextMenu);
    setWidget(w);
}

QLineEdit* TextBoxElement::edit() const { return static_cast<QLineEdit*>(existingWidget()); }

QLineEdit* TextBoxElement::field() { return static_cast<QLineEdit*>(widget()); }

bool TextBoxElement::gone() const { return !existingWidget() && !isDeferred(); }

bool TextBoxElement::drawnUntilNeeded() const {
    return isDeferred() && locked_ && refusesFocus() && refusesMenu_ && !Container() && !isToolWindow();
}

void TextBoxElement::paint(QPainter& p, const QRect& r) {
    const Site* site = owner().site();
    if (!site)
        return;
    // As QLineEdit sets up its panel, for a field that is empty, locked and
    // never has the focus.
    QStyleOptionFrame panel;
    panel.initFrom(site);
    panel.rect = r;
    const bool enabled = Enabled() && site->isEnabled();
    panel.state.setFlag(QStyle::State_Enabled, enabled);
    panel.state.setFlag(QStyle::State_HasFocus, false);
    panel.state.setFlag(QStyle::State_Window, false);
    const QPoint pointer = site->mapFromGlobal(QCursor::pos());
    panel.state.setFlag(QStyle::State_MouseOver,
                        site->underMouse() && r.contains(pointer) && !site->childAt(pointer));
    panel.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    panel.styleObject = nullptr;
    // The field's palette: the class's, under what the control's window was
    // given, under the box's own colours.
    QPalette natural = QApplication::palette("QLineEdit");
    natural =
        natural.isCopyOf(QGuiApplication::palette()) ? site->palette() : site->palette().resolve(natural);
    panel.palette = palette_.resolve(natural);
    // By the rule of QWidget::palette(), the box showing where its window does.
    panel.palette.setCurrentColorGroup(!enabled                                       ? QPalette::Disabled
                                       : !site->isVisible() || site->isActiveWindow() ? QPalette::Active
                                                                                      : QPalette::Inactive);
    QStyle* style = site->style();
    panel.lineWidth =
        borderStyle_ == FixedSingle ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel) : 0;
    panel.midLineWidth = 0;
    panel.features = QStyleOptionFrame::None;
    style->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p);
}

QString TextBoxElement::Text() const { return edit() ? edit()->text() : QString(); }

void TextBoxElement::setText(const QString& t) {
    // A box without its field is empty: an empty text changes nothing.
    if (!edit() && (t.isEmpty() || gone()))
        return;
    if (QLineEdit* f = field()) {
        f->setText(t);
        f->setCursorPosition(0);
    }
}

int32_t TextBoxElement::SelStart() const {
    if (!edit())
        return 0;
    return edit()->hasSelectedText() ? edit()->selectionStart() : edit()->cursorPosition();
}

void TextBoxElement::setSelStart(int32_t start) {
    if (!edit() || start < 0)
        return;
    edit()->setCursorPosition(std::min<int>(start, static_cast<int>(edit()->text().size())));
}

int32_t TextBoxElement::SelLength() const {
    return edit() && edit()->hasSelectedText() ? static_cast<int32_t>(edit()->selectionLength()) : 0;
}

void TextBoxElement::setSelLength(int32_t length) {
    if (!edit() || length < 0)
        return;
    const int start = SelStart();
    const int n = std::min<int>(length, static_cast<int>(edit()->text().size()) - start);
    if (n > 0)
        edit()->setSelection(start, n);
    else
        edit()->setCursorPosition(start);
}

QString TextBoxElement::SelText() const { return edit() ? edit()->selectedText() : QString(); }

void TextBoxElement::setSelText(const QString& t) {
    if (!edit() && (t.isEmpty() || gone()))
        return;
    if (QLineEdit* f = field())
        f->insert(t);
}

void TextBoxElement::setAlignment(int16_t a) {
    if (a < LeftJustify || a > Center || gone())
        return;
    alignment_ = a;
    if (edit())
        edit()->setAlignment(qtAlignment(a));
}

void TextBoxElement::setBorderStyle(int16_t s) {
    if ((s != NoBorder && s != FixedSingle) || gone())
        return;
    borderStyle_ = s;
    if (edit())
        edit()->setFrame(s == FixedSingle);
    else
        repaint();
}

void TextBoxElement::setFont(const FontSpec& f) {
    font_ = f;
    fontSet_ = true;
    if (edit())
        edit()->setFont(toQFont(f));
}

void TextBoxElement::setForeColor(uint32_t c) {
    if (TranslateColor(c) < 0)
        return;
    foreColor_ = c;
    applyColours();
}

void TextBoxElement::setBackColor(uint32_t c) {
    if (TranslateColor(c) < 0)
        return;
    backColor_ = c;
    applyColours();
}

QPalette TextBoxElement::ownPalette() const {
    // The single-line border is drawn by the style from the window colour
    // (darkened), which on a dark palette vanishes into a dark box. Where
    // system colours follow the Qt palette, the border follows the 3D
    // highlight instead, so it shows on light and dark palettes alike.
    const QColor window = Platform::instance().followsQtPalette() ? toQColor(0x80000014u) : QColor();
    return sharedPalette(toQColor(backColor_), toQColor(foreColor_), window);
}

void TextBoxElement::applyColours() {
    if (gone())
        return;
    palette_ = ownPalette();
    if (edit())
        edit()->setPalette(palette_);
    else
        repaint();
}

bool TextBoxElement::Locked() const { return !gone() && locked_; }

void TextBoxElement::setLocked(bool on) {
    if (gone())
        return;
    if (!edit() && isDrawn())
        repaint(); // the panel goes from where it was drawn
    locked_ = on;
    if (edit())
        edit()->setReadOnly(on);
    else
        relayout(); // an unlocked box needs its field once it could show
}

void TextBoxElement::setMaxLength(int32_t n) {
    if (n < 0 || gone())
        return;
    maxLength_ = n;
    if (edit())
        edit()->setMaxLength(fieldLimit(n));
}

void TextBoxElement::SetFocus() {
    if (QLineEdit* f = field())
        f->setFocus(Qt::OtherFocusReason);
}

void TextBoxElement::refuseContextMenu() {
    refusesMenu_ = true;
    if (isDrawn())
        relayout(); // drawn from now on, where it lies
    if (edit())
        edit()->setContextMenuPolicy(Qt::PreventContextMenu);
}

std::unique_ptr<Element> TextBoxElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<TextBoxElement>(owner, Name(), index);
    e->setAlignment(alignment_);
    e->setBorderStyle(borderStyle_);
    e->setFont(font_);
    e->setForeColor(foreColor_);
    e->setBackColor(backColor_);
    e->setLocked(Locked());
    e->setMaxLength(maxLength_);
    if (refusesMenu_)
        e->refuseContextMenu();
    e->setText(Text());
    return e;
}

} // namespace korva
