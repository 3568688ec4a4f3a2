# Scintilla's core and win32 layer as a static library, without its ScintillaDLL.cxx
# (DllMain and the direct function are SciLexer.dll's own). Used in-tree and by
# scilexer/deps, which builds it once into the cache.
file(GLOB SCINTILLA_CORE "${SCINTILLA_DIR}/src/*.cxx")
add_library(scintilla_static STATIC ${SCINTILLA_CORE}
            "${SCINTILLA_DIR}/win32/PlatWin.cxx"
            "${SCINTILLA_DIR}/win32/ScintillaWin.cxx"
            "${SCINTILLA_DIR}/win32/HanjaDic.cxx")
target_include_directories(scintilla_static PUBLIC "${SCINTILLA_DIR}/include" "${SCINTILLA_DIR}/src" "${SCINTILLA_DIR}/win32")
target_compile_definitions(scintilla_static PRIVATE UNICODE _UNICODE)
