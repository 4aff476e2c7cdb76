#include "Commands.h"

namespace orven::cli {

int cmdInfo(Context &ctx)
{
    ctx.err << "orven-cli: info is not available yet\n";
    return ExitFailure;
}

} // namespace orven::cli
