#include "package/WorkProgress.h"

int WorkProgress::Permille() const {
    if (done_ >= total_) return 1000;
    // done_ < total_, so neither form overflows and the result stays below 1000.
    if (total_ <= UINT64_MAX / 1000) return static_cast<int>(done_ * 1000 / total_);
    return static_cast<int>(done_ / (total_ / 1000 + 1));
}
