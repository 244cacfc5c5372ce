# dbi_attach_resources(<target> <manifest>)
#
# After <target> is linked, tools/respack attaches the resources its manifest lists (lines of
# "NAME TYPE FILE", files relative to the manifest). The manifest and every file it names are
# link dependencies of the target, so changing a carried file repacks the program on the next
# build without recompiling anything; `respack <program> <manifest>` does the same by hand.
function(dbi_attach_resources target manifest)
    get_filename_component(manifest "${manifest}" ABSOLUTE)
    get_filename_component(base "${manifest}" DIRECTORY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${manifest}")
    file(STRINGS "${manifest}" lines)
    set(files "${manifest}")
    foreach(line IN LISTS lines)
        string(STRIP "${line}" line)
        if(line STREQUAL "" OR line MATCHES "^#")
            continue()
        endif()
        if(NOT line MATCHES "^[^ \t]+[ \t]+[^ \t]+[ \t]+(.+)$")
            message(FATAL_ERROR "${manifest}: expected NAME TYPE FILE, got: ${line}")
        endif()
        set(file "${CMAKE_MATCH_1}")
        if(NOT IS_ABSOLUTE "${file}")
            set(file "${base}/${file}")
        endif()
        list(APPEND files "${file}")
    endforeach()
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${files})
    add_dependencies(${target} respack)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND respack "$<TARGET_FILE:${target}>" "${manifest}"
        COMMENT "Attaching the resources of ${manifest} to ${target}"
        VERBATIM)
endfunction()

# dbi_pack_catalogue(<output folder> <extra manifests...>)
#
# Packs the sample catalogue of resources/catalogue at configure time (the archives are small)
# and writes <output folder>/catalogue.manifest with everything the program carries. Any change
# below resources/ packs again on the next build.
function(dbi_pack_catalogue output)
    file(GLOB_RECURSE inputs CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/*")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${inputs})
    execute_process(
        COMMAND bash "${PROJECT_SOURCE_DIR}/resources/catalogue/pack_catalogue.sh" "${output}" ${ARGN}
        RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "Packing the sample catalogue failed:\n${err}")
    endif()
endfunction()

# dbi_build_style_sheet(<target> <output folder>)
#
# The default style sheet is authored as text under resources/styles: every file whose name
# starts with a digit, joined in name order (the root's beginning, the families of styles in
# sheet order, the root's end). <target> joins them and converts the text to the binary form
# with the project's own tools/sgstream_tool, into <output folder>/defaultsgstyle.bin, and
# writes <output folder>/styles.manifest, which attaches it as "DEFAULTSGSTYLE". Changing a
# style rebuilds the sheet and repacks the program without compiling anything.
function(dbi_build_style_sheet target output)
    file(GLOB parts CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/styles/[0-9]*.txt")
    list(SORT parts)
    set(text "${output}/defaultsgstyle.txt")
    set(binary "${output}/defaultsgstyle.bin")
    file(MAKE_DIRECTORY "${output}")
    add_custom_command(
        OUTPUT "${binary}"
        COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${text}" "-DINPUTS=${parts}"
                -P "${PROJECT_SOURCE_DIR}/cmake/JoinFiles.cmake"
        COMMAND sgstream_tool tobinary "${text}" "${binary}"
        DEPENDS ${parts} sgstream_tool "${PROJECT_SOURCE_DIR}/cmake/JoinFiles.cmake"
        COMMENT "Converting the default style sheet"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${binary}")
    file(CONFIGURE OUTPUT "${output}/styles.manifest" CONTENT "DEFAULTSGSTYLE RCDATA ${binary}\n")
    set(DBI_STYLE_SHEET "${binary}" PARENT_SCOPE)
endfunction()

# dbi_build_window_layouts(<target> <output folder>)
#
# The two window layouts are authored as text under resources/windows, with their pictures and
# style trees named by placeholders. <target> draws the pictures (tools/make_window_pictures.py),
# converts the two style sources to binary trees, fills each layout with them
# (tools/make_window_layouts.py: the shared styles are written once and inserted into every
# window's containers) and converts the result to binary. <output folder>/windows.manifest
# attaches them as "TFORMMAINDBINSTALL" and "TFORMMESSAGE".
function(dbi_build_window_layouts target output)
    set(src "${PROJECT_SOURCE_DIR}/resources/windows")
    set(pictures "${output}/pictures")
    file(MAKE_DIRECTORY "${pictures}")
    set(python /usr/bin/python3)
    add_custom_command(
        OUTPUT "${pictures}/close.png"
        COMMAND ${python} "${PROJECT_SOURCE_DIR}/tools/make_window_pictures.py" "${pictures}"
        DEPENDS "${PROJECT_SOURCE_DIR}/tools/make_window_pictures.py"
        COMMENT "Drawing the window pictures"
        VERBATIM)
    set(style_args "")
    set(style_bins "")
    foreach(kind application controls)
        if(kind STREQUAL "application")
            set(style_src "${src}/application_styles.txt")
        else()
            set(style_src "${src}/control_styles.txt")
        endif()
        set(bin "${output}/${kind}_styles.bin")
        add_custom_command(
            OUTPUT "${bin}"
            COMMAND sgstream_tool tobinary "${style_src}" "${bin}"
            DEPENDS "${style_src}" sgstream_tool
            COMMENT "Converting the ${kind} styles of the windows"
            VERBATIM)
        list(APPEND style_args --styles "${kind}=${bin}")
        list(APPEND style_bins "${bin}")
    endforeach()
    set(manifest "")
    set(binaries "")
    foreach(window TFORMMAINDBINSTALL TFORMMESSAGE)
        set(text "${output}/${window}.txt")
        set(bin "${output}/${window}.bin")
        add_custom_command(
            OUTPUT "${bin}"
            COMMAND ${python} "${PROJECT_SOURCE_DIR}/tools/make_window_layouts.py"
                    --pictures "${pictures}" --pictures "${PROJECT_SOURCE_DIR}/resources"
                    ${style_args} "${src}/${window}.txt" "${text}"
            COMMAND sgstream_tool tobinary "${text}" "${bin}"
            DEPENDS "${src}/${window}.txt" "${PROJECT_SOURCE_DIR}/tools/make_window_layouts.py"
                    "${pictures}/close.png" "${PROJECT_SOURCE_DIR}/resources/Database_Installer.png"
                    ${style_bins} sgstream_tool
            COMMENT "Building the window layout ${window}"
            VERBATIM)
        string(APPEND manifest "${window} RCDATA ${bin}\n")
        list(APPEND binaries "${bin}")
    endforeach()
    add_custom_target(${target} ALL DEPENDS ${binaries})
    file(CONFIGURE OUTPUT "${output}/windows.manifest" CONTENT "${manifest}")
endfunction()
