// The registry file: whatever a file holds comes back byte for byte when
// nothing changes, and after one of our entries was added and taken away
// again; the other entries keep their values throughout.
#include "frame/component/registry_p.h"
#include "fuzz/fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace korva;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Saving syncs to disk; memory-backed storage keeps the runs fast.
    static QTemporaryDir scratch(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/korva-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/korva-fuzz-XXXXXX"));
    const QString path = scratch.filePath(QStringLiteral("registry"));
    const QByteArray original(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(original);
    }
    RegistryFile reg;
    FUZZ_CHECK(reg.load(path));
    const std::vector<RegistryEntry> before = reg.entries();
    FUZZ_CHECK(reg.save(path));
    FUZZ_CHECK(readAll(path) == original);

    const QString key = QStringLiteral("korvactl.Fuzz\\CLSID");
    if (reg.value(key))
        return 0; // the input holds our key already: taking it away would take theirs
    FUZZ_CHECK(reg.set(key, QStringLiteral("{6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}")));
    FUZZ_CHECK(reg.save(path));
    RegistryFile reread;
    FUZZ_CHECK(reread.load(path));
    FUZZ_CHECK(reread.value(key) == QStringLiteral("{6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}"));
    std::vector<RegistryEntry> others = reread.entries();
    std::erase_if(others, [&](const RegistryEntry& e) { return e.key == key; });
    FUZZ_CHECK(others == before);
    FUZZ_CHECK(reread.remove(key));
    FUZZ_CHECK(reread.save(path));
    FUZZ_CHECK(readAll(path) == original);
    return 0;
}
