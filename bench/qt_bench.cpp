// Qt host benchmarks (offscreen), each beside the plain Qt reference it is judged against:
//   a typed key through the text box's Qt widget          vs  a bare QLineEdit
//   the same with N characters already there, single-line vs  a bare QLineEdit,
//   multi-line                                            vs  a bare QPlainTextEdit
//   a typed digit through the numeric box's Qt widget     vs  a bare QDoubleSpinBox
//   a typed digit through the date box's Qt widget        vs  a bare QDateEdit (dd.MM.yyyy)
//   heap bytes of a text box / numeric box widget, shown  vs  a QLineEdit / QDoubleSpinBox
//   a form of N text boxes (200, 2,000) opened from a form
//   file, laid out, shown and painted                      vs  N QLineEdits + N QLabels
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QApplication>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <climits>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include "formfile/FormFile.h"
#include "hosts/qt/ControlWidgetFactory.h"
#include "hosts/qt/DateBox.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"

namespace {

constexpr int kKeysPerText = 64;  // the text is emptied after this many keys (both sides)
// A number is emptied after these digits, outside the timed region (both sides).
constexpr Qt::Key kDigits[] = {Qt::Key_7, Qt::Key_3, Qt::Key_0, Qt::Key_9, Qt::Key_1, Qt::Key_5};

// --- One typed key ------------------------------------------------------------------------------

void BareLineEditKey(benchmark::State& state) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    window.show();
    edit->setFocus();
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(edit, Qt::Key_A);
        if (++n % kKeysPerText == 0) edit->clear();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BareLineEditKey);

void TxtBoxKey(benchmark::State& state) {
    int changes = 0;  // outlives the window: leaving the box on close may still change it
    QWidget window;
    auto* box = new qv::qt::TxtBox(&window);
    QObject::connect(box, &qv::qt::TxtBox::Change, [&] { ++changes; });
    window.show();
    box->setFocus();
    QWidget* field = box->site().FocusTarget()->Surface();
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(field, Qt::Key_A);
        if (++n % kKeysPerText == 0) box->setText({});
    }
    if (changes == 0) state.SkipWithError("the text box raised no Change");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TxtBoxKey);

// --- One typed key at the end of N characters ---------------------------------------------------
// Args: N, multi-line (lines of 38 letters and a line break). The text is put back every
// kKeysPerText keys outside the timed region, so every key meets about N characters.

QString TextOf(int64_t n, bool multiLine, const QString& lineBreak) {
    QString s;
    for (int64_t i = 0; i < n;) {
        if (multiLine && i % 40 == 38 && i + 2 <= n) {
            s += lineBreak;
            i += 2;
        } else {
            s += QLatin1Char('x');
            ++i;
        }
    }
    return s;
}

void BareEditorKeyAt(benchmark::State& state) {
    const bool multiLine = state.range(1) != 0;
    // The bare editor holds the same lines; it keeps one character per line break.
    const QString text = TextOf(state.range(0), multiLine, QStringLiteral("\n"));
    QWidget window;
    QWidget* editor = nullptr;
    std::function<void()> reset;
    if (multiLine) {
        auto* plain = new QPlainTextEdit(&window);
        reset = [plain, &text] {
            plain->setPlainText(text);
            plain->moveCursor(QTextCursor::End);
        };
        editor = plain;
    } else {
        auto* line = new QLineEdit(&window);
        line->setMaxLength(INT_MAX);
        reset = [line, &text] { line->setText(text); };
        editor = line;
    }
    window.show();
    editor->setFocus();
    reset();
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(editor, Qt::Key_A);
        if (++n % kKeysPerText == 0) {
            state.PauseTiming();
            reset();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BareEditorKeyAt)->ArgsProduct({{10, 1000, 100000}, {0, 1}});

void TxtBoxKeyAt(benchmark::State& state) {
    const bool multiLine = state.range(1) != 0;
    const QString text = TextOf(state.range(0), multiLine, QStringLiteral("\r\n"));
    int changes = 0;
    QWidget window;
    auto* box = new qv::qt::TxtBox(&window);
    box->setMultiLine(multiLine);
    QObject::connect(box, &qv::qt::TxtBox::Change, [&] { ++changes; });
    window.show();
    box->setFocus();
    QWidget* field = box->site().FocusTarget()->Surface();
    auto reset = [&] {
        box->setText(text);
        box->setSelStart(static_cast<int>(text.size()));
    };
    reset();
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(field, Qt::Key_A);
        if (++n % kKeysPerText == 0) {
            state.PauseTiming();
            reset();
            state.ResumeTiming();
        }
    }
    if (changes == 0) state.SkipWithError("the text box raised no Change");
    reset();
    QTest::keyClick(field, Qt::Key_A);
    if (box->Text().size() != text.size() + 1) state.SkipWithError("no key went in");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TxtBoxKeyAt)->ArgsProduct({{10, 1000, 100000}, {0, 1}});

// --- One typed digit ----------------------------------------------------------------------------

// The window is active and the widget focused: the numeric box takes keys only with the focus.
void ShowFocused(QWidget& window, QWidget* w) {
    window.show();
    QApplication::setActiveWindow(&window);
    w->setFocus();
    QApplication::processEvents();
}

void BareDoubleSpinBoxKey(benchmark::State& state) {
    int changes = 0;
    QWidget window;
    auto* spin = new QDoubleSpinBox(&window);
    spin->setRange(0, 9999999);
    spin->setDecimals(2);
    QObject::connect(spin, &QDoubleSpinBox::valueChanged, [&] { ++changes; });
    ShowFocused(window, spin);
    spin->clear();
    bool allTaken = true;
    for (auto _ : state) {
        for (Qt::Key digit : kDigits) QTest::keyClick(spin, digit);
        state.PauseTiming();
        allTaken = allTaken && spin->value() == 730915;
        spin->clear();
        state.ResumeTiming();
    }
    if (changes == 0 || !allTaken) state.SkipWithError("the spin box did not take every digit");
    state.SetItemsProcessed(state.iterations() * std::size(kDigits));
}
BENCHMARK(BareDoubleSpinBoxKey);

void NumBoxKey(benchmark::State& state) {
    int changes = 0;  // outlives the window: leaving the box on close formats it (Change)
    QWidget window;
    auto* box = new qv::qt::NumBox(&window);
    QObject::connect(box, &qv::qt::NumBox::Change, [&] { ++changes; });
    ShowFocused(window, box);
    if (QApplication::focusWidget() != box) state.SkipWithError("the numeric box has no focus");
    box->setValue({});
    bool allTaken = true;
    for (auto _ : state) {
        for (Qt::Key digit : kDigits) QTest::keyClick(box, digit);
        state.PauseTiming();
        allTaken = allTaken && box->Value().toDouble() == 730915;
        box->setValue({});
        state.ResumeTiming();
    }
    if (changes == 0) state.SkipWithError("the numeric box raised no Change");
    if (!allTaken) state.SkipWithError("the numeric box did not take every digit");
    state.SetItemsProcessed(state.iterations() * std::size(kDigits));
}
BENCHMARK(NumBoxKey);

// The digits of 05.12.2024; the date is emptied (the edit reset) outside the timed region.
constexpr Qt::Key kDateDigits[] = {Qt::Key_0, Qt::Key_5, Qt::Key_1, Qt::Key_2,
                                   Qt::Key_2, Qt::Key_0, Qt::Key_2, Qt::Key_4};

void BareDateEditKey(benchmark::State& state) {
    QWidget window;
    auto* edit = new QDateEdit(&window);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    ShowFocused(window, edit);
    const auto reset = [edit] {
        edit->setDate(QDate(2000, 1, 1));
        edit->setSelectedSection(QDateTimeEdit::DaySection);
    };
    reset();
    bool allTaken = true;
    for (auto _ : state) {
        for (Qt::Key digit : kDateDigits) QTest::keyClick(edit, digit);
        state.PauseTiming();
        allTaken = allTaken && edit->date() == QDate(2024, 12, 5);
        reset();
        state.ResumeTiming();
    }
    if (!allTaken) state.SkipWithError("the date edit did not take every digit");
    state.SetItemsProcessed(state.iterations() * std::size(kDateDigits));
}
BENCHMARK(BareDateEditKey);

void DateBoxKey(benchmark::State& state) {
    int changes = 0;  // outlives the window
    QWidget window;
    auto* box = new qv::qt::DateBox(&window);
    QObject::connect(box, &qv::qt::DateBox::Change, [&] { ++changes; });
    ShowFocused(window, box);
    QWidget* field = box->site().FocusTarget()->Surface();
    bool allTaken = true;
    for (auto _ : state) {
        for (Qt::Key digit : kDateDigits) QTest::keyClick(field, digit);
        state.PauseTiming();
        allTaken = allTaken && box->DDate() == QDate(2024, 12, 5);
        box->setText({});
        state.ResumeTiming();
    }
    if (changes == 0) state.SkipWithError("the date box raised no Change");
    if (!allTaken) state.SkipWithError("the date box did not take every digit");
    state.SetItemsProcessed(state.iterations() * std::size(kDateDigits));
}
BENCHMARK(DateBoxKey);

// --- A form of N controls, each with a caption ----------------------------------------------

QRect Cell(int i) {
    return {10 + (i % 4) * 220, 10 + (i / 4) * 24, 200, 20};
}

// Shows a form as an application does: the event loop polishes, lays out and paints it, and
// what it posted is done before the form closes (both sides alike).
void ShowAndPaint(QWidget& window) {
    window.show();
    QCoreApplication::processEvents();
}

// Puts field i with its caption in the form's grid, four to a row.
void PlaceInGrid(QGridLayout& grid, int i, QWidget* field) {
    auto* caption = new QLabel(QStringLiteral("Field %1").arg(i));
    caption->setBuddy(field);
    grid.addWidget(caption, i / 4, (i % 4) * 2);
    grid.addWidget(field, i / 4, (i % 4) * 2 + 1);
}

void PlainForm(benchmark::State& state) {
    const auto controls = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QWidget window;
        auto* grid = new QGridLayout(&window);
        for (int i = 0; i < controls; ++i)
            PlaceInGrid(*grid, i, new QLineEdit(QStringLiteral("value %1").arg(i)));
        window.resize(900, 1240);
        ShowAndPaint(window);
    }
}
BENCHMARK(PlainForm)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

std::string FormFileOf(int controls) {
    QWidget window;
    qv::FormDocument doc;
    for (int i = 0; i < controls; ++i) {
        qv::qt::TxtBox box(&window);
        box.setText(QStringLiteral("value %1").arg(i));
        qv::FormControl c;
        c.className = u"QVtxtBoxControl";
        c.name = u"txt" + qv::FromUtf8(std::to_string(i));
        const QRect r = Cell(i).adjusted(80, 0, 0, 0);
        c.left = r.x() * 15, c.top = r.y() * 15, c.width = r.width() * 15,
        c.height = r.height() * 15;
        box.writeProperties(c.properties);
        doc.controls.push_back(std::move(c));
    }
    return qv::FormToJson(doc);
}

// One opening of the form, on its own so that a profiler can single it out.
[[gnu::noinline]] void OpenForm(const std::string& json) {
    qv::FormLoadResult loaded = qv::FormFromJson(json);
    QWidget window;
    auto* grid = new QGridLayout(&window);
    int i = 0;
    for (qv::FormControl& c : loaded.form.controls)
        PlaceInGrid(*grid, i++, qv::qt::CreateControlWidget(c.className, nullptr, &c.properties));
    window.resize(900, 1240);
    ShowAndPaint(window);
}

void TxtBoxFormFromFile(benchmark::State& state) {
    const std::string json = FormFileOf(static_cast<int>(state.range(0)));
    for (auto _ : state) OpenForm(json);
}
BENCHMARK(TxtBoxFormFromFile)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// --- Heap bytes of one widget ---------------------------------------------------------------

// Bytes in use on the heap (malloc and operator new alike: Qt's strings bypass operator new).
size_t HeapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Heap bytes that each of 100 widgets made by `make`, placed on a shown window, keeps.
template <class Make>
void HeapPerWidget(benchmark::State& state, Make make) {
    constexpr int kWidgets = 100;
    for (auto _ : state) {
        QWidget window;
        window.resize(900, 1240);
        ShowAndPaint(window);
        delete make(&window);  // first-use caches (fonts, styles) are not the widget's
        QCoreApplication::processEvents();
        const size_t before = HeapInUse();
        for (int i = 0; i < kWidgets; ++i) {
            QWidget* w = make(&window);
            w->setGeometry(Cell(i).adjusted(80, 0, 0, 0));
            w->show();
        }
        QCoreApplication::processEvents();
        state.counters["bytes_per_widget"] = static_cast<double>(HeapInUse() - before) / kWidgets;
    }
}

void HeapLineEdit(benchmark::State& state) {
    HeapPerWidget(state, [](QWidget* p) { return new QLineEdit(QStringLiteral("value"), p); });
}
BENCHMARK(HeapLineEdit)->Iterations(1);

void HeapTxtBox(benchmark::State& state) {
    HeapPerWidget(state, [](QWidget* p) {
        auto* box = new qv::qt::TxtBox(p);
        box->setText(QStringLiteral("value"));
        return box;
    });
}
BENCHMARK(HeapTxtBox)->Iterations(1);

void HeapDoubleSpinBox(benchmark::State& state) {
    HeapPerWidget(state, [](QWidget* p) { return new QDoubleSpinBox(p); });
}
BENCHMARK(HeapDoubleSpinBox)->Iterations(1);

void HeapNumBox(benchmark::State& state) {
    HeapPerWidget(state, [](QWidget* p) { return new qv::qt::NumBox(p); });
}
BENCHMARK(HeapNumBox)->Iterations(1);

void HeapDateEdit(benchmark::State& state) {
    HeapPerWidget(state, [](QWidget* p) { return new QDateEdit(p); });
}
BENCHMARK(HeapDateEdit)->Iterations(1);

void HeapDateBox(benchmark::State& state) {
    HeapPerWidget(state, [](QWidget* p) { return new qv::qt::DateBox(p); });
}
BENCHMARK(HeapDateBox)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
