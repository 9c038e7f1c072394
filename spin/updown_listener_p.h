// The one owner of an UpDown that hears it without connections (its element
// in Spin): told of each press, step and change of holding directly, before
// the signals go out. A connection costs every instance its bookkeeping;
// this costs a pointer.
#pragma once

namespace korva {

class UpDown;

class UpDownListener {
public:
    virtual void pressed() = 0;
    virtual void stepUp() = 0;
    virtual void stepDown() = 0;
    virtual void holdingChanged(bool held) = 0;

protected:
    ~UpDownListener() = default;
};

// nullptr stops telling.
void setUpDownListener(UpDown& buttons, UpDownListener* listener);

} // namespace korva
