#include "printing/global_block.h"

#include <cstring>

void TLockedGlobal::Adopt(HGLOBAL block)
{
    if (block == handle_)
        return;
    Release();
    handle_ = block;
    data_ = block ? GlobalLock(block) : nullptr;
}

void TLockedGlobal::Release()
{
    if (!handle_)
        return;
    if (data_)
        GlobalUnlock(handle_);
    GlobalFree(handle_);
    handle_ = nullptr;
    data_ = nullptr;
}

UniqueGlobal CopyGlobalBlock(HGLOBAL source)
{
    if (!source)
        return {};
    const SIZE_T size = GlobalSize(source);
    UniqueGlobal copy(GlobalAlloc(GHND, size));
    if (!copy)
        return {};
    GlobalLockGuard from(source);
    GlobalLockGuard to(copy.get());
    if (!from.get() || !to.get())
        return {};
    std::memcpy(to.get(), from.get(), size);
    return copy;
}
