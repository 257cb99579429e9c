# SPDX-License-Identifier: GPL-3.0-or-later
# The catalogue probe (tst_catalogue --catalogue-probe), started from a folder whose path runs past
# Windows' classic limit of 260 characters, finds the catalogue in that folder. Windows' own
# CreateProcess starts no program there, so the probe is started the way Wine's command line
# starts it.
#
#   cmake -DPROBE=tst_catalogue.exe -DEMULATOR=wine.sh;PREFIX -DWORK=FOLDER -P long-path-probe.cmake
set(folder ${WORK})
foreach(letter x y z)
    string(REPEAT ${letter} 100 name)
    string(APPEND folder /${name})
endforeach()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${folder})
file(COPY_FILE ${PROBE} ${folder}/probe.exe)
file(WRITE ${folder}/id.txt "[ID]\nLong=7\n")
execute_process(COMMAND ${EMULATOR} ${folder}/probe.exe --catalogue-probe
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result TIMEOUT 300)
file(REMOVE_RECURSE ${WORK})
if(NOT result EQUAL 0 OR NOT out STREQUAL "Long=7")
    string(LENGTH "${folder}" length)
    message(FATAL_ERROR "started in a folder of ${length} characters, the probe printed '${out}' "
        "(${result}), not 'Long=7': ${err}")
endif()
