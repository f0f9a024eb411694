#pragma once
// What a build reports to whoever watches it: the build dialog, qsbuild's console, a test.
// The build calls it from its own thread; an adapter hands the calls on to where they belong.
#include <atomic>
#include <cstdint>
#include <string>

class BuildLog {
public:
    virtual ~BuildLog() = default;
    // One line of the build log.
    virtual void Log(const std::string& line) = 0;
    // One step of the build's progress: three steps make a whole build.
    virtual void Step() {}
    // Progress inside the archive step: product files and their bytes packed so far.
    virtual void Archived(std::uint64_t /*files*/, std::uint64_t /*bytes*/) {}
    // The build's last act, after its temporary files are gone (the build dialog is told to
    // offer Close).
    virtual void Finished() {}

    // The continue flag: set when the build starts, cleared once to stop it at its next test.
    bool ShouldContinue() const { return continue_.load(std::memory_order_relaxed); }
    void Cancel() { continue_.store(false, std::memory_order_relaxed); }

private:
    std::atomic<bool> continue_{true};
};
