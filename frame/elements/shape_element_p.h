// Shape element: a rectangle (or square, oval, circle, rounded form) with an
// outline and a fill, drawn over an optional back colour. It takes no input:
// the mouse passes through it to what lies below.
//
// Painting order: back colour (when BackStyle is opaque), fill (when
// FillStyle is not transparent), outline (when BorderStyle is not
// transparent). A solid outline of BorderWidth w occupies the outer w pixels
// of the element's rectangle.
#pragma once

#include "frame/runtime/element_p.h"

namespace korva {

class ShapeElement : public Element {
public:
    enum Shape : int16_t {
        Rectangle = 0,
        Square = 1,
        Oval = 2,
        Circle = 3,
        RoundedRectangle = 4,
        RoundedSquare = 5
    };
    enum BorderStyle : int16_t {
        BorderTransparent = 0,
        BorderSolid = 1,
        BorderDash = 2,
        BorderDot = 3,
        BorderDashDot = 4,
        BorderDashDotDot = 5,
        BorderInsideSolid = 6
    };
    enum FillStyle : int16_t {
        FillSolid = 0,
        FillTransparent = 1,
        FillHorizontal = 2,
        FillVertical = 3,
        FillUpwardDiagonal = 4,
        FillDownwardDiagonal = 5,
        FillCross = 6,
        FillDiagonalCross = 7
    };
    enum BackStyle : int16_t { Transparent = 0, Opaque = 1 };

    ShapeElement(Control& owner, const QString& name, int index = -1);

    // Each setter refuses a value outside its range (and a colour that does
    // not translate), keeping the previous one.
    int16_t shape() const { return shape_; }
    void setShape(int16_t s);
    uint32_t BorderColor() const { return borderColor_; }
    void setBorderColor(uint32_t c);
    int16_t borderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t s);
    int16_t BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int16_t w);
    uint32_t FillColor() const { return fillColor_; }
    void setFillColor(uint32_t c);
    int16_t fillStyle() const { return fillStyle_; }
    void setFillStyle(int16_t s);
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t c);
    int16_t backStyle() const { return backStyle_; }
    void setBackStyle(int16_t s);

    void paint(QPainter& p, const QRect& r) override;
    bool takesMouse() const override { return false; }
    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

protected:
    void createWidget() override;

private:
    template <class T> void update(T& member, T value);

    int16_t shape_ = Rectangle;
    uint32_t borderColor_ = 0x80000008u;
    int16_t borderStyle_ = BorderSolid;
    int16_t borderWidth_ = 1;
    uint32_t fillColor_ = 0x00000000u;
    int16_t fillStyle_ = FillTransparent;
    uint32_t backColor_ = 0x80000005u;
    int16_t backStyle_ = Transparent;
};

} // namespace korva
