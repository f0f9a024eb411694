#pragma once
// Shared by the fuzz targets: a scratch file for readers that take a path, and the check that
// stops a run with a message when a property does not hold (libFuzzer then keeps the input).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/File.h"

// Stops the run: abort() is what libFuzzer reports as a crash and keeps the input for.
#define FUZZ_CHECK(condition, what)                                                         \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)

// A file of this process in the temporary folder, rewritten for each input and removed at exit.
class ScratchFile {
public:
    explicit ScratchFile(const char* name) {
        const char* tmp = std::getenv("TMPDIR");
        path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/qs-fuzz-" + std::to_string(getpid()) + "-" + name;
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

    bool Write(const std::uint8_t* data, size_t size) const {
        File file;
        std::uint32_t done = 0;
        return file.Open(path_, CreateWrite) &&
               (size == 0 || file.Write(data, static_cast<std::uint32_t>(size), done)) && file.Close() > 0;
    }

private:
    std::string path_;
};
