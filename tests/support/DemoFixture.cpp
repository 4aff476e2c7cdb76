#include "DemoFixture.h"

#include "common/Error.h"
#include "common/Progress.h"
#include "demo/DemoInstaller.h"

#include <QTemporaryDir>

#include <memory>

namespace orven::test {

namespace {

DemoInstall makeDemo()
{
    static std::unique_ptr<QTemporaryDir> dir; // removed when the process ends
    DemoInstall d;
    dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid()) {
        d.error = QStringLiteral("no temporary folder: ") + dir->errorString();
        return d;
    }
    try {
        NullProgress progress;
        const demo::DemoSummary s = demo::createDemo(dir->path(), demo::DemoSize::Small, false, progress);
        d.folder = s.folder;
        d.configDir = s.folder;
        d.databasePath = s.databasePath;
        d.tabdefFolder = s.tabdefFolder;
    } catch (const Error &e) {
        d.error = e.message();
    }
    return d;
}

} // namespace

const DemoInstall &smallDemo()
{
    static const DemoInstall demo = makeDemo();
    return demo;
}

} // namespace orven::test
