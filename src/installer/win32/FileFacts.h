#pragma once
// What the replace modes compare of an existing file and the new one beside it, read from the
// files themselves: their version resources, last write times and contents.
#include <functional>
#include <string>

#include "installer/ReplaceDecision.h"

class FileFacts : public ReplaceFacts {
public:
    // `ask` puts the question to the user.
    FileFacts(const std::string& existing, const std::string& fresh, std::function<bool()> ask)
        : existing_(existing), fresh_(fresh), ask_(std::move(ask)) {}

    bool CompareVersions(int& order) override;
    int CompareDates() override;
    bool SameContents() override { return SameFileContents(existing_, fresh_); }
    bool AskReplace() override { return ask_(); }

private:
    std::string existing_, fresh_;
    std::function<bool()> ask_;
};
