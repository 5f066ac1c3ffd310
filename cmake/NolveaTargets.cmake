# Sources are picked up by folder so that a new file needs no edit here.
function(nolvea_glob out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS
         "${CMAKE_SOURCE_DIR}/${dir}/*.cpp" "${CMAKE_SOURCE_DIR}/${dir}/*.h")
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Every folder below `root` that holds sources, root included.
function(nolvea_glob_tree out root)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS
       "${CMAKE_SOURCE_DIR}/${root}/*.cpp" "${CMAKE_SOURCE_DIR}/${root}/*.h")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# A library whose folder has no sources yet still builds (from an empty file of the build tree).
function(nolvea_nonempty var)
  if(NOT ${var})
    set(empty "${CMAKE_BINARY_DIR}/generated/empty.cpp")
    if(NOT EXISTS "${empty}")
      file(WRITE "${empty}" "// nothing yet\n")
    endif()
    set(${var} "${empty}" PARENT_SCOPE)
  endif()
endfunction()

# CMake 3.25 does not re-run moc when a glob brings in a new header: make the target's
# autogen step depend on a file that changes exactly when its list of sources does.
function(nolvea_watch_sources target)
  get_target_property(sources ${target} SOURCES)
  set(list_file "${CMAKE_BINARY_DIR}/generated/${target}.sources")
  string(REPLACE ";" "\n" content "${sources}")
  set(old "")
  if(EXISTS "${list_file}")
    file(READ "${list_file}" old)
  endif()
  if(NOT old STREQUAL "${content}\n")
    file(WRITE "${list_file}" "${content}\n")
    # The dependency alone is not always enough for Ninja: drop autogen's stamp as well.
    get_target_property(bin ${target} BINARY_DIR)
    file(REMOVE "${bin}/${target}_autogen/timestamp")
  endif()
  set_property(TARGET ${target} APPEND PROPERTY AUTOGEN_TARGET_DEPENDS "${list_file}")
endfunction()

# Compiles the target against nolvea_base's precompiled header instead of a copy of its own.
function(nolvea_share_pch target)
  target_precompile_headers(${target} REUSE_FROM nolvea_base)
endfunction()
