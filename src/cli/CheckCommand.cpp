#include "Commands.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "generation/RunChecks.h"

namespace orven::cli {

namespace {

struct Finding {
    QString title;
    QString countSql;
    QString listSql; // FICHA (and a code) of the first offenders
};

// Budgetary records of a table whose court codes are missing or unknown to the court chart.
QList<Finding> recordFindings(const QString &table, const QString &label)
{
    const QString budgetary = QStringLiteral("R.EXTRA = 'N'");
    const QString noAccount = QStringLiteral("(R.BALCO_TCE IS NULL OR TRIM(R.BALCO_TCE) = '')");
    const QString noSource = QStringLiteral("(R.GRUPO_TCE IS NULL OR TRIM(R.GRUPO_TCE) = '' OR R.COD_TCE IS NULL OR "
                                            "TRIM(R.COD_TCE) = '')");
    const QString unknownAccount = QStringLiteral(
        "NOT %1 AND NOT EXISTS (SELECT 1 FROM ORVEN_CONPLA C WHERE C.NUM_CONTABIL = TRIM(R.BALCO_TCE))").arg(noAccount);
    const QString unknownSource = QStringLiteral(
        "NOT %1 AND NOT EXISTS (SELECT 1 FROM ORVEN_CONPLA C WHERE C.CODTIPO = TRIM(R.GRUPO_TCE) AND "
        "C.NUM_CONTABIL = TRIM(R.COD_TCE))").arg(noSource);
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("sem conta do TCE"), noAccount},
        {QStringLiteral("sem grupo ou fonte do TCE"), noSource},
        {QStringLiteral("com conta que o plano do TCE não tem"), unknownAccount},
        {QStringLiteral("com grupo/fonte que o plano do TCE não tem"), unknownSource},
    };
    QList<Finding> list;
    for (const auto &[what, condition] : cases) {
        const QString where = QStringLiteral(" FROM %1 R WHERE %2 AND %3").arg(table, budgetary, condition);
        list.append({label + QStringLiteral(" ") + what, QStringLiteral("SELECT COUNT(*)") + where,
                     QStringLiteral("SELECT FIRST 10 R.FICHA") + where + QStringLiteral(" ORDER BY R.FICHA")});
    }
    return list;
}

QString fichaList(db::Conexao &connection, const QString &sql)
{
    QStringList fichas;
    for (const db::Row &row : connection.select(sql).rows)
        fichas << row.value(0).toString();
    return fichas.join(QStringLiteral(", "));
}

} // namespace

int cmdCheck(Context &ctx)
{
    if (!ctx.args.isEmpty()) {
        ctx.err << "uso: orven-cli check\n";
        return ExitUsage;
    }
    db::Conexao connection;
    try {
        connection.open();
    } catch (const Error &e) {
        ctx.err << "Erro ao Conectar com a Base de Dados!\n" << e.message() << "\n";
        return ExitFailure;
    }
    try {
        int status = ExitOk;
        ctx.out << "Exercício: " << generation::exerciseYear(connection) << "\n";

        // What stops a run.
        const db::ResultSet commitments = connection.select(generation::kUnclassifiedCommitmentsQuery);
        if (!commitments.rows.isEmpty()) {
            status = ExitRefused;
            int pk = -1;
            for (int i = 0; i < commitments.columns.size(); ++i) {
                if (commitments.columns.at(i).name == QLatin1String("PKEMP"))
                    pk = i;
            }
            QStringList keys;
            for (int i = 0; i < commitments.rows.size() && i < 10; ++i)
                keys << (pk >= 0 ? commitments.rows.at(i).at(pk).toString() : QString());
            ctx.out << "IMPEDE A GERAÇÃO: " << generation::messages::unclassifiedCommitments << "\n"
                    << "  " << commitments.rows.size() << " empenho(s) de restos a pagar sem grupo ou fonte; PKEMP "
                    << keys.join(QStringLiteral(", ")) << (commitments.rows.size() > 10 ? ", ..." : "") << "\n";
        } else {
            ctx.out << "Restos a pagar: todos com grupo e fonte do TCE.\n";
        }

        // What spoils a run: records whose amounts no account of the capture file will take.
        const int chartRows = connection.selectValue(QStringLiteral("SELECT COUNT(*) FROM ORVEN_CONPLA")).toInt();
        if (chartRows == 0)
            ctx.out << "AVISO: o plano de contas do TCE não foi importado (orven-cli import-chart --yes).\n";
        QList<Finding> findings = recordFindings(QStringLiteral("RECDIS"), QStringLiteral("Fichas de receita"));
        findings += recordFindings(QStringLiteral("DESDIS"), QStringLiteral("Fichas de despesa"));
        int warnings = 0;
        for (const Finding &f : findings) {
            const int n = connection.selectValue(f.countSql).toInt();
            if (n == 0)
                continue;
            ++warnings;
            ctx.out << "AVISO: " << f.title << ": " << n << " (fichas " << fichaList(connection, f.listSql)
                    << (n > 10 ? ", ..." : "") << ")\n";
        }
        if (warnings == 0)
            ctx.out << "Fichas de receita e despesa: todas classificadas com códigos do plano do TCE.\n";
        return status;
    } catch (const Error &e) {
        ctx.err << e.message() << "\n";
        return ExitFailure;
    }
}

} // namespace orven::cli
