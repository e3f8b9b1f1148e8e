// The four trade fields while the user edits them.

#include "fake_platform.h"

#include "ui/entry_fields.h"
#include "ui/form1.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvane;
using namespace quorvane::testing;

class EntryFieldsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakePlatform m_fake;
    std::unique_ptr<Form1> m_form;

    const Form1Ui &ui() const { return m_form->ui(); }
    int boxes() const { return int(m_fake.boxes->shown.size()); }
    void leave(QLineEdit *field)
    {
        QTest::keyClick(field, Qt::Key_Tab);
        QCoreApplication::processEvents(); // the warning comes once the focus has moved
    }

private slots:
    void init()
    {
        m_fake = FakePlatform();
        ProgramFolders folders;
        folders.programFolder = folders.dataFolder = m_dir.path();
        m_form = std::make_unique<Form1>(m_fake.platform(), folders);
        m_form->Form_Load();
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    void buyQuantityIsMirroredKeystrokeByKeystroke()
    {
        ui().buy_Number->setFocus();
        ui().buy_Number->selectAll();
        QStringList seen;
        connect(ui().sell_Number, &QLineEdit::textChanged, this, [&](const QString &t) { seen.append(t); });
        QTest::keyClicks(ui().buy_Number, QStringLiteral("2000"));
        QCOMPARE(seen, (QStringList{"2", "20", "200", "2000"}));
        leave(ui().buy_Number);
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("2,000"));
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("2,000"));

        // A text that is not a number leaves the sell quantity as it was;
        // changes of the sell quantity never go back.
        ui().buy_Number->setText(QStringLiteral("2x"));
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("2,000"));
        ui().sell_Number->setText(QStringLiteral("100"));
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("2x"));
    }

    void clickPreparesAndLeavingTidies()
    {
        ui().buy_Price->setText(QStringLiteral("￥12.30"));
        QTest::mouseClick(ui().buy_Price, Qt::LeftButton);
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("12.30"));
        QCOMPARE(ui().buy_Price->selectedText(), QStringLiteral("12.30"));
        leave(ui().buy_Price);
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("￥12.30"));

        // Thousands lose their separators while edited.
        ui().sell_Price->setText(QStringLiteral(" ￥1,234.50 "));
        QTest::mouseClick(ui().sell_Price, Qt::LeftButton);
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("1234.50"));

        // With some text selected, a click changes nothing.
        ui().sell_Number->setText(QStringLiteral("1,500"));
        ui().sell_Number->setSelection(0, 1);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), ui().sell_Number->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ui().sell_Number, &release);
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("1,500"));
        QVERIFY(m_fake.boxes->shown.isEmpty());
    }

    void tidyForms_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("price 10 → ￥10.00") << "buy_Price" << "10" << "￥10.00";
        QTest::newRow("price 1234.5 → ￥1,234.50") << "sell_Price" << "1234.5" << "￥1,234.50";
        QTest::newRow("price 0.125 → ￥0.13") << "buy_Price" << "0.125" << "￥0.13";
        QTest::newRow("price -5 → -￥5.00") << "sell_Price" << "-5" << "-￥5.00";
        QTest::newRow("quantity 1500.6 → 1,501") << "buy_Number" << "1500.6" << "1,501";
        QTest::newRow("quantity 2.5 → 3 (halves away from zero)") << "sell_Number" << "2.5" << "3";
        QTest::newRow("quantity 999999999 → 999,999,999") << "sell_Number" << "999999999" << "999,999,999";
        QTest::newRow("display form stays") << "buy_Price" << "￥1,000.00" << "￥1,000.00";
    }
    void tidyForms()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto *edit = m_form->findChild<QLineEdit *>(field);
        edit->setFocus();
        edit->setText(typed);
        leave(edit);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(boxes(), 0);
        // Passing through with Tab changes nothing.
        edit->setFocus();
        leave(edit);
        QCOMPARE(edit->text(), shown);
    }

    void nonNumberWarnsOnceAndStays()
    {
        for (const QString &bad : {QString(), QStringLiteral("abc"), QStringLiteral("3‰")}) {
            m_fake.boxes->shown.clear();
            ui().sell_Price->setFocus();
            ui().sell_Price->setText(bad);
            leave(ui().sell_Price);
            QCOMPARE(boxes(), 1);
            QCOMPARE(m_fake.boxes->shown[0].kind, ShownBox::Information);
            QCOMPARE(m_fake.boxes->shown[0].caption, QStringLiteral("提示"));
            QCOMPARE(m_fake.boxes->shown[0].text, QStringLiteral("抱歉，请输入正确的数字"));
            QCOMPARE(ui().sell_Price->text(), bad);
            // The focus went where the user sent it.
            QCOMPARE(m_form->focusWidget(), ui().sell_Number);
        }
    }

    void windowLosingTheFocusIsNoDeparture()
    {
        ui().buy_Price->setFocus();
        ui().buy_Price->setText(QStringLiteral("abc"));
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(ui().buy_Price, &out);
        QCoreApplication::processEvents();
        QCOMPARE(boxes(), 0);
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("abc"));
    }

    void lengthLimitsHoldForTypingOnly()
    {
        ui().buy_Price->setFocus();
        ui().buy_Price->clear();
        QTest::keyClicks(ui().buy_Price, QStringLiteral("123456789012"));
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("1234567890"));
        ui().buy_Number->setFocus();
        ui().buy_Number->clear();
        QTest::keyClicks(ui().buy_Number, QStringLiteral("123456789012"));
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("123456789"));
        // The display form may be longer than the limit, and can be shortened.
        leave(ui().buy_Number);
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("123,456,789"));
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("123,456,789"));
        ui().buy_Number->setFocus();
        ui().buy_Number->end(false);
        QTest::keyClick(ui().buy_Number, Qt::Key_Backspace);
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("123,456,78"));
        QTest::keyClicks(ui().buy_Number, QStringLiteral("9"));
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("123,456,78"));
    }

    void clicksMakeCalculateTheDefault()
    {
        for (QLineEdit *field : {ui().buy_Price, ui().sell_Price, ui().sell_Number}) {
            m_form->setDefaultButton(ui().Command1);
            QTest::mouseClick(field, Qt::LeftButton);
            QCOMPARE(m_form->defaultButton(), ui().btn_Sum);
        }
    }
};

QTEST_MAIN(EntryFieldsTest)
#include "tst_entry_fields.moc"
