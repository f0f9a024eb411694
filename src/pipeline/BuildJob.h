#pragma once
// One setup build: the checks, the installer script, the product archive, then either the
// self-extracting executable or the installer and its files copied side by side into the output
// folder. Every step reports to the build log; a failure is an "Error!" line, followed by an
// indented line with the path involved and the system's reason, and one more error. The checks
// run first and report everything they find; when they count errors nothing is written. After
// that a failure never ends a build (only the log's continue flag stops it early), but a build
// that counted errors leaves no setup program behind. Runs on its own thread (Start, Wait) or
// directly (Run).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/OutputSettings.h"
#include "pipeline/VersionResource.h"
#include "scope/InstallScope.h"
#include "platform/Thread.h"

class BuildLog;
class ContainerWriter;
class ProductArchive;
class ZstdDictionary;
class ProjectDocument;
class TreeNode;
struct Refusal;

// The last line of the log of a build that counted errors.
extern const char kNoSetupProduced[];
// The last line of the log of a build that made its setup, before the setup program's full path.
extern const char kSetupProducedAt[];

// A single-file setup's sizes and offsets are 32-bit: what it holds stays below this.
constexpr std::uint64_t kSingleFileLimit = std::uint64_t(1) << 32;
// "`what`: N GiB (n bytes), more than the 4 GiB ...; use side-by-side output".
std::string SingleFileTooLarge(const std::string& what, std::uint64_t size);

// What a build reads from the project, with the builder-side paths already resolved against the
// project file's folder.
struct BuildSettings {
    std::string projectFolder;  // relative product file paths start here
    std::string outputFolder;
    std::string setupFileName;
    std::string iconPath;  // empty: the executables keep their own icon
    bool selfExtracting = true;
    Compression compression = Compression::Standard;
    bool includeUninstaller = true;
    std::vector<std::string> languages;  // installer languages, in list order
    bool splash = false, license = false, readme = false;
    std::string splashPath, licensePath, readmePath;
    VersionTexts version;  // the product's texts; the file description is set per program
    ScopeChoice scope = ScopeChoice::AllUsers;  // whom the setup installs for: its programs' rights

    static BuildSettings FromProject(const ProjectDocument& project);
};

class BuildJob : public thread::Thread {
public:
    // `programFolder` is the builder's own folder: LanguageSets\Setup and setup lie below it.
    BuildJob(const ProjectDocument& project, BuildLog& log, std::string programFolder);
    ~BuildJob() override;

    // A command line run on every program the build produces before it is packed or delivered,
    // "{file}" standing for the program's path; empty: nothing is signed.
    void SetSigningCommand(std::string command) { signingCommand_ = std::move(command); }
    // Logs and counts every warning as an error, so that a build with warnings produces no setup.
    void SetWarningsAsErrors(bool on) { warningsAsErrors_ = on; }

    void Run() override;

    int ErrorCount() const { return errors_; }
    // The setup program that the build makes (or made): the output folder and the setup's name.
    std::string SetupPath() const;
    int WarningCount() const { return warnings_; }

private:
    void Log(const std::string& line);
    void Error(const std::string& line);
    // The error line, then "  " + the path in the system's form + ": " + the reason.
    void Error(const std::string& line, const std::string& path, const std::string& reason);
    // A file that could not be read: its own reason when it cannot be read now, otherwise the
    // system's code `code` for `otherPath`, the file written at the time.
    void ErrorReading(const std::string& line, const std::string& path, const std::string& otherPath, int code);
    void Warning(const std::string& text);
    bool Continue() const;

    void ChoosePaths();
    void Refused(const Refusal& refusal);
    bool CheckWritable();
    void CheckProductName();
    void CheckInstallable(bool withSplitLines);
    void CheckOutputFolder();
    void CheckInputs();
    void CheckInput(const std::string& what, bool used, const std::string& path);
    void CheckSingleFileSize();
    void CheckWarnings();
    void BuildSetup();
    void CreateScript();
    void BuildArchive();
    std::unique_ptr<ZstdDictionary> AddZstdDictionary(ProductArchive& archive, const std::vector<std::string>& sources,
                                                      std::size_t productFiles);
    void BuildSelfExtracting();
    void AddToContainer(ContainerWriter& writer);
    // Adds setup.ini to the container: in a small setup packed, when that makes it smaller.
    // False when the container refuses it.
    bool AddScript(ContainerWriter& writer);
    void WriteSelfExtracting(ContainerWriter& writer);
    std::string WorkFile(const std::string& name) const;
    // The packed copies made for the container, removed with the build's other work files.
    std::vector<std::string> packedCopies_;
    std::string PrebuiltUninstaller() const;
    std::string PrepareUninstaller();
    void CustomizeIcon(const std::string& target, const std::string& okLine, const std::string& errorLine);
    std::string Described(const std::string& what) const;
    void WriteVersion(const std::string& target, const std::string& name, const std::string& description);
    // The rights that a produced program asks for, from the project's scope; programs of an
    // all-users project stay as they were built.
    void WriteExecutionLevel(const std::string& target, const std::string& name);
    void Sign(const std::string& target, const std::string& name);
    bool Deliverable(const std::string& target);
    void CopyToOutput();
    bool CopyOne(const std::string& source, const std::string& target, const std::string& errorLine);
    void CopyBeside(const std::string& source, const std::string& folder, const std::string& okText,
                    const std::string& errorText);
    void LogSummary();
    void RemoveTemporaryFiles();

    const ProjectDocument& project_;
    BuildLog& log_;
    const std::string programFolder_;
    BuildSettings settings_;
    int errors_ = 0;
    int warnings_ = 0;
    std::string signingCommand_;
    bool warningsAsErrors_ = false;
    // The size of each product file that could be read, from the checks.
    std::map<const TreeNode*, std::uint64_t> productSizes_;
    // Set when a program could not be given its icon, version or signature: the setup that
    // would carry it is not delivered.
    bool spoiled_ = false;
    std::string workFolder_;  // private temporary folder of the build
    std::string scriptPath_;
    std::string archivePath_;
};
