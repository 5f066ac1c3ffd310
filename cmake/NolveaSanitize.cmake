# AddressSanitizer and UndefinedBehaviorSanitizer builds, and the libFuzzer targets in fuzz/.
# Both want clang: scripts/test-sanitized and scripts/fuzz configure build-sanitize with it.
option(NOLVEA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(NOLVEA_BUILD_FUZZ "Build the libFuzzer targets of fuzz/ (clang; sanitized)" OFF)

if(NOLVEA_BUILD_FUZZ)
  set(NOLVEA_SANITIZE ON CACHE BOOL "" FORCE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (CMAKE_CXX_COMPILER=clang++)")
  endif()
endif()

if(NOLVEA_SANITIZE)
  # -O1 keeps the checks cheap enough for the tests while the stacks stay readable. The
  # function-type check is left out: clang 14 cannot emit its prologue data for coroutines
  # that carry fuzzer coverage ("Cannot represent a difference across sections").
  add_compile_options(-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined
                      -fno-sanitize=function -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  if(NOLVEA_BUILD_FUZZ)
    # Coverage for the fuzzer in every object; the tests link the same objects without the
    # fuzzer's main, the sanitizer runtime answering the coverage hooks.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

# The one target a sanitized build makes: the unit and offscreen-interface tests (and the
# executable some of them start), and the fuzz targets. Call after tests/ and fuzz/ are added.
function(nolvea_sanitized_target)
  if(NOT NOLVEA_SANITIZE)
    return()
  endif()
  set(wanted)
  if(NOLVEA_BUILD_TESTS)
    get_directory_property(tests DIRECTORY ${CMAKE_SOURCE_DIR}/tests BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS tests)
      if(t MATCHES "^test_.*_(unit|gui)$" AND NOT t MATCHES "^test_app_")
        list(APPEND wanted ${t})
      endif()
    endforeach()
    list(APPEND wanted nolvea)
  endif()
  if(NOLVEA_BUILD_FUZZ)
    get_directory_property(fuzzers DIRECTORY ${CMAKE_SOURCE_DIR}/fuzz BUILDSYSTEM_TARGETS)
    list(FILTER fuzzers INCLUDE REGEX "^fuzz_")
    list(APPEND wanted ${fuzzers})
  endif()
  add_custom_target(nolvea_sanitized)
  add_dependencies(nolvea_sanitized ${wanted})
endfunction()
