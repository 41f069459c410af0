#pragma once
// Watches one folder for names that appear, go or change, on a thread of its own, and tells the GUI thread:
// OnChange runs there, once for however many changes came in since it last ran. Destroying the notifier
// stops the thread and waits for its end, and no OnChange runs after that.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "runtime/unique_handle.h"

class TShellChangeThread;
class TShellChangeWindow;

class TShellChangeNotifier {
public:
    static constexpr DWORD kDefaultFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

    // Must be made on the GUI thread: that is where onChange runs. A folder that cannot be watched (a virtual
    // folder, a vanished one) starts no thread and Active() is false.
    TShellChangeNotifier(const std::string& path, std::function<void()> onChange, bool watchSubTree = false,
                         DWORD filter = kDefaultFilter);
    ~TShellChangeNotifier();
    TShellChangeNotifier(const TShellChangeNotifier&) = delete;
    TShellChangeNotifier& operator=(const TShellChangeNotifier&) = delete;

    const std::string& Path() const { return path_; }
    bool WatchSubTree() const { return watchSubTree_; }
    DWORD Filter() const { return filter_; }
    bool Active() const { return thread_ != nullptr; }
    // The worker's thread identifier while it runs, 0 when there is none.
    DWORD ThreadId() const;

private:
    friend class TShellChangeWindow;
    // On the GUI thread, for the worker's message.
    void Changed();

    std::string path_;
    bool watchSubTree_;
    DWORD filter_;
    std::function<void()> onChange_;
    std::unique_ptr<TShellChangeWindow> window_;  // the worker posts here
    std::atomic<bool> pending_{false};  // a change is posted and not yet handled
    std::unique_ptr<TShellChangeThread> thread_;
};
