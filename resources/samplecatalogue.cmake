# SPDX-License-Identifier: GPL-3.0-or-later
# quennel_sample_catalogue(TARGET FOLDER): a target, built with every build, that puts the sample
# catalogue into FOLDER as id.txt only where no id.txt is. A catalogue of the user's own there
# stays through every build and re-configure.
set(QUENNEL_SAMPLE_CATALOGUE ${CMAKE_CURRENT_LIST_DIR}/id.txt)
set(QUENNEL_COPY_SAMPLE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/copysample.cmake)

function(quennel_sample_catalogue target folder)
    # At build time, not when configuring: a catalogue removed since is replaced by the next build.
    add_custom_target(${target} ALL
        COMMAND ${CMAKE_COMMAND} -DSAMPLE=${QUENNEL_SAMPLE_CATALOGUE} -DCATALOGUE=${folder}/id.txt
            -P ${QUENNEL_COPY_SAMPLE_SCRIPT}
        VERBATIM)
endfunction()
