#include "app/CheckListBox.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class CheckList : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"customers", "order items", "orders", "products"}) {
            list.addItem(QString::fromUtf8(name));
        }
        list.onClick = [this] { ++clicks; };
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
    }

    void clickAt(const QPoint& point) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, point);
    }

    CheckListBox list;
    int clicks = 0;
};

TEST_F(CheckList, ClickOnTheBoxTogglesSelectsAndReportsOnce) {
    clickAt(list.checkBoxRect(2).center());
    EXPECT_TRUE(list.checked(2));
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckList, ClickOnTheTextSelectsWithoutToggling) {
    clickAt(list.visualItemRect(list.item(1)).center());
    EXPECT_FALSE(list.checked(1));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckList, ClickBelowTheItemsReportsNothing) {
    clickAt(QPoint(20, list.viewport()->height() - 3));
    EXPECT_EQ(clicks, 0);
}

TEST_F(CheckList, SpaceTogglesTheCurrentItemWithoutReporting) {
    list.setCurrentRow(3);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_TRUE(list.checked(3));
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_FALSE(list.checked(3));
    EXPECT_EQ(clicks, 0);
}

TEST_F(CheckList, ArrowKeysReportOnlyWhenTheSelectionMoves) {
    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(&list, Qt::Key_End);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_EQ(clicks, 2);
}

TEST_F(CheckList, TypeAheadJumpsToTheFirstMatchAndRestartsAfterAPause) {
    QTest::keyClicks(&list, "ORD");
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(clicks, 3);
    QTest::keyClicks(&list, "ers");
    EXPECT_EQ(list.currentRow(), 2);

    QTest::qWait(CheckListBox::typeAheadInterval + 50);
    QTest::keyClick(&list, 'p');
    EXPECT_EQ(list.currentRow(), 3);

    // No match leaves the selection where it is and reports nothing.
    const int before = clicks;
    QTest::keyClick(&list, 'z');
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_EQ(clicks, before);
}

TEST_F(CheckList, BlankInsideATypedNameExtendsTheSearch) {
    QTest::keyClicks(&list, "order");
    ASSERT_EQ(list.currentRow(), 1);
    QTest::keyClicks(&list, " i");
    EXPECT_EQ(list.currentRow(), 1);
    // The blank still toggles the item it lands on.
    EXPECT_TRUE(list.checked(1));
}

TEST_F(CheckList, ItemsStandBehindTheStringListInterface) {
    TStrings& items = list.Items();
    items.BeginUpdate();
    items.Clear();
    items.Add("alpha");
    items.Add("beta");
    items.EndUpdate();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Strings(1), "beta");
    EXPECT_FALSE(list.checked(0));
    EXPECT_TRUE(list.item(0)->flags().testFlag(Qt::ItemIsUserCheckable));
    EXPECT_TRUE(list.updatesEnabled());
}

} // namespace
