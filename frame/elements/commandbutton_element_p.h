// Command button element: a push button. A press and release over it, or
// Space while it has the focus, gives Click; the mouse and key notifications
// come before the button acts, in the order MouseDown, MouseUp, Click.
#pragma once

#include "frame/runtime/element_p.h"

#include <QColor>

#include <optional>

class QPushButton;

namespace korva {

class CommandButtonElement : public Element {
public:
    CommandButtonElement(Control& owner, const QString& name, int index = -1);

    // '&' marks the access key, as in every caption.
    QString Caption() const;
    void setCaption(const QString& c);
    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& f);
    // Refused when the colour does not translate.
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t c);
    // The colour the face is painted in, once one was set.
    std::optional<QColor> faceColour() const;

    void SetFocus();

    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

private:
    QPushButton* button() const;

    FontSpec font_;
    uint32_t backColor_ = 0x8000000Fu;
    bool faceSet_ = false;
};

} // namespace korva
