// The application that the installer's finish screen starts in the screens test: it leaves
// started.txt beside itself, holding the folder it was started in.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
    char path[MAX_PATH] = {}, folder[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    GetCurrentDirectoryA(MAX_PATH, folder);
    char* slash = strrchr(path, '\\');
    if (!slash) return 1;
    strcpy(slash + 1, "started.txt");
    FILE* file = fopen(path, "wb");
    if (!file) return 1;
    fputs(folder, file);
    fclose(file);
    return 0;
}
