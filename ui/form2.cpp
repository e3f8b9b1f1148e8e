#include "ui/form2.h"

#include "calc/money.h"
#include "quotes/quote.h"
#include "settings/settings_store.h"
#include "ui/form1.h"
#include "ui/named.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace quorvane {

namespace {

const QString Monitoring = QStringLiteral("monitoring");

QStringList SiteNames()
{
    return {QStringLiteral("新浪财经"), QStringLiteral("网易财经"), QStringLiteral("搜狐证券"),
            QStringLiteral("和讯"),     QStringLiteral("东方财富"), QStringLiteral("腾讯财经")};
}

// A stored check-box state: 0 clear, 1 ticked, 2 (greyed) ticked; anything else the default.
bool CheckedFromText(const QString &text, bool fallback)
{
    if (!IsNumberText(text))
        return fallback;
    try {
        const Quantity state = CountFromText(text);
        return state == 0 || state == 1 || state == 2 ? state != 0 : fallback;
    } catch (const OutOfRangeError &) {
        return fallback;
    }
}

QString StateText(const QCheckBox *box)
{
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

// An alert price as the store takes it; an empty field is 0, a text that is
// not a number has none.
std::optional<Money> AlertPrice(const QString &text)
{
    if (text.trimmed().isEmpty())
        return Money();
    return MoneyIfNumber(text);
}

// A percentage limit as the store takes it: the text as typed, an empty field 0.
QString PercentLimit(const QString &text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("0") : text;
}

} // namespace

QString ActiveTimeMessage(const QString &text)
{
    if (!IsNumberText(text))
        return QStringLiteral("请输入数字");
    try {
        const Quantity seconds = CountFromText(text);
        if (seconds >= 5 && seconds <= 6000)
            return {};
    } catch (const OutOfRangeError &) {
    }
    return QStringLiteral("时间范围必须在5秒-6000秒之间");
}

QString StockCodeMessage(const QString &text)
{
    return text.isEmpty() || IsStockCode(text) ? QString() : QStringLiteral("请输入6位股票代码");
}

Form2::Form2(Form1 &owner)
    : QDialog(&owner), m_owner(owner),
      m_departure([this](QLineEdit *field, QWidget *now) { return fieldLeft(field, now); })
{
    setupUi();
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    m_departure.watch({ActiveTime, stock1, stock2, stock3});
    LoadSettings();
}

Form2::~Form2() = default;

void Form2::setupUi()
{
    setWindowTitle(QStringLiteral("设置"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);

    auto *monitor = new QGroupBox(QStringLiteral("监控设置"), this);
    auto *monitorLayout = new QGridLayout(monitor);
    layout->addWidget(monitor);

    auto *interval = new QGroupBox(QStringLiteral("时间间隔"), monitor);
    auto *intervalLayout = new QHBoxLayout(interval);
    ActiveTime = Named(new QLineEdit(interval), "ActiveTime");
    ActiveTime->setMaxLength(4);
    ActiveTime->setAccessibleName(QStringLiteral("监控时间间隔（秒）"));
    ActiveTime->setFixedWidth(ActiveTime->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    intervalLayout->addWidget(new QLabel(QStringLiteral("监控时间间隔："), interval));
    intervalLayout->addWidget(ActiveTime);
    intervalLayout->addWidget(new QLabel(QStringLiteral("秒"), interval));
    intervalLayout->addStretch();
    monitorLayout->addWidget(interval, 0, 0);

    auto *onOff = new QGroupBox(QStringLiteral("监控打开/关闭"), monitor);
    auto *onOffLayout = new QHBoxLayout(onOff);
    IsActive1 = Named(new QRadioButton(QStringLiteral("启动监控"), onOff), "IsActive1");
    IsActive2 = Named(new QRadioButton(QStringLiteral("关闭监控"), onOff), "IsActive2");
    onOffLayout->addWidget(IsActive1);
    onOffLayout->addWidget(IsActive2);
    monitorLayout->addWidget(onOff, 0, 1);

    // The three stocks as a small table: code and the three limits of each.
    auto *stocks = new QGroupBox(QStringLiteral("可监控三只股票（股票输入代码）"), monitor);
    auto *stocksLayout = new QGridLayout(stocks);
    const QStringList headers = {QStringLiteral("代码"), QStringLiteral("最低价"), QStringLiteral("最高价"),
                                 QStringLiteral("涨跌幅")};
    for (int column = 0; column < headers.size(); ++column)
        stocksLayout->addWidget(new QLabel(headers[column], stocks), 0, column + 1, 1, column == 3 ? 2 : 1);
    const struct
    {
        const char16_t *caption;
        QLineEdit **code, **down, **up, **pct;
        const char *codeName, *downName, *upName, *pctName;
    } rows[] = {{u"股票一：", &stock1, &txtstock1_Down, &txtstock1_Up, &txtstock1_Pct, "stock1", "txtstock1_Down",
                 "txtstock1_Up", "txtstock1_Pct"},
                {u"股票二：", &stock2, &txtstock2_Down, &txtstock2_Up, &txtstock2_Pct, "stock2", "txtstock2_Down",
                 "txtstock2_Up", "txtstock2_Pct"},
                {u"股票三：", &stock3, &txtstock3_Down, &txtstock3_Up, &txtstock3_Pct, "stock3", "txtstock3_Down",
                 "txtstock3_Up", "txtstock3_Pct"}};
    const auto widthFor = [this](const char *sample) {
        return fontMetrics().horizontalAdvance(QLatin1String(sample)) + 12;
    };
    int row = 1;
    for (const auto &r : rows) {
        // A screen reader tells the twelve fields apart by stock and column.
        const QString stock = QStringLiteral("股票%1").arg(row);
        auto field = [&](QLineEdit **slot, const char *name, const QString &column, const char *sample) {
            *slot = Named(new QLineEdit(stocks), name);
            (*slot)->setAccessibleName(stock + column);
            (*slot)->setFixedWidth(widthFor(sample));
        };
        field(r.code, r.codeName, QStringLiteral("代码"), "0000000");
        (*r.code)->setMaxLength(6);
        field(r.down, r.downName, QStringLiteral("最低价"), "00000.000");
        field(r.up, r.upName, QStringLiteral("最高价"), "00000.000");
        field(r.pct, r.pctName, QStringLiteral("涨跌幅"), "000.00");
        auto *caption = new QLabel(QString::fromUtf16(r.caption), stocks);
        caption->setBuddy(*r.code);
        stocksLayout->addWidget(caption, row, 0);
        stocksLayout->addWidget(*r.code, row, 1);
        stocksLayout->addWidget(*r.down, row, 2);
        stocksLayout->addWidget(*r.up, row, 3);
        stocksLayout->addWidget(*r.pct, row, 4);
        stocksLayout->addWidget(new QLabel(QStringLiteral("%"), stocks), row, 5);
        ++row;
    }
    stocksLayout->setColumnStretch(6, 1);
    monitorLayout->addWidget(stocks, 1, 0, 1, 2);

    auto *system = new QGroupBox(QStringLiteral("系统设置"), this);
    auto *systemLayout = new QGridLayout(system);
    layout->addWidget(system);
    showPictureCB = Named(new QCheckBox(QStringLiteral("鼠标移动到股票名称栏时，显示分时图"), system), "showPictureCB");
    IsSumSamePrice = Named(new QCheckBox(QStringLiteral("计算持回价格"), system), "IsSumSamePrice");
    IsSumSamePrice->setToolTip(QStringLiteral("卖出后，如果需要重新持回相同股数的股票，价格应是多少"));
    IsClipboardCB =
        Named(new QCheckBox(QStringLiteral("监控剪贴板（如果为代码则自动刷新股票信息）"), system), "IsClipboardCB");
    ComboSite = Named(new QComboBox(system), "ComboSite");
    ComboSite->addItems(SiteNames());
    ComboSite->setAccessibleName(QStringLiteral("默认网站")); // not its current value
    HideTaskbar = Named(new QCheckBox(QStringLiteral("最小化时隐藏任务栏"), system), "HideTaskbar");
    auto *siteLabel = new QLabel(QStringLiteral("单击股票名默认进入财经网："), system);
    siteLabel->setBuddy(ComboSite);
    systemLayout->addWidget(showPictureCB, 0, 0, 1, 2);
    systemLayout->addWidget(IsSumSamePrice, 1, 0, 1, 2);
    systemLayout->addWidget(IsClipboardCB, 2, 0, 1, 2);
    systemLayout->addWidget(siteLabel, 3, 0);
    systemLayout->addWidget(ComboSite, 3, 1);
    systemLayout->addWidget(HideTaskbar, 4, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    Command1 = Named(new QPushButton(QStringLiteral("确定"), this), "Command1");
    Command2 = Named(new QPushButton(QStringLiteral("取消"), this), "Command2");
    Command1->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Form2::LoadSettings()
{
    m_ini.setINIFileName(m_owner.folders().iniPath());
    auto read = [this](const char *key, const QString &fallback) {
        return m_ini.GetIniKey(Monitoring, QLatin1String(key), fallback);
    };
    // A stored text the field cannot hold whole, or would refuse, shows the
    // default: a cut-down text would be saved by OK as a different value.
    auto show = [&](QLineEdit *field, const char *key, const QString &fallback, auto isValid) {
        const QString text = read(key, fallback);
        field->setText(text.size() <= field->maxLength() && isValid(text) ? text : fallback);
    };
    const auto codeValid = [](const QString &text) { return StockCodeMessage(text).isEmpty(); };
    show(stock1, "stock1", QString(), codeValid);
    show(stock2, "stock2", QString(), codeValid);
    show(stock3, "stock3", QString(), codeValid);

    // Only -1 (written by this dialog) reads as on here; a 1 shows as off.
    const QString isActive = read("IsActive", QStringLiteral("0"));
    (NumberIfNumber(isActive) == -1.0 ? IsActive1 : IsActive2)->setChecked(true);

    show(ActiveTime, "ActiveTime", QStringLiteral("30"),
         [](const QString &text) { return ActiveTimeMessage(text).isEmpty(); });
    HideTaskbar->setChecked(CheckedFromText(read("HideTaskbar", QStringLiteral("0")), false));
    const int site = SiteNames().indexOf(read("DefaultSite", SiteNames().first()));
    ComboSite->setCurrentIndex(site < 0 ? 0 : site);
    IsClipboardCB->setChecked(CheckedFromText(read("IsClipboard", QStringLiteral("1")), true));
    IsSumSamePrice->setChecked(CheckedFromText(read("IsSumSamePrice", QStringLiteral("1")), true));
    showPictureCB->setChecked(CheckedFromText(read("showPicture", QStringLiteral("0")), false));
    const QString zero = QStringLiteral("0.00");
    const auto priceValid = [](const QString &text) { return AlertPrice(text).has_value(); };
    show(txtstock1_Down, "stock1_Down", zero, priceValid);
    show(txtstock2_Down, "stock2_Down", zero, priceValid);
    show(txtstock3_Down, "stock3_Down", zero, priceValid);
    show(txtstock1_Up, "stock1_Up", zero, priceValid);
    show(txtstock2_Up, "stock2_Up", zero, priceValid);
    show(txtstock3_Up, "stock3_Up", zero, priceValid);
    const QString noPct = QStringLiteral("0");
    show(txtstock1_Pct, "stock1_Pct", noPct, priceValid);
    show(txtstock2_Pct, "stock2_Pct", noPct, priceValid);
    show(txtstock3_Pct, "stock3_Pct", noPct, priceValid);
}

void Form2::SaveSettings()
{
    SettingsStore &store = m_owner.store;
    store.stock1 = stock1->text();
    store.stock2 = stock2->text();
    store.stock3 = stock3->text();
    store.ActiveTime = ActiveTime->text();
    store.HideTaskbar = StateText(HideTaskbar);
    store.IsSumSamePrice = StateText(IsSumSamePrice);
    store.showPicture = StateText(showPictureCB);
    store.stock1_Down = AlertPrice(txtstock1_Down->text()).value_or(Money());
    store.stock2_Down = AlertPrice(txtstock2_Down->text()).value_or(Money());
    store.stock3_Down = AlertPrice(txtstock3_Down->text()).value_or(Money());
    store.stock1_Up = AlertPrice(txtstock1_Up->text()).value_or(Money());
    store.stock2_Up = AlertPrice(txtstock2_Up->text()).value_or(Money());
    store.stock3_Up = AlertPrice(txtstock3_Up->text()).value_or(Money());
    store.stock1_Pct = PercentLimit(txtstock1_Pct->text());
    store.stock2_Pct = PercentLimit(txtstock2_Pct->text());
    store.stock3_Pct = PercentLimit(txtstock3_Pct->text());

    m_ini.setINIFileName(m_owner.folders().iniPath());
    // The writes of one OK, in their order, replace the file once.
    QList<IniWrite> writes;
    auto write = [&](const char *key, const QString &value) {
        writes.append({Monitoring, QLatin1String(key), value});
    };
    write("stock1", stock1->text());
    write("stock2", stock2->text());
    write("stock3", stock3->text());
    write("stock1_Down", txtstock1_Down->text());
    write("stock2_Down", txtstock2_Down->text());
    write("stock3_Down", txtstock3_Down->text());
    write("stock1_Up", txtstock1_Up->text());
    write("stock2_Up", txtstock2_Up->text());
    write("stock3_Up", txtstock3_Up->text());
    write("stock1_Pct", txtstock1_Pct->text());
    write("stock2_Pct", txtstock2_Pct->text());
    write("stock3_Pct", txtstock3_Pct->text());

    store.IsActive = IsActive1->isChecked() ? QStringLiteral("-1") : QStringLiteral("0");
    write("IsActive", store.IsActive);
    m_owner.armMonitorTimer();

    write("showPicture", StateText(showPictureCB));
    write("IsSumSamePrice", StateText(IsSumSamePrice));
    write("ActiveTime", ActiveTime->text());
    write("HideTaskbar", StateText(HideTaskbar));
    store.DefaultSite = ComboSite->currentText();
    write("DefaultSite", store.DefaultSite);
    store.IsClipboard = StateText(IsClipboardCB);
    write("IsClipboard", store.IsClipboard);

    if (!m_ini.WriteIniKeys(writes))
        m_owner.reportWriteFailure(m_owner.folders().iniPath(), m_ini.lastError());
}

void Form2::Command1_Click()
{
    // The field the user came from (or Enter was pressed in) is checked before anything is saved.
    QPointer<QLineEdit> left = std::exchange(m_leftField, nullptr);
    if (!left && m_departure.isWatched(focusWidget()))
        left = static_cast<QLineEdit *>(focusWidget());
    if (left && !checkLeftField(left))
        return;
    if (!checkAlertPrices())
        return;
    SaveSettings();
    accept();
}

void Form2::Command2_Click()
{
    reject();
}

bool Form2::fieldLeft(QLineEdit *field, QWidget *now)
{
    // Cancel abandons the edit: pressing it checks nothing.
    if (now == Command2)
        return false;
    m_leftField = field;
    // The message comes once the focus has settled where the user sent it.
    QTimer::singleShot(0, this, [this] {
        QPointer<QLineEdit> left = std::exchange(m_leftField, nullptr);
        if (left && isVisible())
            checkLeftField(left);
    });
    return true;
}

bool Form2::checkLeftField(QLineEdit *field)
{
    const QString message =
        field == ActiveTime ? ActiveTimeMessage(field->text()) : StockCodeMessage(field->text());
    if (message.isEmpty())
        return true;
    m_owner.platform().messageBoxes->plain(this, message);
    // Remembered first: the focus may only arrive once the window is active again.
    m_departure.setEditing(field);
    field->setFocus(Qt::OtherFocusReason);
    return false;
}

bool Form2::checkAlertPrices()
{
    // Row by row, as the table reads.
    for (QLineEdit *price : {txtstock1_Down, txtstock1_Up, txtstock1_Pct, txtstock2_Down, txtstock2_Up,
                             txtstock2_Pct, txtstock3_Down, txtstock3_Up, txtstock3_Pct}) {
        if (!AlertPrice(price->text())) {
            m_owner.platform().messageBoxes->plain(this, QStringLiteral("请输入数字"));
            m_departure.setEditing(nullptr);
            price->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

} // namespace quorvane
