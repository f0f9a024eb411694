// Whether an existing file is replaced, mode by mode, asking only for the facts the mode needs.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "installer/ReplaceDecision.h"
#include "package/SetupScript.h"

namespace {

// Facts given by the test; records which were asked for.
struct GivenFacts : ReplaceFacts {
    bool hasVersions = true;
    int versionOrder = 0, dateOrder = 0;
    bool same = false, answer = false;
    std::string asked;

    bool CompareVersions(int& order) override {
        asked += 'v';
        order = versionOrder;
        return hasVersions;
    }
    int CompareDates() override {
        asked += 'd';
        return dateOrder;
    }
    bool SameContents() override {
        asked += 'c';
        return same;
    }
    bool AskReplace() override {
        asked += 'a';
        return answer;
    }
};

}  // namespace

TEST(ReplaceDecision, EachModeDecidesOnItsOwnFactsOnly) {
    struct Case {
        int mode;
        GivenFacts facts;
        bool replaces;
        const char* asked;
    };
    auto facts = [](bool versions, int version, int date, bool same, bool answer) {
        GivenFacts f;
        f.hasVersions = versions;
        f.versionOrder = version;
        f.dateOrder = date;
        f.same = same;
        f.answer = answer;
        return f;
    };
    Case cases[] = {
        {kReplaceAlways, facts(true, 1, 1, true, false), true, ""},
        {kReplaceAtRestart, facts(true, 1, 1, true, false), true, ""},
        {kReplaceNever, facts(true, -1, -1, false, true), false, ""},
        {kReplaceOlderDate, facts(true, 1, -1, true, false), true, "d"},
        {kReplaceOlderDate, facts(true, -1, 0, false, true), false, "d"},
        {kReplaceLowerVersion, facts(true, -1, 1, true, false), true, "v"},
        {kReplaceLowerVersion, facts(true, 0, -1, false, true), false, "v"},
        {kReplaceLowerVersion, facts(false, -1, -1, false, true), false, "v"},  // no version: kept
        // The version decides first; the date only when the versions are equal or missing.
        {kReplaceLowerOrOlder, facts(true, -1, 1, true, false), true, "v"},
        {kReplaceLowerOrOlder, facts(true, 1, -1, true, false), false, "v"},
        {kReplaceLowerOrOlder, facts(true, 0, -1, true, false), true, "vd"},
        {kReplaceLowerOrOlder, facts(true, 0, 0, true, false), false, "vd"},
        {kReplaceLowerOrOlder, facts(false, 1, -1, true, false), true, "vd"},
        {kReplaceAsk, facts(true, -1, -1, false, false), false, "a"},
        {kReplaceAsk, facts(true, 1, 1, true, true), true, "a"},
        {kReplaceDifferent, facts(true, -1, -1, true, false), false, "c"},
        {kReplaceDifferent, facts(true, 1, 1, false, false), true, "c"},
        {42, facts(true, 1, 1, true, false), true, ""},
    };
    for (Case& c : cases) {
        EXPECT_EQ(ShouldReplace(c.mode, c.facts), c.replaces) << "mode " << c.mode << " asked " << c.facts.asked;
        EXPECT_EQ(c.facts.asked, c.asked) << "mode " << c.mode;
    }
}

TEST(ReplaceDecision, ContentsCompareByteForByteAcrossBlocks) {
    ScratchFolder scratch;
    std::string big(200000, 'x');
    std::string changed = big;
    changed[150000] = 'y';  // in the third block of 64 KB
    std::string a = scratch.Write("a", big), b = scratch.Write("b", big), c = scratch.Write("c", changed);
    std::string shorter = scratch.Write("d", big.substr(1)), empty1 = scratch.Write("e", ""), empty2 = scratch.Write("f", "");
    EXPECT_TRUE(SameFileContents(a, b));
    EXPECT_FALSE(SameFileContents(a, c));
    EXPECT_FALSE(SameFileContents(a, shorter));
    EXPECT_TRUE(SameFileContents(empty1, empty2));
    EXPECT_FALSE(SameFileContents(a, scratch.File("missing")));
}
