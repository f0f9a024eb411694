#include "app/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <new>

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "core/Path.h"
#include "core/Exception.h"
#include "core/Text.h"
#include "editor/MessageBox.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "resource.h"
#include "ui/Dialog.h"
#include "ui/DpiResources.h"
#include "ui/Window.h"

namespace {

void OutOfMemory() { throw WinException("Out of memory", static_cast<int>(GetLastError())); }

WindowClassRegistration mainWindowClass("KVQuillset");

}  // namespace

void WindowsMessageBoxes::Show(const std::string& text, const std::string& caption, MessageIcon icon) {
    const MessageKind kind = icon == MessageIcon::Warning ? MessageKind::Warning
                             : icon == MessageIcon::Error ? MessageKind::Error
                                                          : MessageKind::Information;
    ShowMessage(nullptr, text, caption, kind);
}

Application::Application() : languages_(ProgramFolder(), messages_) {
    srand(static_cast<unsigned>(time(nullptr)));
    if (CoInitialize(nullptr) != S_OK)
        throw WinException("Couldn't initialize COM", static_cast<int>(GetLastError()));
    richEdit_ = LoadLibraryA("RICHED32.DLL");
    if (!richEdit_) {
        CoUninitialize();
        throw WinException("Couldn't load RICHED32.DLL", static_cast<int>(GetLastError()));
    }
    std::set_new_handler(OutOfMemory);
    setlocale(LC_ALL, "");
}

Application::~Application() {
    mainWindow_.reset();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    if (largeIcon_) DestroyIcon(largeIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    FreeLibrary(richEdit_);
    CoUninitialize();
}

bool Application::InitInstance() {
    const std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
    if (mutexError_ == ERROR_ALREADY_EXISTS) return HandOverToRunningInstance(arguments);
    if (!CheckWindowsVersion()) throw WinException("Couldn't check Windows version", static_cast<int>(GetLastError()));
    if (!languages_.Discover()) return false;
    languages_.SetCurrentLanguage(LoadLanguageSetting());
    languageRead_ = true;
    RegisterFileType();
    if (!languages_.SetLanguage(languages_.CurrentLanguage())) return false;
    if (!CreateMainWindow()) return false;
    if (arguments.size() >= 2)
        mainWindow_->OpenProject(arguments[1]);
    else
        PostMessageA(mainWindow_->Handle(), WM_COMMAND, CMD_WELCOME, 0);
    return true;
}

// Brings the running instance forward and gives it the project to open; this one then ends.
bool Application::HandOverToRunningInstance(const std::vector<std::string>& arguments) {
    HWND running = FindWindowA("KVQuillset", nullptr);
    if (!running) return false;
    HWND popup = GetLastActivePopup(running);
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(popup);
    if (arguments.size() >= 2) {
        COPYDATASTRUCT data{};
        data.dwData = kHandOverTag;
        data.cbData = static_cast<DWORD>(arguments[1].size() + 1);
        data.lpData = const_cast<char*>(arguments[1].c_str());
        SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    return false;
}

bool Application::CheckWindowsVersion() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    return true;
}

bool Application::CreateMainWindow() {
    largeIcon_ = static_cast<HICON>(LoadImageA(resourceInstance_, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(resourceInstance_, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    mainWindowClass.Ensure(instance_, [this](WindowClassInfo& info) {
        info.hIcon = largeIcon_;
        info.hIconSm = smallIcon_;
    });
    mainWindow_ = std::make_unique<MainWindow>(languages_, instance_, resourceInstance_);
    HMENU menu = mainWindow_->MakeMenuBar();
    HACCEL accelerators = MainWindow::MakeAccelerators();
    if (!menu || !accelerators) return false;
    // The first window fills most of the work area of the monitor the user works on; a placement
    // saved by an earlier run takes its place below.
    POINT cursor{};
    GetCursorPos(&cursor);
    const RECT place = FirstWindowRect(WorkAreaAt(cursor), WindowDpi::At(cursor));
    if (!mainWindow_->Create(0, "KVQuillset", ProductName(), place.left, place.top, place.right - place.left,
                             place.bottom - place.top, menu, instance_))
        return false;
    acceleratorWindow_ = mainWindow_->Handle();
    accelerators_ = accelerators;
    LoadWindowPlacement(mainWindow_->Handle());
    mainWindow_->ApplyMenuTexts();
    ShowWindow(mainWindow_->Handle(), SW_SHOW);
    UpdateWindow(mainWindow_->Handle());
    return true;
}

// Only a run that read the user's language writes it back: a second instance or a start that
// failed early would otherwise replace the user's choice by the default.
int Application::ExitInstance() {
    if (!languageRead_ || languages_.CurrentLanguage().empty()) return 0;
    return SaveLanguage(languages_.CurrentLanguage()) ? 1 : 0;
}

bool Application::PreTranslateMessage(MSG& message) {
    if (accelerators_ && acceleratorWindow_)
        if (TranslateAcceleratorA(acceleratorWindow_, accelerators_, &message)) return true;
    for (HWND dialog : ModelessDialogs())
        if (IsDialogMessageA(dialog, &message)) return true;
    return false;
}

// One refresh of the commands' states after each burst of messages: they change only through
// messages, and asking for idle time again would keep a processor busy while nothing happens.
bool Application::OnIdle(int) {
    if (mainWindow_ && mainWindow_->HasWindow()) mainWindow_->UpdateCommandStates();
    return false;
}

const char* ProductName() { return "Quillset"; }
const char* ApplicationTitle() { return "Quillset 1.0"; }

std::string ProgramFolder() { return platform::ModuleFolder(); }
std::string ExampleProject() { return JoinPath(ProgramFolder(), "Examples\\Demo\\Demo.qsp"); }
