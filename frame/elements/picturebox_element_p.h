// Picture box element: a window with a persistent drawing layer. What is drawn
// (lines, points, text, the gradient painter's fills) lands in a backing image
// that stays until it is cleared and is what the window shows, so drawing
// never waits for a paint. The box has its own scale (twips or pixels) for
// drawing, for the elements it contains and for its mouse notifications.
//
// The backing image follows the window's size: growing fills the new area
// with the back colour and the background picture, and what was drawn in the
// overlapping area stays.
#pragma once

#include "frame/elements/image_surface_p.h"
#include "frame/elements/line_surface_p.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"

#include <optional>

namespace korva {

class PictureBoxElement : public ContainerElement, public LineSurface {
public:
    PictureBoxElement(Control& owner, const QString& name, int index = -1);
    ~PictureBoxElement() override;

    // Drawing scale: twips or pixels; other values are refused.
    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode m);
    float ScaleWidth() const;
    float ScaleHeight() const;
    double toPixelsX(double v) const override;
    double toPixelsY(double v) const override;
    double fromPixelsX(double px) const override;
    double fromPixelsY(double px) const override;

    // Colours as given (OLE_COLOR). A colour that does not translate is
    // refused. Setting BackColor clears the drawing layer to it, as the
    // runtime does.
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t c);
    uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(uint32_t c);

    // The background picture, at the top-left corner under what is drawn.
    // Setting it clears the drawing layer to the back colour and the picture.
    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& p);

    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& f);

    // Where Print writes next, in the box's scale.
    float CurrentX() const { return currentX_; }
    float CurrentY() const { return currentY_; }
    void setCurrentX(float x) { currentX_ = x; }
    void setCurrentY(float y) { currentY_ = y; }

    // Drawing, in the box's scale. Line draws a one-pixel solid line in the
    // fore colour or `colour`, the end point excluded, and leaves CurrentX/Y
    // at the end point. A colour that does not translate or a coordinate that
    // is not a number or lies beyond the device range draws nothing.
    void Line(float x1, float y1, float x2, float y2, std::optional<uint32_t> colour = {});
    void PSet(float x, float y, std::optional<uint32_t> colour = {});
    // The colour (0x00BBGGRR) at a point, -1 outside the drawing area.
    int32_t Point(float x, float y);
    // Clears the drawing layer to the back colour and the picture; CurrentX/Y to 0.
    void Cls();
    // Writes text at CurrentX/CurrentY in the font and fore colour, over a
    // transparent background, then moves to the start of the next line.
    void Print(const QString& text);
    float TextWidth(const QString& text) const;
    float TextHeight(const QString& text) const;

    // A snapshot of the drawing layer; later drawing does not change it.
    Picture Image();
    // setPicture(Image()): the box shows what it holds as a picture of its
    // own. A box that already shows its picture whole keeps its pixels.
    void renewPicture();

    // Whether the layer is plain: nothing drawn since the last clear, so it
    // is the back colour under the picture and keeps no image.
    bool layerIsPlain() const { return plain_; }
    // Which pixels the layer holds: 0 while plain, and another key after
    // anything draws into it (QImage's cache key, which every write renews).
    qint64 layerKey() const { return plain_ ? 0 : surface_.image().cacheKey(); }
    // Takes `image` (RGB32, the box's size) as the drawing layer, sharing its
    // pixels until either side writes.
    void adoptLayer(const QImage& image);

    // LineSurface, in device pixels of the client area.
    bool clientSize(int& width, int& height) const override;
    void drawLine(int x0, int y0, int x1, int y1, uint32_t colour) override;
    QImage* backingImage() override;
    void backingImageChanged() override;

    void paint(QPainter& p, const QRect& r) override;
    bool drawnUntilNeeded() const override;
    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

protected:
    QPointF mouseScale(QPointF px) const override;
    void createWidget() override;

private:
    bool hasClientArea() const;
    QSize clientPixels() const;
    // Brings the backing image to the window's size, keeping the overlap.
    void syncSize();
    // A plain layer is the back colour under the picture, at whatever size:
    // it keeps no image until something draws into it or reads it back.
    void makePlain(bool keepImage = false);
    // The drawing layer, made now if it was plain.
    ImageSurface& layer();
    void clearLayer(QImage& image) const;
    void relayoutContents();

    ScaleMode scaleMode_ = ScaleMode::Twips;
    uint32_t backColor_ = 0x8000000Fu;
    uint32_t foreColor_ = 0x80000012u;
    Picture picture_;
    FontSpec font_;
    float currentX_ = 0;
    float currentY_ = 0;
    ImageSurface surface_{0, 0};
    bool plain_ = true;
};

} // namespace korva
