#pragma once
// The fixture of the build tests: a builder folder with stand-ins for the installer programs, a
// project folder, and a build of a project written there, recorded line by line.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BuildTestSupport.h"
#include "TestSupport.h"
#include "core/Path.h"
#include "lang/UiTextSource.h"
#include "model/ProjectDocument.h"
#include "pipeline/BuildJob.h"
#include "platform/FileSystem.h"

struct NoTexts : UiTextSource {
    std::string UiText(TextKey) const override { return ""; }
};

inline std::string LogLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\n";
    return text;
}

// The summary lines that end a build: with errors, the line that says no setup was made; without,
// the one that names `setupPath`.
inline std::string Summary(int errors, int warnings = 0, const std::string& setupPath = std::string()) {
    return LogLines({"Setup build process has finished", "--------------------------------"}) + "Errors: " +
           std::to_string(errors) + "  Warnings: " + std::to_string(warnings) + "\n" +
           (errors > 0 ? std::string(kNoSetupProduced) : kSetupProducedAt + platform::NativePath(setupPath)) + "\n";
}

class Build : public ::testing::Test {
protected:
    void SetUp() override {
        builder = MakeBuilderFolder(scratch, true);
        projectFolder = scratch.Folder("project");
    }

    // Opens a project file written into the project folder: [CREATE_SETUP] with the given lines
    // after the defaults of an output folder "out" and a setup file "Setup.exe".
    // The product's name and installation folder come first in their sections, so that the
    // installer has what it needs whatever the test adds.
    void OpenProject(const std::string& createSetup, std::string otherSections = "") {
        for (const auto& [header, line] : {std::pair<std::string, std::string>{"[GENERAL_INFO]\r\n", "ProductName=Demo\r\n"},
                                           {"[SETUP_INFO]\r\n", "DefaultInstallationPath=%ProgramFiles%\\Demo\r\n"}}) {
            const size_t at = otherSections.find(header);
            if (at == std::string::npos)
                otherSections += header + line + "\r\n";
            else
                otherSections.insert(at + header.size(), line);
        }
        const std::string path = scratch.Write("project\\Demo.qsp",
                                               "[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[CREATE_SETUP]\r\n"
                                               "OutputFolder=out\r\nSetupFilename=Setup.exe\r\n" +
                                                   createSetup + "\r\n" + otherSections);
        project = std::make_unique<ProjectDocument>(texts);
        project->Open(path);
    }

    int Run() {
        ScopedTempFolder temp(tempFolder);
        BuildJob job(*project, *log, builder);
        job.SetSigningCommand(signing);
        job.SetWarningsAsErrors(warningsAsErrors);
        job.Run();
        warnings = job.WarningCount();
        return job.ErrorCount();
    }

    std::string Output(const std::string& name) { return ReadBytes(JoinPath(projectFolder, "out\\" + name)); }
    std::vector<std::string> OutputNames() { return FolderNames(JoinPath(projectFolder, "out")); }
    std::string Program(const std::string& name) { return ReadBytes(builder + "\\setup\\" + name); }

    NoTexts texts;
    ScratchFolder scratch;
    std::string builder, projectFolder;
    std::string tempFolder = scratch.Folder("temp");
    std::unique_ptr<ProjectDocument> project;
    std::unique_ptr<RecordingLog> log = std::make_unique<RecordingLog>();
    std::string signing;
    bool warningsAsErrors = false;
    int warnings = 0;  // of the last run
};
