#pragma once
// Movable global memory blocks: the DEVMODE and DEVNAMES blocks the printer and the print dialog
// hand to each other.
#include <windows.h>

#include "runtime/unique_handle.h"

struct GlobalTraits {
    static HGLOBAL invalid() { return nullptr; }
    static void close(HGLOBAL h) { GlobalFree(h); }
};
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalTraits>;

// Keeps a block locked for the life of the guard.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard()
    {
        if (data_)
            GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* get() const { return data_; }

private:
    HGLOBAL block_;
    void* data_;
};

// An owned block kept locked while it is held, with its locked view.
class TLockedGlobal {
public:
    TLockedGlobal() = default;
    ~TLockedGlobal() { Release(); }
    TLockedGlobal(const TLockedGlobal&) = delete;
    TLockedGlobal& operator=(const TLockedGlobal&) = delete;

    HGLOBAL Handle() const { return handle_; }
    void* Data() const { return data_; }
    // Takes over the block (its previous owner must not free it) and locks it.
    void Adopt(HGLOBAL block);
    // Unlocks and frees the block held, if any.
    void Release();

private:
    HGLOBAL handle_ = nullptr;
    void* data_ = nullptr;
};

// A new movable, zero-filled block of the same size with the same bytes; none when there is no
// source block or no memory for the copy.
UniqueGlobal CopyGlobalBlock(HGLOBAL source);
