#include "host/form_host.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korva::host {

FormHost::FormHost(KorvaLibrary& library, HostedControl::EventLog log)
    : library_(library), log_(std::move(log)), surface_(std::make_unique<QWidget>()) {
    surface_->setAutoFillBackground(true);
    surface_->resize(1, 1);
}

FormHost::~FormHost() { clear(); }

void FormHost::clear() {
    // Each release ends the control's window, which takes it off the surface.
    while (!controls_.empty())
        controls_.pop_back();
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
    for (const auto& c : controls_)
        if (name.compare(c->name(), Qt::CaseInsensitive) == 0)
            return c.get();
    return nullptr;
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

void FormHost::place(HostedControl& c) {
    QWidget* w = c.window();
    const int tpp = twipsPerPixel();
    w->setParent(surface_.get());
    w->move(c.left() / tpp, c.top() / tpp);
    fitSurface();
    w->show();
}

void FormHost::fitSurface() {
    // The form keeps on its right and bottom the margin its controls keep
    // from its left and top, so a saved layout looks framed the same way.
    QRect bounds(0, 0, 1, 1);
    int margin = std::numeric_limits<int>::max();
    for (const auto& c : controls_) {
        const QRect g = c->window()->geometry();
        bounds |= QRect(QPoint(0, 0), g.bottomRight());
        margin = std::min({margin, std::max(g.left(), 0), std::max(g.top(), 0)});
    }
    if (!controls_.empty())
        bounds.adjust(0, 0, margin, margin);
    surface_->resize(bounds.size());
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
    int top = 0;
    for (const auto& other : controls_) {
        float w = 0, h = 0;
        other->control()->GetExtent(&w, &h);
        top = std::max(top, other->top() + static_cast<int>(std::lround(h)));
    }
    c->setPosition(0, top);
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
    fitSurface();
    return true;
}

} // namespace korva::host
