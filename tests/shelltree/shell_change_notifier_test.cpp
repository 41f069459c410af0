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
#include "pump.h"
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

// Waits, without handling it, until the worker's report is in this thread's queue; false when none came.
bool ReportWaiting(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    MSG msg;
    while (!PeekMessageW(&msg, nullptr, WM_APP, 0xBFFF, PM_NOREMOVE)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    }
    return true;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

    // Thirty changes while the GUI thread is busy are told together, on the GUI thread; a change after
    // that is told as well, so the watch goes on. However fast changes come, a report follows the one
    // before only after a quiet time of a fifth of a second.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 30; ++i)
        dir.MakeDir(std::string("n").append(std::to_string(i)));
    ASSERT_TRUE(PumpUntil(10000, [&] { return calls > 0; }));
    EXPECT_EQ(callingThread, GetCurrentThreadId());
    const int together = calls;
    dir.MakeDir("after");
    EXPECT_TRUE(PumpUntil(10000, [&] { return calls > together; }));
    const double seconds = SecondsSince(start);
    EXPECT_LE(calls, 2 + static_cast<int>(seconds * 5)) << seconds << " s";

    // A change the worker reported but the GUI thread has not handled yet is dropped with the notifier.
    calls = 0;
    dir.MakeDir("late");
    ASSERT_TRUE(ReportWaiting(10000));
    notifier.reset();
    EXPECT_FALSE(ThreadRunning(worker));
    Application().ProcessMessages();  // everything that was waiting
    EXPECT_EQ(calls, 0);
    // A thread on its way out may still be listed for a moment; one left behind stays.
    EXPECT_TRUE(PumpUntil(5000, [&] { return ThreadCount() == before; })) << ThreadCount() << " / " << before;

    // Nothing to watch, nothing started.
    for (const std::string& path : {std::string(), dir / "missing"}) {
        TShellChangeNotifier idle(path, [&] { ++calls; });
        EXPECT_FALSE(idle.Active());
        EXPECT_EQ(idle.ThreadId(), 0u);
    }
    EXPECT_EQ(ThreadCount(), before);
}

class AutoRefresh : public TreeHostTest {
protected:
    void SetUp() override
    {
        withoutTree = ThreadCount();
        TreeHostTest::SetUp();
        tree->Loaded();
        Pump(100);
    }
    int withoutTree = 0;  // the process's threads before the tree was made
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
    const bool appeared = PumpUntil(2000, [&] {
        TTreeNode* selected = tree->Selected();
        return selected && ChildNamed(selected, "made outside");
    });
    const double seconds = SecondsSince(start);
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
    // The tree rebuilds the folder again and again while names keep changing...
    ASSERT_TRUE(PumpUntil(10000, [&] { return rebuilds >= 3; }));
    const double seconds = SecondsSince(start);
    // ...at most five times a second, however fast the names change: the user's input still gets its turn.
    EXPECT_LE(rebuilds, static_cast<int>(seconds * 5) + 2) << seconds << " s";
    tree.reset();
    // What was posted for the tree goes nowhere, while the names go on changing.
    const int madeAtEnd = made;
    EXPECT_TRUE(PumpUntil(10000, [&] { return made >= madeAtEnd + 20; }));
    stop = true;
    churn.join();
    EXPECT_FALSE(ThreadRunning(worker));
    // A thread on its way out may still be listed for a moment; one left behind stays.
    EXPECT_TRUE(PumpUntil(5000, [&] { return ThreadCount() == withoutTree; })) << ThreadCount() << " / " << withoutTree;
    EXPECT_TRUE(shown.empty());
}
