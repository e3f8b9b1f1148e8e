#pragma once

// The about box: the program's name and version, the licence, where this
// user's setup.ini and Log.txt are, and a button that starts the desktop's
// system-information tool. It does not block the main window.

#include "ui/platform.h"
#include "ui/program_folders.h"

#include <QDialog>
#include <QList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

struct ProgramCommand
{
    QString program;
    QStringList arguments;
};

// The system-information tools tried in turn by "系统信息(&S)...": one per
// desktop, then those that run on any.
QList<ProgramCommand> SystemInformationTools();

class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    FrmAbout(Platform platform, const ProgramFolders &folders, QWidget *parent = nullptr);

    // Starts the first system-information tool that starts; says so when none does.
    void StartSysInfo();

    QLabel *Picture1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblDescription = nullptr;
    QGroupBox *Frame1 = nullptr; // "应用程序信息"
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

private:
    Platform m_platform;
};

} // namespace quorvane
