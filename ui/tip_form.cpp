#include "ui/tip_form.h"

#include "quotes/http_fetch.h"
#include "ui/busy_cursor.h"
#include "ui/form1.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace quorvane {

namespace {

const QSize ClientSize(552, 342);
constexpr int ButtonWidth = 57, ButtonHeight = 25, ButtonStep = 64;
// The rest of the window: the service's charts are 545 × 300.
const QRect ImageArea(3, 38, 546, 301);

} // namespace

TipForm::TipForm(Form1 &form)
    : QWidget(&form, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_form(form)
{
    setObjectName(QStringLiteral("TipForm"));
    setWindowTitle(QStringLiteral("趋势查看：K线图 分时图"));
    // A pop-up under the pointer: the main window keeps the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(ClientSize);

    const struct
    {
        QPushButton *&button;
        const char *name;
        QString caption;
        void (TipForm::*click)();
    } buttons[] = {
        {Command1, "Command1", QStringLiteral("分时线"), &TipForm::Command1_Click},
        {Command2, "Command2", QStringLiteral("日K线"), &TipForm::Command2_Click},
        {Command3, "Command3", QStringLiteral("周K线"), &TipForm::Command3_Click},
        {Command4, "Command4", QStringLiteral("月K线"), &TipForm::Command4_Click},
    };
    int left = 8;
    for (const auto &b : buttons) {
        b.button = new QPushButton(b.caption, this);
        b.button->setObjectName(QLatin1String(b.name));
        b.button->setAutoDefault(false);
        // As wide as the design unless the font needs more; never touching.
        const int width = std::max(ButtonWidth, b.button->fontMetrics().horizontalAdvance(b.caption) + 16);
        b.button->setGeometry(left, 7, width, ButtonHeight);
        connect(b.button, &QPushButton::clicked, this, b.click);
        left += std::max(ButtonStep, width + 7);
    }
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(ImageArea);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

bool TipForm::hasPicture() const
{
    return !Image1->pixmap().isNull();
}

std::optional<QImage> TipForm::LoadPicture(const QString &url) const
{
    FetchOptions options;
    options.referer = m_form.network.Referer;
    std::optional<QByteArray> bytes;
    {
        BusyCursor busy;
        bytes = HttpFetch(options).fetchBytes(url);
    }
    if (!bytes || bytes->isEmpty())
        return std::nullopt;
    // The service sends GIF; the reader also takes what the body says it is.
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

void TipForm::getPicture(const QString &url)
{
    // A failed load empties the area; the next showing or click tries again.
    if (const std::optional<QImage> image = LoadPicture(url))
        Image1->setPixmap(QPixmap::fromImage(*image));
    else
        Image1->clear();
}

void TipForm::showChart(ChartKind kind)
{
    ChartCode = quorvane::ChartCode(m_form.ui().Label54->text());
    getPicture(ChartUrl(m_form.network.ChartHost, kind, ChartCode));
}

void TipForm::Form_Paint()
{
    if (ChartCode.right(6) != m_form.ui().Label54->text() || !hasPicture())
        showChart(ChartKind::Intraday);
}

void TipForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Once per showing, not per paint: a failed download is not retried in a loop.
    Form_Paint();
}

void TipForm::closeEvent(QCloseEvent *event)
{
    // Made once for the run: the close box only hides it.
    event->ignore();
    hide();
}

void TipForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Clicked into, it had the keyboard: the main window gets it back.
    const bool hadFocus = isActiveWindow();
    hide();
    if (hadFocus)
        m_form.activateWindow();
}

} // namespace quorvane
