#pragma once
// A counted reference to a component object: AddRef on copy, Release when dropped.
#include <unknwn.h>

#include <utility>

template <typename T>
class TComPtr {
public:
    TComPtr() = default;
    // Takes over a reference the caller holds (no AddRef).
    static TComPtr Adopt(T* p)
    {
        TComPtr r;
        r.p_ = p;
        return r;
    }
    // Shares an existing reference (AddRef).
    static TComPtr Share(T* p)
    {
        if (p)
            p->AddRef();
        return Adopt(p);
    }
    ~TComPtr() { reset(); }
    TComPtr(const TComPtr& o) : p_(o.p_)
    {
        if (p_)
            p_->AddRef();
    }
    TComPtr(TComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    TComPtr& operator=(TComPtr o) noexcept
    {
        std::swap(p_, o.p_);
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset()
    {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    // For an out parameter of type T**: drops what is held first.
    T** put()
    {
        reset();
        return &p_;
    }
    // For an out parameter of type void**.
    void** put_void() { return reinterpret_cast<void**>(put()); }

private:
    T* p_ = nullptr;
};
