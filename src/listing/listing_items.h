#pragma once
// The items an export reads from a list: how many there are and the text of each, in list order,
// exactly as the list holds them.
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TListingItems {
public:
    virtual ~TListingItems() = default;
    virtual int Count() const = 0;
    virtual const std::string& Item(int index) const = 0;
};

// Items held in a vector: a list that is not on the window yet, a list's texts as they stood, tests.
class TStringListingItems : public TListingItems {
public:
    TStringListingItems() : items_(std::make_shared<const std::vector<std::string>>()) {}
    explicit TStringListingItems(std::vector<std::string> items)
        : items_(std::make_shared<const std::vector<std::string>>(std::move(items)))
    {
    }
    // Shares texts that nobody changes any more.
    explicit TStringListingItems(std::shared_ptr<const std::vector<std::string>> items) : items_(std::move(items)) {}
    int Count() const override { return static_cast<int>(items_->size()); }
    const std::string& Item(int index) const override { return items_->at(static_cast<size_t>(index)); }

private:
    std::shared_ptr<const std::vector<std::string>> items_;
};
