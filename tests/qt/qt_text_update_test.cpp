// A text field's editor follows the model edit by edit (and whole after program writes): after
// every step of typing, deleting, replacing a selection, pasting, undoing and writing, in one
// and in many lines, the editor holds exactly the model's text and selection.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

#include "hosts/qt/QtWidgets.h"
#include "scenario.h"

namespace {

using conformance::QtForm;
using qv::String;
using qv::qt::TxtBox;

// The editor's text for a model text: one "\n" for each "\r\n", "\r" or "\n".
QString Collapsed(const String& t) {
    QString s;
    for (size_t i = 0; i < t.size(); ++i) {
        const bool pair = t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n';
        s += QChar(t[i] == u'\r' ? u'\n' : t[i]);
        if (pair) ++i;
    }
    return s;
}

// A position inside a pair counts after it: the prefix ends in its "\r".
int CollapsedPosition(const String& t, int32_t pos) {
    return static_cast<int>(Collapsed(t.substr(0, static_cast<size_t>(pos))).size());
}

void ExpectEditorShowsModel(TxtBox& box, const std::string& where) {
    auto* field = dynamic_cast<qv::qt::QtTextField*>(box.site().FocusTarget());
    ASSERT_NE(field, nullptr) << where;
    const qv::TextEditModel& m = field->Model();
    const String& t = m.Text();
    // A password field, on one line or many, shows one mask character per unit.
    const auto shown = [&](const QString& text) {
        return m.PasswordChar().empty() ? text : QString(qsizetype(t.size()), m.PasswordChar()[0]);
    };
    QWidget* editor = field->Surface();
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        EXPECT_EQ(line->text(), shown(qv::qt::ToQString(t))) << where;
        EXPECT_EQ(line->cursorPosition(), m.Caret()) << where;
        const int start = line->hasSelectedText() ? line->selectionStart() : m.Caret();
        EXPECT_EQ(start, m.SelStart()) << where;
        EXPECT_EQ(static_cast<int>(line->selectedText().size()), m.SelLength()) << where;
        return;
    }
    auto* plain = qobject_cast<QPlainTextEdit*>(editor);
    ASSERT_NE(plain, nullptr) << where;
    EXPECT_EQ(plain->toPlainText(), shown(Collapsed(t))) << where;
    const QTextCursor c = plain->textCursor();
    EXPECT_EQ(c.anchor(), CollapsedPosition(t, m.Anchor())) << where;
    EXPECT_EQ(c.position(), CollapsedPosition(t, m.Caret())) << where;
}

void Keys(QWidget* editor, std::initializer_list<Qt::Key> keys,
          Qt::KeyboardModifiers mods = Qt::NoModifier) {
    for (Qt::Key k : keys) QTest::keyClick(editor, k, mods);
}

const auto kUndo = [](TxtBox&, QWidget* e) { Keys(e, {Qt::Key_Z}, Qt::ControlModifier); };

// clang-format off
const std::pair<const char*, std::function<void(TxtBox&, QWidget* editor)>> kSteps[] = {
    {"type", [](TxtBox&, QWidget* e) { QTest::keyClicks(e, "abc"); }},
    {"Enter and type", [](TxtBox&, QWidget* e) { Keys(e, {Qt::Key_Return}); QTest::keyClicks(e, "de"); }},
    {"Backspace twice", [](TxtBox&, QWidget* e) { Keys(e, {Qt::Key_Backspace, Qt::Key_Backspace}); }},
    {"Backspace over a line break", [](TxtBox&, QWidget* e) { Keys(e, {Qt::Key_Backspace}); }},
    {"Left, Delete", [](TxtBox&, QWidget* e) { Keys(e, {Qt::Key_Left, Qt::Key_Delete}); }},
    {"program SelText with breaks", [](TxtBox& b, QWidget*) { b.setSelStart(1); b.setSelText(QStringLiteral("x\r\ny\rz\n")); }},
    {"select across a break and type", [](TxtBox&, QWidget* e) {
         Keys(e, {Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left}, Qt::ShiftModifier);
         QTest::keyClicks(e, "Z"); }},
    {"paste lines", [](TxtBox&, QWidget* e) {
         QGuiApplication::clipboard()->setText(QStringLiteral("p\r\nq\nr\rs"));
         Keys(e, {Qt::Key_V}, Qt::ControlModifier); }},
    {"undo", kUndo},
    {"undo again redoes", kUndo},
    {"program Text", [](TxtBox& b, QWidget*) { b.setText(QStringLiteral("one\r\ntwo\rthree\nfour")); }},
    {"type inside a \\r\\n pair", [](TxtBox& b, QWidget* e) { b.setSelStart(4); QTest::keyClicks(e, "?"); }},
    {"a \\n written after a lone \\r joins them", [](TxtBox& b, QWidget*) {
         b.setSelStart(10);  // after "two\r"
         b.setSelText(QStringLiteral("\n")); }},
    {"Delete the \\r of a pair", [](TxtBox& b, QWidget* e) { b.setSelStart(9); Keys(e, {Qt::Key_Delete}); }},
    {"select all and type", [](TxtBox& b, QWidget* e) {
         b.setSelStart(0);
         b.setSelLength(static_cast<int>(b.Text().size()));
         QTest::keyClicks(e, "new"); }},
    {"undo the replacement", kUndo},
    {"password mask", [](TxtBox& b, QWidget* e) {
         b.setPasswordChar(QStringLiteral("*"));
         QTest::keyClicks(e, "pw");
         Keys(e, {Qt::Key_Backspace}); }},
    {"mask off", [](TxtBox& b, QWidget* e) { b.setPasswordChar({}); QTest::keyClicks(e, "q"); }},
    {"locked box takes program writes", [](TxtBox& b, QWidget* e) {
         b.setLocked(true);
         b.setSelStart(0);
         b.setSelText(QStringLiteral("L\r\n"));
         QTest::keyClicks(e, "refused");
         b.setLocked(false); }},
};
// clang-format on

class QtTextUpdate : public ::testing::TestWithParam<bool> {};

TEST_P(QtTextUpdate, EditorShowsTheModelAfterEveryStep) {
    QtForm f;
    f.a->setFirstCharacterCapital(false);
    f.a->setMultiLine(GetParam());
    f.a->setFocus();
    QApplication::processEvents();
    auto* field = f.a->site().FocusTarget();
    ASSERT_NE(field, nullptr);
    QWidget* editor = field->Surface();
    std::string done;
    for (const auto& [what, act] : kSteps) {
        act(*f.a, editor);
        done += std::string(what) + "; ";
        ExpectEditorShowsModel(*f.a, done);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, QtTextUpdate, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Multi" : "Single"; });

}  // namespace
