# zlib, minizip, libdeflate and zstd. Natively from Debian's packages; for mingw, zlib from
# libz-mingw-w64-dev, minizip compiled from the contrib sources, libdeflate and zstd from the
# sources of Debian's packages, all unpacked by scripts/deps.sh.
if(WIN32)
    find_library(QS_ZLIB NAMES libz.a z REQUIRED)
    find_path(QS_ZLIB_INCLUDE zlib.h REQUIRED)
    add_library(zlib_dep INTERFACE)
    target_link_libraries(zlib_dep INTERFACE ${QS_ZLIB})
    target_include_directories(zlib_dep INTERFACE ${QS_ZLIB_INCLUDE})


    set(QS_LIBDEFLATE_SRC "${CMAKE_SOURCE_DIR}/third_party/libdeflate-src")
    if(NOT EXISTS "${QS_LIBDEFLATE_SRC}/libdeflate.h")
        message(FATAL_ERROR "libdeflate sources missing in ${QS_LIBDEFLATE_SRC}: run scripts/deps.sh")
    endif()
    # The raw deflate format and the checksum: the builder deflates, the installer inflates.
    add_library(libdeflate_dep STATIC
        ${QS_LIBDEFLATE_SRC}/lib/deflate_compress.c ${QS_LIBDEFLATE_SRC}/lib/deflate_decompress.c
        ${QS_LIBDEFLATE_SRC}/lib/crc32.c
        ${QS_LIBDEFLATE_SRC}/lib/utils.c ${QS_LIBDEFLATE_SRC}/lib/x86/cpu_features.c)
    target_include_directories(libdeflate_dep PUBLIC ${QS_LIBDEFLATE_SRC})
    target_compile_options(libdeflate_dep PRIVATE -w -O2)

    set(QS_ZSTD_SRC "${CMAKE_SOURCE_DIR}/third_party/zstd-src/lib")
    if(NOT EXISTS "${QS_ZSTD_SRC}/zstd.h")
        message(FATAL_ERROR "zstd sources missing in ${QS_ZSTD_SRC}: run scripts/deps.sh")
    endif()
    # Single-threaded (the builder runs its own threads) and in C only: the decoder's assembly
    # is written for ELF.
    file(GLOB QS_ZSTD_SOURCES "${QS_ZSTD_SRC}/common/*.c" "${QS_ZSTD_SRC}/compress/*.c"
         "${QS_ZSTD_SRC}/decompress/*.c" "${QS_ZSTD_SRC}/dictBuilder/*.c")
    add_library(zstd_dep STATIC ${QS_ZSTD_SOURCES})
    target_include_directories(zstd_dep PUBLIC ${QS_ZSTD_SRC})
    target_compile_definitions(zstd_dep PRIVATE ZSTD_DISABLE_ASM)
    target_compile_options(zstd_dep PRIVATE -w -O2)
else()
    find_package(ZLIB REQUIRED)
    find_package(PkgConfig REQUIRED)
    add_library(zlib_dep INTERFACE)
    target_link_libraries(zlib_dep INTERFACE ZLIB::ZLIB)
    pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
    add_library(libdeflate_dep INTERFACE)
    target_link_libraries(libdeflate_dep INTERFACE PkgConfig::LIBDEFLATE)
    pkg_check_modules(LIBZSTD REQUIRED IMPORTED_TARGET libzstd)
    add_library(zstd_dep INTERFACE)
    target_link_libraries(zstd_dep INTERFACE PkgConfig::LIBZSTD)
endif()

# minizip from the contrib sources of Debian's zlib on both sides: the native builder and tests
# then write and read archives with the very code the installer reads them with (Debian's own
# libminizip is an older one that reads no zip64 fields of the central directory).
set(QS_MINIZIP_SRC "${CMAKE_SOURCE_DIR}/third_party/minizip-src")
if(NOT EXISTS "${QS_MINIZIP_SRC}/zip.c")
    message(FATAL_ERROR "minizip sources missing in ${QS_MINIZIP_SRC}: run scripts/deps.sh")
endif()
add_library(minizip_dep STATIC ${QS_MINIZIP_SRC}/zip.c ${QS_MINIZIP_SRC}/unzip.c ${QS_MINIZIP_SRC}/ioapi.c
                               $<$<BOOL:${WIN32}>:${QS_MINIZIP_SRC}/iowin32.c>)
target_include_directories(minizip_dep PUBLIC ${QS_MINIZIP_SRC})
target_compile_options(minizip_dep PRIVATE -w)
target_link_libraries(minizip_dep PUBLIC zlib_dep)
