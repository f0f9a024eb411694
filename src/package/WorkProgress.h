#pragma once
// The installation's progress: work done against the whole work, both in units that add steps
// and bytes. Sizes come from the package, so every sum saturates instead of wrapping round: a
// crafted size can neither make the whole zero nor the share run backwards.
#include <cstdint>

inline std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

class WorkProgress {
public:
    void AddToTotal(std::uint64_t work) { total_ = SaturatingAdd(total_, work); }
    void Advance(std::uint64_t work) { done_ = SaturatingAdd(done_, work); }
    // Thousandths of the whole done, 0 to 1000; 1000 when there is nothing to do.
    int Permille() const;

private:
    std::uint64_t total_ = 0;
    std::uint64_t done_ = 0;
};
