#include "ui/form1_ui.h"
#include "ui/menu_mnemonics.h"
#include "ui/named.h"
#include "ui/text_colours.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QLabel *Caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *Unit(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

void SetBase(QWidget *widget, unsigned rgb)
{
    SetDesignBackground(widget, rgb);
}

void SetTextColor(QWidget *widget, QPalette::ColorRole role, unsigned rgb)
{
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(rgb));
    widget->setPalette(palette);
}

// A number field: right-aligned, wide enough for its longest usual text.
QLineEdit *NumberField(QWidget *parent, const char *name, const QString &text, const QString &widest)
{
    auto *field = Named(new QLineEdit(text, parent), name);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int textWidth = field->fontMetrics().horizontalAdvance(widest);
    field->setMinimumWidth(textWidth + 14);
    return field;
}

QLineEdit *FeeField(QWidget *parent, const char *name, const QString &text)
{
    QLineEdit *field = NumberField(parent, name, text, QStringLiteral("00.000"));
    SetBase(field, colors::FeeField);
    return field;
}

// A trade's price or quantity, on the light orange of the entry fields.
QLineEdit *PriceField(QWidget *parent, const char *name)
{
    QLineEdit *field = NumberField(parent, name, QStringLiteral("￥0.00"), QStringLiteral("￥9,999,999.00"));
    SetBase(field, colors::EntryField);
    return field;
}

QLineEdit *QuantityField(QWidget *parent, const char *name)
{
    QLineEdit *field = NumberField(parent, name, QStringLiteral("0"), QStringLiteral("999,999,999"));
    SetBase(field, colors::EntryField);
    return field;
}

QLineEdit *ResultField(QWidget *parent, const char *name, const QString &text)
{
    QLineEdit *field = NumberField(parent, name, text, QStringLiteral("￥99,999,999.00"));
    field->setReadOnly(true);
    return field;
}

// The caption as a name: without its colon and the blanks that space it out.
QString NameOf(const QString &caption)
{
    QString name = caption;
    name.remove(u'：').remove(u' ').remove(u'\u3000');
    return name;
}

// One caption | field | unit line of a side frame. Assistive technology reads
// the field with its side ("买入交易金额"): both sides have the same captions.
void AddRow(QGridLayout *grid, const QString &side, const QString &caption, QWidget *field, const QString &unit)
{
    const int row = grid->rowCount();
    QWidget *parent = grid->parentWidget();
    QLabel *label = Caption(caption, parent);
    label->setBuddy(field);
    const QString name = NameOf(caption);
    field->setAccessibleName(name.startsWith(side) ? name : side + name);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(Unit(unit, parent), row, 2);
}

QGridLayout *SideGrid(QGroupBox *frame)
{
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 1, 6, 3);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(1, 1);
    return grid;
}

} // namespace

void Form1Ui::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("Form1"));
    auto *central = new QWidget(window);
    central->setObjectName(QStringLiteral("centralWidget"));
    window->setCentralWidget(central);

    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 2, 6, 4);
    outer->setSpacing(2);

    // Stock information panel.
    Frame5 = Named(new QGroupBox(QStringLiteral("股票信息（单击名称进入财经网）"), central), "Frame5");
    {
        auto *row = new QHBoxLayout(Frame5);
        row->setContentsMargins(8, 2, 8, 4);
        row->setSpacing(2);
        auto pair = [&](QLabel *&caption, const char *captionName, const QString &text, QLabel *&value,
                        const char *valueName, int stretch) {
            caption = Named(new QLabel(text, Frame5), captionName);
            value = Named(new QLabel(Frame5), valueName);
            // Measured in the normal weight: the bold face loads with the first quote.
            value->setMinimumWidth(caption->fontMetrics().horizontalAdvance(QStringLiteral("深圳交易所")) * 11 / 10);
            QFont bold = value->font();
            bold.setBold(true);
            value->setFont(bold);
            // Read out with its caption; empty, it reads as the caption.
            caption->setBuddy(value);
            row->addWidget(caption);
            row->addWidget(value, stretch);
            row->addSpacing(8);
        };
        pair(Label5, "Label5", QStringLiteral("股票名称："), Label52, "Label52", 3);
        pair(Label6, "Label6", QStringLiteral("证交所："), Label53, "Label53", 2);
        pair(Label7, "Label7", QStringLiteral("股票代码："), Label54, "Label54", 2);
        pair(Label8, "Label8", QStringLiteral("最新价格："), Label55, "Label55", 5);
    }
    outer->addWidget(Frame5);

    // The calculator.
    Frame1 = Named(new QGroupBox(QStringLiteral("计算"), central), "Frame1");
    auto *calc = new QVBoxLayout(Frame1);
    calc->setContentsMargins(6, 1, 6, 3);
    calc->setSpacing(2);
    outer->addWidget(Frame1, 1);

    Frame4 = Named(new QGroupBox(QStringLiteral("费率设定（单位：元）"), Frame1), "Frame4");
    {
        auto *grid = new QGridLayout(Frame4);
        grid->setContentsMargins(8, 2, 8, 4);
        grid->setHorizontalSpacing(3);
        grid->setVerticalSpacing(3);
        buy_BrokerageRatio = FeeField(Frame4, "buy_BrokerageRatio", QStringLiteral("3.00"));
        buy_MinBrokerageRatio = FeeField(Frame4, "buy_MinBrokerageRatio", QStringLiteral("5.00"));
        StampDuty = FeeField(Frame4, "StampDuty", QStringLiteral("0.50"));
        MinStampDuty = FeeField(Frame4, "MinStampDuty", QStringLiteral("0.00"));
        TransferMoney = FeeField(Frame4, "TransferMoney", QStringLiteral("0.01"));
        MinTransferMoney = FeeField(Frame4, "MinTransferMoney", QStringLiteral("0.00"));
        buy_OtherMoney = FeeField(Frame4, "buy_OtherMoney", QStringLiteral("0.00"));
        sell_OtherMoney = FeeField(Frame4, "sell_OtherMoney", QStringLiteral("0.00"));

        int column = 0;
        auto put = [&](int row, QWidget *w) { grid->addWidget(w, row, column++); };
        auto text = [&](int row, const QString &t) {
            QLabel *label = Unit(t, Frame4);
            put(row, label);
            return label;
        };
        // Each field is named by the caption before it; the three minimums,
        // whose captions are alike, by their row as well.
        auto captions = [](QLabel *caption, QLineEdit *field, const QString &name = {}) {
            caption->setBuddy(field);
            field->setAccessibleName(NameOf(name.isEmpty() ? caption->text() : name));
        };
        // Row 1: commission, then stamp duty.
        column = 0;
        captions(text(0, QStringLiteral("佣　金：")), buy_BrokerageRatio);
        put(0, buy_BrokerageRatio);
        captions(text(0, QStringLiteral("‰　　　最低：")), buy_MinBrokerageRatio, QStringLiteral("佣金最低："));
        put(0, buy_MinBrokerageRatio);
        text(0, QStringLiteral("元"));
        grid->setColumnMinimumWidth(column++, 16);
        captions(text(0, QStringLiteral("印 花 税：")), StampDuty);
        put(0, StampDuty);
        captions(text(0, QStringLiteral("‰  最低：")), MinStampDuty, QStringLiteral("印花税最低："));
        put(0, MinStampDuty);
        text(0, QStringLiteral("元"));
        // Row 2: transfer fee, then the other costs (their texts span the stamp-duty columns).
        column = 0;
        captions(text(1, QStringLiteral("过户费：")), TransferMoney);
        put(1, TransferMoney);
        captions(text(1, QStringLiteral("‰　　　最低：")), MinTransferMoney, QStringLiteral("过户费最低："));
        put(1, MinTransferMoney);
        text(1, QStringLiteral("元"));
        column++;
        auto *others = new QHBoxLayout;
        others->setSpacing(3);
        QLabel *buyOther = Unit(QStringLiteral("其他费用：买入："), Frame4);
        QLabel *sellOther = Unit(QStringLiteral("元，卖出："), Frame4);
        captions(buyOther, buy_OtherMoney);
        captions(sellOther, sell_OtherMoney, QStringLiteral("其他费用：卖出："));
        others->addWidget(buyOther);
        others->addWidget(buy_OtherMoney);
        others->addWidget(sellOther);
        others->addWidget(sell_OtherMoney);
        others->addWidget(Unit(QStringLiteral("元"), Frame4));
        grid->addLayout(others, 1, column, 1, 5, Qt::AlignLeft);
        grid->setColumnStretch(11, 1);
    }
    calc->addWidget(Frame4);

    auto *sides = new QHBoxLayout;
    sides->setSpacing(4);
    calc->addLayout(sides, 1);

    // Buy side.
    Frame2 = Named(new QGroupBox(QStringLiteral("买入计算"), Frame1), "Frame2");
    {
        QGridLayout *grid = SideGrid(Frame2);
        StockCode = Named(new QLineEdit(Frame2), "StockCode");
        StockCode->setMaxLength(10);
        SetBase(StockCode, colors::EntryField);
        Command1 = Named(new QPushButton(QStringLiteral("刷新"), Frame2), "Command1");
        Command1->setAutoDefault(false);
        Command1->setMinimumWidth(Command1->fontMetrics().horizontalAdvance(QStringLiteral("刷新")) + 16);
        auto *codeRow = new QHBoxLayout;
        codeRow->setSpacing(3);
        codeRow->addWidget(StockCode, 1);
        codeRow->addWidget(Command1);
        QLabel *codeCaption = Caption(QStringLiteral("股票代码："), Frame2);
        codeCaption->setBuddy(StockCode);
        StockCode->setAccessibleName(QStringLiteral("股票代码"));
        grid->addWidget(codeCaption, 0, 0);
        grid->addLayout(codeRow, 0, 1, 1, 2);

        buy_Price = PriceField(Frame2, "buy_Price");
        buy_Number = QuantityField(Frame2, "buy_Number");
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("买入价格："), buy_Price, QStringLiteral("元"));
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("买入数量："), buy_Number, QStringLiteral("股"));

        const QString zero = QStringLiteral("￥0.00");
        const QString yuan = QStringLiteral("元");
        buy_TotalMoney = ResultField(Frame2, "buy_TotalMoney", zero);
        buy_Brokerage = ResultField(Frame2, "buy_Brokerage", zero);
        buy_TansferMoney = ResultField(Frame2, "buy_TansferMoney", zero);
        buy_Factorage = ResultField(Frame2, "buy_Factorage", zero);
        buy_OutOfPocketExpenses = ResultField(Frame2, "buy_OutOfPocketExpenses", zero);
        buy_Cost = ResultField(Frame2, "buy_Cost", zero);
        buy_BreakEven = ResultField(Frame2, "buy_BreakEven", zero);
        buy_BreakEven->setToolTip(QStringLiteral("指全部卖出所持股票，可保本的最低价格"));
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("交易金额："), buy_TotalMoney, yuan);
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("佣　　金："), buy_Brokerage, yuan);
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("过 户 费："), buy_TansferMoney, yuan);
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("总手续费："), buy_Factorage, yuan);
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("实付金额："), buy_OutOfPocketExpenses, yuan);
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("买入成本："), buy_Cost, yuan);
        AddRow(grid, QStringLiteral("买入"), QStringLiteral("保本价格："), buy_BreakEven, yuan);
        grid->setRowStretch(grid->rowCount(), 1);
    }
    sides->addWidget(Frame2, 1);

    // Price ladder.
    {
        auto *column = new QVBoxLayout;
        column->setSpacing(1);
        column->addStretch(1);
        Label70 = Named(new QLabel(QStringLiteral("当前涨/跌停价"), Frame1), "Label70");
        Label70->setAlignment(Qt::AlignCenter);
        column->addWidget(Label70);
        column->addSpacing(4);
        const int width = Label70->fontMetrics().horizontalAdvance(QStringLiteral("-10% ￥9,999.00")) + 4;
        auto makeLadder = [&](int number, unsigned rgb) {
            auto *label = new QLabel(Frame1);
            label->setObjectName(QStringLiteral("Label%1").arg(number));
            label->setMinimumWidth(width);
            label->setMinimumHeight(label->fontMetrics().height());
            SetDesignTextColour(label, rgb);
            ladder[number - 60] = label;
            column->addWidget(label);
        };
        for (int n = 64; n >= 60; --n)
            makeLadder(n, colors::Rise);
        Line1 = Named(new QFrame(Frame1), "Line1");
        Line1->setFrameShape(QFrame::HLine);
        Line1->setFrameShadow(QFrame::Plain);
        SetTextColor(Line1, QPalette::WindowText, colors::Rule);
        column->addSpacing(2);
        column->addWidget(Line1);
        column->addSpacing(2);
        for (int n = 69; n >= 65; --n)
            makeLadder(n, colors::Fall);
        column->addStretch(1);
        sides->addLayout(column);
    }

    // Sell side.
    Frame3 = Named(new QGroupBox(QStringLiteral("卖出计算"), Frame1), "Frame3");
    {
        QGridLayout *grid = SideGrid(Frame3);
        sell_Price = PriceField(Frame3, "sell_Price");
        sell_Number = QuantityField(Frame3, "sell_Number");
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("卖出价格："), sell_Price, QStringLiteral("元"));
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("卖出数量："), sell_Number, QStringLiteral("股"));

        const QString zero = QStringLiteral("￥0.00");
        const QString yuan = QStringLiteral("元");
        sell_TotalMoney = ResultField(Frame3, "sell_TotalMoney", zero);
        sell_Brokerage = ResultField(Frame3, "sell_Brokerage", zero);
        sell_TransferMoney = ResultField(Frame3, "sell_TransferMoney", zero);
        sell_StampDuty = ResultField(Frame3, "sell_StampDuty", zero);
        sell_Factorage = ResultField(Frame3, "sell_Factorage", zero);
        sell_ReceivedMoney = ResultField(Frame3, "sell_ReceivedMoney", zero);
        sell_Yield = ResultField(Frame3, "sell_Yield", QStringLiteral("0.00"));
        sell_ProfitAndLoss = ResultField(Frame3, "sell_ProfitAndLoss", zero);
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("交易金额："), sell_TotalMoney, yuan);
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("佣　　金："), sell_Brokerage, yuan);
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("过 户 费："), sell_TransferMoney, yuan);
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("印 花 税："), sell_StampDuty, yuan);
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("总手续费："), sell_Factorage, yuan);
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("实收金额："), sell_ReceivedMoney, yuan);
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("收 益 率："), sell_Yield, QStringLiteral("％"));
        AddRow(grid, QStringLiteral("卖出"), QStringLiteral("盈亏金额："), sell_ProfitAndLoss, yuan);
        grid->setRowStretch(grid->rowCount(), 1);
    }
    sides->addWidget(Frame3, 1);

    // The drop-down of matches opens over the rows under the code box.
    StockList = Named(new QListWidget(central), "StockList");
    StockList->setAccessibleName(QStringLiteral("股票列表"));
    SetBase(StockList, colors::EntryField);
    StockList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StockList->hide();

    // Transfer-fee switches and the Calculate button.
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    Frame6 = Named(new QGroupBox(QStringLiteral("过户费收取设置（如果“买入计算”中不填写股票代码，则不计算过户费）"),
                                 central),
                   "Frame6");
    {
        auto *row = new QHBoxLayout(Frame6);
        row->setContentsMargins(12, 2, 8, 4);
        row->setSpacing(24);
        Check1 = Named(new QCheckBox(QStringLiteral("沪市收取"), Frame6), "Check1");
        Check2 = Named(new QCheckBox(QStringLiteral("深市收取"), Frame6), "Check2");
        Check3 = Named(new QCheckBox(QStringLiteral("京市收取"), Frame6), "Check3");
        TransferByAmount = Named(new QCheckBox(QStringLiteral("按成交金额"), Frame6), "TransferByAmount");
        auto explain = [box = TransferByAmount](bool byAmount) {
            box->setToolTip(byAmount ? QStringLiteral("已勾选：过户费为成交金额乘以过户费率（‰，现行0.01‰），"
                                                      "买卖都收，不足最低收费按最低收费")
                                     : QStringLiteral("未勾选：过户费按成交股数收取，每1000股收过户费率所填的元数，"
                                                      "不足100股按100股计"));
        };
        explain(false);
        QObject::connect(TransferByAmount, &QCheckBox::toggled, TransferByAmount, explain);
        for (QCheckBox *box : {Check1, Check2, Check3, TransferByAmount})
            box->setChecked(true);
        row->addWidget(Check1);
        row->addWidget(Check2);
        row->addWidget(Check3);
        row->addWidget(TransferByAmount);
        row->addStretch(1);
    }
    bottom->addWidget(Frame6, 1);
    btn_Sum = Named(new QPushButton(QStringLiteral("计算结果"), central), "btn_Sum");
    btn_Sum->setAutoDefault(false);
    btn_Sum->setMinimumSize(btn_Sum->fontMetrics().horizontalAdvance(QStringLiteral("计算结果")) + 40, 32);
    bottom->addWidget(btn_Sum, 0, Qt::AlignBottom);
    outer->addLayout(bottom);

    // Menus.
    QMenuBar *bar = window->menuBar();
    FileMenu = Named(bar->addMenu(QStringLiteral("系统(&S)")), "FileMenu");
    MonitoringMenu = Named(FileMenu->addAction(QStringLiteral("设置...")), "MonitoringMenu");
    CurrentRatesMenu = Named(FileMenu->addAction(QStringLiteral("使用现行费率")), "CurrentRatesMenu");
    UpdateStockListMenu = Named(FileMenu->addAction(QStringLiteral("更新股票列表")), "UpdateStockListMenu");
    a2 = Named(FileMenu->addSeparator(), "a2");
    ExitMenu = Named(FileMenu->addAction(QStringLiteral("退出(&X)")), "ExitMenu");
    calcmenu = Named(bar->addAction(QStringLiteral("计算器")), "calcmenu");
    meunHelp = Named(bar->addMenu(QStringLiteral("帮助(&H)")), "meunHelp");
    CheckUpdate = Named(meunHelp->addAction(QStringLiteral("检查更新")), "CheckUpdate");
    a3 = Named(meunHelp->addSeparator(), "a3");
    AboutMe = Named(meunHelp->addAction(QStringLiteral("关于“Quorvane”")), "AboutMe");
    mnuControl = Named(new QMenu(QStringLiteral("弹出菜单"), window), "mnuControl");
    popShow = Named(mnuControl->addAction(QStringLiteral("显示主界面")), "popShow");
    a1 = Named(mnuControl->addSeparator(), "a1");
    popExit = Named(mnuControl->addAction(QStringLiteral("退出...")), "popExit");
    // Letters for the entries whose texts have none: their pinyin or English initials.
    AboutMe->setText(QStringLiteral("关于“&Quorvane”"));
    SetMenuMnemonic(FileMenu, MonitoringMenu, u'O');     // options
    SetMenuMnemonic(FileMenu, CurrentRatesMenu, u'R');   // rates
    SetMenuBarMnemonic(bar, calcmenu, u'C');             // calculator
    SetMenuMnemonic(meunHelp, CheckUpdate, u'U');        // update
    SetMenuMnemonic(mnuControl, popShow, u'S');          // show
    SetMenuMnemonic(mnuControl, popExit, u'X');          // as 退出(&X)

    // Timers.
    ActiveTimer = Named(new QTimer(window), "ActiveTimer");
    ActiveTimer->setInterval(1000);
    Timer1 = Named(new QTimer(window), "Timer1");
    Timer1->setInterval(500);

    // Focus order: the trade first, then the fee rates.
    QWidget *order[] = {StockCode, btn_Sum, buy_Price, buy_Number, sell_Price, sell_Number,
                        buy_BrokerageRatio, buy_MinBrokerageRatio, TransferMoney, MinTransferMoney,
                        StampDuty, MinStampDuty, buy_OtherMoney, sell_OtherMoney, Check1, Check2, Check3,
                        TransferByAmount, Command1};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace quorvane
