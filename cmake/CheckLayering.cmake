# Fails when a source file includes a header of a library above its own. The libraries stand in
# this order, each seeing only those before it (and itself):
#   core -> platform -> executable -> profile -> screens -> scope -> package -> lang -> model -> pipeline
#   -> verify -> cli
# (lang and model do not need package, model needs scope for the project's install scope;
# pipeline sees package to check the setup.ini it writes; verify runs a built setup under Wine
# and compares what it did with the project).
# commands (the builder's command table, its states and the recent projects) sees lang and what
# lang sees. The Windows-only rooms: ui sees core and platform; editor sees the portable libraries,
# commands and ui, never app; app sees everything but cli and installer; the installer programs see core,
# platform, executable, profile, screens, scope and package only.
# Usage: cmake -DSOURCE_DIR=<repo>/src -P CheckLayering.cmake
cmake_minimum_required(VERSION 3.20)
set(allowed_core core)
set(allowed_platform core platform)
set(allowed_executable ${allowed_platform} executable)
set(allowed_profile ${allowed_executable} profile)
set(allowed_screens ${allowed_profile} screens)
set(allowed_scope ${allowed_screens} scope)
set(allowed_package ${allowed_scope} package)
set(allowed_lang ${allowed_profile} lang)
set(allowed_commands ${allowed_lang} commands)
set(allowed_model ${allowed_scope} lang model)
set(allowed_pipeline ${allowed_model} package pipeline)
set(allowed_verify ${allowed_pipeline} verify)
set(allowed_cli ${allowed_verify} cli)
set(allowed_ui ${allowed_platform} ui)
set(allowed_editor ${allowed_pipeline} commands ui editor)
set(allowed_app ${allowed_pipeline} commands ui editor app)
set(allowed_installer ${allowed_package} installer)
set(rooms core platform executable profile screens scope package lang commands model pipeline verify cli ui editor
    app installer)

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" room "${source}")
    if(NOT room IN_LIST rooms)
        list(APPEND violations "${source}: folder '${room}' has no place in the library order")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
        if(NOT header MATCHES "/")
            continue()  # a header beside the file, or a generated one
        endif()
        string(REGEX MATCH "^[^/]+" target "${header}")
        if(NOT target IN_LIST rooms)
            continue()  # not one of ours (resources, third-party)
        endif()
        if(NOT target IN_LIST allowed_${room})
            list(APPEND violations "${source} includes ${header}: ${room} must not depend on ${target}")
        endif()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Includes against the library order:\n  ${text}")
endif()
message(STATUS "Includes follow the library order")
