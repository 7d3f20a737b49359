#include "demo/CustomerForm.h"

#include "hosts/qt/TxtBox.h"

namespace qv::demo {

namespace {

struct Field {
    const char* name;
    const char* caption;
};

constexpr Field kFields[] = {
    {"txtNumber", "Customer no."}, {"txtName", "Name"},   {"txtCity", "City code"},
    {"txtEmail", "E-mail"},        {"txtNotes", "Notes"}, {"txtPin", "PIN"},
};

constexpr int kLeft = DemoForm::kCaptionWidth + DemoForm::kCaptionGap + 12;
constexpr int kTop = 12;
constexpr int kRowGap = 8;
constexpr int kWidth = 240;
constexpr int kNotesHeight = 64;

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

void ApplyCustomerRules(qt::ControlWidget& control) {
    auto* box = qobject_cast<qt::TxtBox*>(&control);
    if (!box || box->objectName() != QLatin1String("txtEmail")) return;
    QObject::connect(box, &qt::TxtBox::ValidationCheck, box, [box](bool& ValueOkay) {
        if (!EmailLooksValid(box->Text())) ValueOkay = false;
    });
}

void BuildCustomerForm(DemoForm& form) {
    form.setTitle(QStringLiteral("Customer"));
    const QString digitsOnly = NonDigitCharacters();
    int top = kTop;
    for (const Field& f : kFields) {
        const QString name = QString::fromLatin1(f.name);
        auto* box = new qt::TxtBox(&form);
        int height = box->height();
        if (name == "txtNumber") {
            box->setForbiddenCharacters(digitsOnly);
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
            box->setForbiddenCharacters(digitsOnly);
            box->setMaxLength(4);
        }
        form.addControl(box, name, QString::fromLatin1(f.caption),
                        QRect(kLeft, top, kWidth, height));
        ApplyCustomerRules(*box);
        top += box->height() + kRowGap;
    }
}

}  // namespace qv::demo
