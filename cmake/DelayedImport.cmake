# A system library that the programs bind at the first call of one of its
# functions instead of at their start: WinMain first limits the DLL search to
# the system folder, and only libraries that Windows always takes from there
# (the KnownDLLs) may load before it. The functions called are listed in a
# .def file beside the caller; a new call into the library is added there.
function(orvane_delayed_import target def)
  get_filename_component(name ${def} NAME_WE)
  set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
  add_custom_command(OUTPUT ${library}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${library}
    DEPENDS ${def}
    VERBATIM)
  add_custom_target(${target}_${name} DEPENDS ${library})
  add_dependencies(${target} ${target}_${name})
  target_link_libraries(${target} PUBLIC ${library} delayimp)
endfunction()
