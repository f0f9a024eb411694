# Stages the program folder at dist/Quillset, laid out as the builder expects its own folder.
option(QS_STAGE "Copy the programs into dist/Quillset" ON)
if(QS_STAGE)
    set(QS_DIST "${CMAKE_SOURCE_DIR}/dist/Quillset")
    set(QS_STAGED_PROGRAMS $<TARGET_FILE:qsbuild>)
    set(QS_STAGED_TARGETS qsbuild)
    if(WIN32)
        list(APPEND QS_STAGED_PROGRAMS $<TARGET_FILE:Quillset>)
        list(APPEND QS_STAGED_TARGETS Quillset)
    endif()
    add_custom_target(stage ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory "${QS_DIST}"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QS_STAGED_PROGRAMS} "${QS_DIST}/"
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${CMAKE_SOURCE_DIR}/LanguageSets" "${QS_DIST}/LanguageSets"
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${CMAKE_SOURCE_DIR}/Help" "${QS_DIST}/Help"
        DEPENDS ${QS_STAGED_TARGETS}
        COMMENT "Staging ${QS_DIST}")
endif()
