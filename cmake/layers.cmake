# One library per folder, in layers. quillet_layer(NAME PORTABLE files... WIN32 files...
# USES folders...) builds the folder as library q<NAME>: its window-free files in both
# configurations, its Win32 files only in the cross one. It links the libraries of the
# folders it uses, and those must already be defined: folders are added bottom-up, so a
# cycle between folders cannot be declared. Every `#include "folder/..."` of the folder's
# files must name the folder itself or one it uses, or configuration stops, so an
# include that climbs a layer fails the build.
function(quillet_layer name)
  cmake_parse_arguments(L "" "" "PORTABLE;WIN32;USES;LINK" ${ARGN})
  foreach(dep IN LISTS L_USES)
    if(NOT TARGET q${dep})
      message(FATAL_ERROR "${name}/ uses ${dep}/, which is not defined below it")
    endif()
  endforeach()

  file(GLOB headers_and_sources "${CMAKE_CURRENT_SOURCE_DIR}/*.h" "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cxx")
  foreach(file IN LISTS headers_and_sources)
    file(STRINGS "${file}" includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "\"([a-z_]+)/" unused "${line}")
      set(folder "${CMAKE_MATCH_1}")
      if(NOT folder STREQUAL name AND NOT folder IN_LIST L_USES)
        message(FATAL_ERROR "${file} includes ${folder}/, which ${name}/ does not use (it uses: ${L_USES})")
      endif()
    endforeach()
  endforeach()

  set(sources ${L_PORTABLE})
  if(WIN32)
    list(APPEND sources ${L_WIN32})
  endif()
  if(sources)
    add_library(q${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(q${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(q${name} ${scope} "${CMAKE_SOURCE_DIR}")
  foreach(dep IN LISTS L_USES)
    target_link_libraries(q${name} ${scope} q${dep})
  endforeach()
  if(L_LINK)
    target_link_libraries(q${name} ${scope} ${L_LINK})
  endif()
endfunction()
