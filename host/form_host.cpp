#include "host/form_host.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korva::host {

FormHost::FormHost(KorvaLibrary& library, HostedControl::EventLog log)
    : library_(library), log_(std::move(log)), surface_(std::make_unique<QWidget>()) {
    surface_->setAutoFillBackground(true);
    fitSurface();
}

FormHost::~FormHost() { clear(); }

void FormHost::clear() {
    // Each release ends the control's window, which takes it off the surface.
    while (!controls_.empty())
        controls_.pop_back();
    byName_.clear();
    bottom_ = 0;
    fitSurface();
}

bool FormHost::validName(QStringView name) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name.toString()).hasMatch();
}

int FormHost::twipsPerPixel() const {
    const int dpi = surface_->logicalDpiX();
    return dpi > 0 ? static_cast<int>(std::lround(1440.0 / dpi)) : 15;
}

HostedControl* FormHost::find(QStringView name) const {
    return byName_.value(name.toString().toCaseFolded(), nullptr);
}

std::unique_ptr<HostedControl> FormHost::create(const QString& className, const QString& name,
                                                QString* error) {
    if (!validName(name)) {
        if (error)
            *error =
                QStringLiteral("%1 is not a control name (letters, digits and _, not starting with a digit)")
                    .arg(name);
        return nullptr;
    }
    ComPtr<IKorvaControl> control;
    if (!library_.createControl(className, control, error))
        return nullptr;
    return std::make_unique<HostedControl>(name, std::move(control), log_);
}

int64_t FormHost::bottomOf(const HostedControl& c) {
    float w = 0, h = 0;
    c.control()->GetExtent(&w, &h);
    const float height = std::isfinite(h) ? std::clamp(h, 0.0f, 4.0e9f) : 0.0f;
    return int64_t{c.top()} + std::llround(height);
}

void FormHost::place(HostedControl& c) {
    QWidget* w = c.window();
    const int tpp = twipsPerPixel();
    w->setParent(surface_.get());
    w->move(c.left() / tpp, c.top() / tpp);
    w->show();
    // What showing posts is delivered now, as an event loop would: a script
    // runs without one, and a queue of posted events that only grows makes
    // every later window's end scan all of it.
    QCoreApplication::sendPostedEvents();
    byName_.insert(c.name().toCaseFolded(), &c);
    bottom_ = std::max(bottom_, bottomOf(c));
}

void FormHost::growSurface(const QWidget& window) {
    const QRect g = window.geometry();
    bounds_ |= QRect(QPoint(0, 0), g.bottomRight());
    margin_ = std::min({margin_, std::max(g.left(), 0), std::max(g.top(), 0)});
    QRect framed = bounds_;
    if (!controls_.empty())
        framed.adjust(0, 0, margin_, margin_);
    surface_->resize(framed.size());
}

void FormHost::fitSurface() {
    // The form keeps on its right and bottom the margin its controls keep
    // from its left and top, so a saved layout looks framed the same way.
    bounds_ = QRect(0, 0, 1, 1);
    margin_ = std::numeric_limits<int>::max();
    if (controls_.empty()) {
        surface_->resize(bounds_.size());
        return;
    }
    for (const auto& c : controls_)
        growSurface(*c->window());
}

HostedControl* FormHost::addNew(const QString& className, const QString& name,
                                std::optional<QSizeF> sizeTwips, QString* error) {
    if (find(name)) {
        if (error)
            *error = QStringLiteral("a control named %1 already exists").arg(name);
        return nullptr;
    }
    std::unique_ptr<HostedControl> c = create(className, name, error);
    if (!c)
        return nullptr;
    const QSizeF size = sizeTwips.value_or(QSizeF(c->classInfo().designSize));
    if (bottom_ > std::numeric_limits<int32_t>::max()) {
        if (error)
            *error = QStringLiteral("no room for %1 below the other controls: its top would be %2 twips, "
                                    "beyond the largest position %3")
                         .arg(name)
                         .arg(bottom_)
                         .arg(std::numeric_limits<int32_t>::max());
        return nullptr;
    }
    c->setPosition(0, static_cast<int>(bottom_));
    IKorvaControl* ctl = c->control();
    HRESULT hr = ctl->Initialize();
    if (SUCCEEDED(hr))
        hr = ctl->InitProperties();
    if (SUCCEEDED(hr))
        hr = ctl->SetExtent(static_cast<float>(size.width()), static_cast<float>(size.height()));
    if (FAILED(hr)) {
        if (error)
            *error = QStringLiteral("%1 could not be set up: %2").arg(name, describeResult(hr));
        return nullptr;
    }
    controls_.push_back(std::move(c));
    place(*controls_.back());
    growSurface(*controls_.back()->window());
    return controls_.back().get();
}

bool FormHost::load(const QString& path, QString* error) {
    FormDocument doc;
    FormError ferr;
    if (!loadForm(path, doc, ferr)) {
        if (error)
            *error = ferr.toString();
        return false;
    }
    std::vector<std::unique_ptr<HostedControl>> loaded;
    for (const FormControl& fc : doc.controls) {
        QString why;
        std::unique_ptr<HostedControl> c = create(fc.className, fc.name, &why);
        if (!c) {
            if (error)
                *error = QStringLiteral("%1: control %2: %3").arg(path, fc.name, why);
            return false; // `loaded` releases what was made so far
        }
        c->setPosition(fc.left, fc.top);
        IKorvaControl* ctl = c->control();
        HRESULT hr = ctl->Initialize();
        if (SUCCEEDED(hr))
            hr = ctl->ReadProperties(&fc.bag);
        if (SUCCEEDED(hr))
            hr = ctl->SetExtent(static_cast<float>(fc.width), static_cast<float>(fc.height));
        if (FAILED(hr)) {
            if (error)
                *error = QStringLiteral("%1: control %2 could not be loaded: %3")
                             .arg(path, fc.name, describeResult(hr));
            return false;
        }
        loaded.push_back(std::move(c));
    }
    clear();
    controls_ = std::move(loaded);
    for (const auto& c : controls_)
        place(*c);
    fitSurface();
    return true;
}

FormDocument FormHost::document() const {
    FormDocument doc;
    for (const auto& c : controls_) {
        FormControl fc;
        fc.className = c->classInfo().progId();
        fc.name = c->name();
        fc.left = c->left();
        fc.top = c->top();
        float w = 0, h = 0;
        c->control()->GetExtent(&w, &h);
        fc.width = static_cast<int32_t>(std::lround(w));
        fc.height = static_cast<int32_t>(std::lround(h));
        fc.bag = bagOf(*c);
        doc.controls.push_back(std::move(fc));
    }
    return doc;
}

bool FormHost::save(const QString& path, QString* error) const { return saveForm(path, document(), error); }

PropertyBag FormHost::bagOf(HostedControl& c) const {
    PropertyBag bag;
    c.control()->WriteProperties(&bag);
    return bag;
}

bool FormHost::resize(HostedControl& c, float widthTwips, float heightTwips, QString* error) {
    const HRESULT hr = c.control()->SetExtent(widthTwips, heightTwips);
    if (FAILED(hr)) {
        if (error)
            *error =
                QStringLiteral("%1 cannot take the size %2 x %3 twips: %4")
                    .arg(c.name())
                    .arg(widthTwips)
                    .arg(heightTwips)
                    .arg(hr == E_INVALIDARG ? QStringLiteral("no window is that large") : describeResult(hr));
        return false;
    }
    // The control may have shrunk: both the next top and the surface are
    // worked out again from every control.
    bottom_ = 0;
    for (const auto& other : controls_)
        bottom_ = std::max(bottom_, bottomOf(*other));
    fitSurface();
    return true;
}

} // namespace korva::host
