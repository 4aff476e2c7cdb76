#pragma once

#include "capture/CaptureDocument.h"
#include "catalogue/Catalogue.h"
#include "generation/AmountSource.h"
#include "generation/Run.h"

#include <functional>
#include <memory>

namespace orven::generation {

// Everything a section sees of the run while it fills one account: the
// catalogue rows and the elements last created, the run parameters and the
// database. A section appends periods and value slots to the conta element
// and never touches anything above it.
// A catalogue code without the blanks and control characters around it.
QString trimmedCode(const QString &value);

class SectionContext {
public:
    RunParameters &params;
    const catalogue::Cadastro &cadastro;
    const catalogue::Opcao &opcao;
    const catalogue::Tipo &tipo;
    const catalogue::Conta &conta;
    capture::TXMLContaType contaElement;
    AmountSource &db;
    std::function<void()> poll; // ends the run (throws RunCancelled) when the cancel flag is set

    // The option kind ("movimento", "orcado", ...).
    const QString &optionKind() const { return opcao.id; }
    // The account code: the conta value without blanks and control characters around it.
    QString accountCode() const;
    // Empty for the consolidated whole; otherwise prefix + entity number + "'".
    QString entityFilter(const QString &prefix) const;
    // "01.mm.yyyy" for month m of the exercise year.
    QString startDate(const QString &month) const;
    // Sets the period end date to the last day of month m and returns it ("29.02.2008").
    QString setPeriodEnd(const QString &month);

    // Adds a period with the account's catalogue period kind.
    capture::TXMLPeriodicidadeType addPeriod();
    // Adds a value slot with the amount text of amount.
    static void addSlot(capture::TXMLPeriodicidadeType period, const QString &name, double amount);
};

class Section {
public:
    virtual ~Section() = default;
    virtual void fill(SectionContext &ctx) = 0;
};

// The section selection table: each cadastro name, in order, with the
// section that fills its accounts.
struct SectionEntry {
    QString cadastroName;
    std::function<std::unique_ptr<Section>()> create;
};
const QList<SectionEntry> &sectionTable();

} // namespace orven::generation
