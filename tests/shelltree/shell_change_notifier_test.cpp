// Watching the selected folder: the notifier's thread, what reaches the GUI thread, and that every way of
// stopping it (off, another folder, the tree going) leaves no thread behind and calls nothing afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "gui/application.h"
#include "shelltree/shell_change_notifier.h"
#include "shelltree/shell_tree_view.h"
#include "tree_test_support.h"

namespace {

int ThreadCount()
{
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

bool ThreadRunning(DWORD id)
{
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
    if (!thread)
        return false;
    const bool running = WaitForSingleObject(thread, 0) == WAIT_TIMEOUT;
    CloseHandle(thread);
    return running;
}

// Runs the GUI thread's messages until done() holds or the time is up; false when it is up.
bool PumpUntil(const std::function<bool()>& done, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application().ProcessMessages();
    }
    return true;
}

void Pump(int milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

// Another program makes the folder, as a user would from outside.
void MakeFolderOutside(const std::string& path)
{
    std::string command = "cmd.exe /c mkdir \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &process));
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

TEST(ShellChangeNotifier, ChangesReachTheGuiThreadTogetherAndNeverAfterTheEnd)
{
    TempDir dir;
    const int before = ThreadCount();
    int calls = 0;
    DWORD callingThread = 0;
    auto notifier = std::make_unique<TShellChangeNotifier>(dir.Path(), [&] {
        ++calls;
        callingThread = GetCurrentThreadId();
    });
    ASSERT_TRUE(notifier->Active());
    EXPECT_FALSE(notifier->WatchSubTree());
    EXPECT_EQ(notifier->Filter(), static_cast<DWORD>(FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME));
    const DWORD worker = notifier->ThreadId();
    EXPECT_TRUE(ThreadRunning(worker));
    EXPECT_EQ(ThreadCount(), before + 1);

    // Thirty changes while the GUI thread is busy come as far fewer calls, on the GUI thread.
    for (int i = 0; i < 30; ++i)
        dir.MakeDir(std::string("n").append(std::to_string(i)));
    EXPECT_TRUE(PumpUntil([&] { return calls > 0; }, 2000));
    Pump(300);
    EXPECT_GE(calls, 1);
    EXPECT_LT(calls, 10);
    EXPECT_EQ(callingThread, GetCurrentThreadId());

    // A change the worker reported but the GUI thread has not handled yet is dropped with the notifier.
    calls = 0;
    dir.MakeDir("late");
    Sleep(300);
    notifier.reset();
    EXPECT_FALSE(ThreadRunning(worker));
    Pump(200);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ThreadCount(), before);

    // Nothing to watch, nothing started.
    for (const std::string& path : {std::string(), dir / "missing"}) {
        TShellChangeNotifier idle(path, [&] { ++calls; });
        EXPECT_FALSE(idle.Active());
        EXPECT_EQ(idle.ThreadId(), 0u);
    }
    EXPECT_EQ(ThreadCount(), before);
}

class AutoRefresh : public testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<TreeHostForm>();
        tree = std::make_unique<TShellTreeView>(host.get());
        tree->SetBounds(0, 0, 300, 500);
        tree->SetParent(host.get());
        host->Show();
        Application().OnException = [this](const std::exception& e) { shown.push_back(e.what()); };
        tree->Loaded();
        Pump(100);
    }
    void TearDown() override
    {
        Application().OnException = nullptr;
        tree.reset();
        host.reset();
    }

    std::unique_ptr<TreeHostForm> host;
    std::unique_ptr<TShellTreeView> tree;
    std::vector<std::string> shown;
};

TEST_F(AutoRefresh, AFolderMadeOutsideShowsUpInTheSelectedFolderAndTheWatchFollowsTheSelection)
{
    DriveFolder d;
    const std::string a = d.Make("a");
    const std::string b = d.Make("b");
    tree->SetSelectedPath(a);
    TTreeNode* node = tree->Selected();
    ASSERT_NE(node, nullptr);
    node->Expand();
    const int before = ThreadCount();
    EXPECT_EQ(tree->WatchedPath(), "");  // off: nothing watched

    tree->SetAutoRefresh(true);
    EXPECT_EQ(tree->WatchedPath(), a);
    const DWORD first = tree->NotifierThreadId();
    EXPECT_TRUE(ThreadRunning(first));
    EXPECT_EQ(ThreadCount(), before + 1);

    const auto start = std::chrono::steady_clock::now();
    MakeFolderOutside(a + "\\made outside");
    const bool appeared = PumpUntil(
        [&] {
            TTreeNode* selected = tree->Selected();
            return selected && ChildNamed(selected, "made outside");
        },
        2000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(appeared) << seconds << " s";
    std::printf("the new folder appeared in the tree after %.2f s\n", seconds);
    EXPECT_EQ(tree->SelectedPath(), a);

    // Another selection: the watch moves there, the first thread is gone.
    tree->SetSelectedPath(b);
    EXPECT_EQ(tree->WatchedPath(), b);
    EXPECT_FALSE(ThreadRunning(first));
    EXPECT_TRUE(ThreadRunning(tree->NotifierThreadId()));
    EXPECT_EQ(ThreadCount(), before + 1);

    const DWORD second = tree->NotifierThreadId();
    tree->SetAutoRefresh(false);
    EXPECT_EQ(tree->WatchedPath(), "");
    EXPECT_FALSE(ThreadRunning(second));
    EXPECT_EQ(ThreadCount(), before);
    EXPECT_TRUE(shown.empty());
}

TEST_F(AutoRefresh, DestroyingTheTreeWhileChangesKeepComingLeavesNoThreadBehind)
{
    DriveFolder d;
    const std::string busy = d.Make("busy");
    tree->SetSelectedPath(busy);
    ASSERT_EQ(tree->SelectedPath(), busy);
    const int before = ThreadCount();
    tree->SetAutoRefresh(true);
    const DWORD worker = tree->NotifierThreadId();
    ASSERT_TRUE(ThreadRunning(worker));

    std::atomic<bool> stop{false};
    std::atomic<int> made{0};
    std::thread churn([&] {
        for (int i = 0; !stop; ++i) {
            const std::string path = busy + "\\c" + std::to_string(i % 5);
            if (i % 2 == 0)
                CreateDirectoryA(path.c_str(), nullptr);
            else
                RemoveDirectoryA((busy + "\\c" + std::to_string((i - 1) % 5)).c_str());
            ++made;
            Sleep(2);
        }
    });
    int rebuilds = 0;  // each rebuild selects the folder's new node again
    tree->OnChange = [&](TTreeNode*) { ++rebuilds; };
    const auto start = std::chrono::steady_clock::now();
    Pump(400);  // the tree rebuilds the folder while names keep changing
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Rebuilds come at most five times a second, however fast the names change: the user's input still
    // gets its turn.
    EXPECT_GE(rebuilds, 1);
    EXPECT_LE(rebuilds, static_cast<int>(seconds * 5) + 2) << seconds << " s";
    tree.reset();
    Pump(400);  // what was posted for the tree goes nowhere
    const int madeWhileGone = made;
    stop = true;
    churn.join();
    EXPECT_GT(madeWhileGone, 20);
    EXPECT_FALSE(ThreadRunning(worker));
    // A thread on its way out may still be listed for a moment; one left behind stays.
    EXPECT_TRUE(PumpUntil([&] { return ThreadCount() == before; }, 1000)) << ThreadCount() << " / " << before;
    EXPECT_TRUE(shown.empty());
}
