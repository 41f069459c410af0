#include "shelltree/shell_change_notifier.h"

#include "gui/win_control.h"
#include "runtime/exceptions.h"

namespace {

constexpr UINT kChanged = WM_APP + 1;
constexpr DWORD kQuietMilliseconds = 200;

}  // namespace

// The message-only window on the GUI thread that the worker posts to: one of our own windows.
class TShellChangeWindow : public TWinControl {
public:
    explicit TShellChangeWindow(TShellChangeNotifier& notifier) : TWinControl(nullptr), notifier_(notifier)
    {
        SetVisible(false);
    }

protected:
    HWND ParentWindowForCreate() const override { return HWND_MESSAGE; }
    void CreateWnd() override {}  // nothing to show: no font
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg != kChanged)
            return TWinControl::WndProc(msg, wParam, lParam);
        notifier_.Changed();
        return 0;
    }

private:
    TShellChangeNotifier& notifier_;
};

// The worker: waits on the folder's change notification and on its stop event, and posts one message for
// a change unless one is still waiting to be handled. It never calls into the GUI thread's objects.
class TShellChangeThread {
public:
    TShellChangeThread(UniqueChangeHandle change, UniqueKernelObject stop, HWND target, std::atomic<bool>& pending)
        : change_(std::move(change)), stop_(std::move(stop)), target_(target), pending_(pending)
    {
        thread_.reset(CreateThread(nullptr, 0, Run, this, 0, &id_));
    }
    ~TShellChangeThread()
    {
        SetEvent(stop_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
    }
    TShellChangeThread(const TShellChangeThread&) = delete;
    TShellChangeThread& operator=(const TShellChangeThread&) = delete;

    bool Started() const { return static_cast<bool>(thread_); }
    DWORD Id() const { return id_; }

private:
    static DWORD WINAPI Run(void* self)
    {
        static_cast<TShellChangeThread*>(self)->Loop();
        return 0;
    }
    void Loop()
    {
        const HANDLE handles[] = {stop_.get(), change_.get()};
        for (;;) {
            if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
                return;  // stopped, or the wait itself failed
            // Watching again at once: Wine drops what changes while no watch is asked for, so a change in
            // the quiet time below would otherwise never be told.
            const bool watching = FindNextChangeNotification(change_.get()) != FALSE;
            if (!pending_.exchange(true))
                PostMessageW(target_, kChanged, 0, 0);
            if (!watching)
                return;  // a folder that went away cannot be watched further
            // A folder whose names keep changing would keep the GUI thread rebuilding, ahead of the user's
            // input: what comes in during a short quiet time is told together afterwards.
            if (WaitForSingleObject(stop_.get(), kQuietMilliseconds) != WAIT_TIMEOUT)
                return;
        }
    }

    UniqueChangeHandle change_;
    UniqueKernelObject stop_;
    HWND target_;
    std::atomic<bool>& pending_;
    UniqueKernelObject thread_;
    DWORD id_ = 0;
};

TShellChangeNotifier::TShellChangeNotifier(const std::string& path, std::function<void()> onChange,
                                           bool watchSubTree, DWORD filter)
    : path_(path), watchSubTree_(watchSubTree), filter_(filter), onChange_(std::move(onChange))
{
    if (path_.empty() || !onChange_)
        return;
    UniqueChangeHandle change(FindFirstChangeNotificationA(path_.c_str(), watchSubTree_ ? TRUE : FALSE, filter_));
    UniqueKernelObject stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!change || !stop)
        return;
    try {
        auto window = std::make_unique<TShellChangeWindow>(*this);
        window->HandleNeeded();
        window_ = std::move(window);
    } catch (const Exception&) {
        return;  // no window to tell: nothing is watched
    }
    auto thread =
        std::make_unique<TShellChangeThread>(std::move(change), std::move(stop), window_->Handle(), pending_);
    if (thread->Started())
        thread_ = std::move(thread);
}

TShellChangeNotifier::~TShellChangeNotifier()
{
    thread_.reset();  // stopped and joined: nothing posts any more
    window_.reset();  // a change posted and not yet handled goes with the window
}

DWORD TShellChangeNotifier::ThreadId() const
{
    return thread_ ? thread_->Id() : 0;
}

void TShellChangeNotifier::Changed()
{
    pending_ = false;
    // The handler may destroy this notifier (it rebuilds the tree, which may watch another folder then):
    // it runs from a copy, and nothing of the notifier is touched afterwards. A failure goes to the
    // application from the window procedure's barrier.
    const std::function<void()> handler = onChange_;
    handler();
}
