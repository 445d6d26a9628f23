// Ownership, names, notifications, destruction order, registry and roots.
#include "FixtureClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct ComponentTest : ::testing::Test {
    void SetUp() override { FxLog().clear(); }
    static std::vector<std::string> logWith(const std::string& part) {
        std::vector<std::string> out;
        for (const auto& s : FxLog())
            if (s.find(part) != std::string::npos) out.push_back(s);
        return out;
    }
};

TEST_F(ComponentTest, OwnerKeepsComponentsInOrderAndFindsThemByNameIgnoringCase) {
    TFxForm form(nullptr);
    auto* a = new TFxLabel(&form);
    auto* b = new TFxLabel(&form);
    a->SetName("Alpha");
    b->SetName("Beta");
    ASSERT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Components(0), a);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(form.FindComponent("BETA"), b);
    EXPECT_EQ(form.FindComponent("Gamma"), nullptr);
    EXPECT_THROW(form.Components(2), EListError);

    EXPECT_THROW(b->SetName("alpha"), EComponentError);  // taken, whatever the case
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("BETA");  // its own name in other letters
    EXPECT_EQ(b->Name(), "BETA");

    b->SetComponentIndex(0);
    EXPECT_EQ(form.Components(0), b);
    b->SetComponentIndex(99);
    EXPECT_EQ(form.Components(1), b);
}

TEST_F(ComponentTest, PublishedFieldFollowsNameAndLifetime) {
    TFxForm form(nullptr);
    auto* label = new TFxLabel(&form);
    label->SetName("Label1");
    EXPECT_EQ(form.Label1, label);
    label->SetName("Other");
    EXPECT_EQ(form.Label1, nullptr);
    label->SetName("Label2");
    EXPECT_EQ(form.Label2, label);
    TObject::Free(label);
    EXPECT_EQ(form.Label2, nullptr);
}

TEST_F(ComponentTest, InsertAndRemoveNotifyOwnerAndEveryOwnedComponentIncludingTheOneConcerned) {
    TFxForm form(nullptr);
    form.SetName("Form");
    auto* a = new TFxLabel(&form);
    a->SetName("A");
    FxLog().clear();
    auto* b = new TFxLabel(nullptr);
    b->SetName("B");
    form.InsertComponent(b);
    // The form tells itself, then each owned component in order (b included).
    EXPECT_EQ(logWith("+"), (std::vector<std::string>{"A +B label", "B +B label", "Form +B label"}));
    FxLog().clear();
    form.RemoveComponent(b);
    EXPECT_EQ(logWith("-"), (std::vector<std::string>{"A -B label", "B -B label", "Form -B label"}));
    EXPECT_EQ(b->Owner(), nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
    delete b;
}

TEST_F(ComponentTest, FreeDestroysOwnedLastFirstWhileObjectsAreStillComplete) {
    auto* form = new TFxForm(nullptr);
    form->SetName("Form");
    for (const char* n : {"A", "B", "C"}) (new TFxLabel(form))->SetName(n);
    FxLog().clear();
    TObject::Free(form);
    // Each removal reaches the form (and the remaining siblings) while the
    // removed one is still a TFxLabel.
    EXPECT_EQ(logWith("Form -"), (std::vector<std::string>{"Form -C label", "Form -B label", "Form -A label"}));
    EXPECT_EQ(logWith("A -"), (std::vector<std::string>{"A -C label", "A -B label", "A -A label"}));
}

TEST_F(ComponentTest, PlainDeleteAlsoLeavesOwnerAndReferencesClean) {
    TFxForm form(nullptr);
    auto* label = new TFxLabel(&form);
    label->SetName("Label1");
    auto* inner = new TFxLabel(label);  // owned by the label
    (void)inner;
    delete label;
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.Label1, nullptr);
}

TEST_F(ComponentTest, ConstructorThatThrowsLeavesNoEntryInTheOwner) {
    TFxForm form(nullptr);
    form.SetName("Form");
    TFxFaulty::Throw = true;
    EXPECT_THROW(new TFxFaulty(&form), EComponentError);
    TFxFaulty::Throw = false;
    EXPECT_EQ(form.ComponentCount(), 0);
    // Told of the insert, then of the removal; both happen while the object
    // is no more than a TComponent (base constructor, base destructor).
    EXPECT_EQ(logWith("Form "), (std::vector<std::string>{"Form +TComponent", "Form -TComponent"}));
}

TEST_F(ComponentTest, OwnerIsMarkedDestroyingWhileItsComponentsGo) {
    static bool ownerDestroying;
    ownerDestroying = false;
    struct Probe : TComponent {
        using TComponent::TComponent;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == opRemove && c == this && Owner())
                ownerDestroying = Owner()->ComponentState().Contains(csDestroying);
        }
    };
    auto* owner = new TComponent(nullptr);
    new Probe(owner);
    TObject::Free(owner);
    EXPECT_TRUE(ownerDestroying);
}

TEST_F(ComponentTest, FreeNotificationWorksBothWaysAcrossOwners) {
    TFxForm formA(nullptr), formB(nullptr);
    auto* label = new TFxLabel(&formA);
    auto* target = new TFxLabel(&formB);
    label->SetLink(target);
    TObject::Free(target);  // the label hears of it and drops the link
    EXPECT_EQ(label->Link(), nullptr);

    auto* target2 = new TFxLabel(&formB);
    label->SetLink(target2);
    TObject::Free(label);  // the target must not keep a dangling entry
    TObject::Free(target2);
    SUCCEED();
}

TEST_F(ComponentTest, StateHelpersReachChildren) {
    TFxForm form(nullptr);
    auto* label = new TFxLabel(&form);
    form.SetDesigning(true);
    EXPECT_TRUE(label->ComponentState().Contains(csDesigning));
    auto* late = new TFxLabel(&form);  // joins a designing owner
    EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
    form.SetDesigning(false, false);
    EXPECT_FALSE(form.ComponentState().Contains(csDesigning));
    EXPECT_TRUE(label->ComponentState().Contains(csDesigning));
    label->SetLoading(true);
    EXPECT_TRUE(label->ComponentState().Contains(csLoading));
    EXPECT_TRUE(label->ComponentState().Contains(csReading));
    label->Loaded();
    EXPECT_FALSE(label->ComponentState().Contains(csLoading));
}

TEST_F(ComponentTest, OwnershipCyclesAreRefused) {
    TFxForm form(nullptr);
    auto* child = new TFxLabel(&form);
    EXPECT_THROW(child->InsertComponent(&form), EComponentError);
    EXPECT_THROW(form.InsertComponent(&form), EComponentError);
}

TEST(ClassRegistry, NamesIgnoreCaseAndAnImpostorUnderARegisteredNameIsRefused) {
    EXPECT_EQ(GetClass("tfxlabel"), TFxLabel::StaticClass());
    EXPECT_NO_THROW(RegisterClass(TFxLabel::StaticClass()));  // again: nothing happens
    TMetaClass impostor("TFXLABEL", TComponent::StaticClass());
    EXPECT_THROW(RegisterClass(&impostor), EFilerError);
    EXPECT_EQ(GetClass("TFxLabel"), TFxLabel::StaticClass());
    EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
    try {
        FindClass("TNoSuchThing");
        FAIL();
    } catch (EClassNotFound& e) {
        EXPECT_EQ(e.Message, "Class TNoSuchThing not found");
    }
    UnRegisterClass(&impostor);  // not the registered one: no effect
    EXPECT_EQ(GetClass("TFxLabel"), TFxLabel::StaticClass());
}

TEST(ClassIdentity, NamesAndInheritance) {
    TFxLabel label(nullptr);
    EXPECT_EQ(label.ClassName(), "TFxLabel");
    EXPECT_EQ(label.ClassParent(), TComponent::StaticClass());
    EXPECT_TRUE(label.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_FALSE(label.InheritsFrom(TFxForm::StaticClass()));
    EXPECT_EQ(TObject::StaticClass()->ClassParent(), nullptr);
    EXPECT_EQ(TypeInfo<TFxFont*>()->Name, "TFxFont");
    EXPECT_EQ(TypeInfo<TFxFont*>()->Kind, tkClass);
}

TEST(GlobalRoots, FoundByNameAndDroppedWhenDestroyed) {
    auto* root = new TFxForm(nullptr);
    root->SetName("FxRootA");
    AddGlobalRoot(root);
    AddGlobalRoot(root);
    EXPECT_EQ(FindGlobalRoot("fxroota"), root);
    TObject::Free(root);
    EXPECT_EQ(FindGlobalRoot("FxRootA"), nullptr);
}

TEST(Persistent, AssignFallsBackToAssignToAndNamesBothClasses) {
    TFxFont font;
    TFxItems items(nullptr);
    try {
        font.Assign(&items);
        FAIL();
    } catch (EConvertError& e) {
        EXPECT_EQ(e.Message, "Cannot assign a TFxItems to a TFxFont");
    }
    try {
        font.Assign(nullptr);
        FAIL();
    } catch (EConvertError& e) {
        EXPECT_EQ(e.Message, "Cannot assign a nil to a TFxFont");
    }
}

}  // namespace
