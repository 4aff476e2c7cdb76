#include "Commands.h"

namespace orven::cli {

int cmdDemo(Context &ctx)
{
    ctx.err << "orven-cli: demo is not available yet\n";
    return ExitFailure;
}

} // namespace orven::cli
