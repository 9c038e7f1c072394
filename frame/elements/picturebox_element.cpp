#include "frame/elements/picturebox_element_p.h"

#include "frame/colour/colour_p.h"
#include "frame/elements/line_raster_p.h"
#include "frame/platform/fonts_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/element_input_p.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace korva {

namespace {

// The box's window: takes the focus on a click and reports keys and focus.
class PictureBoxWidget : public ElementWidget {
public:
    explicit PictureBoxWidget(Element& e) : ElementWidget(e, nullptr) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::ClickFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* e) override { deliverKeyPress(element(), *e); }
    void keyReleaseEvent(QKeyEvent* e) override { deliverKeyRelease(element(), *e); }
    void focusInEvent(QFocusEvent* e) override {
        ElementWidget::focusInEvent(e);
        deliverPlain(element(), Notification::GotFocus);
    }
    void focusOutEvent(QFocusEvent* e) override {
        ElementWidget::focusOutEvent(e);
        deliverPlain(element(), Notification::LostFocus);
    }
};

} // namespace

PictureBoxElement::PictureBoxElement(Control& owner, const QString& name, int index)
    : ContainerElement(owner, name, index, false) {
    // Many boxes only hold pictures for others to copy and never show.
    deferWidget();
}

PictureBoxElement::~PictureBoxElement() {
    if (isDrawn() && Visible())
        repaint(); // the window that painted it shows what lies below now
}

// A disabled box takes neither the mouse nor the focus: while it holds only
// what its window would paint, the window it lies in paints it all.
bool PictureBoxElement::drawnUntilNeeded() const {
    if (!isDeferred() || Enabled() || isToolWindow())
        return false;
    for (const Element* e : owner().elements())
        if (e->Container() == this && !e->isDrawn())
            return false;
    return true;
}

void PictureBoxElement::createWidget() { setWidget(new PictureBoxWidget(*this)); }

// --- scale -------------------------------------------------------------------

void PictureBoxElement::setScaleMode(ScaleMode m) {
    if (m != ScaleMode::Twips && m != ScaleMode::Pixels)
        return;
    if (scaleMode_ == m)
        return;
    scaleMode_ = m;
    relayoutContents();
}

void PictureBoxElement::relayoutContents() {
    for (Element* e : owner().elements())
        if (e->Container() == this)
            e->relayout();
}

double PictureBoxElement::toPixelsX(double v) const { return scaleToPixelsX(scaleMode_, v); }
double PictureBoxElement::toPixelsY(double v) const { return scaleToPixelsY(scaleMode_, v); }
double PictureBoxElement::fromPixelsX(double px) const { return pixelsToScaleX(scaleMode_, px); }
double PictureBoxElement::fromPixelsY(double px) const { return pixelsToScaleY(scaleMode_, px); }

// A box not made yet has the area its window will have, until the control's
// window is gone.
bool PictureBoxElement::hasClientArea() const { return existingWidget() || (isDeferred() && owner().site()); }

QSize PictureBoxElement::clientPixels() const {
    if (const QWidget* w = existingWidget())
        return w->size();
    return hasClientArea() ? windowRect().size() : QSize();
}

float PictureBoxElement::ScaleWidth() const {
    return static_cast<float>(fromPixelsX(clientPixels().width()));
}
float PictureBoxElement::ScaleHeight() const {
    return static_cast<float>(fromPixelsY(clientPixels().height()));
}

QPointF PictureBoxElement::mouseScale(QPointF px) const { return {fromPixelsX(px.x()), fromPixelsY(px.y())}; }

// --- properties --------------------------------------------------------------

void PictureBoxElement::setBackColor(uint32_t c) {
    if (TranslateColor(c) < 0)
        return;
    // Every let clears, also one that repeats the colour: the runtime erases
    // the drawing whenever the back colour is assigned.
    backColor_ = c;
    makePlain();
    repaint();
}

void PictureBoxElement::setForeColor(uint32_t c) {
    if (TranslateColor(c) < 0)
        return;
    foreColor_ = c;
}

void PictureBoxElement::setPicture(const Picture& p) {
    picture_ = p;
    makePlain();
    repaint();
}

void PictureBoxElement::setFont(const FontSpec& f) { font_ = f; }

// --- the drawing layer -------------------------------------------------------

void PictureBoxElement::clearLayer(QImage& image) const {
    if (image.isNull())
        return;
    const int32_t back = TranslateColor(backColor_);
    image.fill(pixelOfColour(back < 0 ? 0x00FFFFFFu : static_cast<uint32_t>(back)));
    if (!picture_.isNull()) {
        QPainter p(&image);
        p.drawImage(0, 0, picture_.image);
    }
}

void PictureBoxElement::makePlain(bool keepImage) {
    plain_ = true;
    if (!keepImage)
        surface_ = ImageSurface(0, 0);
}

ImageSurface& PictureBoxElement::layer() {
    if (plain_) {
        plain_ = false;
        // An image kept through a Cls is cleared where it is, not made anew.
        if (QImage* kept = surface_.backingImage(); !kept->isNull() && kept->size() == clientPixels())
            clearLayer(*kept);
        else
            surface_ = ImageSurface(0, 0);
    }
    syncSize();
    return surface_;
}

void PictureBoxElement::syncSize() {
    if (plain_)
        return; // any size of a plain layer is the colour under the picture
    const QSize want = clientPixels();
    const QImage& old = surface_.image();
    if (old.size() == want || (old.isNull() && want.isEmpty()))
        return;
    ImageSurface resized(want.width(), want.height());
    if (QImage* image = resized.backingImage(); !image->isNull()) {
        clearLayer(*image);
        if (!old.isNull()) {
            QPainter p(image);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, old);
        }
    }
    surface_ = std::move(resized);
}

bool PictureBoxElement::clientSize(int& width, int& height) const {
    if (!hasClientArea())
        return false;
    const QSize s = clientPixels();
    width = s.width();
    height = s.height();
    return true;
}

void PictureBoxElement::drawLine(int x0, int y0, int x1, int y1, uint32_t colour) {
    for (const int v : {x0, y0, x1, y1})
        if (std::abs(static_cast<double>(v)) > kDevicePixelRange)
            return;
    layer().drawLine(x0, y0, x1, y1, colour);
    repaint();
}

QImage* PictureBoxElement::backingImage() { return layer().backingImage(); }

void PictureBoxElement::adoptLayer(const QImage& image) {
    plain_ = false;
    surface_ = ImageSurface(image);
    repaint();
}

void PictureBoxElement::backingImageChanged() { repaint(); }

namespace {
bool plainColour(std::optional<uint32_t> given, uint32_t fallback, uint32_t& out) {
    const int32_t c = TranslateColor(given.value_or(fallback));
    if (c < 0)
        return false;
    out = static_cast<uint32_t>(c);
    return true;
}
} // namespace

void PictureBoxElement::Line(float x1, float y1, float x2, float y2, std::optional<uint32_t> colour) {
    uint32_t c = 0;
    int px1 = 0, py1 = 0, px2 = 0, py2 = 0;
    if (!plainColour(colour, foreColor_, c) || !toDevicePixel(toPixelsX(x1), px1) ||
        !toDevicePixel(toPixelsY(y1), py1) || !toDevicePixel(toPixelsX(x2), px2) ||
        !toDevicePixel(toPixelsY(y2), py2))
        return;
    drawLine(px1, py1, px2, py2, c);
    currentX_ = x2;
    currentY_ = y2;
}

void PictureBoxElement::PSet(float x, float y, std::optional<uint32_t> colour) {
    uint32_t c = 0;
    int px = 0, py = 0;
    if (!plainColour(colour, foreColor_, c) || !toDevicePixel(toPixelsX(x), px) ||
        !toDevicePixel(toPixelsY(y), py))
        return;
    QImage& image = *layer().backingImage();
    if (image.valid(px, py)) {
        reinterpret_cast<QRgb*>(image.scanLine(py))[px] = pixelOfColour(c);
        repaint();
    }
    currentX_ = x;
    currentY_ = y;
}

int32_t PictureBoxElement::Point(float x, float y) {
    int px = 0, py = 0;
    if (!toDevicePixel(toPixelsX(x), px) || !toDevicePixel(toPixelsY(y), py))
        return -1;
    return static_cast<int32_t>(layer().colourAt(px, py));
}

void PictureBoxElement::Cls() {
    // Drawing usually follows a clear: keep the image for it.
    makePlain(true);
    currentX_ = 0;
    currentY_ = 0;
    repaint();
}

namespace {
// Fonts are sized for the screen's pixels, as the controls' twips are.
QFont deviceFont(const FontSpec& spec) {
    QFont f = toQFont(spec);
    const double dpi = 1440.0 / Platform::instance().twipsPerPixelY();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pointSizeF() * dpi / 72.0))));
    return f;
}
} // namespace

float PictureBoxElement::TextWidth(const QString& text) const {
    const QFontMetricsF fm(deviceFont(font_));
    qreal widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return static_cast<float>(fromPixelsX(std::ceil(widest)));
}

float PictureBoxElement::TextHeight(const QString& text) const {
    const QFontMetricsF fm(deviceFont(font_));
    const auto lines = text.count(QLatin1Char('\n')) + 1;
    return static_cast<float>(fromPixelsY(std::ceil(fm.height()) * static_cast<double>(lines)));
}

void PictureBoxElement::Print(const QString& text) {
    uint32_t c = 0;
    int px = 0, py = 0;
    if (!plainColour({}, foreColor_, c) || !toDevicePixel(toPixelsX(currentX_), px) ||
        !toDevicePixel(toPixelsY(currentY_), py))
        return;
    QImage& image = *layer().backingImage();
    if (!image.isNull()) {
        QPainter p(&image);
        p.setFont(deviceFont(font_));
        p.setPen(QColor(pixelOfColour(c)));
        p.drawText(QRectF(px, py, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
        repaint();
    }
    currentY_ += TextHeight(text);
    currentX_ = 0;
}

namespace {
qint64 nextSerial() {
    static qint64 serials = 0;
    return ++serials;
}
} // namespace

Picture PictureBoxElement::Image() {
    // QImage shares its pixels until one side writes, so this copy costs
    // nothing now and is detached by the next drawing.
    return Picture{layer().image(), {}, nextSerial()};
}

void PictureBoxElement::renewPicture() {
    if (!plain_ || picture_.isNull() || picture_.image.size() != clientPixels() ||
        picture_.image.hasAlphaChannel()) {
        setPicture(Image());
        return;
    }
    picture_ = Picture{picture_.image, {}, nextSerial()};
    makePlain();
    repaint();
}

void PictureBoxElement::paint(QPainter& p, const QRect& r) {
    if (plain_) {
        // The same pixels as the layer it stands for, without keeping one.
        if (picture_.isNull()) {
            const int32_t back = TranslateColor(backColor_);
            p.fillRect(r, QColor(pixelOfColour(back < 0 ? 0x00FFFFFFu : static_cast<uint32_t>(back))));
        } else {
            QImage plain(r.size(), QImage::Format_RGB32);
            clearLayer(plain);
            p.drawImage(r.topLeft(), plain);
        }
        return;
    }
    syncSize();
    p.drawImage(r.topLeft(), surface_.image());
}

std::unique_ptr<Element> PictureBoxElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<PictureBoxElement>(owner, Name(), index);
    e->scaleMode_ = scaleMode_;
    e->backColor_ = backColor_;
    e->foreColor_ = foreColor_;
    e->picture_ = picture_;
    e->font_ = font_;
    return e;
}

} // namespace korva
