# Every folder under src/ is one library, and its headers are included by their path from src/
# ("player/mediaplayer.h"). A library's public include folder holds only its own folder, linked
# into a root of its own in the build tree, so a header is found only by code that links the
# library that owns it: an include that reaches a layer the code does not depend on fails to build.
function(quorvel_layer target folder)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
