#pragma once
// The base of everything placed on a window: a name, and a word to the components that keep a link to
// it when it goes, so no link outlives what it points at. The owner holds its components as members and
// frees them with itself; nothing asks a component for its owner.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

class TComponent {
public:
    explicit TComponent(TComponent* /*owner*/ = nullptr) {}
    virtual ~TComponent()
    {
        const std::vector<TComponent*> linked = std::move(linked_);
        for (TComponent* other : linked) {
            other->Unlink(this);
            other->Notification(this);
        }
    }
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    // Both are told (Notification) when the other is destroyed; the link ends by itself then.
    void FreeNotification(TComponent* other)
    {
        if (!other || other == this || std::find(linked_.begin(), linked_.end(), other) != linked_.end())
            return;
        linked_.push_back(other);
        other->linked_.push_back(this);
    }
    void RemoveFreeNotification(TComponent* other)
    {
        if (!other)
            return;
        Unlink(other);
        other->Unlink(this);
    }

protected:
    // A component this one is linked with is being destroyed: forget every pointer to it.
    virtual void Notification(TComponent* /*gone*/) {}

private:
    void Unlink(TComponent* other) { linked_.erase(std::remove(linked_.begin(), linked_.end(), other), linked_.end()); }

    std::vector<TComponent*> linked_;
    std::string name_;
};

using TNotifyEvent = std::function<void()>;
