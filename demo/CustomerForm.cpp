#include "demo/CustomerForm.h"

#include "demo/Countries.h"
#include "demo/CustomerDatabase.h"
#include "hosts/qt/ComboBox.h"
#include "hosts/qt/DateBox.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"

namespace qv::demo {

namespace {

struct Field {
    const char* name;
    const char* caption;
};

constexpr Field kFields[] = {
    {"txtNumber", "Customer no."}, {"txtName", "Name"},         {"txtCity", "City code"},
    {"txtEmail", "E-mail"},        {"txtNotes", "Notes"},       {"txtPin", "PIN"},
    {"numPrice", "Price"},         {"numQuantity", "Quantity"}, {"numDiscount", "Discount"},
    {"dateBirth", "Birth date"},   {"dateOrder", "Order date"}, {"dateDelivery", "Delivery"},
    {"cboCountry", "Country"},     {"cboPayment", "Payment"},   {"cboCustomer", "Customer"},
};

constexpr int kLeft = DemoForm::kCaptionWidth + DemoForm::kCaptionGap + 12;
constexpr int kTop = 12;
constexpr int kRowGap = 8;
constexpr int kWidth = 240;
constexpr int kAmountWidth = 120;
constexpr int kNotesHeight = 64;
constexpr int kLookupWidth = 150;  // the customer lookup, its city beside it

// A text box set up for the field of that name; `height` is the one it gets on the form.
qt::ControlWidget* MakeTextBox(DemoForm& form, const QString& name, int& height) {
    auto* box = new qt::TxtBox(&form);
    height = box->height();
    if (name == "txtNumber") {
        box->setForbiddenCharacters(NonDigitCharacters());
        box->setMaxLength(8);
        box->setMustHaveValue(true);
    } else if (name == "txtName") {
        box->setAllUcase(false);
        box->setFirstCharacterCapital(true);
        box->setMustHaveValue(true);
    } else if (name == "txtCity") {
        box->setAllUcase(true);
        box->setMaxLength(3);
    } else if (name == "txtEmail") {
        box->setForbiddenCharacters(QStringLiteral(" ,;"));
        box->setFirstCharacterCapital(false);  // addresses keep the case typed
        box->setMustHaveValue(false);
        box->setUseWarningColor(true);
    } else if (name == "txtNotes") {
        box->setMultiLine(true);
        box->setScrollBars(2);
        box->setMustHaveValue(false);
        box->setTrim(false);
        height = kNotesHeight;
    } else if (name == "txtPin") {
        box->setPasswordChar(QStringLiteral("*"));
        box->setForbiddenCharacters(NonDigitCharacters());
        box->setMaxLength(4);
    }
    return box;
}

// A numeric box for an amount: a price with cents, a whole quantity within a range, a discount
// that may be negative.
qt::ControlWidget* MakeAmountBox(DemoForm& form, const QString& name) {
    auto* box = new qt::NumBox(&form);
    if (name == "numPrice") {
        box->setPostDecimalNumbers(2);
        box->setMustHaveValue(true);
    } else if (name == "numQuantity") {
        box->setPreDecimalNumbers(3);
        box->setPostDecimalNumbers(0);
        box->setSmallestValue(1);
        box->setLargestValue(999);
        box->setCheckRange(true);
        box->setMustHaveValue(true);
    } else if (name == "numDiscount") {
        box->setAllowMinus(true);
        box->setPostDecimalNumbers(2);
        box->setMustHaveValue(false);
    }
    return box;
}

// A date box in each layout: a birth date day first, an order date year first and within the
// shop's years, a delivery date month first.
qt::ControlWidget* MakeDateBox(DemoForm& form, const QString& name) {
    auto* box = new qt::DateBox(&form);
    if (name == "dateBirth") {
        box->setDateFormat(static_cast<int>(DateFmt::DMY));
    } else if (name == "dateOrder") {
        box->setDateFormat(static_cast<int>(DateFmt::YMD));
        box->setSmallestValue(QDate(2020, 1, 1));
        box->setLargestValue(QDate(2030, 12, 31));
        box->setCheckRange(true);
        box->setUseWarningColor(true);
    } else if (name == "dateDelivery") {
        box->setDateFormat(static_cast<int>(DateFmt::MDY));
        box->setMustHaveValue(false);
    }
    return box;
}

// The country (typed and completed from some 250 names; only a listed country is a value) and
// the payment method (chosen from a short list by its initial or the arrow keys).
qt::ControlWidget* MakeComboBox(DemoForm& form, const QString& name) {
    auto* box = new qt::ComboBox(&form);
    box->setButton2Visible(false);
    if (name == "cboCountry") {
        box->setMustFitDataList(true);
        box->setUseWarningColor(true);
        box->setToolTipTextButton1(QStringLiteral("Complete the country or show the list"));
    } else if (name == "cboPayment") {
        box->setDropDownStyle(true);
        box->setMustHaveValue(true);
        box->setToolTipTextButton1(QStringLiteral("Show the payment methods"));
    } else if (name == "cboCustomer") {
        box->setDataField(QStringLiteral("Name"));
        box->setDataIdField(QStringLiteral("Id"));
        box->setSqlQueryString(QString::fromUtf16(kCustomerLookup));
        box->setMustFitDataList(true);
        box->setMustHaveValue(false);
        box->setToolTipTextButton1(QStringLiteral("Look the customer up"));
    }
    return box;
}

}  // namespace

QString NonDigitCharacters() {
    QString s;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        if (c < u'0' || c > u'9') s += QChar(c);
    return s;
}

QString CaptionFor(const QString& name) {
    for (const Field& f : kFields)
        if (name == QLatin1String(f.name)) return QString::fromLatin1(f.caption);
    return name;
}

bool EmailLooksValid(const QString& text) {
    return text.trimmed().isEmpty() || text.contains(QLatin1Char('@'));
}

// The customer lookup searches the demo's database; the city of the customer found shows beside it.
void ApplyLookupRules(qt::ComboBox& combo) {
    if (!combo.box().Connection() && CustomerDatabase()) combo.box().Connection(CustomerDatabase());
    QWidget* form = combo.parentWidget();
    if (!form) return;
    auto* city = form->findChild<QLabel*>(QStringLiteral("lblCustomerCity"));
    if (!city) {
        city = new QLabel(form);
        city->setObjectName(QStringLiteral("lblCustomerCity"));
    }
    const QRect g = combo.geometry();
    city->setGeometry(g.right() + 8, g.top(), std::max(40, kLeft + kWidth - g.right() - 8),
                      g.height());
    city->show();
    const auto show = [&combo, city] {
        const bool chosen = combo.ListIndex() >= 0;  // while dropped: the marked candidate
        city->setText(chosen ? combo.Item(QStringLiteral("City")).toString() : QString());
    };
    QObject::connect(&combo, &qt::ComboBox::ItemFound, city, show);
    QObject::connect(&combo, &qt::ComboBox::ListClick, city, show);
    QObject::connect(&combo, &qt::ControlWidget::Change, city, show);
}

void ApplyCustomerRules(qt::ControlWidget& control) {
    if (auto* combo = qobject_cast<qt::ComboBox*>(&control);
        combo && combo->objectName() == QLatin1String("cboCustomer")) {
        ApplyLookupRules(*combo);
        return;
    }
    // The lists are the application's data, not stored with the form: they come by name.
    if (auto* combo = qobject_cast<qt::ComboBox*>(&control); combo && combo->ListCount() == 0) {
        if (combo->objectName() == QLatin1String("cboCountry")) {
            QStringList countries;
            for (const char* country : CountryNames()) countries << QString::fromUtf8(country);
            combo->addItems(countries);
        } else if (combo->objectName() == QLatin1String("cboPayment")) {
            combo->addItems({QStringLiteral("Bank transfer"), QStringLiteral("Cash on delivery"),
                             QStringLiteral("Credit card"), QStringLiteral("Direct debit"),
                             QStringLiteral("Invoice")});
        }
        return;
    }
    auto* box = qobject_cast<qt::TxtBox*>(&control);
    if (!box || box->objectName() != QLatin1String("txtEmail")) return;
    QObject::connect(box, &qt::TxtBox::ValidationCheck, box, [box](bool& ValueOkay) {
        if (!EmailLooksValid(box->Text())) ValueOkay = false;
    });
}

void BuildCustomerForm(DemoForm& form) {
    form.setTitle(QStringLiteral("Customer"));
    int top = kTop;
    for (const Field& f : kFields) {
        const QString name = QString::fromLatin1(f.name);
        int height = 0;
        int width = kWidth;
        qt::ControlWidget* control;
        if (name.startsWith(QLatin1String("num"))) {
            control = MakeAmountBox(form, name);
            height = control->height();
            width = kAmountWidth;
        } else if (name.startsWith(QLatin1String("date"))) {
            control = MakeDateBox(form, name);
            height = control->height();
            width = kAmountWidth;
        } else if (name.startsWith(QLatin1String("cbo"))) {
            control = MakeComboBox(form, name);
            height = control->height();
            if (name == QLatin1String("cboCustomer")) width = kLookupWidth;
        } else {
            control = MakeTextBox(form, name, height);
        }
        form.addControl(control, name, QString::fromLatin1(f.caption),
                        QRect(kLeft, top, width, height));
        ApplyCustomerRules(*control);
        top += control->height() + kRowGap;
    }
}

}  // namespace qv::demo
