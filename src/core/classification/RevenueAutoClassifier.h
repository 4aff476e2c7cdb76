#pragma once

// Automatic revenue classification ("C&lassif. Automático" of the revenue
// window): every budgetary record of the window's view gets the court
// account that its revenue code points to in the court chart, and a court
// group and source chosen by fixed rules from its kind and code. The changes
// reach the database in one apply inside one transaction.
//
// The search key of a record is built from its revenue code CODRE: the dots
// removed, the digits d1 d2 d3 ... become "d1.d2.d3d4.d5d6.d7d8" (digits
// after the eighth ignored; a code with fewer digits gives a shorter key,
// made of the groups it has: "1113" gives "1.1.13"). The key is looked for
// among the chart's account codes as it is, then with its last digit made
// "0", its last two digits, and so on up to the second digit, always within
// the key's own characters; the first form found becomes the court account.
//
// Court group and source, applied in this order, a later rule replacing an
// earlier one (a rule that does not match changes nothing):
//   1. kinds ED, EF, FU, QE, EI: "105", source "6.00" when TOTOR is not 0,
//      "7.00" when it is 0 (or empty);
//   2. kind SD: "106", source by the first seven characters of CODRE:
//      "2421.01" "2471.01" "1721.33" "1761.01" -> "1.10"; "1762.01" "2422.01"
//      "1722.33" "2472.01" -> "1.20"; "1763.01" -> "1.30"; "2123.02"
//      "2114.02" -> "2.00"; any other -> "3.00";
//   3. transfer revenues, for a kind other than RD, by the first four
//      characters of CODRE, each with its seven-character exclusion:
//      "2111" (not "2111.01") -> "009"/"1.10"; "2114" (not "2111.06", which
//      no code beginning "2114" can be, so none is excluded) -> "009"/"1.20";
//      "2119" -> "009"/"1.30"; "2121" (not "2121.01") -> "009"/"2.10";
//      "2123" (not "2123.07") -> "009"/"2.20"; "2129" -> "009"/"2.30".
//      Being later, these replace the kind-SD sources of codes "2114..." and
//      "2123..." of kind SD;
//   4. kind AR: "009"/"3.00", after every other rule.

#include "classification/CourtChart.h"

#include <QString>

namespace orven {
class MessageService;
class Progress;
} // namespace orven

namespace orven::db {
class Conexao;
class RecordSet;
} // namespace orven::db

namespace orven::classification {

struct ClassificationResult {
    int records = 0;      // records of the view walked
    int classified = 0;   // records given a court account (posted)
    int refused = 0;      // records the database refused in the apply (the apply error count)
    bool committed = false;
    QString error;        // the reason when the run failed with an error (not a refusal)

    bool succeeded() const { return committed; }
};

// Court group and source of a classified record.
struct CourtSource {
    QString group;
    QString source;
};

class RevenueAutoClassifier {
public:
    static inline const QString kSuccess = QStringLiteral("Classificação efetuada com Sucesso!!!");
    static inline const QString kFailure = QStringLiteral("Erro ao Efetuar a Classificação!!!");

    // recdis: the revenue record set (RECDIS), open, with the window's
    // entity filter; aux: a general-purpose set that the run loads with the
    // chart. progress gets the number of records as maximum and one step per
    // record (a window's progress processes pending events there).
    RevenueAutoClassifier(db::Conexao &connection, db::RecordSet &recdis, db::RecordSet &aux, Progress &progress,
                          MessageService &messages);

    // Runs the classification over the records of recdis's view:
    // 1. loads the chart into aux; starts a transaction when none is active;
    // 2. walks the view from its first record with the grid detached
    //    (controls disabled), classifying each budgetary record (EXTRA "N")
    //    whose key is found; others are left as they are;
    // 3. applies the changes with no limit on errors: none refused -> commit
    //    and "Classificação efetuada com Sucesso!!!" (caption "Atenção",
    //    information); some refused, or an error -> rollback and "Erro ao
    //    Efetuar a Classificação!!!" (caption "Erro"), and the set drops the
    //    run's changes, so that it shows what the database holds;
    // 4. goes back to the first record.
    // The transaction active at the end (the run's own, or one the caller
    // left open) is committed or rolled back. Never throws: a failure is
    // reported and returned.
    ClassificationResult run();

    // ---- the rules, for the tests and the windows -------------------------------------
    static QString searchKey(const QString &codre);
    // The court account for a key: the first form of the key (as it is,
    // then with digits made "0" from its end) that is an account code of
    // the chart; empty when none is.
    static QString findAccount(const QString &key, const CourtChart &chart);
    // Court group and source by the rules above, starting from the record's
    // current ones.
    static CourtSource courtSource(const QString &tipo, const QString &codre, double totor, CourtSource current);
    // Source of a kind-SD record by the first seven characters of its code.
    static QString kindSdSource(const QString &codre);

private:
    db::Conexao &m_connection;
    db::RecordSet &m_recdis;
    db::RecordSet &m_aux;
    Progress &m_progress;
    MessageService &m_messages;
};

} // namespace orven::classification
