# Writes the desktop entry of an installed program folder: it names the program and its icon
# by their full paths in that folder, so the folder can lie anywhere.
#   cmake -DTEMPLATE=<quorvel.desktop.in> -DFOLDER=<program folder> -DOUT=<file to write> -P desktop-entry.cmake
# Exec: a path with blanks or other reserved characters is quoted, and inside the quotes '"',
# '`', '$' and '\' are escaped; every '\' of the value is then escaped once more, as desktop
# entry strings require; '%' is doubled, as field codes require.
get_filename_component(FOLDER "${FOLDER}" ABSOLUTE)
set(exe "${FOLDER}/quorvel")
if(exe MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" exe "${exe}")
  string(REPLACE "\"" "\\\"" exe "${exe}")
  string(REPLACE "`" "\\`" exe "${exe}")
  string(REPLACE "$" "\\$" exe "${exe}")
  set(exe "\"${exe}\"")
endif()
string(REPLACE "\\" "\\\\" exe "${exe}")
string(REPLACE "%" "%%" exe "${exe}")
set(icon "${FOLDER}/quorvel.svg")
string(REPLACE "\\" "\\\\" icon "${icon}")
set(QUORVEL_EXEC "${exe}")
set(QUORVEL_ICON "${icon}")
configure_file(${TEMPLATE} ${OUT} @ONLY)
