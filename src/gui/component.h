#pragma once
// The base of everything placed on a window: an owner and a name.
#include <functional>
#include <string>

class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr) : owner_(owner) {}
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

private:
    TComponent* owner_;
    std::string name_;
};

using TNotifyEvent = std::function<void()>;
