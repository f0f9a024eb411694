// Reading large project files: the time to open a project of N and 2N lines (default 1,000,000,
// with CR LF and with LF line ends), which must grow linearly, and with --memory MB the peak
// memory of opening a project of about MB megabytes, against its size.
//   bench_project_read [LINES]
//   bench_project_read --memory MB [files|values]
// "files" fills the project with product files in folders of a hundred (the usual large
// project); "values" with repeated single-value lines and file types.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/Path.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

struct NoTexts : UiTextSource {
    std::string UiText(TextKey) const override { return ""; }
};

// Writes the project in blocks, so that the benchmark itself holds little of it.
class ProjectWriter {
public:
    ProjectWriter(const std::string& path, const char* lineEnd) : end_(lineEnd) { file_.Open(path, CreateWrite); }
    ~ProjectWriter() { Flush(); }
    void Line(const std::string& text) {
        block_ += text;
        block_ += end_;
        ++lines_;
        if (block_.size() > (1u << 20)) Flush();
    }
    size_t Lines() const { return lines_; }

private:
    void Flush() {
        std::uint32_t done = 0;
        file_.Write(block_.data(), static_cast<std::uint32_t>(block_.size()), done);
        block_.clear();
    }
    File file_;
    std::string block_;
    const char* end_;
    size_t lines_ = 0;
};

void Header(ProjectWriter& out) {
    for (const char* line : {"[BUILDER_INFO]", "Version=1.0", "", "[GENERAL_INFO]", "ProductName=Bench", "",
                             "[CREATE_SETUP]", "OutputFolder=out", "SetupFilename=Setup.exe", ""})
        out.Line(line);
}

// Product files, a hundred to a folder, until `lines` lines or `bytes` bytes are written.
void WriteFiles(ProjectWriter& out, size_t lines, std::uint64_t bytes) {
    out.Line("[APPLICATION_FILES]");
    std::uint64_t written = 0;
    for (size_t i = 0; out.Lines() < lines && written < bytes; ++i) {
        std::string line;
        if (i % 100 == 0) line = "Folder=%AppDir%\\Data\\Folder" + std::to_string(i / 100);
        if (!line.empty()) out.Line(line), written += line.size() + 2;
        line = "File=%AppDir%\\Data\\Folder" + std::to_string(i / 100) + "\\document-" + std::to_string(i) +
               ".dat,files\\Folder" + std::to_string(i / 100) + "\\document-" + std::to_string(i) + ".dat,1,0";
        out.Line(line);
        written += line.size() + 2;
    }
    out.Line("");
}

// Repeated single values (the later lines win) and file types.
void WriteValues(ProjectWriter& out, std::uint64_t bytes) {
    std::uint64_t written = 0;
    out.Line("[SETUP_INFO]");
    for (size_t i = 0; written < bytes / 2; ++i) {
        const std::string line = "DefaultInstallationPath=%ProgramFiles%\\Company\\Product " + std::to_string(i);
        out.Line(line);
        written += line.size() + 2;
    }
    out.Line("");
    out.Line("[FILE_TYPES]");
    for (size_t i = 0; written < bytes; ++i) {
        const std::string line = "ext" + std::to_string(i) + ",Product.Document" + std::to_string(i) +
                                 ",Product document,%AppDir%\\Product.exe,%AppDir%\\Product.exe,0";
        out.Line(line);
        written += line.size() + 2;
    }
    out.Line("");
}

double SecondsToOpen(const std::string& path, size_t& files) {
    NoTexts texts;
    ProjectDocument doc(texts);
    const auto start = std::chrono::steady_clock::now();
    doc.Open(path);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    files = 0;
    doc.fileTree.Walk([&](const TreeNode& node) { files += FileTree::FileOf(&node) != nullptr; });
    return elapsed.count();
}

int Timing(size_t lines) {
    const std::string folder = platform::TempFolder();
    for (const char* end : {"\r\n", "\n"}) {
        double seconds[2];
        for (int k = 0; k < 2; ++k) {
            const std::string path = JoinPath(folder, "bench-read-" + std::to_string(k) + ".qsp");
            {
                ProjectWriter out(path, end);
                Header(out);
                WriteFiles(out, (k + 1) * lines, ~0ull);
            }
            size_t files = 0;
            seconds[k] = SecondsToOpen(path, files);
            std::printf("project read, %zu lines (%s): %.2f s, %zu files\n", (k + 1) * lines,
                        end[0] == '\r' ? "CR LF" : "LF", seconds[k], files);
            RemoveFile(path);
        }
        std::printf("ratio 2N/N: %.2f (linear: about 2)\n", seconds[1] / seconds[0]);
    }
    return 0;
}

int Memory(std::uint64_t megabytes, bool values) {
    const std::string path = JoinPath(platform::TempFolder(), "bench-memory.qsp");
    {
        ProjectWriter out(path, "\r\n");
        Header(out);
        if (values)
            WriteValues(out, megabytes << 20);
        else
            WriteFiles(out, ~size_t(0), megabytes << 20);
    }
    std::uint64_t size = 0;
    {
        File file;
        file.Open(path, ReadExisting);
        file.GetSize64(size);
    }
    struct rusage before;
    getrusage(RUSAGE_SELF, &before);
    size_t files = 0;
    const double seconds = SecondsToOpen(path, files);
    struct rusage after;
    getrusage(RUSAGE_SELF, &after);
    RemoveFile(path);
    const double peak = static_cast<double>(after.ru_maxrss) * 1024;
    std::printf("project of %.0f MB (%s, %zu files) opened in %.2f s; peak memory %.0f MB = %.2f x the file\n",
                size / 1048576.0, values ? "values" : "files", files, seconds, peak / 1048576.0, peak / size);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--memory") == 0)
        return Memory(std::stoull(argv[2]), argc > 3 && std::strcmp(argv[3], "values") == 0);
    return Timing(argc > 1 ? std::stoul(argv[1]) : 1000000);
}
