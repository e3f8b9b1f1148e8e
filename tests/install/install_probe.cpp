// The program's own start-up, run from an installed tree: once the window is
// shown it reports where it found its files and ends. The install test copies
// it beside the installed program; it is never installed itself.

#include "ui/application.h"
#include "ui/form1.h"
#include "ui/sound/sound_backend.h"

#include <QCoreApplication>
#include <QPluginLoader>

#include <cstdio>

using namespace quorvane;

int main(int argc, char **argv)
{
    return RunApplication(argc, argv, [](QWidget *window) {
        const Form1 &form = *qobject_cast<Form1 *>(window);
        const ProgramFolders &folders = form.folders();
        QPluginLoader plugin(SoundPluginPath(folders.programFolder));
        const bool loaded = qobject_cast<SoundBackend *>(plugin.instance()) != nullptr;
        std::printf("data folder: %s\n", qPrintable(folders.dataFolder));
        std::printf("stock list: %s, %lld stocks\n", qPrintable(folders.shippedFile(QStringLiteral("StockList.txt"))),
                    static_cast<long long>(form.stockListTable.entries().size()));
        std::printf("sound plug-in: %s, %s\n", qPrintable(plugin.fileName()),
                    loaded ? "loaded" : qPrintable(plugin.errorString()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}
