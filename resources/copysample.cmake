# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSAMPLE=FILE -DCATALOGUE=FILE -P copysample.cmake: copies the sample to the catalogue's
# place unless anything is there, a link too: a dangling one would carry the copy to wherever it
# points.
if(NOT EXISTS "${CATALOGUE}" AND NOT IS_SYMLINK "${CATALOGUE}")
    get_filename_component(folder "${CATALOGUE}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SAMPLE}" "${CATALOGUE}")
endif()
