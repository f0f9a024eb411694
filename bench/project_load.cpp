// Loads generated project files with N lines in one section, reading the section line by line
// as the section objects do, and prints the time for N and 2N lines: the cost must grow linearly.
#include <chrono>
#include <cstdio>
#include <string>

#include "lang/UiTextSource.h"
#include "model/ProfileText.h"
#include "model/ProjectDocument.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {
struct NoTexts : UiTextSource {
    std::string UiText(const std::string&, const std::string&) const override { return ""; }
};

std::string MakeProject(const std::string& folder, size_t lines) {
    std::string text = "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[CREATE_SETUP]\r\n";
    for (size_t i = 0; i < lines; ++i)
        text += "OutputFolder=C:\\Builds\\Product " + std::to_string(i) + "\\Output\r\n";
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
    SecondsToLoad(small, 1);  // warm the file cache
    double t1 = SecondsToLoad(small, 5);
    double t2 = SecondsToLoad(large, 5);
    std::printf("project load, one section of %zu lines: %.2f ms\n", lines, t1 * 1000);
    std::printf("project load, one section of %zu lines: %.2f ms\n", 2 * lines, t2 * 1000);
    std::printf("ratio 2N/N: %.2f (linear: about 2)\n", t2 / t1);
    RemoveFile(small);
    RemoveFile(large);
    return 0;
}
