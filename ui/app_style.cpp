#include "ui/app_style.h"

#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QStyleOption>

namespace quorvane {

namespace {

class DeferredIconEngine final : public QIconEngine
{
public:
    DeferredIconEngine(const QStyle *style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QIconEngine *clone() const override { return new DeferredIconEngine(m_style, m_which); }

private:
    const QIcon &icon()
    {
        if (m_icon.isNull())
            m_icon = m_style->standardIcon(m_which);
        return m_icon;
    }

    const QStyle *m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
};

bool IsFusion(const QStyle *style)
{
    return style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

} // namespace

QIcon AppStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredIconEngine(baseStyle(), icon));
    return QProxyStyle::standardIcon(icon, option, widget);
}

void AppStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    if (element != PE_FrameGroupBox || !IsFusion(baseStyle())) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Below the title as Fusion places it: a rounded frame a little darker than the window.
    constexpr int TitleGap = 3;
    int top = TitleGap;
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    if (!box || box->isCheckable() || !box->title().isEmpty())
        top += qMax(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget), option->fontMetrics.height());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QColor window = option->palette.window().color();
    const QRectF frame = QRectF(option->rect).adjusted(0.5, top + 0.5, -0.5, -0.5);
    painter->setPen(window.darker(125));
    painter->setBrush(window.darker(104));
    painter->drawRoundedRect(frame, 2, 2);
    painter->restore();
}

} // namespace quorvane

namespace quorvane {

void AppStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus) || !IsFusion(baseStyle()))
        return;
    // Inside the button's frame, in the scheme's highlight, two pixels wide.
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(option->palette.highlight().color(), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(option->rect).adjusted(3, 3, -3, -3), 2, 2);
    painter->restore();
}

} // namespace quorvane
