// Text box element: a single-line edit field. Keys reach the handlers before
// the field acts on them (see element_input.h): a KeyPress handler that sets
// KeyAscii to 0 drops the character, one that changes it types the changed
// character instead. Change follows every change of the text, typed or set.
#pragma once

#include "frame/runtime/element_p.h"

class QLineEdit;

namespace korva {

class TextBoxElement : public Element {
public:
    enum Alignment : int16_t { LeftJustify = 0, RightJustify = 1, Center = 2 };
    enum BorderStyle : int16_t { NoBorder = 0, FixedSingle = 1 };

    TextBoxElement(Control& owner, const QString& name, int index = -1);

    // Setting the text puts the caret at the start, as the runtime does.
    QString Text() const;
    void setText(const QString& t);

    // Selection, in characters. Negative values are refused; values past the
    // end of the text are brought back to it.
    int32_t SelStart() const;
    void setSelStart(int32_t start);
    int32_t SelLength() const;
    void setSelLength(int32_t length);
    QString SelText() const;
    void setSelText(const QString& t);

    // Each setter refuses a value outside its range (and a colour that does
    // not translate), keeping the previous one.
    int16_t Alignment() const { return alignment_; }
    void setAlignment(int16_t a);
    int16_t borderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t s);
    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& f);
    uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(uint32_t c);
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t c);
    // A locked box still reports keys but does not change its text.
    bool Locked() const;
    void setLocked(bool on);
    // 0: no limit beyond the field's own.
    int32_t MaxLength() const { return maxLength_; }
    void setMaxLength(int32_t n);

    void SetFocus();

    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

private:
    QLineEdit* edit() const;
    void applyColours();

    int16_t alignment_ = LeftJustify;
    int16_t borderStyle_ = FixedSingle;
    FontSpec font_;
    uint32_t foreColor_ = 0x80000008u;
    uint32_t backColor_ = 0x80000005u;
    int32_t maxLength_ = 0;
};

} // namespace korva
