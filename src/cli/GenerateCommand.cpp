#include "Commands.h"
#include "TerminalProgress.h"

#include "catalogue/Catalogue.h"
#include "common/Error.h"
#include "config/PathResolver.h"
#include "db/Connection.h"
#include "generation/AggregatingAmountSource.h"
#include "generation/AmountSource.h"
#include "generation/Generator.h"
#include "generation/RunChecks.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace orven::cli {

using namespace generation;

namespace {

struct GenerateOptions {
    int entity = -1;
    int bimester = 0;
    QString out;
    bool plain = false; // one query per amount, without the grouped totals
};

bool parseOptions(const QStringList &args, GenerateOptions &o, QString &error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto takeValue = [&](QString &value) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("falta o valor de %1").arg(a);
                return false;
            }
            value = args.at(++i);
            return true;
        };
        QString value;
        if (a == QLatin1String("--entity")) {
            if (!takeValue(value))
                return false;
            bool ok = false;
            o.entity = value.toInt(&ok);
            if (!ok || o.entity < 0 || o.entity > 9999) {
                error = QStringLiteral("entidade inválida: %1").arg(value);
                return false;
            }
        } else if (a == QLatin1String("--bimester")) {
            if (!takeValue(value))
                return false;
            bool ok = false;
            o.bimester = value.toInt(&ok);
            if (!ok || o.bimester < 1 || o.bimester > 6) {
                error = QStringLiteral("bimestre inválido: %1 (1 a 6)").arg(value);
                return false;
            }
        } else if (a == QLatin1String("--out")) {
            if (!takeValue(o.out))
                return false;
        } else if (a == QLatin1String("--plain")) {
            o.plain = true;
        } else {
            error = QStringLiteral("opção desconhecida: %1").arg(a);
            return false;
        }
    }
    if (o.entity < 0 || o.bimester == 0 || o.out.isEmpty()) {
        error = QStringLiteral("uso: orven-cli generate --entity N --bimester B --out DIR [--plain]");
        return false;
    }
    return true;
}

} // namespace

int cmdGenerate(Context &ctx)
{
    GenerateOptions o;
    QString usageError;
    if (!parseOptions(ctx.args, o, usageError)) {
        ctx.err << "orven-cli generate: " << usageError << "\n";
        return ExitUsage;
    }

    db::Conexao connection;
    try {
        connection.open();
    } catch (const Error &e) {
        ctx.err << "Erro ao Conectar com a Base de Dados!\n" << e.message() << "\n";
        return ExitFailure;
    }

    // The same checks as the window, in its order.
    const QFileInfo folder(o.out);
    if (!folder.isDir()) {
        ctx.err << messages::folderMissing << "\n" << o.out << "\n";
        return ExitRefused;
    }
    QString target = folder.absoluteFilePath();
    if (!target.endsWith(QLatin1Char('/')))
        target += QLatin1Char('/');

    try {
        const int unclassified = unclassifiedCommitmentCount(connection);
        if (unclassified > 0) {
            ctx.err << messages::unclassifiedCommitments << "\n"
                    << QStringLiteral("(%1 empenho(s); veja orven-cli check)").arg(unclassified) << "\n";
            return ExitRefused;
        }
        const QString year = exerciseYear(connection);
        if (o.entity != 0) {
            bool known = false;
            for (const Entity &e : entities(connection))
                known = known || e.code == o.entity;
            if (!known) {
                ctx.err << QStringLiteral("orven-cli generate: a entidade %1 não existe em TABEMPRESA").arg(o.entity)
                        << "\n";
                return ExitUsage;
            }
        }

        RunParameters params = RunParameters::forBimester(o.bimester, year, o.entity, target);
        const QString cataloguePath = config::resolvePath(QStringLiteral("TD")) + catalogue::Catalogue::fileNameForYear(year);
        std::unique_ptr<AmountSource> source = std::make_unique<ConexaoAmountSource>(connection);
        if (!o.plain)
            source = std::make_unique<AggregatingAmountSource>(std::move(source));
        CancelFlag flag;
        TerminalProgress progress(ctx.err);
        Generator generator(*source, flag, progress);
        QElapsedTimer clock;
        clock.start();
        generator.run(params, cataloguePath);
        progress.finish();
        ctx.out << generator.outputPath(params) << "\n";
        for (const auto &st : generator.stats()) {
            if (st.queries > 0)
                ctx.err << QStringLiteral("  %1 %2 consultas %3 s\n")
                               .arg(st.cadastro.trimmed().leftJustified(32))
                               .arg(st.queries, 7)
                               .arg(st.milliseconds / 1000.0, 7, 'f', 1);
        }
        ctx.err << QStringLiteral("%1 consultas em %2 s").arg(source->queryCount()).arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                << "\n";
        return ExitOk;
    } catch (const Error &e) {
        ctx.err << messages::failure << "\n" << e.message() << "\n";
        return ExitFailure;
    }
}

} // namespace orven::cli
