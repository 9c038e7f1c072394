// A bare control for element tests: a 300 x 200 pixel site (at 15 twips per
// pixel) on which a test builds the elements it needs.
#pragma once

#include "frame/runtime/control.h"
#include "frame/runtime/site.h"

namespace korva::fixtures {

class ElementHost : public Control {
public:
    ElementHost() : Control(info()) {}
    using Control::addElement;

    static const ClassInfo& info() {
        static const ClassInfo c = [] {
            ClassInfo i;
            i.name = QStringLiteral("ElementHost");
            i.designSize = QSize(4500, 3000);
            return i;
        }();
        return c;
    }
};

} // namespace korva::fixtures
