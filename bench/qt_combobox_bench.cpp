// The combo box on the Qt host (offscreen), each beside the Qt reference it is judged against:
//   one completion keystroke: the list's find-prefix     vs  QComboBox::findText(MatchStartsWith)
//                                                         vs  a QCompleter over a sorted model
//   AddItem of 100,000 items into a shown qv::qt::ComboBox vs  a QComboBox::addItem loop
// on 10,000, 100,000 and 1,000,000 items (the adds on 100,000).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QStringListModel>
#include <random>
#include <vector>

#include "connections/SqliteConnection.h"
#include "hosts/qt/ComboBox.h"
#include "library/CaseFold.h"

namespace {

// Name-like texts: a capital, then lower-case letters and digits, 6 to 14 characters.
QStringList Names(int64_t n) {
    std::mt19937 rng(7);
    QStringList names;
    names.reserve(static_cast<qsizetype>(n));
    for (int64_t i = 0; i < n; ++i) {
        QString s(QChar(u'A' + static_cast<char16_t>(rng() % 26)));
        for (int k = 5 + static_cast<int>(rng() % 9); k > 0; --k)
            s += QChar(k % 4 == 0 ? u'0' + static_cast<char16_t>(rng() % 10)
                                  : u'a' + static_cast<char16_t>(rng() % 26));
        names << s;
    }
    return names;
}

// The prefixes typed: the first 3 characters of random items, in lower case.
QStringList Prefixes(const QStringList& names) {
    std::mt19937 rng(11);
    QStringList out;
    for (int i = 0; i < 1024; ++i)
        out << names[static_cast<qsizetype>(rng() % names.size())].left(3).toLower();
    return out;
}

void ComboBoxFindPrefix(benchmark::State& state) {
    const QStringList names = Names(state.range(0));
    const QStringList prefixes = Prefixes(names);
    QWidget window;
    auto* box = new qv::qt::ComboBox(&window);
    box->addItems(names);
    window.show();
    std::vector<qv::String> typed;
    for (const QString& p : prefixes) typed.push_back(qv::qt::FromQString(p));
    qv::ItemList& items = box->box().ListBox().Items();
    (void)items.FindPrefix(u"x", 0);  // the index, outside the timed region
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(items.FindPrefix(typed[i++ & 1023], 0));
}
BENCHMARK(ComboBoxFindPrefix)->Arg(10'000)->Arg(100'000)->Arg(1'000'000);

void BareComboBoxFindText(benchmark::State& state) {
    const QStringList names = Names(state.range(0));
    const QStringList prefixes = Prefixes(names);
    QComboBox combo;
    combo.addItems(names);
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            combo.findText(prefixes[static_cast<qsizetype>(i++ & 1023)], Qt::MatchStartsWith));
}
BENCHMARK(BareComboBoxFindText)->Arg(10'000)->Arg(100'000)->Arg(1'000'000);

void BareCompleterPrefix(benchmark::State& state) {
    QStringList names = Names(state.range(0));
    names.sort(Qt::CaseInsensitive);
    const QStringList prefixes = Prefixes(names);
    QStringListModel model(names);
    QCompleter completer(&model);
    completer.setCaseSensitivity(Qt::CaseInsensitive);
    completer.setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    completer.setCompletionMode(QCompleter::InlineCompletion);
    size_t i = 0;
    for (auto _ : state) {
        completer.setCompletionPrefix(prefixes[static_cast<qsizetype>(i++ & 1023)]);
        benchmark::DoNotOptimize(completer.currentRow());
    }
}
BENCHMARK(BareCompleterPrefix)->Arg(10'000)->Arg(100'000)->Arg(1'000'000);

void ComboBoxAddItems(benchmark::State& state) {
    const QStringList names = Names(state.range(0));
    for (auto _ : state) {
        QWidget window;
        auto* box = new qv::qt::ComboBox(&window);
        window.show();
        for (const QString& n : names) box->AddItem(n);
        QCoreApplication::sendPostedEvents();  // until the host's combo box shows every item
        if (window.findChild<QComboBox*>()->count() != names.size())
            state.SkipWithError("the host's combo box lacks items");
        state.PauseTiming();
        delete box;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ComboBoxAddItems)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A database lookup that fills a shown box with 100,000 rows (SQLite in memory), until the host's
// combo box shows every item; beside the addItem loop below.
void ComboBoxDatabaseFill(benchmark::State& state) {
    const QStringList names = Names(state.range(0));
    auto db = qv::connections::SqliteConnection::Connect(u":memory:");
    db->Run("CREATE TABLE Customer (Id INTEGER PRIMARY KEY, Name TEXT, City TEXT)");
    {
        std::string sql = "BEGIN;";
        for (qsizetype i = 0; i < names.size(); ++i)
            sql += "INSERT INTO Customer VALUES (" + std::to_string(i + 1) + ",'" +
                   names[i].toStdString() + "','Bonn');";
        db->Run(sql + "COMMIT;");
    }
    QWidget window;
    auto* box = new qv::qt::ComboBox(&window);
    box->setDataField(QStringLiteral("Name"));
    box->setDataIdField(QStringLiteral("Id"));
    box->setSqlQueryString(
        QStringLiteral("SELECT Name, Id, City FROM Customer WHERE Name LIKE '{DataField}%'"));
    box->box().Connection(db);
    window.show();
    for (auto _ : state) {
        box->setText(QString());
        box->setText(QStringLiteral("%"));
        box->StartQuery();
        QCoreApplication::sendPostedEvents();
        if (window.findChild<QComboBox*>()->count() != names.size())
            state.SkipWithError("the host's combo box lacks items");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ComboBoxDatabaseFill)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BareComboBoxAddItem(benchmark::State& state) {
    const QStringList names = Names(state.range(0));
    for (auto _ : state) {
        QWidget window;
        auto* combo = new QComboBox(&window);
        window.show();
        for (const QString& n : names) combo->addItem(n);
        QCoreApplication::sendPostedEvents();
        benchmark::DoNotOptimize(combo->count());
        state.PauseTiming();
        delete combo;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BareComboBoxAddItem)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
