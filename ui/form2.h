#pragma once

// The settings dialog: the monitor's stocks, alert prices, switch and interval,
// and the system options. It shows what setup.ini holds (never the main
// window's store); OK writes the file and the store together and switches the
// monitor at once.

#include "settings/ini_file.h"
#include "ui/field_departure.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvane {

class Form1;

class Form2 : public QDialog
{
    Q_OBJECT

public:
    explicit Form2(Form1 &owner);
    ~Form2() override;

    void LoadSettings();
    void SaveSettings();
    void Command1_Click(); // 确定
    void Command2_Click(); // 取消

    QLineEdit *ActiveTime = nullptr;
    QRadioButton *IsActive1 = nullptr, *IsActive2 = nullptr;
    QLineEdit *stock1 = nullptr, *stock2 = nullptr, *stock3 = nullptr;
    QLineEdit *txtstock1_Down = nullptr, *txtstock2_Down = nullptr, *txtstock3_Down = nullptr;
    QLineEdit *txtstock1_Up = nullptr, *txtstock2_Up = nullptr, *txtstock3_Up = nullptr;
    QLineEdit *txtstock1_Pct = nullptr, *txtstock2_Pct = nullptr, *txtstock3_Pct = nullptr;
    QCheckBox *showPictureCB = nullptr, *IsSumSamePrice = nullptr, *IsClipboardCB = nullptr, *HideTaskbar = nullptr;
    QComboBox *ComboSite = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr;

private:
    void setupUi();
    // Leaving the interval or a code for another control of the dialog.
    bool fieldLeft(QLineEdit *field, QWidget *now);
    // The message of an invalid field, with the focus back in it; true when valid.
    bool checkLeftField(QLineEdit *field);
    bool checkAlertPrices();

    Form1 &m_owner;
    ClassIniFile m_ini;
    QPointer<QLineEdit> m_leftField; // left, its check waiting for the focus to settle
    // Last, so that it goes first: the dialog hiding on its way out moves the
    // focus, which is no leaving of a field.
    FieldDeparture m_departure;
};

// The interval field's rule: a number that rounds (halves to even) to 5..6000.
// The message for another text, or the empty text when it is accepted.
QString ActiveTimeMessage(const QString &text);
// A code field's rule: empty, or six characters that read as a number.
QString StockCodeMessage(const QString &text);

} // namespace quorvane
