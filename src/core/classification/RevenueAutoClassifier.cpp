#include "classification/RevenueAutoClassifier.h"

#include "common/Error.h"
#include "common/Messages.h"
#include "common/Progress.h"
#include "db/Connection.h"
#include "db/RecordSet.h"

namespace orven::classification {

namespace {

const QString kCodre = QStringLiteral("CODRE");
const QString kExtra = QStringLiteral("EXTRA");
const QString kTipo = QStringLiteral("TIPO");
const QString kTotor = QStringLiteral("TOTOR");
const QString kBalcoTce = QStringLiteral("BALCO_TCE");
const QString kGrupoTce = QStringLiteral("GRUPO_TCE");
const QString kCodTce = QStringLiteral("COD_TCE");

QString textOf(const QVariant &v) { return v.isValid() && !v.isNull() ? v.toString() : QString(); }

struct TransferRule {
    const char *prefix;    // first four characters of CODRE
    const char *exclusion; // first seven characters that the rule passes over (nullptr: none)
    const char *source;
};

// Written as the accounting suite's transfer revenues were ruled; the
// exclusion of "2114" names a "2111" code and so never applies.
const TransferRule kTransferRules[] = {
    {"2111", "2111.01", "1.10"}, {"2114", "2111.06", "1.20"}, {"2119", nullptr, "1.30"},
    {"2121", "2121.01", "2.10"}, {"2123", "2123.07", "2.20"}, {"2129", nullptr, "2.30"},
};

} // namespace

RevenueAutoClassifier::RevenueAutoClassifier(db::Conexao &connection, db::RecordSet &recdis, db::RecordSet &aux,
                                             Progress &progress, MessageService &messages)
    : m_connection(connection), m_recdis(recdis), m_aux(aux), m_progress(progress), m_messages(messages)
{
}

// ---- rules ---------------------------------------------------------------------------------

QString RevenueAutoClassifier::searchKey(const QString &codre)
{
    QString digits = codre;
    digits.remove(QLatin1Char('.'));
    // d1 . d2 . d3d4 . d5d6 . d7d8, only the groups the code has.
    static constexpr int kStart[] = {0, 1, 2, 4, 6};
    static constexpr int kLength[] = {1, 1, 2, 2, 2};
    QString key;
    for (int g = 0; g < 5 && kStart[g] < digits.size(); ++g) {
        if (g > 0)
            key += QLatin1Char('.');
        key += digits.mid(kStart[g], kLength[g]);
    }
    return key;
}

QString RevenueAutoClassifier::findAccount(const QString &key, const CourtChart &chart)
{
    QString k = key;
    for (int p = int(k.size()) - 1; p >= 0; --p) {
        if (k.at(p) == u'.')
            continue;
        if (chart.hasAccount(k))
            return k;
        k[p] = QLatin1Char('0');
    }
    return {};
}

QString RevenueAutoClassifier::kindSdSource(const QString &codre)
{
    const QString first7 = codre.left(7);
    static const QStringList k110 = {"2421.01", "2471.01", "1721.33", "1761.01"};
    static const QStringList k120 = {"1762.01", "2422.01", "1722.33", "2472.01"};
    static const QStringList k200 = {"2123.02", "2114.02"};
    if (k110.contains(first7))
        return QStringLiteral("1.10");
    if (k120.contains(first7))
        return QStringLiteral("1.20");
    if (first7 == u"1763.01")
        return QStringLiteral("1.30");
    if (k200.contains(first7))
        return QStringLiteral("2.00");
    return QStringLiteral("3.00");
}

CourtSource RevenueAutoClassifier::courtSource(const QString &tipo, const QString &codre, double totor,
                                               CourtSource current)
{
    CourtSource cs = std::move(current);
    if (tipo == u"ED" || tipo == u"EF" || tipo == u"FU" || tipo == u"QE" || tipo == u"EI") {
        cs.group = QStringLiteral("105");
        cs.source = totor != 0 ? QStringLiteral("6.00") : QStringLiteral("7.00");
    }
    if (tipo == u"SD") {
        cs.group = QStringLiteral("106");
        cs.source = kindSdSource(codre);
    }
    if (tipo != u"RD") {
        const QString first4 = codre.left(4);
        const QString first7 = codre.left(7);
        for (const TransferRule &rule : kTransferRules) {
            if (first4 == QLatin1String(rule.prefix) && !(rule.exclusion && first7 == QLatin1String(rule.exclusion))) {
                cs.group = QStringLiteral("009");
                cs.source = QLatin1String(rule.source);
            }
        }
    }
    if (tipo == u"AR") {
        cs.group = QStringLiteral("009");
        cs.source = QStringLiteral("3.00");
    }
    return cs;
}

// ---- run -------------------------------------------------------------------------------------

ClassificationResult RevenueAutoClassifier::run()
{
    ClassificationResult result;
    bool detached = false;
    auto reattach = [&] {
        if (detached) {
            detached = false;
            m_recdis.enableControls();
        }
    };
    try {
        // The whole chart, every group and kind.
        m_aux.close();
        m_aux.setCommandText(CourtChart::kQuery);
        m_aux.open();
        const CourtChart chart = CourtChart::fromRecordSet(m_aux);

        if (!m_connection.inTransaction())
            m_connection.startTransaction();

        if (!m_recdis.first())
            throw db::PostCancelled();
        m_recdis.disableControls();
        detached = true;
        result.records = m_recdis.recordCount();
        m_progress.setMaximum(result.records);
        m_progress.setPosition(0);

        const int fCodre = m_recdis.fieldIndex(kCodre);
        const int fExtra = m_recdis.fieldIndex(kExtra);
        const int fTipo = m_recdis.fieldIndex(kTipo);
        const int fTotor = m_recdis.fieldIndex(kTotor);
        const int fBalco = m_recdis.fieldIndex(kBalcoTce);
        const int fGrupo = m_recdis.fieldIndex(kGrupoTce);
        const int fCod = m_recdis.fieldIndex(kCodTce);
        if (fCodre < 0 || fExtra < 0 || fBalco < 0 || fGrupo < 0 || fCod < 0)
            throw Error(QStringLiteral("%1: faltam campos das fichas de receita.").arg(m_recdis.name()));

        // By position in the view: a record that a post takes out of the view
        // (a filter on the court columns) leaves the next one at its place.
        int row = 0;
        while (row < m_recdis.recordCount()) {
            if (!m_recdis.setRecNo(row + 1))
                throw db::PostCancelled();
            const int countBefore = m_recdis.recordCount();
            if (textOf(m_recdis.value(fExtra)) == u"N") {
                const QString codre = textOf(m_recdis.value(fCodre));
                const QString account = findAccount(searchKey(codre), chart);
                if (!account.isEmpty()) {
                    m_recdis.edit();
                    const CourtSource before{textOf(m_recdis.value(fGrupo)), textOf(m_recdis.value(fCod))};
                    const CourtSource after = courtSource(fTipo < 0 ? QString() : textOf(m_recdis.value(fTipo)), codre,
                                                          fTotor < 0 ? 0.0 : m_recdis.value(fTotor).toDouble(), before);
                    if (after.group != before.group)
                        m_recdis.setValue(fGrupo, after.group);
                    if (after.source != before.source)
                        m_recdis.setValue(fCod, after.source);
                    m_recdis.setValue(fBalco, account);
                    if (!m_recdis.post())
                        throw db::PostCancelled();
                    ++result.classified;
                }
            }
            m_progress.advance(1);
            if (m_recdis.recordCount() == countBefore)
                ++row;
        }

        reattach();
        result.refused = m_recdis.applyUpdates(-1);
        if (result.refused == 0) {
            m_connection.commit();
            result.committed = true;
        }
    } catch (const Error &e) {
        result.error = e.message();
    } catch (const db::PostCancelled &) {
        result.error = QStringLiteral("Ficha não gravada.");
    } catch (const std::exception &e) {
        result.error = QString::fromLocal8Bit(e.what());
    }

    reattach();
    if (!result.committed) {
        // Nothing of the run stays: neither in the database nor in the set.
        try {
            if (m_recdis.isActive())
                m_recdis.cancel();
        } catch (const Error &) {
        }
        try {
            if (m_connection.inTransaction())
                m_connection.rollback();
        } catch (const Error &e) {
            if (result.error.isEmpty())
                result.error = e.message();
        }
        if (m_recdis.isActive())
            m_recdis.cancelUpdates();
        m_messages.error(result.error.isEmpty() ? kFailure : kFailure + QStringLiteral("\n\n") + result.error);
    } else {
        m_messages.information(kSuccess, QStringLiteral("Atenção"));
    }
    try {
        if (m_recdis.isActive())
            m_recdis.first();
    } catch (const Error &) {
    }
    return result;
}

} // namespace orven::classification
