#include "pipeline/BuildJob.h"

#include "core/Path.h"
#include "pipeline/BuildLog.h"
#include "pipeline/PackageCheck.h"
#include "pipeline/ProjectPaths.h"
#include "profile/ScriptBuilder.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

const char kNoSetupProduced[] = "No setup was produced because of the errors above";

BuildSettings BuildSettings::FromProject(const ProjectDocument& project) {
    const std::string folder = FolderOf(project.Path());
    BuildSettings settings;
    settings.projectFolder = folder;
    const OutputSettings& output = project.outputSettings;
    settings.outputFolder = ResolveProjectPath(folder, output.OutputFolder());
    settings.setupFileName = output.SetupFileName();
    settings.iconPath = ResolveProjectPath(folder, output.SetupIconPath());
    settings.selfExtracting = output.CreateSelfExtractingSetup();
    settings.includeUninstaller = project.setupInfo.EnableUninstaller();
    std::string language;
    for (size_t i = 0; project.setupInfo.GetLanguage(i, language); ++i) settings.languages.push_back(language);
    const InstallerScreens& screens = project.installerScreens;
    settings.splash = screens.shows[InstallerScreens::SplashWindow];
    settings.license = screens.shows[InstallerScreens::LicenseDialog];
    settings.readme = screens.shows[InstallerScreens::ReadmeDialog];
    settings.splashPath = ResolveProjectPath(folder, screens.splashBitmapPath);
    settings.licensePath = ResolveProjectPath(folder, screens.licensePath);
    settings.readmePath = ResolveProjectPath(folder, screens.readmePath);
    const GeneralInfo& general = project.generalInfo;
    settings.version.productName = general.ProductName();
    settings.version.productVersion = general.ProductVersion();
    settings.version.companyName = general.CompanyName();
    settings.version.copyright = general.CopyrightNotice();
    return settings;
}

BuildJob::BuildJob(const ProjectDocument& project, BuildLog& log, std::string programFolder)
    : project_(project), log_(log), programFolder_(std::move(programFolder)) {}

BuildJob::~BuildJob() = default;

void BuildJob::Log(const std::string& line) { log_.Log(line); }

void BuildJob::Error(const std::string& line) {
    log_.Log(line);
    ++errors_;
}

void BuildJob::Error(const std::string& line, const std::string& path, const std::string& reason) {
    Error(line);
    log_.Log("  " + platform::NativePath(path) + ": " + reason);
}

void BuildJob::ErrorReading(const std::string& line, const std::string& path, const std::string& otherPath, int code) {
    const std::string problem = ReadProblem(path);
    if (problem.empty())
        Error(line, otherPath, platform::ErrorText(code));
    else
        Error(line, path, problem);
}

void BuildJob::Warning(const std::string& line) {
    log_.Log(line);
    ++warnings_;
}

bool BuildJob::Continue() const { return log_.ShouldContinue(); }

void BuildJob::Run() {
    errors_ = warnings_ = 0;
    spoiled_ = false;
    settings_ = BuildSettings::FromProject(project_);
    ChoosePaths();
    Log("Setup build process started");
    Log("Checking dependencies...");
    CheckInstallable();
    CheckOutputFolder();
    CheckInputs();
    CheckWarnings();
    // A build stopped during its checks ends like any stopped build: without a summary.
    if (Continue() && errors_ == 0)
        BuildSetup();
    else if (Continue())
        LogSummary();
    RemoveTemporaryFiles();
    log_.Finished();
}

void BuildJob::BuildSetup() {
    CreateScript();
    log_.Step();
    if (Continue()) {
        BuildArchive();
        log_.Step();
        if (Continue()) {
            if (settings_.selfExtracting)
                BuildSelfExtracting();
            else
                CopyToOutput();
            log_.Step();
            if (Continue()) LogSummary();
        }
    }
}

// Values that the installer refuses would make it reject the whole package: nothing is built.
bool BuildJob::CheckInstallable() {
    std::vector<std::string> refusals = InstallerRefusals(project_);
    for (const std::string& refusal : refusals) Error("Error! " + refusal);
    if (refusals.empty()) return true;
    Error("Error! The setup is not built: its installer would refuse the values above");
    return false;
}

// The working copies of the programs, and in a self-extracting build the script and the
// archive, lie in a temporary folder of the build's own, so builds running at once never share
// them.
void BuildJob::ChoosePaths() {
    workFolder_ = platform::MakeUniqueFolder(platform::TempFolder(), "qs-build-");
    if (settings_.selfExtracting) {
        scriptPath_ = WorkFile("setup.ini");
        archivePath_ = WorkFile("setup.zip");
    } else {
        scriptPath_ = settings_.outputFolder + "\\setup.ini";
        archivePath_ = settings_.outputFolder + "\\setup.zip";
    }
}

void BuildJob::CreateScript() {
    File file;
    if (!file.Open(scriptPath_, CreateWrite)) {
        Error("Error! Can not create setup.ini file", scriptPath_, platform::ErrorText(platform::LastError()));
        return;
    }
    Log("Creating setup.ini file...");
    ScriptBuilder script;
    project_.Export(script);
    platform::ClearLastError();
    bool written = script.WriteTo(file);
    int code = platform::LastError();
    if (file.Close() == 0 || !written) {
        if (written) code = platform::LastError();
        Error("Error! Can not write setup.ini file", scriptPath_, platform::ErrorText(code));
        return;
    }
    Log("setup.ini - OK");
}

void BuildJob::LogSummary() {
    Log("Setup build process has finished");
    Log("--------------------------------");
    Log("Errors: " + std::to_string(errors_) + "  Warnings: " + std::to_string(warnings_));
    if (errors_ > 0) Log(kNoSetupProduced);
}

std::string BuildJob::WorkFile(const std::string& name) const {
    return (workFolder_.empty() ? platform::TempFolder() : workFolder_) + "\\" + name;
}

void BuildJob::RemoveTemporaryFiles() {
    if (settings_.selfExtracting) {
        RemoveFile(scriptPath_);
        RemoveFile(archivePath_);
    }
    for (const char* name : {"setup.exe", "stub.exe", "uninstall.exe", "sign.log"}) RemoveFile(WorkFile(name));
    if (!workFolder_.empty()) platform::RemoveFolder(workFolder_);
}
