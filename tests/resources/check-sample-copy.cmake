# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DMODULE=samplecatalogue.cmake -DWORK=DIR -DGENERATOR=G [-DMAKE_PROGRAM=P] -P THIS
#
# A project of its own in WORK places the sample catalogue as the build does. Then a catalogue of
# the user's own there survives a re-configure and a rebuild, a removed one comes back as the
# sample, and a dangling link there is neither replaced nor written through.
get_filename_component(resources ${MODULE} DIRECTORY)
file(READ ${resources}/id.txt sample_text)
set(user_text "[ID]\nMine=1\n")
set(catalogue ${WORK}/build/bin/id.txt)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed:\n${output}")
    endif()
endfunction()

function(configure_and_build)
    set(make_program)
    if(MAKE_PROGRAM)
        set(make_program -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM})
    endif()
    run(${CMAKE_COMMAND} -S ${WORK}/source -B ${WORK}/build -G ${GENERATOR} ${make_program})
    run(${CMAKE_COMMAND} --build ${WORK}/build)
endfunction()

function(expect what text)
    file(READ ${catalogue} found)
    if(NOT found STREQUAL text)
        message(FATAL_ERROR "${what}: id.txt holds\n${found}\ninstead of\n${text}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/source/CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(SampleCopy NONE)
include(${MODULE})
quennel_sample_catalogue(samplecatalogue \${CMAKE_BINARY_DIR}/bin)
")

configure_and_build()
expect("the first build" "${sample_text}")

file(WRITE ${catalogue} "${user_text}")
configure_and_build()
expect("a re-configure and rebuild over the user's catalogue" "${user_text}")

file(REMOVE ${catalogue})
run(${CMAKE_COMMAND} --build ${WORK}/build)
expect("a rebuild after the catalogue was removed" "${sample_text}")

file(REMOVE ${catalogue})
file(CREATE_LINK ${WORK}/elsewhere/id.txt ${catalogue} SYMBOLIC)
run(${CMAKE_COMMAND} --build ${WORK}/build)
if(NOT IS_SYMLINK ${catalogue} OR EXISTS ${WORK}/elsewhere/id.txt)
    message(FATAL_ERROR "a rebuild replaced a dangling link to id.txt or wrote through it")
endif()
file(REMOVE_RECURSE ${WORK})
