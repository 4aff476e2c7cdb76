#include "db/ErrorTranslator.h"

#include "common/Messages.h"
#include "config/Installation.h"
#include "config/PathResolver.h"
#include "db/Connection.h"

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

// A text column's value without the blanks that pad CHAR columns (CHAR(20)
// 'JOAO' arrives as "JOAO" and sixteen blanks).
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
// of its own (the data module's connection is left alone): the program's
// connection class with a fixed path, so that it too attaches with WIN1252
// and reads committed data, waiting on locks. Builds the message for the
// user; empty when anything fails on the way: configuration, database path,
// connection, query, columns or row.
std::optional<QString> lockCheckMessage(const QString &message)
{
    std::optional<QString> result;
    try {
        const QString ano = config::zuntValue(QStringLiteral("Ano"));
        // "DLL" names the client library that the suite's own programs load
        // for this connection. Here every connection goes through the one
        // Firebird client the program is linked with, which cannot be
        // exchanged per connection, so the key is read and otherwise left
        // unused.
        const QString clientLibrary = config::zuntValue(QStringLiteral("DLL"));
        Q_UNUSED(clientLibrary);
        const QString database = config::resolvePath(QStringLiteral("B")) + QStringLiteral("ZUNT") + ano +
                                 QStringLiteral(".FDB");

        // "IBConnection": closed (and its query's transaction ended) when it
        // goes out of scope, also when a step fails.
        Conexao connection;
        connection.setObjectName(QStringLiteral("IBConnection"));
        connection.setDatabasePath(database);
        const ResultSet rs = connection.select(QStringLiteral("SELECT BLOQBANCO, BLOQNOME, BLOQMSG FROM CADCLI"));
        connection.close();
        if (rs.columns.size() == 3 && !rs.rows.isEmpty()) {
            const Row &row = rs.rows.first();
            const QString locked = columnText(row.value(0));
            const QString lockedBy = columnText(row.value(1));
            const QString lockMessage = columnText(row.value(2));
            if (locked == QLatin1String("S")) {
                result = QStringLiteral("Atenção!!! ") + CR + CR +
                         QStringLiteral("Operação não permitida, banco de dados bloqueado para manutenção!") + CR +
                         CR + QStringLiteral("A Operação será cancelada.") + CR + CR +
                         QStringLiteral("Usuário responsável pelo bloqueio: ") + lockedBy + CR +
                         QStringLiteral("Mensagem do usuário: ") + lockMessage + CR + CR + QStringLiteral("Erro:") +
                         message;
            } else {
                result = message;
            }
        }
    } catch (...) {
        result.reset();
    }
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
