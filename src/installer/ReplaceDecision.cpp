#include "installer/ReplaceDecision.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "package/SetupScript.h"
#include "platform/File.h"

bool ShouldReplace(int replaceMode, ReplaceFacts& facts) {
    int order = 0;
    switch (replaceMode) {
        case kReplaceNever: return false;
        case kReplaceOlderDate: return facts.CompareDates() < 0;
        case kReplaceLowerVersion: return facts.CompareVersions(order) && order < 0;
        case kReplaceLowerOrOlder:
            if (!facts.CompareVersions(order)) order = 0;
            return order < 0 || (order == 0 && facts.CompareDates() < 0);
        case kReplaceAsk: return facts.AskReplace();
        case kReplaceDifferent: return !facts.SameContents();
        default: return true;
    }
}

bool SameFileContents(const std::string& a, const std::string& b) {
    File fa, fb;
    std::uint64_t sa = 0, sb = 0;
    if (!fa.Open(a, ReadExisting) || !fb.Open(b, ReadExisting) || !fa.GetSize64(sa) || !fb.GetSize64(sb) || sa != sb)
        return false;
    std::vector<char> ba(1 << 16), bb(1 << 16);
    for (std::uint64_t left = sa; left > 0;) {
        auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(ba.size(), left));
        std::uint32_t done = 0;
        if (!fa.Read(ba.data(), n, done) || !fb.Read(bb.data(), n, done) || memcmp(ba.data(), bb.data(), n) != 0)
            return false;
        left -= n;
    }
    return true;
}
