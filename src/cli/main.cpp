// orven-cli: the scriptable face of ORVEN.

#include "Commands.h"

#include "common/Error.h"
#include "config/Installation.h"
#include "Version.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <functional>

using namespace orven;

namespace {

struct Command {
    const char *name;
    const char *synopsis;
    std::function<int(cli::Context &)> run;
};

const Command kCommands[] = {
    {"paths", "paths [CODE...]            folders of the directory codes (all codes when none)", cli::cmdPaths},
    {"demo", "demo DIR [--size small|large] [--replace]   create a demo installation in DIR", cli::cmdDemo},
    {"info", "info                       folders and a summary of the year's database", cli::cmdInfo},
    {"generate", "generate --entity N --bimester B --out DIR [--plain]   write lrfcapturacontas.xml for an entity (0: all)\n"
     "                             and bimester (--plain: one query per amount, for comparisons)",
     cli::cmdGenerate},
    {"check", "check                      what would stop a generation or spoil its figures", cli::cmdCheck},
    {"import-chart", "import-chart [--yes]       court chart check and import (--yes answers the offer with Yes)",
     cli::cmdImportChart},
    {"classify", "classify revenue [--entity N]   automatic classification of the revenue records (0: all)",
     cli::cmdClassify},
};

void usage(QTextStream &s)
{
    s << "ORVEN (XML) " << ORVEN_VERSION_TEXT << "\n"
      << "usage: orven-cli [--config-dir DIR] COMMAND [ARGS]\n\ncommands:\n";
    for (const auto &c : kCommands)
        s << "  " << c.synopsis << "\n";
    s << "\nzunt.ini is read from --config-dir, else $ORVEN_CONFIG_DIR, else the executable's folder.\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orven-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVEN_VERSION_TEXT));

    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--config-dir") && !args.isEmpty()) {
            config::setConfigDirOverride(args.takeFirst());
        } else if (opt.startsWith(QLatin1String("--config-dir="))) {
            config::setConfigDirOverride(opt.mid(13));
        } else if (opt == QLatin1String("--help")) {
            usage(out);
            return cli::ExitOk;
        } else if (opt == QLatin1String("--version")) {
            out << ORVEN_VERSION_TEXT << "\n";
            return cli::ExitOk;
        } else {
            err << "orven-cli: unknown option " << opt << "\n";
            usage(err);
            return cli::ExitUsage;
        }
    }
    if (args.isEmpty()) {
        usage(err);
        return cli::ExitUsage;
    }
    const QString name = args.takeFirst();
    for (const auto &c : kCommands) {
        if (name == QLatin1String(c.name)) {
            cli::Context ctx{args, out, err};
            try {
                return c.run(ctx);
            } catch (const Error &e) {
                out.flush();
                err << e.message() << "\n";
                return cli::ExitFailure;
            }
        }
    }
    err << "orven-cli: unknown command " << name << "\n";
    usage(err);
    return cli::ExitUsage;
}
