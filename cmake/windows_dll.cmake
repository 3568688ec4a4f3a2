# DLLs whose exports are __stdcall functions named in a .def file (SciLexer.dll and
# appface.dll). The .def files carry the i686 decorations (Name@N): on i686 the DLL
# exports the undecorated names (--kill-at) and its import library keeps the
# decorated ones (dlltool -k), so a __stdcall declaration links against it. x86_64
# has one calling convention and no decorations, so the .def is used without them.
# The .def file for this architecture: `def_file` itself on i686, an undecorated copy
# in `folder` on x86_64; `kill_at_var` gets dlltool's -k where the decorations stay.
function(quillet_target_def def_file folder def_var kill_at_var)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${def_var} "${def_file}" PARENT_SCOPE)
    set(${kill_at_var} -k PARENT_SCOPE)
    return()
  endif()
  get_filename_component(def_name "${def_file}" NAME)
  file(READ "${def_file}" text)
  string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  file(WRITE "${folder}/${def_name}" "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${def_file}")
  set(${def_var} "${folder}/${def_name}" PARENT_SCOPE)
  set(${kill_at_var} "" PARENT_SCOPE)
endfunction()

function(quillet_stdcall_dll target def_file)
  quillet_target_def("${def_file}" "${CMAKE_CURRENT_BINARY_DIR}" def kill_at)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
  endif()
  target_sources(${target} PRIVATE "${def}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_DLLTOOL}" ${kill_at} -d "${def}" -l "${CMAKE_CURRENT_BINARY_DIR}/lib${target}.dll.a"
    VERBATIM)
endfunction()

# Delay-load import libraries for system DLLs that the first paint does not need
# (dialogs, the shell, version resources): each DLL is loaded at the first call of one
# of its functions instead of at process start, which shortens the start-up. The .def
# files in cmake/delay_imports list only the functions the program calls, with i686
# decorations as above. Sets `out_var` to the libraries and, for each function, a
# linker "-u" of its stub: calls through __declspec(dllimport) never name the stub, and
# ld drops an unnamed stub's section, which also holds the thunk the delay-load table
# points to (the first call would then jump to address 0).
function(quillet_delay_import_libraries out_var)
  set(items "")
  file(GLOB defs "${CMAKE_SOURCE_DIR}/cmake/delay_imports/*.def")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/delay_imports")
  foreach(def_file IN LISTS defs)
    get_filename_component(name "${def_file}" NAME_WE)
    file(READ "${def_file}" text)
    string(REGEX MATCHALL "\n[A-Za-z_][A-Za-z0-9_]*@[0-9]+" functions "${text}")
    quillet_target_def("${def_file}" "${CMAKE_BINARY_DIR}/delay_imports" def kill_at)
    set(prefix "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(prefix "_")  # i686 C names carry a leading underscore
    endif()
    set(library "${CMAKE_BINARY_DIR}/delay_imports/lib${name}_delay.a")
    execute_process(COMMAND "${CMAKE_DLLTOOL}" ${kill_at} -d "${def}" -y "${library}" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "dlltool could not make the delay-load library of ${name}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${def_file}")
    list(APPEND items "${library}")
    foreach(function IN LISTS functions)
      string(STRIP "${function}" function)
      if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(REGEX REPLACE "@[0-9]+$" "" function "${function}")
      endif()
      list(APPEND items "-Wl,-u,${prefix}${function}")
    endforeach()
  endforeach()
  set(${out_var} "${items}" PARENT_SCOPE)
endfunction()
