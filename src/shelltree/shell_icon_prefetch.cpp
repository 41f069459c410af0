#include "shelltree/shell_icon_prefetch.h"

#include <objbase.h>

#include "shelltree/shell_access.h"

TShellIconPrefetch::TShellIconPrefetch() : thread_([this] { Run(); }) {}

TShellIconPrefetch::~TShellIconPrefetch()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
        queue_.clear();
    }
    wake_.notify_one();
    thread_.join();
}

void TShellIconPrefetch::Ask(const void* absoluteList)
{
    TIdList copy = CopyIdList(ShellAllocator(), absoluteList);
    {
        std::lock_guard<std::mutex> hold(lock_);
        queue_.push_back(std::move(copy));
    }
    wake_.notify_one();
}

void TShellIconPrefetch::Run()
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SystemSmallImageList();
    // The children of one node come one after another: their folder is bound once, not once a child (a bind
    // walks the whole path down from the desktop).
    TIdList parentList;
    TComPtr<IShellFolder> parent;
    for (;;) {
        TIdList item;
        {
            std::unique_lock<std::mutex> hold(lock_);
            wake_.wait(hold, [this] { return stop_ || !queue_.empty(); });
            if (stop_)
                break;
            item = std::move(queue_.front());
            queue_.pop_front();
        }
        // A plain folder's icon is the generic one, which the tree asks for once itself: asking for each would
        // only keep the shell busy while the tree is filled (10,000 subfolders: the expand took half as long
        // again).
        const std::uint8_t* last = LastItemId(item.get());
        TIdList up = CopyIdList(ShellAllocator(), item.get());
        StripLastItemId(up.get());
        if (!parent || !SameIdListBytes(up.get(), parentList.get())) {
            parent.reset();
            LPCITEMIDLIST ignored = nullptr;
            if (FAILED(SHBindToParent(Pidl(item.get()), IID_IShellFolder, parent.put_void(), &ignored)))
                parent.reset();
            parentList = std::move(up);
        }
        if (last && parent && PlainFolderItem(parent.get(), last, item.get()))
            continue;
        SystemIconIndex(item.get(), false, false);
        SystemIconIndex(item.get(), false, true);
    }
    parent.reset();  // before the apartment ends
    if (SUCCEEDED(com))
        CoUninitialize();
}
