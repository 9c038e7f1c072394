#include "frame/elements/combobox_element_p.h"

#include "frame/platform/fonts_p.h"
#include "frame/runtime/element_input_p.h"

#include <QComboBox>
#include <QLineEdit>

namespace korva {

ComboBoxElement::ComboBoxElement(Control& owner, const QString& name, int index, int16_t style)
    : Element(owner, name, index, false), style_(style == DropdownList ? DropdownList : DropdownCombo) {
    deferWidget();
}

void ComboBoxElement::createWidget() {
    auto* box = new QComboBox;
    if (style_ == DropdownCombo) {
        box->setEditable(true);
        // The runtime's combo neither completes typed text nor adds it to the list on Enter.
        box->setCompleter(nullptr);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setEditText(editText_);
        QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box,
                         [this] { deliverPlain(*this, Notification::Change); });
    }
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [this](int i) {
        if (!quiet_ && i >= 0)
            deliverPlain(*this, Notification::Click);
    });
    if (fontGiven_)
        box->setFont(toQFont(font_));
    if (focusPolicy_)
        box->setFocusPolicy(*focusPolicy_);
    setWidget(box);
}

QComboBox* ComboBoxElement::combo() const { return static_cast<QComboBox*>(widget()); }
QComboBox* ComboBoxElement::existing() const { return static_cast<QComboBox*>(existingWidget()); }

template <class F> void ComboBoxElement::quietly(F&& change, int32_t keepIndex) {
    QComboBox* box = combo();
    const QString text = box->currentText();
    quiet_ = true;
    change(*box);
    box->setCurrentIndex(keepIndex);
    if (box->isEditable())
        box->setEditText(text);
    quiet_ = false;
}

void ComboBoxElement::AddItem(const QString& item, int32_t index) {
    if (!existing() && index != -1 && index != 0)
        return; // past the end of an empty list
    QComboBox* box = combo();
    if (!box || index < -1 || index > box->count())
        return;
    const int at = index == -1 ? box->count() : index;
    const int current = box->currentIndex();
    const int keep = current >= at ? current + 1 : current;
    quietly([&](QComboBox& b) { b.insertItem(at, item); }, keep);
}

// Without a window the list is empty: what needs an item is refused as with
// an empty list, and the edit text is kept here.
void ComboBoxElement::RemoveItem(int32_t index) {
    QComboBox* box = existing();
    if (!box || index < 0 || index >= box->count())
        return;
    const int current = box->currentIndex();
    const int keep = current == index ? -1 : current > index ? current - 1 : current;
    quietly([&](QComboBox& b) { b.removeItem(index); }, keep);
}

void ComboBoxElement::Clear() {
    QComboBox* box = existing();
    if (!box) {
        editText_.clear();
        return;
    }
    quiet_ = true;
    box->clear();
    if (box->isEditable())
        box->clearEditText();
    quiet_ = false;
}

int32_t ComboBoxElement::ListCount() const { return existing() ? existing()->count() : 0; }

QString ComboBoxElement::List(int32_t index) const {
    if (!existing() || index < 0 || index >= existing()->count())
        return {};
    return existing()->itemText(index);
}

void ComboBoxElement::setList(int32_t index, const QString& item) {
    if (!existing() || index < 0 || index >= existing()->count())
        return;
    existing()->setItemText(index, item);
}

int32_t ComboBoxElement::ListIndex() const { return existing() ? existing()->currentIndex() : -1; }

void ComboBoxElement::setListIndex(int32_t index) {
    QComboBox* box = existing();
    if (!box || index < -1 || index >= box->count())
        return;
    box->setCurrentIndex(index);
}

QString ComboBoxElement::Text() const {
    if (QComboBox* box = existing())
        return box->currentText();
    return style_ == DropdownCombo ? editText_ : QString();
}

void ComboBoxElement::setText(const QString& t) {
    QComboBox* box = existing();
    if (!box) {
        if (style_ != DropdownCombo || editText_ == t)
            return; // no item has the text; or the same text
        editText_ = t;
        deliverPlain(*this, Notification::Change);
        return;
    }
    if (!box->isEditable()) {
        const int i = box->findText(t, Qt::MatchFixedString);
        if (i >= 0)
            box->setCurrentIndex(i);
        return;
    }
    if (box->currentText() == t)
        return;
    box->setEditText(t);
    deliverPlain(*this, Notification::Change);
}

void ComboBoxElement::setFont(const FontSpec& f) {
    font_ = f;
    fontGiven_ = true;
    if (QComboBox* box = existing())
        box->setFont(toQFont(f));
}

void ComboBoxElement::setFocusPolicy(Qt::FocusPolicy p) {
    focusPolicy_ = p;
    if (QComboBox* box = existing())
        box->setFocusPolicy(p);
}

std::unique_ptr<Element> ComboBoxElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<ComboBoxElement>(owner, Name(), index, style_);
    if (fontGiven_)
        e->setFont(font_);
    if (focusPolicy_)
        e->setFocusPolicy(*focusPolicy_);
    if (QComboBox* box = existing()) {
        for (int i = 0; i < box->count(); ++i)
            e->AddItem(box->itemText(i));
        e->quietly([](QComboBox&) {}, ListIndex());
    }
    if (style_ == DropdownCombo)
        e->setText(Text());
    return e;
}

} // namespace korva
