// Spin's private side: its elements, its two members and the procedures the
// lets, notifications and lifecycle share (stepping, validation, layout).
#pragma once

#include "frame/runtime/control.h"

#include <optional>

namespace korva {

class ComboBoxElement;
class Element;
class LabelElement;
class PictureBoxElement;
class Spin;
class TextBoxElement;
class UpDownElement;
struct SpinBox4;

class SpinPrivate {
public:
    explicit SpinPrivate(Spin& q) : q(q) {}

    void createElements();
    void wireElements();

    // The up/down component, reached by dispatch identifier only. With the
    // component missing or refusing a call, gets answer false or 0 and lets
    // and calls do nothing.
    bool componentBool(int32_t dispId) const;
    int32_t componentLong(int32_t dispId) const;
    void componentLet(int32_t dispId, const Value& v);
    void componentCall(int32_t dispId, std::vector<Value> args);

    // The text as a number, by the locale's reading; empty when it is not one.
    std::optional<double> number() const;
    QString format(double x) const;
    void increase();
    void decrease();
    void validateTextBox();
    void validateControl();
    void layout();
    void place(Element* e, const SpinBox4& r);
    void followFont(bool wholeSize);

    void keyDown(int16_t& keyCode, int16_t shift);
    void keyPress(int16_t& keyAscii);

    void raise(int32_t number);
    void raiseKey(int32_t number, int16_t& code, int16_t& shift);
    void raiseMouse(int32_t number, int16_t& button, int16_t& shift, float& x, float& y);

    void notifyChange(const QString& key);

    Spin& q;
    bool allowDecimal = false; // AllowDecpoint
    double step = 0;           // Interval; Initialize sets 1
    // The background is the disabled blend of the system colours, not a colour
    // the host gave: it follows a new palette.
    bool backDerived = false;
    bool lettingEnabled = false; // inside the Enabled let

    TextBoxElement* txtBORDER = nullptr;
    PictureBoxElement* picfraBOX = nullptr;
    UpDownElement* udnCTRL = nullptr; // nullptr when the component could not be created
    LabelElement* lblBACK = nullptr;
    TextBoxElement* txtUPDOWN = nullptr;
    ComboBoxElement* cboHEIGHT = nullptr;
};

} // namespace korva
