#include "ui/entry_fields.h"

#include "calc/money.h"
#include "ui/form1_ui.h"
#include "ui/platform.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {

// Holds typing and pasting to the limit: of what is typed or pasted, only
// the first characters that fit are taken, and a text that the program made
// longer may still be shortened. The program's own texts (the tidied form,
// the mirror, a quote's price) are written while the field has no focus and
// always pass: a refused one would leave the field marked invalid, and such
// a field takes any keystroke.
class TypingLimit final : public QValidator
{
public:
    TypingLimit(QLineEdit *field, int limit) : QValidator(field), m_field(field), m_limit(limit), m_text(field->text())
    {
        connect(field, &QLineEdit::textChanged, this, [this](const QString &text) { m_text = text; });
    }

    State validate(QString &input, int &cursor) const override
    {
        // The field holds the text before the edit; the cursor stands after
        // what was put in, so what follows it was there before.
        if (!m_field->hasFocus() || input.size() <= m_limit || input.size() <= m_text.size())
            return Acceptable;
        const qsizetype after = std::min<qsizetype>(input.size() - cursor, m_text.size());
        qsizetype before = 0;
        const qsizetype beforeLimit = std::min<qsizetype>(cursor, m_text.size() - after);
        while (before < beforeLimit && input[before] == m_text[before])
            ++before;
        const qsizetype room = std::max<qsizetype>(0, m_limit - before - after);
        const qsizetype added = input.size() - before - after;
        input = input.left(before) + input.mid(before, std::min(room, added)) + input.right(after);
        cursor = int(input.size() - after);
        return input == m_text ? Invalid : Acceptable; // nothing fitted: the edit is undone
    }

private:
    const QLineEdit *m_field;
    int m_limit;
    QString m_text;
};

QString Tidied(const QString &text, bool money)
{
    return money ? FormatMoneyText(text.trimmed()) : FormatWholeNumberText(text.trimmed());
}

} // namespace

EntryFields::EntryFields(const Form1Ui &ui, MessageBoxes &boxes, std::function<void()> makeSumDefault,
                         QObject *parent)
    : QObject(parent), m_ui(ui), m_boxes(boxes), m_makeSumDefault(std::move(makeSumDefault)),
      m_departure([this](QLineEdit *field, QWidget *) {
          lostFocus(field);
          return true;
      })
{
    for (QLineEdit *field : {ui.buy_Price, ui.sell_Price})
        field->setValidator(new TypingLimit(field, PriceMaxLength));
    for (QLineEdit *field : {ui.buy_Number, ui.sell_Number})
        field->setValidator(new TypingLimit(field, NumberMaxLength));
    for (QLineEdit *field : {ui.buy_Price, ui.buy_Number, ui.sell_Price, ui.sell_Number})
        field->installEventFilter(this);
    connect(ui.buy_Number, &QLineEdit::textChanged, this, &EntryFields::buy_Number_Change);
    m_departure.watch({ui.buy_Price, ui.buy_Number, ui.sell_Price, ui.sell_Number});
}

void EntryFields::PrepareForEditing(QLineEdit *field)
{
    if (!field->selectedText().trimmed().isEmpty())
        return;
    QString text = field->text().trimmed();
    text.remove(QChar(0xFFE5)).remove(QLatin1Char(','));
    field->setText(text);
    field->selectAll();
}

bool EntryFields::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        clicked(field);
    }
    return false;
}

void EntryFields::buy_Number_Change(const QString &text)
{
    m_makeSumDefault();
    if (IsNumberText(text))
        m_ui.sell_Number->setText(text);
}

void EntryFields::clicked(QLineEdit *field)
{
    // In buy_Number the change of its text makes the switch instead.
    if (field != m_ui.buy_Number)
        m_makeSumDefault();
    PrepareForEditing(field);
}

void EntryFields::lostFocus(QLineEdit *field)
{
    const QString text = field->text();
    if (IsNumberText(text)) {
        try {
            field->setText(Tidied(text, formOf(field) == Form::Money));
            return;
        } catch (const OutOfRangeError &) {
            // Too large to show: the text stays as typed and is reported below.
        }
    }
    // The box comes once the focus has settled where the user sent it.
    QPointer<QLineEdit> guard(field);
    QTimer::singleShot(0, this, [this, guard] {
        m_boxes.information(guard ? guard->window() : nullptr, QStringLiteral("提示"),
                            QStringLiteral("抱歉，请输入正确的数字"));
    });
}

EntryFields::Form EntryFields::formOf(const QLineEdit *field) const
{
    return (field == m_ui.buy_Price || field == m_ui.sell_Price) ? Form::Money : Form::WholeNumber;
}

} // namespace quorvane
