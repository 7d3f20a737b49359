// Qt host benchmarks (offscreen), each beside the plain Qt reference it is judged against:
//   a typed key through the text box's Qt widget          vs  a bare QLineEdit
//   a typed digit through the numeric box's Qt widget     vs  a bare QDoubleSpinBox
//   a form of 200 text boxes opened from a form file,
//   laid out, shown and painted                            vs  200 QLineEdits + 200 QLabels
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "formfile/FormFile.h"
#include "hosts/qt/ControlWidgetFactory.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"

namespace {

constexpr int kControls = 200;
constexpr int kKeysPerText = 64;    // the text is emptied after this many keys (both sides)
constexpr int kDigitsPerValue = 6;  // a number is emptied after this many digits (both sides)

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
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(spin, Qt::Key_1);
        if (++n % kDigitsPerValue == 0) spin->clear();
    }
    if (changes == 0) state.SkipWithError("the spin box took no digit");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BareDoubleSpinBoxKey);

void NumBoxKey(benchmark::State& state) {
    int changes = 0;  // outlives the window: leaving the box on close formats it (Change)
    QWidget window;
    auto* box = new qv::qt::NumBox(&window);
    QObject::connect(box, &qv::qt::NumBox::Change, [&] { ++changes; });
    ShowFocused(window, box);
    if (QApplication::focusWidget() != box) state.SkipWithError("the numeric box has no focus");
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(box, Qt::Key_1);
        if (++n % kDigitsPerValue == 0) box->setValue({});
    }
    if (changes == 0) state.SkipWithError("the numeric box raised no Change");
    state.SetItemsProcessed(state.iterations());
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
