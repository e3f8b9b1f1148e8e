#pragma once

// The main window. Data flows one way: the texts of the entry and fee-rate
// fields go into Calculate, and its outcome (a rejection, or result texts, the
// sell frame's caption and a log entry) is applied to the fields and Log.txt.
// The window owns the settings of the run and the state the stock panel and
// the monitor share; their behaviour lives in classes of their own that reach
// the controls through ui().

#include "calc/money.h"
#include "quotes/quote.h"
#include "quotes/stock_list.h"
#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "ui/form1_ui.h"
#include "ui/platform.h"
#include "ui/program_folders.h"

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QSet>

#include <cstdint>
#include <memory>

class QPushButton;

namespace quorvane {

class EntryFields;
class FetchThread;
class PriceMonitor;
enum class PublishedVersion;

class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    Form1(Platform platform, ProgramFolders folders, QWidget *parent = nullptr);
    ~Form1() override;

    const Form1Ui &ui() const { return m_ui; }
    Platform &platform() { return m_platform; }
    const ProgramFolders &folders() const { return m_folders; }
    ClassIniFile &iniFile() { return m_ini; }

    // The start-up sequence, run once before the window is first shown.
    void Form_Load();
    // Centres the window on its screen's available area (without panels),
    // or, where it does not fit, puts it at the area's top left.
    void centreOnScreen();

    // The one button that Enter presses; btn_Sum at start.
    void setDefaultButton(QPushButton *button);
    QPushButton *defaultButton() const { return m_defaultButton; }

    // The Calculate command.
    void btn_Sum_Click();

    // Asks the maker's server for the latest version and offers the download
    // page when it is newer. Flag: from the menu, so every outcome is reported
    // and the window waits for it; at start-up the window does not wait, and
    // only a newer version speaks, when the answer comes. Defined in
    // form1_update.cpp.
    void CheckUpdateVersion(bool Flag);
    bool updateCheckPending() const { return m_updateCheckPending; }
    // Opens the about box, or brings the open one to the front.
    void AboutMe_Click();

    // Brings the window back in normal state: from popShow, or from a left
    // press on the notification icon (which always activates it).
    void popShow_Click();
    void trayLeftPress();

    // A balloon on the notification icon; the title is cut to 63 GBK bytes, the
    // text to 255. An alarm's balloon stands out (TrayIcon::showBalloon).
    bool ShowBalloon(const QString &title, const QString &text, bool alarm);

    // Settings and state of the run, shared with the stock panel, the monitor
    // and the settings dialog.
    SettingsStore store;
    NetworkSettings network;
    // The quote services of network in the order of asking, and which one
    // answered last, for the whole run (shared with the monitor's thread).
    QList<QuoteService> quoteServices() const;
    QuoteFailover quoteFailover;
    StockListTable stockListTable;
    QString PanelCode;
    bool NetErrorShown = false;
    std::int16_t ActiveCount = 0;
    std::int16_t ActiveIndex = 0;
    Money LastPrice1, LastPrice2, LastPrice3;

    // Puts the match list directly under the code box, as tall as its lines.
    void placeStockList();

    // Arms ActiveTimer from IsActive: 1000 ms, running exactly when it is on.
    void armMonitorTimer();
    PriceMonitor &priceMonitor() const { return *m_priceMonitor; }

    // "设置...": the settings dialog, modal.
    void MonitoringMenu_Click();

    // Tells the user that a file could not be written and why, once per file
    // and run; the program goes on.
    void reportWriteFailure(const QString &path, const QString &reason);

signals:
    // The user confirmed the exit and the exit sequence ran: the program ends.
    void exitConfirmed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void answerUpdateCheck(bool Flag, PublishedVersion published);
    void LoadFeeSettings();
    bool SaveFeeSettings();
    void calcmenu_Click();
    void applySignColour(QLineEdit *field);
    QString controlText(const QString &objectName) const;

    Platform m_platform;
    ProgramFolders m_folders;
    ClassIniFile m_ini;
    Form1Ui m_ui;
    std::unique_ptr<EntryFields> m_entryFields;
    std::unique_ptr<PriceMonitor> m_priceMonitor;
    std::unique_ptr<FetchThread> m_updateThread; // the start-up check's
    bool m_updateCheckPending = false;
    QPointer<QDialog> m_aboutBox;
    QPushButton *m_defaultButton = nullptr;
    bool m_askingToExit = false;
    bool m_exiting = false;
    QSet<QString> m_reportedFiles;
};

// The top left of a window frame of frameSize on the available area: centred
// along each side where it fits, else at the area's left or top edge, so that
// the title bar stays reachable.
QPoint PlaceOnArea(const QSize &frameSize, const QRect &available);

// The calculator programs tried in turn by "计算器".
QStringList DesktopCalculators();

} // namespace quorvane
