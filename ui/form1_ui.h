#pragma once

// The controls of the main window, built in code the way a Designer form
// would be: every named control carries its name as objectName, and the
// behaviour classes reach them through this struct.

#include <QString>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QTimer;
class QWidget;

namespace quorvane {

struct Form1Ui
{
    // Stock information panel across the top.
    QGroupBox *Frame5 = nullptr;
    QLabel *Label5 = nullptr, *Label52 = nullptr; // "股票名称：", name
    QLabel *Label6 = nullptr, *Label53 = nullptr; // "证交所：", exchange
    QLabel *Label7 = nullptr, *Label54 = nullptr; // "股票代码：", code
    QLabel *Label8 = nullptr, *Label55 = nullptr; // "最新价格：", price and change

    // The calculator.
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame4 = nullptr; // fee rates
    QLineEdit *buy_BrokerageRatio = nullptr, *buy_MinBrokerageRatio = nullptr;
    QLineEdit *StampDuty = nullptr, *MinStampDuty = nullptr;
    QLineEdit *TransferMoney = nullptr, *MinTransferMoney = nullptr;
    QLineEdit *buy_OtherMoney = nullptr, *sell_OtherMoney = nullptr;

    QGroupBox *Frame2 = nullptr; // buy side
    QLineEdit *StockCode = nullptr;
    QPushButton *Command1 = nullptr;
    QListWidget *StockList = nullptr; // drop-down of matches, hidden at start
    QLineEdit *buy_Price = nullptr, *buy_Number = nullptr;
    QLineEdit *buy_TotalMoney = nullptr, *buy_Brokerage = nullptr, *buy_TansferMoney = nullptr;
    QLineEdit *buy_Factorage = nullptr, *buy_OutOfPocketExpenses = nullptr, *buy_Cost = nullptr;
    QLineEdit *buy_BreakEven = nullptr;

    // Price ladder between the two sides: Label64..Label60 above Line1, Label69..Label65 below.
    QLabel *Label70 = nullptr;
    QLabel *ladder[10] = {}; // ladder[i] is Label(60 + i)
    QFrame *Line1 = nullptr;

    QGroupBox *Frame3 = nullptr; // sell side
    QLineEdit *sell_Price = nullptr, *sell_Number = nullptr;
    QLineEdit *sell_TotalMoney = nullptr, *sell_Brokerage = nullptr, *sell_TransferMoney = nullptr;
    QLineEdit *sell_StampDuty = nullptr, *sell_Factorage = nullptr, *sell_ReceivedMoney = nullptr;
    QLineEdit *sell_Yield = nullptr, *sell_ProfitAndLoss = nullptr;

    // Along the bottom.
    QGroupBox *Frame6 = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr;
    QCheckBox *TransferByAmount = nullptr; // the transfer fee as a rate of the trade amount
    QPushButton *btn_Sum = nullptr;

    // Menus; mnuControl is not on the bar (the notification icon's menu).
    QMenu *FileMenu = nullptr;
    QAction *MonitoringMenu = nullptr, *a2 = nullptr, *ExitMenu = nullptr;
    QAction *CurrentRatesMenu = nullptr; // "使用现行费率"
    QAction *UpdateStockListMenu = nullptr; // "更新股票列表"
    QAction *calcmenu = nullptr;
    QMenu *meunHelp = nullptr;
    QAction *CheckUpdate = nullptr, *a3 = nullptr, *AboutMe = nullptr;
    QMenu *mnuControl = nullptr;
    QAction *popShow = nullptr, *a1 = nullptr, *popExit = nullptr;

    QTimer *ActiveTimer = nullptr; // monitor tick, 1000 ms
    QTimer *Timer1 = nullptr;      // chart hover delay, 500 ms, off at start

    QLabel *ladderLabel(int number) const { return ladder[number - 60]; }

    void setupUi(QMainWindow *window);
};

// Text colours shared by the window's rules.
namespace colors {
inline constexpr unsigned Rise = 0xFF0000;    // RGB(255, 0, 0)
inline constexpr unsigned Fall = 0x008000;    // RGB(0, 128, 0)
inline constexpr unsigned FeeField = 0xFFFF80;   // RGB(255, 255, 128)
inline constexpr unsigned EntryField = 0xFFC080; // RGB(255, 192, 128)
inline constexpr unsigned Rule = 0x808080;       // RGB(128, 128, 128)
} // namespace colors

} // namespace quorvane
