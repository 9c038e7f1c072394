// Label element: a caption in a font and colour, with a transparent or opaque
// background, aligned left, right or centre, wrapped at word boundaries.
#pragma once

#include "frame/runtime/element_p.h"

namespace korva {

class LabelElement : public Element {
public:
    enum Alignment : int16_t { LeftJustify = 0, RightJustify = 1, Center = 2 };
    enum BackStyle : int16_t { Transparent = 0, Opaque = 1 };

    LabelElement(Control& owner, const QString& name, int index = -1);

    const QString& Caption() const { return caption_; }
    void setCaption(const QString& c);
    uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(uint32_t c);
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t c);
    int16_t backStyle() const { return backStyle_; }
    void setBackStyle(int16_t s);
    int16_t Alignment() const { return alignment_; }
    void setAlignment(int16_t a);
    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& f);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);

    void paint(QPainter& p, const QRect& r) override;
    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

private:
    void fitToText();

    QString caption_;
    uint32_t foreColor_ = 0x80000012u;
    uint32_t backColor_ = 0x8000000Fu;
    int16_t backStyle_ = Opaque;
    int16_t alignment_ = LeftJustify;
    FontSpec font_;
    bool autoSize_ = false;
    bool wordWrap_ = false;
};

} // namespace korva
