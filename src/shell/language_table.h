#pragma once
// The nine interface strings of the current language. The window thread replaces
// them while the link worker reads the status texts, so the table is swapped whole
// and readers keep the version they took.

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quorlin {

class LanguageTable {
public:
    using Strings = std::vector<std::string>;

    // The strings as they stand now; never null, empty before the first load.
    std::shared_ptr<const Strings> snapshot() const
    {
        std::lock_guard lock(mutex_);
        return strings_;
    }
    void replace(Strings strings)
    {
        auto next = std::make_shared<const Strings>(std::move(strings));
        std::lock_guard lock(mutex_);
        strings_.swap(next);
    }
    std::size_t size() const { return snapshot()->size(); }
    bool empty() const { return size() == 0; }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const Strings> strings_ = std::make_shared<const Strings>();
};

}  // namespace quorlin
