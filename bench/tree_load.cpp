// Loads, saves and exports generated projects whose files tree holds N files, spread over 500
// folders and all in one folder, then the same with 2N files, and prints the times: path
// lookups must keep every step linear, so 2N files should take about twice as long as N.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/Path.h"
#include "profile/ScriptBuilder.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {
struct NoTexts : UiTextSource {
    std::string UiText(TextKey) const override { return ""; }
};

struct Times {
    double load = 0, save = 0, exportScript = 0;
};

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string MakeProject(const std::string& folder, size_t files, size_t folders) {
    std::string text = "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[APPLICATION_FILES]\r\n";
    for (size_t f = 0; f < folders; ++f) text += "Folder=%AppDir%\\Folder " + std::to_string(f) + "\r\n";
    for (size_t i = 0; i < files; ++i) {
        std::string dir = "Folder " + std::to_string(i % folders);
        std::string name = "Product File " + std::to_string(i) + ".dat";
        text += "File=%AppDir%\\" + dir + "\\" + name + ",C:\\Product\\" + dir + "\\" + name + ",1,0\r\n";
    }
    text += "\r\n";
    std::string path = JoinPath(folder, "tree-bench-" + std::to_string(files) + "-" + std::to_string(folders) + ".qsp");
    File file;
    file.Open(path, CreateWrite);
    std::uint32_t done = 0;
    file.Write(text.data(), static_cast<std::uint32_t>(text.size()), done);
    return path;
}

// The best of a few runs, to keep the shared machine's noise out.
Times Measure(const std::string& path, const std::string& savePath, int repeats) {
    NoTexts texts;
    Times best{1e9, 1e9, 1e9};
    for (int r = 0; r < repeats; ++r) {
        ProjectDocument doc(texts);
        auto start = Clock::now();
        doc.Open(path);
        best.load = std::min(best.load, Since(start));
        start = Clock::now();
        doc.SaveAs(savePath);
        best.save = std::min(best.save, Since(start));
        start = Clock::now();
        ScriptBuilder script;
        doc.Export(script);
        std::string text = script.Text();
        best.exportScript = std::min(best.exportScript, Since(start));
    }
    return best;
}

void Report(const char* shape, size_t files, const Times& n, const Times& twice) {
    std::printf("%-26s %6zu files: load %7.2f ms  save %7.2f ms  export %7.2f ms\n", shape, files, n.load * 1000,
                n.save * 1000, n.exportScript * 1000);
    std::printf("%-26s %6zu files: load %7.2f ms  save %7.2f ms  export %7.2f ms\n", shape, 2 * files,
                twice.load * 1000, twice.save * 1000, twice.exportScript * 1000);
    std::printf("%-26s ratio 2N/N:   load %7.2f     save %7.2f     export %7.2f    (linear: about 2)\n", shape,
                twice.load / n.load, twice.save / n.save, twice.exportScript / n.exportScript);
}
}  // namespace

int main(int argc, char** argv) {
    size_t files = argc > 1 ? std::stoul(argv[1]) : 20000;
    std::string folder = platform::TempFolder();
    std::string savePath = JoinPath(folder, "tree-bench-saved.qsp");
    for (size_t folders : {size_t(500), size_t(1)}) {
        std::string small = MakeProject(folder, files, folders);
        std::string large = MakeProject(folder, 2 * files, folders);
        Measure(small, savePath, 1);  // warm the file cache
        Times n = Measure(small, savePath, 5);
        Times twice = Measure(large, savePath, 5);
        Report(folders == 1 ? "files in one folder" : "files over 500 folders", files, n, twice);
        RemoveFile(small);
        RemoveFile(large);
    }
    RemoveFile(savePath);
    return 0;
}
