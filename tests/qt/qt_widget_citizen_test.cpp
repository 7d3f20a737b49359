// The control widgets as a Qt developer expects them on a form: focus (buddies, tab order,
// proxies), dialog keys, Ctrl+A and the edit menu, one enabled state, accessibility, colours under
// other palettes and style sheets, the form's font, input methods, signals and property names.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>

#include "library/MemoryPropertyBag.h"
#include "scenario.h"

namespace {

using qv::Variant;
using qv::qt::ControlWidget;
using qv::qt::NumBox;
using qv::qt::TxtBox;

QWidget* EditorOf(const TxtBox& box) {
    return conformance::SurfaceOf(box, box.box().Field(box.box().ActiveFieldIndex()));
}

QColor Rgb(qv::Color c) {
    return qv::qt::ToQColor(c);
}

// A dialog laid out as an application would: labels with buddies in a form layout, a plain line
// edit between the controls, OK as the default button and Cancel.
struct Dialog {
    QDialog dialog;
    QFormLayout* form = new QFormLayout(&dialog);
    QLineEdit* plain = new QLineEdit;
    TxtBox* name = new TxtBox;
    NumBox* amount = new NumBox;
    TxtBox* notes = new TxtBox;
    QPushButton* ok = new QPushButton(QStringLiteral("OK"));
    QPushButton* cancel = new QPushButton(QStringLiteral("Cancel"));
    QLabel* nameLabel = new QLabel(QStringLiteral("&Name"));
    QLabel* amountLabel = new QLabel(QStringLiteral("&Amount"));
    Dialog() {
        form->addRow(QStringLiteral("&Plain"), plain);
        form->addRow(nameLabel, name);
        form->addRow(amountLabel, amount);
        form->addRow(QStringLiteral("N&otes"), notes);
        form->addRow(ok, cancel);
        nameLabel->setBuddy(name);
        amountLabel->setBuddy(amount);
        notes->setMultiLine(true);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        dialog.setModal(false);
        conformance::ShowActive(dialog);
    }
    void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    static void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }
};

// --- Focus ---------------------------------------------------------------------------------

TEST(QtCitizenFocus, BuddiesTabOrderAndHasFocusReachTheControl) {
    Dialog d;
    EXPECT_EQ(d.name->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(d.name->focusProxy(), EditorOf(*d.name));
    EXPECT_TRUE(d.amount->focusPolicy() & Qt::TabFocus);

    QTest::keyClick(&d.dialog, Qt::Key_N, Qt::AltModifier);  // the label's buddy shortcut
    QApplication::processEvents();
    EXPECT_TRUE(d.name->hasFocus());
    EXPECT_EQ(d.dialog.focusWidget(), EditorOf(*d.name));
    QTest::keyClick(&d.dialog, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(d.amount->hasFocus());
    EXPECT_FALSE(d.name->hasFocus());

    // An order the application sets: plain, amount, name.
    QWidget::setTabOrder(d.plain, d.amount);
    QWidget::setTabOrder(d.amount, d.name);
    d.Focus(d.plain);
    Dialog::Key(Qt::Key_Tab);
    EXPECT_TRUE(d.amount->hasFocus());
    Dialog::Key(Qt::Key_Tab);
    EXPECT_TRUE(d.name->hasFocus());
    Dialog::Key(Qt::Key_Backtab);
    EXPECT_TRUE(d.amount->hasFocus());
}

TEST(QtCitizenFocus, ANewlyShownFieldTakesTheFocusAndNothingTypedIsLost) {
    Dialog d;
    d.name->setFirstCharacterCapital(false);
    d.Focus(d.name);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ab"));
    ASSERT_TRUE(d.name->setMultiLine(true));
    QApplication::processEvents();
    EXPECT_TRUE(d.name->hasFocus());
    EXPECT_EQ(d.name->focusProxy(), EditorOf(*d.name));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cd"));
    EXPECT_EQ(d.name->Text(), QStringLiteral("abcd"));
    ASSERT_TRUE(d.name->setMultiLine(false));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("e"));
    EXPECT_EQ(d.name->Text(), QStringLiteral("abcde"));
}

// --- Dialog keys, Ctrl+A, the edit menu -------------------------------------------------------

TEST(QtCitizenKeys, EnterAndEscapeGoToTheDialogUnlessTheFieldUsesThem) {
    // clang-format off
    struct Row { const char* what; Qt::Key key; int which;  // 0 name, 1 amount, 2 notes (multi-line)
                 QDialog::DialogCode result; bool controlHearsIt; };
    const Row rows[] = {
        {"Enter in a single-line box", Qt::Key_Return, 0, QDialog::Accepted, false},
        {"Escape in a single-line box", Qt::Key_Escape, 0, QDialog::Rejected, false},
        {"Enter in a numeric box", Qt::Key_Return, 1, QDialog::Accepted, false},
        {"Escape in a numeric box", Qt::Key_Escape, 1, QDialog::Rejected, false},
        {"Enter in a multi-line box", Qt::Key_Return, 2, QDialog::Rejected, true}};
    // clang-format on
    for (const Row& r : rows) {
        int keyPresses = 0;  // outlives the dialog, whose closing may still signal
        Dialog d;
        ControlWidget* boxes[] = {d.name, d.amount, d.notes};
        ControlWidget* box = boxes[r.which];
        QObject::connect(box, &ControlWidget::KeyPress, [&](qint16&) { ++keyPresses; });
        QSignalSpy accepted(&d.dialog, &QDialog::accepted);
        QSignalSpy rejected(&d.dialog, &QDialog::rejected);
        d.Focus(box);
        Dialog::Key(r.key);
        EXPECT_EQ(accepted.count() + rejected.count(), r.controlHearsIt ? 0 : 1) << r.what;
        if (!r.controlHearsIt) {
            EXPECT_EQ(accepted.count() ? QDialog::Accepted : QDialog::Rejected, r.result) << r.what;
        }
        EXPECT_EQ(keyPresses, r.controlHearsIt ? 1 : 0) << r.what;
    }
    // Outside a dialog (no default button) the control keeps Enter: the numeric box clears the
    // highlighted value with it.
    conformance::QtFormOf<NumBox> f;
    ASSERT_TRUE(f.a->setValue(12));
    f.a->setFocus();
    QApplication::processEvents();
    Dialog::Key(Qt::Key_Return);
    EXPECT_TRUE(f.a->isNull());
}

TEST(QtCitizenKeys, CtrlASelectsAllThroughTheControlsOwnKeys) {
    std::vector<int> keyDowns;  // outlives the dialog
    Dialog d;
    d.name->setFirstCharacterCapital(false);
    d.Focus(d.name);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hello"));
    QObject::connect(d.name, &TxtBox::KeyDown, [&](qint16& k, qint16&) { keyDowns.push_back(k); });
    Dialog::Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(d.name->SelStart(), 0);
    EXPECT_EQ(d.name->SelLength(), 5);
    EXPECT_NE(std::find(keyDowns.begin(), keyDowns.end(), 'A'), keyDowns.end());

    ASSERT_TRUE(d.amount->setValue(42));
    d.Focus(d.amount);
    Dialog::Key(Qt::Key_End);  // hides the highlight
    ASSERT_FALSE(d.amount->box().IsHighlighted());
    Dialog::Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(d.amount->box().IsHighlighted());
    EXPECT_EQ(d.amount->displayText(), QStringLiteral("42,00"));  // no character typed
}

QAction* Entry(QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (QString(a->text()).remove(QChar('&')) == text) return a;
    ADD_FAILURE() << "no entry " << text.toStdString();
    static QAction none;
    return &none;
}

TEST(QtCitizenKeys, TheEditMenuActsThroughTheControlsKeysAndLimits) {
    std::string keys;  // outlives the dialog
    Dialog d;
    d.name->setFirstCharacterCapital(false);
    ASSERT_TRUE(d.name->setMaxLength(6));
    d.Focus(d.name);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
    QObject::connect(d.name, &TxtBox::KeyDown, [&](qint16& k, qint16& s) {
        keys += std::to_string(k) + "/" + std::to_string(s) + " ";
    });
    {
        std::unique_ptr<QMenu> menu(d.name->createStandardContextMenu());
        EXPECT_FALSE(Entry(*menu, "Copy")->isEnabled());  // nothing selected yet
        EXPECT_TRUE(Entry(*menu, "Undo")->isEnabled());
        Entry(*menu, "Select All")->trigger();
    }
    EXPECT_EQ(d.name->SelLength(), 3);
    std::unique_ptr<QMenu> menu(d.name->createStandardContextMenu());
    Entry(*menu, "Copy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("abc"));
    Entry(*menu, "Delete")->trigger();
    EXPECT_EQ(d.name->Text(), QString());
    Entry(*menu, "Undo")->trigger();
    EXPECT_EQ(d.name->Text(), QStringLiteral("abc"));
    QApplication::clipboard()->setText(QStringLiteral("12345"));
    d.name->setSelStart(3);
    menu.reset(d.name->createStandardContextMenu());
    Entry(*menu, "Paste")->trigger();
    EXPECT_EQ(d.name->Text(), QStringLiteral("abc123"));  // MaxLength cuts the paste short
    EXPECT_EQ(keys, "65/2 67/2 46/0 90/2 86/2 ");

    d.name->setLocked(true);
    std::unique_ptr<QMenu> locked(d.name->createStandardContextMenu());
    EXPECT_FALSE(Entry(*locked, "Paste")->isEnabled());
    EXPECT_FALSE(Entry(*locked, "Cut")->isEnabled());
}

// --- One enabled state ----------------------------------------------------------------------

TEST(QtCitizenEnabled, QtsEnabledStateAndTheControlsAreOne) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* group = new QGroupBox(QStringLiteral("Group"));
    auto* inner = new QVBoxLayout(group);
    auto* before = new QLineEdit;
    auto* name = new TxtBox;
    auto* amount = new NumBox;
    auto* after = new QLineEdit;
    inner->addWidget(name);
    inner->addWidget(amount);
    layout->addWidget(before);
    layout->addWidget(group);
    layout->addWidget(after);
    conformance::ShowActive(window);

    // Through a QWidget pointer, as any Qt code disables a widget.
    static_cast<QWidget*>(name)->setEnabled(false);
    EXPECT_FALSE(name->Enabled());
    EXPECT_EQ(EditorOf(*name)->palette().color(QPalette::Base), Rgb(name->box().DisabledColor()));
    name->setEnabled(true);  // the control's own property
    EXPECT_TRUE(name->isEnabled());

    group->setEnabled(false);  // an ancestor
    EXPECT_FALSE(name->Enabled());
    EXPECT_FALSE(amount->Enabled());
    EXPECT_EQ(amount->site().BackColor(), amount->box().DisabledColor());
    // Saved meanwhile, the controls stay enabled: the group box disabled them, not the form.
    qv::MemoryPropertyBag bag;
    name->writeProperties(bag);
    EXPECT_TRUE(bag.ReadProperty(u"Enabled", Variant(true)).ToBool());
    // The application enabling a control inside a disabled group box: still disabled.
    name->setEnabled(true);
    EXPECT_FALSE(name->isEnabled());
    EXPECT_FALSE(name->Enabled());
    group->setEnabled(true);
    EXPECT_TRUE(name->Enabled());
    EXPECT_TRUE(amount->Enabled());

    // A disabled numeric box is no Tab stop.
    amount->setEnabled(false);
    EXPECT_FALSE(amount->isEnabled());
    name->setFocus();
    QApplication::processEvents();
    Dialog::Key(Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    qv::MemoryPropertyBag disabled;
    amount->writeProperties(disabled);
    EXPECT_FALSE(disabled.ReadProperty(u"Enabled", Variant(true)).ToBool());
}

// --- Accessibility --------------------------------------------------------------------------

TEST(QtCitizenAccessibility, NumericBoxReadsAsASpinBoxAndTheFieldCarriesTheName) {
    Dialog d;
    ASSERT_TRUE(d.amount->setValue(1234.5));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(d.amount);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::SpinBox);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Amount"));
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("1.234,50"));
    QAccessibleValueInterface* value = a->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(value->maximumValue().toDouble(), 9999999.99);
    EXPECT_DOUBLE_EQ(value->minimumStepSize().toDouble(), 0.01);
    value->setCurrentValue(7);
    EXPECT_EQ(d.amount->displayText(), QStringLiteral("7,00"));

    d.name->setAccessibleDescription(QStringLiteral("The customer's name"));
    d.Focus(d.name);
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(EditorOf(*d.name));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->role(), QAccessible::EditableText);
    EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Name"));
    EXPECT_EQ(field->text(QAccessible::Description), QStringLiteral("The customer's name"));
}

// --- Colours, style sheets, fonts -------------------------------------------------------------

TEST(QtCitizenLook, TextStaysReadableUnderADarkPaletteAndAStyleSheet) {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, Qt::white);
    QApplication::setPalette(dark);
    {
        Dialog d;
        d.Focus(d.name);  // FocusColor or ErrorColor: pastel
        const QPalette field = EditorOf(*d.name)->palette();
        EXPECT_GE(qv::qt::ContrastRatio(field.color(QPalette::Text), field.color(QPalette::Base)),
                  4.5);
        EXPECT_EQ(field.color(QPalette::Base), Rgb(d.name->box().ErrorColor()));  // as set
        d.Focus(d.amount);
        Dialog::Key(Qt::Key_End);  // the digits off the highlight, on the state colour
        auto* digits = dynamic_cast<qv::qt::QtLabel*>(
            conformance::ItemOf(*d.amount, d.amount->box().Display()));
        ASSERT_NE(digits, nullptr);
        EXPECT_GE(qv::qt::ContrastRatio(digits->TextColor(), Rgb(d.amount->site().BackColor())),
                  4.5);
        // Away from the state colours the palette's own pair stays.
        d.Focus(d.plain);
        EXPECT_EQ(EditorOf(*d.name)->palette().color(QPalette::Text), QColor(Qt::white));
    }
    QApplication::setPalette(light);

    qApp->setStyleSheet(QStringLiteral("QLineEdit { background: white; border: 3px solid red; }"));
    {
        Dialog d;
        d.name->setText(QStringLiteral("x"));
        d.Focus(d.name);
        QWidget* editor = EditorOf(*d.name);
        const QImage image = editor->grab().toImage();
        EXPECT_EQ(image.pixelColor(1, image.height() / 2), Rgb(d.name->box().FocusColor()))
            << "a second frame or the sheet's background";
        EXPECT_EQ(image.pixelColor(image.width() - 2, 1), Rgb(d.name->box().FocusColor()));
    }
    qApp->setStyleSheet(QString());
}

TEST(QtCitizenLook, TheFormsFontReachesControlsThatTookItAndTheyGrowLikeALineEdit) {
    QWidget form;
    form.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    auto* layout = new QFormLayout(&form);
    auto* adopted = new TxtBox(&form);
    auto* own = new NumBox(&form);
    ASSERT_TRUE(own->setFontSize(20));
    layout->addRow(QStringLiteral("A"), adopted);
    layout->addRow(QStringLiteral("B"), own);
    conformance::ShowActive(form);
    const int heightBefore = adopted->height();
    form.setFont(QFont(QStringLiteral("DejaVu Sans"), 16));
    QApplication::processEvents();
    EXPECT_EQ(adopted->FontSize(), 16);
    EXPECT_EQ(own->FontSize(), 20);
    EXPECT_GT(adopted->sizeHint().height(), heightBefore);
    EXPECT_EQ(adopted->sizePolicy().horizontalPolicy(),
              QLineEdit().sizePolicy().horizontalPolicy());
}

// --- Input methods --------------------------------------------------------------------------

TEST(QtCitizenInputMethod, PreeditTextShowsAndOnlyCommittedTextIsTyped) {
    for (bool multiLine : {false, true}) {
        int changes = 0;  // outlives the dialog
        Dialog d;
        TxtBox* box = multiLine ? d.notes : d.name;
        box->setFirstCharacterCapital(false);
        d.Focus(box);
        QWidget* editor = EditorOf(*box);
        const QImage before = editor->grab().toImage();
        QObject::connect(box, &TxtBox::Change, [&] { ++changes; });
        QInputMethodEvent compose(QStringLiteral("ni"), {});
        QApplication::sendEvent(editor, &compose);
        EXPECT_EQ(box->Text(), QString()) << multiLine;
        EXPECT_EQ(changes, 0);
        EXPECT_NE(editor->grab().toImage(), before) << "the composition is not shown";
        if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
            EXPECT_EQ(plain->textCursor().block().layout()->preeditAreaText(),
                      QStringLiteral("ni"));
        }
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("\u4f60"));
        QApplication::sendEvent(editor, &commit);
        EXPECT_EQ(box->Text(), QStringLiteral("\u4f60")) << multiLine;
        EXPECT_EQ(changes, 1);
        // A composition given up leaves the text as it was.
        QInputMethodEvent again(QStringLiteral("hao"), {});
        QApplication::sendEvent(editor, &again);
        QInputMethodEvent cancel;
        QApplication::sendEvent(editor, &cancel);
        EXPECT_EQ(box->Text(), QStringLiteral("\u4f60"));
        conformance::ExpectShowsModel(*box, multiLine ? "multi-line" : "single-line");
    }
}

// --- Qt-style names ---------------------------------------------------------------------------

TEST(QtCitizenSignals, UserPropertiesNotifyAndEditingFinishedFollowsQLineEdit) {
    Dialog d;
    const QMetaProperty text = d.name->metaObject()->userProperty();
    EXPECT_STREQ(text.notifySignal().name().constData(), "textChanged");
    EXPECT_STREQ(d.amount->metaObject()->userProperty().notifySignal().name().constData(),
                 "valueChanged");
    QSignalSpy texts(d.name, &TxtBox::textChanged);
    QSignalSpy finished(d.name, &TxtBox::editingFinished);
    QSignalSpy values(d.amount, &NumBox::valueChanged);
    d.Focus(d.name);
    d.Focus(d.plain);
    EXPECT_EQ(finished.count(), 0);  // left without an edit
    d.Focus(d.name);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ab"));
    ASSERT_EQ(texts.count(), 2);
    EXPECT_EQ(texts.at(1).at(0).toString(), QStringLiteral("ab"));
    d.Focus(d.plain);
    EXPECT_EQ(finished.count(), 1);
    d.Focus(d.amount);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    ASSERT_EQ(values.count(), 1);
    EXPECT_EQ(values.at(0).at(0).toDouble(), 5.0);
}

// A refused write returns false and changes nothing, as Qt's setters do; a typed setter follows
// the same convention while the control itself still raises. A name not declared warns.
TEST(QtCitizenSignals, RefusedAndUndeclaredPropertyWritesReturnFalse) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
            if (type == QtWarningMsg) warnings << msg;
        });
    TxtBox box;
    QStringList refusals;
    QObject::connect(&box, &TxtBox::propertyWriteRefused,
                     [&](const QString& name, int number, const QString&) {
                         refusals << name + " " + QString::number(number);
                     });
    EXPECT_FALSE(box.setProperty("Maxlength", 5));
    EXPECT_TRUE(box.setProperty("MaxLength", 12));
    qInstallMessageHandler(previous);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("\"Maxlength\"")));
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("did you mean \"MaxLength\"")));
    EXPECT_FALSE(box.setProperty("MaxLength", -1));
    EXPECT_FALSE(box.setProperty("MaxLength", 70000));
    EXPECT_FALSE(box.setMaxLength(-1));
    EXPECT_EQ(box.MaxLength(), 12);
    EXPECT_EQ(refusals, QStringList({"MaxLength 380", "MaxLength 380", "MaxLength 380"}));
    EXPECT_THROW(box.box().MaxLength(-1), qv::RuntimeError);
}

}  // namespace
