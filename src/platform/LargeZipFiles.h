#pragma once
// The zip library's stdio file functions with a seek that keeps all 64 bits of the position:
// the library's own seek passes it through `long`, which has 32 bits on Windows, so that every
// position past 4 GiB in an archive would be cut there (a reader finds no directory, a writer
// patches a header in the wrong place). Header-only: it is for the libraries that link the zip
// library (the archive writer and the installer's reader).
#include <ioapi.h>

#include <cstdio>

namespace platform {

inline long ZCALLBACK SeekLargeFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    const int whence = origin == ZLIB_FILEFUNC_SEEK_CUR   ? SEEK_CUR
                       : origin == ZLIB_FILEFUNC_SEEK_END ? SEEK_END
                                                          : SEEK_SET;
    return fseeko64(static_cast<FILE*>(stream), static_cast<long long>(offset), whence) == 0 ? 0 : -1;
}

inline zlib_filefunc64_def LargeZipFileFunctions() {
    zlib_filefunc64_def functions;
    fill_fopen64_filefunc(&functions);
    functions.zseek64_file = SeekLargeFile;
    return functions;
}

}  // namespace platform
