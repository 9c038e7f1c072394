// Combo box element: a drop-down list, with an edit field (style 0, the
// default) or without one (style 2). Click follows every change of the
// selected item to an item, by the user or by ListIndex; Change follows a
// change of the edit field's text, typed or set through Text. Adding,
// removing and clearing items never selects an item by themselves.
//
// The window (a QComboBox, whose list and edit field cost more than the rest
// of many controls) is made when first needed: when something asks for it,
// when the list gets an item, or when the element comes into sight. Until
// then the element holds its font, edit text and focus policy itself.
#pragma once

#include "frame/runtime/element_p.h"

#include <optional>

class QComboBox;

namespace korva {

class ComboBoxElement : public Element {
public:
    enum Style : int16_t { DropdownCombo = 0, DropdownList = 2 };

    ComboBoxElement(Control& owner, const QString& name, int index = -1, int16_t style = DropdownCombo);

    int16_t style() const { return style_; }

    // Inserts at `index` (-1: at the end); an index past the end is refused.
    void AddItem(const QString& item, int32_t index = -1);
    // Refused for an index that names no item.
    void RemoveItem(int32_t index);
    void Clear();
    int32_t ListCount() const;
    // Empty for an index that names no item.
    QString List(int32_t index) const;
    void setList(int32_t index, const QString& item);
    // -1: no item selected. Values below -1 or past the last item are refused.
    int32_t ListIndex() const;
    void setListIndex(int32_t index);

    // With an edit field, its text. Without one, the selected item's text;
    // setting it selects the item with that text, and a text no item has is
    // refused.
    QString Text() const;
    void setText(const QString& t);

    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& f);
    void setFocusPolicy(Qt::FocusPolicy p);

    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

protected:
    void createWidget() override;

private:
    // The window, made if need be; existing() when it is not to be made.
    QComboBox* combo() const;
    QComboBox* existing() const;
    // Runs a change of the list with the selection and text kept as they
    // were (Qt would otherwise select the first item added) and nothing reported.
    template <class F> void quietly(F&& change, int32_t keepIndex);

    int16_t style_;
    FontSpec font_;
    bool fontGiven_ = false;
    QString editText_; // until the window is made
    std::optional<Qt::FocusPolicy> focusPolicy_;
    bool quiet_ = false;
};

} // namespace korva
