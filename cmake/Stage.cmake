# Stages the program folder at dist/Quillset, laid out as the builder expects its own folder.
option(QS_STAGE "Copy the programs into dist/Quillset" ON)
if(QS_STAGE)
    set(QS_DIST "${CMAKE_SOURCE_DIR}/dist/Quillset")
    add_custom_target(stage ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory "${QS_DIST}"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:qsbuild> "${QS_DIST}/"
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${CMAKE_SOURCE_DIR}/LanguageSets" "${QS_DIST}/LanguageSets"
        DEPENDS qsbuild
        COMMENT "Staging ${QS_DIST}")
    if(WIN32)
        add_custom_command(TARGET stage POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E make_directory "${QS_DIST}/setup"
            COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:_setup> $<TARGET_FILE:_sfx>
                    $<TARGET_FILE:_uninstall> "${QS_DIST}/setup/")
        add_dependencies(stage _setup _sfx _uninstall)
    endif()
endif()
