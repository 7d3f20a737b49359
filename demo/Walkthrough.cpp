#include "demo/Walkthrough.h"

#include <QLabel>

#include "demo/CustomerDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "hosts/qt/ComboBox.h"
#include "hosts/qt/DateBox.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"

namespace qv::demo {

namespace {

using qt::ComboBox;
using qt::DateBox;
using qt::NumBox;
using qt::TxtBox;

QString Quoted(const QString& s) {
    QString shown = s;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\\r\\n"));
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

class Script {
  public:
    Script(MainWindow& window, QTextStream& out) : w_(window), out_(out) {}

    bool ok() const { return failures_ == 0; }
    int checks() const { return checks_; }
    int failures() const { return failures_; }

    void say(const QString& line) { out_ << line << '\n'; }
    void check(bool condition, const QString& what) {
        ++checks_;
        if (!condition) ++failures_;
        out_ << (condition ? "  ok      " : "  FAILED  ") << what << '\n';
    }

    TxtBox* box(const char* name) const {
        return qobject_cast<TxtBox*>(w_.form().control(QString::fromLatin1(name)));
    }
    NumBox* amount(const char* name) const {
        return qobject_cast<NumBox*>(w_.form().control(QString::fromLatin1(name)));
    }
    DateBox* date(const char* name) const {
        return qobject_cast<DateBox*>(w_.form().control(QString::fromLatin1(name)));
    }
    ComboBox* combo(const char* name) const {
        return qobject_cast<ComboBox*>(w_.form().control(QString::fromLatin1(name)));
    }
    QString focused() const {
        qt::ControlWidget* c = ControlWidgetOf(QApplication::focusWidget());
        return c ? c->objectName() : QStringLiteral("(none)");
    }
    // Keys go to whatever has the focus, as they would from a keyboard. `pressesEach`: the
    // KeyPress events each key makes (a combo box reports a character before and after its
    // filter).
    bool type(const QString& keys, int pressesEach = 1) {
        QWidget* target = QApplication::focusWidget();
        if (!target) return false;
        for (QChar c : keys) {
            // The list's popup may have taken the focus for the field it serves.
            if (QWidget* now = QApplication::focusWidget()) target = now;
            if (c.unicode() < 0x80) {
                QTest::keyClicks(target, QString(c));
            } else {
                // A character without a key of its own (a layout's "ü"): the event carries it.
                const QChar upper = c.toUpper();
                const auto k = upper.unicode() < 0x100 ? static_cast<Qt::Key>(upper.unicode())
                                                       : Qt::Key_unknown;
                QTest::sendKeyEvent(QTest::Click, target, k, QString(c), Qt::NoModifier);
            }
        }
        typed_ += static_cast<int>(keys.size()) * pressesEach;
        return true;
    }
    bool key(Qt::Key k, int keyPresses, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        if (!target) return false;
        QTest::keyClick(target, k, modifiers);
        typed_ += keyPresses;
        QApplication::processEvents();
        return true;
    }
    bool tab() { return key(Qt::Key_Tab, 0); }
    bool expectFocus(const char* name) {
        const bool there = focused() == QLatin1String(name);
        check(there, QStringLiteral("the focus is on %1 (%2)").arg(name, focused()));
        return there;
    }
    int typedCharacters() const { return typed_; }

  private:
    MainWindow& w_;
    QTextStream& out_;
    int checks_ = 0;
    int failures_ = 0;
    int typed_ = 0;
};

QString ColourName(const QColor& c) {
    return c.name(QColor::HexRgb);
}

}  // namespace

void PinWalkthroughFont() {
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
}

QColor ShownColor(const qt::ControlWidget& control) {
    // A numeric box has no field: its digits lie on its own background.
    for (const auto& item : control.site().Widgets().Items())
        if (dynamic_cast<qt::QtTextField*>(item.get()) && item->Surface() &&
            item->Surface()->isVisibleTo(&control))
            return item->Surface()->palette().color(QPalette::Base);
    // What the control paints under its own widgets.
    QImage background(control.size(), QImage::Format_RGB32);
    background.fill(Qt::magenta);
    const_cast<qt::ControlWidget&>(control).render(&background, {}, {},
                                                   QWidget::DrawWindowBackground);
    return background.pixelColor(control.width() / 2, control.height() / 2);
}

bool RunWalkthrough(MainWindow& window, const QString& screenshotPath, QTextStream& out) {
    Script s(window, out);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window, 2000);
    QApplication::processEvents();
    window.log().resetCounts();
    const int beepsBefore = qt::QtServices::Instance().Beeps();

    TxtBox* number = s.box("txtNumber");
    TxtBox* name = s.box("txtName");
    TxtBox* city = s.box("txtCity");
    TxtBox* email = s.box("txtEmail");
    TxtBox* notes = s.box("txtNotes");
    TxtBox* pin = s.box("txtPin");
    NumBox* price = s.amount("numPrice");
    NumBox* quantity = s.amount("numQuantity");
    NumBox* discount = s.amount("numDiscount");
    DateBox* birth = s.date("dateBirth");
    DateBox* order = s.date("dateOrder");
    DateBox* delivery = s.date("dateDelivery");
    ComboBox* country = s.combo("cboCountry");
    ComboBox* payment = s.combo("cboPayment");
    ComboBox* customer = s.combo("cboCustomer");
    if (!number || !name || !city || !email || !notes || !pin || !price || !quantity || !discount ||
        !birth || !order || !delivery || !country || !payment) {
        s.check(false, QStringLiteral("the customer form has its six text boxes, three numeric "
                                      "boxes, three date boxes and two combo boxes"));
        return false;
    }

    s.say(QStringLiteral("1. Customer number: digits only, at most 8"));
    number->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    if (s.expectFocus("txtNumber")) {
        s.type(QStringLiteral("12a3-4"));
        s.check(number->Text() == "1234",
                QStringLiteral("typed \"12a3-4\", the box holds %1: letters and signs are refused")
                    .arg(Quoted(number->Text())));
        s.check(ShownColor(*number) == number->FocusColor(),
                QStringLiteral("a valid value with the focus shows the focus colour %1")
                    .arg(ColourName(ShownColor(*number))));
    }

    s.say(QStringLiteral("2. Name: the first character capitalised on leaving"));
    s.tab();
    if (s.expectFocus("txtName")) {
        s.type(QStringLiteral("anna smith"));
        s.tab();
        s.check(name->Text() == "Anna smith",
                QStringLiteral("typed \"anna smith\", after Tab it reads %1")
                    .arg(Quoted(name->Text())));
    }

    s.say(QStringLiteral("3. City code: upper case, at most 3 characters"));
    if (s.expectFocus("txtCity")) {
        const int beeps = qt::QtServices::Instance().Beeps();
        s.type(QStringLiteral("berlin"));
        const int refused = qt::QtServices::Instance().Beeps() - beeps;
        s.check(city->Text() == "BER",
                QStringLiteral("typed \"berlin\" in lower case, the box holds %1 (%2 beeps for "
                               "the characters beyond the limit)")
                    .arg(Quoted(city->Text()))
                    .arg(refused));
        s.check(refused == 3, QStringLiteral("three characters beyond the limit, three beeps"));
    }

    s.say(QStringLiteral("4. E-mail: optional, a warning without \"@\""));
    s.tab();
    if (s.expectFocus("txtEmail")) {
        s.type(QStringLiteral("anna smith.example.com"));
        const QColor typing = ShownColor(*email);
        s.check(email->Text() == "annasmith.example.com",
                QStringLiteral("the blank was refused: %1").arg(Quoted(email->Text())));
        s.check(typing == email->ErrorColor(),
                QStringLiteral("while typing, the invalid value shows the error colour %1")
                    .arg(ColourName(typing)));
        s.tab();
        const QColor left = ShownColor(*email);
        s.check(left == email->WarningColor(),
                QStringLiteral("after leaving, the warning colour %1").arg(ColourName(left)));
    }

    s.say(QStringLiteral("5. Notes: several lines, leading blanks kept"));
    if (s.expectFocus("txtNotes")) {
        s.type(QStringLiteral("  Call after 5 pm"));
        s.key(Qt::Key_Return, 1);
        s.type(QStringLiteral("Ask for Anna"));
        s.tab();
        s.check(notes->Text() == "  Call after 5 pm\r\nAsk for Anna",
                QStringLiteral("after Tab the notes read %1").arg(Quoted(notes->Text())));
    }

    s.say(QStringLiteral("6. PIN: four digits, shown as stars"));
    if (s.expectFocus("txtPin")) {
        s.type(QStringLiteral("12x345"));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        const QString shown = editor ? editor->text() : QString();
        s.check(pin->Text() == "1234" && shown == "****",
                QStringLiteral("typed \"12x345\", the box holds %1 and shows %2")
                    .arg(Quoted(pin->Text()), Quoted(shown)));
    }

    s.say(QStringLiteral("7. Price: typed like a pocket calculator, two decimals"));
    s.tab();
    if (s.expectFocus("numPrice")) {
        const int beeps = qt::QtServices::Instance().Beeps();
        s.type(QStringLiteral("1234,567"));
        s.check(
            price->displayText() == "1.234,56" && qt::QtServices::Instance().Beeps() - beeps == 1,
            QStringLiteral("typed \"1234,567\", the box shows %1 grouped, and beeped for the "
                           "third decimal")
                .arg(Quoted(price->displayText())));
        s.key(Qt::Key_Left, 1);  // the box turns Left into Backspace
        s.check(
            price->displayText() == "1.234,5",
            QStringLiteral("Left took the last digit back: %1").arg(Quoted(price->displayText())));
        s.tab();
        s.check(price->displayText() == "1.234,50" && price->Value() == QVariant(1234.5),
                QStringLiteral("after Tab the price reads %1, its value %2")
                    .arg(Quoted(price->displayText()), price->Value().toString()));
    }

    s.say(QStringLiteral("8. Quantity: whole numbers from 1 to 999"));
    if (s.expectFocus("numQuantity")) {
        s.type(QStringLiteral("0"));
        s.check(ShownColor(*quantity) == quantity->ErrorColor(),
                QStringLiteral("0 is out of range: the error colour %1")
                    .arg(ColourName(ShownColor(*quantity))));
        s.key(Qt::Key_Backspace, 1);
        const int beeps = qt::QtServices::Instance().Beeps();
        s.type(QStringLiteral("12,5"));
        s.check(quantity->displayText() == "125" &&
                    qt::QtServices::Instance().Beeps() - beeps == 1 &&
                    ShownColor(*quantity) == quantity->FocusColor(),
                QStringLiteral("typed \"12,5\", the box holds %1 (no decimals, a beep) in the "
                               "focus colour")
                    .arg(Quoted(quantity->displayText())));
        s.tab();
    }

    s.say(QStringLiteral("9. Discount: \"-\" turns the sign"));
    if (s.expectFocus("numDiscount")) {
        s.type(QStringLiteral("5-"));
        s.check(
            discount->displayText() == "-5",
            QStringLiteral("typed \"5-\", the box shows %1").arg(Quoted(discount->displayText())));
        s.tab();
        s.check(discount->displayText() == "-5,00",
                QStringLiteral("after Tab it reads %1").arg(Quoted(discount->displayText())));
    }

    s.say(QStringLiteral("10. Birth date, day first: zeros and separators come by themselves"));
    if (s.expectFocus("dateBirth")) {
        s.type(QStringLiteral("3"));
        s.type(QStringLiteral("2"));
        s.check(birth->Text() == "3", QStringLiteral("after 3 the key 2 is refused (no day 32): %1")
                                          .arg(Quoted(birth->Text())));
        s.type(QStringLiteral("1.5.1984"));
        s.check(birth->Text() == "31.05.1984" && birth->DDate() == QDate(1984, 5, 31),
                QStringLiteral("typed \"1.5.1984\" after it, the box shows %1")
                    .arg(Quoted(birth->Text())));
        s.key(Qt::Key_Left, 1);  // Left takes the last character back
        s.type(QStringLiteral("5"));
        s.check(birth->Text() == "31.05.1985",
                QStringLiteral("Left and 5 made it %1").arg(Quoted(birth->Text())));
        s.tab();
    }

    s.say(QStringLiteral("11. Order date, year first, within 2020 to 2030"));
    if (s.expectFocus("dateOrder")) {
        s.type(QStringLiteral("2019-12-24"));
        s.check(order->Text() == "2019-12-24" && ShownColor(*order) == order->ErrorColor(),
                QStringLiteral("%1 is before 2020: the error colour %2")
                    .arg(Quoted(order->Text()), ColourName(ShownColor(*order))));
        s.key(Qt::Key_A, 1, Qt::ControlModifier);  // selects all; the next key replaces it
        s.type(QStringLiteral("2026-2-9"));
        s.check(order->Text() == "2026-02-09" && ShownColor(*order) == order->FocusColor(),
                QStringLiteral("selected all and typed \"2026-2-9\": %1 in the focus colour")
                    .arg(Quoted(order->Text())));
        s.tab();
    }

    s.say(QStringLiteral("12. Delivery date, month first"));
    if (s.expectFocus("dateDelivery")) {
        s.type(QStringLiteral("2/29/2027"));
        s.check(delivery->Text() == "02/29/202",
                QStringLiteral("typed \"2/29/2027\": 2027 has no 29 February, the 7 is refused: %1")
                    .arg(Quoted(delivery->Text())));
        s.type(QStringLiteral("8"));
        s.check(delivery->Text() == "02/29/2028" && delivery->DDate() == QDate(2028, 2, 29),
                QStringLiteral("then 8: %1").arg(Quoted(delivery->Text())));
    }

    s.say(QStringLiteral("13. Country: typed and completed from the list"));
    s.tab();
    if (s.expectFocus("cboCountry")) {
        s.type(QStringLiteral("germ"), 2);
        s.key(Qt::Key_Return, 2);
        s.check(country->Text() == "Germany" && country->List(country->ListIndex()) == "Germany",
                QStringLiteral("typed \"germ\" and Enter: one country begins so, the box "
                               "takes %1")
                    .arg(Quoted(country->Text())));
        s.key(Qt::Key_A, 2, Qt::ControlModifier);  // select all: the next key replaces it
        s.type(QStringLiteral("united"), 2);
        s.key(Qt::Key_Return, 2);
        s.check(country->ListBoxDropped() &&
                    country->List(country->ListIndex()).startsWith(QLatin1String("United")),
                QStringLiteral("\"united\" and Enter: several begin so, the list drops and "
                               "marks %1")
                    .arg(Quoted(country->List(country->ListIndex()))));
        while (country->ListBoxDropped() &&
               country->List(country->ListIndex()) != "United Kingdom" &&
               country->ListIndex() < country->ListCount() - 1)
            s.key(Qt::Key_Down, 0);
        s.check(country->Text() == "United Kingdom",
                QStringLiteral("the arrow keys move through the list, the field follows: %1")
                    .arg(Quoted(country->Text())));
        s.key(Qt::Key_Return, 2);
        s.check(!country->ListBoxDropped() && country->Text() == "United Kingdom" &&
                    ShownColor(*country) == country->FocusColor(),
                QStringLiteral("Enter chooses it and closes the list: %1 in the focus colour")
                    .arg(Quoted(country->Text())));
    }

    s.say(QStringLiteral("14. Payment: chosen by initials, nothing typed"));
    s.tab();
    if (s.expectFocus("cboPayment")) {
        s.check(payment->Text() == "Bank transfer",
                QStringLiteral("entering the box chooses its first method: %1")
                    .arg(Quoted(payment->Text())));
        s.type(QStringLiteral("c"), 2);
        s.check(payment->Text() == "Cash on delivery",
                QStringLiteral("\"c\" chooses %1").arg(Quoted(payment->Text())));
        s.type(QStringLiteral("c"), 2);
        s.check(payment->Text() == "Credit card",
                QStringLiteral("\"c\" again, the next with that initial: %1")
                    .arg(Quoted(payment->Text())));
        s.key(Qt::Key_Down, 0);
        s.check(payment->Text() == "Direct debit",
                QStringLiteral("Down: %1").arg(Quoted(payment->Text())));
    }

    s.say(QStringLiteral("15. Customer: looked up in the database"));
    s.tab();
    if (s.expectFocus("cboCustomer")) {
        const QLabel* city = window.form().findChild<QLabel*>(QStringLiteral("lblCustomerCity"));
        const auto cityOf = [](const QString& name) {
            for (int i = 0; i < kCustomerCount; ++i)
                if (CustomerAt(i).name == name) return CustomerAt(i).city;
            return QString();
        };
        s.type(QStringLiteral("Müller, An"), 2);
        s.key(Qt::Key_Return, 2);
        s.check(customer->ListBoxDropped() && customer->ListCount() == 2,
                QStringLiteral("\"Müller, An\" and Enter: the database has %1 such customers, "
                               "the list drops")
                    .arg(customer->ListCount()));
        s.key(Qt::Key_Up, 0);
        s.key(Qt::Key_Return, 2);
        s.check(
            !customer->ListBoxDropped() && customer->Text() == "Müller, Anna" && city &&
                city->text() == cityOf(customer->Text()),
            QStringLiteral("Up and Enter choose %1; the city beside it, from Item(\"City\"): %2")
                .arg(Quoted(customer->Text()), Quoted(city ? city->text() : QString())));
        s.key(Qt::Key_A, 2, Qt::ControlModifier);
        s.type(QStringLiteral("Weiß, Zoë"), 2);
        s.key(Qt::Key_Return, 2);
        s.check(!customer->ListBoxDropped() && customer->Text() == "Weiß, Zoë" &&
                    customer->Item(QStringLiteral("Id")).toInt() > 0 && city &&
                    city->text() == cityOf(customer->Text()),
                QStringLiteral("\"Weiß, Zoë\" and Enter: one customer, taken at once (Id %1, %2)")
                    .arg(customer->Item(QStringLiteral("Id")).toInt())
                    .arg(Quoted(city ? city->text() : QString())));
    }

    s.say(QStringLiteral("16. Check all"));
    QTest::mouseClick(window.checkAllButton(), Qt::LeftButton);
    QApplication::processEvents();
    s.say(QStringLiteral("   ") + window.statusText());
    s.check(window.statusText().contains(QLatin1String("14 of 15 controls valid")),
            QStringLiteral("fourteen of fifteen are valid: the e-mail address is not"));
    for (qt::ControlWidget* c : window.form().controls()) {
        auto* b = qobject_cast<TxtBox*>(c);
        auto* n = qobject_cast<NumBox*>(c);
        auto* d = qobject_cast<DateBox*>(c);
        auto* k = qobject_cast<ComboBox*>(c);
        s.say(QStringLiteral("   %1 %2 %3")
                  .arg(c->objectName(), -11)
                  .arg(ColourName(ShownColor(*c)))
                  .arg(b   ? Quoted(b->Text())
                       : n ? Quoted(n->displayText())
                       : d ? Quoted(d->Text())
                       : k ? Quoted(k->Text())
                           : QString()));
    }
    s.check(ShownColor(*email) == email->WarningColor() &&
                ShownColor(*number) == number->BackColor() &&
                ShownColor(*quantity) == quantity->BackColor(),
            QStringLiteral("the e-mail keeps the warning colour, valid boxes their back colour"));

    s.say(QStringLiteral("17. Events"));
    const EventLog& log = window.log();
    s.say(QStringLiteral("   KeyDown %1, KeyPress %2, KeyUp %3, Change %4, ValidationCheck %5; "
                         "%6 in all, %7 beeps")
              .arg(log.count("KeyDown"))
              .arg(log.count("KeyPress"))
              .arg(log.count("KeyUp"))
              .arg(log.count("Change"))
              .arg(log.count("ValidationCheck"))
              .arg(log.total())
              .arg(qt::QtServices::Instance().Beeps() - beepsBefore));
    s.check(log.count("KeyPress") == s.typedCharacters(),
            QStringLiteral("one KeyPress for each of the %1 characters typed")
                .arg(s.typedCharacters()));
    s.check(log.toPlainText().contains(QLatin1String("txtName: KeyPress(KeyAscii=97)")),
            QStringLiteral("the log shows each event with its arguments"));
    s.check(window.grid().control() == customer && window.grid().valueText("Text") == "Weiß, Zoë",
            QStringLiteral("the property grid shows the control that last had the focus"));

    s.say(QStringLiteral("18. Screenshot"));
    QApplication::processEvents();
    const QImage shot = window.grab().toImage();
    const bool saved = !shot.isNull() && shot.save(screenshotPath, "PNG");
    const QFileInfo file(screenshotPath);
    s.check(saved && file.size() > 0, QStringLiteral("%1 written (%2×%3, %4 bytes)")
                                          .arg(QDir::toNativeSeparators(file.absoluteFilePath()))
                                          .arg(shot.width())
                                          .arg(shot.height())
                                          .arg(file.size()));

    if (s.ok())
        s.say(QStringLiteral("Walkthrough: all %1 checks came out as expected").arg(s.checks()));
    else
        s.say(QStringLiteral("Walkthrough: %1 of %2 checks did not come out as expected")
                  .arg(s.failures())
                  .arg(s.checks()));
    out.flush();
    return s.ok();
}

}  // namespace qv::demo
