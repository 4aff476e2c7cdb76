#include "Commands.h"

#include "common/Error.h"
#include "config/Installation.h"
#include "config/PathResolver.h"

#include <QDir>

#include <algorithm>

namespace orven::cli {

// orven-cli paths [CODE...]
// One line per code: the code, blanks up to a common column, the folder.
// Without codes every known code is listed, and nothing is created; codes
// named on the command line are resolved as the program resolves them, so
// their working folders are created when missing. A code that fails is
// reported on stderr and the others are still listed.
int cmdPaths(Context &ctx)
{
    const bool listing = ctx.args.isEmpty();
    const QStringList codes = listing ? config::knownCodes() : ctx.args;

    qsizetype width = 0;
    for (const QString &code : codes)
        width = std::max(width, code.size());

    int status = ExitOk;
    for (const QString &code : codes) {
        try {
            const QString folder = listing ? config::resolvePath(config::ZuntSettings::fromFile(config::zuntIniPath()),
                                                                 code, QDir::separator(), false)
                                           : config::resolvePath(code);
            // A code the layout does not know resolves to nothing: the code alone.
            if (folder.isEmpty())
                ctx.out << code << "\n";
            else
                ctx.out << code.leftJustified(width) << "  " << folder << "\n";
        } catch (const Error &e) {
            ctx.out.flush();
            ctx.err << code << ": " << e.message() << "\n";
            ctx.err.flush();
            status = ExitFailure;
        }
    }
    return status;
}

} // namespace orven::cli
