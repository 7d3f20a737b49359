// The demo: the walkthrough end to end, the property grid's writes, saving and opening forms
// (damaged files included), the event log and how the program decides to run offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <map>

#include "demo/CustomerDatabase.h"
#include "demo/CustomerForm.h"
#include "demo/FormIO.h"
#include "demo/Launch.h"
#include "demo/MainWindow.h"
#include "demo/Walkthrough.h"
#include "hosts/qt/ComboBox.h"
#include "hosts/qt/DateBox.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"
#include "library/Font.h"

namespace {

using namespace qv::demo;
using qv::qt::DateBox;
using qv::qt::NumBox;
using qv::qt::TxtBox;

template <class W = TxtBox>
W* Get(const DemoForm& form, const char* name) {
    return qobject_cast<W*>(form.control(QString::fromLatin1(name)));
}

QString ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Every stored property of every control, its geometry and its name, as text to compare.
std::map<QString, QString> Snapshot(const DemoForm& form) {
    std::map<QString, QString> out;
    for (qv::qt::ControlWidget* w : form.controls()) {
        const QString n = w->objectName();
        const QRect g = w->geometry();
        out[n + ".geometry"] =
            QStringLiteral("%1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
        for (const qv::Member& m : w->control().Members().All()) {
            if (m.kind != qv::MemberKind::Property || !m.persisted) continue;
            const qv::Variant v = w->control().GetProperty(m.name);
            QString text;
            if (auto font = v.As<qv::Font>())
                text = qv::qt::ToQFont(*font).toString();
            else
                text = v.IsObject() ? QStringLiteral("object") : PropertyGrid::DisplayText(m, v);
            out[n + "." + qv::qt::ToQString(m.name)] = text;
        }
    }
    return out;
}

struct ShownWindow {
    MainWindow window;
    ShownWindow() {
        window.setMessageSink([](const QString&, const QString&) {});
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
    }
};

TEST(DemoWalkthrough, RunsOffscreenSucceedsAndWritesThePng) {
    QTemporaryDir dir;
    const QString shot = dir.filePath("demo.png");
    // The customer lookup's database, made here as on a first run.
    CustomerDatabase() = OpenCustomerDatabase("sqlite:" + dir.filePath("customers.sqlite"));
    MainWindow window;
    CustomerDatabase().reset();
    QString printed;
    QTextStream out(&printed);
    // Its own checks include the property grid following the focused control and its typing.
    EXPECT_TRUE(RunWalkthrough(window, shot, out)) << printed.toStdString();
    EXPECT_FALSE(printed.contains("FAILED"));
    EXPECT_TRUE(printed.contains("14 of 15 controls valid"));
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), window.size());
}

// An accepted write shows the value as the control took it (the cells are read back from the
// control; a numeric box's display follows the settings written); a refused one shows the error,
// and the control and the cell keep the old value.
TEST(DemoPropertyGrid, WritesShowTheControlsValueOrTheError) {
    DemoForm form;
    BuildCustomerForm(form);
    PropertyGrid grid;
    struct Case {
        const char *control, *property, *typed, *result, *display = nullptr;
    };
    const Case cases[] = {
        // AllUcase applies to writes; MaxLength only to typing
        {"txtCity", "Text", "oslo", "OSLO"},
        {"txtCity", "MaxLength", " 5 ", "5"},
        {"txtCity", "Appearance", "qvFlat", "0 - qvFlat"},
        {"txtCity", "BorderStyle", "0", "0 - None"},
        {"txtCity", "FocusColor", "&HC0C0&", "&H0000C0C0&"},
        {"txtCity", "MustHaveValue", "False", "False"},
        {"txtCity", "FontSize", "12", "12"},
        {"txtCity", "MaxLength", "-1", "Error 380: Invalid property value"},
        {"txtCity", "MaxLength", "70000", "Error 6: "},
        {"txtCity", "MaxLength", "twelve", "Error 13: "},
        {"txtCity", "Appearance", "2", "Error 380"},
        {"txtCity", "FocusColor", "&H03000000&", "Error 380"},
        {"txtCity", "AllUcase", "maybe", "Error 13"},
        {"numPrice", "Value", "1234.5", "1234.5", "1.234,50"},
        {"numPrice", "PostDecimalNumbers", "3", "3", "1.234,500"},
        {"numPrice", "DecimalPointCharacter", ".", ".", "1,234.500"},
        {"numPrice", "Text", "2,345.5", "2,345.500", "2,345.500"},
        {"numPrice", "Text", "12a", "2,345.500", "2,345.500"},  // not a number: ignored
        {"numPrice", "Value", "12e3", "Error 380", "2,345.500"},
        {"numPrice", "PreDecimalNumbers", "0", "Error 380", "2,345.500"},
        {"numPrice", "LargestValue", "99.5", "99.5", "2,345.500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " = " + c.typed);
        qv::qt::ControlWidget* w = form.control(c.control);
        grid.setControl(w);
        const bool refused = QString(c.result).startsWith("Error");
        const qv::Variant before = w->control().GetProperty(qv::FromUtf8(c.property));
        const QString cellBefore = grid.valueText(c.property);
        EXPECT_EQ(grid.edit(c.property, c.typed), !refused) << grid.statusText().toStdString();
        if (refused) {
            EXPECT_TRUE(grid.statusText().startsWith(c.result)) << grid.statusText().toStdString();
            EXPECT_EQ(w->control().GetProperty(qv::FromUtf8(c.property)), before);
            EXPECT_EQ(grid.valueText(c.property), cellBefore);
        } else {
            EXPECT_EQ(grid.valueText(c.property), c.result);
        }
        if (c.display) {
            EXPECT_EQ(Get<NumBox>(form, c.control)->displayText(), c.display);
        }
    }
    EXPECT_FALSE(grid.edit("MaxLength", "3"));  // read-only on the numeric box
    // Read-only properties are listed, greyed and not editable.
    grid.setControl(form.control("txtCity"));
    const int row = grid.rowOf("TextFormatted");
    ASSERT_GE(row, 0);
    EXPECT_FALSE(grid.table()->item(row, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_NE(grid.table()->item(row, 0)->foreground(),
              grid.table()->item(grid.rowOf("AllUcase"), 0)->foreground());
    EXPECT_FALSE(grid.edit("TextFormatted", "x"));
    EXPECT_EQ(grid.valueText("TextFormatted"), "OSLO");
}

TEST(DemoMainWindow, CheckAllCountsValidControlsWithTheEmailRule) {
    ShownWindow w;
    DemoForm& form = w.window.form();
    // Empty, only the optional e-mail, notes, discount, delivery date, country and customer are
    // valid.
    EXPECT_EQ(w.window.checkAll(), 6);
    Get(form, "txtEmail")->setText("anna.example.com");
    EXPECT_EQ(w.window.checkAll(), 5);
    EXPECT_TRUE(w.window.statusText().contains("txtEmail"));
    Get(form, "txtEmail")->setText("anna@example.com");
    for (const char* n : {"txtNumber", "txtName", "txtCity", "txtPin"}) Get(form, n)->setText("1");
    Get<NumBox>(form, "numPrice")->setValue(9.95);
    Get<NumBox>(form, "numQuantity")->setValue(0);  // below the range
    Get<DateBox>(form, "dateBirth")->setDDate(QDate(1984, 5, 31));
    Get<DateBox>(form, "dateOrder")->setDDate(QDate(2019, 12, 24));  // before the range
    EXPECT_EQ(w.window.checkAll(), 12);
    EXPECT_TRUE(w.window.statusText().contains("numQuantity"));
    EXPECT_TRUE(w.window.statusText().contains("dateOrder"));
    Get<NumBox>(form, "numQuantity")->setValue(999);
    Get<DateBox>(form, "dateOrder")->setDDate(QDate(2026, 2, 9));
    EXPECT_TRUE(w.window.statusText().contains("cboPayment"));
    ASSERT_TRUE(Get<qv::qt::ComboBox>(form, "cboPayment")->setListIndex(4));
    EXPECT_EQ(w.window.checkAll(), 15);
    EXPECT_TRUE(w.window.statusText().contains("15 of 15"));
}

struct DemoFormFiles : ::testing::Test {
    QTemporaryDir dir;
    ShownWindow w;
    QString path = dir.filePath("customer.json");
    std::map<QString, QString> saved;

    void SetUp() override {
        DemoForm& form = w.window.form();
        Get(form, "txtNumber")->setText("10042");
        Get(form, "txtName")->setText(QString::fromUtf8("Jürgen Grüße 東京"));
        Get(form, "txtName")->setMaxLength(30);
        Get(form, "txtCity")->setText("OSL");
        Get(form, "txtCity")->setFontBold(true);
        Get(form, "txtEmail")->setText("j@example.com");
        Get(form, "txtEmail")->setWarningColor(QColor(0xFF, 0xE0, 0x80));
        Get(form, "txtNotes")->setText("  two\r\nlines");
        Get(form, "txtPin")->setText("0815");
        form.control("txtPin")->move(150, 260);
        Get<NumBox>(form, "numPrice")->setValue(19.9);
        Get<NumBox>(form, "numPrice")->setDecimalPointCharacter(".");
        Get<NumBox>(form, "numQuantity")->setValue(12);
        Get<NumBox>(form, "numDiscount")->setValue(-2.5);
        Get<DateBox>(form, "dateBirth")->setDDate(QDate(1984, 5, 31));
        Get<DateBox>(form, "dateOrder")->setSeparatorYMD("/");
        Get<DateBox>(form, "dateOrder")->setDDate(QDate(2026, 2, 9));
        saved = Snapshot(form);
        ASSERT_TRUE(w.window.saveFile(path));
    }
};

TEST_F(DemoFormFiles, SaveThenOpenRoundTripsTextsAndSettings) {
    DemoForm& form = w.window.form();
    form.clear();
    BuildCustomerForm(form);  // a fresh form: defaults and the original positions
    ASSERT_NE(Snapshot(form), saved);
    EXPECT_TRUE(w.window.openFile(path).isEmpty());
    EXPECT_EQ(Snapshot(form), saved);
    ASSERT_EQ(form.controls().size(), 15);
    EXPECT_EQ(Get<qv::qt::ComboBox>(form, "cboCountry")->ListCount(), 249);
    EXPECT_EQ(Get<DateBox>(form, "dateOrder")->Text(), "2026/02/09");
    EXPECT_EQ(Get<DateBox>(form, "dateBirth")->DDate(), QDate(1984, 5, 31));
    EXPECT_EQ(form.controls()[5]->objectName(), "txtPin");
    EXPECT_EQ(Get<NumBox>(form, "numPrice")->displayText(), "19.90");
    EXPECT_EQ(Get<NumBox>(form, "numDiscount")->Value(), QVariant(-2.5));
    EXPECT_EQ(form.caption(form.control("txtPin"))->text(), "PIN");
    EXPECT_EQ(form.title(), "Customer");
    // The application's rule comes back with the control.
    Get(form, "txtEmail")->setText("no at sign");
    EXPECT_FALSE(Get(form, "txtEmail")->CheckValueNow());
}

TEST_F(DemoFormFiles, DamagedFilesLoadTheRestAndShowOneMessage) {
    QJsonObject root = QJsonDocument::fromJson(ReadAll(path).toUtf8()).object();
    QJsonArray controls = root["controls"].toArray();
    QJsonObject first = controls[0].toObject(), city = controls[2].toObject();
    QJsonArray props = first["properties"].toArray();
    for (QJsonValueRef p : props)
        if (QJsonObject o = p.toObject(); o["key"] == "MaxLength") p = (o["value"] = "eight", o);
    first["properties"] = props;
    first["shoeSize"] = 44;  // an unknown member: ignored
    city["class"] = "QVnoSuchControl";
    controls[0] = first;
    controls[2] = city;
    root["controls"] = controls;
    WriteAll(path, QJsonDocument(root).toJson());
    QStringList messages;
    w.window.setMessageSink([&](const QString&, const QString& text) { messages << text; });
    const QStringList problems = w.window.openFile(path);
    ASSERT_EQ(messages.size(), 1);
    ASSERT_EQ(problems.size(), 2) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems[0].contains("txtNumber") && problems[0].contains("MaxLength"));
    EXPECT_TRUE(problems[1].contains("txtCity") && problems[1].contains("Error 429"));
    for (const QString& p : problems) EXPECT_TRUE(messages[0].contains(p));

    const DemoForm& form = w.window.form();
    EXPECT_EQ(form.controls().size(), 14);
    EXPECT_EQ(form.control("txtCity"), nullptr);
    TxtBox* number = Get(form, "txtNumber");
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->MaxLength(), 0);  // the unreadable key takes its default
    EXPECT_EQ(number->Text(), "10042");
    EXPECT_EQ(number->ForbiddenCharacters(), NonDigitCharacters());
    EXPECT_EQ(Get(form, "txtPin")->Text(), "0815");
}

// An unreadable file leaves the form as it was; a truncated one never crashes and keeps the
// controls that came before the cut.
TEST_F(DemoFormFiles, UnreadableFilesLeaveTheFormTruncatedOnesKeepTheirStart) {
    const QByteArray whole = ReadAll(path).toUtf8();
    QStringList order;
    for (const qv::qt::ControlWidget* c : w.window.form().controls()) order << c->objectName();
    WriteAll(path, "this is not a form");
    for (const QString& p : {dir.filePath("missing.json"), path}) {
        SCOPED_TRACE(p.toStdString());
        const QStringList problems = OpenForm(w.window.form(), p);
        ASSERT_FALSE(problems.isEmpty());
        EXPECT_TRUE(problems.first().startsWith(p == path ? "" : "Error 53"));
        EXPECT_TRUE(problems.last().contains("left as it was"));
        EXPECT_EQ(Snapshot(w.window.form()), saved);
    }
    for (const double fraction : {0.5, 0.8, 0.97}) {
        SCOPED_TRACE(fraction);
        WriteAll(path, whole.left(static_cast<qsizetype>(whole.size() * fraction)));
        EXPECT_FALSE(OpenForm(w.window.form(), path).isEmpty());
        const QList<qv::qt::ControlWidget*> controls = w.window.form().controls();
        ASSERT_GE(controls.size(), 1);
        EXPECT_LE(controls.size(), order.size());
        for (qsizetype i = 0; i < controls.size(); ++i)
            EXPECT_EQ(controls[i]->objectName(), order[i]);
        EXPECT_EQ(Get(w.window.form(), "txtNumber")->Text(), "10042");
    }
}

TEST(DemoEventLog, FormatsEventsWithNamedArguments) {
    using qv::Variant;
    const std::tuple<const char16_t*, std::vector<Variant>, const char*> cases[] = {
        {u"KeyPress", {int16_t{97}}, "txtName: KeyPress(KeyAscii=97)"},
        {u"KeyDown", {int16_t{65}, int16_t{1}}, "txtName: KeyDown(KeyCode=65, Shift=1)"},
        {u"ValidationCheck", {false}, "txtName: ValidationCheck(ValueOkay=False)"},
        {u"MouseMove",
         {int16_t{1}, int16_t{0}, 1.5f, 30.f},
         "txtName: MouseMove(Button=1, Shift=0, X=1.5, Y=30)"},
        {u"Change", {}, "txtName: Change"},
        {u"Custom", {u"x", Variant::Null()}, "txtName: Custom(arg1=\"x\", arg2=Null)"},
    };
    for (const auto& [event, args, line] : cases)
        EXPECT_EQ(EventLog::FormatEvent("txtName", event, args), line);
}

TEST(DemoEventLog, KeepsTheNewestThousandLinesAndCountsEverything) {
    EventLog log;
    for (int i = 0; i < 1500; ++i) log.logEvent(QString::number(i), u"Change", {});
    EXPECT_EQ(log.document()->blockCount(), EventLog::kMaxLines);
    EXPECT_EQ(log.document()->firstBlock().text(), "500: Change");
    EXPECT_EQ(log.document()->lastBlock().text(), "1499: Change");
    EXPECT_EQ(log.count("Change"), 1500);
}

TEST(DemoEventLog, ErrorsInsideNoticesAreLogged) {
    ShownWindow w;
    qv::qt::QtServices::Instance().Guard([] { qv::Raise(qv::err::InvalidPropertyValue); });
    EXPECT_EQ(w.window.log().document()->lastBlock().text(), "Error 380: Invalid property value");
}

TEST(DemoLaunch, ChoosesTheWalkthroughWithoutADisplay) {
    struct Case {
        QStringList args;
        QByteArray env;  // one variable, "NAME=value"
        bool walkthrough, offscreen, announce;
        const char* screenshot;
    };
    const char* png = "qvcontrols-demo.png";
    const Case cases[] = {
        {{}, {}, true, true, true, png},
        {{}, "DISPLAY=:0", false, false, false, png},
        {{}, "WAYLAND_DISPLAY=wayland-0", false, false, false, png},
        {{}, "QT_QPA_PLATFORM=xcb", false, false, false, png},
        {{}, "QT_QPA_PLATFORM=offscreen", true, false, false, png},
        {{"--walkthrough"}, "DISPLAY=:0", true, true, false, png},
        {{"--walkthrough"}, "QT_QPA_PLATFORM=xcb", true, false, false, png},
        {{"--walkthrough", "--screenshot", "a.png"}, {}, true, true, true, "a.png"},
        {{"--screenshot=b.png"}, "DISPLAY=:0", true, true, false, "b.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString() + " with " + c.env.toStdString());
        const LaunchPlan plan = PlanLaunch(c.args, [&](const char* name) {
            const QByteArray prefix = QByteArray(name) + '=';
            return c.env.startsWith(prefix) ? c.env.mid(prefix.size()) : QByteArray();
        });
        EXPECT_TRUE(plan.error.isEmpty());
        EXPECT_EQ(std::tuple(plan.walkthrough, plan.setOffscreen, plan.announceNoDisplay),
                  std::tuple(c.walkthrough, c.offscreen, c.announce));
        EXPECT_EQ(plan.screenshot, c.screenshot);
    }
    const auto none = [](const char*) { return QByteArray(); };
    for (const QStringList& bad : {QStringList{"--screenshot"}, QStringList{"--bogus"}})
        EXPECT_FALSE(PlanLaunch(bad, none).error.isEmpty());
}

TEST(DemoCustomerDatabase, MadeOnFirstRunItsLookupUsesTheIndex) {
    QTemporaryDir dir;
    const QString description = "sqlite:" + dir.filePath("customers.sqlite");
    auto db = OpenCustomerDatabase(description);
    auto again = OpenCustomerDatabase(description);  // there: opened, not made again
    const auto scalar = [](qv::DatabaseConnection& c, const char16_t* sql) {
        const qv::Variant column[] = {int16_t{0}};
        return qv::ValueOf(c.Open(sql)->Call(u"", column));
    };
    EXPECT_EQ(scalar(*again, u"SELECT COUNT(*) FROM Customer").ToLong(), kCustomerCount);
    EXPECT_EQ(scalar(*again, u"SELECT COUNT(DISTINCT Name) FROM Customer").ToLong(),
              kCustomerCount);
    EXPECT_EQ(
        qv::qt::ToQString(scalar(*db, u"SELECT City FROM Customer WHERE Id = 9294").ToString()),
        CustomerAt(9293).city);
    // The lookup as the box sends it: a range search on the name's index, no scan, no sort.
    const qv::Variant detail[] = {int16_t{3}};  // EXPLAIN QUERY PLAN's detail column
    const qv::String how =
        qv::ValueOf(db->Open(u"EXPLAIN QUERY PLAN SELECT Name, Id, City FROM Customer "
                             u"WHERE Name LIKE 'Müller, An%' ORDER BY Name")
                        ->Call(u"", detail))
            .ToString();
    EXPECT_NE(how.find(u"USING INDEX CustomerName"), qv::String::npos) << qv::ToUtf8(how);
    EXPECT_EQ(how.find(u"SCAN"), qv::String::npos) << qv::ToUtf8(how);
}

TEST(DemoMainWindow, TheHelpMenuOpensTheAboutDialog) {
    ShownWindow w;
    QString shown;
    QTimer::singleShot(20, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->objectName() + " " + dialog->windowTitle();
            dialog->findChild<QPushButton*>("cmdOK")->click();
        }
    });
    w.window.aboutAction()->trigger();
    EXPECT_EQ(shown, "frmAbout qvControls");
}

}  // namespace
