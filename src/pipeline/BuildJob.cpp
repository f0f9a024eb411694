#include "pipeline/BuildJob.h"

#include <algorithm>
#include <map>

#include "core/Path.h"
#include "executable/PeImage.h"
#include "package/PackageCheck.h"
#include "pipeline/ScriptLimits.h"
#include "pipeline/BuildLog.h"
#include "model/ProjectPaths.h"
#include "profile/ScriptBuilder.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

const char kNoSetupProduced[] = "No setup was produced because of the errors above";
const char kSetupProducedAt[] = "The setup is ";

BuildSettings BuildSettings::FromProject(const ProjectDocument& project) {
    const std::string folder = FolderOf(project.Path());
    BuildSettings settings;
    settings.projectFolder = folder;
    const OutputSettings& output = project.outputSettings;
    settings.outputFolder = ResolveProjectPath(folder, output.OutputFolder());
    settings.setupFileName = output.SetupFileName();
    settings.iconPath = ResolveProjectPath(folder, output.SetupIconPath());
    settings.selfExtracting = output.CreateSelfExtractingSetup();
    settings.compression = output.ArchiveCompression();
    settings.includeUninstaller = project.setupInfo.EnableUninstaller();
    settings.scope = project.setupInfo.Scope();
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
    // Every check runs, so that one build names every fault; a fault found stops the build
    // before it writes anything.
    CheckProductName();
    const bool writable = CheckWritable();
    CheckOutputFolder();
    CheckInputs();
    CheckInstallable(writable);
    CheckSingleFileSize();
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

void BuildJob::Refused(const Refusal& refusal) { Error("Error! " + BuildLogText(refusal)); }

// Values that setup.ini cannot hold would be read as other items: nothing is built.
bool BuildJob::CheckWritable() {
    const std::vector<Refusal> found = UnwritableValues(project_);
    for (const Refusal& refusal : found) Refused(refusal);
    return found.empty();
}

static bool IsBlankName(const std::string& name) { return name.find_first_not_of(" \t") == std::string::npos; }

// Without a product name, the installation folder, the program group and the uninstall entry
// named after it would each be refused in words that never mention it: the missing name is the
// one error.
void BuildJob::CheckProductName() {
    if (IsBlankName(project_.generalInfo.ProductName()))
        Refused({"General Info", "Product name", "the product has no name, and its installation folder, program group "
                 "and uninstall entry are named after it",
                 "Type the product's name into the Product name field of the General Info page"});
}

// The installer's own check, on the bytes of setup.ini that the build writes and the entries
// that the archive step adds. A package that the installer would refuse is not built. A file
// marked for self-registration must be a library that exports DllRegisterServer; one that cannot
// be read is the input check's to report. `withSplitLines` is false when setup.ini cannot hold
// some value: the lines split at its "," are then not reported a second time.
void BuildJob::CheckInstallable(bool withSplitLines) {
    ScriptBuilder script;
    project_.Export(script);
    const std::string text = script.Bytes();
    std::map<std::string, std::string> sources;
    project_.fileTree.Walk([&](const TreeNode& node) {
        if (const FileItem* file = FileTree::FileOf(&node))
            sources[FileTree::EntryName(&node)] = ResolveProjectPath(settings_.projectFolder, file->SourcePath());
    });
    if (settings_.includeUninstaller) sources["uninstall.exe"] = PrebuiltUninstaller();
    auto entrySize = [&](const std::string& entry, std::uint64_t& size) {
        size = 0;
        return sources.count(entry) > 0;
    };
    auto registers = [&](const std::string& entry) {
        std::string image;
        if (!ReadFileBytes(sources[entry], image)) return true;
        PeImage pe;
        if (!pe.Parse(image)) return false;
        const std::vector<std::string> names = pe.ExportedNames(image);
        return std::find(names.begin(), names.end(), "DllRegisterServer") != names.end();
    };
    SetupScript written = ReadSetupScript(ProfileText::FromBytes(text));
    // The product's name is reported first (CheckProductName); the rest is checked as if it had one.
    for (auto& [key, value] : written.generalInfo)
        if (key == "ProductName" && IsBlankName(value)) value = "Product";
    const std::vector<Refusal> refusals = CheckPackage(written, entrySize, registers);
    for (const Refusal& refusal : refusals)
        if (withSplitLines || refusal.problem.rfind(kBadLine, 0) != 0) Refused(refusal);
    // The installer of a project that lets the user choose then offers all users only.
    for (const Refusal& refusal : CheckCurrentUserChoice(written, entrySize, registers)) {
        const std::string text = BuildLogText(refusal) + "; the setup offers to install for all users only";
        if (warningsAsErrors_) Error("Error! " + text);
        else Warning("Warning! " + text);
    }
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
    if (errors_ > 0)
        Log(kNoSetupProduced);
    else
        Log(kSetupProducedAt + platform::NativePath(SetupPath()));
}

std::string BuildJob::SetupPath() const { return JoinPath(settings_.outputFolder, settings_.setupFileName); }

std::string BuildJob::WorkFile(const std::string& name) const {
    return (workFolder_.empty() ? platform::TempFolder() : workFolder_) + "\\" + name;
}

void BuildJob::RemoveTemporaryFiles() {
    if (settings_.selfExtracting) {
        RemoveFile(scriptPath_);
        RemoveFile(archivePath_);
    }
    for (const char* name : {"setup.exe", "stub.exe", "uninstall.exe", "sign.log"}) RemoveFile(WorkFile(name));
    for (const std::string& packed : packedCopies_) RemoveFile(packed);
    packedCopies_.clear();
    if (!workFolder_.empty()) platform::RemoveFolder(workFolder_);
}
