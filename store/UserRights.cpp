#include "store/UserRights.h"

#include <iterator>

AnsiString RightSentence(const TUserRight& right, const AnsiString& action, const TTextLookup& text) {
    switch (right.Kind) {
    case rkAll: return text("IDS_PRIV_ALLOW") + " " + action + " " + text("IDS_PRIV_ALL") + ".";
    case rkNone: return text("IDS_PRIV_DENY") + " " + action;
    case rkNumber:
        return text("IDS_PRIV_ALLOW") + " " + action + " " + text("IDS_PRIV_SUBSCRIBER") + ":\n" +
               UserText(right.Number);
    default: return "error";
    }
}

int RetentionMonths(int choice) {
    static constexpr int months[] = {-1, 1, 2, 3, 6, 12, 24, 36, 48, 60};
    return choice >= 0 && choice < int(std::size(months)) ? months[choice] : -1;
}

bool RetentionChangeNeedsConfirmation(int newChoice, int acceptedChoice) {
    // An accepted choice outside the list means retention is off (a hand-edited setting).
    const bool acceptedOff = RetentionMonths(acceptedChoice) < 0;
    return RetentionMonths(newChoice) > 0 && (acceptedOff || newChoice < acceptedChoice);
}

bool MayDeleteRecording(const TUserRight& right, const AnsiString& calling, const AnsiString& called) {
    switch (right.Kind) {
    case rkAll: return true;
    case rkNumber: {
        const AnsiString number = UserText(right.Number);
        return number == calling || number == called;
    }
    default: return false;
    }
}
