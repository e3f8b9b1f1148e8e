// The four trade fields while the user edits them.

#include "fake_platform.h"

#include "calc/money.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quorvane;
using namespace quorvane::testing;

class EntryFieldsTest : public QObject, WindowFixture
{
    Q_OBJECT

    static void leave(QLineEdit *field)
    {
        QTest::keyClick(field, Qt::Key_Tab);
        QCoreApplication::processEvents(); // the warning comes once the focus has moved
    }

    QStringList texts() const { return {ui().buy_Number->text(), ui().sell_Number->text()}; }

private slots:
    void init()
    {
        reset();
        start();
    }
    void cleanup() { form.reset(); }

    // Nine characters may be typed or pasted (what fits of a paste is taken);
    // the tidied 123,456,789 is longer and may only be shortened.
    void typingLimitHoldsAfterTheProgramLengthenedTheText()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("12345678901"));
        ui().buy_Price->setFocus();
        ui().buy_Price->selectAll();
        ui().buy_Price->paste();
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("1234567890"));
        ui().buy_Number->setFocus();
        ui().buy_Number->setText(QStringLiteral("1234567"));
        ui().buy_Number->setCursorPosition(3);
        QGuiApplication::clipboard()->setText(QStringLiteral("abcd"));
        ui().buy_Number->paste();
        QVERIFY(ui().buy_Number->text() == QStringLiteral("123ab4567") && ui().buy_Number->cursorPosition() == 5);

        QLineEdit *field = ui().buy_Number;
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("1234567890"));
        QCOMPARE(field->text(), QStringLiteral("123456789"));
        leave(field);
        QCOMPARE(field->text(), QStringLiteral("123,456,789"));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("99"));
        QCOMPARE(field->text(), QStringLiteral("123,456,789"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), QStringLiteral("123,456,78"));
    }

    void clickPreparesLeavingTidiesOrWarnsOnce()
    {
        // A click makes Calculate the default; in the buy quantity only once its text changes,
        // which the sell quantity mirrors keystroke by keystroke.
        form->setDefaultButton(ui().Command1);
        QTest::mouseClick(ui().buy_Number, Qt::LeftButton);
        QCOMPARE(form->defaultButton(), ui().Command1);
        QStringList seen;
        connect(ui().sell_Number, &QLineEdit::textChanged, this, [&](const QString &t) { seen.append(t); });
        QTest::keyClicks(ui().buy_Number, QStringLiteral("200"));
        QCOMPARE(seen, (QStringList{"2", "20", "200"}));
        QVERIFY(ui().btn_Sum->isDefault() && !ui().Command1->isDefault());
        for (QLineEdit *field : {ui().buy_Price, ui().sell_Price, ui().sell_Number}) {
            form->setDefaultButton(ui().Command1);
            QTest::mouseClick(field, Qt::LeftButton);
            QCOMPARE(form->defaultButton(), ui().btn_Sum);
        }
        // Not a number: the sell quantity stays; the sell quantity never goes back.
        ui().buy_Number->setText(QStringLiteral("2x"));
        ui().sell_Number->setText(QStringLiteral("100"));
        QCOMPARE(texts(), (QStringList{"2x", "100"}));
        ui().buy_Number->setText(QStringLiteral("2"));

        // It shows the bare number, selected.
        ui().buy_Price->setText(QStringLiteral("￥12.30"));
        QTest::mouseClick(ui().buy_Price, Qt::LeftButton);
        QCOMPARE(ui().buy_Price->selectedText(), QStringLiteral("12.30"));
        ui().sell_Price->setText(QStringLiteral(" ￥1,234.50 ")); // thousands lose their separators while edited
        QTest::mouseClick(ui().sell_Price, Qt::LeftButton);
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("1234.50"));
        // With some text selected, a click changes nothing.
        ui().sell_Number->setText(QStringLiteral("1,500"));
        ui().sell_Number->setSelection(0, 1);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), ui().sell_Number->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ui().sell_Number, &release);
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("1,500"));

        // Leaving tidies into the display form, or warns once and keeps a non-number, the focus
        // going where the user sent it; passing through with Tab changes nothing.
        const QList<std::tuple<QLineEdit *, QString, QString>> rows = {
            {ui().buy_Price, "12.30", "￥12.30"}, {ui().sell_Price, "1234.5", "￥1,234.50"},
            {ui().buy_Number, "1500.6", "1,501"}, {ui().sell_Number, "2.5", "3"},
            {ui().buy_Price, "￥1,000.00", "￥1,000.00"}, {ui().sell_Price, "", ""}, {ui().sell_Price, "abc", "abc"},
            {ui().sell_Price, "3‰", "3‰"}};
        for (const auto &[field, typed, shown] : rows) {
            boxes->shown.clear();
            field->setFocus();
            field->setText(typed);
            leave(field);
            QCOMPARE(field->text(), shown);
            QVERIFY2(boxes->shown.size() == (shown == typed && !IsNumberText(typed) ? 1 : 0), qPrintable(typed));
            QVERIFY(form->focusWidget() != field);
        }
        QCOMPARE(boxes->shown.value(0), (ShownBox{ShownBox::Information, "提示", "抱歉，请输入正确的数字"}));
        QCOMPARE(texts(), (QStringList{"1,501", "3"}));

        // The window losing the activation is no departure from the field; left for a
        // button, then on to another: one message.
        boxes->shown.clear();
        ui().buy_Price->setFocus();
        ui().buy_Price->setText(QStringLiteral("abc"));
        activateOther();
        activate();
        QCoreApplication::processEvents();
        QVERIFY(boxes->shown.isEmpty());
        ui().btn_Sum->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        ui().Command1->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(boxes->shown.size(), 1);
    }

    // Enter in a field whose calculation is rejected: the message box takes the activation, and the
    // rejection's field may get the focus before or after the window is active again. Either way
    // the field the user left is checked and tidied once.
    void fieldLeftThroughARejectionIsCheckedOnce()
    {
        const std::tuple<const char *, bool, const char *, const char *, int> rows[] = {
            // buy_Price, back before the focus moves, sell_Price typed, its text then, boxes
            {"￥0.00", false, "12.5", "￥12.50", 1}, {"￥0.00", true, "12.5", "￥12.50", 1},
            {"x", false, "y", "y", 2}, {"x", true, "y", "y", 2}};
        for (const auto &[buyPrice, backFirst, typed, shown, boxCount] : rows) {
            QTest::mouseClick(ui().sell_Price, Qt::LeftButton);
            QCoreApplication::processEvents(); // the warning about the field left before
            ui().buy_Price->setText(QString::fromUtf8(buyPrice)); // "x": the rejection blames it
            ui().buy_Number->setText(QStringLiteral("0"));
            boxes->shown.clear();
            boxes->whileShown = [this, backFirst = backFirst] {
                activateOther();
                if (backFirst)
                    activate();
            };
            QTest::keyClicks(ui().sell_Price, QString::fromLatin1(typed));
            QTest::keyClick(ui().sell_Price, Qt::Key_Return);
            activate();
            QCoreApplication::processEvents();
            QCOMPARE(ui().sell_Price->text(), QString::fromUtf8(shown));
            QCOMPARE(boxes->shown.size(), boxCount);
            QVERIFY(form->focusWidget() != ui().sell_Price);
        }
    }
};

QTEST_MAIN(EntryFieldsTest)
#include "tst_entry_fields.moc"
