// The windowless elements the tab strip paints: tab pictures (the left,
// caption and right pieces and their templates), caption labels, the page
// frame shapes and the target behind the page. Each is a real element of the
// control (found by name and index, copied from its template by the element
// array, reached by notifications) without a window of its own.
#pragma once

#include "frame/runtime/element_p.h"

#include <QPointer>

#include <cstdint>
#include <vector>

namespace korva::pages {

class Strip;

class StripItem : public Element {
public:
    ~StripItem() override;

    // The strip goes with the control's window, which a container may
    // delete before the control: then there is nothing left to paint on.
    Strip* strip() const;
    int64_t z() const { return z_; }
    void toFront();
    void toBack();
    virtual bool takesInput() const { return true; }
    QWidget* paintingWindow() const override;
    QRect paintedRect() const override;
    // Schedules a repaint of what the item covers.
    void touch() const;

    // Paints the item into its pixel rectangle `r` (clipped to it by the caller).
    virtual void paintItem(QPainter& p, const QRect& r) = 0;

    // Where the item sits in the strip's list, for removal in constant time.
    std::size_t slot = 0;

protected:
    StripItem(Control& owner, Strip& strip, const QString& name, int index);

private:
    QPointer<Strip> strip_;
    int64_t z_ = 0;
};

// A picture shown at its top-left corner, without stretching, with caption
// texts drawn over it. Giving it another picture wipes what was drawn; the
// identity of the picture (its handle) tells looks apart.
class TabPicture : public StripItem {
public:
    TabPicture(Control& owner, Strip& strip, const QString& name, int index = -1);

    const Picture& picture() const { return picture_; }
    qint64 handle() const { return picture_.handle(); }
    // False when it already held this very picture (nothing changes then).
    bool setPicture(const Picture& p);

    struct DrawnText {
        QString text;
        float x = 0, y = 0; // twips from the top-left corner
        uint32_t colour = 0;
        FontSpec font;
        friend bool operator==(const DrawnText&, const DrawnText&) = default;
    };
    void drawText(DrawnText t);
    const std::vector<DrawnText>& texts() const { return texts_; }

    void paintItem(QPainter& p, const QRect& r) override;
    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

private:
    Picture picture_;
    std::vector<DrawnText> texts_;
};

// An auto-sizing caption label: its size follows the caption in its font.
class TabLabel : public StripItem {
public:
    TabLabel(Control& owner, Strip& strip, const QString& name, int index = -1);

    const QString& Caption() const { return caption_; }
    void setCaption(const QString& c);
    uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(uint32_t c) { foreColor_ = c; }
    const FontSpec& Font() const { return font_; }
    void setFont(const FontSpec& f);

    void paintItem(QPainter& p, const QRect& r) override;
    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

private:
    void fit();

    QString caption_;
    uint32_t foreColor_ = 0x80000012u;
    FontSpec font_;
};

// A rectangle with a one-pixel outline and an optional solid fill. The mouse
// passes through it.
class PageShape : public StripItem {
public:
    PageShape(Control& owner, Strip& strip, const QString& name);

    uint32_t BorderColor() const { return borderColor_; }
    void setBorderColor(uint32_t c) { borderColor_ = c; }
    uint32_t FillColor() const { return fillColor_; }
    void setFillColor(uint32_t c) { fillColor_ = c; }
    bool filled() const { return filled_; }
    void setFilled(bool on) { filled_ = on; }

    bool takesInput() const override { return false; }
    void paintItem(QPainter& p, const QRect& r) override;

private:
    uint32_t borderColor_ = 0x80000008u;
    uint32_t fillColor_ = 0;
    bool filled_ = false;
};

// Catches the pointer where no tab lies; paints nothing.
class BackTarget : public StripItem {
public:
    BackTarget(Control& owner, Strip& strip, const QString& name);
    void paintItem(QPainter&, const QRect&) override {}
};

} // namespace korva::pages
