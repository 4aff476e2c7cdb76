#pragma once

#include <QString>

namespace orven::db {

// Turns the text of a database error into the Portuguese messages the user
// sees. The suite's check errors, foreign-key and primary-key violations and
// missing required values each give their own message (several may be shown
// for one error); the error by which the accounting database refuses work
// while it is locked for maintenance makes the translator read, on a
// temporary connection of its own, who locked it and why. Whatever is not
// recognised is shown as "Ocorreram Problemas..." followed by the text.
//
// All messages go through MessageService with caption "Erro". Never throws.
class ErrorTranslator {
public:
    // Shows the messages for the error text `message` and returns true
    // (the error has been reported). Callers may ignore the result.
    static bool translate(const QString &message);

    // The error text with the letters a to z turned into A to Z and every
    // other character left as it is (accented letters keep their case, and
    // the text keeps its length, so positions in it are positions in the
    // original text).
    static QString upperAscii(const QString &message);
};

} // namespace orven::db
