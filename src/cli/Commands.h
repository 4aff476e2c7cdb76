#pragma once

#include <QStringList>
#include <QTextStream>

namespace orven::cli {

// What every command gets: its own arguments (after the command name) and
// the two output streams.
struct Context {
    QStringList args;
    QTextStream &out;
    QTextStream &err;
};

// Exit statuses.
enum Exit { ExitOk = 0, ExitFailure = 1, ExitUsage = 2, ExitRefused = 3 };

int cmdPaths(Context &ctx);
int cmdDemo(Context &ctx);
int cmdInfo(Context &ctx);
int cmdGenerate(Context &ctx);
int cmdCheck(Context &ctx);
int cmdImportChart(Context &ctx);
int cmdClassify(Context &ctx);

} // namespace orven::cli
