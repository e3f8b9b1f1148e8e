#pragma once

// The chart window: the intraday or a K-line chart of the stock in the main
// window's panel, as a GIF from the chart service. Made once, hidden and shown
// again; it keeps the chart the user chose for as long as the panel shows the
// same stock.

#include "quotes/finance_sites.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;

namespace quorvane {

class Form1;

class TipForm : public QWidget
{
    Q_OBJECT

public:
    explicit TipForm(Form1 &form);

    QPushButton *Command1 = nullptr; // "分时线"
    QPushButton *Command2 = nullptr; // "日K线"
    QPushButton *Command3 = nullptr; // "周K线"
    QPushButton *Command4 = nullptr; // "月K线"
    QLabel *Image1 = nullptr;

    // Market prefix and code of the chart last requested ("sz000001").
    const QString &chartCode() const { return ChartCode; }
    bool hasPicture() const;

    // The picture at a URL: downloaded and decoded; none when either fails.
    std::optional<QImage> LoadPicture(const QString &url) const;
    // Image1 := the picture at url, empty when it cannot be loaded.
    void getPicture(const QString &url);
    // One kind of chart of the code in the main window's panel.
    void showChart(ChartKind kind);

    void Command1_Click() { showChart(ChartKind::Intraday); }
    void Command2_Click() { showChart(ChartKind::Daily); }
    void Command3_Click() { showChart(ChartKind::Weekly); }
    void Command4_Click() { showChart(ChartKind::Monthly); }

    // The intraday chart when the panel's stock changed or no picture shows;
    // otherwise the chosen chart stays without a request.
    void Form_Paint();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Form1 &m_form;
    QString ChartCode;
};

} // namespace quorvane
