#include "Commands.h"
#include "TerminalProgress.h"

#include "classification/EntityFilter.h"
#include "classification/RevenueAutoClassifier.h"
#include "common/Error.h"
#include "common/Messages.h"
#include "db/DataModule.h"

#include <QElapsedTimer>

#include <memory>

namespace orven::cli {

namespace {

// The messages of the run, printed: information on stdout, the rest on
// stderr. Questions are answered No.
class PrintedMessages final : public MessageService {
public:
    PrintedMessages(QTextStream &out, QTextStream &err) : m_out(out), m_err(err)
    {
        m_previous = &MessageService::instance();
        MessageService::setInstance(this);
    }
    ~PrintedMessages() override { MessageService::setInstance(m_previous == this ? nullptr : m_previous); }

    void show(const QString &text, const QString &caption, Icon icon) override
    {
        QTextStream &s = icon == Icon::Information ? m_out : m_err;
        s << caption << ": " << text << "\n";
        s.flush();
    }
    bool ask(const QString &text, const QString &caption, Icon) override
    {
        m_err << caption << ": " << text << " (Não)\n";
        m_err.flush();
        return false;
    }

private:
    QTextStream &m_out;
    QTextStream &m_err;
    MessageService *m_previous = nullptr;
};

const char kUsage[] = "uso: orven-cli classify revenue [--entity N]";

} // namespace

int cmdClassify(Context &ctx)
{
    QStringList args = ctx.args;
    if (args.isEmpty() || args.first() != QLatin1String("revenue")) {
        ctx.err << "orven-cli classify: " << kUsage << "\n";
        return ExitUsage;
    }
    args.removeFirst();
    int entity = 0;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--entity") && i + 1 < args.size()) {
            bool ok = false;
            entity = args.at(++i).toInt(&ok);
            if (!ok || entity < 0 || entity > 9999) {
                ctx.err << "orven-cli classify: entidade inválida: " << args.at(i) << "\n";
                return ExitUsage;
            }
        } else {
            ctx.err << "orven-cli classify: " << kUsage << "\n";
            return ExitUsage;
        }
    }

    PrintedMessages messages(ctx.out, ctx.err);
    std::unique_ptr<db::TDM> dm;
    try {
        dm = std::make_unique<db::TDM>();
    } catch (const Error &e) {
        ctx.err << "Erro ao Conectar com a Base de Dados!\n" << e.message() << "\n";
        return ExitFailure;
    }

    try {
        if (entity != 0 &&
            !dm->Conexao->selectValue(QStringLiteral("SELECT EMPRESA FROM TABEMPRESA WHERE EMPRESA = ?"), {entity})
                 .isValid()) {
            ctx.err << QStringLiteral("orven-cli classify: a entidade %1 não existe em TABEMPRESA").arg(entity) << "\n";
            return ExitUsage;
        }
        db::RecordSet &recdis = *dm->CdsRecdis;
        recdis.close();
        recdis.open();
        classification::setEntityFilter(recdis, entity);
        // Each refused record is named (the window only counts them).
        recdis.onReconcileError = [&ctx](db::RecordSet &set, const db::Row &row, const QString &message) {
            ctx.err << "Ficha " << row.value(set.fieldIndex(QStringLiteral("FICHA"))).toString()
                    << " recusada: " << message << "\n";
            return db::ReconcileAction::Correct;
        };

        TerminalProgress progress(ctx.err);
        progress.setStatus(QStringLiteral("Classificando as fichas de receita"));
        classification::RevenueAutoClassifier classifier(*dm->Conexao, recdis, *dm->CdsAux, progress, messages);
        QElapsedTimer clock;
        clock.start();
        const classification::ClassificationResult result = classifier.run();
        progress.finish();
        dm->applyErrorCount = result.refused;

        ctx.out << QStringLiteral("Fichas: %1  Classificadas: %2  Recusadas: %3")
                       .arg(result.records)
                       .arg(result.classified)
                       .arg(result.refused)
                << (result.succeeded() ? "" : "  (nada foi gravado)") << "\n";
        ctx.err << QStringLiteral("%1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 2) << "\n";
        return result.succeeded() ? ExitOk : ExitFailure;
    } catch (const Error &e) {
        ctx.err << e.message() << "\n";
        return ExitFailure;
    }
}

} // namespace orven::cli
