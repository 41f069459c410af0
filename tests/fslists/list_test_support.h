#pragma once
// What the list tests share: a window to put lists on, the process's current directory kept per test,
// the items as texts, and the few things only the Unix side of Wine can make.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/form.h"
#include "gui/list_box.h"
#include "unix_side.h"

class ListHost : public TForm {
public:
    ListHost();
};

// Puts back the current directory and the application's exception handler after each test.
class ListTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Messages waiting now, run through the application's loop (keyboard order included).
    static void Pump();

private:
    std::string savedDirectory_;
};

std::vector<std::string> ItemTexts(const TCustomListBox& list);
// The order the platform's own sorted list gives these texts when they are added one by one.
std::vector<std::string> PlatformSortedOrder(const std::vector<std::string>& texts);
// Two texts the platform's sorted list takes for equal (case-blind, user locale).
bool CompareEqual(const std::string& a, const std::string& b);

// Sets a file's last-write time to the given year (January the 1st, noon, UTC).
void SetFileYear(const std::string& path, int year);
std::string CurrentDir();
