#include "editor/BuildDialog.h"

#include <commctrl.h>

#include <climits>

#include <shellapi.h>

#include "lang/UiTextSource.h"
#include "platform/FileSystem.h"
#include "resource.h"

namespace {

// Three steps make a whole build.
constexpr int kProgressEnd = 99;
constexpr int kProgressStep = 33;
// How often the log view takes the lines gathered since.
constexpr UINT_PTR kLogTimer = 1;
constexpr UINT kLogInterval = 200;

}  // namespace

DialogBuildLog::DialogBuildLog(HWND dialog)
    : dialog_(dialog), log_(GetDlgItem(dialog, IDC_BUILD_LOG)), progress_(GetDlgItem(dialog, IDC_BUILD_PROGRESS)) {}

void DialogBuildLog::Log(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ += line;
    pending_ += "\r\n";
}

// The lines go at the end of what the log shows: setting the whole text again for every line
// would make a large build spend its time redrawing.
void DialogBuildLog::ShowPending() {
    std::string text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text.swap(pending_);
    }
    if (text.empty()) return;
    SendMessageA(log_, EM_SETSEL, INT_MAX, INT_MAX);
    SendMessageA(log_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Posted, never sent: a sent message would hold the build's thread until the dialog's thread
// answers, and that thread waits for the build when the dialog goes.
void DialogBuildLog::Step() { PostMessageA(progress_, PBM_STEPIT, 0, 0); }

void DialogBuildLog::Finished() { PostMessageA(dialog_, WM_COMMAND, CMD_BUILD_FINISHED, 0); }

BuildDialog::BuildDialog(HWND, void* context) : Dialog(context), request_(*static_cast<BuildRequest*>(context)) {}

// The dialog cannot end while the build runs; should it be destroyed all the same, the build
// stops first, since it writes into the dialog's controls.
BuildDialog::~BuildDialog() {
    if (job_ && !finished_) {
        log_->Cancel();
        job_->Wait();
    }
}

bool BuildDialog::OnInitDialog(HWND dialog) {
    CentreOnDesktop(dialog);
    SetWindowTextA(dialog, Text(0).c_str());
    SetDlgItemTextA(dialog, IDC_BUILD_OPEN_FOLDER, Text(1).c_str());
    SetDlgItemTextA(dialog, IDCANCEL, Text(2).c_str());
    SendDlgItemMessageA(dialog, IDC_BUILD_PROGRESS, PBM_SETRANGE32, 0, kProgressEnd);
    SendDlgItemMessageA(dialog, IDC_BUILD_PROGRESS, PBM_SETSTEP, kProgressStep, 0);
    // The log holds every line of the largest build, not the edit control's default 32 KB.
    SendDlgItemMessageA(dialog, IDC_BUILD_LOG, EM_LIMITTEXT, 0, 0);
    log_ = std::make_unique<DialogBuildLog>(dialog);
    job_ = std::make_unique<BuildJob>(request_.project, *log_, platform::ModuleFolder());
    job_->SetSigningCommand(request_.signingCommand);
    SetTimer(dialog, kLogTimer, kLogInterval, nullptr);
    job_->Start();
    return true;
}

std::string BuildDialog::Text(int number) const { return request_.texts.UiText(TextKeys::kBuildDialog.Key(number)); }

void BuildDialog::ScrollToEnd(HWND dialog) const {
    HWND log = GetDlgItem(dialog, IDC_BUILD_LOG);
    SendMessageA(log, EM_LINESCROLL, 0, SendMessageA(log, EM_GETLINECOUNT, 0, 0));
}

bool BuildDialog::OnCommand(HWND dialog, int id, int, HWND) {
    switch (id) {
    case IDCANCEL:
        ScrollToEnd(dialog);
        if (finished_) {
            EndDialog(dialog, CMD_BUILD_FINISHED);
        } else if (!cancelRequested_) {
            cancelRequested_ = true;
            EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
            log_->Cancel();
        }
        return true;
    case CMD_BUILD_FINISHED:
        job_->Wait();
        KillTimer(dialog, kLogTimer);
        log_->ShowPending();
        finished_ = true;
        ScrollToEnd(dialog);
        if (cancelRequested_) {
            EndDialog(dialog, CMD_BUILD_CANCELLED);
        } else {
            SetDlgItemTextA(dialog, IDCANCEL, Text(3).c_str());
            EnableWindow(GetDlgItem(dialog, IDC_BUILD_OPEN_FOLDER), job_->ErrorCount() == 0);
        }
        return true;
    case IDC_BUILD_OPEN_FOLDER:
        OpenSetupFolder(dialog);
        return true;
    default:
        return false;
    }
}

// Explorer opens the output folder with the setup selected in it.
void BuildDialog::OpenSetupFolder(HWND dialog) const {
    const std::string arguments = "/select,\"" + job_->SetupPath() + "\"";
    ShellExecuteA(dialog, "open", "explorer.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL);
}

void BuildDialog::OnTimer(HWND, UINT_PTR timerId) {
    if (timerId == kLogTimer) log_->ShowPending();
}

int RunBuildDialog(HINSTANCE instance, HWND owner, const ProjectDocument& project, const std::string& signingCommand,
                   const UiTextSource& texts) {
    BuildRequest request{project, signingCommand, texts};
    DialogCreatorOf<BuildDialog> creator(&request);
    return static_cast<int>(ShowModalDialog(instance, IDD_BUILD, owner, creator));
}
