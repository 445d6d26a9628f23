// TCollection and TCollectionItem.
#include "FixtureClasses.h"

#include <gtest/gtest.h>

namespace {

TEST(Collection, AddIndexDeleteAndRangeErrors) {
    TFxItems items(nullptr);
    auto* a = static_cast<TFxItem*>(items.Add());
    auto* b = static_cast<TFxItem*>(items.Add());
    auto* c = static_cast<TFxItem*>(items.Insert(0));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Items(0), c);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(a->Collection(), &items);
    EXPECT_EQ(a->GetOwner(), &items);
    EXPECT_THROW(items.Items(3), EListError);
    EXPECT_THROW(items.Items(-1), EListError);

    const int updates = items.Updates;
    c->SetIndex(99);  // clamped to the end
    EXPECT_EQ(items.Items(2), c);
    EXPECT_EQ(items.Updates, updates + 1);  // the owner hears of the new order
    c->SetIndex(2);                         // no move, no news
    EXPECT_EQ(items.Updates, updates + 1);
    EXPECT_EQ(items.FindItemID(b->ID()), b);

    items.Delete(0);
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Items(0), b);
    delete b;  // an item leaves its collection when destroyed
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(items.Items(0), c);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
}

TEST(Collection, UpdatesAreHeldUntilTheLastEndUpdate) {
    TFxItems items(nullptr);
    items.Add();
    int before = items.Updates;
    items.BeginUpdate();
    items.BeginUpdate();
    items.Add();
    items.Add();
    items.EndUpdate();
    EXPECT_EQ(items.Updates, before);
    items.EndUpdate();
    EXPECT_EQ(items.Updates, before + 1);
}

TEST(Collection, AssignCopiesItemByItem) {
    TFxItems from(nullptr), to(nullptr);
    static_cast<TFxItem*>(from.Add())->SetCaption("a");
    static_cast<TFxItem*>(from.Add())->SetCaption("b");
    to.Add();
    to.Add();
    to.Add();
    to.Assign(&from);
    ASSERT_EQ(to.Count(), 2);
    EXPECT_EQ(to.Items(1)->Caption(), "b");
    to.Assign(&to);  // from itself: nothing lost
    ASSERT_EQ(to.Count(), 2);
    EXPECT_EQ(to.Items(1)->Caption(), "b");
    EXPECT_NE(to.Items(1), from.Items(1));
    TFxFont font;
    EXPECT_THROW(to.Assign(&font), EConvertError);
}

TEST(Collection, NamesAndDisplayNames) {
    TFxLabel label(nullptr);
    label.SetName("Label1");
    auto* item = static_cast<TFxItem*>(label.Items()->Add());
    label.Items()->Add();
    EXPECT_EQ(label.Items()->GetOwner(), &label);
    EXPECT_EQ(label.Items()->GetNamePath(), "Label1.Items");
    EXPECT_EQ(label.Items()->Items(1)->GetNamePath(), "Label1.Items[1]");
    EXPECT_EQ(item->DisplayName(), "TFxItem");
    item->SetCaption("Width");
    EXPECT_EQ(item->DisplayName(), "Width");
}

}  // namespace
