#include "Commands.h"

namespace orven::cli {

int cmdPaths(Context &ctx)
{
    ctx.err << "orven-cli: paths is not available yet\n";
    return ExitFailure;
}

} // namespace orven::cli
