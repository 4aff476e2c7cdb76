#include "Commands.h"
#include "TerminalProgress.h"

#include "chart/ChartImport.h"
#include "common/Error.h"
#include "common/Messages.h"
#include "db/DataModule.h"

#include <memory>

namespace orven::cli {

namespace {

// The system's messages on the terminal: completions on stdout, errors and
// warnings on stderr; the import question is answered by --yes.
class CliMessages final : public MessageService {
public:
    CliMessages(Context &ctx, bool yes) : m_ctx(ctx), m_yes(yes) { MessageService::setInstance(this); }
    ~CliMessages() override { MessageService::setInstance(nullptr); }

    // The import's bar, while it is drawn: cleared before a message.
    TerminalProgress *bar = nullptr;

    void show(const QString &text, const QString &caption, Icon icon) override
    {
        if (bar)
            bar->finish();
        QTextStream &s = icon == Icon::Error || icon == Icon::Warning ? m_ctx.err : m_ctx.out;
        m_ctx.out.flush();
        s << caption << ": " << lines(text) << "\n";
        s.flush();
    }
    bool ask(const QString &text, const QString &caption, Icon) override
    {
        m_ctx.out << caption << ": " << lines(text) << "\n";
        if (m_yes)
            m_ctx.out << "Sim (--yes)\n";
        else
            m_ctx.out << "Não: sem --yes nada é importado (orven-cli import-chart --yes importa o plano)\n";
        m_ctx.out.flush();
        return m_yes;
    }

private:
    static QString lines(QString text) { return text.replace(QLatin1Char('\r'), QLatin1Char('\n')); }

    Context &m_ctx;
    bool m_yes;
};

} // namespace

// orven-cli import-chart [--yes]
// The chart check of the program's start, without windows: the version
// check, the offer (answered Yes only with --yes) and the import, with a
// progress bar on stderr. Exit 0 when the chart is in place, was imported
// or the offer was declined; 1 when the database cannot be opened or the
// import fails.
int cmdImportChart(Context &ctx)
{
    bool yes = false;
    for (const QString &a : ctx.args) {
        if (a == QLatin1String("--yes")) {
            yes = true;
        } else {
            ctx.err << "orven-cli import-chart: opção desconhecida: " << a << "\n"
                    << "uso: orven-cli import-chart [--yes]\n";
            return ExitUsage;
        }
    }

    CliMessages messages(ctx, yes);
    std::unique_ptr<db::TDM> dm;
    try {
        dm = std::make_unique<db::TDM>();
    } catch (const Error &e) {
        ctx.err << "Erro ao Conectar com a Base de Dados!\n" << e.message() << "\n";
        return ExitFailure;
    }

    if (chart::checkVersion(*dm))
        ctx.out << "Versão do plano registrada diferente de " << chart::kProgramChartVersion
                << ": ORVEN_CONPLA e ORVEN_TIPO esvaziadas.\n";
    if (chart::chartPresent(*dm)) {
        ctx.out << "O Plano de Contas do ORVEN já está na base de dados (versão " << chart::kProgramChartVersion
                << ").\n";
        return ExitOk;
    }
    if (!MessageService::instance().ask(chart::kQuestion, QStringLiteral("Atenção")))
        return ExitOk;

    const chart::ImportResult result = chart::importChart(*dm, [&ctx, &messages] {
        auto progress = std::make_unique<TerminalProgress>(ctx.err);
        messages.bar = progress.get();
        return progress;
    });
    messages.bar = nullptr; // gone with the import
    switch (result.status) {
    case chart::ImportResult::Status::Imported:
        ctx.out << result.typesAdded << " tipo(s) e " << result.accountsAdded << " conta(s) importados.\n";
        return ExitOk;
    case chart::ImportResult::Status::Refused:
        ctx.err << result.refused << " registro(s) recusado(s) pelo banco de dados; nada foi importado.\n";
        return ExitFailure;
    case chart::ImportResult::Status::Failed:
        ctx.err << result.error << "\n";
        return ExitFailure;
    }
    return ExitFailure;
}

} // namespace orven::cli
