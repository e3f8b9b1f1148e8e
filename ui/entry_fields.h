#pragma once

#include "ui/field_departure.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>

#include <functional>

namespace quorvane {

class MessageBoxes;
struct Form1Ui;

// The four trade fields of the main window while the user edits them: a plain
// click strips the display form and selects the text, leaving a field tidies
// it into its display form (or warns about a non-number), the buy quantity is
// mirrored into the sell quantity, and editing makes btn_Sum the default button.
class EntryFields : public QObject
{
    Q_OBJECT

public:
    EntryFields(const Form1Ui &ui, MessageBoxes &boxes, std::function<void()> makeSumDefault,
                QObject *parent = nullptr);

    // The limits hold for typing only: a tidied or mirrored text may be longer.
    static constexpr int PriceMaxLength = 10;
    static constexpr int NumberMaxLength = 9;

    // Strips "￥" and "," from the trimmed text and selects all of it, unless
    // some text is selected.
    static void PrepareForEditing(QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Form { Money, WholeNumber };

    void buy_Number_Change(const QString &text);
    void clicked(QLineEdit *field);
    void lostFocus(QLineEdit *field);
    Form formOf(const QLineEdit *field) const;

    const Form1Ui &m_ui;
    MessageBoxes &m_boxes;
    std::function<void()> m_makeSumDefault;
    FieldDeparture m_departure;
};

} // namespace quorvane
