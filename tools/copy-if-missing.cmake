# cmake -DSRC=<file> -DDST=<folder> -P copy-if-missing.cmake
# Puts a starting copy of a user-editable file beside the program, never over the user's own.
get_filename_component(name "${SRC}" NAME)
if(NOT EXISTS "${DST}/${name}")
  file(COPY "${SRC}" DESTINATION "${DST}")
endif()
