#pragma once
// One setup build: the installer script, the product archive, then either the self-extracting
// executable or the installer and its files copied side by side into the output folder. Every
// step reports to the build log; a failure is an "Error!" line and one more error, never an end:
// only the log's continue flag stops a build early. Runs on its own thread (Start, Wait) or
// directly (Run).
#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/VersionResource.h"
#include "platform/Thread.h"

class BuildLog;
class ContainerWriter;
class ProjectDocument;
struct Refusal;

// What a build reads from the project, with the builder-side paths already resolved against the
// project file's folder.
struct BuildSettings {
    std::string projectFolder;  // relative product file paths start here
    std::string outputFolder;
    std::string setupFileName;
    std::string iconPath;  // empty: the executables keep their own icon
    bool selfExtracting = true;
    bool includeUninstaller = true;
    std::vector<std::string> languages;  // installer languages, in list order
    bool splash = false, license = false, readme = false;
    std::string splashPath, licensePath, readmePath;
    VersionTexts version;  // the product's texts; the file description is set per program

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

    void Run() override;

    int ErrorCount() const { return errors_; }
    int WarningCount() const { return warnings_; }

private:
    void Log(const std::string& line);
    void Error(const std::string& line);
    bool Continue() const;

    void ChoosePaths();
    void Refused(const Refusal& refusal);
    bool CheckWritable();
    bool PackageAccepted(bool withSplitLines);
    void BuildSetup(bool writable);
    bool CreateScript();
    void BuildArchive();
    void BuildSelfExtracting();
    void AddToContainer(ContainerWriter& writer);
    void WriteSelfExtracting(ContainerWriter& writer);
    std::string WorkFile(const std::string& name) const;
    std::string PrebuiltUninstaller() const;
    std::string PrepareUninstaller();
    void CustomizeIcon(const std::string& target, const std::string& okLine, const std::string& errorLine);
    std::string Described(const std::string& what) const;
    void WriteVersion(const std::string& target, const std::string& name, const std::string& description);
    void Sign(const std::string& target, const std::string& name);
    bool Deliverable(const std::string& target, const std::string& name);
    void CopyToOutput();
    bool CopyOne(const std::string& source, const std::string& target);
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
    // Set when a program could not be given its icon, version or signature: the setup that
    // would carry it is not delivered.
    bool spoiled_ = false;
    std::string workFolder_;  // private temporary folder of the build
    std::string scriptPath_;
    std::string archivePath_;
};
