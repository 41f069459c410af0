#pragma once
// Asks the shell for the icons of items that may have their own, on a thread of its own, ahead of the tree's
// drawing of their nodes. The shell keeps every icon it has made in its image list, so the drawing, which asks
// again on the GUI thread, finds it there instead of making it (a new icon costs some 20 ms under Wine, the
// image list's setting up 60 to 100 ms, which the thread does first). Nothing is handed back: what is drawn is
// what the GUI thread's own question gives, with or without this thread.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "shelltree/id_list.h"

class TShellIconPrefetch {
public:
    TShellIconPrefetch();
    // Drops what is still queued and waits for the item in hand.
    ~TShellIconPrefetch();
    TShellIconPrefetch(const TShellIconPrefetch&) = delete;
    TShellIconPrefetch& operator=(const TShellIconPrefetch&) = delete;

    // Queues the normal and open small icons of an item (an absolute list, copied); a plain folder is passed over.
    void Ask(const void* absoluteList);

private:
    void Run();

    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<TIdList> queue_;
    bool stop_ = false;
    std::thread thread_;
};
