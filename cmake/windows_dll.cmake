# DLLs whose exports are __stdcall functions named in a .def file (SciLexer.dll and
# appface.dll). The .def files carry the i686 decorations (Name@N): on i686 the DLL
# exports the undecorated names (--kill-at) and its import library keeps the
# decorated ones (dlltool -k), so a __stdcall declaration links against it. x86_64
# has one calling convention and no decorations, so the .def is used without them.
function(quillet_stdcall_dll target def_file)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(def "${def_file}")
    set(kill_at -k)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
  else()
    get_filename_component(def_name "${def_file}" NAME)
    set(def "${CMAKE_CURRENT_BINARY_DIR}/${def_name}")
    file(READ "${def_file}" text)
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
    file(WRITE "${def}" "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${def_file}")
    set(kill_at "")
  endif()
  target_sources(${target} PRIVATE "${def}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_DLLTOOL}" ${kill_at} -d "${def}" -l "${CMAKE_CURRENT_BINARY_DIR}/lib${target}.dll.a"
    VERBATIM)
endfunction()
