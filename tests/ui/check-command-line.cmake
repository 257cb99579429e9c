# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPROGRAM=quennel -DVERSION=x.y.z [-DEMULATOR=wine.sh;PREFIX] -P THIS
#
# --help and --version answer and exit 0 with no display at all: no X server, no Wayland, no
# platform named. On Windows the C runtime ends each printed line with CR LF, as Windows' own
# programs do.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})

function(expect argument pattern)
    # Bounded, with room for Wine to start its session first.
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${argument} RESULT_VARIABLE status
        OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 120)
    if(NOT status EQUAL 0 OR NOT output MATCHES "${pattern}" OR NOT errors STREQUAL "")
        message(FATAL_ERROR "quennel ${argument}: status ${status}, output:\n${output}\n"
            "errors:\n${errors}\nexpected output matching ${pattern}")
    endif()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
expect(--version "^quennel ${version}\r?\n$")
expect(--help "^Usage: quennel .*--version.*id\\.txt")
expect(-h "^Usage: quennel ")
