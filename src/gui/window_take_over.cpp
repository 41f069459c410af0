#include "gui/window_take_over.h"

#include <unordered_map>

#include "gui/application.h"

namespace {

// What our procedure needs of a window it stands in the chain of. It outlives the take-over when another
// procedure was installed after ours, and goes with the window.
struct TLink {
    WNDPROC previous;
    bool ansi;
    TWindowTakeOver* holder;  // nullptr once the take-over let go
};

// Looked up on every message, so kept in memory rather than in a window property (a round trip to the
// window server under Wine). Windows and their procedures belong to one thread.
std::unordered_map<HWND, TLink>& Links()
{
    thread_local std::unordered_map<HWND, TLink> links;
    return links;
}

LONG_PTR WindowProcOf(HWND window, bool ansi)
{
    return ansi ? GetWindowLongPtrA(window, GWLP_WNDPROC) : GetWindowLongPtrW(window, GWLP_WNDPROC);
}

LONG_PTR SetWindowProc(HWND window, bool ansi, LONG_PTR proc)
{
    return ansi ? SetWindowLongPtrA(window, GWLP_WNDPROC, proc) : SetWindowLongPtrW(window, GWLP_WNDPROC, proc);
}

LRESULT CallProc(WNDPROC proc, bool ansi, HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ansi ? CallWindowProcA(proc, window, msg, wParam, lParam)
                : CallWindowProcW(proc, window, msg, wParam, lParam);
}

}  // namespace

bool TWindowTakeOver::Attach(HWND window, TComponent* object, THandler handler, TCharacters characters)
{
    if (!window || window_ || !IsWindow(window))
        return false;
    auto& links = Links();
    const auto found = links.find(window);
    if (found != links.end()) {
        if (found->second.holder)
            return false;
        // Ours is still in the window's chain from a take-over that let go: this one takes its place there.
        found->second.holder = this;
        previous_ = found->second.previous;
        ansi_ = found->second.ansi;
    } else {
        ansi_ = characters == TCharacters::Ansi;
        const LONG_PTR previous = SetWindowProc(window, ansi_, reinterpret_cast<LONG_PTR>(&TWindowTakeOver::Proc));
        if (!previous)
            return false;
        previous_ = reinterpret_cast<WNDPROC>(previous);
        links[window] = TLink{previous_, ansi_, this};
    }
    window_ = window;
    object_ = object;
    handler_ = std::move(handler);
    return true;
}

void TWindowTakeOver::Release()
{
    if (!window_)
        return;
    auto& links = Links();
    const auto found = links.find(window_);
    if (found != links.end() && found->second.holder == this) {
        const LONG_PTR ours = reinterpret_cast<LONG_PTR>(&TWindowTakeOver::Proc);
        if (!IsWindow(window_)) {
            links.erase(found);
        } else if (WindowProcOf(window_, ansi_) == ours) {
            SetWindowProc(window_, ansi_, reinterpret_cast<LONG_PTR>(previous_));
            links.erase(found);
        } else {
            found->second.holder = nullptr;  // a later procedure still calls ours: stay a link until the end
        }
    }
    Forget();
}

void TWindowTakeOver::Forget()
{
    window_ = nullptr;
    object_ = nullptr;
    handler_ = nullptr;
    previous_ = nullptr;
}

LRESULT TWindowTakeOver::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    if (!window_ || !previous_)
        return 0;
    return CallProc(previous_, ansi_, window_, msg, wParam, lParam);
}

TComponent* TWindowTakeOver::ObjectOf(HWND window)
{
    if (!window)
        return nullptr;
    const auto& links = Links();
    const auto found = links.find(window);
    return found != links.end() && found->second.holder ? found->second.holder->object_ : nullptr;
}

LRESULT CALLBACK TWindowTakeOver::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& links = Links();
    const auto found = links.find(window);
    if (found == links.end())
        return DefWindowProcW(window, msg, wParam, lParam);
    const TLink link = found->second;
    LRESULT result = 0;
    if (link.holder) {
        // The handler may release the take-over or destroy its object: it runs from a copy.
        const THandler handler = link.holder->handler_;
        try {
            result = handler(msg, wParam, lParam);
        } catch (...) {
            Application().HandleCurrentException();
            result = 0;
        }
    } else {
        result = CallProc(link.previous, link.ansi, window, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        const auto gone = links.find(window);
        if (gone != links.end()) {
            if (gone->second.holder)
                gone->second.holder->Forget();
            links.erase(gone);
        }
    }
    return result;
}
