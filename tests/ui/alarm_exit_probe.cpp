// The program started, an alarm sounded through the real sound plug-in, and
// the program ended: status 0, and no object of the plug-in left for the end
// of the process, where it would outlive the multimedia objects it needs.
#include "ui/application.h"
#include "ui/form1.h"

#include <QCoreApplication>
#include <QPluginLoader>
#include <QTimer>

using namespace quorvane;

int main(int argc, char **argv)
{
    QString plugin;
    const int status = RunApplication(argc, argv, [&plugin](QWidget *window) {
        Form1 &form = *qobject_cast<Form1 *>(window);
        plugin = SoundPluginPath(form.folders().programFolder);
        form.platform().soundPlayer->play(form.folders().shippedFile(QStringLiteral("ALARM8.WAV")));
        QTimer::singleShot(300, &form, [] { QCoreApplication::exit(0); });
    });
    return status == 0 && QPluginLoader(plugin).isLoaded() ? 3 : status;
}
