// qsbuild: the command-line builder. Opens a project file and reports what it holds;
// --save-as writes the project again in the builder's own form under a new name.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/Exception.h"
#include "lang/LanguageSets.h"
#include "lang/MessageBoxes.h"
#include "model/ProjectDocument.h"
#include "platform/FileSystem.h"

static const char kUsage[] =
    "Usage: qsbuild [options] PROJECT.qsp\n"
    "\n"
    "Options:\n"
    "  --save-as FILE     write the project to FILE in the builder's own form\n"
    "  --language NAME    builder language for default texts (default: English)\n"
    "  --help             show this help\n"
    "  --version          show the version\n";

// The command-line builder shows its messages on the error stream.
class ConsoleMessages : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, MessageIcon) override {
        std::fprintf(stderr, "qsbuild: %s: %s\n", caption.c_str(), text.c_str());
    }
};

static int Fail(const std::string& message) {
    std::fprintf(stderr, "qsbuild: %s\n", message.c_str());
    return 2;
}

int main(int argc, char** argv) {
    std::string projectPath, saveAsPath, language = "English";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::puts("qsbuild 1.0");
            return 0;
        } else if (arg == "--save-as" || arg == "--language") {
            if (i + 1 >= argc) return Fail("option " + arg + " needs a value\n" + kUsage);
            (arg == "--save-as" ? saveAsPath : language) = argv[++i];
            if (arg == "--save-as") saveAsPath = platform::SystemPath(saveAsPath);
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option " + arg + "\n" + kUsage);
        } else if (projectPath.empty()) {
            projectPath = platform::SystemPath(arg);
        } else {
            return Fail("only one project file may be given\n" + std::string(kUsage));
        }
    }
    if (projectPath.empty()) return Fail("no project file given\n" + std::string(kUsage));

    ConsoleMessages messages;
    LanguageSets texts(platform::ModuleFolder(), messages);
    if (!texts.SetLanguage(language))
        std::fprintf(stderr, "qsbuild: warning: no builder language file found; default texts are empty\n");

    ProjectDocument project(texts);
    try {
        project.Open(projectPath);
    } catch (const FileException& e) {
        return Fail("cannot open project file " + e.Text());
    }
    std::printf("Opened project %s (%s)\n", project.Path().c_str(), project.Title().c_str());
    std::printf("  Builder version:   %s\n", project.builderInfo.Version().c_str());
    std::printf("  Product:           %s %s\n", project.generalInfo.productName.c_str(),
                project.generalInfo.productVersion.c_str());
    std::printf("  Company:           %s\n", project.generalInfo.companyName.c_str());
    std::printf("  Installation path: %s\n", project.setupInfo.DefaultInstallationPath().c_str());
    std::printf("  File types:        %zu\n", project.fileTypes.Count());
    std::printf("  Output folder:     %s\n", project.outputSettings.outputFolder.c_str());
    std::printf("  Setup file name:   %s\n", project.outputSettings.setupFileName.c_str());
    std::printf("  Setup icon:        %s\n", project.outputSettings.setupIconPath.c_str());
    std::printf("  Self-extracting:   %s\n", project.outputSettings.createSelfExtractingSetup ? "Yes" : "No");

    if (!saveAsPath.empty()) {
        try {
            project.SaveAs(saveAsPath);
        } catch (const FileException& e) {
            return Fail("cannot write project file " + e.Text());
        }
        std::printf("Saved project as %s\n", project.Path().c_str());
    }
    return 0;
}
