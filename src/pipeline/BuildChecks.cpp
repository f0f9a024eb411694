// The checks before a build writes anything: the output folder, every file the build reads from
// the project, and the warnings. Each reports all it finds at once, so that one run shows the
// user every missing file rather than one per build.
#include <cstdio>

#include "core/Path.h"
#include "model/ProjectDocument.h"
#include "model/Variables.h"
#include "pipeline/BuildJob.h"
#include "pipeline/BuildLog.h"
#include "pipeline/BuildWarnings.h"
#include "model/ProjectPaths.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

// The output folder is made with all the folders above it that are missing.
void BuildJob::CheckOutputFolder() {
    int code = 0;
    if (!MakeFolderPath(settings_.outputFolder, code))
        Error("Error! Can not create the output folder", settings_.outputFolder, platform::ErrorText(code));
}

// A file is usable when it opens and its first bytes can be read; the product files' sizes are
// kept for the warnings.
void BuildJob::CheckInputs() {
    productSizes_.clear();
    project_.fileTree.Walk([&](const TreeNode& node) {
        const FileItem* file = FileTree::FileOf(&node);
        if (!file || !Continue()) return;
        const std::string source = ResolveProjectPath(settings_.projectFolder, file->SourcePath());
        platform::ClearLastError();
        File opened;
        std::uint64_t size = 0;
        char first = 0;
        std::uint32_t got = 0;
        if (opened.Open(source, ReadExisting) && opened.GetSize64(size) && (size == 0 || opened.Read(&first, 1, got)))
            productSizes_[&node] = size;
        else
            Error("Error! Can not read product file " + VariableDisplayName(node.Name()), source,
                  platform::ErrorText(platform::LastError()));
    });
    CheckInput("setup icon file", !settings_.iconPath.empty(), settings_.iconPath);
    CheckInput("splash bitmap file", settings_.splash, settings_.splashPath);
    CheckInput("license file", settings_.license, settings_.licensePath);
    CheckInput("readme file", settings_.readme, settings_.readmePath);
}

void BuildJob::CheckInput(const std::string& what, bool used, const std::string& path) {
    if (!used) return;
    if (path.empty()) {
        Error("Error! The " + what + " is not chosen");
        return;
    }
    const std::string problem = ReadProblem(path);
    if (!problem.empty()) Error("Error! Can not read " + what + " " + NameOf(path), path, problem);
}

// A single-file setup keeps 32-bit sizes and offsets: everything it carries stays below 4 GiB.
// The product files alone, before any packing, tell a build that cannot fit (compression may
// make a little more fit, but counting on it would pack for minutes to fail).
void BuildJob::CheckSingleFileSize() {
    if (!settings_.selfExtracting) return;
    std::uint64_t total = 0;
    for (const auto& [node, size] : productSizes_) total += size;
    if (total < kSingleFileLimit) return;
    Error("Error! " + SingleFileTooLarge("The product files", total));
}

std::string SingleFileTooLarge(const std::string& what, std::uint64_t size) {
    char gib[32];
    std::snprintf(gib, sizeof gib, "%.2f", static_cast<double>(size) / (1u << 30));
    return what + ": " + gib + " GiB (" + std::to_string(size) + " bytes), more than the 4 GiB that a " +
           "single-file setup can hold; use side-by-side output";
}

void BuildJob::CheckWarnings() {
    const auto sizeOf = [this](const TreeNode& node, std::uint64_t& size) {
        const auto found = productSizes_.find(&node);
        if (found == productSizes_.end()) return false;
        size = found->second;
        return true;
    };
    for (const std::string& text : ProjectWarnings(project_, sizeOf)) {
        if (warningsAsErrors_)
            Error("Error! " + text);
        else
            Warning("Warning! " + text);
    }
}
