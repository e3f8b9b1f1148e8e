#include "ui/field_departure.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>
#include <utility>

namespace quorvane {

FieldDeparture::FieldDeparture(Handler onLeft, QObject *parent) : QObject(parent), m_onLeft(std::move(onLeft))
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
}

void FieldDeparture::watch(const QList<QLineEdit *> &fields)
{
    m_fields = fields;
}

bool FieldDeparture::isWatched(const QWidget *widget) const
{
    return widget && std::find(m_fields.begin(), m_fields.end(), widget) != m_fields.end();
}

void FieldDeparture::focusChanged(QWidget *now)
{
    if (!now)
        return;
    if (m_editing && now != m_editing && now->window() == m_editing->window()) {
        QLineEdit *left = std::exchange(m_editing, nullptr);
        if (!m_onLeft(left, now))
            m_editing = left;
    }
    if (isWatched(now))
        m_editing = static_cast<QLineEdit *>(now);
}

} // namespace quorvane
