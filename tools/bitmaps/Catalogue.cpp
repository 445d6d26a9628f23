#include "Catalogue.h"

#include "Emblems.h"

#include <QStringList>

#include <algorithm>
#include <set>

namespace bmp {

bool Words::complete() const {
    return std::all_of(texts.begin(), texts.end(), [](const char* t) { return t != nullptr; });
}

QString Words::In(int language) const {
    const char* t = LanguageNumbered(language) ? texts[static_cast<size_t>(language - 1)] : nullptr;
    return QString::fromUtf8(t ? t : "");
}

QString ImageListEntry::Rule() const {
    if (perLanguage == 0) return QStringLiteral("k (same in every language)");
    return QStringLiteral("(L-1)*%1 + k").arg(perLanguage);
}

namespace {

constexpr Words kOk{"OK", "OK", "OK"};
constexpr Words kCancel{"Anuluj", "Cancel", "Отмена"};
constexpr Words kYes{"Tak", "Yes", "Да"};
constexpr Words kNo{"Nie", "No", "Нет"};

// A button is a pair of bitmaps: normal at k, pressed at k + 1.
void Pair(std::vector<Slot>& slots, int k, Words w) {
    slots.push_back({k, Look::Button, w, Glyph::None});
    slots.push_back({k + 1, Look::ButtonPressed, w, Glyph::None});
}

void RoundPair(std::vector<Slot>& slots, int k, Glyph g) {
    slots.push_back({k, Look::Round, {}, g});
    slots.push_back({k + 1, Look::RoundPressed, {}, g});
}

// The dialogs' common block: Cancel at 0/1, OK at 2/3.
ImageListEntry DialogButtons(const char* folder, Words ok = kOk, Words cancel = kCancel) {
    ImageListEntry l{folder, {88, 28}, 4, {}};
    Pair(l.slots, 0, cancel);
    Pair(l.slots, 2, ok);
    return l;
}

std::vector<ImageListEntry> BuildLists() {
    std::vector<ImageListEntry> lists;

    {  // Main window tabs: normal / selected per tab.
        ImageListEntry l{"TMainForm.ImageListTab", {111, 22}, 6, {}};
        const Words users{"Użytkownicy", "Users", "Пользователи"};
        const Words filter{"Filtr", "Filter", "Фильтр"};
        const Words link{"Połączenie", "Connection", "Подключение"};
        l.slots = {
            {0, Look::Tab, users, Glyph::TabUsers},     {1, Look::TabSelected, users, Glyph::TabUsers},
            {2, Look::Tab, filter, Glyph::TabFilter},   {3, Look::TabSelected, filter, Glyph::TabFilter},
            {4, Look::Tab, link, Glyph::TabConnection}, {5, Look::TabSelected, link, Glyph::TabConnection},
        };
        lists.push_back(l);
    }
    lists.push_back({"TMainForm.ImageListTray", {32, 32}, 0, {{0, Look::Emblem, {}, Glyph::AppIcon}}});

    {  // The message dialog's OK is the same in every language.
        ImageListEntry l{"TMessageDialog.ImageList1", {88, 28}, 0, {}};
        Pair(l.slots, 0, kOk);
        lists.push_back(l);
    }
    // The question dialog asks yes/no questions; its carrier buttons say "Tak"/"Nie".
    lists.push_back(DialogButtons("TQuestionDialog.ImageList1", kYes, kNo));
    lists.push_back(DialogButtons("TDeleteDialog.ImageList1"));
    lists.push_back(DialogButtons("TAnnounDialog.ImageList1"));

    {  // Player: the same in every language.
        ImageListEntry play{"TMediaFrame.ImageListPlay", {56, 56}, 0, {}};
        RoundPair(play.slots, 0, Glyph::Play);
        lists.push_back(play);

        ImageListEntry l{"TMediaFrame.ImageListBtn", {44, 44}, 0, {}};
        RoundPair(l.slots, 0, Glyph::Pause);
        RoundPair(l.slots, 2, Glyph::Stop);
        RoundPair(l.slots, 4, Glyph::Previous);
        RoundPair(l.slots, 6, Glyph::Next);
        RoundPair(l.slots, 8, Glyph::Export);
        RoundPair(l.slots, 10, Glyph::Volume);
        RoundPair(l.slots, 12, Glyph::Muted);
        RoundPair(l.slots, 14, Glyph::Delete);
        RoundPair(l.slots, 16, Glyph::Record);
        RoundPair(l.slots, 18, Glyph::Import);
        RoundPair(l.slots, 20, Glyph::AddressBook);
        lists.push_back(l);
    }

    {
        ImageListEntry l{"TUsersFrame.ImageListBtn", {140, 28}, 4, {}};
        Pair(l.slots, 0, {"Dodaj użytkownika", "Add user", "Добавить пользователя"});
        Pair(l.slots, 2, {"Zmień uprawnienia", "Change rights", "Изменить права"});
        lists.push_back(l);
    }
    lists.push_back(DialogButtons("TadduserDialogForm.ImageList1"));
    {  // The delete button stands apart from OK and Cancel, and only while modifying.
        ImageListEntry l{"TadduserDialogForm.ImageList2", {140, 28}, 2, {}, "TadduserDialogForm.delete"};
        Pair(l.slots, 0, {"Usuń użytkownika", "Delete user", "Удалить пользователя"});
        lists.push_back(l);
    }
    lists.push_back(DialogButtons("TuserpaswdDialog.ImageList1"));
    {
        ImageListEntry l{"TFiltrFrame.ImageListBtn", {88, 28}, 4, {}};
        Pair(l.slots, 0, {"Filtruj", "Filter", "Фильтровать"});
        Pair(l.slots, 2, {"Pokaż wszystko", "Show all", "Показать все"});
        lists.push_back(l);
    }
    lists.push_back(DialogButtons("TImportDialog.ImageList1"));
    {
        ImageListEntry l1{"TAddressBook.ImageList1", {120, 28}, 6, {}};
        Pair(l1.slots, 0, kOk);
        Pair(l1.slots, 2, {"Edytuj numer", "Edit number", "Изменить номер"});
        Pair(l1.slots, 4, {"Edytuj opis", "Edit description", "Изменить описание"});
        lists.push_back(l1);

        ImageListEntry l2{"TAddressBook.ImageList2", {120, 28}, 8, {}};
        Pair(l2.slots, 0, {"Usuń", "Delete", "Удалить"});
        Pair(l2.slots, 2, {"Import", "Import", "Импорт"});
        Pair(l2.slots, 4, {"Eksport", "Export", "Экспорт"});
        Pair(l2.slots, 6, {"Dodaj", "Add", "Добавить"});
        lists.push_back(l2);
    }
    lists.push_back(DialogButtons("TAddressBookDialog.ImageList1"));
    {  // Connection frame. Offsets 2 and 3 are never shown; they hold a greyed
        // connect button so the list has no holes.
        ImageListEntry l{"TConnectFrame.ImageListBtn", {88, 28}, 8, {}};
        const Words connect{"Połącz", "Connect", "Подключить"};
        Pair(l.slots, 0, connect);
        l.slots.push_back({2, Look::ButtonDisabled, connect, Glyph::None});
        l.slots.push_back({3, Look::ButtonDisabled, connect, Glyph::None});
        Pair(l.slots, 4, {"Rozłącz", "Disconnect", "Отключить"});
        Pair(l.slots, 6, {"Odśwież", "Refresh", "Обновить"});
        lists.push_back(l);
    }
    return lists;
}

}  // namespace

const std::vector<ImageListEntry>& ImageLists() {
    static const std::vector<ImageListEntry> lists = BuildLists();
    return lists;
}

const std::vector<PictureEntry>& Pictures() {
    static const std::vector<PictureEntry> pictures = [] {
        std::vector<PictureEntry> p = {{"TMainForm.TabImageBack", {792, 22}, Look::Strip, Glyph::None}};
        for (int language = 1; language <= LanguageCount; ++language)
            p.push_back({QStringLiteral("TMainForm.") + QLatin1String(LanguageNumbered(language)->Flag),
                         {28, 20},
                         Look::Emblem,
                         Glyph::Flag,
                         language});
        p.push_back({"TUsersFrame.UserImage", {48, 48}, Look::Emblem, Glyph::User});
        p.push_back({"TConnectFrame.EarthImage", {24, 24}, Look::Emblem, Glyph::Earth});
        p.push_back({"TConnectFrame.LockImage", {24, 24}, Look::Emblem, Glyph::Lock});
        return p;
    }();
    return pictures;
}

const std::vector<int>& IconSizes() {
    static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QStringList CheckCatalogue() {
    QStringList faults;
    std::set<QString> folders;
    for (const ImageListEntry& l : ImageLists()) {
        if (!folders.insert(l.folder).second) faults << l.folder + ": listed twice";
        const int block = l.perLanguage == 0 ? static_cast<int>(l.slots.size()) : l.perLanguage;
        std::set<int> seen;
        for (const Slot& s : l.slots) {
            if (s.k < 0 || s.k >= block)
                faults << QStringLiteral("%1: offset %2 outside 0..%3").arg(l.folder).arg(s.k).arg(block - 1);
            if (!seen.insert(s.k).second) faults << QStringLiteral("%1: offset %2 twice").arg(l.folder).arg(s.k);
            const bool needsText = s.glyph == Glyph::None && s.look != Look::Strip;
            if (needsText && !s.words.complete())
                faults << QStringLiteral("%1: offset %2 has no text in every language").arg(l.folder).arg(s.k);
        }
        if (static_cast<int>(seen.size()) != block)
            faults << QStringLiteral("%1: %2 of %3 offsets drawn").arg(l.folder).arg(seen.size()).arg(block);
    }
    for (int language = 1; language <= LanguageCount; ++language)
        if (!DrawsFlag(language))
            faults << QStringLiteral("no flag drawn for the language %1").arg(LanguageNumbered(language)->Code);
    return faults;
}

}  // namespace bmp
