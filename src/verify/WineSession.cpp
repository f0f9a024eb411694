#include "verify/WineSession.h"

#include <chrono>
#include <cstdlib>

#include "core/Path.h"
#include "core/Text.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

const char WineSession::kSharedFolder[] = "C:\\windows\\system32\\";

namespace {

// No debug output, no prompts to install Wine's .NET and HTML engines, and no menu builder,
// which would copy the prefix's Start menu shortcuts into this computer's desktop menus.
const char kQuietWine[] = "WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'";

// `text` as one argument of /bin/sh, whatever it holds.
std::string ShellWord(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Native(const std::string& systemPath) { return ShellWord(platform::NativePath(systemPath)); }

std::string OnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    size_t at = 0;
    while (at <= folders.size()) {
        size_t end = folders.find(':', at);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = folders.substr(at, end - at);
        if (!folder.empty() && platform::IsFile(platform::SystemPath(folder + "/" + name)))
            return folder + "/" + name;
        at = end + 1;
    }
    return {};
}

// The user's cache folder for programs: $XDG_CACHE_HOME, else ~/.cache, else the temporary folder.
std::string CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    std::string folder = cache && *cache ? cache : home && *home ? std::string(home) + "/.cache" : "";
    return folder.empty() ? platform::TempFolder() : platform::SystemPath(folder);
}

// A folder name from Wine's version line: "wine-8.0 (Debian 8.0~repack-4)" gives
// "wine-8.0-Debian-8.0-repack-4".
std::string VersionName(const std::string& version) {
    std::string name;
    for (char c : version) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
        if (plain)
            name += c;
        else if (!name.empty() && name.back() != '-')
            name += '-';
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    return name.empty() ? "wine" : name;
}

}  // namespace

std::string WineSession::FindWine() {
    if (const char* named = std::getenv("WINE")) {
        const std::string wine = *named == '/' ? named : OnPath(named);
        return !wine.empty() && platform::IsFile(platform::SystemPath(wine)) ? wine : std::string();
    }
    for (const char* name : {"wine", "wine64"})
        if (std::string found = OnPath(name); !found.empty()) return found;
    for (const char* path : {"/usr/lib/wine/wine64", "/usr/lib/wine/wine"})
        if (platform::IsFile(platform::SystemPath(path))) return path;
    return {};
}

WineSession::WineSession(std::string wine, Progress progress) : wine_(std::move(wine)), progress_(std::move(progress)) {
    // The server beside the loader (Debian keeps both in /usr/lib/wine), else the one on the PATH.
    const char* named = std::getenv("WINESERVER");
    const std::string beside = FolderOf(wine_) + "/wineserver";
    if (named && *named)
        wineServer_ = named;
    else if (platform::IsFile(platform::SystemPath(beside)))
        wineServer_ = beside;
    else if (std::string found = OnPath("wineserver"); !found.empty())
        wineServer_ = found;
    else
        wineServer_ = "/usr/lib/wine/wineserver";
}

WineSession::~WineSession() {
    if (folder_.empty()) return;
    Shell(Environment() + " " + ShellWord(wineServer_) + " -k; rm -rf " + Native(folder_));
}

std::string WineSession::Environment() const {
    return "WINEPREFIX=" + Native(JoinPath(folder_, "prefix")) +
           " " + kQuietWine;
}

int WineSession::Shell(const std::string& command, std::string* output) {
    const std::string outputPath = JoinPath(folder_.empty() ? platform::TempFolder() : folder_, "console.txt");
    const int code = platform::RunCommandLine(command, outputPath);
    if (output) ReadFileBytes(outputPath, *output);
    RemoveFile(outputPath);
    return code;
}

bool WineSession::Open(std::string& problem) {
    std::string version;
    if (Shell(ShellWord(wine_) + " --version", &version) != 0) {
        problem = "Wine (" + wine_ + ") does not start: " + version;
        return false;
    }
    const std::string base = JoinPath(JoinPath(CacheFolder(), "quillset"), VersionName(version));
    if (Shell("mkdir -p " + Native(base)) != 0) {
        problem = "cannot make the folder " + platform::NativePath(base);
        return false;
    }
    cacheFolder_ = JoinPath(base, "template");
    if (!platform::IsFile(JoinPath(JoinPath(cacheFolder_, "prefix"), "system.reg")) && !MakeTemplate(problem))
        return false;
    folder_ = platform::MakeUniqueFolder(base, "run-");
    if (folder_.empty()) {
        problem = "cannot make a folder in " + platform::NativePath(base);
        return false;
    }
    // Everything is copied but the program libraries, which are linked; where links cannot be
    // made they are copied too.
    const std::string prefix = Native(JoinPath(folder_, "prefix"));
    const std::string system = prefix + "/drive_c/windows/system32";
    std::string output;
    const int code = Shell("set -e; mkdir " + prefix + "; cd " + Native(JoinPath(cacheFolder_, "prefix")) +
                               "; tar --exclude=./drive_c/windows/system32 -cf - . | tar -xf - -C " + prefix +
                               "; cp -al drive_c/windows/system32 " + prefix + "/drive_c/windows/ 2>/dev/null || { rm -rf " +
                               system + "; cp -a drive_c/windows/system32 " + prefix + "/drive_c/windows/; }",
                           &output);
    if (code != 0) {
        problem = "cannot copy the Wine prefix template: " + output;
        return false;
    }
    return true;
}

// A new prefix as Wine makes it, with the user's folders that Wine links to the desktop's own
// (Desktop, Documents, ...) made ordinary folders, so that nothing of a setup reaches this
// computer's home folder. Made under a name of its own and renamed, so that sessions running
// at once never see half a template.
bool WineSession::MakeTemplate(std::string& problem) {
    const std::string base = FolderOf(cacheFolder_);
    const std::string fresh = platform::MakeUniqueFolder(base, "new-");
    if (fresh.empty()) {
        problem = "cannot make a folder in " + platform::NativePath(base);
        return false;
    }
    if (progress_) progress_("Preparing a Wine prefix template (once for this Wine) in " + platform::NativePath(cacheFolder_));
    const std::string prefix = Native(JoinPath(fresh, "prefix"));
    const std::string env = "WINEPREFIX=" + prefix + " " + kQuietWine;
    std::string output;
    const int code = Shell(env + " " + ShellWord(wine_) + " wineboot -i && " + env + " " + ShellWord(wineServer_) +
                               " -w && find " + prefix + "/drive_c -type l | while IFS= read -r l; do rm \"$l\" && mkdir \"$l\"; done" +
                               " && test -f " + prefix + "/system.reg && { mv -T " + Native(fresh) + " " + Native(cacheFolder_) +
                               " 2>/dev/null || rm -rf " + Native(fresh) + "; }",
                           &output);
    if (code != 0) {
        Shell("rm -rf " + Native(fresh));
        problem = "Wine could not make a prefix (wineboot): " + output;
        return false;
    }
    return true;
}

void WineSession::DiscardTemplate() {
    if (!cacheFolder_.empty()) Shell("rm -rf " + Native(cacheFolder_));
}

std::string WineSession::DriveRoot() const { return JoinPath(JoinPath(folder_, "prefix"), "drive_c"); }

WineSession::Run WineSession::Start(const std::string& program, const std::vector<std::string>& arguments) {
    // cmd /V:ON /c PROGRAM ARGS & echo MARK!ERRORLEVEL! : the whole exit code, after the output.
    static const char kMark[] = "qs-verify-exit=";
    std::string command = Environment() + " " + ShellWord(wine_) + " cmd /V:ON /c " + ShellWord(program);
    for (const std::string& argument : arguments) command += " " + ShellWord(argument);
    command += " '&' echo " + ShellWord(std::string(kMark) + "!ERRORLEVEL!");
    Run run;
    const auto start = std::chrono::steady_clock::now();
    Shell(command, &run.output);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const size_t mark = run.output.rfind(kMark);
    if (mark != std::string::npos) {
        run.started = true;
        run.exitCode = ReadLeadingInt(run.output.substr(mark + sizeof kMark - 1));
        run.output.erase(mark);
    }
    while (!run.output.empty() && (run.output.back() == '\n' || run.output.back() == '\r')) run.output.pop_back();
    // cmd's own words when the program is not there or is no program.
    if (run.exitCode == 9009) run.started = false;
    return run;
}

bool WineSession::WaitForPrograms(int seconds) {
    const int code = Shell(Environment() + " timeout " + std::to_string(seconds) + " " + ShellWord(wineServer_) + " -w");
    if (code == 0) return true;
    Shell(Environment() + " " + ShellWord(wineServer_) + " -k");
    return false;
}

// The export follows the wait for the prefix's programs, which ends as the Wine server ends: a
// registry editor started in that moment can find the server going away ("wine client error").
// It is then started again, with a server of its own.
bool WineSession::Export(const std::string& hive, std::string& bytes, std::string& problem) {
    const std::string file = JoinPath(folder_, "export.reg");
    std::string output;
    for (int attempt = 0; attempt < 3; ++attempt) {
        RemoveFile(file);
        const int code = Shell(Environment() + " " + ShellWord(wine_) + " regedit /E " + ShellWord(file) + " " + ShellWord(hive), &output);
        if (code == 0 && ReadFileBytes(file, bytes)) {
            RemoveFile(file);
            return true;
        }
        if (output.find("wine client error") == std::string::npos) break;
        Shell(Environment() + " " + ShellWord(wineServer_) + " -w");
    }
    problem = "Wine's registry editor did not export " + hive + (output.empty() ? "" : ": " + output);
    return false;
}
