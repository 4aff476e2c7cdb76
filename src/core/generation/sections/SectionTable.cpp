#include "generation/Section.h"

namespace orven::generation {

// Cadastro names are compared exactly, case and accents included; the first
// (and only) match fills the account. Sections register here as they are built.
const QList<SectionEntry> &sectionTable()
{
    static const QList<SectionEntry> table = {
    };
    return table;
}

} // namespace orven::generation
