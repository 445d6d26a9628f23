#include "store/UserRights.h"
#include "workstation/TextFilters.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFilters, NumbersKeepDigitsStarHashAndBlanksInOrder) {
    const TFilteredText r = StripNumberChars("12ab#*3X 4");
    EXPECT_EQ(r.Text, "12#*3 4");
    EXPECT_EQ(r.Caret, 2) << "where the first removed character stood";
    EXPECT_EQ(StripNumberChars("Q").Text, "");
    EXPECT_EQ(StripNumberChars("+48 (22) 123-45-67").Text, "48 22 1234567");
    EXPECT_EQ(StripNumberChars("0800").Caret, -1);
    // Windows-1250: capital and small Polish letters, the euro sign.
    EXPECT_EQ(StripNumberChars("1\xCA\xEA"
                               "2\xA3\x80"
                               "3")
                  .Text,
              "123");
}

TEST(TextFilters, NamesLoseQuotesBackslashTildeAndBackQuote) {
    const TFilteredText r = StripNameChars("O'Hara \"Jo\" `~\\");
    EXPECT_EQ(r.Text, "OHara Jo ");
    EXPECT_EQ(r.Caret, 1);
    EXPECT_EQ(StripNameChars("Zo\xBF"
                             "ka-1")
                  .Text,
              "Zo\xBF"
              "ka-1")
        << "case and other characters stay";
}

TEST(UserRights, SentencesByKind) {
    const auto text = [](const char* key) { return AnsiString("<") + key + ">"; };
    TUserRight right{rkNumber, 1, "555"};
    EXPECT_EQ(RightSentence(right, "view", text), "<IDS_PRIV_ALLOW> view <IDS_PRIV_SUBSCRIBER>:\n555");
    right.Kind = rkAll;
    EXPECT_EQ(RightSentence(right, "view", text), "<IDS_PRIV_ALLOW> view <IDS_PRIV_ALL>.");
    right.Kind = rkNone;
    EXPECT_EQ(RightSentence(right, "view", text), "<IDS_PRIV_DENY> view");
    right.Kind = 7;
    EXPECT_EQ(RightSentence(right, "view", text), "error");
}

TEST(UserRights, DeletingFollowsTheRightOnEitherSideOfTheCall) {
    EXPECT_TRUE(MayDeleteRecording({rkAll, 1, {}}, "101", "202"));
    EXPECT_FALSE(MayDeleteRecording({rkNone, 1, {}}, "101", "202"));
    const TUserRight own{rkNumber, 1, "202"};
    EXPECT_TRUE(MayDeleteRecording(own, "202", "300"));  // the user called
    EXPECT_TRUE(MayDeleteRecording(own, "101", "202"));  // the user was called
    EXPECT_FALSE(MayDeleteRecording(own, "101", "300"));
    EXPECT_FALSE(MayDeleteRecording(own, "2020", "20"));  // whole numbers only
}

TEST(UserRights, RetentionMonthsAndConfirmation) {
    const int months[] = {-1, 1, 2, 3, 6, 12, 24, 36, 48, 60};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(RetentionMonths(i), months[i]);
    EXPECT_EQ(RetentionMonths(10), -1);
    EXPECT_EQ(RetentionMonths(-1), -1);

    EXPECT_TRUE(RetentionChangeNeedsConfirmation(3, 0));   // switched on
    EXPECT_TRUE(RetentionChangeNeedsConfirmation(1, 3));   // shortened
    EXPECT_FALSE(RetentionChangeNeedsConfirmation(4, 3));  // lengthened
    EXPECT_FALSE(RetentionChangeNeedsConfirmation(0, 3));  // switched off
    EXPECT_FALSE(RetentionChangeNeedsConfirmation(3, 3));
    EXPECT_TRUE(RetentionChangeNeedsConfirmation(9, -5)) << "an unknown stored choice means off";
}

}  // namespace
