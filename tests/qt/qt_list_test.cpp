// The Qt list: a QComboBox showing the item list through an item model (no copy), following
// every change and the selection both ways, with the list's notices for the user's choices.
#include <gtest/gtest.h>

#include <QComboBox>
#include <string>

#include "hosts/qt/TxtBox.h"
#include "scenario.h"

namespace {

TEST(QtList, TheComboBoxShowsTheItemsAndFollowsTheSelection) {
    QWidget window;
    auto* box = new qv::qt::TxtBox(&window);
    conformance::ShowActive(window);
    qv::ListWidget& list = box->site().CreateList(u"ccCombo", -1, {});
    auto* combo = qobject_cast<QComboBox*>(conformance::SurfaceOf(*box, list));
    ASSERT_NE(combo, nullptr);
    std::string heard;
    list.notices().Click = [&] {
        heard += "click " + std::to_string(list.Items().Selected()) + ";";
    };
    list.notices().DropDown = [&] { heard += "drop;"; };

    qv::ItemList& items = list.Items();
    items.Insert(u"Anna");
    items.Insert(u"Österreich");
    items.SetData(1, 42);
    QCoreApplication::processEvents();  // appends reach the combo box together, from the loop
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), -1) << "a combo box would select the first item itself";
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Österreich"));
    EXPECT_EQ(combo->itemData(1), QVariant(42));
    items.Insert(u"Berta", 0);
    items.SetText(1, u"Anne");
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Berta"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Anne"));

    items.Select(2);
    EXPECT_EQ(combo->currentIndex(), 2);
    combo->setCurrentIndex(0);  // as the user's choice in the combo box
    EXPECT_EQ(items.Selected(), 0);
    items.Remove(0);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->count(), 2);
    list.Dropped(true);
    EXPECT_TRUE(list.Dropped());
    list.Dropped(false);
    items.Clear();
    EXPECT_EQ(combo->count(), 0);
    EXPECT_EQ(heard, "click 2;click 0;drop;");
}

TEST(QtList, AppendsWaitingForTheEventLoopComeBeforeAnyOtherChange) {
    QWidget window;
    auto* box = new qv::qt::TxtBox(&window);
    conformance::ShowActive(window);
    qv::ListWidget& list = box->site().CreateList(u"ccCombo", -1, {});
    auto* combo = qobject_cast<QComboBox*>(conformance::SurfaceOf(*box, list));
    ASSERT_NE(combo, nullptr);
    qv::ItemList& items = list.Items();
    const auto texts = [combo] {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
        return out.join(',');
    };

    items.Insert(u"Anna");
    items.Insert(u"Anton");
    items.Insert(u"Berta", 0);  // not an append: what waits goes first, then this
    EXPECT_EQ(texts(), QStringLiteral("Berta,Anna,Anton"));
    items.Insert(u"Carl");
    items.Insert(u"Dora");
    items.Remove(1);
    EXPECT_EQ(texts(), QStringLiteral("Berta,Anton,Carl,Dora"));
    items.Insert(u"Emil");
    items.Select(4);  // the selection needs its row
    EXPECT_EQ(combo->currentIndex(), 4);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Emil"));
    items.Insert(u"Fritz");
    list.Dropped(true);  // the list shows everything it has
    EXPECT_EQ(combo->count(), 6);
    list.Dropped(false);
    items.Insert(u"Gustav");
    items.SetText(6, u"Gerd");  // a row Qt has not heard of yet reads the new text later
    QCoreApplication::processEvents();
    EXPECT_EQ(texts(), QStringLiteral("Berta,Anton,Carl,Dora,Emil,Fritz,Gerd"));
    EXPECT_EQ(combo->currentIndex(), 4);
}

}  // namespace
