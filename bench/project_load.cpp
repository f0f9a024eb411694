// Loads generated project files with N lines in the single-value sections and N / 4 file types,
// and prints the time for N and 2N lines: the cost must grow linearly.
#include <chrono>
#include <cstdio>
#include <string>

#include "core/Path.h"
#include "lang/UiTextSource.h"
#include "profile/ProfileText.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {
struct NoTexts : UiTextSource {
    std::string UiText(TextKey) const override { return ""; }
};

// A project of `lines` lines spread over four single-value sections (each key repeated, so the
// later lines win) and `lines / 4` file types.
std::string MakeProject(const std::string& folder, size_t lines) {
    std::string text = "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n";
    const char* sections[][2] = {{"GENERAL_INFO", "ProductName=Product "},
                                 {"SETUP_INFO", "DefaultInstallationPath=%ProgramFiles%\\Product "},
                                 {"SETUP_WINDOW", "HeadingFont=Times New Roman,-32,700,1,0,"},
                                 {"CREATE_SETUP", "OutputFolder=C:\\Builds\\Product "}};
    for (const auto& [section, key] : sections) {
        text += std::string("[") + section + "]\r\n";
        for (size_t i = 0; i < lines / 4; ++i) text += key + std::to_string(i) + "\r\n";
        text += "\r\n";
    }
    text += "[FILE_TYPES]\r\n";
    for (size_t i = 0; i < lines / 4; ++i)
        text += "ext" + std::to_string(i) + ",Product.Document" + std::to_string(i) +
                ",Product document,%AppDir%\\Product.exe,%AppDir%\\Product.exe," + std::to_string(i % 8) + "\r\n";
    text += "\r\n";
    std::string path = JoinPath(folder, "bench-" + std::to_string(lines) + ".qsp");
    File file;
    file.Open(path, CreateWrite);
    std::uint32_t done = 0;
    file.Write(text.data(), static_cast<std::uint32_t>(text.size()), done);
    return path;
}

double SecondsToLoad(const std::string& path, int repeats) {
    NoTexts texts;
    auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < repeats; ++r) {
        ProjectDocument doc(texts);
        doc.Open(path);
    }
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / repeats;
}
}  // namespace

int main(int argc, char** argv) {
    size_t lines = argc > 1 ? std::stoul(argv[1]) : 20000;
    std::string folder = platform::TempFolder();
    std::string small = MakeProject(folder, lines);
    std::string large = MakeProject(folder, 2 * lines);
    {
        // The file types must really be read, or the timing means nothing.
        NoTexts texts;
        ProjectDocument check(texts);
        check.Open(small);
        if (check.fileTypes.Count() != lines / 4) {
            std::fprintf(stderr, "project load: %zu file types read, %zu expected\n", check.fileTypes.Count(), lines / 4);
            return 1;
        }
    }
    SecondsToLoad(small, 1);  // warm the file cache
    double t1 = SecondsToLoad(small, 5);
    double t2 = SecondsToLoad(large, 5);
    std::printf("project load, %zu section lines and %zu file types: %.2f ms\n", lines, lines / 4, t1 * 1000);
    std::printf("project load, %zu section lines and %zu file types: %.2f ms\n", 2 * lines, lines / 2, t2 * 1000);
    std::printf("ratio 2N/N: %.2f (linear: about 2)\n", t2 / t1);
    RemoveFile(small);
    RemoveFile(large);
    return 0;
}
