#include "frame/elements/combobox_element_p.h"

#include "frame/platform/fonts_p.h"
#include "frame/runtime/element_input_p.h"

#include <QComboBox>
#include <QLineEdit>

namespace korva {

ComboBoxElement::ComboBoxElement(Control& owner, const QString& name, int index, int16_t style)
    : Element(owner, name, index, false), style_(style == DropdownList ? DropdownList : DropdownCombo) {
    auto* box = new QComboBox;
    if (style_ == DropdownCombo) {
        box->setEditable(true);
        // The runtime's combo neither completes typed text nor adds it to the list on Enter.
        box->setCompleter(nullptr);
        box->setInsertPolicy(QComboBox::NoInsert);
        connect(box->lineEdit(), &QLineEdit::textEdited, this,
                [this] { deliverPlain(*this, Notification::Change); });
    }
    connect(box, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!quiet_ && i >= 0)
            deliverPlain(*this, Notification::Click);
    });
    setWidget(box);
}

QComboBox* ComboBoxElement::combo() const { return static_cast<QComboBox*>(widget()); }

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
    QComboBox* box = combo();
    if (!box || index < -1 || index > box->count())
        return;
    const int at = index == -1 ? box->count() : index;
    const int current = box->currentIndex();
    const int keep = current >= at ? current + 1 : current;
    quietly([&](QComboBox& b) { b.insertItem(at, item); }, keep);
}

void ComboBoxElement::RemoveItem(int32_t index) {
    QComboBox* box = combo();
    if (!box || index < 0 || index >= box->count())
        return;
    const int current = box->currentIndex();
    const int keep = current == index ? -1 : current > index ? current - 1 : current;
    quietly([&](QComboBox& b) { b.removeItem(index); }, keep);
}

void ComboBoxElement::Clear() {
    QComboBox* box = combo();
    if (!box)
        return;
    quiet_ = true;
    box->clear();
    if (box->isEditable())
        box->clearEditText();
    quiet_ = false;
}

int32_t ComboBoxElement::ListCount() const { return combo() ? combo()->count() : 0; }

QString ComboBoxElement::List(int32_t index) const {
    if (!combo() || index < 0 || index >= combo()->count())
        return {};
    return combo()->itemText(index);
}

void ComboBoxElement::setList(int32_t index, const QString& item) {
    if (!combo() || index < 0 || index >= combo()->count())
        return;
    combo()->setItemText(index, item);
}

int32_t ComboBoxElement::ListIndex() const { return combo() ? combo()->currentIndex() : -1; }

void ComboBoxElement::setListIndex(int32_t index) {
    QComboBox* box = combo();
    if (!box || index < -1 || index >= box->count())
        return;
    box->setCurrentIndex(index);
}

QString ComboBoxElement::Text() const { return combo() ? combo()->currentText() : QString(); }

void ComboBoxElement::setText(const QString& t) {
    QComboBox* box = combo();
    if (!box)
        return;
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
    if (combo())
        combo()->setFont(toQFont(f));
}

std::unique_ptr<Element> ComboBoxElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<ComboBoxElement>(owner, Name(), index, style_);
    e->setFont(font_);
    if (QComboBox* box = combo())
        for (int i = 0; i < box->count(); ++i)
            e->AddItem(box->itemText(i));
    e->quietly([](QComboBox&) {}, ListIndex());
    if (style_ == DropdownCombo)
        e->setText(Text());
    return e;
}

} // namespace korva
