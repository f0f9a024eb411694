// qsbuild: the command-line builder. Loads a project file and builds its installer with the same
// pipeline as the graphical builder, printing the build log on standard output.
//
// Exit codes: 0 the build ended without errors; 1 errors were counted or the build was
// interrupted; 2 wrong arguments, or a project that cannot be opened or built.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/VerifyCommand.h"
#include "pipeline/BuildJob.h"
#include "pipeline/BuildLog.h"
#include "model/ProjectPaths.h"
#include "core/Exception.h"
#include "core/Path.h"
#include "core/Text.h"
#include "lang/LanguageSets.h"
#include "lang/MessageBoxes.h"
#include "model/ProjectDocument.h"
#include "model/WizardProject.h"
#include "platform/CodePage.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"

namespace {

const char kUsage[] =
    "Usage: qsbuild [options] PROJECT.qsp\n"
    "       qsbuild --new PROJECT.qsp --files DIR [--flat] [--force] [--scope all|user|ask] [project texts]\n"
    "       qsbuild --verify [--upgrade-from OLD_SETUP.exe] [--json FILE] SETUP.exe|PROJECT.qsp\n"
    "       qsbuild --verify [--upgrade-from OLD_SETUP.exe] [--json FILE] SETUP.exe PROJECT.qsp\n"
    "\n"
    "Builds the installer of a Quillset project into the project's output folder.\n"
    "Paths in the project that are not absolute are taken relative to the project file.\n"
    "\n"
    "Options:\n"
    "  --output DIR       build into DIR instead of the project's output folder\n"
    "  --single-file      build one self-extracting setup program\n"
    "  --side-by-side     copy the setup program and its files into the output folder\n"
    "  --compression standard|small\n"
    "                     standard: deflate, which every ZIP tool reads (the default);\n"
    "                     small: zstd, a smaller setup that installs as fast but builds slower\n"
    "  --language NAME    builder language whose texts fill keys the project lacks (default: English)\n"
    "  --quiet            print only failures and warnings (on standard error)\n"
    "  --warnings-as-errors\n"
    "                     count every warning as an error: the build then produces no setup\n"
    "                     and exits 1\n"
    "  --save-as FILE     write the project to FILE in the builder's own form instead of building\n"
    "  --codepage N       the Windows code page of a project without the UTF-8 mark whose texts\n"
    "                     go beyond ASCII (default: 1252 on Linux, the system's on Windows)\n"
    "  --sign \"COMMAND\"   sign every program the build produces with COMMAND, {file} standing for\n"
    "                     the program's path (the installer and uninstaller before they are packed,\n"
    "                     the finished setup last)\n"
    "  --help             show this help\n"
    "  --version          show the version\n"
    "\n"
    "New projects (as the New Project Wizard makes them):\n"
    "  --new FILE         write a new project to FILE instead of building\n"
    "  --files DIR        the folder that holds the product's files (with its subfolders)\n"
    "  --flat             take only the files directly in DIR\n"
    "  --scope all|user|ask  install for all users (administrator rights, the default), for the\n"
    "                     current user only (no rights), or let the user choose in the setup\n"
    "  --force            replace FILE when it exists\n"
    "  --company TEXT, --product TEXT, --product-version TEXT, --description TEXT,\n"
    "  --url TEXT, --copyright TEXT\n"
    "                     the product's general information (the wizard's defaults otherwise)\n"
    "\n"
    "Verification (Linux, with Wine):\n"
    "  --verify           install the setup silently in a private Wine prefix, record what it\n"
    "                     installed, uninstall it and record what is left; a project is built\n"
    "                     first and what was installed is compared with what it names (given\n"
    "                     with a setup, the setup is compared with it as it is, unbuilt)\n"
    "  --upgrade-from OLD_SETUP.exe\n"
    "                     install OLD_SETUP.exe first and the setup over it\n"
    "  --json FILE        also write the report to FILE as JSON\n"
    "  Exit codes of --verify: 0 clean, 1 findings, 2 could not verify (no Wine, no setup).\n"
    "\n"
    "The project file itself is never changed. Exit codes: 0 built without errors, 1 errors or\n"
    "interrupted (Ctrl+C), 2 wrong arguments or a project that cannot be opened or is no project.\n"
    "Lines and sections of the project file that Quillset does not read are warnings.\n";

struct Options {
    std::string projectPath;
    std::string outputFolder;
    std::string saveAsPath;
    std::string language = "English";
    std::string signingCommand;
    int selfExtracting = -1;  // -1: as the project says
    bool compressionGiven = false;
    Compression compression = Compression::Standard;
    bool quiet = false;
    bool warningsAsErrors = false;

    // --verify: a setup, a project to build first, or a setup and the project it was built from.
    bool verify = false;
    std::string verifySetup;
    VerifyOptions verifyOptions;

    // --new: the wizard's answers.
    std::string newPath;
    bool force = false;
    bool filesGiven = false;
    bool scopeGiven = false;
    ProjectWizardData answers;
};

// The options that set one of the wizard's texts.
struct AnswerOption {
    const char* name;
    void (ProjectWizardData::*set)(const std::string&);
};
const AnswerOption kAnswerOptions[] = {
    {"--company", &ProjectWizardData::SetCompanyName},
    {"--product", &ProjectWizardData::SetProductName},
    {"--product-version", &ProjectWizardData::SetProductVersion},
    {"--description", &ProjectWizardData::SetProductDescription},
    {"--url", &ProjectWizardData::SetProductWebAddress},
    {"--copyright", &ProjectWizardData::SetCopyrightNotice},
    {"--files", &ProjectWizardData::SetFilesFolder},
};
const AnswerOption* FindAnswerOption(const std::string& arg) {
    for (const AnswerOption& option : kAnswerOptions)
        if (arg == option.name) return &option;
    return nullptr;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "qsbuild: %s\n", message.c_str());
    return 2;
}

int Usage(const std::string& message) {
    std::fprintf(stderr, "qsbuild: %s\n\n%s", message.c_str(), kUsage);
    return 2;
}

// The build log on the console: each line as it is logged, and on a terminal a progress line on
// standard error that the next log line replaces.
class ConsoleLog : public BuildLog {
public:
    ConsoleLog(bool quiet, bool progress) : quiet_(quiet), progress_(progress) {}

    // Quiet, a failure goes to standard error with the indented lines that explain it, and so
    // does the last line, which says that no setup was produced.
    void Log(const std::string& line) override {
        ClearProgress();
        if (!quiet_) {
            std::fprintf(stdout, "%s\n", line.c_str());
            std::fflush(stdout);
            return;
        }
        const bool detail = line.compare(0, 2, "  ") == 0;
        if (!detail) showing_ = IsFailure(line);
        if (showing_) std::fprintf(stderr, "%s\n", line.c_str());
    }

    void Archived(std::uint64_t files, std::uint64_t bytes) override {
        if (!progress_) return;
        auto now = std::chrono::steady_clock::now();
        if (now - lastShown_ < std::chrono::milliseconds(100)) return;
        lastShown_ = now;
        shownWidth_ = std::fprintf(stderr, "\r  setup.zip: %llu files, %.1f MB ", static_cast<unsigned long long>(files),
                                   static_cast<double>(bytes) / (1024.0 * 1024.0));
        std::fflush(stderr);
    }

private:
    static bool IsFailure(const std::string& line) {
        const std::string tail = " - Error";
        return line.compare(0, 6, "Error!") == 0 || line.compare(0, 8, "Warning!") == 0 ||
               line == kNoSetupProduced ||
               (line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0);
    }

    void ClearProgress() {
        if (shownWidth_ <= 0) return;
        std::fprintf(stderr, "\r%*s\r", shownWidth_, "");
        std::fflush(stderr);
        shownWidth_ = 0;
    }

    bool quiet_;
    bool progress_;
    bool showing_ = false;  // the last line that was not a detail went to standard error
    int shownWidth_ = 0;
    std::chrono::steady_clock::time_point lastShown_;
};

// The language layer's messages (a language file that cannot be loaded) go to standard error.
class ConsoleMessages : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, MessageIcon) override {
        std::fprintf(stderr, "qsbuild: %s: %s\n", caption.c_str(), text.c_str());
    }
};

// The build that Ctrl+C stops; read by the signal handler, hence atomic.
std::atomic<ConsoleLog*> runningLog{nullptr};

void OnInterrupt() {
    if (ConsoleLog* log = runningLog.load()) log->Cancel();
}

// The builder's folder, where LanguageSets and setup lie: the program's own in a program folder
// (dist/Quillset), or, for a qsbuild installed as /usr/bin/qsbuild by the Debian package,
// /usr/share/quillset.
std::string BuilderFolder() {
    const std::string own = platform::ModuleFolder();
    if (platform::IsFolder(JoinPath(own, "LanguageSets"))) return own;
    const std::string shared = JoinPath(JoinPath(FolderOf(own), "share"), "quillset");
    return platform::IsFolder(JoinPath(shared, "LanguageSets")) ? shared : own;
}

// A project file, by its extension; anything else given to --verify is a setup program.
bool IsProjectPath(const std::string& path) {
    return path.size() > 4 && EqualNoCase(path.substr(path.size() - 4), ".qsp");
}

// Parses the arguments; a non-negative result is the exit code to end with at once.
int ParseArguments(int argc, char** argv, Options& options) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::puts("qsbuild 1.0");
            return 0;
        } else if (arg == "--compression") {
            if (i + 1 >= argc || !ParseCompression(argv[i + 1], options.compression))
                return Usage("option --compression needs standard or small");
            ++i;
            options.compressionGiven = true;
        } else if (arg == "--output" || arg == "--language" || arg == "--save-as" || arg == "--sign") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage("option " + arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--output") options.outputFolder = platform::FullSystemPath(value);
            if (arg == "--language") options.language = value;
            if (arg == "--save-as") options.saveAsPath = platform::FullSystemPath(value);
            if (arg == "--sign") options.signingCommand = value;
        } else if (arg == "--codepage") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage("option --codepage needs a value");
            const std::string value = argv[++i];
            const unsigned codePage = static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 10));
            if (value.find_first_not_of("0123456789") != std::string::npos || !platform::IsKnownCodePage(codePage))
                return Usage("--codepage " + value + " is not a code page this system can convert");
            platform::SetLegacyCodePage(codePage);
        } else if (arg == "--verify") {
            options.verify = true;
        } else if (arg == "--upgrade-from" || arg == "--json") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage("option " + arg + " needs a value");
            std::string& value = arg == "--json" ? options.verifyOptions.jsonPath : options.verifyOptions.upgradeFrom;
            value = platform::FullSystemPath(argv[++i]);
        } else if (arg == "--new") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage("option --new needs a value");
            options.newPath = platform::FullSystemPath(argv[++i]);
        } else if (const AnswerOption* answer = FindAnswerOption(arg)) {
            if (i + 1 >= argc) return Usage("option " + arg + " needs a value");
            std::string value = argv[++i];
            if (arg == "--files") {
                if (value.empty()) return Usage("option --files needs a value");
                value = platform::FullSystemPath(value);
                options.filesGiven = true;
            }
            (options.answers.*answer->set)(value);
        } else if (arg == "--scope") {
            if (i + 1 >= argc || !ReadScopeChoice(argv[i + 1], options.answers.scope))
                return Usage("option --scope needs all, user or ask");
            ++i;
            options.scopeGiven = true;
        } else if (arg == "--flat") {
            options.answers.scanOption = false;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--single-file" || arg == "--side-by-side") {
            const int wanted = arg == "--single-file" ? 1 : 0;
            if (options.selfExtracting >= 0 && options.selfExtracting != wanted)
                return Usage("--single-file and --side-by-side exclude each other");
            options.selfExtracting = wanted;
        } else if (arg == "--quiet" || arg == "-q") {
            options.quiet = true;
        } else if (arg == "--warnings-as-errors") {
            options.warningsAsErrors = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    // A project; with --verify a setup, a project, or both in either order.
    for (const std::string& file : files) {
        const bool setup = options.verify && !IsProjectPath(file);
        std::string& slot = setup ? options.verifySetup : options.projectPath;
        if (!slot.empty()) return Usage(setup ? "only one setup may be verified at a time" : "only one project file may be given");
        slot = platform::FullSystemPath(file);
    }
    if (!options.verify && (!options.verifyOptions.upgradeFrom.empty() || !options.verifyOptions.jsonPath.empty()))
        return Usage("--upgrade-from and --json apply only with --verify");
    if (options.verify && (!options.newPath.empty() || !options.saveAsPath.empty()))
        return Usage("--verify verifies a setup: give neither --new nor --save-as");
    if (!options.newPath.empty()) {
        if (!options.projectPath.empty()) return Usage("--new writes a project and builds none: give no other project");
        if (!options.filesGiven) return Usage("--new needs --files DIR, the folder with the product's files");
        if (!options.outputFolder.empty() || !options.saveAsPath.empty() || options.selfExtracting >= 0 ||
            options.warningsAsErrors || options.compressionGiven)
            return Usage("--output, --save-as, --single-file, --side-by-side, --compression and --warnings-as-errors "
                         "apply to builds, not to --new");
        return -1;
    }
    if (options.filesGiven || options.force || !options.answers.scanOption || options.scopeGiven ||
        options.answers.IsModified())
        return Usage("--files, --flat, --force, --scope and the project texts apply only with --new");
    if (options.verify && options.projectPath.empty() && options.verifySetup.empty())
        return Usage("no setup or project given to --verify");
    if (options.projectPath.empty() && !options.verify) return Usage("no project file given");
    return -1;
}

// Runs the build on its own thread, so that Ctrl+C can stop it between steps.
int Build(const ProjectDocument& project, const Options& options) {
    ConsoleLog log(options.quiet, !options.quiet && platform::StandardErrorIsTerminal());
    BuildJob job(project, log, BuilderFolder());
    job.SetSigningCommand(options.signingCommand);
    job.SetWarningsAsErrors(options.warningsAsErrors);
    runningLog = &log;
    platform::CatchInterrupt(OnInterrupt);
    try {
        job.Start();
        job.Wait();
    } catch (const thread::GenericError& e) {
        runningLog = nullptr;
        std::fprintf(stderr, "qsbuild: %s\n", e.What());
        return 1;
    }
    runningLog = nullptr;
    if (!log.ShouldContinue()) {
        std::fprintf(stderr, "qsbuild: build interrupted; temporary files removed\n");
        return 1;
    }
    return job.ErrorCount() > 0 ? 1 : 0;
}

// Writes the project the New Project Wizard makes for the same answers.
int NewProject(const LanguageSets& texts, const Options& options) {
    if (!options.force && platform::IsFile(options.newPath))
        return Fail(platform::NativePath(options.newPath) + " exists; use --force to replace it");
    const std::string folder = platform::NativePath(options.answers.FilesFolder());
    ProjectDocument project(texts);
    const WizardFiles added = CreateWizardProject(project, options.answers);
    switch (added.problem) {
        case WizardFiles::Missing: return Fail("the product folder " + folder + " does not exist");
        case WizardFiles::Unreadable: return Fail("the product folder " + folder + " cannot be read");
        case WizardFiles::NoFolder:
        case WizardFiles::None: break;
    }
    try {
        project.SaveAs(options.newPath);
    } catch (const FileException& e) {
        return Fail("cannot write project file " + platform::NativePath(e.Text()));
    }
    if (!options.quiet)
        std::printf("%s: %zu files in %zu folders from %s%s\n", platform::NativePath(options.newPath).c_str(),
                    added.files, added.folders, folder.c_str(), added.files == 0 ? " (the folder holds no files)" : "");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    platform::WriteConsoleAsUtf8();
    Options options;
    int parsed = ParseArguments(argc, argv, options);
    if (parsed >= 0) return parsed;
    if (options.verify && !VerifyCanRun()) return 2;

    ConsoleMessages messages;
    LanguageSets texts(BuilderFolder(), messages);
    texts.SetLanguage(options.language);  // tells through `messages` when a language is missing

    if (!options.newPath.empty()) return NewProject(texts, options);
    if (options.verify && options.projectPath.empty())
        return RunVerify(options.verifySetup, nullptr, options.verifyOptions, options.quiet);

    ProjectDocument project(texts);
    try {
        project.Open(options.projectPath);
    } catch (const FileException& e) {
        return Fail("cannot open project file " + platform::NativePath(e.Text()));
    } catch (const ProjectFormatException& e) {
        return Fail(e.Text());
    }
    // A setup given beside the project is verified against it as it is, without a build.
    if (options.verify && !options.verifySetup.empty())
        return RunVerify(options.verifySetup, &project, options.verifyOptions, options.quiet);
    if (!options.saveAsPath.empty()) {
        // Written back, the parts that were not read are gone: say which.
        for (const std::string& finding : project.ReadFindings())
            std::fprintf(stderr, "qsbuild: warning: %s\n", finding.c_str());
        try {
            project.SaveAs(options.saveAsPath);
        } catch (const FileException& e) {
            return Fail("cannot write project file " + platform::NativePath(e.Text()));
        }
        if (project.TakeFormChange())
            std::fprintf(stderr, "qsbuild: %s holds characters that code page %u cannot; it is written as UTF-8\n",
                         platform::NativePath(options.saveAsPath).c_str(), platform::LegacyCodePage());
        return 0;
    }

    // Overrides for this run only: the document is never saved.
    OutputSettings& output = project.outputSettings;
    if (!options.outputFolder.empty()) output.SetOutputFolder(options.outputFolder);
    if (options.selfExtracting >= 0) output.SetCreateSelfExtractingSetup(options.selfExtracting == 1);
    if (options.compressionGiven) output.SetArchiveCompression(options.compression);
    if (output.OutputFolder().empty()) return Fail("the project names no output folder (use --output DIR)");
    if (output.SetupFileName().empty()) return Fail("the project names no setup file name");
    const int built = Build(project, options);
    // A setup that was not built cannot be verified.
    if (built != 0) return options.verify ? 2 : built;
    if (!options.verify) return 0;
    return RunVerify(JoinPath(ResolveProjectPath(FolderOf(project.Path()), output.OutputFolder()), output.SetupFileName()),
                     &project, options.verifyOptions, options.quiet);
}
