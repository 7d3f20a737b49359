// The demo's customer form: six text boxes, three numeric boxes, three date boxes and two combo
// boxes, each set up for a different kind of entry, and the application's own rule for the
// e-mail address.
#pragma once

#include <QString>

#include "demo/DemoForm.h"

namespace qv::demo {

// Every printable ASCII character but the digits: ForbiddenCharacters of a digits-only box.
QString NonDigitCharacters();

// Fills an empty form with the customer controls (txtNumber, txtName, txtCity, txtEmail,
// txtNotes, txtPin; the amounts numPrice, numQuantity 1..999 and numDiscount, which may be
// negative; the dates dateBirth, dateOrder, dateDelivery; the country cboCountry and the payment
// method cboPayment) and gives them the customer rules.
void BuildCustomerForm(DemoForm& form);

// The caption the customer form gives a control of that name; the name itself for others.
QString CaptionFor(const QString& name);

// Connects the application's checks to a control by its name (the e-mail rule to txtEmail);
// controls loaded from a file get them the same way.
void ApplyCustomerRules(qt::ControlWidget& control);

// The e-mail rule: an address without "@" is not okay; an empty one is (the field is optional).
bool EmailLooksValid(const QString& text);

}  // namespace qv::demo
