#include "shelltree/shell_change_notifier.h"

#include "gui/application.h"

namespace {

constexpr UINT kChanged = WM_APP + 1;
constexpr DWORD kQuietMilliseconds = 200;
const wchar_t kWindowClass[] = L"OrvandShellChange";

void RegisterWindowClass(WNDPROC proc)
{
    static const bool registered = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

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
            if (!pending_.exchange(true))
                PostMessageW(target_, kChanged, 0, 0);
            // A folder whose names keep changing would keep the GUI thread rebuilding, ahead of the user's
            // input: what comes in during a short quiet time is told together afterwards.
            if (WaitForSingleObject(stop_.get(), kQuietMilliseconds) != WAIT_TIMEOUT)
                return;
            // A folder that went away cannot be watched further.
            if (!FindNextChangeNotification(change_.get()))
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
    RegisterWindowClass(WindowProc);
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (!window_)
        return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    auto thread = std::make_unique<TShellChangeThread>(std::move(change), std::move(stop), window_, pending_);
    if (thread->Started())
        thread_ = std::move(thread);
}

TShellChangeNotifier::~TShellChangeNotifier()
{
    thread_.reset();  // stopped and joined: nothing posts any more
    if (window_) {
        // A change posted and not yet handled goes with the window.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

DWORD TShellChangeNotifier::ThreadId() const
{
    return thread_ ? thread_->Id() : 0;
}

LRESULT CALLBACK TShellChangeNotifier::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != kChanged)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    auto* self = reinterpret_cast<TShellChangeNotifier*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return 0;
    self->pending_ = false;
    // The handler may destroy this notifier (it rebuilds the tree, which may watch another folder then):
    // it runs from a copy, and nothing of the notifier is touched afterwards.
    const std::function<void()> handler = self->onChange_;
    try {
        handler();
    } catch (...) {
        Application().HandleCurrentException();
    }
    return 0;
}
