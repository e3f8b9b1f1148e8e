#include "ui/command_line.h"

#include "ui/version.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace quorvane {

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    bool parsed;

    void addQtOption(const char *name, const QString &valueName)
    {
        QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    explicit Parser(const QStringList &arguments)
    {
        parser.setApplicationDescription(
            QStringLiteral("Trade-cost calculator for shares on the Shanghai, Shenzhen and Beijing exchanges.\n"
                           "A second start shows the window of the copy already running."));
        parser.addOption(help);
        parser.addOption(version);
        // Qt's own options (-platform xcb, -style fusion, -reverse ...) are Qt's to take.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                 "qwindowicon", "qwindowtitle", "display", "geometry", "title", "name", "session",
                                 "style", "stylesheet"})
            addQtOption(name, QStringLiteral("value"));
        for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
            addQtOption(name, {});
        parsed = parser.parse(arguments);
    }
};

} // namespace

CommandLineAnswer AnswerCommandLine(const QStringList &arguments)
{
    const Parser p(arguments);
    CommandLineAnswer answer;
    if (!p.parsed) {
        const QString program = QFileInfo(arguments.value(0, QStringLiteral("quorvane"))).fileName();
        answer = {false, 2, {}, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, p.parser.errorText())};
    } else if (p.parser.isSet(p.help)) {
        answer = {false, 0, p.parser.helpText(), {}};
    } else if (p.parser.isSet(p.version)) {
        answer = {false, 0,
                  QStringLiteral("Quorvane %1.%2.%3\n").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision), {}};
    }
    return answer;
}

} // namespace quorvane
