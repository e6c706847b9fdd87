# mirel_subsystem(<name> DEPS <targets...>)
# Builds every .cpp of the calling folder into the static library <name>.
# A folder without sources yet gives an interface library, so the tree
# configures while a subsystem is still being written.
function(mirel_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()
