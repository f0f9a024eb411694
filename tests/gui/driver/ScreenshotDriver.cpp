// Brings Quillset.exe into each state worth a screenshot, in English and in German, and waits at
// each for scripts/screenshots.sh: it writes "<name>.ready" into the exchange folder and goes on
// when the script has answered with "<name>.done".
#include <windows.h>

#include <cstdio>
#include <string>

#include "../BuilderProcess.h"

namespace {

std::string exchange;

void Pause(const std::string& name) {
    const std::string ready = exchange + "\\" + name + ".ready", done = exchange + "\\" + name + ".done";
    FILE* file = fopen(ready.c_str(), "w");
    if (file) fclose(file);
    WaitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
}

void SetLanguage(const char* language) {
    HKEY key;
    RegDeleteTreeA(HKEY_CURRENT_USER, "software\\Varnel Software\\Quillset");
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "software\\Varnel Software\\Quillset", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language), strlen(language));
    RegCloseKey(key);
}

bool Tour(const std::string& program, const char* language) {
    SetLanguage(language);
    BuilderProcess builder;
    if (!builder.Start(program) || !builder.WaitForMainWindow()) return false;
    SetWindowPos(builder.Main(), nullptr, 30, 20, 900, 640, SWP_NOZORDER);
    HWND welcome = builder.WaitForDialog();
    if (!welcome) return false;
    Pause(std::string("welcome-") + language);
    PressButton(welcome, IDCANCEL);
    WaitFor([&] { return !IsWindow(welcome); });
    Pause(std::string("no-project-") + language);
    builder.Command(32771);
    WaitFor([&] { return builder.Title() != "Quillset"; });
    Pause(std::string("project-") + language);
    builder.Command(32784);
    HWND about = builder.WaitForDialog();
    if (!about) return false;
    Pause(std::string("about-") + language);
    PressButton(about, 1073);
    WaitFor([&] { return !IsWindow(about); });
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    return builder.WaitForExit() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: screenshot_driver QUILLSET_EXE EXCHANGE_FOLDER\n");
        return 2;
    }
    exchange = argv[2];
    bool ok = Tour(argv[1], "English") && Tour(argv[1], "German");
    Pause("finished");
    return ok ? 0 : 1;
}
