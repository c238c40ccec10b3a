// The calculation sheet of a project of N records, half of them with a protection-range
// drawing (a single rod and a group of vertical earth electrodes, by turns): to PDF
// (paginated, painted on a PDF writer in memory), and into the 计算书 window's preview (the
// window refreshed and its preview laid out). Offscreen; a program of its own, since the
// sheet needs a QApplication. And a keystroke in a header field of the 计算书 window until
// the preview has it laid out and painted. Counters: per_record, the seconds a record
// takes ("14.4m": 14.4 ms), and pages.

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPdfWriter>
#include <QTextBrowser>
#include <QTextDocument>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/catalog.h"
#include "forms/form.h"
#include "sheet/document.h"
#include "sheet/sheet_record.h"
#include "sheet_qt/paged_sheet.h"
#include "shell/sheet_window.h"

namespace {

using namespace tervalen;
using forms::Action;

sheet::SheetRecord pressed(const char* form, std::vector<Action> actions) {
    forms::Form f(*forms::findForm(form));
    forms::applyAll(f, actions);
    auto record = sheet::recordOf(f);
    if (!record) throw std::runtime_error(std::string("no record from ") + form);
    return *record;
}

sheet::Sheet project(int records) {
    sheet::Sheet s;
    s.header.project = "基准工程";
    for (int i = 0; i < records; ++i) {
        if (i % 2 == 0)
            s.add(pressed("frmRx_DLDanZ", {Action::set("CmbH", std::to_string(15 + i % 10)),
                                           Action::set("CmbHx", "5"), Action::press("CmdRun")}));
        else
            s.add(pressed("frmDZ_ChuiZhi", {Action::set("CmbGg", "50"), Action::set("Cmbρ", "100"),
                                            Action::set("CmbL1", "2.5"),
                                            Action::set("CmbN", std::to_string(2 + i % 5)),
                                            Action::press("CmdRun_GP")}));
    }
    return s;
}

void toPdf(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const sheet::Sheet s = project(n);
    int pages = 0;
    for (auto _ : state) {
        const sheet::Document doc = sheet::sheetDocument(s.header, s.records);
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            pages = sheet_qt::paintSheet(doc, writer);
        }
        benchmark::DoNotOptimize(pdf.data().size());
    }
    if (pages <= 0) state.SkipWithError("no pages");
    state.counters["pages"] = pages;
    state.counters["per_record"] = benchmark::Counter(
        n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void intoPreview(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    sheet::Sheet s = project(n);
    shell::SheetWindow window(s, [](const sheet::SheetRecord&) {});
    window.resize(1000, 700);
    window.show();
    auto* preview = window.findChild<QTextBrowser*>(QStringLiteral("SheetPreview"));
    if (!preview) {
        state.SkipWithError("no preview");
        return;
    }
    for (auto _ : state) {
        window.refresh();
        // Laid out to the end, as scrolling to the foot would.
        benchmark::DoNotOptimize(preview->document()->documentLayout()->documentSize());
    }
    state.counters["per_record"] = benchmark::Counter(
        n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// One character typed into 工程名称 (then taken out again, untimed), until the preview's
// document is laid out and its viewport painted.
void keystrokeToPreview(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    sheet::Sheet s = project(n);
    shell::SheetWindow window(s, [](const sheet::SheetRecord&) {});
    window.resize(1000, 700);
    window.show();
    auto* preview = window.findChild<QTextBrowser*>(QStringLiteral("SheetPreview"));
    QLineEdit* field = window.headerField(QStringLiteral("工程名称"));
    if (!preview || !field) {
        state.SkipWithError("no preview or field");
        return;
    }
    field->setFocus();
    field->end(false);
    const auto type = [&](int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(field, &release);
    };
    for (auto _ : state) {
        type(Qt::Key_A, QStringLiteral("a"));
        benchmark::DoNotOptimize(preview->document()->documentLayout()->documentSize());
        preview->viewport()->repaint();
        state.PauseTiming();
        type(Qt::Key_Backspace, QString());
        preview->viewport()->repaint();
        state.ResumeTiming();
    }
    if (s.header.project != "基准工程") state.SkipWithError("the field did not edit the header");
}

BENCHMARK(toPdf)->Arg(50)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(intoPreview)->Arg(50)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(keystrokeToPreview)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
