/* wine_floor.exe LIST ROOT: what Wine itself costs to create a product's files, the floor under
 * any installer run in it. LIST has one line per folder ("-1<TAB>relative\path", parents first)
 * and per file ("size<TAB>relative\path"); each folder is made below ROOT and each file created
 * with one write of that many bytes and closed: the least any installer must do per file.
 * The bytes are pseudo-random, so that the system copies real memory rather than one zero page. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: wine_floor.exe LIST ROOT\n");
        return 2;
    }
    FILE* list = fopen(argv[1], "rb");
    if (!list) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    static char line[4096], path[4096];
    /* The largest file sets the buffer's size: a first pass over the list. */
    size_t largest = 1;
    while (fgets(line, sizeof line, list)) {
        long long size = strtoll(line, NULL, 10);
        if (size > (long long)largest) largest = (size_t)size;
    }
    char* data = malloc(largest);
    if (!data) return 2;
    unsigned state = 12345;
    for (size_t i = 0; i < largest; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = (char)(state >> 16);
    }
    rewind(list);
    CreateDirectoryA(argv[2], NULL);
    while (fgets(line, sizeof line, list)) {
        char* tab = strchr(line, '\t');
        if (!tab) continue;
        long long size = strtoll(line, NULL, 10);
        tab[strcspn(tab, "\r\n")] = 0;
        snprintf(path, sizeof path, "%s\\%s", argv[2], tab + 1);
        if (size < 0) {
            if (!CreateDirectoryA(path, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) {
                fprintf(stderr, "cannot make %s\n", path);
                return 1;
            }
            continue;
        }
        HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        DWORD done = 0;
        if (file == INVALID_HANDLE_VALUE || (size > 0 && !WriteFile(file, data, (DWORD)size, &done, NULL)) ||
            done != (DWORD)size || !CloseHandle(file)) {
            fprintf(stderr, "cannot write %s\n", path);
            return 1;
        }
    }
    fclose(list);
    free(data);
    return 0;
}
