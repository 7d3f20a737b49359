// Random edits of a multi-line edit model, checked against a plain recomputation after every
// step: the index of line breaks behind the editor positions, the edit the model reports to the
// Qt editor, and undo as its own inverse. The indexes are kept up to date edit by edit, so an
// off-by-one shows only after particular sequences.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "library/TextEditModel.h"

namespace {

using qv::String;
using qv::TextEditModel;

struct Env final : TextEditModel::Environment {
    String clipboard;
    void Beep() override {}
    String ClipboardText() override { return clipboard; }
    void ClipboardText(const String& text) override { clipboard = text; }
    void TextChanged() override {}
};

bool PairAt(const String& t, size_t i) {
    return i + 1 < t.size() && t[i] == u'\r' && t[i + 1] == u'\n';
}

// A position in an editor that shows "\r\n" as one character (one between the two: after it).
int32_t NaiveCollapsed(const String& t, int32_t pos) {
    int32_t pairs = 0;
    for (int32_t i = 0; i + 1 < pos; ++i) pairs += PairAt(t, static_cast<size_t>(i));
    return pos - pairs;
}

String RandomPiece(std::mt19937& rng) {
    static const char16_t kUnits[] = {u'a', u'b', u' ', u'\r', u'\n', u'\r', u'x'};
    String s;
    const int n = std::uniform_int_distribution<int>(0, 5)(rng);
    for (int i = 0; i < n; ++i) s += kUnits[rng() % std::size(kUnits)];
    return s;
}

void ExpectIndexesAgree(const TextEditModel& m, const std::string& where) {
    const String& t = m.Text();
    const auto n = static_cast<int32_t>(t.size());
    for (int32_t pos = 0; pos <= n; ++pos) {
        const int32_t collapsed = NaiveCollapsed(t, pos);
        ASSERT_EQ(m.CollapsedPosition(pos), collapsed) << where << " at " << pos;
        const bool splits = pos > 0 && PairAt(t, static_cast<size_t>(pos - 1));
        if (!splits) {
            ASSERT_EQ(m.ExpandedPosition(collapsed), pos) << where << " at " << pos;
        }
    }
}

TEST(TextEditModelRandom, IndexesEditsAndUndoAgreeWithARecomputation) {
    std::mt19937 rng(20261207);
    for (int run = 0; run < 40; ++run) {
        Env env;
        TextEditModel m(true, env);
        m.Text(RandomPiece(rng));
        for (int step = 0; step < 150; ++step) {
            const String before = m.Text();
            const uint64_t revision = m.Revision();
            const auto len = static_cast<int32_t>(before.size());
            const auto at = [&] { return std::uniform_int_distribution<int32_t>(0, len)(rng); };
            // Undo swaps with the undo step: twice is where it started.
            const auto undoTwice = [&] {
                const String text = m.Text();
                const int32_t caret = m.Caret(), anchor = m.Anchor();
                m.Undo();
                m.Undo();
                ASSERT_EQ(m.Text(), text) << "run " << run << " step " << step;
                ASSERT_EQ(m.Caret(), caret);
                ASSERT_EQ(m.Anchor(), anchor);
                m.Undo();
            };
            // clang-format off
            const std::function<void()> ops[] = {
                [&] { m.Select(at(), at()); }, [&] { m.InsertTyped(u"ab\r"[rng() % 3]); },
                [&] { m.Enter(); }, [&] { m.Backspace(); }, [&] { m.Delete(); },
                [&] { env.clipboard = RandomPiece(rng), m.Paste(); }, [&] { m.Cut(); },
                [&] { m.SelText(RandomPiece(rng)); }, undoTwice};
            // clang-format on
            const int op = static_cast<int>(rng() % std::size(ops));
            ops[op]();
            const std::string where = "run " + std::to_string(run) + " step " +
                                      std::to_string(step) + " op " + std::to_string(op);
            ASSERT_LE(m.Caret(), static_cast<int32_t>(m.Text().size())) << where;
            ASSERT_LE(m.Anchor(), static_cast<int32_t>(m.Text().size())) << where;
            ExpectIndexesAgree(m, where);
            ASSERT_FALSE(HasFatalFailure());
            // The edit reported for the editor turns the old text into the new one.
            const TextEditModel::Edit& e = m.LastEdit();
            if (m.Revision() != revision && !e.whole) {
                ASSERT_LE(e.start + e.removed, len) << where;
                String rebuilt = before;
                rebuilt.replace(
                    static_cast<size_t>(e.start), static_cast<size_t>(e.removed),
                    m.Text().substr(static_cast<size_t>(e.start), static_cast<size_t>(e.inserted)));
                ASSERT_EQ(rebuilt, m.Text()) << where;
            }
        }
    }
}

}  // namespace
