# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPROGRAM=quennel -DVERSION=x.y.z -P THIS
#
# --help and --version answer and exit 0 with no display at all: no X server, no Wayland, no
# platform named.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})

function(expect argument pattern)
    execute_process(COMMAND ${PROGRAM} ${argument} RESULT_VARIABLE status OUTPUT_VARIABLE output
        ERROR_VARIABLE errors TIMEOUT 30)
    if(NOT status EQUAL 0 OR NOT output MATCHES "${pattern}" OR NOT errors STREQUAL "")
        message(FATAL_ERROR "quennel ${argument}: status ${status}, output:\n${output}\n"
            "errors:\n${errors}\nexpected output matching ${pattern}")
    endif()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
expect(--version "^quennel ${version}\n$")
expect(--help "^Usage: quennel .*--version.*id\\.txt")
expect(-h "^Usage: quennel ")
