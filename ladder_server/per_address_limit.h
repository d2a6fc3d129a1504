#pragma once

// How many requests of one kind each client address has in hand at once, capped: a client
// that sends many at a time takes only its share of a pool, and the others still get in.

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace ladder {

class PerAddressLimit {
public:
    explicit PerAddressLimit(int perAddress) : perAddress_(perAddress) {}

    // Takes one of address's places; false when it holds all of them already.
    bool TryTake(const std::string& address) {
        std::lock_guard lock(mutex_);
        int& taken = taken_[address];
        if (taken >= perAddress_) {
            return false;
        }
        ++taken;
        return true;
    }
    // Gives back a place TryTake gave.
    void Give(const std::string& address) {
        std::lock_guard lock(mutex_);
        const auto found = taken_.find(address);
        if (found != taken_.end() && --found->second <= 0) {
            taken_.erase(found);
        }
    }

private:
    int perAddress_;
    std::mutex mutex_;
    std::unordered_map<std::string, int> taken_;
};

}  // namespace ladder
