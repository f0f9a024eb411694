// Brings Quillset.exe into each state of the builder tour, in English and in German, and waits at
// each for scripts/screenshots.sh: it writes "<name>.ready" into the exchange folder and goes on
// when the script has answered with "<name>.done".
#include <windows.h>

#include <cstdio>
#include <string>

#include "../BuilderProcess.h"
#include "../BuilderTour.h"

namespace {

std::string exchange;

void Pause(const std::string& name) {
    const std::string ready = exchange + "\\" + name + ".ready", done = exchange + "\\" + name + ".done";
    FILE* file = fopen(ready.c_str(), "w");
    if (file) fclose(file);
    WaitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: screenshot_driver QUILLSET_EXE EXCHANGE_FOLDER PROJECT\n");
        return 2;
    }
    exchange = argv[2];
    bool ok = true;
    for (const char* language : {"English", "German"}) {
        BuilderTour tour{argv[1], argv[3], language, [](const std::string& name, HWND) { Pause(name); },
                         [](HWND main) { SetWindowPos(main, nullptr, 30, 20, 900, 640, SWP_NOZORDER); }};
        ok = ok && WalkBuilderTour(tour);
    }
    Pause("finished");
    return ok ? 0 : 1;
}
