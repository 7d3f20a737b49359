// Qt host benchmarks (offscreen), each beside the plain Qt reference it is judged against:
//   a typed key through the text box's Qt widget          vs  a bare QLineEdit
//   the same with N characters already there, single-line vs  a bare QLineEdit,
//   multi-line                                            vs  a bare QPlainTextEdit
//   a typed digit through the numeric box's Qt widget     vs  a bare QDoubleSpinBox
//   a form of 200 text boxes opened from a form file,
//   laid out, shown and painted                            vs  200 QLineEdits + 200 QLabels
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDoubleSpinBox>
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
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"

namespace {

constexpr int kControls = 200;
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

// --- A form of 200 controls -----------------------------------------------------------------

QRect Cell(int i) {
    return {10 + (i % 4) * 220, 10 + (i / 4) * 24, 200, 20};
}

void PlainForm200(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        for (int i = 0; i < kControls; ++i) {
            auto* label = new QLabel(QStringLiteral("Field %1").arg(i), &window);
            label->setGeometry(Cell(i).adjusted(0, 0, -120, 0));
            auto* edit = new QLineEdit(QStringLiteral("value %1").arg(i), &window);
            edit->setGeometry(Cell(i).adjusted(80, 0, 0, 0));
        }
        window.resize(900, 1240);
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(PlainForm200)->Unit(benchmark::kMillisecond);

std::string FormFileOf200() {
    QWidget window;
    qv::FormDocument doc;
    for (int i = 0; i < kControls; ++i) {
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

void TxtBoxForm200FromFile(benchmark::State& state) {
    const std::string json = FormFileOf200();
    for (auto _ : state) {
        qv::FormLoadResult loaded = qv::FormFromJson(json);
        QWidget window;
        int i = 0;
        for (qv::FormControl& c : loaded.form.controls) {
            auto* label = new QLabel(QStringLiteral("Field %1").arg(i), &window);
            label->setGeometry(Cell(i++).adjusted(0, 0, -120, 0));
            qv::qt::ControlWidget* w =
                qv::qt::CreateControlWidget(c.className, &window, &c.properties);
            w->setGeometry(c.left / 15, c.top / 15, c.width / 15, c.height / 15);
        }
        window.resize(900, 1240);
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(TxtBoxForm200FromFile)->Unit(benchmark::kMillisecond);

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
