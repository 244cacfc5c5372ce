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
