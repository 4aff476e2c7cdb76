#include "generation/Generator.h"

#include "capture/CaptureDocument.h"
#include "catalogue/Catalogue.h"
#include "generation/Section.h"

#include <QElapsedTimer>
#include <QHash>

namespace orven::generation {

using namespace capture;
using namespace catalogue;

void Generator::poll()
{
    if (m_cancel.isSet()) {
        m_cancel.clear();
        throw RunCancelled{};
    }
}

QString Generator::outputPath(const RunParameters &params) const
{
    return params.targetFolder + QLatin1String(kFileName);
}

Generator::Outcome Generator::run(RunParameters &params, const QString &cataloguePath)
{
    const Catalogue catalogue = Catalogue::load(cataloguePath);
    return run(params, catalogue);
}

Generator::Outcome Generator::run(RunParameters &params, const Catalogue &cat)
{
    // One section object per cadastro name, made once per run.
    QHash<QString, std::shared_ptr<Section>> sections;
    for (const SectionEntry &entry : m_ownTable ? m_table : sectionTable())
        sections.insert(entry.cadastroName, std::shared_ptr<Section>(entry.create()));

    try {
        CaptureDocument doc;
        TXMLSistemaType sistema = doc.sistema();
        sistema.setName(cat.name);
        sistema.setProperties(cat.properties);
        sistema.setValue(QString::number(params.bimester));
        sistema.setVersion(cat.version);
        sistema.setXmlns(QString::fromLatin1(kNamespaceUri));
        sistema.setXmlnsXsi(cat.xsi);

        m_progress.setMaximum(cat.cadastros.size(), 0);
        m_progress.setPosition(0, 0);
        poll();

        const std::function<void()> pollFn = [this] { poll(); };

        m_stats.clear();
        QElapsedTimer clock;
        for (const Cadastro &cadastro : cat.cadastros) {
            poll();
            clock.start();
            const qint64 queriesBefore = m_db.queryCount();
            TXMLCadastroType cadElement = sistema.add();
            cadElement.setName(cadastro.name);
            m_progress.setPosition(0, 1);
            m_progress.setStatus(cadastro.name, 0);
            m_progress.setMaximum(cadastro.opcoes.size(), 1);
            Section *section = sections.value(cadastro.name).get();

            for (const Opcao &opcao : cadastro.opcoes) {
                poll();
                TXMLOpcaoType opElement = cadElement.add();
                opElement.setName(opcao.name);
                opElement.setId(opcao.id);
                m_progress.setStatus(opcao.name, 1);
                m_progress.setMaximum(opcao.tipos.size(), 2);
                m_progress.setPosition(0, 2);

                for (const Tipo &tipo : opcao.tipos) {
                    poll();
                    TXMLTipoType tipoElement = opElement.add();
                    tipoElement.setName(tipo.name);
                    tipoElement.setValue(tipo.value);
                    tipoElement.setId(tipo.id);
                    m_progress.setStatus(tipo.name, 2);
                    m_progress.setMaximum(tipo.contas.size(), 3);
                    m_progress.setPosition(0, 3);

                    for (const Conta &conta : tipo.contas) {
                        poll();
                        TXMLContaType contaElement = tipoElement.add();
                        SectionContext ctx{params, cadastro, opcao, tipo, conta, contaElement, m_db, pollFn};
                        contaElement.setName(conta.name);
                        contaElement.setValue(ctx.accountCode());
                        contaElement.setId(conta.id);
                        m_progress.setStatus(conta.name, 3);
                        if (section)
                            section->fill(ctx);
                        poll();
                        m_progress.advance(1, 3);
                    }
                    poll();
                    m_progress.advance(1, 2);
                }
                poll();
                m_progress.advance(1, 1);
            }
            m_stats.append({cadastro.name, m_db.queryCount() - queriesBefore, clock.elapsed()});
            poll();
            m_progress.advance(1, 0);
        }
        poll();

        if (beforeWrite)
            beforeWrite();
        // The file replaces an earlier one only when complete, and not at all
        // when a cancel arrives while it is being written.
        const bool written = doc.write(outputPath(params), [this] {
            if (!m_cancel.isSet())
                return false;
            m_cancel.clear();
            return true;
        });
        return written ? Outcome::Written : Outcome::Cancelled;
    } catch (const RunCancelled &) {
        return Outcome::Cancelled;
    }
}

} // namespace orven::generation
