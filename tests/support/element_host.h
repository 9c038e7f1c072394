// A bare control for element tests: a 300 x 200 pixel site (at 15 twips per
// pixel) on which a test builds the elements it needs; and a fixture that
// puts the scripted platform in force around a fresh host.
#pragma once

#include "frame/runtime/control.h"
#include "frame/runtime/site.h"
#include "support/bare_class.h"
#include "support/platform_test.h"

#include <memory>

namespace korva::fixtures {

class ElementHost : public Control {
public:
    ElementHost() : Control(info()) {}
    using Control::addElement;

    static const ClassInfo& info() {
        static const ClassInfo c = bareClass("ElementHost", QSize(4500, 3000));
        return c;
    }
};

// The host is a member of the derived fixture, so its windows go before the
// platform that placed them.
class ElementTest : public PlatformTest {
protected:
    template <class E, class... Args> E* add(const char* name, Args&&... args) {
        return host->addElement<E>(*host, QString::fromLatin1(name), std::forward<Args>(args)...);
    }

    std::unique_ptr<ElementHost> host = std::make_unique<ElementHost>();
};

} // namespace korva::fixtures
