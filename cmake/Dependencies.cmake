# zlib and minizip. Natively from Debian's packages; for mingw, zlib from libz-mingw-w64-dev
# and minizip compiled from the contrib sources that scripts/deps.sh unpacks.
if(WIN32)
    find_library(QS_ZLIB NAMES libz.a z REQUIRED)
    find_path(QS_ZLIB_INCLUDE zlib.h REQUIRED)
    add_library(zlib_dep INTERFACE)
    target_link_libraries(zlib_dep INTERFACE ${QS_ZLIB})
    target_include_directories(zlib_dep INTERFACE ${QS_ZLIB_INCLUDE})

    set(QS_MINIZIP_SRC "${CMAKE_SOURCE_DIR}/third_party/minizip-src")
    if(NOT EXISTS "${QS_MINIZIP_SRC}/zip.c")
        message(FATAL_ERROR "minizip sources missing in ${QS_MINIZIP_SRC}: run scripts/deps.sh")
    endif()
    add_library(minizip_dep STATIC
        ${QS_MINIZIP_SRC}/zip.c ${QS_MINIZIP_SRC}/unzip.c
        ${QS_MINIZIP_SRC}/ioapi.c ${QS_MINIZIP_SRC}/iowin32.c)
    target_include_directories(minizip_dep PUBLIC ${QS_MINIZIP_SRC})
    target_compile_options(minizip_dep PRIVATE -w)
    target_link_libraries(minizip_dep PUBLIC zlib_dep)
else()
    find_package(ZLIB REQUIRED)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
    add_library(zlib_dep INTERFACE)
    target_link_libraries(zlib_dep INTERFACE ZLIB::ZLIB)
    add_library(minizip_dep INTERFACE)
    target_link_libraries(minizip_dep INTERFACE PkgConfig::MINIZIP zlib_dep)
endif()
