// Text box element: a single-line edit field. Keys reach the handlers before
// the field acts on them (see element_input.h): a KeyPress handler that sets
// KeyAscii to 0 drops the character, one that changes it types the changed
// character instead. Change follows every change of the text, typed or set.
//
// A box made LockedNoFocus (a frame, say) that lies on the control and
// refuses its edit menu has nothing to edit and nothing to show but its
// panel while it stays locked and empty: it has no window then, and the
// control's window draws it as the field would be drawn and passes it the
// mouse input over it. The field is made once something needs it: a text,
// unlocking, the focus, a box to lie in, or a caller asking for widget().
#pragma once

#include "frame/runtime/element_p.h"

#include <QPalette>

class QLineEdit;

namespace korva {

class TextBoxElement : public Element {
public:
    enum Alignment : int16_t { LeftJustify = 0, RightJustify = 1, Center = 2 };
    enum BorderStyle : int16_t { NoBorder = 0, FixedSingle = 1 };

    enum class Start { Editable, LockedNoFocus };

    TextBoxElement(Control& owner, const QString& name, int index = -1, Start start = Start::Editable);

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

    // A right click is the box's MouseDown and MouseUp and nothing else: no
    // edit menu of its own, whenever its field is made.
    void refuseContextMenu();

    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

    bool drawnUntilNeeded() const override;
    bool keepsContextMenu() const override { return refusesMenu_; }
    // The panel the field would paint: empty, locked, without the focus.
    void paint(QPainter& p, const QRect& r) override;

protected:
    void createWidget() override;

private:
    // The field, or nullptr while it is not made (or its window is gone).
    QLineEdit* edit() const;
    // The field, made now if need be; nullptr when the control's window is gone.
    QLineEdit* field();
    // A field that was made and is gone with the control's window: lets change nothing then.
    bool gone() const;
    QPalette ownPalette() const;
    void applyColours();

    int16_t alignment_ = LeftJustify;
    int16_t borderStyle_ = FixedSingle;
    FontSpec font_;
    uint32_t foreColor_ = 0x80000008u;
    uint32_t backColor_ = 0x80000005u;
    int32_t maxLength_ = 0;
    // Base and Text (and Window, see applyColours) as translated when set;
    // boxes with the same colours share one.
    QPalette palette_;
    bool fontSet_ = false;
    bool locked_ = false;
    bool refusesMenu_ = false;
};

} // namespace korva
