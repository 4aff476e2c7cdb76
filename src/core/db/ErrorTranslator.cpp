#include "db/ErrorTranslator.h"

#include "common/Messages.h"
#include "config/Installation.h"
#include "config/PathResolver.h"
#include "db/Firebird.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <optional>

namespace orven::db {

namespace {

const QChar CR = QLatin1Char('\r');
const QChar DQ = QLatin1Char('"');

// The suite's check that refuses a value below what was already annulled.
const QString kCheckPattern = QStringLiteral("VALOR_MENOR_ANULADO");
const QString kForeignKeyPattern = QStringLiteral("FK_");
const QString kUniqueIndexPattern = QStringLiteral("UNIQUE INDEX");
const QString kPrimaryKeyPattern = QStringLiteral("PK_");
const QString kRequiredPattern = QStringLiteral("MUST HAVE A VALUE");
// The accounting database's own texts when it is locked for maintenance, as
// they look after upperAscii(): the accented letters stay in lower case.
const QString kLockedPattern = QStringLiteral("OPERAçãO NãO PERMITIDA, BANCO DE DADOS BLOQUEADO!");
const QString kCatastrophicPattern = QStringLiteral("FALHA CATASTRóFICA");

// A double quote, then the text of `message` from `pos` up to and including
// the first double quote at or after `pos` (to the end when there is none).
QString quotedNameAt(const QString &message, qsizetype pos)
{
    const qsizetype close = message.indexOf(DQ, pos);
    return DQ + (close < 0 ? message.mid(pos) : message.mid(pos, close - pos + 1));
}

void showError(const QString &text) { MessageService::instance().error(text); }

// A text column's value without the blanks that pad CHAR columns: the
// driver hands CHAR(n) values over padded to the byte length of the
// connection's character set, so CHAR(1) 'S' may arrive as "S   ".
QString columnText(const QVariant &value)
{
    QString text = value.toString();
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

// Reads BLOQBANCO, BLOQNOME and BLOQMSG of CADCLI on a temporary connection
// of its own (the data module's connection is left alone) and builds the
// message for the user. Empty when anything fails on the way: configuration,
// database path, connection, query, columns or row.
std::optional<QString> lockCheckMessage(const QString &message)
{
    const QString connectionName =
        QStringLiteral("IBConnection-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::optional<QString> result;
    bool added = false;
    try {
        const QString ano = config::zuntValue(QStringLiteral("Ano"));
        // "DLL" names the client library that the suite's own programs load
        // for this connection. Here every connection goes through the one
        // Firebird client the database driver is linked with, which cannot be
        // exchanged per connection, so the key is read and otherwise left
        // unused.
        const QString clientLibrary = config::zuntValue(QStringLiteral("DLL"));
        Q_UNUSED(clientLibrary);
        const QString database = config::resolvePath(QStringLiteral("B")) + QStringLiteral("ZUNT") + ano +
                                 QStringLiteral(".FDB");

        // The connection and query live in this block so that the connection
        // can be removed once they are gone. Statements run in the driver's
        // own transaction, which waits on locks held by other workstations.
        {
            QSqlDatabase connection = firebird::addConnection(connectionName, database);
            added = true;
            if (connection.open()) {
                {
                    QSqlQuery query(connection);
                    query.setForwardOnly(true);
                    if (query.exec(QStringLiteral("SELECT BLOQBANCO, BLOQNOME, BLOQMSG FROM CADCLI")) &&
                        query.record().count() == 3 && query.next()) {
                        const QString locked = columnText(query.value(0));
                        const QString lockedBy = columnText(query.value(1));
                        const QString lockMessage = columnText(query.value(2));
                        if (locked == QLatin1String("S")) {
                            result = QStringLiteral("Atenção!!! ") + CR + CR +
                                     QStringLiteral("Operação não permitida, banco de dados bloqueado para manutenção!") +
                                     CR + CR + QStringLiteral("A Operação será cancelada.") + CR + CR +
                                     QStringLiteral("Usuário responsável pelo bloqueio: ") + lockedBy + CR +
                                     QStringLiteral("Mensagem do usuário: ") + lockMessage + CR + CR +
                                     QStringLiteral("Erro:") + message;
                        } else {
                            result = message;
                        }
                    }
                    query.finish();
                }
                connection.close();
            }
        }
    } catch (...) {
        result.reset();
    }
    if (added)
        QSqlDatabase::removeDatabase(connectionName);
    return result;
}

} // namespace

QString ErrorTranslator::upperAscii(const QString &message)
{
    QString upper = message;
    for (QChar &c : upper) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - (u'a' - u'A')));
    }
    return upper;
}

bool ErrorTranslator::translate(const QString &message)
{
    try {
        const QString upper = upperAscii(message);
        bool handled = false;

        if (const qsizetype pos = upper.indexOf(kCheckPattern); pos >= 0) {
            showError(QStringLiteral("Atenção!!! ") + CR + CR +
                      QStringLiteral("Erro de checagem! Com essa alteração o valor poderá ficar negativo devido já "
                                     "existir uma anulação! ") +
                      CR + QStringLiteral("A Operação será cancelada.") + CR + CR + QStringLiteral(" Checagem:") +
                      quotedNameAt(message, pos));
            handled = true;
        }
        if (const qsizetype pos = upper.indexOf(kForeignKeyPattern); pos >= 0) {
            showError(QStringLiteral("Atenção!!! ") + CR + CR +
                      QStringLiteral("Existem Registros que dependem do Registro que você está tentando alterar ou "
                                     "excluir...") +
                      CR + QStringLiteral("A Operação será cancelada.") + CR + CR +
                      QStringLiteral(" Erro de chave estrangeira:") + quotedNameAt(message, pos));
            handled = true;
        }
        if (upper.contains(kUniqueIndexPattern) || upper.contains(kPrimaryKeyPattern)) {
            showError(QStringLiteral("Atenção!!! ") + CR + CR +
                      QStringLiteral("Violação de Chave Primária! Registro já Existe...") + CR + CR +
                      QStringLiteral("A Operação será cancelada.") + CR + upper);
            handled = true;
        }
        if (upper.contains(kRequiredPattern)) {
            showError(QStringLiteral("Atenção!!! ") + CR + CR + QStringLiteral("Campo de Preencimento Obrigatório!!!") +
                      CR + CR + QStringLiteral("Favor Informar um Valor"));
            handled = true;
        }
        if (upper.contains(kLockedPattern) || upper.contains(kCatastrophicPattern)) {
            // The lock check decides alone: when it cannot be done, the user
            // gets the general message even after the messages above.
            const std::optional<QString> lockText = lockCheckMessage(message);
            handled = lockText.has_value();
            if (handled)
                showError(*lockText);
        }

        if (!handled)
            showError(QStringLiteral("Ocorreram Problemas...") + CR + message);
    } catch (...) {
        // The translator is the report of a failure: it never raises one.
    }
    return true;
}

} // namespace orven::db
