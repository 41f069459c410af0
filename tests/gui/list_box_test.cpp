// The list box hands back its items' texts without asking the control for each one: what it hands back
// must be what the control holds, however the items got there, and a copy taken stays as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/form.h"
#include "gui/list_box.h"
#include "runtime/ansi.h"

namespace {

class ListForm : public TForm {
public:
    explicit ListForm(bool sorted) : TForm(nullptr)
    {
        SetClientSize(300, 200);
        list.SetSorted(sorted);
        list.SetBounds(10, 10, 200, 150);
        list.SetParent(this);
        HandleNeeded();
    }
    TCustomListBox list{this};
};

// The texts as the control itself gives them, one message per item.
std::vector<std::string> ControlTexts(const TCustomListBox& list)
{
    std::vector<std::string> texts;
    const int n = static_cast<int>(SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list.Handle(), LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(list.Handle(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        texts.push_back(WideToAnsi(text));
    }
    return texts;
}

std::vector<std::string> Handed(const TCustomListBox& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i)
        texts.push_back(list.Items(i));
    EXPECT_EQ(*list.ItemTexts(), texts);
    return texts;
}

std::vector<TListBoxItem> ItemsOf(const std::vector<std::string>& texts)
{
    std::vector<TListBoxItem> items;
    for (const std::string& t : texts)
        items.push_back({t, 1});
    return items;
}

}  // namespace

TEST(ListBoxTexts, WhatIsHandedBackIsWhatTheControlHoldsWhoeverChangedIt)
{
    for (bool sorted : {true, false}) {
        ListForm form(sorted);
        TCustomListBox& list = form.list;
        // Polish letters and other bytes of the code page, mixed case, duplicates.
        list.AddItems(ItemsOf({"\xBF\xF3\xB3w.txt", "Zeta", "alfa", "\xA3\xF3\x64\x9F", "ALFA", "beta", "alfa"}));
        EXPECT_EQ(Handed(list), ControlTexts(list)) << sorted;
        list.Add("gamma");
        list.AddItems(ItemsOf({"\xB9\x63", "delta"}));  // a batch into a list that has items
        EXPECT_EQ(Handed(list), ControlTexts(list)) << sorted;
        // Messages from outside the class: added, inserted and deleted items are followed too.
        SendMessageW(list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\u017Curaw"));
        SendMessageW(list.Handle(), LB_INSERTSTRING, 2, reinterpret_cast<LPARAM>(L"wstawiony"));
        SendMessageW(list.Handle(), LB_DELETESTRING, 0, 0);
        SendMessageW(list.Handle(), LB_DELETESTRING, 99, 0);  // no such item: nothing changes
        EXPECT_EQ(Handed(list), ControlTexts(list)) << sorted;
        EXPECT_THROW(list.Items(list.Count()), std::exception);
        EXPECT_THROW(list.Items(-1), std::exception);
        list.Clear();
        EXPECT_TRUE(list.ItemTexts()->empty());
        EXPECT_EQ(Handed(list), ControlTexts(list)) << sorted;
    }
}


TEST(ListBoxTexts, ABigBatchArrivesWholeInAnEmptyListAndInOneWithItems)
{
    // Past the point where the batch asks the control for room a second time.
    for (bool sorted : {false, true}) {
        ListForm form(sorted);
        TCustomListBox& list = form.list;
        std::vector<std::string> texts;
        for (int round = 0; round < 2; ++round) {
            std::vector<TListBoxItem> items;
            for (int i = 0; i < 20000; ++i)
                items.push_back({"n" + std::to_string(i * 2 + round + 100000), i * 2 + round + 1});
            for (const TListBoxItem& item : items)
                texts.push_back(item.text);
            list.AddItems(std::move(items));
        }
        if (sorted)
            std::sort(texts.begin(), texts.end());
        ASSERT_EQ(Handed(list), texts) << sorted;
        EXPECT_EQ(ControlTexts(list), texts) << sorted;
        for (int i : {0, 16383, 16384, 39999})
            EXPECT_EQ(list.ItemData(i), std::stoi(texts[static_cast<size_t>(i)].substr(1)) - 100000 + 1) << i;
    }
}
TEST(ListBoxTexts, ItemsTheControlMakesItselfAndANewWindowAreFollowedToo)
{
    ListForm form(true);
    TCustomListBox& list = form.list;
    list.AddItems(ItemsOf({"b", "a"}));
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string mask = std::string(windows) + "\\*.*";
    SendMessageA(list.Handle(), LB_DIR, DDL_DIRECTORY, reinterpret_cast<LPARAM>(mask.c_str()));
    ASSERT_GT(list.Count(), 2);
    EXPECT_EQ(Handed(list), ControlTexts(list));
    // A window made again starts empty.
    DestroyWindow(list.Handle());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.ItemTexts()->empty());
}

TEST(ListBoxTexts, TextsTakenEarlierStayAsTheyWereWhenTheListIsRefilled)
{
    ListForm form(true);
    TCustomListBox& list = form.list;
    list.AddItems(ItemsOf({"raz", "dwa", "trzy"}));
    const auto before = list.ItemTexts();
    list.Add("cztery");
    const auto more = list.ItemTexts();
    list.Clear();
    list.AddItems(ItemsOf({"inny"}));
    EXPECT_EQ(*before, (std::vector<std::string>{"dwa", "raz", "trzy"}));
    EXPECT_EQ(*more, (std::vector<std::string>{"cztery", "dwa", "raz", "trzy"}));
    EXPECT_EQ(*list.ItemTexts(), std::vector<std::string>{"inny"});
}

TEST(ListBoxOrder, LongTextsAlikeAtTheStartCompareAsThePlatformComparesThem)
{
    // Shared starts with and without spaces, then ends that sort in every which way: letter case, Polish
    // letters, digits, hyphens and apostrophes (which the word sort weighs apart), spaces, ligatures and
    // letter pairs some locales sort as one letter, and combining accents that join the letter before.
    const std::vector<std::wstring> starts = {
        L"", L"Sprawozdanie z dzia\u0142alno\u015Bci zarz\u0105du sp\u00F3\u0142ki nr ", L"a b c ", L"x-y ",
        L"bez_spacji_", L"koniec ", L"  "};
    const std::vector<std::wstring> ends = {
        L"", L"a", L"A", L"b", L"\u0105", L"\u0104", L"z", L"\u017C", L"1", L"10", L"2", L"-a", L"a-", L"'a",
        L"co-op", L"coop", L"co op", L" ", L"  x", L"x ", L"\u00DF", L"ss", L"\u00E6", L"ae", L"ch", L"h", L"c",
        L"dz", L"dzs", L"aa", L"\u00E5", L"e\u0301", L"\u00E9", L"\u0301x", L"\uFF21", L"\u00FE", L"th", L".txt"};
    const LCID locales[] = {LOCALE_USER_DEFAULT, MAKELCID(0x0405, SORT_DEFAULT), MAKELCID(0x040E, SORT_DEFAULT),
                            MAKELCID(0x0406, SORT_DEFAULT), MAKELCID(0x0409, SORT_DEFAULT)};
    int differences = 0;
    for (LCID locale : locales)
        for (const std::wstring& start : starts)
            for (const std::wstring& x : ends)
                for (const std::wstring& y : ends) {
                    const std::wstring a = start + x;
                    const std::wstring b = start + y;
                    const int platform = CompareStringW(locale, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1);
                    if (CompareCaseBlind(a, b, locale) != platform && ++differences <= 10)
                        ADD_FAILURE() << std::hex << locale << ": '" << WideToAnsi(a) << "' / '" << WideToAnsi(b)
                                      << "'";
                }
    EXPECT_EQ(differences, 0);
}

TEST(ListBoxOrder, ABatchIsPlacedAsTheControlPlacesTheSameTextsOneByOne)
{
    // Plain ASCII names and names with letters of the code page or outside it, alike at the start or not,
    // letter-case twins among them: the batch's own ordering must end where the control's does.
    std::vector<std::string> texts;
    const char* const starts[] = {"", "f000", "Sprawozdanie nr ", "\xBF\xF3\xB3w ", "x-y", "co"};
    const char* const ends[] = {"", "a", "A", "b", "\xB9", "\xA5", "z", "\xBF", "1", "10", "2", "-a", "a-", "'a",
                                "op", "-op", " op", "ch", "h", "c", "dz", "ss", "\xDF", ".txt", ".TXT", "~1", "_"};
    // Enough of them for keys made in several runs, on two threads, while the texts still arrive.
    for (int copy = 0; copy < 60; ++copy)
        for (const char* start : starts)
            for (const char* end : ends)
                texts.push_back(std::string(start) + end);
    texts.push_back("A?o");  // a name outside the code page, as the file list shows it
    std::vector<TListBoxItem> items;
    for (size_t i = 0; i < texts.size(); ++i)
        items.push_back({texts[i], static_cast<LPARAM>(i + 1)});

    ListForm batch(true);
    TCaseBlindKeys made(batch.list.Locale(), false);
    for (const TListBoxItem& item : items)
        made.Add(AnsiToWide(item.text));
    batch.list.AddItems(items, &made);
    ListForm single(true);
    for (const std::string& text : texts) {
        const std::wstring wide = AnsiToWide(text);
        const LRESULT at = SendMessageW(single.list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        ASSERT_GE(at, 0);
    }
    const std::vector<std::string> got = ControlTexts(batch.list);
    const std::vector<std::string> expected = ControlTexts(single.list);
    ASSERT_EQ(got.size(), expected.size());
    const LCID locale = static_cast<LCID>(SendMessageW(batch.list.Handle(), LB_GETLOCALE, 0, 0));
    for (size_t i = 0; i < got.size(); ++i) {
        // Texts that compare equal may stand in either order; anything else is a wrong place.
        const std::wstring a = AnsiToWide(got[i]);
        const std::wstring b = AnsiToWide(expected[i]);
        EXPECT_EQ(CompareStringW(locale, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1), CSTR_EQUAL)
            << i << ": '" << got[i] << "' where the control has '" << expected[i] << "'";
        // Each item keeps its own number.
        const auto data = static_cast<size_t>(batch.list.ItemData(static_cast<int>(i)));
        ASSERT_TRUE(data >= 1 && data <= texts.size());
        EXPECT_EQ(texts[data - 1], got[i]);
    }
    EXPECT_EQ(Handed(batch.list), got);
}
