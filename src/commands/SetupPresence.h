#pragma once
// Whether the setup program that Test Run starts is there, known without asking the disk on
// every idle pass: the disk is asked once for each path the program is looked for at (a project
// opened, the output folder or the setup file name changed), a build that wrote the program
// says so, and a start that failed says the program is gone.
#include <functional>
#include <string>

class SetupPresence {
public:
    // `probe` asks the disk whether a file is there.
    explicit SetupPresence(std::function<bool(const std::string&)> probe) : probe_(std::move(probe)) {}

    // Whether the program at `path` is there; asks the disk only when the path is new.
    bool Exists(const std::string& path);
    // A build for `path` ended; `written` when it wrote the program (a failed build may have
    // left an older one: the disk is asked again).
    void Built(const std::string& path, bool written);
    // Starting the program at `path` failed.
    void StartFailed(const std::string& path);
    // The project closed: the next path is new whatever it is.
    void Forget();
    // How often the disk was asked.
    int Probes() const { return probes_; }

private:
    std::function<bool(const std::string&)> probe_;
    std::string path_;
    bool known_ = false;
    bool exists_ = false;
    int probes_ = 0;
};
