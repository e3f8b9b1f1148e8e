#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QLineEdit;
class QWidget;

namespace quorvane {

// Tells when the user leaves one of some fields: the focus settles on another
// control of the field's window. The window or the program losing the focus
// (a message box, a menu, another program) is no departure, and a control
// focused while the window is inactive counts when its focus arrives, which
// may be only at the window's next activation.
class FieldDeparture : public QObject
{
    Q_OBJECT

public:
    // onLeft(field, now) runs when field is left for now; it returns false
    // when that is no departure after all (the field stays the one edited).
    using Handler = std::function<bool(QLineEdit *field, QWidget *now)>;

    explicit FieldDeparture(Handler onLeft, QObject *parent = nullptr);

    void watch(const QList<QLineEdit *> &fields);
    bool isWatched(const QWidget *widget) const;
    // The field being edited: the one the focus is in or last was, until it
    // is left. Set it when the focus is sent back into a field, or to nothing
    // when no check is due on its departure.
    void setEditing(QLineEdit *field) { m_editing = field; }

private:
    void focusChanged(QWidget *now);

    Handler m_onLeft;
    QList<QLineEdit *> m_fields;
    QPointer<QLineEdit> m_editing;
};

} // namespace quorvane
