// The runtime's error policy at a boundary: a handler that fails is abandoned
// and the caller goes on. Nothing a control's code throws reaches the host or
// Qt's event loop; the failure is logged once with what was running.
#pragma once

#include <QtGlobal>

#include <exception>

namespace korva {

// Runs `f`; returns false when it failed. `what` names the handler in the log.
template <class F> bool runGuarded(const char* what, F&& f) noexcept {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        qWarning("korvactl: %s failed: %s", what, e.what());
    } catch (...) {
        qWarning("korvactl: %s failed", what);
    }
    return false;
}

} // namespace korva
