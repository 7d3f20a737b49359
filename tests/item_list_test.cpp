// The list model: searches by simple case folding from start + 1 with wrap-around, agreeing with
// a plain scan through every change; selection and NewIndex following inserts and removals.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "library/CaseFold.h"
#include "library/ItemList.h"

namespace {

using qv::ItemList;
using qv::String;

ItemList ListOf(std::initializer_list<const char16_t*> texts) {
    ItemList list;
    for (const char16_t* t : texts) list.Insert(t);
    return list;
}

// The searches as a list widget defines them, item by item.
int32_t ScanFor(const ItemList& list, qv::StringView text, int32_t start, bool prefix) {
    const int32_t n = list.Count();
    if (start < 0 || start >= n) start = -1;
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t i = (start + k) % n;
        const String& item = list.Text(i);
        if (prefix ? qv::StartsWithFolded(item, text) : qv::EqualsFolded(item, text)) return i;
    }
    return -1;
}

TEST(CaseFold, SimpleFoldingBeyondAscii) {
    struct Row {
        const char16_t* a;
        const char16_t* b;
        bool equal;
    } rows[] = {
        {u"ÄRGER", u"ärger", true},
        {u"ΣΟΦΟΣ", u"σοφος", true},
        {u"σοφος", u"σοφoς", false},           // a Latin o is no omicron
        {u"ΣΟΦΟΣ", u"σοφοσ", true},            // final sigma folds to sigma
        {u"\U00010400", u"\U00010428", true},  // Deseret, a surrogate pair
        {u"ẞ", u"ß", true},
        {u"STRASSE", u"straße", false},  // full folding (ß to ss) is not simple folding
        {u"İ", u"i", false},             // Turkish dotted I has no simple folding
        {u"\xD800", u"\xD800", true},    // a lone surrogate stays itself
        {u"Ǆ", u"ǆ", true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(qv::EqualsFolded(r.a, r.b), r.equal) << qv::ToUtf8(r.a) << " " << qv::ToUtf8(r.b);
        EXPECT_EQ(qv::CompareFolded(r.a, r.b) == 0, r.equal) << qv::ToUtf8(r.a);
    }
    EXPECT_TRUE(qv::StartsWithFolded(u"Österreich", u"öST"));
    EXPECT_FALSE(qv::StartsWithFolded(u"Ös", u"öST"));
    EXPECT_EQ(qv::Folded(u"\U00010400X"), String(u"\U00010428x"));
}

TEST(ItemList, SearchesStartAfterTheStartItemAndWrapAround) {
    const ItemList names = ListOf({u"Anna", u"Anton", u"Berta"});
    EXPECT_EQ(names.FindPrefix(u"an", 0), 1);  // item 0 is examined last
    EXPECT_EQ(names.FindPrefix(u"an", -1), 0);
    EXPECT_EQ(names.FindPrefix(u"ANT", 0), 1);
    EXPECT_EQ(names.FindExact(u"anna", 0), 0);
    EXPECT_EQ(names.FindExact(u"an", 0), -1);
    EXPECT_EQ(names.FindPrefix(u"b", 2), 2);  // the start item itself, last
    EXPECT_EQ(names.FindPrefix(u"c", 0), -1);
    EXPECT_EQ(names.FindPrefix(u"", 1), 2);  // every item begins with nothing
    const ItemList fruit = ListOf({u"Apfel", u"Birne", u"Avocado"});
    EXPECT_EQ(fruit.FindPrefix(u"a", 0), 2);
    EXPECT_EQ(fruit.FindPrefix(u"a", 2), 0);
    EXPECT_EQ(fruit.FindPrefix(u"a", 7), 0);  // a start outside the list searches from item 0
    EXPECT_EQ(ItemList().FindPrefix(u"a", 0), -1);
    // A unit 0 in the text is a character like any other, not the end of a short item.
    ItemList zeros;
    zeros.Insert(u"a");
    zeros.Insert(String(u"a\0b", 3));
    EXPECT_EQ(zeros.FindPrefix(String(u"a\0", 2), -1), 1);
    EXPECT_EQ(zeros.FindExact(u"A", 1), 0);
    // Heads of four units at the top of the range (U+FFFF) do not overflow.
    ItemList top;
    top.Insert(u"\uFFFF\uFFFF\uFFFF\uFFFFx");
    EXPECT_EQ(top.FindPrefix(u"\uFFFF\uFFFF\uFFFF\uFFFF", 0), 0);
    EXPECT_EQ(top.FindExact(u"\uFFFF\uFFFF\uFFFF\uFFFFX", 0), 0);
}

TEST(ItemList, SelectionAndNewIndexFollowTheItems) {
    ItemList list = ListOf({u"a", u"b", u"c"});
    EXPECT_EQ(list.NewIndex(), 2);
    ASSERT_TRUE(list.Select(1));
    EXPECT_EQ(list.Insert(u"x", 0), 0);  // before the selection: it moves with its item
    EXPECT_EQ(list.Selected(), 2);
    EXPECT_EQ(list.NewIndex(), 0);
    EXPECT_EQ(list.Insert(u"y", 9), -1);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_FALSE(list.Select(4));
    EXPECT_EQ(list.Selected(), 2);
    ASSERT_TRUE(list.Remove(0));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(list.NewIndex(), -1);  // the newest item went
    ASSERT_TRUE(list.Remove(1));     // the selected item
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_FALSE(list.Remove(5));
    EXPECT_FALSE(list.SetText(-1, u"z"));
    EXPECT_EQ(list.Text(9), String());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.NewIndex(), -1);
}

// Random lists, changes and searches: the index agrees with the scan after every change.
TEST(ItemList, IndexAgreesWithAScanThroughRandomChanges) {
    std::mt19937 rng(20261207);
    const char16_t letters[] = u"aAbBäÄσΣς";  // few letters: long shared prefixes
    const auto word = [&] {
        String w;
        for (int i = std::uniform_int_distribution<int>(0, 6)(rng); i > 0; --i)
            w += letters[std::uniform_int_distribution<int>(0, 8)(rng)];
        return w;
    };
    for (int round = 0; round < 20; ++round) {
        ItemList list;
        for (int step = 0; step < 300; ++step) {
            const int32_t n = list.Count();
            switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
                case 0:
                    list.Insert(word(), std::uniform_int_distribution<int32_t>(0, n)(rng));
                    break;
                case 1:
                    list.Remove(std::uniform_int_distribution<int32_t>(-1, n)(rng));
                    break;
                case 2:
                    list.SetText(std::uniform_int_distribution<int32_t>(0, n)(rng), word());
                    break;
                default:
                    list.Insert(word());
                    break;
            }
            const String text = word();
            const int32_t start = std::uniform_int_distribution<int32_t>(-1, list.Count())(rng);
            ASSERT_EQ(list.FindPrefix(text, start), ScanFor(list, text, start, true))
                << "round " << round << " step " << step << " prefix " << qv::ToUtf8(text);
            ASSERT_EQ(list.FindExact(text, start), ScanFor(list, text, start, false))
                << "round " << round << " step " << step << " exact " << qv::ToUtf8(text);
        }
    }
}

}  // namespace
