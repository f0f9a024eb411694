#pragma once
// A private Wine prefix made for one verification and removed with this object. Making a prefix
// from nothing takes Wine many seconds, so one is made once per Wine version into a template in
// the user's cache folder; each session copies it, taking the large system folder of program
// libraries as hard links (cheap, and the copy's own registry and files stay its own). A session
// that changed one of those shared files in place discards the template.
//
// Programs run through the command interpreter of the prefix, which reports their whole exit
// code (a process's exit status on this system keeps only its lowest 8 bits).
#include <functional>
#include <string>
#include <vector>

class WineSession {
public:
    // Wine to run: the program named by the environment variable WINE when it is set, else
    // "wine" or "wine64" on the PATH, else Debian's /usr/lib/wine/wine64. Empty when none is
    // there (a WINE naming nothing runnable finds none).
    static std::string FindWine();

    using Progress = std::function<void(const std::string& line)>;
    WineSession(std::string wine, Progress progress);
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Makes the private prefix (and the template first, when there is none); false with `problem`.
    bool Open(std::string& problem);

    struct Run {
        bool started = false;  // false: the program could not be started at all
        int exitCode = -1;
        double seconds = 0;
        std::string output;  // what the program and Wine wrote to the console
    };
    // Runs a Windows program (`program` and `arguments` in Windows form, without quotes) and
    // waits for it.
    Run Start(const std::string& program, const std::vector<std::string>& arguments);
    // Waits until every program of the prefix has ended, at most `seconds`; false when one still
    // runs then (it is ended).
    bool WaitForPrograms(int seconds);
    // The hive's keys (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER) as the prefix's registry editor
    // exports them.
    bool Export(const std::string& hive, std::string& bytes, std::string& problem);

    // Drive C of the prefix, in the system's form.
    std::string DriveRoot() const;
    // The next session makes the template again (a shared file of it was changed).
    void DiscardTemplate();
    // Where the template's shared libraries lie, as a Windows path prefix ("C:\windows\system32\").
    static const char kSharedFolder[];

private:
    std::string Environment() const;
    int Shell(const std::string& command, std::string* output = nullptr);
    bool MakeTemplate(std::string& problem);

    std::string wine_, wineServer_;
    Progress progress_;
    std::string cacheFolder_;  // the template's folder (system form)
    std::string folder_;       // this session's folder: the prefix and its exports
};
