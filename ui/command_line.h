#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// What the command line asks for: the window, or a text and an exit status.
struct CommandLineAnswer
{
    bool run = true;
    int exitCode = 0;
    QString standardOutput;
    QString standardError;
};

// The options are --help and --version; an unknown option is an error with
// status 2; Qt's own options are let through. arguments begin with the
// program's name. The usage line of the help names the program as the
// running QCoreApplication was started.
CommandLineAnswer AnswerCommandLine(const QStringList &arguments);

} // namespace quorvane
