// Churn through the entry points: many instances of every class the library
// builds, each created, driven through a save and a load, and released. Run
// under the address and leak sanitizers this shows that nothing an instance
// makes outlives it; at the end the library may unload again.
#include "frame/component/catalogue_p.h"
#include "frame/component/com_interfaces.h"
#include "frame/component/entry_points.h"
#include "frame/values/property_bag.h"

#include <QCoreApplication>

#include "support/case_count.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

const int kCycles = korva::test::caseCount(10000);

ComPtr<IKorvaControl> createThrough(IClassFactory& factory) {
    ComPtr<IKorvaControl> c;
    EXPECT_EQ(factory.CreateInstance(nullptr, IID_IKorvaControl, c.put()), S_OK);
    return c;
}

class Churn : public ::testing::TestWithParam<ClassInfo*> {};

} // namespace

TEST_P(Churn, CreateAndReleaseManyInstancesThenTheLibraryMayUnload) {
    const ClassInfo& info = *GetParam();
    if (!info.create)
        GTEST_SKIP() << info.name.toStdString() << " is not built yet";
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(DllGetClassObject(info.clsid, IID_IClassFactory, factory.put()), S_OK);
    ASSERT_EQ(factory->LockServer(true), S_OK);
    for (int n = 0; n < kCycles; ++n) {
        PropertyBag bag;
        {
            ComPtr<IKorvaControl> fresh = createThrough(*factory.get());
            ASSERT_TRUE(fresh);
            ASSERT_EQ(fresh->Initialize(), S_OK);
            ASSERT_EQ(fresh->InitProperties(), S_OK);
            ASSERT_EQ(fresh->SetExtent(info.designSize.width(), info.designSize.height()), S_OK);
            ASSERT_EQ(fresh->WriteProperties(&bag), S_OK);
        }
        ComPtr<IKorvaControl> reloaded = createThrough(*factory.get());
        ASSERT_TRUE(reloaded);
        ASSERT_EQ(reloaded->Initialize(), S_OK);
        ASSERT_EQ(reloaded->ReadProperties(&bag), S_OK);
        ASSERT_EQ(reloaded->SetExtent(info.designSize.width(), info.designSize.height()), S_OK);
        if (n == 0) {
            ASSERT_EQ(factory->LockServer(false), S_OK);
            EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "an instance is alive";
        }
        // Windows the instances gave up are deleted as the event loop would.
        if (n % 100 == 99)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, Churn, ::testing::ValuesIn(catalogue::classes()),
                         [](const ::testing::TestParamInfo<ClassInfo*>& p) {
                             return p.param->name.toStdString();
                         });
