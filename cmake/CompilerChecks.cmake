# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports a false -Wrestrict inside std::string at -O3 (GCC bug 105329).
  add_compile_options(-Wno-restrict)
endif()
if(DEVOZORA_WERROR)
  add_compile_options(-Werror)
endif()

if(DEVOZORA_SANITIZE)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # The sanitizers' instrumentation makes GCC 12 see uninitialised reads that are not there.
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
  # GCC leaves float-cast-overflow out of "undefined": a received number too large for its integer
  # must stop the tests as it stops the fuzzers' clang build.
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow
                      -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

if(DEVOZORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "DEVOZORA_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # Libraries get coverage instrumentation; only the fuzz executables link libFuzzer's main.
  # Undefined behaviour stops the run like a crash, so the fuzzer keeps the input that caused it.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds a Qt Test executable and registers it with CTest. Widget tests run on the offscreen platform;
# DESKTOP ones on a desktop of their own with a real window manager (tests/desktop/with-openbox.sh).
function(devozora_add_test name)
  cmake_parse_arguments(ARG "DESKTOP" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/unprivileged)
  if(ARG_DESKTOP)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/desktop)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/with-openbox.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
