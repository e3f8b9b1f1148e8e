// The stock panel on the offscreen platform: a keystroke in the code box that
// searches the shipped list (goal: back to the event loop within 2 ms), and a
// lookup against a stand-in service on 127.0.0.1, from the sixth digit's
// keystroke to the painted window (goal: 50 ms).

#include "tests/ui/fake_platform.h"
#include "tests/ui/quote_stand_in.h"

#include "bench/window_bench.h"

#include "ui/form1.h"
#include "ui/stock_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <benchmark/benchmark.h>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

struct Window
{
    QuoteStandIn service;
    WindowFixture fixture;
    std::unique_ptr<StockPanel> panel;
    Form1 *form = nullptr;

    Window()
    {
        service.setQuote(QStringLiteral("600000"), QStringLiteral("浦发银行"), QStringLiteral("10.00"),
                         QStringLiteral("10.50"));
        form = &fixture.start(false);
        panel = std::make_unique<StockPanel>(*form);
        form->network.QuoteHost = form->network.QuoteHost2 = service.host();
        form->show();
        QCoreApplication::processEvents();
    }
    QLineEdit *box() const { return form->ui().StockCode; }
};

// Made in main, between the application's start and end.
Window *g_window = nullptr;

Window &TheWindow()
{
    return *g_window;
}

// One keystroke as the window receives it: press and release.
void Keystroke(QWidget *widget, Qt::Key key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

// "P" becomes "PF" and "PF" becomes "P" again: each keystroke searches the list.
void TypeOrEraseF(Window &w)
{
    if (w.box()->text().endsWith(u'F'))
        Keystroke(w.box(), Qt::Key_Backspace, QString());
    else
        Keystroke(w.box(), Qt::Key_F, QStringLiteral("F"));
}

// "P" → "PF" → "P": every keystroke searches all entries.
void BM_KeystrokeSearchesTheList(benchmark::State &state)
{
    Window &w = TheWindow();
    w.box()->setFocus();
    w.box()->setText(QStringLiteral("P"));
    for (auto _ : state)
        TypeOrEraseF(w);
    if (w.box()->text() != QStringLiteral("P") && w.box()->text() != QStringLiteral("PF"))
        state.SkipWithError("the keystrokes did not reach the code box");
}
BENCHMARK(BM_KeystrokeSearchesTheList)->Unit(benchmark::kMicrosecond);

// The same with the list repainted before the next keystroke.
void BM_KeystrokeSearchesAndPaintsTheList(benchmark::State &state)
{
    Window &w = TheWindow();
    w.box()->setText(QStringLiteral("P"));
    for (auto _ : state) {
        TypeOrEraseF(w);
        w.form->repaint();
    }
}
BENCHMARK(BM_KeystrokeSearchesAndPaintsTheList)->Unit(benchmark::kMicrosecond);

// "60000" + "0": request, cut, ShowQuote's writes, and the whole window painted.
void BM_LookupFromKeystrokeToPaintedPanel(benchmark::State &state)
{
    Window &w = TheWindow();
    for (auto _ : state) {
        state.PauseTiming();
        w.box()->setText(QStringLiteral("60000"));
        w.form->ui().Label52->clear();
        w.form->repaint();
        state.ResumeTiming();

        Keystroke(w.box(), Qt::Key_0, QStringLiteral("0"));
        w.form->repaint();
    }
    if (w.form->ui().Label52->text() != QStringLiteral("浦发银行"))
        state.SkipWithError("the panel was not filled");
}
BENCHMARK(BM_LookupFromKeystrokeToPaintedPanel)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return quorvane::bench::RunWindowBenchmarks(argc, argv, g_window);
}
