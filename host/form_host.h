// FormHost: the container's form. It creates controls through the library's
// entry points, places their windows on one surface, drives their lifecycle
// in the documented order, and loads and saves the form as a form file.
#pragma once

#include "frame/values/form_file_p.h"
#include "host/hosted_control.h"
#include "host/library.h"

#include <QHash>
#include <QRect>
#include <QSizeF>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace korva::host {

class FormHost {
public:
    FormHost(KorvaLibrary& library, HostedControl::EventLog log);
    // Releases the controls before the surface that holds their windows.
    ~FormHost();

    // The form's surface; its size follows the controls.
    QWidget* surface() const { return surface_.get(); }

    HostedControl* find(QStringView name) const;
    const std::vector<std::unique_ptr<HostedControl>>& controls() const { return controls_; }

    // A new control with first-time defaults (Initialize, InitProperties), sized
    // in twips (the class's design size when none is given), placed below the
    // controls already there, resized and shown.
    HostedControl* addNew(const QString& className, const QString& name, std::optional<QSizeF> sizeTwips,
                          QString* error);
    // Replaces the form by the file's controls: each gets Initialize, then
    // ReadProperties with its saved bag, then its size. Nothing changes when
    // the file or any of its controls fails.
    bool load(const QString& path, QString* error);
    // WriteProperties for every control, in form order, into the file.
    bool save(const QString& path, QString* error) const;
    FormDocument document() const;

    bool resize(HostedControl& c, float widthTwips, float heightTwips, QString* error);
    // What WriteProperties stores for the control, in write order.
    PropertyBag bagOf(HostedControl& c) const;

    void clear();

    static bool validName(QStringView name);
    int twipsPerPixel() const;

private:
    std::unique_ptr<HostedControl> create(const QString& className, const QString& name, QString* error);
    // Puts the control's window on the surface and takes note of its extent.
    void place(HostedControl& c);
    // The twips below the control, in 64 bits: a control may sit at the
    // largest position there is.
    static int64_t bottomOf(const HostedControl& c);
    // The surface frames every control with the margin they keep from its
    // left and top. Growing by one window costs nothing; the full pass runs
    // only when a window may have shrunk or gone.
    void growSurface(const QWidget& window);
    void fitSurface();

    KorvaLibrary& library_;
    HostedControl::EventLog log_;
    std::unique_ptr<QWidget> surface_;
    std::vector<std::unique_ptr<HostedControl>> controls_;
    // Loading and adding stay linear in the number of controls: names are
    // found through this index and a new control's top comes from bottom_.
    QHash<QString, HostedControl*> byName_; // case-folded name
    int64_t bottom_ = 0;                    // twips below the lowest control
    QRect bounds_;                          // pixels, from the surface's origin
    int margin_ = 0;
};

} // namespace korva::host
