// Deletes a folder of N files (20,000 by default) from a project as one edit, then undoes and
// redoes it, and prints the time of each step and the memory the edit stack holds afterwards.
// Each should stay under 100 ms at 20,000 files.
#include <algorithm>
#include <chrono>
#include <cstdio>
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

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A project whose folder %AppDir%\Product holds `files` files, beside a few other folders.
std::string MakeProject(const std::string& folder, size_t files) {
    std::string text = "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[APPLICATION_FILES]\r\nFolder=%AppDir%\\Product\r\n";
    for (size_t i = 0; i < files; ++i) {
        const std::string name = "Product File " + std::to_string(i) + ".dat";
        text += "File=%AppDir%\\Product\\" + name + ",C:\\Product\\" + name + ",1,0\r\n";
    }
    text += "File=%AppDir%\\Readme.txt,C:\\Product\\Readme.txt,1,0\r\n\r\n";
    const std::string path = JoinPath(folder, "edit-bench-" + std::to_string(files) + ".qsp");
    WriteFileBytes(path, text);
    return path;
}
}  // namespace

int main(int argc, char** argv) {
    const size_t files = argc > 1 ? std::stoul(argv[1]) : 20000;
    const std::string path = MakeProject(platform::TempFolder(), files);
    NoTexts texts;
    double remove = 1e9, undo = 1e9, redo = 1e9;
    size_t bytes = 0;
    for (int run = 0; run < 5; ++run) {  // the best of five, to keep the shared machine's noise out
        ProjectDocument doc(texts);
        doc.Open(path);
        auto start = Clock::now();
        doc.Apply(ProjectEdit("Delete Folder", kFilesPart),
                  [&] { doc.fileTree.Remove(doc.fileTree.Find("%DestComp%\\%AppDir%\\Product")); });
        remove = std::min(remove, MillisecondsSince(start));
        bytes = doc.Edits().Bytes();
        start = Clock::now();
        doc.Undo();
        undo = std::min(undo, MillisecondsSince(start));
        start = Clock::now();
        doc.Redo();
        redo = std::min(redo, MillisecondsSince(start));
    }
    RemoveFile(path);
    std::printf("delete a folder of %zu files as one edit: %7.2f ms\n", files, remove);
    std::printf("undo: %7.2f ms   redo: %7.2f ms   (each should be under 100 ms)\n", undo, redo);
    std::printf("edit stack after the delete: %.2f MB\n", static_cast<double>(bytes) / (1 << 20));
    return 0;
}
