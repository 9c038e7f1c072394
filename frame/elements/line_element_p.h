// Line element: a solid line from (X1, Y1) to (X2, Y2) in the container's
// scale, BorderWidth pixels thick, drawn by the library's line rasteriser (so
// its end point is excluded, as for every line the library draws). It takes
// no input. Its window is the line's bounding box; Left, Top, Width and
// Height follow the end points and are not meant to be set; give the line its
// container before its end points.
#pragma once

#include "frame/runtime/element_p.h"

namespace korva {

class LineElement : public Element {
public:
    LineElement(Control& owner, const QString& name, int index = -1);

    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    void setX1(float v);
    void setY1(float v);
    void setX2(float v);
    void setY2(float v);

    // Refused: a colour that does not translate, a width outside 1..8192.
    uint32_t BorderColor() const { return borderColor_; }
    void setBorderColor(uint32_t c);
    int16_t BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int16_t w);

    void paint(QPainter& p, const QRect& r) override;
    bool takesMouse() const override { return false; }
    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

protected:
    void createWidget() override;

private:
    // The end points in the container's device pixels; false when one is not
    // a number or lies far beyond any window.
    bool endPoints(QPoint& from, QPoint& to) const;
    void place();
    void setCoordinate(float& member, float v);

    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    uint32_t borderColor_ = 0x80000008u;
    int16_t borderWidth_ = 1;
};

} // namespace korva
