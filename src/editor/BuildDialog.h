#pragma once
// The modal build dialog: runs one BuildJob on its own thread and shows its progress and its log
// as it grows, with Cancel (the build stops at its next step) and, at the end, Close; after a
// build that made its setup, Open Folder shows the setup selected in its folder.
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "pipeline/BuildJob.h"
#include "pipeline/BuildLog.h"
#include "ui/Dialog.h"

class ProjectDocument;

// The build log as the dialog shows it. Called on the build's thread, which never waits for the
// window: lines gather in a pending text, and the dialog's thread appends all that has gathered
// a few times a second. A build of thousands of files thus costs the window a few appends, not
// one redraw per line.
class DialogBuildLog : public BuildLog {
public:
    explicit DialogBuildLog(HWND dialog);
    void Log(const std::string& line) override;
    void Step() override;
    void Finished() override;

    // On the dialog's thread: appends the lines gathered so far to the log view.
    void ShowPending();

private:
    HWND dialog_;
    HWND log_;
    HWND progress_;
    std::mutex mutex_;
    std::string pending_;  // guarded by mutex_
};

class UiTextSource;

// What the dialog builds, and how.
struct BuildRequest {
    const ProjectDocument& project;
    std::string signingCommand;  // see BuildJob::SetSigningCommand
    const UiTextSource& texts;
};

class BuildDialog : public Dialog {
public:
    // `context` is the BuildRequest.
    BuildDialog(HWND dialog, void* context);
    ~BuildDialog() override;
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
    void OnTimer(HWND dialog, UINT_PTR timerId) override;

private:
    // The dialog's text numbered `number` in the interface language.
    std::string Text(int number) const;
    void ScrollToEnd(HWND dialog) const;
    void OpenSetupFolder(HWND dialog) const;

    const BuildRequest& request_;
    std::unique_ptr<DialogBuildLog> log_;
    std::unique_ptr<BuildJob> job_;
    bool finished_ = false;
    bool cancelRequested_ = false;
};

// Builds `project` in the modal dialog over `owner`, signing its programs with `signingCommand`
// when it is not empty: CMD_BUILD_FINISHED after a build that ran to its end and was closed,
// CMD_BUILD_CANCELLED after a cancelled one.
int RunBuildDialog(HINSTANCE instance, HWND owner, const ProjectDocument& project, const std::string& signingCommand,
                   const UiTextSource& texts);
