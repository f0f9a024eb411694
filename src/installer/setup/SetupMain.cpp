// _setup.exe: the installer. Reads setup.ini, setup.zip and the language file from its own
// folder and installs, silently with /S or behind a small progress window.
#include <windows.h>
#include <objbase.h>

#include <memory>

#include "core/Exception.h"
#include "core/Path.h"
#include "core/Text.h"
#include "package/ActivityLog.h"
#include "package/CommandLine.h"
#include "package/ExitCodes.h"
#include "package/ScopeDecision.h"
#include "package/SetupScript.h"
#include "installer/EntryDecoder.h"
#include "installer/SetupTexts.h"
#include "installer/win32/Elevation.h"
#include "installer/win32/Installer.h"
#include "installer/win32/SetupScreens.h"
#include "installer/win32/Libraries.h"
#include "installer/win32/Program.h"
#include "installer/win32/ProductLock.h"
#include "installer/Upgrade.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

// Used only when the package itself cannot be read, before any language file is known.
const char kDamagedText[] = "The setup package is damaged or incomplete and cannot be installed:\r\n";
const char kDamagedCaption[] = "Setup";

std::shared_ptr<const ProfileText> LoadProfile(const std::string& folder, const std::string& name) {
    try {
        return std::make_shared<const ProfileText>(folder, name);
    } catch (const Exception&) {
        return nullptr;
    }
}

// setup.ini, which a small setup holds packed.
std::shared_ptr<const ProfileText> LoadScript(const std::string& folder) {
    std::string bytes;
    if (!ReadFileBytes(JoinPath(folder, "setup.ini"), bytes) || !UnpackScript(bytes)) return nullptr;
    return std::make_shared<const ProfileText>(ProfileText::FromBytes(std::move(bytes)));
}

// The language the user asked for, else the script's default, else English.
std::shared_ptr<const ProfileText> LoadLanguage(const std::string& folder, const InstallerOptions& options,
                                                const SetupScript& script, ActivityLog& log) {
    for (const std::string& name : {options.language, script.defaultLanguage, std::string("English")}) {
        if (!IsStoredAsSpelt(name)) continue;
        if (auto profile = LoadProfile(folder, name + ".dat")) {
            log.Line("Language: " + name);
            return profile;
        }
        log.Line("Language file not found: " + name + ".dat");
    }
    return nullptr;
}

std::string ProductName(const SetupScript& script) {
    for (const auto& [key, value] : script.generalInfo)
        if (key == "ProductName") return value;
    return std::string();
}

class Setup {
public:
    explicit Setup(const InstallerOptions& options) : options_(options), quiet_(options.silent) {}

    int Run() {
        std::string folder = platform::ModuleFolder();
        // A run started again with rights writes on after the lines of the run that started it.
        if (!options_.logPath.empty() && !log_.Open(options_.logPath, options_.restarted))
            return Damaged("the log file " + options_.logPath + " cannot be written");
        log_.Line("Setup started from " + folder + " with: " + ProgramArguments());
        auto scriptText = LoadScript(folder);
        if (!scriptText) return Damaged("setup.ini is missing or unreadable");
        SetupScript script = ReadSetupScript(*scriptText);
        auto language = LoadLanguage(folder, options_, script, log_);
        if (!language) return Damaged("no language file");
        // Replaced when the user chooses another language; the installer refers to it.
        SetupTexts texts(language);
        if (options_.help) {
            ShowMessage(texts.Get(kTextUsage), texts.Get(kTextCaption, {ProductName(script)}), MB_ICONINFORMATION);
            return kExitDone;
        }
        // The scope is decided before anything is planned (and before the product's lock, which a
        // run started again with rights takes); a project that lets the user choose asks on its
        // screen, which starts the setup again with rights when the user chooses all users.
        const ScopeDecision scope = DecideScope(script.scopeChoice, options_);
        caption_ = texts.Get(kTextCaption, {ProductName(script)});
        if (scope.start == ScopeStart::Refused) {
            log_.Line("Error: " + scope.problem);
            return Report(kExitScope, texts, scope.problem);
        }
        options_.scope = scope.scope;
        log_.Line(scope.start == ScopeStart::Ask ? std::string("Install scope: the user chooses")
                                                 : std::string("Install scope: ") + ScopeName(scope.scope));
        if (scope.start == ScopeStart::Decided && script.scopeChoice == ScopeChoice::Ask &&
            NeedsElevation(scope.scope, IsElevated(), options_.restarted))
            return RunElevated(texts);
        // One setup or uninstaller of the product at a time in each scope, from before the earlier
        // installation is looked for until the end: the machine's lock for all users, the user's
        // for the current user. Where the user chooses, the lock of the scope chosen is taken on
        // the scope screen; the earlier installation that the screens show until then is looked
        // for again, under the lock, when the installation starts.
        ProductLock lock;
        bool lockedForAllUsers = false;
        auto lockScope = [&](InstallScope chosen) -> int {
            const bool allUsers = chosen == InstallScope::AllUsers;
            if (lock.Held() && lockedForAllUsers == allUsers) return kExitDone;
            lock.Release();
            lockedForAllUsers = allUsers;
            int locked = LockProduct(lock, ProductLockName(ProductName(script), allUsers), quiet_, caption_,
                                     texts.Get(kTextWaitingForOther, {ProductName(script)}), texts.Get(kTextCancel));
            if (locked == kExitDone) log_.Line(std::string("Product lock taken for ") + ScopeName(chosen));
            else log_.Line(locked == kExitBusy ? "Another setup or uninstaller of the product is running"
                                               : "Cancelled while another setup or uninstaller of the product was running");
            return locked;
        };
        if (scope.start == ScopeStart::Decided) {
            int locked = lockScope(options_.scope);
            if (locked != kExitDone) return Report(locked, texts, std::string());
        }
        Installer installer(script, texts, options_, log_, folder);
        if (!installer.Prepare()) {
            if (installer.PrepareFailure() == kExitDamaged) return Damaged(installer.Problem());
            log_.Line("Error: " + installer.Problem());
            return Report(installer.PrepareFailure(), texts, installer.Problem());
        }
        product_ = installer.Product();
        caption_ = texts.Get(kTextCaption, {product_});
        if (quiet_) {
            int result = installer.CheckRequirements();
            if (result == kExitDone) result = installer.Install();
            return Report(result, texts, installer.Problem());
        }
        SetupScreens screens(script, texts, options_, log_, folder, scope.start == ScopeStart::Ask);
        screens.lockScope = lockScope;
        // The run started again with rights takes the product's lock while this one waits for it.
        screens.releaseLock = [&lock] { lock.Release(); };
        screens.switchLanguage = [&](const std::string& name) {
            auto chosen = LoadProfile(folder, name + ".dat");
            if (!chosen) return false;
            log_.Line("Language chosen: " + name);
            texts = SetupTexts(chosen);
            return true;
        };
        int result = screens.Run(installer);
        caption_ = screens.Caption();
        // The screens have shown the outcome; without any screen a success goes without a word.
        if (screens.Reported() || result == kExitDone) {
            log_.Line("Exit code " + std::to_string(result));
            return result;
        }
        return Report(result, texts, screens.Problem());
    }

private:
    // A silent setup that lets the user choose installs for all users as the switches ask: it
    // starts again with rights and ends with the code of that run.
    int RunElevated(const SetupTexts& texts) {
        int code = kExitFailed;
        const std::string arguments = ElevatedArguments(options_);
        log_.Line("Starting again with administrator rights: " + arguments);
        // The run with rights writes on in the same log.
        log_.Suspend();
        const ElevatedRun run = RunElevatedAndWait(ProgramPath(), arguments, nullptr, code);
        log_.Reopen();
        switch (run) {
            case ElevatedRun::Finished: return code;
            case ElevatedRun::Declined: return Report(kExitCancelled, texts, std::string());
            case ElevatedRun::Failed: break;
        }
        return Report(kExitScope, texts, texts.Get(kTextScopeNoRights));
    }

    int Report(int result, const SetupTexts& texts, const std::string& problem) {
        log_.Line("Exit code " + std::to_string(result));
        if (quiet_ || options_.suppressBoxes) return result;
        switch (result) {
            case kExitDone: break;
            case kExitRestartRequired: ShowMessage(texts.Get(kTextRestartRequired, {product_}), caption_, MB_ICONINFORMATION); break;
            case kExitCancelled: ShowMessage(texts.Get(kTextCancelled), caption_, MB_ICONINFORMATION); break;
            case kExitRequirements:
            case kExitNewerInstalled: ShowMessage(problem, caption_, MB_ICONSTOP); break;
            case kExitBusy: break;
            case kExitDamaged: ShowMessage(kDamagedText + problem, caption_, MB_ICONSTOP); break;
            case kExitScope: ShowMessage(problem, caption_, MB_ICONSTOP); break;
            default: ShowMessage(texts.Get(kTextFailed, {problem}), caption_, MB_ICONSTOP); break;
        }
        return result;
    }

    int Damaged(const std::string& problem) {
        log_.Line("Error: " + problem);
        log_.Line("Exit code " + std::to_string(kExitDamaged));
        if (!quiet_) ShowMessage(kDamagedText + problem, kDamagedCaption, MB_ICONSTOP);
        return kExitDamaged;
    }

    InstallerOptions options_;
    bool quiet_;
    ActivityLog log_;
    std::string caption_, product_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LimitLibrarySearch();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InstallerOptions options = ParseInstallerArguments(ProgramArguments());
    int result = Setup(options).Run();
    CoUninitialize();
    return result;
}
