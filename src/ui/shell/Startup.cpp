#include "shell/Startup.h"

#include "common/Error.h"
#include "common/Messages.h"
#include "config/PathResolver.h"
#include "db/DataModule.h"
#include "shell/MainWindow.h"
#include "shell/WaitWindow.h"

#include <QFileInfo>

#include <exception>

namespace orven::ui {

namespace {

// The wait window for the lifetime of this object, its bar as the progress.
class WaitWindowProgress final : public Progress {
public:
    void setMaximum(qint64 maximum, int level) override { m_scope.progress().setMaximum(maximum, level); }
    void setPosition(qint64 position, int level) override { m_scope.progress().setPosition(position, level); }
    void advance(qint64 steps, int level) override { m_scope.progress().advance(steps, level); }

private:
    WaitWindowScope m_scope;
};

} // namespace

std::unique_ptr<db::TDM> createDataModule(const QString &databasePath)
{
    QString failure;
    try {
        return std::make_unique<db::TDM>(databasePath);
    } catch (const Error &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    MessageService::instance().error(failure);
    return nullptr;
}

chart::ProgressFactory waitWindowProgress()
{
    return [] { return std::make_unique<WaitWindowProgress>(); };
}

bool firstShow(TFrmPrincipalXMLORVEN &window, db::TDM &dm)
{
    // 1. The connection (open already, unless something closed it).
    try {
        dm.Conexao->open();
    } catch (...) {
        MessageService::instance().error(kConnectionFailure);
        return false;
    }

    // 2. The court catalogue file.
    if (!QFileInfo::exists(config::resolvePath(QStringLiteral("TD")) + kCatalogueFileName)) {
        MessageService::instance().warning(kCatalogueMissing);
        return false;
    }

    // 3. The exercise year, from the first row.
    dm.CdsAux->close();
    dm.CdsAux->setCommandText(kExerciseYearQuery);
    dm.CdsAux->open();
    window.setExerciseYear(dm.CdsAux->value(QStringLiteral("MEXER")).toString());

    // 4. The court chart.
    chart::runChartCheck(dm, waitWindowProgress());
    return true;
}

} // namespace orven::ui
