#include "frame/colour/qt_colour_p.h"
#include "frame/elements/textbox_element_p.h"

#include "frame/platform/fonts_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/element_input_p.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

namespace korva {

namespace {

// The line edit's own limit, which also stands for "no limit".
constexpr int kFieldLimit = 32767;

class TextBoxWidget : public QLineEdit {
public:
    explicit TextBoxWidget(Element& e) : element_(e) {
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

} // namespace

TextBoxElement::TextBoxElement(Control& owner, const QString& name, int index)
    : Element(owner, name, index, false) {
    auto* w = new TextBoxWidget(*this);
    w->setMaxLength(kFieldLimit);
    setWidget(w);
    applyColours();
}

QLineEdit* TextBoxElement::edit() const { return static_cast<QLineEdit*>(widget()); }

QString TextBoxElement::Text() const { return edit() ? edit()->text() : QString(); }

void TextBoxElement::setText(const QString& t) {
    if (!edit())
        return;
    edit()->setText(t);
    edit()->setCursorPosition(0);
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
    if (edit())
        edit()->insert(t);
}

void TextBoxElement::setAlignment(int16_t a) {
    if (a < LeftJustify || a > Center || !edit())
        return;
    alignment_ = a;
    const Qt::Alignment h = a == Center         ? Qt::AlignHCenter
                            : a == RightJustify ? Qt::AlignRight
                                                : Qt::AlignLeft;
    edit()->setAlignment(h | Qt::AlignVCenter);
}

void TextBoxElement::setBorderStyle(int16_t s) {
    if ((s != NoBorder && s != FixedSingle) || !edit())
        return;
    borderStyle_ = s;
    edit()->setFrame(s == FixedSingle);
}

void TextBoxElement::setFont(const FontSpec& f) {
    font_ = f;
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

void TextBoxElement::applyColours() {
    if (!edit())
        return;
    QPalette pal = edit()->palette();
    pal.setColor(QPalette::Base, toQColor(backColor_));
    pal.setColor(QPalette::Text, toQColor(foreColor_));
    // The single-line border is drawn by the style from the window colour
    // (darkened), which on a dark palette vanishes into a dark box. Where
    // system colours follow the Qt palette, the border follows the 3D
    // highlight instead, so it shows on light and dark palettes alike.
    if (Platform::instance().followsQtPalette())
        pal.setColor(QPalette::Window, toQColor(0x80000014u)); // button highlight
    edit()->setPalette(pal);
}

bool TextBoxElement::Locked() const { return edit() && edit()->isReadOnly(); }

void TextBoxElement::setLocked(bool on) {
    if (edit())
        edit()->setReadOnly(on);
}

void TextBoxElement::setMaxLength(int32_t n) {
    if (n < 0 || !edit())
        return;
    maxLength_ = n;
    edit()->setMaxLength(n == 0 ? kFieldLimit : std::min(n, kFieldLimit));
}

void TextBoxElement::SetFocus() {
    if (edit())
        edit()->setFocus(Qt::OtherFocusReason);
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
    e->setText(Text());
    return e;
}

} // namespace korva
