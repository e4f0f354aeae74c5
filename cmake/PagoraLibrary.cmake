# pagora_add_library(<layer> SOURCES ... [DEPENDS <layers>...] [LIBS <libraries>...])
#
# Each layer of the core is a static library named pagora_<layer> whose headers are
# included as "<layer>/File.h". Every library gets an include directory of its own that
# holds just one link, <layer> -> src/<layer>, so a header of a layer that is not among a
# library's dependencies cannot be found: a wrong include fails the build.
function(pagora_add_library layer)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;LIBS" ${ARGN})
  set(target pagora_${layer})
  add_library(${target} STATIC ${ARG_SOURCES})
  set(include_root "${CMAKE_BINARY_DIR}/include/${layer}")
  file(MAKE_DIRECTORY "${include_root}")
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${include_root}/${layer}" SYMBOLIC)
  target_include_directories(${target} PUBLIC "${include_root}")
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(${target} PUBLIC pagora_${dep})
  endforeach()
  if(ARG_LIBS)
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
  endif()
endfunction()
